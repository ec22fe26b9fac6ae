// The lesson recorder: plays each tutorial lesson on the real main window,
// offscreen, and writes lesson<n>.wmv and lesson<n>.txt into a folder.
//
//   lesson-recorder --out DIR --samples DIR [--app-dir DIR] [--lesson N]...
//                   [--ffmpeg PATH] [--quality Q]
//
// --app-dir is where the catalogue beside the program is (the output folder
// unless given); every --lesson adds one lesson, all six without any.
// Exit status 0 when every lesson was written, 2 when one could not be,
// 64 for bad arguments. Time runs by frames, not by the clock: the recorder
// goes as fast as the machine draws.

#include "AppDialogs.h"
#include "AtomicSave.h"
#include "DesignView.h"
#include "Lessons.h"
#include "MainForm.h"
#include "SettingsStore.h"
#include "UpdateCheck.h"
#include "Video.h"
#include "WidgetUiServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>

using namespace pipeloop;
using namespace pipeloop::lessons;

namespace
{

constexpr QSize Desktop(1024, 768);
// Three minutes at most, as a lesson should be.
constexpr int MaxFrames = 180 * FramesPerSecond;

struct Arguments {
    QString out;
    QString samples;
    QString appDir;
    QString ffmpeg = QStringLiteral("ffmpeg");
    int quality = 16;
    std::vector<int> lessons;
};

std::optional<Arguments> ReadArguments(const QStringList& arguments)
{
    Arguments result;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (i + 1 >= arguments.size())
            return std::nullopt;
        const QString value = arguments[++i];
        bool number = true;
        if (name == QStringLiteral("--out"))
            result.out = value;
        else if (name == QStringLiteral("--samples"))
            result.samples = value;
        else if (name == QStringLiteral("--app-dir"))
            result.appDir = value;
        else if (name == QStringLiteral("--ffmpeg"))
            result.ffmpeg = value;
        else if (name == QStringLiteral("--quality"))
            result.quality = value.toInt(&number);
        else if (name == QStringLiteral("--lesson"))
            result.lessons.push_back(value.toInt(&number));
        else
            return std::nullopt;
        if (!number)
            return std::nullopt;
    }
    for (int lesson : result.lessons)
        if (lesson < 1 || lesson > LessonCount)
            return std::nullopt;
    if (result.out.isEmpty() || result.samples.isEmpty() || result.quality < 1 ||
        result.quality > 31)
        return std::nullopt;
    if (result.appDir.isEmpty())
        result.appDir = result.out;
    // Each lesson runs in a folder of its own: the folders named are kept as
    // they are from here.
    for (QString* folder : {&result.out, &result.samples, &result.appDir})
        *folder = QFileInfo(*folder).absoluteFilePath();
    if (result.lessons.empty())
        for (int lesson = 1; lesson <= LessonCount; ++lesson)
            result.lessons.push_back(lesson);
    return result;
}

void Say(const char* kind, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", kind, qPrintable(text));
}

// One lesson on a main window of its own, over settings of its own and a
// copy of its sample, so that nothing the lesson does stays behind.
bool RecordLesson(const Arguments& arguments, int number)
{
    const Lesson lesson = MakeLesson(number, arguments.samples);
    QTemporaryDir scratch;
    // File dialogs open in the lesson's own folder.
    QDir::setCurrent(scratch.path());
    NativeSettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    WidgetAppDialogs dialogs(settings);
    QString project;
    if (!lesson.sample.isEmpty()) {
        project = scratch.filePath(QFileInfo(lesson.sample).fileName());
        if (!QFile::copy(lesson.sample, project)) {
            Say("error", QStringLiteral("lesson %1: the sample %2 could not be read")
                             .arg(number)
                             .arg(lesson.sample));
            return false;
        }
    }

    const QString base = QDir(arguments.out).filePath(QStringLiteral("lesson%1").arg(number));
    TMainForm form(settings, dialogs, QDir(arguments.appDir).absolutePath() + QLatin1Char('/'));
    form.setCommandLineProject(project);
    form.updateCheck().setHost(QString());
    form.show();
    form.FirstActivation(project);
    QApplication::setActiveWindow(&form);
    QCoreApplication::processEvents();

    FfmpegVideo video(arguments.ffmpeg, base + QStringLiteral(".wmv"), Desktop, arguments.quality);
    Stage stage(form, Desktop, video);
    QCoreApplication::processEvents();
    stage.placeMainWindow();
    if (form.document().design())
        form.view().zoomToFit();
    if (!video.start()) {
        Say("error", video.error());
        return false;
    }
    const std::optional<Recording> recording = stage.record(lesson.steps, MaxFrames);
    if (!recording) {
        // What the desktop showed when the lesson went wrong, to see why.
        const QString picture = base + QStringLiteral("-failed.png");
        stage.failedFrame().save(picture);
        Say("error",
            QStringLiteral("lesson %1: %2 (see %3)").arg(number).arg(stage.error(), picture));
        return false;
    }
    if (!video.finish()) {
        Say("error", video.error());
        return false;
    }
    const QString captions = base + QStringLiteral(".txt");
    if (const auto failure = SaveAtomically(
            captions, CaptionFileText(lesson.title, lesson.steps, recording->captionFrames))) {
        Say("error", *failure);
        return false;
    }
    Say("info", QStringLiteral("lesson%1: %2 frames (%3 s), %4 kB")
                    .arg(number)
                    .arg(recording->frames)
                    .arg(double(recording->frames) / FramesPerSecond, 0, 'f', 1)
                    .arg(QFileInfo(base + QStringLiteral(".wmv")).size() / 1024));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // The windows are drawn offscreen, on a screen the size of the video, so
    // that windows, dialogs and menus are placed as on that desktop.
    QTemporaryFile screen;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && screen.open()) {
        screen.write(QStringLiteral("{\"screens\": [{\"name\": \"lessons\", \"x\": 0, \"y\": 0, "
                                    "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                    "\"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                         .arg(Desktop.width())
                         .arg(Desktop.height())
                         .toUtf8());
        screen.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PIPELOOP"));
    const std::optional<Arguments> arguments = ReadArguments(QApplication::arguments());
    if (!arguments) {
        Say("error", QStringLiteral("usage: lesson-recorder --out DIR --samples DIR [--app-dir "
                                    "DIR] [--lesson N]... [--ffmpeg PATH] [--quality 1-31]"));
        return 64;
    }
    // Without the catalogue the program would stop at its first message.
    const QString catalogue = QDir(arguments->appDir).filePath(QStringLiteral("zavoza.pldbcab"));
    if (!QFileInfo::exists(catalogue)) {
        Say("error", QStringLiteral("the catalogue %1 is missing").arg(catalogue));
        return 2;
    }
    WidgetUiServices ui;
    ScopedUiServices uiScope(ui);
    QElapsedTimer clock;
    clock.start();
    for (int number : arguments->lessons)
        if (!RecordLesson(*arguments, number))
            return 2;
    Say("info", QStringLiteral("recorded in %1 s").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    return 0;
}
