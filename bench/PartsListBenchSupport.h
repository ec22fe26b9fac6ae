#pragma once

// What the parts list benchmarks share: the repository's catalogue, loaded
// once, and messages counted instead of shown.

#include "BenchSupport.h"
#include "PartsDatabase.h"
#include "UiServices.h"

#include <QFile>

namespace pipeloop::bench
{

// The stacks' unsupported symbols are counted, not shown; the catalogue's
// expiry question is answered Yes, as a user who generates anyway would.
class SilentUi : public UiServices
{
public:
    void show(Kind kind, const QString& text, const QString& = {}) override
    {
        ++messages;
        if (kind == Kind::Error && firstError.isEmpty())
            firstError = text;
    }
    bool confirm(const QString&, const QString& = {}) override { return true; }
    QString ask(Kind, const QString&, const QStringList& buttons, const QString& = {}) override
    {
        return buttons.isEmpty() ? QString() : buttons.front();
    }
    long messages = 0;
    QString firstError;
};

inline catalogue::TPartsDatabase& Catalogue()
{
    static catalogue::TPartsDatabase database;
    if (!database.Loaded()) {
        QFile file(RepositoryFile(QStringLiteral("data/catalogue/PARTS.PLDBI")));
        file.open(QIODevice::ReadOnly);
        database.LoadCatalogueText(file.readAll());
    }
    return database;
}

} // namespace pipeloop::bench
