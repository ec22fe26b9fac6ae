#include "DropViewPanel.h"

#include "Document.h"
#include "DrawingArea.h"
#include "DropViewRenderer.h"
#include "PipeLoop.h"
#include "QPainterCanvas.h"
#include "ViewMath.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace pipeloop
{

DropViewPanel::DropViewPanel(Document& document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("pnDropView"));
    setFixedWidth(80);
    m_caption = new QLabel;
    m_caption->setObjectName(QStringLiteral("lbDropView"));
    m_closeUp = new PaintBox(QStringLiteral("pbDropView"));
    m_closeUp->setAccessibleName(QStringLiteral("Drop View"));
    m_closeUp->onPaint = [this](QPainter& painter, const QRect&) {
        QPainterCanvas canvas(painter);
        PaintDropViewPanel(canvas, m_document.selected(),
                           {0, 0, m_closeUp->width(), m_closeUp->height()},
                           m_document.options().SelectColour);
    };
    m_closeUp->onPress = [this](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier)
            selectSymbolAt(event->position().toPoint());
    };
    m_closeUp->onRelease = [this](QMouseEvent* event) {
        if (event->button() == Qt::RightButton &&
            m_closeUp->rect().contains(event->position().toPoint()))
            emit popupWanted(event->globalPosition().toPoint());
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_caption);
    layout->addWidget(m_closeUp, 1);
    hide();
}

void DropViewPanel::setMode(DisplayDrop mode)
{
    m_mode = mode;
    apply();
}

void DropViewPanel::apply()
{
    if (!m_document.design()) {
        hide();
        return;
    }
    setVisible(m_mode == DisplayDrop::Always ||
               (m_mode == DisplayDrop::Auto && ShownInDropView(m_document.selected())));
}

void DropViewPanel::showSelection()
{
    m_caption->setText(DropViewCaption(m_document.selected()));
    repaintNow();
}

void DropViewPanel::showOnFirstDesign()
{
    if (!m_showOnFirstDesign || !m_document.design())
        return;
    m_showOnFirstDesign = false;
    show();
}

void DropViewPanel::hideForGood()
{
    hide();
    m_showOnFirstDesign = false;
    m_mode = DisplayDrop::Never;
}

void DropViewPanel::repaintNow()
{
    if (m_closeUp->isVisible())
        m_closeUp->repaint();
}

void DropViewPanel::selectSymbolAt(QPoint pixel)
{
    TPipeLoopObject* selected = m_document.selected();
    if (!selected ||
        (selected->Kind() != ObjectKind::Drop && selected->Kind() != ObjectKind::Inlet))
        return;
    // The close-up stored each symbol's rectangle when it was last painted.
    auto* symbols = static_cast<TObjectWithSymbols*>(selected);
    symbols->SelectSymbolAt(pixel);
    // What the highlight shows, for a screen reader.
    m_closeUp->setAccessibleDescription(symbols->SelectedSymbolName());
    m_closeUp->repaint();
    emit symbolSelected();
}

} // namespace pipeloop
