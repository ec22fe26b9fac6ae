#include "ElbowList.h"

#include "Cp1252.h"
#include "LocaleInfo.h"
#include "Rounding.h"
#include "UiServices.h"
#include "Units.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace pipeloop
{

namespace
{

// Trims blanks and control characters at both ends.
QString trimmedLine(const QString& line)
{
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line.at(first).unicode() <= u' ')
        ++first;
    while (last > first && line.at(last - 1).unicode() <= u' ')
        --last;
    return line.mid(first, last - first);
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Splits at CR LF, CR or LF.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace

QString ElbowName(qsizetype number)
{
    return NamePrefix(ObjectKind::Elbow) + QString::number(number);
}

std::unique_ptr<TElbow> NewElbow(size_t number, const Position& position, int32_t verticalDrop)
{
    auto elbow = std::make_unique<TElbow>();
    elbow->Name = ElbowName(qsizetype(number));
    elbow->setPosition(position);
    elbow->VerticalDrop = verticalDrop;
    return elbow;
}

TElbow& AppendElbow(ElbowList& elbows, const Position& position, int32_t verticalDrop)
{
    elbows.push_back(NewElbow(elbows.size() + 1, position, verticalDrop));
    return *elbows.back();
}

std::array<Position, 5> DefaultLoopCorners(int32_t nsExtent, int32_t ewExtent, int32_t height)
{
    return {{{0, 0, height},
             {0, ewExtent, height},
             {nsExtent, ewExtent, height},
             {nsExtent, 0, height},
             {0, 0, height}}};
}

void CreateDefaultElbows(ElbowList& elbows, int32_t nsExtent, int32_t ewExtent, int32_t height)
{
    for (const Position& corner : DefaultLoopCorners(nsExtent, ewExtent, height))
        AppendElbow(elbows, corner);
}

std::optional<ElbowLine> ParseElbowLine(const QString& line, double scale)
{
    const QChar separator = LocaleInfo::decimalSeparator();
    const QString text = trimmedLine(line);
    QStringList tokens;
    QString current;
    bool started = false; // separators before the first number make no token
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool number = (c >= u'0' && c <= u'9') || c == separator;
        if (number) {
            current.append(c);
            started = true;
        }
        if (started && (!number || i == text.size() - 1)) {
            tokens.append(current);
            current.clear();
        }
    }
    if (tokens.size() < 2)
        return std::nullopt;

    int32_t values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < std::min<qsizetype>(tokens.size(), 3); ++i) {
        if (tokens.at(i).isEmpty())
            return std::nullopt;
        const Parsed<double> value = ParseReal(tokens.at(i));
        if (!value)
            return std::nullopt;
        const double scaled = value.value() * scale;
        if (!FitsInt32(scaled))
            return std::nullopt;
        values[i] = Round(scaled);
    }
    return ElbowLine{values[0], values[1], values[2]};
}

int ImportElbowsFromText(ElbowList& elbows, const QString& text, double scale)
{
    int added = 0;
    for (const QString& line : splitLines(text)) {
        if (const std::optional<ElbowLine> parsed = ParseElbowLine(line, scale)) {
            AppendElbow(elbows, {parsed->NS, parsed->EW, 0}, parsed->VerticalDrop);
            ++added;
        }
    }
    return added;
}

Parsed<int> ReadElbowFile(const QString& path, double scale,
                          const std::function<void(const ElbowLine&)>& take)
{
    const auto cannotRead = [&path](const QString& reason) {
        return Parsed<int>::failure(
            QStringLiteral("Cannot read elbow file %1 : %2").arg(path, reason));
    };
    QFile file(path);
    if (QFileInfo(path).isDir())
        return cannotRead(QStringLiteral("Is a directory"));
    if (!file.open(QIODevice::ReadOnly))
        return cannotRead(file.errorString());

    int taken = 0;
    int lineNumber = 1;
    QByteArray line;
    const auto endLine = [&] {
        if (const std::optional<ElbowLine> parsed = ParseElbowLine(DecodeCp1252(line), scale)) {
            take(*parsed);
            ++taken;
        }
        line.clear();
        ++lineNumber;
    };
    bool afterCR = false; // an LF right after a CR ends no second line
    char chunk[64 * 1024];
    for (;;) {
        const qint64 count = file.read(chunk, sizeof chunk);
        if (count < 0)
            return cannotRead(file.errorString());
        if (count == 0)
            break;
        const char* next = chunk;
        const char* const end = chunk + count;
        while (next != end) {
            if (afterCR && *next == '\n')
                ++next;
            afterCR = false;
            const char* lineEnd = std::find_if(next, end, IsLineEnd);
            if (line.size() + (lineEnd - next) > MaxElbowFileLine)
                return Parsed<int>::failure(
                    QStringLiteral("Line %1 of %2 is too long.").arg(lineNumber).arg(path));
            line.append(next, lineEnd - next);
            if (lineEnd == end)
                break;
            afterCR = *lineEnd == '\r';
            endLine();
            next = lineEnd + 1;
        }
    }
    if (!line.isEmpty())
        endLine();
    return taken;
}

Parsed<int> ImportElbowsFromFile(ElbowList& elbows, const QString& path, double scale)
{
    const size_t before = elbows.size();
    const Parsed<int> read = ReadElbowFile(path, scale, [&elbows](const ElbowLine& line) {
        AppendElbow(elbows, {line.NS, line.EW, 0}, line.VerticalDrop);
    });
    if (!read)
        elbows.resize(before);
    return read;
}

int ImportElbowsFromClipboardText(ElbowList& elbows, const QString& text, double scale)
{
    if (text.size() > MaxClipboardElbowText) {
        Ui().warn(QStringLiteral("Too much data on clip board to import."));
        return 0;
    }
    if (text.isEmpty()) {
        Ui().warn(QStringLiteral("No data on clip board to import."));
        return 0;
    }
    return ImportElbowsFromText(elbows, text, scale);
}

void ElbowExtents(const ElbowList& elbows, int32_t& minNS, int32_t& maxEW, int32_t& minEW,
                  int32_t& maxNS)
{
    if (elbows.empty())
        return;
    minNS = maxNS = elbows.front()->NS;
    minEW = maxEW = elbows.front()->EW;
    for (const auto& elbow : elbows) {
        minNS = std::min(minNS, elbow->NS);
        maxNS = std::max(maxNS, elbow->NS);
        minEW = std::min(minEW, elbow->EW);
        maxEW = std::max(maxEW, elbow->EW);
    }
}

} // namespace pipeloop
