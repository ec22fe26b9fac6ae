#pragma once

// The project file: one INI text holding the zoom factors, the
// header text, optionally the display and print options, the building, the
// loop, one section per object and the notes. Pipe loop projects (.plf) and
// compressor houses (.cph) share it.
//
// Four departures from the letter, each a mended fault:
//
// - Saving never deletes the old file first. The text is written to a
//   temporary file in the same folder, flushed to disk and then renamed over
//   the target in one step (see AtomicSave.h), so the old file survives any failure.
// - Loading builds the new design, options and print setup aside and hands
//   them back; nothing the caller holds changes until it applies a successful
//   load. A load that stops part-way (an unparsable valve angle, inlet angle
//   or inlet pipe size, an unreadable file, a refused count) leaves the open
//   design, the options (their Saved flag included) and the print setup as
//   they were.
// - Every way of opening a file (Open, Recent Projects, the desktop
//   program's command line, pipeloop-cli) makes the same checks: OpenProject.
// - A damaged file is refused instead of being read as defaults: a count that
//   is not a count (7x, -1, 7.0, 99999999999), a counted object whose section
//   is missing (a file cut short) and a File_Version that is not 1. What the
//   rules still fill with defaults -- a symbol (key SYMi of a Symbols count)
//   or a note line (key i of Notes' Lines) that the file does not hold -- is
//   limited to MaxDefaultFilledItems per file and MaxDefaultFilledSymbols in
//   one symbol list; a file that needs more is refused with
//   ProjectCountMessage before anything is built. A load therefore creates at
//   most the items the file holds plus that many, whatever its counts say.

#include "ModelTypes.h"
#include "PipeLoop.h"
#include "PipeLoopOptions.h"
#include "PrintSetup.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace pipeloop
{

class IniFile;

// The zoom factor of each view (the view scales), indexed by ViewKind.
using ZoomFactors = std::array<int32_t, AllViews.size()>;

// The zoom factors the main window holds at start-up.
inline constexpr int32_t InitialZoomFactor = 20;
inline constexpr ZoomFactors InitialZoomFactors{
    InitialZoomFactor, InitialZoomFactor, InitialZoomFactor, InitialZoomFactor, InitialZoomFactor};

// The one file version this program reads and writes.
inline constexpr int32_t ProjectFileVersion = 1;

// The header every file written by the system begins with, and the one of
// older releases (which began with the loop section).
inline constexpr QByteArrayView ProjectFileHeader{"[PIPELOOP-FILE-INFO]\r\n"};
inline constexpr QByteArrayView OldProjectFileHeader{"[PIPELOOP]\r\n"};

// How many symbols and note lines a file may leave to the defaults (see
// above), and how many of them one symbol list may have. (TObjectWithSymbols
// also stops reading a symbol list 1000 entries beyond the keys of its
// section; within this rule it never has to.)
inline constexpr int64_t MaxDefaultFilledItems = 10000;
inline constexpr int64_t MaxDefaultFilledSymbols = 1000;

// A file larger than this is refused before it is read ("The project file is
// too large : " + path): it would describe some 400 000 objects, twenty times
// the largest design the program is measured with.
inline constexpr qint64 MaxProjectFileSize = qint64(64) * 1024 * 1024;

// ---------------------------------------------------------------- saving

// The INI image of a project in the order: file information, zoom
// factors, the options (section Options), the print setup when the options'
// Saved flag is set, the header text, the building, the loop with its counts,
// the objects (elbows, build features, drains, drops, valves, inlets, spurs)
// and the notes. PipeLoop_Version is ProgramVersion(). The BuildFeatures count
// goes into section PipeLoop after Spurs, when the features are written, and
// is written even when there are none.
IniFile ProjectImage(const TPipeLoop& design, const TPipeLoopOptions& options,
                     const PrintSetup& printSetup, const ZoomFactors& zoom);
// Its bytes: Windows-1252, CR LF, ending with CR LF CR LF.
QByteArray ProjectBytes(const TPipeLoop& design, const TPipeLoopOptions& options,
                        const PrintSetup& printSetup, const ZoomFactors& zoom);

// Writes the project to path, completely or not at all. A target that cannot
// be replaced (a read-only file, a file in a read-only folder, a folder or
// other non-file in its place) shows "Cannot overwrite file : " + path and
// writes nothing; any failure while writing shows "Problem writing to :"
// CR LF + path + CR LF + the error text. Both leave an existing file as it
// was, and return false. On success the caller marks the design saved.
bool SaveProject(const TPipeLoop& design, const TPipeLoopOptions& options,
                 const PrintSetup& printSetup, const ZoomFactors& zoom, const QString& path);

// ---------------------------------------------------------------- loading

// How a file begins: with a project header exactly (ProjectFileHeader, or
// OldProjectFileHeader of older releases), with such a header whose CR LF
// another program turned into LF, or with anything else.
enum class ProjectHeaderForm { Exact, LineFeed, Invalid };
ProjectHeaderForm HeaderFormOf(QByteArrayView firstBytes);

// Whether the file begins with ProjectFileHeader, or (older releases) with
// OldProjectFileHeader; byte-exact. An unreadable file fails. No message.
bool CheckProjectHeader(const QString& path);
// The same test on the first bytes of a file.
bool CheckProjectHeaderBytes(QByteArrayView bytes);

// "File header invalid : " + the file name.
QString HeaderInvalidMessage(const QString& fileName);
// "The file version is not supported." CR LF LF "Expected version 1 , found
// version " + the text the file holds.
QString VersionMessage(const QString& found);
// The refusal of a count the file cannot describe: names the file, the
// section, the key and its value.
QString ProjectCountMessage(const QString& fileName, const QString& section, const QString& key,
                            int32_t count);

// Asked once a file has passed every check that needs no answer from the
// user, before anything is asked or built: whether the open design may be
// replaced (the main window's question about unsaved changes). No ends the
// load without a message.
using ReplaceQuestion = std::function<bool()>;

// The outcome of a load: on success the new design (built on the caller's
// options object, which it refers to but which the load has not changed) and
// the options, print setup and zoom factors as the file leaves them; on
// failure the message, already shown (empty when the ReplaceQuestion said no).
class [[nodiscard]] ProjectLoad
{
public:
    // Stays true after Apply has taken the design.
    bool ok() const { return Loaded; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return Error; }

    // Puts a successful load in place of the caller's state: the design is
    // replaced whole, the options and print setup are assigned (the options
    // always take the file's Saved flag; the rest only when they were taken
    // from the file), the zoom factors are taken. Does nothing after a failure.
    void Apply(std::unique_ptr<TPipeLoop>& design, TPipeLoopOptions& options,
               PrintSetup& printSetup, ZoomFactors& zoom);

    bool Loaded = false;
    std::unique_ptr<TPipeLoop> Design;
    // The caller's options with the file's applied.
    TPipeLoopOptions Options;
    // Whether the options (and so the print setup) were taken from the file.
    bool OptionsTaken = false;
    PrintSetup Print;
    ZoomFactors Zoom = InitialZoomFactors;
    // The file's CR LF line ends had been turned into LF by another program;
    // the file was read all the same, with a warning, and a save restores them.
    bool LineEndingsChanged = false;
    QString Error;
};

// The one way a project file is opened, in this order; every refusal is shown
// through Ui() and returned, and options, printSetup and zoom are never
// changed here:
//  1. The header (HeaderFormOf): a file that cannot be opened or does not
//     begin with a project header gives HeaderInvalidMessage. A header whose
//     CR LF became LF is read all the same (the parser reads LF).
//  2. The file is read: "Cannot read file : " + path CR LF + the reason;
//     "The project file is too large : " + path (MaxProjectFileSize).
//  3. File_Version (absent: 1): anything but the integer 1 gives VersionMessage.
//  4. The counts of section PipeLoop, each counted drop's and inlet's
//     Symbols and Notes' Lines (absent: 0): a value that is not a count and
//     a counted object whose section is missing give "The project file is
//     damaged : " + name CR LF + what is wrong; too many items left to the
//     defaults give ProjectCountMessage.
//  5. mayReplace, when given.
//  6. The zoom factors (defaulting to zoom), the options the file holds
//     (which may ask "Load project file settings ?"), the print setup when
//     they were taken, and the design, which may stop on a value with no
//     fallback. A file whose line ends were changed is then named in a warning.
ProjectLoad OpenProject(const QString& path, TPipeLoopOptions& options,
                        const PrintSetup& printSetup, const ZoomFactors& zoom,
                        const ReplaceQuestion& mayReplace = {});
// Steps 1 and 3 to 6 on a file's bytes; fileName is used in messages.
ProjectLoad LoadProjectFromBytes(QByteArrayView bytes, const QString& fileName,
                                 TPipeLoopOptions& options, const PrintSetup& printSetup,
                                 const ZoomFactors& zoom, const ReplaceQuestion& mayReplace = {});

} // namespace pipeloop
