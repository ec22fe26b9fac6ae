#pragma once

#include <QString>

#include <array>
#include <functional>

class QWidget;

namespace pipeloop
{

// Context help by topic name. Every window's help button and F1 key go through
// ShowHelpTopic; the help viewer itself is installed as a handler, so that the
// windows do not depend on how help is shown.
using HelpTopicHandler = std::function<void(const QString& topic)>;

// Installs the viewer that shows a topic; an empty handler removes it.
void SetHelpTopicHandler(HelpTopicHandler handler);

// Whether a viewer is installed. Without one, help buttons are shown disabled
// rather than offering help that cannot come.
bool HelpAvailable();

// Shows the topic through the installed viewer; does nothing without one.
void ShowHelpTopic(const QString& topic);

// Makes F1 in the window (unless a control in it takes the key) show the
// topic the function names at that moment: a window with pages answers for
// the page on top.
void InstallHelpKey(QWidget& window, std::function<QString()> topic);

// Shows the help's keyword index ("Help Topics"): the viewer is asked for the
// empty topic.
void ShowHelpIndex();

// The topics the program asks for, each with the page of the help collection
// that answers it. Callers name a topic through these constants; the help's
// keyword index carries every name (a test holds the collection to it).
namespace topic
{
inline constexpr char Contents[] = "Contents";
inline constexpr char NewProject[] = "New Project Window";
inline constexpr char Viewing3D[] = "Viewing 3D";
inline constexpr char PrintSetup[] = "Print Setup";
inline constexpr char DataExchange[] = "Data Exchange";
inline constexpr char PartsList[] = "Parts List Generation";
inline constexpr char PriceListFileError[] = "PriceListFileErrorHelp";
inline constexpr char PipeColours[] = "PipeColours";
inline constexpr char GeneralOptions[] = "General Options";
inline constexpr char OptionsSettings[] = "Options Settings";
inline constexpr char PrintOptions[] = "Print Options";
inline constexpr char PipeColourOptions[] = "Pipe Colour Options";
inline constexpr char SymbolColourOptions[] = "Symbol Colour Options";
inline constexpr char GridOptions[] = "Grid Options";
inline constexpr char PartOptions[] = "Part Options";
inline constexpr char SelectColour[] = "SelectColour";
inline constexpr char HighlightColour[] = "HighlightColour";
inline constexpr char WallColour[] = "WallColour";
inline constexpr char FeatureColour[] = "FeatureColour";
inline constexpr char PartsBrowser[] = "Parts Database Browser";
inline constexpr char EditingCommands[] = "Editing Commands";
inline constexpr char AttributeDialogs[] = "Attribute Dialogs";
inline constexpr char PartSelector[] = "Part Selector";
inline constexpr char UserParts[] = "User Parts";
inline constexpr char AirFlow[] = "Air Flow Calculations";
inline constexpr char AirSupply[] = "Air Supply Analysis";
} // namespace topic

struct HelpTopicPage {
    const char* topic;
    const char* page; // file name inside the help collection
};

inline constexpr std::array<HelpTopicPage, 26> HelpTopicPages{{
    {topic::Contents, "index.html"},
    {topic::NewProject, "new-project.html"},
    {topic::Viewing3D, "view-3d.html"},
    {topic::PrintSetup, "print-setup.html"},
    {topic::DataExchange, "data-exchange.html"},
    {topic::PartsList, "parts-list.html"},
    {topic::PriceListFileError, "price-list-errors.html"},
    {topic::PipeColours, "pipe-colours.html"},
    {topic::GeneralOptions, "options-general.html"},
    {topic::OptionsSettings, "options-settings.html"},
    {topic::PrintOptions, "options-print.html"},
    {topic::PipeColourOptions, "options-pipe-colours.html"},
    {topic::SymbolColourOptions, "options-symbol-colours.html"},
    {topic::GridOptions, "options-grid.html"},
    {topic::PartOptions, "options-parts.html"},
    {topic::SelectColour, "colours.html"},
    {topic::HighlightColour, "colours.html"},
    {topic::WallColour, "colours.html"},
    {topic::FeatureColour, "colours.html"},
    {topic::PartsBrowser, "parts-browser.html"},
    {topic::EditingCommands, "editing.html"},
    {topic::AttributeDialogs, "attributes.html"},
    {topic::PartSelector, "part-selector.html"},
    {topic::UserParts, "user-parts.html"},
    {topic::AirFlow, "air-flow.html"},
    {topic::AirSupply, "air-supply.html"},
}};

} // namespace pipeloop
