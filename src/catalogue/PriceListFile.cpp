#include "PriceListFile.h"

#include "AtomicSave.h"
#include "DateSerial.h"
#include "IniFile.h"
#include "LocaleInfo.h"
#include "Money.h"
#include "PartsDatabase.h"
#include "UiServices.h"
#include "Units.h"

#include <QFile>

#include <limits>

namespace pipeloop::catalogue
{

namespace
{

const QString Header = QString::fromLatin1(TPartsDatabase::PriceListSection);

QString Symbol()
{
    return LocaleInfo::current().currencySymbol;
}

Money TimesUnits(Money price, int32_t units)
{
    Money total = 0;
    if (__builtin_mul_overflow(price, static_cast<Money>(units), &total))
        return (price < 0) != (units < 0) ? std::numeric_limits<Money>::min()
                                          : std::numeric_limits<Money>::max();
    return total;
}

QStringList Tokens(const QString& line)
{
    QStringList tokens;
    QString token;
    for (const QChar c : line) {
        if (c == u'\t' || c == u' ' || c == u',') {
            if (!token.isEmpty())
                tokens.append(token);
            token.clear();
        } else {
            token.append(c);
        }
    }
    if (!token.isEmpty())
        tokens.append(token);
    return tokens;
}

bool Continues(const QString& text)
{
    return Ui().ask(UiServices::Kind::Warning, text,
                    {QStringLiteral("Con&tinue"), QStringLiteral("&Cancel")}) !=
           QStringLiteral("&Cancel");
}

} // namespace

std::vector<PriceRow> PriceRowsOf(const TPartsDatabase& database)
{
    std::vector<PriceRow> rows;
    rows.reserve(static_cast<size_t>(database.PartCount()));
    for (int i = 0; i < database.PartCount(); ++i) {
        const TPartObject* part = database.Part(i);
        rows.push_back({part->PartKey(), FormatMoney(part->Price(), true),
                        QString::number(part->UnitsPerPackage())});
    }
    return rows;
}

QByteArray PriceListFileBytes(const std::vector<PriceRow>& rows, QDate expires)
{
    IniFile file;
    file.writeInteger(Header, u"Version", 1);
    file.writeReal(Header, u"Expires", SerialFromDate(expires));
    file.writeString(Header, u"Currency", Symbol());
    for (const PriceRow& row : rows) {
        file.writeString(row.partKey, u"PRC", row.priceText);
        file.writeString(row.partKey, u"UPP", row.unitsText);
    }
    return file.toBytes();
}

bool WritePriceListFile(const QString& path, const std::vector<PriceRow>& rows, QDate expires)
{
    const QByteArray bytes = PriceListFileBytes(rows, expires);
    if (const auto failure = WriteAtomically(path, bytes)) {
        Ui().error(ProblemWritingMessage(path, failure->reason));
        return false;
    }
    return true;
}

bool LoadPriceListRowsFrom(const QString& path, std::vector<PriceRow>& rows)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    return LoadPriceListRows(bytes, rows);
}

bool LoadPriceListRows(const QByteArray& bytes, std::vector<PriceRow>& rows)
{
    if (!TPartsDatabase::IsPriceListText(bytes)) {
        Ui().error(QStringLiteral("File is not a parts list file."));
        return false;
    }
    const IniFile file = IniFile::fromBytes(bytes);
    if (file.readInteger(Header, u"Version", -1) <= 0)
        return true;
    for (PriceRow& row : rows) {
        const Parsed<Money> price =
            ParseMoney(file.readString(row.partKey, u"PRC", QStringLiteral("0.00")));
        row.priceText = price ? FormatMoney(price.value(), true) : QStringLiteral("0.0");
        row.unitsText = file.readString(row.partKey, u"UPP", QStringLiteral("1"));
    }
    return true;
}

int FindPriceRow(const std::vector<PriceRow>& rows, const QString& partText)
{
    // The grid's "Part Number" column and the part key list hold the same keys
    // in the same order; both are searched without regard to letter case.
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].partKey.compare(partText, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

bool ImportPriceText(const QStringList& lines, std::vector<PriceRow>& rows)
{
    const QString symbol = Symbol();
    const QString crlf = QStringLiteral("\r\n");
    const QString crlflf = QStringLiteral("\r\n\n");
    if (!Ui().confirm(QStringLiteral("The import text must be of the following format:") + crlflf +
                      QStringLiteral("PART SIZE PRICE UNITS, for example:") + crlflf +
                      QStringLiteral("90000 20 ") + symbol + QStringLiteral("1.00 3 or") + crlf +
                      QStringLiteral("90000-20 ") + symbol + QStringLiteral("9.00 1, the ") +
                      symbol + QStringLiteral(" is optional.") + crlflf +
                      QStringLiteral("Do you want to continue ?")))
        return false;
    const bool perItem =
        Ui().ask(UiServices::Kind::Information,
                 QStringLiteral("Are prices per item [&Yes]") + crlflf +
                     QStringLiteral("Are prices per package [&All]"),
                 {QStringLiteral("&Yes"), QStringLiteral("&All")}) == QStringLiteral("&Yes");

    for (const QString& line : lines) {
        if (!line.contains(symbol))
            continue;
        QString part;
        QString price;
        QString units = QStringLiteral("1");
        int row = -1;
        bool priceFound = false;
        bool unitsFound = false;
        for (const QString& token : Tokens(line)) {
            if (!priceFound && token.contains(symbol)) {
                price = token;
                priceFound = true;
            } else if (!priceFound) {
                if (row >= 0)
                    continue;
                QString piece = token;
                piece.replace(QStringLiteral("''"), QStringLiteral("\""));
                part = part.isEmpty() ? piece : part + u'-' + piece;
                row = FindPriceRow(rows, part);
            } else if (!unitsFound) {
                units = token;
                unitsFound = true;
            }
        }
        if (row < 0) {
            if (Ui().ask(UiServices::Kind::Warning,
                         QStringLiteral("Ignored price entry for ") + part + crlflf +
                             QStringLiteral("This part is not in the parts database."),
                         {QStringLiteral("&Ok"), QStringLiteral("&Abort")}) ==
                QStringLiteral("&Abort"))
                return true;
            continue;
        }
        PriceRow& target = rows[static_cast<size_t>(row)];
        int32_t count = 0;
        if (const Parsed<int32_t> parsed = ParseInteger(units)) {
            count = parsed.value();
            target.unitsText = QString::number(count);
        } else {
            target.unitsText = QStringLiteral("0");
            if (!Continues(part + crlf + QStringLiteral("Invalid units per : ") + units + crlflf +
                           QStringLiteral("Cancel price load ?")))
                return true;
        }
        if (count <= 0)
            continue;
        if (const Parsed<Money> parsed = ParseMoney(price)) {
            const Money amount = perItem ? TimesUnits(parsed.value(), count) : parsed.value();
            target.priceText = FormatMoney(amount, true);
        } else if (!Continues(part + crlf + QStringLiteral("Invalid price : ") + price + crlflf +
                              QStringLiteral("Cancel price load ?"))) {
            return true;
        }
    }
    return true;
}

} // namespace pipeloop::catalogue
