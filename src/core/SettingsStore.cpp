#include "SettingsStore.h"

#include <QSettings>

namespace pipeloop {

namespace {
const QString KeyGroup = QStringLiteral("PL4ZAVOZA");

// Integers must be stored as integers: a text that merely looks numeric is
// accepted too, since INI-backed stores keep every value as text.
bool toInt32(const QVariant& value, int32_t& out)
{
    if (!value.isValid())
        return false;
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        return false;
    out = static_cast<int32_t>(number);
    return true;
}
} // namespace

bool SettingsStore::RegReadBool(const QString& name, bool fallback) const
{
    int32_t number = 0;
    return toInt32(load(name), number) ? number != 0 : fallback;
}

int32_t SettingsStore::RegReadInt(const QString& name, int32_t fallback) const
{
    int32_t number = 0;
    return toInt32(load(name), number) ? number : fallback;
}

QString SettingsStore::RegReadText(const QString& name, const QString& fallback) const
{
    const QVariant value = load(name);
    if (!value.isValid() || !value.canConvert<QString>())
        return fallback;
    return value.toString();
}

QStringList MemorySettingsStore::names() const
{
    QStringList present;
    for (const QString& name : m_order)
        if (m_values.contains(name))
            present.append(name);
    return present;
}

void MemorySettingsStore::store(const QString& name, const QVariant& value)
{
    if (!m_order.contains(name))
        m_order.append(name);
    m_values.insert(name, value);
    m_exists = true;
}

NativeSettingsStore::NativeSettingsStore()
#ifdef Q_OS_WIN
    : m_settings(std::make_unique<QSettings>(
          QStringLiteral("HKEY_CURRENT_USER\\Software\\Zelkworks\\PipeLoop"),
          QSettings::NativeFormat))
#else
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Zelkworks"),
                                             QStringLiteral("PipeLoop")))
#endif
{
    m_settings->beginGroup(KeyGroup);
}

NativeSettingsStore::NativeSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    m_settings->beginGroup(KeyGroup);
}

NativeSettingsStore::~NativeSettingsStore() = default;

QString NativeSettingsStore::keyPath()
{
    return QStringLiteral("\\Software\\Zelkworks\\PipeLoop\\PL4ZAVOZA");
}

bool NativeSettingsStore::keyExists() const { return !m_settings->childKeys().isEmpty(); }

bool NativeSettingsStore::contains(const QString& name) const
{
    return m_settings->contains(name);
}

QStringList NativeSettingsStore::names() const { return m_settings->childKeys(); }

void NativeSettingsStore::remove(const QString& name) { m_settings->remove(name); }

void NativeSettingsStore::flush() { m_settings->sync(); }

QVariant NativeSettingsStore::load(const QString& name) const { return m_settings->value(name); }

void NativeSettingsStore::store(const QString& name, const QVariant& value)
{
    m_settings->setValue(name, value);
}

} // namespace pipeloop
