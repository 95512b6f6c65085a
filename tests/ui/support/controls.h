#pragma once
// Window tests press controls as a user does: with real mouse events at the control's place on
// the screen, delivered to the widget the window shows there. A control that is hidden, disabled
// or covered by another widget at that place cannot be pressed, and the press reports why.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>

class QAction;
class QListWidget;
class QMainWindow;
class QWidget;

namespace cw::test {

// The part of the control its window shows, in window coordinates: the control's rectangle cut
// by the rectangle of every parent (a scroll area shows only part of what it holds).
QRect shownRect(const QWidget* control);

// Where a user aims at a shown rectangle: its centre and 2 pixels inside each of its corners.
QList<QPoint> aimPoints(const QRect& shown);

// Why a press at `windowPoint` (window coordinates) would not reach the control: it is hidden or
// disabled, or the window shows another widget there. Empty when the press reaches the control
// (or one of its own children).
QString whyMissed(const QWidget* control, QPoint windowPoint);

// Presses and releases `button` at the point of the control (its own coordinates; by default
// its centre), sending the events to the widget its window shows there. False, with a warning
// saying why, when that is not the control or one of its children.
[[nodiscard]] bool clickAt(QWidget* control, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                           Qt::KeyboardModifiers modifiers = {});
[[nodiscard]] bool clickControl(QWidget* control, Qt::MouseButton button = Qt::LeftButton,
                                Qt::KeyboardModifiers modifiers = {});

// Types the text into the widget, one key event per character (any letter, not only ASCII).
void typeText(QWidget* widget, const QString& text);

// Clicks entry `row` of the list where the list shows it.
[[nodiscard]] bool clickListRow(QListWidget* list, int row);

// Chooses a menu item with the mouse: a click on its menu's title in the window's menu bar, a
// click on each submenu on the way, then a click on the item in the menu that opens. False, with
// a warning, when the item or a submenu on the way is not shown or is disabled.
[[nodiscard]] bool chooseMenuItem(QMainWindow* window, const char* actionName);

}  // namespace cw::test
