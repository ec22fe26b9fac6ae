// The Help menu's e-mail and the opener of the vendor's PDF catalogue, with
// the mail client and the PDF viewer replaced by recorders.

#include "HelpCommands.h"
#include "PdfViewer.h"

#include "GuiTestSupport.h"
#include "OrderEmail.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <optional>

using namespace pipeloop;
using namespace pipeloop::testing;

TEST(HelpCommands, EmailZelkworksOnlyWithAConnectionAndSaysWhenTheClientRefuses)
{
    ScriptedUi ui;
    QStringList links;
    bool accept = true;
    const MailOpener open = [&](const QString& link) {
        links.append(link);
        return accept;
    };

    EmailZelkworks(false, open);
    EXPECT_TRUE(links.isEmpty());
    EmailZelkworks(true, open);
    ASSERT_EQ(links.size(), 1);
    EXPECT_EQ(links[0],
              catalogue::MailtoLink("support@zelkworks.com",
                                    "PIPELOOP " + VersionString(QStringLiteral("FileVersion")),
                                    "Enter your question here ..."));

    accept = false;
    EXPECT_FALSE(SendMail(open, "Q & A", "a#b", "x@example.com"));
    EXPECT_EQ(links.last(), "mailto:x@example.com?subject=Q%20%26%20A&body=a%23b");
    EXPECT_EQ(ui.texts(), QStringList({"No INTERNET connection was detected when application "
                                       "started.\r\nEMail cannot be sent from this computer.",
                                       "Error trying to send EMail : 0"}));
}

namespace
{

// A system whose PDF handler, programs and launches the test decides.
struct FakePdfSystem {
    std::optional<QString> handler;
    QStringList programs; // found on the search path
    bool starts = true;
    bool opensUrls = true;
    QList<PdfLaunch> started;
    QList<QUrl> urls;

    DocumentOpener opener()
    {
        return PdfDocumentOpener({
            [this] { return handler; },
            [this](const QString& p) { return programs.contains(p) ? "/usr/bin/" + p : QString(); },
            [this](const QString& p, const QStringList& a) {
                started.append({p, a});
                return starts;
            },
            [this](const QUrl& url) {
                urls.append(url);
                return opensUrls;
            },
        });
    }
};

} // namespace

TEST(PdfOpener, KnownViewersGetArgumentListsOthersTheDesktopsUrl)
{
    ScriptedUi ui;
    const QString path = "/opt/pipe loop/vurazizo2014.pdf";
    FakePdfSystem system;
    system.programs = {"evince", "okular"};

    struct Case {
        const char* handler;
        const char* program;
        const char* destination;
        QStringList arguments;
    };
    const Case cases[] = {
        {"org.gnome.Evince.desktop", "/usr/bin/evince", "page=40", {"--page-label=40", "--", path}},
        {"org.gnome.Evince.desktop",
         "/usr/bin/evince",
         "search=90020 \"x\"; rm",
         {"--find=90020 \"x\"; rm", "--", path}},
        {"org.gnome.Evince.desktop",
         "/usr/bin/evince",
         "90642-110",
         {"--named-dest=90642-110", "--", path}},
        {"org.kde.okular.desktop", "/usr/bin/okular", "page=7", {"-p", "7", "--", path}},
        {"org.kde.okular.desktop",
         "/usr/bin/okular",
         "nameddest=90020",
         {"--", path}}, // opens at the start
    };
    for (const Case& c : cases) {
        system.handler = QString::fromLatin1(c.handler);
        system.started.clear();
        EXPECT_TRUE(system.opener()(path, c.destination)) << c.destination;
        ASSERT_EQ(system.started.size(), 1) << c.destination;
        EXPECT_EQ(system.started[0].program, c.program);
        EXPECT_EQ(system.started[0].arguments, c.arguments) << c.destination;
    }

    // An unknown viewer, a known one not installed, or no answer from the
    // system: the desktop opens the file URL with the place as its fragment.
    system.started.clear();
    for (const std::optional<QString>& handler :
         {std::optional<QString>("acme-pdf.desktop"), std::optional<QString>("zathura.desktop"),
          std::optional<QString>()}) {
        system.handler = handler;
        EXPECT_TRUE(system.opener()(path, "page=40"));
    }
    EXPECT_TRUE(system.started.isEmpty());
    ASSERT_EQ(system.urls.size(), 3);
    for (const QUrl& url : system.urls) {
        EXPECT_EQ(url.toLocalFile(), path);
        EXPECT_EQ(url.fragment(), "page=40");
    }
    EXPECT_EQ(PdfUrlAt(path, ParsePdfPlace("90642")).fragment(), "nameddest=90642");
    EXPECT_EQ(PdfUrlAt(path, ParsePdfPlace("search=tee")).fragment(), "search=tee");
    EXPECT_TRUE(ui.messages.empty());

    // No viewer at all, a viewer that does not start, a desktop that refuses.
    system.handler = QString();
    EXPECT_FALSE(system.opener()(path, "page=1"));
    system.handler = "org.gnome.Evince.desktop";
    system.starts = false;
    EXPECT_FALSE(system.opener()(path, "page=1"));
    system.handler = "acme-pdf.desktop";
    system.opensUrls = false;
    EXPECT_FALSE(system.opener()(path, "page=1"));
    EXPECT_EQ(
        ui.texts(),
        QStringList({"Cannot find a PDF viewer.\r\nInstall one and make it the desktop's "
                     "program for PDF files.",
                     "Error running application :\r\n/usr/bin/evince\r\n--page-label=1 -- " + path,
                     "Error running application :\r\nacme-pdf.desktop\r\n" +
                         PdfUrlAt(path, ParsePdfPlace("page=1")).toString(QUrl::FullyEncoded)}));
}
