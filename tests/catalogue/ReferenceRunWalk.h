#pragma once

// The literal walk step 3: the run walked millimetre by
// millimetre (a diagonal step is the square root of 2 long), looking up the
// design's ObjectAt at every step. The generator jumps from event to event
// instead; the property test requires the two to agree, and the benchmark
// times this one to show the gain. Header-only for the benchmark.

#include "PartsListGenerator.h"
#include "PipeLoop.h"

namespace pipeloop::testing {

class ReferenceGenerator : public catalogue::TPartsListGenerator {
public:
    using TPartsListGenerator::TPartsListGenerator;

protected:
    void WalkSteps(const catalogue::PipeRun& run, const catalogue::RunSteps& steps) override
    {
        Position point = steps.start;
        const Position& to = run.to;
        double runLength = 0;
        double clipDistance = 0;
        const auto reached = [&] { return point.NS == to.NS && point.EW == to.EW; };
        while (!reached() && Running()) {
            point.NS += steps.stepNS;
            point.EW += steps.stepEW;
            clipDistance += steps.stepLength;
            if (clipDistance >= 2000) {
                RunClip(run.size);
                clipDistance = 0;
            }
            TPipeLoopObject* found = Design().ObjectAt(point, false);
            runLength += steps.stepLength;
            if (found || runLength >= StockLength()) {
                RunPiece(run, runLength, found, reached());
                runLength = 0;
            }
            if (found)
                Meet(*found, run, reached());
        }
        FinishRun(run, clipDistance, runLength);
    }
};

} // namespace pipeloop::testing
