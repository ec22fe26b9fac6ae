#pragma once

// The recent project list: at most eight paths, most recent first, compared
// without regard to case (Windows paths are case-blind, and users retype them).

#include <QString>
#include <QStringList>

namespace pipeloop
{

class SettingsStore;

class RecentFiles
{
public:
    static constexpr int Capacity = 8;

    // Moves a known path to the top, or inserts it there (dropping the
    // oldest when the list is full).
    void Add(const QString& path);

    const QStringList& paths() const { return m_paths; }
    int count() const { return static_cast<int>(m_paths.size()); }
    QString at(int index) const { return m_paths.value(index); }

    // "LastFile8" down to "LastFile1", skipping empty values and files that
    // no longer exist, so "LastFile1" ends on top.
    void Load(const SettingsStore& store);
    // "LastFile1" … in list order.
    void Save(SettingsStore& store) const;

private:
    QStringList m_paths;
};

} // namespace pipeloop
