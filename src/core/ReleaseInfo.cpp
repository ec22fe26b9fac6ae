#include "ReleaseInfo.h"

#include "Version.h"

namespace pipeloop
{

namespace
{
const QString Marker = QStringLiteral("<!-- ZELK-START -->");
const QString EditionSection = QStringLiteral("ZAVOZA_PipeLoop");

bool IsSectionLine(const QString& line)
{
    return line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}
} // namespace

QStringList ReleasePageLines(const QByteArray& page)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < page.size(); ++i) {
        if (page[i] != '\r' && page[i] != '\n')
            continue;
        const QString line = QString::fromLatin1(page.mid(start, i - start)).trimmed();
        if (!line.isEmpty())
            lines.append(line);
        start = i + 1;
    }
    return lines;
}

QStringList ReleaseRecordLines(const QStringList& lines)
{
    const qsizetype marker = lines.indexOf(Marker);
    return marker < 0 ? QStringList() : lines.mid(marker);
}

QString ReleaseValue(const QStringList& record, const QString& section, const QString& key,
                     const QString& fallback)
{
    const QString heading = QLatin1Char('[') + section + QLatin1Char(']');
    qsizetype at = 0;
    while (at < record.size() && record[at].compare(heading, Qt::CaseInsensitive) != 0)
        ++at;
    const QString wanted = key + QLatin1Char('=');
    for (++at; at < record.size() && !IsSectionLine(record[at]); ++at) {
        if (record[at].contains(wanted))
            return record[at].section(QLatin1Char('='), 1);
    }
    return fallback;
}

ReleaseInfo ReadReleaseInfo(const QByteArray& page)
{
    const QStringList record = ReleaseRecordLines(ReleasePageLines(page));
    return {ReleaseValue(record, EditionSection, QStringLiteral("Version")),
            ReleaseValue(record, EditionSection, QStringLiteral("ReleaseDate")),
            ReleaseValue(record, EditionSection, QStringLiteral("DownloadSite"))};
}

QString UpdateCheckMessage(bool connected, const ReleaseInfo& release, const QString& ownVersion,
                           bool userAsked)
{
    if (connected && !release.version.isEmpty() && IsNewerVersion(release.version, ownVersion)) {
        return QStringLiteral("A new version of PIPELOOP is available : \r\nVersion : ") +
               release.version + QStringLiteral("\r\nRelease Date : ") + release.releaseDate +
               QStringLiteral("\r\nDownload From : ") + release.downloadSite;
    }
    if (!userAsked)
        return {};
    if (!connected)
        return QStringLiteral("No INTERNET connection is available.");
    if (release.version.isEmpty())
        return QStringLiteral("Could not establish if there is a new version.");
    return QStringLiteral("This version of PIPELOOP is the latest ") + release.version;
}

} // namespace pipeloop
