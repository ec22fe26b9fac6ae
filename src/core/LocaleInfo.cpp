#include "LocaleInfo.h"

#include <QLocale>

namespace pipeloop
{

namespace
{
LocaleFacts& facts()
{
    static LocaleFacts instance = LocaleInfo::system();
    return instance;
}

// Qt has no "number of currency decimals" query; it formats with the locale's
// own digits, so count the digits after the separator of a formatted amount.
int currencyDecimalsOf(const QLocale& locale)
{
    const QString sample = locale.toCurrencyString(1.0, QStringLiteral("#"));
    const QString sep = locale.decimalPoint();
    const qsizetype at = sample.lastIndexOf(sep);
    if (at < 0)
        return 0;
    int digits = 0;
    for (qsizetype i = at + sep.size(); i < sample.size() && sample.at(i).isDigit(); ++i)
        ++digits;
    return digits;
}
} // namespace

const LocaleFacts& LocaleInfo::current()
{
    return facts();
}

void LocaleInfo::set(const LocaleFacts& newFacts)
{
    facts() = newFacts;
}

LocaleFacts LocaleInfo::fromLocaleName(const QString& name)
{
    const QLocale locale(name);
    LocaleFacts result;
    const QString point = locale.decimalPoint();
    result.decimalSeparator = point.isEmpty() ? QChar(u'.') : point.front();
    result.currencySymbol = locale.language() == QLocale::C ? QString() : locale.currencySymbol();
    result.currencyDecimals = locale.language() == QLocale::C ? 2 : currencyDecimalsOf(locale);
    return result;
}

LocaleFacts LocaleInfo::system()
{
    return fromLocaleName(QLocale::system().name());
}

ScopedLocale::ScopedLocale(const LocaleFacts& newFacts) : m_previous(LocaleInfo::current())
{
    LocaleInfo::set(newFacts);
}

ScopedLocale::ScopedLocale(const QString& localeName)
    : ScopedLocale(LocaleInfo::fromLocaleName(localeName))
{
}

ScopedLocale::~ScopedLocale()
{
    LocaleInfo::set(m_previous);
}

} // namespace pipeloop
