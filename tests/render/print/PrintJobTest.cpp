// Print jobs drawn onto recording pages: which pages a job has, in which
// orientation, the refusal of a view that does not fit, and the extra pages.

#include "Clock.h"
#include "PrintSetup.h"
#include "ScriptedUi.h"
#include "print/ExtraPages.h"
#include "print/PagePrinter.h"
#include "print/TitleBlock.h"

#include "PrintTestSupport.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

// The view row of a page's title block ("PLAN", "NORTH", ...), or empty.
QString ViewOfPage(const RecordingTarget& target, size_t page)
{
    for (const QString& text : target.texts(page))
        if (text.contains(QStringLiteral("/SCALE : ")))
            return text.section(u'/', 0, 0).trimmed();
    return {};
}

class PrintJob : public ::testing::Test, protected PrintDesignFixture
{
protected:
    PrintResult print(const PrintRequest& request)
    {
        return PrintDesign(target, loop, setup, request, QImage());
    }

    pipeloop::testing::ScriptedUi ui;
    PrintSetup setup;
    RecordingTarget target;
};

TEST_F(PrintJob, AllViewsOfALoopArePlanThenTheFourSectionsOnePageEach)
{
    const PrintResult result = print(PrintRequest::allViews(loop));
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.pages, 5);
    ASSERT_EQ(target.pages.size(), 5u);
    const QStringList expected = {"PLAN", "NORTH", "EAST", "SOUTH", "WEST"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(ViewOfPage(target, i), expected.at(qsizetype(i)));
    EXPECT_EQ(target.jobsEnded, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PrintJob, ACompressorHousePrintsItsPlanAlone)
{
    loop.CompressorHouse = true;
    EXPECT_EQ(print(PrintRequest::allViews(loop)).pages, 1);
    EXPECT_EQ(print(PrintRequest::view(loop, ViewKind::East)).pages, 1);
    ASSERT_EQ(target.pages.size(), 2u);
    EXPECT_EQ(ViewOfPage(target, 0), QStringLiteral("PLAN"));
    EXPECT_EQ(ViewOfPage(target, 1), QStringLiteral("PLAN"));
}

TEST_F(PrintJob, EachViewIsPrintedInItsOwnOrientation)
{
    // The east and west sections are 20 m long: 133 mm at 1:150 fits upright.
    setup.SetLandscape(ViewKind::East, false);
    setup.SetLandscape(ViewKind::West, false);
    print(PrintRequest::allViews(loop));
    ASSERT_EQ(target.pages.size(), 5u);
    EXPECT_TRUE(target.pages[0].landscape);
    EXPECT_TRUE(target.pages[1].landscape);
    EXPECT_FALSE(target.pages[2].landscape);
    EXPECT_TRUE(target.pages[3].landscape);
    EXPECT_FALSE(target.pages[4].landscape);
    // The page is measured in its own orientation: the title block names it.
    EXPECT_TRUE(target.texts(2).join(u'|').contains(QStringLiteral("200.0x287.0mm")));
}

TEST_F(PrintJob, AViewThatDoesNotFitIsRefusedAndTheJobStillEnds)
{
    // 30000 div 100 = 300 mm: wider than 287 mm of landscape A4.
    setup.SetPrintScaling(ViewKind::Plan, 100);
    const PrintResult result = print(PrintRequest::allViews(loop));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.refused, std::vector<ViewKind>{ViewKind::Plan});
    EXPECT_EQ(ui.texts(), QStringList{DoesNotFitMessage()});
    EXPECT_EQ(result.pages, 4);
    ASSERT_EQ(target.pages.size(), 4u);
    EXPECT_EQ(ViewOfPage(target, 0), QStringLiteral("NORTH"));
    EXPECT_EQ(target.jobsEnded, 1);
}

TEST_F(PrintJob, AJobOfOnlyRefusedViewsPrintsNothingNotEvenTheExtraPages)
{
    setup.SetPrintScaling(ViewKind::Plan, 50);
    loop.Notes = QStringList{QStringLiteral("note")};
    PrintRequest request = PrintRequest::view(loop, ViewKind::Plan);
    request.notes = true;
    request.dropsPage = true;
    const PrintResult result = print(request);
    EXPECT_EQ(result.pages, 0);
    EXPECT_TRUE(target.pages.empty());
    EXPECT_EQ(target.jobsEnded, 1);
}

TEST_F(PrintJob, DropsAndNotesPagesFollowTheLastView)
{
    addDrop(5000, {QStringLiteral("FILTER"), QStringLiteral("REGULATOR")}, QStringLiteral("DROP1"));
    loop.Notes = QStringList{QStringLiteral("First note"), QString(), QStringLiteral("Third")};
    PrintRequest request = PrintRequest::allViews(loop);
    request.dropsPage = true;
    request.notes = true;
    const PrintResult result = print(request);
    EXPECT_EQ(result.pages, 7);
    ASSERT_EQ(target.pages.size(), 7u);
    EXPECT_EQ(ViewOfPage(target, 4), QStringLiteral("WEST"));
    EXPECT_EQ(target.texts(5), (QStringList{FooterText(), QStringLiteral("DROP1")}));
    EXPECT_EQ(target.texts(6),
              (QStringList{FooterText(), QStringLiteral("First note"), QStringLiteral("Third")}));
    // The empty line keeps its place: the third line is two lines below the first.
    std::vector<int> ys;
    for (const Primitive& primitive : target.pages[6].canvas->primitives())
        if (primitive.kind == Primitive::Kind::Text)
            ys.push_back(primitive.points[0].y());
    ASSERT_EQ(ys.size(), 2u);
    EXPECT_EQ(ys[1] - ys[0], 2 * Font::fromSpec(options.NotesFont).heightInPixels(300));
    EXPECT_EQ(target.jobsEnded, 1);
}

TEST_F(PrintJob, ExtraPagesFollowTheOptionsUnlessTheRequestSaysOtherwise)
{
    options.PrintNotes = true;
    options.PrintDropsPage = false;
    const PrintRequest request = PrintRequest::view(loop, ViewKind::South);
    EXPECT_TRUE(request.notes);
    EXPECT_FALSE(request.dropsPage);
    // No notes: no notes page.
    EXPECT_EQ(print(request).pages, 1);
}

TEST_F(PrintJob, NotesStartOnAFreshPageAndRunOntoMorePagesEachWithTheFooter)
{
    options.NotesFont.pointSize = 72; // an inch a line: about 7 lines a landscape page
    for (int i = 1; i <= 20; ++i)
        loop.Notes.append(QStringLiteral("Note %1").arg(i));
    PrintRequest request = PrintRequest::view(loop, ViewKind::Plan);
    request.notes = true;
    const PrintResult result = print(request);
    ASSERT_GE(target.pages.size(), 4u);
    EXPECT_FALSE(target.texts(0).contains(QStringLiteral("Note 1")));
    QStringList notes;
    for (size_t page = 1; page < target.pages.size(); ++page) {
        const QStringList texts = target.texts(page);
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts.front(), FooterText()) << "page " << page;
        notes += texts.mid(1);
        // Every line stays above the footer.
        const RecordingCanvas& canvas = *target.pages[page].canvas;
        for (const Primitive& primitive : canvas.primitives()) {
            if (primitive.kind == Primitive::Kind::Text) {
                EXPECT_LE(primitive.points[0].y() + 300, canvas.size().height() - 300);
            }
        }
    }
    EXPECT_EQ(notes, loop.Notes);
    EXPECT_EQ(result.pages, int(target.pages.size()));
}

TEST_F(PrintJob, TheTitleBlockCarriesTheDesignsTextsTheViewAndTheDate)
{
    FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
    Clock::install(&clock);
    options.GridSpacing = 2000;
    print(PrintRequest::view(loop, ViewKind::Plan));
    Clock::install(nullptr);
    ASSERT_EQ(target.pages.size(), 1u);
    const QStringList texts = target.texts(0);
    const QStringList rows = texts.mid(texts.size() - 5);
    EXPECT_EQ(rows.at(0), QStringLiteral(" DESCRIPTION : Test hall"));
    EXPECT_EQ(rows.at(1), QStringLiteral(" CREATED BY : A. Fitter"));
    EXPECT_EQ(rows.at(2), QStringLiteral(" COMPANY : Acme Ltd"));
    // A4 landscape at 300 dpi with 5 mm offsets: 3390 x 2362 pixels.
    EXPECT_EQ(rows.at(3),
              QStringLiteral(" PLAN/SCALE : 150:1, PAPER SIZE : 287.0x200.0mm, GRID : 2000mm"));
    EXPECT_TRUE(rows.at(4).startsWith(QStringLiteral(" DATE : 05-Mar-2026, PIPELOOP : ")));
    EXPECT_TRUE(rows.at(4).endsWith(MakersNotice()));
}

TEST_F(PrintJob, TenMegabyteTextsPrintQuicklyAndSmallEachCutToItsRoom)
{
    addDrop(15000, {QStringLiteral("FRL")}, QStringLiteral("DROP1"));
    loop.Notes = QStringList{QStringLiteral("A short note"), QStringLiteral("note")};
    options.SymbolNamesOnPlan = true;
    options.SymbolNamesOnSection = true;
    PrintRequest request = PrintRequest::allViews(loop);
    request.dropsPage = true;
    request.notes = true;
    const PdfJob usual = PrintToPdf(loop, setup, request, PdfPage());

    const QString huge(10'000'000, u'X');
    loop.Description = loop.CreatedBy = loop.CustomerCompany = loop.Notes[1] =
        loop.Drops.back()->Name = huge;
    QElapsedTimer timer;
    timer.start();
    const PdfJob hostile = PrintToPdf(loop, setup, request, PdfPage());
    // Well under a second; each page took over ten seconds when the texts
    // were drawn whole, and the PDF held every character of them.
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(hostile.result.pages, 7); // five views, the drops page, the notes
    EXPECT_LT(hostile.bytes.size(), usual.bytes.size() + 64 * 1024);

    // Every text on every page fits its room: its box, or the page from where
    // it starts; the long ones end with an ellipsis.
    ASSERT_TRUE(print(request).ok());
    int elided = 0;
    for (const RecordingTarget::Page& page : target.pages) {
        RecordingCanvas& canvas = *page.canvas;
        for (const Primitive& text : canvas.primitives()) {
            if (text.kind != Primitive::Kind::Text && text.kind != Primitive::Kind::TextRect)
                continue;
            canvas.setFont(text.font);
            const int width = canvas.textExtent(text.text).width();
            if (text.kind == Primitive::Kind::TextRect)
                EXPECT_LE(width, text.box.width()) << text.describe().left(200).toStdString();
            else
                EXPECT_LE(text.points[0].x() + width, canvas.size().width());
            elided += text.text.endsWith(QChar(0x2026)) ? 1 : 0;
        }
    }
    // Three title rows on each of the five views, the drop's name on the
    // plan, on two sections and on the drops page, the long note.
    EXPECT_EQ(elided, 5 * 3 + 1 + 2 + 1 + 1);
    EXPECT_EQ(target.texts(0).filter(QStringLiteral(" DESCRIPTION : XXX")).size(), 1);
    EXPECT_TRUE(target.texts(6).contains(QStringLiteral("A short note")));
}

} // namespace

#include "PdfCount.h"

namespace
{

TEST(PdfJob, APdfHoldsOnePageObjectPerPrintedPage)
{
    PrintDesignFixture fixture;
    fixture.loop.Notes = QStringList{QStringLiteral("note")};
    PrintSetup setup;
    PrintRequest request = PrintRequest::allViews(fixture.loop);
    request.notes = true;
    const PdfJob job = PrintToPdf(fixture.loop, setup, request, PdfPage());
    EXPECT_TRUE(job.result.ok());
    EXPECT_EQ(job.result.pages, 6);
    ASSERT_TRUE(job.bytes.startsWith("%PDF-"));
    EXPECT_EQ(test::PdfPageCount(job.bytes), 6);
}

TEST(PdfJob, ARefusedJobGivesNoBytes)
{
    pipeloop::testing::ScriptedUi ui;
    PrintDesignFixture fixture;
    PrintSetup setup;
    setup.SetPrintScaling(ViewKind::Plan, 10);
    const PdfJob job =
        PrintToPdf(fixture.loop, setup, PrintRequest::view(fixture.loop, ViewKind::Plan), {});
    EXPECT_TRUE(job.bytes.isEmpty());
    EXPECT_EQ(ui.texts(), QStringList{DoesNotFitMessage()});
}

TEST(PrintOutputs, PdfIsOfferedWithOrWithoutPrinters)
{
    const std::vector<PrintOutput> outputs = AvailablePrintOutputs();
    ASSERT_FALSE(outputs.empty());
    EXPECT_EQ(outputs.back().kind, PrintOutput::Kind::PdfFile);
    pipeloop::testing::ScriptedUi ui;
    EXPECT_TRUE(CheckPrintOutputs(outputs));
    EXPECT_FALSE(CheckPrintOutputs({}));
    EXPECT_EQ(ui.texts(), QStringList{NoPrintersMessage()});
}

} // namespace
