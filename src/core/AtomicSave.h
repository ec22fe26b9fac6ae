#pragma once

// Writing a file completely or not at all: the bytes go to a temporary file
// beside the target (QSaveFile), which replaces the target only when every
// byte reached the disk. An existing file is unchanged by any failure and no
// temporary file is left behind.
//
// QSaveFile alone is not enough in Qt 6.4: a write that the disk takes only
// in part, or a failure while its buffer is flushed, still lets commit()
// rename the truncated file over the target. Here the file is unbuffered,
// every write's count is checked and the error state is checked before the
// commit.

#include <QByteArray>
#include <QString>

#include <optional>

namespace pipeloop
{

struct AtomicWriteFailure {
    bool created = false; // the temporary file was made; the failure came while writing it
    QString reason;       // the system's words
};

// Nothing on success, else where and why it failed; callers word the message.
std::optional<AtomicWriteFailure> WriteAtomically(const QString& path, const QByteArray& bytes);

// "Problem writing to :" CR LF + path + CR LF + the reason.
QString ProblemWritingMessage(const QString& path, const QString& reason);

// Nothing on success; on failure the message to show: "Cannot create file : "
// + path + CR LF + the reason when the temporary file cannot be made, else
// the problem-writing message.
std::optional<QString> SaveAtomically(const QString& path, const QByteArray& bytes);

} // namespace pipeloop
