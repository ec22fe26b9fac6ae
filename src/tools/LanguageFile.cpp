#include "LanguageFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QWidget>

namespace pipeloop
{

namespace
{
const QString MainMenuSection = QStringLiteral("MainMenu");
const QString ColoursSection = QStringLiteral("Colours");
const QString HintSuffix = QStringLiteral("_hint");
const QString CaptionSuffix = QStringLiteral("_caption");

// The name a menu entry is known by: its action's, or for a submenu whose
// action has none, the submenu's own.
QString componentName(const QAction* action)
{
    if (!action->objectName().isEmpty())
        return action->objectName();
    if (const QMenu* menu = action->menu())
        return menu->objectName();
    return {};
}

// OK, Cancel, Close and the other standard buttons keep the platform's captions.
bool isStandardDialogButton(QAbstractButton* button)
{
    auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
    return box && box->standardButton(button) != QDialogButtonBox::NoButton;
}
} // namespace

TLanguage& TLanguage::Instance()
{
    static TLanguage language;
    return language;
}

bool TLanguage::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Unload();
        return false;
    }
    LoadFrom(IniFile::fromBytes(file.readAll()));
    return true;
}

void TLanguage::LoadFrom(const IniFile& text)
{
    m_text = text;
    m_loaded = true;
}

void TLanguage::Unload()
{
    m_text.clear();
    m_loaded = false;
}

QString TLanguage::Translate(const QString& defaultText, const QString& section,
                             const QString& key) const
{
    if (!m_loaded)
        return defaultText;
    return m_text.value(section, key).value_or(defaultText);
}

void TLanguage::TranslateMenu(QMenuBar* menuBar) const
{
    if (menuBar)
        translateActions(menuBar->actions());
}

void TLanguage::TranslateMenu(QMenu* menu) const
{
    if (menu)
        translateActions(menu->actions());
}

void TLanguage::translateActions(const QList<QAction*>& actions) const
{
    if (!m_loaded)
        return;
    // Breadth first with a guard: a menu may be reachable twice, and a
    // faulty menu could even contain itself.
    QList<QAction*> pending = actions;
    QSet<const QMenu*> visited;
    while (!pending.isEmpty()) {
        QAction* action = pending.takeFirst();
        const QString name = componentName(action);
        if (!name.isEmpty())
            action->setText(Translate(action->text(), MainMenuSection, name));
        QMenu* menu = action->menu();
        if (menu && !visited.contains(menu)) {
            visited.insert(menu);
            pending.append(menu->actions());
        }
    }
}

void TLanguage::TranslateForm(QWidget* form) const
{
    if (!m_loaded || !form)
        return;
    const QString section = form->objectName();
    if (section.isEmpty())
        return;
    const QList<QWidget*> controls = form->findChildren<QWidget*>();
    for (QWidget* control : controls)
        translateWidget(control, section);
}

void TLanguage::translateWidget(QWidget* widget, const QString& section) const
{
    const QString name = widget->objectName();
    if (name.isEmpty())
        return;
    const QString hint = Translate(widget->toolTip(), section, name + HintSuffix);
    if (hint != widget->toolTip())
        widget->setToolTip(hint);

    const QString captionKey = name + CaptionSuffix;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(Translate(label->text(), section, captionKey));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (!isStandardDialogButton(button))
            button->setText(Translate(button->text(), section, captionKey));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(Translate(group->title(), section, captionKey));
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        translateTabs(tabs, section);
    }
}

void TLanguage::translateTabs(QTabWidget* tabs, const QString& section) const
{
    // A tab's caption belongs to its page, as a group box's to the box.
    for (int i = 0; i < tabs->count(); ++i) {
        const QString page = tabs->widget(i)->objectName();
        if (!page.isEmpty())
            tabs->setTabText(i, Translate(tabs->tabText(i), section, page + CaptionSuffix));
    }
}

QString TLanguage::TranslateColour(const QString& colourName) const
{
    return Translate(colourName, ColoursSection, colourName);
}

QString LanguageFilePathFor(const QString& programPath)
{
    const QFileInfo program(programPath);
    const QString folder = program.path();
    const QString file = program.completeBaseName() + QStringLiteral(".ltf");
    return folder == QStringLiteral(".") && !programPath.contains(QLatin1Char('/'))
               ? file
               : folder + QLatin1Char('/') + file;
}

} // namespace pipeloop
