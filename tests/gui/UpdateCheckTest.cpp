// "Check For Update" in the running window, against a server on this machine.

#include "UpdateCheck.h"
#include "GuiTestSupport.h"
#include "LoopbackHttpServer.h"
#include "Network.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

QByteArray ReleasePage(const QByteArray& version)
{
    const QByteArray body = "<!-- ZELK-START -->\r\n[ZAVOZA_PipeLoop]\r\nVersion=" + version +
                            "\r\nReleaseDate=2 March 2026\r\nDownloadSite=https://example.org/\r\n";
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
           body;
}

const QString AskAgain = QStringLiteral(
    "No internet connection was detected when PIPELOOP started.\r\n\nDo you want to check again ?");

TEST(UpdateCheckTest, TheMenuCommandAsksFetchesOnceAndSaysOneThing)
{
    MainWindowFixture main;
    main.start();
    UpdateCheck& check = main.form.updateCheck();
    EXPECT_FALSE(check.internetDetected()) << "the window alone checks nowhere";

    LoopbackHttpServer server(ServerAnswer::Reply, ReleasePage("99.0"));
    check.setHost(server.host());
    main.ui.confirmAnswers = {false};
    main.action("moCheckForUpdate")->trigger();
    EXPECT_EQ(main.ui.questions, QStringList{AskAgain});
    EXPECT_TRUE(main.ui.texts().isEmpty());
    EXPECT_TRUE(server.request.isEmpty());

    // Yes: the internet window fetches the page, and the newer version is told.
    main.ui.messages.clear();
    main.ui.confirmAnswers = {true};
    main.action("moCheckForUpdate")->trigger();
    ASSERT_EQ(main.ui.texts().size(), 1);
    EXPECT_TRUE(main.ui.texts()[0].startsWith(
        QStringLiteral("A new version of PIPELOOP is available : \r\nVersion : 99.0\r\n")));
    EXPECT_TRUE(check.internetDetected());

    // Connected: asked again, nothing is fetched again and nothing asked.
    server.request.clear();
    main.ui.messages.clear();
    main.ui.questions.clear();
    main.action("moCheckForUpdate")->trigger();
    EXPECT_TRUE(server.request.isEmpty());
    EXPECT_TRUE(main.ui.questions.isEmpty());
    EXPECT_EQ(main.ui.texts().size(), 1);

    // A server that never answers: the window gives up and says so, once.
    UpdateCheck silent(&main.form);
    LoopbackHttpServer mute(ServerAnswer::Silence, {});
    silent.setHost(mute.host());
    silent.setTimeoutMs(300);
    main.ui.messages.clear();
    main.ui.confirmAnswers = {true};
    silent.checkForUpdate();
    EXPECT_EQ(main.ui.texts(), QStringList{QStringLiteral("No INTERNET connection is available.")});
}

TEST(UpdateCheckTest, TheQuietCheckSpeaksOnlyOfANewerVersion)
{
    if (!NetworkPresent())
        GTEST_SKIP() << "the system reports no network: the quiet check does not run";
    ScriptedUi ui;
    QWidget window;
    for (const auto& [version, said] : {std::pair{"99.0", 1}, std::pair{"0.1", 0}}) {
        UpdateCheck check(&window);
        LoopbackHttpServer server(ServerAnswer::Reply, ReleasePage(version));
        check.setHost(server.host());
        QSignalSpy done(&check, &UpdateCheck::checked);
        ui.messages.clear();
        check.checkQuietly();
        ASSERT_TRUE(done.wait(5000));
        EXPECT_TRUE(check.internetDetected());
        EXPECT_EQ(int(ui.messages.size()), said) << version;
    }
}

} // namespace
} // namespace pipeloop::testing
