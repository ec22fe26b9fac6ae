#include "GuiTestSupport.h"

#include "AirFlowForm.h"
#include "DBBrowseForm.h"
#include "DataExchangeForm.h"
#include "DateForm.h"
#include "IniFile.h"
#include "LanguageFile.h"
#include "LessonForm.h"
#include "PartsListForm.h"
#include "PrintSetupForm.h"
#include "View3DForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

// Translation is process-wide; every test leaves it off.
struct LanguageScope {
    ~LanguageScope() { TLanguage::Instance().Unload(); }
};

TEST(LanguageFile, ReplacesMenuCaptionsFormCaptionsAndHints)
{
    LanguageScope scope;
    TLanguage::Instance().LoadFrom(
        IniFile::fromText(u"[MainMenu]\r\nmoOpenProject=Projekt \u00f6ffnen\r\nmoExit=\r\n"
                          u"[NewProjectForm]\r\nedRoomHeight_hint=Geb\u00e4udeh\u00f6he\r\n"
                          u"lbPLHeight_caption=Rohrh\u00f6he :\r\n"
                          u"[Colours]\r\nBlue=Blau\r\n"));
    MainWindowFixture f;
    f.start();
    EXPECT_EQ(f.action("moOpenProject")->text(), QString::fromUtf8("Projekt öffnen"));
    EXPECT_EQ(f.action("moExit")->text(), ""); // an empty value is a translation too
    EXPECT_EQ(f.action("moSaveProject")->text(), "Save Project"); // no key: built-in text
    EXPECT_EQ(f.form.files().wizard().roomHeightEdit()->toolTip(),
              QString::fromUtf8("Gebäudehöhe"));
    f.form.files().wizard().Prepare(f.form.partsDatabase(), true, false);
    EXPECT_EQ(f.form.files().wizard().colourBox()->itemText(0), "Blau");
    EXPECT_EQ(f.form.files().wizard().colourBox()->itemText(1), "Grey");
}

TEST(LanguageFile, WithoutAFileEveryCaptionIsBuiltIn)
{
    MainWindowFixture f;
    f.start();
    EXPECT_EQ(f.action("moOpenProject")->text(), "Open Project");
    EXPECT_EQ(f.form.files().wizard().roomHeightEdit()->toolTip(), "Enter Building Height");
}

TEST(LanguageFile, TheShippedExampleTranslatesTheMainMenu)
{
    LanguageScope scope;
    ASSERT_TRUE(TLanguage::Instance().Load(QStringLiteral(PIPELOOP_DATA) + "lang/pipeloop.ltf"));
    MainWindowFixture f;
    f.start();
    EXPECT_EQ(f.action("moNewPipeLoopProject")->text(), "Neues &Ringleitungsprojekt");
    EXPECT_EQ(f.action("moZoomIn")->text(), "Ver&gr\u00f6\u00dfern");
    // Captions of forms are controls'.
    EXPECT_EQ(f.form.files().wizard().windowTitle(), "Project Creator");
    EXPECT_EQ(f.form.partsListForm().button("btnSaveList")->text(), "Liste &speichern");
    EXPECT_EQ(f.form.partsListForm().findChild<QAbstractButton*>("cbEndCap")->text(),
              "90040/90610 als Endkappe verwenden");
    EXPECT_EQ(f.form.dataExchangeForm().enhancedBox()->text(),
              "&Erweiterte Metadatei (EMF) erstellen");
    EXPECT_EQ(f.form.view3DForm().findChild<QAbstractButton*>("btCopyEMF")->text(),
              "Als &EMF kopieren");
    EXPECT_EQ(f.form.printSetupForm().findChild<QAbstractButton*>("rgView3")->text(), "S\u00fcd");
    EXPECT_EQ(f.form.dbBrowseForm().button("btnViewCatalog")->text(), "&Katalog ansehen");
    EXPECT_EQ(f.form.dbBrowseForm().dateForm().cancelButton()->text(), "&Abbrechen");
    // Tabs take their captions from their pages' names.
    const TAirFlowForm& airFlow = f.form.airFlowForm();
    EXPECT_EQ(airFlow.tabs()->tabText(1), "Bericht");
    EXPECT_EQ(airFlow.calculationButton(AirFlowCalculation::PipeDiameter)->text(),
              "Rohrdurchmesser");
    EXPECT_EQ(f.form.lessonForm().playButton()->text(), "&Abspielen");
    const TOptionsForm& options = f.form.optionsForm();
    EXPECT_EQ(options.findChild<QAbstractButton*>("cbSaveOptions")->text(),
              "Optionen in Projektdateien speichern");
    EXPECT_EQ(options.findChild<QAbstractButton*>("rgPipeColourOption2")->text(),
              "Eine Farbe je Rohrgr\u00f6\u00dfenbereich");
    EXPECT_EQ(options.findChild<QLabel*>("lbSymbolSize")->text(),
              "Gedruckte Symbolgr\u00f6\u00dfe :");
}

} // namespace
} // namespace pipeloop::testing
