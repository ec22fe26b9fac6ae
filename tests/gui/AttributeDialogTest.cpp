#include "GuiTestSupport.h"

#include "DropDialog.h"
#include "EntryKeyFilter.h"
#include "IniFile.h"
#include "LanguageFile.h"
#include "PartsDatabase.h"
#include "PositionDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

// Answers the next modal window of the type once its own event loop runs,
// then closes it if the answer left it open, so that no test ever waits.
template <typename Dialog> void WhenShown(std::function<void(Dialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// The keys typed one by one into the field, as a user types them; the count
// of keys it refused.
int Type(QLineEdit* field, const QString& keys)
{
    QSignalSpy refused(field->findChild<EntryKeyFilter*>(), &EntryKeyFilter::refused);
    QTest::keyClicks(field, keys);
    return int(refused.count());
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

// The labels a screen reader reads for the dialog's entry fields (edits and
// lists), sorted; an empty text for a field no label names.
QStringList FieldLabels(const QWidget& dialog)
{
    QStringList labels;
    for (QWidget* field : dialog.findChildren<QWidget*>()) {
        const bool inList = qobject_cast<QComboBox*>(field->parentWidget()) != nullptr;
        if (!qobject_cast<QComboBox*>(field) && (!qobject_cast<QLineEdit*>(field) || inList))
            continue;
        const auto labelledBy =
            QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
        labels.append(labelledBy.isEmpty()
                          ? QString()
                          : labelledBy.front().first->text(QAccessible::Name).trimmed());
    }
    labels.sort();
    return labels;
}

class AttributeDialogTest : public ::testing::Test
{
protected:
    const TPartsDatabase& demo = DemoCatalogue();
    ScriptedUi ui;
    WidgetAppDialogs dialogs;
};

TEST_F(AttributeDialogTest, SizeEntryTakesFractionsRefusesLettersAndAsksAboutUnlistedSizes)
{
    float size = 25.0f;
    WhenShown<SizeEntryDialog>([](SizeEntryDialog& entry) {
        EXPECT_EQ(entry.windowTitle(), "MAIN PIPE");
        EXPECT_EQ(entry.promptLabel()->text(), "Enter main ring pipe size.");
        EXPECT_EQ(entry.sizeBox()->currentText(), "25mm");
        EXPECT_EQ(Items(entry.sizeBox()),
                  (QStringList{"16.5mm", "20mm", "25mm", "32mm", "40mm", "50mm", "63mm", "76.3mm",
                               "101.8mm", "110mm"}));
        entry.sizeBox()->lineEdit()->clear();
        EXPECT_EQ(Type(entry.sizeBox()->lineEdit(), "3/4x\""), 1);
        EXPECT_EQ(entry.sizeBox()->currentText(), "3/4\"");
        entry.accept();
    });
    ASSERT_TRUE(dialogs.enterSize(nullptr, "MAIN PIPE", "Enter main ring pipe size.", size, {}));
    EXPECT_NEAR(size, 19.05f, 1e-4); // three sixteenths of an inch times four

    const QString listed = QStringLiteral("20mm\n25mm\n");
    const auto typeAndConfirm = [&](const QString& typed) {
        WhenShown<SizeEntryDialog>([typed](SizeEntryDialog& entry) {
            EXPECT_EQ(Items(entry.sizeBox()), (QStringList{"20mm", "25mm"}));
            entry.sizeBox()->setEditText(typed);
            entry.accept();
        });
        return dialogs.enterSize(nullptr, "OUTLET", "Enter outlet size.", size, listed);
    };
    ui.askAnswers.push_back("&Ignore");
    EXPECT_TRUE(typeAndConfirm("32"));
    EXPECT_EQ(size, 32.0f);
    ui.askAnswers.push_back("&Cancel");
    EXPECT_FALSE(typeAndConfirm("40"));
    EXPECT_EQ(size, 32.0f);
    EXPECT_EQ(ui.questions, QStringList(2, "Entered size not support."));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(typeAndConfirm("/"));
    EXPECT_EQ(ui.texts(), QStringList{"Invalid size : /"});
    EXPECT_EQ(size, 32.0f);
}

class DropDialogTest : public AttributeDialogTest
{
protected:
    static TDrop Drop(DropStyle style, int32_t length = 1500)
    {
        TDrop drop;
        drop.Name = QStringLiteral("D3");
        drop.Style = style;
        drop.PipeLen = length;
        // Sizes the demo catalogue offers on a 50mm pipe.
        drop.OutletSize = drop.IsFemale() ? float(12 * MmPerSixteenth) : 25.0f;
        return drop;
    }
    QStringList offered(int style, const TPartsDatabase& catalogue, float pipeSize = 50.0f)
    {
        TDrop drop = Drop(static_cast<DropStyle>(style));
        dialog.prepare(drop, catalogue, DisplayUnits::Millimetres, false, pipeSize);
        return Items(dialog.outletSizeBox());
    }
    DropDialog dialog;
};

TEST_F(DropDialogTest, OutletsFollowTheStyleAndTheCatalogue)
{
    const QStringList threaded{"1/2\"", "3/4\"", "1\""};
    const QStringList spigot{"20mm", "25mm"};
    const QStringList offeredOn50mm[DropStyleCount] = {threaded, spigot,   spigot,
                                                       spigot,   threaded, threaded};
    for (int style = 0; style < DropStyleCount; ++style)
        EXPECT_EQ(offered(style, demo), offeredOn50mm[style]) << style;
    EXPECT_EQ(dialog.outletSizeBox()->currentText(), "3/4\""); // the drop's own

    const TPartsDatabase none;
    ui.messages.clear();
    EXPECT_TRUE(offered(0, none).isEmpty());
    EXPECT_EQ(ui.texts(), QStringList{NoOutletsMessage()});
    const QStringList builtIn = offered(2, none);
    ASSERT_EQ(builtIn.size(), 9);
    EXPECT_EQ(builtIn.first(), "20mm");

    // The demo catalogue has no saddle outlet for a 25mm pipe: OK is refused
    // and the drop keeps its values.
    TDrop tee = Drop(DropStyle::Tee);
    ui.messages.clear();
    dialog.prepare(tee, demo, DisplayUnits::Millimetres, false, 25.0f);
    EXPECT_TRUE(ui.messages.empty());
    dialog.styleButton(int(DropStyle::Saddle))->click();
    EXPECT_EQ(ui.texts(), QStringList{NoOutletsMessage()});
    EXPECT_EQ(dialog.outletSizeBox()->currentIndex(), -1);
    dialog.open();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.texts().last(), "Outlet size invalid.");
    EXPECT_EQ(tee.Style, DropStyle::Tee);
    dialog.reject();
}

TEST_F(DropDialogTest, TabEntersTheStylesAtTheDropsOwnStyle)
{
    TDrop drop = Drop(DropStyle::Saddle);
    dialog.prepare(drop, demo, DisplayUnits::Millimetres, false, 50.0f);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // From the last button Tab wraps round to the style group.
    auto* cancel = dialog.findChild<QPushButton*>("bbCancel");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.styleButton(int(DropStyle::Saddle)));
    dialog.hide();
}

TEST_F(DropDialogTest, QuickStylesWarnAboutTheSupplier)
{
    TDrop drop = Drop(DropStyle::Female);
    dialog.prepare(drop, demo, DisplayUnits::Millimetres, true, 50.0f);
    EXPECT_TRUE(ui.messages.empty());
    for (int quick : {3, 4}) {
        dialog.styleButton(quick)->click();
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.front().kind, UiServices::Kind::Warning);
        EXPECT_EQ(ui.messages.front().text, DropStyleWarning(quick, demo.Supplier()));
        EXPECT_TRUE(ui.messages.front().text.contains(demo.Supplier()));
        ui.messages.clear();
    }
}

TEST_F(DropDialogTest, OpensOnTheDropsOwnStateAndAddsOnlyTheHoseChosenThisTime)
{
    TDrop first = Drop(DropStyle::Female, 1500);
    dialog.prepare(first, demo, DisplayUnits::Metres, true, 50.0f);
    EXPECT_EQ(dialog.windowTitle(), "New Drop Attributes");
    EXPECT_EQ(dialog.lengthEdit()->text(), "1.500m");
    EXPECT_TRUE(dialog.styleButton(0)->isChecked());
    EXPECT_EQ(dialog.statusLabel()->text(), "Pipe OD 50mm");
    EXPECT_EQ(Items(dialog.hoseSizeBox()), (QStringList{"1/4\"", "3/8\"", "1/2\""}));
    ASSERT_TRUE(dialog.connectionButton(HoseConnection::AirHose)->isEnabled());
    dialog.connectionButton(HoseConnection::AirHose)->click();
    dialog.hoseSizeBox()->setCurrentIndex(2);
    dialog.accept();
    EXPECT_TRUE(dialog.result());
    EXPECT_EQ(first.SymbolCount(), 3);
    EXPECT_EQ(first.HoseSize, 12.7f);

    // The next drop opens on its own state: a bare drop, no hose chosen.
    TDrop second = Drop(DropStyle::Female, 1500);
    dialog.prepare(second, demo, DisplayUnits::Metres, false, 50.0f);
    EXPECT_EQ(dialog.windowTitle(), "D3");
    EXPECT_TRUE(dialog.connectionButton(HoseConnection::None)->isChecked());
    EXPECT_EQ(dialog.outletSizeBox()->currentText(), "3/4\"");
    dialog.accept();
    EXPECT_FALSE(dialog.result()); // nothing changed
    EXPECT_EQ(second.SymbolCount(), 0);

    // The group is added only to a bare drop of a female threaded style.
    dialog.prepare(first, demo, DisplayUnits::Metres, false, 50.0f);
    EXPECT_FALSE(dialog.connectionButton(HoseConnection::None)->isEnabled());
    EXPECT_FALSE(dialog.hoseSizeBox()->isEnabled());
    TDrop tee = Drop(DropStyle::Tee);
    dialog.prepare(tee, demo, DisplayUnits::Metres, false, 50.0f);
    EXPECT_FALSE(dialog.connectionButton(HoseConnection::AirHose)->isEnabled());
    dialog.styleButton(4)->click();
    EXPECT_TRUE(dialog.connectionButton(HoseConnection::AirHose)->isEnabled());

    // A refused length keeps the window open and the drop as it was.
    TDrop third = Drop(DropStyle::Female, 1500);
    dialog.prepare(third, demo, DisplayUnits::Millimetres, false, 50.0f);
    dialog.open();
    EXPECT_EQ(Type(dialog.lengthEdit(), "x"), 1);
    dialog.lengthEdit()->setText("");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.texts().last(), "Height invalid.");
    EXPECT_EQ(third.PipeLen, 1500);
    dialog.lengthEdit()->setText("2500");
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.result());
    EXPECT_EQ(third.PipeLen, 2500);
}

// The air demand: shown as the drop has it, written with the rest on OK; a
// usage factor above 1 keeps the window open and the drop as it was. An
// existing inlet takes what its compressor delivers; a new one has no fields.
TEST_F(DropDialogTest, AirDemandIsShownReadAndRefusedWithTheRest)
{
    TDrop drop = Drop(DropStyle::Tee);
    drop.Demand = {12.5, 0.4};
    dialog.prepare(drop, demo, DisplayUnits::Millimetres, false, 50.0f);
    EXPECT_EQ(dialog.demandFields().demandEdit()->text(), "12.5");
    EXPECT_EQ(dialog.demandFields().usageEdit()->text(), "0.4");
    dialog.open();
    dialog.lengthEdit()->setText("2500");
    dialog.demandFields().usageEdit()->setText("1.5");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.texts().last(), "The usage factor must be from 0 to 1 : 1.5");
    EXPECT_EQ(drop.PipeLen, 1500);
    dialog.demandFields().usageEdit()->setText("0.75");
    dialog.accept();
    EXPECT_TRUE(dialog.result());
    EXPECT_EQ(drop.Demand, (AirDemand{12.5, 0.75}));
    EXPECT_EQ(drop.PipeLen, 2500);

    InletDialog inletDialog;
    TInlet inlet;
    inlet.PipeSize = 25.0f;
    inlet.PipeLength = 2000;
    inletDialog.prepare(&inlet, QStringLiteral("25mm"), DisplayUnits::Millimetres);
    inletDialog.demandFields().demandEdit()->setText("40");
    inletDialog.accept();
    InletValues values;
    EXPECT_TRUE(TakeInletValues(&inlet, inletDialog.values(), values, inletDialog.demand()));
    EXPECT_EQ(inlet.Demand, (AirDemand{40, 1}));
    inletDialog.prepare(nullptr, QStringLiteral("25mm"), DisplayUnits::Millimetres);
    EXPECT_TRUE(inletDialog.demandFields().demandEdit()->isHidden());
}

TEST_F(AttributeDialogTest, InletLengthIsRememberedInMillimetresAcrossUnits)
{
    InletValues values;
    WhenShown<InletDialog>([](InletDialog& inlet) {
        EXPECT_EQ(inlet.windowTitle(), "Inlet Attributes");
        EXPECT_EQ(inlet.lengthEdit()->text(), "2.000m");
        EXPECT_EQ(inlet.sizeBox()->currentIndex(), 0);
        EXPECT_EQ(inlet.lengthEdit()->toolTip(), "Pipe length or distance to compressor house");
        inlet.lengthEdit()->setText("abc");
        inlet.accept();
        EXPECT_TRUE(inlet.isVisible()); // refused, still open
        inlet.lengthEdit()->setText("3.5");
        inlet.accept();
    });
    ASSERT_TRUE(dialogs.editInlet(nullptr, nullptr, demo, DisplayUnits::Metres, values));
    EXPECT_EQ(ui.texts(), QStringList{"Invalid pipe length : abc"});
    EXPECT_EQ(values.PipeLength, 3500);
    EXPECT_EQ(values.PipeSize, 20.0f); // the catalogue's first pipe size

    // An existing inlet shows and takes its own values, and leaves the
    // remembered length of a new one alone.
    TInlet inlet;
    inlet.Name = QStringLiteral("I1");
    inlet.PipeLength = 7000;
    inlet.PipeSize = 50.0f;
    WhenShown<InletDialog>([](InletDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "I1");
        EXPECT_EQ(dialog.lengthEdit()->text(), "7000mm");
        EXPECT_EQ(dialog.sizeBox()->currentText(), "50mm");
        dialog.lengthEdit()->setText("8000");
        dialog.accept();
    });
    EXPECT_TRUE(dialogs.editInlet(nullptr, &inlet, demo, DisplayUnits::Millimetres, values));
    EXPECT_EQ(inlet.PipeLength, 8000);
    WhenShown<InletDialog>([](InletDialog& dialog) { dialog.accept(); });
    EXPECT_FALSE(dialogs.editInlet(nullptr, &inlet, demo, DisplayUnits::Millimetres, values));

    WhenShown<InletDialog>([](InletDialog& dialog) {
        EXPECT_EQ(dialog.lengthEdit()->text(), "3500mm");
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.editInlet(nullptr, nullptr, demo, DisplayUnits::Millimetres, values));
}

TEST_F(AttributeDialogTest, PositionIsShownAndReadInTheDesignsUnits)
{
    struct Case {
        DisplayUnits units;
        QStringList shown; // EW, NS, height
        QStringList typed;
        Position read;
    };
    const Position start = MakePosition(3000, 5000, 2500);
    const Case cases[] = {
        {DisplayUnits::Metres,
         {"5.000m", "3.000m", "2.500m"},
         {"4.25", "3100mm", "2.5"},
         MakePosition(3100, 4250, 2500)},
        {DisplayUnits::Millimetres,
         {"5000mm", "3000mm", "2500mm"},
         {"4250", "3.1m", "2500"},
         MakePosition(3100, 4250, 2500)},
        {DisplayUnits::FeetInches,
         {"16'5\"", "9'10\"", "8'2\""},
         {"10", "5'6\"", "8'2\""},
         MakePosition(1676, 3048, 2489)},
    };
    for (const Case& c : cases) {
        PositionDialog dialog(start, "Position of D1", c.units);
        EXPECT_EQ(dialog.windowTitle(), "Position of D1");
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
        const QStringList shown{dialog.westEdit()->text(), dialog.northEdit()->text(),
                                dialog.heightEdit()->text()};
        EXPECT_EQ(shown, c.shown);
        dialog.westEdit()->setText(c.typed[0]);
        dialog.northEdit()->setText(c.typed[1]);
        dialog.heightEdit()->setText(c.typed[2]);
        dialog.open();
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.position(), c.read);
    }

    Position position = start;
    WhenShown<PositionDialog>([](PositionDialog& dialog) {
        EXPECT_EQ(dialog.focusWidget(), dialog.westEdit());
        EXPECT_EQ(Type(dialog.westEdit(), "x"), 1);
        dialog.northEdit()->setText("north");
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        dialog.northEdit()->setText("3.2m");
        dialog.accept();
    });
    ASSERT_TRUE(dialogs.editPosition(nullptr, position, "Move", DisplayUnits::Millimetres));
    EXPECT_EQ(ui.texts(), QStringList{"Invalid value : north"});
    EXPECT_EQ(position, MakePosition(3200, 5000, 2500));
}

TEST_F(AttributeDialogTest, EveryEntryFieldIsNamedByItsLabel)
{
    DropDialog drop;
    EXPECT_EQ(FieldLabels(drop),
              (QStringList{"Air demand (l/s)", "Hose Size . . .", "Outlet Size . . .",
                           "Pipe  Length or Hose Length :", "Usage factor"}));
    InletDialog inlet;
    EXPECT_EQ(FieldLabels(inlet), (QStringList{"Air demand (l/s)", "Inlet Pipe Length . . .",
                                               "Inlet Pipe Size . . .", "Usage factor"}));
    PositionDialog position(MakePosition(0, 0, 0), "Move", DisplayUnits::Millimetres);
    EXPECT_EQ(
        FieldLabels(position),
        (QStringList{"Distance From North Face", "Distance From West Face", "Height above floor"}));
}

// Translation is process-wide; the test leaves it off.
struct LanguageScope {
    ~LanguageScope() { TLanguage::Instance().Unload(); }
};

TEST_F(AttributeDialogTest, DialogsAreTranslatedByComponentName)
{
    LanguageScope scope;
    TLanguage::Instance().LoadFrom(
        IniFile::fromText(u"[EditForm]\r\nlbHint_caption=Zoll: 1/2\r\n"
                          u"[DropForm]\r\nrbDropStyle1_caption=T-St\u00fcck\r\n"
                          u"[InletForm]\r\nbbOk_caption=Gut\r\n"
                          u"[EditPositionForm]\r\nlbEW_caption=West\r\n"));
    WhenShown<SizeEntryDialog>([](SizeEntryDialog& entry) {
        EXPECT_EQ(entry.findChild<QLabel*>("lbHint")->text(), "Zoll: 1/2");
    });
    float size = 25.0f;
    dialogs.enterSize(nullptr, "SIZE", "Size", size, {});
    TDrop drop;
    WhenShown<DropDialog>([](DropDialog& dropDialog) {
        EXPECT_EQ(dropDialog.styleButton(1)->text(), QString::fromUtf8("T-Stück"));
        EXPECT_EQ(dropDialog.styleButton(2)->text(), "Saddle Drop");
    });
    dialogs.editDrop(nullptr, drop, demo, DisplayUnits::Millimetres, true, 50.0f);
    WhenShown<InletDialog>([](InletDialog& inlet) {
        EXPECT_EQ(inlet.findChild<QPushButton*>("bbOk")->text(), "Gut");
    });
    InletValues values;
    dialogs.editInlet(nullptr, nullptr, demo, DisplayUnits::Millimetres, values);
    WhenShown<PositionDialog>([](PositionDialog& position) {
        EXPECT_EQ(position.findChild<QLabel*>("lbEW")->text(), "West");
    });
    Position position;
    dialogs.editPosition(nullptr, position, "Move", DisplayUnits::Millimetres);
}

} // namespace
} // namespace pipeloop::testing
