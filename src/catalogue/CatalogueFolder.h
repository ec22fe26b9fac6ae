#pragma once

#include "Cab.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pipeloop::catalogue {

// The entries a catalogue folder packs into, in this order: PARTS.PLDBI, then
// LOGO.JPG when present, then every other *.JPG file by name (names compared
// byte by byte after upper-casing, so the order does not depend on the file
// system). Entry names are the file names as they are. Other files (a price
// list, notes) are left out and listed in `skipped`. Fails with a message
// (returned in `error`) when the folder has no PARTS.PLDBI or a file cannot
// be read.
struct FolderEntries {
    std::vector<CabEntry> entries;
    QStringList skipped;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
FolderEntries ReadCatalogueFolder(const QString& folder);

// Writes every entry of a container into a folder as a file of its name.
// Entries whose names could leave the folder (empty, "." or "..", or with a
// slash, backslash or colon) and repeated names are skipped and listed.
struct UnpackResult {
    QStringList written;
    QStringList skipped;
    QString error; // the first file that could not be written
    bool ok() const { return error.isEmpty(); }
};
UnpackResult UnpackCatalogue(const TCAB& cab, const QString& folder);

} // namespace pipeloop::catalogue
