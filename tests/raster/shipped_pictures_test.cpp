// The picture files the program ships, as generated into the program's folder by the build.
#include <gtest/gtest.h>

#include <filesystem>

#include "pictures.h"
#include "project/project.h"
#include "raster/bmp.h"
#include "raster/draw.h"

namespace cw {
namespace {

const std::filesystem::path kBin = CW_TEST_BIN_DIR;

TEST(ShippedPictures, LoadAndMatchTheGenerator) {
    PaletteBlock palette{};
    LoadPalette(kBin / "paleta.bmp", palette);
    EXPECT_EQ(palette, pictures::programPalette());

    IndexedImage floors, ceilings;
    LoadBmp(kBin / "shapes1.bmp", floors);
    LoadBmp(kBin / "shapes2.bmp", ceilings);
    EXPECT_EQ(floors.Pixels, pictures::floorGlyphStrip().Pixels);
    EXPECT_EQ(ceilings.Pixels, pictures::ceilingGlyphStrip().Pixels);
    EXPECT_EQ(floors.Width, 16u);
    EXPECT_EQ(floors.Height, 160u);
}

// Filled pixels of column c of glyph square `square`, counted from the bottom (floors) or the
// top (ceilings); the filled part must be one unbroken run from that edge.
int filledRun(const IndexedImage& strip, int square, int c, bool fromTop) {
    int run = 0;
    for (int k = 0; k < 16; ++k) {
        int y = fromTop ? 16 * square + k : 16 * square + 15 - k;
        if (strip.at(std::uint32_t(c), std::uint32_t(y)) == 0) break;
        ++run;
    }
    for (int k = run; k < 16; ++k) {
        int y = fromTop ? 16 * square + k : 16 * square + 15 - k;
        EXPECT_EQ(strip.at(std::uint32_t(c), std::uint32_t(y)), 0) << "square " << square << " column " << c;
    }
    return run;
}

TEST(ShippedPictures, GlyphsDrawTheShapesOfTheShapeTable) {
    IndexedImage floors, ceilings;
    LoadBmp(kBin / "shapes1.bmp", floors);
    LoadBmp(kBin / "shapes2.bmp", ceilings);
    const ShapeTable& shapes = standardShapeTable();
    for (int s = 1; s <= 10; ++s) {
        // Both side views show the north (left/right view) or west (front/back view) end at the
        // left; shapes 1..10 seen from the side along z: left = the north corner.
        const int north = shapes[s].edgeHeights[4], south = shapes[s].edgeHeights[5];
        EXPECT_EQ(filledRun(floors, s - 1, 0, false), pictures::glyphRows(north)) << "floor " << s;
        EXPECT_EQ(filledRun(floors, s - 1, 15, false), pictures::glyphRows(south)) << "floor " << s;
        EXPECT_EQ(filledRun(ceilings, 10 - s, 0, true), pictures::glyphRows(north)) << "ceiling " << s;
        EXPECT_EQ(filledRun(ceilings, 10 - s, 15, true), pictures::glyphRows(south)) << "ceiling " << s;
        for (int c = 1; c < 15; ++c) {  // the surface runs straight between its ends
            int lo = std::min(pictures::glyphRows(north), pictures::glyphRows(south));
            int hi = std::max(pictures::glyphRows(north), pictures::glyphRows(south));
            int run = filledRun(floors, s - 1, c, false);
            EXPECT_GE(run, lo);
            EXPECT_LE(run, hi);
        }
    }
    // Glyph 1 of each strip is the solid block.
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(filledRun(floors, 0, c, false), 16);
        EXPECT_EQ(filledRun(ceilings, 9, c, true), 16);
    }
    // Shapes 11..16 show the pictures of 5..10: the same corner heights across x as along z.
    for (int s = 11; s <= 16; ++s) {
        EXPECT_EQ(shapes[s].edgeHeights[0], shapes[s - 6].edgeHeights[4]);
        EXPECT_EQ(shapes[s].edgeHeights[1], shapes[s - 6].edgeHeights[5]);
    }
}

TEST(ShippedPictures, EveryIndexTheViewsProduceHasADistinctColour) {
    const PaletteBlock palette = pictures::programPalette();
    auto colour = [&](int i) { return std::array<int, 3>{palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]}; };
    // What a plan pixel becomes: plan background 209 / line 253 under a room's background 90.
    const int notCurrent = (209 ^ 90) & 90, current = 209 ^ 90, line = (253 ^ 253) & 253;
    ASSERT_EQ(notCurrent, 10);
    ASSERT_EQ(current, 139);
    ASSERT_EQ(line, 0);
    const std::vector<int> plan = {209, 253, 10, 139, 0};
    for (std::size_t a = 0; a < plan.size(); ++a)
        for (std::size_t b = a + 1; b < plan.size(); ++b)
            EXPECT_NE(colour(plan[a]), colour(plan[b])) << plan[a] << " vs " << plan[b];
    // Side views: a floor or ceiling glyph over background and grid, by xor and by or.
    const std::vector<int> views = {209,
                                    253,
                                    247,
                                    209 ^ pictures::kFloorFill,
                                    209 | pictures::kFloorFill,
                                    209 ^ pictures::kCeilingFill,
                                    209 | pictures::kCeilingFill,
                                    209 ^ pictures::kFloorFill ^ pictures::kCeilingFill};
    for (std::size_t a = 0; a < views.size(); ++a)
        for (std::size_t b = a + 1; b < views.size(); ++b)
            EXPECT_NE(colour(views[a]), colour(views[b])) << views[a] << " vs " << views[b];
}

}  // namespace
}  // namespace cw
