#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli picture FILE [--view V] [--width W] [--height H] [--zoom Z]
// [--out OUT.{emf,wmf,bmp,png,svg,pdf}] [--format F]: exactly the picture
// the "Data Exchange" window makes for a drawing area of W x H
// pixels showing view V at zoom factor Z on a 96 dpi screen. The zoom
// defaults to the project's own for the view, the size to the drawing area
// the main window would give the view at that zoom. The format is --format's
// or the suffix of --out; with no --out the picture goes to standard output.
// A file is written completely or not at all.
class PictureCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("picture"); }
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    QStringList flagOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
