#pragma once

// The options of the parts list window's "Options" tab as a plain
// value: the window reads its controls into one of these when "Generate" is
// pressed; the command-line program fills one from its flags.

#include "ModelTypes.h"
#include "PartObject.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace pipeloop::catalogue
{

struct PartsListOptions {
    // " Pipe Colour . . . ": ColourBlue (0) or ColourGrey (1).
    int colour = ColourBlue;
    // " Pipe Length . . . ": the stock length every pipe must have, 4000 or 6000 mm.
    int32_t stockLength = 6000;
    // "Use steel pipe clips for main": STEEL instead of TECHNOPOLYMERIC for the
    // clips of loop and spur runs.
    bool steelClipsMain = true;
    // "Use steel pipe clips for drops": the same for drop, inlet and drain legs
    // and vertical pipes.
    bool steelClipsDrops = false;
    // "Use 90040/90610 for end cap": open spur ends get a straight connector and
    // an end cap instead of a message.
    bool endCaps = false;
    // " Two Port Manifold Preference . . .": one of TwoPortManifoldCodes().
    QString twoPortManifold = QStringLiteral("90602");
    // "Include part prices in output", "Allow split package pricing" (both only
    // take effect when a price list is loaded) and "Show catalogue codes".
    bool includePrices = false;
    bool splitPackagePricing = false;
    bool showCatalogueCodes = false;

    // The window's defaults for a design: the colour preset from the design's
    // PipeColour ("Grey" for grey, else "Blue"), everything else as above.
    static PartsListOptions ForDesign(PipeColour designColour)
    {
        PartsListOptions options;
        options.colour = designColour == PipeColour::Gray ? ColourGrey : ColourBlue;
        return options;
    }

    // "90602", "90642", "90660", "90662", "90664": exactly one is chosen.
    static QStringList TwoPortManifoldCodes()
    {
        return {QStringLiteral("90602"), QStringLiteral("90642"), QStringLiteral("90660"),
                QStringLiteral("90662"), QStringLiteral("90664")};
    }

    // The two-port preferences that want a 3/4" or 1/2" thread: an adapter
    // before the manifold and a female-ended valve above it.
    bool ThreadedTwoPort() const
    {
        return twoPortManifold == QStringLiteral("90642") ||
               twoPortManifold == QStringLiteral("90662");
    }

    friend bool operator==(const PartsListOptions&, const PartsListOptions&) = default;
};

} // namespace pipeloop::catalogue
