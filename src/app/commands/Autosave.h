#pragma once

// Autosave: while the open design has unsaved changes, a recovery copy of it
// is written every interval into this program's slot of the recovery folder
// (Recovery.h). A save, an undo back to the saved state, another design
// (New, Open) and an orderly end remove it. At start the copies that
// programs which stopped left behind are offered back.

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

namespace pipeloop
{

class Document;
class FileCommands;
class RecoverySlot;
class TPipeLoop;

// How often a copy is written unless the settings say otherwise.
inline constexpr std::chrono::seconds DefaultAutosaveInterval{120};

class Autosave : public QObject
{
    Q_OBJECT
public:
    Autosave(Document& document, FileCommands& files, QObject* parent = nullptr);
    ~Autosave() override;

    // Where copies go; empty keeps none.
    void setFolder(const QString& folder);
    const QString& folder() const { return m_folder; }
    // Zero or less keeps none.
    void setInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds interval() const { return m_timer.intervalAsDuration(); }

    // Asks about each copy a stopped program left, the newest first: Yes
    // opens it (and ends the questions), No removes it. True when one was
    // opened.
    bool offerRecovery();
    // Writes the copy now when the design has unsaved changes not copied yet.
    void writeIfChanged();
    // The copy goes (a clean end of the program).
    void discard();
    // This program's copy, empty while there is none.
    QString copyPath() const;

private:
    void designChanged();

    Document& m_document;
    FileCommands& m_files;
    QString m_folder;
    std::unique_ptr<RecoverySlot> m_slot;
    QTimer m_timer;
    const TPipeLoop* m_design = nullptr;
    // Changes since the copy was last written.
    bool m_changed = false;
    // A failure is told once, not at every tick.
    bool m_failureTold = false;
};

} // namespace pipeloop
