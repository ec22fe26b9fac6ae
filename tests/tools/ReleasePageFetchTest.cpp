// The release page fetched from a loopback server that answers as real
// servers do, well or badly; nothing here reaches beyond this machine.

#include "ReleasePageFetch.h"
#include "ReleaseInfo.h"

#include "LoopbackHttpServer.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

const QByteArray Record = "<!-- ZELK-START -->\r\n[ZAVOZA_PipeLoop]\r\nVersion=1.3.17\r\n"
                          "ReleaseDate=2 March 2026\r\nDownloadSite=https://example.org/\r\n"
                          "[Other_Product]\r\nVersion=9.9\r\n";

QByteArray Reply(const QByteArray& status, const QByteArray& body)
{
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

QByteArray Chunked(const QByteArray& body)
{
    QByteArray reply = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (qsizetype at = 0; at < body.size(); at += 40) {
        const QByteArray chunk = body.mid(at, 40);
        reply += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
    }
    return reply + "0\r\n\r\n";
}

struct Fetched {
    bool connected = false;
    QByteArray page;
};

Fetched FetchFrom(LoopbackHttpServer& server, int timeoutMs = 5000)
{
    ReleasePageFetch fetch;
    QSignalSpy done(&fetch, &ReleasePageFetch::finished);
    fetch.start(server.host(), timeoutMs);
    EXPECT_TRUE(done.wait(timeoutMs + 5000));
    if (done.isEmpty())
        return {};
    return {done.first()[0].toBool(), done.first()[1].toByteArray()};
}

TEST(ReleasePageFetch, ServersGoodAndBad)
{
    const QByteArray padding(5000, 'x');
    const struct {
        const char* what;
        ServerAnswer answer;
        QByteArray reply;
        bool connected;
        QString version;
    } cases[] = {
        {"a page", ServerAnswer::Reply, Reply("200 OK", Record), true, "1.3.17"},
        {"a chunked page", ServerAnswer::Reply, Chunked(Record), true, "1.3.17"},
        {"the record after 4 096 bytes", ServerAnswer::Reply,
         Reply("200 OK", padding + "\r\n" + Record), true, "1.3.17"},
        {"no marker", ServerAnswer::Reply, Reply("200 OK", QByteArray(Record).replace("ZELK", "")),
         true, ""},
        {"not found", ServerAnswer::Reply, Reply("404 Not Found", "<html>gone</html>\r\n"), true,
         ""},
        {"closed at once", ServerAnswer::Hangup, {}, false, ""},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server(c.answer, c.reply);
        const Fetched fetched = FetchFrom(server);
        EXPECT_EQ(fetched.connected, c.connected) << c.what;
        EXPECT_EQ(ReadReleaseInfo(fetched.page).version, c.version) << c.what;
    }

    // What the server was asked.
    LoopbackHttpServer server(ServerAnswer::Reply, Reply("200 OK", Record));
    FetchFrom(server);
    EXPECT_TRUE(server.request.startsWith("GET /zelk_release_info.html HTTP/1.1\r\n"));
    EXPECT_TRUE(server.request.contains("\r\nHost: " + server.host().toLatin1() + "\r\n"));
    EXPECT_TRUE(server.request.contains("\r\nUser-Agent: zelkhttpdll/1.0\r\n"));
}

TEST(ReleasePageFetch, AServerThatNeverAnswersTimesOut)
{
    LoopbackHttpServer server(ServerAnswer::Silence, {});
    QElapsedTimer clock;
    clock.start();
    const Fetched fetched = FetchFrom(server, 300);
    EXPECT_FALSE(fetched.connected);
    EXPECT_TRUE(fetched.page.isEmpty());
    EXPECT_LT(clock.elapsed(), 4000);
}

} // namespace
