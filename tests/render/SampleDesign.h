#pragma once

// Designs built in code for the renderer's tests: a plain rectangular loop and
// a realistic factory (an L-shaped ring main round a workshop with an office
// block cut out of its north-east corner, a compressor house in the
// south-west, drops with their equipment, drains, an inlet, valves and spurs).

#include "DrawParams.h"
#include "PipeLoop.h"

#include <memory>

namespace pipeloop::test
{

inline constexpr float kHalfPi = HalfPi;
inline constexpr float kPiF = 3.14159265f;

// A design with options of its own and the building set; no elbows.
struct Design {
    Design(int32_t roomEW, int32_t roomNS, int32_t roomHG, int32_t height) : loop(options)
    {
        loop.RoomEW = roomEW;
        loop.RoomNS = roomNS;
        loop.RoomHG = roomHG;
        loop.Height = height;
    }

    template <typename T>
    T& place(ObjectList<T>& list, int32_t ns, int32_t ew, int32_t hg, const QString& name)
    {
        auto object = std::make_unique<T>();
        object->setPosition({ns, ew, hg});
        object->Name = name;
        list.push_back(std::move(object));
        return *list.back();
    }

    TDrop& drop(int32_t ns, int32_t ew, DropStyle style, int32_t pipeLen,
                const QStringList& symbols, const QString& name)
    {
        TDrop& d = place(loop.Drops, ns, ew, loop.Height, name);
        d.Style = style;
        d.PipeLen = pipeLen;
        for (const QString& symbol : symbols)
            d.AddSymbol(symbol, {}, true);
        return d;
    }

    TDrain& drain(int32_t ns, int32_t ew, bool manual, int32_t pipeLen, const QString& name)
    {
        TDrain& d = place(loop.Drains, ns, ew, loop.Height, name);
        d.Manual = manual;
        d.PipeLen = pipeLen;
        return d;
    }

    TValve& valve(int32_t ns, int32_t ew, float angle, const QString& name)
    {
        TValve& v = place(loop.Valves, ns, ew, loop.Height, name);
        v.Angle = angle;
        return v;
    }

    TBuildFeature& feature(int32_t ns1, int32_t ew1, int32_t ns2, int32_t ew2, int32_t height,
                           const QString& kind, const QString& name, bool ellipse = false)
    {
        auto f = std::make_unique<TBuildFeature>();
        f->P1NS = ns1;
        f->P1EW = ew1;
        f->P2NS = ns2;
        f->P2EW = ew2;
        f->Height = height;
        f->Feature = kind;
        f->Name = name;
        f->Ellipse = ellipse;
        f->setPosition({ns1, ew1, height});
        return loop.AddBuildFeature(std::move(f));
    }

    TPipeLoopOptions options;
    TPipeLoop loop;
};

// Parameters for exact tests: the area at (0, 0) sized to the building (plan
// W × L, sections W × H or L × H), margins 18, a sixteenth of a pixel a
// millimetre (exact in binary), symbol size 12, pipe width 3, symbols drawn.
inline TDrawParams TestParams(const TPipeLoop& loop, ViewKind view)
{
    TDrawParams p;
    p.View = view;
    p.ScaleX = 0.0625;
    p.ScaleY = 0.0625;
    p.OriginX = 18;
    p.OriginY = 18;
    p.SymbolSize = 12;
    p.PipeWidth = 3;
    const bool eastWest = view == ViewKind::East || view == ViewKind::West;
    const int32_t across = eastWest ? loop.RoomNS : loop.RoomEW;
    const int32_t down = view == ViewKind::Plan ? loop.RoomNS : loop.RoomHG;
    p.Right = 36 + across / 16;
    p.Bottom = 36 + down / 16;
    p.PipeDepth = loop.RoomHG - loop.Height;
    return p;
}

// A 10 m × 6 m × 4 m building with the default loop at 3 m.
inline std::unique_ptr<Design> RectangularDesign()
{
    auto d = std::make_unique<Design>(10000, 6000, 4000, 3000);
    d->loop.CreateDefaultElbows();
    return d;
}

// The factory: 40 m east-west, 24 m north-south, 7 m high, the main at 5 m.
inline std::unique_ptr<Design> FactoryDesign()
{
    auto d = std::make_unique<Design>(40000, 24000, 7000, 5000);
    TPipeLoop& loop = d->loop;
    loop.PipeSize = 50.0f;
    const int32_t h = loop.Height;

    // The ring main, clockwise from the north-west corner; the last corner
    // closes the loop on the first.
    loop.AddElbow({1000, 1000, h});
    loop.AddElbow({1000, 26000, h});
    loop.AddElbow({9000, 26000, h});
    loop.AddElbow({9000, 39000, h});
    loop.AddElbow({23000, 39000, h});
    loop.AddElbow({23000, 1000, h});
    loop.AddElbow({1000, 1000, h});

    // Plant: compressor house equipment in the south-west, machines, a column.
    d->feature(17000, 2000, 22000, 6000, 2200, QStringLiteral("COMPRESSOR"),
               QStringLiteral("Compressor"));
    d->feature(18000, 7000, 21000, 10000, 2800, QStringLiteral("RECEIVER"),
               QStringLiteral("Receiver"), true);
    d->feature(18500, 11000, 21500, 13000, 1800, QStringLiteral("DRYER"), QStringLiteral("Dryer"));
    d->feature(4000, 5000, 8000, 12000, 2500, QStringLiteral("GENERAL"), QStringLiteral("Press"));
    d->feature(12000, 16000, 15000, 24000, 2000, QStringLiteral("GENERAL"),
               QStringLiteral("CNC line"));
    d->feature(13000, 30000, 15000, 32000, 7000, QStringLiteral("GENERAL"),
               QStringLiteral("Column"), true);
    d->feature(1000, 27000, 8000, 39000, 3000, QStringLiteral("GENERAL"), QStringLiteral("Office"));

    // Drops on the north run: work stations with their air treatment.
    d->drop(1000, 6000, DropStyle::Tee, 3800,
            {QStringLiteral("2-PORT-OUTLET"), QStringLiteral("FRL")}, QStringLiteral("DROP1"));
    d->drop(
        1000, 12000, DropStyle::Tee, 3800,
        {QStringLiteral("1-PORT-OUTLET"), QStringLiteral("REGULATOR"), QStringLiteral("FILTER")},
        QStringLiteral("DROP2"));
    d->drop(1000, 18000, DropStyle::Female, 3000,
            {QStringLiteral("COUPLER"), QStringLiteral("AIR-HOSE"), QStringLiteral("COUPLER")},
            QStringLiteral("DROP3"));
    d->drop(1000, 23000, DropStyle::Saddle, 3500,
            {QStringLiteral("3-PORT-OUTLET"), QStringLiteral("GAUGE"), QStringLiteral("VALVE")},
            QStringLiteral("DROP4"));
    // The east run and the step round the office.
    d->drop(9000, 33000, DropStyle::Tee, 3800,
            {QStringLiteral("4-PORT-OUTLET"), QStringLiteral("LUBRICATOR"),
             QStringLiteral("REGULATOR"), QStringLiteral("FILTER_AUTO")},
            QStringLiteral("DROP5"));
    d->drop(16000, 39000, DropStyle::FemaleQuick, 2500,
            {QStringLiteral("COUPLER"), QStringLiteral("RECOIL-HOSE"), QStringLiteral("COUPLER")},
            QStringLiteral("DROP6"));
    // The south run.
    d->drop(23000, 30000, DropStyle::Tee, 3800,
            {QStringLiteral("2-PORT-OUTLET"), QStringLiteral("DRYER"), QStringLiteral("FRL")},
            QStringLiteral("DROP7"));
    d->drop(23000, 20000, DropStyle::Quick, 3600,
            {QStringLiteral("MALE_ADAPTOR"), QStringLiteral("REDUCER")}, QStringLiteral("DROP8"));
    // The west run.
    d->drop(8000, 1000, DropStyle::Tee, 3800,
            {QStringLiteral("FEMALE-TEE"), QStringLiteral("ADAPTOR_FEMALE"),
             QStringLiteral("REGULATOR")},
            QStringLiteral("DROP9"));

    // Drains at the low points of each run.
    d->drain(1000, 25500, false, 4200, QStringLiteral("DRAIN1"));
    d->drain(23000, 38500, true, 4200, QStringLiteral("DRAIN2"));
    d->drain(22500, 1000, false, 4200, QStringLiteral("DRAIN3"));

    // Isolating valves on the runs (the angle of the segment they stand on).
    d->valve(1000, 3000, -kHalfPi, QStringLiteral("VALVE1"));
    d->valve(23000, 36000, kHalfPi, QStringLiteral("VALVE2"));
    d->valve(15000, 39000, kPiF, QStringLiteral("VALVE3"));

    // The feed from the compressor house into the west run.
    TInlet& inlet = d->place(loop.Inlets, 19500, 1000, h, QStringLiteral("INLET1"));
    inlet.Angle = 0.0f - kHalfPi;
    inlet.PipeLength = 2000;
    inlet.PipeSize = 50.0f;
    inlet.AddSymbol(QStringLiteral("DRYER"), {}, true);
    inlet.AddSymbol(QStringLiteral("FILTER"), {}, true);

    // A spur into the workshop with a drop at its end, and a vertical drop spur.
    TSpur& spur = loop.AddSpur({23000, 20000, h}, {15500, 20000, h}, true, 0, 25.0f);
    spur.PipeSize = 25.0f;
    d->place(loop.Drops, 15500, 20000, h, QStringLiteral("DROP10"));
    TDrop& spurDrop = *loop.Drops.back();
    spurDrop.Style = DropStyle::Tee;
    spurDrop.PipeLen = 3800;
    spurDrop.OutletSize = 20.0f;
    spurDrop.AddSymbol(QStringLiteral("1-PORT-OUTLET"), {}, true);
    loop.AddSpur({1000, 15000, h}, {3500, 15000, h}, true, 1200, 32.0f);
    return d;
}

// A loop of the given number of corners packed into a building roomEW long,
// as a pasted list of thousands of points can make it: teeth 9 mm apart
// running from 1 m inside the north wall to depth south of it, eastwards
// from 1 m inside the west wall, then back along the south side to the first
// corner.
inline std::unique_ptr<Design> DenseLoopDesign(int corners, int32_t roomEW, int32_t roomNS,
                                               int32_t depth)
{
    auto d = std::make_unique<Design>(roomEW, roomNS, 6000, 5000);
    TPipeLoop& loop = d->loop;
    const int32_t h = loop.Height;
    for (int i = 0; i < corners - 3; ++i) {
        const bool northFirst = (i / 2) % 2 == 0;
        const bool first = i % 2 == 0;
        loop.AddElbow({northFirst == first ? 1000 : 1000 + depth, 1000 + (i / 2) * 9, h});
    }
    loop.AddElbow({roomNS - 1000, loop.Elbows.back()->EW, h});
    loop.AddElbow({roomNS - 1000, 1000, h});
    loop.AddElbow(loop.Elbows.front()->position());
    return d;
}

} // namespace pipeloop::test
