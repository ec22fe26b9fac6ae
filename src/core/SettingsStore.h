#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>

class QSettings;

namespace pipeloop
{

// The user's settings: one flat key of named values (integers and texts), the
// program's registry key on Windows. Reads never fail: a value that is missing
// or of the wrong kind gives the caller's default, silently.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // Whether the key has ever been written (a first start has none).
    virtual bool keyExists() const = 0;
    virtual bool contains(const QString& name) const = 0;
    virtual QStringList names() const = 0;
    virtual void remove(const QString& name) = 0;

    bool RegReadBool(const QString& name, bool fallback) const;
    int32_t RegReadInt(const QString& name, int32_t fallback) const;
    QString RegReadText(const QString& name, const QString& fallback) const;

    void writeBool(const QString& name, bool value) { writeInt(name, value ? 1 : 0); }
    void writeInt(const QString& name, int32_t value) { store(name, QVariant(value)); }
    void writeText(const QString& name, const QString& value) { store(name, QVariant(value)); }

    // Pushes written values to permanent storage.
    virtual void flush() {}
    // The folder that holds the settings on disk, where the program keeps
    // its other files of the user's (recovery copies); empty when the
    // settings live nowhere on disk.
    virtual QString folder() const { return {}; }

protected:
    // An invalid QVariant when the value is missing.
    virtual QVariant load(const QString& name) const = 0;
    virtual void store(const QString& name, const QVariant& value) = 0;
};

// Settings kept in memory, for tests and for runs that must not touch the
// user's own settings.
class MemorySettingsStore : public SettingsStore
{
public:
    bool keyExists() const override { return m_exists; }
    bool contains(const QString& name) const override { return m_values.contains(name); }
    QStringList names() const override;
    void remove(const QString& name) override { m_values.remove(name); }

    // Puts a raw value of any kind, as a registry editor could.
    void setRaw(const QString& name, const QVariant& value) { store(name, value); }

protected:
    QVariant load(const QString& name) const override { return m_values.value(name); }
    void store(const QString& name, const QVariant& value) override;

private:
    QHash<QString, QVariant> m_values;
    QStringList m_order;
    bool m_exists = false;
};

// The user's own settings through QSettings in the platform's native format:
// HKEY_CURRENT_USER\Software\Zelkworks\PipeLoop\PL4ZAVOZA on Windows, the same
// path under ~/.config elsewhere.
class NativeSettingsStore : public SettingsStore
{
public:
    NativeSettingsStore();
    // A store in an INI file of the caller's choice (tests, portable installs).
    explicit NativeSettingsStore(const QString& iniPath);
    ~NativeSettingsStore() override;

    bool keyExists() const override;
    bool contains(const QString& name) const override;
    QStringList names() const override;
    void remove(const QString& name) override;
    void flush() override;
    QString folder() const override;

    static QString keyPath();

protected:
    QVariant load(const QString& name) const override;
    void store(const QString& name, const QVariant& value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace pipeloop
