#pragma once

// TDataExchangeForm: the "Data Exchange" window. Its tabs save the main
// window's current view as a metafile (EMF or WMF) or a bitmap, or copy it to
// the clipboard, and save the pipework as DXF. The main window's two Edit menu
// copies run the clipboard copies directly, without showing the window.
//
// Made once by the main window; the design is lent for one Open or one copy
// only, so the window never holds a design that New or Open has since freed.

#include "PictureExport.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace pipeloop
{

class AppDialogs;
class TPipeLoop;

class TDataExchangeForm : public QDialog
{
    Q_OBJECT
public:
    explicit TDataExchangeForm(AppDialogs& dialogs, QWidget* parent = nullptr);

    // Shows the window modally for the design and the picture the main
    // window hands over.
    void Open(TPipeLoop& design, const PictureSource& source);
    // The two clipboard copies, with their confirmations; a failure goes to
    // the common error report instead.
    void CopyMetafile(TPipeLoop& design, const PictureSource& source);
    void CopyBitmap(TPipeLoop& design, const PictureSource& source);

    // The tabs' commands for the design of the current Open.
    void SaveMetafile();
    void CopyMetafile();
    void SaveBitmap();
    void CopyBitmap();
    void SaveDxf();

    // "Create &Enhanced Meta-File": the saved and copied metafile is an EMF
    // when ticked (the default), a WMF otherwise.
    QCheckBox* enhancedBox() const { return m_enhanced; }
    QTabWidget* tabs() const { return m_tabs; }
    QPushButton* button(const QString& name) const { return m_buttons.value(name); }

private:
    QWidget* createMetafileTab();
    QWidget* createBitmapTab();
    QWidget* createDxfTab();
    QWidget* createButtons();
    QPushButton* addButton(const QString& name, const QString& caption,
                           void (TDataExchangeForm::*command)());
    // A file name from the save dialog; empty on Cancel.
    QString askFileName(const QString& title, const QString& filter, const QString& suffix);
    // Puts the picture on the clipboard and confirms; reports a failure.
    void copy(const std::function<ClipboardPicture()>& picture, const QString& confirmation);

    AppDialogs& m_dialogs;
    TPipeLoop* m_design = nullptr;
    PictureSource m_source;

    QTabWidget* m_tabs = nullptr;
    QCheckBox* m_enhanced = nullptr;
    QMap<QString, QPushButton*> m_buttons;
};

} // namespace pipeloop
