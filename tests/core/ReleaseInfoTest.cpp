// The release page as the update check reads it, and the one message each
// outcome gives.

#include "ReleaseInfo.h"

#include <gtest/gtest.h>

using namespace pipeloop;

namespace
{

const QByteArray Page = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>\r\n"
                        "<!-- ZELK-START -->\r\n"
                        "[ZAVOZA_PipeLoop]\r\n"
                        "Version=1.3.17\r\n"
                        "ReleaseDate=2 March 2026\r\n"
                        "DownloadSite=https://example.org/pipeloop\r\n"
                        "[Other_Product]\r\n"
                        "Version=9.9.9\r\n"
                        "</body></html>\r\n";

TEST(ReleasePage, LinesRecordAndKeys)
{
    EXPECT_EQ(ReleasePageLines("  one \r\n\r\ntwo\rthree\nhalf"),
              (QStringList{"one", "two", "three"}));

    const ReleaseInfo info = ReadReleaseInfo(Page);
    EXPECT_EQ(info.version, "1.3.17");
    EXPECT_EQ(info.releaseDate, "2 March 2026");
    EXPECT_EQ(info.downloadSite, "https://example.org/pipeloop");

    // No marker: no record, whatever follows.
    QByteArray unmarked = Page;
    unmarked.replace("<!-- ZELK-START -->", "<!-- START -->");
    EXPECT_TRUE(ReadReleaseInfo(unmarked).version.isEmpty());

    // Our record without a version never takes the next product's.
    QByteArray foreign = Page;
    foreign.replace("Version=1.3.17\r\n", "");
    EXPECT_TRUE(ReadReleaseInfo(foreign).version.isEmpty());

    // The section's name in any case; a record cut before its line break.
    EXPECT_EQ(ReleaseValue({"<!-- ZELK-START -->", "[zavoza_pipeloop]", "Version=2.0"},
                           "ZAVOZA_PipeLoop", "Version", "none"),
              "2.0");
    EXPECT_TRUE(
        ReadReleaseInfo("<!-- ZELK-START -->\n[ZAVOZA_PipeLoop]\nVersion=2.0").version.isEmpty());
}

TEST(ReleasePage, ExactlyOneMessagePerOutcome)
{
    const ReleaseInfo newer{"1.3.17", "2 March 2026", "site"};
    const ReleaseInfo same{"1.3.16.1", "", ""};
    const QString own = "1.3.16.1";
    for (bool asked : {false, true}) {
        EXPECT_TRUE(UpdateCheckMessage(true, newer, own, asked)
                        .startsWith("A new version of PIPELOOP is available : \r\nVersion : "
                                    "1.3.17\r\nRelease Date : 2 March 2026\r\nDownload From : "
                                    "site"));
    }
    EXPECT_EQ(UpdateCheckMessage(true, same, own, true),
              "This version of PIPELOOP is the latest 1.3.16.1");
    EXPECT_EQ(UpdateCheckMessage(true, {}, own, true),
              "Could not establish if there is a new version.");
    EXPECT_EQ(UpdateCheckMessage(false, newer, own, true), "No INTERNET connection is available.");
    // At start-up only a newer version is worth a word.
    EXPECT_TRUE(UpdateCheckMessage(false, newer, own, false).isEmpty());
    for (bool connected : {false, true})
        for (const ReleaseInfo& release : {same, ReleaseInfo()})
            EXPECT_TRUE(UpdateCheckMessage(connected, release, own, false).isEmpty());
}

} // namespace
