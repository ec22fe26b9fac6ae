#include "WidgetUiServices.h"

#include "MsgBox.h"

namespace pipeloop
{

namespace
{
const QString YesCaption = QStringLiteral("&Yes");
const QString NoCaption = QStringLiteral("&No");
const QString OkCaption = QStringLiteral("&Ok");

QStringList withHelp(QStringList buttons, const QString& helpTopic)
{
    if (!helpTopic.isEmpty() && !buttons.contains(HelpButtonCaption))
        buttons.append(HelpButtonCaption);
    return buttons;
}
} // namespace

void WidgetUiServices::show(Kind, const QString& text, const QString& helpTopic)
{
    // The program's own box has one look for notices, warnings and errors;
    // the text says which it is.
    MessageBox({}, text, withHelp({OkCaption}, helpTopic), helpTopic);
}

bool WidgetUiServices::confirm(const QString& text, const QString& helpTopic)
{
    return MessageBox({}, text, withHelp({YesCaption, NoCaption}, helpTopic), helpTopic) ==
           YesCaption;
}

QString WidgetUiServices::ask(Kind, const QString& text, const QStringList& buttons,
                              const QString& helpTopic)
{
    return MessageBox({}, text, buttons, helpTopic);
}

} // namespace pipeloop
