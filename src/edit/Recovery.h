#pragma once

// Recovery copies: while a design has unsaved changes the desktop program
// keeps a copy of it in a folder beside the user's settings, so that a crash
// or a power cut costs minutes of work, not the afternoon's.
//
// Each running program owns one slot of the folder, named after its process
// and the moment it made the slot, and holds the slot's lock file for as long
// as it runs. Three files make a slot: NAME.lock, NAME.copy (the project's
// bytes, as a save writes them) and NAME.record (an INI text: the design's
// own file, the time, the program's version, the process). A copy whose lock
// nobody holds any more was left by a program that stopped; a copy whose lock
// is held belongs to a program still running and is never touched. A copy is
// written atomically and never over the user's file.

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

namespace pipeloop
{

class Document;
class SettingsStore;

// Where the copies of the user whose settings these are live: a folder
// beside the settings, empty when the settings are on no disk.
QString RecoveryFolderFor(const SettingsStore& settings);

// What a copy's record says.
struct RecoveryRecord {
    QString originalFile; // the design's own file; empty for one never saved
    QDateTime savedAt;
    QString version;
    qint64 processId = 0;
};

// "The project NAME was not saved when PIPELOOP stopped on DATE TIME." CR LF
// "Recover it ?" (an untitled project for a design never saved).
QString RecoveryQuestion(const RecoveryRecord& record);

// This program's slot. It is made at the first write; the destructor removes
// the copy and lets the lock go, as an orderly end of the program must.
class RecoverySlot
{
public:
    explicit RecoverySlot(QString folder);
    ~RecoverySlot();
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;

    // Writes the open design's copy, then its record; nothing on success,
    // else why not. Without a design nothing is written.
    std::optional<QString> write(const Document& document);
    // The copy and its record go; the slot stays locked.
    void remove();
    // The copy's path while there is one, else empty.
    QString copyPath() const;

private:
    std::optional<QString> claim();

    QString m_folder;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    bool m_written = false;
};

// A copy left by a program that no longer runs, locked by this program while
// the object lives: a second program starting meanwhile does not offer it too.
class AbandonedCopy
{
public:
    AbandonedCopy(QString folder, QString name, std::unique_ptr<QLockFile> lock,
                  RecoveryRecord record);
    ~AbandonedCopy();
    AbandonedCopy(const AbandonedCopy&) = delete;
    AbandonedCopy& operator=(const AbandonedCopy&) = delete;

    const RecoveryRecord& record() const { return m_record; }
    // Opens the copy in the document (Document::openCopy, mayReplace asked
    // first) and removes it. A copy that cannot be read is not opened in
    // part: the reason is shown through Ui() and the copy is kept aside in
    // the folder "damaged", where it is never offered again. False then, and
    // when mayReplace said no (the copy stays for the next start).
    bool recoverInto(Document& document, const std::function<bool()>& mayReplace = {});
    // The copy is removed unread.
    void discard();

private:
    QString path(const QString& suffix) const;
    void keepAside(const QString& reason);
    void removeFiles();

    QString m_folder;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    RecoveryRecord m_record;
};

// The copies in folder whose program no longer runs, the newest first, each
// locked for the caller.
std::vector<std::unique_ptr<AbandonedCopy>> FindAbandonedCopies(const QString& folder);

} // namespace pipeloop
