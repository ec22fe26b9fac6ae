#include "LessonCaptions.h"

#include "Cp1252.h"

#include <QFile>

namespace pipeloop
{

namespace
{

std::optional<LessonCaption> ReadCaptionLine(QStringView line)
{
    line = line.trimmed();
    qsizetype digits = 0;
    while (digits < line.size() && line[digits] >= u'0' && line[digits] <= u'9')
        ++digits;
    if (digits == 0 || (digits < line.size() && !line[digits].isSpace()))
        return std::nullopt;
    bool ok = false;
    const int frame = line.left(digits).toInt(&ok);
    if (!ok) // too many digits for a frame number
        return std::nullopt;
    return LessonCaption{frame, line.mid(digits).trimmed().toString()};
}

} // namespace

LessonScript ParseLessonCaptions(QByteArrayView bytes)
{
    const QString text = DecodeCp1252(bytes);
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    LessonScript script;
    if (lines.isEmpty())
        return script;
    script.title = lines.front().trimmed().toString();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (script.captions.size() == MaxLessonCaptions)
            break;
        if (std::optional<LessonCaption> caption = ReadCaptionLine(lines[i]))
            script.captions.push_back(std::move(*caption));
    }
    return script;
}

std::optional<LessonScript> ReadLessonCaptions(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseLessonCaptions(file.readAll());
}

QString LessonVideoFile(const QString& dataFolder, int lesson)
{
    return dataFolder + QStringLiteral("lesson%1.wmv").arg(lesson);
}

QString LessonCaptionFile(const QString& dataFolder, int lesson)
{
    return dataFolder + QStringLiteral("lesson%1.txt").arg(lesson);
}

} // namespace pipeloop
