// "floor.dat": the game's floor and ceiling, as it derives them from the slope entries, follow the
// generated floor and ceiling surfaces of every shape of each slope kind.
#include "builder/floor_data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "builder/room_mesh.h"
#include "builder_test_support.h"
#include "common/files.h"

namespace cw {
namespace {

// Heights (y, down) at the corners south-west, south-east, north-east, north-west.
using Corners = std::array<int, 4>;

// How the game computes the floor and ceiling inside a sector from a slope word: the floor falls
// from the floor byte, the ceiling rises from the ceiling byte; xf, zf are 0..1023 inside the
// sector from its west and south edges.
int gameFloor(int floorY, std::uint16_t slope, int xf, int zf) {
    const int h = static_cast<std::int8_t>(slope >> 8), l = static_cast<std::int8_t>(slope & 0xFF);
    int y = floorY;
    if (h < 0) y += -h * zf / 4;
    if (h > 0) y += h * (1023 - zf) / 4;
    if (l < 0) y += -l * xf / 4;
    if (l > 0) y += l * (1023 - xf) / 4;
    return y;
}
int gameCeiling(int ceilingY, std::uint16_t slope, int xf, int zf) {
    const int h = static_cast<std::int8_t>(slope >> 8), l = static_cast<std::int8_t>(slope & 0xFF);
    int y = ceilingY;
    if (h < 0) y -= -h * zf / 4;
    if (h > 0) y -= h * (1023 - zf) / 4;
    if (l < 0) y -= -l * (1023 - xf) / 4;
    if (l > 0) y -= l * xf / 4;
    return y;
}
constexpr std::array<std::pair<int, int>, 4> kCornerPositions = {{{0, 0}, {1023, 0}, {1023, 1023}, {0, 1023}}};

// The game stops 1 unit short of a sector's far edge (1023); its corner heights are compared
// to the nearest quarter click.
int quarterClick(int v) { return static_cast<int>(std::lround(v / 64.0)) * 64; }

Corners relativeTo(Corners c, int reference) {
    for (int& v : c) v -= reference;
    return c;
}

// The floor and ceiling surface corners of a 3 x 3 room's middle sector with the given shapes,
// as the mesh generation makes them.
struct Surfaces {
    Corners floor{}, ceiling{};
};
Surfaces generatedSurfaces(int floorShape, int ceilingShape) {
    auto project = test::makeTestProject();
    EditorRoom& room = test::addTestRoom(*project, 3, 3, 127, 140);
    for (Sector& s : room.sectors)
        for (Face f : {Face::Front, Face::Back, Face::Left, Face::Right}) {
            s.floorTexture(f) = -1;
            s.ceilingTexture(f) = -1;
        }
    sectorAt(room, 2, 2).floorShape = static_cast<std::uint8_t>(floorShape);
    sectorAt(room, 2, 2).ceilingShape = static_cast<std::uint8_t>(ceilingShape);
    auto quads = std::make_unique<QuadList>();
    buildRoomMesh(*quads, room.grid, room.sectors, false, standardShapeTable());
    EXPECT_EQ(quads->count, 2);  // the floor surface, then the ceiling surface
    auto cornersOf = [](const Quad& q) {
        Corners c{};
        for (const QuadCorner& p : q.corners) {
            const bool east = p.x == 2048, north = p.z == 2048;
            c[static_cast<std::size_t>(north ? (east ? 2 : 3) : (east ? 1 : 0))] = p.y;
        }
        return c;
    };
    return {cornersOf(quads->quads[0]), cornersOf(quads->quads[1])};
}

struct Entries {
    std::optional<std::uint16_t> floorSlope, ceilingSlope;
    int count = 0;
};
// The entries at a position, checked as the game reads them: two words each, the floor slope
// before the ceiling slope, bit 15 on the last one only.
Entries readEntries(const std::vector<std::uint16_t>& words, std::size_t at) {
    Entries e;
    for (;; at += 2) {
        EXPECT_LT(at + 1, words.size());
        if (at + 1 >= words.size()) return e;
        const std::uint16_t header = words[at];
        EXPECT_EQ(header & 0x7F00, 0) << "sub-function at " << at;
        const int function = header & 0x1F;
        if (function == kFloorSlopeFunction) {
            EXPECT_EQ(e.count, 0) << "a floor slope comes first, at " << at;
            e.floorSlope = words[at + 1];
        } else if (function == kCeilingSlopeFunction) {
            EXPECT_FALSE(e.ceilingSlope) << at;
            e.ceilingSlope = words[at + 1];
        } else {
            ADD_FAILURE() << "unexpected function " << function << " at " << at;
        }
        ++e.count;
        if (header & kLastEntryBit) return e;
    }
}

TEST(FloorDataFile, GameSlopesFollowTheGeneratedSurfacesOfEveryShape) {
    const ShapeTable& shapes = standardShapeTable();
    const FloorDataIndexTable& positions = standardFloorDataIndexTable();
    const std::vector<std::uint16_t> words = makeFloorDataWords(shapes, positions);
    ASSERT_EQ(words.size(), kFloorDatWords);

    std::map<int, Surfaces> surfaces;  // by shape
    for (int shape = 1; shape <= 16; ++shape) surfaces[shape] = generatedSurfaces(shape, shape);

    for (int m = 0; m <= 8; ++m) {
        for (int n = 0; n <= 8; ++n) {
            if (m == 0 && n == 0) continue;
            SCOPED_TRACE("floor kind " + std::to_string(m) + ", ceiling kind " + std::to_string(n));
            const Entries e = readEntries(words, positions[m][n]);
            EXPECT_EQ(e.floorSlope.has_value(), m != 0);
            EXPECT_EQ(e.ceilingSlope.has_value(), n != 0);
            for (int shape = 1; shape <= 16; ++shape) {
                if (m != 0 && shapes[shape].slopeKind == m && e.floorSlope) {
                    const Corners mesh = surfaces[shape].floor;
                    Corners game{};
                    for (std::size_t i = 0; i < 4; ++i)
                        game[i] = quarterClick(gameFloor(0, *e.floorSlope, kCornerPositions[i].first,
                                                         kCornerPositions[i].second));
                    // Relative to the highest corner (the smallest y).
                    EXPECT_EQ(relativeTo(game, *std::min_element(game.begin(), game.end())),
                              relativeTo(mesh, *std::min_element(mesh.begin(), mesh.end())))
                        << "floor shape " << shape;
                }
                if (n != 0 && shapes[shape].slopeKind == n && e.ceilingSlope) {
                    const Corners mesh = surfaces[shape].ceiling;
                    Corners game{};
                    for (std::size_t i = 0; i < 4; ++i)
                        game[i] = quarterClick(gameCeiling(0, *e.ceilingSlope, kCornerPositions[i].first,
                                                           kCornerPositions[i].second));
                    // Relative to the lowest corner (the largest y).
                    EXPECT_EQ(relativeTo(game, *std::max_element(game.begin(), game.end())),
                              relativeTo(mesh, *std::max_element(mesh.begin(), mesh.end())))
                        << "ceiling shape " << shape;
                }
            }
        }
    }
}

TEST(FloorDataFile, EverySlopeKindIsASlope) {
    // A slope word of zero would make a sloped sector flat for the game.
    for (int kind = 1; kind <= 8; ++kind) {
        EXPECT_NE(floorSlopeWord(standardShapeTable(), kind), 0) << kind;
        EXPECT_NE(ceilingSlopeWord(standardShapeTable(), kind), 0) << kind;
    }
    EXPECT_THROW(floorSlopeWord(standardShapeTable(), 9), std::invalid_argument);
}

TEST(FloorDataFile, ShippedFileEqualsTheComputedWords) {
    const std::filesystem::path path = std::filesystem::path(CW_TEST_BIN_DIR) / "floor.dat";
    if (!fileExists(path)) GTEST_SKIP() << "no " << path << " (the data files are built with cw_data)";
    const std::vector<std::uint8_t> shipped = readFile(path);
    EXPECT_EQ(shipped.size(), 578u);
    EXPECT_EQ(shipped, makeFloorDataFile(standardShapeTable(), standardFloorDataIndexTable()));
}

}  // namespace
}  // namespace cw
