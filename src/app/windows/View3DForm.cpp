#include "View3DForm.h"

#include "AppDialogs.h"
#include "Document.h"
#include "ErrorReport.h"
#include "HelpTopics.h"
#include "PictureExport.h"
#include "QPainterCanvas.h"
#include "Rounding.h"
#include "UiServices.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pipeloop
{
namespace
{

constexpr double ZoomStep = 1.2;
// How far the view turns for each pixel the mouse is dragged across it.
constexpr float RadiansPerPixel = 0.01f;
const QString Caption = QStringLiteral("PIPELOOP 3D View");

float WrappedBearing(float radians)
{
    constexpr float pi = std::numbers::pi_v<float>;
    radians = std::fmod(radians, 2.0f * pi);
    if (radians > pi)
        radians -= 2.0f * pi;
    else if (radians <= -pi)
        radians += 2.0f * pi;
    return radians;
}

class CompassBox : public QWidget
{
public:
    explicit CompassBox(TView3DForm& form) : m_form(form)
    {
        setObjectName(QStringLiteral("pbCompass"));
        setFixedSize(CompassSize, CompassSize);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainterCanvas canvas(this);
        DrawCompass(canvas, m_form.bearing());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_form.compassMouse(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (rect().contains(event->position().toPoint()))
            m_form.compassMouse(event->position().toPoint());
    }

private:
    TView3DForm& m_form;
};

class DrawingBox : public QWidget
{
public:
    explicit DrawingBox(TView3DForm& form) : m_form(form)
    {
        setObjectName(QStringLiteral("pbView3D"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_form.paintView(painter, size());
    }
    void mousePressEvent(QMouseEvent* event) override { m_lastX = event->position().toPoint().x(); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        const int x = event->position().toPoint().x();
        m_form.dragBy(x - m_lastX);
        m_lastX = x;
    }
    void wheelEvent(QWheelEvent* event) override
    {
        m_form.wheelBy(event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep);
        event->accept();
    }

private:
    TView3DForm& m_form;
    int m_lastX = 0;
};

} // namespace

TView3DForm::TView3DForm(Document& document, AppDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_document(document),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("View3DForm"));
    setWindowTitle(Caption);
    InstallHelpKey(*this, [] { return QString::fromLatin1(topic::Viewing3D); });

    m_drawing = new DrawingBox(*this);
    m_scrollBox = new QScrollArea;
    m_scrollBox->setObjectName(QStringLiteral("sbView3D"));
    m_scrollBox->setWidget(m_drawing);
    m_scrollBox->setAlignment(Qt::AlignCenter);
    m_scrollBox->viewport()->installEventFilter(this);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_scrollBox, 1);
    layout->addWidget(createButtons());
    resize(640, 480);

    connect(&m_document, &Document::designChanged, this, &TView3DForm::markDirty);
    connect(&m_document, &Document::selectionChanged, this, &TView3DForm::markDirty);
}

QWidget* TView3DForm::createButtons()
{
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("pnButtons"));
    auto* column = new QVBoxLayout(panel);
    m_compass = new CompassBox(*this);
    m_compass->setToolTip(CompassHint(bearing()));
    column->addWidget(m_compass, 0, Qt::AlignHCenter);
    connect(addButton(panel, QStringLiteral("btZoomIn"), QStringLiteral("Zoom In")),
            &QPushButton::clicked, this, &TView3DForm::zoomIn);
    connect(addButton(panel, QStringLiteral("btZoomOut"), QStringLiteral("Zoom Out")),
            &QPushButton::clicked, this, &TView3DForm::zoomOut);
    connect(addButton(panel, QStringLiteral("btPrint"), QStringLiteral("Print")),
            &QPushButton::clicked, this, &TView3DForm::print);
    connect(addButton(panel, QStringLiteral("btCopyEMF"), QStringLiteral("Copy EMF")),
            &QPushButton::clicked, this, &TView3DForm::copyEmf);
    connect(addButton(panel, QStringLiteral("btCopyBMP"), QStringLiteral("Copy BMP")),
            &QPushButton::clicked, this, &TView3DForm::copyBmp);
    column->addStretch(1);
    QPushButton* help = addButton(panel, QStringLiteral("btHelp"), QStringLiteral("Help"));
    help->setEnabled(HelpAvailable());
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QString::fromLatin1(topic::Viewing3D)); });
    column->addSpacing(8);
    connect(addButton(panel, QStringLiteral("btClose"), QStringLiteral("&Close")),
            &QPushButton::clicked, this, &QWidget::hide);

    const QSize buttonSize = m_buttons.front()->sizeHint();
    setMinimumSize(6 * buttonSize.width(), CompassSize + 9 * buttonSize.height() + 32);
    return panel;
}

QPushButton* TView3DForm::addButton(QWidget* panel, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(name);
    button->setAutoDefault(false);
    panel->layout()->addWidget(button);
    m_buttons.append(button);
    return button;
}

QPushButton* TView3DForm::button(const QString& name) const
{
    for (QPushButton* button : m_buttons)
        if (button->objectName() == name)
            return button;
    return nullptr;
}

// ================================================================ the drawing

void TView3DForm::markDirty()
{
    m_dirty = true;
    if (isVisible())
        m_drawing->update();
}

void TView3DForm::rebuildIfDirty()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    if (const TPipeLoop* design = m_document.design()) {
        m_model.Rebuild(*design);
        m_model.FitWholeRoom();
    } else {
        m_model.clear();
    }
    // A rebuild turns the view back to its first bearing.
    m_compass->setToolTip(CompassHint(bearing()));
    m_compass->update();
}

const View3DModel& TView3DForm::model()
{
    rebuildIfDirty();
    return m_model;
}

void TView3DForm::paintView(QPainter& painter, QSize size)
{
    rebuildIfDirty();
    QPainterCanvas canvas(painter);
    m_model.Paint(canvas, size);
}

void TView3DForm::setBearing(float radians)
{
    rebuildIfDirty(); // a later rebuild would turn the view back at once
    m_model.setBearing(radians);
    m_compass->setToolTip(CompassHint(radians));
    m_compass->update();
    m_drawing->update();
}

void TView3DForm::compassMouse(QPoint position)
{
    setBearing(BearingFromCompassPoint(position.x(), position.y()));
}

void TView3DForm::dragBy(int dx)
{
    if (dx != 0)
        setBearing(WrappedBearing(bearing() + float(dx) * RadiansPerPixel));
}

void TView3DForm::wheelBy(int steps)
{
    for (; steps > 0; --steps)
        zoomIn();
    for (; steps < 0; ++steps)
        zoomOut();
}

// ====================================================================== zoom

void TView3DForm::setDrawingSize(QSize size)
{
    const QSize client = m_scrollBox->viewport()->size();
    m_fitted = size.width() <= client.width() && size.height() <= client.height();
    m_drawing->resize(m_fitted ? client : size.expandedTo(client));
}

void TView3DForm::zoomIn()
{
    const QSize size = m_drawing->size();
    setDrawingSize(QSize(Round(size.width() * ZoomStep), Round(size.height() * ZoomStep)));
}

void TView3DForm::zoomOut()
{
    const QSize size = m_drawing->size();
    setDrawingSize(QSize(Round(size.width() / ZoomStep), Round(size.height() / ZoomStep)));
}

void TView3DForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void TView3DForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

bool TView3DForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scrollBox->viewport() && event->type() == QEvent::Resize)
        setDrawingSize(m_fitted ? QSize(0, 0) : m_drawing->size());
    return QWidget::eventFilter(watched, event);
}

// ============================================================ print and copy

void TView3DForm::print()
{
    const std::optional<PrintDestination> destination = m_dialogs.choosePrintDestination(
        this, {QStringLiteral("Print 3D View"),
               QStringLiteral("Pages: the 3D view"),
               {},
               SuggestedPdfPath(m_document.fileName(), QStringLiteral("3D"))});
    if (destination)
        PrintOn(*destination, Caption, PdfPage(), true,
                [this](QPagedPaintDevice& device) { return printTo(device); });
}

bool TView3DForm::printTo(QPagedPaintDevice& device)
{
    rebuildIfDirty();
    QPainter painter;
    if (!painter.begin(&device)) {
        Ui().error(QStringLiteral("The 3D view could not be printed."));
        return false;
    }
    // The drawing's shape fitted into nine tenths of the page.
    const QSize client = m_drawing->size();
    const float a = float(device.height() * 0.9 / client.height());
    const float b = float(device.width() * 0.9 / client.width());
    const int scale = a > b ? Round(b * client.height()) : Round(a * client.width());
    QPainterCanvas canvas(painter);
    m_model.Paint(canvas, PixelRect{0, 0, device.width(), device.height()}, device.width() / 2,
                  device.height() / 2, scale);
    return true;
}

void TView3DForm::copyEmf()
{
    copyPicture(true);
}
void TView3DForm::copyBmp()
{
    copyPicture(false);
}

void TView3DForm::copyPicture(bool metafile)
{
    rebuildIfDirty();
    const QSize size = m_drawing->size();
    const DrawingPaint paint = [this, size](Canvas& canvas) { m_model.Paint(canvas, size); };
    try {
        ClipboardPicture picture;
        if (metafile) {
            for (PictureFormat format :
                 {PictureFormat::Emf, PictureFormat::Svg, PictureFormat::Png})
                picture.formats.emplace_back(PictureMimeType(format),
                                             DrawingBytes(format, size, 96, Caption, paint));
        } else {
            picture.bitmap = DrawingImage(size, 96, paint);
            for (PictureFormat format : {PictureFormat::Bmp, PictureFormat::Png})
                picture.formats.emplace_back(PictureMimeType(format),
                                             DrawingBytes(format, size, 96, Caption, paint));
        }
        QGuiApplication::clipboard()->setMimeData(picture.mimeData().release());
    } catch (...) {
        ReportError();
        return;
    }
    Ui().inform(metafile ? QStringLiteral("PIPELOOP copied 3D to clipboard as enhanced meta-file.")
                         : QStringLiteral("PIPELOOP copied 3D to clipboard as bitmap."));
}

} // namespace pipeloop
