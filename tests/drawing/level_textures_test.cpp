#include "drawing/level_textures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"

using namespace cw;

namespace {

constexpr std::size_t kTexels = 256 * 256;

// One 20-byte object texture record: attribute, page word, four corners of
// {column fraction, column, row fraction, row}.
struct TextureRecord {
    std::uint16_t attribute = 0;
    std::uint16_t pageWord = 0;
    std::array<std::array<std::uint8_t, 4>, 4> corners{};
};

void putRecord(LevelImage& image, const TextureRecord& r) {
    std::uint8_t* at = image.objectTextures.bytes.data() + 20 * image.objectTextures.count;
    at[0] = std::uint8_t(r.attribute);
    at[1] = std::uint8_t(r.attribute >> 8);
    at[2] = std::uint8_t(r.pageWord);
    at[3] = std::uint8_t(r.pageWord >> 8);
    for (std::size_t c = 0; c < 4; ++c)
        for (std::size_t b = 0; b < 4; ++b) at[4 + 4 * c + b] = r.corners[c][b];
    ++image.objectTextures.count;
}

// A rectangle over texels columns c0..c1, rows r0..r1 (corner order: top left, top right,
// bottom right, bottom left; fractions as the game stores them).
TextureRecord rectangle(std::uint16_t attribute, std::uint16_t pageWord, std::uint8_t c0, std::uint8_t r0,
                        std::uint8_t c1, std::uint8_t r1) {
    return {attribute, pageWord, {{{1, c0, 1, r0}, {255, c1, 1, r0}, {255, c1, 255, r1}, {1, c0, 255, r1}}}};
}

// A triangle: top left, top right, bottom right; fourth corner all zero.
TextureRecord triangle(std::uint16_t pageWord, std::uint8_t c0, std::uint8_t r0, std::uint8_t c1, std::uint8_t r1) {
    return {0, pageWord, {{{1, c0, 1, r0}, {255, c1, 1, r0}, {255, c1, 255, r1}, {0, 0, 0, 0}}}};
}

std::uint32_t at(const ColourPicture& p, int x, int y) { return p.argb[std::size_t(y) * std::size_t(p.width) + std::size_t(x)]; }

bool isChecker(std::uint32_t argb) { return argb == kCheckerLight || argb == kCheckerDark; }

// A small level of one kind: two pages whose texels are set by the test, three object textures.
class LevelTexturesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { image_ = std::make_unique<LevelImage>(); }
    static void TearDownTestSuite() { image_.reset(); }
    void SetUp() override { resetLevelImage(*image_); }

    LevelImage& image() { return *image_; }

    // Two 8-bit pages (all index 0), the palette 0-filled but for the entries set.
    void makeEightBit(int kind) {
        image().gameKind = kind;
        image().version = kVersionTR1;
        image().textileCount = 2;
        image().textileBytes = 2 * kTexels;
        image().textiles8.assign(2 * kTexels, 0);
    }
    // Two 16-bit pages (all 0) and their 8-bit twins, whose texels must not be used.
    void makeSixteenBit(int kind) {
        image().gameKind = kind;
        image().version = kind == kKindTR2 ? kVersionTR2 : kVersionTR3b;
        image().textileCount = 2;
        image().textileBytes = 2 * kTexels;
        image().textiles8.assign(2 * kTexels, 7);
        image().textiles16.assign(4 * kTexels, 0);
    }
    void put8(int page, int column, int row, std::uint8_t index) {
        image().textiles8[std::size_t(page) * kTexels + std::size_t(row) * 256 + std::size_t(column)] = index;
    }
    void put16(int page, int column, int row, std::uint16_t texel) {
        const std::size_t i = 2 * (std::size_t(page) * kTexels + std::size_t(row) * 256 + std::size_t(column));
        image().textiles16[i] = std::uint8_t(texel);
        image().textiles16[i + 1] = std::uint8_t(texel >> 8);
    }
    void paletteEntry(int index, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        image().palette[3 * std::size_t(index)] = r;
        image().palette[3 * std::size_t(index) + 1] = g;
        image().palette[3 * std::size_t(index) + 2] = b;
    }

private:
    static std::unique_ptr<LevelImage> image_;
};

std::unique_ptr<LevelImage> LevelTexturesTest::image_;

// The same texel colours reached through each page form: 8-bit pages through the 6-bit palette
// (Tomb Raider 1 and Gold), 16-bit pages (Tomb Raider 2 and 3).
TEST_F(LevelTexturesTest, PagesDecodeToKnownColoursForEveryKind) {
    struct Case {
        int kind;
        bool sixteen;
    };
    for (const Case c : {Case{kKindTR1, false}, Case{kKindTR1Gold, false}, Case{kKindTR2, true}, Case{kKindTR3, true}}) {
        SCOPED_TRACE(c.kind);
        resetLevelImage(image());
        if (c.sixteen) {
            makeSixteenBit(c.kind);
            put16(0, 0, 0, 0x8000 | (31 << 10));           // opaque pure red
            put16(0, 255, 0, 0x8000 | (16 << 5) | 1);      // green 16 -> 132, blue 1 -> 8
            put16(1, 3, 200, 0x8000 | (1 << 10) | 31);     // second page: red 1 -> 8, blue 31
            put16(1, 4, 200, 0x7FFF);                      // white without the alpha bit
        } else {
            makeEightBit(c.kind);
            paletteEntry(0, 63, 63, 63);  // index 0 is transparent whatever its colour
            paletteEntry(5, 63, 0, 0);
            paletteEntry(6, 0, 33, 2);  // 33 -> 134, 2 -> 8
            paletteEntry(7, 1, 0, 63);
            put8(0, 0, 0, 5);
            put8(0, 255, 0, 6);
            put8(1, 3, 200, 7);
            put8(1, 4, 200, 0);
        }
        BaseTextures textures;
        decodeBaseTextures(image(), textures);
        EXPECT_EQ(textures.kind, c.kind);
        ASSERT_EQ(textures.pages.size(), 2u);
        for (const ColourPicture& page : textures.pages) {
            EXPECT_EQ(page.width, 256);
            EXPECT_EQ(page.height, 256);
            ASSERT_EQ(page.argb.size(), kTexels);
        }
        EXPECT_EQ(at(textures.pages[0], 0, 0), 0xFFFF0000u);
        EXPECT_EQ(at(textures.pages[0], 255, 0), c.sixteen ? 0xFF008408u : 0xFF008608u);
        EXPECT_EQ(at(textures.pages[1], 3, 200), c.sixteen ? 0xFF0800FFu : 0xFF0400FFu);
        EXPECT_EQ(at(textures.pages[1], 4, 200) >> 24, 0u) << "transparent texel";
        EXPECT_EQ(at(textures.pages[1], 5, 200) >> 24, 0u) << "index 0 / alpha 0 everywhere else";
    }
}

// Object textures: attribute, page (low 14 bits), corners and the triangle mark, and their
// thumbnails: corners on the square's corners, transparent texels as checker only where the
// attribute asks for it.
TEST_F(LevelTexturesTest, ObjectTexturesAndTheirThumbnails) {
    makeSixteenBit(kKindTR2);
    // Page 1, texels (10..11, 20..21): red, green / blue, transparent.
    put16(1, 10, 20, 0x8000 | (31 << 10));
    put16(1, 11, 20, 0x8000 | (31 << 5));
    put16(1, 10, 21, 0x8000 | 31);
    put16(1, 11, 21, 0x0000);
    putRecord(image(), rectangle(kTextureTransparentTexels, 0xC001, 10, 20, 11, 21));  // flag bits above the page
    putRecord(image(), rectangle(kTextureOpaque, 1, 10, 20, 11, 21));
    putRecord(image(), triangle(1, 10, 20, 11, 21));
    putRecord(image(), rectangle(kTextureOpaque, 9, 0, 0, 1, 1));  // a page the level lacks

    BaseTextures textures;
    decodeBaseTextures(image(), textures);
    ASSERT_EQ(textures.objects.size(), 4u);
    const ObjectTextureInfo& first = textures.objects[0];
    EXPECT_EQ(first.attribute, kTextureTransparentTexels);
    EXPECT_EQ(first.page, 1);
    EXPECT_FALSE(first.triangle);
    const std::array<std::array<std::uint8_t, 2>, 4> corners{{{10, 20}, {11, 20}, {11, 21}, {10, 21}}};
    EXPECT_EQ(first.corners, corners);
    EXPECT_TRUE(textures.objects[2].triangle);

    const ColourPicture transparent = objectTextureThumbnail(textures, 0, 16);
    ASSERT_EQ(transparent.width, 16);
    ASSERT_EQ(transparent.height, 16);
    ASSERT_EQ(transparent.argb.size(), 256u);
    EXPECT_EQ(at(transparent, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(at(transparent, 15, 0), 0xFF00FF00u);
    EXPECT_EQ(at(transparent, 0, 15), 0xFF0000FFu);
    EXPECT_TRUE(isChecker(at(transparent, 15, 15)));
    // Each texel covers a quarter of the square.
    EXPECT_EQ(at(transparent, 6, 6), 0xFFFF0000u);
    EXPECT_EQ(at(transparent, 9, 6), 0xFF00FF00u);

    const ColourPicture opaque = objectTextureThumbnail(textures, 1, 16);
    EXPECT_EQ(at(opaque, 15, 15), 0xFF000000u) << "an opaque texture draws its transparent texel's colour";

    const ColourPicture tri = objectTextureThumbnail(textures, 2, 16);
    EXPECT_EQ(at(tri, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(at(tri, 15, 0), 0xFF00FF00u);
    EXPECT_TRUE(isChecker(at(tri, 0, 15))) << "below the triangle's diagonal";

    const ColourPicture missingPage = objectTextureThumbnail(textures, 3, 8);
    ASSERT_EQ(missingPage.argb.size(), 64u);
    EXPECT_TRUE(std::all_of(missingPage.argb.begin(), missingPage.argb.end(), isChecker));

    for (const int past : {4, 2500, -1}) {
        const ColourPicture none = objectTextureThumbnail(textures, past, 16);
        EXPECT_EQ(none.width, 0) << past;
        EXPECT_TRUE(none.argb.empty()) << past;
    }
}

// Tomb Raider 1: a transparent texture shows palette index 0 as checker; the palette's colours
// reach the thumbnail.
TEST_F(LevelTexturesTest, EightBitThumbnailThroughThePalette) {
    makeEightBit(kKindTR1);
    paletteEntry(9, 0, 63, 0);
    put8(0, 100, 50, 9);  // texel (101, 50) stays index 0
    putRecord(image(), rectangle(kTextureTransparentTexels, 0, 100, 50, 101, 50));
    BaseTextures textures;
    decodeBaseTextures(image(), textures);
    const ColourPicture p = objectTextureThumbnail(textures, 0, 4);
    EXPECT_EQ(at(p, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(at(p, 0, 3), 0xFF00FF00u);
    EXPECT_TRUE(isChecker(at(p, 3, 0)));
    EXPECT_TRUE(isChecker(at(p, 3, 3)));
}

// What no level gives: no kind, and a block shorter than its count says (only whole pages).
TEST_F(LevelTexturesTest, NothingOrPartOfALevel) {
    BaseTextures textures;
    textures.kind = kKindTR2;
    textures.pages.resize(3);
    textures.objects.resize(3);
    decodeBaseTextures(image(), textures);  // a reset image: kind 0
    EXPECT_EQ(textures.kind, kKindNone);
    EXPECT_TRUE(textures.pages.empty());
    EXPECT_TRUE(textures.objects.empty());

    makeEightBit(kKindTR1);
    image().textileCount = 3;  // the block holds two
    decodeBaseTextures(image(), textures);
    EXPECT_EQ(textures.pages.size(), 2u);
}

// The real levels: every page decoded, pages that are pictures (many colours), object textures
// that name pages the level has.
TEST(LevelTexturesRealLevels, DecodeEveryPage) {
    const std::filesystem::path dir = CW_TEST_LEVELS_DIR;
    const auto image = std::make_unique<LevelImage>();
    int seen = 0;
    for (const char* name : {"TR1-TEST1.PHD", "TR2-TEST1.TR2", "TR3-TEST1.TR2"}) {
        const std::filesystem::path path = dir / name;
        if (!std::filesystem::exists(path)) continue;
        SCOPED_TRACE(name);
        ++seen;
        ASSERT_EQ(readBaseLevel(*image, path.string()), kReadOk);
        BaseTextures textures;
        decodeBaseTextures(*image, textures);
        EXPECT_EQ(textures.kind, image->gameKind);
        ASSERT_GT(image->textileCount, 0u);
        EXPECT_EQ(textures.pages.size(), image->textileCount);
        EXPECT_EQ(textures.objects.size(), image->objectTextures.count);
        EXPECT_GT(textures.objects.size(), 100u);
        for (const ColourPicture& page : textures.pages) {
            const std::set<std::uint32_t> colours(page.argb.begin(), page.argb.end());
            EXPECT_GT(colours.size(), 16u) << "a page of few colours is no picture";
        }
        for (const ObjectTextureInfo& t : textures.objects) ASSERT_LT(t.page, textures.pages.size());
        // A thumbnail of each texture is a picture too.
        int varied = 0;
        for (std::size_t i = 0; i < textures.objects.size(); ++i) {
            const ColourPicture p = objectTextureThumbnail(textures, int(i), 16);
            const std::set<std::uint32_t> colours(p.argb.begin(), p.argb.end());
            if (colours.size() > 4) ++varied;
        }
        EXPECT_GT(varied, int(textures.objects.size()) / 2);
    }
    if (seen == 0) GTEST_SKIP() << "no real levels in " << dir;
}

}  // namespace
