#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

#include "raster/draw.h"

namespace cw {
namespace {

IndexedImage filled(std::uint32_t w, std::uint32_t h, std::uint8_t value) {
    IndexedImage image;
    CreateImage(image, w, h);
    FillImage(image, value);
    return image;
}

IndexedImage numbered(std::uint32_t w, std::uint32_t h) {
    IndexedImage image;
    CreateImage(image, w, h);
    for (std::uint32_t i = 0; i < w * h; ++i) image.Pixels[i] = std::uint8_t(1 + i);
    return image;
}

// Expected result of placing `source` at (X, Y) into a `w` x `h` image of zeros, pixel by pixel.
std::vector<std::uint8_t> placedByHand(const IndexedImage& source, int X, int Y, std::uint32_t w, std::uint32_t h) {
    std::vector<std::uint8_t> out(std::size_t(w) * h, 0);
    for (int j = 0; j < int(source.Height); ++j)
        for (int i = 0; i < int(source.Width); ++i) {
            int x = X + i, y = Y + j;
            if (x >= 0 && y >= 0 && x < int(w) && y < int(h)) out[std::size_t(y) * w + std::size_t(x)] = source.at(std::uint32_t(i), std::uint32_t(j));
        }
    return out;
}

TEST(PutImage, ClipsOnEverySideAndTruncatesTowardsZero) {
    const IndexedImage source = numbered(4, 4);
    struct Case {
        double x, y;
        int X, Y;  // the whole-pixel position the coordinates mean
    };
    for (Case c : {Case{-2, -1, -2, -1}, Case{8, 8, 8, 8}, Case{-3, 7, -3, 7}, Case{7, -3, 7, -3}, Case{3.9, 2.2, 3, 2},
                   Case{-0.5, -0.9, 0, 0}, Case{-1.5, 9.99, -1, 9}, Case{10, 0, 10, 0}, Case{0, 10, 0, 10},
                   Case{-4, 0, -4, 0}, Case{0, -4, 0, -4}}) {
        IndexedImage destination = filled(10, 10, 0);
        PutImage(source, destination, c.x, c.y);
        EXPECT_EQ(destination.Pixels, placedByHand(source, c.X, c.Y, 10, 10)) << c.x << ", " << c.y;
    }
}

TEST(PutImage, PartlyOutsideWritesOnlyTheOverlap) {
    // A 4 x 4 source at (-2, -1) writes rows 0..2, columns 0..1 from source rows 1..3, columns 2..3.
    const IndexedImage source = numbered(4, 4);
    IndexedImage destination = filled(10, 10, 0);
    PutImage(source, destination, -2, -1);
    EXPECT_EQ(destination.at(0, 0), source.at(2, 1));
    EXPECT_EQ(destination.at(1, 2), source.at(3, 3));
    EXPECT_EQ(destination.at(2, 0), 0);
    EXPECT_EQ(destination.at(0, 3), 0);
    // A 20 x 4 source at (-5, 0) fills columns 0..9 from source columns 5..14.
    const IndexedImage wide = numbered(20, 4);
    IndexedImage d2 = filled(10, 10, 0);
    PutImage(wide, d2, -5, 0);
    for (std::uint32_t x = 0; x < 10; ++x) EXPECT_EQ(d2.at(x, 3), wide.at(x + 5, 3));
}

TEST(PutImage, RasterOperationsCombineEveryPixelIncludingZero) {
    IndexedImage source;
    CreateImage(source, 6, 1);
    source.Pixels = {0, 0x0F, 0xF0, 0xFF, 0x5A, 0};
    struct Case {
        void (*op)(const IndexedImage&, IndexedImage&, double, double);
        std::vector<std::uint8_t> expected;  // over a destination of 0x3C everywhere
    };
    for (const Case& c : {Case{PutImage, {0, 0x0F, 0xF0, 0xFF, 0x5A, 0}},
                          Case{PutImageXor, {0x3C, 0x33, 0xCC, 0xC3, 0x66, 0x3C}},
                          Case{PutImageOr, {0x3C, 0x3F, 0xFC, 0xFF, 0x7E, 0x3C}},
                          Case{PutImageAnd, {0, 0x0C, 0x30, 0x3C, 0x18, 0}}}) {
        IndexedImage destination = filled(6, 1, 0x3C);
        c.op(source, destination, 0, 0);
        EXPECT_EQ(destination.Pixels, c.expected);
    }
}

TEST(PutImage, XorTwiceRestoresAndLongRowsMatchPixelByPixel) {
    // Rows longer than a machine word, at an odd offset, exercise the word-at-a-time path.
    IndexedImage source = numbered(37, 5);
    IndexedImage destination = numbered(50, 9);
    const auto before = destination.Pixels;
    PutImageXor(source, destination, 3, 2);
    for (std::uint32_t y = 0; y < 9; ++y)
        for (std::uint32_t x = 0; x < 50; ++x) {
            bool inside = x >= 3 && x < 40 && y >= 2 && y < 7;
            std::uint8_t want = before[y * 50 + x];
            if (inside) want = std::uint8_t(want ^ source.at(x - 3, y - 2));
            ASSERT_EQ(destination.at(x, y), want) << x << "," << y;
        }
    PutImageXor(source, destination, 3, 2);
    EXPECT_EQ(destination.Pixels, before);
}

TEST(CopyImageRect, CutsGlyphAndClipsToDestination) {
    const IndexedImage strip = numbered(16, 48);
    IndexedImage glyph;
    CreateImage(glyph, 16, 16);
    // Rows 16..32 asked for; the 17th row is cut by the 16-row destination.
    CopyImageRect(strip, glyph, 0, 16, 15, 32, 0, 0);
    for (std::uint32_t y = 0; y < 16; ++y)
        for (std::uint32_t x = 0; x < 16; ++x) ASSERT_EQ(glyph.at(x, y), strip.at(x, y + 16));
}

TEST(CopyImageRect, NegativeTargetSkipsTheHiddenPartAndFarTargetDrawsNothing) {
    const IndexedImage source = numbered(8, 8);
    IndexedImage d = filled(6, 6, 0);
    CopyImageRect(source, d, 1, 1, 4, 4, -2, -1);  // source columns 3..4, rows 2..4 land at (0, 0)
    EXPECT_EQ(d.at(0, 0), source.at(3, 2));
    EXPECT_EQ(d.at(1, 2), source.at(4, 4));
    EXPECT_EQ(d.at(2, 0), 0);
    EXPECT_EQ(d.at(0, 3), 0);

    IndexedImage far = filled(6, 6, 0);
    CopyImageRect(source, far, 0, 0, 7, 7, 7, 0);
    CopyImageRect(source, far, 0, 0, 7, 7, 0, 7);
    CopyImageRect(source, far, 0, 0, 7, 7, 6, 0);  // dx equal to the width: nothing left to copy
    EXPECT_EQ(far.Pixels, std::vector<std::uint8_t>(36, 0));

    IndexedImage clip = filled(6, 6, 0);
    CopyImageRect(source, clip, 0, 0, 100, 100, 4, 4);  // limited to the source, then to the destination
    EXPECT_EQ(clip.at(5, 5), source.at(1, 1));
    EXPECT_EQ(clip.at(3, 3), 0);
}

TEST(PutPixelAndFill, IgnoreOutsideAndFillEverything) {
    IndexedImage image = filled(3, 3, 7);
    EXPECT_EQ(image.Pixels, std::vector<std::uint8_t>(9, 7));
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{3, 0}, std::pair{0, 3}}) PutPixel(x, y, 1, image);
    EXPECT_EQ(image.Pixels, std::vector<std::uint8_t>(9, 7));
    PutPixel(2, 1, 1, image);
    EXPECT_EQ(image.at(2, 1), 1);
    IndexedImage none;
    CreateImage(none, 0, 0);
    PutPixel(0, 0, 1, none);
    EXPECT_TRUE(none.Pixels.empty());
}

TEST(Sign, OfPositiveNegativeAndZero) {
    EXPECT_EQ(Sign(0.25), 1);
    EXPECT_EQ(Sign(-3), -1);
    EXPECT_EQ(Sign(0), 0);
}

// Records the order in which DrawLine sets pixels by giving each pixel its step number.
std::vector<std::pair<int, int>> linePoints(int x1, int y1, int x2, int y2) {
    IndexedImage image = filled(20, 20, 0);
    DrawLine(x1 + 5, y1 + 5, x2 + 5, y2 + 5, 1, image);
    std::vector<std::pair<int, int>> points;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (image.at(std::uint32_t(x), std::uint32_t(y)) == 1) points.emplace_back(x - 5, y - 5);
    return points;
}

TEST(DrawLine, BresenhamWithAxisInterchange) {
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(linePoints(0, 0, 3, 1), (P{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(linePoints(0, 0, 1, 3), (P{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(linePoints(2, 2, 2, 2), (P{{2, 2}}));
    EXPECT_EQ(linePoints(3, 1, 0, 0), (P{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));  // reverse direction
    EXPECT_EQ(linePoints(0, 0, 5, 2), (P{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
    EXPECT_EQ(linePoints(0, 0, 3, 3), (P{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST(DrawLine, RunsPartlyOutsideTheImage) {
    IndexedImage image = filled(4, 4, 0);
    DrawLine(-10, 1, 10, 1, 5, image);
    DrawLine(2, -100, 2, 100, 6, image);
    EXPECT_EQ(image.at(0, 1), 5);
    EXPECT_EQ(image.at(3, 1), 5);
    EXPECT_EQ(image.at(2, 1), 6);
    EXPECT_EQ(image.at(2, 3), 6);
    EXPECT_EQ(image.at(0, 0), 0);
}

// Horizontal and vertical lines are set in one run: every pixel between the end points that lies
// in the image, and nothing else, whichever way the line runs and however far outside it starts.
TEST(DrawLine, StraightLinesSetExactlyTheirPixelsInsideTheImage) {
    constexpr int kWidth = 7, kHeight = 5;
    for (int a = -3; a <= 9; ++a)
        for (int b = -3; b <= 9; ++b)
            for (int across = -2; across <= 7; ++across)
                for (const bool horizontal : {true, false}) {
                    IndexedImage image = filled(kWidth, kHeight, 0);
                    if (horizontal)
                        DrawLine(a, across, b, across, 7, image);
                    else
                        DrawLine(across, a, across, b, 7, image);
                    for (int y = 0; y < kHeight; ++y)
                        for (int x = 0; x < kWidth; ++x) {
                            const int along = horizontal ? x : y, other = horizontal ? y : x;
                            const bool on = other == across && along >= std::min(a, b) && along <= std::max(a, b);
                            ASSERT_EQ(image.at(std::uint32_t(x), std::uint32_t(y)), on ? 7 : 0)
                                << (horizontal ? "horizontal " : "vertical ") << a << ".." << b << " at " << across
                                << ": pixel " << x << "," << y;
                        }
                }
    // From one end of the coordinates to the other.
    IndexedImage image = filled(kWidth, kHeight, 0);
    DrawLine(std::numeric_limits<std::int32_t>::max(), 2, std::numeric_limits<std::int32_t>::min(), 2, 3, image);
    for (int x = 0; x < kWidth; ++x) EXPECT_EQ(image.at(std::uint32_t(x), 2), 3);
    EXPECT_EQ(image.at(0, 1), 0);
}

TEST(MakeGrid, PlanGridLinesAtEveryTenthPixelAndBackgroundOnTheLastRowAndColumn) {
    IndexedImage plan;
    MakeGrid(10, 10, 96, 96, 253, 209, plan);
    ASSERT_EQ(plan.Width, 962u);
    ASSERT_EQ(plan.Height, 962u);
    for (std::uint32_t y = 0; y < 962; ++y)
        for (std::uint32_t x = 0; x < 962; ++x) {
            bool line = (x % 10 == 0 && x <= 960) || (y % 10 == 0 && y <= 960);
            ASSERT_EQ(plan.at(x, y), line ? 253 : 209) << x << "," << y;
        }
}

TEST(DrawGrid, KeepsSizeAndClipsLinesOfALargerGrid) {
    IndexedImage image;
    CreateImage(image, 25, 12);
    FillImage(image, 1);
    DrawGrid(16, 16, 64, 3, 253, 209, image);  // a side view grid drawn into a smaller image
    EXPECT_EQ(image.Width, 25u);
    EXPECT_EQ(image.at(0, 5), 253);
    EXPECT_EQ(image.at(16, 5), 253);
    EXPECT_EQ(image.at(5, 0), 253);
    EXPECT_EQ(image.at(5, 5), 209);
    EXPECT_EQ(image.at(24, 11), 209);
}

TEST(MakeGrid, CellInsideIsBackground) {
    IndexedImage top;
    MakeGrid(20, 20, 5, 10, 253, 209, top);
    EXPECT_EQ(top.Width, 202u);
    EXPECT_EQ(top.Height, 102u);
    // cell (i, j) = (2, 1): inside x 41..59, y 21..39
    for (std::uint32_t y = 21; y <= 39; ++y)
        for (std::uint32_t x = 41; x <= 59; ++x) ASSERT_EQ(top.at(x, y), 209);
    EXPECT_EQ(top.at(40, 30), 253);
    EXPECT_EQ(top.at(60, 30), 253);
    EXPECT_EQ(top.at(50, 40), 253);
}

}  // namespace
}  // namespace cw
