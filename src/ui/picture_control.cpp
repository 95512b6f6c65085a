#include "ui/picture_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace cw::ui {

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureControl::setBitmap(const ScreenBitmap* bitmap) {
    bitmap_ = bitmap;
    refresh();
}

void PictureControl::refresh() {
    const QSize size = sizeHint();
    if (this->size() != size) setFixedSize(size);
    repaint();
}

QSize PictureControl::sizeHint() const {
    if (bitmap_ == nullptr || bitmap_->image.isNull()) return {0, 0};
    return bitmap_->image.size();
}

void PictureControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (bitmap_ != nullptr && !bitmap_->image.isNull()) {
        painter.drawImage(QPoint(0, 0), bitmap_->image);
    } else {
        painter.fillRect(rect(), palette().window());
    }
}

void PictureControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mousePressed(event->button(), event->modifiers(), p.x(), p.y());
}

void PictureControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMoved(event->buttons(), event->modifiers(), p.x(), p.y());
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseReleased(event->button(), event->modifiers(), p.x(), p.y());
}

}  // namespace cw::ui
