#include "GuiTestSupport.h"

#include "HelpTopics.h"
#include "PartsListForm.h"
#include "PartsListGenerator.h"
#include "ReportDocument.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

using catalogue::GenerationOutcome;
using catalogue::TPartsListGenerator;

const QStringList OutputButtons = {QStringLiteral("btnPrintList"), QStringLiteral("btnSaveList"),
                                   QStringLiteral("btnEMailList")};

class PartsListFormTest : public ::testing::Test
{
protected:
    PartsListFormTest()
    {
        main.start();
        main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf");
        ui.messages.clear();
    }

    TZAVOZAPartsListForm& form() { return main.form.partsListForm(); }
    void prepare() { form().Prepare(*main.design(), main.form.partsDatabase(), true, {}); }
    bool outputsEnabled()
    {
        bool enabled = false;
        for (const QString& name : OutputButtons)
            enabled |= form().button(name)->isEnabled();
        for (QAction* action : form().reportPopup()->actions())
            enabled |= action->isEnabled();
        return enabled;
    }
    bool outputsAllEnabled()
    {
        bool enabled = true;
        for (const QString& name : OutputButtons)
            enabled &= form().button(name)->isEnabled();
        for (QAction* action : form().reportPopup()->actions())
            enabled &= action->isSeparator() || action->isEnabled();
        return enabled;
    }
    // The report the command-line program writes for the same design and options.
    QString headlessReport()
    {
        TPartsListGenerator generator(*main.design(), main.form.partsDatabase());
        generator.Generate(form().Options());
        return catalogue::ReportPlainText(generator.Report(), QStringLiteral("\n"), false);
    }
    TDrop& drop(int index) { return *main.design()->Drops[size_t(index)]; }

    MainWindowFixture main;
    ScriptedUi& ui = main.ui;
};

TEST_F(PartsListFormTest, OpensWithItsPresetsAndGeneratesTheCommandLineReport)
{
    main.design()->PipeColour = PipeColour::Gray;
    form().tabs()->setCurrentIndex(2);
    prepare();
    EXPECT_EQ(form().tabs()->currentIndex(), 0);
    EXPECT_TRUE(form().findChild<QRadioButton*>(QStringLiteral("rbGrey"))->isChecked());
    EXPECT_FALSE(form().findChild<QCheckBox*>(QStringLiteral("cbIncludePrices"))->isEnabled());
    EXPECT_FALSE(outputsEnabled());

    // The manifold preference: a click on a picture checks its box alone.
    QTest::mouseClick(form().manifoldPicture(QStringLiteral("90660")), Qt::LeftButton);
    EXPECT_TRUE(form().manifoldBox(QStringLiteral("90660"))->isChecked());
    EXPECT_FALSE(form().manifoldBox(QStringLiteral("90602"))->isChecked());
    form().manifoldBox(QStringLiteral("90642"))->click();
    EXPECT_FALSE(form().manifoldBox(QStringLiteral("90660"))->isChecked());
    EXPECT_EQ(form().Options().twoPortManifold, QStringLiteral("90642"));
    EXPECT_EQ(form().Options().colour, catalogue::ColourGrey);

    form().button(QStringLiteral("btnGenerate"))->click();
    const QStringList messages = ui.texts();
    ui.messages.clear();
    EXPECT_TRUE(form().CommandsEnabled());
    EXPECT_TRUE(outputsAllEnabled());
    EXPECT_TRUE(form().button(QStringLiteral("btnClose"))->isEnabled());
    EXPECT_EQ(form().progress()->value(), form().progress()->maximum());
    EXPECT_EQ(form().reportView()->toPlainText(), headlessReport());
    EXPECT_EQ(ui.texts(), messages); // the same run says the same things

    // The Information tab: the log, then what no ordered part covers.
    const QStringList log = form().informationLines();
    EXPECT_EQ(log.first(), QStringLiteral("ELBOW1...ELBOW2"));
    const qsizetype summary =
        log.indexOf(QStringLiteral("Drop equipment not covered by any ordered part:"));
    ASSERT_GT(summary, 0);
    // The sample's FRLs, regulators, gauges and filters come from elsewhere, and
    // so does a valve at the foot of a stack; the first drop's hose has an
    // assigned part of no maker (ignored); the inlet's valve has the vendor's.
    EXPECT_EQ(log.mid(summary + 1),
              QStringList({QStringLiteral("  2 x FRL"), QStringLiteral("  1 x AIR-HOSE"),
                           QStringLiteral("  1 x VALVE"), QStringLiteral("  1 x FILTER_AUTO"),
                           QStringLiteral("  3 x REGULATOR"), QStringLiteral("  2 x GAUGE"),
                           QStringLiteral("  2 x FILTER")}));

    // Help and F1 open the window's topic; the options stay for the next opening.
    QStringList topics;
    SetHelpTopicHandler([&topics](const QString& topic) { topics.append(topic); });
    QTest::keyClick(&form(), Qt::Key_F1);
    form().button(QStringLiteral("btnHelp"))->click();
    SetHelpTopicHandler({});
    EXPECT_EQ(topics, QStringList(2, QStringLiteral("Parts List Generation")));
    main.design()->PipeColour = PipeColour::Blue;
    prepare();
    EXPECT_TRUE(form().findChild<QRadioButton*>(QStringLiteral("rbBlue"))->isChecked());
    EXPECT_EQ(form().Options().twoPortManifold, QStringLiteral("90642"));
    EXPECT_FALSE(outputsEnabled());
    EXPECT_TRUE(form().reportView()->toPlainText().isEmpty());
}

TEST_F(PartsListFormTest, CancelAndQuittingStopTheRunWhichNoCloseInterrupts)
{
    prepare();
    form().show();
    for (QString pressed : {QStringLiteral("btnCancel"), QStringLiteral("quit")}) {
        bool seenRunning = false;
        QTimer::singleShot(0, &form(), [&] {
            seenRunning = form().Running();
            EXPECT_FALSE(form().button(QStringLiteral("btnClose"))->isEnabled());
            EXPECT_FALSE(form().button(QStringLiteral("btnGenerate"))->isVisible());
            EXPECT_FALSE(form().close());
            QTest::keyClick(&form(), Qt::Key_Escape);
            EXPECT_TRUE(form().isVisible());
            EXPECT_TRUE(form().Running());
            if (pressed == QStringLiteral("quit"))
                EXPECT_FALSE(main.form.close()); // cancels, the program stays
            else
                form().button(pressed)->click();
        });
        form().Generate();
        EXPECT_TRUE(seenRunning) << pressed.toStdString();
        EXPECT_FALSE(form().Running());
        EXPECT_FALSE(outputsEnabled());
        EXPECT_TRUE(form().button(QStringLiteral("btnClose"))->isEnabled());
        EXPECT_FALSE(form().reportView()->toPlainText().contains(QStringLiteral("Parts list")));
    }
    EXPECT_TRUE(ui.texts().isEmpty());
    EXPECT_TRUE(form().close());
}

TEST_F(PartsListFormTest, GenerateCommandRefusesOrOpensTheWindowAndShowsTheStop)
{
    QAction* command = main.action("moGeneratePipeWorkPartsList");
    EXPECT_EQ(command->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));

    // A stop: the package of a drop is not in the catalogue.
    drop(0).PartPackage = QStringLiteral("NO-SUCH-KIT");
    bool opened = false;
    QTimer::singleShot(0, &form(), [&] {
        opened = form().isVisible();
        form().Generate();
        EXPECT_FALSE(form().CommandsEnabled());
        EXPECT_FALSE(outputsEnabled());
        form().button(QStringLiteral("btnClose"))->click();
    });
    command->trigger();
    EXPECT_TRUE(opened);
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(drop(0).isHighlighted());
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("No package found : NO-SUCH-KIT\r\n"
                                                     "Parts list generation will stop.")));
    drop(0).PartPackage.clear();
    ui.messages.clear();

    // A drop away from every pipe is highlighted and the window stays shut.
    drop(1).setPosition({drop(1).NS + 777, drop(1).EW + 555, drop(1).HG});
    command->trigger();
    EXPECT_TRUE(drop(1).isHighlighted());
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral(
                              "There are symbols not connected.\r\nThese have been highlighted.")));
    ui.messages.clear();

    // Without a usable catalogue nothing is looked at.
    main.form.partsDatabase().LoadContainer(QStringLiteral("/no/such/catalogue.pldbcab"));
    ui.messages.clear();
    command->trigger();
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("The parts database could not be loaded, "
                                                     "no parts list generation possible.")));
    EXPECT_FALSE(form().isVisible());
}

TEST_F(PartsListFormTest, EMailListOpensTheMailClientAndPausesWithoutBlocking)
{
    QStringList links;
    TZAVOZAPartsListForm mailing(
        main.dialogs, QStringLiteral(PIPELOOP_APP_DIR),
        [](const QString&, const QString&) { return true; },
        [&links](const QString& link) {
            links.append(link);
            return true;
        });
    QPushButton* email = mailing.button(QStringLiteral("btnEMailList"));

    // Without a connection found at start: the message, no mail.
    mailing.Prepare(*main.design(), main.form.partsDatabase(), false, {});
    mailing.Generate();
    ui.messages.clear();
    email->click();
    EXPECT_TRUE(links.isEmpty());
    EXPECT_TRUE(ui.texts().value(0).startsWith(QStringLiteral("No INTERNET connection")));
    EXPECT_TRUE(email->isEnabled());

    mailing.Prepare(*main.design(), main.form.partsDatabase(), true,
                    QStringLiteral("orders@example.com"));
    mailing.Generate();
    email->click();
    ASSERT_EQ(links.size(), 1);
    EXPECT_TRUE(links[0].startsWith(QStringLiteral("mailto:orders@example.com")));
    // The button rests while the mail client comes up; the window goes on.
    EXPECT_FALSE(email->isEnabled());
    EXPECT_TRUE(mailing.button(QStringLiteral("btnSaveList"))->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([email] { return email->isEnabled(); }, 6000));
}

} // namespace
} // namespace pipeloop::testing
