#include "ModelTypes.h"

#include "Units.h"

namespace pipeloop
{

namespace
{
const std::array<const char*, 5> ViewWords = {"PLAN", "NORTH", "EAST", "SOUTH", "WEST"};
const std::array<const char*, 3> ColourWords = {"BLUE", "GRAY", "GREEN"};
const std::array<const char*, DropStyleCount> StyleWords = {
    "FEMALE", "TEE", "SADDLE", "QUICK", "FEMALE_QUICK", "FEMALE_SADDLE"};
} // namespace

QString ViewWord(ViewKind view)
{
    const auto index = static_cast<size_t>(view);
    return index < ViewWords.size() ? QString::fromLatin1(ViewWords[index]) : QString();
}

std::optional<ViewKind> ViewFromWord(const QString& word)
{
    for (size_t i = 0; i < ViewWords.size(); ++i)
        if (word == QLatin1String(ViewWords[i]))
            return static_cast<ViewKind>(i);
    return std::nullopt;
}

QString PipeColourWord(PipeColour colour)
{
    const auto index = static_cast<size_t>(colour);
    return index < ColourWords.size() ? QString::fromLatin1(ColourWords[index]) : QString();
}

PipeColour PipeColourFromWord(const QString& word)
{
    if (word == QLatin1String("GRAY"))
        return PipeColour::Gray;
    if (word == QLatin1String("GREEN"))
        return PipeColour::Green;
    return PipeColour::Blue;
}

QString DropStyleWord(DropStyle style)
{
    const auto index = static_cast<size_t>(style);
    return index < StyleWords.size() ? QString::fromLatin1(StyleWords[index]) : QString();
}

std::optional<DropStyle> DropStyleFromWord(const QString& text)
{
    const QString upper = text.toUpper();
    for (size_t i = 0; i < StyleWords.size(); ++i)
        if (upper == QLatin1String(StyleWords[i]))
            return static_cast<DropStyle>(i);
    return std::nullopt;
}

bool IsFemaleStyle(DropStyle style)
{
    return style == DropStyle::Female || style == DropStyle::FemaleQuick ||
           style == DropStyle::FemaleSaddle;
}

bool IsThreadedOutletStyle(int style)
{
    return style == int(DropStyle::Female) || style == int(DropStyle::FemaleQuick);
}

QString BuiltInOutletSizes(int style)
{
    return IsThreadedOutletStyle(style) ? QString() : DropSizeText();
}

} // namespace pipeloop
