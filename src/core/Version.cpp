#include "Version.h"

#include "BuildVersion.h"
#include "Units.h"

#include <QStringList>

#include <array>

namespace pipeloop
{

namespace
{
using VersionNumbers = std::array<int32_t, 4>;

// Up to four numbers separated by full stops; a part that is not a decimal
// integer counts as 0, a missing part as 0, parts after the fourth are ignored.
VersionNumbers numbersOf(const QString& version)
{
    VersionNumbers numbers{};
    const QStringList parts = version.split(u'.');
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(numbers.size()); ++i)
        numbers[size_t(i)] = ParseInteger(parts.at(i)).valueOr(0);
    return numbers;
}
} // namespace

QString ProgramVersion()
{
    // The project version may have fewer than four parts; the version
    // resource always has four.
    QStringList parts = QString::fromLatin1(PIPELOOP_FILE_VERSION).split(u'.');
    while (parts.size() < 4)
        parts.append(QStringLiteral("0"));
    return parts.mid(0, 4).join(u'.');
}

QString VersionString(const QString& name)
{
    // Names in a version resource's string table are looked up without regard to case.
    if (name.compare(QLatin1String("FileVersion"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("ProductVersion"), Qt::CaseInsensitive) == 0)
        return ProgramVersion();
    return {};
}

bool IsNewerVersion(const QString& candidate, const QString& current)
{
    return numbersOf(candidate) > numbersOf(current);
}

} // namespace pipeloop
