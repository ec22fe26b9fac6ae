#include "PartsListGenerator.h"

#include "Clock.h"
#include "ErrorReport.h"
#include "LoopGeometry.h"
#include "PartSelection.h"
#include "PartsDatabase.h"
#include "Rounding.h"
#include "UiServices.h"
#include "Units.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace pipeloop::catalogue
{

namespace
{

const QString CrLf = QStringLiteral("\r\n");
const QString Six = QStringLiteral("      ");
constexpr double DegreesPerRadian = 57.29577951308232;

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

// What the progress counts: the corners (one per loop segment) and every
// object a run can meet.
int64_t WalkTotal(const TPipeLoop& design)
{
    return int64_t(design.Elbows.size() + design.Drops.size() + design.Drains.size() +
                   design.Valves.size() + design.Inlets.size() + design.Spurs.size());
}

uint32_t Bits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

int TurnAngle(float a, float b)
{
    const float difference = std::fabs(a - b);
    int degrees = Round(double(difference) * DegreesPerRadian) % 360;
    if (degrees > 180)
        degrees = 360 - degrees;
    return degrees;
}

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

// ---------------------------------------------------------------- visits on the work list

struct TPartsListGenerator::Visit {
    enum class Stage {
        Run,       // walking a run
        SpurStart, // a spur's start connection and its run to come
        SpurEnd,   // a spur's end, once its run is walked
        SpurClose, // the spur's closing status line
    };

    static Visit Run(const PipeRun& run)
    {
        Visit visit;
        visit.run = run;
        return visit;
    }
    static Visit Spur(TSpur& spur, float runSize, float runDirection, TSpur* parent, bool atRunEnd,
                      bool joinedEnd)
    {
        Visit visit;
        visit.stage = Stage::SpurStart;
        visit.spur = &spur;
        visit.runSize = runSize;
        visit.runDirection = runDirection;
        visit.parent = parent;
        visit.atRunEnd = atRunEnd;
        visit.joinedEnd = joinedEnd;
        return visit;
    }

    Stage stage = Stage::Run;
    // A run: its walker once started.
    PipeRun run;
    std::unique_ptr<RunWalker> walker;
    // A spur: step 5's arguments and its own direction.
    TSpur* spur = nullptr;
    float runSize = 0;
    float runDirection = 0;
    TSpur* parent = nullptr;
    bool atRunEnd = false;
    bool joinedEnd = false;
    float direction = 0;
};

// ---------------------------------------------------------------- set-up

TPartsListGenerator::TPartsListGenerator(TPipeLoop& design, TPartsDatabase& database)
    : m_design(design), m_database(database),
      m_options(PartsListOptions::ForDesign(design.PipeColour)),
      m_index(std::make_unique<DesignIndex>()), m_cache(std::make_unique<SelectionCache>())
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
    if (m_progress)
        m_progress(std::min(m_walked, m_walkTotal), m_walkTotal);
    if (m_yield)
        m_yield();
}

int32_t TPartsListGenerator::StockLength() const
{
    return m_mainPipe ? m_mainPipe->Length() : m_options.stockLength;
}

// ---------------------------------------------------------------- recording

QString TPartsListGenerator::LogLine::Text() const
{
    switch (form) {
    case Form::Record:
        return Six + text + u' ' + description;
    case Form::Opening:
        return QStringLiteral("  ") + text + QStringLiteral("...");
    case Form::Closing:
        return QStringLiteral("  ...") + text;
    case Form::Text:
        break;
    }
    return text;
}

void TPartsListGenerator::ForEachLogLine(
    const std::function<void(const QString&, int64_t)>& visit) const
{
    m_log.ForEach([&visit](const LogLine& line, int64_t count) { visit(line.Text(), count); });
}

QString TPartsListGenerator::StatusLogLine(int64_t index) const
{
    return m_log.At(index).Text();
}

const QStringList& TPartsListGenerator::StatusLog() const
{
    if (m_logList.size() != m_log.Size()) {
        m_logList.clear();
        m_logList.reserve(qsizetype(m_log.Size()));
        ForEachLogLine([this](const QString& line, int64_t count) {
            for (int64_t i = 0; i < count; ++i)
                m_logList.append(line);
        });
    }
    return m_logList;
}

const QStringList& TPartsListGenerator::PartList() const
{
    if (m_partList.size() != m_parts.Size()) {
        m_partList.clear();
        m_partList.reserve(qsizetype(m_parts.Size()));
        m_parts.ForEach([this](const QString& key, int64_t count) {
            for (int64_t i = 0; i < count; ++i)
                m_partList.append(key);
        });
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
    if (part.EndOfLine() && times > 0)
        CautionEndOfLine(part.PartKey());
    RecordKey(part.PartKey(), description, times);
}

void TPartsListGenerator::RecordKey(const QString& key, const QString& description, int64_t times)
{
    m_parts.Append(key, times);
    m_log.Append({key, description, LogLine::Form::Record}, times);
}

void TPartsListGenerator::LogPart(const TPartObject& part, const QString& description)
{
    m_log.Append({part.PartKey(), description, LogLine::Form::Record});
}

// Once per part key and generation: a clip on a long loop is recorded
// hundreds of times, and each box would stop the user.
void TPartsListGenerator::CautionEndOfLine(const QString& key)
{
    if (m_cautioned.contains(key))
        return;
    m_cautioned.insert(key);
    Ui().warn(QStringLiteral("Caution, part is end of line:") + CrLf + key);
}

TPartsListGenerator::RecordMark TPartsListGenerator::MarkRecords()
{
    return {m_parts.Mark(), m_log.Mark()};
}

void TPartsListGenerator::RepeatRecords(const RecordMark& mark, int64_t more)
{
    // The repeated records' cautions were shown with their first period.
    m_parts.Repeat(mark.parts, more);
    m_log.Repeat(mark.log, more);
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
    m_log.Clear();
    m_logList.clear();
    m_parts.Clear();
    m_partList.clear();
    m_cautioned.clear();
    m_cutter.ClearWaste();
    m_hoseTotals.clear();
    m_reportOutcome = {};
    m_cache->found.clear();
    m_running = false;
    m_stopped = false;
    m_cancelled = false;
    m_mainPipe = m_mainElbow = m_mainClip = nullptr;
    m_walked = 0;
    m_walkTotal = WalkTotal(m_design);
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
        m_index->Build(m_design);
        if (m_design.CompressorHouse) {
            for (size_t i = 0; i < m_design.Spurs.size() && m_running; ++i) {
                TSpur& spur = *m_design.Spurs[i];
                if (!spur.Connected)
                    Walk(Visit::Spur(spur, spur.PipeSize, 0.0f, nullptr, false, false));
            }
        } else {
            WalkLoop();
        }
        if (m_running) {
            m_walked = m_walkTotal;
            if (m_progress)
                m_progress(m_walked, m_walkTotal);
            Finish();
        }
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
    std::vector<RecordedRun> parts;
    for (const auto& [key, count] : m_parts.Totals())
        parts.push_back({key, count});
    m_reportOutcome = BuildReport(m_report, m_database, parts, m_hoseTotals, settings,
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
            Walk(Visit::Run(
                {q.position(), s.position(), mainSize, direction, nullptr, q.VerticalDrop}));
        ++m_walked;
        YieldNow();
    }
}

// ---------------------------------------------------------------- the work list

void TPartsListGenerator::Walk(Visit first)
{
    std::vector<Visit> work;
    work.push_back(std::move(first));
    while (!work.empty()) {
        std::optional<Visit> next = Resume(work.back());
        if (next)
            work.push_back(std::move(*next));
        else
            work.pop_back();
    }
}

// One step of a visit: the visit it waits for, or nothing when it is done.
std::optional<TPartsListGenerator::Visit> TPartsListGenerator::Resume(Visit& visit)
{
    switch (visit.stage) {
    case Visit::Stage::Run:
        return WalkOn(visit);
    case Visit::Stage::SpurStart:
        if (std::optional<Visit> run = OpenSpur(visit))
            return run;
        [[fallthrough]];
    case Visit::Stage::SpurEnd:
        if (std::optional<Visit> branch = EndSpur(visit))
            return branch;
        [[fallthrough]];
    case Visit::Stage::SpurClose:
        m_log.Append({visit.spur->Name, QString(), LogLine::Form::Closing});
        break;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- runs

// The walk that jumps from event to event. Clips that follow each other with
// nothing between them are recorded at once; a stretch of whole periods (the
// least common multiple of the clip and stock intervals) without an object is
// walked for one period and the rest counted.
class TPartsListGenerator::JumpWalker : public RunWalker
{
public:
    JumpWalker(TPartsListGenerator& generator, const PipeRun& run, const RunSteps& steps)
        : m_generator(generator), m_run(run), m_steps(steps),
          m_clipEvery(StepsToReach(2000, steps.stepLength)),
          m_stockEvery(StepsToReach(generator.StockLength(), steps.stepLength)),
          m_period(std::lcm(m_clipEvery, m_stockEvery)),
          m_objects(generator.m_index->StepsOnRun(steps))
    {
    }

    std::optional<Met> Next() override
    {
        while (m_at < m_steps.count && m_generator.Running()) {
            const int64_t limit = m_objects.Empty() ? m_steps.count : m_objects.Front();
            RepeatPeriods(limit);
            if (TPipeLoopObject* found = StepTo(limit))
                return Met{found, m_at == m_steps.count};
        }
        if (!m_finished) {
            m_finished = true;
            m_generator.FinishRun(m_run, double(m_at - m_lastClip) * m_steps.stepLength,
                                  double(m_at - m_lastPiece) * m_steps.stepLength);
        }
        return std::nullopt;
    }

private:
    // Walks to the next piece of pipe or to limit, whichever comes first; the
    // object met there, if any.
    TPipeLoopObject* StepTo(int64_t limit)
    {
        const int64_t nextPiece = m_lastPiece + m_stockEvery;
        const int64_t stop = std::min(nextPiece, limit);
        if (const int64_t clips = (stop - m_lastClip) / m_clipEvery; clips > 0) {
            m_generator.RunClips(m_run.size, clips);
            m_lastClip += clips * m_clipEvery;
            if (!m_generator.Running())
                return nullptr;
        }
        m_at = stop;
        TPipeLoopObject* found = nullptr;
        if (!m_objects.Empty() && m_objects.Front() == stop) {
            found = m_generator.m_index->ObjectAtFront(m_objects, m_steps.At(stop));
            m_objects.Pop();
        }
        if (found || stop == nextPiece) {
            m_generator.RunPiece(m_run, double(stop - m_lastPiece) * m_steps.stepLength, found,
                                 stop == m_steps.count);
            m_lastPiece = stop;
        }
        return found;
    }

    // Between two objects every period records the same clips, whole stock
    // pipes and straights.
    void RepeatPeriods(int64_t limit)
    {
        const int64_t periods = (limit - 1 - m_at) / m_period;
        if (periods < 2)
            return;
        const RecordMark mark = m_generator.MarkRecords();
        const int64_t end = m_at + m_period;
        while (m_at < end && m_generator.Running())
            StepTo(end);
        if (!m_generator.Running())
            return;
        const int64_t more = periods - 1;
        m_generator.RepeatRecords(mark, more);
        m_at += more * m_period;
        m_lastClip += more * m_period;
        m_lastPiece += more * m_period;
    }

    TPartsListGenerator& m_generator;
    const PipeRun m_run;
    const RunSteps m_steps;
    const int64_t m_clipEvery;
    const int64_t m_stockEvery;
    const int64_t m_period;
    DesignIndex::ObjectSteps m_objects;
    int64_t m_at = 0;
    int64_t m_lastClip = 0;
    int64_t m_lastPiece = 0;
    bool m_finished = false;
};

std::unique_ptr<RunWalker> TPartsListGenerator::WalkerFor(const PipeRun& run, const RunSteps& steps)
{
    return std::make_unique<JumpWalker>(*this, run, steps);
}

// Steps 3.1 and 3.2: the straightness check and the start clip; the walker
// of the rest, or nothing after a stop.
std::unique_ptr<RunWalker> TPartsListGenerator::StartRun(const PipeRun& run)
{
    const int64_t dNS = int64_t(run.to.NS) - run.from.NS;
    const int64_t dEW = int64_t(run.to.EW) - run.from.EW;
    if (dNS != 0 && dEW != 0 && Abs64(dNS) != Abs64(dEW)) {
        Stop(QStringLiteral("Problem found with spur/main angle."), run.parent);
        return nullptr;
    }
    RunSteps steps;
    steps.start = {run.from.NS, run.from.EW, HeightBelow(run.from.HG, run.heightOffset)};
    steps.stepNS = Sign(dNS);
    steps.stepEW = Sign(dEW);
    steps.count = std::max(Abs64(dNS), Abs64(dEW));
    steps.stepLength = steps.stepNS != 0 && steps.stepEW != 0 ? std::sqrt(2.0) : 1.0;
    RunClips(run.size);
    return m_running ? WalkerFor(run, steps) : nullptr;
}

std::optional<TPartsListGenerator::Visit> TPartsListGenerator::WalkOn(Visit& run)
{
    if (!run.walker) {
        run.walker = StartRun(run.run);
        if (!run.walker)
            return std::nullopt;
    }
    while (const std::optional<RunWalker::Met> met = run.walker->Next())
        if (std::optional<Visit> spur = Meet(*met->object, run.run, met->reachedEnd))
            return spur;
    return std::nullopt;
}

void TPartsListGenerator::RunClips(float size, int64_t count)
{
    AddClips(count, size, nullptr);
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
        RunClips(run.size);
    if (runLength > 0 && m_running)
        m_cutter.AddPiece(*this, Round(runLength), nullptr, false, QStringLiteral("ELBOW-END"),
                          run.size);
}

// Step 4: an object met on the run (nothing once stopped). A spur is
// handed back to be visited.
std::optional<TPartsListGenerator::Visit>
TPartsListGenerator::Meet(TPipeLoopObject& object, const PipeRun& run, bool reachedEnd)
{
    if (!m_running)
        return std::nullopt;
    ++m_walked;
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
            return Visit::Spur(spur, run.size, run.direction, run.parent, reachedEnd, false);
        break;
    }
    case ObjectKind::Elbow: {
        // Corner fittings come from the loop walk; a drain on the corner
        // still needs its tee and leg.
        const auto& corner = static_cast<const TElbow&>(object);
        if (TDrain* drain = m_index->TakeCornerDrain({corner.NS, corner.EW, corner.PipeHeight()}))
            HandleDrain(*drain);
        break;
    }
    case ObjectKind::BuildFeature:
        break;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- spurs

// Step 5.1 to 5.5: the spur's start; its run is handed back to be walked.
std::optional<TPartsListGenerator::Visit> TPartsListGenerator::OpenSpur(Visit& visit)
{
    TSpur& spur = *visit.spur;
    TSpur* parent = visit.parent;
    visit.stage = Visit::Stage::SpurEnd;
    m_log.Append({spur.Name, QString(), LogLine::Form::Opening});
    visit.direction = SegmentAngle(spur.position(), spur.endPosition());
    const int angle = TurnAngle(visit.direction, visit.runDirection);
    spur.Connected = true;
    const bool house = m_design.CompressorHouse;
    QString place;
    bool accepted = false;
    if (parent && visit.joinedEnd) {
        if (!m_index->ObjectAt(spur.position(), false, &spur) && !house)
            OpenEnd(spur);
        accepted = true;
    } else if (parent && visit.atRunEnd) {
        accepted = angle == 0 || angle == 45 || angle == 90 || angle == 270 || angle == 315;
        if (accepted)
            EndToEnd(spur, *parent, angle);
    } else if (parent || !house) {
        place = QStringLiteral(" tee");
        accepted = angle == 90 || angle == 270;
        if (accepted)
            Tee(spur.PipeSize, visit.runSize, &spur);
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
    if (!m_running)
        return std::nullopt;
    return Visit::Run({spur.position(), spur.endPosition(), spur.PipeSize, visit.direction, &spur,
                       spur.VerticalDrop});
}

// Step 5.6: the spur's end; a spur whose run holds it is handed back to be visited.
std::optional<TPartsListGenerator::Visit> TPartsListGenerator::EndSpur(Visit& visit)
{
    visit.stage = Visit::Stage::SpurClose;
    if (!m_running)
        return std::nullopt;
    TSpur& spur = *visit.spur;
    const Position end = spur.endPosition();
    if (m_index->IsOnLoop(end)) {
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
    } else if (TSpur* other = m_index->SpurAt(end, &spur)) {
        if (!other->Connected) {
            VerticalPart(spur, true);
            if (m_running) {
                const int joint = TurnAngle(SegmentAngle(other->position(), other->endPosition()),
                                            visit.direction);
                if (joint == 90 || joint == 270) {
                    Tee(spur.PipeSize, other->PipeSize, &spur);
                    if (m_running)
                        return Visit::Spur(*other, spur.PipeSize, visit.direction, &spur, true,
                                           true);
                } else {
                    Stop(spur.Name + QStringLiteral(" tee angle not supported ") +
                             QString::number(joint) + QStringLiteral(" degrees."),
                         &spur);
                }
            }
        }
    } else {
        TPipeLoopObject* there = m_index->ObjectAt(end, true, &spur);
        if (there && there->Kind() == ObjectKind::Drop) {
            EndAtDrop(spur, static_cast<TDrop&>(*there));
        } else if (!m_design.CompressorHouse && (!there || there->Kind() != ObjectKind::Spur)) {
            OpenEnd(spur);
        }
    }
    return std::nullopt;
}

// Step 5.6, a drop at the spur's far end: an end cap, a message or a stop by its style.
void TPartsListGenerator::EndAtDrop(TSpur& spur, TDrop& drop)
{
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
    int64_t count = 1;
    if (length != 0)
        count = std::max<int64_t>(2, length / 2000 + (length % 2000 > 1000 ? 1 : 0));
    AddClips(count, size, object);
}

void TPartsListGenerator::AddClips(int64_t count, float size, TPipeLoopObject* object)
{
    const bool steel = object ? m_options.steelClipsDrops : m_options.steelClipsMain;
    const TPartObject* clip = Clip(steel ? Attr::Steel : Attr::Technopolymeric, size);
    if (ConfirmAll({clip}, object, object ? QString() : QStringLiteral("Main/Spur")))
        RecordTimes(*clip, QStringLiteral("CLIP"), count);
}

void TPartsListGenerator::PipeForLength(int32_t length, float size, TPipeLoopObject* object)
{
    const TPartObject* pipe = Pipe(size);
    if (!ConfirmAll({pipe}, object, QString()))
        return;
    const int32_t stock = pipe->Length();
    if (stock > 0 && stock < length) {
        // Whole stock pipes, each followed by a straight: the first is cut,
        // the others are counted like it.
        const int64_t whole = (int64_t(length) - 1) / stock;
        const RecordMark mark = MarkRecords();
        m_cutter.AddPiece(*this, stock, object, true, QString(), size);
        if (!m_running)
            return;
        RepeatRecords(mark, whole - 1);
        length = static_cast<int32_t>(length - whole * stock);
    }
    if (length > 0 && m_running)
        m_cutter.AddPiece(*this, length, object, false, QString(), size);
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
    // The part selector keeps the same items: the catalogue's own maker's.
    for (const AssignedItem& item : SplitAssignedText(assigned)) {
        if (IsVendorItem(m_database, item))
            RecordKey(item.partNumber, QStringLiteral("PREFERED PART"));
        else
            Ui().inform(QStringLiteral("Ignoring part : ") + item.partNumber + CrLf +
                        QStringLiteral("Maker's code : ") + item.maker);
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
