// What the parts list window does with a finished report: the view's text,
// the saved file, the clipboard, the catalogue, the order e-mail and the
// printed PDF, as the user and the files see them.

#include "PartsListOutputs.h"

#include "GuiTestSupport.h"
#include "OrderEmail.h"
#include "ReportDocument.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;

namespace
{

// A report as the generator lays it out: header, part lines, footer.
ReportDocument SampleReport(int partLines = 2)
{
    ReportDocument report;
    report.AddLine(QStringLiteral("Project    : Workshop & yard"));
    report.AddLine(QString());
    report.SetSpreadsheetHeader(
        {QStringLiteral("QUANTITY"), QStringLiteral("PART-NUMBER"), QStringLiteral("DESCRIPTION")});
    for (int line = 1; line <= partLines; ++line) {
        const QString number = QStringLiteral("9%1-25").arg(line, 4, 10, QLatin1Char('0'));
        report.AddLine(QStringLiteral("%1 off   ").arg(line, 5) + number +
                       QStringLiteral("   Straight connector 25mm"));
        report.AddSpreadsheetRow(
            {QString::number(line), number, QStringLiteral("Straight connector 25mm")});
    }
    report.AddLine(QString());
    report.AddStyledLine(QStringLiteral("Parts list created with ..."), ReportRed, true);
    return report;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PartsListOutputsTest : public ::testing::Test
{
protected:
    PartsListOutputsTest()
        : outputs(
              &window, dialogs,
              [this](const QString& path, const QString& destination) {
                  opened.append(path + u'#' + destination);
                  return true;
              },
              [this](const QString& link) {
                  links.append(link);
                  return true;
              })
    {
    }

    ScriptedUi ui;
    ScriptedDialogs dialogs;
    QWidget window;
    QStringList opened;
    QStringList links;
    PartsListOutputs outputs;
    QTemporaryDir dir;
    const QString title = QStringLiteral("Workshop & yard");
};

} // namespace

TEST_F(PartsListOutputsTest, ViewShowsEveryLineInFixedWidthWithTheFooterInRedItalics)
{
    const ReportDocument report = SampleReport();
    const auto document = ReportTextDocument(report);
    EXPECT_EQ(document->toPlainText(), ReportPlainText(report, QStringLiteral("\n"), false));
    EXPECT_EQ(document->blockCount(), int(report.Lines().size()));
    EXPECT_TRUE(document->defaultFont().fixedPitch());
    EXPECT_EQ(document->defaultTextOption().wrapMode(), QTextOption::NoWrap);

    const QTextCharFormat part = document->findBlockByNumber(2).begin().fragment().charFormat();
    EXPECT_FALSE(part.fontItalic());
    EXPECT_EQ(part.foreground().color(), QColor(Qt::black));
    const QTextCharFormat footer = document->lastBlock().begin().fragment().charFormat();
    EXPECT_TRUE(footer.fontItalic());
    EXPECT_EQ(footer.foreground().color(), QColor(255, 0, 0));
}

TEST_F(PartsListOutputsTest, SaveWritesTheRichTextWholeOrKeepsTheOldFile)
{
    const ReportDocument report = SampleReport();
    const QString path = dir.filePath(QStringLiteral("list.rtf"));
    dialogs.saveAnswers = {path};
    EXPECT_TRUE(outputs.save(report, title));
    EXPECT_EQ(dialogs.titles, QStringList(QStringLiteral("Save Parts List")));
    EXPECT_EQ(ReadBytes(path), RtfWriter::Write(report, title));
    EXPECT_FALSE(outputs.save(report, title)); // Cancel
    EXPECT_TRUE(ui.messages.empty());
    const QString nowhere = dir.filePath(QStringLiteral("no such folder/list.rtf"));
    dialogs.saveAnswers = {nowhere};
    EXPECT_FALSE(outputs.save(report, title));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.section(QStringLiteral("\r\n"), 0, 0),
              QStringLiteral("Cannot create file : ") + nowhere);
    ui.messages.clear();

    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString folder = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    const QString old = folder + QStringLiteral("/list.rtf");
    {
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old list");
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    dialogs.saveAnswers = {old};
    EXPECT_FALSE(outputs.save(report, title));
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadBytes(old), QByteArray("old list"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Error);
    EXPECT_TRUE(ui.messages[0].text.contains(old)) << ui.messages[0].text.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList(QStringLiteral("list.rtf")));
}

TEST_F(PartsListOutputsTest, CopiesPutTheListOnTheClipboard)
{
    const ReportDocument report = SampleReport();
    outputs.copy(report, title);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")), RtfWriter::Write(report, title));
    EXPECT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->html().contains(QStringLiteral("90002-25")));
    EXPECT_EQ(data->text(), ReportPlainText(report, QStringLiteral("\n"), true));

    outputs.copyForSpreadsheet(report);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("QUANTITY\tPART-NUMBER\tDESCRIPTION\n"
                             "1\t90001-25\tStraight connector 25mm\n"
                             "2\t90002-25\tStraight connector 25mm\n"));
    EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("Parts list copied to clipboard."),
                                       QStringLiteral("Excel export copied to clipboard.")}));
}

TEST_F(PartsListOutputsTest, ViewCatalogueOpensTheDocumentAtThePicturesName)
{
    const QString appDir = dir.path() + u'/';
    outputs.viewCatalogue(QStringLiteral("   "), appDir);
    outputs.viewCatalogue(QStringLiteral("90642-110-AB"), appDir); // no catalogue yet
    const QString catalogue = appDir + QStringLiteral("vurazizo2014.pdf");
    QFile(catalogue).open(QIODevice::WriteOnly);
    outputs.viewCatalogue(QStringLiteral(" 90642-110-AB \n"), appDir);
    outputs.viewCatalogue(QStringLiteral("90020/25"), appDir);

    EXPECT_EQ(opened, QStringList({catalogue + QStringLiteral("#90642-110"),
                                   catalogue + QStringLiteral("#90020")}));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("No part select, highlight the part text before using menu."));
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("Cannot find PDF file:\r\n") + catalogue);
}

TEST_F(PartsListOutputsTest, LongOrderGoesByTheClipboardNeverCutShort)
{
    const QString address = QStringLiteral("orders@example.com");
    const ReportDocument shortOrder = SampleReport(2);
    EXPECT_TRUE(outputs.email(shortOrder, DemoCatalogue(), true, address));
    EXPECT_EQ(links, QStringList(MailtoLink(address, QStringLiteral("PARTS ORDER"),
                                            OrderBody(shortOrder))));
    EXPECT_TRUE(ui.messages.empty());

    QGuiApplication::clipboard()->clear();
    const ReportDocument longOrder = SampleReport(60);
    ASSERT_GT(MailtoLink(address, QStringLiteral("PARTS ORDER"), OrderBody(longOrder)).size(),
              2000);
    EXPECT_TRUE(outputs.email(longOrder, DemoCatalogue(), true, address));
    ASSERT_EQ(links.size(), 2);
    EXPECT_LE(links[1].size(), 2000);
    EXPECT_TRUE(links[1].startsWith(QStringLiteral("mailto:") + address));
    EXPECT_TRUE(links[1].contains(QStringLiteral("paste"))) << links[1].toStdString();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->text(), ReportPlainText(longOrder, QStringLiteral("\n"), true));
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/rtf")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Information);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("clipboard")));

    // Without the internet nothing is opened, however long the order.
    EXPECT_FALSE(outputs.email(longOrder, DemoCatalogue(), false, address));
    EXPECT_EQ(links.size(), 2);
    EXPECT_TRUE(ui.messages.back().text.startsWith(QStringLiteral("No INTERNET connection")));
}

TEST_F(PartsListOutputsTest, PrintToPdfWritesTheList)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils, scripts/setup) is missing";
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    dialogs.pdfAnswers = {path};
    outputs.print(SampleReport(), title);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(QFileInfo::exists(path));

    QProcess reader;
    reader.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForFinished(30000));
    // The layout keeps the columns, not the margin's width.
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    QStringList lines;
    for (const QString& line : text.split(u'\n'))
        lines.append(line.trimmed());
    EXPECT_TRUE(lines.contains(QStringLiteral("2 off   90002-25   Straight connector 25mm")))
        << text.toStdString();
    QProcess info;
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {path});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString details = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(details.contains(QRegularExpression(QStringLiteral("^Title: +Workshop & yard$"),
                                                    QRegularExpression::MultilineOption)))
        << details.toStdString();

    // Cancel in the print dialog prints nothing.
    QFile::remove(path);
    outputs.print(SampleReport(), title);
    EXPECT_FALSE(QFileInfo::exists(path));
}
