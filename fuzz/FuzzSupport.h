#pragma once

// What the fuzz targets share: a broken property ends the run, messages go
// nowhere, and the input arrives as a QByteArray.

#include "UiServices.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace pipeloop::fuzz
{

// Aborting is how a property fails: libFuzzer then keeps the input that broke it.
inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Shows nothing; a confirmation answers No, a question its first button.
class SilentUi : public UiServices
{
public:
    void show(Kind, const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
    QString ask(Kind, const QString&, const QStringList& buttons, const QString&) override
    {
        return buttons.isEmpty() ? QString() : buttons.front();
    }
};

// Every message of the code under test goes to one SilentUi, for the whole run.
inline void InstallSilentUi()
{
    static SilentUi silent;
    UiServices::install(&silent);
}

inline QByteArray InputBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace pipeloop::fuzz
