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

// Nothing on success; on failure the message to show: "Cannot create file : "
// + path + CR LF + the reason when the temporary file cannot be made, else
// "Problem writing to :" CR LF + path + CR LF + the reason.
std::optional<QString> SaveAtomically(const QString& path, const QByteArray& bytes);

} // namespace pipeloop
