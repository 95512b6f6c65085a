// The plan of rooms: the grid, the rooms combined into it, the current room over it, and the
// plan's points (the room under a point, the position read-out, the raster).
#include "drawing/plan.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace cw {
namespace {

// A room of that size at that place; the plan draws the picture of its size.
void setRoom(EditorRoom& room, int columns, int rows, int posX, int posY) {
    room.grid.numZ = static_cast<std::uint16_t>(rows);
    room.grid.numX = static_cast<std::uint16_t>(columns);
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

TEST(Plan, CreatesTheEmptyGridSharingOnePalette) {
    PlanFixture f;
    EXPECT_EQ(f.plan.planImage.Width, 962u);
    EXPECT_EQ(f.plan.planImage.Height, 962u);
    EXPECT_EQ(f.plan.workingImage.Width, 962u);
    EXPECT_NE(f.plan.planImage.Palette, nullptr);
    EXPECT_EQ(f.plan.workingImage.Palette.get(), f.plan.planImage.Palette.get());
    EXPECT_EQ(int(f.plan.workingImage.at(960, 5)), 253);
    EXPECT_EQ(int(f.plan.workingImage.at(961, 961)), 209);
    EXPECT_EQ(f.plan.workingImage.Pixels, f.plan.planImage.Pixels);
}

// The fixed indices of the combinations, on and off the 10-pixel raster.
TEST(Plan, PixelIndices) {
    struct Case {
        const char* what;
        int x, y, index;
    };
    // Room 1 (not current) at (0, 860) on the raster; room 2 (current) at (205, 505) off it.
    const Case cases[] = {
        {"other room background over plan background", 5, 865, 10},
        {"other room grid over plan grid", 10, 865, 0},
        {"other room last column over plan background", 101, 865, 10},
        {"plan background", 155, 865, 209},
        {"current room background over plan background", 206, 506, 139},
        {"current room background over plan grid", 210, 506, 167},
        {"current room grid over plan background", 215, 506, 253 ^ 209},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanFixture f;
        f.project->roomCount = 2;
        setRoom(f.project->room(1), 10, 10, 0, 860);
        setRoom(f.project->room(2), 5, 5, 205, 505);
        f.select(2);
        redrawPlan(f.plan, *f.project);
        EXPECT_EQ(int(f.plan.workingImage.at(static_cast<std::uint32_t>(c.x), static_cast<std::uint32_t>(c.y))),
                  c.index);
    }
}

TEST(Plan, OtherRoomOffTheRasterGivesTwoOverAGridLine) {
    PlanFixture f;
    f.project->roomCount = 2;
    setRoom(f.project->room(1), 4, 4, 305, 405);
    setRoom(f.project->room(2), 4, 4, 0, 0);
    f.select(2);
    redrawPlan(f.plan, *f.project);
    EXPECT_EQ(int(f.plan.planImage.at(310, 406)), 2);   // background over a plan grid line
    EXPECT_EQ(int(f.plan.planImage.at(306, 406)), 10);  // background over plan background
    // The current room is on the working copy only.
    EXPECT_EQ(int(f.plan.planImage.at(5, 5)), 209);
    EXPECT_EQ(int(f.plan.workingImage.at(5, 5)), 139);
}

TEST(Plan, RedrawCurrentLeavesThePlanImageAndMovesTheCurrentRoom) {
    PlanFixture f;
    f.project->roomCount = 1;
    setRoom(f.project->room(1), 3, 3, 0, 930);
    f.select(1);
    redrawPlan(f.plan, *f.project);
    const auto planBefore = f.plan.planImage.Pixels;
    EXPECT_EQ(int(f.plan.workingImage.at(5, 935)), 139);
    f.project->planX = 100;
    f.project->planY = 500;
    redrawCurrentRoom(f.plan, *f.project);
    EXPECT_EQ(f.plan.planImage.Pixels, planBefore);
    EXPECT_EQ(int(f.plan.workingImage.at(5, 935)), 209);
    EXPECT_EQ(int(f.plan.workingImage.at(105, 505)), 139);
}

TEST(Plan, NothingIsLaidOverAProjectWithoutRooms) {
    PlanFixture f;
    setRoom(f.project->room(1), 3, 3, 0, 0);  // a stale picture in an unused slot
    f.project->planX = 0;
    f.project->planY = 0;
    redrawPlan(f.plan, *f.project);
    EXPECT_EQ(f.plan.workingImage.Pixels, f.plan.planImage.Pixels);
}

TEST(Plan, RoomAtPlanPoint) {
    struct Case {
        const char* what;
        int x, y, room;
    };
    // Room 1: 3 x 3 (32 x 32 pixels) at (100, 100); room 2: 3 x 3 at (132, 132), sharing
    // room 1's far corner.
    const Case cases[] = {
        {"inside room 1", 110, 110, 1},
        {"top-left corner", 100, 100, 1},
        {"far edge included", 132, 110, 1},
        {"shared corner: lower number", 132, 132, 1},
        {"inside room 2", 140, 140, 2},
        {"beyond room 2's far edge", 165, 140, 0},
        {"left of room 1", 99, 110, 0},
        {"empty plan", 500, 500, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanFixture f;
        f.project->roomCount = 2;
        setRoom(f.project->room(1), 3, 3, 100, 100);
        setRoom(f.project->room(2), 3, 3, 132, 132);
        f.select(2);
        EXPECT_EQ(roomAtPlanPoint(*f.project, c.x, c.y), c.room);
    }
}

TEST(Plan, PositionText) {
    struct Case {
        const char* what;
        int x, y, height;
        const char* text;
    };
    const Case cases[] = {
        {"10 x 10 room at (200, 500)", 200, 500, 102, "X=20  Z=36"},
        {"south-west corner", 0, 860, 102, "X=0  Z=0"},
        {"below the plan truncates towards zero", 0, 870, 102, "X=0  Z=0"},
        {"further below", 0, 880, 102, "X=0  Z=-1"},
        {"left of the plan", -10, 860, 102, "X=-1  Z=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(positionText(c.x, c.y, c.height), std::string(c.text));
    }
}

// A room's picture: its grid of 10-pixel cells, lines 253 over background 90, and nothing else.
TEST(Plan, MakesRoomPictures) {
    IndexedImage picture;
    makeRoomPicture(picture, 6, 9);
    EXPECT_EQ(picture.Width, 92u);
    EXPECT_EQ(picture.Height, 62u);
    EXPECT_EQ(picture.at(5, 5), 90);
    EXPECT_EQ(picture.at(10, 5), 253);
    EXPECT_EQ(picture.Palette, nullptr);
    for (auto [rows, columns] : {std::pair{2, 10}, std::pair{10, 33}, std::pair{0, 0}}) {
        EXPECT_THROW(makeRoomPicture(picture, rows, columns), std::invalid_argument) << rows << " x " << columns;
    }
    EXPECT_EQ(picture.Width, 92u);  // a refused size leaves the picture as it was
}

// Rooms of one size show one picture; a room shows the picture of the size it has now.
TEST(Plan, ShowsEachRoomWithThePictureOfItsSize) {
    PlanFixture f;
    setRoom(f.project->room(1), 5, 5, 0, 0);
    setRoom(f.project->room(2), 5, 5, 100, 100);
    const IndexedImage& first = roomPicture(f.plan, f.project->room(1));
    EXPECT_EQ(&roomPicture(f.plan, f.project->room(2)), &first);
    EXPECT_EQ(first.Width, 52u);
    EXPECT_EQ(first.Height, 52u);

    setRoom(f.project->room(2), 5, 11, 100, 100);  // resized
    const IndexedImage& resized = roomPicture(f.plan, f.project->room(2));
    EXPECT_EQ(resized.Width, 52u);
    EXPECT_EQ(resized.Height, 112u);
    EXPECT_EQ(resized.at(5, 111), 90);
    EXPECT_EQ(resized.at(5, 110), 253);

    setRoom(f.project->room(3), 0, 0, 0, 0);  // an empty slot has no picture
    EXPECT_FALSE(IsValidImage(roomPicture(f.plan, f.project->room(3))));
}

// Adding a room lays the room that was current into the plan image the way every room but the
// current one lies there.
TEST(Plan, StampsARoomAsEveryNonCurrentRoom) {
    PlanFixture f;
    setRoom(f.project->room(1), 10, 10, 0, 860);
    stampRoom(f.plan, f.project->room(1));
    const IndexedImage& plan = f.plan.planImage;
    EXPECT_EQ(plan.at(5, 865), (209 ^ 90) & 90);  // room background over plan background: 10
    EXPECT_EQ(plan.at(5, 870), 0);                // a room line on a plan line
    EXPECT_EQ(plan.at(0, 865), 0);
    EXPECT_EQ(plan.at(105, 875), 209);            // past the room's far edge
    EXPECT_EQ(plan.at(5, 855), 209);              // above the room
}

TEST(Plan, SnapsTowardsZero) {
    EXPECT_EQ(snapToRaster(209), 200);
    EXPECT_EQ(snapToRaster(9), 0);
    EXPECT_EQ(snapToRaster(-9), 0);
    EXPECT_EQ(snapToRaster(-15), -10);
}

}  // namespace
}  // namespace cw
