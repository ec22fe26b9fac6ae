#include "UnitsCommand.h"

#include "Units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pipeloop::cli
{

namespace
{
const QString UnitsOption = QStringLiteral("--units");

DisplayUnits unitsOf(const Invocation& invocation)
{
    if (!invocation.has(UnitsOption))
        throw UsageError{QStringLiteral("missing --units metres|mm|feet")};
    const QString name = invocation.option(UnitsOption);
    if (name == QStringLiteral("metres") || name == QStringLiteral("m"))
        return DisplayUnits::Metres;
    if (name == QStringLiteral("mm"))
        return DisplayUnits::Millimetres;
    if (name == QStringLiteral("feet") || name == QStringLiteral("ft"))
        return DisplayUnits::FeetInches;
    throw UsageError{QStringLiteral("unknown units '%1' (expected metres, mm or feet)").arg(name)};
}

int writeLine(const Invocation& invocation, const QString& text)
{
    return invocation.writeResult((text + u'\n').toUtf8()) ? ExitOk : ExitStopped;
}

// "-1" is the program's "no value", shown as ---; other lengths are whole,
// non-negative millimetres.
int format(const Invocation& invocation)
{
    const QString text = invocation.argument(1, QStringLiteral("MM"));
    invocation.expectArguments(2);
    const DisplayUnits units = unitsOf(invocation);
    if (text == QStringLiteral("-1"))
        return writeLine(invocation, QStringLiteral("---"));
    bool ok = false;
    const qulonglong millimetres = text.toULongLong(&ok);
    if (!ok || text.isEmpty() ||
        !std::all_of(text.cbegin(), text.cend(),
                     [](QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }) ||
        millimetres > std::numeric_limits<uint32_t>::max())
        throw UsageError{
            QStringLiteral("MM must be a whole number of millimetres from 0 to 4294967295, "
                           "not '%1'")
                .arg(text)};
    return writeLine(invocation, FormatLength(static_cast<uint32_t>(millimetres), units));
}

int parse(const Invocation& invocation)
{
    const QString text = invocation.argument(1, QStringLiteral("TEXT"));
    invocation.expectArguments(2);
    const DisplayUnits units = unitsOf(invocation);
    const Parsed<int32_t> length = ParseLength(text, units);
    if (!length) {
        std::fprintf(stderr, "error: %s\n", length.error().toLocal8Bit().constData());
        std::fflush(stderr);
        return ExitCheckFailed;
    }
    return writeLine(invocation, QString::number(length.value()));
}

int size(const Invocation& invocation)
{
    const QString text = invocation.argument(1, QStringLiteral("MM"));
    invocation.expectArguments(2);
    // Sizes are given as reals with either separator, as files hold them.
    const Parsed<double> millimetres = ParseReal(text);
    if (!millimetres || std::fabs(millimetres.value()) > std::numeric_limits<float>::max())
        throw UsageError{QStringLiteral("MM must be a size in millimetres, not '%1'").arg(text)};
    return writeLine(invocation, SizeText(static_cast<float>(millimetres.value())));
}
} // namespace

QString UnitsCommand::name() const
{
    return QStringLiteral("units");
}

QString UnitsCommand::summary() const
{
    return QStringLiteral("length and size texts: format, parse and name sizes");
}

QString UnitsCommand::usage() const
{
    return QStringLiteral(
        "format MM --units metres|mm|feet\n"
        "       pipeloop-cli units parse TEXT --units metres|mm|feet\n"
        "       pipeloop-cli units size MM\n\n"
        "  format  a length in whole millimetres as shown: 5000 --units feet -> 16'5\"\n"
        "  parse   a typed length in millimetres: 5'6\" -> 1676, 1.5m -> 1500; a bare\n"
        "          number is read in the --units given\n"
        "  size    the text of a pipe size in millimetres: 31.75 -> 1\"1/4, 25 -> 25mm\n"
        "--locale sets the decimal separator of lengths and sizes.");
}

QStringList UnitsCommand::valueOptions() const
{
    return {UnitsOption};
}

int UnitsCommand::run(const Invocation& invocation)
{
    const QString action = invocation.argument(0, QStringLiteral("action (format, parse or size)"));
    if (action == QStringLiteral("format"))
        return format(invocation);
    if (action == QStringLiteral("parse"))
        return parse(invocation);
    if (action == QStringLiteral("size"))
        return size(invocation);
    throw UsageError{
        QStringLiteral("unknown action '%1' (expected format, parse or size)").arg(action)};
}

} // namespace pipeloop::cli
