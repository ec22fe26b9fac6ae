#include "PartsListOutputs.h"

#include "AppDialogs.h"
#include "AtomicSave.h"
#include "OrderEmail.h"
#include "PartObject.h"
#include "PdfViewer.h"
#include "ReportDocument.h"
#include "UiServices.h"

#include <QClipboard>
#include <QColor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

namespace pipeloop
{

using catalogue::ReportDocument;
using catalogue::ReportLine;

namespace
{

// Mail clients (and the shells that hand links to them) cut longer links.
constexpr qsizetype LongestMailLink = 2000;

const QString CatalogueDocumentName = QStringLiteral("vurazizo2014.pdf");

QColor ColourOf(catalogue::ReportColour colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QFont ReportFont()
{
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

// The report's rich text in every form a pasting program may ask for.
std::unique_ptr<QMimeData> ReportMimeData(const ReportDocument& report, const QString& title)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/rtf"), catalogue::RtfWriter::Write(report, title));
    data->setHtml(ReportTextDocument(report)->toHtml());
    data->setText(catalogue::ReportPlainText(report, QStringLiteral("\n"), true));
    return data;
}

void PutOnClipboard(const ReportDocument& report, const QString& title)
{
    QGuiApplication::clipboard()->setMimeData(ReportMimeData(report, title).release());
}

} // namespace

std::unique_ptr<QTextDocument> ReportTextDocument(const ReportDocument& report)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(ReportFont());
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    document->setDefaultTextOption(option);

    QTextCursor cursor(document.get());
    bool first = true;
    for (const ReportLine& line : report.Lines()) {
        QTextCharFormat format;
        format.setForeground(ColourOf(line.colour));
        format.setFontItalic(line.italic);
        if (!first)
            cursor.insertBlock();
        first = false;
        cursor.setBlockCharFormat(format);
        cursor.insertText(line.text, format);
    }
    return document;
}

PartsListOutputs::PartsListOutputs(QWidget* window, AppDialogs& dialogs,
                                   DocumentOpener openDocument, MailOpener openMail)
    : QObject(window), m_window(window), m_dialogs(dialogs),
      m_openDocument(std::move(openDocument)), m_openMail(std::move(openMail))
{
}

void PartsListOutputs::print(const ReportDocument& report, const QString& title)
{
    const std::optional<PrintDestination> destination = m_dialogs.choosePrintDestination(
        m_window, {QStringLiteral("Print Parts List"),
                   QStringLiteral("Pages: the parts list"),
                   {},
                   SuggestedPdfPath({}, QStringLiteral("Parts List"))});
    if (!destination)
        return;
    const std::unique_ptr<QTextDocument> document = ReportTextDocument(report);
    document->setMetaInformation(QTextDocument::DocumentTitle, title);
    PdfPage page;
    page.unprintableMm = 20;
    PrintOn(*destination, title, page, false, [&document](QPagedPaintDevice& device) {
        document->print(&device);
        return true;
    });
}

bool PartsListOutputs::save(const ReportDocument& report, const QString& title)
{
    const QString path = m_dialogs.saveFileName(
        m_window, QStringLiteral("Save Parts List"),
        QStringLiteral("Rich Text Files (*.rtf);;All Files (*)"), QStringLiteral("rtf"), QString());
    if (path.isEmpty())
        return false;
    if (const auto failure = SaveAtomically(path, catalogue::RtfWriter::Write(report, title))) {
        Ui().error(*failure);
        return false;
    }
    return true;
}

void PartsListOutputs::copy(const ReportDocument& report, const QString& title)
{
    PutOnClipboard(report, title);
    Ui().inform(QStringLiteral("Parts list copied to clipboard."));
}

void PartsListOutputs::copyForSpreadsheet(const ReportDocument& report)
{
    QGuiApplication::clipboard()->setText(catalogue::ReportSpreadsheetText(report));
    Ui().inform(QStringLiteral("Excel export copied to clipboard."));
}

void PartsListOutputs::viewCatalogue(const QString& selectedText, const QString& appDir)
{
    // A selection of blanks or punctuation names no picture either.
    const QString destination = catalogue::ImageNameOf(selectedText.trimmed());
    if (destination.isEmpty()) {
        Ui().inform(QStringLiteral("No part select, highlight the part text before using menu."));
        return;
    }
    OpenCatalogueDocument(m_openDocument, appDir, destination);
}

bool PartsListOutputs::email(const ReportDocument& report,
                             const catalogue::TPartsDatabase& database, bool internetDetected,
                             const QString& optionsAddress)
{
    const QString link = catalogue::MailtoLink(catalogue::OrderRecipient(optionsAddress, database),
                                               QString::fromLatin1(catalogue::OrderSubject),
                                               catalogue::OrderBody(report));
    if (!internetDetected || link.size() <= LongestMailLink)
        return catalogue::SendOrder(internetDetected, optionsAddress, database, report, m_openMail);

    // Too long for a mail link: the list goes by the clipboard, never cut short.
    PutOnClipboard(report, QString());
    ReportDocument note;
    note.AddLine(QStringLiteral("Please paste the parts list (on the clipboard) here."));
    if (!catalogue::SendOrder(true, optionsAddress, database, note, m_openMail))
        return false;
    Ui().inform(QStringLiteral("The parts list is too long to be put into the e-mail directly: "
                               "it has been copied to the clipboard.\r\nPaste it into the "
                               "e-mail's text before sending."));
    return true;
}

MailOpener SystemMailOpener()
{
    return [](const QString& link) { return QDesktopServices::openUrl(QUrl(link)); };
}

void OpenCatalogueDocument(const DocumentOpener& openDocument, const QString& appDir,
                           const QString& destination)
{
    const QString path = QDir(appDir).filePath(CatalogueDocumentName);
    if (!QFileInfo::exists(path)) {
        Ui().warn(QStringLiteral("Cannot find PDF file:\r\n") + QDir::toNativeSeparators(path));
        return;
    }
    // The opener says itself why a document could not be opened.
    if (openDocument)
        openDocument(path, destination);
}

DocumentOpener SystemDocumentOpener()
{
    return PdfDocumentOpener(DesktopPdfViewerSystem());
}

} // namespace pipeloop
