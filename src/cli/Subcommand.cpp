#include "Subcommand.h"

#include "AtomicSave.h"

#include <QFile>

#include <cstdio>

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
    if (path.isEmpty()) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    if (const auto failure = SaveAtomically(path, bytes)) {
        std::fprintf(stderr, "error: %s\n", qPrintable(*failure));
        return false;
    }
    return true;
}

} // namespace pipeloop::cli
