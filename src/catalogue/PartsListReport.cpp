#include "PartsListReport.h"

#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "TextUtil.h"
#include "UiServices.h"
#include "Units.h"
#include "Version.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace pipeloop::catalogue
{

namespace
{

const QString CrLf = QStringLiteral("\r\n");

QString Quantity(int64_t count)
{
    return QStringLiteral("%1").arg(count, 5);
}

Money SaturatingMultiply(Money a, int64_t b)
{
    Money product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return (a < 0) != (b < 0) ? std::numeric_limits<Money>::min()
                                  : std::numeric_limits<Money>::max();
    return product;
}

Money SaturatingAdd(Money a, Money b)
{
    Money sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b < 0 ? std::numeric_limits<Money>::min() : std::numeric_limits<Money>::max();
    return sum;
}

// The part keys counted in the order they were first recorded; keys that
// differ only in letter case are one line. The catalogue's lookups compare
// keys exactly, so a line is looked up under the first of its spellings that
// the catalogue knows (a key typed into a package or an assignment may differ
// in case from the part's), else under its first spelling.
struct CountedKey {
    QString key;
    int64_t quantity = 0;
    bool known = false;
};

std::vector<CountedKey> CountKeys(const std::vector<RecordedRun>& partList,
                                  const TPartsDatabase& database)
{
    // First the exact spellings, in order of first appearance. Keys recorded
    // for one part share that part's text, so most are found by the address
    // of their characters before any text is hashed or compared.
    struct Spelling {
        QString key;
        int64_t quantity = 0;
    };
    std::vector<Spelling> spellings;
    QHash<const QChar*, size_t> byAddress;
    QHash<QString, size_t> byText;
    for (const auto& [key, count] : partList) {
        if (const auto found = byAddress.constFind(key.constData()); found != byAddress.cend()) {
            spellings[found.value()].quantity += count;
            continue;
        }
        size_t index = 0;
        if (const auto found = byText.constFind(key); found != byText.cend()) {
            index = found.value();
            spellings[index].quantity += count;
        } else {
            index = spellings.size();
            byText.insert(key, index);
            spellings.push_back({key, count});
        }
        byAddress.insert(key.constData(), index);
    }
    // Then one line per key without regard to letter case.
    std::vector<CountedKey> counted;
    QHash<QString, size_t> byFolded;
    for (const Spelling& spelling : spellings) {
        const bool known = database.PartOfKey(spelling.key) != nullptr;
        const QString folded = spelling.key.toCaseFolded();
        if (const auto found = byFolded.constFind(folded); found != byFolded.cend()) {
            CountedKey& entry = counted[found.value()];
            entry.quantity += spelling.quantity;
            if (!entry.known && known) {
                entry.key = spelling.key;
                entry.known = true;
            }
        } else {
            byFolded.insert(folded, counted.size());
            counted.push_back({spelling.key, spelling.quantity, known});
        }
    }
    return counted;
}

// The total under the price column: its last figure below the lines' last.
QString TotalLine(Money total, int numberWidth)
{
    const int priceColumnEnd = 5 + 7 + numberWidth + 13; // quantity, " off   ", number, price
    return PadLeft(QStringLiteral("Total price = ") + FormatMoney(total, true), priceColumnEnd);
}

} // namespace

QString SelectionProblemText(const QString& name, const QString& message)
{
    return QStringLiteral("Problem found with : ") + name + CrLf + message + CrLf +
           QStringLiteral("Parts list generation will stop.");
}

void WriteReportHeader(ReportDocument& document, const TPipeLoop& design)
{
    const auto line = [&document](const QString& label, const QString& value) {
        document.AddLine(PadRight(label, 11) + QStringLiteral(": ") + value);
    };
    line(QStringLiteral("Project"), design.Description);
    line(QStringLiteral("Customer"), design.CustomerCompany);
    line(QStringLiteral("Created By"), design.CreatedBy);
}

QString MissingPriceText()
{
    return LocaleInfo::current().currencySymbol + QStringLiteral("-.--");
}

std::optional<Money> LinePrice(int64_t quantity, Money packagePrice, int32_t unitsPerPackage,
                               bool splitPackages)
{
    if (packagePrice <= 0)
        return std::nullopt;
    // A price list may give 0 units per package; nothing is sold
    // in packages of none, so that is a package of one.
    const int64_t units = std::max<int32_t>(unitsPerPackage, 1);
    if (splitPackages) {
        // P / U rounded to 1/10000, halves to even.
        Money unitPrice = packagePrice / units;
        const Money rest = packagePrice % units;
        if (rest * 2 > units || (rest * 2 == units && unitPrice % 2 != 0))
            ++unitPrice;
        return SaturatingMultiply(unitPrice, quantity);
    }
    const int64_t packages = quantity / units + (quantity % units != 0 ? 1 : 0);
    return SaturatingMultiply(packagePrice, packages);
}

QString FooterVersionLine()
{
    return QStringLiteral("PIPELOOP ") + VersionString(QStringLiteral("FileVersion")) +
           QStringLiteral("  (c) Zelkworks - pipework design software");
}

ReportOutcome BuildReport(ReportDocument& document, TPartsDatabase& database,
                          const QStringList& partList, const std::vector<HoseTotal>& hoses,
                          const ReportSettings& settings,
                          const std::function<void(const QString&)>& log)
{
    std::vector<RecordedRun> runs;
    runs.reserve(size_t(partList.size()));
    for (const QString& key : partList)
        runs.push_back({key, 1});
    return BuildReport(document, database, runs, hoses, settings, log);
}

ReportOutcome BuildReport(ReportDocument& document, TPartsDatabase& database,
                          const std::vector<RecordedRun>& partList,
                          const std::vector<HoseTotal>& hoses, const ReportSettings& settings,
                          const std::function<void(const QString&)>& log)
{
    ReportOutcome outcome;
    const bool prices = settings.includePrices;
    QStringList header{QStringLiteral("QUANTITY"), QStringLiteral("PART-NUMBER")};
    if (prices)
        header.append(QStringLiteral("PRICE"));
    header.append(QStringLiteral("DESCRIPTION"));
    document.SetSpreadsheetHeader(header);
    document.AddLine(QString());

    const std::vector<CountedKey> counted = CountKeys(partList, database);
    int width = 0;
    for (const CountedKey& entry : counted)
        width = std::max<int>(width, int(database.PartNumberOf(entry.key).size()));

    // Hose lines: no price, not in the total.
    for (const HoseTotal& total : hoses) {
        int64_t left = total.length;
        while (left > 0) {
            const int32_t wanted = static_cast<int32_t>(std::min<int64_t>(left, INT32_MAX));
            const TPartObject* hose = database.Hose(wanted, false, total.size);
            if (!hose) {
                Ui().error(SelectionProblemText(QString(), database.NextError()));
                outcome.hoseFailure = true;
                break;
            }
            const int64_t length = hose->Length();
            int64_t count = length > 0 ? left / length : 0;
            if (count > 0) {
                left %= length;
            } else {
                // The hose is longer than what is left: one hose, the rest cut off.
                log(SizeText(total.size) + QStringLiteral(" x ") + QString::number(length - left) +
                    QStringLiteral("mm air hose"));
                count = 1;
                left = 0;
            }
            document.AddLine(Quantity(count) + QStringLiteral(" off   ") +
                             PadRight(hose->PartNumber(), width + 3) + hose->Description());
            QStringList row{QString::number(count), hose->PartNumber()};
            // With prices the spreadsheet keeps its four columns: the price
            // field of a hose stays empty.
            if (prices)
                row.append(QString());
            row.append(hose->Description());
            document.AddSpreadsheetRow(row);
        }
    }

    bool complete = true;
    Money sum = 0;
    for (const CountedKey& entry : counted) {
        PartDisplay display = database.DisplayOf(entry.key, settings.showCatalogueCodes);
        // A key the catalogue does not hold (a package or preferred part that
        // is not there) is listed under its key rather than as a blank number.
        if (!entry.known)
            display.number = entry.key;
        QStringList row{QString::number(entry.quantity), display.number};
        if (!prices) {
            document.AddLine(Quantity(entry.quantity) + QStringLiteral(" off   ") +
                             PadRight(display.number, width + 3) + display.description);
        } else {
            const std::optional<PartPrice> price = database.PriceOf(entry.key);
            const std::optional<Money> linePrice =
                price ? LinePrice(entry.quantity, price->price, price->unitsPerPackage,
                                  settings.splitPackagePricing)
                      : std::nullopt;
            QString priceText;
            if (linePrice) {
                sum = SaturatingAdd(sum, *linePrice);
                priceText = FormatMoney(*linePrice, true);
            } else {
                priceText = MissingPriceText();
                complete = false;
            }
            document.AddLine(Quantity(entry.quantity) + QStringLiteral(" off   ") +
                             PadRight(display.number, width) + PadLeft(priceText, 13) +
                             QStringLiteral("   ") + display.description);
            row.append(priceText.trimmed());
        }
        row.append(display.description);
        document.AddSpreadsheetRow(row);
    }

    outcome.total = sum;
    outcome.totalComplete = prices && complete;
    if (outcome.totalComplete)
        document.AddLine(TotalLine(sum, width));

    document.AddLine(QString());
    document.AddLine(database.Description());
    document.AddLine(QString());
    document.AddStyledLine(QStringLiteral("Parts list created with ..."), ReportRed, true);
    document.AddStyledLine(FooterVersionLine(), ReportRed, true);

    if (outcome.totalComplete)
        Ui().inform(QStringLiteral("Total price = ") + FormatMoney(sum, true));
    return outcome;
}

} // namespace pipeloop::catalogue
