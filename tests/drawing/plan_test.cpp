#include <QtTest>

#include <memory>

#include "raster/draw.h"
#include "ui/plan.h"

using namespace cw;
using namespace cw::ui;

namespace {

// A room picture as the room operations make it: background 90, grid lines 253 every 10 pixels.
void setRoom(EditorRoom& room, int columns, int rows, int posX, int posY) {
    MakeGrid(10, 10, static_cast<std::uint8_t>(rows), static_cast<std::uint8_t>(columns), 253, 90, room.planPicture);
    room.posX = posX;
    room.posY = posY;
}

struct PlanFixture {
    std::unique_ptr<Project> project = std::make_unique<Project>();
    Plan plan;
    PlanFixture() { createPlan(plan, std::make_shared<PaletteBlock>()); }
    void select(int room) {
        project->currentRoom = static_cast<std::uint8_t>(room);
        project->planX = project->current().posX;
        project->planY = project->current().posY;
    }
};

}  // namespace

class PlanTest : public QObject {
    Q_OBJECT
private slots:
    void createsTheEmptyGridSharingOnePalette() {
        PlanFixture f;
        QCOMPARE(f.plan.planImage.Width, 962u);
        QCOMPARE(f.plan.planImage.Height, 962u);
        QCOMPARE(f.plan.workingImage.Width, 962u);
        QVERIFY(f.plan.planImage.Palette != nullptr);
        QCOMPARE(f.plan.workingImage.Palette.get(), f.plan.planImage.Palette.get());
        QCOMPARE(int(f.plan.workingImage.at(960, 5)), 253);
        QCOMPARE(int(f.plan.workingImage.at(961, 961)), 209);
        QCOMPARE(f.plan.workingImage.Pixels, f.plan.planImage.Pixels);
    }

    // The fixed indices of the combinations, on and off the 10-pixel raster.
    void pixelIndices_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("index");
        // Room 1 (not current) at (0, 860) on the raster; room 2 (current) at (205, 505) off it.
        QTest::newRow("other room background over plan background") << 5 << 865 << 10;
        QTest::newRow("other room grid over plan grid") << 10 << 865 << 0;
        QTest::newRow("other room last column over plan background") << 101 << 865 << 10;
        QTest::newRow("plan background") << 155 << 865 << 209;
        QTest::newRow("current room background over plan background") << 206 << 506 << 139;
        QTest::newRow("current room background over plan grid") << 210 << 506 << 167;
        QTest::newRow("current room grid over plan background") << 215 << 506 << (253 ^ 209);
    }
    void pixelIndices() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, index);
        PlanFixture f;
        f.project->roomCount = 2;
        setRoom(f.project->room(1), 10, 10, 0, 860);
        setRoom(f.project->room(2), 5, 5, 205, 505);
        f.select(2);
        redrawPlan(f.plan, *f.project);
        QCOMPARE(int(f.plan.workingImage.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))), index);
    }

    void otherRoomOffTheRasterGivesTwoOverAGridLine() {
        PlanFixture f;
        f.project->roomCount = 2;
        setRoom(f.project->room(1), 4, 4, 305, 405);
        setRoom(f.project->room(2), 4, 4, 0, 0);
        f.select(2);
        redrawPlan(f.plan, *f.project);
        QCOMPARE(int(f.plan.planImage.at(310, 406)), 2);   // background over a plan grid line
        QCOMPARE(int(f.plan.planImage.at(306, 406)), 10);  // background over plan background
        // The current room is on the working copy only.
        QCOMPARE(int(f.plan.planImage.at(5, 5)), 209);
        QCOMPARE(int(f.plan.workingImage.at(5, 5)), 139);
    }

    void redrawCurrentLeavesThePlanImageAndMovesTheCurrentRoom() {
        PlanFixture f;
        f.project->roomCount = 1;
        setRoom(f.project->room(1), 3, 3, 0, 930);
        f.select(1);
        redrawPlan(f.plan, *f.project);
        const auto planBefore = f.plan.planImage.Pixels;
        QCOMPARE(int(f.plan.workingImage.at(5, 935)), 139);
        f.project->planX = 100;
        f.project->planY = 500;
        redrawCurrentRoom(f.plan, *f.project);
        QCOMPARE(f.plan.planImage.Pixels, planBefore);
        QCOMPARE(int(f.plan.workingImage.at(5, 935)), 209);
        QCOMPARE(int(f.plan.workingImage.at(105, 505)), 139);
    }

    void nothingIsLaidOverAProjectWithoutRooms() {
        PlanFixture f;
        setRoom(f.project->room(1), 3, 3, 0, 0);  // a stale picture in an unused slot
        f.project->planX = 0;
        f.project->planY = 0;
        redrawPlan(f.plan, *f.project);
        QCOMPARE(f.plan.workingImage.Pixels, f.plan.planImage.Pixels);
    }

    void roomAtPlanPoint_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("room");
        // Room 1: 3 x 3 (32 x 32 pixels) at (100, 100); room 2: 3 x 3 at (132, 132), sharing
        // room 1's far corner.
        QTest::newRow("inside room 1") << 110 << 110 << 1;
        QTest::newRow("top-left corner") << 100 << 100 << 1;
        QTest::newRow("far edge included") << 132 << 110 << 1;
        QTest::newRow("shared corner: lower number") << 132 << 132 << 1;
        QTest::newRow("inside room 2") << 140 << 140 << 2;
        QTest::newRow("beyond room 2's far edge") << 165 << 140 << 0;
        QTest::newRow("left of room 1") << 99 << 110 << 0;
        QTest::newRow("empty plan") << 500 << 500 << 0;
    }
    void roomAtPlanPoint() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, room);
        PlanFixture f;
        f.project->roomCount = 2;
        setRoom(f.project->room(1), 3, 3, 100, 100);
        setRoom(f.project->room(2), 3, 3, 132, 132);
        f.select(2);
        QCOMPARE(cw::ui::roomAtPlanPoint(*f.project, x, y), room);
    }

    void positionTextAndSnapping_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 x 10 room at (200, 500)") << 200 << 500 << 102 << "X=20  Z=36";
        QTest::newRow("south-west corner") << 0 << 860 << 102 << "X=0  Z=0";
        QTest::newRow("below the plan truncates towards zero") << 0 << 870 << 102 << "X=0  Z=0";
        QTest::newRow("further below") << 0 << 880 << 102 << "X=0  Z=-1";
        QTest::newRow("left of the plan") << -10 << 860 << 102 << "X=-1  Z=0";
    }
    void positionTextAndSnapping() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, height);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(positionText(x, y, height)), text);
    }

    void snapsTowardsZero() {
        QCOMPARE(snapToRaster(209), 200);
        QCOMPARE(snapToRaster(9), 0);
        QCOMPARE(snapToRaster(-9), 0);
        QCOMPARE(snapToRaster(-15), -10);
    }
};

QTEST_GUILESS_MAIN(PlanTest)
#include "plan_test.moc"
