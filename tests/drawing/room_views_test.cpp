#include "drawing/room_views.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/errors.h"
#include "raster/bmp.h"
#include "raster/draw.h"

using namespace cw;

namespace {

// A strip of ten 16 x 16 squares, square q (1 = top) filled with base + q.
IndexedImage makeStrip(std::uint8_t base) {
    IndexedImage strip;
    CreateImage(strip, 16, 160);
    for (std::uint32_t y = 0; y < 160; ++y)
        for (std::uint32_t x = 0; x < 16; ++x) strip.Pixels[y * 16 + x] = static_cast<std::uint8_t>(base + y / 16 + 1);
    return strip;
}

constexpr std::uint8_t kFloorBase = 0x10;    // floor glyph s reads 0x10 + s
constexpr std::uint8_t kCeilingBase = 0x30;  // ceiling strip square q reads 0x30 + q

ShapeGlyphs makeGlyphs() {
    ShapeGlyphs g;
    cutFloorGlyphs(makeStrip(kFloorBase), g);
    cutCeilingGlyphs(makeStrip(kCeilingBase), g);
    return g;
}

std::uint8_t floorGlyph(int s) { return static_cast<std::uint8_t>(kFloorBase + (s > 10 ? s - 6 : s)); }
std::uint8_t ceilingGlyph(int s) { return static_cast<std::uint8_t>(kCeilingBase + 11 - (s > 10 ? s - 6 : s)); }

struct RoomFixture {
    std::unique_ptr<Project> project = std::make_unique<Project>();
    EditorRoom& room;
    explicit RoomFixture(int rows = 5, int columns = 10) : room(project->room(1)) {
        project->roomCount = 1;
        room.floorLevel = 127;
        room.ceilingLevel = 139;
        room.roomLight = 16;
        initSectorGrid(room, rows, columns);
    }
};

PaletteBlock testPalette() {
    PaletteBlock p{};
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i % 64);
    return p;
}

}  // namespace

TEST(ShapeGlyphs, FloorSquaresFromTopAndSlopesRepeated) {
    const ShapeGlyphs g = makeGlyphs();
    for (int s = 1; s <= 16; ++s) {
        SCOPED_TRACE(s);
        ASSERT_EQ(g.floor[s].Width, 16u);
        ASSERT_EQ(g.floor[s].Height, 16u);
        // Every pixel of the glyph comes from its own square: the 17th row of the cut is dropped.
        for (std::uint8_t px : g.floor[s].Pixels) ASSERT_EQ(px, floorGlyph(s));
        for (std::uint8_t px : g.ceiling[s].Pixels) ASSERT_EQ(px, ceilingGlyph(s));
    }
    // Ceiling shape 1 is the bottom square of its strip, shape 10 the top one.
    EXPECT_EQ(g.ceiling[1].at(0, 0), kCeilingBase + 10);
    EXPECT_EQ(g.ceiling[10].at(15, 15), kCeilingBase + 1);
}

namespace {

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        path = std::filesystem::temp_directory_path() /
               ("cw_glyphs_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

}  // namespace

TEST(ShapeGlyphs, LoadedFromTheProgramFolder) {
    TempFolder folder;
    SaveBmp(folder.path / "shapes1.bmp", makeStrip(kFloorBase));
    SaveBmp(folder.path / "shapes2.bmp", makeStrip(kCeilingBase));
    ShapeGlyphs g;
    loadShapeGlyphs(folder.path, g);
    EXPECT_EQ(g.floor[3].at(7, 7), floorGlyph(3));
    EXPECT_EQ(g.ceiling[3].at(7, 7), ceilingGlyph(3));
}

TEST(ShapeGlyphs, MissingCeilingStripKeepsTheFloorGlyphs) {
    TempFolder folder;
    SaveBmp(folder.path / "shapes1.bmp", makeStrip(kFloorBase));
    ShapeGlyphs g;
    EXPECT_THROW(loadShapeGlyphs(folder.path, g), IoError);
    EXPECT_EQ(g.floor[16].at(0, 0), floorGlyph(16));
    EXPECT_FALSE(IsValidImage(g.ceiling[1]));
}

TEST(RoomViews, ImageSizesFollowTheRoom) {
    RoomFixture f(5, 10);
    RoomViewImages v;
    makeRoomViewImages(f.room, testPalette(), v);
    EXPECT_EQ(v.topView.Width, 202u);
    EXPECT_EQ(v.topView.Height, 102u);
    EXPECT_EQ(v.frontBack.Width, 162u);
    EXPECT_EQ(v.frontBack.Height, 1026u);
    EXPECT_EQ(v.leftRight.Width, 82u);
    EXPECT_EQ(v.leftRight.Height, 1026u);
    EXPECT_EQ(v.cell.Width, 19u);
    ASSERT_TRUE(v.topView.Palette && v.frontBack.Palette && v.leftRight.Palette);
    EXPECT_NE(v.topView.Palette, v.frontBack.Palette);  // each view has its own copy
    EXPECT_EQ(*v.topView.Palette, testPalette());
}

TEST(RoomViews, EmptySlotGivesGridOnlyImages) {
    auto project = std::make_unique<Project>();
    RoomViewImages v;
    makeRoomViewImages(project->room(1), testPalette(), v);
    EXPECT_EQ(v.topView.Width, 2u);
    EXPECT_EQ(v.topView.Height, 2u);
    EXPECT_EQ(v.frontBack.Width, 2u);
    EXPECT_EQ(v.leftRight.Height, 1026u);
    const ShapeGlyphs g = makeGlyphs();
    drawTopView(project->room(1), v);
    drawSideViews(project->room(1), g, 1, 1, v);
    drawPortalMarks(project->room(1), v);
    EXPECT_EQ(v.topView.at(1, 1), kViewBackground);
}

TEST(RoomViews, TopViewPaintsOpenAndClosedCells) {
    RoomFixture f(5, 10);
    RoomViewImages v;
    makeRoomViewImages(f.room, testPalette(), v);
    drawTopView(f.room, v);
    // (1, 1) is a wall of the border ring: closed, painted 253 from (1, 81), 19 x 19.
    EXPECT_EQ(v.topView.at(1, 81), kViewGrid);
    EXPECT_EQ(v.topView.at(19, 99), kViewGrid);
    // (2, 2) is open: 209 at (21, 61)..(39, 79); the grid line at x = 40 stays.
    EXPECT_EQ(v.topView.at(21, 61), kViewBackground);
    EXPECT_EQ(v.topView.at(39, 79), kViewBackground);
    EXPECT_EQ(v.topView.at(40, 70), kViewGrid);
    EXPECT_EQ(v.topView.at(201, 101), kViewBackground);  // last row and column of the image
    // Closing (2, 2) paints its cell 253.
    gameSectorAt(f.room.grid, 2, 2).floor = gameSectorAt(f.room.grid, 2, 2).ceiling;
    drawTopView(f.room, v);
    EXPECT_EQ(v.topView.at(30, 70), kViewGrid);
}

namespace {

struct SideViewFixture : RoomFixture {
    ShapeGlyphs glyphs = makeGlyphs();
    RoomViewImages views;
    SideViewFixture() : RoomFixture(5, 10) { makeRoomViewImages(room, testPalette(), views); }
    // A pixel of the front/back view inside sector column x, at y.
    std::uint8_t frontBack(int x, int y) { return views.frontBack.at(std::uint32_t(1 + 16 * (x - 1) + 7), std::uint32_t(y)); }
};

}  // namespace

TEST(RoomViews, FrontBackColumnStacksBodyAndSurfaceGlyphs) {
    SideViewFixture f;
    GameSector& g = gameSectorAt(f.room.grid, 2, 3);
    g.floor = 0;     // level 127: 31 body blocks, glyph at y = 513
    g.ceiling = -12; // level 139: 28 body blocks, glyph at y = 449
    sectorAt(f.room, 2, 3).floorShape = 12;
    sectorAt(f.room, 2, 3).ceilingShape = 3;
    drawSideViews(f.room, f.glyphs, 1, 3, f.views);
    const std::uint8_t body = kViewBackground ^ floorGlyph(1);
    EXPECT_EQ(f.frontBack(2, 1017), body);  // bottom block
    EXPECT_EQ(f.frontBack(2, 537), body);   // block 31
    EXPECT_EQ(f.frontBack(2, 520), kViewBackground ^ floorGlyph(12));
    EXPECT_EQ(f.frontBack(2, 520), kViewBackground ^ floorGlyph(6));  // shape 12 shows shape 6's picture
    EXPECT_EQ(f.frontBack(2, 500), kViewBackground);
    EXPECT_EQ(f.frontBack(2, 470), kViewBackground);
    EXPECT_EQ(f.frontBack(2, 456), kViewBackground ^ ceilingGlyph(3));
    EXPECT_EQ(f.frontBack(2, 440), kViewBackground ^ ceilingGlyph(1));  // block 28
    EXPECT_EQ(f.frontBack(2, 8), kViewBackground ^ ceilingGlyph(1));    // block 1
    // Glyphs are laid over the grid lines too: y = 544 lies in block 31, y = 528 in the surface.
    EXPECT_EQ(f.frontBack(2, 544), kViewGrid ^ floorGlyph(1));
    EXPECT_EQ(f.frontBack(2, 528), kViewGrid ^ floorGlyph(12));
    // Column x covers pixels 16 (x - 1) + 1 .. 16 x: the line x = 0 is never covered, the line
    // x = 16 lies under the wall column 1 (floor level 139).
    EXPECT_EQ(f.views.frontBack.at(0, 500), kViewGrid);
    EXPECT_EQ(f.views.frontBack.at(16, 500), kViewGrid ^ floorGlyph(1));
    EXPECT_EQ(f.views.frontBack.at(17, 500), kViewBackground);
}

TEST(RoomViews, CeilingAtTheBottomAndOrPlacementOfLinkedSurfaces) {
    SideViewFixture f;
    GameSector& g = gameSectorAt(f.room.grid, 4, 2);
    g.floor = 127;     // level 0: no body, glyph in the bottom row
    g.ceiling = -128;  // level 255: 63 blocks, glyph at y = 1009 over the floor glyph
    g.roomBelow = 255;
    g.roomAbove = 3;
    Sector& s = sectorAt(f.room, 4, 2);
    s.linkMode = 2;  // floor drawn by or; the ceiling (mode 2) by exclusive or
    drawSideViews(f.room, f.glyphs, 1, 2, f.views);
    EXPECT_EQ(f.frontBack(4, 1017), std::uint8_t((kViewBackground | floorGlyph(1)) ^ ceilingGlyph(1)));
    EXPECT_EQ(f.frontBack(4, 500), kViewBackground ^ ceilingGlyph(1));

    // Mode 1 with a room above: the ceiling by or; without a room below the floor by xor.
    s.linkMode = 1;
    drawSideViews(f.room, f.glyphs, 1, 2, f.views);
    EXPECT_EQ(f.frontBack(4, 1017), std::uint8_t((kViewBackground ^ floorGlyph(1)) | ceilingGlyph(1)));
}

TEST(RoomViews, LeftRightViewRunsNorthToSouth) {
    SideViewFixture f;
    gameSectorAt(f.room.grid, 3, 5).floor = 123;  // level 4: one block, north end (z = 5) at X = 0
    gameSectorAt(f.room.grid, 3, 1).floor = 119;  // level 8: two blocks, south end at X = 64
    drawSideViews(f.room, f.glyphs, 3, 1, f.views);
    const std::uint8_t body = kViewBackground ^ floorGlyph(1);
    const std::uint8_t surface = kViewBackground ^ floorGlyph(1);
    EXPECT_EQ(f.views.leftRight.at(7, 1017), body);
    EXPECT_EQ(f.views.leftRight.at(7, 1001), surface);
    EXPECT_EQ(f.views.leftRight.at(7, 985), kViewBackground);
    EXPECT_EQ(f.views.leftRight.at(64 + 7, 985), surface);
    EXPECT_EQ(f.views.leftRight.at(64 + 7, 969), kViewBackground);
}

TEST(RoomViews, SelectorsOutsideTheirRangeShowTheNearestLine) {
    SideViewFixture f;
    gameSectorAt(f.room.grid, 10, 3).floor = 100;
    gameSectorAt(f.room.grid, 4, 5).floor = 90;
    RoomViewImages expected;
    makeRoomViewImages(f.room, testPalette(), expected);
    drawSideViews(f.room, f.glyphs, 10, 5, expected);
    drawSideViews(f.room, f.glyphs, 200, 99, f.views);
    EXPECT_EQ(f.views.leftRight.Pixels, expected.leftRight.Pixels);
    EXPECT_EQ(f.views.frontBack.Pixels, expected.frontBack.Pixels);
    drawSideViews(f.room, f.glyphs, 1, 1, expected);
    drawSideViews(f.room, f.glyphs, -3, 0, f.views);
    EXPECT_EQ(f.views.leftRight.Pixels, expected.leftRight.Pixels);
    EXPECT_EQ(f.views.frontBack.Pixels, expected.frontBack.Pixels);
}

TEST(RoomViews, InvalidShapeDrawsNoSurface) {
    SideViewFixture f;
    sectorAt(f.room, 2, 2).floorShape = 0;
    sectorAt(f.room, 2, 2).ceilingShape = 40;
    drawSideViews(f.room, f.glyphs, 1, 2, f.views);
    EXPECT_EQ(f.frontBack(2, 520), kViewBackground);  // level 127: the glyph row stays empty
}

struct PortalMarkCase {
    std::uint8_t face;
    int width, length, row, column;
    int left, top, right, bottom;  // the mark, both corners included
};

class PortalMarks : public ::testing::TestWithParam<PortalMarkCase> {};

TEST_P(PortalMarks, FilledFromTheAnchorCellEastAndSouth) {
    const PortalMarkCase c = GetParam();
    RoomFixture f(5, 10);
    f.room.portalCount = 1;
    f.room.portals[0] =
        Portal{.face = c.face, .targetRoom = 2, .width = c.width, .length = c.length, .row = c.row, .column = c.column};
    RoomViewImages v;
    makeRoomViewImages(f.room, testPalette(), v);
    drawTopView(f.room, v);
    drawPortalMarks(f.room, v);
    for (int y = 0; y < int(v.topView.Height); ++y) {
        for (int x = 0; x < int(v.topView.Width); ++x) {
            const bool inside = x >= c.left && x <= c.right && y >= c.top && y <= c.bottom;
            if (inside != (v.topView.at(std::uint32_t(x), std::uint32_t(y)) == kPortalMark)) {
                FAIL() << "pixel (" << x << ", " << y << ")";
            }
        }
    }
    EXPECT_FALSE(IsValidImage(v.portal));
}

INSTANTIATE_TEST_SUITE_P(Faces, PortalMarks,
                         ::testing::Values(PortalMarkCase{1, 3, 1, 1, 2, 21, 81, 79, 100},
                                           PortalMarkCase{2, 1, 4, 3, 5, 81, 41, 99, 60},
                                           PortalMarkCase{4, 2, 1, 1, 10, 181, 81, 200, 101},
                                           PortalMarkCase{6, 2, 2, 2, 1, 1, 61, 39, 100},
                                           // past the east edge: clipped to the view
                                           PortalMarkCase{5, 4, 1, 5, 9, 161, 1, 201, 20}));

TEST(RoomViews, PortalTableIsNeverReadPastItsEnd) {
    RoomFixture f(5, 10);
    f.room.portalCount = 1000;  // a damaged count
    for (Portal& p : f.room.portals)
        p = Portal{.face = 5, .targetRoom = 2, .width = 1, .length = 1, .row = 1, .column = 1};
    f.room.portals[19] = Portal{.face = 6, .targetRoom = 2, .width = 1, .length = 1, .row = 5, .column = 10};
    RoomViewImages v;
    makeRoomViewImages(f.room, testPalette(), v);
    drawTopView(f.room, v);
    drawPortalMarks(f.room, v);
    EXPECT_EQ(v.topView.at(181, 1), kPortalMark);  // portal 20 drawn
    EXPECT_EQ(portalsInUse(f.room), 20);
    f.room.portalCount = -4;
    EXPECT_EQ(portalsInUse(f.room), 0);
}

TEST(RoomViews, HugePortalSizesAreClipped) {
    RoomFixture f(3, 3);
    f.room.portalCount = 2;
    f.room.portals[0] = Portal{.face = 5,
                               .targetRoom = 2,
                               .width = 2000000000,
                               .length = -7,
                               .row = 1,
                               .column = 1};  // negative length: no mark
    f.room.portals[1] = Portal{.face = 3, .targetRoom = 2, .width = 2000000000, .length = 1, .row = 3, .column = 1};
    RoomViewImages v;
    makeRoomViewImages(f.room, testPalette(), v);
    drawTopView(f.room, v);
    drawPortalMarks(f.room, v);
    // Portal 2 (west wall, anchored at row 3) runs 20 pixels wide down the whole view.
    EXPECT_EQ(v.topView.at(1, 1), kPortalMark);
    EXPECT_EQ(v.topView.at(20, 61), kPortalMark);
    EXPECT_EQ(v.topView.at(21, 30), kViewBackground);
    // Portal 1 has no height: nothing drawn east of portal 2 in its row.
    EXPECT_EQ(v.topView.at(25, 45), kViewGrid);
}
