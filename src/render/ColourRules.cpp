#include "ColourRules.h"

#include "PipeLoop.h"

namespace pipeloop
{

WinColour ObjectPenColour(const TPipeLoop& design, const TPipeLoopObject& object,
                          const TDrawParams& p)
{
    return design.Options.ObjectColour(design, object, p.PrintMode, p.isSection());
}

WinColour FeatureOutlineColour(const TPipeLoopOptions& options, const TBuildFeature& feature,
                               bool printMode)
{
    return options.FeatureColour(feature, options.BuildFeaturesColour, printMode);
}

WinColour FeatureSymbolColour(const TPipeLoopOptions& options, const TBuildFeature& feature,
                              bool printMode)
{
    return options.FeatureColour(feature, kBlack, printMode);
}

WinColour GridPenColour(const TPipeLoopOptions& options)
{
    return options.GridColourFor();
}

} // namespace pipeloop
