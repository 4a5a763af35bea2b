#include "app/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace qb::app {

// A pink sheet of paper with ruled lines and a quill laid across it.
QPixmap DrawAppIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 48.0;

    painter.setPen(QPen(QColor(0xC0, 0x40, 0xC0), 2.0 * s));
    painter.setBrush(QColor(0xFF, 0xC0, 0xFF));
    painter.drawRoundedRect(QRectF(6 * s, 3 * s, 32 * s, 42 * s), 4 * s, 4 * s);

    painter.setPen(QPen(QColor(0xFF, 0x00, 0xFF), 2.0 * s));
    for (int line = 0; line < 4; ++line) {
        const qreal y = (14 + line * 8) * s;
        painter.drawLine(QPointF(11 * s, y), QPointF(33 * s, y));
    }

    QPainterPath quill;
    quill.moveTo(44 * s, 4 * s);
    quill.cubicTo(30 * s, 8 * s, 20 * s, 24 * s, 16 * s, 40 * s);
    quill.cubicTo(26 * s, 30 * s, 38 * s, 20 * s, 44 * s, 4 * s);
    painter.setPen(QPen(QColor(0x60, 0x20, 0x60), 1.0 * s));
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter.drawPath(quill);
    painter.drawLine(QPointF(16 * s, 40 * s), QPointF(13 * s, 46 * s));
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addPixmap(DrawAppIcon(size));
    }
    return icon;
}

}  // namespace qb::app
