#include "RecentFiles.h"

#include "SettingsStore.h"

#include <QFileInfo>

namespace pipeloop
{

void RecentFiles::Add(const QString& path)
{
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        if (m_paths[i].compare(path, Qt::CaseInsensitive) == 0) {
            m_paths.removeAt(i);
            m_paths.prepend(path);
            return;
        }
    }
    if (m_paths.size() >= Capacity)
        m_paths.removeLast();
    m_paths.prepend(path);
}

void RecentFiles::Load(const SettingsStore& store)
{
    for (int i = Capacity; i >= 1; --i) {
        const QString path = store.RegReadText(QStringLiteral("LastFile%1").arg(i), QString());
        if (!path.isEmpty() && QFileInfo::exists(path))
            Add(path);
    }
}

void RecentFiles::Save(SettingsStore& store) const
{
    for (qsizetype i = 0; i < m_paths.size(); ++i)
        store.writeText(QStringLiteral("LastFile%1").arg(i + 1), m_paths[i]);
}

} // namespace pipeloop
