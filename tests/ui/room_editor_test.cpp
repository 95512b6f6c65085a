// The room editor window, driven through its child widgets: clicks at pixel positions of the
// real pictures, fields set as a user sets them, and the room's records checked afterwards.
#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "project/portal_editing.h"
#include "drawing/room_views.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "support/room_editor_fixture.h"
#include "ui/editor3.h"
#include "ui/picture_control.h"

using namespace cw;
using cw::test::clickAt;
using cw::test::clickControl;
using cw::test::FakeEditorServices;
using cw::test::MessageCatcher;
using cw::ui::PictureControl;
using cw::ui::TForm3;

class RoomEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Project> project;
    std::unique_ptr<FakeEditorServices> services;
    std::unique_ptr<TForm3> form;
    std::unique_ptr<MessageCatcher> catcher;
    ShapeGlyphs glyphs;  // the shipped glyphs, for pixel checks

    // Builds a project of three rooms (room 1 current, rows x columns) and opens the editor.
    void open(int rows = 6, int columns = 10) {
        project = cw::test::makeProject(3, rows, columns);
        show();
    }
    void show() {
        if (!services) services = std::make_unique<FakeEditorServices>();
        form = std::make_unique<TForm3>(*project, *services);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    template <typename T>
    T* w(const char* name) {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr) qFatal("no child %s", name);
        return child;
    }
    QSpinBox* spin(const char* name) { return w<QSpinBox>(name); }
    EditorRoom& room() { return project->current(); }
    GameSector& g(int x, int z) { return gameSectorAt(room().grid, x, z); }
    Sector& s(int x, int z) { return sectorAt(room(), x, z); }

    // Shows a page with a click on its tab.
    void page(const char* name) {
        auto* pages = w<QTabWidget>("PageControl1");
        const int index = pages->indexOf(w<QWidget>(name));
        QVERIFY2(clickAt(pages->tabBar(), pages->tabBar()->tabRect(index).center()), name);
        QCOMPARE(pages->currentIndex(), index);
    }
    // Presses a button of the page shown, where the window shows it.
    void press(const char* name) { QVERIFY2(clickControl(w<QWidget>(name)), name); }

    // A click inside sector column x, view cell `cell`, of the front/back view.
    void clickFrontBack(int x, int cell, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        page("TabSheet2");
        QTest::mouseClick(w<PictureControl>("Image3"), button, mods, QPoint(16 * (x - 1) + 8, 1026 - 16 * cell + 8));
    }
    // A click inside sector column z (north at the left), view cell `cell`, of the left/right view.
    void clickLeftRight(int z, int cell, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        page("TabSheet3");
        auto* picture = w<PictureControl>("Image2");
        const int width = picture->bitmap()->image.width();
        QTest::mouseClick(picture, button, mods, QPoint(width - 16 * (z - 1) - 8, 1026 - 16 * cell + 8));
    }
    void clickTop(int x, int z, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        page("TabSheet1");
        auto* picture = w<PictureControl>("Image1");
        const int height = picture->bitmap()->image.height();
        QTest::mouseClick(picture, button, mods, QPoint(20 * (x - 1) + 10, height - 20 * (z - 1) - 10));
    }
    void moveOver(const char* picture, QPoint at) {
        QWidget* target = w<QWidget>(picture);
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    // Chooses a shape on the page that holds its button.
    void shape(const char* button) {
        for (const char* tab : {"TabSheet2", "TabSheet3"})
            if (w<QWidget>(tab)->isAncestorOf(w<QWidget>(button))) page(tab);
        press(button);
    }
    int pixel(const char* picture, int x, int y) { return w<PictureControl>(picture)->bitmap()->image.pixelIndex(x, y); }
    QStringList listEntries() {
        QStringList entries;
        for (int i = 0; i < w<QListWidget>("ListBox1")->count(); ++i) entries << w<QListWidget>("ListBox1")->item(i)->text();
        return entries;
    }
    void selectListEntry(int k) {
        auto* list = w<QListWidget>("ListBox1");
        page("TabSheet1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(k - 1)).center());
    }

private slots:
    void initTestCase() { loadShapeGlyphs(CW_TEST_BIN_DIR, glyphs); }

    void init() { catcher = std::make_unique<MessageCatcher>(); }

    void cleanup() {
        form.reset();
        services.reset();
        project.reset();
        catcher.reset();
    }

    // --- The window -------------------------------------------------------------------------

    void pagesPicturesAndGeometry() {
        open();
        QVERIFY(form->windowState().testFlag(Qt::WindowMaximized));
        auto* pages = w<QTabWidget>("PageControl1");
        QCOMPARE(pages->geometry(), QRect(0, 0, 648, 417));
        QCOMPARE(pages->toolTip(), QStringLiteral("Kliknij do edycji podłogi i sufitu"));
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("TabSheet1"));
        QCOMPARE(pages->tabText(0), QStringLiteral("Widok góra/dół"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Widok tył/przód"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Widok lewy/prawy"));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
        QCOMPARE(w<QScrollArea>("ScrollBox1")->geometry(), QRect(39, 88, 531, 273));
        QCOMPARE(w<QScrollArea>("ScrollBox2")->geometry(), QRect(64, 120, 319, 242));
        QCOMPARE(w<QScrollArea>("ScrollBox3")->geometry(), QRect(64, 120, 313, 242));
        QCOMPARE(w<QScrollArea>("ScrollBox1")->widget(), w<QWidget>("Image1"));
        QCOMPARE(w<QScrollArea>("ScrollBox2")->widget(), w<QWidget>("Image2"));
        QCOMPARE(w<QScrollArea>("ScrollBox3")->widget(), w<QWidget>("Image3"));
        QCOMPARE(w<QWidget>("Image1")->toolTip(), QStringLiteral("Wciśnij Shift i kliknij w miejscu gdzie ma być portal"));
        QCOMPARE(w<QWidget>("Image3")->toolTip(), QStringLiteral("Kliknij dla wybrania wysokości podłogi/sufitu"));
        // The pictures show the main window's bitmaps at their size.
        QCOMPARE(w<PictureControl>("Image1")->bitmap(), &services->top);
        QCOMPARE(w<PictureControl>("Image2")->bitmap(), &services->leftRight);
        QCOMPARE(w<PictureControl>("Image3")->bitmap(), &services->frontBack);
        QCOMPARE(services->top.image.size(), QSize(202, 122));
        QCOMPARE(services->frontBack.image.size(), QSize(162, 1026));
        QCOMPARE(services->leftRight.image.size(), QSize(98, 1026));
        QCOMPARE(w<QWidget>("Image3")->size(), QSize(162, 1026));
        QVERIFY(services->top.ignorePalette);
        // Direction labels of each page.
        const auto labels = [&](const char* tab) {
            QStringList texts;
            for (QLabel* l : w<QWidget>(tab)->findChildren<QLabel*>()) texts << l->text();
            return texts;
        };
        for (const char* text : {"Północ", "Południe", "Zachód", "Wschód", "Room#", "Szer.", "Dł./Wys."})
            QVERIFY2(labels("TabSheet1").contains(QString::fromUtf8(text)), text);
        for (const char* text : {"Góra", "Dół", "Zachód", "Wschód", "Rząd", "Zazn.", "Pom. powyżej", "Pom. z boku",
                                 "Pom. poniżej", "Podłoga", "Sufit", "Textura", "Światło", "Przód", "Tył", "Lewa", "Prawa"})
            QVERIFY2(labels("TabSheet2").contains(QString::fromUtf8(text)), text);
        for (const char* text : {"Góra", "Dół", "Północ", "Południe", "Kolumna", "Zazn."})
            QVERIFY2(labels("TabSheet3").contains(QString::fromUtf8(text)), text);
        QCOMPARE(w<QPushButton>("Button2")->text(), QStringLiteral("Ok."));
        QCOMPARE(w<QPushButton>("Button3")->text(), QStringLiteral("Ok."));
        for (const char* track : {"TrackBar1", "TrackBar2", "TrackBar3", "TrackBar4"}) QVERIFY(w<QWidget>(track));
    }

    void fieldsRangesHintsAndInitialValues() {
        open();
        struct Field {
            const char* name;
            int minimum, maximum, value;
            const char* hint;
        };
        const Field fields[] = {
            {"SpinEdit51", 1, 254, 1, "Widok z portalu do pomieszczenia nr."},
            {"SpinEdit49", 1, 32, 1, "Szerokość portalu"},
            {"SpinEdit50", 1, 32, 1, "Długość/Wysokość portalu"},
            {"SpinEdit46", 1, 6, 1, "Zaznacz rząd do edycji"},
            {"SpinEdit1", 1, 10, 1, "Zaznacz kolumnę do edycji"},
            {"SpinEdit45", 1, 32, 1, "Zaznacz ile rzędów chcesz edytować w tym samym czasie"},
            {"SpinEdit2", 1, 32, 1, "Zaznacz ile rzędów chcesz edytować w tym samym czasie"},
            {"SpinEdit24", 0, 254, 0, "Sektor jest niezgodny z numerem pomieszczenia powyżej"},
            {"SpinEdit47", 0, 254, 0, "Sektor jest niezgodny z numerem pomieszczenia z boku"},
            {"SpinEdit48", 0, 254, 0, "Sektor jest niezgodny z numerem pomieszczenia poniżej"},
            {"SpinEdit53", 0, 254, 0, "Sektor jest niezgodny z numerem pomieszczenia powyżej"},
            {"SpinEdit52", 0, 254, 0, "Sektor jest niezgodny z numerem pomieszczenia z boku"},
            {"SpinEdit23", 0, 254, 0, "Sektor jest niezgodny z numerem pomieszczenia poniżej"},
        };
        for (const Field& f : fields) {
            QSpinBox* field = spin(f.name);
            QVERIFY2(field->minimum() == f.minimum && field->maximum() == f.maximum, f.name);
            QVERIFY2(field->value() == f.value, f.name);
            QCOMPARE(field->toolTip(), QString::fromUtf8(f.hint));
        }
        // Texture fields 0..9999 showing the room's defaults + 1; light fields 0..32 showing its light.
        const char* floorTextures[] = {"SpinEdit25", "SpinEdit26", "SpinEdit27", "SpinEdit28", "SpinEdit29",
                                       "SpinEdit3", "SpinEdit4", "SpinEdit5", "SpinEdit6", "SpinEdit7"};
        const char* ceilingTextures[] = {"SpinEdit35", "SpinEdit36", "SpinEdit37", "SpinEdit38", "SpinEdit39",
                                         "SpinEdit13", "SpinEdit14", "SpinEdit15", "SpinEdit16", "SpinEdit17"};
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(spin(floorTextures[i])->value(), i % 5 + 1);
            QCOMPARE(spin(ceilingTextures[i])->value(), i % 5 + 6);
            QCOMPARE(spin(floorTextures[i])->maximum(), 9999);
        }
        for (const char* light : {"SpinEdit30", "SpinEdit31", "SpinEdit32", "SpinEdit33", "SpinEdit34", "SpinEdit40",
                                  "SpinEdit41", "SpinEdit42", "SpinEdit43", "SpinEdit44", "SpinEdit8", "SpinEdit12",
                                  "SpinEdit18", "SpinEdit22"}) {
            QCOMPARE(spin(light)->value(), 16);
            QCOMPARE(spin(light)->maximum(), 32);
        }
        // Direction buttons, the list and its buttons.
        const char* radios[][3] = {{"RadioButton1", "Przód", "Widok z portalu przy północnej ścianie"},
                                   {"RadioButton2", "Tył", "Widok z portalu przy południowej ścianie"},
                                   {"RadioButton3", "Lewa", "Widok z portalu przy zachodniej ścianie"},
                                   {"RadioButton4", "Prawa", "Widok z portalu przy wschodniej ścianie"},
                                   {"RadioButton5", "Góra", "Widok z portalu na suficie"},
                                   {"RadioButton6", "Dół", "Widok z portalu na podłodze"}};
        for (const auto& r : radios) {
            QCOMPARE(w<QRadioButton>(r[0])->text(), QString::fromUtf8(r[1]));
            QCOMPARE(w<QRadioButton>(r[0])->toolTip(), QString::fromUtf8(r[2]));
        }
        QVERIFY(w<QRadioButton>("RadioButton1")->isChecked());
        QCOMPARE(w<QWidget>("ListBox1")->toolTip(), QStringLiteral("Zaznacz portal"));
        const char* buttons[][3] = {{"Button1", "Dodaj widok", "Dodaj nowy portal z aktualnymi wartościami"},
                                    {"Button5", "Zamień", "Zamień właściwości portalu na aktualne wartości"},
                                    {"Button4", "Usuń widok", "Usuń ostatni portal z listy"}};
        for (const auto& b : buttons) {
            QCOMPARE(w<QPushButton>(b[0])->text(), QString::fromUtf8(b[1]));
            QCOMPARE(w<QPushButton>(b[0])->toolTip(), QString::fromUtf8(b[2]));
        }
        // Shape buttons: one group per view, the first down, each with its glyph picture.
        for (const char* name : {"SpeedButton1", "SpeedButton12", "SpeedButton20", "SpeedButton2", "SpeedButton11"}) {
            auto* button = w<QToolButton>(name);
            QCOMPARE(button->toolTip(), QStringLiteral("Kształt podłogi/sufitu"));
            QVERIFY2(!button->icon().isNull(), name);
        }
        QVERIFY(w<QToolButton>("SpeedButton1")->isChecked());
        QVERIFY(w<QToolButton>("SpeedButton2")->isChecked());
        QVERIFY(!w<QToolButton>("SpeedButton12")->isChecked());
    }

    void captionOnShowAndPageChange() {
        open();
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  "));
        moveOver("Image3", QPoint(16 * 2 + 5, 505));  // third cell from the left, view cell 33
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  X:3 Y:131"));
        page("TabSheet1");
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  "));
        moveOver("Image1", QPoint(25, 122 - 85));  // x = 2, z = 5
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  X:2 Z:5"));
        page("TabSheet3");
        moveOver("Image2", QPoint(98 - 20, 1024));  // z = 2, view cell 1
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  Z:2 Y:3"));
        // Past the grid there is no cell: no read-out (a 6-row room never reads "Z:7").
        moveOver("Image2", QPoint(97, 700));
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  "));
        page("TabSheet1");
        moveOver("Image1", QPoint(50, 0));
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #1  "));
    }

    void okButtonsCloseTheWindow() {
        open();
        for (const char* ok : {"Button3", "Button2"}) {
            form->show();
            QVERIFY(form->isVisible());
            page(ok == std::string("Button3") ? "TabSheet2" : "TabSheet3");
            press(ok);
            QVERIFY2(!form->isVisible(), ok);
            QCOMPARE(form->result(), int(QDialog::Accepted));
        }
    }

    void activationFillsTheListAndScrolls() {
        project = cw::test::makeProject(3, 20, 10);
        room().portalCount = 2;
        show();
        QCOMPARE(listEntries(), QStringList({"Door #1", "Door #2"}));
        QVERIFY(w<QListWidget>("ListBox1")->selectedItems().isEmpty());
        QScrollBar* side = w<QScrollArea>("ScrollBox3")->verticalScrollBar();
        QCOMPARE(side->value(), 1026 / 2 - w<QScrollArea>("ScrollBox3")->viewport()->height() / 2);
        page("TabSheet1");
        QScrollBar* top = w<QScrollArea>("ScrollBox1")->verticalScrollBar();
        QVERIFY(top->maximum() > 0);
        QCOMPARE(top->value(), top->maximum());
        page("TabSheet3");
        QCOMPARE(w<QScrollArea>("ScrollBox2")->verticalScrollBar()->value(),
                 1026 / 2 - w<QScrollArea>("ScrollBox2")->viewport()->height() / 2);
    }

    void reopeningRebuildsForAnotherRoomAndRefillsFields() {
        open();
        spin("SpinEdit25")->setValue(99);
        spin("SpinEdit46")->setValue(5);
        form->hide();
        project->currentRoom = 2;
        initSectorGrid(project->room(2), 4, 12);
        project->room(2).roomLight = 20;
        form->show();
        QCOMPARE(services->frontBack.image.size(), QSize(16 * 12 + 2, 1026));
        QCOMPARE(services->top.image.size(), QSize(242, 82));
        QCOMPARE(spin("SpinEdit25")->value(), 1);
        QCOMPARE(spin("SpinEdit30")->value(), 20);
        QCOMPARE(spin("SpinEdit46")->maximum(), 4);
        QCOMPARE(spin("SpinEdit46")->value(), 4);  // held inside the new room
        QCOMPARE(form->windowTitle(), QStringLiteral("Editing Room #2  "));
    }

    // The link fields keep their values when the editor is opened again, and the link mode
    // follows them: a room shown in "Pom. z boku" is the side link the next click writes.
    void reopeningKeepsTheLinksTheFieldsShow() {
        open();
        spin("SpinEdit47")->setValue(2);  // front/back: beside
        spin("SpinEdit53")->setValue(3);  // left/right: above
        form->hide();
        form->show();
        QCOMPARE(spin("SpinEdit47")->value(), 2);
        QCOMPARE(spin("SpinEdit53")->value(), 3);
        spin("SpinEdit46")->setValue(3);
        clickFrontBack(2, 30);
        QCOMPARE(int(g(2, 3).roomAbove), 1);  // room 2 beside
        QCOMPARE(int(g(2, 3).roomBelow), 255);
        QCOMPARE(s(2, 3).linkMode, 2);
        spin("SpinEdit1")->setValue(4);
        clickLeftRight(2, 30);
        QCOMPARE(int(g(4, 2).roomAbove), 2);  // room 3 above
        QCOMPARE(s(4, 2).linkMode, 1);
    }

    void missingGlyphFilesAreReportedAndTheWindowStillWorks() {
        QTemporaryDir empty;
        services = std::make_unique<FakeEditorServices>(std::filesystem::path(empty.path().toStdString()));
        project = cw::test::makeProject(3, 6, 10);
        show();
        QCOMPARE(catcher->texts.size(), 1);
        QVERIFY(catcher->texts.first().contains(QStringLiteral("shapes1.bmp")));
        QCOMPARE(w<QToolButton>("SpeedButton1")->text(), QStringLiteral("1"));
        clickFrontBack(3, 20);
        QCOMPARE(byteToLevel(g(3, 1).floor), 79);
        QCOMPARE(pixel("Image3", 40, 705), int(kViewBackground));  // no glyphs to draw
    }

    // --- Side-view editing --------------------------------------------------------------------

    void floorAndCeilingEditsWithEachShape_data() {
        QTest::addColumn<bool>("frontBackView");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("shape");
        const char* frontBack[] = {"SpeedButton1", "SpeedButton12", "SpeedButton13", "SpeedButton14", "SpeedButton15",
                                   "SpeedButton16", "SpeedButton17", "SpeedButton18", "SpeedButton19", "SpeedButton20"};
        const int frontBackShapes[] = {1, 2, 3, 4, 11, 12, 13, 14, 15, 16};
        for (int i = 0; i < 10; ++i)
            QTest::newRow(frontBack[i]) << true << QString::fromLatin1(frontBack[i]) << frontBackShapes[i];
        for (int i = 0; i < 10; ++i) {
            const QByteArray name = "SpeedButton" + QByteArray::number(i + 2);
            QTest::newRow(name.constData()) << false << QString::fromLatin1(name) << i + 1;
        }
    }

    void floorAndCeilingEditsWithEachShape() {
        QFETCH(bool, frontBackView);
        QFETCH(QString, button);
        QFETCH(int, shape);
        open();
        const int thickness = standardShapeTable()[shape].thickness;
        const int kind = standardShapeTable()[shape].slopeKind;
        this->shape(button.toLatin1().constData());
        int x = 3, z = 2;
        if (frontBackView) {
            spin("SpinEdit46")->setValue(2);
            clickFrontBack(3, 20);
            clickFrontBack(3, 50, Qt::RightButton);
        } else {
            spin("SpinEdit1")->setValue(4);
            x = 4;
            clickLeftRight(2, 20);
            clickLeftRight(2, 50, Qt::RightButton);
        }
        QCOMPARE(byteToLevel(g(x, z).floor), 79 - (4 - thickness));
        QCOMPARE(byteToLevel(g(x, z).ceiling), 199 - thickness);
        QCOMPARE(int(s(x, z).floorShape), shape);
        QCOMPARE(int(s(x, z).ceilingShape), shape);
        QCOMPARE(int(s(x, z).floorSlopeKind), kind);
        QCOMPARE(int(s(x, z).ceilingSlopeKind), kind);
        QCOMPARE(int(g(x, z).floorDataIndex), int(standardFloorDataIndexTable()[kind][kind]));
        QCOMPARE(int(g(x, z).boxIndex), 0xFFFF);
        QCOMPARE(services->modifiedCount, 2);
        // The neighbours in the row and the column are untouched.
        QCOMPARE(byteToLevel(g(x + 1, z).floor), 127);
        QCOMPARE(byteToLevel(g(x, z + 1).floor), 127);
        // Glyph rows: the floor's surface glyph in view row 79 div 4 ... of its view.
        const int floorRowTop = 1025 - 16 * ((79 - (4 - thickness)) / 4 + 1);
        const char* picture = frontBackView ? "Image3" : "Image2";
        const int X = frontBackView ? 1 + 16 * (x - 1) : 16 * (6 - z);
        const IndexedImage& glyph = glyphs.floor[std::size_t(shape)];
        for (int gy = 0; gy < 16; ++gy)
            for (int gx = 0; gx < 16; ++gx) {
                const int under = (X + gx) % 16 == 0 || (floorRowTop + gy) % 16 == 0 ? kViewGrid : kViewBackground;
                QCOMPARE(pixel(picture, X + gx, floorRowTop + gy), under ^ glyph.at(std::uint32_t(gx), std::uint32_t(gy)));
            }
    }

    void rangeIsCappedAtTheRoomEdge() {
        open();
        spin("SpinEdit1")->setValue(9);
        spin("SpinEdit2")->setValue(5);
        clickLeftRight(3, 20);
        QCOMPARE(byteToLevel(g(9, 3).floor), 79);
        QCOMPARE(byteToLevel(g(10, 3).floor), 79);
        QCOMPARE(byteToLevel(g(8, 3).floor), 127);
        spin("SpinEdit46")->setValue(5);
        spin("SpinEdit45")->setValue(4);
        clickFrontBack(4, 30);
        QCOMPARE(byteToLevel(g(4, 5).floor), 119);
        QCOMPARE(byteToLevel(g(4, 6).floor), 119);
        QCOMPARE(byteToLevel(g(4, 4).floor), 127);
    }

    void ceilingAndFloorPushEachOther() {
        open();
        spin("SpinEdit46")->setValue(2);
        clickFrontBack(2, 45);  // floor 179 over the ceiling 139
        QCOMPARE(byteToLevel(g(2, 2).floor), 179);
        QCOMPARE(byteToLevel(g(2, 2).ceiling), 183);
        clickFrontBack(3, 7, Qt::RightButton);  // ceiling 23 under the floor 127
        QCOMPARE(byteToLevel(g(3, 2).ceiling), 23);
        QCOMPARE(byteToLevel(g(3, 2).floor), 19);
        clickFrontBack(4, 35);  // floor 139 onto the ceiling 139: accepted as it is
        QCOMPARE(byteToLevel(g(4, 2).floor), 139);
        QCOMPARE(byteToLevel(g(4, 2).ceiling), 139);
        clickFrontBack(5, 64);  // the top cell: 255, the ceiling held at 255
        QCOMPARE(int(g(5, 2).floor), -128);
        QCOMPARE(int(g(5, 2).ceiling), -128);
        shape("SpeedButton1");
        clickFrontBack(6, 1, Qt::RightButton);  // the bottom cell, thickness 4: held at 0
        QCOMPARE(int(g(6, 2).ceiling), 127);
        QCOMPARE(int(g(6, 2).floor), 127);
    }

    void ctrlClicksWriteOnlyTexturesAndLights() {
        open();
        spin("SpinEdit46")->setValue(2);
        spin("SpinEdit45")->setValue(2);
        spin("SpinEdit25")->setValue(77);
        spin("SpinEdit34")->setValue(5);
        spin("SpinEdit24")->setValue(2);
        shape("SpeedButton16");
        const GameSector before = g(4, 2);
        clickFrontBack(4, 50, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(g(4, 2), before);
        QCOMPARE(int(s(4, 2).floorShape), 1);
        QCOMPARE(s(4, 2).floorTexture(Face::Front), 76);
        QCOMPARE(s(4, 3).floorTexture(Face::Front), 76);
        QCOMPARE(int(s(4, 3).floorLight(Face::Surface)), 5);
        QCOMPARE(s(4, 2).linkMode, 0);
        spin("SpinEdit37")->setValue(0);
        spin("SpinEdit40")->setValue(31);
        clickFrontBack(4, 10, Qt::RightButton, Qt::ControlModifier);
        QCOMPARE(g(4, 2), before);
        QCOMPARE(int(s(4, 2).ceilingShape), 1);
        QCOMPARE(s(4, 2).ceilingTexture(Face::Left), -1);  // 0 is stored as "no face"
        QCOMPARE(int(s(4, 2).ceilingLight(Face::Surface)), 31);
    }

    void linkCheckBlocksEveryClickUntilCorrected_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("above: current room") << "SpinEdit24" << 1 << "Invalid Room above number!";
        QTest::newRow("above: past the count") << "SpinEdit24" << 4 << "Invalid Room above number!";
        QTest::newRow("side") << "SpinEdit47" << 1 << "Invalid Room side number!";
        QTest::newRow("below") << "SpinEdit48" << 254 << "Invalid Room below number!";
    }

    void linkCheckBlocksEveryClickUntilCorrected() {
        QFETCH(QString, field);
        QFETCH(int, value);
        QFETCH(QString, message);
        open();
        spin(field.toLatin1().constData())->setValue(value);
        spin("SpinEdit25")->setValue(50);
        const EditorRoom before = room();
        clickFrontBack(3, 20);
        clickFrontBack(3, 20, Qt::RightButton);
        clickFrontBack(3, 20, Qt::LeftButton, Qt::ControlModifier);
        clickFrontBack(3, 20, Qt::LeftButton, Qt::ShiftModifier);  // the pick-up is blocked too
        QCOMPARE(catcher->texts, QStringList(4, message));
        QCOMPARE(spin("SpinEdit25")->value(), 50);
        for (std::size_t i = 0; i < before.sectors.size(); ++i) {
            QCOMPARE(room().grid.gameSectors[i], before.grid.gameSectors[i]);
            QCOMPARE(room().sectors[i].floorTextures, before.sectors[i].floorTextures);
        }
        QCOMPARE(services->modifiedCount, 0);
        spin(field.toLatin1().constData())->setValue(0);  // 0 always passes
        clickFrontBack(3, 20);
        QCOMPARE(catcher->texts.size(), 4);
        QCOMPARE(byteToLevel(g(3, 1).floor), 79);
    }

    void sideLinkIsStoredInRoomAbove() {
        open();
        spin("SpinEdit24")->setValue(2);
        spin("SpinEdit48")->setValue(3);
        spin("SpinEdit47")->setValue(3);  // beside clears above and below
        QCOMPARE(spin("SpinEdit24")->value(), 0);
        QCOMPARE(spin("SpinEdit48")->value(), 0);
        QCOMPARE(spin("SpinEdit47")->value(), 3);
        spin("SpinEdit46")->setValue(3);
        clickFrontBack(2, 30);
        QCOMPARE(int(g(2, 3).roomAbove), 2);
        QCOMPARE(int(g(2, 3).roomBelow), 255);
        QCOMPARE(s(2, 3).linkMode, 2);
        // A floor linked to a room beside is drawn by or.
        const int top = 1025 - 16 * (119 / 4 + 1);
        QCOMPARE(pixel("Image3", 16 + 8, top + 8), kViewBackground | glyphs.floor[1].at(7, 8));

        spin("SpinEdit24")->setValue(2);  // above clears beside: links up and down
        QCOMPARE(spin("SpinEdit47")->value(), 0);
        spin("SpinEdit48")->setValue(3);
        clickFrontBack(2, 30, Qt::RightButton);
        QCOMPARE(int(g(2, 3).roomAbove), 1);
        QCOMPARE(int(g(2, 3).roomBelow), 2);
        QCOMPARE(s(2, 3).linkMode, 1);
        spin("SpinEdit24")->setValue(0);
        spin("SpinEdit48")->setValue(0);
        clickFrontBack(2, 30);
        QCOMPARE(int(g(2, 3).roomAbove), 255);
        QCOMPARE(int(g(2, 3).roomBelow), 255);
    }

    void pickUpRoundTrip() {
        open();
        spin("SpinEdit1")->setValue(4);
        const char* fields[] = {"SpinEdit3", "SpinEdit7", "SpinEdit8", "SpinEdit12", "SpinEdit13", "SpinEdit17",
                                "SpinEdit18", "SpinEdit22"};
        for (int i = 0; i < 8; ++i) spin(fields[i])->setValue(10 + i);
        spin("SpinEdit52")->setValue(2);  // beside
        shape("SpeedButton7");
        clickLeftRight(3, 20);
        clickLeftRight(3, 50, Qt::RightButton);
        // Other values in the fields, then the pick-up brings the sector's back.
        for (int i = 0; i < 8; ++i) spin(fields[i])->setValue(1);
        spin("SpinEdit53")->setValue(3);
        shape("SpeedButton2");
        const GameSector before = g(4, 3);
        const int modified = services->modifiedCount;
        clickLeftRight(3, 40, Qt::LeftButton, Qt::ShiftModifier);
        for (int i = 0; i < 8; ++i) QCOMPARE(spin(fields[i])->value(), 10 + i);
        QCOMPARE(spin("SpinEdit52")->value(), 2);
        QCOMPARE(spin("SpinEdit53")->value(), 0);
        QCOMPARE(spin("SpinEdit23")->value(), 0);
        QCOMPARE(g(4, 3), before);
        QCOMPARE(services->modifiedCount, modified);
        QVERIFY(w<QToolButton>("SpeedButton2")->isChecked());  // shapes are not picked
        // The picked link mode (2) is the one the next edit writes.
        spin("SpinEdit1")->setValue(5);
        clickLeftRight(3, 20);
        QCOMPARE(int(g(5, 3).roomAbove), 1);
        QCOMPARE(s(5, 3).linkMode, 2);
        // A pick-up of a sector linked up and down.
        spin("SpinEdit53")->setValue(2);
        spin("SpinEdit23")->setValue(3);
        clickLeftRight(2, 20);
        spin("SpinEdit53")->setValue(0);
        spin("SpinEdit23")->setValue(0);
        clickLeftRight(2, 20, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(spin("SpinEdit53")->value(), 2);
        QCOMPARE(spin("SpinEdit23")->value(), 3);
        QCOMPARE(spin("SpinEdit52")->value(), 0);
    }

    void floorDataIndexOfTheExamples() {
        open();
        spin("SpinEdit46")->setValue(2);
        clickFrontBack(2, 10);  // flat floor, flat ceiling
        QCOMPARE(int(g(2, 2).floorDataIndex), 0);
        shape("SpeedButton20");  // shape 16, slope kind 8
        clickFrontBack(3, 50, Qt::RightButton);
        shape("SpeedButton1");
        clickFrontBack(3, 10);
        QCOMPARE(int(g(3, 2).floorDataIndex), 31);
        shape("SpeedButton20");
        clickFrontBack(3, 10);
        QCOMPARE(int(g(3, 2).floorDataIndex), 285);
        shape("SpeedButton7");  // shape 6, slope kind 1, in the left/right view
        spin("SpinEdit1")->setValue(4);
        clickLeftRight(2, 10);
        QCOMPARE(int(g(4, 2).floorDataIndex), 1);
    }

    void middleClickAndOuterPixelsEditNothing() {
        open();
        spin("SpinEdit46")->setValue(2);
        const EditorRoom before = room();
        clickFrontBack(3, 20, Qt::MiddleButton);
        page("TabSheet2");
        QTest::mouseClick(w<PictureControl>("Image3"), Qt::LeftButton, {}, QPoint(161, 700));  // x = numX + 1
        QTest::mouseClick(w<PictureControl>("Image3"), Qt::LeftButton, {}, QPoint(0, 700));    // x = 0
        QTest::mouseClick(w<PictureControl>("Image3"), Qt::LeftButton, {}, QPoint(40, 0));     // view cell 65
        QTest::mouseClick(w<PictureControl>("Image3"), Qt::RightButton, {}, QPoint(40, 0));
        QTest::mouseClick(w<PictureControl>("Image3"), Qt::RightButton, {}, QPoint(40, 1025));  // view cell 0
        page("TabSheet3");
        QTest::mouseClick(w<PictureControl>("Image2"), Qt::LeftButton, {}, QPoint(96, 700));  // z = 0
        QTest::mouseClick(w<PictureControl>("Image2"), Qt::LeftButton, {}, QPoint(97, 700));
        page("TabSheet1");
        QTest::mouseClick(w<PictureControl>("Image1"), Qt::LeftButton, {}, QPoint(201, 50));  // x = numX + 1
        QTest::mouseClick(w<PictureControl>("Image1"), Qt::LeftButton, {}, QPoint(50, 0));    // z = numZ + 1
        QTest::mouseClick(w<PictureControl>("Image1"), Qt::LeftButton, {}, QPoint(50, 121));  // z = 0
        for (std::size_t i = 0; i < before.sectors.size(); ++i) QCOMPARE(room().grid.gameSectors[i], before.grid.gameSectors[i]);
        QCOMPARE(services->modifiedCount, 0);
        QVERIFY(catcher->texts.isEmpty());
    }

    // Each click at the first or the last pixel of a cell, on either axis, acts on the cell drawn
    // there and on no other (a room of 6 rows and 10 columns; front/back row 2, left/right column 4).
    void clicksActOnTheCellDrawnUnderThePointer_data() {
        QTest::addColumn<QString>("view");
        QTest::addColumn<int>("index");   // x (top, front/back) or z (left/right)
        QTest::addColumn<int>("cell");    // z (top) or the view cell from the bottom
        QTest::addColumn<bool>("lastX");  // the cell's last pixel across, else its first
        QTest::addColumn<bool>("lastY");  // its last pixel down, else its first
        const struct {
            const char* view;
            int index, cell;
        } cells[] = {{"top", 1, 1}, {"top", 3, 4}, {"top", 10, 6}, {"front/back", 1, 1}, {"front/back", 4, 20},
                     {"front/back", 10, 64}, {"left/right", 1, 1}, {"left/right", 3, 33}, {"left/right", 6, 64}};
        for (const auto& c : cells)
            for (int corner = 0; corner < 4; ++corner) {
                const bool lastX = corner & 1, lastY = corner & 2;
                const QByteArray name = QByteArray(c.view) + " " + QByteArray::number(c.index) + "," +
                                        QByteArray::number(c.cell) + (lastX ? " last x" : " first x") +
                                        (lastY ? " last y" : " first y");
                QTest::newRow(name.constData()) << QString::fromLatin1(c.view) << c.index << c.cell << lastX << lastY;
            }
    }
    void clicksActOnTheCellDrawnUnderThePointer() {
        QFETCH(QString, view);
        QFETCH(int, index);
        QFETCH(int, cell);
        QFETCH(bool, lastX);
        QFETCH(bool, lastY);
        open(6, 10);
        spin("SpinEdit46")->setValue(2);
        spin("SpinEdit1")->setValue(4);
        // Every sector open between levels 100 and 200, so that a click on any of them shows.
        for (int xi = 1; xi <= 10; ++xi)
            for (int zi = 1; zi <= 6; ++zi)
                g(xi, zi) = GameSector{.floorDataIndex = 0,
                                       .boxIndex = 0xFFFF,
                                       .roomBelow = 255,
                                       .floor = levelToByte(100),
                                       .roomAbove = 255,
                                       .ceiling = levelToByte(200)};
        const EditorRoom before = room();
        int x = 0, z = 0;
        if (view == "top") {
            // Cell (x, z) is painted from (1 + 20 (x - 1), 1 + 20 (6 - z)), 19 x 19.
            x = index;
            z = cell;
            page("TabSheet1");
            const QPoint at(1 + 20 * (x - 1) + (lastX ? 18 : 0), 1 + 20 * (6 - z) + (lastY ? 18 : 0));
            QTest::mouseClick(w<PictureControl>("Image1"), Qt::LeftButton, {}, at);
            QCOMPARE(byteToLevel(g(x, z).floor), 139);  // closed at the room's ceiling level
            QCOMPARE(byteToLevel(g(x, z).ceiling), 139);
        } else {
            // View cell v stands in the rows 1025 - 16 v .. 1040 - 16 v.
            const int y = 1025 - 16 * cell + (lastY ? 15 : 0);
            if (view == "front/back") {
                x = index;  // drawn at 16 (x - 1) + 1 .. 16 x
                z = 2;
                page("TabSheet2");
                QTest::mouseClick(w<PictureControl>("Image3"), Qt::LeftButton, {}, QPoint(16 * (x - 1) + 1 + (lastX ? 15 : 0), y));
            } else {
                x = 4;
                z = index;  // drawn at 16 (6 - z) .. 16 (6 - z) + 15
                page("TabSheet3");
                QTest::mouseClick(w<PictureControl>("Image2"), Qt::LeftButton, {}, QPoint(16 * (6 - z) + (lastX ? 15 : 0), y));
            }
            QCOMPARE(byteToLevel(g(x, z).floor), 4 * cell - 1);  // shape 1 fills the clicked cell
        }
        for (int xi = 1; xi <= 10; ++xi)
            for (int zi = 1; zi <= 6; ++zi)
                if (xi != x || zi != z)
                    QVERIFY2(g(xi, zi) == gameSectorAt(before.grid, xi, zi),
                             qPrintable(QStringLiteral("sector %1,%2 changed").arg(xi).arg(zi)));
    }

    // --- Drawn views -------------------------------------------------------------------------

    void sideViewColumnsAtTheirPositions() {
        project = cw::test::makeProject(3, 5, 10);
        g(2, 3).floor = 0;     // 31 blocks, surface glyph at y = 513
        g(2, 3).ceiling = -12; // 28 blocks, surface glyph at y = 449
        s(2, 3).floorShape = 12;
        s(2, 3).ceilingShape = 3;
        g(4, 3).ceiling = -128;  // the ceiling glyph in the bottom row, over the floor's body
        g(4, 3).floor = 119;
        show();
        spin("SpinEdit46")->setValue(3);
        const IndexedImage& floor12 = glyphs.floor[12];
        const IndexedImage& ceiling3 = glyphs.ceiling[3];
        const IndexedImage& block = glyphs.floor[1];
        const IndexedImage& ceilingBlock = glyphs.ceiling[1];
        QCOMPARE(pixel("Image3", 17 + 5, 513 + 6), kViewBackground ^ floor12.at(5, 6));
        QCOMPARE(pixel("Image3", 17 + 5, 1009 + 6), kViewBackground ^ block.at(5, 6));
        QCOMPARE(pixel("Image3", 17 + 5, 449 + 6), kViewBackground ^ ceiling3.at(5, 6));
        QCOMPARE(pixel("Image3", 17 + 5, 433 + 6), kViewBackground ^ ceilingBlock.at(5, 6));
        QCOMPARE(pixel("Image3", 17 + 5, 490), int(kViewBackground));
        // Sector 4: floor level 8 (two blocks, glyph at 977); ceiling 255: 63 blocks, glyph at 1009.
        QCOMPARE(pixel("Image3", 49 + 5, 1009 + 6),
                 kViewBackground ^ block.at(5, 6) ^ glyphs.ceiling[1].at(5, 6));
        // The left/right view of column 2: z = 3 stands at X = 16 (numZ - z) = 32.
        spin("SpinEdit1")->setValue(2);
        QCOMPARE(pixel("Image2", 32 + 5, 513 + 6), kViewBackground ^ floor12.at(5, 6));
        QCOMPARE(pixel("Image2", 32 + 5, 449 + 6), kViewBackground ^ ceiling3.at(5, 6));
    }

    void topViewOpenAndClose() {
        open(6, 10);
        g(3, 3).roomAbove = 1;
        g(3, 3).floorDataIndex = 33;
        clickTop(3, 3);
        QCOMPARE(g(3, 3), (GameSector{.floorDataIndex = 0,
                                      .boxIndex = 0xFFFF,
                                      .roomBelow = 255,
                                      .floor = levelToByte(139),
                                      .roomAbove = 255,
                                      .ceiling = levelToByte(139)}));
        // Cell (3, 3) of a 6-row view: inside from (41, 61).
        QCOMPARE(pixel("Image1", 41, 61), int(kViewGrid));
        QCOMPARE(pixel("Image1", 59, 79), int(kViewGrid));
        clickTop(3, 3, Qt::RightButton);
        QCOMPARE(g(3, 3), (GameSector{.floorDataIndex = 0,
                                      .boxIndex = 0xFFFF,
                                      .roomBelow = 255,
                                      .floor = levelToByte(127),
                                      .roomAbove = 255,
                                      .ceiling = levelToByte(139)}));
        QCOMPARE(pixel("Image1", 41, 61), int(kViewBackground));
        QCOMPARE(pixel("Image1", 40, 61), int(kViewGrid));  // the grid line stays
        QCOMPARE(services->modifiedCount, 2);
        // A closed cell shows in the side view with its floor raised to the ceiling (level 139:
        // the floor's surface glyph at y = 465, the ceiling's at 449).
        spin("SpinEdit46")->setValue(3);
        clickTop(3, 3);
        QCOMPARE(pixel("Image3", 33 + 5, 465 + 5), kViewBackground ^ glyphs.floor[1].at(5, 5));
        QCOMPARE(pixel("Image3", 33 + 5, 449 + 5), kViewBackground ^ glyphs.ceiling[1].at(5, 5));
    }

    // --- Portals ------------------------------------------------------------------------------

    void portalAddPlaceReplaceRemove() {
        open(6, 10);
        page("TabSheet1");
        spin("SpinEdit51")->setValue(1);  // the room itself
        press("Button1");
        spin("SpinEdit51")->setValue(4);  // past the room count
        press("Button1");
        QCOMPARE(catcher->texts, QStringList(2, QStringLiteral("Invalid Portal View Room number!")));
        QCOMPARE(room().portalCount, 0);
        QVERIFY(listEntries().isEmpty());

        spin("SpinEdit51")->setValue(3);
        press("Button1");
        QCOMPARE(listEntries(), QStringList({"Door #1"}));
        QCOMPARE(w<QListWidget>("ListBox1")->currentRow(), 0);
        QCOMPARE(room().portalCount, 1);
        QCOMPARE(int(room().portals[0].face), 1);
        QCOMPARE(int(room().portals[0].targetRoom), 3);
        QCOMPARE(room().portals[0].row, 1);
        QCOMPARE(room().portals[0].column, 1);

        // Shift + click places the selected portal; Shift + right click does nothing.
        clickTop(5, 4, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(room().portals[0].row, 4);
        QCOMPARE(room().portals[0].column, 5);
        clickTop(7, 2, Qt::RightButton, Qt::ShiftModifier);
        QCOMPARE(room().portals[0].row, 4);
        QCOMPARE(byteToLevel(g(7, 2).floor), 127);
        // Its mark: north wall, width 1: 19 x 20 from (81, 122 - 21 - 60).
        QCOMPARE(pixel("Image1", 81, 41), int(kPortalMark));
        QCOMPARE(pixel("Image1", 99, 60), int(kPortalMark));
        QCOMPARE(pixel("Image1", 100, 41), int(kViewGrid));
        QCOMPARE(pixel("Image1", 81, 61), int(kViewBackground));

        // Replace: a floor portal 2 wide; its position stays.
        press("RadioButton6");
        spin("SpinEdit49")->setValue(2);
        spin("SpinEdit50")->setValue(3);
        spin("SpinEdit51")->setValue(2);
        press("Button5");
        QCOMPARE(room().portalCount, 1);
        QCOMPARE(int(room().portals[0].face), 6);
        QCOMPARE(room().portals[0].width, 2);
        QCOMPARE(room().portals[0].length, 3);
        QCOMPARE(int(room().portals[0].targetRoom), 2);
        QCOMPARE(room().portals[0].row, 4);
        QCOMPARE(pixel("Image1", 119, 100), int(kPortalMark));  // 39 x 60 from (81, 41)

        // Remove, then add again: numbered 1 again.
        press("Button4");
        QCOMPARE(room().portalCount, 0);
        QVERIFY(listEntries().isEmpty());
        QCOMPARE(pixel("Image1", 81, 41), int(kViewBackground));
        press("Button4");  // an empty list: nothing
        QCOMPARE(room().portalCount, 0);
        press("Button1");
        QCOMPARE(listEntries(), QStringList({"Door #1"}));
        QCOMPARE(int(room().portals[0].face), 6);  // the direction stays "Dół"
        QCOMPARE(services->modifiedCount, 5);
    }

    void portalSelectionShowsItsFields() {
        project = cw::test::makeProject(3, 6, 10);
        room().portalCount = 3;
        room().portals[0] = Portal{.face = 6, .targetRoom = 2, .width = 3, .length = 4, .row = 2, .column = 2};
        room().portals[1] = Portal{.face = 3, .targetRoom = 3, .width = 1, .length = 2, .row = 1, .column = 1};
        room().portals[2] = Portal{.face = 2, .targetRoom = 2, .width = 5, .length = 1, .row = 6, .column = 3};
        show();
        selectListEntry(1);
        QVERIFY(w<QRadioButton>("RadioButton6")->isChecked());
        QCOMPARE(spin("SpinEdit51")->value(), 2);
        QCOMPARE(spin("SpinEdit49")->value(), 3);
        QCOMPARE(spin("SpinEdit50")->value(), 4);
        press("Button1");  // the next portal is a floor portal too
        QCOMPARE(int(room().portals[3].face), 6);
        QCOMPARE(listEntries().size(), 4);
        selectListEntry(2);
        QVERIFY(w<QRadioButton>("RadioButton3")->isChecked());
        // Replace portal 2 of 4: the count and its position stay.
        spin("SpinEdit49")->setValue(7);
        press("Button5");
        QCOMPARE(room().portalCount, 4);
        QCOMPARE(room().portals[1].width, 7);
        QCOMPARE(room().portals[1].row, 1);
        QCOMPARE(room().portals[1].column, 1);
        // Removal selects the entry before the removed one.
        press("Button4");
        QCOMPARE(w<QListWidget>("ListBox1")->currentRow(), 2);
        QCOMPARE(room().portalCount, 3);
    }

    void noPortalSelectedChangesNothing() {
        project = cw::test::makeProject(3, 6, 10);
        room().portalCount = 1;
        room().portals[0] = Portal{.face = 1, .targetRoom = 2, .width = 1, .length = 1, .row = 1, .column = 1};
        show();
        page("TabSheet1");
        spin("SpinEdit49")->setValue(9);
        press("Button5");
        clickTop(4, 4, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(room().portals[0].width, 1);
        QCOMPARE(room().portals[0].row, 1);
        QCOMPARE(byteToLevel(g(4, 4).floor), 127);
        QCOMPARE(services->modifiedCount, 0);
    }

    void twentyFirstPortalIsRefused() {
        open();
        page("TabSheet1");
        spin("SpinEdit51")->setValue(2);
        for (int i = 0; i < 20; ++i) press("Button1");
        QCOMPARE(room().portalCount, 20);
        QVERIFY(catcher->texts.isEmpty());
        press("Button1");
        QCOMPARE(catcher->texts, QStringList({QString::fromLatin1(kPortalTableFullMessage)}));
        QCOMPARE(room().portalCount, 20);
        QCOMPARE(listEntries().size(), 20);
        QCOMPARE(listEntries().last(), QStringLiteral("Door #20"));
    }

    // --- Opened from the main window ---------------------------------------------------------

    void openedModallyByTheMainWindowOnTheCurrentRoom() {
        cw::test::EditorFixture f;
        auto* editor = f.form->findChild<TForm3*>();
        QVERIFY(editor != nullptr);
        f.project->roomCount = 2;
        f.project->currentRoom = 2;
        for (int n = 1; n <= 2; ++n) {
            f.project->room(n).name = "Hall " + std::to_string(n);
            f.project->room(n).floorLevel = 127;
            f.project->room(n).ceilingLevel = 139;
            initSectorGrid(f.project->room(n), 5, 4 + n);
        }
        f.form->redrawAll();  // the window shows the project made here
        // Each command opens the editor modally; while it is open a top-view click closes a sector.
        QStringList captions;
        QList<QSize> topViews;
        bool alwaysModal = true;
        const auto whileOpen = [&] {
            // Once the editor is the active modal window (the menu that opened it has closed).
            cw::test::onNextDialog<TForm3>(
                [&](TForm3& shown) {
                    captions << shown.windowTitle();
                    alwaysModal = alwaysModal && &shown == editor && shown.isModal();
                    auto* top = shown.findChild<PictureControl*>(QStringLiteral("Image1"));
                    topViews << top->bitmap()->image.size();
                    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint(30, 50));  // x = 2, z = 3
                    shown.accept();
                },
                editor);
        };
        QVERIFY(!f.form->isModified());
        whileOpen();
        QVERIFY(clickControl(f.widget<QPushButton>("Button3")));  // "EDYCJA"
        QCOMPARE(captions, QStringList({"Editing Hall 2  "}));
        QCOMPARE(topViews, QList<QSize>({QSize(122, 102)}));
        QVERIFY(alwaysModal);
        const GameSector& closed = gameSectorAt(f.project->room(2).grid, 2, 3);
        QCOMPARE(closed.floor, closed.ceiling);
        QVERIFY(f.form->isModified());

        whileOpen();
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Edytujpomieszczenie1"));  // "&Edytuj pomieszczenie"
        QCOMPARE(captions.size(), 2);
        QVERIFY(alwaysModal);
        QVERIFY(!editor->isVisible());
    }

    // --- Screenshots --------------------------------------------------------------------------

    // Saves the three pages as PNG files into $CW_SCREENSHOT_DIR (only when it is set).
    void screenshotsOfThePages() {
        const QByteArray folder = qgetenv("CW_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("CW_SCREENSHOT_DIR not set");
        project = cw::test::makeProject(3, 8, 12);
        show();
        // Slopes along x in row 3, a raised floor with a side link, a ceiling linked above, portals.
        spin("SpinEdit46")->setValue(3);
        const char* slopes[] = {"SpeedButton15", "SpeedButton16", "SpeedButton17", "SpeedButton18", "SpeedButton19",
                                "SpeedButton20", "SpeedButton12", "SpeedButton13", "SpeedButton14", "SpeedButton1"};
        for (int x = 2; x <= 11; ++x) {
            shape(slopes[x - 2]);
            clickFrontBack(x, 28 + x);
            clickFrontBack(x, 44 - x / 2, Qt::RightButton);
        }
        spin("SpinEdit47")->setValue(2);
        shape("SpeedButton1");
        clickFrontBack(6, 33);
        spin("SpinEdit24")->setValue(3);
        clickFrontBack(8, 40, Qt::RightButton);
        spin("SpinEdit24")->setValue(0);
        spin("SpinEdit1")->setValue(5);
        for (int z = 2; z <= 7; ++z) {
            const char* lr[] = {"SpeedButton6", "SpeedButton7", "SpeedButton8", "SpeedButton9", "SpeedButton10", "SpeedButton11"};
            shape(lr[z - 2]);
            clickLeftRight(z, 30 + z);
        }
        clickTop(4, 5);
        clickTop(5, 5);
        spin("SpinEdit51")->setValue(2);
        press("Button1");
        clickTop(2, 8, Qt::LeftButton, Qt::ShiftModifier);
        press("RadioButton6");
        spin("SpinEdit49")->setValue(2);
        spin("SpinEdit50")->setValue(2);
        press("Button1");
        clickTop(8, 4, Qt::LeftButton, Qt::ShiftModifier);
        for (const char* tab : {"TabSheet1", "TabSheet2", "TabSheet3"}) {
            page(tab);
            w<QScrollArea>("ScrollBox3")->verticalScrollBar()->setValue(250);
            QApplication::processEvents();
            const QPixmap shot = form->grab(QRect(0, 0, 640, 440));
            QVERIFY(shot.save(QString::fromLocal8Bit(folder) + "/room_editor_" + tab + ".png"));
        }
    }
};

QTEST_MAIN(RoomEditorTest)
#include "room_editor_test.moc"
