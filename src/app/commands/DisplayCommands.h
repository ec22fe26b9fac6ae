#pragma once

// The commands that change how the design is drawn and where clicks land:
// the grid spacing (with its own check marks, which at start need not match
// the options), the custom spacing, Snap To Grid and the pipe colour of a
// size. Options a project carries change through the document, undoably.

#include <QObject>

class QWidget;

namespace pipeloop
{

class AppDialogs;
class Document;

class DisplayCommands : public QObject
{
    Q_OBJECT
public:
    DisplayCommands(Document& document, AppDialogs& dialogs, QWidget* window);

    // The spacing the Grid menu marks: always the one the drawing uses, so the
    // mark and the grid agree from the first start on. The custom item holds
    // its own (0 until one was entered).
    int gridMark() const;
    int customGridSpacing() const { return m_customGridSpacing; }

    // A Grid menu item: the spacing in millimetres, 0 for no grid.
    void setGridSpacing(int spacing);
    // Custom Grid Spacing: asks for a spacing in millimetres.
    void askCustomGridSpacing();
    void setSnapToGrid(bool snap);
    // A pipe colour panel: the colour of that size (20 ... 110 mm).
    void choosePipeColour(int sizeMm);

signals:
    // A mark, the grid or a colour changed outside the document's history.
    void changed();

private:
    Document& m_document;
    AppDialogs& m_dialogs;
    QWidget* m_window;
    int m_customGridSpacing = 0;
};

} // namespace pipeloop
