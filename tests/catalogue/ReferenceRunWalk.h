#pragma once

// The literal walk step 3: the run walked millimetre by
// millimetre (a diagonal step is the square root of 2 long), looking up the
// design's ObjectAt at every step. The generator jumps from event to event
// instead; the property test requires the two to agree, and the benchmark
// times this one to show the gain. Header-only for the benchmark.

#include "PartsListGenerator.h"
#include "PipeLoop.h"

#include <memory>

namespace pipeloop::testing
{

class ReferenceGenerator : public catalogue::TPartsListGenerator
{
public:
    using TPartsListGenerator::TPartsListGenerator;

protected:
    std::unique_ptr<catalogue::RunWalker> WalkerFor(const catalogue::PipeRun& run,
                                                    const catalogue::RunSteps& steps) override
    {
        return std::make_unique<MillimetreWalker>(*this, run, steps);
    }

private:
    class MillimetreWalker : public catalogue::RunWalker
    {
    public:
        MillimetreWalker(ReferenceGenerator& generator, const catalogue::PipeRun& run,
                         const catalogue::RunSteps& steps)
            : g(generator), run(run), steps(steps), point(steps.start)
        {
        }

        std::optional<Met> Next() override
        {
            const Position& to = run.to;
            const auto reached = [&] { return point.NS == to.NS && point.EW == to.EW; };
            while (!reached() && g.Running()) {
                point.NS += steps.stepNS;
                point.EW += steps.stepEW;
                clipDistance += steps.stepLength;
                if (clipDistance >= 2000) {
                    g.RunClips(run.size);
                    clipDistance = 0;
                }
                TPipeLoopObject* found = g.Design().ObjectAt(point, false);
                runLength += steps.stepLength;
                if (found || runLength >= g.StockLength()) {
                    g.RunPiece(run, runLength, found, reached());
                    runLength = 0;
                }
                if (found)
                    return Met{found, reached()};
            }
            if (!finished) {
                finished = true;
                g.FinishRun(run, clipDistance, runLength);
            }
            return std::nullopt;
        }

    private:
        ReferenceGenerator& g;
        const catalogue::PipeRun run;
        const catalogue::RunSteps steps;
        Position point;
        double runLength = 0;
        double clipDistance = 0;
        bool finished = false;
    };
};

} // namespace pipeloop::testing
