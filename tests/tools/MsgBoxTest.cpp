#include "MsgBox.h"
#include "HelpTopics.h"
#include "ModalDriver.h"
#include "WidgetUiServices.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace pipeloop;
using pipeloop::testing::WhenModalOpens;

namespace
{

struct LayoutCase {
    const char* name;
    MsgBoxMetrics metrics;
    QSize windowSize;
    QList<QRect> buttons;
};

class MsgBoxLayoutTest : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(MsgBoxLayoutTest, SizesTheBoxAndCentresTheButtonGroup)
{
    const LayoutCase& c = GetParam();
    const MsgBoxLayout layout = LayOutMsgBox(c.metrics);
    EXPECT_EQ(layout.windowSize, c.windowSize);
    EXPECT_EQ(layout.buttons, c.buttons);
    const int messageHeight = c.metrics.lineCount * c.metrics.lineHeight + 24;
    EXPECT_EQ(layout.messageArea.height(), messageHeight);
    for (const QRect& button : layout.buttons)
        EXPECT_EQ(button.top(), messageHeight + 12) << "buttons sit 12 pixels below the message";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MsgBoxLayoutTest,
    ::testing::Values(
        // The text is wider than the buttons: 200 + 2×2 + 48 = 252 wide;
        // 3 × 16 + 24 = 72 message, + 25 + 4 + 22 + 48 = 171 high. The group of
        // two buttons (75 + 12 + 75 = 162) is centred in the 248-pixel client.
        LayoutCase{"TextDecidesWidth",
                   {3, 16, 200, 2, 75, 25, 2, 22},
                   QSize(252, 171),
                   {QRect(43, 84, 75, 25), QRect(130, 84, 75, 25)}},
        // Four buttons are wider: 4 × 87 + 12 + 4 = 364; they start at the margin. 37 + 25 + 4 + 22
        // + 48 = 136 high.
        LayoutCase{"ButtonsDecideWidth",
                   {1, 13, 50, 4, 75, 25, 2, 22},
                   QSize(364, 136),
                   {QRect(12, 49, 75, 25), QRect(99, 49, 75, 25), QRect(186, 49, 75, 25),
                    QRect(273, 49, 75, 25)}},
        // A client-area box (no frame): one button centred under a long line.
        LayoutCase{"ClientArea",
                   {2, 15, 400, 1, 80, 30, 0, 0},
                   QSize(448, 132),
                   {QRect(184, 66, 80, 30)}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(MessageLines, SplitsAtEveryKindOfLineEnd)
{
    EXPECT_EQ(MessageLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(MessageLines(QStringLiteral("one\r\n\ntwo")), QStringList({"one", "", "two"}));
}

class MsgBoxFormTest : public ::testing::Test
{
protected:
    void TearDown() override { SetHelpTopicHandler({}); }
};

TEST_F(MsgBoxFormTest, CaptionIsABlankAndTheGivenCaptionOrTheApplicationTitle)
{
    TMsgBoxForm box;
    box.setMessage(QStringLiteral("PARTS PRICE LIST"), QStringLiteral("text"), {"&Ok"});
    EXPECT_EQ(box.windowTitle(), QStringLiteral(" PARTS PRICE LIST"));
    box.setMessage({}, QStringLiteral("text"), {"&Ok"});
    EXPECT_EQ(box.windowTitle(), QStringLiteral(" PIPELOOP"));
}

TEST_F(MsgBoxFormTest, AScreenReaderReadsTheTitleAndTheTextAsShown)
{
    TMsgBoxForm box;
    box.setMessage(QStringLiteral("SPUR"), QStringLiteral("first line\r\nsecond line"),
                   {"&Cancel"});
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral(" SPUR"));
    EXPECT_EQ(reader->text(QAccessible::Description), QStringLiteral("first line\nsecond line"));
    box.setMessage(QStringLiteral("SPUR"), QStringLiteral("next"), {"&Cancel"});
    EXPECT_EQ(reader->text(QAccessible::Description), QStringLiteral("next"));
}

TEST_F(MsgBoxFormTest, ButtonsArePlacedByTheLayoutAndTheBoxHasItsSize)
{
    TMsgBoxForm box;
    box.setMessage({}, QStringLiteral("first line\r\nsecond, longer line\r\nthird"),
                   {"&Ignore", "&Remove", "&Help"});
    EXPECT_EQ(box.buttonCaptions(), QStringList({"&Ignore", "&Remove", "&Help"}));
    const MsgBoxLayout& layout = box.currentLayout();
    ASSERT_EQ(layout.buttons.size(), 3);
    EXPECT_EQ(box.size(), layout.windowSize);
    EXPECT_EQ(box.button("&Remove")->geometry(), layout.buttons[1]);
    EXPECT_EQ(layout.messageArea.height(), 3 * box.fontMetrics().height() + 24);
}

TEST_F(MsgBoxFormTest, ResultIsTheCaptionOfThePressedButton)
{
    TMsgBoxForm box;
    box.setMessage({}, QStringLiteral("Keep it?"), {"&Ignore", "&Remove"});
    QSignalSpy pressed(&box, &TMsgBoxForm::buttonPressed);
    box.showModeless();
    QTest::mouseClick(box.button("&Remove"), Qt::LeftButton);
    EXPECT_EQ(box.pressedCaption(), QStringLiteral("&Remove"));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toString(), QStringLiteral("&Remove"));
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MsgBoxFormTest, HelpIsDisabledWithoutAViewer)
{
    TMsgBoxForm box;
    box.setMessage({}, QStringLiteral("text"), {"&Ignore", "&Help"},
                   QStringLiteral("PriceListFileErrorHelp"));
    ASSERT_NE(box.button("&Help"), nullptr);
    EXPECT_FALSE(box.button("&Help")->isEnabled());
    EXPECT_TRUE(box.button("&Ignore")->isEnabled());
}

TEST_F(MsgBoxFormTest, HelpShowsTheTopicAndKeepsTheBoxOpen)
{
    QStringList shown;
    SetHelpTopicHandler([&shown](const QString& topic) { shown.append(topic); });
    TMsgBoxForm box;
    box.setMessage({}, QStringLiteral("text"), {"&Ignore", "&Help"},
                   QStringLiteral("PriceListFileErrorHelp"));
    QSignalSpy pressed(&box, &TMsgBoxForm::buttonPressed);
    box.showModeless();
    ASSERT_TRUE(box.button("&Help")->isEnabled());
    QTest::mouseClick(box.button("&Help"), Qt::LeftButton);
    EXPECT_EQ(shown, QStringList({"PriceListFileErrorHelp"}));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_TRUE(box.pressedCaption().isEmpty());
    QTest::mouseClick(box.button("&Ignore"), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MsgBoxFormTest, OnlyAButtonClosesTheBox)
{
    TMsgBoxForm box;
    box.setMessage({}, QStringLiteral("text"), {"&Cancel"});
    box.showModeless();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(box.close());
    EXPECT_TRUE(box.isVisible());
    QCloseEvent event;
    QApplication::sendEvent(&box, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_TRUE(box.isVisible());
    box.button("&Cancel")->click();
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MsgBoxFormTest, ABoxNoButtonCouldCloseGetsOk)
{
    TMsgBoxForm box;
    box.setMessage({}, QStringLiteral("text"), {});
    EXPECT_EQ(box.buttonCaptions(), QStringList({"&Ok"}));
    box.setMessage({}, QStringLiteral("text"), {"&Help"}, QStringLiteral("Contents"));
    EXPECT_EQ(box.buttonCaptions(), QStringList({"&Ok", "&Help"}));
}

TEST_F(MsgBoxFormTest, ModalBoxWaitsForAButtonAndIgnoresEscape)
{
    WhenModalOpens<TMsgBoxForm>([](TMsgBoxForm* box) {
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_TRUE(box->isVisible());
        QTest::mouseClick(box->button("&Remove"), Qt::LeftButton);
    });
    EXPECT_EQ(MessageBox(QStringLiteral("PARTS PRICE LIST"), QStringLiteral("missing"),
                         {"&Ignore", "&Remove", "&Help"}, QStringLiteral("PriceListFileErrorHelp")),
              QStringLiteral("&Remove"));
}

struct ConfirmCase {
    const char* button;
    bool answer;
};

class ConfirmTest : public ::testing::TestWithParam<ConfirmCase>
{
};

TEST_P(ConfirmTest, IsTrueForYesOnly)
{
    const ConfirmCase c = GetParam();
    QStringList captions;
    WhenModalOpens<TMsgBoxForm>([&captions, c](TMsgBoxForm* box) {
        captions = box->buttonCaptions();
        QTest::mouseClick(box->button(c.button), Qt::LeftButton);
    });
    EXPECT_EQ(Confirm(QStringLiteral("Save now ?")), c.answer);
    EXPECT_EQ(captions, QStringList({"&Yes", "&No"}));
}

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmTest,
                         ::testing::Values(ConfirmCase{"&Yes", true}, ConfirmCase{"&No", false}));

TEST(InformTest, ShowsOneOkButtonAndReturnsWhenPressed)
{
    QStringList captions;
    QString title;
    WhenModalOpens<TMsgBoxForm>([&](TMsgBoxForm* box) {
        captions = box->buttonCaptions();
        title = box->windowTitle();
        box->button("&Ok")->click();
    });
    Inform(QStringLiteral("Pipe colour cannot be white."));
    EXPECT_EQ(captions, QStringList({"&Ok"}));
    EXPECT_EQ(title, QStringLiteral(" PIPELOOP"));
}

TEST(ModelessPromptTest, ReusesOneBoxAndDropsTheEarlierCallersConnection)
{
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    QPointer<TMsgBoxForm> first = ShowModelessPrompt(
        QStringLiteral("ADD ELBOWS"), QStringLiteral("Position each elbow."), {"&Done"}, &owner);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    int earlierAnswers = 0;
    QObject::connect(first, &TMsgBoxForm::buttonPressed, [&] { ++earlierAnswers; });

    first->move(first->pos() + QPoint(37, 21));
    const QPoint left = first->pos();
    QPointer<TMsgBoxForm> second = ShowModelessPrompt(
        QStringLiteral("ADD ELBOWS"), QStringLiteral("Again."), {"&Done"}, &owner, true);
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->pos(), left) << "keep position leaves the box where it was";
    QString answer;
    QObject::connect(second, &TMsgBoxForm::buttonPressed,
                     [&](const QString& caption) { answer = caption; });
    second->button("&Done")->click();
    EXPECT_EQ(answer, QStringLiteral("&Done"));
    EXPECT_EQ(earlierAnswers, 0);
    EXPECT_FALSE(second->isVisible());
}

TEST(ModelessPromptTest, DismissClosesWithoutAnAnswer)
{
    QWidget owner;
    QPointer<TMsgBoxForm> prompt = ShowModelessPrompt(
        QStringLiteral("ADD DROP"), QStringLiteral("Enter the first drop."), {"&Cancel"}, &owner);
    QSignalSpy pressed(prompt.data(), &TMsgBoxForm::buttonPressed);
    prompt->dismiss();
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_EQ(pressed.count(), 0);
}

TEST(WidgetUiServicesTest, QuestionsAndNoticesUseTheProgramsOwnBox)
{
    WidgetUiServices ui;
    QStringList captions;
    WhenModalOpens<TMsgBoxForm>([&](TMsgBoxForm* box) {
        captions = box->buttonCaptions();
        box->button("&Yes")->click();
    });
    EXPECT_TRUE(ui.confirm(QStringLiteral("Delete it ?"), QStringLiteral("Grid Options")));
    EXPECT_EQ(captions, QStringList({"&Yes", "&No", "&Help"}));

    WhenModalOpens<TMsgBoxForm>([&](TMsgBoxForm* box) {
        captions = box->buttonCaptions();
        box->button("&Remove")->click();
    });
    EXPECT_EQ(
        ui.ask(UiServices::Kind::Warning, QStringLiteral("Missing file"), {"&Ignore", "&Remove"}),
        QStringLiteral("&Remove"));
    EXPECT_EQ(captions, QStringList({"&Ignore", "&Remove"}));

    WhenModalOpens<TMsgBoxForm>([&](TMsgBoxForm* box) {
        captions = box->buttonCaptions();
        box->button("&Ok")->click();
    });
    ScopedUiServices installed(ui);
    Ui().error(QStringLiteral("Problem with Windows HTML help."));
    EXPECT_EQ(captions, QStringList({"&Ok"}));
}

} // namespace
