#include "EditLengthDialog.h"
#include "ModalDriver.h"
#include "ScriptedUi.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace pipeloop;
using pipeloop::testing::ScriptedUi;
using pipeloop::testing::WhenModalOpens;

namespace
{

// Types text into the next query box and presses OK (or Cancel), recording
// what the box showed first.
struct QueryAnswer {
    explicit QueryAnswer(QString text, bool pressOk = true) : typed(std::move(text)), ok(pressOk) {}

    QString typed;
    bool ok;
    QString shownCaption;
    QString shownText;
};

void answerNextQuery(QueryAnswer& answer)
{
    WhenModalOpens<TextQueryDialog>([&answer](TextQueryDialog* query) {
        answer.shownCaption = query->windowTitle();
        answer.shownText = query->text();
        query->editor()->setText(answer.typed);
        if (answer.ok)
            query->accept();
        else
            query->reject();
    });
}

TEST(EditLengthTest, OkWithAValidLengthReplacesTheValue)
{
    ScriptedUi ui;
    QueryAnswer answer(QStringLiteral("1500mm"));
    answerNextQuery(answer);
    int32_t length = 5000;
    EXPECT_TRUE(EditLength(nullptr, QStringLiteral("DRAIN"), QStringLiteral("Drain length :"),
                           length, DisplayUnits::Millimetres));
    EXPECT_EQ(length, 1500);
    EXPECT_EQ(answer.shownCaption, QStringLiteral("DRAIN"));
    EXPECT_EQ(answer.shownText, QStringLiteral("5000mm")) << "pre-filled in the display units";
    EXPECT_TRUE(ui.messages.empty());
}

TEST(EditLengthTest, FeetAndInchesArePreFilledAndParsed)
{
    ScriptedUi ui;
    QueryAnswer answer(QStringLiteral("5'6\""));
    answerNextQuery(answer);
    int32_t length = 5000;
    EXPECT_TRUE(EditLength(nullptr, QStringLiteral("HEIGHT"), QStringLiteral("Height :"), length,
                           DisplayUnits::FeetInches));
    EXPECT_EQ(answer.shownText, QStringLiteral("16'5\""));
    EXPECT_EQ(length, 1676);
}

TEST(EditLengthTest, CancelLeavesTheValue)
{
    ScriptedUi ui;
    QueryAnswer answer(QStringLiteral("1500mm"), false);
    answerNextQuery(answer);
    int32_t length = 5000;
    EXPECT_FALSE(EditLength(nullptr, QStringLiteral("DRAIN"), QStringLiteral("Drain length :"),
                            length, DisplayUnits::Millimetres));
    EXPECT_EQ(length, 5000);
    EXPECT_TRUE(ui.messages.empty());
}

class RefusedLengthTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(RefusedLengthTest, IsReportedAndLeavesTheValue)
{
    ScriptedUi ui;
    const QString typed = QString::fromUtf8(GetParam());
    QueryAnswer answer(typed);
    answerNextQuery(answer);
    int32_t length = 5000;
    EXPECT_FALSE(EditLength(nullptr, QStringLiteral("DRAIN"), QStringLiteral("Drain length :"),
                            length, DisplayUnits::Millimetres));
    EXPECT_EQ(length, 5000);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Information);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Invalid value : ") + typed);
}

// Not a number, a fraction of a millimetre, a lone "m", nothing, and a
// negative length (which the display would show as a huge number).
INSTANTIATE_TEST_SUITE_P(Texts, RefusedLengthTest,
                         ::testing::Values("abc", "12.5mm", "m", "", "-500mm", "-2"));

TEST(EditLengthTest, AValueNotYetSetStartsWithAnEmptyField)
{
    ScriptedUi ui;
    QueryAnswer answer(QStringLiteral("250mm"));
    answerNextQuery(answer);
    int32_t length = -1;
    EXPECT_TRUE(EditLength(nullptr, QStringLiteral("SPUR"), QStringLiteral("Drop :"), length,
                           DisplayUnits::Metres));
    EXPECT_EQ(answer.shownText, QString());
    EXPECT_EQ(length, 250);
}

TEST(EditTextTest, OkReplacesAndCancelKeeps)
{
    QString text = QStringLiteral("Old hall");
    QueryAnswer typed(QStringLiteral("New hall"));
    answerNextQuery(typed);
    EXPECT_TRUE(EditText(nullptr, QStringLiteral("Project Description"),
                         QStringLiteral("Enter project description :"), text));
    EXPECT_EQ(typed.shownText, QStringLiteral("Old hall"));
    EXPECT_EQ(text, QStringLiteral("New hall"));

    QueryAnswer cancelled(QStringLiteral("Other"), false);
    answerNextQuery(cancelled);
    EXPECT_FALSE(EditText(nullptr, QStringLiteral("Customer"), QStringLiteral("Customer :"), text));
    EXPECT_EQ(text, QStringLiteral("New hall"));
}

} // namespace
