#include "DisclaimerWindow.h"
#include "HelpTopics.h"
#include "HelpViewer.h"
#include "ScriptedUi.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace pipeloop;
using pipeloop::testing::ReadBytes;

namespace
{

const QString Collection = QStringLiteral(PIPELOOP_HELP_COLLECTION);

// A control with a use of its own for F1.
struct F1Taker : QWidget {
    using QWidget::QWidget;
    int taken = 0;
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_F1)
            ++taken;
        else
            QWidget::keyPressEvent(event);
    }
};

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

TEST(HelpViewer, OpensTheUsersCopyOfTheProgramsCollectionRenewedWithEachVersion)
{
    pipeloop::testing::ScriptedUi ui;
    QTemporaryDir program, user;
    const QDir built = QFileInfo(Collection).dir();
    for (const QString& name : {QStringLiteral("pipeloop.qhc"), QStringLiteral("pipeloop.qch")})
        ASSERT_TRUE(QFile::copy(built.filePath(name), program.filePath(name)));
    const QString installed = program.filePath(QStringLiteral("pipeloop.qhc"));
    const QString userFolder = user.filePath(QStringLiteral("PIPELOOP"));
    const QString userCopy = userFolder + QStringLiteral("/pipeloop.qhc");
    const QString userPages = userFolder + QStringLiteral("/pipeloop.qch");

    {
        ScopedHelpViewer help(installed, userFolder);
        EXPECT_FALSE(QFileInfo::exists(userFolder)) << "nothing is copied before help is asked for";
        ShowHelpTopic(QString::fromLatin1(topic::PrintSetup));
        ASSERT_NE(help.window(), nullptr);
        EXPECT_EQ(help.window()->currentPage().fileName(), "print-setup.html");
    }
    ASSERT_TRUE(QFileInfo::exists(userCopy));
    {
        // The copy stands on its own: its pages come from the copied help file.
        ASSERT_TRUE(QFile::remove(program.filePath(QStringLiteral("pipeloop.qch"))));
        QHelpEngineCore engine(userCopy);
        engine.setReadOnly(true);
        ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
        const QStringList namespaces = engine.registeredDocumentations();
        ASSERT_EQ(namespaces.size(), 1);
        EXPECT_EQ(QFileInfo(engine.documentationFileName(namespaces.first())).absoluteFilePath(),
                  QFileInfo(userPages).absoluteFilePath());
        ASSERT_TRUE(QFile::copy(built.filePath(QStringLiteral("pipeloop.qch")),
                                program.filePath(QStringLiteral("pipeloop.qch"))));
    }

    // The same version again: the user's copy is kept as it is.
    QFile pages(userPages);
    ASSERT_TRUE(pages.open(QIODevice::ReadWrite));
    const QDateTime copied = pages.fileTime(QFileDevice::FileModificationTime);
    pages.close();
    QFile programPages(program.filePath(QStringLiteral("pipeloop.qch")));
    ASSERT_TRUE(programPages.open(QIODevice::ReadWrite));
    ASSERT_TRUE(programPages.setFileTime(copied, QFileDevice::FileModificationTime));
    ASSERT_TRUE(pages.open(QIODevice::ReadWrite));
    pages.write("x", 1); // marks the copy without changing its size
    ASSERT_TRUE(pages.flush());
    ASSERT_TRUE(pages.setFileTime(copied, QFileDevice::FileModificationTime));
    pages.close();
    EXPECT_EQ(UserHelpCollection(installed, userFolder), userCopy);
    EXPECT_TRUE(ReadBytes(userPages).startsWith("x"));

    // A new version installed: the program's help file differs, the copy follows.
    const QDateTime released = copied.addDays(-30);
    ASSERT_TRUE(programPages.setFileTime(released, QFileDevice::FileModificationTime));
    programPages.close();
    EXPECT_EQ(UserHelpCollection(installed, userFolder), userCopy);
    EXPECT_EQ(ReadBytes(userPages), ReadBytes(program.filePath(QStringLiteral("pipeloop.qch"))));
    EXPECT_EQ(QFileInfo(userPages).lastModified(), released);

    // No folder for the copy (its parent is a file): the program's own collection.
    const QString blocked = program.filePath(QStringLiteral("pipeloop.qch")) + QStringLiteral("/x");
    EXPECT_EQ(UserHelpCollection(installed, blocked), installed);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DisclaimerWindow, SaysWhatTheUserTakesOn)
{
    TDisclaimerForm form;
    const QString text = form.text();
    EXPECT_TRUE(text.contains("provided \"as is\""));
    EXPECT_TRUE(text.contains("checked by a competent person before ordering"));
    EXPECT_TRUE(text.contains("are the vendor's"));
}

// F1 that a control leaves alone reaches the window's help with the topic
// of the moment; a control that uses F1 itself, or another key, asks nothing.
TEST(HelpKey, AWindowAnswersF1WithItsTopicUnlessAControlTakesIt)
{
    QStringList shown;
    SetHelpTopicHandler([&shown](const QString& topic) { shown << topic; });
    QWidget window;
    QString page = QStringLiteral("First page");
    InstallHelpKey(window, [&page] { return page; });
    auto* field = new QLineEdit(&window);
    auto* ownKey = new F1Taker(&window);

    QTest::keyClick(field, Qt::Key_F1);
    page = QStringLiteral("Second page");
    QTest::keyClick(field, Qt::Key_F1);
    QTest::keyClick(field, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(ownKey, Qt::Key_F1);
    SetHelpTopicHandler({});

    EXPECT_EQ(shown, QStringList({QStringLiteral("First page"), QStringLiteral("Second page")}));
    EXPECT_EQ(ownKey->taken, 1);
}
