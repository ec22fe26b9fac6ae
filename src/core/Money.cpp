#include "Money.h"

#include "LocaleInfo.h"
#include "Rounding.h"
#include "TextUtil.h"
#include "Units.h"

#include <algorithm>
#include <cmath>

namespace pipeloop
{

namespace
{
constexpr int MoneyDecimals = 4; // ten-thousandths

uint64_t powerOfTen(int exponent)
{
    uint64_t result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}
} // namespace

Parsed<Money> ParseMoney(const QString& text)
{
    QString number = text;
    ReplaceFirst(number, LocaleInfo::current().currencySymbol, QString());
    // Blanks around the number ("12,50 €") are not separators.
    const Parsed<double> units = ParseReal(number.trimmed());
    if (!units)
        return Parsed<Money>::failure(units.error());
    const double scaled = units.value() * MoneyUnit;
    // 2^63: beyond it an amount cannot be held.
    if (!(std::fabs(scaled) < 9223372036854775808.0))
        return Parsed<Money>::failure(
            QStringLiteral("'%1' is out of range for an amount of money").arg(text));
    return RoundToInt64(scaled);
}

QString FormatMoney(Money amount, bool withSymbol)
{
    const LocaleFacts& facts = LocaleInfo::current();
    const int decimals = std::clamp(facts.currencyDecimals, 0, 18);

    // Work on the magnitude in unsigned arithmetic so that the most negative
    // amount has one too; round to the shown decimals with halves to even, as
    // every real-to-integer conversion of the program does, but exactly.
    const bool negative = amount < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(amount) : uint64_t(amount);
    QString whole;
    QString fraction;
    if (decimals <= MoneyDecimals) {
        const uint64_t divisor = powerOfTen(MoneyDecimals - decimals);
        uint64_t shown = magnitude / divisor;
        const uint64_t rest = magnitude % divisor;
        if (rest * 2 > divisor || (rest * 2 == divisor && shown % 2 == 1))
            ++shown;
        const uint64_t unit = powerOfTen(decimals);
        whole = QString::number(shown / unit);
        if (decimals > 0)
            fraction = QStringLiteral("%1").arg(shown % unit, decimals, 10, QChar(u'0'));
    } else {
        whole = QString::number(magnitude / MoneyUnit);
        fraction = QStringLiteral("%1").arg(magnitude % MoneyUnit, MoneyDecimals, 10, QChar(u'0')) +
                   QString(decimals - MoneyDecimals, u'0');
    }
    const bool zero =
        whole == QStringLiteral("0") &&
        std::all_of(fraction.cbegin(), fraction.cend(), [](QChar c) { return c == u'0'; });
    QString text = withSymbol ? facts.currencySymbol : QString();
    if (negative && !zero)
        text += u'-';
    text += whole;
    if (!fraction.isEmpty())
        text += facts.decimalSeparator + fraction;
    return text;
}

} // namespace pipeloop
