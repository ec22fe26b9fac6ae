#include "Actions.h"

#include "CommandTable.h"
#include "DesignView.h"
#include "DrawingArea.h"
#include "DropViewPanel.h"
#include "MainForm.h"
#include "PipeLoopObjects.h"
#include "ViewMath.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>

#include <cmath>

namespace pipeloop::lessons
{

namespace
{

// Frames for the pointer to travel to a control, and for a click to be seen.
constexpr int GlideFrames = 7;
constexpr int ClickFrames = 4;

QString WithoutAccelerator(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

Spot CentreOf(QWidget* widget)
{
    return {widget, widget ? widget->rect().center() : QPoint(), {}};
}

Spot FindIn(Stage& stage, const std::function<Spot(QWidget*)>& inWindow)
{
    for (QWidget* window : WindowsFrontToBack(&stage.form()))
        if (const Spot spot = inWindow(window); spot.widget)
            return spot;
    return {};
}

// The spot, or the recording ends naming what was missing.
std::optional<Spot> Resolve(Stage& stage, const Finder& finder, const char* what)
{
    const Spot spot = finder(stage);
    if (!spot.widget || !spot.widget->isVisible()) {
        stage.fail(QStringLiteral("no %1 to %2 was found").arg(spot.sought, QLatin1String(what)));
        return std::nullopt;
    }
    return spot;
}

QPoint Global(const Spot& spot)
{
    return spot.widget->mapToGlobal(spot.at);
}

// The drawing area's pixel of a plan position, from the view's own mapping
// of pixels to the model (linear in each axis), sampled inside the building.
QPoint PlanPixel(TMainForm& form, int32_t ew, int32_t ns)
{
    const DesignView& view = form.view();
    const TPipeLoop& design = *form.document().design();
    const auto at = [&](QPoint pixel) {
        return ScreenToModel(design, ViewKind::Plan, view.pixelsPerMmX(), view.pixelsPerMmY(),
                             pixel.x(), pixel.y());
    };
    const QSize area = view.drawingArea()->size();
    const QPoint low(area.width() / 4, area.height() / 4);
    const QPoint high(3 * area.width() / 4, 3 * area.height() / 4);
    const Position first = at(low);
    const Position second = at(high);
    const auto pixelOf = [](int32_t value, int32_t atLow, int32_t atHigh, int low, int high) {
        return atHigh == atLow
                   ? low
                   : low + static_cast<int>(std::lround(double(value - atLow) * (high - low) /
                                                        (atHigh - atLow)));
    };
    return {pixelOf(ew, first.EW, second.EW, low.x(), high.x()),
            pixelOf(ns, first.NS, second.NS, low.y(), high.y())};
}

Finder PlanSpot(int32_t ew, int32_t ns)
{
    return [ew, ns](Stage& stage) -> Spot {
        TMainForm& form = stage.form();
        if (!form.document().design())
            return Spot{nullptr, {}, QStringLiteral("design")};
        return {form.view().drawingArea(), PlanPixel(form, ew, ns), {}};
    };
}

Beats Glide(const Finder& target, bool hover)
{
    return {{[target, hover](Stage& stage) {
                 if (const auto spot = Resolve(stage, target, "point at"))
                     stage.glideTo(Global(*spot), GlideFrames,
                                   hover && !qobject_cast<QMenu*>(spot->widget) ? spot->widget
                                                                                : nullptr);
             },
             GlideFrames + 2}};
}

Beats Click(const Finder& target, Qt::MouseButton button)
{
    Beats beats = Glide(target, true);
    beats.push_back({[target, button](Stage& stage) {
                         if (const auto spot = Resolve(stage, target, "click"))
                             QTest::mouseClick(spot->widget, button, {}, spot->at);
                     },
                     ClickFrames});
    return beats;
}

QMenu* MenuBarMenuOf(TMainForm& form, QAction* action)
{
    const QList<QAction*> titles = form.menuBar()->actions();
    for (QObject* holder : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(holder); menu && titles.contains(menu->menuAction()))
            return menu;
    return nullptr;
}

} // namespace

Finder Named(const QString& objectName)
{
    return [objectName](Stage& stage) {
        Spot spot = FindIn(stage, [&objectName](QWidget* window) {
            if (window->objectName() == objectName)
                return CentreOf(window);
            // By name, or by the name a screen reader gives it.
            for (QWidget* child : window->findChildren<QWidget*>())
                if (child->isVisible() &&
                    (child->objectName() == objectName || child->accessibleName() == objectName))
                    return CentreOf(child);
            return Spot{};
        });
        spot.sought = objectName;
        return spot;
    };
}

Finder Captioned(const QString& caption)
{
    return [caption](Stage& stage) {
        Spot spot = FindIn(stage, [&caption](QWidget* window) {
            for (auto* button : window->findChildren<QAbstractButton*>())
                if (button->isVisible() && WithoutAccelerator(button->text()) == caption)
                    return CentreOf(button);
            for (auto* tabs : window->findChildren<QTabBar*>())
                for (int i = 0; tabs->isVisible() && i < tabs->count(); ++i)
                    if (WithoutAccelerator(tabs->tabText(i)) == caption)
                        return Spot{tabs, tabs->tabRect(i).center(), {}};
            if (auto* menu = qobject_cast<QMenu*>(window))
                for (QAction* item : menu->actions())
                    if (WithoutAccelerator(item->text()) == caption)
                        return Spot{menu, menu->actionGeometry(item).center(), {}};
            return Spot{};
        });
        spot.sought = QLatin1Char('"') + caption + QLatin1Char('"');
        return spot;
    };
}

Finder DropViewSymbol(int index)
{
    return [index](Stage& stage) -> Spot {
        TMainForm& form = stage.form();
        auto* closeUp = form.dropView().findChild<PaintBox*>(QStringLiteral("pbDropView"));
        const auto* stack = dynamic_cast<const TObjectWithSymbols*>(form.document().selected());
        const Spot missing{
            nullptr, {}, QStringLiteral("symbol %1 in the drop view").arg(index + 1)};
        if (!closeUp || !stack || index >= stack->SymbolCount())
            return missing;
        // A point of the symbol's place that no symbol before it covers.
        const SymbolRect place = stack->SymbolRectOf(index);
        QPoint point((place.Left + place.Right) / 2, place.Top);
        while (point.y() < place.Bottom && stack->SymbolAt(point) != index)
            point.ry() += 1;
        return point.y() < place.Bottom ? Spot{closeUp, point, {}} : missing;
    };
}

Finder FirstField()
{
    return [](Stage& stage) {
        Spot spot = FindIn(stage, [](QWidget* window) {
            for (auto* field : window->findChildren<QLineEdit*>())
                if (field->isVisible())
                    return CentreOf(field);
            return Spot{};
        });
        spot.sought = QStringLiteral("text field");
        return spot;
    };
}

Finder FirstRow()
{
    return [](Stage& stage) {
        Spot spot = FindIn(stage, [](QWidget* window) {
            for (auto* view : window->findChildren<QAbstractItemView*>())
                if (view->isVisible() && view->model() && view->model()->rowCount() > 0)
                    return Spot{view->viewport(),
                                view->visualRect(view->model()->index(0, 0)).center(),
                                {}};
            return Spot{};
        });
        spot.sought = QStringLiteral("list row");
        return spot;
    };
}

Beats RightClickOn(const Finder& target)
{
    return Click(target, Qt::RightButton);
}

Beats PointTo(const Finder& target)
{
    return Glide(target, true);
}

Beats ClickOn(const Finder& target)
{
    return Click(target, Qt::LeftButton);
}

Beats ChooseMenu(const QString& actionId)
{
    // The menu bar's title, then the item in the opened menu.
    const auto action = [actionId](Stage& stage) {
        return stage.form().commands().action(actionId);
    };
    const Finder title = [action, actionId](Stage& stage) -> Spot {
        QMenu* menu = action(stage) ? MenuBarMenuOf(stage.form(), action(stage)) : nullptr;
        if (!menu)
            return Spot{nullptr, {}, QStringLiteral("menu holding ") + actionId};
        QMenuBar* bar = stage.form().menuBar();
        return {bar, bar->actionGeometry(menu->menuAction()).center(), {}};
    };
    const Finder item = [action, actionId](Stage& stage) -> Spot {
        QMenu* menu = action(stage) ? MenuBarMenuOf(stage.form(), action(stage)) : nullptr;
        if (!menu || !menu->isVisible())
            return Spot{nullptr, {}, QStringLiteral("open menu item ") + actionId};
        return {menu, menu->actionGeometry(action(stage)).center(), {}};
    };
    return Join({ClickOn(title), ClickOn(item)});
}

Beats TypeInto(const Finder& field, const QString& text)
{
    const Finder editor = [field](Stage& stage) {
        Spot spot = field(stage);
        if (auto* box = qobject_cast<QComboBox*>(spot.widget); box && box->lineEdit())
            spot = CentreOf(box->lineEdit());
        return spot;
    };
    Beats beats = ClickOn(editor);
    beats.push_back({[editor](Stage& stage) {
                         if (const auto spot = Resolve(stage, editor, "type into"))
                             if (auto* line = qobject_cast<QLineEdit*>(spot->widget))
                                 line->selectAll();
                     },
                     2});
    // A couple of characters a frame: a quick typist.
    for (qsizetype i = 0; i < text.size(); i += 2)
        beats.push_back({[editor, chunk = text.mid(i, 2)](Stage& stage) {
                             if (const auto spot = Resolve(stage, editor, "type into"))
                                 QTest::keyClicks(spot->widget, chunk);
                         },
                         1});
    return beats;
}

Beats ChooseEntry(const Finder& box, const QString& text)
{
    Beats beats = ClickOn(box);
    beats.push_back({[box, text](Stage& stage) {
                         const auto spot = Resolve(stage, box, "choose from");
                         auto* combo = spot ? qobject_cast<QComboBox*>(spot->widget) : nullptr;
                         const int index = combo ? combo->findText(text) : -1;
                         if (index < 0) {
                             stage.fail(QStringLiteral("no entry \"%1\" to choose").arg(text));
                             return;
                         }
                         combo->hidePopup();
                         combo->setCurrentIndex(index);
                         emit combo->activated(index);
                     },
                     ClickFrames});
    return beats;
}

Beats PointAtPlan(int32_t ew, int32_t ns)
{
    return Glide(PlanSpot(ew, ns), true);
}

Beats ClickPlan(int32_t ew, int32_t ns, Qt::MouseButton button)
{
    return Click(PlanSpot(ew, ns), button);
}

Beats PressKey(const QKeySequence& key)
{
    return Do([key](Stage& stage) {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = WindowsFrontToBack(&stage.form()).front();
        QTest::keySequence(target, key);
    });
}

Beats Maximise()
{
    return Do([](Stage& stage) { stage.placeMainWindow(); }, 5);
}

Beats Do(std::function<void(Stage&)> act, int frames)
{
    return {{std::move(act), frames}};
}

Beats Join(std::initializer_list<Beats> parts)
{
    Beats joined;
    for (const Beats& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

} // namespace pipeloop::lessons
