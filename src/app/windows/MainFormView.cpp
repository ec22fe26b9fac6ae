// The main window's drawing area and drop view: painting, the view
// geometry, zoom and grid commands, and the mouse.

#include "MainForm.h"

#include "AppDialogs.h"
#include "DesignCommands.h"
#include "DrawingArea.h"
#include "DropViewRenderer.h"
#include "HelpTopics.h"
#include "PipeLoop.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"
#include "UiServices.h"
#include "ViewMath.h"
#include "WelcomePage.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <exception>

namespace pipeloop
{

// =================================================================== painting

void TMainForm::paintDrawing(QPainter& painter)
{
    const QRect area = m_drawing->rect();
    painter.fillRect(area, Qt::white);
    QPainterCanvas canvas(painter);
    const PixelRect rect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    if (!m_design) {
        if (!m_welcomeImage.isNull())
            canvas.stretchDraw(rect, m_welcomeImage);
        else
            DrawWelcome(canvas, rect, m_logoImage,
                        static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));
        return;
    }
    if (m_paintDetached)
        return;
    try {
        const TDrawParams params =
            ScreenDrawParams(*m_design, m_currentView, rect, m_pixelsPerMmX, m_pixelsPerMmY);
        PaintDesignView(canvas, *m_design, params,
                        action(QStringLiteral("moHighlightElbows"))->isChecked());
    } catch (const std::exception& failure) {
        // Reported once: the area keeps its last picture rather than failing
        // again at every repaint.
        m_paintDetached = true;
        const QString text = QString::fromLocal8Bit(failure.what());
        QTimer::singleShot(0, this, [text] { Ui().reportError(text); });
    }
}

void TMainForm::paintDropView(QPainter& painter)
{
    const QRect area = m_dropViewBox->rect();
    QPainterCanvas canvas(painter);
    TPipeLoopObject* selected = m_design ? m_design->Selected : nullptr;
    PaintDropViewPanel(canvas, selected, {0, 0, area.width(), area.height()},
                       m_options.SelectColour);
}

void TMainForm::fitWelcomeArea()
{
    if (m_design)
        return;
    const QSize client = m_scrollBox->viewport()->size();
    m_drawing->setFixedSize(std::max(client.width() - 1, 1), std::max(client.height() - 1, 1));
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    fitWelcomeArea();
}

// ====================================================================== views

void TMainForm::UpdateViewGeometry()
{
    if (!m_design)
        return;
    int& zoom = m_zoomFactors[size_t(m_currentView)];
    zoom = ClampZoom(zoom);
    setStatus(0, QStringLiteral("%1:1").arg(zoom));
    const ScreenGeometry geometry = ScreenViewGeometry(
        *m_design, m_currentView, zoom, m_drawing->logicalDpiX(), m_drawing->logicalDpiY());
    m_viewCaption->setText(ViewCaption(m_currentView));
    // A widget cannot be larger than this; the scale still maps every pixel.
    m_drawing->setFixedSize(geometry.area.boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    m_pixelsPerMmX = geometry.pixelsPerMmX;
    m_pixelsPerMmY = geometry.pixelsPerMmY;
}

void TMainForm::SetView(ViewKind view)
{
    m_currentView = view;
    SetZoom(m_zoomFactors[size_t(view)]); // the view's own factor and its check mark
    UpdateViewGeometry();
    m_drawing->update();
}

void TMainForm::SetZoom(int factor)
{
    factor = ClampZoom(factor);
    for (QAction* item : m_zoomGroup->actions())
        item->setChecked(item->data().toInt() == factor);
    m_zoomFactors[size_t(m_currentView)] = factor;
    if (m_design) {
        UpdateViewGeometry();
        m_drawing->update();
    }
}

void TMainForm::ZoomBy(int step)
{
    if (step > 0 && !ZoomOutAllowed(m_scrollBox->viewport()->size(), m_drawing->size()))
        return;
    SetZoom(m_zoomFactors[size_t(m_currentView)] + step);
}

void TMainForm::SetGridSpacing(int spacing)
{
    if (spacing < 0)
        return;
    for (QAction* item : m_gridGroup->actions()) {
        const int tag = item == m_customGrid ? m_customGridSpacing : item->data().toInt();
        item->setChecked(tag == spacing && !(item == m_customGrid && m_customGridSpacing == 0));
    }
    m_options.GridSpacing = spacing;
    if (m_design)
        m_drawing->update();
}

void TMainForm::CustomGridSpacing()
{
    QString text = QString::number(m_options.GridSpacing);
    // The item's check mark follows the spacing, not the click.
    SetGridSpacing(m_options.GridSpacing);
    if (!m_dialogs.queryText(this, QStringLiteral("Grid spacing"),
                             QStringLiteral("Enter spacing in mm :"), text))
        return;
    const Parsed<int32_t> spacing = ParseLength(text, DisplayUnits::Millimetres);
    if (!spacing || spacing.value() <= 0) {
        Ui().inform(QStringLiteral("Invalid grid spacing : ") + text);
        return;
    }
    m_customGridSpacing = spacing.value();
    SetGridSpacing(spacing.value());
}

void TMainForm::ToggleSnapToGrid()
{
    QAction* item = action(QStringLiteral("moSnapToGrid"));
    const bool snap = item->isChecked(); // already toggled by the click
    item->setChecked(m_options.SnapToGrid);
    if (m_design) {
        Perform(new SetSnapToGridCommand(m_options, snap)); // the check mark follows the stack
    } else {
        m_options.SnapToGrid = snap;
        item->setChecked(snap);
    }
}

void TMainForm::SetDisplayDrop(int mode)
{
    m_displayDrop = mode;
    const char* names[] = {"moDisplayDropAlways", "moDisplayDropNever", "moDisplayDropAuto"};
    action(QString::fromLatin1(names[mode]))->setChecked(true);
    ApplyDisplayDrop();
}

void TMainForm::ApplyDisplayDrop()
{
    if (!m_design) {
        m_dropPanel->hide();
        return;
    }
    const bool show =
        m_displayDrop == 0 || (m_displayDrop == 2 && ShownInDropView(m_design->Selected));
    m_dropPanel->setVisible(show);
}

// ====================================================================== mouse

void TMainForm::MouseMoveAt(QPoint pixel)
{
    if (!m_design)
        return;
    m_mousePosition = ScreenToModel(*m_design, m_currentView, m_pixelsPerMmX, m_pixelsPerMmY,
                                    pixel.x(), pixel.y());
    const DisplayUnits units = m_design->Units;
    setStatus(1, CoordinateText(m_mousePosition.EW, units, QStringLiteral(" EW")));
    setStatus(2, CoordinateText(m_mousePosition.NS, units, QStringLiteral(" NS")));
    setStatus(3, CoordinateText(m_mousePosition.HG, units, QString()));
}

void TMainForm::MousePressAt(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    m_mouseDownPoint = pixel;
    if (!m_design || button != Qt::LeftButton || !m_inputEnabled)
        return;
    MouseMoveAt(pixel); // the press point is the position, even without a move before it
    const bool reverse = modifiers.testFlag(Qt::AltModifier);
    ClearSelection();
    const int32_t tolerance = SelectionTolerance(m_zoomFactors[size_t(m_currentView)]);
    if (m_design->SelectAt(m_mousePosition, m_currentView, tolerance, reverse)) {
        setStatus(4, m_design->Selected->Name);
        repaintAreas();
    }
    UpdateSelectionCommands();
}

void TMainForm::SelectDropSymbolAt(QPoint pixel)
{
    TPipeLoopObject* selected = m_design ? m_design->Selected : nullptr;
    if (!selected ||
        (selected->Kind() != ObjectKind::Drop && selected->Kind() != ObjectKind::Inlet))
        return;
    // The close-up stored each symbol's rectangle when it was last painted.
    static_cast<TObjectWithSymbols*>(selected)->SelectSymbolAt(pixel);
    m_dropViewBox->repaint();
}

void TMainForm::ClickAt(QPoint pixel)
{
    MouseMoveAt(pixel);
    m_locationClicked = true;
    ApplyDisplayDrop();
    if (m_promptLoop)
        endPrompt(true);
}

bool TMainForm::WheelScroll(int wheelDelta, Qt::KeyboardModifiers modifiers)
{
    const int delta = wheelDelta / 4; // truncating, as the wheel step always has been
    QScrollBar* bar = nullptr;
    if (modifiers == Qt::ShiftModifier) {
        if (!m_options.ShiftWheelScrollLeftRight)
            return true; // swallowed: Shift+wheel scrolls only when asked for
        bar = m_scrollBox->horizontalScrollBar();
    } else if (modifiers == Qt::NoModifier) {
        bar = m_scrollBox->verticalScrollBar();
    } else {
        return false;
    }
    if (!bar->isVisible())
        return false;
    bar->setValue(bar->value() - delta);
    MouseMoveAt(m_drawing->mapFromGlobal(QCursor::pos()));
    return true;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto panel = std::find(m_colourPanels.begin(), m_colourPanels.end(), watched);
        if (panel != m_colourPanels.end() && m_inputEnabled) {
            ChoosePipeColour(int(PipeColourPanelSizes[size_t(panel - m_colourPanels.begin())]));
            return true;
        }
    }
    if (watched == m_scrollBox->viewport()) {
        if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (WheelScroll(wheel->angleDelta().y() != 0 ? wheel->angleDelta().y()
                                                         : wheel->angleDelta().x(),
                            wheel->modifiers()))
                return true;
        } else if (event->type() == QEvent::Resize) {
            fitWelcomeArea();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        ShowHelpTopic(QStringLiteral("Contents"));
        return;
    }
    QMainWindow::keyPressEvent(event);
}

Position TMainForm::SnapPosition() const
{
    return pipeloop::SnapPosition(m_mousePosition, m_currentView, m_options.GridSpacing,
                                  m_options.SnapToGrid);
}

} // namespace pipeloop
