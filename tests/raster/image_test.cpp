#include <gtest/gtest.h>

#include "raster/draw.h"
#include "raster/image.h"

namespace cw {
namespace {

// An image whose pixel at (x, y) holds a distinct value, so that moved pixels can be traced.
IndexedImage numbered(std::uint32_t w, std::uint32_t h, std::uint8_t base = 0) {
    IndexedImage image;
    CreateImage(image, w, h);
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x) image.Pixels[y * w + x] = std::uint8_t(base + y * 16 + x);
    return image;
}

TEST(IndexedImage, EmptyRecordIsInvalidAndIgnoredByEveryOperation) {
    IndexedImage empty;
    EXPECT_FALSE(IsValidImage(empty));
    FreeImage(empty);
    EXPECT_FALSE(IsValidImage(empty));

    IndexedImage live = numbered(4, 4);
    const auto before = live.Pixels;
    CopyPixels(empty, live);
    PutImage(empty, live, 0, 0);
    FillImage(empty, 9);
    EXPECT_EQ(live.Pixels, before);
}

TEST(IndexedImage, ValidityIsTheExactMarker) {
    IndexedImage image;
    CreateImage(image, 2, 2);
    EXPECT_TRUE(IsValidImage(image));
    for (const char* marker : {"valido", "VALID", "VALIDO ", ""}) {
        IndexedImage copy = image;
        copy.Marker = marker;
        EXPECT_FALSE(IsValidImage(copy)) << marker;
    }
}

TEST(IndexedImage, CreateReleasesOldPixelsAndPalette) {
    IndexedImage image = numbered(3, 3);
    auto palette = std::make_shared<PaletteBlock>();
    image.Palette = palette;
    CreateImage(image, 5, 2);
    EXPECT_EQ(image.Width, 5u);
    EXPECT_EQ(image.Height, 2u);
    EXPECT_EQ(image.Palette, nullptr);
    EXPECT_EQ(palette.use_count(), 1);  // the image let go of the block
    EXPECT_EQ(image.Pixels, std::vector<std::uint8_t>(10, 0));
}

TEST(IndexedImage, SharedPaletteOutlivesOneFreedImage) {
    auto palette = std::make_shared<PaletteBlock>();
    (*palette)[0] = 42;
    IndexedImage plan, working;
    CreateImage(plan, 2, 2);
    CreateImage(working, 2, 2);
    plan.Palette = palette;
    working.Palette = palette;
    palette.reset();
    FreeImage(plan);
    FreeImage(plan);  // freeing twice is harmless
    ASSERT_NE(working.Palette, nullptr);
    EXPECT_EQ((*working.Palette)[0], 42);
    EXPECT_EQ(plan.Width, 0u);
    EXPECT_TRUE(plan.Pixels.empty());
}

TEST(IndexedImage, CopyPixelsCopiesOneFlatBlock) {
    IndexedImage source = numbered(4, 4);
    IndexedImage destination;
    CreateImage(destination, 2, 2);
    CopyPixels(source, destination);
    // The source's whole first row becomes the destination's two rows.
    EXPECT_EQ(destination.Pixels, (std::vector<std::uint8_t>{0, 1, 2, 3}));
    EXPECT_EQ(destination.Width, 2u);

    IndexedImage big;
    CreateImage(big, 3, 3);
    CopyPixels(destination, big);
    EXPECT_EQ(big.Pixels, (std::vector<std::uint8_t>{0, 1, 2, 3, 0, 0, 0, 0, 0}));
}

TEST(IndexedImage, ScreenColoursMultiplyComponentsByFour) {
    PaletteBlock palette{};
    palette[3 * 5] = 63;
    palette[3 * 5 + 1] = 32;
    palette[3 * 5 + 2] = 1;
    const auto colours = ScreenColours(palette);
    EXPECT_EQ(colours[5], 0xFFFC8004u);
    EXPECT_EQ(colours[0], 0xFF000000u);
}

}  // namespace
}  // namespace cw
