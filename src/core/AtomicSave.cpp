#include "AtomicSave.h"

#include <QSaveFile>

namespace pipeloop
{

std::optional<AtomicWriteFailure> WriteAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return AtomicWriteFailure{false, file.errorString()};
    const auto failed = [&file]() {
        const QString reason = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the temporary file; the target stays as it was
        return AtomicWriteFailure{true, reason};
    };
    // A disk that fills up may take part of a write: write until all is
    // taken or a write takes nothing.
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 taken = file.write(bytes.constData() + done, bytes.size() - done);
        if (taken <= 0)
            return failed();
        done += taken;
    }
    if (file.error() != QFileDevice::NoError)
        return failed();
    if (!file.commit())
        return AtomicWriteFailure{true, file.errorString()};
    return std::nullopt;
}

QString ProblemWritingMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Problem writing to :\r\n%1\r\n%2").arg(path, reason);
}

std::optional<QString> SaveAtomically(const QString& path, const QByteArray& bytes)
{
    const auto failure = WriteAtomically(path, bytes);
    if (!failure)
        return std::nullopt;
    if (!failure->created)
        return QStringLiteral("Cannot create file : %1\r\n%2").arg(path, failure->reason);
    return ProblemWritingMessage(path, failure->reason);
}

} // namespace pipeloop
