#pragma once

#include "Cab.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pipeloop::catalogue
{

// The entries a catalogue folder packs into, in this order: PARTS.PLDBI, then
// LOGO.JPG when present, then every other *.JPG file by name (names compared
// byte by byte after upper-casing, so the order does not depend on the file
// system). Entry names are the file names as they are. Other files (a price
// list, notes) are left out and listed in `skipped`. Fails with a message
// (returned in `error`) when the folder has no PARTS.PLDBI, a file to pack has
// a name that UnpackCatalogue would refuse or Windows-1252 cannot write, or a
// file cannot be read.
struct FolderEntries {
    std::vector<CabEntry> entries;
    QStringList skipped;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
FolderEntries ReadCatalogueFolder(const QString& folder);

// Writes every entry of a container into a folder as a file of its name, all
// of them or none. A container is refused before anything is written when an
// entry name could leave the folder or make a strange file (empty, "." or
// "..", a slash, backslash or colon, a control character such as a line
// break, longer than a file name may be), or when a file of an entry's name
// in the folder is anything but a plain file (a symbolic link is never
// written through). The entries are written into a new private folder inside
// the target and moved into place only once all of them are on disk, so a
// failure leaves the folder as it was. A repeated name (case aside) is
// skipped and listed: the program reads the first.
struct UnpackResult {
    QStringList written;
    QStringList skipped;
    QString error; // why nothing was unpacked
    bool ok() const { return error.isEmpty(); }
};
UnpackResult UnpackCatalogue(const TCAB& cab, const QString& folder);

} // namespace pipeloop::catalogue
