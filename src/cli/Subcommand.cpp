#include "Subcommand.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace pipeloop::cli {

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
    if (path.isEmpty()) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    QSaveFile file(path);
    // Unbuffered so that a write failing part-way is seen before commit() renames the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "error: Problem writing to :\n%s\n%s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace pipeloop::cli
