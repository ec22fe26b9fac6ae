#pragma once

// The parts list generator: walks a finished design corner by
// corner and run by run, chooses the vendor's fittings from the parts
// database at every object it meets, cuts pipe and counts clips,
// and records every chosen part key in a running list; the report
// is built from that list at the end.
//
// Headless: questions and messages go through Ui(), the object at fault is
// highlighted in the design (TPipeLoop::Highlight), and the desktop program
// keeps its window responsive by connecting the yield callback to its event
// processing; Cancel clears the running flag, which every loop tests.
//
// The walk. the rules define a run's result by a walk in 1 mm steps (clips
// every 2000 mm walked, a pipe piece each time the stock length is walked or
// an object is met). This generator reaches the same result by jumping from
// event to event: the steps at which a clip, a stock-length break or an
// object falls are computed, and objects along a run come from an index of
// the design's positions built once per generation, so the cost does not
// depend on pipe length. The tests keep the literal step walk as a reference
// (an override of WalkSteps) and require identical results.
//
// Mended faults and choices of our own:
// - A run whose two ends coincide (a zero-length spur, an avoidance segment
//   between two corners at the same place) would never end in a walk that
//   steps before it looks. Here it gets its start clip and nothing else: no
//   pipe, no further clips, and the generation goes on.
// - The hose totals grow as needed (a fixed table of 16 sizes would overflow).
// - A piece one millimetre over the stock length (a rounded diagonal run) is
//   a whole stock pipe (PipeCutting.h).
// - Messages queued by earlier, unconfirmed selections are taken out of the
//   database's queue when a generation starts, so that a problem is always
//   reported with its own message.
// - A pipe piece inside a run is confirmed with the object met there, else
//   the spur being walked, else the place text "Main/Spur".
// - Nothing more is selected or recorded for an object once a stop has
//   cleared the running flag, nor after Cancel.
// - A drain standing on a corner is found as the corner, which needs nothing
//   on a run; it would be left out of the order. It gets its tee and leg
//   when the walk reaches the corner.

#include "PartsListOptions.h"
#include "PartsListReport.h"
#include "PipeCutting.h"
#include "ReportDocument.h"

#include "PipeLoop.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace pipeloop::catalogue {

class TPartsDatabase;
class TPartObject;

enum class GenerationOutcome {
    Completed, // the list is complete; print, save and e-mail may follow
    Stopped,   // a stop message was shown (or a hose for the report was missing)
    Cancelled, // Cancel was pressed
    Declined,  // the expired-catalogue question was answered No
};

// One pipe run to walk.
struct PipeRun {
    Position from;
    Position to;
    float size = 0;
    float direction = 0; // radians, SegmentAngle
    TSpur* parent = nullptr;
    int32_t heightOffset = 0;
};

// The steps of a straight or 45-degree run: count steps of (stepNS, stepEW),
// each stepLength long, from start (the run's start lowered by the height
// offset) to the end.
struct RunSteps {
    Position start;
    int32_t stepNS = 0;
    int32_t stepEW = 0;
    int64_t count = 0;
    double stepLength = 1;

    Position At(int64_t step) const
    {
        return {static_cast<int32_t>(start.NS + stepNS * step),
                static_cast<int32_t>(start.EW + stepEW * step), start.HG};
    }
};

// Whole degrees between two directions: |a - b| in degrees, rounded, modulo
// 360, folded to 0..180.
int TurnAngle(float a, float b);

class TPartsListGenerator : private CuttingContext {
public:
    using YieldFunction = std::function<void()>;

    // The design and the database are lent for the generator's life.
    TPartsListGenerator(TPipeLoop& design, TPartsDatabase& database);
    ~TPartsListGenerator() override;
    TPartsListGenerator(const TPartsListGenerator&) = delete;
    TPartsListGenerator& operator=(const TPartsListGenerator&) = delete;

    // Called once per loop segment and once per object met on a run while
    // generating; the desktop program processes its events there.
    void SetYield(YieldFunction yield) { m_yield = std::move(yield); }

    // "Generate": starts from empty lists and runs the rules to the end or to a stop.
    GenerationOutcome Generate(const PartsListOptions& options);
    // "Cancel": ends the generation at the next test, without a message or report.
    void Cancel();
    bool IsRunning() const { return m_running; }
    GenerationOutcome Outcome() const { return m_outcome; }
    // Print, save, e-mail and the report's pop-up menu: only after a
    // generation that ended without a stop.
    bool CommandsEnabled() const { return m_outcome == GenerationOutcome::Completed; }

    // The results handed to the rules (and kept after the report is built).
    // The part keys in the order recorded (kept as runs, listed when asked for).
    const QStringList& PartList() const;
    const std::vector<HoseTotal>& HoseTotals() const { return m_hoseTotals; }
    std::vector<TPipeWaste> Waste() const { return m_cutter.Waste(); }
    // The status log; its lines are kept as parts and joined when asked for.
    const QStringList& StatusLog() const;
    const ReportDocument& Report() const { return m_report; }
    const ReportOutcome& ReportResult() const { return m_reportOutcome; }
    const PartsListOptions& Options() const { return m_options; }
    TPipeLoop& Design() { return m_design; }
    TPartsDatabase& Database() { return m_database; }

protected:
    // The walk of one run after its straightness check and start clip (step
    // 3.3 to 3.6). Overridden only by the tests' literal step walk.
    virtual void WalkSteps(const PipeRun& run, const RunSteps& steps);

    // The pieces a walk is made of.
    bool Running() const { return m_running; }
    void YieldNow();
    // The main pipe's stock length (LEN).
    int32_t StockLength() const;
    // One clip of a run: clips for length 0 at the run's size, no object.
    void RunClip(float size);
    // Step 3.4.3: yield, then the piece of the rounded length (with a
    // straight connector only when nothing was met and the end is not reached).
    void RunPiece(const PipeRun& run, double length, TPipeLoopObject* found, bool reachedEnd);
    // Step 4: an object met on the run (nothing once stopped).
    void Meet(TPipeLoopObject& object, const PipeRun& run, bool reachedEnd);
    // Steps 3.5 and 3.6: the last clip and the last piece ("ELBOW-END").
    void FinishRun(const PipeRun& run, double clipDistance, double runLength);

private:
    struct Index;
    struct SelectionCache;

    // CuttingContext
    const TPartObject* SelectPipe(float size) override;
    const TPartObject* SelectConnector(float size) override;
    bool Confirm(const TPartObject* part, TPipeLoopObject* object,
                 const QString& extraText) override;
    void Record(const TPartObject& part, const QString& description) override;
    void Log(const QString& line) override { m_logLines.push_back({line, QString(), false}); }
    DisplayUnits Units() const override { return m_design.Units; }

    bool ConfirmAll(std::initializer_list<const TPartObject*> parts, TPipeLoopObject* object,
                    const QString& extraText);
    void RecordKey(const QString& key, const QString& description, int64_t times = 1);
    void RecordTimes(const TPartObject& part, const QString& description, int64_t times);
    void Stop(const QString& text, TPipeLoopObject* first = nullptr,
              TPipeLoopObject* second = nullptr);

    bool AskValidity();
    bool SelectMainParts();
    void WalkLoop();
    void WalkRun(const PipeRun& run);
    void HandleSpur(TSpur& spur, float runSize, float runDirection, TSpur* parent, bool atRunEnd,
                    bool joinedEnd);
    void EndToEnd(TSpur& spur, TSpur& parent, int angle);
    void Tee(float branch, float run, TPipeLoopObject* object);
    void HandleDrop(TDrop& drop, float runSize);
    void HandleInlet(TInlet& inlet);
    void HandleDrain(TDrain& drain);
    void OpenEnd(TSpur& spur);
    std::optional<float> ValveFitting(float size, EndSet end2, TPipeLoopObject* object);
    void Clips(int32_t length, float size, TPipeLoopObject* object);
    void PipeForLength(int32_t length, float size, TPipeLoopObject* object);
    void VerticalPart(TSpur& spur, bool elbowFirst);
    void SymbolChain(TObjectWithSymbols& object, float size);
    void Manifold(int ports, float size, TPipeLoopObject& object);
    void PreferredParts(const QString& assigned);
    void AddHose(float size, int32_t length);
    void Finish();

    // Cached selections: a part found once is found again for the same
    // question (the catalogue does not change during a generation); a failed
    // selection is always asked again, so that it queues its message.
    const TPartObject* Pipe(float size);
    const TPartObject* Clip(Attr flag, float size);
    const TPartObject* Connector(float size);
    const TPartObject* Elbow(float size);
    const TPartObject* Elbow45(float size);
    const TPartObject* EqualTee(float size);
    const TPartObject* PipeReducer(float big, float small);

    TPipeLoop& m_design;
    TPartsDatabase& m_database;
    PartsListOptions m_options;
    YieldFunction m_yield;
    bool m_running = false;
    bool m_stopped = false;
    bool m_cancelled = false;
    GenerationOutcome m_outcome = GenerationOutcome::Completed;

    std::vector<RecordedRun> m_partRuns;
    int64_t m_partCount = 0;
    mutable QStringList m_partList;
    // Log lines: the text, or (record) six blanks + key + " " + description,
    // repeated count times (consecutive records of one part are one entry).
    struct LogLine {
        QString text;
        QString description;
        bool record = false;
        int64_t count = 1;
    };
    std::vector<LogLine> m_logLines;
    mutable QStringList m_log;
    std::vector<HoseTotal> m_hoseTotals;
    TPipeCutter m_cutter;
    ReportDocument m_report;
    ReportOutcome m_reportOutcome;

    const TPartObject* m_mainPipe = nullptr;
    const TPartObject* m_mainElbow = nullptr;
    const TPartObject* m_mainClip = nullptr;

    std::unique_ptr<Index> m_index;
    std::unique_ptr<SelectionCache> m_cache;
};

} // namespace pipeloop::catalogue
