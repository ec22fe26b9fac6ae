#include "GuiTestSupport.h"

#include "DataExchangeForm.h"
#include "PictureExport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

class DataExchangeFormTest : public ::testing::Test
{
protected:
    DataExchangeFormTest()
    {
        main.start();
        main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf");
        main.form.view().setView(ViewKind::North);
        ui.messages.clear();
    }

    TDataExchangeForm& form() { return main.form.dataExchangeForm(); }
    // The window's commands run as its buttons would, for the current view.
    void click(const char* button)
    {
        QMetaObject::invokeMethod(
            &form(),
            [this, button] {
                form().button(QString::fromLatin1(button))->click();
                form().reject();
            },
            Qt::QueuedConnection);
        main.form.exchangeData();
    }
    static const QMimeData& clipboard() { return *QGuiApplication::clipboard()->mimeData(); }
    static QStringList formats() { return clipboard().formats(); }

    MainWindowFixture main;
    ScriptedUi& ui = main.ui;
    QTemporaryDir dir;
};

TEST_F(DataExchangeFormTest, UntickingTheEnhancedBoxSavesWmfUnderItsOwnFilterAndSuffix)
{
    ASSERT_TRUE(form().enhancedBox()->isChecked());
    const QString emf = dir.filePath("view.emf");
    const QString wmf = dir.filePath("view.wmf");
    main.dialogs.saveAnswers = {emf, wmf, QString()};
    click("btnSaveMetafile");
    form().enhancedBox()->setChecked(false);
    click("btnSaveMetafile");
    click("btnSaveBitmap"); // cancelled: nothing written, nothing said

    EXPECT_EQ(main.dialogs.saveSuffixes, (QStringList{"emf", "wmf", "bmp"}));
    EXPECT_TRUE(main.dialogs.saveFilters[0].startsWith("Enhanced Meta Files (*.emf)"));
    EXPECT_TRUE(main.dialogs.saveFilters[1].startsWith("Windows Meta Files (*.wmf)"));
    EXPECT_EQ(main.dialogs.titles, (QStringList{"Save as META-FILE file", "Save as META-FILE file",
                                                "Save as BITMAP file"}));
    QFile emfFile(emf), wmfFile(wmf);
    ASSERT_TRUE(emfFile.open(QIODevice::ReadOnly));
    ASSERT_TRUE(wmfFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(emfFile.readAll().mid(40, 4), QByteArray(" EMF"));
    EXPECT_EQ(wmfFile.readAll().left(4), QByteArray("\xD7\xCD\xC6\x9A"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(DataExchangeFormTest, AFailedSaveOrCopyShowsTheErrorReportAndNoConfirmation)
{
    const QString missingFolder = dir.filePath("no such folder/");
    main.dialogs.saveAnswers = {missingFolder + "view.emf", missingFolder + "view.bmp",
                                missingFolder + "pipes.dxf"};
    click("btnSaveMetafile");
    click("btnSaveBitmap");
    click("btnSaveDXF");

    ASSERT_EQ(ui.messages.size(), 3u);
    for (const auto& message : ui.messages) {
        EXPECT_EQ(message.kind, UiServices::Kind::Error);
        EXPECT_TRUE(message.text.startsWith("An error has been detected within PIPELOOP"))
            << message.text.toStdString();
    }
    EXPECT_FALSE(QDir(missingFolder).exists());

    // The plan at the closest zoom is a bitmap too large to make.
    main.form.view().setView(ViewKind::Plan);
    main.form.view().setZoom(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    main.action("moCopyPipeloopAsBitmap")->trigger();
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages.back().kind, UiServices::Kind::Error);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(DataExchangeFormTest, TheCopiesCarryTheViewAtTheMainWindowsScaleInEveryFormat)
{
    // What the command-line program draws for the same view at the same zoom.
    const QWidget* area = main.form.view().drawingArea();
    const PictureSource screen = ScreenPictureSource(*main.design(), ViewKind::North,
                                                     main.form.view().zoom(), area->logicalDpiX());
    ASSERT_EQ(screen.size, area->size());

    main.action("moCopyPipeloopAsBitmap")->trigger();
    EXPECT_TRUE(formats().contains("image/bmp"));
    EXPECT_TRUE(formats().contains("image/png"));
    const QImage copied = QImage::fromData(clipboard().data("image/png"), "PNG");
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              PictureImage(*main.design(), screen).convertToFormat(QImage::Format_RGB32));

    main.action("moCopyPipeloopAsMetafile")->trigger();
    EXPECT_EQ(clipboard().data("image/x-emf"),
              PictureMetafile(*main.design(), screen, MetafileFormat::Emf));
    EXPECT_TRUE(formats().contains("image/svg+xml"));
    EXPECT_TRUE(formats().contains("image/png"));
    EXPECT_FALSE(formats().contains("image/x-wmf"));

    form().enhancedBox()->setChecked(false);
    main.action("moCopyPipeloopAsMetafile")->trigger();
    EXPECT_EQ(clipboard().data("image/x-wmf"),
              PictureMetafile(*main.design(), screen, MetafileFormat::Wmf));
    EXPECT_FALSE(formats().contains("image/x-emf"));

    EXPECT_EQ(ui.texts(), (QStringList{CopiedAsBitmapMessage(), CopiedAsMetafileMessage(),
                                       CopiedAsMetafileMessage()}));
}

} // namespace
} // namespace pipeloop::testing
