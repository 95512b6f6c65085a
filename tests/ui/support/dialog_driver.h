#pragma once
// Window tests: acts on the next modal dialog of a type once it is shown (a dialog's exec()
// does not return to the test until the dialog closes).
#include <QApplication>
#include <QTimer>
#include <functional>

namespace cw::test {

// Polls until the active modal widget is a T, then runs `action` on it once. A watch that may
// see no dialog should be given a context: it ends with it.
template <class T>
void onNextDialog(std::function<void(T&)> action, QObject* context = nullptr) {
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        timer->stop();
        timer->deleteLater();
        action(*dialog);
    });
    timer->start();
}

}  // namespace cw::test
