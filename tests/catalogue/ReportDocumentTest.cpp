// The report document's three renderings (rich text, plain text, spreadsheet
// text) and the order e-mail built from it.

#include "ReportDocument.h"
#include "CatalogueTestSupport.h"
#include "OrderEmail.h"
#include "PartsDatabase.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;

namespace
{

ReportDocument SmallReport()
{
    ReportDocument document;
    document.AddLine(QStringLiteral("Project    : Caf\u00e9 {east} \\ hall"));
    document.AddLine(QString());
    document.AddLine(QStringLiteral("    2 off   90010-25      \u00a312.00   Elbow 25mm"));
    document.AddStyledLine(QStringLiteral("Parts list created with ..."), ReportRed, true);
    document.SetSpreadsheetHeader({QStringLiteral("QUANTITY"), QStringLiteral("PART-NUMBER"),
                                   QStringLiteral("PRICE"), QStringLiteral("DESCRIPTION")});
    document.AddSpreadsheetRow({QStringLiteral("2"), QStringLiteral("90010-25"),
                                QStringLiteral("\u00a312.00"), QStringLiteral("Elbow 25mm")});
    return document;
}

} // namespace

TEST(ReportDocumentTest, RichTextHasAFixedFontAColourTableAndStyledLines)
{
    const QByteArray rtf = RtfWriter::Write(SmallReport(), QStringLiteral("Caf\u00e9"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"
                               "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n"
                               "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
                               "{\\info{\\title Caf\\'e9}}\r\n"));
    EXPECT_TRUE(rtf.contains("\\viewkind4\\pard\\plain\\f0\\fs18\\cf1\r\n"
                             "Project    : Caf\\'e9 \\{east\\} \\\\ hall\\par\r\n"
                             "\\par\r\n"
                             "    2 off   90010-25      \\'a312.00   Elbow 25mm\\par\r\n"
                             "{\\cf2\\i Parts list created with ...}\\par\r\n"
                             "}\r\n"));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
    // Seven-bit text throughout.
    for (const char byte : rtf)
        ASSERT_LT(static_cast<unsigned char>(byte), 0x80);
}

TEST(ReportDocumentTest, RichTextEscapesEveryCharacter)
{
    EXPECT_EQ(RtfWriter::Escape(QStringLiteral("a\tb")), QByteArray("a\\tab b"));
    EXPECT_EQ(RtfWriter::Escape(QStringLiteral("\u20ac5")), QByteArray("\\'805"));
    // Outside Windows-1252: a Unicode escape with "?" for older readers;
    // beyond the Basic Multilingual Plane each half of the pair.
    EXPECT_EQ(RtfWriter::Escape(QStringLiteral("\u03a9")), QByteArray("\\u937?"));
    EXPECT_EQ(RtfWriter::Escape(QStringLiteral("\U0001F600")), QByteArray("\\u-10179?\\u-8704?"));
    EXPECT_EQ(RtfWriter::Escape(QStringLiteral("x\ry\u0001")), QByteArray("x\\line y"));
}

TEST(ReportDocumentTest, PlainAndSpreadsheetText)
{
    const ReportDocument document = SmallReport();
    EXPECT_EQ(ReportPlainText(document, QStringLiteral("\n"), true),
              QStringLiteral("Project    : Caf\u00e9 {east} \\ hall\n\n"
                             "    2 off   90010-25      \u00a312.00   Elbow 25mm\n"
                             "Parts list created with ...\n"));
    EXPECT_EQ(
        ReportSpreadsheetText(document),
        QStringLiteral(
            "QUANTITY\tPART-NUMBER\tPRICE\tDESCRIPTION\n2\t90010-25\t\u00a312.00\tElbow 25mm\n"));
    EXPECT_EQ(ReportSpreadsheetText(ReportDocument()), QString());
}

TEST(OrderEmailTest, BodyIsThePlainTextWithCrLf)
{
    const ReportDocument document = SmallReport();
    EXPECT_EQ(OrderBody(document),
              QStringLiteral("Project    : Caf\u00e9 {east} \\ hall\r\n\r\n"
                             "    2 off   90010-25      \u00a312.00   Elbow 25mm\r\n"
                             "Parts list created with ..."));
}

TEST(OrderEmailTest, MailtoLinkPercentEncodesWhatAUrlReserves)
{
    EXPECT_EQ(
        MailtoLink(QStringLiteral("orders+uk@zavoza.example"), QStringLiteral("PARTS ORDER"),
                   QStringLiteral("A&B #2 50% +1 =x ?y \"q\"\t\u00a3\r\nend")),
        QStringLiteral("mailto:orders%2Buk@zavoza.example?subject=PARTS%20ORDER&body="
                       "A%26B%20%232%2050%25%20%2B1%20%3Dx%20%3Fy%20%22q%22%09%C2%A3%0D%0Aend"));
    EXPECT_EQ(MailtoLink(QStringLiteral("a@b.example"), QString(), QStringLiteral("-._~")),
              QStringLiteral("mailto:a@b.example?subject=&body=-._~"));
}

TEST(OrderEmailTest, OrderGoesToTheOptionsAddressElseTheCatalogues)
{
    ScriptedUi ui;
    auto database = DatabaseFromText(
        QStringLiteral("[CATALOGUE]\r\nSUP=MAIL\r\nEML=orders@catalogue.example\r\n"));
    EXPECT_EQ(OrderRecipient(QString(), *database), QStringLiteral("orders@catalogue.example"));
    EXPECT_EQ(OrderRecipient(QStringLiteral("buyer@site.example"), *database),
              QStringLiteral("buyer@site.example"));

    const ReportDocument document = SmallReport();
    QString opened;
    const auto open = [&opened](const QString& link) {
        opened = link;
        return true;
    };
    EXPECT_FALSE(SendOrder(false, QString(), *database, document, open));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral(
                              "No INTERNET connection was detected when application started.\r\n"
                              "EMail cannot be sent, either save, print or copy the parts list.")));

    EXPECT_TRUE(SendOrder(true, QString(), *database, document, open));
    EXPECT_TRUE(opened.startsWith(
        QStringLiteral("mailto:orders@catalogue.example?subject=PARTS%20ORDER&body=Project%20")));
    EXPECT_EQ(opened, MailtoLink(QStringLiteral("orders@catalogue.example"),
                                 QStringLiteral("PARTS ORDER"), OrderBody(document)));

    ui.messages.clear();
    EXPECT_FALSE(
        SendOrder(true, QString(), *database, document, [](const QString&) { return false; }));
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("Error trying to send EMail : 0")));
}
