#pragma once

#include "Parsed.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace pipeloop
{

// Display units of a project: how lengths are shown and typed. The numbers are
// stored in project files.
enum class DisplayUnits : uint8_t { Metres = 0, Millimetres = 1, FeetInches = 2 };

inline constexpr double MmPerInch = 25.4;
inline constexpr double MmPerFoot = 304.8;
inline constexpr double MmPerMetre = 1000.0;
inline constexpr double MmPerSixteenth = MmPerInch / 16.0;

// The inch-fraction text of a size given in sixteenths of an inch (8 -> 1/2"),
// or an empty text when the size is not a nominal one.
QString NominalSizeText(int sixteenths);

// A length in millimetres as the user reads it: 5.000m, 5000mm or 16'5".
QString FormatLength(uint32_t millimetres, DisplayUnits units);

// A length typed by the user, in any unit notation, with bare numbers read in
// the display units. Fails with a message the user can act on.
Parsed<int32_t> ParseLength(const QString& text, DisplayUnits units);

// The message shown when a typed length is refused.
QString InvalidValueMessage(const QString& typedText);

// A length the user typed into an entry (a distance, a height, a position):
// ParseLength in the display units, refusing a negative length, which would
// come back as a huge unsigned number. Fails with InvalidValueMessage(text).
Parsed<int32_t> ReadTypedLength(const QString& text, DisplayUnits units);

// The key filter of length entry fields: whether key may be typed after text.
// The locale's decimal separator plays the full stop's role.
inline constexpr QChar BackspaceKey = QChar(8);
bool LengthKeyAllowed(const QString& text, QChar key);
// The key filter of plain number fields: digits, backspace, the full stop and
// the locale's decimal separator.
bool NumberKeyAllowed(QChar key);

// The text of a pipe, outlet or hose size: 25mm, 1/2", 20.500mm.
QString SizeText(float sizeMm);

// Reads a size text back (25mm, 12.5, 1/2", 1"1/4); nothing on failure.
std::optional<float> ParseSizeText(const QString& text);

// The standard pipe sizes, in millimetres: 20, 25, 32, 40, 50, 63, 80, 110,
// 16.5, 19.05, 25.4 (the lists offered when no catalogue says otherwise).
const QList<float>& FullPipeSizes();
// The full list through SizeText.
QStringList FullPipeSizeTexts();
// The first nine texts joined by line feeds.
QString DropSizeText();

// Reads a real written in any locale: every character other than a digit, "+",
// "-", "E" or "e" is taken as the decimal separator.
Parsed<double> ParseReal(const QString& text);

// Strict conversions with the messages users see for bad numbers.
Parsed<int32_t> ParseInteger(const QString& text);
Parsed<double> ParseLocaleReal(const QString& text);

// A real in the locale's general format ("%g" with 15 significant digits):
// 25, 0.5 (0,5 with a comma), 1E20.
QString FormatGeneral(double value);

// A real in the locale's format with a fixed number of decimals ("%.3F").
QString FormatFixed(double value, int decimals);

} // namespace pipeloop
