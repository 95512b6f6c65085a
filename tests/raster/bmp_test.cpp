#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "raster/bmp.h"
#include "raster/draw.h"

namespace cw {
namespace {

// A well-formed 8-bit BMP of w x h pixels with rows of rowLength bytes in the file; pixel
// (x, file row r) holds r * 16 + x; colour i of the table is (blue i, green 255 - i, red i / 2).
std::vector<std::uint8_t> makeBmp(std::int32_t w, std::int32_t h, std::uint32_t rowLength) {
    ByteWriter b;
    const std::uint32_t size = kBmpPixelOffset + rowLength * std::uint32_t(h);
    b.u8('B');
    b.u8('M');
    b.u32(size);
    b.u32(0);
    b.u32(kBmpPixelOffset);
    b.u32(40);
    b.i32(w);
    b.i32(h);
    b.u16(1);
    b.u16(8);
    b.u32(0);
    b.u32(0);
    b.i32(0);
    b.i32(0);
    b.u32(256);
    b.u32(0);
    for (int i = 0; i < 256; ++i) {
        b.u8(std::uint8_t(i));
        b.u8(std::uint8_t(255 - i));
        b.u8(std::uint8_t(i / 2));
        b.u8(0);
    }
    for (std::uint32_t r = 0; r < std::uint32_t(h); ++r)
        for (std::uint32_t x = 0; x < rowLength; ++x) b.u8(std::uint8_t(r * 16 + x));
    return b.take();
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) { std::memcpy(&bytes[at], &v, 4); }

TEST(LoadBmp, UsesFileSizeForRowLengthAndFlipsRows) {
    // 10 x 2 with a file size of 1078 + 24: rows of 12 bytes; the file's second row is image row 0.
    auto bytes = makeBmp(10, 2, 12);
    IndexedImage image;
    LoadBmpBytes(bytes, image, "test");
    ASSERT_TRUE(IsValidImage(image));
    ASSERT_EQ(image.Width, 10u);
    ASSERT_EQ(image.Height, 2u);
    for (std::uint32_t x = 0; x < 10; ++x) {
        EXPECT_EQ(image.at(x, 0), 16 + x);
        EXPECT_EQ(image.at(x, 1), x);
    }
    ASSERT_NE(image.Palette, nullptr);
}

TEST(LoadBmp, ShorterFileSizeFieldGivesShorterRowsWhileTheyHoldTheWidth) {
    auto bytes = makeBmp(10, 2, 12);
    put32(bytes, 2, kBmpPixelOffset + 21);  // R = 21 / 2 = 10
    IndexedImage image;
    LoadBmpBytes(bytes, image, "test");
    // The second image row now starts 10 bytes into the file's pixels.
    for (std::uint32_t x = 0; x < 10; ++x) EXPECT_EQ(image.at(x, 1), x);
    EXPECT_EQ(image.at(0, 0), 10);
}

TEST(LoadPalette, DropsTheLowTwoBitsOfEachComponent) {
    auto bytes = makeBmp(4, 1, 4);
    // Entry 3: blue 255, green 128, red 4.
    bytes[54 + 12] = 255;
    bytes[54 + 13] = 128;
    bytes[54 + 14] = 4;
    PaletteBlock palette{};
    LoadPaletteBytes(bytes, palette, "test");
    EXPECT_EQ(palette[9], 1);
    EXPECT_EQ(palette[10], 32);
    EXPECT_EQ(palette[11], 63);
    // Entry 200: blue 200, green 55, red 100.
    EXPECT_EQ(palette[600], 25);
    EXPECT_EQ(palette[601], 13);
    EXPECT_EQ(palette[602], 50);
}

TEST(LoadBmp, RefusesWhatItCannotReadAndLeavesTheImageAlone) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> spoil;
    };
    const std::vector<Case> cases = {
        {"signature", [](auto& b) { b[0] = 'X'; }},
        {"24 bits per pixel", [](auto& b) { b[28] = 24; }},
        {"compressed", [](auto& b) { put32(b, 30, 1); }},
        {"108-byte header", [](auto& b) { put32(b, 14, 108); }},
        {"16-colour table", [](auto& b) { put32(b, 46, 16); }},
        {"pixels elsewhere", [](auto& b) { put32(b, 10, 1080); }},
        {"height 0", [](auto& b) { put32(b, 22, 0); }},
        {"top-down rows", [](auto& b) { put32(b, 22, std::uint32_t(-2)); }},
        {"width 0", [](auto& b) { put32(b, 18, 0); }},
        {"size field past the end", [](auto& b) { put32(b, 2, std::uint32_t(b.size() + 1)); }},
        {"rows shorter than the width", [](auto& b) { put32(b, 2, kBmpPixelOffset + 19); }},
        {"file cut inside the colour table", [](auto& b) { b.resize(600); }},
    };
    for (const Case& c : cases) {
        auto bytes = makeBmp(10, 2, 12);
        c.spoil(bytes);
        IndexedImage image;
        CreateImage(image, 3, 3);
        FillImage(image, 5);
        EXPECT_THROW(LoadBmpBytes(bytes, image, "test"), FormatError) << c.what;
        EXPECT_EQ(image.Width, 3u) << c.what;
        EXPECT_EQ(image.Pixels, std::vector<std::uint8_t>(9, 5)) << c.what;
    }
}

TEST(LoadBmp, MissingFileIsAnInputOutputError) {
    IndexedImage image;
    EXPECT_THROW(LoadBmp("/nonexistent/folder/x.bmp", image), IoError);
    PaletteBlock palette{};
    EXPECT_THROW(LoadPalette("/nonexistent/folder/x.bmp", palette), IoError);
}

TEST(SaveBmp, RoundTripsThroughLoadBmp) {
    IndexedImage image;
    CreateImage(image, 7, 3);  // odd width: rows padded to 8 bytes in the file
    for (std::uint32_t i = 0; i < 21; ++i) image.Pixels[i] = std::uint8_t(i * 11);
    image.Palette = std::make_shared<PaletteBlock>();
    for (std::size_t i = 0; i < 768; ++i) (*image.Palette)[i] = std::uint8_t(i % 64);
    const auto path = std::filesystem::temp_directory_path() / "cw_bmp_roundtrip.bmp";
    SaveBmp(path, image);
    IndexedImage loaded;
    LoadBmp(path, loaded);
    std::filesystem::remove(path);
    EXPECT_EQ(loaded.Width, 7u);
    EXPECT_EQ(loaded.Height, 3u);
    EXPECT_EQ(loaded.Pixels, image.Pixels);
    EXPECT_EQ(*loaded.Palette, *image.Palette);
}

}  // namespace
}  // namespace cw
