// Draws the demo catalogue's LOGO.JPG: the word ZAVOZA in block letters over a
// stylised ring main, all of our own making. Letters are drawn as strokes, not
// with a font, so the picture is the same on every machine and needs no GUI.
//
// usage: pipeloop_demo_logo OUT.JPG

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>

#include <cstdio>

namespace
{

// Each letter is a list of strokes in a 4 x 6 cell (x right, y down).
using Stroke = QList<QPointF>;
using Glyph = QList<Stroke>;

Glyph GlyphOf(char letter)
{
    switch (letter) {
    case 'Z':
        return {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}};
    case 'A':
        return {{{0, 6}, {2, 0}, {4, 6}}, {{0.8, 3.8}, {3.2, 3.8}}};
    case 'V':
        return {{{0, 0}, {2, 6}, {4, 0}}};
    case 'O':
        return {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}};
    default:
        return {};
    }
}

void DrawWord(QPainter& painter, const char* word, QPointF origin, double unit)
{
    QPen pen(QColor(255, 255, 255), unit * 0.9, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    double x = origin.x();
    for (const char* c = word; *c; ++c) {
        for (const Stroke& stroke : GlyphOf(*c)) {
            QPainterPath path;
            for (qsizetype i = 0; i < stroke.size(); ++i) {
                const QPointF p(x + stroke[i].x() * unit, origin.y() + stroke[i].y() * unit);
                if (i == 0)
                    path.moveTo(p);
                else
                    path.lineTo(p);
            }
            painter.drawPath(path);
        }
        x += 6 * unit;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // for Qt's image plugins
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.JPG\n", argv[0]);
        return 64;
    }
    QImage image(320, 120, QImage::Format_RGB32);
    image.fill(QColor(0, 70, 140));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // A ring main: a rounded rectangle of pipe with four drops hanging off it.
        QPen pipe(QColor(120, 190, 255), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pipe);
        painter.drawRoundedRect(QRectF(12, 12, 296, 96), 14, 14);
        for (int i = 0; i < 4; ++i) {
            const double x = 60 + i * 66;
            painter.drawLine(QPointF(x, 108), QPointF(x, 116));
        }
        // The maker's name.
        DrawWord(painter, "ZAVOZA", QPointF(41, 39), 7.0); // 34 units wide, 6 high
    }
    QImageWriter writer(QString::fromLocal8Bit(argv[1]), "jpeg");
    writer.setQuality(90);
    if (!writer.write(image)) {
        std::fprintf(stderr, "error: cannot write %s: %s\n", argv[1],
                     writer.errorString().toLocal8Bit().constData());
        return 2;
    }
    return 0;
}
