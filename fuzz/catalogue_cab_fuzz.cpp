// libFuzzer target for the catalogue container reader and the
// database's container loading. Each input is read twice: as it is
// (nearly always refused by the CRC) and with its last four bytes replaced by
// the right CRC, so that the tables behind the check are reached. No input may
// read out of bounds; an accepted container must hold exactly what a writer
// puts back from its entries.

#include "Cab.h"
#include "FuzzSupport.h"
#include "PartsDatabase.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace pipeloop;
using namespace pipeloop::fuzz;
using namespace pipeloop::catalogue;

namespace
{

void Exercise(const QByteArray& file)
{
    TCAB cab;
    cab.LoadBytes(file, QStringLiteral("fuzz.pldbcab"));
    check(cab.Names().size() == cab.Count());
    if (!cab.Valid()) {
        check(cab.Count() == 0);
        return;
    }
    std::vector<CabEntry> entries;
    qsizetype total = 0;
    for (int i = 0; i < cab.Count(); ++i) {
        check(cab.Entry(i) != nullptr);
        total += cab.Entry(i)->size();
        entries.push_back({cab.Names().at(i), *cab.Entry(i)});
        check(cab.IndexOf(cab.Names().at(i)) <= i);
    }
    check(cab.Entry(-1) == nullptr && cab.Entry(cab.Count()) == nullptr);
    check(total <= file.size());
    // Written again, the entries make a container no longer than the input
    // (which may hold unread bytes before its CRC) that reads back the same.
    const QByteArray rebuilt = BuildCab(entries, cab.Reserved());
    check(rebuilt.size() <= file.size());
    check(QByteArrayView(rebuilt).first(rebuilt.size() - 4) ==
          QByteArrayView(file).first(rebuilt.size() - 4));
    TCAB again;
    again.LoadBytes(rebuilt, QStringLiteral("again"));
    check(again.Valid() && again.Names() == cab.Names());
    for (int i = 0; i < cab.Count(); ++i)
        check(*again.Entry(i) == *cab.Entry(i));

    TPartsDatabase database;
    database.LoadContainerBytes(file, QStringLiteral("fuzz.pldbcab"));
    check(database.Loaded() == (cab.IndexOf(QStringLiteral("PARTS.PLDBI")) >= 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstallSilentUi();
    const QByteArray file = InputBytes(data, size);
    Exercise(file);
    if (file.size() >= 12 && file.startsWith(CabSignature)) {
        QByteArray fixed = file;
        const uint32_t crc = Crc32(QByteArrayView(fixed).first(fixed.size() - 4));
        for (int i = 0; i < 4; ++i)
            fixed[fixed.size() - 4 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
        Exercise(fixed);
    }
    return 0;
}
