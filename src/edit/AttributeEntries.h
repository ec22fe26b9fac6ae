#pragma once

// What the attribute dialogs make of the texts a user leaves in them: the
// drop, inlet, position and length entries. The desktop dialogs and
// pipeloop-cli edit's operations read and refuse with the same rules and
// words; each refusal is the message the dialog shows while it stays open.

#include "ModelTypes.h"
#include "Parsed.h"
#include "Units.h"

#include <QString>

#include <cstdint>

namespace pipeloop
{

class TDrop;
struct AirDemand;

// The drop dialog's " Threaded outlet connection type . . . " choice.
enum class HoseConnection { None, AirHose, RecoilHose };

// The drop dialog's controls as texts, as the user leaves them.
struct DropEntry {
    int Style = 0; // 0..5, the drop's style
    QString Length;
    QString Outlet;
    HoseConnection Connection = HoseConnection::None;
    QString HoseSize;
};

// The dialog as it opens on a drop: its own style, length (in units), outlet
// and hose size, and the connection its symbols already make (a coupler,
// hose, coupler stack), so that the last use of the dialog never leaks in.
DropEntry DropEntryOf(const TDrop& drop, DisplayUnits units);

// For styles 3 and 4, the warning that the catalogue's supplier does not
// carry them; empty otherwise.
QString DropStyleWarning(int style, const QString& supplier);
// BuiltInOutletSizes(style), the outlets offered without a catalogue, is in
// ModelTypes.h: the catalogue falls back on it too.
// Shown when a style offers no outlet for the pipe size.
QString NoOutletsMessage();

// The OK step: "Height invalid.", "Outlet size invalid.", "Hose size invalid."
// (read only for styles 0 and 4 with a hose), else the drop takes the values
// and, on a bare drop, the hose group chosen. The result says whether the
// drop changed (length, outlet, style, hose size or added symbols).
Parsed<bool> ApplyDropEntry(TDrop& drop, const DropEntry& entry, DisplayUnits units);

struct InletValues {
    float PipeSize = 0.0f;
    int32_t PipeLength = 0;
};
// The inlet dialog's OK step: "Invalid pipe size : " + text, "Invalid pipe
// length : " + text.
Parsed<InletValues> ReadInletEntry(const QString& size, const QString& length, DisplayUnits units);

// The air demand fields of the drop and inlet dialogs (and the edit
// script's demand): litres per second and a usage factor, each with the
// locale's decimal separator or a full stop. Refused: a flow that is not a
// number of zero or more (InvalidValueMessage), "The usage factor must be
// from 0 to 1 : " + the text.
Parsed<AirDemand> ReadDemandEntry(const QString& litresPerSecond, const QString& usageFactor);

// The position dialog's OK step: the three texts read as a length entry
// reads its text (ReadTypedLength); "Invalid value : " + the first unreadable
// text.
Parsed<Position> ReadPositionEntry(const QString& ew, const QString& ns, const QString& hg,
                                   DisplayUnits units);

} // namespace pipeloop
