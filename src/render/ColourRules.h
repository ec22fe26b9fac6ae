#pragma once

// The colour rules, on top of the option queries.

#include "Canvas.h"
#include "DrawParams.h"

namespace pipeloop
{

class TBuildFeature;
class TPipeLoop;
class TPipeLoopObject;
class TPipeLoopOptions;

// Pipe colour of a design object in the view of p: selected / highlighted
// colours on screen; corners by the design's pipe size (main rules), spurs by
// their own size, drops by their size only in a section view (black on the
// plan); valves, drains and inlets black.
WinColour ObjectPenColour(const TPipeLoop& design, const TPipeLoopObject& object,
                          const TDrawParams& p);

// A building feature's outline: "BuildFeaturesColour" by the feature rule.
WinColour FeatureOutlineColour(const TPipeLoopOptions& options, const TBuildFeature& feature,
                               bool printMode);
// The equipment symbol inside a feature: the same rule with black.
WinColour FeatureSymbolColour(const TPipeLoopOptions& options, const TBuildFeature& feature,
                              bool printMode);

// "GridColour" when "PrintInColour" is on, else silver (screen and paper alike).
WinColour GridPenColour(const TPipeLoopOptions& options);

} // namespace pipeloop
