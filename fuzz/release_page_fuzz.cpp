// libFuzzer target for the release page reader: any bytes a server sends give
// lines without line breaks or outer blanks, a record that starts at the
// marker, and values that are the text after a key's "=" on one line.

#include "FuzzSupport.h"
#include "ReleaseInfo.h"

#include <cstddef>
#include <cstdint>

using namespace pipeloop;
using namespace pipeloop::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray page(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = ReleasePageLines(page);
    for (const QString& line : lines) {
        check(!line.isEmpty() && line == line.trimmed());
        check(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
    }
    const QStringList record = ReleaseRecordLines(lines);
    check(record.isEmpty() || record.first() == QStringLiteral("<!-- ZELK-START -->"));
    const ReleaseInfo info = ReadReleaseInfo(page);
    for (const QString& value : {info.version, info.releaseDate, info.downloadSite})
        check(!value.contains(QLatin1Char('\n')) && value.size() < qsizetype(size) + 1);
    check(info.version.isEmpty() || !record.isEmpty());
    return 0;
}
