// libFuzzer target for the design model's readers of outside input: elbow
// coordinate text and the object sections of a project file
//. Any bytes are imported as elbow lines under a full-stop and a
// comma locale, and every accepted line must write back to a line that parses
// the same; the bytes are also read as an INI image whose sections every
// object class loads, and what an object then writes must load back and
// write the same bytes again.

#include "Cp1252.h"
#include "ElbowList.h"
#include "FuzzSupport.h"
#include "IniFile.h"
#include "LocaleInfo.h"
#include "PipeLoopObjects.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace pipeloop;
using namespace pipeloop::fuzz;

namespace
{

void checkElbowLines(const QString& text, double scale)
{
    ElbowList elbows;
    const int added = ImportElbowsFromText(elbows, text, scale);
    check(added == int(elbows.size()));
    for (size_t i = 0; i < elbows.size(); ++i) {
        const TElbow& elbow = *elbows[i];
        check(elbow.Name == QStringLiteral("ELBOW%1").arg(i + 1));
        check(elbow.HG == 0);
        // No sign is read, so every value is a non-negative number of millimetres.
        check(elbow.EW >= 0 && elbow.NS >= 0 && elbow.VerticalDrop >= 0);
        const std::optional<ElbowLine> again = ParseElbowLine(
            QStringLiteral("%1 %2 %3").arg(elbow.EW).arg(elbow.NS).arg(elbow.VerticalDrop), 1);
        check(again && again->EW == elbow.EW && again->NS == elbow.NS &&
              again->VerticalDrop == elbow.VerticalDrop);
    }
}

template <typename T> void checkSection(const IniFile& ini, const QString& section)
{
    T object;
    if (!object.LoadFromIni(ini, section).ok())
        return; // an unreadable angle or inlet size stops a load
    IniFile written;
    object.SaveToIni(written, section);
    const QByteArray bytes = written.toBytes();
    T again;
    check(again.LoadFromIni(IniFile::fromBytes(bytes), section).ok());
    IniFile rewritten;
    again.SaveToIni(rewritten, section);
    check(rewritten.toBytes() == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = DecodeCp1252(bytes);
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        ScopedLocale locale(LocaleFacts{separator, QString(), 2});
        checkElbowLines(text, 1);
        checkElbowLines(text, 1000);
    }

    ScopedLocale locale(LocaleFacts{});
    const IniFile ini = IniFile::fromBytes(bytes);
    QStringList sections = ini.sectionNames();
    sections.append(QStringLiteral("Missing1"));
    for (const QString& section : sections) {
        checkSection<TElbow>(ini, section);
        checkSection<TValve>(ini, section);
        checkSection<TBuildFeature>(ini, section);
        checkSection<TDrain>(ini, section);
        checkSection<TDrop>(ini, section);
        checkSection<TInlet>(ini, section);
        checkSection<TSpur>(ini, section);
    }
    return 0;
}
