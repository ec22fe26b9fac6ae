#pragma once

// TOptionsForm ("PIPELOOP options"): the user's options on seven pages --
// general behaviour, how options travel with project files, printing, pipe
// colours, symbol and building colours, the grid and the parts settings.
//
// The window is given the options object and edits it in place on every
// Apply (and OK), so that whoever opened it can show each step: the main
// window repaints the drawing, the print setup its preview, through the
// callback that runs after every apply. What the caller then makes of the
// change (an undoable change of the design, a price list to reload) it reads
// from the result.

#include "PipeLoopOptions.h"

#include <QDialog>

#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;

namespace pipeloop
{

class AppDialogs;
class SwatchButton;

enum class OptionsPage { General, Settings, Print, PipeColours, SymbolColours, Grid, Parts };

struct OptionsResult {
    bool accepted = false;         // closed with OK
    bool changed = false;          // the options differ from those it opened on
    bool priceListChanged = false; // another price list file was chosen and applied
};

// A wall or feature hatch swatch's next style on a click: solid, horizontal,
// vertical, forward diagonal, backward diagonal, cross, diagonal cross and
// round again; any other style goes to solid.
int32_t NextSwatchStyle(int32_t style);

class TOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsForm(AppDialogs& dialogs, QWidget* parent = nullptr);
    ~TOptionsForm() override;

    // Shows the window modally on options (lent until it closes) at the page.
    OptionsResult Open(TPipeLoopOptions& options, OptionsPage page = OptionsPage::General,
                       std::function<void()> afterApply = {});
    // What Open does before the window shows: every control loaded from the
    // options, OK and Apply disabled.
    void Prepare(TPipeLoopOptions& options, OptionsPage page, std::function<void()> afterApply);
    OptionsResult Result() const;

    // Apply (and OK): every control written back to the options, OK and
    // Apply disabled, then the caller's callback.
    void Apply();
    // OK and Apply are enabled: something changed since the last apply.
    bool Modified() const { return m_modified; }
    OptionsPage Page() const;
    QString HelpTopic() const;

    // OK applies and closes; Close (Escape, the window's close box) asks
    // "Discard option changes ?" while OK is enabled, and No applies first.
    void accept() override;
    void reject() override;

private:
    // How one control shows an option and writes it back (load only reads).
    struct Binding {
        std::function<void(TPipeLoopOptions&)> load;
        std::function<void(TPipeLoopOptions&)> store;
    };

    QWidget* createGeneralPage();
    QWidget* createSettingsPage();
    QWidget* createPrintPage();
    QWidget* createPipeColoursPage();
    QWidget* createSymbolColoursPage();
    QWidget* createGridPage();
    QWidget* createPartsPage();
    QWidget* createButtons();

    void addCheck(QVBoxLayout* page, const char* name, const QString& caption,
                  bool TPipeLoopOptions::*option);
    void addModeGroup(QVBoxLayout* page, const char* name, const QString& title,
                      const QStringList& captions, SettingsMode (TPipeLoopOptions::*get)() const,
                      void (TPipeLoopOptions::*set)(int32_t));
    void addSizeSpin(QVBoxLayout* page, const char* name, const QString& caption,
                     int32_t TPipeLoopOptions::*option, int minimum, int maximum);
    void addFontGroup(QVBoxLayout* page, const char* name, const QString& title,
                      FontSpec TPipeLoopOptions::*option, bool sizeAppliesAtOnce);
    SwatchButton* addColourSwatch(const char* name, const QString& caption, const QString& title,
                                  const QString& topic, const char* whiteRefusal,
                                  WinColour& (*option)(TPipeLoopOptions&));
    SwatchButton* addStyleSwatch(const char* name, SwatchButton& colour,
                                 int32_t (TPipeLoopOptions::*get)() const,
                                 void (TPipeLoopOptions::*set)(int32_t));
    void changePriceList();
    // A control changed: OK and Apply are enabled, and a size option (with
    // automatic apply ticked) applies at once.
    void edited(bool sizeOption = false);
    void load();

    AppDialogs& m_dialogs;
    TPipeLoopOptions* m_options = nullptr;
    TPipeLoopOptions m_atOpen;
    std::function<void()> m_afterApply;
    bool m_modified = false;
    bool m_loading = false;
    std::vector<Binding> m_bindings;

    QTabWidget* m_pages = nullptr;
    QCheckBox* m_autoApply = nullptr;
    QListWidget* m_gridStyle = nullptr;
    SwatchButton* m_gridColour = nullptr;
    QLineEdit* m_priceListFile = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace pipeloop
