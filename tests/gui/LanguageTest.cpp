#include "GuiTestSupport.h"

#include "IniFile.h"
#include "LanguageFile.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

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
    EXPECT_EQ(f.form.action("moOpenProject")->text(), QString::fromUtf8("Projekt öffnen"));
    EXPECT_EQ(f.form.action("moExit")->text(), ""); // an empty value is a translation too
    EXPECT_EQ(f.form.action("moSaveProject")->text(), "Save Project"); // no key: built-in text
    EXPECT_EQ(f.form.wizard().roomHeightEdit()->toolTip(), QString::fromUtf8("Gebäudehöhe"));
    f.form.wizard().Prepare(f.form.partsDatabase(), true, false);
    EXPECT_EQ(f.form.wizard().colourBox()->itemText(0), "Blau");
    EXPECT_EQ(f.form.wizard().colourBox()->itemText(1), "Grey");
}

TEST(LanguageFile, WithoutAFileEveryCaptionIsBuiltIn)
{
    MainWindowFixture f;
    f.start();
    EXPECT_EQ(f.form.action("moOpenProject")->text(), "Open Project");
    EXPECT_EQ(f.form.wizard().roomHeightEdit()->toolTip(), "Enter Building Height");
}

TEST(LanguageFile, TheShippedExampleTranslatesTheMainMenu)
{
    LanguageScope scope;
    ASSERT_TRUE(
        TLanguage::Instance().Load(QStringLiteral(PIPELOOP_DATA) + "lang/pipeloop.ltf"));
    MainWindowFixture f;
    f.start();
    EXPECT_EQ(f.form.action("moNewPipeLoopProject")->text(), "Neues &Ringleitungsprojekt");
    EXPECT_EQ(f.form.action("moZoomIn")->text(), "Ver&gr\u00f6\u00dfern");
    EXPECT_EQ(f.form.wizard().windowTitle(), "Project Creator"); // captions of forms are controls'
}

} // namespace
} // namespace pipeloop::testing
