#include "print/ProgramLogo.h"

#include <QPainter>
#include <QSvgRenderer>

namespace pipeloop
{

QImage ProgramLogo()
{
    // Drawn once: every printed page takes the same picture.
    static const QImage logo = [] {
        QSvgRenderer renderer(QStringLiteral(":/pipeloop/logo/pipeloop-logo.svg"));
        if (!renderer.isValid())
            return QImage();
        const QSize size(600, 300);
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        return picture;
    }();
    return logo;
}

} // namespace pipeloop
