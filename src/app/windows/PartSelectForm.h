#pragma once

// TPartSelectForm: the "Part Selector" of "Assign ZAVOZA Parts". For one
// symbol of a drop it lists the catalogue's candidate parts (by the symbol's
// name and the drop's size) and the parts chosen so far, shows the picture
// and description of the highlighted candidate, and closes with the chosen
// parts as the symbol's assigned-parts text. "Clear Parts" goes back to the
// assignment the window opened with.

#include "PartsDatabase.h"
#include "PartsListOutputs.h"

#include <QDialog>
#include <QMap>

#include <optional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextEdit;

namespace pipeloop
{

// The catalogue's picture of a part or package name fitted into the box, or
// "NO IMAGE" when there is none (an empty name, or no catalogue).
void ShowCataloguePicture(QLabel& box, catalogue::TPartsDatabase* database, const QString& name);

class TPartSelectForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPartSelectForm(DocumentOpener openDocument, QWidget* parent = nullptr);

    // Modal: the new assigned text on OK, nothing on Cancel.
    std::optional<QString> Open(catalogue::TPartsDatabase& database, const QString& symbolName,
                                float dropSize, const QString& assigned, const QString& appDir);
    // What Open does before the window shows.
    void Prepare(catalogue::TPartsDatabase& database, const QString& symbolName, float dropSize,
                 const QString& assigned, const QString& appDir);

    // "Clear Parts" (also the first showing): the opening assignment again.
    void ShowAssignment();
    // Double-click or "Add Part": the highlighted candidate joins the selection.
    void AddPart();
    // The selection as an assigned-parts text ("OK" closes with it).
    QString AssignedText() const;

    QListWidget* candidates() const { return m_candidates; }
    QListWidget* selected() const { return m_selected; }
    QTextEdit* description() const { return m_description; }
    QLabel* picture() const { return m_picture; }
    QLabel* dropSizeLabel() const { return m_dropSizeLabel; }
    QPushButton* button(const QString& name) const { return m_buttons.value(name); }

private:
    QPushButton* addButton(const QString& name, const QString& caption);
    void candidateHighlighted(QListWidgetItem* item);
    void showPicture(const catalogue::TPartObject* part);
    void viewCatalog();

    DocumentOpener m_openDocument;
    catalogue::TPartsDatabase* m_database = nullptr;
    QString m_symbolName;
    float m_dropSize = 0;
    QString m_assigned;
    QString m_appDir;

    QListWidget* m_candidates = nullptr;
    QListWidget* m_selected = nullptr;
    QTextEdit* m_description = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_dropSizeLabel = nullptr;
    QMap<QString, QPushButton*> m_buttons;
};

} // namespace pipeloop
