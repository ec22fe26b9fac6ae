#include "GuiTestSupport.h"

#include "View3DForm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <numbers>

namespace pipeloop::testing
{
namespace
{

class View3DFormTest : public ::testing::Test
{
protected:
    View3DFormTest()
    {
        main.start();
        main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "factory.plf");
        main.action("moView3DDisplay")->trigger();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form()));
        main.ui.messages.clear();
    }

    TView3DForm& form() { return main.form.view3DForm(); }
    void paint() { form().drawing()->grab(); }
    void compassMouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), QPointF(form().compass()->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(form().compass(), &event);
    }

    MainWindowFixture main;
};

TEST_F(View3DFormTest, FollowsTheDocumentThroughNewAndOpenAndCloseUntickesTheCommand)
{
    EXPECT_TRUE(main.action("moView3DDisplay")->isChecked());
    paint();
    const int factoryItems = form().model().count();
    EXPECT_GT(factoryItems, 1);

    // The design the window drew is freed by New and by Open; the window draws
    // whichever design the document holds at its next paint.
    main.newDesign();
    paint();
    EXPECT_LT(form().model().count(), factoryItems);
    main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf");
    paint();
    const int workshopItems = form().model().count();
    EXPECT_GT(workshopItems, 1);
    EXPECT_NE(workshopItems, factoryItems);

    form().button(QStringLiteral("btClose"))->click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(main.action("moView3DDisplay")->isChecked());
    main.action("moView3DDisplay")->trigger();
    EXPECT_TRUE(form().isVisible());
}

TEST_F(View3DFormTest, CompassAndDrawingTurnTheViewAndButtonsZoomDownToTheClientSize)
{
    paint();
    EXPECT_FLOAT_EQ(form().bearing(), View3DModel::InitialBearing);
    compassMouse(QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton);
    compassMouse(QEvent::MouseMove, {80, 40}, Qt::LeftButton);
    EXPECT_NEAR(form().bearing(), std::numbers::pi / 2, 1e-5);
    EXPECT_EQ(form().compass()->toolTip(), QStringLiteral("90.0"));
    compassMouse(QEvent::MouseButtonRelease, {40, 0}, Qt::NoButton);
    EXPECT_EQ(form().compass()->toolTip(), QStringLiteral("0.0"));
    // Moving without the button held turns nothing.
    compassMouse(QEvent::MouseMove, {0, 40}, Qt::NoButton);
    EXPECT_EQ(form().compass()->toolTip(), QStringLiteral("0.0"));

    QTest::mousePress(form().drawing(), Qt::LeftButton, {}, {100, 100});
    QMouseEvent drag(QEvent::MouseMove, QPointF(150, 100), QPointF(150, 100), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form().drawing(), &drag);
    EXPECT_NEAR(form().bearing(), 0.5, 1e-5);
    EXPECT_EQ(form().compass()->toolTip(), QStringLiteral("28.6"));

    const QSize client = form().scrollBox()->viewport()->size();
    EXPECT_EQ(form().drawing()->size(), client);
    form().zoomOut();
    EXPECT_EQ(form().drawing()->size(), client);
    form().zoomIn();
    EXPECT_EQ(form().drawing()->width(), qRound(client.width() * 1.2));
    form().zoomOut();
    form().zoomOut();
    EXPECT_EQ(form().drawing()->size(), client);
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), {}, QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(form().drawing(), &wheel);
    EXPECT_GT(form().drawing()->width(), qRound(client.width() * 1.2));
}

TEST_F(View3DFormTest, ShowsTheWholeModelAtEveryBearingAndCopiesIt)
{
    const QSize size = form().drawing()->size();
    const View3DModel& model = form().model();
    View3DModel turned = model;
    const int scale = qRound(0.9 * std::min(size.width(), size.height()));
    const QRect area(QPoint(0, 0), size);
    for (float bearing = -3.1f; bearing < 3.2f; bearing += 0.3f) {
        turned.setBearing(bearing);
        for (const Item3D& item : turned.items())
            for (const Point3& end : {item.start, item.end}) {
                const QPoint pixel =
                    turned.ProjectToPixels(end, size.width() / 2, size.height() / 2, scale);
                ASSERT_TRUE(area.contains(pixel)) << item.label.toStdString() << " at " << bearing;
            }
    }

    form().button(QStringLiteral("btCopyBMP"))->click();
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("image/bmp")).left(2),
              QByteArray("BM"));
    form().button(QStringLiteral("btCopyEMF"))->click();
    EXPECT_FALSE(
        QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("image/x-emf")).isEmpty());
    ASSERT_EQ(main.ui.messages.size(), 2u);
    EXPECT_EQ(main.ui.messages[0].text,
              QStringLiteral("PIPELOOP copied 3D to clipboard as bitmap."));
    EXPECT_EQ(main.ui.messages[1].text,
              QStringLiteral("PIPELOOP copied 3D to clipboard as enhanced meta-file."));
}

TEST_F(View3DFormTest, PrintToPdfWritesALandscapePage)
{
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils, scripts/setup) is missing";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("view3d.pdf"));
    main.dialogs.pdfAnswers = {path};
    form().button(QStringLiteral("btPrint"))->click();
    EXPECT_TRUE(main.ui.messages.empty());
    ASSERT_TRUE(QFileInfo::exists(path));

    QProcess info;
    info.start(pdfinfo, {path});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString details = QString::fromUtf8(info.readAllStandardOutput());
    const auto field = [&details](const QString& name) {
        const QRegularExpression line(QStringLiteral("^%1: +(.*)$").arg(name),
                                      QRegularExpression::MultilineOption);
        return line.match(details).captured(1).trimmed();
    };
    EXPECT_EQ(field(QStringLiteral("Pages")), QStringLiteral("1"));
    EXPECT_EQ(field(QStringLiteral("Title")), QStringLiteral("PIPELOOP 3D View"));
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("([\\d.]+) x ([\\d.]+)"))
                                             .match(field(QStringLiteral("Page size")));
    ASSERT_TRUE(size.hasMatch()) << details.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";

    // Cancel in the print dialog prints nothing.
    QFile::remove(path);
    form().print();
    EXPECT_FALSE(QFileInfo::exists(path));
}

} // namespace
} // namespace pipeloop::testing
