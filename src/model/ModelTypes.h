#pragma once

// Small value types shared by the design model, the renderer, the project file
// and the parts list: positions, views, object states, drop styles and pipe
// colours, with the numbers and words the project file uses.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace pipeloop
{

// A point of the design in whole millimetres: NS from the north wall
// southwards, EW from the west wall eastwards, HG above the floor.
struct Position {
    int32_t NS = 0;
    int32_t EW = 0;
    int32_t HG = 0;

    friend bool operator==(const Position&, const Position&) = default;
    // The same point on the plan (heights ignored).
    bool samePlan(const Position& other) const { return NS == other.NS && EW == other.EW; }
};

inline Position MakePosition(int32_t ns, int32_t ew, int32_t hg = 0)
{
    return {ns, ew, hg};
}

// a - b for heights and vertical drops read from files, saturating at the
// int32 range instead of overflowing.
inline int32_t HeightBelow(int32_t a, int32_t b)
{
    const int64_t difference = int64_t(a) - int64_t(b);
    if (difference > INT32_MAX)
        return INT32_MAX;
    if (difference < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(difference);
}

// The half pi used throughout, as the single-precision value the files show
// (1.5707963705062866, written 1.57079637050629).
inline constexpr float HalfPi = static_cast<float>(1.5707963267948966);

// The view in which a hit-test or a measurement is made. Zoom factors, print
// settings and drawing are indexed by it.
enum class ViewKind : uint8_t { Plan = 0, North = 1, East = 2, South = 3, West = 4 };

inline constexpr std::array<ViewKind, 5> AllViews = {
    ViewKind::Plan, ViewKind::North, ViewKind::East, ViewKind::South, ViewKind::West};

// PLAN, NORTH, EAST, SOUTH, WEST: the words of key names such as ZoomFactorPLAN.
QString ViewWord(ViewKind view);
// The view of a word, compared exactly; nothing for another word.
std::optional<ViewKind> ViewFromWord(const QString& word);

// Selection and marking of a placed object.
enum class ObjectState : uint8_t { Normal = 0, Selected = 1, Highlighted = 2 };

// The colour of the pipe material ordered in the parts list.
enum class PipeColour : uint8_t { Blue = 0, Gray = 1, Green = 2 };

// BLUE, GRAY, GREEN.
QString PipeColourWord(PipeColour colour);
// Exactly "GRAY" gives Gray, exactly "GREEN" Green, anything else Blue (case matters).
PipeColour PipeColourFromWord(const QString& word);

// How a drop ends. The female styles end in an outlet with a hose: they carry
// a hose size, and their pipe length is a hose length.
enum class DropStyle : uint8_t {
    Female = 0,
    Tee = 1,
    Saddle = 2,
    Quick = 3,
    FemaleQuick = 4,
    FemaleSaddle = 5,
};

inline constexpr int DropStyleCount = 6;

// FEMALE, TEE, SADDLE, QUICK, FEMALE_QUICK, FEMALE_SADDLE.
QString DropStyleWord(DropStyle style);
// The style whose word equals the upper-cased text, or nothing.
std::optional<DropStyle> DropStyleFromWord(const QString& text);
bool IsFemaleStyle(DropStyle style);
// The female threaded styles (0 and 4), whose outlet is threaded into the
// drop's own fitting: no outlet size list of its own without a catalogue.
bool IsThreadedOutletStyle(int style);
// The outlet sizes a style offers without a catalogue (no parts): none for the
// threaded styles, else the first nine standard pipe sizes, one per line.
QString BuiltInOutletSizes(int style);

// The kind of a placed object (one per class).
enum class ObjectKind : uint8_t { Elbow, Valve, BuildFeature, Inlet, Drop, Spur, Drain };

// The outcome of reading one object's section of a project file.
//
// Readers never fail on a missing or unreadable value: nearly every key has a
// fallback. Three keys have none (valve Angle, inlet Angle, inlet PipeSize): a
// value there that does not parse stops the whole load with the message
// "'%s' is not a valid floating point value". LoadFromIni reports that as a
// failed LoadResult instead of throwing, so the project file reader decides
// what becomes of the partly read design; the object keeps what it had read.
class [[nodiscard]] LoadResult
{
public:
    static LoadResult success() { return LoadResult(); }
    static LoadResult failure(QString message)
    {
        LoadResult result;
        result.m_ok = false;
        result.m_error = std::move(message);
        return result;
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& error() const { return m_error; }

private:
    LoadResult() = default;
    bool m_ok = true;
    QString m_error;
};

} // namespace pipeloop
