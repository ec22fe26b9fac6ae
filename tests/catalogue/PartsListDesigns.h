#pragma once

// Generated designs for the parts list: random valid designs for the property
// test (the jump walk against the literal step walk) and the large factory of
// the benchmark. Header-only so that bench/partslist_bench.cpp can use it.
//
// Every object is placed exactly on its pipe and at the pipe's walking height
// (a loop segment's HG - VerticalDrop of its first corner, a spur's HG - its
// VerticalDrop), as the editor's snapping leaves it, so the walk meets it.

#include "DropSymbols.h"
#include "PartsListOptions.h"
#include "PipeLoop.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace pipeloop::testing
{

// A straight or 45-degree pipe of the design, with its walking height.
struct DesignPipe {
    Position from;
    Position to;
    int32_t height = 0; // walking height
    float size = 0;
    TSpur* spur = nullptr;

    int64_t Steps() const
    {
        return std::max(std::abs(int64_t(to.NS) - from.NS), std::abs(int64_t(to.EW) - from.EW));
    }
    int32_t StepNS() const { return to.NS > from.NS ? 1 : to.NS < from.NS ? -1 : 0; }
    int32_t StepEW() const { return to.EW > from.EW ? 1 : to.EW < from.EW ? -1 : 0; }
    Position At(int64_t k) const
    {
        return {static_cast<int32_t>(from.NS + StepNS() * k),
                static_cast<int32_t>(from.EW + StepEW() * k), height};
    }
    bool Straight() const { return StepNS() == 0 || StepEW() == 0; }
};

class DesignBuilder
{
public:
    explicit DesignBuilder(TPipeLoop& design) : d(design) {}

    TElbow& Corner(int32_t ns, int32_t ew, int32_t verticalDrop = 0)
    {
        return d.AddElbow({ns, ew, d.Height}, verticalDrop);
    }

    // The loop's walked segments (not the vertical ones).
    std::vector<DesignPipe> LoopPipes() const
    {
        std::vector<DesignPipe> pipes;
        for (size_t i = 0; i + 1 < d.Elbows.size(); ++i) {
            const TElbow& a = *d.Elbows[i];
            const TElbow& b = *d.Elbows[i + 1];
            if (a.position().samePlan(b.position()))
                continue;
            pipes.push_back({a.position(), b.position(), a.PipeHeight(), d.PipeSize, nullptr});
        }
        return pipes;
    }

    static DesignPipe PipeOf(TSpur& spur)
    {
        return {spur.position(), spur.endPosition(), spur.PipeHeight(), spur.PipeSize, &spur};
    }

    // A spur from a point (at the pipe's walking height) to a plan point.
    TSpur& Spur(const Position& start, int32_t endNS, int32_t endEW, float size,
                int32_t verticalDrop = 0)
    {
        TSpur& spur = d.AddSpur(start, {endNS, endEW, start.HG}, false, verticalDrop, size);
        spur.PipeSize = size;
        return spur;
    }

    TDrop& Drop(const Position& at, DropStyle style, float outlet, int32_t pipeLen,
                const QStringList& symbols = {}, float hoseSize = 6.35f)
    {
        auto drop = std::make_unique<TDrop>();
        drop->setPosition(at);
        drop->Style = style;
        drop->OutletSize = outlet;
        drop->PipeLen = pipeLen;
        drop->HoseSize = hoseSize;
        for (const QString& symbol : symbols)
            drop->AddSymbol(symbol, QString(), true);
        return d.AddExistingDrop(std::move(drop));
    }

    TDrain& Drain(const Position& at, float size, int32_t pipeLen)
    {
        auto drain = std::make_unique<TDrain>();
        drain->setPosition(at);
        drain->PipeSize = size;
        drain->PipeLen = pipeLen;
        drain->Name = QStringLiteral("DRAIN") + QString::number(d.Drains.size() + 1);
        d.Drains.push_back(std::move(drain));
        return *d.Drains.back();
    }

    TValve& Valve(const Position& at)
    {
        auto valve = std::make_unique<TValve>();
        valve->setPosition(at);
        valve->Name = QStringLiteral("VALVE") + QString::number(d.Valves.size() + 1);
        d.Valves.push_back(std::move(valve));
        return *d.Valves.back();
    }

    TInlet& Inlet(const Position& at, float size, int32_t length, const QStringList& symbols = {})
    {
        auto inlet = std::make_unique<TInlet>();
        inlet->setPosition(at);
        inlet->PipeSize = size;
        inlet->PipeLength = length;
        for (const QString& symbol : symbols)
            inlet->AddSymbol(symbol, QString(), true);
        inlet->Name = QStringLiteral("INLET") + QString::number(d.Inlets.size() + 1);
        d.Inlets.push_back(std::move(inlet));
        return *d.Inlets.back();
    }

    TPipeLoop& d;
};

// ---------------------------------------------------------------- random designs

class RandomDesign
{
public:
    explicit RandomDesign(uint32_t seed) : m_random(seed) {}

    int32_t Range(int32_t low, int32_t high)
    {
        if (high <= low)
            return low;
        return std::uniform_int_distribution<int32_t>(low, high)(m_random);
    }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_random) < p; }
    template <typename T> T Pick(std::initializer_list<T> list)
    {
        return *(list.begin() + Range(0, int32_t(list.size()) - 1));
    }

    // Fills an empty design and chooses the generator's options.
    void Build(TPipeLoop& design, catalogue::PartsListOptions& options)
    {
        DesignBuilder b(design);
        design.Units =
            Pick({DisplayUnits::Metres, DisplayUnits::Millimetres, DisplayUnits::FeetInches});
        design.PipeSize = Pick({25.0f, 32.0f, 40.0f, 50.0f, 63.0f});
        design.PipeColour = Chance(0.3) ? PipeColour::Gray : PipeColour::Blue;
        design.Height = Range(2500, 5000);
        design.Description = QStringLiteral("Random design");
        options = catalogue::PartsListOptions::ForDesign(design.PipeColour);
        options.stockLength = Chance(0.5) ? 4000 : 6000;
        options.steelClipsMain = Chance(0.7);
        options.steelClipsDrops = Chance(0.3);
        options.endCaps = Chance(0.5);
        options.twoPortManifold =
            Pick({QStringLiteral("90602"), QStringLiteral("90642"), QStringLiteral("90660"),
                  QStringLiteral("90662"), QStringLiteral("90664")});
        options.showCatalogueCodes = Chance(0.3);

        std::vector<DesignPipe> pipes;
        if (Chance(0.1)) {
            design.CompressorHouse = true;
            for (int i = Range(1, 3); i > 0; --i) {
                const Position start{Range(0, 8000), Range(0, 8000), design.Height};
                TSpur& spur = Chance(0.5) ? b.Spur(start, start.NS, start.EW + Range(-6000, 6000),
                                                   design.PipeSize, VerticalDrop())
                                          : b.Spur(start, start.NS + Range(-6000, 6000), start.EW,
                                                   design.PipeSize, VerticalDrop());
                pipes.push_back(DesignBuilder::PipeOf(spur));
            }
            if (Chance(0.2)) { // neither straight nor 45 degrees: a stop
                const Position start{Range(0, 8000), Range(0, 8000), design.Height};
                pipes.push_back(DesignBuilder::PipeOf(
                    b.Spur(start, start.NS + 1000, start.EW + 3000, design.PipeSize)));
            }
        } else {
            Loop(b);
            pipes = b.LoopPipes();
        }

        AddSpurs(b, pipes);
        for (int i = Range(0, 12); i > 0; --i)
            AddDrop(b, pipes);
        for (int i = Range(0, 3); i > 0; --i)
            if (auto at = PointOn(pipes))
                b.Drain(at->point, Pick({20.0f, 25.0f, design.PipeSize}), Range(0, 3000));
        for (int i = Range(0, 3); i > 0; --i)
            if (auto at = PointOn(pipes))
                b.Valve(at->point);
        for (int i = Range(0, 2); i > 0; --i)
            if (auto at = PointOn(pipes))
                b.Inlet(at->point, Pick({25.0f, 32.0f, design.PipeSize}), Range(0, 4000),
                        Chance(0.5) ? Symbols(false) : QStringList());
        // (inlets' stacks start at the inlet's pipe size)
        // Drops at spur ends (end caps, messages and stops).
        for (const DesignPipe& pipe : pipes)
            if (pipe.spur && Chance(0.15)) {
                const Position end{pipe.to.NS, pipe.to.EW, pipe.spur->HG2};
                const DropStyle style = Chance(0.05) ? Pick({DropStyle::Saddle, DropStyle::Quick})
                                                     : Pick({DropStyle::Female, DropStyle::Tee});
                b.Drop(end, style, style == DropStyle::Tee ? 20.0f : 12.7f, Range(0, 2000));
            }
    }

private:
    int32_t VerticalDrop() { return Chance(0.7) ? 0 : Range(-1500, 1500); }

    struct PlacedPoint {
        Position point;
        size_t pipe = 0;
        int64_t step = 0;
    };
    std::optional<PlacedPoint> PointOn(const std::vector<DesignPipe>& pipes,
                                       bool straightOnly = false)
    {
        if (pipes.empty())
            return std::nullopt;
        for (int attempt = 0; attempt < 10; ++attempt) {
            const size_t index = size_t(Range(0, int32_t(pipes.size()) - 1));
            const DesignPipe& pipe = pipes[index];
            if (straightOnly && !pipe.Straight())
                continue;
            const int64_t steps = pipe.Steps();
            if (steps < 2)
                continue;
            const int64_t k = Range(1, int32_t(steps - 1));
            return PlacedPoint{pipe.At(k), index, k};
        }
        return std::nullopt;
    }

    void Loop(DesignBuilder& b)
    {
        const int32_t ns0 = Range(500, 3000);
        const int32_t ew0 = Range(500, 3000);
        const int32_t width = Range(8000, 26000);
        const int32_t depth = Range(6000, 18000);
        const int32_t limit = std::min(width, depth) / 4;
        const auto chamfer = [&]() { return Chance(0.4) ? Range(300, limit) : 0; };
        const auto detour = [&](int32_t ns, int32_t x1, int32_t x2) {
            const int32_t v = Pick({-1, 1}) * Range(200, 1200);
            b.Corner(ns, x1);
            b.Corner(ns, x1, v);
            b.Corner(ns, x2, v);
            b.Corner(ns, x2);
        };
        b.Corner(ns0, ew0);
        if (Chance(0.4))
            detour(ns0, ew0 + Range(1000, width / 4), ew0 + Range(width / 4 + 500, width / 2));
        if (const int32_t c = chamfer()) {
            b.Corner(ns0, ew0 + width - c);
            b.Corner(ns0 + c, ew0 + width);
        } else {
            b.Corner(ns0, ew0 + width);
        }
        if (Chance(0.03)) // a detour on a north-south side turns by 0 or 180 after it: a stop
            detour(ns0 + depth / 2, ew0 + width, ew0 + width);
        if (const int32_t c = chamfer()) {
            b.Corner(ns0 + depth - c, ew0 + width);
            b.Corner(ns0 + depth, ew0 + width - c);
        } else {
            b.Corner(ns0 + depth, ew0 + width);
        }
        if (Chance(0.4))
            detour(ns0 + depth, ew0 + width - Range(width / 4 + 500, width / 2 - 500),
                   ew0 + Range(width / 4 + 500, width / 2 - 1000));
        if (const int32_t c = chamfer()) {
            b.Corner(ns0 + depth, ew0 + c);
            b.Corner(ns0 + depth - c, ew0);
        } else {
            b.Corner(ns0 + depth, ew0);
        }
        b.Corner(ns0, ew0);
    }

    // Spurs off the loop (and off each other), end-to-end spurs, a spur across
    // the building to the other side, a spur ending on an unconnected pipe.
    void AddSpurs(DesignBuilder& b, std::vector<DesignPipe>& pipes)
    {
        TPipeLoop& d = b.d;
        const auto sizeFor = [&](float parent) { return Pick({parent, parent, 25.0f, 20.0f}); };
        const auto perpendicular = [&](const DesignPipe& pipe, int32_t length, int32_t& ns,
                                       int32_t& ew, const Position& start) {
            const int32_t side = Pick({-1, 1});
            ns = start.NS + side * pipe.StepEW() * length;
            ew = start.EW - side * pipe.StepNS() * length;
        };
        const size_t base = pipes.size();
        for (int i = Range(0, 6); i > 0; --i) {
            const auto at = PointOn(pipes);
            if (!at)
                break;
            const DesignPipe parent = pipes[at->pipe];
            int32_t ns = 0, ew = 0;
            perpendicular(parent, Range(300, 6000), ns, ew, at->point);
            if (Chance(0.02)) // 45 degrees off the pipe: a stop
                ns += (ns - at->point.NS) == 0 ? (ew - at->point.EW) : 0;
            TSpur& spur = b.Spur(at->point, ns, ew, sizeFor(parent.size), VerticalDrop());
            pipes.push_back(DesignBuilder::PipeOf(spur));
        }
        // End to end: a spur starting where another ends.
        for (int i = Range(0, 3); i > 0 && pipes.size() > base; --i) {
            const DesignPipe parent =
                pipes[size_t(Range(int32_t(base), int32_t(pipes.size()) - 1))];
            const Position start{parent.to.NS, parent.to.EW, parent.height};
            const int32_t length = Range(300, 4000);
            int32_t sN = parent.StepNS(), sE = parent.StepEW();
            const int turn = Chance(0.05) ? 180 : Pick({0, 90, 90, 45});
            if (turn == 90) {
                const int32_t side = Pick({-1, 1});
                const int32_t n = side * sE, e = -side * sN;
                sN = n;
                sE = e;
            } else if (turn == 45 && parent.Straight()) {
                if (sN == 0)
                    sN = Pick({-1, 1});
                else
                    sE = Pick({-1, 1});
            } else if (turn == 180) {
                sN = -sN;
                sE = -sE;
            }
            TSpur& spur = b.Spur(start, start.NS + sN * length, start.EW + sE * length,
                                 sizeFor(parent.size), VerticalDrop());
            pipes.push_back(DesignBuilder::PipeOf(spur));
        }
        if (d.CompressorHouse || d.Elbows.size() < 2)
            return;
        // Across the building from the north side to the south side.
        if (Chance(0.3)) {
            const TElbow& first = *d.Elbows.front();
            int32_t south = first.NS;
            for (const auto& e : d.Elbows)
                south = std::max(south, e->NS);
            int32_t east = first.EW;
            for (const auto& e : d.Elbows)
                east = std::max(east, e->EW);
            const int32_t x =
                Range(first.EW + (east - first.EW) / 2 + 200, east - (east - first.EW) / 4 - 200);
            if (d.IsOnLoop({first.NS, x, 0}) && d.IsOnLoop({south, x, 0})) {
                const Position start{first.NS, x, d.LoopSegmentHeight(0)};
                pipes.push_back(DesignBuilder::PipeOf(b.Spur(start, south, x, d.PipeSize)));
            }
        }
        // A spur from the north side ending on the run of an unconnected pipe.
        if (Chance(0.3)) {
            const TElbow& first = *d.Elbows.front();
            const int32_t x = first.EW + Range(600, 900);
            const int32_t down = Range(1500, 3000);
            const Position start{first.NS, x, d.LoopSegmentHeight(0)};
            if (d.IsOnLoop(start)) {
                TSpur& pipe = b.Spur({first.NS + down, x - Range(200, 500), d.Height},
                                     first.NS + down, x + Range(200, 3000), 25.0f);
                pipes.push_back(DesignBuilder::PipeOf(pipe));
                TSpur& spur = b.Spur(start, first.NS + down, x, 25.0f, VerticalDrop());
                pipes.push_back(DesignBuilder::PipeOf(spur));
            }
        }
        if (Chance(0.1)) // an unconnected pipe nothing reaches
            pipes.push_back(
                DesignBuilder::PipeOf(b.Spur({-5000, -5000, d.Height}, -5000, -3000, d.PipeSize)));
    }

    // A short stack, walked from the top: equipment the catalogue does not
    // sell (reported only), valves, adapters, outlets and female tees. Below a
    // threaded outlet (female drops) only what the catalogue has in inch sizes.
    QStringList Symbols(bool threaded)
    {
        static const QStringList pipeSized = {
            Symbol::Filter,         Symbol::Regulator,     Symbol::Valve,
            Symbol::MaleAdaptor,    Symbol::OnePortOutlet, Symbol::TwoPortOutlet,
            Symbol::FourPortOutlet, Symbol::Gauge,         Symbol::Valve,
            Symbol::FemaleTee,      Symbol::AdaptorFemale};
        static const QStringList inchSized = {Symbol::Filter,         Symbol::Regulator,
                                              Symbol::Valve,          Symbol::OnePortOutlet,
                                              Symbol::FourPortOutlet, Symbol::Gauge};
        const QStringList& vocabulary = threaded ? inchSized : pipeSized;
        QStringList symbols;
        for (int i = Range(0, 3); i > 0; --i)
            symbols.append(vocabulary.at(Range(0, int32_t(vocabulary.size()) - 1)));
        return symbols;
    }

    // A drop the demo catalogue can mostly build for the pipe it stands on
    // (saddles only on 40 mm and up, hoses only below female outlets, recoil
    // hoses of the lengths sold); now and then one it cannot.
    void AddDrop(DesignBuilder& b, const std::vector<DesignPipe>& pipes)
    {
        const auto at = PointOn(pipes);
        if (!at)
            return;
        const float run = pipes[at->pipe].size;
        const bool large = run >= 40.0f;
        DropStyle style = Pick({DropStyle::Female, DropStyle::Female, DropStyle::Tee,
                                large ? DropStyle::Saddle : DropStyle::Tee,
                                large ? DropStyle::FemaleSaddle : DropStyle::Female});
        if (Chance(0.02))
            style = Pick({DropStyle::Quick, DropStyle::FemaleQuick, DropStyle::Saddle});
        const bool female = IsFemaleStyle(style);
        const float outlet = female         ? Pick({12.7f, 19.05f, 12.7f})
                             : run == 20.0f ? 20.0f
                                            : Pick({20.0f, 25.0f});
        QStringList symbols = Symbols(female && !Chance(0.05));
        int32_t length = Range(0, 9000);
        float hose = Pick({6.35f, 9.25f, 12.7f});
        if (female && Chance(0.6)) {
            const bool recoil = Chance(0.3);
            symbols << Symbol::Coupler << (recoil ? Symbol::RecoilHose : Symbol::AirHose)
                    << Symbol::Coupler;
            if (recoil) {
                hose = Pick({6.35f, 9.25f});
                length = Pick({6000, 8000});
            } else {
                length = Range(1000, 30000);
            }
        }
        TDrop& drop = b.Drop(at->point, style, outlet, length, symbols, hose);
        if (Chance(0.05))
            drop.PartPackage = Pick({QStringLiteral("KIT-T25-FRL"), QStringLiteral("KIT-F20-HOSE"),
                                     QStringLiteral("KIT-S40-TWIN"), QStringLiteral("KIT-T25-FRL"),
                                     QStringLiteral("NO-SUCH-KIT")});
        for (int k = 0; k < drop.SymbolCount(); ++k)
            if (Chance(0.08))
                drop.SetSymbolPart(k, Pick({QStringLiteral("ZAVOZA:90400-25"),
                                            QStringLiteral("ACME:X1+ZAVOZA:90602-20"),
                                            QStringLiteral("ZAVOZA:90800-20+ZAVOZA:90800-20")}));
    }

    std::mt19937 m_random;
};

// ---------------------------------------------------------------- the benchmark factory

// A factory with a 600 m x 400 m ring main (2 km) of 50 mm pipe with chamfered
// north-east and south-west corners, 200 spurs of 25 mm (20 m each, half of
// them from each long side), 2 000 drops with symbol stacks (1 000 on the
// main, 5 on every spur) and 100 drains; scale multiplies every length.
inline void FactoryDesign(TPipeLoop& design, int32_t scale)
{
    DesignBuilder b(design);
    const auto s = [scale](int64_t mm) { return static_cast<int32_t>(mm * scale); };
    design.PipeSize = 50.0f;
    design.Height = s(4000);
    design.Units = DisplayUnits::Metres;
    design.Description = QStringLiteral("Benchmark factory");
    const int32_t ns0 = s(1000), ew0 = s(1000);
    const int32_t width = s(600000), depth = s(400000), chamfer = s(5000);
    b.Corner(ns0, ew0);
    b.Corner(ns0, ew0 + width - chamfer);
    b.Corner(ns0 + chamfer, ew0 + width);
    b.Corner(ns0 + depth, ew0 + width);
    b.Corner(ns0 + depth, ew0 + chamfer);
    b.Corner(ns0 + depth - chamfer, ew0);
    b.Corner(ns0, ew0);
    const int32_t h = design.Height;

    // Stacks (walked from the top): a two-port outlet with a valve, filter and
    // regulator; a four-port manifold under a female-ended valve; a valve and
    // an air hose below a female outlet; a female tee with a gauge.
    const QStringList stacks[] = {
        {Symbol::Filter, Symbol::Regulator, Symbol::Valve, Symbol::TwoPortOutlet},
        {Symbol::FourPortOutlet, Symbol::Valve},
        {Symbol::Gauge, Symbol::Valve, Symbol::Coupler, Symbol::AirHose, Symbol::Coupler},
        {Symbol::FemaleTee, Symbol::Gauge},
    };
    int dropCount = 0;
    const auto drop = [&](const Position& at) {
        const int kind = dropCount++ % 4;
        switch (kind) {
        case 0:
            b.Drop(at, DropStyle::Tee, 25.0f, s(1500), stacks[0]);
            break;
        case 1:
            b.Drop(at, DropStyle::Tee, 25.0f, s(1200), stacks[1]);
            break;
        case 2:
            b.Drop(at, DropStyle::Female, 12.7f, s(10000), stacks[2], 6.35f);
            break;
        default:
            b.Drop(at, DropStyle::Tee, 20.0f, s(2500), stacks[3]);
            break;
        }
    };

    // Spurs: every 5.9 m along the north (going south) and south (going north) sides.
    std::vector<TSpur*> spurs;
    for (int i = 0; i < 100; ++i) {
        const int32_t x = ew0 + s(10000 + 5900 * int64_t(i));
        spurs.push_back(&b.Spur({ns0, x, h}, ns0 + s(20000), x, 25.0f));
        spurs.push_back(
            &b.Spur({ns0 + depth, x + s(2000), h}, ns0 + depth - s(20000), x + s(2000), 25.0f));
    }
    for (TSpur* spur : spurs) {
        const int32_t sign = spur->NS2 > spur->NS ? 1 : -1;
        for (int k = 1; k <= 5; ++k)
            drop({spur->NS + sign * s(3500 * k), spur->EW, h});
    }
    // Drops on the main: 250 per long side, 250 per short side, between the spurs.
    for (int i = 0; i < 250; ++i) {
        drop({ns0, ew0 + s(4000 + 2360 * int64_t(i)) + s(500), h});
        drop({ns0 + depth, ew0 + s(4000 + 2360 * int64_t(i)) + s(1500), h});
        drop({ns0 + s(8000 + 1540 * int64_t(i)), ew0 + width, h});
        drop({ns0 + s(8000 + 1540 * int64_t(i)) + s(300), ew0, h});
    }
    for (int i = 0; i < 100; ++i)
        b.Drain({ns0 + s(9000 + 3700 * int64_t(i)) + s(701), ew0 + width, h}, 20.0f, s(1000));
    b.Inlet({ns0 + s(200000) + s(1), ew0, h}, 50.0f, s(3000));
}

// ---------------------------------------------------------------- the spur tree

// A square ring main of 50 mm pipe and a tree of 25 mm spurs hanging from its
// north run: a spine that zig-zags south and east in 2 m spurs, each starting
// at the previous one's end, and on every other southward spur a short side
// branch to the west from its middle; `spurs` counts both.
inline void SpurTreeDesign(TPipeLoop& design, int spurs)
{
    DesignBuilder b(design);
    design.PipeSize = 50.0f;
    design.Height = 4000;
    design.Units = DisplayUnits::Metres;
    design.Description = QStringLiteral("Spur tree");
    const int32_t step = 2000;
    const int32_t side = int32_t(spurs / 2 + 4) * step;
    const int32_t h = design.Height;
    b.Corner(1000, 1000);
    b.Corner(1000, 1000 + side);
    b.Corner(1000 + side, 1000 + side);
    b.Corner(1000 + side, 1000);
    b.Corner(1000, 1000);
    design.RoomEW = design.RoomNS = side + 2000;
    design.RoomHG = 6000;

    Position at{1000, 1000 + 2 * step, h};
    for (int made = 0, leg = 0; made < spurs; ++leg) {
        const bool south = leg % 2 == 0;
        const Position from = at;
        at = b.Spur(from, from.NS + (south ? step : 0), from.EW + (south ? 0 : step), 25.0f)
                 .endPosition();
        if (++made < spurs && leg % 4 == 2) {
            const int32_t middle = from.NS + step / 2;
            b.Spur({middle, from.EW, h}, middle, from.EW - step / 4, 25.0f);
            ++made;
        }
    }
}

} // namespace pipeloop::testing
