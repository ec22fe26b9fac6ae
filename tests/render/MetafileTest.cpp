// The metafile canvas: the EMF and placeable WMF files are read
// back by a small reader written here from [MS-EMF] and [MS-WMF], which
// checks the header fields and the record chain and replays the records into
// GDI calls. The replay must give exactly the calls the same drawing makes on
// the recording canvas, with the pen, brush, font and background mode GDI
// would have in force.

#include "MetafileCanvas.h"

#include "EmfWriter.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "PlanRenderer.h"
#include "RecordingCanvas.h"
#include "RenderTestSupport.h"
#include "ScreenView.h"
#include "ScriptedUi.h"
#include "SectionRenderer.h"
#include "WmfWriter.h"

#include <QImage>

#include <climits>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>

namespace pipeloop
{
namespace
{

// ---------------------------------------------------------------- bytes

uint16_t U16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        throw std::out_of_range("read past the record");
    return uint16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8));
}
int16_t I16(const QByteArray& b, qsizetype at)
{
    return int16_t(U16(b, at));
}
uint32_t U32(const QByteArray& b, qsizetype at)
{
    return uint32_t(U16(b, at)) | (uint32_t(U16(b, at + 2)) << 16);
}
int32_t I32(const QByteArray& b, qsizetype at)
{
    return int32_t(U32(b, at));
}
float F32(const QByteArray& b, qsizetype at)
{
    const uint32_t bits = U32(b, at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString Hex(uint32_t colour)
{
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}
QString Pt(int x, int y)
{
    return QStringLiteral("(%1,%2)").arg(x).arg(y);
}
QString Box(int l, int t, int r, int b)
{
    return Pt(l, t) + u'-' + Pt(r, b);
}

// ---------------------------------------------------------------- GDI state

// The state a metafile player holds, and the text of one call with it.
struct GdiPen {
    uint32_t style = 0;
    int width = 1;
    uint32_t colour = 0;
};
struct GdiBrush {
    uint32_t style = 0; // 0 solid, 1 null, 2 hatched
    uint32_t colour = 0xFFFFFF;
    uint32_t hatch = 0;
};
struct GdiFont {
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

QString PenText(const GdiPen& p)
{
    return QStringLiteral("pen %1 w%2 s%3").arg(Hex(p.colour)).arg(p.width).arg(p.style);
}
QString BrushText(const GdiBrush& b)
{
    if (b.style == 1)
        return QStringLiteral("brush null");
    if (b.style == 2)
        return QStringLiteral("brush hatch%1 %2").arg(b.hatch).arg(Hex(b.colour));
    return QStringLiteral("brush solid %1").arg(Hex(b.colour));
}
QString BkText(uint32_t mode, uint32_t colour)
{
    return mode == 2 ? QStringLiteral("bk opaque %1").arg(Hex(colour))
                     : QStringLiteral("bk transparent");
}
QString FontText(const GdiFont& f, uint32_t colour)
{
    return QStringLiteral("font %1 %2 w%3%4%5%6 %7")
        .arg(f.face)
        .arg(f.height)
        .arg(f.weight)
        .arg(f.italic ? QStringLiteral(" italic") : QString())
        .arg(f.underline ? QStringLiteral(" underline") : QString())
        .arg(f.strikeOut ? QStringLiteral(" strikeout") : QString())
        .arg(Hex(colour));
}

// What GDI is expected to be told for each recorded canvas call: the canvas's
// pen, brush and font turned into GDI objects (MetafileCanvas.h).
QStringList Expected(const RecordingCanvas& canvas, int dpi = 96)
{
    QStringList calls;
    for (const Primitive& p : canvas.primitives()) {
        GdiPen pen;
        pen.colour = uint32_t(p.pen.colour) & 0xFFFFFF;
        pen.width = std::max(p.pen.width, 1);
        pen.style = p.pen.width > 1 ? 0 : uint32_t(p.pen.style);
        GdiBrush brush;
        brush.colour = uint32_t(p.brush.colour) & 0xFFFFFF;
        static const uint32_t hatches[] = {0, 0, 0, 1, 2, 3, 4, 5};
        if (p.brush.style == BrushStyle::Clear) {
            brush.style = 1;
        } else if (p.brush.style != BrushStyle::Solid) {
            brush.style = 2;
            brush.hatch = hatches[int(p.brush.style)];
        }
        const bool opaque = p.brush.style == BrushStyle::Solid;
        const QString bk = BkText(opaque ? 2 : 1, brush.colour);
        const auto pts = [&p]() {
            QStringList list;
            for (QPoint q : p.points)
                list << Pt(q.x(), q.y());
            return list.join(u' ');
        };
        switch (p.kind) {
        case Primitive::Kind::Line:
            calls << QStringLiteral("line %1-%2 %3 %4")
                         .arg(Pt(p.points[0].x(), p.points[0].y()),
                              Pt(p.points[1].x(), p.points[1].y()), PenText(pen), bk);
            break;
        case Primitive::Kind::Polyline:
            calls << QStringLiteral("polyline %1 %2 %3").arg(pts(), PenText(pen), bk);
            break;
        case Primitive::Kind::Polygon:
            calls << QStringLiteral("polygon %1 %2 %3 %4")
                         .arg(pts(), PenText(pen), BrushText(brush), bk);
            break;
        case Primitive::Kind::Ellipse:
        case Primitive::Kind::Rectangle:
            calls << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(p.kind == Primitive::Kind::Ellipse ? QStringLiteral("ellipse")
                                                                 : QStringLiteral("rectangle"),
                              Box(p.box.left, p.box.top, p.box.right, p.box.bottom), PenText(pen),
                              BrushText(brush), bk);
            break;
        case Primitive::Kind::Arc:
            calls << QStringLiteral("arc %1 %2-%3 %4 %5")
                         .arg(Box(p.box.left, p.box.top, p.box.right, p.box.bottom),
                              Pt(p.points[0].x(), p.points[0].y()),
                              Pt(p.points[1].x(), p.points[1].y()), PenText(pen), bk);
            break;
        case Primitive::Kind::FillRect:
            if (p.brush.style != BrushStyle::Clear)
                calls << QStringLiteral("fill %1 %2")
                             .arg(Box(p.box.left, p.box.top, p.box.right, p.box.bottom),
                                  BrushText(brush));
            break;
        case Primitive::Kind::Text: {
            GdiFont font;
            font.height = -p.font.heightInPixels(dpi);
            font.weight = p.font.bold ? 700 : 400;
            font.italic = p.font.italic;
            font.underline = p.font.underline;
            font.strikeOut = p.font.strikeOut;
            font.face = p.font.family;
            calls << QStringLiteral("text %1 \"%2\" %3 %4")
                         .arg(Pt(p.points[0].x(), p.points[0].y()), p.text,
                              FontText(font, uint32_t(p.font.colour) & 0xFFFFFF), bk);
            break;
        }
        case Primitive::Kind::TextRect:
            calls << QStringLiteral("textrect"); // placed by each canvas's own text measure
            break;
        case Primitive::Kind::Picture:
            calls << QStringLiteral("picture %1 %2x%3")
                         .arg(Box(p.box.left, p.box.top, p.box.right, p.box.bottom))
                         .arg(p.pictureSize.width())
                         .arg(p.pictureSize.height());
            break;
        }
    }
    return calls;
}

// A player's object table and state, shared by the EMF and WMF readers.
struct Player {
    struct Object {
        enum class Kind { Pen, Brush, Font } kind;
        GdiPen pen;
        GdiBrush brush;
        GdiFont font;
    };
    std::map<uint32_t, Object> objects;
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    bool penSelected = false, brushSelected = false, fontSelected = false;
    uint32_t bkMode = 2, bkColour = 0xFFFFFF, textColour = 0, textAlign = 0;
    QPoint position;
    std::optional<PixelRect> clip;
    int saved = 0;
    QStringList calls;
    QStringList problems;
    int created = 0, deleted = 0;

    QString bk() const { return BkText(bkMode, bkColour); }
    void create(uint32_t index, Object object)
    {
        if (objects.count(index))
            problems << QStringLiteral("object %1 created twice").arg(index);
        objects[index] = object;
        ++created;
    }
    void select(uint32_t index)
    {
        const auto found = objects.find(index);
        if (found == objects.end()) {
            problems << QStringLiteral("select of unknown object %1").arg(index);
            return;
        }
        switch (found->second.kind) {
        case Object::Kind::Pen:
            pen = found->second.pen;
            penSelected = true;
            break;
        case Object::Kind::Brush:
            brush = found->second.brush;
            brushSelected = true;
            break;
        case Object::Kind::Font:
            font = found->second.font;
            fontSelected = true;
            break;
        }
    }
    void remove(uint32_t index)
    {
        if (!objects.erase(index))
            problems << QStringLiteral("delete of unknown object %1").arg(index);
        ++deleted;
    }
    void line(QPoint to)
    {
        calls << QStringLiteral("line %1-%2 %3 %4")
                     .arg(Pt(position.x(), position.y()), Pt(to.x(), to.y()), PenText(pen), bk());
        position = to;
    }
    void points(const char* kind, const std::vector<QPoint>& list, bool filled)
    {
        QStringList text;
        for (QPoint q : list)
            text << Pt(q.x(), q.y());
        QString call =
            QStringLiteral("%1 %2 %3").arg(QLatin1String(kind), text.join(u' '), PenText(pen));
        if (filled)
            call += u' ' + BrushText(brush);
        calls << call + u' ' + bk();
    }
    void figure(const char* kind, int l, int t, int r, int b)
    {
        if (pen.style == 5 && std::strcmp(kind, "rectangle") == 0) {
            // A null-pen rectangle: the canvas's fillRect, one pixel larger.
            calls << QStringLiteral("fill %1 %2").arg(Box(l, t, r - 1, b - 1), BrushText(brush));
            return;
        }
        calls << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(QLatin1String(kind), Box(l, t, r, b), PenText(pen), BrushText(brush),
                          bk());
    }
    void text(QPoint at, const QString& string)
    {
        if (textAlign != 0)
            problems << QStringLiteral("text alignment %1").arg(textAlign);
        calls << QStringLiteral("text %1 \"%2\" %3 %4")
                     .arg(Pt(at.x(), at.y()), string, FontText(font, textColour), bk());
    }
};

// ---------------------------------------------------------------- EMF reader

struct EmfRecord {
    uint32_t type = 0;
    QByteArray record; // with its 8-byte type and size
};

struct EmfFile {
    std::vector<EmfRecord> records;
    QStringList problems;
};

EmfFile ReadEmf(const QByteArray& bytes)
{
    EmfFile file;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (at + 8 > bytes.size()) {
            file.problems << QStringLiteral("truncated record at %1").arg(at);
            break;
        }
        const uint32_t type = U32(bytes, at);
        const uint32_t size = U32(bytes, at + 4);
        if (size < 8 || size % 4 != 0 || at + qsizetype(size) > bytes.size()) {
            file.problems << QStringLiteral("bad size %1 at %2").arg(size).arg(at);
            break;
        }
        file.records.push_back({type, bytes.mid(at, size)});
        at += size;
        if (type == gdi::EMR_EOF && at != bytes.size())
            file.problems << QStringLiteral("bytes after EMR_EOF");
    }
    return file;
}

// The expected body size of each fixed-size record.
const std::map<uint32_t, uint32_t> EmfFixedSizes = {
    {gdi::EMR_EOF, 20},
    {gdi::EMR_SETBKMODE, 12},
    {gdi::EMR_SETPOLYFILLMODE, 12},
    {gdi::EMR_SETTEXTALIGN, 12},
    {gdi::EMR_SETTEXTCOLOR, 12},
    {gdi::EMR_SETBKCOLOR, 12},
    {gdi::EMR_MOVETOEX, 16},
    {gdi::EMR_INTERSECTCLIPRECT, 24},
    {gdi::EMR_SAVEDC, 8},
    {gdi::EMR_RESTOREDC, 12},
    {gdi::EMR_SELECTOBJECT, 12},
    {gdi::EMR_CREATEPEN, 28},
    {gdi::EMR_CREATEBRUSHINDIRECT, 24},
    {gdi::EMR_DELETEOBJECT, 12},
    {gdi::EMR_ELLIPSE, 24},
    {gdi::EMR_RECTANGLE, 24},
    {gdi::EMR_ARC, 40},
    {gdi::EMR_LINETO, 16},
    {gdi::EMR_EXTCREATEFONTINDIRECTW, 104},
};

Player PlayEmf(const EmfFile& file)
{
    Player player;
    for (const EmfRecord& r : file.records) {
        const QByteArray& b = r.record;
        const auto fixed = EmfFixedSizes.find(r.type);
        if (fixed != EmfFixedSizes.end() && uint32_t(b.size()) != fixed->second)
            player.problems << QStringLiteral("record %1 has size %2").arg(r.type).arg(b.size());
        switch (r.type) {
        case gdi::EMR_CREATEPEN: {
            Player::Object o{Player::Object::Kind::Pen, {}, {}, {}};
            o.pen = {U32(b, 12), I32(b, 16), U32(b, 24)};
            player.create(U32(b, 8), o);
            break;
        }
        case gdi::EMR_CREATEBRUSHINDIRECT: {
            Player::Object o{Player::Object::Kind::Brush, {}, {}, {}};
            o.brush = {U32(b, 12), U32(b, 16), U32(b, 20)};
            player.create(U32(b, 8), o);
            break;
        }
        case gdi::EMR_EXTCREATEFONTINDIRECTW: {
            Player::Object o{Player::Object::Kind::Font, {}, {}, {}};
            o.font.height = I32(b, 12);
            o.font.weight = I32(b, 28);
            o.font.italic = b[32] != 0;
            o.font.underline = b[33] != 0;
            o.font.strikeOut = b[34] != 0;
            for (int i = 0; i < 32 && U16(b, 40 + 2 * i) != 0; ++i)
                o.font.face += QChar(U16(b, 40 + 2 * i));
            player.create(U32(b, 8), o);
            break;
        }
        case gdi::EMR_SELECTOBJECT:
            player.select(U32(b, 8));
            break;
        case gdi::EMR_DELETEOBJECT:
            player.remove(U32(b, 8));
            break;
        case gdi::EMR_SETBKMODE:
            player.bkMode = U32(b, 8);
            break;
        case gdi::EMR_SETBKCOLOR:
            player.bkColour = U32(b, 8);
            break;
        case gdi::EMR_SETTEXTCOLOR:
            player.textColour = U32(b, 8);
            break;
        case gdi::EMR_SETTEXTALIGN:
            player.textAlign = U32(b, 8);
            break;
        case gdi::EMR_MOVETOEX:
            player.position = QPoint(I32(b, 8), I32(b, 12));
            break;
        case gdi::EMR_LINETO:
            player.line(QPoint(I32(b, 8), I32(b, 12)));
            break;
        case gdi::EMR_POLYLINE16:
        case gdi::EMR_POLYGON16:
        case gdi::EMR_POLYLINE:
        case gdi::EMR_POLYGON: {
            const bool small = r.type == gdi::EMR_POLYLINE16 || r.type == gdi::EMR_POLYGON16;
            const uint32_t count = U32(b, 24);
            std::vector<QPoint> list;
            int l = INT_MAX, t = INT_MAX, rr = INT_MIN, bb = INT_MIN;
            for (uint32_t i = 0; i < count; ++i) {
                const QPoint q = small ? QPoint(I16(b, 28 + 4 * i), I16(b, 30 + 4 * i))
                                       : QPoint(I32(b, 28 + 8 * i), I32(b, 32 + 8 * i));
                list.push_back(q);
                l = std::min(l, q.x());
                t = std::min(t, q.y());
                rr = std::max(rr, q.x());
                bb = std::max(bb, q.y());
            }
            if (uint32_t(b.size()) != 28 + count * (small ? 4 : 8))
                player.problems << QStringLiteral("polyline size %1").arg(b.size());
            if (I32(b, 8) != l || I32(b, 12) != t || I32(b, 16) != rr || I32(b, 20) != bb)
                player.problems << QStringLiteral("polyline bounds");
            const bool polygon = r.type == gdi::EMR_POLYGON16 || r.type == gdi::EMR_POLYGON;
            player.points(polygon ? "polygon" : "polyline", list, polygon);
            break;
        }
        case gdi::EMR_ELLIPSE:
            player.figure("ellipse", I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20));
            break;
        case gdi::EMR_RECTANGLE:
            player.figure("rectangle", I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20));
            break;
        case gdi::EMR_ARC:
            player.calls << QStringLiteral("arc %1 %2-%3 %4 %5")
                                .arg(Box(I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20)),
                                     Pt(I32(b, 24), I32(b, 28)), Pt(I32(b, 32), I32(b, 36)),
                                     PenText(player.pen), player.bk());
            break;
        case gdi::EMR_SAVEDC:
            ++player.saved;
            break;
        case gdi::EMR_RESTOREDC:
            if (I32(b, 8) != -1 || player.saved == 0)
                player.problems << QStringLiteral("RESTOREDC without SAVEDC");
            --player.saved;
            player.clip.reset();
            break;
        case gdi::EMR_INTERSECTCLIPRECT:
            player.clip = PixelRect{I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20)};
            break;
        case gdi::EMR_EXTTEXTOUTW: {
            const uint32_t chars = U32(b, 44);
            const uint32_t offString = U32(b, 48);
            const uint32_t offDx = U32(b, 72);
            QString string;
            for (uint32_t i = 0; i < chars; ++i)
                string += QChar(U16(b, offString + 2 * i));
            if (offDx + 4 * chars != uint32_t(b.size()))
                player.problems << QStringLiteral("text record size");
            if (U32(b, 24) != 1)
                player.problems << QStringLiteral("graphics mode");
            player.text(QPoint(I32(b, 36), I32(b, 40)), string);
            break;
        }
        case gdi::EMR_STRETCHDIBITS: {
            const uint32_t offBmi = U32(b, 48);
            const int width = I32(b, offBmi + 4);
            const int height = I32(b, offBmi + 8);
            if (offBmi != 80 || U32(b, offBmi) != 40 || U32(b, 56) != offBmi + 40 ||
                U32(b, 56) + U32(b, 60) != uint32_t(b.size()))
                player.problems << QStringLiteral("DIB layout");
            const int x = I32(b, 24), y = I32(b, 28);
            player.calls << QStringLiteral("picture %1 %2x%3")
                                .arg(Box(x, y, x + I32(b, 72), y + I32(b, 76)))
                                .arg(width)
                                .arg(height);
            break;
        }
        case gdi::EMR_HEADER:
        case gdi::EMR_EOF:
        case gdi::EMR_SETPOLYFILLMODE:
            break;
        default:
            player.problems << QStringLiteral("unexpected record %1").arg(r.type);
        }
    }
    return player;
}

// ---------------------------------------------------------------- WMF reader

struct WmfRecord {
    uint16_t function = 0;
    QByteArray params; // after RecordSize and RecordFunction
    uint32_t words = 0;
};

struct WmfFile {
    QByteArray placeable;
    QByteArray header;
    std::vector<WmfRecord> records;
    QStringList problems;
};

WmfFile ReadWmf(const QByteArray& bytes)
{
    WmfFile file;
    file.placeable = bytes.left(22);
    file.header = bytes.mid(22, 18);
    qsizetype at = 40;
    while (at < bytes.size()) {
        if (at + 6 > bytes.size()) {
            file.problems << QStringLiteral("truncated record at %1").arg(at);
            break;
        }
        const uint32_t words = U32(bytes, at);
        const uint16_t function = U16(bytes, at + 4);
        if (words < 3 || at + 2 * qsizetype(words) > bytes.size()) {
            file.problems << QStringLiteral("bad size %1 at %2").arg(words).arg(at);
            break;
        }
        file.records.push_back({function, bytes.mid(at + 6, 2 * words - 6), words});
        at += 2 * words;
        if (function == gdi::META_EOF && at != bytes.size())
            file.problems << QStringLiteral("bytes after META_EOF");
    }
    return file;
}

Player PlayWmf(const WmfFile& file, uint32_t* tableSize = nullptr)
{
    Player player;
    std::vector<bool> table;
    const auto take = [&table]() {
        size_t slot = 0;
        while (slot < table.size() && table[slot])
            ++slot;
        if (slot == table.size())
            table.push_back(true);
        else
            table[slot] = true;
        return uint32_t(slot);
    };
    for (const WmfRecord& r : file.records) {
        const QByteArray& p = r.params;
        switch (r.function) {
        case gdi::META_CREATEPENINDIRECT: {
            Player::Object o{Player::Object::Kind::Pen, {}, {}, {}};
            o.pen = {U16(p, 0), I16(p, 2), U32(p, 6)};
            player.create(take(), o);
            break;
        }
        case gdi::META_CREATEBRUSHINDIRECT: {
            Player::Object o{Player::Object::Kind::Brush, {}, {}, {}};
            o.brush = {U16(p, 0), U32(p, 2), U16(p, 6)};
            player.create(take(), o);
            break;
        }
        case gdi::META_CREATEFONTINDIRECT: {
            Player::Object o{Player::Object::Kind::Font, {}, {}, {}};
            o.font.height = I16(p, 0);
            o.font.weight = I16(p, 8);
            o.font.italic = p[10] != 0;
            o.font.underline = p[11] != 0;
            o.font.strikeOut = p[12] != 0;
            if (uint8_t(p[13]) != gdi::ANSI_CHARSET)
                player.problems << QStringLiteral("font character set");
            o.font.face = QString::fromLatin1(p.mid(18, 32).constData());
            player.create(take(), o);
            break;
        }
        case gdi::META_SELECTOBJECT:
            player.select(U16(p, 0));
            break;
        case gdi::META_DELETEOBJECT:
            player.remove(U16(p, 0));
            if (U16(p, 0) < table.size())
                table[U16(p, 0)] = false;
            break;
        case gdi::META_SETBKMODE:
            player.bkMode = U16(p, 0);
            break;
        case gdi::META_SETBKCOLOR:
            player.bkColour = U32(p, 0);
            break;
        case gdi::META_SETTEXTCOLOR:
            player.textColour = U32(p, 0);
            break;
        case gdi::META_SETTEXTALIGN:
            player.textAlign = U16(p, 0);
            break;
        case gdi::META_MOVETO:
            player.position = QPoint(I16(p, 2), I16(p, 0));
            break;
        case gdi::META_LINETO:
            player.line(QPoint(I16(p, 2), I16(p, 0)));
            break;
        case gdi::META_POLYLINE:
        case gdi::META_POLYGON: {
            const int count = I16(p, 0);
            std::vector<QPoint> list;
            for (int i = 0; i < count; ++i)
                list.emplace_back(I16(p, 2 + 4 * i), I16(p, 4 + 4 * i));
            if (p.size() != 2 + 4 * count)
                player.problems << QStringLiteral("polyline size");
            const bool polygon = r.function == gdi::META_POLYGON;
            player.points(polygon ? "polygon" : "polyline", list, polygon);
            break;
        }
        case gdi::META_ELLIPSE:
            player.figure("ellipse", I16(p, 6), I16(p, 4), I16(p, 2), I16(p, 0));
            break;
        case gdi::META_RECTANGLE:
            player.figure("rectangle", I16(p, 6), I16(p, 4), I16(p, 2), I16(p, 0));
            break;
        case gdi::META_ARC:
            player.calls << QStringLiteral("arc %1 %2-%3 %4 %5")
                                .arg(Box(I16(p, 14), I16(p, 12), I16(p, 10), I16(p, 8)),
                                     Pt(I16(p, 6), I16(p, 4)), Pt(I16(p, 2), I16(p, 0)),
                                     PenText(player.pen), player.bk());
            break;
        case gdi::META_SAVEDC:
            ++player.saved;
            break;
        case gdi::META_RESTOREDC:
            if (I16(p, 0) != -1 || player.saved == 0)
                player.problems << QStringLiteral("RESTOREDC without SAVEDC");
            --player.saved;
            break;
        case gdi::META_INTERSECTCLIPRECT:
            player.clip = PixelRect{I16(p, 6), I16(p, 4), I16(p, 2), I16(p, 0)};
            break;
        case gdi::META_TEXTOUT: {
            const int length = I16(p, 0);
            const QByteArray string = p.mid(2, length);
            const int padded = (length + 1) / 2 * 2;
            player.text(QPoint(I16(p, 2 + padded + 2), I16(p, 2 + padded)),
                        QString::fromLatin1(string));
            break;
        }
        case gdi::META_STRETCHDIB: {
            const int width = I32(p, 22 + 4);
            const int height = I32(p, 22 + 8);
            const int x = I16(p, 20), y = I16(p, 18);
            player.calls << QStringLiteral("picture %1 %2x%3")
                                .arg(Box(x, y, x + I16(p, 16), y + I16(p, 14)))
                                .arg(width)
                                .arg(height);
            break;
        }
        case gdi::META_SETWINDOWORG:
        case gdi::META_SETWINDOWEXT:
        case gdi::META_ESCAPE:
        case gdi::META_SETPOLYFILLMODE:
        case gdi::META_EOF:
            break;
        default:
            player.problems << QStringLiteral("unexpected function %1").arg(r.function, 0, 16);
        }
    }
    if (tableSize)
        *tableSize = uint32_t(table.size());
    return player;
}

// ---------------------------------------------------------------- a scene

// Every primitive with every pen, brush and font state the drawing uses.
void Scene(Canvas& canvas)
{
    canvas.setPen({0x0000FF, 1, PenStyle::Dot});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.moveTo(10, 10);
    canvas.lineTo(100, 10);
    canvas.lineTo(100, 60); // continues from the current position
    canvas.setPen({0x00FF00, 1, PenStyle::Dash});
    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.moveTo(5, 70);
    canvas.lineTo(50, 70);
    canvas.setPen({0x102030, 3, PenStyle::DashDot}); // wide pens are solid
    canvas.polyline({QPoint(10, 80), QPoint(40, 90), QPoint(70, 80)});
    canvas.setBrush({0xFF0000, BrushStyle::Solid});
    canvas.polygon({QPoint(10, 20), QPoint(30, 40), QPoint(50, 25)});
    const BrushStyle hatches[] = {BrushStyle::Horizontal,      BrushStyle::Vertical,
                                  BrushStyle::ForwardDiagonal, BrushStyle::BackwardDiagonal,
                                  BrushStyle::Cross,           BrushStyle::DiagonalCross};
    int x = 120;
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    for (BrushStyle hatch : hatches) {
        canvas.setBrush({0x0080FF, hatch});
        canvas.rectangle(x, 10, x + 20, 30);
        x += 25;
    }
    canvas.setBrush({kBlack, BrushStyle::Solid});
    canvas.ellipse(10, 100, 22, 112); // filled in the pen's colour
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.polygon({QPoint(30, 100), QPoint(40, 110), QPoint(30, 120)});
    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.arc({50, 100, 74, 124}, QPoint(62, 100), QPoint(62, 124));
    canvas.setBrush({0xC0C0C0, BrushStyle::Solid});
    canvas.fillRect({200, 100, 230, 120});
    Font font;
    font.family = QStringLiteral("Arial");
    font.pointSize = 8;
    font.colour = 0x000080;
    canvas.setFont(font);
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.textOut(QPoint(100, 130), QStringLiteral("DROP1"));
    font.bold = true;
    font.pixelHeight = 14;
    canvas.setFont(font);
    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.textOut(QPoint(100, 150), QStringLiteral("Caf\u00e9"));
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    canvas.stretchDraw({250, 10, 280, 30}, picture);
}

class MetafileTest : public ::testing::Test
{
protected:
    MetafileTest() : locale(LocaleFacts{}) {}

    QByteArray draw(MetafileFormat format, QSize size = QSize(320, 200))
    {
        MetafileCanvas canvas(format, size, QStringLiteral("Workshop ring main"));
        Scene(canvas);
        return canvas.finish();
    }
    QStringList expected()
    {
        RecordingCanvas recording(QSize(320, 200));
        Scene(recording);
        return Expected(recording);
    }

    testing::ScriptedUi ui;
    ScopedLocale locale;
};

// ---------------------------------------------------------------- EMF

TEST_F(MetafileTest, EmfRecordChainIsWellFormed)
{
    const QByteArray bytes = draw(MetafileFormat::Emf);
    const EmfFile file = ReadEmf(bytes);
    EXPECT_TRUE(file.problems.isEmpty()) << file.problems.join(u'\n').toStdString();
    ASSERT_GE(file.records.size(), 2u);
    EXPECT_EQ(file.records.front().type, gdi::EMR_HEADER);
    EXPECT_EQ(file.records.back().type, gdi::EMR_EOF);
    const QByteArray& eof = file.records.back().record;
    EXPECT_EQ(eof.size(), 20);
    EXPECT_EQ(U32(eof, 8), 0u);   // nPalEntries
    EXPECT_EQ(U32(eof, 12), 16u); // offPalEntries
    EXPECT_EQ(U32(eof, 16), 20u); // SizeLast
}

TEST_F(MetafileTest, EmfHeaderFields)
{
    const QByteArray bytes = draw(MetafileFormat::Emf, QSize(981, 603));
    const EmfFile file = ReadEmf(bytes);
    ASSERT_FALSE(file.records.empty());
    const QByteArray& h = file.records.front().record;
    // Bounds: the picture in pixels, inclusive.
    EXPECT_EQ(Box(I32(h, 8), I32(h, 12), I32(h, 16), I32(h, 20)), Box(0, 0, 980, 602));
    // Frame: the picture in 0.01 mm at 96 dpi, inclusive (981 px are 25955.6
    // hundredths, 603 px 15954.4).
    EXPECT_EQ(Box(I32(h, 24), I32(h, 28), I32(h, 32), I32(h, 36)), Box(0, 0, 25955, 15953));
    EXPECT_EQ(U32(h, 40), 0x464D4520u); // " EMF"
    EXPECT_EQ(U32(h, 44), 0x00010000u);
    EXPECT_EQ(U32(h, 48), uint32_t(bytes.size()));               // Bytes
    EXPECT_EQ(U32(h, 52), uint32_t(file.records.size()));        // Records
    EXPECT_EQ(U16(h, 58), 0);                                    // Reserved
    EXPECT_EQ(U32(h, 68), 0u);                                   // nPalEntries
    EXPECT_EQ(Pt(I32(h, 72), I32(h, 76)), Pt(1920, 1440));       // Device
    EXPECT_EQ(Pt(I32(h, 80), I32(h, 84)), Pt(508, 381));         // Millimeters
    EXPECT_EQ(U32(h, 88), 0u);                                   // cbPixelFormat
    EXPECT_EQ(U32(h, 96), 0u);                                   // bOpenGL
    EXPECT_EQ(Pt(I32(h, 100), I32(h, 104)), Pt(508000, 381000)); // Micrometers
    // The description: creator (the design's Description), then the product
    // with the maker's notice, each ended by a null, then a second null.
    const uint32_t chars = U32(h, 60);
    EXPECT_EQ(U32(h, 64), 108u);
    QString description;
    for (uint32_t i = 0; i < chars; ++i)
        description += QChar(U16(h, 108 + 2 * i));
    EXPECT_EQ(description, QStringLiteral("Workshop ring main") + QChar(0) +
                               MetafileProductNotice() + QChar(0) + QChar(0));
    EXPECT_EQ(U32(h, 4), 108 + (chars * 2 + 3) / 4 * 4); // the header record holds it

    // Handles: one more than the highest object index used.
    uint32_t highest = 0;
    for (const EmfRecord& r : file.records)
        if (r.type == gdi::EMR_CREATEPEN || r.type == gdi::EMR_CREATEBRUSHINDIRECT ||
            r.type == gdi::EMR_EXTCREATEFONTINDIRECTW)
            highest = std::max(highest, U32(r.record, 8));
    EXPECT_EQ(U16(h, 56), highest + 1);
}

TEST_F(MetafileTest, EmfReplaysToTheCanvasCalls)
{
    const Player player = PlayEmf(ReadEmf(draw(MetafileFormat::Emf)));
    EXPECT_TRUE(player.problems.isEmpty()) << player.problems.join(u'\n').toStdString();
    EXPECT_EQ(player.calls, expected());
    // Every object made is deleted by the end, none twice.
    EXPECT_EQ(player.created, player.deleted);
    EXPECT_TRUE(player.objects.empty());
}

TEST_F(MetafileTest, EmfRecordCounts)
{
    const EmfFile file = ReadEmf(draw(MetafileFormat::Emf));
    std::map<uint32_t, int> count;
    for (const EmfRecord& r : file.records)
        ++count[r.type];
    EXPECT_EQ(count[gdi::EMR_HEADER], 1);
    EXPECT_EQ(count[gdi::EMR_EOF], 1);
    EXPECT_EQ(count[gdi::EMR_LINETO], 3);
    EXPECT_EQ(count[gdi::EMR_MOVETOEX], 2); // the second line continues
    EXPECT_EQ(count[gdi::EMR_POLYLINE16], 1);
    EXPECT_EQ(count[gdi::EMR_POLYGON16], 2);
    EXPECT_EQ(count[gdi::EMR_RECTANGLE], 7); // six hatches and the fill
    EXPECT_EQ(count[gdi::EMR_ELLIPSE], 1);
    EXPECT_EQ(count[gdi::EMR_ARC], 1);
    EXPECT_EQ(count[gdi::EMR_EXTTEXTOUTW], 2);
    EXPECT_EQ(count[gdi::EMR_EXTCREATEFONTINDIRECTW], 2);
    EXPECT_EQ(count[gdi::EMR_STRETCHDIBITS], 1);
    const int created = count[gdi::EMR_CREATEPEN] + count[gdi::EMR_CREATEBRUSHINDIRECT] +
                        count[gdi::EMR_EXTCREATEFONTINDIRECTW];
    EXPECT_EQ(count[gdi::EMR_DELETEOBJECT], created);
}

TEST_F(MetafileTest, EmfPolygonPointsAndBounds)
{
    MetafileCanvas canvas(MetafileFormat::Emf, QSize(100, 100), QString());
    canvas.polygon({QPoint(10, 20), QPoint(30, 40), QPoint(50, 25)});
    const EmfFile file = ReadEmf(canvas.finish());
    const auto polygon =
        std::find_if(file.records.begin(), file.records.end(),
                     [](const EmfRecord& r) { return r.type == gdi::EMR_POLYGON16; });
    ASSERT_NE(polygon, file.records.end());
    const QByteArray& b = polygon->record;
    EXPECT_EQ(b.size(), 8 + 16 + 4 + 3 * 4);
    EXPECT_EQ(Box(I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20)), Box(10, 20, 50, 40));
    EXPECT_EQ(U32(b, 24), 3u);
    EXPECT_EQ(Pt(I16(b, 28), I16(b, 30)), Pt(10, 20));
    EXPECT_EQ(Pt(I16(b, 32), I16(b, 34)), Pt(30, 40));
    EXPECT_EQ(Pt(I16(b, 36), I16(b, 38)), Pt(50, 25));
}

TEST_F(MetafileTest, EmfHatchBrushes)
{
    const EmfFile file = ReadEmf(draw(MetafileFormat::Emf));
    QStringList hatches;
    for (const EmfRecord& r : file.records)
        if (r.type == gdi::EMR_CREATEBRUSHINDIRECT && U32(r.record, 12) == gdi::BS_HATCHED)
            hatches << QStringLiteral("%1 %2").arg(U32(r.record, 20)).arg(Hex(U32(r.record, 16)));
    EXPECT_EQ(hatches, (QStringList{"0 0080FF", "1 0080FF", "2 0080FF", "3 0080FF", "4 0080FF",
                                    "5 0080FF"}));
}

TEST_F(MetafileTest, EmfCoordinatesBeyond16BitsUseThe32BitRecords)
{
    MetafileCanvas canvas(MetafileFormat::Emf, QSize(100, 100), QString());
    canvas.polyline({QPoint(0, 0), QPoint(40000, -40000)});
    const Player player = PlayEmf(ReadEmf(canvas.finish()));
    EXPECT_TRUE(player.problems.isEmpty()) << player.problems.join(u'\n').toStdString();
    ASSERT_EQ(player.calls.size(), 1);
    EXPECT_TRUE(player.calls[0].startsWith(QStringLiteral("polyline (0,0) (40000,-40000)")));
}

TEST_F(MetafileTest, EmfTextAdvancesAddUpToTheExtent)
{
    MetafileCanvas canvas(MetafileFormat::Emf, QSize(200, 100), QString());
    Font font;
    font.pointSize = 10;
    canvas.setFont(font);
    const QString text = QStringLiteral("ELBOW12");
    const int width = canvas.textExtent(text).width();
    canvas.textOut(QPoint(5, 6), text);
    const EmfFile file = ReadEmf(canvas.finish());
    const auto record =
        std::find_if(file.records.begin(), file.records.end(),
                     [](const EmfRecord& r) { return r.type == gdi::EMR_EXTTEXTOUTW; });
    ASSERT_NE(record, file.records.end());
    const QByteArray& b = record->record;
    ASSERT_EQ(U32(b, 44), 7u);
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += I32(b, int(U32(b, 72)) + 4 * i);
    EXPECT_EQ(sum, width);
    EXPECT_NEAR(F32(b, 28), 26.4583f, 1e-3f); // exScale: 0.01 mm per pixel at 96 dpi
}

TEST_F(MetafileTest, TextInABoxIsClippedToIt)
{
    for (MetafileFormat format : {MetafileFormat::Emf, MetafileFormat::Wmf}) {
        MetafileCanvas canvas(format, QSize(200, 100), QString());
        canvas.textRect({10, 20, 40, 30}, QStringLiteral("Compressor house"), HAlign::Centre,
                        VAlign::Centre);
        const QByteArray bytes = canvas.finish();
        const Player player =
            format == MetafileFormat::Emf ? PlayEmf(ReadEmf(bytes)) : PlayWmf(ReadWmf(bytes));
        EXPECT_TRUE(player.problems.isEmpty()) << player.problems.join(u'\n').toStdString();
        ASSERT_EQ(player.calls.size(), 1);
        EXPECT_TRUE(player.calls[0].contains(QStringLiteral("\"Compressor house\"")));
        EXPECT_EQ(player.saved, 0); // SAVEDC and RESTOREDC pair up
    }
}

// ---------------------------------------------------------------- WMF

TEST_F(MetafileTest, WmfPlaceableHeader)
{
    const QByteArray bytes = draw(MetafileFormat::Wmf, QSize(981, 603));
    ASSERT_GT(bytes.size(), 40);
    EXPECT_EQ(U32(bytes, 0), 0x9AC6CDD7u); // Key
    EXPECT_EQ(U16(bytes, 4), 0);           // HWmf
    EXPECT_EQ(Box(I16(bytes, 6), I16(bytes, 8), I16(bytes, 10), I16(bytes, 12)),
              Box(0, 0, 981, 603)); // BoundingBox
    EXPECT_EQ(U16(bytes, 14), 96);  // Inch
    EXPECT_EQ(U32(bytes, 16), 0u);  // Reserved
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= U16(bytes, 2 * i);
    EXPECT_EQ(U16(bytes, 20), checksum);
}

TEST_F(MetafileTest, WmfHeaderAndRecordChain)
{
    const QByteArray bytes = draw(MetafileFormat::Wmf, QSize(320, 200));
    const WmfFile file = ReadWmf(bytes);
    EXPECT_TRUE(file.problems.isEmpty()) << file.problems.join(u'\n').toStdString();
    const QByteArray& h = file.header;
    EXPECT_EQ(U16(h, 0), 1);                                 // Type: memory
    EXPECT_EQ(U16(h, 2), 9);                                 // HeaderSize in words
    EXPECT_EQ(U16(h, 4), 0x0300);                            // Version
    EXPECT_EQ(U32(h, 6), uint32_t((bytes.size() - 22) / 2)); // Size in words
    uint32_t tableSize = 0;
    const Player player = PlayWmf(file, &tableSize);
    EXPECT_EQ(U16(h, 10), tableSize); // NumberOfObjects
    uint32_t largest = 0;
    for (const WmfRecord& r : file.records)
        largest = std::max(largest, r.words);
    EXPECT_EQ(U32(h, 12), largest); // MaxRecord
    EXPECT_EQ(U16(h, 16), 0);       // NumberOfMembers
    ASSERT_GE(file.records.size(), 4u);
    EXPECT_EQ(file.records.back().function, gdi::META_EOF);
    EXPECT_EQ(file.records.back().words, 3u);
    // The window is the picture.
    EXPECT_EQ(file.records[0].function, gdi::META_SETWINDOWORG);
    EXPECT_EQ(Pt(I16(file.records[0].params, 2), I16(file.records[0].params, 0)), Pt(0, 0));
    EXPECT_EQ(file.records[1].function, gdi::META_SETWINDOWEXT);
    EXPECT_EQ(Pt(I16(file.records[1].params, 2), I16(file.records[1].params, 0)), Pt(320, 200));
    // The description travels in an MFCOMMENT escape.
    EXPECT_EQ(file.records[2].function, gdi::META_ESCAPE);
    EXPECT_EQ(U16(file.records[2].params, 0), gdi::MFCOMMENT);
    EXPECT_EQ(file.records[2].params.mid(4, U16(file.records[2].params, 2)),
              "Workshop ring main" + QByteArray(1, '\0') + MetafileProductNotice().toLatin1() +
                  QByteArray(1, '\0'));
}

TEST_F(MetafileTest, WmfReplaysToTheCanvasCalls)
{
    const Player player = PlayWmf(ReadWmf(draw(MetafileFormat::Wmf)));
    EXPECT_TRUE(player.problems.isEmpty()) << player.problems.join(u'\n').toStdString();
    EXPECT_EQ(player.calls, expected());
    EXPECT_EQ(player.created, player.deleted);
    EXPECT_TRUE(player.objects.empty());
}

TEST_F(MetafileTest, WmfCoordinatesAreClampedTo16Bits)
{
    MetafileCanvas canvas(MetafileFormat::Wmf, QSize(100, 100), QString());
    canvas.polyline({QPoint(0, 0), QPoint(40000, -40000)});
    const Player player = PlayWmf(ReadWmf(canvas.finish()));
    ASSERT_EQ(player.calls.size(), 1);
    EXPECT_TRUE(player.calls[0].startsWith(QStringLiteral("polyline (0,0) (32767,-32768)")));
}

// ---------------------------------------------------------------- the canvas

TEST_F(MetafileTest, UnchangedStateMakesNoNewObjects)
{
    MetafileCanvas canvas(MetafileFormat::Emf, QSize(100, 100), QString());
    canvas.setPen({0x0000FF, 3, PenStyle::Solid});
    for (int i = 0; i < 10; ++i)
        canvas.polyline({QPoint(i, 0), QPoint(i, 50)});
    const EmfFile file = ReadEmf(canvas.finish());
    int pens = 0;
    for (const EmfRecord& r : file.records)
        pens += r.type == gdi::EMR_CREATEPEN ? 1 : 0;
    EXPECT_EQ(pens, 1);
}

TEST_F(MetafileTest, PenIsSelectedAgainAfterAFigureFilledInItsColour)
{
    // Inkscape loses the outline of later figures otherwise (MetafileCanvas.cpp).
    MetafileCanvas canvas(MetafileFormat::Emf, QSize(100, 100), QString());
    canvas.setBrush({kBlack, BrushStyle::Solid});
    canvas.ellipse(0, 0, 10, 10);
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.polygon({QPoint(20, 20), QPoint(30, 20), QPoint(25, 30)});
    const EmfFile file = ReadEmf(canvas.finish());
    std::vector<uint32_t> types;
    for (const EmfRecord& r : file.records)
        types.push_back(r.type);
    const auto ellipse = std::find(types.begin(), types.end(), gdi::EMR_ELLIPSE);
    const auto polygon = std::find(types.begin(), types.end(), gdi::EMR_POLYGON16);
    ASSERT_NE(ellipse, types.end());
    ASSERT_NE(polygon, types.end());
    EXPECT_EQ(std::count(ellipse, polygon, uint32_t(gdi::EMR_SELECTOBJECT)), 2); // brush, pen
}

TEST_F(MetafileTest, DrawingAfterFinishIsRefused)
{
    MetafileCanvas canvas(MetafileFormat::Wmf, QSize(10, 10), QString());
    canvas.finish();
    EXPECT_THROW(canvas.lineTo(5, 5), std::logic_error);
    EXPECT_THROW(canvas.finish(), std::logic_error);
}

TEST_F(MetafileTest, DeviceFacts)
{
    MetafileCanvas canvas(MetafileFormat::Emf, QSize(640, 480), QString());
    EXPECT_EQ(canvas.size(), QSize(640, 480));
    EXPECT_EQ(canvas.dpiX(), 96);
    EXPECT_EQ(canvas.dpiY(), 96);
}

// ---------------------------------------------------------------- a design

// The plan and every section of a design, drawn into both metafiles, replay
// to the calls the renderer makes (text placed in boxes aside: each canvas
// measures text its own way).
TEST_F(MetafileTest, DesignViewsReplayToTheRendererCalls)
{
    TPipeLoopOptions options;
    TPipeLoop design(options);
    design.RoomEW = 15000;
    design.RoomNS = 9000;
    design.RoomHG = 4500;
    design.Height = 3000;
    design.CreateDefaultElbows();
    auto drop = std::make_unique<TDrop>();
    drop->setPosition({0, 3500, 3000});
    drop->PipeLen = 1800;
    drop->Style = DropStyle::Tee;
    drop->Symbols = test::Stack({"FILTER", "REGULATOR", "GAUGE"});
    design.Drops.push_back(std::move(drop));
    auto drain = std::make_unique<TDrain>();
    drain->setPosition({9000, 7000, 3000});
    drain->PipeLen = 2000;
    design.Drains.push_back(std::move(drain));
    auto valve = std::make_unique<TValve>();
    valve->setPosition({4500, 15000, 3000});
    design.Valves.push_back(std::move(valve));

    const auto withoutText = [](QStringList calls) {
        calls.removeIf([](const QString& c) { return c.startsWith(QStringLiteral("text")); });
        return calls;
    };
    for (ViewKind view : AllViews) {
        const ScreenGeometry g = ScreenViewGeometry(design, view, 50, 96, 96);
        const auto paint = [&](Canvas& canvas) {
            canvas.setPen({kBlack, 1, PenStyle::Solid});
            if (view == ViewKind::Plan)
                DrawPlan(canvas, design, g.params);
            else
                DrawSection(canvas, design, g.params);
        };
        RecordingCanvas recording(g.area);
        paint(recording);
        const QStringList wanted = withoutText(Expected(recording));
        ASSERT_GT(wanted.size(), 10);
        for (MetafileFormat format : {MetafileFormat::Emf, MetafileFormat::Wmf}) {
            MetafileCanvas canvas(format, g.area, design.Description);
            paint(canvas);
            const QByteArray bytes = canvas.finish();
            const Player player =
                format == MetafileFormat::Emf ? PlayEmf(ReadEmf(bytes)) : PlayWmf(ReadWmf(bytes));
            EXPECT_TRUE(player.problems.isEmpty()) << player.problems.join(u'\n').toStdString();
            EXPECT_EQ(withoutText(player.calls), wanted)
                << "view " << int(view) << (format == MetafileFormat::Emf ? " EMF" : " WMF");
        }
    }
}

} // namespace
} // namespace pipeloop
