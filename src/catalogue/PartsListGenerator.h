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
// The walk. The rules define a run's result by a walk in 1 mm steps (clips
// every 2000 mm walked, a pipe piece each time the stock length is walked or
// an object is met). This generator reaches the same result by jumping from
// event to event: the steps at which a clip, a stock-length break or an
// object falls are computed, and objects along a run come from an index of
// the design built once per generation. Between two objects the clips and
// whole stock pipes repeat with a fixed period; a long stretch is walked for
// one period and the period's records are then counted as repeated, so that
// neither the time nor the memory of a generation depends on pipe length. The
// tests keep the literal step walk as a reference (a RunWalker of their own)
// and require identical results.
//
// Spurs met on a run (and spurs met on theirs) are handled from a work list,
// not by recursion: a chain of spurs ten thousand deep costs memory, not stack.
//
// Mended faults and choices of our own:
// - A run whose two ends coincide (a zero-length spur, an avoidance segment
//   between two corners at the same place) would never end in a walk that
//   steps before it looks. Here it gets its start clip and nothing else: no
//   pipe, no further clips, and the generation goes on.
// - An end-of-line part's caution box comes once per part key and
//   generation, not at every recording (an end-of-line clip on a long loop
//   gave hundreds of modal boxes in a row).
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
// - The window is yielded to at the pieces of a stretch's first period, not
//   at those of the periods counted after it.
// - A drain standing on a corner is found as the corner, which needs nothing
//   on a run; it would be left out of the order. It gets its tee and leg
//   when the walk reaches the corner.

#include "DesignIndex.h"
#include "PartsListOptions.h"
#include "PartsListReport.h"
#include "PipeCutting.h"
#include "ReportDocument.h"
#include "RunList.h"

#include "PipeLoop.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pipeloop::catalogue
{

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

// The walk of one run after its straightness check and start clip (steps 3.3
// to 3.6): it adds the clips and the pipe along the run and stops at every
// object it meets, so that the object (a spur, with runs of its own) is
// handled before the walk goes on.
class RunWalker
{
public:
    struct Met {
        TPipeLoopObject* object = nullptr;
        bool reachedEnd = false;
    };
    virtual ~RunWalker() = default;
    // Walks on to the next object met, whose piece of pipe has been added;
    // nothing once the run is finished (its last clip and piece added).
    virtual std::optional<Met> Next() = 0;
};

// Whole degrees between two directions: |a - b| in degrees, rounded, modulo
// 360, folded to 0..180.
int TurnAngle(float a, float b);

class TPartsListGenerator : private CuttingContext
{
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
    // Told at every yield how far the walk has got: the loop segments and the
    // objects met so far (never above total), of the design's corners and
    // objects; told walked == total once the walk is over.
    using ProgressFunction = std::function<void(int64_t walked, int64_t total)>;
    void SetProgress(ProgressFunction progress) { m_progress = std::move(progress); }

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
    // The part keys in the order recorded (kept as runs, listed when asked for:
    // a design of long runs lists many).
    const QStringList& PartList() const;
    const std::vector<HoseTotal>& HoseTotals() const { return m_hoseTotals; }
    std::vector<TPipeWaste> Waste() const { return m_cutter.Waste(); }
    // The status log; its lines are kept as parts and joined when asked for.
    const QStringList& StatusLog() const;
    // The same line by line without the list: visit(line, times) for each
    // line and how often it comes in a row.
    void ForEachLogLine(const std::function<void(const QString&, int64_t)>& visit) const;
    // One line without listing the others, for a view that shows a few at a
    // time (0 <= index < StatusLogSize()).
    int64_t StatusLogSize() const { return m_log.Size(); }
    QString StatusLogLine(int64_t index) const;
    const ReportDocument& Report() const { return m_report; }
    const ReportOutcome& ReportResult() const { return m_reportOutcome; }
    const PartsListOptions& Options() const { return m_options; }
    TPipeLoop& Design() { return m_design; }
    TPartsDatabase& Database() { return m_database; }

protected:
    // The walker of one run (steps 3.3 to 3.6). Overridden only by the tests'
    // literal step walk.
    virtual std::unique_ptr<RunWalker> WalkerFor(const PipeRun& run, const RunSteps& steps);

    // The pieces a walk is made of.
    bool Running() const { return m_running; }
    void YieldNow();
    // The main pipe's stock length (LEN).
    int32_t StockLength() const;
    // Clips of a run, each as for length 0 at the run's size, no object.
    void RunClips(float size, int64_t count = 1);
    // Step 3.4.3: yield, then the piece of the rounded length (with a
    // straight connector only when nothing was met and the end is not reached).
    void RunPiece(const PipeRun& run, double length, TPipeLoopObject* found, bool reachedEnd);
    // Steps 3.5 and 3.6: the last clip and the last piece ("ELBOW-END").
    void FinishRun(const PipeRun& run, double clipDistance, double runLength);

private:
    class JumpWalker;
    struct SelectionCache;
    // A spur or a run on the work list, with how far it has got.
    struct Visit;

    // CuttingContext
    const TPartObject* SelectPipe(float size) override;
    const TPartObject* SelectConnector(float size) override;
    bool Confirm(const TPartObject* part, TPipeLoopObject* object,
                 const QString& extraText) override;
    void Record(const TPartObject& part, const QString& description) override;
    void Log(const QString& line) override { m_log.Append({line, QString(), LogLine::Form::Text}); }
    void LogPart(const TPartObject& part, const QString& description) override;
    DisplayUnits Units() const override { return m_design.Units; }

    bool ConfirmAll(std::initializer_list<const TPartObject*> parts, TPipeLoopObject* object,
                    const QString& extraText);
    void RecordKey(const QString& key, const QString& description, int64_t times = 1);
    void RecordTimes(const TPartObject& part, const QString& description, int64_t times);
    void CautionEndOfLine(const QString& key);
    // A stretch whose records repeat: MarkRecords before its first period (or
    // piece), RepeatRecords after it with the number of further ones, which are
    // then recorded without being walked.
    struct RecordMark {
        size_t parts = 0;
        size_t log = 0;
    };
    RecordMark MarkRecords();
    void RepeatRecords(const RecordMark& mark, int64_t more);
    void Stop(const QString& text, TPipeLoopObject* first = nullptr,
              TPipeLoopObject* second = nullptr);

    bool AskValidity();
    bool SelectMainParts();
    void WalkLoop();
    // Works through the list that starts with first, one step of its last
    // visit at a time, until the list is empty.
    void Walk(Visit first);
    std::optional<Visit> Resume(Visit& visit);
    std::optional<Visit> WalkOn(Visit& run);
    std::unique_ptr<RunWalker> StartRun(const PipeRun& run);
    std::optional<Visit> Meet(TPipeLoopObject& object, const PipeRun& run, bool reachedEnd);
    std::optional<Visit> OpenSpur(Visit& spur);
    std::optional<Visit> EndSpur(Visit& spur);
    void EndAtDrop(TSpur& spur, TDrop& drop);
    void EndToEnd(TSpur& spur, TSpur& parent, int angle);
    void Tee(float branch, float run, TPipeLoopObject* object);
    void HandleDrop(TDrop& drop, float runSize);
    void HandleInlet(TInlet& inlet);
    void HandleDrain(TDrain& drain);
    void OpenEnd(TSpur& spur);
    std::optional<float> ValveFitting(float size, EndSet end2, TPipeLoopObject* object);
    void Clips(int32_t length, float size, TPipeLoopObject* object);
    void AddClips(int64_t count, float size, TPipeLoopObject* object);
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
    ProgressFunction m_progress;
    int64_t m_walked = 0;
    int64_t m_walkTotal = 0;
    bool m_running = false;
    bool m_stopped = false;
    bool m_cancelled = false;
    GenerationOutcome m_outcome = GenerationOutcome::Completed;

    RunList<QString> m_parts;
    mutable QStringList m_partList;
    // Log lines are kept as their parts (a part key, a name, a description:
    // strings shared with the catalogue, the design and the literals) and
    // joined when listed, so that the lines written for every spur of a large
    // design cost no string, and no heap block, of their own.
    struct LogLine {
        enum class Form : uint8_t {
            Text,    // the text
            Record,  // six blanks, the part key (text), a blank, the description
            Opening, // two blanks, the name (text), "..."
            Closing, // two blanks, "...", the name (text)
        };
        QString text;
        QString description;
        Form form = Form::Text;

        QString Text() const;
        friend bool operator==(const LogLine&, const LogLine&) = default;
    };
    RunList<LogLine> m_log;
    mutable QStringList m_logList;
    // While a stretch is marked: its end-of-line parts and how often each was recorded.
    QSet<QString> m_cautioned; // end-of-line part keys already cautioned
    std::vector<HoseTotal> m_hoseTotals;
    TPipeCutter m_cutter;
    ReportDocument m_report;
    ReportOutcome m_reportOutcome;

    const TPartObject* m_mainPipe = nullptr;
    const TPartObject* m_mainElbow = nullptr;
    const TPartObject* m_mainClip = nullptr;

    std::unique_ptr<DesignIndex> m_index;
    std::unique_ptr<SelectionCache> m_cache;
};

} // namespace pipeloop::catalogue
