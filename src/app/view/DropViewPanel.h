#pragma once

// The drop view panel left of the drawing: a caption and a close-up of the
// selected drop, inlet or drain. "Display Drop" decides when it shows:
// always, never, or only while the selection has a close-up.

#include <QWidget>

class QLabel;

namespace pipeloop
{

class Document;
class PaintBox;

enum class DisplayDrop { Always = 0, Never = 1, Auto = 2 };

class DropViewPanel : public QWidget
{
    Q_OBJECT
public:
    explicit DropViewPanel(Document& document, QWidget* parent = nullptr);

    DisplayDrop mode() const { return m_mode; }
    // The "Display Drop" choice, applied at once.
    void setMode(DisplayDrop mode);
    // Shows or hides the panel by the mode and the selection.
    void apply();
    // The selection changed: the caption and the close-up follow it.
    void showSelection();
    // The first time a design is open the panel shows, whatever the mode.
    void showOnFirstDesign();
    // While a loop is drawn by hand the panel is in the way: it hides, the
    // mode becomes Never and the first-design showing is spent.
    void hideForGood();
    // Repaints the close-up at once.
    void repaintNow();

signals:
    // A click in the close-up selected one of the shown object's symbols (or none).
    void symbolSelected();
    // A right click in the close-up asks for its pop-up menu at this point of the screen.
    void popupWanted(const QPoint& globalPosition);

private:
    void selectSymbolAt(QPoint pixel);

    Document& m_document;
    DisplayDrop m_mode = DisplayDrop::Always;
    bool m_showOnFirstDesign = true;
    QLabel* m_caption = nullptr;
    PaintBox* m_closeUp = nullptr;
};

} // namespace pipeloop
