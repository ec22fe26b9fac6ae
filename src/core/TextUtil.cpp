#include "TextUtil.h"

namespace pipeloop
{

QString PadLeft(const QString& text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), u' ') + text;
}

QString PadRight(const QString& text, int width)
{
    if (text.size() >= width)
        return text;
    return text + QString(width - text.size(), u' ');
}

void ReplaceFirst(QString& text, const QString& find, const QString& replacement)
{
    if (find.isEmpty())
        return;
    const qsizetype at = text.indexOf(find);
    if (at >= 0)
        text.replace(at, find.size(), replacement);
}

} // namespace pipeloop
