#include "AirAnalysis.h"

#include "AirFlow.h"
#include "DesignIndex.h"
#include "LoopGeometry.h"
#include "PartsDatabase.h"
#include "PartsListGenerator.h"
#include "Units.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace pipeloop::analysis
{

namespace
{

constexpr double LitresPerCubicMetre = 1000;
constexpr double MillimetresPerMetre = 1000;
constexpr int MaxIterations = 100;
// Converged when no loop's pressure drops add up to more than this (bar).
constexpr double LoopTolerance = 1e-10;

double Metres(double millimetres)
{
    return millimetres / MillimetresPerMetre;
}

double PlanMetres(const Position& a, const Position& b)
{
    return Metres(std::hypot(double(a.NS) - b.NS, double(a.EW) - b.EW));
}

// The drop along a pipe of resistance r carrying q m^3/s (signed).
double Loss(double r, double q)
{
    return std::copysign(r * std::pow(std::fabs(q), AirFlowExponent), q);
}

double LossSlope(double r, double q, double floor)
{
    return AirFlowExponent * r * std::pow(std::max(std::fabs(q), floor), AirFlowExponent - 1);
}

// A straight pipe of the design on its way to becoming segments.
struct Pipe {
    Position from;
    Position to;
    float size = 0;
    double leadMetres = 0; // vertical legs and fittings at the start
    // Points where something joins the pipe between its ends: the squared
    // plan distance from `from`, the point, the tee's through-run allowance
    // each neighbouring segment takes (m).
    struct Joint {
        int64_t along = 0;
        int point = 0;
        double halfTee = 0;
        Position at;
    };
    std::vector<Joint> joints;
};

struct Edge {
    int a = 0;
    int b = 0;
    double metres = 0;
    float size = 0;
    double resistance = 0;
    double flow = 0; // m^3/s from a to b
};

int64_t PlanKey(const Position& p)
{
    return int64_t(uint64_t(uint32_t(p.NS)) << 32 | uint32_t(p.EW));
}

bool SamePlanPoint(const Position& a, const Position& b)
{
    return a.NS == b.NS && a.EW == b.EW;
}

// Builds the network of a design and solves it.
class Network
{
public:
    Network(const TPipeLoop& design, float ringSize, AirAnalysis& result)
        : m_design(design), m_ringSize(ringSize), m_result(result)
    {
    }

    void Solve()
    {
        if (!(m_result.supplyPressure > 0)) {
            Fail(AnalysisOutcome::NotAnalysable,
                 QStringLiteral("The supply pressure must be above zero."));
            return;
        }
        CollectPipes();
        JoinObjects();
        MakeSegments();
        FeedFromInlets();
        TakeDemands();
        if (m_inlets == 0) {
            Fail(AnalysisOutcome::NotAnalysable,
                 QStringLiteral("No compressor inlet stands on a pipe."));
            return;
        }
        SpanningTree();
        if (!SolveLoops())
            return;
        Pressures();
        Report();
        const auto finite = [](const auto& item) { return std::isfinite(item.pressure); };
        if (!std::all_of(m_result.points.begin(), m_result.points.end(), finite) ||
            !std::all_of(m_result.drops.begin(), m_result.drops.end(), finite))
            Fail(AnalysisOutcome::NotSettled,
                 QStringLiteral("The demands are beyond what the pipes can be reckoned to carry."));
    }

private:
    void Fail(AnalysisOutcome outcome, const QString& problem)
    {
        m_result.outcome = outcome;
        m_result.problem = problem;
    }

    double Resistance(double metres, float size) const
    {
        return PipeResistance(metres, size, m_result.supplyPressure);
    }

    float SizeOr(float size) const { return size > 0 ? size : m_ringSize; }

    int PointAt(const Position& p, const QString& name)
    {
        const auto [found, added] = m_byPlace.try_emplace(PlanKey(p), int(m_result.points.size()));
        if (added) {
            m_result.points.push_back({});
            m_result.points.back().at = MakePosition(p.NS, p.EW);
        }
        NetworkPoint& point = m_result.points[size_t(found->second)];
        if (!name.isEmpty() && !point.name.split(u'/').contains(name))
            point.name += (point.name.isEmpty() ? QString() : QStringLiteral("/")) + name;
        return found->second;
    }

    int FindPoint(const Position& p) const
    {
        const auto found = m_byPlace.find(PlanKey(p));
        return found == m_byPlace.end() ? -1 : found->second;
    }

    void CollectPipes()
    {
        const ElbowList& elbows = m_design.Elbows;
        const int segments = m_design.LoopSegmentCount();
        const bool closed =
            segments >= 2 && SamePlanPoint(elbows.front()->position(), elbows.back()->position());
        for (int i = 0; i < segments; ++i) {
            const TElbow& start = *elbows[size_t(i)];
            const TElbow& end = *elbows[size_t(i) + 1];
            Pipe pipe{start.position(), end.position(), m_ringSize, 0, {}};
            const int previous = i > 0 ? i - 1 : (closed ? segments - 1 : -1);
            if (previous >= 0)
                pipe.leadMetres =
                    Corner(previous, i) + Vertical(int64_t(m_design.LoopSegmentHeight(i)) -
                                                       m_design.LoopSegmentHeight(previous),
                                                   m_ringSize);
            PointAt(start.position(), start.Name);
            PointAt(end.position(), end.Name);
            m_pipes.push_back(std::move(pipe));
        }
        for (const auto& spur : m_design.Spurs) {
            const float size = SizeOr(spur->PipeSize);
            Pipe pipe{spur->position(), spur->endPosition(), size, 0, {}};
            pipe.leadMetres =
                Vertical(spur->VerticalDrop, size) + Metres(FittingAllowance::TeeBranch * size);
            PointAt(pipe.from, spur->Name);
            PointAt(pipe.to, spur->Name);
            m_pipes.push_back(std::move(pipe));
        }
    }

    // The elbow at the corner between loop segments `in` and `out`.
    double Corner(int in, int out) const
    {
        const auto angleOf = [this](int segment) {
            return SegmentAngle(m_design.Elbows[size_t(segment)]->position(),
                                m_design.Elbows[size_t(segment) + 1]->position());
        };
        const int turn = catalogue::TurnAngle(angleOf(in), angleOf(out));
        if (turn == 0)
            return 0;
        const double bores = turn > 45 ? FittingAllowance::Elbow90 : FittingAllowance::Elbow45;
        return Metres(bores * m_ringSize);
    }

    // A vertical leg of the height change and its two elbows.
    static double Vertical(int64_t millimetres, float size)
    {
        if (millimetres == 0)
            return 0;
        return Metres(double(std::llabs(millimetres)) + 2 * FittingAllowance::Elbow90 * size);
    }

    // Every point where something joins a pipe between its ends becomes a
    // point of the network on that pipe.
    void JoinObjects()
    {
        std::vector<std::pair<Position, Position>> lines;
        lines.reserve(m_pipes.size());
        for (const Pipe& pipe : m_pipes)
            lines.emplace_back(pipe.from, pipe.to);
        catalogue::SegmentIndex index;
        index.Build(lines);
        const auto join = [&](const Position& p, const QString& name, bool tee) {
            const auto interior = [&](int64_t pipe) {
                return pipe != catalogue::SegmentIndex::None &&
                       !SamePlanPoint(p, m_pipes[size_t(pipe)].from) &&
                       !SamePlanPoint(p, m_pipes[size_t(pipe)].to);
            };
            int64_t pipe = index.First(p);
            if (pipe != catalogue::SegmentIndex::None && !interior(pipe))
                pipe = index.First(p, pipe);
            const int point =
                pipe == catalogue::SegmentIndex::None && FindPoint(p) < 0 ? -1 : PointAt(p, name);
            if (!interior(pipe))
                return;
            Pipe& on = m_pipes[size_t(pipe)];
            const int64_t dNS = int64_t(p.NS) - on.from.NS, dEW = int64_t(p.EW) - on.from.EW;
            const double halfTee = tee ? Metres(FittingAllowance::TeeRun * on.size) / 2 : 0;
            on.joints.push_back({dNS * dNS + dEW * dEW, point, halfTee, p});
        };
        for (const auto& spur : m_design.Spurs) {
            join(spur->position(), spur->Name, true);
            join(spur->endPosition(), spur->Name, true);
        }
        for (const auto& inlet : m_design.Inlets)
            join(inlet->position(), inlet->Name, true);
        for (const auto& drop : m_design.Drops)
            join(drop->position(), drop->Name, false);
    }

    void MakeSegments()
    {
        for (Pipe& pipe : m_pipes) {
            std::sort(pipe.joints.begin(), pipe.joints.end(),
                      [](const Pipe::Joint& x, const Pipe::Joint& y) { return x.along < y.along; });
            Pipe::Joint from{0, FindPoint(pipe.from), 0, pipe.from};
            double lead = pipe.leadMetres;
            const auto add = [&](const Pipe::Joint& to) {
                if (to.point == from.point)
                    return;
                const double metres = PlanMetres(from.at, to.at) + lead + from.halfTee + to.halfTee;
                AddEdge(from.point, to.point, metres, pipe.size);
                lead = 0;
                from = to;
            };
            for (const Pipe::Joint& joint : pipe.joints)
                add(joint);
            add({0, FindPoint(pipe.to), 0, pipe.to});
        }
    }

    void AddEdge(int a, int b, double metres, float size)
    {
        m_edges.push_back({a, b, metres, size, Resistance(metres, size), 0});
    }

    void FeedFromInlets()
    {
        m_source = int(m_result.points.size());
        NetworkPoint supply;
        supply.name = QStringLiteral("SUPPLY"); // the compressors, off the plan
        m_result.points.push_back(supply);
        for (const auto& inlet : m_design.Inlets) {
            m_result.inletDelivery += inlet->Demand.Average();
            const int point = FindPoint(inlet->position());
            if (point < 0)
                continue;
            const float size = SizeOr(inlet->PipeSize);
            AddEdge(m_source, point,
                    Metres(inlet->PipeLength) + Metres(FittingAllowance::TeeBranch * size), size);
            ++m_inlets;
        }
    }

    void TakeDemands()
    {
        m_demand.assign(m_result.points.size(), 0);
        for (const auto& drop : m_design.Drops) {
            const double average = drop->Demand.Average();
            const int point = FindPoint(drop->position());
            m_dropPoints.push_back(point);
            m_result.drops.push_back({drop.get(), average, 0, false});
            m_result.totalDemand += average;
            if (point >= 0)
                m_demand[size_t(point)] += average / LitresPerCubicMetre;
        }
    }

    // A breadth-first tree from the supply: the flow of every tree segment
    // is then what lies beyond it; the segments left over close the loops.
    void SpanningTree()
    {
        const size_t count = m_result.points.size();
        std::vector<std::vector<int>> touching(count);
        for (size_t e = 0; e < m_edges.size(); ++e) {
            touching[size_t(m_edges[e].a)].push_back(int(e));
            touching[size_t(m_edges[e].b)].push_back(int(e));
        }
        m_parentEdge.assign(count, -1);
        m_beyond.assign(count, 0);
        m_depth.assign(count, -1);
        std::vector<bool> inTree(m_edges.size(), false);
        m_order = {m_source};
        m_depth[size_t(m_source)] = 0;
        for (size_t i = 0; i < m_order.size(); ++i) {
            const int point = m_order[i];
            for (int e : touching[size_t(point)]) {
                const int other = Other(e, point);
                if (m_depth[size_t(other)] >= 0)
                    continue;
                m_depth[size_t(other)] = m_depth[size_t(point)] + 1;
                m_parentEdge[size_t(other)] = e;
                inTree[size_t(e)] = true;
                m_order.push_back(other);
            }
        }
        for (auto p = m_order.rbegin(); p != m_order.rend(); ++p) {
            const int point = *p;
            m_result.points[size_t(point)].supplied = true;
            const int e = m_parentEdge[size_t(point)];
            if (e < 0)
                continue;
            m_beyond[size_t(point)] += m_demand[size_t(point)];
            const double beyond = m_beyond[size_t(point)];
            Edge& edge = m_edges[size_t(e)];
            edge.flow = edge.b == point ? beyond : -beyond;
            m_beyond[size_t(Other(e, point))] += beyond;
        }
        for (size_t e = 0; e < m_edges.size(); ++e)
            if (!inTree[e] && m_depth[size_t(m_edges[e].a)] >= 0)
                m_loops.push_back(LoopOf(int(e)));
    }

    int Other(int e, int point) const
    {
        const Edge& edge = m_edges[size_t(e)];
        return edge.a == point ? edge.b : edge.a;
    }

    // The loop a leftover segment closes: along it from a to b, then back
    // through the tree from b to a. Each segment with the sign of its
    // direction along the loop.
    using Loop = std::vector<std::pair<int, double>>;
    Loop LoopOf(int chord) const
    {
        Loop loop{{chord, 1.0}};
        int up = m_edges[size_t(chord)].b;   // walked towards the root: with the loop
        int down = m_edges[size_t(chord)].a; // walked towards the root: against it
        const auto climb = [&](int& point, bool withLoop) {
            const int e = m_parentEdge[size_t(point)];
            const int parent = Other(e, point);
            // Along the loop the walk goes point -> parent, or parent -> point.
            const bool forward = (m_edges[size_t(e)].a == point) == withLoop;
            loop.emplace_back(e, forward ? 1.0 : -1.0);
            point = parent;
        };
        while (up != down) {
            if (m_depth[size_t(up)] >= m_depth[size_t(down)])
                climb(up, true);
            else
                climb(down, false);
        }
        return loop;
    }

    std::vector<double> Residuals() const
    {
        std::vector<double> residuals;
        residuals.reserve(m_loops.size());
        for (const Loop& loop : m_loops) {
            double sum = 0;
            for (const auto& [e, sign] : loop)
                sum += sign * Loss(m_edges[size_t(e)].resistance, m_edges[size_t(e)].flow);
            residuals.push_back(sum);
        }
        return residuals;
    }

    static double Largest(const std::vector<double>& values)
    {
        double largest = 0;
        for (double v : values)
            largest = std::max(largest, std::fabs(v));
        return largest;
    }

    void Shift(const std::vector<double>& step, double factor)
    {
        for (size_t l = 0; l < m_loops.size(); ++l)
            for (const auto& [e, sign] : m_loops[l])
                m_edges[size_t(e)].flow += factor * sign * step[l];
    }

    // Newton's method on the loop equations, the unknowns being one
    // correcting flow around each loop: the balance at every point holds
    // whatever they are. A step that makes things worse is halved.
    bool SolveLoops()
    {
        const double total = m_result.totalDemand / LitresPerCubicMetre;
        const double floor = std::max(total, 1e-9) * 1e-9;
        std::vector<double> residuals = Residuals();
        for (int iteration = 0;; ++iteration) {
            const double size = Largest(residuals);
            if (!std::isfinite(size))
                break;
            if (size <= LoopTolerance) {
                m_result.iterations = iteration;
                return true;
            }
            if (iteration == MaxIterations)
                break;
            std::vector<double> step = NewtonStep(residuals, floor);
            double factor = 1;
            for (int halving = 0; halving < 40; ++halving, factor /= 2) {
                Shift(step, factor);
                std::vector<double> next = Residuals();
                if (Largest(next) < size || halving == 39) {
                    residuals = std::move(next);
                    break;
                }
                Shift(step, -factor);
            }
        }
        Fail(AnalysisOutcome::NotSettled,
             QStringLiteral("The flows did not settle after %1 iterations.").arg(MaxIterations));
        return false;
    }

    // Solves J step = -residuals, J the derivative of the loop sums with
    // respect to the loop flows, by elimination with partial pivoting.
    std::vector<double> NewtonStep(const std::vector<double>& residuals, double floor) const
    {
        const size_t n = m_loops.size();
        std::vector<std::vector<double>> j(n, std::vector<double>(n + 1, 0));
        std::unordered_map<int, std::vector<std::pair<size_t, double>>> loopsOf;
        for (size_t l = 0; l < n; ++l)
            for (const auto& [e, sign] : m_loops[l])
                loopsOf[e].emplace_back(l, sign);
        for (const auto& [e, members] : loopsOf) {
            const Edge& edge = m_edges[size_t(e)];
            const double slope = LossSlope(edge.resistance, edge.flow, floor);
            for (const auto& [l, sl] : members)
                for (const auto& [m, sm] : members)
                    j[l][m] += sl * sm * slope;
        }
        for (size_t l = 0; l < n; ++l) {
            j[l][n] = -residuals[l];
            if (j[l][l] == 0)
                j[l][l] = 1; // a loop of pipes without resistance: nothing to correct
        }
        for (size_t c = 0; c < n; ++c) {
            size_t pivot = c;
            for (size_t r = c + 1; r < n; ++r)
                if (std::fabs(j[r][c]) > std::fabs(j[pivot][c]))
                    pivot = r;
            std::swap(j[c], j[pivot]);
            for (size_t r = c + 1; r < n; ++r) {
                const double f = j[r][c] / j[c][c];
                for (size_t k = c; k <= n; ++k)
                    j[r][k] -= f * j[c][k];
            }
        }
        std::vector<double> step(n, 0);
        for (size_t c = n; c-- > 0;) {
            double sum = j[c][n];
            for (size_t k = c + 1; k < n; ++k)
                sum -= j[c][k] * step[k];
            step[c] = sum / j[c][c];
        }
        return step;
    }

    void Pressures()
    {
        m_result.points[size_t(m_source)].pressure = m_result.supplyPressure;
        for (int point : m_order) {
            const int e = m_parentEdge[size_t(point)];
            if (e < 0)
                continue;
            const Edge& edge = m_edges[size_t(e)];
            const double loss = Loss(edge.resistance, edge.flow);
            const double parent = m_result.points[size_t(Other(e, point))].pressure;
            m_result.points[size_t(point)].pressure =
                edge.b == point ? parent - loss : parent + loss;
        }
    }

    void Report()
    {
        for (const Edge& edge : m_edges) {
            if (m_depth[size_t(edge.a)] < 0)
                continue;
            m_result.segments.push_back({edge.a, edge.b, edge.metres, edge.size,
                                         edge.flow * LitresPerCubicMetre,
                                         Loss(edge.resistance, edge.flow)});
        }
        for (size_t d = 0; d < m_result.drops.size(); ++d) {
            DropResult& drop = m_result.drops[d];
            const int point = m_dropPoints[d];
            if (point < 0 || !m_result.points[size_t(point)].supplied)
                continue;
            drop.supplied = true;
            m_result.points[size_t(point)].demand += drop.demand;
            drop.pressure =
                m_result.points[size_t(point)].pressure - LegLoss(*drop.drop, drop.demand);
            if (m_result.worst < 0 ||
                drop.pressure < m_result.drops[size_t(m_result.worst)].pressure)
                m_result.worst = int(d);
        }
    }

    // The drop's own pipe, or a female drop's hose, from the tee to the outlet.
    double LegLoss(const TDrop& drop, double litresPerSecond) const
    {
        const float bore = drop.IsFemale() && drop.HoseSize > 0 ? drop.HoseSize : drop.OutletSize;
        if (!(bore > 0) || litresPerSecond == 0)
            return 0;
        const double metres =
            Metres(std::max(drop.PipeLen, 0)) + Metres(FittingAllowance::TeeBranch * bore);
        return Loss(Resistance(metres, bore), litresPerSecond / LitresPerCubicMetre);
    }

    const TPipeLoop& m_design;
    float m_ringSize;
    AirAnalysis& m_result;
    std::vector<Pipe> m_pipes;
    std::unordered_map<int64_t, int> m_byPlace;
    std::vector<Edge> m_edges;
    int m_source = 0;
    int m_inlets = 0;
    std::vector<double> m_demand; // m^3/s per point
    std::vector<int> m_dropPoints;
    std::vector<int> m_parentEdge;
    std::vector<int> m_depth;
    std::vector<int> m_order;
    std::vector<double> m_beyond; // m^3/s drawn through each point's tree segment
    std::vector<Loop> m_loops;
};

} // namespace

bool AirAnalysis::withinAllowed() const
{
    if (!solved())
        return false;
    return std::none_of(drops.begin(), drops.end(),
                        [this](const DropResult& drop) { return dropFails(drop); });
}

AirAnalysis AnalyseAirSupply(const TPipeLoop& design, std::optional<float> ringSize)
{
    AirAnalysis result;
    result.supplyPressure = design.SupplyPressure;
    result.allowedDrop = design.AllowedPressureDrop;
    Network(design, ringSize.value_or(design.PipeSize), result).Solve();
    return result;
}

std::optional<float> SuggestRingSize(const TPipeLoop& design, QList<float> sizes)
{
    std::sort(sizes.begin(), sizes.end());
    for (float size : sizes)
        if (size > 0 && AnalyseAirSupply(design, size).withinAllowed())
            return size;
    return std::nullopt;
}

QList<float> RingSizes(const catalogue::TPartsDatabase* database)
{
    QList<float> sizes;
    if (database && database->Loaded()) {
        const QStringList lines = database->PipeSizeText().split(QStringLiteral("\r\n"));
        for (const QString& line : lines)
            if (const std::optional<float> size = ParseSizeText(line.trimmed()))
                sizes.append(*size);
    }
    return sizes.isEmpty() ? FullPipeSizes() : sizes;
}

} // namespace pipeloop::analysis
