#include "PriceListFile.h"

#include "AtomicSave.h"
#include "Cp1252.h"
#include "DateSerial.h"
#include "IniFile.h"
#include "LocaleInfo.h"
#include "Money.h"
#include "PartsDatabase.h"
#include "UiServices.h"
#include "Units.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <QHash>

#include <algorithm>
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

// A price written without a currency symbol: digits with a decimal part
// after the locale's separator ("1.00"), which a size such as 20 lacks.
bool ReadsAsAmount(const QString& token)
{
    const qsizetype separator = token.indexOf(LocaleInfo::decimalSeparator());
    const auto digits = [](QStringView text) {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    };
    return separator >= 0 && separator + 1 < token.size() && digits(token.left(separator)) &&
           digits(QStringView(token).mid(separator + 1));
}

// What one import line says: its part text, the row of that part (or -1),
// the price text and the units text.
struct ImportLine {
    QString part;
    int row = -1;
    QString price;
    bool priceFound = false;
    QString units = QStringLiteral("1");
};

// FindPriceRow by hashing: an import of a whole list looks up every line.
class PriceRowIndex
{
public:
    explicit PriceRowIndex(const std::vector<PriceRow>& rows)
    {
        m_rows.reserve(qsizetype(rows.size()));
        for (size_t i = rows.size(); i-- > 0;) // the first of equal keys wins
            m_rows.insert(rows[i].partKey.toCaseFolded(), int(i));
    }
    int find(const QString& partText) const { return m_rows.value(partText.toCaseFolded(), -1); }

private:
    QHash<QString, int> m_rows;
};

ImportLine ReadImportLine(const QString& line, const QString& symbol, const PriceRowIndex& rows)
{
    ImportLine read;
    bool unitsFound = false;
    for (const QString& token : Tokens(line)) {
        if (read.priceFound) {
            if (!unitsFound)
                read.units = token;
            unitsFound = true;
            continue;
        }
        QString piece = token;
        piece.replace(QStringLiteral("''"), QStringLiteral("\""));
        const QString joined = read.part.isEmpty() ? piece : read.part + u'-' + piece;
        // Without a symbol an amount is the price unless the part text with it
        // names a part (a size such as 6.35).
        const bool price = symbol.isEmpty() ? !read.part.isEmpty() && ReadsAsAmount(token) &&
                                                  (read.row >= 0 || rows.find(joined) < 0)
                                            : token.contains(symbol);
        if (price) {
            read.price = token;
            read.priceFound = true;
        } else if (read.row < 0) {
            read.part = joined;
            read.row = rows.find(joined);
        }
    }
    return read;
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

    const PriceRowIndex index(rows);
    for (const QString& line : lines) {
        if (!symbol.isEmpty() && !line.contains(symbol))
            continue;
        const ImportLine read = ReadImportLine(line, symbol, index);
        if (!read.priceFound)
            continue;
        const QString& part = read.part;
        const QString& price = read.price;
        const QString& units = read.units;
        if (read.row < 0) {
            if (Ui().ask(UiServices::Kind::Warning,
                         QStringLiteral("Ignored price entry for ") + part + crlflf +
                             QStringLiteral("This part is not in the parts database."),
                         {QStringLiteral("&Ok"), QStringLiteral("&Abort")}) ==
                QStringLiteral("&Abort"))
                return true;
            continue;
        }
        PriceRow& target = rows[static_cast<size_t>(read.row)];
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

// ---------------------------------------------------------------- text files

namespace
{

QString DecodeImportText(const QByteArray& bytes)
{
    // A byte order mark names its encoding; otherwise UTF-8 when every byte
    // sequence is valid UTF-8 (exported spreadsheets), else the program's own.
    QStringDecoder decoder(QStringDecoder::encodingForData(bytes).value_or(QStringConverter::Utf8),
                           QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder(bytes);
    return decoder.hasError() ? DecodeCp1252(bytes) : text;
}

bool IsText(const QString& text)
{
    // Tab, line ends, form feed and the old end-of-file mark occur in text
    // files; other control characters (a zero byte above all) do not.
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f' &&
               c.unicode() != 0x1a;
    });
}

} // namespace

std::optional<QStringList> ReadImportTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Ui().error(QStringLiteral("An error occurred while reading : ") + path);
        return std::nullopt;
    }
    if (file.size() > MaxImportTextSize) {
        Ui().error(QStringLiteral("The file is too large to import prices from : ") + path);
        return std::nullopt;
    }
    // A device that reports no size (a pipe) is read one byte past the limit.
    const QByteArray bytes = file.read(MaxImportTextSize + 1);
    if (bytes.size() > MaxImportTextSize || file.error() != QFileDevice::NoError) {
        Ui().error(bytes.size() > MaxImportTextSize
                       ? QStringLiteral("The file is too large to import prices from : ") + path
                       : QStringLiteral("An error occurred while reading : ") + path);
        return std::nullopt;
    }
    const QString text = DecodeImportText(bytes);
    if (!IsText(text)) {
        Ui().error(QStringLiteral("The file is not a text file : ") + path);
        return std::nullopt;
    }
    return ImportTextLines(text);
}

QStringList ImportTextLines(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineEnd);
}

// ---------------------------------------------------------------- the configured list

bool SamePriceListFile(const QString& first, const QString& second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    const QFileInfo a(first);
    const QFileInfo b(second);
    const QString canonicalA = a.canonicalFilePath();
    const QString canonicalB = b.canonicalFilePath();
    if (!canonicalA.isEmpty() && !canonicalB.isEmpty())
        return canonicalA == canonicalB;
    // A file that is not there (yet) has no canonical path.
    return QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath());
}

void OfferPriceListForEveryUse(TPartsDatabase& database, QString& configuredPath,
                               const QString& path, bool saved)
{
    if (SamePriceListFile(configuredPath, path)) {
        // The prices the program uses are those just saved.
        if (saved)
            database.LoadPriceList(path);
        return;
    }
    if (!Ui().confirm(QStringLiteral("Use this price list file every time PIPELOOP is used ?")))
        return;
    configuredPath = path;
    database.LoadPriceList(path);
}

} // namespace pipeloop::catalogue
