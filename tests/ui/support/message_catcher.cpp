#include "support/message_catcher.h"

#include <QApplication>
#include <QMessageBox>

namespace cw::test {

MessageCatcher::MessageCatcher() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &MessageCatcher::poll);
    timer_.start();
}

MessageCatcher::~MessageCatcher() { timer_.stop(); }

void MessageCatcher::poll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box != nullptr && box->isVisible()) {
            texts << box->text();
            reasons << box->informativeText();
            box->done(QMessageBox::Ok);
        }
    }
}

}  // namespace cw::test
