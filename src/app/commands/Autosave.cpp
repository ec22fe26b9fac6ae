#include "Autosave.h"

#include "Document.h"
#include "FileCommands.h"
#include "Recovery.h"
#include "UiServices.h"

namespace pipeloop
{

Autosave::Autosave(Document& document, FileCommands& files, QObject* parent)
    : QObject(parent), m_document(document), m_files(files)
{
    m_timer.setInterval(DefaultAutosaveInterval);
    connect(&m_timer, &QTimer::timeout, this, &Autosave::writeIfChanged);
    connect(&m_document, &Document::designChanged, this, &Autosave::designChanged);
    connect(&m_document, &Document::optionsChanged, this, [this] { m_changed = true; });
    connect(&m_document, &Document::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            discard(); // saved, or undone back to what the file holds
    });
}

Autosave::~Autosave() = default;

void Autosave::setFolder(const QString& folder)
{
    if (folder == m_folder)
        return;
    m_slot.reset(); // removes a copy in the old folder
    m_folder = folder;
    if (!m_folder.isEmpty())
        m_slot = std::make_unique<RecoverySlot>(m_folder);
    setInterval(interval());
}

void Autosave::setInterval(std::chrono::milliseconds interval)
{
    m_timer.setInterval(interval);
    if (m_slot && interval.count() > 0)
        m_timer.start();
    else
        m_timer.stop();
}

void Autosave::designChanged()
{
    if (m_document.design() != m_design) {
        // Another design: the copy of the one before is of no use now.
        m_design = m_document.design();
        discard();
    }
    m_changed = true;
}

void Autosave::writeIfChanged()
{
    if (!m_slot || !m_changed || !m_document.isModified())
        return;
    if (const auto failed = m_slot->write(m_document)) {
        // A box from a timer could land in the middle of a drag; the copy is
        // tried again at the next tick.
        if (!m_failureTold)
            qWarning("pipeloop: the recovery copy could not be written: %s",
                     qUtf8Printable(*failed));
        m_failureTold = true;
        return;
    }
    m_failureTold = false;
    m_changed = false;
}

void Autosave::discard()
{
    if (m_slot)
        m_slot->remove();
    // The next change is copied afresh.
    m_changed = m_document.isModified();
}

QString Autosave::copyPath() const
{
    return m_slot ? m_slot->copyPath() : QString();
}

bool Autosave::offerRecovery()
{
    for (const auto& copy : FindAbandonedCopies(m_folder)) {
        if (!Ui().confirm(RecoveryQuestion(copy->record()))) {
            copy->discard();
            continue;
        }
        if (m_files.recover(*copy)) {
            // Copied at once into this program's slot: the copy recovered is gone.
            writeIfChanged();
            return true;
        }
    }
    return false;
}

} // namespace pipeloop
