#pragma once

#include <QChar>
#include <QString>

namespace pipeloop
{

// The user's number and money conventions. The program reads and writes reals
// with this separator, and shows money with this symbol and number of decimals.
struct LocaleFacts {
    QChar decimalSeparator = u'.';
    QString currencySymbol = QStringLiteral("£");
    int currencyDecimals = 2;
};

// Process-wide locale facts. They start as the system locale's and can be
// replaced (by --locale on the command line, or by a test) for the whole run.
class LocaleInfo
{
public:
    static const LocaleFacts& current();
    static void set(const LocaleFacts& facts);
    // Facts of a Qt locale name such as "en_GB", "de_DE" or "C".
    static LocaleFacts fromLocaleName(const QString& name);
    static LocaleFacts system();

    static QChar decimalSeparator() { return current().decimalSeparator; }
};

// Sets the locale facts for a scope and restores the previous ones after it.
class ScopedLocale
{
public:
    explicit ScopedLocale(const LocaleFacts& facts);
    explicit ScopedLocale(const QString& localeName);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    LocaleFacts m_previous;
};

} // namespace pipeloop
