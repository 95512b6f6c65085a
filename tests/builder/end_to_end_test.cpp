// A whole build of a project with several rooms on each real base level, read back in full by
// the level reader and checked structurally: every face names a stored vertex, every portal,
// sector link and floor-data portal a room of the level, every floor data index a word of the
// floor data, every box index and overlap a box, every item a room.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "builder/build_driver.h"
#include "builder_test_support.h"
#include "common/files.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"

namespace cw {
namespace {

namespace fs = std::filesystem;

struct Quiet : BuildObserver {
    std::vector<int> progress;
    std::string messages;
    void setProgress(int value) override { progress.push_back(value); }
    void showMessage(const std::string& text) override { messages += text + "\n"; }
    // The sample's side link into a closed sector; the build driver tests check its text.
    void showWarning(const std::string&) override {}
};

void checkStructure(const LevelImage& level, int expectedRooms) {
    ASSERT_EQ(level.roomCount, expectedRooms);
    const bool tr3 = level.gameKind == kKindTR3;
    const std::uint32_t words = level.floorData.count;
    ASSERT_GT(words, 0u);
    EXPECT_EQ(level.floorData.items[0], words);
    for (int r = 1; r <= level.roomCount; ++r) {
        SCOPED_TRACE("room " + std::to_string(r));
        const LevelRoom& room = level.room(r);
        ASSERT_GT(room.vertexCount, 0);
        for (std::size_t i = 0; i < room.rectangleCount; ++i)
            for (std::uint16_t v : room.rectangles[i].vertices) ASSERT_LT(v, room.vertexCount) << "rectangle " << i;
        for (std::size_t i = 0; i < room.triangleCount; ++i)
            for (std::uint16_t v : room.triangles[i].vertices) ASSERT_LT(v, room.vertexCount) << "triangle " << i;
        for (std::size_t p = 0; p < room.portalCount; ++p) {
            const RoomPortal& portal = room.portals[p];
            ASSERT_LT(portal.adjoiningRoom, level.roomCount) << "portal " << p;
            EXPECT_EQ(std::abs(portal.normalX) + std::abs(portal.normalY) + std::abs(portal.normalZ), 1);
        }
        const SectorGrid& grid = room.grid;
        ASSERT_GE(grid.numX, 3);
        ASSERT_GE(grid.numZ, 3);
        for (int x = 1; x <= grid.numX; ++x) {
            for (int z = 1; z <= grid.numZ; ++z) {
                SCOPED_TRACE("sector " + std::to_string(x) + "," + std::to_string(z));
                const GameSector& g = gameSectorAt(grid, x, z);
                ASSERT_TRUE(g.roomBelow == kNoRoom || g.roomBelow < level.roomCount) << int(g.roomBelow);
                ASSERT_TRUE(g.roomAbove == kNoRoom || g.roomAbove < level.roomCount) << int(g.roomAbove);
                ASSERT_TRUE(g.boxIndex == 0xFFFF || (tr3 ? g.boxIndex >> 4 : g.boxIndex) < level.boxCount) << g.boxIndex;
                ASSERT_LT(g.floorDataIndex, words);
                if (g.floorDataIndex == 0) continue;
                // Walk the sector's entries to the last one.
                for (std::uint32_t at = g.floorDataIndex;; at += 2) {
                    ASSERT_LT(at + 1, words);
                    const std::uint16_t header = level.floorData.items[at];
                    const int function = header & 0x1F;
                    ASSERT_TRUE(function >= 1 && function <= 3) << "function " << function << " at " << at;
                    ASSERT_TRUE(function != 1 || level.floorData.items[at + 1] < level.roomCount) << at;
                    if (header & 0x8000) break;
                }
            }
        }
    }
    ASSERT_GT(level.boxCount, 0u);
    EXPECT_EQ(level.zoneCount, level.boxCount);
    for (std::size_t i = 0; i < level.overlaps.count; ++i)
        ASSERT_LT(level.overlaps.items[i] & 0x7FFFu, level.boxCount);
    for (std::size_t i = 0; i < level.itemCount; ++i) {
        const int room = isLongForm(level.gameKind) ? level.itemsLong[i].room : level.itemsShort[i].room;
        ASSERT_TRUE(room >= 0 && room < level.roomCount) << "item " << i;
    }
}

TEST(EndToEnd, BuildOnEveryRealBaseLevelReadsBackWhole) {
    const fs::path levels = CW_TEST_LEVELS_DIR;
    const fs::path floorDat = fs::path(CW_TEST_BIN_DIR) / "floor.dat";
    if (!fs::is_directory(levels)) GTEST_SKIP() << "no " << levels;
    if (!fileExists(floorDat)) GTEST_SKIP() << "no " << floorDat;
    struct Case {
        const char* file;
        const char* baseName;  // the base level's name tells Tomb Raider 1 from Gold
        const char* output;
        int kind;
    };
    const Case cases[] = {
        {"TR1-TEST1.PHD", "TR1-TEST1.PHD", "built.phd", kKindTR1},
        {"TR1-TEST1.PHD", "gold.tub", "built.tub", kKindTR1Gold},
        {"TR2-TEST1.TR2", "TR2-TEST1.TR2", "built.tr2", kKindTR2},
        {"TR3-TEST1.TR2", "TR3-TEST1.TR2", "built.TR2", kKindTR3},
    };
    std::random_device rd;
    const fs::path dir = fs::temp_directory_path() / ("cw_end_to_end_" + std::to_string(rd()));
    fs::create_directories(dir);
    int built = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.output);
        if (!fileExists(levels / k.file)) continue;
        if (k.kind == kKindTR1Gold) {
            // A Gold level is the Tomb Raider 1 level with its palette after the sprite sequences.
            auto tr1 = std::make_unique<LevelImage>();
            ASSERT_EQ(readBaseLevel(*tr1, (levels / k.file).string()), kReadOk);
            writeFileAtomically(dir / k.baseName, serializeLevel(*tr1, kKindTR1Gold));
        } else {
            fs::copy_file(levels / k.file, dir / k.baseName, fs::copy_options::overwrite_existing);
        }
        auto project = test::makeSampleProject();
        BuildSettings settings;
        settings.baseLevel = (dir / k.baseName).string();
        settings.outputFile = (dir / k.output).string();
        BuildEnvironment environment;
        environment.programFolder = floorDat.parent_path();
        Quiet observer;
        ASSERT_EQ(buildLevel(*project, settings, environment, observer), BuildOutcome::Written) << observer.messages;
        EXPECT_TRUE(observer.messages.empty()) << observer.messages;

        auto level = std::make_unique<LevelImage>();
        ASSERT_EQ(readBaseLevel(*level, settings.outputFile), kReadOk);
        EXPECT_EQ(level->gameKind, k.kind);
        checkStructure(*level, project->roomCount);
        // Read in full: writing what was read gives the file's bytes again.
        EXPECT_EQ(serializeLevel(*level, k.kind), readFile(settings.outputFile));
        // Textures and the rest of the base level are taken over unchanged.
        auto base = std::make_unique<LevelImage>();
        ASSERT_EQ(readBaseLevel(*base, settings.baseLevel), kReadOk);
        EXPECT_EQ(level->textiles8, base->textiles8);
        EXPECT_EQ(level->objectTextures.count, base->objectTextures.count);
        EXPECT_EQ(level->moveables.count, base->moveables.count);
        ++built;
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    if (built == 0) GTEST_SKIP() << "no real base level in " << levels;
}

}  // namespace
}  // namespace cw
