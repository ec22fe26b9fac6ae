// The parts list report: header lines, counting, prices, hose
// lines, the footer and the spreadsheet rows built beside them.

#include "PartsListReport.h"
#include "CatalogueTestSupport.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "ReportDocument.h"
#include "ScriptedUi.h"
#include "TextUtil.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;

namespace
{

class ReportTest : public ::testing::Test
{
protected:
    ReportTest()
        : locale(PoundFacts()),
          database(DatabaseFromText(QStringLiteral(
              "[CATALOGUE]\r\nSUP=RPT\r\nDSC=Report test catalogue\r\n"
              "[K7]\r\nTYP=CONNECTOR\r\nDSC=Seven connector\r\nPRC=10.00\r\nUPP=5\r\n"
              "[FREE]\r\nTYP=CONNECTOR\r\nDSC=Unpriced part\r\n"
              "[LONG]\r\nTYP=CONNECTOR\r\nAPN=LONG-NUMBER-1\r\nCOD=C1\r\nDSC=Long "
              "numbered\r\nPRC=2.50\r\n"
              "[OLD]\r\nTYP=CONNECTOR\r\nDSC=Old part\r\nEOL=1\r\nPRC=1.00\r\n"
              "[HA]\r\nTYP=HOSE\r\nAPN=HOSE-10\r\nDSC=Hose "
              "10m\r\nOD1=1/4\"\r\nLEN=10000\r\nPRC=9.00\r\n"
              "[HB]\r\nTYP=HOSE\r\nAPN=HOSE-20\r\nDSC=Hose 20m\r\nOD1=1/4\"\r\nLEN=20000\r\n")))
    {
    }

    ReportOutcome Build(const QStringList& parts, ReportSettings settings = {},
                        std::vector<HoseTotal> hoses = {})
    {
        document.Clear();
        log.clear();
        return BuildReport(document, *database, parts, hoses, settings,
                           [this](const QString& line) { log.append(line); });
    }
    // The report lines between the empty line after the header and the footer.
    QStringList Body() const
    {
        const QStringList lines = document.LineTexts();
        return lines.mid(1, lines.size() - 6);
    }

    ScriptedUi ui;
    ScopedLocale locale;
    std::unique_ptr<TPartsDatabase> database;
    ReportDocument document;
    QStringList log;
};

// A part line: quantity, " off   ", the number padded to pad, the rest.
QString Line(int quantity, const QString& number, int pad, const QString& rest)
{
    return QStringLiteral("%1 off   ").arg(quantity, 5) + PadRight(number, pad) + rest;
}

ReportSettings Prices(bool split = false)
{
    ReportSettings settings;
    settings.includePrices = true;
    settings.splitPackagePricing = split;
    return settings;
}

} // namespace

TEST_F(ReportTest, HeaderLinesPadTheirLabels)
{
    TPipeLoopOptions options;
    TPipeLoop design(options);
    design.Description = QStringLiteral("Factory ring main");
    design.CustomerCompany = QStringLiteral("ACME Ltd");
    WriteReportHeader(document, design);
    EXPECT_EQ(document.LineTexts(), QStringList({QStringLiteral("Project    : Factory ring main"),
                                                 QStringLiteral("Customer   : ACME Ltd"),
                                                 QStringLiteral("Created By : ")}));
}

TEST_F(ReportTest, LinesFollowFirstRecordedOrderAndIgnoreLetterCase)
{
    Build({QStringLiteral("OLD"), QStringLiteral("k7"), QStringLiteral("LONG"),
           QStringLiteral("K7"), QStringLiteral("old"), QStringLiteral("K7")});
    // Width: the longest part number (LONG-NUMBER-1, 13) + 3. The "k7"
    // line is K7's: the catalogue knows the part under that spelling.
    EXPECT_EQ(Body(),
              QStringList({QStringLiteral("    2 off   OLD             * Old part (end of line)"),
                           QStringLiteral("    3 off   K7              Seven connector"),
                           QStringLiteral("    1 off   LONG-NUMBER-1   Long numbered")}));
    EXPECT_EQ(ReportSpreadsheetText(document), QStringLiteral("QUANTITY\tPART-NUMBER\tDESCRIPTION\n"
                                                              "2\tOLD\t* Old part (end of line)\n"
                                                              "3\tK7\tSeven connector\n"
                                                              "1\tLONG-NUMBER-1\tLong numbered\n"));
    EXPECT_TRUE(ui.messages.empty()); // no prices, no total
}

TEST_F(ReportTest, FooterNamesTheCatalogueAndTheProgramInRedItalics)
{
    Build({QStringLiteral("K7")});
    const std::vector<ReportLine>& lines = document.Lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], (ReportLine{QString(), ReportBlack, false}));
    EXPECT_EQ(lines[2], (ReportLine{QString(), ReportBlack, false}));
    EXPECT_EQ(lines[3], (ReportLine{QStringLiteral("Report test catalogue"), ReportBlack, false}));
    EXPECT_EQ(lines[5],
              (ReportLine{QStringLiteral("Parts list created with ..."), ReportRed, true}));
    EXPECT_EQ(lines[6].text,
              QStringLiteral("PIPELOOP 1.0.0.0  (c) Zelkworks - pipework design software"));
    EXPECT_TRUE(lines[6].italic);
    EXPECT_EQ(lines[6].colour, ReportRed);
}

TEST_F(ReportTest, SevenPartsInPacksOfFive)
{
    const QStringList seven(7, QStringLiteral("K7"));
    ReportOutcome outcome = Build(seven, Prices(false));
    // The total stands under the price column as the list's last line, but
    // the spreadsheet's rows stay parts.
    EXPECT_EQ(Body(),
              QStringList({QStringLiteral("    7 off   K7       \u00a320.00   Seven connector"),
                           QStringLiteral("       Total price = \u00a320.00")}));
    ASSERT_EQ(document.SpreadsheetRows().size(), 1u);
    EXPECT_EQ(document.SpreadsheetRows().front(),
              QStringList({QStringLiteral("7"), QStringLiteral("K7"), QStringLiteral("\u00a320.00"),
                           QStringLiteral("Seven connector")}));
    EXPECT_EQ(document.SpreadsheetHeader(),
              QStringList({QStringLiteral("QUANTITY"), QStringLiteral("PART-NUMBER"),
                           QStringLiteral("PRICE"), QStringLiteral("DESCRIPTION")}));
    EXPECT_TRUE(outcome.totalComplete);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("Total price = \u00a320.00")));

    ui.messages.clear();
    outcome = Build(seven, Prices(true));
    EXPECT_EQ(Body(),
              QStringList({QStringLiteral("    7 off   K7       \u00a314.00   Seven connector"),
                           QStringLiteral("       Total price = \u00a314.00")}));
    EXPECT_EQ(outcome.total, 14 * MoneyUnit);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("Total price = \u00a314.00")));
}

TEST_F(ReportTest, LinePricesChargePackagesOrSplitTheUnitPrice)
{
    const Money ten = 10 * MoneyUnit;
    EXPECT_EQ(LinePrice(5, ten, 5, false), ten);
    EXPECT_EQ(LinePrice(6, ten, 5, false), 2 * ten);
    EXPECT_EQ(LinePrice(3, ten, 3, true), 99999); // 3.3333 each
    EXPECT_EQ(LinePrice(1, 5, 2, true), 2);       // 2.5 ten-thousandths to the even 2
    EXPECT_EQ(LinePrice(1, 7, 2, true), 4);       // 3.5 to the even 4
    // A price list may load 0 units per package: a package of one.
    EXPECT_EQ(LinePrice(4, ten, 0, false), 4 * ten);
    EXPECT_EQ(LinePrice(4, ten, 0, true), 4 * ten);
    EXPECT_EQ(LinePrice(4, 0, 1, false), std::nullopt);
    EXPECT_EQ(LinePrice(4, -ten, 1, true), std::nullopt);
    EXPECT_EQ(LinePrice(INT64_MAX / 2, ten, 1, false), std::numeric_limits<Money>::max());
}

TEST_F(ReportTest, MissingPriceShowsDashesAndNoTotal)
{
    const ReportOutcome outcome =
        Build({QStringLiteral("K7"), QStringLiteral("FREE"), QStringLiteral("NOT-IN-CATALOGUE")},
              Prices());
    EXPECT_EQ(Body(),
              QStringList({Line(1, QStringLiteral("K7"), 4,
                                PadLeft(QStringLiteral("\u00a310.00"), 13) +
                                    QStringLiteral("   Seven connector")),
                           QStringLiteral("    1 off   FREE        \u00a3-.--   Unpriced part"),
                           // A key the catalogue lacks is listed under its key.
                           QStringLiteral("    1 off   NOT-IN-CATALOGUE        \u00a3-.--   ")}));
    EXPECT_EQ(document.SpreadsheetRows().at(1).at(2), QStringLiteral("\u00a3-.--"));
    EXPECT_FALSE(outcome.totalComplete);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReportTest, CatalogueCodesReplaceNumbersWhereTheyExist)
{
    ReportSettings codes;
    codes.showCatalogueCodes = true;
    Build({QStringLiteral("LONG"), QStringLiteral("K7")}, codes);
    // The column is still as wide as the longest part number.
    EXPECT_EQ(Body(),
              QStringList({Line(1, QStringLiteral("C1"), 16, QStringLiteral("Long numbered")),
                           Line(1, QStringLiteral("K7"), 16, QStringLiteral("Seven connector"))}));
}

TEST_F(ReportTest, AirHoseTotalsBecomeWholeHosesWithTheRestCutOff)
{
    // 25 m: no hose is that long, so the last one (20 m) once, then the first
    // at least 5 m long (10 m) once, 5 m cut off.
    const ReportOutcome outcome = Build({QStringLiteral("K7")}, Prices(), {{6.35f, 25000}});
    EXPECT_EQ(Body(),
              QStringList({QStringLiteral("    1 off   HOSE-20Hose 20m"),
                           QStringLiteral("    1 off   HOSE-10Hose 10m"),
                           QStringLiteral("    1 off   K7       \u00a310.00   Seven connector"),
                           QStringLiteral("       Total price = \u00a310.00")}));
    EXPECT_EQ(log, QStringList(QStringLiteral("1/4\" x 5000mm air hose")));
    // Hoses carry no price and are not in the total; their price column is empty.
    EXPECT_EQ(document.SpreadsheetRows().front(),
              QStringList({QStringLiteral("1"), QStringLiteral("HOSE-20"), QString(),
                           QStringLiteral("Hose 20m")}));
    EXPECT_EQ(outcome.total, 10 * MoneyUnit);
    EXPECT_FALSE(outcome.hoseFailure);

    // 40 m is two of the 20 m hoses exactly; a size with no hose stops.
    Build({}, {}, {{6.35f, 40000}, {12.7f, 1000}});
    EXPECT_EQ(Body(), QStringList(QStringLiteral("    2 off   HOSE-20Hose 20m")));
    EXPECT_EQ(ui.texts().back(),
              SelectionProblemText(QString(),
                                   QStringLiteral("RPT parts hose not found : 1/2\" x 1000mm")));
}
