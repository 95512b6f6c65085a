// Undo and redo, driven as a user drives them: "&Cofnij" and "&Ponów" chosen in the "&Edycja"
// menu, Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z pressed in the main window and in the room editor, the
// edits themselves made with the buttons, dialogs and mouse. Each undo must give the project's
// saved bytes as they were before the step, each redo as they were after it.
#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <vector>

#include "project/project_file.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/editor2.h"
#include "ui/editor3.h"
#include "ui/editor5.h"
#include "ui/picture_control.h"
#include "ui/undo_history.h"

using namespace cw;
using namespace cw::ui;
using cw::test::clickAt;
using cw::test::clickControl;
using cw::test::EditorFixture;
using cw::test::onNextDialog;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes savedBytes(const EditorFixture& f) { return serializeProject(*f.project); }

QAction* action(const EditorFixture& f, const char* name) { return f.form->findChild<QAction*>(QLatin1String(name)); }
QString hint(const EditorFixture& f, const char* name) { return action(f, name)->toolTip(); }

// The main window shown and active, so that its shortcuts reach it.
bool showActive(EditorFixture& f) {
    f.form->show();
    f.form->activateWindow();
    return QTest::qWaitForWindowActive(f.form.get());
}

// A key pressed on the window goes, as a user's does, to the widget with the focus first.
void pressInMainWindow(EditorFixture& f, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QVERIFY(showActive(f));
    QTest::keyClick(f.form->windowHandle(), key, modifiers);
}
void undoKey(EditorFixture& f) { pressInMainWindow(f, Qt::Key_Z, Qt::ControlModifier); }
void redoKey(EditorFixture& f) { pressInMainWindow(f, Qt::Key_Y, Qt::ControlModifier); }

// Adds a room through the add button and the room properties dialog.
void addRoom(EditorFixture& f, int rows = 10, int columns = 10) {
    onNextDialog<TForm2>([rows, columns](TForm2& dialog) {
        dialog.findChild<QSpinBox*>("SpinEdit1")->setValue(rows);
        dialog.findChild<QSpinBox*>("SpinEdit2")->setValue(columns);
        QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
    });
    QVERIFY(clickControl(f.widget<QToolButton>("SpeedButton1")));
}

// Changes the current room's properties in the dialog: a new name and row count.
void changeProperties(EditorFixture& f, const QString& name, int rows) {
    onNextDialog<TForm2>([name, rows](TForm2& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>("Edit1");
        edit->selectAll();
        cw::test::typeText(edit, name);
        dialog.findChild<QSpinBox*>("SpinEdit1")->setValue(rows);
        QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
    });
    QVERIFY(clickControl(f.widget<QToolButton>("SpeedButton2")));
}

void sendPlanMove(EditorFixture& f, QPoint point) {
    auto* image = f.widget<PictureControl>("Image1");
    QMouseEvent move(QEvent::MouseMove, point, image->mapToGlobal(point), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(image, &move);
}

// Drags the current room on the plan through several moves.
void drag(EditorFixture& f, QPoint from, const QList<QPoint>& moves) {
    auto* image = f.widget<PictureControl>("Image1");
    QTest::mousePress(image, Qt::LeftButton, {}, from);
    for (const QPoint& p : moves) sendPlanMove(f, p);
    QTest::mouseRelease(image, Qt::LeftButton, {}, moves.last());
}

void saveAs(EditorFixture& f, const char* name) {
    f.form->fileAnswers = {QString::fromStdString(f.folder.file(name).string())};
    QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
}

// What the main window shows of the project: the room list, its selection and the read-out.
QStringList shown(const EditorFixture& f) {
    QStringList s = f.roomListNames();
    s << QString::number(f.widget<QListWidget>("ListBox1")->currentRow()) << f.widget<QLabel>("Label1")->text();
    return s;
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    // The menu items are disabled while there is nothing to undo or redo and name the step in
    // their hints; chosen in the menu they undo and redo.
    void menuItemsNameTheStepAndFollowTheHistory() {
        EditorFixture f;
        QVERIFY(!action(f, "Cofnij1")->isEnabled());
        QVERIFY(!action(f, "Ponow1")->isEnabled());

        addRoom(f);
        QVERIFY(action(f, "Cofnij1")->isEnabled());
        QVERIFY(!action(f, "Ponow1")->isEnabled());
        QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: dodanie pomieszczenia Room #1"));
        changeProperties(f, QStringLiteral("Hall"), 10);  // a new name only
        drag(f, QPoint(15, 875), {QPoint(100, 700), QPoint(200, 500)});
        QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: przesunięcie pomieszczenia Hall"));
        QCOMPARE(action(f, "Cofnij1")->statusTip(), hint(f, "Cofnij1"));

        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Cofnij1"));
        QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: zmiana właściwości pomieszczenia Hall"));
        QCOMPARE(hint(f, "Ponow1"), QStringLiteral("Ponów: przesunięcie pomieszczenia Hall"));
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Cofnij1"));
        QCOMPARE(f.roomListNames(), QStringList{"Room #1"});
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Cofnij1"));
        QCOMPARE(f.project->roomCount, 0);
        QVERIFY(!action(f, "Cofnij1")->isEnabled());
        QVERIFY(!f.widget<QPushButton>("Button3")->isEnabled());  // no room to edit

        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Ponow1"));
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Ponow1"));
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Ponow1"));
        QCOMPARE(f.project->room(1).posX, 200);
        QCOMPARE(f.roomListNames(), QStringList{"Hall"});
        QVERIFY(!action(f, "Ponow1")->isEnabled());
        QCOMPARE(hint(f, "Ponow1"), QStringLiteral("Nie ma zmian do ponowienia"));
    }

    // Every room operation of the main window is one step: undone, the saved bytes and what the
    // window shows are as before it; redone, as after it.
    void eachRoomOperationUndoesToTheBytesBefore() {
        EditorFixture f;
        addRoom(f, 6, 8);
        addRoom(f, 4, 5);
        struct Operation {
            const char* name;
            std::function<void()> run;
        };
        auto* list = f.widget<QListWidget>("ListBox1");
        const QList<Operation> operations = {
            {"add", [&] { addRoom(f, 12, 3); }},
            {"clone", [&] { QVERIFY(clickControl(f.widget<QPushButton>("Button1"))); }},
            {"delete", [&] { QVERIFY(clickControl(f.widget<QPushButton>("Button2"))); }},
            {"properties with a new size", [&] { changeProperties(f, QStringLiteral("Łąka"), 7); }},
            {"choose in the list", [&] { QVERIFY(cw::test::clickListRow(list, 0)); }},
            {"choose on the plan",
             [&] { QTest::mouseClick(f.widget<PictureControl>("Image1"), Qt::RightButton, {}, QPoint(30, 850)); }},
            {"drag", [&] { drag(f, QPoint(30, 850), {QPoint(300, 300), QPoint(400, 350), QPoint(410, 360)}); }},
        };
        for (const Operation& operation : operations) {
            const Bytes before = savedBytes(f);
            const QStringList shownBefore = shown(f);
            operation.run();
            const Bytes after = savedBytes(f);
            const QStringList shownAfter = shown(f);
            QVERIFY2(after != before, operation.name);

            undoKey(f);
            QVERIFY2(savedBytes(f) == before, operation.name);
            QCOMPARE(shown(f), shownBefore);
            redoKey(f);
            QVERIFY2(savedBytes(f) == after, operation.name);
            QCOMPARE(shown(f), shownAfter);
            // Ctrl+Shift+Z redoes as Ctrl+Y does.
            undoKey(f);
            pressInMainWindow(f, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(savedBytes(f) == after, operation.name);
        }
        // The plan shows the restored rooms: undoing the drag puts room 3 back where it was.
        QCOMPARE(f.project->currentRoom, 3);
        QCOMPARE(int(f.form->plan().workingImage.at(415, 365)), 139);  // the current room's colour
        undoKey(f);
        QCOMPARE(int(f.form->plan().workingImage.at(415, 365)), 209);  // the plan's background
        QCOMPARE(int(f.form->plan().workingImage.at(25, 845)), 139);
    }

    // The unsaved-changes state follows the history: back at the save, no changes; past it,
    // changes, and closing asks.
    void undoingBackToTheSaveLeavesNothingUnsaved() {
        EditorFixture f;
        addRoom(f);
        saveAs(f, "saved.cwp");
        const Bytes saved = savedBytes(f);
        QVERIFY(!f.form->isModified());

        drag(f, QPoint(15, 875), {QPoint(300, 300)});
        QVERIFY(f.form->isModified());
        undoKey(f);
        QVERIFY(!f.form->isModified());
        QVERIFY(savedBytes(f) == saved);
        redoKey(f);
        QVERIFY(f.form->isModified());
        undoKey(f);
        undoKey(f);  // the add, before the save
        QVERIFY(f.form->isModified());
        redoKey(f);
        QVERIFY(!f.form->isModified());

        // Unchanged again: closing does not ask.
        QVERIFY(f.form->close());
        QCOMPARE(f.form->saveQuestions, 0);
    }

    void openingOrStartingANewProjectEmptiesTheHistory() {
        EditorFixture f;
        addRoom(f);
        saveAs(f, "one.cwp");
        addRoom(f);
        f.form->saveAnswers = {QMessageBox::No};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Nowy1"));
        QVERIFY(!action(f, "Cofnij1")->isEnabled());
        QVERIFY(!action(f, "Ponow1")->isEnabled());
        QVERIFY(!f.form->isModified());

        addRoom(f);
        f.form->saveAnswers = {QMessageBox::No};
        f.form->fileAnswers = {QString::fromStdString(f.folder.file("one.cwp").string())};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Otworz1"));
        QVERIFY(!action(f, "Cofnij1")->isEnabled());
        undoKey(f);  // nothing to undo: the opened project stays
        QCOMPARE(f.project->roomCount, 1);
        QVERIFY(!f.form->isModified());
    }

    // In the room editor the same keys undo and redo on the same history, also while a field has
    // the focus and an edit of its own; the views, the portal list and the fields show the
    // restored room; one click is one step however many sectors its selection covers.
    void theRoomEditorUndoesOnTheSameHistory() {
        EditorFixture f;
        addRoom(f);
        addRoom(f);  // room 2, current
        saveAs(f, "rooms.cwp");
        const Bytes saved = savedBytes(f);

        bool ran = false;
        const auto steps = [&](TForm3& editor) {
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            const auto child = [&](const char* name) { return editor.findChild<QWidget*>(QLatin1String(name)); };
            auto* pages = editor.findChild<QTabWidget*>("PageControl1");
            const auto page = [&](const char* name) {
                const int index = pages->indexOf(child(name));
                QVERIFY(clickAt(pages->tabBar(), pages->tabBar()->tabRect(index).center()));
            };
            // Keys pressed on the window go, as a user's do, to the widget with the focus first.
            const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m) { QTest::keyClick(editor.windowHandle(), k, m); };

            // The top view: a sector closed, a portal added.
            page("TabSheet1");
            auto* top = editor.findChild<PictureControl*>("Image1");
            const QPoint sector33(20 * 2 + 10, top->bitmap()->image.height() - 20 * 2 - 10);
            const int open = top->bitmap()->image.pixelIndex(sector33);
            QVERIFY(clickAt(top, sector33));
            const int closed = top->bitmap()->image.pixelIndex(sector33);
            QVERIFY(closed != open);
            const Bytes afterClose = savedBytes(f);
            QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: zamknięcie sektora pomieszczenia Room #2"));
            QVERIFY(clickControl(child("Button1")));  // "Dodaj widok"
            auto* portals = editor.findChild<QListWidget*>("ListBox1");
            QCOMPARE(portals->count(), 1);

            // A field with an edit of its own has the focus.
            auto* width = editor.findChild<QSpinBox*>("SpinEdit49");
            QVERIFY(clickControl(width));
            cw::test::typeText(width, QStringLiteral("2"));
            const QString typed = width->text();

            key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(portals->count(), 0);
            QVERIFY(savedBytes(f) == afterClose);
            QCOMPARE(width->text(), typed);  // the key went to the project, not to the field
            key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(top->bitmap()->image.pixelIndex(sector33), open);
            QVERIFY(savedBytes(f) == saved);
            QVERIFY(!f.form->isModified());  // back at the save
            key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(top->bitmap()->image.pixelIndex(sector33), closed);
            QVERIFY(f.form->isModified());

            // A floor click with "Zazn." 32 edits every row of the room: one step.
            page("TabSheet2");
            editor.findChild<QSpinBox*>("SpinEdit46")->setValue(1);  // "Rząd"
            editor.findChild<QSpinBox*>("SpinEdit45")->setValue(32);  // "Zazn."
            auto* front = editor.findChild<PictureControl*>("Image3");
            const Bytes beforeClick = savedBytes(f);
            const auto floorAt = [&](int z) { return int(gameSectorAt(f.project->room(2).grid, 5, z).floor); };
            const int floorBefore = floorAt(5);
            const int undoSteps = f.form->history().stack().index();
            QVERIFY(clickAt(front, QPoint(16 * 4 + 8, 1026 - 16 * 30 + 8)));  // x = 5, cell 30
            const int floorAfter = floorAt(5);
            QVERIFY(floorAfter != floorBefore);
            for (int z = 1; z <= 10; ++z) QCOMPARE(floorAt(z), floorAfter);  // the whole column
            QCOMPARE(f.form->history().stack().index(), undoSteps + 1);
            QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: edycja podłogi pomieszczenia Room #2"));
            key(Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(savedBytes(f) == beforeClick);
            key(Qt::Key_Y, Qt::ControlModifier);
            for (int z = 1; z <= 10; ++z) QCOMPARE(floorAt(z), floorAfter);
            key(Qt::Key_Z, Qt::ControlModifier);

            key(Qt::Key_Escape, {});
        };
        onNextDialog<TForm3>([&](TForm3& editor) {
            ran = true;
            steps(editor);
            if (editor.isVisible()) editor.reject();  // left open by a failed check
        });
        QVERIFY(clickControl(f.widget<QPushButton>("Button3")));  // "EDYCJA"
        QVERIFY(ran);
        if (QTest::currentTestFailed()) return;

        // Back in the main window, on the same history.
        QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: zamknięcie sektora pomieszczenia Room #2"));
        QCOMPARE(hint(f, "Ponow1"), QStringLiteral("Ponów: edycja podłogi pomieszczenia Room #2"));
        undoKey(f);
        QVERIFY(savedBytes(f) == saved);
        QVERIFY(!f.form->isModified());
    }

    // Each kind of room editor edit is a step of its own name, undone to the bytes before it.
    void eachRoomEditorEditIsANamedStep() {
        EditorFixture f;
        addRoom(f);
        addRoom(f);  // room 2, current
        bool ran = false;
        const auto steps = [&](TForm3& editor) {
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            const auto child = [&](const char* name) { return editor.findChild<QWidget*>(QLatin1String(name)); };
            auto* pages = editor.findChild<QTabWidget*>("PageControl1");
            const auto page = [&](const char* name) {
                QVERIFY(clickAt(pages->tabBar(), pages->tabBar()->tabRect(pages->indexOf(child(name))).center()));
            };
            auto* top = editor.findChild<PictureControl*>("Image1");
            const auto topCell = [&](int x, int z) {
                return QPoint(20 * (x - 1) + 10, top->bitmap()->image.height() - 20 * (z - 1) - 10);
            };
            struct Edit {
                const char* page;
                std::function<void()> run;
                QString step;
            };
            const QList<Edit> edits = {
                {"TabSheet1", [&] { QVERIFY(clickAt(top, topCell(1, 1), Qt::RightButton)); },
                 QStringLiteral("otwarcie sektora pomieszczenia Room #2")},
                {"TabSheet1", [&] { QVERIFY(clickControl(child("Button1"))); },
                 QStringLiteral("dodanie portalu w pomieszczeniu Room #2")},
                {"TabSheet1",
                 [&] {
                     QVERIFY(cw::test::clickListRow(editor.findChild<QListWidget*>("ListBox1"), 0));
                     QVERIFY(clickAt(top, topCell(4, 5), Qt::LeftButton, Qt::ShiftModifier));
                 },
                 QStringLiteral("umieszczenie portalu w pomieszczeniu Room #2")},
                {"TabSheet1",
                 [&] {
                     QVERIFY(clickControl(child("RadioButton6")));
                     QVERIFY(clickControl(child("Button5")));  // "Zamień"
                 },
                 QStringLiteral("zmiana portalu w pomieszczeniu Room #2")},
                {"TabSheet1", [&] { QVERIFY(clickControl(child("Button4"))); },
                 QStringLiteral("usunięcie portalu z pomieszczenia Room #2")},
                {"TabSheet3",
                 [&] {
                     auto* side = editor.findChild<PictureControl*>("Image2");
                     const int width = side->bitmap()->image.width();
                     QVERIFY(clickAt(side, QPoint(width - 16 * 2 - 8, 1026 - 16 * 34 + 8), Qt::RightButton));
                 },
                 QStringLiteral("edycja sufitu pomieszczenia Room #2")},
            };
            for (const Edit& edit : edits) {
                page(edit.page);
                const Bytes before = savedBytes(f);
                edit.run();
                if (QTest::currentTestFailed()) return;
                const Bytes after = savedBytes(f);
                QVERIFY2(after != before, qPrintable(edit.step));
                QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: ") + edit.step);
                QTest::keyClick(editor.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
                QVERIFY2(savedBytes(f) == before, qPrintable(edit.step));
                QTest::keyClick(editor.windowHandle(), Qt::Key_Y, Qt::ControlModifier);
                QVERIFY2(savedBytes(f) == after, qPrintable(edit.step));
            }
            QTest::keyClick(editor.windowHandle(), Qt::Key_Escape);
        };
        onNextDialog<TForm3>([&](TForm3& editor) {
            ran = true;
            steps(editor);
            if (editor.isVisible()) editor.reject();  // left open by a failed check
        });
        QVERIFY(clickControl(f.widget<QPushButton>("Button3")));
        QVERIFY(ran);
    }

    // The first room's adding undone inside the room editor leaves nothing to edit: it closes.
    void undoingTheLastRoomClosesTheRoomEditor() {
        EditorFixture f;
        addRoom(f);
        bool closed = false;
        onNextDialog<TForm3>([&](TForm3& editor) {
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            QTest::keyClick(editor.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
            closed = !editor.isVisible();
            if (!closed) editor.reject();
        });
        QVERIFY(clickControl(f.widget<QPushButton>("Button3")));
        QVERIFY(closed);
        QCOMPARE(f.project->roomCount, 0);
    }

    // The build settings that "&Buduj Level" stores are a step; undone, the project and the
    // build settings dialog hold the settings before.
    void theStoredBuildSettingsAreAStep() {
        const QString base = QString::fromUtf8(CW_TEST_LEVELS_DIR) + "/TR1-TEST1.PHD";
        if (!QFileInfo::exists(base)) QSKIP("the real test levels are not available");
        EditorFixture f;
        addRoom(f);
        const Bytes before = savedBytes(f);
        const QString output = QString::fromStdString(f.folder.file("out.phd").string());
        const BuildSettingsFields fields{
            .description = "Opis", .comment = "", .baseLevel = base, .itemsFile = "", .lightsFile = "", .outputLevel = output};
        onNextDialog<TForm5>([fields](TForm5& dialog) {
            dialog.setFields(fields);
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("Button5")));
        });
        cw::test::MessageCatcher catcher;
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "MakePHD1"));
        QVERIFY(QFileInfo::exists(output));
        QCOMPARE(f.project->levelDescription.str(), std::string("Opis"));
        QCOMPARE(hint(f, "Cofnij1"), QStringLiteral("Cofnij: zmiana ustawień budowy levelu"));

        undoKey(f);
        QVERIFY(savedBytes(f) == before);
        QCOMPARE(f.form->buildSettingsDialog().fields(), BuildSettingsFields{});
        redoKey(f);
        QCOMPARE(f.project->outputLevelPath.str(), output.toStdString());
        QCOMPARE(f.form->buildSettingsDialog().fields(), fields);
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
