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
    // The menus that lead to the item, from the menu bar's down to the item's own.
    QMenuBar* bar = window->menuBar();
    QList<QMenu*> path;
    for (QAction* step = item; !bar->actions().contains(step);) {
        QMenu* holder = nullptr;
        for (QMenu* menu : window->findChildren<QMenu*>())
            if (menu->actions().contains(step)) holder = menu;
        if (holder == nullptr || path.contains(holder)) {
            qWarning("menu item %s is in no menu of the menu bar", actionName);
            return false;
        }
        path.prepend(holder);
        step = holder->menuAction();
    }
    if (path.isEmpty()) {
        qWarning("%s is a menu of the menu bar, not an item", actionName);
        return false;
    }
    if (!clickAt(bar, bar->actionGeometry(path.first()->menuAction()).center())) return false;
    for (qsizetype i = 0; i < path.size(); ++i) {
        QMenu* menu = path[i];
        if (!QTest::qWaitForWindowExposed(menu)) {
            qWarning("the menu of %s did not open", actionName);
            return false;
        }
        QAction* next = i + 1 < path.size() ? path[i + 1]->menuAction() : item;
        const QRect place = menu->actionGeometry(next);
        if (!next->isVisible() || !next->isEnabled() || place.isEmpty()) {
            qWarning("menu item %s is %s", qPrintable(next->objectName().isEmpty() ? next->text() : next->objectName()),
                     next->isEnabled() ? "not shown" : "disabled");
            path.first()->close();
            return false;
        }
        QTest::mouseMove(menu, place.center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, place.center());
    }
    return true;
}

}  // namespace cw::test
