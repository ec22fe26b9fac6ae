#pragma once

// Where the program finds the files it ships with: the demo catalogue, the
// welcome picture, the help collection, the lessons, the language file and
// the sample projects.
//
// In a build tree, or a folder the program was unpacked into, they sit beside
// the executable. Installed as PREFIX/bin/pipeloop, they sit in
// PREFIX/share/pipeloop. Both are found from the executable's own folder, so
// an install under any prefix works without being told where it is.

#include <QString>

namespace pipeloop
{

// The demo catalogue's file name; its presence beside the executable marks a
// build tree or an unpacked folder.
QString ProgramCatalogueName();

// The data folder of a program whose executable is in programFolder: that
// folder when the catalogue is there, else programFolder/../share/pipeloop
// when it exists, else programFolder (which names the missing files where a
// user would look for them).
QString ProgramDataFolderFor(const QString& programFolder);

// The running program's data folder (from QCoreApplication::applicationDirPath()).
QString ProgramDataFolder();

// A file in the running program's data folder.
QString ProgramDataFile(const QString& name);

} // namespace pipeloop
