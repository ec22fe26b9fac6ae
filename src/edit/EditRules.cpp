#include "EditRules.h"

#include "DesignCommands.h"
#include "Document.h"
#include "PipeLoop.h"
#include "UiServices.h"
#include "Units.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <utility>

namespace pipeloop
{

namespace
{

// The object at the position that stands in the way, by plan position. A
// moving selection is not in its own way: a drag has already drawn it at the
// pointer, and finding it there before another object would let it land on
// that object.
const TPipeLoopObject* ObstacleAt(const TPipeLoop& design, const Position& position, bool moving)
{
    const TPipeLoopObject* selected = design.Selected;
    const TPipeLoopObject* found =
        design.ObjectAt(position, false, moving ? selected : nullptr, PositionMatch::PlanOnly);
    if (!found)
        return nullptr;
    if (!design.Elbows.empty()) {
        const TPipeLoopObject* first = design.Elbows.front().get();
        const TPipeLoopObject* last = design.Elbows.back().get();
        if ((found == first && selected == last) || (found == last && selected == first))
            return nullptr; // the loop may be closed
    }
    if (selected && found->Kind() == ObjectKind::Spur && selected->Kind() == ObjectKind::Spur)
        return nullptr;
    return found;
}

} // namespace

EditResult CheckPositionFree(const TPipeLoop& design, const Position& position, bool moving,
                             bool allowSpurEnd)
{
    const TPipeLoopObject* obstacle = ObstacleAt(design, position, moving);
    if (!obstacle)
        return EditResult::done();
    if (!TPipeLoop::SpurEndsAt(position, obstacle)) {
        return EditResult::refused(
            (moving ? QStringLiteral("Cannot move object, position occupied by : ")
                    : QStringLiteral("Position is already occupied by : ")) +
            obstacle->Name);
    }
    if (allowSpurEnd)
        return EditResult::done();
    return EditResult::refused(
        moving ? QStringLiteral("Only drops/spurs can be moved to spur ends.")
               : QStringLiteral("Only drops/spurs can be positioned at spur ends."));
}

EditResult ReleaseDrag(Document& document, const Position& snapped, bool keepDetached)
{
    const TPipeLoopObject* selected = document.selected();
    if (!selected) {
        document.endDrag();
        return EditResult::done();
    }
    const bool toSpurEnd =
        selected->Kind() == ObjectKind::Drop || selected->Kind() == ObjectKind::Spur;
    EditResult free = CheckPositionFree(*document.design(), snapped, true, toSpurEnd);
    if (free)
        document.dragSelectionTo(snapped, true, keepDetached);
    else
        document.cancelDrag();
    document.endDrag();
    return free;
}

std::pair<TElbow*, size_t> SelectedElbow(const TPipeLoop& design)
{
    const auto found =
        std::find_if(design.Elbows.begin(), design.Elbows.end(),
                     [&](const auto& elbow) { return elbow.get() == design.Selected; });
    if (found == design.Elbows.end())
        return {nullptr, 0};
    return {found->get(), size_t(found - design.Elbows.begin())};
}

EditResult ConfirmPackageChange(const TDrop& drop, const QString& action)
{
    if (drop.PartPackage.isEmpty())
        return EditResult::done();
    const QString question = QStringLiteral("Drop is a package - ") + drop.PartPackage +
                             QStringLiteral("\r\n") + action +
                             QStringLiteral(" a symbol will remove package attribute.");
    const QString ok = QStringLiteral("&Ok");
    if (Ui().ask(UiServices::Kind::Warning, question, {ok, QStringLiteral("&Cancel")}) == ok)
        return EditResult::done();
    return EditResult::refused(question);
}

Parsed<float> ReadSizeEntry(const QString& text, const QString& sizeList)
{
    const std::optional<float> size = ParseSizeText(text);
    // The entry's keys cannot type a minus sign; a size of nothing is none.
    if (!size || *size <= 0.0f)
        return Parsed<float>::failure(QStringLiteral("Invalid size : ") + text);
    if (sizeList.isEmpty())
        return *size;
    const QStringList listed = sizeList.split(u'\n');
    if (listed.contains(SizeText(*size)))
        return *size;
    const QString notListed = QStringLiteral("Entered size not support.");
    const QString ignore = QStringLiteral("&Ignore");
    if (Ui().ask(UiServices::Kind::Warning, notListed, {ignore, QStringLiteral("&Cancel")}) ==
        ignore)
        return *size;
    return Parsed<float>::failure(notListed);
}

std::optional<SizeEntryPrompt> MainPipeSizePrompt(const TPipeLoop& design)
{
    if (!design.CompressorHouse)
        return SizeEntryPrompt{QStringLiteral("MAIN PIPE"),
                               QStringLiteral("Enter main ring pipe size."), design.PipeSize};
    if (design.Spurs.empty())
        return std::nullopt;
    return SizeEntryPrompt{QStringLiteral("HOUSE PIPES"),
                           QStringLiteral("Enter compressor house pipe size."),
                           design.Spurs.front()->PipeSize};
}

bool SetMainPipeSize(Document& document, float size)
{
    TPipeLoop* design = document.design();
    if (!design)
        return false;
    if (!design->CompressorHouse)
        return document.push(new DesignValueCommand<float>(*design, &TPipeLoop::PipeSize, size,
                                                           QObject::tr("Main pipe size")));
    auto* step = new QUndoCommand(QObject::tr("House pipe size"));
    for (const auto& spur : design->Spurs) {
        ObjectImage before = ObjectImage::Of(*spur);
        const float previous = std::exchange(spur->PipeSize, size);
        ObjectImage after = ObjectImage::Of(*spur);
        spur->PipeSize = previous; // the command makes the change
        new ObjectStateCommand(*spur, std::move(before), std::move(after), step->text(), step);
    }
    return document.push(step);
}

void SetPrintSetup(Document& document, const PrintSetup& setup)
{
    const PrintSetup before = document.printSetup();
    if (setup == before)
        return;
    if (document.options().Saved)
        document.push(new SetPrintSetupCommand(document.printSetup(), before, setup));
    else
        document.printSetup() = setup;
}

void KeepOptionsChange(Document& document, const TPipeLoopOptions& before)
{
    TPipeLoopOptions& options = document.options();
    if (options == before)
        return;
    if (document.design() && (before.Saved || options.Saved)) {
        TPipeLoopOptions after = std::exchange(options, before); // the command makes the change
        document.push(new SetOptionsCommand(options, before, std::move(after)));
    } else {
        document.optionsEdited();
    }
}

namespace
{

QString SetPressure(Document& document, double TPipeLoop::*field, double bar, const char* text)
{
    TPipeLoop* design = document.design();
    if (!design)
        return QObject::tr("No design is open.");
    document.push(new DesignValueCommand<double>(*design, field, bar, QObject::tr(text)));
    return {};
}

} // namespace

QString SetSupplyPressure(Document& document, double bar)
{
    const TPipeLoop* design = document.design();
    if (!(bar > 0) || !std::isfinite(bar) || (design && bar <= design->AllowedPressureDrop))
        return QObject::tr("The supply pressure must be above zero and above the allowed drop.");
    return SetPressure(document, &TPipeLoop::SupplyPressure, bar, "Supply pressure");
}

QString SetAllowedPressureDrop(Document& document, double bar)
{
    const TPipeLoop* design = document.design();
    if (!(bar > 0) || !std::isfinite(bar) || (design && bar >= design->SupplyPressure))
        return QObject::tr("The allowed pressure drop must be above zero and below the supply "
                           "pressure.");
    return SetPressure(document, &TPipeLoop::AllowedPressureDrop, bar, "Allowed pressure drop");
}

} // namespace pipeloop
