#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli render FILE --view V --out OUT.png|svg|pdf|emf|wmf|bmp: a view of a
// project drawn as the screen shows it. V is plan,
// north, east, south or west (the drawing area at the view's zoom factor:
// the project's unless --zoom, with walls, grid and the design), drop[:NAME]
// (the drop view panel of the drop, inlet or drain of that name, or of the
// first drop), or 3d (the 3D view's drawing area at --bearing radians, 5.3
// unless given). --dpi sets the resolution (96), --size WxH the picture's
// size: for a plan or section the drawing area stays at the top left at its
// zoom (with --size and no --zoom, the largest zoom at which it fits), the
// rest white. EMF and WMF are our own metafile writers (MetafileCanvas).
class RenderCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("render"); }
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    QStringList flagOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
