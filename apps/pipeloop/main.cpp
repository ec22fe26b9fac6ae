// The desktop program: PIPELOOP's main window over the user's settings, the
// program's own message box and the language file in the program's data
// folder (beside the program in a build tree, PREFIX/share/pipeloop installed).
//
//   pipeloop [PROJECT] [--settings FILE.ini] [--screenshot FILE.png] [--update-host=HOST]
//   pipeloop --version
//
// --settings keeps the settings in an INI file instead of the user's own
// (portable installs, tests); --screenshot saves the main window once it has
// painted the start state (and the project), reports the start-up time on
// standard error and quits. --update-host names where the update check looks
// for the release page (the "UpdateHost" setting, else the maker's host);
// --update-host= with nothing checks nothing (tests). --version prints the
// program's version and ends before any window (or display) is needed.
// Recovery copies are kept in a folder beside the settings (their INI
// file's, with --settings).

#include "AppDialogs.h"
#include "Autosave.h"
#include "DesignView.h"
#include "DrawingArea.h"
#include "HelpViewer.h"
#include "LanguageFile.h"
#include "MainForm.h"
#include "ProgramData.h"
#include "Recovery.h"
#include "ReleasePageFetch.h"
#include "SettingsStore.h"
#include "UpdateCheck.h"
#include "Version.h"
#include "WidgetUiServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace
{

struct Arguments {
    QString project;
    QString settingsFile;
    QString screenshot;
    std::optional<QString> updateHost;
};

Arguments ReadArguments(const QStringList& arguments)
{
    Arguments result;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--settings") && i + 1 < arguments.size())
            result.settingsFile = arguments[++i];
        else if (argument == QStringLiteral("--screenshot") && i + 1 < arguments.size())
            result.screenshot = arguments[++i];
        else if (argument.startsWith(QStringLiteral("--update-host=")))
            result.updateHost = argument.section(QLatin1Char('='), 1);
        else if (result.project.isEmpty() && !argument.startsWith(QStringLiteral("--")))
            result.project = argument;
    }
    return result;
}

// Read before the application object exists: that one needs a display.
bool AsksForVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0)
            return true;
    }
    return false;
}

// The language file: the program's own name with ".ltf", in its data folder.
QString LanguageFile(const QString& dataFolder)
{
    const QString programName = QFileInfo(QApplication::applicationFilePath()).fileName();
    return pipeloop::LanguageFilePathFor(QDir(dataFolder).filePath(programName));
}

// Saves the window once the first activation has run and the drawing has
// painted, then ends the program.
void ScreenshotWhenPainted(pipeloop::TMainForm& form, const QString& path,
                           const QElapsedTimer& clock)
{
    auto* poll = new QTimer(&form);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, &form, [&form, path, &clock, poll] {
        if (!form.firstActivationDone())
            return;
        poll->stop();
        form.view().drawingArea()->repaint();
        const qint64 painted = clock.elapsed();
        const bool saved = form.grab().save(path);
        std::fprintf(stderr, "pipeloop: painted after %lld ms%s\n", static_cast<long long>(painted),
                     saved ? "" : " (screenshot not saved)");
        // Leaving without the save question: nothing was changed.
        QApplication::exit(saved ? 0 : 2);
    });
    poll->start();
}

} // namespace

int main(int argc, char** argv)
{
    if (AsksForVersion(argc, argv)) {
        std::printf("%s\n", qPrintable(pipeloop::ProgramVersion()));
        return 0;
    }
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PIPELOOP"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PIPELOOP_APP_ID));
    const Arguments arguments = ReadArguments(QApplication::arguments());
    const QString dataFolder = pipeloop::ProgramDataFolder();

    // The language file is read before any window exists.
    const QString languageFile = LanguageFile(dataFolder);
    if (QFileInfo::exists(languageFile))
        pipeloop::TLanguage::Instance().Load(languageFile);

    pipeloop::WidgetUiServices ui;
    pipeloop::ScopedUiServices uiScope(ui);
    std::unique_ptr<pipeloop::SettingsStore> settings;
    if (arguments.settingsFile.isEmpty())
        settings = std::make_unique<pipeloop::NativeSettingsStore>();
    else
        settings = std::make_unique<pipeloop::NativeSettingsStore>(arguments.settingsFile);
    pipeloop::WidgetAppDialogs dialogs(*settings);
    // Installed before the main window, whose help items it enables.
    pipeloop::ScopedHelpViewer help(
        pipeloop::HelpCollectionPathFor(dataFolder),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));

    pipeloop::TMainForm form(*settings, dialogs, dataFolder);
    form.setCommandLineProject(arguments.project);
    // Recovery copies beside the settings; a screenshot run changes nothing
    // and asks nothing, so it keeps none and offers none.
    if (arguments.screenshot.isEmpty())
        form.autosave().setFolder(pipeloop::RecoveryFolderFor(*settings));
    // A screenshot run never reaches beyond the machine.
    form.updateCheck().setHost(
        !arguments.screenshot.isEmpty()
            ? QString()
            : arguments.updateHost.value_or(settings->RegReadText(QStringLiteral("UpdateHost"),
                                                                  pipeloop::DefaultUpdateHost())));
    form.show();
    if (!arguments.screenshot.isEmpty())
        ScreenshotWhenPainted(form, arguments.screenshot, clock);
    return app.exec();
}
