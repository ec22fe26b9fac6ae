#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace pipeloop::catalogue
{

class TPartsDatabase;

// One row of the browser's "Price List" grid: the part key, the
// price as currency text and the units per package as text.
struct PriceRow {
    QString partKey;
    QString priceText;
    QString unitsText;

    bool operator==(const PriceRow&) const = default;
};

// The grid as the browser fills it: every part in catalogue order, its price
// as currency text with the symbol, its units per package.
std::vector<PriceRow> PriceRowsOf(const TPartsDatabase& database);

// The "Save List" file: section PARTS-RRICE-LIST-FILE with Version 1, Expires
// (date serial) and Currency, then one section per row with PRC and UPP.
QByteArray PriceListFileBytes(const std::vector<PriceRow>& rows, QDate expires);

// Writes PriceListFileBytes to a file, completely or not at all; a failure is
// shown ("Problem writing to :") and answered false.
bool WritePriceListFile(const QString& path, const std::vector<PriceRow>& rows, QDate expires);

// "Load List" into the rows: false with "File is not a parts list file." when
// the text does not start with the price-list section. Rows are filled only
// when Version is above 0.
bool LoadPriceListRows(const QByteArray& bytes, std::vector<PriceRow>& rows);
bool LoadPriceListRowsFrom(const QString& path, std::vector<PriceRow>& rows);

// The import from text lines (a file or the clipboard), asking
// every question through UiServices. Under a locale without a currency
// symbol a line's price is the first token after the part that reads as an
// amount with decimals ("1.00"); lines without one are skipped. Returns false when the user ended
// it at the first question, true otherwise (also after "&Abort"/"&Cancel" later on, which keep the
// rows changed so far).
bool ImportPriceText(const QStringList& lines, std::vector<PriceRow>& rows);

// The row of a part text: its index among the rows' keys (letter case
// ignored), or -1.
int FindPriceRow(const std::vector<PriceRow>& rows, const QString& partText);

// The largest text file a price import reads: a price list of every part of
// a large catalogue is a few hundred kilobytes.
inline constexpr qint64 MaxImportTextSize = qint64(4) * 1024 * 1024;

// The lines of a text file to import prices from, decoded as UTF-8 when the
// bytes are valid UTF-8 (or carry a byte order mark), else as Windows-1252.
// Nothing, after a message, when the file cannot be read, is larger than
// MaxImportTextSize or holds control characters no text has.
std::optional<QStringList> ReadImportTextFile(const QString& path);
// Text split into lines at CR LF, LF or CR.
QStringList ImportTextLines(const QString& text);

// Whether two paths name the same file: compared canonically (links and
// "..", letter case where the file system ignores it), so a list saved
// under another spelling of the configured path is still recognised.
bool SamePriceListFile(const QString& first, const QString& second);

// After "Save List" (saved) or "Load List" of path: the configured price list
// saved again is read back into the database; another file is offered for
// every start ("Use this price list file every time PIPELOOP is used ?") and
// on Yes becomes configuredPath and is read into the database.
void OfferPriceListForEveryUse(TPartsDatabase& database, QString& configuredPath,
                               const QString& path, bool saved);

} // namespace pipeloop::catalogue
