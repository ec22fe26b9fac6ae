#pragma once

// The parts list report: the three header lines, and BuildReport,
// which counts the recorded part keys, prices them and lays the list out in
// the report document and the spreadsheet rows.

#include "Money.h"
#include "ReportDocument.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pipeloop
{
class TPipeLoop;
}

namespace pipeloop::catalogue
{

class TPartsDatabase;

// One entry of the hose totals: the air hose of one size that the drops need.
struct HoseTotal {
    float size = 0;
    int64_t length = 0; // mm

    friend bool operator==(const HoseTotal&, const HoseTotal&) = default;
};

// Consecutive records of one part key: the part list as the generator keeps it
// (a run of clips along a pipe is one entry, not one per clip).
struct RecordedRun {
    QString key;
    int64_t count = 1;
};

// The stop message of a failed selection:
// "Problem found with : " + name + CR LF + message + CR LF + "Parts list
// generation will stop.".
QString SelectionProblemText(const QString& name, const QString& message);

// The report's three header lines: "Project", "Customer" and "Created By",
// each padded to 11 characters, then ": " and the design's Description,
// CustomerCompany and CreatedBy.
void WriteReportHeader(ReportDocument& document, const TPipeLoop& design);

// The money text of a missing price: the currency symbol + "-.--".
QString MissingPriceText();

// The price of a report line: nothing when the part has
// no price above 0. Without split pricing whole packages are charged (Q div U,
// plus one when anything is left over); with it the unit price P / U, rounded
// to 1/10000, times Q. A units per package below 1 (a price list can give 0)
// counts as 1. Amounts beyond the money range saturate.
std::optional<Money> LinePrice(int64_t quantity, Money packagePrice, int32_t unitsPerPackage,
                               bool splitPackages);

struct ReportSettings {
    bool includePrices = false;
    bool splitPackagePricing = false;
    bool showCatalogueCodes = false;
};

// What BuildReport ends with.
struct ReportOutcome {
    // A hose selection failed: the failure was shown and the generation
    // counts as stopped (the report is still complete).
    bool hoseFailure = false;
    // Prices included and every line priced.
    bool totalComplete = false;
    Money total = 0;
};

// BuildReport, appended to the document after its header lines:
// an empty line, the hose lines (each hose-total entry through Hose()), the
// part lines in first-recorded order with case-insensitive key matching,
// the total line under the prices when they are included and complete (not a
// spreadsheet row), and the footer; the spreadsheet header and rows beside them. Status lines (the
// length cut off a hose) go to log. The "Total price = " message is shown
// when prices are included and complete; a hose that cannot be found is
// confirmed with no object and no extra text (its problem message shown).
ReportOutcome BuildReport(ReportDocument& document, TPartsDatabase& database,
                          const QStringList& partList, const std::vector<HoseTotal>& hoses,
                          const ReportSettings& settings,
                          const std::function<void(const QString&)>& log);
// The same from the part list kept as runs.
ReportOutcome BuildReport(ReportDocument& document, TPartsDatabase& database,
                          const std::vector<RecordedRun>& partList,
                          const std::vector<HoseTotal>& hoses, const ReportSettings& settings,
                          const std::function<void(const QString&)>& log);

// The footer's two red italic lines' second: "PIPELOOP " + the program's file
// version + the maker's closing notice.
QString FooterVersionLine();

} // namespace pipeloop::catalogue
