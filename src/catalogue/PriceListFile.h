#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

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
// every question through UiServices. Returns false when the user ended it at
// the first question, true otherwise (also after "&Abort"/"&Cancel" later on,
// which keep the rows changed so far).
bool ImportPriceText(const QStringList& lines, std::vector<PriceRow>& rows);

// The row of a part text: its index among the rows' keys (letter case
// ignored), or -1.
int FindPriceRow(const std::vector<PriceRow>& rows, const QString& partText);

} // namespace pipeloop::catalogue
