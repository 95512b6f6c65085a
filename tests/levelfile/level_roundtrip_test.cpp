// Reading a level and writing it back: the real levels of the three games, the Tomb Raider 1 <->
// Gold conversion, and small synthetic levels of all four kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "common/errors.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_test_support.h"
#include "levelfile/level_writer.h"

namespace cw::test {
namespace {

class RealLevelRoundTrip : public LevelImageTest {};

struct RealLevel {
    const char* name;
    std::uint32_t version;
    int kind;
    std::uint16_t rooms;
};

TEST_F(RealLevelRoundTrip, EachRealLevelIsWrittenBackByteForByte) {
    const RealLevel levels[] = {
        {kRealTR1, kVersionTR1, kKindTR1, 10},
        {kRealTR2, kVersionTR2, kKindTR2, 5},
        {kRealTR3, kVersionTR3b, kKindTR3, 4},
    };
    TempDir dir;
    int found = 0;
    for (const RealLevel& level : levels) {
        SCOPED_TRACE(level.name);
        const std::string path = realLevelPath(level.name);
        if (path.empty()) continue;
        ++found;
        const std::vector<std::uint8_t> original = fileBytes(path);
        std::vector<LevelChunk> chunks;
        ASSERT_EQ(parseLevel(original, image(), path, "Base level", chunks), kReadOk);
        EXPECT_EQ(chunks.back().offset, original.size()) << "read to the last byte";
        ASSERT_EQ(readBaseLevel(image(), path), kReadOk);
        EXPECT_EQ(image().version, level.version);
        EXPECT_EQ(image().gameKind, level.kind);
        EXPECT_EQ(image().roomCount, level.rooms);
        // Zones follow the boxes, with no count of their own in the file.
        EXPECT_EQ(image().zoneCount, image().boxCount);

        const auto out = dir / level.name;
        ASSERT_EQ(writeLevel(image(), out.string()), kWriteOk);
        EXPECT_TRUE(fileBytes(out) == original) << "written level differs from the original";
    }
    if (found == 0) GTEST_SKIP() << "no real levels in " << CW_TEST_LEVELS_DIR;
}

TEST_F(RealLevelRoundTrip, Tr1WrittenAsGoldAndBackGivesTheOriginalBytes) {
    const std::string path = realLevelPath(kRealTR1);
    if (path.empty()) GTEST_SKIP() << "no " << kRealTR1;
    const std::vector<std::uint8_t> original = fileBytes(path);
    std::vector<LevelChunk> tr1Chunks;
    ASSERT_EQ(parseLevel(original, image(), path, "Base level", tr1Chunks), kReadOk);
    const std::array<std::uint8_t, 768> palette = image().palette;

    TempDir dir;
    const auto gold = dir / "out.tub";
    ASSERT_EQ(writeLevel(image(), gold.string()), kWriteOk);
    const std::vector<std::uint8_t> goldBytes = fileBytes(gold);

    // The Gold file holds the same bytes with the palette moved from after the light map to
    // after the sprite sequences.
    const auto at = [&tr1Chunks](const std::string& name) {
        auto it = std::find_if(tr1Chunks.begin(), tr1Chunks.end(), [&](const LevelChunk& c) { return c.name == name; });
        EXPECT_NE(it, tr1Chunks.end()) << name;
        return it == tr1Chunks.end() ? std::size_t{0} : it->offset;
    };
    const std::size_t cameras = at("cameras");
    const std::size_t tr1Palette = at("palette");
    ASSERT_EQ(goldBytes.size(), original.size());
    ASSERT_LT(cameras, tr1Palette);
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + cameras, goldBytes.begin()));
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), goldBytes.begin() + cameras));
    EXPECT_TRUE(std::equal(original.begin() + cameras, original.begin() + tr1Palette, goldBytes.begin() + cameras + 768));
    EXPECT_TRUE(std::equal(original.begin() + tr1Palette + 768, original.end(), goldBytes.begin() + tr1Palette + 768));

    ASSERT_EQ(readBaseLevel(image(), gold.string()), kReadOk);
    EXPECT_EQ(image().gameKind, kKindTR1Gold);
    EXPECT_EQ(image().palette, palette);
    const auto back = dir / "back.phd";
    ASSERT_EQ(writeLevel(image(), back.string()), kWriteOk);
    EXPECT_TRUE(fileBytes(back) == original);
}

class SyntheticRoundTrip : public LevelImageTest {};

// Writes the synthetic level, reads it back (the whole file), and writes it again: both writes
// must agree.
void expectRoundTrip(LevelImage& image, int kind, const std::string& name) {
    const std::vector<std::uint8_t> first = serializeLevel(image, kind);
    std::vector<LevelChunk> chunks;
    ASSERT_EQ(parseLevel(first, image, name, "Test level", chunks), kReadOk);
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks.back().name, "end of level");
    EXPECT_EQ(chunks.back().offset, first.size());
    EXPECT_EQ(image.gameKind, kind);
    EXPECT_EQ(serializeLevel(image, kind), first);
}

TEST_F(SyntheticRoundTrip, ZeroRoomsHeaderThenLevelWideChunks) {
    for (int kind : {kKindTR1, kKindTR1Gold, kKindTR2, kKindTR3}) {
        SCOPED_TRACE(kind);
        buildTestLevel(image(), kind, {});
        const std::vector<std::uint8_t> bytes = serializeLevel(image(), kind);
        std::vector<LevelChunk> chunks;
        ASSERT_EQ(parseLevel(bytes, image(), kind == kKindTR1Gold ? "zero.tub" : "zero.phd", "Test level", chunks),
                  kReadOk);
        EXPECT_EQ(image().roomCount, 0);
        // The room count is followed directly by the floor data.
        ASSERT_GE(chunks.size(), 2u);
        auto rooms = std::find_if(chunks.begin(), chunks.end(), [](const LevelChunk& c) { return c.name == "rooms"; });
        ASSERT_NE(rooms, chunks.end());
        ASSERT_NE(rooms + 1, chunks.end());
        EXPECT_EQ((rooms + 1)->name, "floor data words");
        EXPECT_EQ((rooms + 1)->offset, rooms->offset + 2);
        EXPECT_EQ(serializeLevel(image(), kind), bytes);
    }
}

TEST_F(SyntheticRoundTrip, EveryKindWithRoomsOfSeveralShapes) {
    const TestRoom rooms[] = {
        {},
        {.vertices = 0, .rectangles = 0, .triangles = 0, .sprites = 0, .portals = 0, .numZ = 3, .numX = 3,
         .lights = 0, .staticMeshes = 0},
        {.vertices = 2000, .rectangles = 3000, .triangles = 1250, .sprites = 50, .portals = 20, .numZ = 32,
         .numX = 32, .lights = 15, .staticMeshes = 50},
    };
    const std::pair<int, const char*> kinds[] = {
        {kKindTR1, "level.phd"}, {kKindTR1Gold, "level.tub"}, {kKindTR2, "level.tr2"}, {kKindTR3, "level.tr2"}};
    for (const auto& [kind, name] : kinds) {
        SCOPED_TRACE(name);
        buildTestLevel(image(), kind, rooms);
        expectRoundTrip(image(), kind, name);
        EXPECT_EQ(image().roomCount, 3);
        EXPECT_EQ(image().rooms[1].vertexCount, 0);
        EXPECT_EQ(image().rooms[1].roomInfo.dataWords, 4u);  // the four counts only
        EXPECT_EQ(image().rooms[2].vertexCount, 2000);
        // A slot beyond the room count stays zero.
        EXPECT_EQ(image().rooms[3].roomInfo.x, 0);
        EXPECT_EQ(image().rooms[3].vertexCount, 0);
    }
}

TEST_F(SyntheticRoundTrip, ShortFormRoomHoldsThirtyFiveLights) {
    const TestRoom rooms[] = {{.lights = 35}};
    for (int kind : {kKindTR1, kKindTR1Gold}) {
        buildTestLevel(image(), kind, rooms);
        expectRoundTrip(image(), kind, kind == kKindTR1Gold ? "l.tub" : "l.phd");
        EXPECT_EQ(image().rooms[0].lightCount, 35);
    }
}

TEST_F(SyntheticRoundTrip, GoldPaletteStandsAfterTheSpriteSequences) {
    const TestRoom rooms[] = {{}};
    buildTestLevel(image(), kKindTR1Gold, rooms);
    const std::array<std::uint8_t, 768> palette = image().palette;
    const std::vector<std::uint8_t> gold = serializeLevel(image(), kKindTR1Gold);
    std::vector<LevelChunk> chunks;
    ASSERT_EQ(parseLevel(gold, image(), "C:\\GAME\\DATA\\LEVEL1.TUB", "Test level", chunks), kReadOk);
    EXPECT_EQ(image().gameKind, kKindTR1Gold);
    EXPECT_EQ(image().palette, palette);

    std::vector<std::string> order;
    for (const LevelChunk& c : chunks) order.push_back(c.name);
    const auto sequences = std::find(order.begin(), order.end(), "sprite sequences");
    ASSERT_NE(sequences, order.end());
    ASSERT_LT(sequences + 2, order.end());
    EXPECT_EQ(*(sequences + 1), "palette");
    EXPECT_EQ(*(sequences + 2), "cameras");
    EXPECT_EQ(std::count(order.begin(), order.end(), "palette"), 1);
    const std::size_t paletteAt = chunks[static_cast<std::size_t>(sequences + 1 - order.begin())].offset;
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), gold.begin() + static_cast<std::ptrdiff_t>(paletteAt)));

    // The same image written as Tomb Raider 1 puts the palette after the light map instead.
    std::vector<LevelChunk> tr1Chunks;
    const std::vector<std::uint8_t> tr1 = serializeLevel(image(), kKindTR1);
    ASSERT_EQ(parseLevel(tr1, image(), "level1.phd", "Test level", tr1Chunks), kReadOk);
    auto lightMap = std::find_if(tr1Chunks.begin(), tr1Chunks.end(), [](const LevelChunk& c) { return c.name == "light map"; });
    ASSERT_NE(lightMap, tr1Chunks.end());
    ASSERT_NE(lightMap + 1, tr1Chunks.end());
    EXPECT_EQ((lightMap + 1)->name, "palette");
    EXPECT_EQ(image().palette, palette);
}

}  // namespace
}  // namespace cw::test
