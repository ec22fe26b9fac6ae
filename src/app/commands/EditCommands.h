#pragma once

// The commands that change what is already in the design: the Edit menu,
// the drawing pop-up's editing items, the drop view's pop-up and the symbol
// buttons of a selected drop or inlet. Each asks its question through the
// dialogs seam, hands the answer to the editing layer (ObjectEdits.h), and
// shows a refusal in the program's message box.

#include "EditorState.h"
#include "ModelTypes.h"
#include "ObjectEdits.h"
#include "UserParts.h"

#include <QObject>
#include <QString>

class QWidget;

namespace pipeloop
{

class AppDialogs;
class Document;
class TPipeLoopObject;
namespace catalogue
{
class TPartsDatabase;
}

// What the rules of the editing commands read of the selected object: the
// drop's style, the feature's ellipse flag, the drop view's selected symbol.
void DescribeSelection(const TPipeLoopObject* selected, EditorState& state);

class EditCommands : public QObject
{
    Q_OBJECT
public:
    EditCommands(Document& document, AppDialogs& dialogs, catalogue::TPartsDatabase& catalogue,
                 const QString& appDir, QWidget* window);

    // --- the selected object ---------------------------------------------
    void editPosition();
    // A drop's height (or hose length) or a drain's height.
    void editHeight();
    void editSpurHeight();
    void editInletLength();
    void editLabel();
    // The size the selection has (a spur's or inlet's or drain's pipe, a
    // drop's outlet), or with nothing selected the main pipe.
    void editSize();
    void editDropAttributes();
    void editInletAttributes();
    // A Drop Style item, 0..5.
    void setDropStyle(int style);
    void toggleFeatureEllipse();
    void deleteSelected();
    void removeHighlighting();
    void insertElbow(bool after);
    void copyDrop();
    // Paste New Drop at the (snapped) place where the pop-up was opened.
    void pasteDrop(const Position& at);

    // --- the symbols of a selected drop or inlet ------------------------------
    void addSymbol(const QString& keyword);
    void deleteSymbol();
    void moveSymbol(bool up);
    void editHoseSize();
    // "Assign Generic Parts" (the user's parts) and "Assign ZAVOZA Parts"
    // (the catalogue's, drops only): the part window's text for the selected
    // symbol, one undo step.
    void assignGenericParts();
    void assignVendorParts();
    // The user's own parts, read when the user part window first shows; the
    // main window reads and writes their file's setting.
    catalogue::UserPartsDatabase& userParts() { return m_userParts; }

private:
    // The selection, or none with nothing to edit.
    TPipeLoopObject* selected() const;
    // The length entry as the prompt says; on OK store takes the length.
    using LengthSetter = bool (*)(Document&, int32_t);
    void enterLength(const LengthEntryPrompt& prompt, LengthSetter store);
    void refuse(const QString& message) const;

    Document& m_document;
    AppDialogs& m_dialogs;
    catalogue::TPartsDatabase& m_catalogue;
    QString m_appDir;
    QWidget* m_window;
    catalogue::UserPartsDatabase m_userParts;
};

} // namespace pipeloop
