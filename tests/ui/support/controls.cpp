#include "support/controls.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

namespace cw::test {

QRect shownRect(const QWidget* control) {
    const QWidget* window = control->window();
    QRect shown(control->mapTo(window, QPoint(0, 0)), control->size());
    for (const QWidget* parent = control->parentWidget(); parent != nullptr && parent != window;
         parent = parent->parentWidget()) {
        shown &= QRect(parent->mapTo(window, QPoint(0, 0)), parent->size());
    }
    return shown & window->rect();
}

QList<QPoint> aimPoints(const QRect& shown) {
    return {shown.center(), shown.topLeft() + QPoint(2, 2), shown.topRight() + QPoint(-2, 2),
            shown.bottomLeft() + QPoint(2, -2), shown.bottomRight() + QPoint(-2, -2)};
}

namespace {

QString describe(const QWidget* w) {
    if (w == nullptr) return QStringLiteral("nothing");
    QString text = QString::fromLatin1(w->metaObject()->className());
    if (!w->objectName().isEmpty()) text += QStringLiteral(" ") + w->objectName();
    if (w->property("text").isValid() && !w->property("text").toString().isEmpty())
        text += QStringLiteral(" \"") + w->property("text").toString() + QLatin1Char('"');
    return text;
}

}  // namespace

QString whyMissed(const QWidget* control, QPoint windowPoint) {
    if (!control->isVisible()) return describe(control) + QStringLiteral(" is not shown");
    if (!control->isEnabled()) return describe(control) + QStringLiteral(" is disabled");
    const QWidget* target = control->window()->childAt(windowPoint);
    if (target == control || (target != nullptr && control->isAncestorOf(target))) return {};
    return describe(control) + QStringLiteral(" is covered at (%1, %2) by ").arg(windowPoint.x()).arg(windowPoint.y()) +
           describe(target);
}

bool clickAt(QWidget* control, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    QWidget* window = control->window();
    const QPoint windowPoint = control->mapTo(window, at);
    const QString missed = whyMissed(control, windowPoint);
    if (!missed.isEmpty()) {
        qWarning("cannot press: %s", qPrintable(missed));
        return false;
    }
    QWidget* target = window->childAt(windowPoint);
    QTest::mouseClick(target, button, modifiers, target->mapFrom(window, windowPoint));
    return true;
}

bool clickControl(QWidget* control, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    return clickAt(control, control->rect().center(), button, modifiers);
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const Qt::Key key = c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, c == QLatin1Char(' ') ? Qt::Key_Space : key, QString(c), {});
    }
}

bool clickListRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    if (item == nullptr) {
        qWarning("the list has no entry %d", row);
        return false;
    }
    list->scrollToItem(item);
    return clickAt(list->viewport(), list->visualItemRect(item).center());
}

bool chooseMenuItem(QMainWindow* window, const char* actionName) {
    auto* item = window->findChild<QAction*>(QLatin1String(actionName));
    if (item == nullptr) {
        qWarning("no menu item %s", actionName);
        return false;
    }
    QMenuBar* bar = window->menuBar();
    QMenu* menu = nullptr;
    for (QAction* title : bar->actions()) {
        if (title->menu() != nullptr && title->menu()->actions().contains(item)) menu = title->menu();
    }
    if (menu == nullptr) {
        qWarning("menu item %s is in no menu of the menu bar", actionName);
        return false;
    }
    if (!clickAt(bar, bar->actionGeometry(menu->menuAction()).center())) return false;
    if (!QTest::qWaitForWindowExposed(menu)) {
        qWarning("the menu of %s did not open", actionName);
        return false;
    }
    const QRect place = menu->actionGeometry(item);
    if (!item->isVisible() || !item->isEnabled() || place.isEmpty()) {
        qWarning("menu item %s is %s", actionName, item->isEnabled() ? "not shown" : "disabled");
        menu->close();
        return false;
    }
    QTest::mouseClick(menu, Qt::LeftButton, {}, place.center());
    return true;
}

}  // namespace cw::test
