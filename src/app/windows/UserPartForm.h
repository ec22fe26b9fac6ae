#pragma once

// TUserPartForm: the "User Part Selector" of "Assign Generic Parts". The
// "Assign Parts" tab picks parts of any maker from the user parts database
// for one symbol of a drop or inlet; the "User Parts DB" tab enters new makers
// and part numbers and saves or opens the user's own file. It closes with the
// picked parts as the symbol's assigned-parts text.

#include <QDialog>
#include <QMap>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace pipeloop
{

class AppDialogs;
namespace catalogue
{
class TPartsDatabase;
class UserPartsDatabase;
} // namespace catalogue

// The save dialog for the user's parts file, titled "Save User Parts
// Database" and starting at start; empty on Cancel.
QString ChooseUserPartsFile(AppDialogs& dialogs, QWidget* parent, const QString& start);

class TUserPartForm : public QDialog
{
    Q_OBJECT
public:
    TUserPartForm(AppDialogs& dialogs, const QString& appDir, QWidget* parent = nullptr);

    // Modal: the new assigned text on OK, nothing on Cancel. The databases
    // are lent for the showing; the user parts are read on the first one.
    std::optional<QString> Open(catalogue::UserPartsDatabase& userParts,
                                catalogue::TPartsDatabase& catalogue, const QString& symbolName,
                                const QString& assigned, const QString& connectingSize);
    // What Open does before the window shows.
    void Prepare(catalogue::UserPartsDatabase& userParts, catalogue::TPartsDatabase& catalogue,
                 const QString& symbolName, const QString& assigned, const QString& connectingSize);

    // "Assign Parts": choosing a maker and a part, "Add Part", "Clear Parts".
    void ChooseMaker(const QString& maker);
    void ChoosePart(const QString& partNumber);
    void AddPart();
    void ClearParts();
    // The assigned rows as an assigned-parts text ("Ok" closes with it).
    QString AssignedText() const;
    // "User Parts DB".
    void AddNewPart();
    void AddNewPartAndMaker();
    void SaveUserParts();
    void OpenUserParts();

    QTabWidget* tabs() const { return m_tabs; }
    QComboBox* makerBox() const { return m_makerBox; }
    QListWidget* partList() const { return m_partList; }
    QTableWidget* assignedGrid() const { return m_grid; }
    QLabel* picture() const { return m_picture; }
    QLabel* connectingLabel() const { return m_connecting; }
    QListWidget* makerList() const { return m_makerList; }
    QLineEdit* newPartEdit() const { return m_newPart; }
    QLineEdit* descriptionEdit() const { return m_newDescription; }
    QLineEdit* newMakerEdit() const { return m_newMaker; }
    QPushButton* button(const QString& name) const { return m_buttons.value(name); }

private:
    QWidget* createAssignTab();
    QWidget* createDatabaseTab();
    QPushButton* addButton(const QString& name, const QString& caption);
    void addRow(const QString& maker, const QString& partNumber);
    void fillMakers();
    void added();
    void showPicture(const QString& partNumber);

    AppDialogs& m_dialogs;
    QString m_appDir;
    catalogue::UserPartsDatabase* m_userParts = nullptr;
    catalogue::TPartsDatabase* m_catalogue = nullptr;

    QTabWidget* m_tabs = nullptr;
    QComboBox* m_makerBox = nullptr;
    QListWidget* m_partList = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_connecting = nullptr;
    QListWidget* m_makerList = nullptr;
    QLineEdit* m_newPart = nullptr;
    QLineEdit* m_newDescription = nullptr;
    QLineEdit* m_newMaker = nullptr;
    QMap<QString, QPushButton*> m_buttons;
};

} // namespace pipeloop
