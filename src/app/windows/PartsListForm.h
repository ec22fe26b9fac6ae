#pragma once

// TZAVOZAPartsListForm: the parts list window. "Options" holds what the
// generator is asked for, "Generate" the report view and "Information" the
// status log with a summary of the drop equipment no ordered part covers.
// Generate runs the generator on this window's thread: it yields to the event
// loop as it walks, so the window keeps painting, the progress bar moves, the
// log grows and Cancel is seen. While it runs the window cannot be closed.
//
// Made once by the main window; the options stay as the user left them while
// the program runs. What is done with a finished report (print, save, copy,
// e-mail, the catalogue) is PartsListOutputs'.

#include "PartsListOptions.h"
#include "PartsListOutputs.h"

#include <QDialog>
#include <QMap>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QMenu;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;

namespace pipeloop
{

class StatusLogModel;
class TPipeLoop;
namespace catalogue
{
class TPartsListGenerator;
}

class TZAVOZAPartsListForm : public QDialog
{
    Q_OBJECT
public:
    TZAVOZAPartsListForm(AppDialogs& dialogs, const QString& appDir, DocumentOpener openDocument,
                         MailOpener openMail, QWidget* parent = nullptr);
    ~TZAVOZAPartsListForm() override;

    // Shows the window modally for the design and the catalogue (lent until
    // it closes); the last two serve "EMail List".
    void Open(TPipeLoop& design, catalogue::TPartsDatabase& database, bool internetDetected,
              const QString& orderAddress);
    // What Open does before the window shows: the colour from the design, the
    // price options only with a price list, the Options tab in front, the
    // output commands off.
    void Prepare(TPipeLoop& design, catalogue::TPartsDatabase& database, bool internetDetected,
                 const QString& orderAddress);

    // The "Generate" and "Cancel" buttons.
    void Generate();
    void Cancel();
    bool Running() const;
    // The options as the controls show them.
    catalogue::PartsListOptions Options() const;
    // After a generation without a stop: print, save, e-mail and the pop-up.
    bool CommandsEnabled() const;

    QTabWidget* tabs() const { return m_tabs; }
    QTextEdit* reportView() const { return m_reportView; }
    // The Information tab's lines.
    QStringList informationLines() const;
    QProgressBar* progress() const { return m_progress; }
    QMenu* reportPopup() const { return m_popup; }
    QPushButton* button(const QString& name) const;
    // The check box of a two-port manifold code and the picture beside it.
    QCheckBox* manifoldBox(const QString& code) const { return m_manifoldBoxes.value(code); }
    QLabel* manifoldPicture(const QString& code) const { return m_manifoldPictures.value(code); }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createOptionsTab();
    QWidget* createManifoldChoice();
    QWidget* createGenerateTab();
    QWidget* createInformationTab();
    QWidget* createButtons();
    void createPopup();
    QPushButton* addButton(const QString& name, const QString& caption);
    void showManifoldPictures();
    void setRunning(bool running);
    void showProgress();
    void showReport();
    void showUncoveredEquipment();
    void emailList();
    void openPopup(const QPoint& position);
    QString title() const;

    AppDialogs& m_dialogs;
    QString m_appDir;
    PartsListOutputs m_outputs;
    TPipeLoop* m_design = nullptr;
    catalogue::TPartsDatabase* m_database = nullptr;
    bool m_internetDetected = false;
    QString m_orderAddress;
    std::unique_ptr<catalogue::TPartsListGenerator> m_generator;
    // How far the generation has got, shown now and then.
    int64_t m_walked = 0;
    int64_t m_walkTotal = 0;

    QTabWidget* m_tabs = nullptr;
    QRadioButton* m_blue = nullptr;
    QRadioButton* m_grey = nullptr;
    QRadioButton* m_pipe4m = nullptr;
    QRadioButton* m_pipe6m = nullptr;
    QCheckBox* m_steelMain = nullptr;
    QCheckBox* m_steelDrops = nullptr;
    QCheckBox* m_endCaps = nullptr;
    QButtonGroup* m_manifolds = nullptr;
    QMap<QString, QCheckBox*> m_manifoldBoxes;
    QMap<QString, QLabel*> m_manifoldPictures;
    QCheckBox* m_prices = nullptr;
    QCheckBox* m_splitPackages = nullptr;
    QCheckBox* m_catalogueCodes = nullptr;
    QTextEdit* m_reportView = nullptr;
    QProgressBar* m_progress = nullptr;
    QListView* m_log = nullptr;
    StatusLogModel* m_logModel = nullptr;
    QMenu* m_popup = nullptr;
    QMap<QString, QPushButton*> m_buttons;
};

} // namespace pipeloop
