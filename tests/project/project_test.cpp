// The project records, the constant tables and the sector helpers.
#include "project/project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace cw {
namespace {

std::unique_ptr<Project> emptyProject() { return std::make_unique<Project>(); }

// A room with the defaults the room properties dialog starts with.
void setDefaults(EditorRoom& room) {
    room.floorLevel = 127;
    room.ceilingLevel = 139;
    room.roomLight = 16;
    room.defaultFloorTextures = {10, 11, 12, 13, 14};    // front, back, left, right, surface
    room.defaultCeilingTextures = {20, 21, 22, 23, 24};  // front, back, left, right, surface
}

TEST(ShapeTable, HoldsTheSixteenShapes) {
    ShapeTable t;
    buildShapeTable(t);
    EXPECT_EQ(t.count, 16);
    struct Row {
        int entry;
        int thickness;
        std::array<std::int32_t, 8> heights;
        int slopeKind;
    };
    const Row rows[] = {
        {1, 4, {1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024}, 0},
        {4, 1, {256, 256, 256, 256, 256, 256, 256, 256}, 0},
        {5, 2, {512, 512, 0, 0, 0, 512, 512, 0}, 1},
        {8, 2, {0, 0, 512, 512, 512, 0, 0, 512}, 2},
        {10, 4, {0, 0, 1024, 1024, 1024, 0, 0, 1024}, 4},
        {11, 2, {0, 512, 512, 0, 0, 0, 512, 512}, 5},
        {14, 2, {512, 0, 0, 512, 512, 512, 0, 0}, 6},
        {16, 4, {1024, 0, 0, 1024, 1024, 1024, 0, 0}, 8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        EXPECT_EQ(t[r.entry].thickness, r.thickness);
        EXPECT_EQ(t[r.entry].edgeHeights, r.heights);
        EXPECT_EQ(t[r.entry].slopeKind, r.slopeKind);
    }
    // Every entry's thickness is its highest corner in clicks.
    for (int e = 1; e <= 16; ++e) {
        std::int32_t highest = 0;
        for (std::int32_t h : t[e].edgeHeights) highest = std::max(highest, h);
        EXPECT_EQ(t[e].thickness * 256, highest) << "entry " << e;
    }
    EXPECT_EQ(standardShapeTable()[12].slopeKind, 5);
}

TEST(FloorDataIndexTable, GivesTheWordPositions) {
    FloorDataIndexTable t{};
    buildFloorDataIndexTable(t);
    struct Case {
        int m, n, value;
    };
    for (Case c : {Case{0, 0, 0}, Case{1, 0, 1}, Case{3, 0, 5}, Case{8, 0, 15}, Case{0, 1, 17}, Case{0, 2, 19},
                   Case{0, 8, 31}, Case{1, 1, 33}, Case{2, 5, 81}, Case{8, 8, 285}}) {
        EXPECT_EQ(t[c.m][c.n], c.value) << c.m << "," << c.n;
    }
    EXPECT_EQ(standardFloorDataIndexTable(), t);
}

TEST(PlanToWorld, FollowsThePlanPosition) {
    EXPECT_EQ(roomWorldOrigin(0, 860, 102).x, 0);
    EXPECT_EQ(roomWorldOrigin(0, 860, 102).z, 0);
    EXPECT_EQ(roomWorldOrigin(200, 500, 102).x, 20 * 1024);
    EXPECT_EQ(roomWorldOrigin(200, 500, 102).z, 36 * 1024);
    // The division truncates towards zero: (970 - 870 - 102) / 10 = -2 / 10 = 0.
    EXPECT_EQ(roomWorldOrigin(10, 870, 102).z, 0);
    EXPECT_EQ(roomWorldOrigin(10, 890, 102).z, -2 * 1024);
}

TEST(SectorRecord, KeepsTheSurfaceThirdAmongTexturesAndLastAmongLights) {
    Sector s;
    s.floorTexture(Face::Surface) = 5;
    s.floorTexture(Face::Left) = 6;
    s.ceilingTexture(Face::Right) = 7;
    s.floorLight(Face::Surface) = 8;
    EXPECT_EQ(s.floorTextures[2], 5);
    EXPECT_EQ(s.floorTextures[3], 6);
    EXPECT_EQ(s.ceilingTextures[4], 7);
    EXPECT_EQ(s.floorLights[4], 8);
}

TEST(InitSectorGrid, MakesOpenInnerSectorsAndAWallRing) {
    auto p = emptyProject();
    EditorRoom& room = p->room(1);
    setDefaults(room);
    room.portalCount = 2;
    room.portals[1].targetRoom = 3;
    initSectorGrid(room, 10, 10);

    EXPECT_EQ(room.numZ(), 10);
    EXPECT_EQ(room.numX(), 10);
    for (int x = 1; x <= 10; ++x) {
        for (int z = 1; z <= 10; ++z) {
            SCOPED_TRACE(testing::Message() << x << "," << z);
            const GameSector& g = gameSectorAt(room.grid, x, z);
            bool border = x == 1 || z == 1 || x == 10 || z == 10;
            EXPECT_EQ(g.floor, border ? -12 : 0);
            EXPECT_EQ(g.ceiling, -12);
            EXPECT_EQ(g.floorDataIndex, 0);
            EXPECT_EQ(g.boxIndex, 0xFFFF);
            EXPECT_EQ(g.roomBelow, 255);
            EXPECT_EQ(g.roomAbove, 255);
            const Sector& s = sectorAt(room, x, z);
            EXPECT_EQ(s.floorShape, 1);
            EXPECT_EQ(s.ceilingShape, 1);
            EXPECT_EQ(s.floorTexture(Face::Front), 10);
            EXPECT_EQ(s.floorTexture(Face::Left), 12);
            EXPECT_EQ(s.floorTexture(Face::Surface), 14);
            EXPECT_EQ(s.ceilingTexture(Face::Right), 23);
            EXPECT_EQ(s.ceilingTexture(Face::Surface), 24);
            for (Face f : kAllFaces) {
                EXPECT_EQ(s.floorLight(f), 16);
                EXPECT_EQ(s.ceilingLight(f), 16);
            }
        }
    }
    // Sectors past the grid are not touched, nor are the portals.
    EXPECT_EQ(room.grid.gameSectors[100], GameSector{});
    EXPECT_EQ(room.sectors[100].floorShape, 0);
    EXPECT_EQ(room.portalCount, 2);
    EXPECT_EQ(room.portals[1].targetRoom, 3);
}

TEST(InitSectorGrid, LeavesOneInnerSectorInAThreeByThreeRoom) {
    auto p = emptyProject();
    EditorRoom& room = p->room(1);
    setDefaults(room);
    initSectorGrid(room, 3, 3);
    int open = 0;
    for (int k = 0; k < 9; ++k) open += room.grid.gameSectors[k].floor != room.grid.gameSectors[k].ceiling;
    EXPECT_EQ(open, 1);
    EXPECT_NE(gameSectorAt(room.grid, 2, 2).floor, gameSectorAt(room.grid, 2, 2).ceiling);
}

TEST(InitSectorGrid, ResetsShapesSlopesAndLinksButKeepsSpareBytes) {
    auto p = emptyProject();
    EditorRoom& room = p->room(1);
    setDefaults(room);
    initSectorGrid(room, 10, 10);
    Sector& s = sectorAt(room, 4, 4);
    s.floorShape = 6;
    s.floorSlopeKind = 1;
    s.ceilingShape = 16;
    s.ceilingSlopeKind = 8;
    s.linkMode = 2;
    s.spare1[0] = 0xAB;
    s.spare2[39] = 0xCD;
    gameSectorAt(room.grid, 4, 4).roomAbove = 3;

    initSectorGrid(room, 11, 10);  // a resize
    const Sector& same = room.sectors[33];  // the record sector (4, 4) used
    EXPECT_EQ(same.floorShape, 1);
    EXPECT_EQ(same.floorSlopeKind, 0);
    EXPECT_EQ(same.ceilingShape, 1);
    EXPECT_EQ(same.ceilingSlopeKind, 0);
    EXPECT_EQ(same.linkMode, 0);
    EXPECT_EQ(same.spare1[0], 0xAB);
    EXPECT_EQ(same.spare2[39], 0xCD);
    EXPECT_EQ(room.grid.gameSectors[33].roomAbove, 255);
}

TEST(InitSectorGrid, RefusesSizesOutsideThreeToThirtyTwo) {
    auto p = emptyProject();
    EditorRoom& room = p->room(1);
    setDefaults(room);
    initSectorGrid(room, 4, 4);
    for (auto [rows, columns] : {std::pair{2, 10}, std::pair{10, 2}, std::pair{33, 10}, std::pair{10, 33},
                                 std::pair{0, 0}, std::pair{-1, 5}}) {
        EXPECT_THROW(initSectorGrid(room, rows, columns), std::invalid_argument) << rows << " x " << columns;
        EXPECT_EQ(room.numZ(), 4);
        EXPECT_EQ(room.numX(), 4);
        EXPECT_EQ(room.grid.gameSectors[20], GameSector{});
    }
    initSectorGrid(room, 32, 32);
    EXPECT_EQ(gameSectorAt(room.grid, 32, 32).floor, -12);
}

TEST(ClearProject, EmptiesEverything) {
    auto p = emptyProject();
    p->levelDescription = "level";
    p->comment = "comment";
    p->baseLevelPath = "base";
    p->itemsFilePath = "items";
    p->lightsFilePath = "lights";
    p->outputLevelPath = "out";
    p->roomCount = 2;
    p->currentRoom = 2;
    p->projectFileName = "x.cwp";
    p->planX = 10;
    p->planY = 20;
    for (int n : {1, 2, 5}) {
        EditorRoom& r = p->room(n);
        r.posX = 7;
        r.name = "Room";
        setDefaults(r);
        initSectorGrid(r, 5, 5);
        r.reserved = {1, 2};
        r.sectors[1000].spare2[3] = 9;
        r.portalCount = 1;
        r.portals[0].width = 3;
    }
    clearProject(*p);

    auto fresh = emptyProject();
    EXPECT_EQ(p->roomCount, 0);
    EXPECT_EQ(p->currentRoom, 1);
    EXPECT_TRUE(p->projectFileName.empty());
    EXPECT_EQ(p->planX, -1);
    EXPECT_EQ(p->planY, -1);
    EXPECT_TRUE(p->levelDescription.empty());
    EXPECT_TRUE(p->comment.empty());
    EXPECT_TRUE(p->outputLevelPath.empty());
    for (int n = 1; n <= kMaxRooms; ++n) {
        const EditorRoom& r = p->room(n);
        EXPECT_EQ(r.posX, 0);
        EXPECT_TRUE(r.name.empty());
        EXPECT_EQ(r.floorLevel, 0);
        EXPECT_EQ(r.reserved, (std::array<std::uint8_t, 2>{}));
        EXPECT_EQ(r.numZ(), 0);
        EXPECT_EQ(r.portalCount, 0);
        EXPECT_EQ(r.portals[0].width, 0);
        EXPECT_EQ(r.grid.gameSectors, fresh->room(n).grid.gameSectors);
        EXPECT_EQ(r.sectors[1000].spare2[3], 0);
        EXPECT_EQ(r.sectors[0].floorShape, 0);
    }
}

}  // namespace
}  // namespace cw
