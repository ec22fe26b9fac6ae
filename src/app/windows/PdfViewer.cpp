#include "PdfViewer.h"

#include "UiServices.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <array>

namespace pipeloop
{

namespace
{

// A viewer's options for the three places. An option ending in "=" takes
// its value in the same argument; an empty one means the viewer cannot be
// sent there, and the document opens at its start.
struct KnownViewer {
    const char* handlerKey; // found in the desktop's handler name, any case
    const char* program;
    const char* pageOption;
    const char* searchOption;
    const char* namedDestinationOption;
};

constexpr std::array<KnownViewer, 3> KnownViewers{{
    {"evince", "evince", "--page-label=", "--find=", "--named-dest="},
    {"okular", "okular", "-p", "--find", ""},
    {"zathura", "zathura", "--page=", "--find=", ""},
}};

const char* OptionFor(const KnownViewer& viewer, PdfPlace::Form form)
{
    switch (form) {
    case PdfPlace::Form::Page:
        return viewer.pageOption;
    case PdfPlace::Form::Search:
        return viewer.searchOption;
    case PdfPlace::Form::NamedDestination:
        return viewer.namedDestinationOption;
    }
    return "";
}

QStringList PlaceArguments(const QString& option, const QString& value)
{
    if (option.isEmpty() || value.isEmpty())
        return {};
    if (option.endsWith(u'='))
        return {option + value};
    return {option, value};
}

std::optional<QString> XdgPdfHandler()
{
#ifdef Q_OS_LINUX
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/pdf")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
#else
    return std::nullopt;
#endif
}

void ReportMissingViewer()
{
    Ui().inform(QStringLiteral("Cannot find a PDF viewer.\r\nInstall one and make it the "
                               "desktop's program for PDF files."));
}

void ReportStartFailure(const QString& program, const QStringList& arguments)
{
    Ui().error(QStringLiteral("Error running application :\r\n") + program +
               QStringLiteral("\r\n") + arguments.join(u' '));
}

} // namespace

PdfPlace ParsePdfPlace(const QString& destination)
{
    const auto valueAfter = [&destination](const char* prefix) {
        return destination.mid(int(qstrlen(prefix)));
    };
    if (destination.startsWith(QLatin1String("page=")))
        return {PdfPlace::Form::Page, valueAfter("page=")};
    if (destination.startsWith(QLatin1String("search=")))
        return {PdfPlace::Form::Search, valueAfter("search=")};
    if (destination.startsWith(QLatin1String("nameddest=")))
        return {PdfPlace::Form::NamedDestination, valueAfter("nameddest=")};
    return {PdfPlace::Form::NamedDestination, destination};
}

std::optional<PdfLaunch> KnownViewerLaunch(const QString& handler, const QString& path,
                                           const PdfPlace& place)
{
    for (const KnownViewer& viewer : KnownViewers) {
        if (!handler.contains(QLatin1String(viewer.handlerKey), Qt::CaseInsensitive))
            continue;
        QStringList arguments =
            PlaceArguments(QString::fromLatin1(OptionFor(viewer, place.form)), place.value);
        // After "--" a file name starting with "-" is still a file name.
        arguments << QStringLiteral("--") << path;
        return PdfLaunch{QString::fromLatin1(viewer.program), arguments};
    }
    return std::nullopt;
}

QUrl PdfUrlAt(const QString& path, const PdfPlace& place)
{
    QUrl url = QUrl::fromLocalFile(path);
    if (place.value.isEmpty())
        return url;
    static const char* const Keys[] = {"page=", "search=", "nameddest="};
    url.setFragment(QLatin1String(Keys[int(place.form)]) + place.value);
    return url;
}

PdfViewerSystem DesktopPdfViewerSystem()
{
    return {
        XdgPdfHandler,
        [](const QString& program) { return QStandardPaths::findExecutable(program); },
        [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        },
        [](const QUrl& url) { return QDesktopServices::openUrl(url); },
    };
}

DocumentOpener PdfDocumentOpener(PdfViewerSystem system)
{
    return [system = std::move(system)](const QString& path, const QString& destination) {
        const PdfPlace place = ParsePdfPlace(destination);
        const std::optional<QString> handler = system.pdfHandler();
        if (handler && handler->isEmpty()) {
            ReportMissingViewer();
            return false;
        }
        if (handler) {
            if (const std::optional<PdfLaunch> launch = KnownViewerLaunch(*handler, path, place)) {
                const QString program = system.findProgram(launch->program);
                if (!program.isEmpty()) {
                    if (system.start(program, launch->arguments))
                        return true;
                    ReportStartFailure(program, launch->arguments);
                    return false;
                }
            }
        }
        const QUrl url = PdfUrlAt(path, place);
        if (system.openUrl(url))
            return true;
        ReportStartFailure(handler.value_or(QStringLiteral("the desktop")),
                           {url.toString(QUrl::FullyEncoded)});
        return false;
    };
}

} // namespace pipeloop
