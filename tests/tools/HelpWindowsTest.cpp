#include "DisclaimerWindow.h"
#include "HelpTopics.h"
#include "HelpViewer.h"
#include "ScriptedUi.h"

#include <QFile>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace pipeloop;

namespace
{

const QString Collection = QStringLiteral(PIPELOOP_HELP_COLLECTION);

} // namespace

TEST(HelpCollection, EveryTopicTheProgramNamesOpensItsPage)
{
    QHelpEngineCore engine(Collection);
    engine.setReadOnly(true);
    ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
    for (const HelpTopicPage& entry : HelpTopicPages) {
        const QString topic = QString::fromLatin1(entry.topic);
        const QList<QHelpLink> links = engine.documentsForKeyword(topic);
        ASSERT_EQ(links.size(), 1) << entry.topic;
        EXPECT_EQ(links.first().url.fileName(), QString::fromLatin1(entry.page)) << entry.topic;
        const QByteArray page = engine.fileData(links.first().url);
        EXPECT_TRUE(page.contains("<h1>")) << entry.topic << " has no page";
    }
}

TEST(HelpViewer, ShowsTopicPagesTheIndexAndReportsAnUnusableCollection)
{
    pipeloop::testing::ScriptedUi ui;
    {
        ScopedHelpViewer missing(QStringLiteral("/nonexistent/pipeloop.qhc"));
        ASSERT_TRUE(HelpAvailable());
        ShowHelpTopic(QString::fromLatin1(topic::Contents));
        EXPECT_EQ(missing.window(), nullptr);
    }
    EXPECT_FALSE(HelpAvailable()) << "the handler leaves with the viewer";

    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("pipeloop.qhc"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a help collection");
    file.close();
    {
        ScopedHelpViewer unreadable(broken);
        ShowHelpTopic(QString::fromLatin1(topic::Contents));
        EXPECT_EQ(unreadable.window(), nullptr);
    }
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Cannot find the help file:\r\n"));
    EXPECT_TRUE(ui.messages[1].text.startsWith("Problem with the help collection:"));
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.kind, UiServices::Kind::Error);

    ScopedHelpViewer help(Collection);
    ShowHelpTopic(QString::fromLatin1(topic::PrintSetup));
    ASSERT_NE(help.window(), nullptr);
    EXPECT_TRUE(help.window()->isVisible());
    EXPECT_EQ(help.window()->currentPage().fileName(), "print-setup.html");
    EXPECT_TRUE(help.window()->page()->toPlainText().contains("Best Fit Scaling"));
    EXPECT_EQ(help.window()->currentTab(), "Contents");

    ShowHelpIndex();
    EXPECT_EQ(help.window()->currentTab(), "Index");
    ShowHelpTopic(QStringLiteral("No such topic"));
    EXPECT_EQ(help.window()->currentTab(), "Index");
    EXPECT_EQ(help.window()->currentPage().fileName(), "print-setup.html")
        << "an unknown topic leaves the page shown";

    // A link inside a page leads to the page it names.
    ShowHelpTopic(QString::fromLatin1(topic::PipeColours));
    emit help.window()->page()->anchorClicked(QUrl(QStringLiteral("colours.html")));
    EXPECT_EQ(help.window()->currentPage().fileName(), "colours.html");
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(DisclaimerWindow, SaysWhatTheUserTakesOn)
{
    TDisclaimerForm form;
    const QString text = form.text();
    EXPECT_TRUE(text.contains("provided \"as is\""));
    EXPECT_TRUE(text.contains("checked by a competent person before ordering"));
    EXPECT_TRUE(text.contains("are the vendor's"));
}
