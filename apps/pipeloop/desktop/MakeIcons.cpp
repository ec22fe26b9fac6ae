// Draws the program's icon at the sizes a desktop asks for, in the layout of
// an icon theme: DIR/<size>x<size>/apps/NAME.png.
//
// usage: pipeloop_icons ICON.svg DIR NAME SIZE...

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace
{

bool WriteIcon(QSvgRenderer& renderer, int size, const QDir& folder, const QString& name)
{
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const QString sized = QStringLiteral("%1x%1/apps").arg(size);
    return folder.mkpath(sized) &&
           picture.save(folder.filePath(sized + u'/' + name + QStringLiteral(".png")), "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: pipeloop_icons ICON.svg DIR NAME SIZE...\n");
        return 64;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "error: cannot read %s\n", argv[1]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0 || !WriteIcon(renderer, size, folder, name)) {
            std::fprintf(stderr, "error: cannot write the %s icon\n", argv[i]);
            return 2;
        }
    }
    return 0;
}
