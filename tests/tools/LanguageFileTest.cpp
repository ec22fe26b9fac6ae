#include "LanguageFile.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace pipeloop;

namespace
{

const QString ShippedFile = QStringLiteral(PIPELOOP_SOURCE_DIR "/data/lang/pipeloop.ltf");

TLanguage languageFrom(const char* text)
{
    TLanguage language;
    language.LoadFrom(IniFile::fromText(QString::fromUtf8(text)));
    return language;
}

QAction* namedAction(QMenu* menu, const char* name, const char* caption)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

// A File menu as the main window builds it: a named submenu with named items,
// a nested submenu and one item without a name.
struct SampleMenu {
    QMenuBar bar;
    QMenu* file;
    QAction* newProject;
    QAction* print;
    QMenu* recent;
    QAction* recentItem;
    QAction* unnamed;

    SampleMenu()
    {
        file = bar.addMenu(QStringLiteral("&File"));
        file->setObjectName(QStringLiteral("muFile"));
        newProject = namedAction(file, "moNewPipeLoopProject", "New Pipe Loop Project");
        print = namedAction(file, "moPrintView", "Print View");
        recent = file->addMenu(QStringLiteral("Recent Projects"));
        recent->menuAction()->setObjectName(QStringLiteral("moRecentProjects"));
        recentItem = namedAction(recent, "moRecentItem", "C:\\work\\hall.plf");
        unnamed = file->addAction(QStringLiteral("Unnamed"));
    }
};

TEST(LanguageTest, WithoutAFileEveryCaptionIsTheBuiltInOne)
{
    TLanguage language;
    EXPECT_FALSE(language.Load(QStringLiteral("/nonexistent/folder/pipeloop.ltf")));
    EXPECT_FALSE(language.Loaded());
    EXPECT_EQ(language.Translate(QStringLiteral("Print View"), QStringLiteral("MainMenu"),
                                 QStringLiteral("moPrintView")),
              QStringLiteral("Print View"));
    SampleMenu menu;
    language.TranslateMenu(&menu.bar);
    EXPECT_EQ(menu.file->title(), QStringLiteral("&File"));
    EXPECT_EQ(menu.print->text(), QStringLiteral("Print View"));
}

TEST(LanguageTest, TranslateGivesTheValueOrTheDefault)
{
    const TLanguage language = languageFrom("[MainMenu]\r\n"
                                            "moPrintView=Ansicht &drucken\r\n"
                                            "moExit=\r\n");
    const QString menu = QStringLiteral("MainMenu");
    EXPECT_EQ(language.Translate("Print View", menu, "moPrintView"), "Ansicht &drucken");
    EXPECT_EQ(language.Translate("Print View", menu, "MOPRINTVIEW"), "Ansicht &drucken")
        << "INI names ignore case";
    EXPECT_EQ(language.Translate("Exit", menu, "moExit"), QString())
        << "an empty value replaces the caption";
    EXPECT_EQ(language.Translate("Zoom In", menu, "moZoomIn"), "Zoom In");
    EXPECT_EQ(language.Translate("Print View", "PrintSetupForm", "moPrintView"), "Print View");
}

TEST(LanguageTest, MenuTranslationReachesEveryDepthAndLeavesUnnamedItems)
{
    const TLanguage language = languageFrom("[MainMenu]\n"
                                            "muFile=&Datei\n"
                                            "moNewPipeLoopProject=Neues Projekt\n"
                                            "moPrintView=\n"
                                            "moRecentProjects=Zuletzt\n"
                                            "moRecentItem=Eintrag\n"
                                            "=Leer\n");
    SampleMenu menu;
    language.TranslateMenu(&menu.bar);
    EXPECT_EQ(menu.file->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(menu.newProject->text(), QStringLiteral("Neues Projekt"));
    EXPECT_EQ(menu.print->text(), QString());
    EXPECT_EQ(menu.recent->title(), QStringLiteral("Zuletzt"));
    EXPECT_EQ(menu.recentItem->text(), QStringLiteral("Eintrag"));
    EXPECT_EQ(menu.unnamed->text(), QStringLiteral("Unnamed"));
}

// A form with a control of every kind the translation knows.
struct SampleForm {
    QDialog form;
    QLabel* label;
    QPushButton* button;
    QGroupBox* group;
    QCheckBox* check;
    QLabel* unnamed;
    QDialogButtonBox* buttons;
    QPushButton* ok;
    QPushButton* custom;

    SampleForm()
    {
        form.setObjectName(QStringLiteral("PrintSetupForm"));
        label = named(new QLabel(QStringLiteral("Scale :"), &form), "lbScale", "Print scale");
        button = named(new QPushButton(QStringLiteral("Print"), &form), "bbPrint", "Print now");
        group = named(new QGroupBox(QStringLiteral(" Orientation "), &form), "gbOrientation", "");
        check = named(new QCheckBox(QStringLiteral("Grids"), group), "cbGrids", "Print grids");
        unnamed = new QLabel(QStringLiteral("Plain"), &form);
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &form);
        ok = named(buttons->button(QDialogButtonBox::Ok), "bbOk", "Accept");
        custom = named(buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ActionRole),
                       "bbPreview", "");
    }

    template <typename W> static W* named(W* widget, const char* name, const char* hint)
    {
        widget->setObjectName(QString::fromUtf8(name));
        widget->setToolTip(QString::fromUtf8(hint));
        return widget;
    }
};

TEST(LanguageTest, FormTranslationReplacesHintsAndCaptionsOfNamedControls)
{
    const TLanguage language = languageFrom("[PrintSetupForm]\n"
                                            "lbScale_caption=Ma\xc3\x9fstab :\n"
                                            "lbScale_hint=Druckma\xc3\x9fstab\n"
                                            "bbPrint_caption=&Drucken\n"
                                            "gbOrientation_caption=Ausrichtung\n"
                                            "cbGrids_caption=Raster\n"
                                            "cbGrids_hint=\n"
                                            "bbOk_caption=Jawohl\n"
                                            "bbOk_hint=Annehmen\n"
                                            "bbPreview_caption=Vorschau\n"
                                            "_caption=Unbenannt\n"
                                            "[OtherForm]\n"
                                            "bbPrint_hint=Falsches Formular\n");
    SampleForm sample;
    language.TranslateForm(&sample.form);
    EXPECT_EQ(sample.label->text(), QStringLiteral("Ma\u00dfstab :"));
    EXPECT_EQ(sample.label->toolTip(), QStringLiteral("Druckma\u00dfstab"));
    EXPECT_EQ(sample.button->text(), QStringLiteral("&Drucken"));
    EXPECT_EQ(sample.button->toolTip(), QStringLiteral("Print now"));
    EXPECT_EQ(sample.group->title(), QStringLiteral("Ausrichtung"));
    EXPECT_EQ(sample.check->text(), QStringLiteral("Raster")) << "controls inside a group too";
    EXPECT_EQ(sample.check->toolTip(), QString());
    EXPECT_EQ(sample.unnamed->text(), QStringLiteral("Plain"));
    EXPECT_NE(sample.ok->text(), QStringLiteral("Jawohl")) << "standard buttons keep captions";
    EXPECT_EQ(sample.ok->toolTip(), QStringLiteral("Annehmen"));
    EXPECT_EQ(sample.custom->text(), QStringLiteral("Vorschau"));
}

TEST(LanguageTest, ColourNamesComeFromTheColoursSection)
{
    const TLanguage language = languageFrom("[Colours]\nBlue=Bleu\n");
    EXPECT_EQ(language.TranslateColour(QStringLiteral("Blue")), QStringLiteral("Bleu"));
    EXPECT_EQ(language.TranslateColour(QStringLiteral("Grey")), QStringLiteral("Grey"));
}

TEST(LanguageTest, FileIsBesideTheProgramWithItsBaseName)
{
    EXPECT_EQ(LanguageFilePathFor(QStringLiteral("/opt/pipeloop/pipeloop")),
              QStringLiteral("/opt/pipeloop/pipeloop.ltf"));
    EXPECT_EQ(LanguageFilePathFor(QStringLiteral("C:/Program Files/PipeLoop/PL4ZAVOZA.exe")),
              QStringLiteral("C:/Program Files/PipeLoop/PL4ZAVOZA.ltf"));
    EXPECT_EQ(LanguageFilePathFor(QStringLiteral("/a/b.d/pipe.loop.exe")),
              QStringLiteral("/a/b.d/pipe.loop.ltf"));
}

TEST(ShippedLanguageFile, IsWindows1252WithCrLf)
{
    QFile file(ShippedFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.contains("Projekt \xf6&ffnen")) << "\u00f6 as the single byte 0xF6";
    EXPECT_FALSE(bytes.contains("\xc3\xb6")) << "no UTF-8";
}

TEST(ShippedLanguageFile, TranslatesTheFileMenuAndTheColours)
{
    TLanguage language;
    ASSERT_TRUE(language.Load(ShippedFile));
    QMenuBar bar;
    QMenu* file = bar.addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("muFile"));
    const std::pair<const char*, const char*> items[] = {
        {"moNewPipeLoopProject", "Neues &Ringleitungsprojekt"},
        {"moNewCompressorHouse", "Neue &Kompressorstation"},
        {"moSaveProject", "Projekt &speichern"},
        {"moSaveProjectAs", "Projekt speichern &unter"},
        {"moOpenProject", "Projekt \xc3\xb6&ffnen"},
        {"moDataExchange", "Daten&austausch"},
        {"moPrinter", "Seite &einrichten"},
        {"moPrintView", "Ansicht &drucken"},
        {"moPrintAllViews", "&Alle Ansichten drucken"},
        {"moExit", "&Beenden"},
    };
    QList<QAction*> actions;
    for (const auto& item : items)
        actions.append(namedAction(file, item.first, "English"));
    language.TranslateMenu(&bar);
    EXPECT_EQ(file->title(), QStringLiteral("&Datei"));
    for (qsizetype i = 0; i < actions.size(); ++i)
        EXPECT_EQ(actions[i]->text(), QString::fromUtf8(items[i].second)) << items[i].first;
    EXPECT_EQ(language.TranslateColour(QStringLiteral("Blue")), QStringLiteral("Blau"));
    EXPECT_EQ(language.TranslateColour(QStringLiteral("Grey")), QStringLiteral("Grau"));
}

TEST(ShippedLanguageFile, TheProgramsOneLanguageLoadsIt)
{
    TLanguage& language = TLanguage::Instance();
    ASSERT_TRUE(language.Load(ShippedFile));
    EXPECT_TRUE(language.Loaded());
    EXPECT_EQ(language.Translate("About", "MainMenu", "moAbout"),
              QStringLiteral("\u00dc&ber PIPELOOP"));
    language.Unload();
    EXPECT_FALSE(language.Loaded());
    EXPECT_EQ(language.Translate("About", "MainMenu", "moAbout"), QStringLiteral("About"));
}

} // namespace
