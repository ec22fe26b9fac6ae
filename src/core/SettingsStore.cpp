#include "SettingsStore.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace pipeloop
{

namespace
{
const QString KeyGroup = QStringLiteral("PL4ZAVOZA");

// Integers must be stored as integers (or booleans): a text that merely looks
// numeric is accepted too, since INI-backed stores keep every value as text.
// Other kinds (reals, binary data, lists) are the wrong kind, as they would be
// for a registry integer, and give the caller's default.
bool toInt32(const QVariant& value, int32_t& out)
{
    if (!value.isValid())
        return false;
    bool ok = false;
    qlonglong number = 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        number = value.toLongLong(&ok);
        break;
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong unsignedNumber = value.toULongLong(&ok);
        ok = ok && unsignedNumber <= qulonglong(INT32_MAX);
        number = qlonglong(unsignedNumber);
        break;
    }
    case QMetaType::QString:
        number = value.toString().toLongLong(&ok);
        break;
    default:
        return false;
    }
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        return false;
    out = static_cast<int32_t>(number);
    return true;
}

// Texts must be texts; integers (and booleans) are shown in decimal, as an
// INI-backed store cannot tell them from texts anyway. Lists, binary data and
// other kinds give the caller's default.
bool toText(const QVariant& value, QString& out)
{
    if (!value.isValid())
        return false;
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        out = value.toString();
        return true;
    default:
        return false;
    }
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
    QString text;
    return toText(load(name), text) ? text : fallback;
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

QString NativeSettingsStore::folder() const
{
#ifdef Q_OS_WIN
    // The registry is no folder: there the program's configuration folder
    // stands in for it.
    if (m_settings->format() == QSettings::NativeFormat)
        return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
    return QFileInfo(m_settings->fileName()).absolutePath();
}

QString NativeSettingsStore::keyPath()
{
    return QStringLiteral("\\Software\\Zelkworks\\PipeLoop\\PL4ZAVOZA");
}

bool NativeSettingsStore::keyExists() const
{
    return !m_settings->childKeys().isEmpty();
}

bool NativeSettingsStore::contains(const QString& name) const
{
    return m_settings->contains(name);
}

QStringList NativeSettingsStore::names() const
{
    return m_settings->childKeys();
}

void NativeSettingsStore::remove(const QString& name)
{
    m_settings->remove(name);
}

void NativeSettingsStore::flush()
{
    m_settings->sync();
}

QVariant NativeSettingsStore::load(const QString& name) const
{
    return m_settings->value(name);
}

void NativeSettingsStore::store(const QString& name, const QVariant& value)
{
    m_settings->setValue(name, value);
}

} // namespace pipeloop
