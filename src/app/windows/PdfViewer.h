#pragma once

// Opening a PDF at a place (a page, a search or a named destination) in the
// user's viewer. The viewer is always started with an argument list, never a
// command line put together from the file name, so no name can smuggle in
// words of its own.

#include "PartsListOutputs.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace pipeloop
{

// The place a document opens at, from a destination as the callers give it:
// "page=N", "search=TEXT", or else a named destination.
struct PdfPlace {
    enum class Form { Page, Search, NamedDestination };
    Form form = Form::NamedDestination;
    QString value;
};
PdfPlace ParsePdfPlace(const QString& destination);

// How a viewer is started: the program and its arguments.
struct PdfLaunch {
    QString program;
    QStringList arguments;
};

// The launch for a viewer this program knows how to point at a place (Evince,
// Okular, zathura), identified by the desktop's handler name such as
// "org.gnome.Evince.desktop"; nothing for another viewer.
std::optional<PdfLaunch> KnownViewerLaunch(const QString& handler, const QString& path,
                                           const PdfPlace& place);

// The document's file URL with the place as its fragment in the usual PDF
// open parameters ("#page=40", "#search=...", "#nameddest=...").
QUrl PdfUrlAt(const QString& path, const PdfPlace& place);

// What the opener asks of the system; tests give their own.
struct PdfViewerSystem {
    // The desktop's handler of PDF files: nothing when the system cannot
    // say, empty when no program handles them.
    std::function<std::optional<QString>()> pdfHandler;
    // The full path of a program on the search path, empty when missing.
    std::function<QString(const QString& program)> findProgram;
    // Starts a program on its own, not waited for; false when it cannot.
    std::function<bool(const QString& program, const QStringList& arguments)> start;
    // Hands a URL to the desktop; false when it refuses.
    std::function<bool(const QUrl& url)> openUrl;
};
PdfViewerSystem DesktopPdfViewerSystem();

// Opens the file at the destination: a known viewer with its arguments,
// otherwise the desktop's handler with the place in the URL. Reports
// "Cannot find a PDF viewer..." when there is none and "Error running
// application :" CR LF program CR LF arguments when it cannot start.
DocumentOpener PdfDocumentOpener(PdfViewerSystem system);

} // namespace pipeloop
