#pragma once

// Settings objects and the registry: the round trip each must survive, and
// loading one from a settings file as a user may have edited it.

#include "SettingsStore.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipeloop::testing
{

template <typename Settings> void ExpectRegistryRoundTrip(const Settings& saved)
{
    MemorySettingsStore memory;
    saved.SaveToRegistry(memory);
    Settings fromMemory;
    ASSERT_TRUE(fromMemory.LoadFromRegistry(memory));
    EXPECT_EQ(fromMemory, saved);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        NativeSettingsStore native(path);
        saved.SaveToRegistry(native);
        native.flush();
    }
    NativeSettingsStore reopened(path);
    Settings fromFile;
    ASSERT_TRUE(fromFile.LoadFromRegistry(reopened));
    EXPECT_EQ(fromFile, saved);
}

// Loads settings from a settings file holding text; false when the file
// cannot be written or the settings take nothing from it.
template <typename Settings> bool LoadFromSettingsFile(Settings& settings, const QByteArray& text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
    }
    NativeSettingsStore store(path);
    return settings.LoadFromRegistry(store);
}

} // namespace pipeloop::testing
