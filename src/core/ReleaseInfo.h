#pragma once

// The maker's release page as the update check reads it, and what the check
// tells the user. The page is plain text lines; the record of this edition
// follows a marker line, in INI form:
//
//   <!-- ZELK-START -->
//   [ZAVOZA_PipeLoop]
//   Version=1.3.17
//   ReleaseDate=1 March 2015
//   DownloadSite=...

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pipeloop
{

// The page's lines: every CR or LF ends a line, which is kept trimmed when it
// is not empty. Text after the last line break is no line (a reply cut short
// must not give half a version).
QStringList ReleasePageLines(const QByteArray& page);

// The lines from the marker line on; none when the page has no marker.
QStringList ReleaseRecordLines(const QStringList& lines);

// The text after the first "=" of the first line of the section (its name in
// any case) that contains key + "="; fallback when there is none. The search
// ends at the next section line, so another product's record is never read
// as ours.
QString ReleaseValue(const QStringList& record, const QString& section, const QString& key,
                     const QString& fallback = {});

struct ReleaseInfo {
    QString version;
    QString releaseDate;
    QString downloadSite;
};

// This edition's record on the page; empty values when it has none.
ReleaseInfo ReadReleaseInfo(const QByteArray& page);

// What one update check tells the user: exactly one message, or none. The
// check at start-up (userAsked false) speaks only of a newer version; the
// user's own check always answers: a newer version, the latest version, no
// version found, or no connection.
QString UpdateCheckMessage(bool connected, const ReleaseInfo& release, const QString& ownVersion,
                           bool userAsked);

} // namespace pipeloop
