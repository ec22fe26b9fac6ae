#pragma once

#include <QString>

namespace pipeloop
{

// A value of the program's version information: "FileVersion" and
// "ProductVersion" give the four-part version (1.0.0.0); other names give "".
QString VersionString(const QString& name);

// The program's four-part file version.
QString ProgramVersion();

// Whether candidate is a later version than current, comparing up to four
// dot-separated numbers; parts that are missing or not numbers count as 0.
bool IsNewerVersion(const QString& candidate, const QString& current);

} // namespace pipeloop
