#pragma once

#include "ModelTypes.h"

#include <QString>

#include <array>
#include <cstdint>

namespace pipeloop
{

class IniFile;
class SettingsStore;

// The print setup settings: a 1:N scale and an orientation per view, centring,
// the printer and the preview mode. One set per run, kept in the registry with
// the options and, when the options travel with a project, in its section
// "PrintSetup", under the same keys in both places.
class PrintSetup
{
public:
    static constexpr int32_t InitialScale = 150;
    static constexpr int32_t MinScale = 1;
    static constexpr int32_t MaxScale = 1000;

    bool PrintCenter = true; // centre the drawing horizontally on the page
    // The printer to use; empty for the system's default printer.
    QString PrinterName;
    bool ShowPrintPage = false; // preview at true size rather than the page outline

    // N of the view's 1:N print scale (key "PrintScaling" + view word).
    int32_t PrintScaling(ViewKind view) const { return m_scaling[index(view)]; }
    // A scale of 0 or less is ignored; one above MaxScale becomes MaxScale.
    void SetPrintScaling(ViewKind view, int32_t scale);
    // Key "Landscape" + view word.
    bool Landscape(ViewKind view) const { return m_landscape[index(view)]; }
    void SetLandscape(ViewKind view, bool landscape) { m_landscape[index(view)] = landscape; }

    // Loading does nothing and answers false when the registry key has never
    // been written; missing or unreadable values keep the values held.
    bool LoadFromRegistry(const SettingsStore& store);
    void SaveToRegistry(SettingsStore& store) const;
    // Section "PrintSetup"; missing or unreadable values keep the values held.
    void LoadFromProject(const IniFile& ini);
    void SaveToProject(IniFile& ini) const;

    bool operator==(const PrintSetup&) const = default;

private:
    static size_t index(ViewKind view) { return static_cast<size_t>(view) % AllViews.size(); }

    std::array<int32_t, AllViews.size()> m_scaling{InitialScale, InitialScale, InitialScale,
                                                   InitialScale, InitialScale};
    std::array<bool, AllViews.size()> m_landscape{true, true, true, true, true};
};

} // namespace pipeloop
