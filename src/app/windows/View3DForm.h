#pragma once

// TView3DForm: the 3D window. A separate, always-on-top window showing the
// design as a wire-frame perspective (View3DModel), turned about the vertical
// axis by the compass or by dragging in the drawing, zoomed by the buttons or
// the mouse wheel, printed, or copied as an enhanced metafile or a bitmap.
//
// Made once by the main window. It keeps no design: the document's changes
// only mark the drawing out of date, and the next paint rebuilds it from the
// design the document holds then (none after it closed a project). A rebuild
// never waits for a paint; they run one after the other on this thread.

#include "Model3D.h"

#include <QWidget>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QScrollArea;

namespace pipeloop
{

class AppDialogs;
class Document;

class TView3DForm : public QWidget
{
    Q_OBJECT
public:
    TView3DForm(Document& document, AppDialogs& dialogs, QWidget* parent = nullptr);

    // The drawing, rebuilt first when the design changed since it was built.
    const View3DModel& model();
    float bearing() const { return m_model.bearing(); }
    // Turns the view; the compass and its hint follow.
    void setBearing(float radians);

    // The buttons: the drawing 1.2 times larger or smaller; smaller stops at
    // the scroll box's client size.
    void zoomIn();
    void zoomOut();
    // The print dialog, then the view landscape, centred on the page.
    void print();
    void copyEmf();
    void copyBmp();

    QWidget* compass() const { return m_compass; }
    QWidget* drawing() const { return m_drawing; }
    QScrollArea* scrollBox() const { return m_scrollBox; }
    QPushButton* button(const QString& name) const;

    // Paints the view into an area of the given size (the drawing's paint).
    void paintView(QPainter& painter, QSize size);
    void compassMouse(QPoint position);
    void dragBy(int dx);
    void wheelBy(int steps);

signals:
    // Shown or hidden: the main window's command shows whether it is open.
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createButtons();
    QPushButton* addButton(QWidget* panel, const QString& name, const QString& caption);
    void markDirty();
    void rebuildIfDirty();
    void setDrawingSize(QSize size);
    bool printTo(QPagedPaintDevice& device);
    void copyPicture(bool metafile);

    Document& m_document;
    AppDialogs& m_dialogs;
    View3DModel m_model;
    bool m_dirty = true;
    // The drawing is the scroll box's client size (not zoomed in): it follows
    // the client as the window is resized.
    bool m_fitted = true;
    QWidget* m_compass = nullptr;
    QWidget* m_drawing = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    QList<QPushButton*> m_buttons;
};

} // namespace pipeloop
