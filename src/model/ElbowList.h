#pragma once

// Making the loop's elbow list: the default loop of a building, the
// line grammar of elbow coordinate files and pasted text, the imports, and the
// extents the section renderer needs.

#include "Parsed.h"
#include "PipeLoopObjects.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pipeloop
{

using ElbowList = std::vector<std::unique_ptr<TElbow>>;

// The clipboard text the import takes at most (a 16384-character buffer with
// its terminating null).
inline constexpr qsizetype MaxClipboardElbowText = 16383;

// The longest line an elbow coordinate file may hold, in bytes, its line end
// not counted. A coordinate line is a few dozen bytes; a file with a longer
// one is not an elbow list, and reading it whole would cost memory in
// proportion to that line.
inline constexpr qsizetype MaxElbowFileLine = 4096;

// "ELBOW" + number: the name of the number-th elbow of a list.
QString ElbowName(qsizetype number);
// A new elbow named ElbowName(number), in no list yet.
std::unique_ptr<TElbow> NewElbow(size_t number, const Position& position, int32_t verticalDrop = 0);

// Appends an elbow named "ELBOW" + (count + 1).
TElbow& AppendElbow(ElbowList& elbows, const Position& position, int32_t verticalDrop = 0);

// The corners of the default loop of a building: (0, 0), (0, ewExtent),
// (nsExtent, ewExtent), (nsExtent, 0), (0, 0), all at height.
std::array<Position, 5> DefaultLoopCorners(int32_t nsExtent, int32_t ewExtent, int32_t height);

// Appends ELBOW1..ELBOW5 at the default loop's corners, VerticalDrop 0.
void CreateDefaultElbows(ElbowList& elbows, int32_t nsExtent, int32_t ewExtent, int32_t height);

// One line of an elbow file: east-west, north-south and an optional vertical
// drop, each multiplied by scale (1 for millimetres, 1000 for metres).
struct ElbowLine {
    int32_t EW = 0;
    int32_t NS = 0;
    int32_t VerticalDrop = 0;
};

// Tokens are runs of number characters (the digits and the locale's decimal
// separator); every other character ends one, so two separators in a row make
// an empty token and the line fails ("1000, 2000"). Separators before the
// first number character make no token, so a sign is dropped ("-500 200"
// gives EW 500, NS 200, as the example reads). The first three tokens
// are EW, NS and the vertical drop (0 when absent); at least two are needed.
std::optional<ElbowLine> ParseElbowLine(const QString& line, double scale);

// Appends an elbow for every line that ParseElbowLine accepts (HG 0); other
// lines are skipped. Lines end with CR LF, CR or LF. Returns the number added.
int ImportElbowsFromText(ElbowList& elbows, const QString& text, double scale);

// Reads an elbow coordinate file (8-bit Windows text) one line at a time,
// holding no more than one line, and hands every line that ParseElbowLine
// accepts to take, in file order; other lines are skipped. Lines end with CR
// LF, CR or LF. Returns the number of lines taken, or the message when the
// file cannot be read or holds a line longer than MaxElbowFileLine ("Line 7
// of FILE is too long."); the lines before the failure have been taken then.
Parsed<int> ReadElbowFile(const QString& path, double scale,
                          const std::function<void(const ElbowLine&)>& take);

// Reads an elbow coordinate file and imports its lines. Returns the number of
// elbows added, or ReadElbowFile's message when the file cannot be read or is
// refused (nothing is added then).
Parsed<int> ImportElbowsFromFile(ElbowList& elbows, const QString& path, double scale);

// The clipboard import once the desktop program has read the clipboard's
// text: more than MaxClipboardElbowText characters shows the warning "Too much
// data on clip board to import." and imports nothing; no text shows "No data
// on clip board to import."; otherwise the text is imported. Returns the
// number of elbows added.
int ImportElbowsFromClipboardText(ElbowList& elbows, const QString& text, double scale);

// The smallest and largest NS and EW over the elbows; with no elbows the
// outputs keep their values.
void ElbowExtents(const ElbowList& elbows, int32_t& minNS, int32_t& maxEW, int32_t& minEW,
                  int32_t& maxNS);

} // namespace pipeloop
