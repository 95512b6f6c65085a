#pragma once
// A picture control: shows a ScreenBitmap at its own size and reports mouse presses and moves
// and releases in bitmap pixels, with the buttons and modifier keys.
#include <QWidget>

#include "ui/screen_bitmap.h"

namespace cw::ui {

class PictureControl : public QWidget {
    Q_OBJECT
public:
    explicit PictureControl(QWidget* parent = nullptr);

    // Shows this bitmap (not owned; null shows nothing) and sizes the control to it.
    void setBitmap(const ScreenBitmap* bitmap);
    const ScreenBitmap* bitmap() const { return bitmap_; }
    // Sizes the control to the bitmap and repaints it at once.
    void refresh();

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    const ScreenBitmap* bitmap_ = nullptr;
};

}  // namespace cw::ui
