// Portals, floor data, boxes and the long record forms.
#include "builder/portals_floor_boxes.h"

#include <gtest/gtest.h>

#include "builder/floor_data_file.h"
#include "builder_test_support.h"
#include "common/errors.h"
#include "project/project_rules.h"

namespace cw {
namespace {

using test::addTestRoom;
using test::makeTestProject;

PortalCorner pc(int x, int y, int z) {
    return {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), static_cast<std::int16_t>(z)};
}
bool sameCorners(const std::array<PortalCorner, 4>& a, const std::array<PortalCorner, 4>& b) {
    for (std::size_t i = 0; i < 4; ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z) return false;
    return true;
}

TEST(ConvertPortals, CornerTablesOfAllSixFaces) {
    struct Case {
        Portal portal;
        int anchorFloor, anchorCeiling;
        std::array<int, 3> normal;
        std::array<PortalCorner, 4> corners;
    };
    // Room of 10 rows and 8 columns; the anchor sector's heights are set per case.
    const Case cases[] = {
        // The inner side of the north wall.
        {{1, 3, 2, 3, 10, 4}, 0, -12, {0, 0, -1},
         {pc(3072, 0, 9216), pc(3072, -3072, 9216), pc(5120, -3072, 9216), pc(5120, 0, 9216)}},
        {{2, 3, 2, 2, 1, 3}, 0, -12, {0, 0, 1},
         {pc(4096, 0, 1024), pc(4096, -2048, 1024), pc(2048, -2048, 1024), pc(2048, 0, 1024)}},
        {{3, 3, 3, 2, 5, 1}, -1, -12, {1, 0, 0},
         {pc(1024, -256, 2048), pc(1024, -2304, 2048), pc(1024, -2304, 5120), pc(1024, -256, 5120)}},
        {{4, 3, 2, 1, 4, 8}, 0, -12, {-1, 0, 0},
         {pc(7168, 0, 4096), pc(7168, -1024, 4096), pc(7168, -1024, 2048), pc(7168, 0, 2048)}},
        {{5, 3, 2, 3, 5, 3}, 0, -12, {0, 1, 0},
         {pc(2048, -3072, 5120), pc(2048, -3072, 2048), pc(4096, -3072, 2048), pc(4096, -3072, 5120)}},
        // A floor portal over a sector with floor -2.
        {{6, 3, 1, 1, 2, 2}, -2, -12, {0, -1, 0},
         {pc(1024, -512, 1024), pc(1024, -512, 2048), pc(2048, -512, 2048), pc(2048, -512, 1024)}},
    };
    for (const Case& k : cases) {
        auto project = makeTestProject();
        EditorRoom& room = addTestRoom(*project, 10, 8, 127, 139);
        test::setHeights(room, k.portal.column, k.portal.row, k.anchorFloor, k.anchorCeiling);
        room.portalCount = 1;
        room.portals[0] = k.portal;
        auto level = std::make_unique<LevelRoom>();
        convertPortals(room, *level, 1);
        ASSERT_EQ(level->portalCount, 1);
        const RoomPortal& p = level->portals[0];
        EXPECT_EQ(p.adjoiningRoom, 2) << "face " << int(k.portal.face);
        EXPECT_EQ((std::array<int, 3>{p.normalX, p.normalY, p.normalZ}), k.normal) << "face " << int(k.portal.face);
        EXPECT_TRUE(sameCorners(p.corners, k.corners)) << "face " << int(k.portal.face);
    }
}

TEST(ConvertPortals, FaceOutsideOneToSixLeavesNormalZeroAndCornersAlone) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 5, 5, 127, 139);
    room.portalCount = 1;
    room.portals[0] = Portal{.face = 7, .targetRoom = 2, .width = 1, .length = 1, .row = 2, .column = 2};
    auto level = std::make_unique<LevelRoom>();
    level->portals[0].normalX = 5;
    level->portals[0].corners[2] = pc(11, 22, 33);
    convertPortals(room, *level, 1);
    EXPECT_EQ(level->portals[0].normalX, 0);
    EXPECT_EQ(level->portals[0].adjoiningRoom, 1);
    EXPECT_EQ(level->portals[0].corners[2].y, 22);
}

TEST(ConvertPortals, RefusesAnchorsOutsideTheGridAndTooManyPortals) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 5, 4, 127, 139);
    auto level = std::make_unique<LevelRoom>();
    room.portalCount = 1;
    // The refusals are the faults of the project rules, word for word.
    const auto refusal = [&] {
        try {
            convertPortals(room, *level, 1);
        } catch (const FormatError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    for (auto [row, column] : {std::pair{0, 1}, std::pair{6, 1}, std::pair{1, 5}, std::pair{3, -2}}) {
        room.portals[0] = Portal{.face = 1, .targetRoom = 2, .width = 1, .length = 1, .row = row, .column = column};
        ASSERT_TRUE(portalAnchorFault(1, room, 1)) << row << "," << column;
        EXPECT_EQ(refusal(), portalAnchorFault(1, room, 1)->text) << row << "," << column;
    }
    room.portalCount = 21;
    EXPECT_EQ(refusal(), "Room 1 \"Room1\" has 21 portals; a room has 0 to 20.");
}

// --- Floor data ---------------------------------------------------------------------------

struct FloorFixture {
    std::unique_ptr<Project> project = makeTestProject();
    std::unique_ptr<LevelImage> image = std::make_unique<LevelImage>();
    std::vector<std::uint8_t> floorDat = makeFloorDataFile(standardShapeTable(), standardFloorDataIndexTable());

    EditorRoom& room(int rows = 5, int columns = 5) { return addTestRoom(*project, rows, columns, 127, 139); }
    // Copies the rooms' sectors into the level, as the room loop of a build does.
    void copyRooms() {
        image->roomCount = project->roomCount;
        for (int r = 1; r <= project->roomCount; ++r) image->room(r).grid = project->room(r).grid;
    }
    std::vector<std::uint16_t> wordsAt(std::size_t at, std::size_t n) const {
        return {image->floorData.items.begin() + static_cast<std::ptrdiff_t>(at),
                image->floorData.items.begin() + static_cast<std::ptrdiff_t>(at + n)};
    }
};

void makeSideLink(EditorRoom& room, int x, int z, int sideRoomIndex, std::uint16_t floorDataIndex) {
    sectorAt(room, x, z).linkMode = 2;
    gameSectorAt(room.grid, x, z).roomAbove = static_cast<std::uint8_t>(sideRoomIndex);
    gameSectorAt(room.grid, x, z).floorDataIndex = floorDataIndex;
}

TEST(BuildFloorData, SideLinkWithoutSlopeAppendsAPortalEntry) {
    FloorFixture f;
    EditorRoom& r = f.room();
    makeSideLink(r, 2, 3, 4, 0);
    f.copyRooms();
    buildFloorData(*f.image, *f.project, f.floorDat);
    ASSERT_EQ(f.image->floorData.count, 289u + 2 + 1);
    EXPECT_EQ(f.image->floorData.items[0], 292);
    const GameSector& g = gameSectorAt(f.image->room(1).grid, 2, 3);
    EXPECT_EQ(g.roomAbove, kNoRoom);
    EXPECT_EQ(g.floorDataIndex, 289);
    EXPECT_EQ(f.wordsAt(289, 3), (std::vector<std::uint16_t>{0x8001, 4, 0}));
    // The rest of floor.dat is loaded as it is.
    EXPECT_EQ(f.image->floorData.items[1], f.floorDat[2] | (f.floorDat[3] << 8));
}

TEST(BuildFloorData, SideLinkCopiesSlopeEntriesWithTheLastMarkCleared) {
    const FloorDataIndexTable& positions = standardFloorDataIndexTable();
    const auto file = makeFloorDataWords(standardShapeTable(), positions);
    struct Case {
        std::uint16_t index;
        std::vector<std::uint16_t> expected;
    };
    const std::uint16_t floorOnly = positions[3][0], both = positions[2][5];
    const Case cases[] = {
        {floorOnly, {static_cast<std::uint16_t>(file[floorOnly] & 0x7FFF), file[floorOnly + 1u], 0x8001, 1}},
        {both,
         {file[both], file[both + 1u], static_cast<std::uint16_t>(file[both + 2u] & 0x7FFF), file[both + 3u], 0x8001, 1}},
    };
    for (const Case& k : cases) {
        FloorFixture f;
        EditorRoom& r = f.room();
        f.room();
        makeSideLink(r, 3, 3, 1, k.index);
        f.copyRooms();
        buildFloorData(*f.image, *f.project, f.floorDat);
        const GameSector& g = gameSectorAt(f.image->room(1).grid, 3, 3);
        EXPECT_EQ(g.floorDataIndex, 289);
        EXPECT_EQ(f.wordsAt(289, k.expected.size()), k.expected) << "index " << k.index;
        EXPECT_EQ(f.image->floorData.count, 289 + k.expected.size() + 1);
        EXPECT_EQ(f.image->floorData.items[0], f.image->floorData.count);
    }
}

TEST(BuildFloorData, OtherSectorsKeepTheirIndexAndLinks) {
    FloorFixture f;
    EditorRoom& r = f.room();
    f.room();
    sectorAt(r, 2, 2).linkMode = 1;
    gameSectorAt(r.grid, 2, 2).roomAbove = 1;
    gameSectorAt(r.grid, 2, 2).floorDataIndex = 37;
    f.copyRooms();
    buildFloorData(*f.image, *f.project, f.floorDat);
    EXPECT_EQ(gameSectorAt(f.image->room(1).grid, 2, 2).roomAbove, 1);
    EXPECT_EQ(gameSectorAt(f.image->room(1).grid, 2, 2).floorDataIndex, 37);
    EXPECT_EQ(f.image->floorData.count, 290u);
}

TEST(BuildFloorData, SideLinkModeWithoutASideRoomIsAPlainSector) {
    FloorFixture f;
    EditorRoom& r = f.room();
    makeSideLink(r, 2, 3, kNoRoom, 5);
    f.copyRooms();
    buildFloorData(*f.image, *f.project, f.floorDat);
    const GameSector& g = gameSectorAt(f.image->room(1).grid, 2, 3);
    EXPECT_EQ(g.floorDataIndex, 5);  // its slope entry, and no portal entry to a room 255
    EXPECT_EQ(g.roomAbove, kNoRoom);
    EXPECT_EQ(f.image->floorData.count, 290u);
}

TEST(BuildFloorData, OddFileSizeDropsTheLastByte) {
    FloorFixture f;
    f.room();
    f.copyRooms();
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
    buildFloorData(*f.image, *f.project, bytes);
    EXPECT_EQ(f.image->floorData.count, 3u);
    EXPECT_EQ(f.wordsAt(0, 3), (std::vector<std::uint16_t>{3, 0x0403, 0}));
}

TEST(BuildFloorData, RefusesBrokenIndexesAndOverflow) {
    {  // an index past the loaded list
        FloorFixture f;
        makeSideLink(f.room(), 2, 2, 0, 400);
        f.copyRooms();
        EXPECT_THROW(buildFloorData(*f.image, *f.project, f.floorDat), FormatError);
    }
    {  // entries without a last mark up to the end of the list
        FloorFixture f;
        makeSideLink(f.room(), 2, 2, 0, 1);
        f.copyRooms();
        const std::vector<std::uint8_t> bytes = {0, 0, 2, 0, 0, 1, 2, 0, 0, 1};
        EXPECT_THROW(buildFloorData(*f.image, *f.project, bytes), FormatError);
    }
    {  // a file of more words than the list holds
        FloorFixture f;
        f.room();
        f.copyRooms();
        const std::vector<std::uint8_t> bytes((kMaxFloorData + 1) * 2, 0);
        EXPECT_THROW(buildFloorData(*f.image, *f.project, bytes), FormatError);
    }
    {  // a full file leaves no room for the closing word
        FloorFixture f;
        f.room();
        f.copyRooms();
        const std::vector<std::uint8_t> bytes(kMaxFloorData * 2, 0);
        EXPECT_THROW(buildFloorData(*f.image, *f.project, bytes), FormatError);
        EXPECT_EQ(f.image->floorData.count, kMaxFloorData);
    }
}

TEST(BuildFloorData, MissingFileIsAnInputOutputError) {
    FloorFixture f;
    f.room();
    f.copyRooms();
    EXPECT_THROW(buildFloorData(*f.image, *f.project, std::filesystem::path("/nonexistent/floor.dat")), IoError);
}

// --- Boxes --------------------------------------------------------------------------------

TEST(BuildBoxes, OneBoxPerFloorHeightOfARoom) {
    FloorFixture f;
    EditorRoom& r = f.room(4, 5);  // inner sectors: x 2..4, z 2..3
    test::setHeights(r, 3, 2, -4, -12);
    test::setHeights(r, 4, 3, -12, -12);  // an inner closed sector still gets a box
    gameSectorAt(r.grid, 2, 3).roomBelow = 1;
    f.copyRooms();
    f.image->room(1).roomInfo.x = 2048;
    f.image->room(1).roomInfo.z = -1;
    buildBoxes(*f.image);
    ASSERT_EQ(f.image->boxCount, 3u);
    EXPECT_EQ(f.image->boxesLong[0].trueFloor, 0);
    EXPECT_EQ(f.image->boxesLong[1].trueFloor, -1020);
    EXPECT_EQ(f.image->boxesLong[2].trueFloor, -12 * 255);
    EXPECT_EQ(f.image->boxesLong[0].zMin, -1);
    EXPECT_EQ(f.image->boxesLong[0].zMax, -1 + 4 * 1024);
    EXPECT_EQ(f.image->boxesLong[0].xMin, 2048);
    EXPECT_EQ(f.image->boxesLong[0].xMax, 2048 + 5 * 1024);
    const SectorGrid& g = f.image->room(1).grid;
    EXPECT_EQ(gameSectorAt(g, 1, 1).boxIndex, 0xFFFF);  // border wall
    EXPECT_EQ(gameSectorAt(g, 2, 2).boxIndex, 0);
    EXPECT_EQ(gameSectorAt(g, 3, 2).boxIndex, 1);
    EXPECT_EQ(gameSectorAt(g, 4, 3).boxIndex, 2);
    EXPECT_EQ(gameSectorAt(g, 2, 3).boxIndex, 0xFFFF);  // a room below
    EXPECT_EQ(f.image->zoneCount, 3u);
    ASSERT_EQ(f.image->overlaps.count, 3u);
    EXPECT_EQ(f.image->overlaps.items[2], 0x8002);

    finishGameForms(*f.image);
    EXPECT_EQ(f.image->boxesShort[0].zMin, 0);  // -1 rounds towards zero
    EXPECT_EQ(f.image->boxesShort[0].xMin, 2);
    EXPECT_EQ(f.image->boxesShort[0].xMax, 7);
    EXPECT_EQ(f.image->boxesShort[1].trueFloor, -1020);
}

TEST(BuildBoxes, TwoRoomsNumberTheirBoxesOnAndShiftForTombRaider3) {
    for (int kind : {kKindTR1, kKindTR2, kKindTR3}) {
        FloorFixture f;
        f.room();
        f.room();
        f.copyRooms();
        f.image->gameKind = kind;
        buildBoxes(*f.image);
        ASSERT_EQ(f.image->boxCount, 2u);
        ASSERT_EQ(f.image->overlaps.count, 2u);
        EXPECT_EQ(f.image->overlaps.items[0], 0);
        EXPECT_EQ(f.image->overlaps.items[1], 0x8001);
        EXPECT_EQ(f.image->boxesLong[0].overlapIndex, 0);
        EXPECT_EQ(f.image->boxesLong[1].overlapIndex, 0);
        EXPECT_EQ(gameSectorAt(f.image->room(1).grid, 2, 2).boxIndex, 0);
        EXPECT_EQ(gameSectorAt(f.image->room(2).grid, 3, 3).boxIndex, kind == kKindTR3 ? 16 : 1);
    }
}

TEST(BuildBoxes, RefusesMoreBoxesThanTheLevelHolds) {
    FloorFixture f;
    // Ten rooms with 251 different floor heights each need 2510 boxes.
    for (int r = 0; r < 10; ++r) {
        EditorRoom& room = addTestRoom(*f.project, 32, 32, 127, 250);
        int k = 0;
        for (int x = 2; x < 32; ++x)
            for (int z = 2; z < 32 && k < 251; ++z, ++k) test::setHeights(room, x, z, -125 + k, -128);
    }
    f.copyRooms();
    EXPECT_THROW(buildBoxes(*f.image), FormatError);
    EXPECT_LE(f.image->boxCount, kMaxBoxes);
}

// --- Long forms ---------------------------------------------------------------------------

TEST(FinishGameForms, WideVerticesByGameAndRoomKind) {
    struct Case {
        int kind;
        std::uint16_t flags;
        std::uint16_t light2, attributes;
        std::int16_t ambient2;
    };
    const Case cases[] = {
        {kKindTR3, kRoomFlagWater, 0x5EF7, 0x2000, 0},
        {kKindTR3, kRoomFlagSwamp, 0x5EF7, 0x2000, 0},
        {kKindTR3, kRoomFlagSky, 0x5EF7, 0x0010, 0},
        {kKindTR2, kRoomFlagWater, 0xFFFF, 0, -1},
        {kKindTR1, 0, 0xFFFF, 0, -1},
    };
    for (const Case& k : cases) {
        auto image = std::make_unique<LevelImage>();
        image->gameKind = k.kind;
        image->roomCount = 1;
        LevelRoom& room = image->room(1);
        room.roomFlags = k.flags;
        room.vertexCount = 1;
        room.vertices[0] = ShortVertex{.x = 1, .y = -2, .z = 3, .light = 0x0805};  // light byte 8
        finishGameForms(*image);
        const WideVertex& w = room.wideVertices[0];
        EXPECT_EQ(w.x, 1);
        EXPECT_EQ(w.y, -2);
        EXPECT_EQ(w.z, 3);
        EXPECT_EQ(w.light, 0x0805);
        EXPECT_EQ(w.light2, k.light2) << "kind " << k.kind;
        EXPECT_EQ(w.attributes, k.attributes) << "kind " << k.kind;
        EXPECT_EQ(room.ambient2, k.ambient2);
        EXPECT_EQ(room.lightMode, 3);
    }
}

TEST(FinishGameForms, LongItemsKeepTheirSecondIntensity) {
    auto image = std::make_unique<LevelImage>();
    image->itemCount = 1;
    image->itemsShort[0] = ItemShort{
        .type = 0, .room = 2, .x = 11776, .y = 512, .z = 38400, .angle = 0x00AB, .intensity = -1, .flags = 0x1234};
    image->itemsLong[0].intensity2 = 77;
    finishGameForms(*image);
    const ItemLong& l = image->itemsLong[0];
    EXPECT_EQ(l.room, 2);
    EXPECT_EQ(l.x, 11776);
    EXPECT_EQ(l.y, 512);
    EXPECT_EQ(l.z, 38400);
    EXPECT_EQ(l.angle, 0x00AB);
    EXPECT_EQ(l.intensity, -1);
    EXPECT_EQ(l.flags, 0x1234);
    EXPECT_EQ(l.intensity2, 77);
}

}  // namespace
}  // namespace cw
