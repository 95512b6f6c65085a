#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/editor2.h"
#include "ui/picture_control.h"

using namespace cw;
using namespace cw::ui;
using cw::test::clickControl;
using cw::test::clickListRow;
using cw::test::EditorFixture;
using cw::test::onNextDialog;

namespace {

struct RoomInput {
    int rows = 10;
    int columns = 10;
    QString name;  // empty: keep the suggested name
};

// Adds a room through the add button and the room properties dialog; returns the name the
// dialog suggested.
QString addRoom(EditorFixture& f, const RoomInput& input = {}) {
    QString suggested;
    onNextDialog<TForm2>([&](TForm2& dialog) {
        suggested = dialog.findChild<QLineEdit*>("Edit1")->text();
        dialog.findChild<QSpinBox*>("SpinEdit1")->setValue(input.rows);
        dialog.findChild<QSpinBox*>("SpinEdit2")->setValue(input.columns);
        if (!input.name.isEmpty()) {
            auto* name = dialog.findChild<QLineEdit*>("Edit1");
            name->selectAll();
            cw::test::typeText(name, input.name);  // typed over the suggested name
        }
        QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
    });
    if (!clickControl(f.widget<QToolButton>("SpeedButton1"))) QTest::qFail("the add button was not pressed", __FILE__, __LINE__);
    return suggested;
}

int pixel(EditorFixture& f, int x, int y) {
    const int working = f.form->plan().workingImage.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
    // The screen shows exactly the working image.
    const int shown = f.form->planBitmap().image.pixelIndex(x, y);
    if (shown != working) qWarning("screen shows %d where the working image has %d at (%d, %d)", shown, working, x, y);
    return shown == working ? working : -1;
}

void sendPlanMove(EditorFixture& f, QPoint point, Qt::MouseButtons buttons) {
    auto* image = f.widget<PictureControl>("Image1");
    QMouseEvent move(QEvent::MouseMove, point, image->mapToGlobal(point), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(image, &move);
}


}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpState() {
        EditorFixture f;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Vellorn's Cairnwork v.PL"));
        QVERIFY(f.form->windowState() & Qt::WindowMaximized);
        QCOMPARE(f.widget<QLabel>("Label1")->text(), QStringLiteral("X:=    Z:="));
        QCOMPARE(f.widget<QGroupBox>("GroupBox1")->title(), QStringLiteral("   Pozycja"));
        QCOMPARE(f.widget<QListWidget>("ListBox1")->count(), 0);
        auto* progress = f.widget<QProgressBar>("ProgressBar1");
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 100);
        QCOMPARE(progress->value(), 0);
        QCOMPARE(f.project->roomCount, 0);
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(f.project->planX, -1);
        QCOMPARE(f.project->planY, -1);
        QVERIFY(!f.form->isModified());

        // The plan: the empty grid in the program palette, each component times 4.
        const QImage& shown = f.form->planBitmap().image;
        QCOMPARE(shown.size(), QSize(962, 962));
        QCOMPARE(shown.format(), QImage::Format_Indexed8);
        const PaletteBlock palette = cw::test::testPalette();
        QCOMPARE(shown.color(209), qRgb(palette[627] * 4, palette[628] * 4, palette[629] * 4));
        QCOMPARE(shown.pixelIndex(5, 5), 209);
        QCOMPARE(shown.pixelIndex(0, 5), 253);
        QCOMPARE(shown.pixelIndex(961, 961), 209);
        QCOMPARE(&f.form->programPalette(), f.form->plan().planImage.Palette.get());
        QCOMPARE(f.form->plan().workingImage.Palette.get(), f.form->plan().planImage.Palette.get());

        // Scrolled to the south-west corner.
        auto* scroll = f.widget<QScrollArea>("ScrollBox1");
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        QCOMPARE(scroll->verticalScrollBar()->value(), scroll->verticalScrollBar()->maximum());
        QCOMPARE(scroll->horizontalScrollBar()->value(), 0);
        auto* image = f.widget<PictureControl>("Image1");
        const QPoint corner = image->mapTo(scroll->viewport(), QPoint(1, 960));
        QVERIFY(scroll->viewport()->rect().contains(corner));
    }

    void controlTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("add") << "SpeedButton1" << "" << "Dodaj nowe pomieszczenie";
        QTest::newRow("properties") << "SpeedButton2" << "" << "Edytuj właściwości pomieszczenia";
        QTest::newRow("clone") << "Button1" << "KLONUJ" << "Klonuj aktualne pomieszczenie";
        QTest::newRow("delete") << "Button2" << "USUŃ" << "Usuń ostatni pokój";
        QTest::newRow("edit") << "Button3" << "EDYCJA" << "Edytuj zaznaczone pomieszczenie";
        QTest::newRow("room list") << "ListBox1" << "" << "Wybierz pomieszczenie";
        QTest::newRow("plan") << "Image1" << "" << "Lewym przyciskiem myszy przesuń pomieszczenie";
        QTest::newRow("north") << "Label2" << "N" << "";
        QTest::newRow("south") << "Label3" << "S" << "";
        QTest::newRow("west") << "Label4" << "W" << "";
        QTest::newRow("east") << "Label5" << "E" << "";
    }
    void controlTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        EditorFixture f;
        QWidget* w = f.form->findChild<QWidget*>(name);
        QVERIFY(w != nullptr);
        QCOMPARE(w->toolTip(), hint);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QCOMPARE(button->text(), text);
            if (text.isEmpty()) QVERIFY(!button->icon().isNull());
        }
        if (auto* label = qobject_cast<QLabel*>(w)) QCOMPARE(label->text(), text);
    }

    void menus() {
        EditorFixture f;
        struct Item {
            const char* text;
            QKeySequence shortcut;
        };
        auto check = [&](const char* menuName, const QString& title, const QList<Item>& items) {
            auto* menu = f.form->findChild<QMenu*>(menuName);
            QVERIFY(menu != nullptr);
            QCOMPARE(menu->title(), title);
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), items.size());
            for (int i = 0; i < items.size(); ++i) {
                const QString text = QString::fromUtf8(items[i].text);
                if (text.isEmpty()) {
                    QVERIFY2(actions[i]->isSeparator(), qPrintable(QString::number(i)));
                } else {
                    QCOMPARE(actions[i]->text(), text);
                    QCOMPARE(actions[i]->shortcut(), items[i].shortcut);
                }
            }
        };
        check("Plik1", "&Plik",
              {{"&Nowy", {}},
               {"&Otwórz", QKeySequence(Qt::Key_F3)},
               {"&Zapisz", QKeySequence(Qt::CTRL | Qt::Key_S)},
               {"Zapisz &jako", {}},
               {"", {}},
               {"&Buduj Level", QKeySequence(Qt::Key_F10)},
               {"", {}},
               {"Z&akończ", QKeySequence(Qt::CTRL | Qt::Key_X)},
               {"", {}}});
        check("Edycja1", "&Edycja",
              {{"&Cofnij", QKeySequence(Qt::CTRL | Qt::Key_Z)},
               {"&Ponów", QKeySequence(Qt::CTRL | Qt::Key_Y)},
               {"", {}},
               {"&Dodaj pomieszczenie", QKeySequence(Qt::Key_Insert)},
               {"&Właściwości", QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
               {"", {}},
               {"&Edytuj pomieszczenie", QKeySequence(Qt::CTRL | Qt::Key_Insert)},
               {"", {}},
               {"Wczytaj &tekstury poziomu bazowego", {}}});
        check("Informacje1", "&Informacje", {{"&Informacje...", {}}, {"Język / Language", {}}});
        // Redo has a second shortcut.
        QCOMPARE(f.form->findChild<QAction*>("Ponow1")->shortcuts(),
                 QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        QStringList bar;
        for (QAction* a : f.form->menuBar()->actions()) bar << a->text();
        QCOMPARE(bar, QStringList({"&Plik", "&Edycja", "&Informacje"}));
    }

    void addingRoomsPlacesNamesAndDefaults() {
        EditorFixture f;
        QCOMPARE(addRoom(f), QStringLiteral("Room #1"));
        QCOMPARE(f.project->roomCount, 1);
        const EditorRoom& first = f.project->room(1);
        QCOMPARE(first.posX, 0);
        QCOMPARE(first.posY, 860);
        QCOMPARE(first.name.str(), std::string("Room #1"));
        QCOMPARE(int(first.floorLevel), 127);
        QCOMPARE(int(first.ceilingLevel), 139);
        QCOMPARE(int(first.roomLight), 16);
        QCOMPARE(first.itemLight, 16);
        QCOMPARE(first.defaultFloorTextures[0], 0);
        QCOMPARE(int(first.numZ()), 10);
        QVERIFY(f.form->isModified());

        QCOMPARE(addRoom(f, {4, 6, QStringLiteral("Łąka nad rzeką, długa nazwa")}), QStringLiteral("Room #2"));
        const EditorRoom& second = f.project->room(2);
        QCOMPARE(second.posX, 10);
        QCOMPARE(second.posY, 870);
        QCOMPARE(int(second.numZ()), 4);
        QCOMPARE(int(second.numX()), 6);
        // The name field takes the 20 characters the room keeps, in Windows-1250, and no more: the
        // list shows what the room holds.
        QCOMPARE(second.name.str(), std::string("\xA3\xB9ka nad rzek\xB9, d\xB3ug"));
        QCOMPARE(f.roomListNames(), QStringList({"Room #1", "Łąka nad rzeką, dług"}));
        QCOMPARE(f.widget<QListWidget>("ListBox1")->currentRow(), 1);
        QCOMPARE(f.project->currentRoom, 2);

        // A cancelled dialog adds nothing.
        onNextDialog<TForm2>([](TForm2& dialog) { QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn2"))); });
        QVERIFY(clickControl(f.widget<QToolButton>("SpeedButton1")));
        QCOMPARE(f.project->roomCount, 2);
        QCOMPARE(f.roomListNames().size(), 2);
    }

    void planIndicesAfterAddingDraggingAndSwitching() {
        EditorFixture f;
        addRoom(f);
        QCOMPARE(pixel(f, 5, 865), 139);   // current room over the plan background
        QCOMPARE(pixel(f, 10, 865), 0);    // room grid over plan grid
        QCOMPARE(pixel(f, 101, 865), 139); // the room's last column
        QCOMPARE(pixel(f, 105, 865), 209); // beside the room

        addRoom(f);  // room 1 now drawn as a non-current room
        QCOMPARE(pixel(f, 5, 865), 10);
        QCOMPARE(pixel(f, 10, 865), 0);
        QCOMPARE(pixel(f, 15, 875), 139);       // current room 2 in front of room 1, in its own colours
        QCOMPARE(pixel(f, 105, 875), 139);      // current room 2 over the plan background

        // Dragging room 2 away leaves room 1 as the plan image has it.
        QTest::mousePress(f.widget<PictureControl>("Image1"), Qt::LeftButton, {}, QPoint(15, 875));
        sendPlanMove(f, QPoint(304, 402), Qt::LeftButton);
        QTest::mouseRelease(f.widget<PictureControl>("Image1"), Qt::LeftButton, {}, QPoint(304, 402));
        QCOMPARE(pixel(f, 15, 875), 10);
        QCOMPARE(pixel(f, 305, 405), 139);

        // Switching to room 1 by the list: room 2 becomes part of the plan image.
        QVERIFY(clickListRow(f.widget<QListWidget>("ListBox1"), 0));
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(pixel(f, 305, 405), 10);
        QCOMPARE(pixel(f, 5, 865), 139);

        // A room off the 10-pixel raster (as a project file may hold it) shows 2 and 167.
        f.project->room(2).posX = 305;
        QVERIFY(clickListRow(f.widget<QListWidget>("ListBox1"), 1));
        QCOMPARE(pixel(f, 310, 405), 167);
        QVERIFY(clickListRow(f.widget<QListWidget>("ListBox1"), 0));
        QCOMPARE(pixel(f, 310, 405), 2);
    }

    void draggingMovesTheCurrentRoomOnTheRaster() {
        EditorFixture f;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        addRoom(f);
        auto* image = f.widget<PictureControl>("Image1");
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(50, 900));
        // The pointer jumps to the room's top-left corner through the plan control's mapping.
        QCOMPARE(f.form->warps, QList<QPoint>{image->mapToGlobal(QPoint(0, 860))});
        QCOMPARE(QCursor::pos(), image->mapToGlobal(QPoint(0, 860)));

        sendPlanMove(f, QPoint(209, 507), Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(209, 507));
        QCOMPARE(f.widget<QLabel>("Label1")->text(), QStringLiteral("X=20  Z=36"));
        QCOMPARE(f.project->planX, 200);
        QCOMPARE(f.project->planY, 500);
        QCOMPARE(f.project->room(1).posX, 200);
        QCOMPARE(f.project->room(1).posY, 500);
        QCOMPARE(pixel(f, 205, 505), 139);
        QCOMPARE(pixel(f, 5, 865), 209);

        // Moving without the left button changes nothing, not even the read-out.
        sendPlanMove(f, QPoint(400, 400), Qt::RightButton);
        QCOMPARE(f.project->planX, 200);
        QCOMPARE(f.widget<QLabel>("Label1")->text(), QStringLiteral("X=20  Z=36"));

        // A right press does not warp the pointer.
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(700, 100));
        QCOMPARE(f.form->warps.size(), 1);
    }

    void draggingWithoutRoomsDoesNothing() {
        EditorFixture f;
        auto* image = f.widget<PictureControl>("Image1");
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(50, 50));
        QVERIFY(f.form->warps.isEmpty());
        sendPlanMove(f, QPoint(300, 300), Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(f.project->planX, -1);
        QCOMPARE(f.widget<QLabel>("Label1")->text(), QStringLiteral("X:=    Z:="));
        QVERIFY(!f.form->isModified());
        addRoom(f);
        QCOMPARE(f.project->room(1).posY, 860);  // still the south-west corner
    }

    void rightClickSelection() {
        EditorFixture f;
        addRoom(f);  // (0, 860)
        addRoom(f);  // (10, 860): one sector further south would leave the plan
        addRoom(f);  // (20, 860), current
        auto* image = f.widget<PictureControl>("Image1");
        auto* list = f.widget<QListWidget>("ListBox1");

        // Empty plan: nothing changes.
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(500, 300));
        QCOMPARE(f.project->currentRoom, 3);

        // A point inside all three rooms selects the lowest number.
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(30, 890));
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(f.project->planX, 0);
        QCOMPARE(f.project->planY, 860);
        QCOMPARE(pixel(f, 5, 865), 139);  // room 1 highlighted
        QCOMPARE(pixel(f, 118, 955), 10); // room 3 no longer current

        // Room 2's far corner (both far edges included) is in room 3 too: room 2 wins.
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(112, 961));
        QCOMPARE(f.project->currentRoom, 2);
        QCOMPARE(list->currentRow(), 1);
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(120, 955));
        QCOMPARE(f.project->currentRoom, 3);
    }

    void roomListSelection() {
        EditorFixture f;
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        addRoom(f);
        addRoom(f);
        auto* list = f.widget<QListWidget>("ListBox1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(f.project->planX, 0);
        QCOMPARE(f.project->planY, 860);
        QCOMPARE(pixel(f, 5, 865), 139);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(f.project->currentRoom, 2);
        QCOMPARE(f.project->planX, 10);
        QCOMPARE(pixel(f, 5, 865), 10);
    }

    void propertiesCloneAndDelete() {
        EditorFixture f;
        addRoom(f, {10, 10, QStringLiteral("Hall")});
        // Properties: the dialog shows the room; a new size resets the room.
        onNextDialog<TForm2>([](TForm2& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>("Edit1")->text(), QStringLiteral("Hall"));
            QCOMPARE(dialog.findChild<QSpinBox*>("SpinEdit1")->value(), 10);
            dialog.findChild<QSpinBox*>("SpinEdit1")->setValue(11);
            dialog.findChild<QCheckBox*>("CheckBox4")->setChecked(true);
            dialog.findChild<QLineEdit*>("Edit1")->setText("Great hall");
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
        });
        QVERIFY(clickControl(f.widget<QToolButton>("SpeedButton2")));
        QCOMPARE(int(f.project->room(1).numZ()), 11);
        QCOMPARE(int(f.project->room(1).sky), 1);
        QCOMPARE(f.roomListNames(), QStringList{"Great hall"});
        QCOMPARE(roomPlanSize(f.project->room(1)).height, 112);

        // Clone: a full copy one sector east and south, appended; the current room stays.
        QVERIFY(clickControl(f.widget<QPushButton>("Button1")));
        QCOMPARE(f.project->roomCount, 2);
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(int(f.project->room(2).sky), 1);
        QCOMPARE(f.project->room(2).posX, 10);
        QCOMPARE(f.roomListNames(), QStringList({"Great hall", "Great hall"}));
        QCOMPARE(f.widget<QListWidget>("ListBox1")->currentRow(), 0);

        // Delete removes the last room and makes the new last room current.
        QVERIFY(clickControl(f.widget<QPushButton>("Button2")));
        QCOMPARE(f.project->roomCount, 1);
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(f.roomListNames().size(), 1);
        QVERIFY(!f.widget<QPushButton>("Button2")->isEnabled());  // the last room stays
    }

    // "EDYCJA", "KLONUJ", "&Właściwości" (button and menu items) act on the current room and
    // "USUŃ" on the last of at least two: without such a room they are disabled, and a click at
    // their place or their shortcut does nothing.
    void roomCommandsAreDisabledWhileTheyCannotAct() {
        EditorFixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
        cw::test::MessageCatcher catcher;
        auto watch = std::make_unique<QObject>();  // closes a dialog that should not open
        int dialogsShown = 0;
        onNextDialog<QDialog>([&dialogsShown](QDialog& dialog) { ++dialogsShown, dialog.reject(); }, watch.get());
        const auto enabled = [&] {
            QStringList on;
            for (const char* name : {"SpeedButton2", "Button1", "Button2", "Button3"})
                if (f.widget<QWidget>(name)->isEnabled()) on << name;
            for (const char* name : {"Wlasciwosci1", "Edytujpomieszczenie1"})
                if (f.form->findChild<QAction*>(name)->isEnabled()) on << name;
            return on;
        };
        QCOMPARE(enabled(), QStringList());
        for (const char* name : {"SpeedButton2", "Button1", "Button2", "Button3"}) {
            QWidget* button = f.widget<QWidget>(name);
            const QPoint place = button->mapTo(f.form.get(), button->rect().center());
            QWidget* there = f.form->childAt(place);
            QTest::mouseClick(there, Qt::LeftButton, {}, there->mapFrom(f.form.get(), place));
        }
        QVERIFY(!cw::test::chooseMenuItem(f.form.get(), "Wlasciwosci1"));
        QVERIFY(!cw::test::chooseMenuItem(f.form.get(), "Edytujpomieszczenie1"));
        QTest::keyClick(f.form.get(), Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(f.form.get(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(dialogsShown, 0);
        watch.reset();
        QCOMPARE(f.project->roomCount, 0);
        QVERIFY(catcher.texts.isEmpty());
        QVERIFY(!f.form->isModified());

        addRoom(f);
        QCOMPARE(enabled(), QStringList({"SpeedButton2", "Button1", "Button3", "Wlasciwosci1", "Edytujpomieszczenie1"}));
        addRoom(f);
        QCOMPARE(enabled().size(), 6);
        QVERIFY(clickControl(f.widget<QPushButton>("Button2")));  // back to one room
        QVERIFY(!f.widget<QWidget>("Button2")->isEnabled());

        // A new project has no rooms; an opened one has.
        const QString path = QString::fromStdString(f.folder.file("two.cwp").string());
        QVERIFY(clickControl(f.widget<QPushButton>("Button1")));
        f.form->fileAnswers = {path};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QCOMPARE(enabled(), QStringList());
        f.form->fileAnswers = {path};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Otworz1"));
        QCOMPARE(f.project->roomCount, 2);
        QCOMPARE(enabled().size(), 6);
    }

    // The current room is saved with the project and picks the player's start room: choosing
    // another one in the list or by a right click is an unsaved change; choosing it again is none.
    void choosingTheCurrentRoomIsAChange() {
        EditorFixture f;
        addRoom(f);  // (0, 860)
        addRoom(f);  // (10, 860), current
        f.form->fileAnswers = {QString::fromStdString(f.folder.file("rooms.cwp").string())};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
        QVERIFY(!f.form->isModified());
        auto* list = f.widget<QListWidget>("ListBox1");
        auto* image = f.widget<PictureControl>("Image1");

        QVERIFY(clickListRow(list, 1));  // the current room
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(108, 900));  // inside room 2 only
        QVERIFY(!f.form->isModified());

        QVERIFY(clickListRow(list, 0));
        QCOMPARE(f.project->currentRoom, 1);
        QVERIFY(f.form->isModified());
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapisz1"));
        QVERIFY(!f.form->isModified());

        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(108, 900));
        QCOMPARE(f.project->currentRoom, 2);
        QVERIFY(f.form->isModified());
        // So closing asks before losing it.
        f.form->saveAnswers = {QMessageBox::Cancel};
        QVERIFY(!f.form->close());
        QCOMPARE(f.form->saveQuestions, 1);
    }

    // A room never leaves the 96 x 96 plan, the position read-out follows the current room, and
    // the current room shows whole where rooms overlap.
    void roomsStayOnThePlan() {
        EditorFixture f;
        auto* label = f.widget<QLabel>("Label1");
        auto* image = f.widget<PictureControl>("Image1");
        addRoom(f);
        QCOMPARE(label->text(), QStringLiteral("X=0  Z=0"));
        addRoom(f);  // one sector east; one further south would leave the plan
        QCOMPARE(f.project->room(2).posX, 10);
        QCOMPARE(f.project->room(2).posY, 860);
        QCOMPARE(label->text(), QStringLiteral("X=1  Z=0"));
        // Room 2 (current) lies over room 1: it shows whole, in its colours and with its grid.
        QCOMPARE(pixel(f, 15, 875), 139);
        QCOMPARE(pixel(f, 60, 875), 0);    // its grid line on the plan's
        QCOMPARE(pixel(f, 105, 875), 139);

        // Dragged past the plan's south-east corner, then past its north-west corner.
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(15, 875));
        sendPlanMove(f, QPoint(955, 958), Qt::LeftButton);
        QCOMPARE(f.project->room(2).posX, 860);
        QCOMPARE(f.project->room(2).posY, 860);
        QCOMPARE(label->text(), QStringLiteral("X=86  Z=0"));
        sendPlanMove(f, QPoint(-40, -25), Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(-40, -25));
        QCOMPARE(f.project->room(2).posX, 0);
        QCOMPARE(f.project->room(2).posY, 0);
        QCOMPARE(f.project->planY, 0);
        QCOMPARE(label->text(), QStringLiteral("X=0  Z=86"));

        // The read-out follows a selection by the list and by a right click.
        QVERIFY(clickListRow(f.widget<QListWidget>("ListBox1"), 0));
        QCOMPARE(label->text(), QStringLiteral("X=0  Z=0"));
        QTest::mouseClick(image, Qt::RightButton, {}, QPoint(50, 50));  // room 2, still on the plan
        QCOMPARE(f.project->currentRoom, 2);
        QCOMPARE(label->text(), QStringLiteral("X=0  Z=86"));

        // Cloned at the edge: kept on the plan.
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(50, 50));
        sendPlanMove(f, QPoint(860, 0), Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(860, 0));
        QVERIFY(clickControl(f.widget<QPushButton>("Button1")));
        QCOMPARE(f.project->room(3).posX, 860);
        QCOMPARE(f.project->room(3).posY, 10);
        // Made larger at the edge: it grows into the plan, and the read-out shows where it is now.
        onNextDialog<TForm2>([](TForm2& dialog) {
            dialog.findChild<QSpinBox*>("SpinEdit2")->setValue(20);
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
        });
        QVERIFY(clickControl(f.widget<QToolButton>("SpeedButton2")));
        QCOMPARE(f.project->room(2).posX, 760);
        QCOMPARE(f.project->planX, 760);
        QCOMPARE(label->text(), QStringLiteral("X=76  Z=86"));

        // "&Nowy" has no room to show; an opened project shows its current room.
        const QString path = QString::fromStdString(f.folder.file("plan.cwp").string());
        f.form->fileAnswers = {path};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QCOMPARE(label->text(), QStringLiteral("X:=    Z:="));
        f.form->fileAnswers = {path};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Otworz1"));
        QCOMPARE(f.project->currentRoom, 2);
        QCOMPARE(label->text(), QStringLiteral("X=76  Z=86"));
    }

    void aFullProjectRefusesAddAndClone() {
        EditorFixture f;
        addRoom(f);
        for (int n = 2; n <= kMaxRooms; ++n) {
            initSectorGrid(f.project->room(n), 3, 3);
        }
        f.project->roomCount = kMaxRooms;
        bool dialogShown = false;
        QObject watch;
        onNextDialog<TForm2>(
            [&dialogShown](TForm2& dialog) {
                dialogShown = true;
                dialog.reject();
            },
            &watch);
        cw::test::MessageCatcher catcher;
        QVERIFY(clickControl(f.widget<QToolButton>("SpeedButton1")));
        QVERIFY(clickControl(f.widget<QPushButton>("Button1")));
        QCOMPARE(catcher.texts, QStringList({kRoomLimitMessage, kRoomLimitMessage}));
        QCOMPARE(f.project->roomCount, kMaxRooms);
        QVERIFY(!dialogShown);
    }

    void newAsksBeforeDiscardingChanges() {
        EditorFixture f;
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));  // nothing to lose: no question
        QCOMPARE(f.form->saveQuestions, 0);
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Vellorn's Cairnwork "));

        addRoom(f);
        f.form->saveAnswers = {QMessageBox::Cancel};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QCOMPARE(f.form->saveQuestions, 1);
        QCOMPARE(f.project->roomCount, 1);

        f.form->saveAnswers = {QMessageBox::No};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QCOMPARE(f.project->roomCount, 0);
        QVERIFY(!f.form->isModified());
        QCOMPARE(f.widget<QListWidget>("ListBox1")->count(), 0);

        // Yes on an untitled project asks for a file name; cancelling that keeps the project.
        addRoom(f);
        f.form->saveAnswers = {QMessageBox::Yes};
        f.form->fileAnswers = {QString()};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QCOMPARE(f.project->roomCount, 1);
        QCOMPARE(f.form->askedDialogs.constLast().title, QStringLiteral("Save CWP file"));

        const QString path = QString::fromStdString(f.folder.file("kept.cwp").string());
        f.form->saveAnswers = {QMessageBox::Yes};
        f.form->fileAnswers = {path};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QCOMPARE(f.project->roomCount, 0);
        QVERIFY(QFileInfo::exists(path));
    }

    void closingAsksBeforeDiscardingChanges() {
        EditorFixture f;
        f.form->show();
        addRoom(f);
        f.form->saveAnswers = {QMessageBox::Cancel};
        QVERIFY(!f.form->close());
        QVERIFY(f.form->isVisible());
        f.form->saveAnswers = {QMessageBox::No};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zakoncz1"));
        QVERIFY(!f.form->isVisible());
        QCOMPARE(f.form->saveQuestions, 2);
    }

    void aboutBoxOpens() {
        EditorFixture f;
        bool shown = false;
        onNextDialog<QDialog>([&](QDialog& dialog) {
            shown = dialog.windowTitle() == QStringLiteral("Informacje");
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("Button1")));
        });
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Informacje2"));
        QVERIFY(shown);
    }

    // Saves the main window as a PNG file into $CW_SCREENSHOT_DIR (only when it is set): three
    // rooms, two of them overlapping, the last one current.
    void screenshotOfTheMainWindow() {
        const QByteArray folder = qgetenv("CW_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("CW_SCREENSHOT_DIR not set");
        EditorFixture f;
        f.form->resize(1000, 760);
        addRoom(f, {12, 16, QStringLiteral("Hall")});
        addRoom(f, {6, 8, QStringLiteral("Corridor")});
        auto* image = f.widget<PictureControl>("Image1");
        QTest::mousePress(image, Qt::LeftButton, {}, QPoint(15, 915));
        sendPlanMove(f, QPoint(200, 700), Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(200, 700));
        addRoom(f, {8, 8, QStringLiteral("Łazienka")});
        QApplication::processEvents();
        QVERIFY(f.form->grab().save(QString::fromLocal8Bit(folder) + "/main_window.png"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
