#include "PartsListGenerator.h"

#include "Clock.h"
#include "ErrorReport.h"
#include "LoopGeometry.h"
#include "PartsDatabase.h"
#include "Rounding.h"
#include "UiServices.h"
#include "Units.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace pipeloop::catalogue
{

namespace
{

const QString CrLf = QStringLiteral("\r\n");
const QString Six = QStringLiteral("      ");
constexpr double DegreesPerRadian = 57.29577951308232;
// The maker whose assigned parts are recorded (this build serves one vendor).
const QString VendorMaker = QStringLiteral("ZAVOZA");

int32_t Sign(int64_t value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

int64_t Abs64(int64_t value)
{
    return value < 0 ? -value : value;
}

// The smallest number of steps whose length reaches threshold.
int64_t StepsToReach(double threshold, double stepLength)
{
    if (threshold <= stepLength)
        return 1;
    auto steps = static_cast<int64_t>(std::ceil(threshold / stepLength));
    while (steps > 1 && double(steps - 1) * stepLength >= threshold)
        --steps;
    while (double(steps) * stepLength < threshold)
        ++steps;
    return steps;
}

uint32_t Bits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct PositionHash {
    size_t operator()(const Position& p) const noexcept
    {
        uint64_t h = uint64_t(uint32_t(p.NS)) * 0x9E3779B97F4A7C15ull;
        h ^= uint64_t(uint32_t(p.EW)) * 0xC2B2AE3D27D4EB4Full;
        h ^= uint64_t(uint32_t(p.HG)) * 0x165667B19E3779F9ull;
        return size_t(h ^ (h >> 29));
    }
};

} // namespace

int TurnAngle(float a, float b)
{
    const float difference = std::fabs(a - b);
    int degrees = Round(double(difference) * DegreesPerRadian) % 360;
    if (degrees > 180)
        degrees = 360 - degrees;
    return degrees;
}

// ---------------------------------------------------------------- the position index

// The design's positions, as TPipeLoop::ObjectAt finds them with full
// positions and spurs searched by either end, and the same points by line so
// that the objects along a run are found without walking it.
struct TPartsListGenerator::Index {
    std::unordered_map<Position, TPipeLoopObject*, PositionHash> primary;
    std::unordered_map<Position, TPipeLoopObject*, PositionHash> spurEnds;
    // Drains standing on a corner, which the lookup above finds as the corner.
    std::unordered_map<Position, TDrain*, PositionHash> cornerDrains;
    // Plan points by line: east-west lines by NS (values EW), north-south
    // lines by EW (values NS), diagonals by NS - EW and by NS + EW (values NS).
    std::unordered_map<int64_t, std::vector<int32_t>> eastWest, northSouth, falling, rising;

    void addPoint(const Position& p)
    {
        eastWest[p.NS].push_back(p.EW);
        northSouth[p.EW].push_back(p.NS);
        falling[int64_t(p.NS) - p.EW].push_back(p.NS);
        rising[int64_t(p.NS) + p.EW].push_back(p.NS);
    }

    void build(const TPipeLoop& design)
    {
        primary.clear();
        spurEnds.clear();
        cornerDrains.clear();
        eastWest.clear();
        northSouth.clear();
        falling.clear();
        rising.clear();
        // ObjectAt's order: elbows (at their pipe height), drops, drains,
        // valves, inlets, spurs by start; the first of a list wins.
        const auto add = [this](const Position& p, TPipeLoopObject* object) {
            primary.try_emplace(p, object);
            addPoint(p);
        };
        for (const auto& elbow : design.Elbows)
            add({elbow->NS, elbow->EW, elbow->PipeHeight()}, elbow.get());
        for (const auto& drop : design.Drops)
            add(drop->position(), drop.get());
        for (const auto& drain : design.Drains) {
            add(drain->position(), drain.get());
            if (primary.at(drain->position())->Kind() == ObjectKind::Elbow)
                cornerDrains.try_emplace(drain->position(), drain.get());
        }
        for (const auto& valve : design.Valves)
            add(valve->position(), valve.get());
        for (const auto& inlet : design.Inlets)
            add(inlet->position(), inlet.get());
        for (const auto& spur : design.Spurs)
            add(spur->position(), spur.get());
        // Then a spur ending at the point (one starting there was found above).
        for (const auto& spur : design.Spurs) {
            spurEnds.try_emplace(spur->endPosition(), spur.get());
            addPoint(spur->endPosition());
        }
        for (auto* lines : {&eastWest, &northSouth, &falling, &rising})
            for (auto& [key, values] : *lines) {
                std::sort(values.begin(), values.end());
                values.erase(std::unique(values.begin(), values.end()), values.end());
            }
    }

    // A drain on the corner at p, handed out once.
    TDrain* takeCornerDrain(const Position& p)
    {
        const auto found = cornerDrains.find(p);
        if (found == cornerDrains.end())
            return nullptr;
        TDrain* drain = found->second;
        cornerDrains.erase(found);
        return drain;
    }

    TPipeLoopObject* at(const Position& p) const
    {
        if (const auto found = primary.find(p); found != primary.end())
            return found->second;
        if (const auto found = spurEnds.find(p); found != spurEnds.end())
            return found->second;
        return nullptr;
    }

    // The steps 1..count of the run at which some indexed point lies, ascending.
    void stepsOnRun(const RunSteps& steps, std::vector<int64_t>& out) const
    {
        out.clear();
        if (steps.count <= 0)
            return;
        const Position first = steps.At(1);
        const Position last = steps.At(steps.count);
        const std::unordered_map<int64_t, std::vector<int32_t>>* lines = nullptr;
        int64_t key = 0;
        int32_t from = 0;
        int32_t to = 0;
        int32_t origin = 0;
        if (steps.stepNS == 0) {
            lines = &eastWest;
            key = steps.start.NS;
            from = first.EW;
            to = last.EW;
            origin = steps.start.EW;
        } else {
            from = first.NS;
            to = last.NS;
            origin = steps.start.NS;
            if (steps.stepEW == 0) {
                lines = &northSouth;
                key = steps.start.EW;
            } else if (steps.stepNS == steps.stepEW) {
                lines = &falling;
                key = int64_t(steps.start.NS) - steps.start.EW;
            } else {
                lines = &rising;
                key = int64_t(steps.start.NS) + steps.start.EW;
            }
        }
        const auto line = lines->find(key);
        if (line == lines->end())
            return;
        const std::vector<int32_t>& values = line->second;
        const auto begin = std::lower_bound(values.begin(), values.end(), std::min(from, to));
        const auto end = std::upper_bound(values.begin(), values.end(), std::max(from, to));
        for (auto it = begin; it != end; ++it)
            out.push_back(Abs64(int64_t(*it) - origin));
        std::sort(out.begin(), out.end());
    }
};

// ---------------------------------------------------------------- selection cache

struct TPartsListGenerator::SelectionCache {
    using Key = std::array<uint64_t, 2>;
    struct KeyHash {
        size_t operator()(const Key& key) const noexcept
        {
            return size_t((key[0] * 0x9E3779B97F4A7C15ull) ^ (key[1] + 0x632BE59BD9B4E019ull));
        }
    };
    std::unordered_map<Key, const TPartObject*, KeyHash> found;

    template <typename Select>
    const TPartObject* get(uint64_t operation, uint64_t a, uint64_t b, Select select)
    {
        const Key key{(operation << 56) ^ a, b};
        if (const auto it = found.find(key); it != found.end())
            return it->second;
        const TPartObject* part = select();
        if (part)
            found.emplace(key, part);
        return part;
    }
};

const TPartObject* TPartsListGenerator::Pipe(float size)
{
    const uint64_t colourAndLength =
        (uint64_t(uint32_t(m_options.colour)) << 32) | uint32_t(m_options.stockLength);
    return m_cache->get(1, colourAndLength, Bits(size), [&] {
        return m_database.Pipe(m_options.colour, m_options.stockLength, size);
    });
}

const TPartObject* TPartsListGenerator::Clip(Attr flag, float size)
{
    return m_cache->get(2, uint64_t(flag), Bits(size),
                        [&] { return m_database.PipeClip(flag, size); });
}

const TPartObject* TPartsListGenerator::Connector(float size)
{
    return m_cache->get(3, 0, Bits(size), [&] { return m_database.Connector(0, size); });
}

const TPartObject* TPartsListGenerator::Elbow(float size)
{
    return m_cache->get(4, 0, Bits(size), [&] { return m_database.Elbow(0, size); });
}

const TPartObject* TPartsListGenerator::Elbow45(float size)
{
    return m_cache->get(5, 0, Bits(size), [&] { return m_database.Elbow45(0, size); });
}

const TPartObject* TPartsListGenerator::EqualTee(float size)
{
    return m_cache->get(6, 0, Bits(size), [&] { return m_database.EqualTee(0, size); });
}

const TPartObject* TPartsListGenerator::PipeReducer(float big, float small)
{
    return m_cache->get(7, Bits(big), Bits(small),
                        [&] { return m_database.PipeReducer(big, small); });
}

// ---------------------------------------------------------------- set-up

TPartsListGenerator::TPartsListGenerator(TPipeLoop& design, TPartsDatabase& database)
    : m_design(design), m_database(database),
      m_options(PartsListOptions::ForDesign(design.PipeColour)), m_index(std::make_unique<Index>()),
      m_cache(std::make_unique<SelectionCache>())
{
}

TPartsListGenerator::~TPartsListGenerator() = default;

void TPartsListGenerator::Cancel()
{
    if (!m_running)
        return;
    m_running = false;
    m_cancelled = true;
}

void TPartsListGenerator::YieldNow()
{
    if (m_yield)
        m_yield();
}

int32_t TPartsListGenerator::StockLength() const
{
    return m_mainPipe ? m_mainPipe->Length() : m_options.stockLength;
}

// ---------------------------------------------------------------- recording

const QStringList& TPartsListGenerator::StatusLog() const
{
    qsizetype lines = 0;
    for (const LogLine& line : m_logLines)
        lines += qsizetype(line.count);
    if (m_log.size() != lines) {
        m_log.clear();
        m_log.reserve(lines);
        for (const LogLine& line : m_logLines) {
            const QString text =
                line.record ? Six + line.text + u' ' + line.description : line.text;
            for (int64_t i = 0; i < line.count; ++i)
                m_log.append(text);
        }
    }
    return m_log;
}

const QStringList& TPartsListGenerator::PartList() const
{
    if (m_partList.size() != m_partCount) {
        m_partList.clear();
        m_partList.reserve(qsizetype(m_partCount));
        for (const RecordedRun& run : m_partRuns)
            for (int64_t i = 0; i < run.count; ++i)
                m_partList.append(run.key);
    }
    return m_partList;
}

void TPartsListGenerator::Record(const TPartObject& part, const QString& description)
{
    RecordTimes(part, description, 1);
}

void TPartsListGenerator::RecordTimes(const TPartObject& part, const QString& description,
                                      int64_t times)
{
    if (part.EndOfLine())
        for (int64_t i = 0; i < times; ++i)
            Ui().warn(QStringLiteral("Caution, part is end of line:") + CrLf + part.PartKey());
    RecordKey(part.PartKey(), description, times);
}

void TPartsListGenerator::RecordKey(const QString& key, const QString& description, int64_t times)
{
    if (times <= 0)
        return;
    if (!m_partRuns.empty() && m_partRuns.back().key == key)
        m_partRuns.back().count += times;
    else
        m_partRuns.push_back({key, times});
    m_partCount += times;
    if (!m_logLines.empty()) {
        LogLine& last = m_logLines.back();
        if (last.record && last.text == key && last.description == description) {
            last.count += times;
            return;
        }
    }
    m_logLines.push_back({key, description, true, times});
}

bool TPartsListGenerator::ConfirmAll(std::initializer_list<const TPartObject*> parts,
                                     TPipeLoopObject* object, const QString& extraText)
{
    bool confirmed = true;
    for (const TPartObject* part : parts) {
        if (part)
            continue;
        confirmed = false;
        const QString queued = m_database.NextError();
        if (object) {
            const QString message = extraText.isEmpty() ? queued : extraText + CrLf + queued;
            Ui().error(SelectionProblemText(object->Name, message));
            m_design.Highlight(*object);
        } else {
            Ui().error(SelectionProblemText(extraText, queued));
        }
    }
    if (!confirmed) {
        m_running = false;
        m_stopped = true;
    }
    return confirmed;
}

bool TPartsListGenerator::Confirm(const TPartObject* part, TPipeLoopObject* object,
                                  const QString& extraText)
{
    return ConfirmAll({part}, object, extraText);
}

const TPartObject* TPartsListGenerator::SelectPipe(float size)
{
    return Pipe(size);
}

const TPartObject* TPartsListGenerator::SelectConnector(float size)
{
    return Connector(size);
}

void TPartsListGenerator::Stop(const QString& text, TPipeLoopObject* first, TPipeLoopObject* second)
{
    Ui().error(text + CrLf + QStringLiteral("Parts list generation will stop."));
    if (first)
        m_design.Highlight(*first);
    if (second)
        m_design.Highlight(*second);
    m_running = false;
    m_stopped = true;
}

// ---------------------------------------------------------------- Generate

GenerationOutcome TPartsListGenerator::Generate(const PartsListOptions& options)
{
    m_options = options;
    if (m_options.stockLength <= 0)
        m_options.stockLength = 6000;
    // The price options are only offered while a price list is loaded.
    if (!m_database.PriceListLoaded()) {
        m_options.includePrices = false;
        m_options.splitPackagePricing = false;
    }

    m_report.Clear();
    WriteReportHeader(m_report, m_design);
    m_logLines.clear();
    m_log.clear();
    m_partRuns.clear();
    m_partCount = 0;
    m_partList.clear();
    m_cutter.ClearWaste();
    m_hoseTotals.clear();
    m_reportOutcome = {};
    m_cache->found.clear();
    m_running = false;
    m_stopped = false;
    m_cancelled = false;
    m_mainPipe = m_mainElbow = m_mainClip = nullptr;
    // Messages of earlier selections that nobody confirmed are not this
    // generation's.
    while (m_database.QueuedErrorCount() > 0)
        m_database.NextError();

    if (!AskValidity())
        return m_outcome = GenerationOutcome::Declined;
    if (!SelectMainParts())
        return m_outcome = GenerationOutcome::Stopped;

    try {
        for (const auto& spur : m_design.Spurs)
            spur->Connected = false;
        m_running = true;
        m_index->build(m_design);
        if (m_design.CompressorHouse) {
            for (size_t i = 0; i < m_design.Spurs.size() && m_running; ++i) {
                TSpur& spur = *m_design.Spurs[i];
                if (!spur.Connected)
                    HandleSpur(spur, spur.PipeSize, 0.0f, nullptr, false, false);
            }
        } else {
            WalkLoop();
        }
        if (m_running)
            Finish();
    } catch (...) {
        ReportError();
        m_running = false;
        m_stopped = true;
    }
    const bool cancelled = m_cancelled;
    m_running = false;
    m_outcome = cancelled   ? GenerationOutcome::Cancelled
                : m_stopped ? GenerationOutcome::Stopped
                            : GenerationOutcome::Completed;
    return m_outcome;
}

bool TPartsListGenerator::AskValidity()
{
    const QDateTime& expiry = m_database.ExpiryDate();
    if (!(Clock::current().now() > expiry))
        return true;
    const QString date = QLocale::c().toString(expiry.date(), QStringLiteral("dd-MMM-yyyy"));
    return Ui().confirm(QStringLiteral("The ") + m_database.Supplier() +
                        QStringLiteral(" parts DB expired on ") + date + CrLf +
                        QStringLiteral("You should obtain a new database.") + CrLf +
                        QStringLiteral("Continue parts list generation ?"));
}

bool TPartsListGenerator::SelectMainParts()
{
    const float size = m_design.PipeSize;
    m_mainPipe = Pipe(size);
    m_mainElbow = Elbow(size);
    m_mainClip = Clip(m_options.steelClipsMain ? Attr::Steel : Attr::Technopolymeric, size);
    const bool confirmed =
        ConfirmAll({m_mainPipe, m_mainElbow, m_mainClip}, nullptr, QStringLiteral("MAIN PIPE"));
    m_running = false;
    return confirmed;
}

void TPartsListGenerator::Finish()
{
    if (!m_cutter.WasteEmpty())
        m_cutter.WriteWasteDetails(*this);
    ReportSettings settings;
    settings.includePrices = m_options.includePrices;
    settings.splitPackagePricing = m_options.splitPackagePricing;
    settings.showCatalogueCodes = m_options.showCatalogueCodes;
    m_reportOutcome = BuildReport(m_report, m_database, m_partRuns, m_hoseTotals, settings,
                                  [this](const QString& line) { Log(line); });
    if (m_reportOutcome.hoseFailure) {
        m_running = false;
        m_stopped = true;
    }
    bool unconnected = false;
    for (const auto& spur : m_design.Spurs)
        if (!spur->Connected) {
            m_design.Highlight(*spur);
            unconnected = true;
        }
    if (unconnected)
        Ui().inform(QStringLiteral("There are spurs not connected to the pipe loop.") + CrLf +
                    QStringLiteral("These have been highlighted on the design."));
}

// ---------------------------------------------------------------- the loop walk

void TPartsListGenerator::WalkLoop()
{
    const ElbowList& corners = m_design.Elbows;
    const size_t n = corners.size();
    if (n < 2)
        return;
    const float mainSize = m_design.PipeSize;
    float reference = SegmentAngle(corners[n - 2]->position(), corners[n - 1]->position());
    // A level run leaving the foot or head of a riser bends out of the
    // vertical: a right angle whichever way it heads. Measured against the
    // reference direction 0 alone, a riser on a north-south run would be
    // refused as a turn of 0 or 180 degrees.
    bool afterRiser = false;
    for (size_t i = 0; i + 1 < n && m_running; ++i) {
        TElbow& q = *corners[i];
        TElbow& s = *corners[i + 1];
        Log(q.Name + QStringLiteral("...") + s.Name);
        const float direction = SegmentAngle(q.position(), s.position());
        const int turn = afterRiser ? 90 : TurnAngle(reference, direction);
        afterRiser = false;
        bool walked = false;
        if (q.VerticalDrop != 0 && q.VerticalDrop == s.VerticalDrop) {
            Record(*m_mainElbow, QStringLiteral("ELBOW FOR AVOIDANCE"));
            walked = true;
            reference = 0;
        } else if (q.position().samePlan(s.position())) {
            const int64_t rise = Abs64(int64_t(q.VerticalDrop) - s.VerticalDrop);
            const auto vertical = static_cast<int32_t>(std::min<int64_t>(rise, INT32_MAX));
            if (vertical != 0) {
                Record(*m_mainElbow, QStringLiteral("ELBOW FOR AVOIDANCE"));
                PipeForLength(vertical, mainSize, &q);
                if (m_running)
                    Clips(vertical, mainSize, &q);
            } else {
                Stop(QStringLiteral("Elbow problem found with ") + q.Name +
                         QStringLiteral(" and ") + s.Name,
                     &q, &s);
            }
            reference = 0;
            afterRiser = true;
        } else {
            if (turn == 45) {
                const TPartObject* elbow45 = Elbow45(mainSize);
                if (ConfirmAll({elbow45}, nullptr, q.Name + QStringLiteral("..") + s.Name))
                    Record(*elbow45, QStringLiteral("CONNECTOR-45"));
            } else if (turn == 90) {
                Record(*m_mainElbow, QStringLiteral("ELBOW"));
            } else {
                Stop(QStringLiteral("Connector angle ") + QString::number(turn) +
                         QStringLiteral(" not supported for ") + q.Name + QStringLiteral("..") +
                         s.Name,
                     &q, &s);
            }
            reference = direction;
            walked = true;
        }
        if (m_running && walked)
            WalkRun({q.position(), s.position(), mainSize, direction, nullptr, q.VerticalDrop});
        YieldNow();
    }
}

// ---------------------------------------------------------------- runs

void TPartsListGenerator::WalkRun(const PipeRun& run)
{
    const int64_t dNS = int64_t(run.to.NS) - run.from.NS;
    const int64_t dEW = int64_t(run.to.EW) - run.from.EW;
    if (dNS != 0 && dEW != 0 && Abs64(dNS) != Abs64(dEW)) {
        Stop(QStringLiteral("Problem found with spur/main angle."), run.parent);
        return;
    }
    RunSteps steps;
    steps.start = {run.from.NS, run.from.EW, HeightBelow(run.from.HG, run.heightOffset)};
    steps.stepNS = Sign(dNS);
    steps.stepEW = Sign(dEW);
    steps.count = std::max(Abs64(dNS), Abs64(dEW));
    steps.stepLength = steps.stepNS != 0 && steps.stepEW != 0 ? std::sqrt(2.0) : 1.0;
    RunClip(run.size);
    if (m_running)
        WalkSteps(run, steps);
}

void TPartsListGenerator::WalkSteps(const PipeRun& run, const RunSteps& steps)
{
    const int64_t count = steps.count;
    const double stepLength = steps.stepLength;
    const int64_t clipEvery = StepsToReach(2000, stepLength);
    const int64_t stockEvery = StepsToReach(StockLength(), stepLength);
    std::vector<int64_t> objectSteps;
    m_index->stepsOnRun(steps, objectSteps);

    int64_t at = 0;
    int64_t lastClip = 0;
    int64_t lastPiece = 0;
    size_t next = 0;
    while (at < count && m_running) {
        int64_t step = std::min({lastClip + clipEvery, lastPiece + stockEvery, count});
        if (next < objectSteps.size())
            step = std::min(step, objectSteps[next]);
        at = step;
        if (step == lastClip + clipEvery) {
            RunClip(run.size);
            lastClip = step;
        }
        TPipeLoopObject* found = nullptr;
        if (next < objectSteps.size() && objectSteps[next] == step) {
            found = m_index->at(steps.At(step));
            ++next;
        }
        if (found || step - lastPiece >= stockEvery) {
            RunPiece(run, double(step - lastPiece) * stepLength, found, step == count);
            lastPiece = step;
        }
        if (found)
            Meet(*found, run, step == count);
    }
    FinishRun(run, double(at - lastClip) * stepLength, double(at - lastPiece) * stepLength);
}

void TPartsListGenerator::RunClip(float size)
{
    Clips(0, size, nullptr);
}

void TPartsListGenerator::RunPiece(const PipeRun& run, double length, TPipeLoopObject* found,
                                   bool reachedEnd)
{
    YieldNow();
    if (!m_running)
        return;
    TPipeLoopObject* object = found ? found : run.parent;
    m_cutter.AddPiece(*this, Round(length), object, !found && !reachedEnd,
                      object ? QString() : QStringLiteral("Main/Spur"), run.size);
}

void TPartsListGenerator::FinishRun(const PipeRun& run, double clipDistance, double runLength)
{
    if (m_running && clipDistance > 1000)
        RunClip(run.size);
    if (runLength > 0 && m_running)
        m_cutter.AddPiece(*this, Round(runLength), nullptr, false, QStringLiteral("ELBOW-END"),
                          run.size);
}

void TPartsListGenerator::Meet(TPipeLoopObject& object, const PipeRun& run, bool reachedEnd)
{
    if (!m_running)
        return;
    switch (object.Kind()) {
    case ObjectKind::Valve:
        ValveFitting(run.size, 0, &object);
        break;
    case ObjectKind::Drop:
        HandleDrop(static_cast<TDrop&>(object), run.size);
        break;
    case ObjectKind::Inlet:
        HandleInlet(static_cast<TInlet&>(object));
        break;
    case ObjectKind::Drain:
        HandleDrain(static_cast<TDrain&>(object));
        break;
    case ObjectKind::Spur: {
        auto& spur = static_cast<TSpur&>(object);
        if (&spur != run.parent && !spur.Connected)
            HandleSpur(spur, run.size, run.direction, run.parent, reachedEnd, false);
        break;
    }
    case ObjectKind::Elbow: {
        // Corner fittings come from the loop walk; a drain on the corner
        // still needs its tee and leg.
        const auto& corner = static_cast<const TElbow&>(object);
        if (TDrain* drain = m_index->takeCornerDrain({corner.NS, corner.EW, corner.PipeHeight()}))
            HandleDrain(*drain);
        break;
    }
    case ObjectKind::BuildFeature:
        break;
    }
}

// ---------------------------------------------------------------- spurs

void TPartsListGenerator::HandleSpur(TSpur& spur, float runSize, float runDirection, TSpur* parent,
                                     bool atRunEnd, bool joinedEnd)
{
    Log(QStringLiteral("  ") + spur.Name + QStringLiteral("..."));
    const float direction = SegmentAngle(spur.position(), spur.endPosition());
    const int angle = TurnAngle(direction, runDirection);
    spur.Connected = true;
    const bool house = m_design.CompressorHouse;
    QString place;
    bool accepted = false;
    if (parent && joinedEnd) {
        if (!m_design.ObjectAt(spur.position(), false, &spur) && !house)
            OpenEnd(spur);
        accepted = true;
    } else if (parent && atRunEnd) {
        accepted = angle == 0 || angle == 45 || angle == 90 || angle == 270 || angle == 315;
        if (accepted)
            EndToEnd(spur, *parent, angle);
    } else if (parent || !house) {
        place = QStringLiteral(" tee");
        accepted = angle == 90 || angle == 270;
        if (accepted)
            Tee(spur.PipeSize, runSize, &spur);
    } else {
        place = QStringLiteral("House starting pipe");
        accepted = true;
    }
    if (m_running)
        VerticalPart(spur, false);
    if (m_running && !accepted)
        Stop(spur.Name + place + QStringLiteral(" angle not supported ") + QString::number(angle) +
                 QStringLiteral(" degrees."),
             &spur);
    if (m_running)
        WalkRun({spur.position(), spur.endPosition(), spur.PipeSize, direction, &spur,
                 spur.VerticalDrop});

    if (m_running) {
        const Position end = spur.endPosition();
        if (m_design.IsOnLoop(end)) {
            VerticalPart(spur, true);
            if (m_running) {
                const int joint =
                    Round(double(std::fabs(m_design.SpurAngleToLoop(spur))) * DegreesPerRadian);
                if (joint == 90 || joint == 270)
                    Tee(spur.PipeSize, m_design.PipeSize, &spur);
                else
                    Stop(QStringLiteral("Problem found with : ") + spur.Name + CrLf +
                             QStringLiteral("Spur P2 connects with pipe loop at ") +
                             QString::number(joint) + QStringLiteral(" degrees."),
                         &spur);
            }
        } else if (TSpur* other = m_design.SpurAt(end, &spur)) {
            if (!other->Connected) {
                VerticalPart(spur, true);
                if (m_running) {
                    const int joint =
                        TurnAngle(SegmentAngle(other->position(), other->endPosition()), direction);
                    if (joint == 90 || joint == 270) {
                        Tee(spur.PipeSize, other->PipeSize, &spur);
                        if (m_running)
                            HandleSpur(*other, spur.PipeSize, direction, &spur, true, true);
                    } else {
                        Stop(spur.Name + QStringLiteral(" tee angle not supported ") +
                                 QString::number(joint) + QStringLiteral(" degrees."),
                             &spur);
                    }
                }
            }
        } else {
            TPipeLoopObject* there = m_design.ObjectAt(end, true, &spur);
            if (there && there->Kind() == ObjectKind::Drop) {
                auto& drop = static_cast<TDrop&>(*there);
                switch (drop.Style) {
                case DropStyle::Female:
                case DropStyle::Tee: {
                    const TPartObject* cap = m_database.EndCap(0, spur.PipeSize);
                    if (ConfirmAll({cap}, &spur, QString()))
                        Record(*cap, QStringLiteral("END CAP"));
                    break;
                }
                case DropStyle::Saddle:
                    Ui().inform(spur.Name + QStringLiteral(" end cannot have a saddle outlet."));
                    break;
                case DropStyle::Quick:
                case DropStyle::FemaleQuick:
                    Stop(QStringLiteral("Drop style not supported for ") + drop.Name, &drop);
                    break;
                case DropStyle::FemaleSaddle:
                    break;
                }
            } else if (!house && (!there || there->Kind() != ObjectKind::Spur)) {
                OpenEnd(spur);
            }
        }
    }
    Log(QStringLiteral("  ...") + spur.Name);
}

void TPartsListGenerator::EndToEnd(TSpur& spur, TSpur& parent, int angle)
{
    const float own = spur.PipeSize;
    const float theirs = parent.PipeSize;
    const bool differ = !SameSize(own, theirs);
    const float big = std::max(own, theirs);
    const float small = std::min(own, theirs);
    const TPartObject* reducer = differ ? PipeReducer(big, small) : nullptr;
    const TPartObject* part = nullptr;
    QString description;
    if (angle == 0 || angle == 180) {
        part = Connector(big);
        description = QStringLiteral("EQUAL TEE");
    } else if (angle == 90 || angle == 270) {
        part = Elbow(big);
        description = QStringLiteral("90 DEGREE CONNECTOR");
    } else if (angle == 45 || angle == 315) {
        part = Elbow45(big);
        description = QStringLiteral("45 DEGREE CONNECTOR");
    } else {
        Stop(QStringLiteral("Connection angle ") + QString::number(angle) +
                 QStringLiteral(" degrees not supported between :") + CrLf + parent.Name +
                 QStringLiteral(" and ") + spur.Name,
             &parent, &spur);
        return;
    }
    if (ConfirmAll({part}, &spur, QString()))
        Record(*part, description);
    if (m_running && differ && ConfirmAll({reducer}, &spur, QString()))
        Record(*reducer, QStringLiteral("REDUCER"));
}

void TPartsListGenerator::Tee(float branch, float run, TPipeLoopObject* object)
{
    if (branch != run) {
        const float big = std::max(branch, run);
        const float small = std::min(branch, run);
        const TPartObject* tee = EqualTee(big);
        const TPartObject* reducer = PipeReducer(big, small);
        if (ConfirmAll({tee, reducer}, object, QStringLiteral("Cannot make reducing tee."))) {
            Record(*tee, QStringLiteral("EQUAL TEE (REDUCING TEE PART 1)"));
            Record(*reducer, QStringLiteral("REDUCER (REDUCING TEE PART 2)"));
        }
    } else {
        const TPartObject* tee = EqualTee(run);
        if (ConfirmAll({tee}, object, QString()))
            Record(*tee, QStringLiteral("EQUAL TEE"));
    }
}

void TPartsListGenerator::OpenEnd(TSpur& spur)
{
    if (!m_options.endCaps) {
        Ui().inform(spur.Name + QStringLiteral(" end is not connected."));
        return;
    }
    const TPartObject* straight = Connector(spur.PipeSize);
    if (ConfirmAll({straight}, &spur, QString()))
        Record(*straight, QStringLiteral("STRAIGHT FOR END CAP"));
    if (!m_running)
        return;
    const TPartObject* cap = m_database.EndCap(0, spur.PipeSize);
    if (ConfirmAll({cap}, &spur, QString()))
        Record(*cap, QStringLiteral("END CAP"));
}

void TPartsListGenerator::VerticalPart(TSpur& spur, bool elbowFirst)
{
    if (spur.VerticalDrop == 0)
        return;
    const float size = spur.PipeSize;
    const TPartObject* elbow = Elbow(size);
    if (!ConfirmAll({elbow}, &spur, QString()))
        return;
    const auto length =
        static_cast<int32_t>(std::min<int64_t>(Abs64(spur.VerticalDrop), INT32_MAX));
    const QString description = QStringLiteral("ELBOW - VERTICAL PIPE");
    if (elbowFirst)
        Record(*elbow, description);
    PipeForLength(length, size, &spur);
    if (m_running)
        Clips(length, size, &spur);
    if (m_running && !elbowFirst)
        Record(*elbow, description);
}

// ---------------------------------------------------------------- objects on runs

void TPartsListGenerator::HandleDrop(TDrop& drop, float runSize)
{
    Log(QStringLiteral("    ") + drop.Name + QStringLiteral(">>>"));
    if (!drop.PartPackage.isEmpty()) {
        Log(QStringLiteral("      PACKAGE:") + drop.PartPackage);
        if (const TPackage* package = m_database.FindPackage(drop.PartPackage)) {
            for (const QString& key : package->Parts())
                RecordKey(key, drop.PartPackage + QStringLiteral(" (PART)"));
        } else {
            Stop(QStringLiteral("No package found : ") + drop.PartPackage, &drop);
        }
    } else {
        const TPartObject* outlet = nullptr;
        QString description;
        bool selected = true;
        switch (drop.Style) {
        case DropStyle::Tee:
            outlet = m_database.OutletTee(runSize, drop.OutletSize);
            description = QStringLiteral("OUTLET TEE");
            break;
        case DropStyle::Saddle:
            outlet = m_database.SaddleOutlet(runSize, drop.OutletSize);
            description = QStringLiteral("SADDLE");
            break;
        case DropStyle::Quick:
        case DropStyle::FemaleQuick:
            Stop(QStringLiteral("Drop style not supported for ") + drop.Name, &drop);
            selected = false;
            break;
        case DropStyle::Female:
            outlet = m_database.FemaleOutlet(ThreadBsp, 0, runSize, drop.OutletSize);
            description = QStringLiteral("FEMALE/THREADED TEE");
            break;
        case DropStyle::FemaleSaddle:
            outlet =
                m_database.FemaleOutlet(ThreadBsp, Flag(Attr::Saddle), runSize, drop.OutletSize);
            description = QStringLiteral("FEMALE/THREADED TEE");
            break;
        }
        if (selected && ConfirmAll({outlet}, &drop, QString()))
            Record(*outlet, description);
        if (m_running) {
            if (drop.Style == DropStyle::Tee || drop.Style == DropStyle::Saddle) {
                Clips(drop.PipeLen, drop.OutletSize, &drop);
                if (m_running)
                    PipeForLength(drop.PipeLen, drop.OutletSize, &drop);
            }
            if (m_running && drop.SymbolCount() > 0)
                SymbolChain(drop, drop.OutletSize);
        }
    }
    Log(QStringLiteral("    >>>") + drop.Name);
}

void TPartsListGenerator::HandleInlet(TInlet& inlet)
{
    Log(QStringLiteral("  ") + inlet.Name);
    Tee(inlet.PipeSize, m_design.PipeSize, &inlet);
    if (m_running)
        Clips(inlet.PipeLength, inlet.PipeSize, &inlet);
    if (m_running)
        PipeForLength(inlet.PipeLength, inlet.PipeSize, &inlet);
    if (m_running && inlet.SymbolCount() > 0)
        SymbolChain(inlet, inlet.PipeSize);
    Log(QStringLiteral("  ") + inlet.Name);
}

void TPartsListGenerator::HandleDrain(TDrain& drain)
{
    Log(QStringLiteral("    ") + drain.Name);
    const float mainSize = m_design.PipeSize;
    Tee(drain.PipeSize, mainSize, &drain);
    if (m_running)
        Clips(drain.PipeLen, mainSize, &drain);
    if (m_running)
        PipeForLength(drain.PipeLen, mainSize, &drain);
    Log(QStringLiteral("    ") + drain.Name);
}

std::optional<float> TPartsListGenerator::ValveFitting(float size, EndSet end2,
                                                       TPipeLoopObject* object)
{
    if (size != 110.0f) {
        const TPartObject* valve = m_database.BallValve(end2, size);
        if (!ConfirmAll({valve}, object, QString()))
            return std::nullopt;
        Record(*valve, QStringLiteral("BALL VALVE"));
        return valve->Size2();
    }
    const TPartObject* valve = m_database.ButterflyValve(size);
    if (ConfirmAll({valve}, object, QString()))
        Record(*valve, QStringLiteral("BUTTERFLY VALVE"));
    return std::nullopt;
}

// ---------------------------------------------------------------- clips and pipe

void TPartsListGenerator::Clips(int32_t length, float size, TPipeLoopObject* object)
{
    const bool steel = object ? m_options.steelClipsDrops : m_options.steelClipsMain;
    const TPartObject* clip = Clip(steel ? Attr::Steel : Attr::Technopolymeric, size);
    if (!ConfirmAll({clip}, object, object ? QString() : QStringLiteral("Main/Spur")))
        return;
    int64_t count = 1;
    if (length != 0)
        count = std::max<int64_t>(2, length / 2000 + (length % 2000 > 1000 ? 1 : 0));
    RecordTimes(*clip, QStringLiteral("CLIP"), count);
}

void TPartsListGenerator::PipeForLength(int32_t length, float size, TPipeLoopObject* object)
{
    const TPartObject* pipe = Pipe(size);
    if (!ConfirmAll({pipe}, object, QString()))
        return;
    const int32_t stock = pipe->Length();
    while (length > 0 && m_running) {
        if (stock > 0 && stock < length) {
            m_cutter.AddPiece(*this, stock, object, true, QString(), size);
            length -= stock;
        } else {
            m_cutter.AddPiece(*this, length, object, false, QString(), size);
            break;
        }
    }
}

// ---------------------------------------------------------------- symbol chains

void TPartsListGenerator::SymbolChain(TObjectWithSymbols& object, float size)
{
    TDrop* drop = object.Kind() == ObjectKind::Drop ? static_cast<TDrop*>(&object) : nullptr;
    float chain = size;
    for (int k = object.SymbolCount() - 1; k >= 0 && m_running; --k) {
        const QString assigned = object.SymbolPart(k);
        if (!assigned.isEmpty()) {
            PreferredParts(assigned);
            continue;
        }
        const QString name = object.SymbolName(k);
        if (name == Symbol::MaleAdaptor || name == Symbol::AdaptorFemale) {
            const bool male = name == Symbol::MaleAdaptor;
            const TPartObject* adapter = m_database.Adapter(
                Flags(EndAttr::Bsp, male ? EndAttr::Male : EndAttr::Female), 0, chain);
            if (ConfirmAll({adapter}, &object, QString())) {
                Record(*adapter,
                       male ? QStringLiteral("MALE ADAPTER") : QStringLiteral("FEMALE ADAPTER"));
                chain = adapter->Size2();
            }
        } else if (name == Symbol::OnePortOutlet) {
            Manifold(1, chain, object);
        } else if (name == Symbol::TwoPortOutlet) {
            Manifold(2, chain, object);
        } else if (name == Symbol::FourPortOutlet) {
            Manifold(4, chain, object);
        } else if (name == Symbol::Valve && k > 0) {
            EndSet filter = 0;
            if ((SameSize(chain, 20.0f) || SameSize(chain, 25.0f)) &&
                object.SymbolPart(k - 1).isEmpty()) {
                const QString below = object.SymbolName(k - 1);
                if (below == Symbol::FourPortOutlet ||
                    (below == Symbol::TwoPortOutlet && m_options.ThreadedTwoPort()))
                    filter = Flag(EndAttr::Female);
            }
            if (const std::optional<float> size2 = ValveFitting(chain, filter, &object))
                chain = *size2;
        } else if (name == Symbol::FemaleTee) {
            const TPartObject* tee =
                m_database.FemaleOutlet(ThreadBsp, 0, chain, chain >= 50.0f ? 19.05f : 12.7f);
            if (ConfirmAll({tee}, &object, QString()))
                Record(*tee, QStringLiteral("FEMALE TEE"));
        } else if (name == Symbol::Coupler) {
            // Nothing to record: the couplings come with the hose.
        } else if (name == Symbol::AirHose && drop) {
            const TPartObject* coupling =
                m_database.Coupling(0, Flag(EndAttr::Male), drop->OutletSize);
            if (ConfirmAll({coupling}, &object, QString())) {
                Record(*coupling, QStringLiteral("COUPLING"));
                Record(*coupling, QStringLiteral("COUPLING"));
                AddHose(drop->HoseSize, drop->PipeLen);
            }
        } else if (name == Symbol::RecoilHose && drop) {
            const TPartObject* bush = m_database.ReducerBush(drop->OutletSize, drop->HoseSize);
            const TPartObject* hose = m_database.Hose(drop->PipeLen, true, drop->HoseSize);
            const TPartObject* coupling =
                m_database.Coupling(0, Flag(EndAttr::Female), drop->HoseSize);
            if (ConfirmAll({bush, hose, coupling}, &object, QString())) {
                Record(*bush, QStringLiteral("REDUCER BUSH"));
                Record(*coupling, QStringLiteral("COUPLING"));
                Record(*hose, QStringLiteral("RECOIL HOSE"));
            }
        } else {
            Ui().inform(QStringLiteral("Component type ") + name +
                        QStringLiteral(" is not provided by : ") + m_database.Supplier());
        }
    }
}

void TPartsListGenerator::Manifold(int ports, float size, TPipeLoopObject& object)
{
    float manifoldSize = size;
    const bool needsAdapter = (ports == 4 || m_options.ThreadedTwoPort()) &&
                              !SameSize(size, 12.7f) && !SameSize(size, 19.05f);
    if (needsAdapter) {
        const TPartObject* adapter = m_database.Adapter(
            Flags(EndAttr::Bsp, EndAttr::Male), SameSize(size, 25.0f) ? 19.05f : 12.7f, size);
        if (!adapter) {
            Stop(QStringLiteral("No ") + SizeText(size) +
                     QStringLiteral(" adapter required by manifold found for : ") + object.Name,
                 &object);
            return;
        }
        Record(*adapter, QStringLiteral("MALE ADAPTER"));
        manifoldSize = adapter->Size2();
    }
    const TPartObject* manifold = m_database.Manifold(
        ports, ThreadBsp, ports == 2 ? m_options.twoPortManifold : QString(), manifoldSize);
    if (ConfirmAll({manifold}, &object, QString()))
        Record(*manifold, QStringLiteral("MANIFOLD"));
}

void TPartsListGenerator::PreferredParts(const QString& assigned)
{
    const QStringList items = assigned.split(u'+', Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const qsizetype colon = item.indexOf(u':');
        const QString maker = colon >= 0 ? item.left(colon) : QString();
        const QString key = colon >= 0 ? item.mid(colon + 1) : item;
        if (maker == VendorMaker)
            RecordKey(key, QStringLiteral("PREFERED PART"));
        else
            Ui().inform(QStringLiteral("Ignoring part : ") + key + CrLf +
                        QStringLiteral("Maker's code : ") + maker);
    }
}

void TPartsListGenerator::AddHose(float size, int32_t length)
{
    for (HoseTotal& total : m_hoseTotals)
        if (SameSize(total.size, size)) {
            total.length += length;
            return;
        }
    m_hoseTotals.push_back({size, length});
}

} // namespace pipeloop::catalogue
