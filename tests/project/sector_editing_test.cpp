#include "project/sector_editing.h"

#include <gtest/gtest.h>

#include <memory>

using namespace cw;

namespace {

// A project of three rooms; room 1 (current) is numZ x numX with floor 127, ceiling 139.
struct Fixture {
    std::unique_ptr<Project> project = std::make_unique<Project>();
    EditorRoom& room;
    explicit Fixture(int rows = 6, int columns = 10) : room(project->room(1)) {
        project->roomCount = 3;
        project->currentRoom = 1;
        room.floorLevel = 127;
        room.ceilingLevel = 139;
        room.roomLight = 16;
        room.defaultFloorTextures = {1, 2, 3, 4, 5};
        room.defaultCeilingTextures = {6, 7, 8, 9, 10};
        initSectorGrid(room, rows, columns);
    }
    GameSector& g(int x, int z) { return gameSectorAt(room.grid, x, z); }
    Sector& s(int x, int z) { return sectorAt(room, x, z); }
};

SideFields someFields() {
    SideFields f;
    f.floor = {{11, 12, 13, 14, 15}, {1, 2, 3, 4, 5}};
    f.ceiling = {{21, 22, 23, 24, 25}, {6, 7, 8, 9, 10}};
    return f;
}

SideEdit frontBackClick(int x, int cell, int row, int shape = 1) {
    SideEdit e;
    e.view = SideView::FrontBack;
    e.index = x;
    e.cell = cell;
    e.line = row;
    e.shape = shape;
    e.fields = someFields();
    return e;
}

bool sameSector(const Sector& a, const Sector& b) {
    return a.floorShape == b.floorShape && a.ceilingShape == b.ceilingShape && a.floorSlopeKind == b.floorSlopeKind &&
           a.ceilingSlopeKind == b.ceilingSlopeKind && a.floorTextures == b.floorTextures &&
           a.floorLights == b.floorLights && a.ceilingTextures == b.ceilingTextures &&
           a.ceilingLights == b.ceilingLights && a.linkMode == b.linkMode;
}

// Every sector record of the room, game and editor, equal to the copy.
void expectRoomUnchanged(const EditorRoom& before, const EditorRoom& after) {
    EXPECT_EQ(before.grid.numZ, after.grid.numZ);
    EXPECT_EQ(before.grid.numX, after.grid.numX);
    for (std::size_t i = 0; i < before.sectors.size(); ++i) {
        ASSERT_EQ(before.grid.gameSectors[i], after.grid.gameSectors[i]) << "game sector " << i;
        ASSERT_TRUE(sameSector(before.sectors[i], after.sectors[i])) << "sector " << i;
    }
}

}  // namespace

TEST(SideViewGeometry, IndexCellAndReadout) {
    // A 10-column front/back view (162 wide) draws column x at 16 (x - 1) + 1 .. 16 x; a 6-column
    // left/right view (98 wide) column z at 16 (6 - z) .. 16 (6 - z) + 15; view cell v stands in
    // the rows 1025 - 16 v .. 1040 - 16 v. Each pixel acts on the cell drawn on it.
    EXPECT_EQ(sideViewIndex(SideView::FrontBack, 37, 162), 3);
    EXPECT_EQ(sideViewIndex(SideView::FrontBack, 33, 162), 3);   // first pixel of x = 3
    EXPECT_EQ(sideViewIndex(SideView::FrontBack, 48, 162), 3);   // its last
    EXPECT_EQ(sideViewIndex(SideView::FrontBack, 49, 162), 4);
    EXPECT_EQ(sideViewIndex(SideView::FrontBack, 0, 162), 0);    // the grid line before x = 1
    EXPECT_EQ(sideViewIndex(SideView::FrontBack, 161, 162), 11); // the outer pixel
    EXPECT_EQ(sideViewIndex(SideView::LeftRight, 0, 98), 6);     // north end: z = 6 from pixel 0
    EXPECT_EQ(sideViewIndex(SideView::LeftRight, 15, 98), 6);
    EXPECT_EQ(sideViewIndex(SideView::LeftRight, 16, 98), 5);
    EXPECT_EQ(sideViewIndex(SideView::LeftRight, 95, 98), 1);
    EXPECT_EQ(sideViewIndex(SideView::LeftRight, 96, 98), 0);    // the outer 2 pixels
    EXPECT_EQ(sideViewIndex(SideView::LeftRight, 97, 98), 0);
    EXPECT_EQ(sideViewCell(1024, 1026), 1);
    EXPECT_EQ(sideViewCell(1009, 1026), 1);
    EXPECT_EQ(sideViewCell(1008, 1026), 2);
    EXPECT_EQ(sideViewCell(1025, 1026), 0);  // the outer bottom row
    EXPECT_EQ(sideViewCell(1, 1026), 64);
    EXPECT_EQ(sideViewCell(0, 1026), 65);
    EXPECT_EQ(sideViewCell(505, 1026), 33);
    EXPECT_EQ(sideViewReadout(SideView::FrontBack, 3, 33), "X:3 Y:131");
    EXPECT_EQ(sideViewReadout(SideView::LeftRight, 12, 1), "Z:12 Y:3");
}

struct LevelCase {
    int cell, shape, floor, ceiling;
};

TEST(SideViewGeometry, LevelsOfACellHeldInRange) {
    const ShapeTable& shapes = standardShapeTable();
    for (const LevelCase c : {LevelCase{1, 1, 3, 0}, LevelCase{1, 4, 0, 2}, LevelCase{64, 1, 255, 251},
                              LevelCase{33, 2, 130, 128}, LevelCase{65, 1, 255, 255}, LevelCase{65, 4, 255, 255},
                              LevelCase{1, 6, 3, 0}}) {
        SCOPED_TRACE(c.cell * 100 + c.shape);
        EXPECT_EQ(floorLevelForCell(c.cell, shapes[c.shape].thickness), c.floor);
        EXPECT_EQ(ceilingLevelForCell(c.cell, shapes[c.shape].thickness), c.ceiling);
    }
}

TEST(FloorEdit, WritesHeightShapeLinksAndFaces) {
    Fixture f;
    f.g(4, 3).floorDataIndex = 77;
    f.g(4, 3).boxIndex = 12;
    SideEdit e = frontBackClick(4, 1, 3, 4);  // shape 4 in the bottom cell: level 0
    e.fields.links = {.above = 2, .beside = 0, .below = 3, .mode = 1};
    ASSERT_EQ(editFloor(f.room, e), 1);
    const GameSector& g = f.g(4, 3);
    EXPECT_EQ(g.floor, 127);
    EXPECT_EQ(g.ceiling, -12);  // untouched
    EXPECT_EQ(g.boxIndex, 0xFFFF);
    EXPECT_EQ(g.floorDataIndex, 0);
    EXPECT_EQ(g.roomAbove, 1);
    EXPECT_EQ(g.roomBelow, 2);
    const Sector& s = f.s(4, 3);
    EXPECT_EQ(s.floorShape, 4);
    EXPECT_EQ(s.floorSlopeKind, 0);
    EXPECT_EQ(s.linkMode, 1);
    EXPECT_EQ(s.floorTexture(Face::Front), 10);
    EXPECT_EQ(s.floorTexture(Face::Surface), 14);
    EXPECT_EQ(s.floorTextures[2], 14);  // the surface stands third among the stored textures
    EXPECT_EQ(s.floorLight(Face::Right), 4);
    EXPECT_EQ(s.floorLight(Face::Surface), 5);
    EXPECT_EQ(s.ceilingTexture(Face::Front), 6);  // the ceiling keeps the room's defaults
    // Only the clicked sector of the row changed.
    EXPECT_EQ(f.g(5, 3).floor, 0);
    EXPECT_EQ(f.g(4, 4).floor, 0);
}

TEST(FloorEdit, EachShapeOfEachView) {
    const ShapeTable& shapes = standardShapeTable();
    for (SideView view : {SideView::FrontBack, SideView::LeftRight}) {
        const std::vector<int> offered = view == SideView::FrontBack ? std::vector<int>{1, 2, 3, 4, 11, 12, 13, 14, 15, 16}
                                                                      : std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        for (int shape : offered) {
            SCOPED_TRACE(shape);
            Fixture f;
            SideEdit e = frontBackClick(3, 30, 2, shape);
            e.view = view;
            ASSERT_EQ(editFloor(f.room, e), 1);
            const SectorPos p = sideViewSector(view, 2, 3);
            EXPECT_EQ(byteToLevel(f.g(p.x, p.z).floor), 4 * 30 - 1 - (4 - shapes[shape].thickness));
            EXPECT_EQ(f.s(p.x, p.z).floorShape, shape);
            EXPECT_EQ(f.s(p.x, p.z).floorSlopeKind, shapes[shape].slopeKind);
            EXPECT_EQ(f.g(p.x, p.z).floorDataIndex, standardFloorDataIndexTable()[shapes[shape].slopeKind][0]);
            Fixture c;
            ASSERT_EQ(editCeiling(c.room, e), 1);
            EXPECT_EQ(byteToLevel(c.g(p.x, p.z).ceiling), 4 * 30 - 1 - shapes[shape].thickness);
            EXPECT_EQ(c.s(p.x, p.z).ceilingShape, shape);
            EXPECT_EQ(c.s(p.x, p.z).ceilingSlopeKind, shapes[shape].slopeKind);
        }
    }
}

TEST(FloorEdit, FloorDataIndexOfBothSlopeKinds) {
    Fixture f;
    // Flat floor over a flat ceiling: 0.
    editFloor(f.room, frontBackClick(2, 10, 2, 1));
    EXPECT_EQ(f.g(2, 2).floorDataIndex, 0);
    // Floor shape 6 (kind 1) under a flat ceiling: 1. (Shape 6 is a left/right shape.)
    SideEdit lr = frontBackClick(2, 10, 2, 6);
    lr.view = SideView::LeftRight;  // column 2, z = 2
    editFloor(f.room, lr);
    EXPECT_EQ(f.g(2, 2).floorDataIndex, 1);
    // A flat floor under ceiling shape 16 (kind 8): 31.
    Fixture c;
    editCeiling(c.room, frontBackClick(3, 50, 2, 16));
    editFloor(c.room, frontBackClick(3, 10, 2, 1));
    EXPECT_EQ(c.g(3, 2).floorDataIndex, 31);
    // Floor kind 8 with ceiling kind 8: 285.
    editFloor(c.room, frontBackClick(3, 10, 2, 16));
    EXPECT_EQ(c.g(3, 2).floorDataIndex, 285);
    // A damaged ceiling slope kind counts as flat.
    c.s(3, 2).ceilingSlopeKind = 200;
    editFloor(c.room, frontBackClick(3, 10, 2, 16));
    EXPECT_EQ(c.g(3, 2).floorDataIndex, 15);
}

TEST(FloorEdit, RangeIsCappedAtTheRoomEdge) {
    Fixture f(6, 10);
    SideEdit e = frontBackClick(3, 20, 9);
    e.view = SideView::LeftRight;  // columns 9.. at z = 3
    e.lineCount = 5;
    const EditorRoom before = f.room;
    EXPECT_EQ(editFloor(f.room, e), 2);
    EXPECT_EQ(byteToLevel(f.g(9, 3).floor), 79);
    EXPECT_EQ(byteToLevel(f.g(10, 3).floor), 79);
    EXPECT_EQ(f.g(8, 3), before.grid.gameSectors[sectorNumber(6, 8, 3) - 1]);
    // Past the edge lies the next column's first sectors: untouched.
    EXPECT_EQ(f.room.grid.gameSectors[60], before.grid.gameSectors[60]);
    // A range that starts past the edge edits nothing.
    e.line = 11;
    EXPECT_EQ(editFloor(f.room, e), 0);
}

TEST(FloorEdit, PushesTheCeilingAndCeilingEditPushesTheFloor) {
    Fixture f;
    // Floor to level 179 (cell 45, shape 1) above the ceiling 139: ceiling 4 clicks above.
    editFloor(f.room, frontBackClick(2, 45, 2));
    EXPECT_EQ(byteToLevel(f.g(2, 2).floor), 179);
    EXPECT_EQ(byteToLevel(f.g(2, 2).ceiling), 183);
    // Ceiling to level 23 (cell 7, thickness 4... shape 1) below the floor 127: floor 4 below it.
    editCeiling(f.room, frontBackClick(3, 7, 2));
    EXPECT_EQ(byteToLevel(f.g(3, 2).ceiling), 23);
    EXPECT_EQ(byteToLevel(f.g(3, 2).floor), 19);
    // A floor equal to the ceiling is accepted: floor to 139 under the ceiling at 139.
    editFloor(f.room, frontBackClick(4, 35, 2));
    EXPECT_EQ(byteToLevel(f.g(4, 2).floor), 139);
    EXPECT_EQ(byteToLevel(f.g(4, 2).ceiling), 139);
}

TEST(FloorEdit, AdjustmentsAreHeldInsideTheLevelRange) {
    Fixture f;
    editFloor(f.room, frontBackClick(2, 64, 2));  // level 255 above the ceiling: ceiling at 255
    EXPECT_EQ(f.g(2, 2).floor, -128);
    EXPECT_EQ(f.g(2, 2).ceiling, -128);
    editCeiling(f.room, frontBackClick(3, 1, 2));  // level 0 below the floor: floor at 0
    EXPECT_EQ(f.g(3, 2).ceiling, 127);
    EXPECT_EQ(f.g(3, 2).floor, 127);
}

TEST(FloorEdit, CtrlWritesOnlyTheFaces) {
    Fixture f;
    SideEdit e = frontBackClick(4, 50, 2, 12);
    e.facesOnly = true;
    e.lineCount = 2;
    e.fields.links = {.above = 2, .beside = 0, .below = 0, .mode = 1};
    const EditorRoom before = f.room;
    EXPECT_EQ(editFloor(f.room, e), 2);
    for (int z : {2, 3}) {
        SCOPED_TRACE(z);
        EXPECT_EQ(f.g(4, z), before.grid.gameSectors[sectorNumber(6, 4, z) - 1]);
        EXPECT_EQ(f.s(4, z).floorShape, 1);
        EXPECT_EQ(f.s(4, z).linkMode, 0);
        EXPECT_EQ(f.s(4, z).floorTexture(Face::Back), 11);
        EXPECT_EQ(f.s(4, z).floorLight(Face::Back), 2);
    }
    EXPECT_EQ(editCeiling(f.room, e), 2);
    EXPECT_EQ(f.g(4, 2), before.grid.gameSectors[sectorNumber(6, 4, 2) - 1]);
    EXPECT_EQ(f.s(4, 2).ceilingShape, 1);
    EXPECT_EQ(f.s(4, 2).ceilingTexture(Face::Left), 22);
    EXPECT_EQ(f.s(4, 2).ceilingLight(Face::Surface), 10);
}

TEST(FloorEdit, SideLinkIsStoredInRoomAbove) {
    Fixture f;
    SideEdit e = frontBackClick(2, 30, 2);
    e.fields.links = {.above = 0, .beside = 3, .below = 0, .mode = 2};
    editFloor(f.room, e);
    EXPECT_EQ(f.g(2, 2).roomAbove, 2);
    EXPECT_EQ(f.g(2, 2).roomBelow, 255);
    EXPECT_EQ(f.s(2, 2).linkMode, 2);
    e.fields.links = {.above = 0, .beside = 0, .below = 0, .mode = 1};
    editCeiling(f.room, e);
    EXPECT_EQ(f.g(2, 2).roomAbove, 255);
    EXPECT_EQ(f.g(2, 2).roomBelow, 255);
    EXPECT_EQ(f.s(2, 2).linkMode, 1);
}

TEST(FloorEdit, ZeroTextureIsStoredAsNoFaceAndLightsHeldAt255) {
    Fixture f;
    SideEdit e = frontBackClick(2, 30, 2);
    e.fields.floor.textures = {0, 1, 0, 1, 0};
    e.fields.floor.lights = {300, 255, -5, 32, 0};
    editFloor(f.room, e);
    EXPECT_EQ(f.s(2, 2).floorTexture(Face::Front), -1);
    EXPECT_EQ(f.s(2, 2).floorTexture(Face::Back), 0);
    EXPECT_EQ(f.s(2, 2).floorLight(Face::Front), 255);
    EXPECT_EQ(f.s(2, 2).floorLight(Face::Left), 0);
    const auto picked = pickUpSector(f.room, SideView::FrontBack, 2, 2);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->floor.textures, (std::array<int, 5>{0, 1, 0, 1, 0}));
}

TEST(FloorEdit, ClicksOutsideTheGridEditNothing) {
    struct Case {
        SideView view;
        int index, cell, line, count;
        bool sectorExists;  // the pick-up's sector (line, index) lies in the grid
    };
    for (const Case c : {Case{SideView::FrontBack, 11, 20, 2, 1, false}, Case{SideView::FrontBack, 0, 20, 2, 1, false},
                         Case{SideView::FrontBack, 3, 65, 2, 1, true}, Case{SideView::FrontBack, 3, 0, 2, 1, true},
                         Case{SideView::FrontBack, 3, 20, 0, 1, false}, Case{SideView::FrontBack, 3, 20, -40, 3, false},
                         Case{SideView::LeftRight, 7, 20, 2, 1, false}, Case{SideView::LeftRight, 3, 20, 11, 1, false},
                         Case{SideView::FrontBack, 3, 20, 7, 1, false}, Case{SideView::FrontBack, 3, 20, 2, 0, true}}) {
        SCOPED_TRACE(c.index * 1000 + c.cell * 10 + c.line);
        Fixture f;
        SideEdit e = frontBackClick(c.index, c.cell, c.line);
        e.view = c.view;
        e.lineCount = c.count;
        const EditorRoom before = f.room;
        EXPECT_EQ(editFloor(f.room, e), 0);
        EXPECT_EQ(editCeiling(f.room, e), 0);
        expectRoomUnchanged(before, f.room);
        EXPECT_EQ(pickUpSector(f.room, c.view, c.line, c.index).has_value(), c.sectorExists);
    }
}

TEST(FloorEdit, LineBelowOneEditsOnlyTheLinesInside) {
    Fixture f;
    SideEdit e = frontBackClick(3, 20, -1);
    e.lineCount = 4;  // lines -1..2: only rows 1 and 2 exist
    EXPECT_EQ(editFloor(f.room, e), 2);
    EXPECT_EQ(byteToLevel(f.g(3, 1).floor), 79);
    EXPECT_EQ(byteToLevel(f.g(3, 2).floor), 79);
    EXPECT_EQ(byteToLevel(f.g(3, 3).floor), 127);
}

TEST(LinkFields, CheckRefusesTheCurrentRoomAndRoomsPastTheCount) {
    Fixture f;
    f.project->currentRoom = 2;
    EXPECT_EQ(linkCheckMessage(*f.project, {0, 0, 0, 1}), std::nullopt);
    EXPECT_EQ(linkCheckMessage(*f.project, {1, 3, 1, 1}), std::nullopt);
    EXPECT_EQ(linkCheckMessage(*f.project, {2, 0, 0, 1}), "Invalid Room above number!");
    EXPECT_EQ(linkCheckMessage(*f.project, {0, 4, 0, 2}), "Invalid Room side number!");
    EXPECT_EQ(linkCheckMessage(*f.project, {0, 0, 254, 1}), "Invalid Room below number!");
    EXPECT_EQ(linkCheckMessage(*f.project, {4, 2, 2, 1}), "Invalid Room above number!");  // the first that fails
    EXPECT_EQ(linkCheckMessage(*f.project, {1, 2, 9, 1}), "Invalid Room side number!");
}

TEST(LinkFields, ChangesKeepOneKindOfLink) {
    LinkFields l{.above = 2, .beside = 0, .below = 3, .mode = 1};
    l.beside = 3;
    besideFieldChanged(l);
    EXPECT_EQ(l, (LinkFields{.above = 0, .beside = 3, .below = 0, .mode = 2}));
    l.beside = 0;
    besideFieldChanged(l);
    EXPECT_EQ(l, (LinkFields{.above = 0, .beside = 0, .below = 0, .mode = 1}));
    l = {.above = 0, .beside = 3, .below = 0, .mode = 2};
    l.below = 2;
    aboveOrBelowFieldChanged(l);
    EXPECT_EQ(l, (LinkFields{.above = 0, .beside = 0, .below = 2, .mode = 1}));
}

TEST(PickUp, RoundTripOfEverythingAFloorAndCeilingEditWrites) {
    for (const LinkFields links : {LinkFields{.above = 2, .beside = 0, .below = 3, .mode = 1},
                                   LinkFields{.above = 0, .beside = 3, .below = 0, .mode = 2},
                                   LinkFields{.above = 0, .beside = 0, .below = 0, .mode = 1},
                                   LinkFields{.above = 0, .beside = 0, .below = 2, .mode = 1}}) {
        Fixture f;
        SideEdit e = frontBackClick(5, 30, 4, 13);
        e.fields.links = links;
        editFloor(f.room, e);
        editCeiling(f.room, e);
        const EditorRoom before = f.room;
        const auto picked = pickUpSector(f.room, SideView::FrontBack, 4, 5);
        ASSERT_TRUE(picked);
        EXPECT_EQ(*picked, e.fields);
        // The left/right view reads the same sector as column 5, index z = 4.
        EXPECT_EQ(pickUpSector(f.room, SideView::LeftRight, 5, 4), picked);
        expectRoomUnchanged(before, f.room);
    }
}

TEST(PickUp, NewSectorReadsNoLinksInModeOne) {
    Fixture f;
    const auto picked = pickUpSector(f.room, SideView::FrontBack, 2, 2);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->links, (LinkFields{.above = 0, .beside = 0, .below = 0, .mode = 1}));
    EXPECT_EQ(picked->floor.textures, (std::array<int, 5>{2, 3, 4, 5, 6}));
    EXPECT_EQ(picked->ceiling.lights, (std::array<int, 5>{16, 16, 16, 16, 16}));
}
