#include "project/portal_editing.h"

#include <gtest/gtest.h>

#include <memory>

using namespace cw;

namespace {

struct Fixture {
    std::unique_ptr<Project> project = std::make_unique<Project>();
    EditorRoom& room;
    Fixture() : room(project->room(2)) {
        project->roomCount = 3;
        project->currentRoom = 2;
        room.floorLevel = 120;
        room.ceilingLevel = 140;
        initSectorGrid(room, 5, 8);
    }
};

}  // namespace

TEST(TopView, CellOfAClickAndReadout) {
    // A 5-row view (102 high) paints cell (x, z) from (1 + 20 (x - 1), 1 + 20 (5 - z)), 19 x 19.
    EXPECT_EQ(topViewColumn(0), 1);
    EXPECT_EQ(topViewColumn(21), 2);   // first inside pixel of x = 2
    EXPECT_EQ(topViewColumn(39), 2);   // its last
    EXPECT_EQ(topViewColumn(160), 9);  // outer pixels of an 8-column view
    EXPECT_EQ(topViewRow(101, 102), 0);  // the outer bottom row
    EXPECT_EQ(topViewRow(99, 102), 1);   // last inside row of z = 1
    EXPECT_EQ(topViewRow(81, 102), 1);   // its first
    EXPECT_EQ(topViewRow(80, 102), 2);
    EXPECT_EQ(topViewRow(1, 102), 5);
    EXPECT_EQ(topViewRow(0, 102), 6);  // the top grid line lies past the north edge
    EXPECT_EQ(topViewReadout(3, 12), "X:3 Z:12");
}

TEST(TopView, CloseAndReopenASector) {
    Fixture f;
    GameSector& g = gameSectorAt(f.room.grid, 3, 3);
    g.roomAbove = 1;
    g.roomBelow = 0;
    g.floorDataIndex = 33;
    g.boxIndex = 5;
    sectorAt(f.room, 3, 3).floorShape = 7;
    ASSERT_TRUE(setSectorClosed(f.room, 3, 3, true));
    EXPECT_EQ(g, (GameSector{.floorDataIndex = 0,
                             .boxIndex = 0xFFFF,
                             .roomBelow = 255,
                             .floor = levelToByte(140),
                             .roomAbove = 255,
                             .ceiling = levelToByte(140)}));
    ASSERT_TRUE(setSectorClosed(f.room, 3, 3, false));
    EXPECT_EQ(g, (GameSector{.floorDataIndex = 0,
                             .boxIndex = 0xFFFF,
                             .roomBelow = 255,
                             .floor = levelToByte(120),
                             .roomAbove = 255,
                             .ceiling = levelToByte(140)}));
    EXPECT_EQ(sectorAt(f.room, 3, 3).floorShape, 7);  // the editor's record is kept
}

TEST(TopView, ClicksOutsideTheGridChangeNothing) {
    Fixture f;
    const SectorGrid before = f.room.grid;
    for (auto [x, z] : {std::pair{9, 1}, std::pair{1, 6}, std::pair{0, 2}, std::pair{3, 0}, std::pair{9, 6}}) {
        EXPECT_FALSE(setSectorClosed(f.room, x, z, false));
        EXPECT_FALSE(placePortal(f.room, 1, x, z));
    }
    for (std::size_t i = 0; i < before.gameSectors.size(); ++i) ASSERT_EQ(before.gameSectors[i], f.room.grid.gameSectors[i]);
}

TEST(Portals, AddCheckedAgainstTheRoomNumbers) {
    Fixture f;
    EXPECT_EQ(addPortalRefusal(*f.project, f.room, {1, 2, 1, 1}), kInvalidPortalRoomMessage);  // the room itself
    EXPECT_EQ(addPortalRefusal(*f.project, f.room, {1, 4, 1, 1}), kInvalidPortalRoomMessage);  // past roomCount
    EXPECT_EQ(replacePortalRefusal(*f.project, {1, 4, 1, 1}), kInvalidPortalRoomMessage);
    EXPECT_EQ(addPortalRefusal(*f.project, f.room, {1, 3, 1, 1}), std::nullopt);
    EXPECT_EQ(replacePortalRefusal(*f.project, {1, 1, 1, 1}), std::nullopt);
}

TEST(Portals, AddedAtTheSouthWestCellAndNumberedAgainAfterRemoval) {
    Fixture f;
    ASSERT_EQ(addPortal(f.room, {6, 3, 2, 4}), 1);
    EXPECT_EQ(f.room.portalCount, 1);
    const Portal& p = f.room.portals[0];
    EXPECT_EQ(p.face, 6);
    EXPECT_EQ(p.targetRoom, 3);
    EXPECT_EQ(p.width, 2);
    EXPECT_EQ(p.length, 4);
    EXPECT_EQ(p.row, 1);
    EXPECT_EQ(p.column, 1);
    EXPECT_EQ(removeLastPortal(f.room), 0);
    EXPECT_EQ(addPortal(f.room, {1, 1, 1, 1}), 1);
}

TEST(Portals, TwentyFirstPortalIsRefused) {
    Fixture f;
    for (int i = 1; i <= 20; ++i) ASSERT_EQ(addPortal(f.room, {1, 1, 1, 1}), i);
    const Portal sentinel = f.room.portals[19];
    EXPECT_EQ(addPortalRefusal(*f.project, f.room, {1, 1, 1, 1}), kPortalTableFullMessage);
    EXPECT_EQ(addPortal(f.room, {2, 3, 5, 5}), 0);
    EXPECT_EQ(f.room.portalCount, 20);
    EXPECT_EQ(f.room.portals[19].face, sentinel.face);
    // A damaged count past the table counts as a full table.
    f.room.portalCount = 90;
    EXPECT_EQ(addPortal(f.room, {1, 1, 1, 1}), 0);
    EXPECT_EQ(removeLastPortal(f.room), 19);
}

TEST(Portals, ReplaceKeepsPositionAndCount) {
    Fixture f;
    for (int i = 0; i < 3; ++i) addPortal(f.room, {1, 1, 1, 1});
    ASSERT_TRUE(placePortal(f.room, 2, 4, 5));
    ASSERT_TRUE(replacePortal(f.room, 2, {5, 3, 7, 8}));
    EXPECT_EQ(f.room.portalCount, 3);
    const Portal& p = f.room.portals[1];
    EXPECT_EQ(p.face, 5);
    EXPECT_EQ(p.targetRoom, 3);
    EXPECT_EQ(p.width, 7);
    EXPECT_EQ(p.length, 8);
    EXPECT_EQ(p.row, 5);
    EXPECT_EQ(p.column, 4);
    EXPECT_EQ(portalFields(f.room, 2), (PortalFields{.face = 5, .targetRoom = 3, .width = 7, .length = 8}));
}

TEST(Portals, NoPortalSelectedOrNoneLeft) {
    Fixture f;
    EXPECT_FALSE(replacePortal(f.room, 1, {5, 3, 7, 8}));
    EXPECT_FALSE(placePortal(f.room, 1, 2, 2));
    EXPECT_FALSE(portalFields(f.room, 1));
    EXPECT_EQ(removeLastPortal(f.room), 0);
    EXPECT_EQ(f.room.portalCount, 0);
    addPortal(f.room, {1, 1, 1, 1});
    EXPECT_FALSE(replacePortal(f.room, 0, {5, 3, 7, 8}));
    EXPECT_FALSE(replacePortal(f.room, 2, {5, 3, 7, 8}));
    EXPECT_FALSE(placePortal(f.room, 0, 2, 2));
    EXPECT_EQ(f.room.portals[0].face, 1);
    f.room.portalCount = -3;  // a damaged count
    EXPECT_EQ(removeLastPortal(f.room), 0);
}
