// The base level reader: the kind told by version and name, the refusals (unknown version,
// missing file, short file, counts past their capacity) and the derived record forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <array>
#include <set>

#include "common/errors.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_test_support.h"
#include "levelfile/level_writer.h"

namespace cw::test {
namespace {

TEST(GameKind, ToldByVersionAndName) {
    struct Case {
        std::uint32_t version;
        const char* path;
        int kind;
    };
    const Case cases[] = {
        {32, "level1.phd", kKindTR1},
        {32, "C:\\DATA\\LEVEL1.TUB", kKindTR1Gold},
        {32, "gold.tub", kKindTR1Gold},
        {32, "data.Tub", kKindTR1},             // only the two spellings count
        {32, "my.tub/level1.phd", kKindTR1Gold},  // anywhere in the path
        {32, "level.tubx", kKindTR1Gold},
        {32, "leveltub", kKindTR1},
        {32, "", kKindTR1},
        {45, "level.tub", kKindTR2},
        {45, "wall.tr2", kKindTR2},
        {0xFF080038, "level.tr2", kKindTR3},
        {0xFF180038, "level.tub", kKindTR3},
        {33, "level1.phd", kKindNone},
        {0, "level1.phd", kKindNone},
        {0xFF180039, "level.tr2", kKindNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gameKind(c.version, c.path), c.kind) << c.version << " " << c.path;
    }
}

class LevelReader : public LevelImageTest {};

TEST_F(LevelReader, KindOfAFileFollowsItsPath) {
    TempDir dir;
    std::filesystem::create_directory(dir / "my.tub");
    const std::pair<std::string, int> files[] = {
        {"level1.phd", kKindTR1}, {"gold.tub", kKindTR1Gold}, {"data.Tub", kKindTR1}, {"my.tub/level1.phd", kKindTR1Gold}};
    for (const auto& [name, kind] : files) {
        SCOPED_TRACE(name);
        // The file holds the layout its name calls for, so it reads in full.
        buildTestLevel(image(), kind, std::vector<TestRoom>(1));
        const std::array<std::uint8_t, 768> palette = image().palette;
        writeBytes(dir / name, serializeLevel(image(), kind));
        ASSERT_EQ(readBaseLevel(image(), (dir / name).string()), kReadOk);
        EXPECT_EQ(image().version, kVersionTR1);
        EXPECT_EQ(image().gameKind, kind);
        EXPECT_EQ(image().palette, palette);
    }
}

TEST_F(LevelReader, UnknownVersionLeavesTheImageZero) {
    for (std::uint32_t version : {33u, 0u, 44u, 0xFF180039u}) {
        SCOPED_TRACE(version);
        buildTestLevel(image(), kKindTR2, std::vector<TestRoom>(2));
        std::vector<std::uint8_t> bytes = serializeLevel(image(), kKindTR2);
        poke32(bytes, 0, version);
        ASSERT_FALSE(isAllZero(image()));
        EXPECT_EQ(parseLevel(bytes, image(), "level.tr2", "Base level"), kReadUnknownVersion);
        EXPECT_EQ(image().version, 0u);
        EXPECT_EQ(image().gameKind, 0);
        EXPECT_TRUE(isAllZero(image()));
    }
}

TEST_F(LevelReader, FileStatusesAndPathBytes) {
    TempDir dir;
    buildTestLevel(image(), kKindTR1, std::vector<TestRoom>(1));
    std::vector<std::uint8_t> bytes = serializeLevel(image(), kKindTR1);

    // No file: status 1, image zero.
    EXPECT_EQ(readBaseLevel(image(), (dir / "missing.phd").string()), kReadNoFile);
    EXPECT_TRUE(isAllZero(image()));

    // The path is Windows-1250 bytes: "poziom\xB3.phd" is the file named "poziomł.phd".
    writeBytes(dir / "poziom\xC5\x82.phd", bytes);
    EXPECT_EQ(readBaseLevel(image(), (dir.path().string() + "/poziom\xB3.phd")), kReadOk);
    EXPECT_EQ(image().roomCount, 1);

    // A file with an unknown version word: status 2, image zero.
    poke32(bytes, 0, 33);
    writeBytes(dir / "v33.phd", bytes);
    EXPECT_EQ(readBaseLevel(image(), (dir / "v33.phd").string()), kReadUnknownVersion);
    EXPECT_TRUE(isAllZero(image()));

    // A folder is not a level file.
    EXPECT_EQ(readBaseLevel(image(), dir.path().string()), kReadNoFile);
}

// A level read from disk that is refused names its file (in UTF-8, as messages are).
TEST_F(LevelReader, ReadErrorsNameTheFile) {
    TempDir dir;
    buildTestLevel(image(), kKindTR1, std::vector<TestRoom>(1));
    const std::vector<std::uint8_t> bytes = serializeLevel(image(), kKindTR1);
    const std::string shown = (dir / "poziom\xC5\x82.phd").string();  // "poziomł.phd"
    const std::string cp1250 = dir.path().string() + "/poziom\xB3.phd";
    // The room count follows the version word, the texture pages and the reserved word.
    const std::size_t roomCountAt = 4 + 4 + std::size_t{image().textileCount} * 65536 + 4;
    std::vector<std::uint8_t> tooManyRooms = bytes;
    poke16(tooManyRooms, roomCountAt, 256);
    const struct {
        const char* name;
        std::vector<std::uint8_t> file;
        std::string expected;
    } cases[] = {
        {"cut short", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 20), "\" ends early"},
        {"too many rooms", tooManyRooms, "\" has 256 rooms; at most 255 are supported"},
    };
    for (const auto& c : cases) {
        writeBytes(dir / "poziom\xC5\x82.phd", c.file);
        try {
            readBaseLevel(image(), cp1250);
            ADD_FAILURE() << c.name << ": read";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Base level \"" + shown + c.expected, 0), 0u) << c.name << ": " << e.what();
        }
        EXPECT_TRUE(isAllZero(image())) << c.name;
    }
}

TEST_F(LevelReader, ShortFormsDeriveWideVerticesAndLongItems) {
    const TestRoom rooms[] = {{.vertices = 3}};
    buildTestLevel(image(), kKindTR1, rooms);
    const std::vector<std::uint8_t> bytes = serializeLevel(image(), kKindTR1);
    ASSERT_EQ(parseLevel(bytes, image(), "level1.phd", "Base level"), kReadOk);
    const LevelRoom& room = image().rooms[0];
    ASSERT_EQ(room.vertexCount, 3);
    for (int i = 0; i < 3; ++i) {
        const ShortVertex& v = room.vertices[i];
        const WideVertex& w = room.wideVertices[i];
        EXPECT_EQ(w.x, v.x);
        EXPECT_EQ(w.y, v.y);
        EXPECT_EQ(w.z, v.z);
        EXPECT_EQ(w.light, v.light);
        EXPECT_EQ(w.attributes, 16);
        EXPECT_EQ(w.light2, 0x3DEF);
    }
    EXPECT_EQ(room.wideVertices[3].attributes, 0);  // only the vertices read are derived
    ASSERT_EQ(image().itemCount, 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const ItemShort& s = image().itemsShort[i];
        const ItemLong& l = image().itemsLong[i];
        EXPECT_EQ(l.type, s.type);
        EXPECT_EQ(l.room, s.room);
        EXPECT_EQ(l.x, s.x);
        EXPECT_EQ(l.y, s.y);
        EXPECT_EQ(l.z, s.z);
        EXPECT_EQ(l.angle, s.angle);
        EXPECT_EQ(l.intensity, s.intensity);
        EXPECT_EQ(l.intensity2, 0);
        EXPECT_EQ(l.flags, s.flags);
    }
}

TEST_F(LevelReader, RealLevelsDeriveTheOtherForm) {
    int found = 0;
    for (const char* name : {kRealTR1, kRealTR2, kRealTR3}) {
        SCOPED_TRACE(name);
        const std::string path = realLevelPath(name);
        if (path.empty()) continue;
        ++found;
        ASSERT_EQ(readBaseLevel(image(), path), kReadOk);
        const bool isLong = isLongForm(image().gameKind);
        std::set<std::uint16_t> light2s;
        for (int r = 1; r <= image().roomCount; ++r) {
            const LevelRoom& room = image().room(r);
            for (int i = 0; i < room.vertexCount; ++i) {
                const ShortVertex& v = room.vertices[i];
                const WideVertex& w = room.wideVertices[i];
                ASSERT_TRUE(v.x == w.x && v.y == w.y && v.z == w.z && v.light == w.light) << "room " << r << " vertex " << i;
                if (!isLong) {
                    ASSERT_TRUE(w.attributes == 16 && w.light2 == 0x3DEF) << "room " << r << " vertex " << i;
                }
                light2s.insert(w.light2);
            }
        }
        if (isLong) {
            EXPECT_GT(light2s.size(), 1u) << "the wide form was read from the file";
        }
        ASSERT_GT(image().itemCount, 0u);
        for (std::size_t i = 0; i < image().itemCount; ++i) {
            const ItemShort& s = image().itemsShort[i];
            const ItemLong& l = image().itemsLong[i];
            ASSERT_TRUE(l.type == s.type && l.room == s.room && l.x == s.x && l.y == s.y && l.z == s.z &&
                        l.angle == s.angle && l.intensity == s.intensity && l.flags == s.flags)
                << "item " << i;
            if (!isLong) {
                ASSERT_EQ(l.intensity2, 0) << "item " << i;
            }
        }
    }
    if (found == 0) GTEST_SKIP() << "no real levels in " << CW_TEST_LEVELS_DIR;
}

// ---- refusals of damaged real levels ----

class DamagedLevel : public LevelImageTest {
protected:
    // Reads a real level with its chunk map; false when it is absent.
    bool load(const char* name) {
        const std::string path = realLevelPath(name);
        if (path.empty()) return false;
        if (path == path_) return true;
        bytes_ = fileBytes(path);
        path_ = path;
        EXPECT_EQ(parseLevel(bytes_, image(), path_, "Base level", chunks_), kReadOk);
        roomCount_ = image().roomCount;
        return true;
    }
    std::size_t chunkAt(const std::string& name) const {
        auto it = std::find_if(chunks_.begin(), chunks_.end(), [&](const LevelChunk& c) { return c.name == name; });
        EXPECT_NE(it, chunks_.end()) << name;
        return it == chunks_.end() ? 0 : it->offset;
    }

    std::vector<std::uint8_t> bytes_;
    std::string path_;
    std::vector<LevelChunk> chunks_;
    int roomCount_ = 0;
};

TEST_F(DamagedLevel, CutShortAnywhereIsAnInputOutputError) {
    int found = 0;
    for (const char* name : {kRealTR1, kRealTR2, kRealTR3}) {
        SCOPED_TRACE(name);
        if (!load(name)) continue;
        ++found;
        // Every chunk boundary and a byte either side of it; inside a chunk every 997th byte,
        // except in the big single-block chunks (texture pages, frames, samples), which get a
        // few points each. Rooms are read by one loop: the first two and the last are cut.
        std::set<std::size_t> cuts;
        for (std::size_t i = 0; i < chunks_.size(); ++i) {
            int room = 0;
            if (std::sscanf(chunks_[i].name.c_str(), "room %d ", &room) == 1 && room > 2 && room < roomCount_) continue;
            const std::size_t begin = chunks_[i].offset;
            const std::size_t end = i + 1 < chunks_.size() ? chunks_[i + 1].offset : bytes_.size();
            for (std::size_t cut : {begin - 1, begin, begin + 1}) {
                if (cut < bytes_.size()) cuts.insert(cut);
            }
            const std::size_t step = end - begin > 100000 ? (end - begin) / 4 : 997;
            for (std::size_t cut = begin + step; cut < end; cut += step) cuts.insert(cut);
        }
        cuts.insert(bytes_.size() - 1);
        for (std::size_t cut : cuts) {
            const std::span<const std::uint8_t> part(bytes_.data(), cut);
            try {
                parseLevel(part, image(), path_, "Base level");
                ADD_FAILURE() << "a level cut at byte " << cut << " was read";
            } catch (const IoError& e) {
                ASSERT_NE(std::string(e.what()).find("Base level ends early"), std::string::npos) << e.what();
            }
            ASSERT_TRUE(isAllZero(image())) << "cut at " << cut;
        }
    }
    if (found == 0) GTEST_SKIP() << "no real levels in " << CW_TEST_LEVELS_DIR;
}

// The file itself, read as it is parsed (the base level path of a build), cut short in a big
// block, inside a room and just before its end.
TEST_F(DamagedLevel, AFileCutShortIsAnInputOutputErrorWhenReadFromDisk) {
    if (!load(kRealTR1)) GTEST_SKIP() << "no real levels in " << CW_TEST_LEVELS_DIR;
    TempDir dir;
    for (std::size_t cut : {std::size_t{100}, std::size_t{300000}, chunkAt("room 2 sectors") + 5, bytes_.size() - 1}) {
        const auto path = dir / "cut.phd";
        writeBytes(path, std::span<const std::uint8_t>(bytes_.data(), cut));
        try {
            readBaseLevel(image(), path.string());
            ADD_FAILURE() << "a level cut at byte " << cut << " was read";
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Base level \"" + path.string() + "\" ends early", 0), 0u) << e.what();
        }
        EXPECT_TRUE(isAllZero(image())) << "cut at " << cut;
    }
}

struct RaisedCount {
    const char* level;
    const char* chunk;
    int width;  // bytes of the count: 2 or 4
    std::uint32_t value;
    const char* message;
};

TEST_F(DamagedLevel, CountPastItsCapacityIsRefusedWithItsName) {
    const RaisedCount cases[] = {
        {kRealTR1, "object textures", 4, 3100, "Base level has 3100 object textures; at most 2500 are supported"},
        {kRealTR1, "rooms", 2, 256, "Base level has 256 rooms; at most 255 are supported"},
        {kRealTR1, "room 2 vertices", 2, 2001, "Base level has 2001 vertices in room 2; at most 2000 are supported"},
        {kRealTR1, "room 1 rectangles", 2, 3001, "Base level has 3001 rectangles in room 1; at most 3000 are supported"},
        {kRealTR1, "room 1 triangles", 2, 1251, "Base level has 1251 triangles in room 1; at most 1250 are supported"},
        {kRealTR1, "room 1 sprites", 2, 51, "Base level has 51 sprites in room 1; at most 50 are supported"},
        {kRealTR1, "room 1 portals", 2, 21, "Base level has 21 portals in room 1; at most 20 are supported"},
        {kRealTR1, "room 3 lights", 2, 36, "Base level has 36 lights in room 3; at most 35 are supported"},
        {kRealTR1, "room 1 static meshes", 2, 51, "Base level has 51 static meshes in room 1; at most 50 are supported"},
        {kRealTR1, "floor data words", 4, 18002, "Base level has 18002 floor data words; at most 18001 are supported"},
        {kRealTR1, "mesh data words", 4, 0xFFFFFFFF, "Base level has 4294967295 mesh data words; at most 100000 are supported"},
        {kRealTR1, "frame words", 4, 215001, "Base level has 215001 frame words; at most 215000 are supported"},
        {kRealTR1, "cameras", 4, 16, "Base level has 16 cameras; at most 15 are supported"},
        {kRealTR1, "boxes", 4, 2501, "Base level has 2501 boxes; at most 2500 are supported"},
        {kRealTR1, "overlaps", 4, 7001, "Base level has 7001 overlaps; at most 7000 are supported"},
        {kRealTR1, "items", 4, 301, "Base level has 301 items; at most 300 are supported"},
        {kRealTR1, "demo data bytes", 2, 16001, "Base level has 16001 demo data bytes; at most 16000 are supported"},
        {kRealTR1, "sample indices", 4, 256, "Base level has 256 sample indices; at most 255 are supported"},
        {kRealTR1, "texture pages", 4, 65536, "Base level has 65536 texture pages; at most 65535 are supported"},
        {kRealTR2, "room 1 lights", 2, 16, "Base level has 16 lights in room 1; at most 15 are supported"},
        {kRealTR3, "object textures", 4, 2501, "Base level has 2501 object textures; at most 2500 are supported"},
    };
    int found = 0;
    for (const RaisedCount& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " " + c.chunk);
        if (!load(c.level)) continue;
        ++found;
        const std::size_t offset = chunkAt(c.chunk);
        std::vector<std::uint8_t> damaged = bytes_;
        if (c.width == 2) {
            poke16(damaged, offset, static_cast<std::uint16_t>(c.value));
        } else {
            poke32(damaged, offset, c.value);
        }
        try {
            parseLevel(damaged, image(), path_, "Base level");
            ADD_FAILURE() << "the raised count was read";
        } catch (const FormatError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(isAllZero(image()));
    }
    if (found == 0) GTEST_SKIP() << "no real levels in " << CW_TEST_LEVELS_DIR;
}

TEST_F(DamagedLevel, SectorGridPastItsCapacityIsRefused) {
    if (!load(kRealTR2)) GTEST_SKIP() << "no " << kRealTR2;
    std::vector<std::uint8_t> damaged = bytes_;
    const std::size_t offset = chunkAt("room 2 sectors");
    poke16(damaged, offset, 33);      // numZSectors
    poke16(damaged, offset + 2, 32);  // numXSectors
    try {
        parseLevel(damaged, image(), path_, "Base level");
        ADD_FAILURE() << "a room of 33 x 32 sectors was read";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "Base level has 1056 sectors in room 2; at most 1024 are supported");
    }
    EXPECT_TRUE(isAllZero(image()));
}

TEST_F(DamagedLevel, CountWithinCapacityButPastTheEndIsAnInputOutputError) {
    if (!load(kRealTR3)) GTEST_SKIP() << "no " << kRealTR3;
    std::vector<std::uint8_t> damaged = bytes_;
    // 2500 object textures would be 50000 bytes; only the items and a few blocks follow them.
    poke32(damaged, chunkAt("object textures"), 2500);
    EXPECT_THROW(parseLevel(damaged, image(), path_, "Base level"), IoError);
    EXPECT_TRUE(isAllZero(image()));
}

}  // namespace
}  // namespace cw::test
