#include "Units.h"

#include "LocaleInfo.h"
#include "Rounding.h"

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace pipeloop
{

namespace
{
constexpr QChar FootMark = u'\'';
constexpr QChar InchMark = u'"';
constexpr QChar Blank = u' ';

// Sixteenths of an inch and their nominal texts.
constexpr std::array<std::pair<int, const char*>, 15> NominalSizes = {{
    {2, "1/8\""},
    {4, "1/4\""},
    {6, "3/8\""},
    {8, "1/2\""},
    {10, "5/8\""},
    {12, "3/4\""},
    {14, "7/8\""},
    {16, "1\""},
    {20, "1\"1/4"},
    {24, "1\"1/2"},
    {32, "2\""},
    {40, "2\"1/2"},
    {48, "3\""},
    {56, "3\"1/2"},
    {64, "4\""},
}};

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The power of ten of the first significant digit of a number written as an
// ASCII mantissa ("-0012.50") and a decimal exponent, or 0 for zero.
int64_t decimalMagnitude(QByteArrayView mantissa, int64_t exponent)
{
    const qsizetype point = mantissa.indexOf('.');
    const qsizetype integerEnd = point < 0 ? mantissa.size() : point;
    for (qsizetype i = 0; i < mantissa.size(); ++i) {
        const char c = mantissa.at(i);
        if (c >= '1' && c <= '9')
            return exponent + (i < integerEnd ? integerEnd - i - 1 : integerEnd - i);
    }
    return 0;
}

QString notAnInteger(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString notAReal(const QString& text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString outOfRange(const QString& text)
{
    return QStringLiteral("'%1' is out of range for a length").arg(text);
}

// A real number of millimetres as a length, refused when it does not fit.
Parsed<int32_t> lengthOf(double millimetres, const QString& typedText)
{
    if (!FitsInt32(millimetres))
        return Parsed<int32_t>::failure(outOfRange(typedText));
    return Round(millimetres);
}

// Delphi-style texts of the values that are not numbers.
QString nonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

QString NominalSizeText(int sixteenths)
{
    for (const auto& [size, text] : NominalSizes)
        if (size == sixteenths)
            return QString::fromLatin1(text);
    return {};
}

Parsed<int32_t> ParseInteger(const QString& text)
{
    // Like the runtime's StrToInt: leading blanks, an optional sign, then
    // decimal digits to the end, within the int32 range.
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size && text.at(at) == Blank)
        ++at;
    bool negative = false;
    if (at < size && (text.at(at) == u'+' || text.at(at) == u'-')) {
        negative = text.at(at) == u'-';
        ++at;
    }
    if (at >= size)
        return Parsed<int32_t>::failure(notAnInteger(text));
    constexpr int64_t Limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    for (; at < size; ++at) {
        const QChar c = text.at(at);
        if (!isAsciiDigit(c))
            return Parsed<int32_t>::failure(notAnInteger(text));
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > Limit)
            return Parsed<int32_t>::failure(notAnInteger(text));
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        return Parsed<int32_t>::failure(notAnInteger(text));
    return static_cast<int32_t>(value);
}

Parsed<double> ParseLocaleReal(const QString& text)
{
    // Like the runtime's StrToFloat: blanks around, an optional sign, digits
    // with at most one decimal separator of the locale (at least one digit),
    // an optional exponent; a value beyond the range of a double is refused.
    const QChar separator = LocaleInfo::decimalSeparator();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == Blank)
        ++begin;
    while (end > begin && text.at(end - 1) == Blank)
        --end;

    QByteArray ascii;
    ascii.reserve(end - begin);
    qsizetype at = begin;
    auto take = [&](char c) {
        ascii.append(c);
        ++at;
    };
    if (at < end && (text.at(at) == u'+' || text.at(at) == u'-'))
        take(char(text.at(at).unicode()));
    int mantissaDigits = 0;
    while (at < end && isAsciiDigit(text.at(at))) {
        take(char(text.at(at).unicode()));
        ++mantissaDigits;
    }
    if (at < end && text.at(at) == separator) {
        take('.');
        while (at < end && isAsciiDigit(text.at(at))) {
            take(char(text.at(at).unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return Parsed<double>::failure(notAReal(text));
    const qsizetype mantissaEnd = ascii.size();
    int64_t exponent = 0;
    if (at < end && (text.at(at) == u'e' || text.at(at) == u'E')) {
        take('e');
        bool negativeExponent = false;
        if (at < end && (text.at(at) == u'+' || text.at(at) == u'-')) {
            negativeExponent = text.at(at) == u'-';
            take(char(text.at(at).unicode()));
        }
        int exponentDigits = 0;
        while (at < end && isAsciiDigit(text.at(at))) {
            exponent =
                std::min<int64_t>(exponent * 10 + (text.at(at).unicode() - u'0'), 1'000'000'000);
            take(char(text.at(at).unicode()));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return Parsed<double>::failure(notAReal(text));
        if (negativeExponent)
            exponent = -exponent;
    }
    if (at != end)
        return Parsed<double>::failure(notAReal(text));

    bool ok = false;
    const double value = ascii.toDouble(&ok); // the C locale, whatever the process's
    if (ok && std::isfinite(value))
        return value;
    // Out of range: beyond the largest double it is refused, below the
    // smallest it is a number too small to tell from zero.
    return decimalMagnitude(QByteArrayView(ascii).first(mantissaEnd), exponent) > 0
               ? Parsed<double>::failure(notAReal(text))
               : Parsed<double>(ascii.startsWith('-') ? -0.0 : 0.0);
}

Parsed<double> ParseReal(const QString& text)
{
    const QChar separator = LocaleInfo::decimalSeparator();
    QString mapped = text.trimmed();
    for (QChar& c : mapped) {
        const bool numeric = isAsciiDigit(c) || c == u'+' || c == u'-' || c == u'e' || c == u'E';
        if (!numeric)
            c = separator;
    }
    Parsed<double> value = ParseLocaleReal(mapped);
    if (!value)
        return Parsed<double>::failure(notAReal(text));
    return value;
}

QString FormatGeneral(double value)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        // 1e+20 -> 1E20, 1.5e-07 -> 1.5E-7
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        QString sign;
        if (exponent.startsWith(u'-'))
            sign = QStringLiteral("-");
        if (exponent.startsWith(u'-') || exponent.startsWith(u'+'))
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = mantissa + u'E' + sign + exponent;
    }
    text.replace(u'.', LocaleInfo::decimalSeparator());
    return text;
}
QString FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    decimals = std::clamp(decimals, 0, 99);
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-')) {
        bool allZero = true;
        for (qsizetype i = 1; i < text.size() && allZero; ++i)
            allZero = !isAsciiDigit(text.at(i)) || text.at(i) == u'0';
        if (allZero) // -0.0001 shows as 0.000, not -0.000
            text.remove(0, 1);
    }
    text.replace(u'.', LocaleInfo::decimalSeparator());
    return text;
}

QString FormatLength(uint32_t millimetres, DisplayUnits units)
{
    switch (units) {
    case DisplayUnits::Millimetres:
        return QString::number(millimetres) + QStringLiteral("mm");
    case DisplayUnits::FeetInches: {
        const int64_t inches = RoundToInt64(millimetres / MmPerInch);
        return QString::number(inches / 12) + FootMark + QString::number(inches % 12) + InchMark;
    }
    case DisplayUnits::Metres:
    default:
        // Whole millimetres have exactly three decimals as metres: no real needed.
        return QString::number(millimetres / 1000) + LocaleInfo::decimalSeparator() +
               QStringLiteral("%1").arg(millimetres % 1000, 3, 10, QChar(u'0')) + u'm';
    }
}

Parsed<int32_t> ParseLength(const QString& text, DisplayUnits units)
{
    using Result = Parsed<int32_t>;
    if (text.isEmpty())
        return Result::failure(QStringLiteral("Missing value"));

    const qsizetype mm = text.indexOf(QStringLiteral("mm"));
    if (mm >= 0 && mm + 2 == text.size())
        return ParseInteger(text.left(mm));

    const qsizetype m = text.indexOf(u'm');
    if (m >= 0 && m + 1 == text.size()) {
        const Parsed<double> metres = ParseLocaleReal(text.left(m));
        if (!metres)
            return Result::failure(metres.error());
        return lengthOf(metres.value() * MmPerMetre, text);
    }

    if (text.contains(FootMark) || text.contains(InchMark)) {
        QString rest = text;
        int64_t feet = 0;
        int64_t inches = 0;
        const qsizetype foot = rest.indexOf(FootMark);
        if (foot >= 0) {
            const Parsed<int32_t> number = ParseInteger(rest.left(foot));
            if (!number)
                return Result::failure(number.error());
            feet = number.value();
            rest.remove(0, foot + 1);
        }
        const qsizetype inch = rest.indexOf(InchMark);
        if (inch >= 0 || !rest.isEmpty()) {
            const Parsed<int32_t> number = ParseInteger(inch >= 0 ? rest.left(inch) : rest);
            if (!number)
                return Result::failure(number.error());
            inches = number.value();
        }
        return lengthOf(double(feet * 12 + inches) * MmPerInch, text);
    }

    switch (units) {
    case DisplayUnits::Millimetres:
        return ParseInteger(text);
    case DisplayUnits::FeetInches: {
        const Parsed<double> feet = ParseLocaleReal(text);
        if (!feet)
            return Result::failure(feet.error());
        return lengthOf(feet.value() * MmPerFoot, text);
    }
    case DisplayUnits::Metres:
    default: {
        const Parsed<double> metres = ParseLocaleReal(text);
        if (!metres)
            return Result::failure(metres.error());
        return lengthOf(metres.value() * MmPerMetre, text);
    }
    }
}

QString InvalidValueMessage(const QString& typedText)
{
    return QStringLiteral("Invalid value : ") + typedText;
}

Parsed<int32_t> ReadTypedLength(const QString& text, DisplayUnits units)
{
    const Parsed<int32_t> length = ParseLength(text, units);
    if (!length || length.value() < 0)
        return Parsed<int32_t>::failure(InvalidValueMessage(text));
    return length;
}

bool LengthKeyAllowed(const QString& text, QChar key)
{
    if (key == BackspaceKey || isAsciiDigit(key))
        return true;
    const QChar separator = LocaleInfo::decimalSeparator();
    if (key == FootMark || key == InchMark || key == separator)
        return !text.contains(key);
    if (key == u'm') {
        const qsizetype ms = text.count(u'm');
        return ms == 0 || (ms == 1 && !text.contains(separator));
    }
    return false;
}

bool NumberKeyAllowed(QChar key)
{
    return key == BackspaceKey || isAsciiDigit(key) || key == u'.' ||
           key == LocaleInfo::decimalSeparator();
}

QString SizeText(float sizeMm)
{
    const double size = sizeMm;
    if (std::isfinite(size) && size == std::trunc(size))
        return FormatGeneral(size) + QStringLiteral("mm");
    if (std::isfinite(size)) {
        const QString nominal = NominalSizeText(Round(size * 16.0 / MmPerInch));
        if (!nominal.isEmpty())
            return nominal;
    }
    return FormatFixed(size, 3) + QStringLiteral("mm");
}

std::optional<float> ParseSizeText(const QString& text)
{
    // A size must be a finite single.
    auto single = [](double millimetres) -> std::optional<float> {
        if (!std::isfinite(millimetres) ||
            std::fabs(millimetres) > double(std::numeric_limits<float>::max()))
            return std::nullopt;
        return static_cast<float>(millimetres);
    };

    qsizetype inch = text.indexOf(InchMark);
    qsizetype slash = text.indexOf(u'/');
    if (inch < 0 && slash < 0) {
        QString rest = text;
        const qsizetype mm = rest.indexOf(QStringLiteral("mm"));
        if (mm >= 0)
            rest.remove(mm, 2);
        const Parsed<double> size = ParseLocaleReal(rest);
        return size ? single(size.value()) : std::nullopt;
    }

    QString rest = text;
    if (inch >= 0 && (slash < 0 || slash < inch))
        rest.remove(inch, 1); // 1/2" and 1": the mark only ends the text
    const Parsed<double> wholeReal = ParseLocaleReal(rest);
    double whole = wholeReal.valueOr(0.0);
    inch = rest.indexOf(InchMark);
    if (inch >= 0) {
        const Parsed<int32_t> number = ParseInteger(rest.left(inch));
        if (!number)
            return std::nullopt;
        whole = number.value();
        rest.remove(0, inch + 1);
    }
    slash = rest.indexOf(u'/');
    if (slash < 0 && inch < 0 && !wholeReal)
        return std::nullopt; // no whole number, no inch mark, no fraction: nothing to read
    int32_t numerator = 0;
    int32_t denominator = 1;
    if (slash >= 0) {
        const Parsed<int32_t> top = ParseInteger(rest.left(slash).trimmed());
        const Parsed<int32_t> bottom = ParseInteger(rest.mid(slash + 1).trimmed());
        if (!top || !bottom || bottom.value() == 0)
            return std::nullopt;
        numerator = top.value();
        denominator = bottom.value();
    }
    return single((double(numerator) / denominator + whole) * MmPerInch);
}

const QList<float>& FullPipeSizes()
{
    static const QList<float> sizes = {20.0f, 25.0f,  32.0f, 40.0f,  50.0f, 63.0f,
                                       80.0f, 110.0f, 16.5f, 19.05f, 25.4f};
    return sizes;
}

QStringList FullPipeSizeTexts()
{
    QStringList texts;
    for (float size : FullPipeSizes())
        texts.append(SizeText(size));
    return texts;
}

QString DropSizeText()
{
    return FullPipeSizeTexts().mid(0, 9).join(u'\n');
}

} // namespace pipeloop
