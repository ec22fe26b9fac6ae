#include "Recovery.h"

#include "AtomicSave.h"
#include "Clock.h"
#include "Document.h"
#include "IniFile.h"
#include "PipeLoop.h"
#include "SettingsStore.h"
#include "UiServices.h"
#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>

#include <algorithm>

namespace pipeloop
{

namespace
{

const QString FolderName = QStringLiteral("pipeloop-recovery");
const QString DamagedFolder = QStringLiteral("damaged");
const QString LockSuffix = QStringLiteral(".lock");
const QString CopySuffix = QStringLiteral(".copy");
const QString RecordSuffix = QStringLiteral(".record");
const QString Section = QStringLiteral("Recovery");

// A lock held by a running program is never taken for stale however old it
// is: only a lock whose process has gone is.
std::unique_ptr<QLockFile> LockAt(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QByteArray RecordBytes(const RecoveryRecord& record)
{
    IniFile ini;
    ini.writeString(Section, u"File", record.originalFile);
    ini.writeString(Section, u"Saved", record.savedAt.toString(Qt::ISODateWithMs));
    ini.writeString(Section, u"Version", record.version);
    ini.writeInteger(Section, u"Process", record.processId);
    return ini.toBytes();
}

// A record that cannot be read leaves the copy untitled, dated by its file.
RecoveryRecord ReadRecord(const QString& recordPath, const QString& copyPath)
{
    RecoveryRecord record;
    QFile file(recordPath);
    if (file.open(QIODevice::ReadOnly)) {
        const IniFile ini = IniFile::fromBytes(file.read(64 * 1024));
        record.originalFile = ini.readString(Section, u"File", QString());
        record.savedAt =
            QDateTime::fromString(ini.readString(Section, u"Saved", QString()), Qt::ISODateWithMs);
        record.version = ini.readString(Section, u"Version", QString());
        record.processId = ini.readInteger(Section, u"Process", 0);
    }
    if (!record.savedAt.isValid())
        record.savedAt = QFileInfo(copyPath).lastModified();
    return record;
}

// Messages of a load kept back, so that a copy that fails is reported once
// in words of its own; questions still reach the user.
class HeldMessages : public UiServices
{
public:
    HeldMessages() : m_next(Ui()), m_scope(*this) {}

    void show(Kind kind, const QString& text, const QString& helpTopic = {}) override
    {
        m_held.push_back({kind, text, helpTopic});
    }
    bool confirm(const QString& text, const QString& helpTopic = {}) override
    {
        return m_next.confirm(text, helpTopic);
    }
    QString ask(Kind kind, const QString& text, const QStringList& buttons,
                const QString& helpTopic = {}) override
    {
        return m_next.ask(kind, text, buttons, helpTopic);
    }

    QString texts() const
    {
        QStringList all;
        for (const Held& message : m_held)
            all.append(message.text);
        return all.join(QStringLiteral("\r\n"));
    }
    // Shows what was held, as the load would have.
    void release()
    {
        for (const Held& message : m_held)
            m_next.show(message.kind, message.text, message.helpTopic);
        m_held.clear();
    }

private:
    struct Held {
        Kind kind;
        QString text;
        QString helpTopic;
    };
    UiServices& m_next;
    ScopedUiServices m_scope;
    std::vector<Held> m_held;
};

} // namespace

QString RecoveryFolderFor(const SettingsStore& settings)
{
    const QString folder = settings.folder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(FolderName);
}

QString RecoveryQuestion(const RecoveryRecord& record)
{
    const QString what =
        record.originalFile.isEmpty()
            ? QStringLiteral("An untitled project")
            : QStringLiteral("The project ") + QDir::toNativeSeparators(record.originalFile);
    return QStringLiteral("%1 was not saved when PIPELOOP stopped on %2.\r\nRecover it ?")
        .arg(what, QLocale().toString(record.savedAt, QLocale::ShortFormat));
}

// ================================================================= this program's slot

RecoverySlot::RecoverySlot(QString folder) : m_folder(std::move(folder)) {}

RecoverySlot::~RecoverySlot()
{
    remove();
    if (m_lock)
        m_lock->unlock();
}

std::optional<QString> RecoverySlot::claim()
{
    if (m_lock)
        return std::nullopt;
    if (!QDir().mkpath(m_folder))
        return QStringLiteral("Cannot create folder : ") + m_folder;
    m_name = QStringLiteral("%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QDateTime::currentMSecsSinceEpoch());
    m_lock = LockAt(QDir(m_folder).filePath(m_name + LockSuffix));
    if (!m_lock)
        return QStringLiteral("Cannot lock : ") + QDir(m_folder).filePath(m_name + LockSuffix);
    return std::nullopt;
}

std::optional<QString> RecoverySlot::write(const Document& document)
{
    const TPipeLoop* design = document.design();
    if (!design)
        return std::nullopt;
    if (auto refused = claim())
        return refused;
    const QDir folder(m_folder);
    const QByteArray bytes =
        ProjectBytes(*design, document.options(), document.printSetup(), document.zoomFactors());
    // The copy first: a record always describes a copy that is complete.
    if (auto failed = SaveAtomically(folder.filePath(m_name + CopySuffix), bytes))
        return failed;
    m_written = true;
    const RecoveryRecord record{document.fileName(), Clock::current().now(), ProgramVersion(),
                                QCoreApplication::applicationPid()};
    return SaveAtomically(folder.filePath(m_name + RecordSuffix), RecordBytes(record));
}

void RecoverySlot::remove()
{
    if (!m_written)
        return;
    const QDir folder(m_folder);
    QFile::remove(folder.filePath(m_name + RecordSuffix));
    QFile::remove(folder.filePath(m_name + CopySuffix));
    m_written = false;
}

QString RecoverySlot::copyPath() const
{
    return m_written ? QDir(m_folder).filePath(m_name + CopySuffix) : QString();
}

// ======================================================= copies of programs that stopped

AbandonedCopy::AbandonedCopy(QString folder, QString name, std::unique_ptr<QLockFile> lock,
                             RecoveryRecord record)
    : m_folder(std::move(folder)), m_name(std::move(name)), m_lock(std::move(lock)),
      m_record(std::move(record))
{
}

AbandonedCopy::~AbandonedCopy() = default;

QString AbandonedCopy::path(const QString& suffix) const
{
    return QDir(m_folder).filePath(m_name + suffix);
}

bool AbandonedCopy::recoverInto(Document& document, const std::function<bool()>& mayReplace)
{
    const QString shownName = m_record.originalFile.isEmpty()
                                  ? QStringLiteral("untitled")
                                  : QFileInfo(m_record.originalFile).fileName();
    QFile file(path(CopySuffix));
    if (!file.open(QIODevice::ReadOnly)) {
        keepAside(file.errorString());
        return false;
    }
    if (file.size() > MaxProjectFileSize) {
        keepAside(QStringLiteral("The project file is too large : ") + shownName);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QString failure;
    bool opened = false;
    bool refused = false;
    {
        HeldMessages messages;
        bool asked = false;
        const auto askFirst = [&] {
            asked = true;
            return !mayReplace || mayReplace();
        };
        opened = document.openCopy(bytes, shownName, m_record.originalFile, askFirst);
        if (opened) {
            messages.release();
        } else {
            failure = messages.texts();
            // Refused by the question: nothing was wrong with the copy.
            refused = asked && failure.isEmpty();
        }
    }
    if (refused)
        return false;
    if (!opened) {
        keepAside(failure);
        return false;
    }
    discard();
    return true;
}

void AbandonedCopy::keepAside(const QString& reason)
{
    const QDir folder(m_folder);
    folder.mkpath(DamagedFolder);
    const QString kept = folder.filePath(DamagedFolder + u'/' + m_name + QStringLiteral(".plf"));
    QFile::rename(path(CopySuffix), kept);
    QFile::rename(path(RecordSuffix),
                  folder.filePath(DamagedFolder + u'/' + m_name + RecordSuffix));
    removeFiles();
    Ui().error(QStringLiteral("The recovery copy of %1 could not be read:\r\n%2\r\nIt was kept as "
                              "%3")
                   .arg(m_record.originalFile.isEmpty()
                            ? QStringLiteral("an untitled project")
                            : QDir::toNativeSeparators(m_record.originalFile),
                        reason, QDir::toNativeSeparators(kept)));
}

void AbandonedCopy::discard()
{
    removeFiles();
}

void AbandonedCopy::removeFiles()
{
    QFile::remove(path(RecordSuffix));
    QFile::remove(path(CopySuffix));
    if (m_lock) {
        m_lock->unlock(); // removes the lock file
        m_lock.reset();
    }
}

std::vector<std::unique_ptr<AbandonedCopy>> FindAbandonedCopies(const QString& folder)
{
    std::vector<std::unique_ptr<AbandonedCopy>> found;
    if (folder.isEmpty())
        return found;
    const QDir dir(folder);
    const QStringList copies = dir.entryList({QStringLiteral("*") + CopySuffix}, QDir::Files);
    for (const QString& copy : copies) {
        const QString name = copy.chopped(CopySuffix.size());
        std::unique_ptr<QLockFile> lock = LockAt(dir.filePath(name + LockSuffix));
        if (!lock)
            continue; // its program still runs, or another one is recovering it
        RecoveryRecord record = ReadRecord(dir.filePath(name + RecordSuffix), dir.filePath(copy));
        found.push_back(
            std::make_unique<AbandonedCopy>(folder, name, std::move(lock), std::move(record)));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a->record().savedAt > b->record().savedAt;
    });
    return found;
}

} // namespace pipeloop
