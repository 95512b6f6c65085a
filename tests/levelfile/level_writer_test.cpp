// The level writer: dataWords, the zone count copy, the output kind by name, and the refusals
// that must leave an existing file intact.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "common/errors.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_test_support.h"
#include "levelfile/level_writer.h"

namespace cw::test {
namespace {

class LevelWriter : public LevelImageTest {};

TEST_F(LevelWriter, DataWordsCountTheMeshBlockInWords) {
    struct Case {
        int vertices, rectangles, triangles, sprites;
        std::uint32_t shortWords, longWords;
    };
    const Case cases[] = {
        {4, 1, 2, 0, 33, 41},  // (32 + 10 + 16 + 8) / 2 and (48 + 10 + 16 + 8) / 2
        {0, 0, 0, 0, 4, 4},
        {3, 0, 1, 1, 22, 28},  // (24 + 8 + 4 + 8) / 2 and (36 + 8 + 4 + 8) / 2
        {2000, 3000, 1250, 50, 28104, 32104},
    };
    for (const Case& c : cases) {
        LevelRoom& room = image().rooms[0];
        room.vertexCount = static_cast<std::uint16_t>(c.vertices);
        room.rectangleCount = static_cast<std::uint16_t>(c.rectangles);
        room.triangleCount = static_cast<std::uint16_t>(c.triangles);
        room.spriteCount = static_cast<std::uint16_t>(c.sprites);
        EXPECT_EQ(roomDataWords(room, false), c.shortWords) << c.vertices;
        EXPECT_EQ(roomDataWords(room, true), c.longWords) << c.vertices;
    }
}

TEST_F(LevelWriter, StoresDataWordsAndZoneCountItComputes) {
    const TestRoom rooms[] = {{.vertices = 4, .rectangles = 1, .triangles = 2, .sprites = 0}};
    for (int kind : {kKindTR1, kKindTR2}) {
        SCOPED_TRACE(kind);
        buildTestLevel(image(), kind, rooms);
        image().rooms[0].roomInfo.dataWords = 999;
        image().zoneCount = 1;
        const std::vector<std::uint8_t> bytes = serializeLevel(image(), kind);
        const std::uint32_t expected = kind == kKindTR1 ? 33 : 41;
        EXPECT_EQ(image().rooms[0].roomInfo.dataWords, expected);
        EXPECT_EQ(image().zoneCount, image().boxCount);
        std::vector<LevelChunk> chunks;
        ASSERT_EQ(parseLevel(bytes, image(), "out", "Test level", chunks), kReadOk);
        auto info = std::find_if(chunks.begin(), chunks.end(), [](const LevelChunk& c) { return c.name == "room 1 info"; });
        ASSERT_NE(info, chunks.end());
        EXPECT_EQ(peek32(bytes, info->offset + 16), expected);
        EXPECT_EQ(image().rooms[0].roomInfo.dataWords, expected);
        EXPECT_EQ(image().zoneCount, 3u);  // three boxes, three zones read back
    }
}

TEST_F(LevelWriter, OutputKindFollowsVersionAndOutputName) {
    TempDir dir;
    const TestRoom rooms[] = {{}};
    buildTestLevel(image(), kKindTR1, rooms);
    const std::vector<std::uint8_t> tr1 = serializeLevel(image(), kKindTR1);
    const std::vector<std::uint8_t> gold = serializeLevel(image(), kKindTR1Gold);
    ASSERT_NE(tr1, gold);
    // The image's own kind is not consulted: only the version word and the name.
    image().gameKind = kKindTR2;
    const std::pair<const char*, const std::vector<std::uint8_t>*> outputs[] = {
        {"out.phd", &tr1}, {"out.tub", &gold}, {"OUT.TUB", &gold}, {"out.Tub", &tr1}, {"out", &tr1}};
    for (const auto& [name, expected] : outputs) {
        ASSERT_EQ(writeLevel(image(), (dir / name).string()), kWriteOk) << name;
        EXPECT_TRUE(fileBytes(dir / name) == *expected) << name;
    }
}

TEST_F(LevelWriter, UnknownVersionWritesNothingAndKeepsTheFile) {
    TempDir dir;
    const auto target = dir / "keep.phd";
    const std::vector<std::uint8_t> old = {1, 2, 3, 4, 5};
    writeBytes(target, old);
    for (std::uint32_t version : {0u, 33u, 0xFF180039u}) {
        buildTestLevel(image(), kKindTR1, std::vector<TestRoom>(1));
        image().version = version;
        EXPECT_EQ(writeLevel(image(), target.string()), kWriteUnknownVersion) << version;
        EXPECT_EQ(image().version, 0u);
        EXPECT_EQ(fileBytes(target), old);
        EXPECT_EQ(dir.fileNames(), std::vector<std::string>{"keep.phd"});
        EXPECT_EQ(writeLevel(image(), (dir / "new.phd").string()), kWriteUnknownVersion);
        EXPECT_FALSE(std::filesystem::exists(dir / "new.phd"));
    }
}

TEST_F(LevelWriter, CountPastItsCapacityIsRefusedAndKeepsTheFile) {
    struct Case {
        const char* message;
        void (*damage)(LevelImage&);
    };
    const Case cases[] = {
        {"Level has 2501 boxes; at most 2500 are supported", [](LevelImage& i) { i.boxCount = 2501; }},
        {"Level has 301 items; at most 300 are supported", [](LevelImage& i) { i.itemCount = 301; }},
        {"Level has 7001 overlaps; at most 7000 are supported", [](LevelImage& i) { i.overlaps.count = 7001; }},
        {"Level has 18002 floor data words; at most 18001 are supported", [](LevelImage& i) { i.floorData.count = 18002; }},
        {"Level has 16 cameras; at most 15 are supported", [](LevelImage& i) { i.cameras.count = 16; }},
        {"Level has 256 rooms; at most 255 are supported", [](LevelImage& i) { i.roomCount = 256; }},
        {"Level has 2001 vertices in room 1; at most 2000 are supported", [](LevelImage& i) { i.rooms[0].vertexCount = 2001; }},
        {"Level has 1089 sectors in room 1; at most 1024 are supported",
         [](LevelImage& i) { i.rooms[0].grid.numZ = 33; i.rooms[0].grid.numX = 33; }},
        {"Level has 36 lights in room 1; at most 35 are supported", [](LevelImage& i) { i.rooms[0].lightCount = 36; }},
        {"Level has 16001 demo data bytes; at most 16000 are supported", [](LevelImage& i) { i.demoData.count = 16001; }},
    };
    TempDir dir;
    const auto target = dir / "keep.phd";
    const std::vector<std::uint8_t> old = {9, 8, 7};
    writeBytes(target, old);
    for (const Case& c : cases) {
        buildTestLevel(image(), kKindTR1, std::vector<TestRoom>(1));
        c.damage(image());
        image().rooms[0].roomInfo.dataWords = 999;
        image().zoneCount = 7;
        try {
            writeLevel(image(), target.string());
            ADD_FAILURE() << "written: " << c.message;
        } catch (const FormatError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(image().rooms[0].roomInfo.dataWords, 999u) << "the refused image was changed";
        EXPECT_EQ(image().zoneCount, 7u) << "the refused image was changed";
        EXPECT_EQ(fileBytes(target), old);
        EXPECT_EQ(dir.fileNames(), std::vector<std::string>{"keep.phd"});
    }
}

TEST_F(LevelWriter, LongFormRoomHoldsFifteenLights) {
    buildTestLevel(image(), kKindTR2, std::vector<TestRoom>(1));
    image().rooms[0].lightCount = 15;
    EXPECT_NO_THROW(serializeLevel(image(), kKindTR2));
    image().rooms[0].lightCount = 16;
    EXPECT_THROW(serializeLevel(image(), kKindTR2), FormatError);
    EXPECT_NO_THROW(serializeLevel(image(), kKindTR1));  // 16 short-form lights fit the same storage
}

TEST_F(LevelWriter, BlocksSmallerThanTheirSizesAreRefused) {
    buildTestLevel(image(), kKindTR2, {});
    image().textileCount = 2;  // one page held
    image().textileBytes = 2 * 65536;
    EXPECT_THROW(serializeLevel(image(), kKindTR2), FormatError);
    buildTestLevel(image(), kKindTR1, {});
    image().sampleBytes = 12;  // eleven bytes held
    EXPECT_THROW(serializeLevel(image(), kKindTR1), FormatError);
    EXPECT_THROW(serializeLevel(image(), kKindNone), std::invalid_argument);
}

TEST_F(LevelWriter, FailedWriteLeavesNoFile) {
    TempDir dir;
    buildTestLevel(image(), kKindTR1, std::vector<TestRoom>(1));
    EXPECT_THROW(writeLevel(image(), (dir / "no-such-folder" / "out.phd").string()), IoError);
    EXPECT_TRUE(dir.fileNames().empty());
}

}  // namespace
}  // namespace cw::test
