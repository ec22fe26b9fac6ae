// The checks the editing commands share: where an object may go, which size
// texts the size entry takes, and the main pipe size.

#include "EditRules.h"
#include "EditFixture.h"

namespace pipeloop::testing
{
namespace
{

using EditRulesTest = EditFixture;

TEST_F(EditRulesTest, OccupiedPositionsAndSpurEndsAreRefusedInTheDesktopsWords)
{
    addDrop(P(0, 1000));
    TSpur& spur = design->AddSpur(P(0, 3000), P(1500, 3000), true, 0, 25.0f);
    ASSERT_TRUE(document.pushAppended(spur, "Add spur"));
    const Position dropAt = P(0, 1000, -1);
    const Position spurEnd = P(1500, 3000, -1);

    EXPECT_EQ(CheckPositionFree(*design, dropAt, false, false).message(),
              QStringLiteral("Position is already occupied by : DROP1"));
    EXPECT_EQ(CheckPositionFree(*design, spurEnd, false, false).message(),
              QStringLiteral("Only drops/spurs can be positioned at spur ends."));
    EXPECT_TRUE(CheckPositionFree(*design, spurEnd, false, true));
    EXPECT_TRUE(CheckPositionFree(*design, P(700, 0, -1), false, false));

    // The last elbow may close the loop on the first; another elbow may not.
    document.select(*design->Elbows[4]);
    EXPECT_TRUE(CheckPositionFree(*design, P(0, 0, -1), true, false));
    document.select(*design->Elbows[3]);
    EXPECT_EQ(CheckPositionFree(*design, P(0, 0, -1), true, false).message(),
              QStringLiteral("Cannot move object, position occupied by : ELBOW1"));
    EXPECT_EQ(CheckPositionFree(*design, spurEnd, true, false).message(),
              QStringLiteral("Only drops/spurs can be moved to spur ends."));
    // A dragged object drawn at the pointer does not hide what is there.
    document.select(*design->Elbows[2]);
    design->Elbows[2]->setPosition(P(0, 1000, 2500));
    EXPECT_FALSE(CheckPositionFree(*design, dropAt, true, false));
}

TEST_F(EditRulesTest, TheSizeEntryTakesSizeTextsAndAsksAboutUnlistedSizes)
{
    const QString listed = QStringLiteral("25mm\n32mm\n1/2\"");
    for (const char* text : {"abc", "-5", "0", "", "1 1/4\""})
        EXPECT_EQ(ReadSizeEntry(QString::fromLatin1(text), listed).error(),
                  QStringLiteral("Invalid size : ") + QString::fromLatin1(text));
    EXPECT_FLOAT_EQ(ReadSizeEntry(QStringLiteral("32"), listed).value(), 32.0f);
    EXPECT_FLOAT_EQ(ReadSizeEntry(QStringLiteral("1/2\""), listed).value(), 12.7f);
    EXPECT_FLOAT_EQ(ReadSizeEntry(QStringLiteral("40mm"), QString()).value(), 40.0f);
    EXPECT_TRUE(ui.questions.isEmpty());

    ui.askAnswers = {QStringLiteral("&Ignore")};
    EXPECT_FLOAT_EQ(ReadSizeEntry(QStringLiteral("40mm"), listed).value(), 40.0f);
    EXPECT_EQ(ReadSizeEntry(QStringLiteral("40mm"), listed).error(),
              QStringLiteral("Entered size not support."));
    EXPECT_EQ(ui.questions, QStringList(2, QStringLiteral("Entered size not support.")));
}

TEST_F(EditRulesTest, TheMainPipeIsTheLoopOrEveryPipeOfACompressorHouse)
{
    EXPECT_EQ(MainPipeSizePrompt(*design)->Title, QStringLiteral("MAIN PIPE"));
    EXPECT_FALSE(SetMainPipeSize(document, design->PipeSize));
    ASSERT_TRUE(SetMainPipeSize(document, 63.0f));
    EXPECT_FLOAT_EQ(design->PipeSize, 63.0f);
    ASSERT_TRUE(document.undo());
    EXPECT_FLOAT_EQ(design->PipeSize, 50.0f);

    design->CompressorHouse = true;
    EXPECT_FALSE(MainPipeSizePrompt(*design));
    for (const auto& [ns, size] : {std::pair{500, 25.0f}, std::pair{1000, 40.0f}})
        ASSERT_TRUE(document.pushAppended(design->AddSpur(P(ns, 0), P(ns, 3000), false, 0, size),
                                          "Add spur"));
    EXPECT_FLOAT_EQ(MainPipeSizePrompt(*design)->Size, 25.0f);
    const int steps = document.undoStack().count();
    ASSERT_TRUE(SetMainPipeSize(document, 32.0f));
    EXPECT_EQ(document.undoStack().count(), steps + 1);
    EXPECT_FLOAT_EQ(design->Spurs[1]->PipeSize, 32.0f);
    ASSERT_TRUE(document.undo());
    EXPECT_FLOAT_EQ(design->Spurs[0]->PipeSize, 25.0f);
    EXPECT_FLOAT_EQ(design->Spurs[1]->PipeSize, 40.0f);
    EXPECT_FLOAT_EQ(design->PipeSize, 50.0f) << "the loop's size is not a house pipe";
}

TEST_F(EditRulesTest, OptionsSavedWithTheProjectChangeTheDesignOthersOnlyTellListeners)
{
    int told = 0;
    QObject::connect(&document, &Document::optionsChanged, [&told] { ++told; });
    const int steps = document.undoStack().count();
    TPipeLoopOptions& options = document.options();

    // The user's own options: listeners are told, the history keeps nothing.
    TPipeLoopOptions before = options;
    options.GridColour = 255;
    KeepOptionsChange(document, before);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(document.undoStack().count(), steps);
    KeepOptionsChange(document, options);
    EXPECT_EQ(told, 1) << "nothing changed";

    // Turning on "save options in project files" is already part of the design.
    before = options;
    options.Saved = true;
    options.SymbolSize = 9;
    KeepOptionsChange(document, before);
    EXPECT_EQ(document.undoStack().count(), steps + 1);
    EXPECT_EQ(told, 2);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(options, before);
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(options.SymbolSize, 9);
    EXPECT_TRUE(options.Saved);
}

} // namespace
} // namespace pipeloop::testing
