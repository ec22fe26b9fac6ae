#include "GuiTestSupport.h"

#include "EntryKeyFilter.h"
#include "LanguageFile.h"
#include "PartsDatabase.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

class WizardTest : public ::testing::Test
{
protected:
    ScriptedUi ui;
    TNewProjectForm wizard;
};

TEST_F(WizardTest, SwitchingUnitsRewritesTheDimensions)
{
    wizard.Prepare(DemoCatalogue(), true, false);
    wizard.eastWestEdit()->setText("5000");
    wizard.unitButton(DisplayUnits::Metres)->click();
    EXPECT_EQ(wizard.eastWestEdit()->text(), "5.000m");
    EXPECT_EQ(wizard.roomHeightEdit()->text(), "2.000m");
    wizard.unitButton(DisplayUnits::Millimetres)->click();
    EXPECT_EQ(wizard.eastWestEdit()->text(), "5000mm");
    EXPECT_EQ(wizard.loopHeightEdit()->text(), "2000mm");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WizardTest, UnitsSwitchedThereAndBackKeepTheLengthsAndTypingStillCounts)
{
    wizard.Prepare(DemoCatalogue(), true, false);
    wizard.northSouthEdit()->setText("20000");
    wizard.eastWestEdit()->setText("30000");
    wizard.roomHeightEdit()->setText("6000");
    wizard.unitButton(DisplayUnits::FeetInches)->click();
    EXPECT_TRUE(wizard.Validate()); // finished in feet: still the exact lengths
    EXPECT_EQ(wizard.values().RoomNS, 20000);
    EXPECT_EQ(wizard.values().RoomEW, 30000);
    EXPECT_EQ(wizard.values().RoomHG, 6000);
    wizard.unitButton(DisplayUnits::Metres)->click();
    wizard.unitButton(DisplayUnits::Millimetres)->click();
    EXPECT_EQ(wizard.northSouthEdit()->text(), "20000mm");
    EXPECT_EQ(wizard.eastWestEdit()->text(), "30000mm");
    EXPECT_EQ(wizard.roomHeightEdit()->text(), "6000mm");
    // A length typed after a switch is read as typed.
    wizard.unitButton(DisplayUnits::FeetInches)->click();
    wizard.eastWestEdit()->setText("10'0\"");
    wizard.unitButton(DisplayUnits::Millimetres)->click();
    EXPECT_EQ(wizard.eastWestEdit()->text(), "3048mm");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WizardTest, AnUnreadableEditStopsTheConversionButTheUnitsChange)
{
    wizard.Prepare(DemoCatalogue(), true, false);
    wizard.northSouthEdit()->setText("3000");
    wizard.eastWestEdit()->setText("abc");
    wizard.unitButton(DisplayUnits::Metres)->click();
    EXPECT_EQ(ui.texts(), QStringList{"Could not convert edit box units automatically."});
    EXPECT_EQ(wizard.northSouthEdit()->text(), "3.000m"); // rewritten before the failure
    EXPECT_EQ(wizard.eastWestEdit()->text(), "abc");
    EXPECT_EQ(wizard.roomHeightEdit()->text(), "2000"); // after it: untouched
    EXPECT_EQ(wizard.units(), DisplayUnits::Metres);
}

TEST_F(WizardTest, CompressorHouseLabelAndNoElbowChoice)
{
    wizard.Prepare(DemoCatalogue(), true, true);
    EXPECT_EQ(wizard.loopHeightLabel()->text(), "Default pipe height above floor :");
    EXPECT_FALSE(wizard.elbowGroup()->isEnabled());
    wizard.Prepare(DemoCatalogue(), true, false);
    EXPECT_EQ(wizard.loopHeightLabel()->text(), "Pipeloop height above floor :");
    EXPECT_TRUE(wizard.elbowGroup()->isEnabled());
}

TEST_F(WizardTest, AnEmptyPipeSizeGivesOnlyThePipeSizeMessageOnTheInformationPage)
{
    wizard.Prepare(DemoCatalogue(), true, false);
    wizard.pipeSizeBox()->setEditText(QString());
    EXPECT_FALSE(wizard.Validate());
    EXPECT_EQ(ui.texts(), QStringList{"Invalid main pipe size value :\r\n"});
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(wizard.pages()->currentIndex(), 1);
}

TEST_F(WizardTest, BadDimensionsNameTheirFieldAndABadOutletSizeIsReported)
{
    const QString dimensions = QStringLiteral("Errors found with building dimensions.\r\n");
    wizard.Prepare(DemoCatalogue(), true, false);
    wizard.roomHeightEdit()->setText("2x");
    EXPECT_FALSE(wizard.Validate());
    EXPECT_EQ(ui.texts().last(), dimensions + "Height : '2x' is not a length above 0.");
    wizard.roomHeightEdit()->setText("2000");
    wizard.eastWestEdit()->setText("-5000"); // pasted: typing could not give it
    EXPECT_FALSE(wizard.Validate());
    EXPECT_EQ(ui.texts().last(),
              dimensions + "EAST/WEST distance : '-5000' is not a length above 0.");
    wizard.eastWestEdit()->setText("5000");

    // The loop runs inside the building: above the floor, not above the roof.
    // The user is taken to the field, on the other page.
    for (const QString& height : QStringList{"0", "2001", "-", ""}) {
        wizard.pages()->setCurrentIndex(0);
        wizard.loopHeightEdit()->setText(height);
        EXPECT_FALSE(wizard.Validate());
        EXPECT_EQ(ui.texts().last(),
                  dimensions + "Pipeloop height above floor : '" + height +
                      "' must be above 0 and no higher than the building height (2000mm).");
        EXPECT_EQ(wizard.pages()->currentIndex(), 1);
    }
    wizard.Prepare(DemoCatalogue(), true, true);
    wizard.unitButton(DisplayUnits::Metres)->click();
    wizard.loopHeightEdit()->setText("2.5");
    EXPECT_FALSE(wizard.Validate());
    EXPECT_EQ(ui.texts().last(), dimensions + "Default pipe height above floor : '2.5' must be "
                                              "above 0 and no higher than the building height "
                                              "(2.000m).");
    wizard.loopHeightEdit()->setText("2.000m");

    wizard.outletSizeBox()->setEditText("zz");
    EXPECT_FALSE(wizard.Validate());
    EXPECT_EQ(ui.texts().last(), "Invalid default outlet size value :\r\nzz");
    wizard.outletSizeBox()->setEditText("25mm");
    ASSERT_TRUE(wizard.Validate());
    EXPECT_EQ(wizard.values().Height, 2000); // as high as the building is allowed
}

TEST_F(WizardTest, SecondUseKeepsTheTextsButSelectsTheFirstSizesAgain)
{
    wizard.Prepare(DemoCatalogue(), true, false);
    ASSERT_GT(wizard.pipeSizeBox()->count(), 1);
    const QString firstSize = wizard.pipeSizeBox()->itemText(0);
    wizard.eastWestEdit()->setText("12000");
    wizard.descriptionEdit()->setText("Workshop B");
    wizard.pipeSizeBox()->setCurrentIndex(2);
    wizard.elbowButton(ElbowChoice::DefaultLoop)->setChecked(true);
    ASSERT_TRUE(wizard.Validate());
    EXPECT_EQ(wizard.values().RoomEW, 12000);
    EXPECT_EQ(wizard.values().Elbows, ElbowChoice::DefaultLoop);
    EXPECT_EQ(wizard.values().Description, "Workshop B");

    wizard.Prepare(DemoCatalogue(), true, false);
    EXPECT_EQ(wizard.eastWestEdit()->text(), "12000");
    EXPECT_EQ(wizard.descriptionEdit()->text(), "Workshop B");
    EXPECT_EQ(wizard.pipeSizeBox()->currentIndex(), 0);
    EXPECT_EQ(wizard.pipeSizeBox()->currentText(), firstSize);
    EXPECT_EQ(wizard.pages()->currentIndex(), 0);
    EXPECT_EQ(wizard.colourBox()->count(), 2); // filled once, not at every use
}

TEST_F(WizardTest, CancelAsksFirst)
{
    wizard.Prepare(DemoCatalogue(), true, false);
    wizard.show();
    wizard.reject(); // the scripted answer is No
    EXPECT_EQ(ui.questions, QStringList{"Are you sure you want to cancel ?"});
    EXPECT_TRUE(wizard.isVisible());
    ui.confirmAnswers.push_back(true);
    wizard.reject();
    EXPECT_FALSE(wizard.isVisible());
}

TEST(SizeKeys, OnlyDigitsSeparatorQuoteSlashAndBackspace)
{
    for (QChar key : QStringLiteral("0123456789\"/."))
        EXPECT_TRUE(SizeKeyAllowed(key)) << QString(key).toStdString();
    EXPECT_TRUE(SizeKeyAllowed(QChar(8)));
    for (QChar key : QStringLiteral("am -+x"))
        EXPECT_FALSE(SizeKeyAllowed(key)) << QString(key).toStdString();
}

} // namespace
} // namespace pipeloop::testing
