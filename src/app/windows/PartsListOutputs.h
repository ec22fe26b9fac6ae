#pragma once

// What the parts list window does with a finished report: the rich text the
// view, the printer and the clipboard share, printing, "Save List", the
// pop-up's Copy, Copy For Spreadsheet and View Catalogue, and "EMail List".
// The window owns one and calls it; each command shows its own messages.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTextDocument;
class QWidget;

namespace pipeloop
{

class AppDialogs;
namespace catalogue
{
class ReportDocument;
class TPartsDatabase;
} // namespace catalogue

// Opening a document at a place: "page=N", "search=TEXT" or a named
// destination (the vendor catalogue at a part's picture); false when it
// cannot be opened, having told the user why. The desktop program opens it in
// the user's PDF viewer (PdfViewer.h); tests record the request.
using DocumentOpener = std::function<bool(const QString& path, const QString& destination)>;
// Opening the mail client on a "mailto:" link; false when the system refuses.
using MailOpener = std::function<bool(const QString& link)>;

// The desktop's own: the user's PDF viewer (PdfDocumentOpener) and mail
// client.
DocumentOpener SystemDocumentOpener();
MailOpener SystemMailOpener();

// The vendor's catalogue document appDir + "vurazizo2014.pdf" opened at the
// destination; a missing document is reported, and the opener reports its own
// failures.
void OpenCatalogueDocument(const DocumentOpener& openDocument, const QString& appDir,
                           const QString& destination);

// The report as the view shows it: fixed-width, one paragraph a line, each
// line's colour and italics (the footer red italics).
std::unique_ptr<QTextDocument> ReportTextDocument(const catalogue::ReportDocument& report);

class PartsListOutputs : public QObject
{
    Q_OBJECT
public:
    PartsListOutputs(QWidget* window, AppDialogs& dialogs, DocumentOpener openDocument,
                     MailOpener openMail);

    // "Print List": the print dialog, then the report as a document titled
    // title, portrait.
    void print(const catalogue::ReportDocument& report, const QString& title);
    // "Save List": the save dialog ("Save Parts List", rtf), then the rich
    // text written completely or not at all.
    bool save(const catalogue::ReportDocument& report, const QString& title);
    // Pop-up "Copy" (rich and plain text) and "Copy For Spreadsheet".
    void copy(const catalogue::ReportDocument& report, const QString& title);
    void copyForSpreadsheet(const catalogue::ReportDocument& report);
    // Pop-up "View Catalogue": the catalogue document appDir +
    // "vurazizo2014.pdf" opened at the picture name of the selected text.
    void viewCatalogue(const QString& selectedText, const QString& appDir);
    // "EMail List": SendOrder through the mail opener; an order too long for
    // a mail link goes on the clipboard with a short body asking to paste it.
    bool email(const catalogue::ReportDocument& report, const catalogue::TPartsDatabase& database,
               bool internetDetected, const QString& optionsAddress);

private:
    QWidget* m_window;
    AppDialogs& m_dialogs;
    DocumentOpener m_openDocument;
    MailOpener m_openMail;
};

} // namespace pipeloop
