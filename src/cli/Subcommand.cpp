#include "Subcommand.h"

#include "AtomicSave.h"
#include "UiServices.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pipeloop::cli
{

QString Invocation::argument(qsizetype index, const QString& what) const
{
    if (index >= arguments.size())
        throw UsageError{QStringLiteral("missing %1").arg(what)};
    return arguments.at(index);
}

void Invocation::expectArguments(qsizetype count) const
{
    if (arguments.size() > count)
        throw UsageError{QStringLiteral("unexpected argument '%1'").arg(arguments.at(count))};
}

bool Invocation::writeResult(const QByteArray& bytes) const
{
    const QString path = option(QStringLiteral("--out"));
    if (path.isEmpty())
        return WriteStandardOutput(bytes);
    if (const auto failure = WriteAtomically(path, bytes)) {
        Ui().error(ProblemWritingMessage(path, failure->reason));
        return false;
    }
    return true;
}

bool WriteStandardOutput(QByteArrayView bytes)
{
    const size_t size = static_cast<size_t>(bytes.size());
    errno = 0;
    const bool taken = size == 0 || std::fwrite(bytes.data(), 1, size, stdout) == size;
    const int writeError = errno;
    if (taken && std::fflush(stdout) == 0)
        return true;
    const int error = taken ? errno : writeError;
    Ui().error(QStringLiteral("Problem writing to standard output :\r\n") +
               QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO)));
    return false;
}

} // namespace pipeloop::cli
