#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace cw::ui {

namespace {

const QColor kGrid(96, 96, 104);
const QColor kRoom(40, 132, 168);
const QColor kRoomLine(200, 224, 236);

// A small room of 3 x 3 sectors in the square (x, y, side).
void drawRoom(QPainter& p, qreal x, qreal y, qreal side) {
    p.setPen(QPen(kRoomLine, side / 16));
    p.setBrush(kRoom);
    p.drawRect(QRectF(x, y, side, side));
    for (int k = 1; k < 3; ++k) {
        p.drawLine(QPointF(x + side * k / 3, y), QPointF(x + side * k / 3, y + side));
        p.drawLine(QPointF(x, y + side * k / 3), QPointF(x + side, y + side * k / 3));
    }
}

QIcon iconFrom(void (*draw)(QPainter&, int)) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, size);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QPixmap cairnworkPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(QColor(208, 200, 176));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(kGrid, s / 96));
    for (int k = 0; k <= 8; ++k) {
        p.drawLine(QPointF(s * k / 8, 0), QPointF(s * k / 8, s));
        p.drawLine(QPointF(0, s * k / 8), QPointF(s, s * k / 8));
    }
    // Four stones stacked into a cairn.
    const struct {
        qreal cx, cy, rx, ry;
        QColor colour;
    } stones[] = {
        {0.50, 0.80, 0.36, 0.12, QColor(120, 110, 98)},
        {0.50, 0.60, 0.28, 0.10, QColor(146, 134, 118)},
        {0.50, 0.43, 0.20, 0.08, QColor(168, 156, 138)},
        {0.50, 0.29, 0.12, 0.07, QColor(190, 178, 160)},
    };
    p.setPen(QPen(QColor(52, 46, 40), s / 40));
    for (const auto& stone : stones) {
        p.setBrush(stone.colour);
        p.drawEllipse(QPointF(stone.cx * s, stone.cy * s), stone.rx * s, stone.ry * s);
    }
    p.end();
    return pixmap;
}

QIcon cairnworkIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(cairnworkPicture(size));
    return icon;
}

QIcon addRoomIcon() {
    return iconFrom([](QPainter& p, int size) {
        const qreal s = size;
        drawRoom(p, 0, s * 0.25, s * 0.75);
        p.setPen(QPen(QColor(24, 140, 48), s / 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.78, s * 0.06), QPointF(s * 0.78, s * 0.44));
        p.drawLine(QPointF(s * 0.59, s * 0.25), QPointF(s * 0.97, s * 0.25));
    });
}

QIcon roomPropertiesIcon() {
    return iconFrom([](QPainter& p, int size) {
        const qreal s = size;
        drawRoom(p, 0, s * 0.25, s * 0.75);
        QPainterPath pencil;
        pencil.moveTo(s * 0.95, s * 0.12);
        pencil.lineTo(s * 0.83, s * 0.0);
        pencil.lineTo(s * 0.38, s * 0.45);
        pencil.lineTo(s * 0.32, s * 0.63);
        pencil.lineTo(s * 0.50, s * 0.57);
        pencil.closeSubpath();
        p.setPen(QPen(QColor(60, 40, 20), s / 24));
        p.setBrush(QColor(236, 176, 40));
        p.drawPath(pencil);
    });
}

}  // namespace cw::ui
