#pragma once

// The program's own logo (data/logo/pipeloop-logo.svg, built into the
// program), printed in the title block when the catalogue brings no
// LOGO.JPG of its own.

#include <QImage>

namespace pipeloop
{

// The logo as a picture 600 pixels wide (half as high); a null image if the
// picture cannot be read, which prints the title block without a logo.
QImage ProgramLogo();

} // namespace pipeloop
