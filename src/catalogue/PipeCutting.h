#pragma once

// Pipe cutting and waste: every piece of pipe the parts list
// generator needs is either a new stock length or is cut from an offcut left
// by an earlier cut; the offcuts are kept and listed at the end.

#include "Units.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pipeloop
{
class TPipeLoopObject;
}

namespace pipeloop::catalogue
{

class TPartObject;

// One offcut.
struct TPipeWaste {
    int32_t length = 0; // remaining length, mm
    float size = 0;     // size 1 of the pipe it was cut from

    friend bool operator==(const TPipeWaste&, const TPipeWaste&) = default;
};

// What cutting needs from the generation it serves: the selections, the
// confirm-and-record protocol and the status log.
class CuttingContext
{
public:
    virtual ~CuttingContext() = default;
    // Pipe(colour, stock length, size) of the generation's options.
    virtual const TPartObject* SelectPipe(float size) = 0;
    // Connector(no attributes, size).
    virtual const TPartObject* SelectConnector(float size) = 0;
    // Confirms one selection: a missing part shows the problem
    // with the object, or with the extra text when there is none, and stops.
    virtual bool Confirm(const TPartObject* part, TPipeLoopObject* object,
                         const QString& extraText) = 0;
    virtual void Record(const TPartObject& part, const QString& description) = 0;
    virtual void Log(const QString& line) = 0;
    // A line in the form of a record (six blanks, the part key, a blank, the
    // description) that records nothing.
    virtual void LogPart(const TPartObject& part, const QString& description);
    virtual DisplayUnits Units() const = 0;
};

// The offcuts of one generation, in the order they arose.
//
// TakeFromWaste finds the offcut with the least leftover in logarithmic time:
// each size keeps its offcuts ordered by (length, place in the list), so the
// first entry at or above the wanted length is the one the rules choose (the
// least leftover, the earlier on ties, and an exact length before anything).
class TPipeCutter
{
public:
    // AddPiece(L, O, straight after, place, z). A length of 0 adds
    // nothing. A piece longer than the stock length (only the rounding of a
    // diagonal run gives one, by a millimetre) is cut as a whole stock length.
    void AddPiece(CuttingContext& context, int32_t length, TPipeLoopObject* object,
                  bool straightAfter, const QString& place, float size);

    // True when an offcut of exactly this size and at least this length
    // supplied the piece; it has then been shortened, or removed when nothing
    // is left of it.
    bool TakeFromWaste(int32_t length, float size);
    // Appends an offcut at the end of the list (a non-positive length is not kept).
    void AddWaste(int32_t length, float size);
    void ClearWaste();
    bool WasteEmpty() const { return m_live == 0; }

    // The offcuts in list order.
    std::vector<TPipeWaste> Waste() const;
    // An empty line, "Waste Details ...", then size + " x " + length for every
    // offcut above 5 mm, lengths in the design's units.
    QStringList WasteDetails(DisplayUnits units) const;
    void WriteWasteDetails(CuttingContext& context) const;

    // The texts: size + " x " + length + " PIPE".
    static QString PieceText(float size, int32_t length, DisplayUnits units);

private:
    struct Entry {
        TPipeWaste waste;
        bool live = true;
    };
    // (length, index in m_entries)
    using Ordered = std::set<std::pair<int32_t, size_t>>;
    Ordered* ordered(float size, bool create);
    // PieceText remembered per size and length (a generation cuts the same
    // stock lengths over and over), and the same followed by " from waste".
    QString pieceText(float size, int32_t length, DisplayUnits units, bool fromWaste = false);

    std::vector<Entry> m_entries;
    std::vector<std::pair<float, Ordered>> m_bySize;
    std::unordered_map<uint64_t, QString> m_pieceTexts;
    std::unordered_map<uint64_t, QString> m_fromWasteTexts;
    DisplayUnits m_pieceUnits = DisplayUnits::Metres;
    size_t m_live = 0;
};

} // namespace pipeloop::catalogue
