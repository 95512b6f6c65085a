// Room mesh generation: quads in order, the vertex list in order of first appearance, averaged
// light bytes, rectangles and triangles, capacities, and the indexed vertex search against the
// literal scan.
#include "builder/room_mesh.h"

#include <gtest/gtest.h>

#include <random>

#include "builder_test_support.h"

namespace cw {
namespace {

using test::addTestRoom;
using test::makeTestProject;

struct MeshFixture {
    std::unique_ptr<QuadList> quads = std::make_unique<QuadList>();
    std::unique_ptr<LevelRoom> room = std::make_unique<LevelRoom>();
    std::unique_ptr<VertexIndex> index = std::make_unique<VertexIndex>();

    MeshResult build(const EditorRoom& editorRoom, bool doubleSided = false,
                     VertexSearch search = VertexSearch::Indexed) {
        quads->clear();
        buildRoomMesh(*quads, editorRoom.grid, editorRoom.sectors, doubleSided, standardShapeTable());
        room->vertexCount = room->rectangleCount = room->triangleCount = 0;
        return assembleFaces(*quads, *room, *index, search);
    }
};

QuadCorner c(int x, int y, int z) {
    return {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), static_cast<std::int16_t>(z)};
}
std::array<QuadCorner, 4> corners(QuadCorner a, QuadCorner b, QuadCorner d, QuadCorner e) { return {a, b, d, e}; }

std::uint8_t lightByte(const ShortVertex& v) { return static_cast<std::uint8_t>(static_cast<std::uint16_t>(v.light) >> 8); }

// The 3 x 3 room: floor level 127, ceiling level 131, flat, textures 0, lights 16.
TEST(RoomMesh, ThreeByThreeRoomGivesSixQuadsTwelveVerticesSixRectangles) {
    auto project = makeTestProject();
    const EditorRoom& room = addTestRoom(*project, 3, 3, 127, 131);
    MeshFixture m;
    ASSERT_EQ(m.build(room), MeshResult::Ok);

    const std::array<std::array<QuadCorner, 4>, 6> expectedQuads = {{
        // right edge piece of (1, 2)
        {c(1024, -1025, 1024), c(1024, -1025, 2048), c(1024, -1, 2048), c(1024, -1, 1024)},
        // back edge piece of (2, 1)
        {c(2048, -1025, 1024), c(1024, -1025, 1024), c(1024, -1, 1024), c(2048, -1, 1024)},
        // floor of (2, 2)
        {c(1024, -1, 2048), c(2048, -1, 2048), c(2048, -1, 1024), c(1024, -1, 1024)},
        // front edge piece of (2, 3)
        {c(1024, -1025, 2048), c(2048, -1025, 2048), c(2048, -1, 2048), c(1024, -1, 2048)},
        // left edge piece of (3, 2)
        {c(2048, -1025, 2048), c(2048, -1025, 1024), c(2048, -1, 1024), c(2048, -1, 2048)},
        // ceiling of (2, 2)
        {c(1024, -1024, 1024), c(2048, -1024, 1024), c(2048, -1024, 2048), c(1024, -1024, 2048)},
    }};
    ASSERT_EQ(m.quads->count, expectedQuads.size());
    for (std::size_t i = 0; i < expectedQuads.size(); ++i) {
        EXPECT_EQ(m.quads->quads[i].corners, expectedQuads[i]) << "quad " << i;
        EXPECT_EQ(m.quads->quads[i].texture, 0);
        EXPECT_EQ(m.quads->quads[i].light, 16);
    }

    const std::array<QuadCorner, 12> expectedVertices = {
        c(1024, -1025, 1024), c(1024, -1025, 2048), c(1024, -1, 2048), c(1024, -1, 1024),
        c(2048, -1025, 1024), c(2048, -1, 1024),    c(2048, -1, 2048), c(2048, -1025, 2048),
        c(1024, -1024, 1024), c(2048, -1024, 1024), c(2048, -1024, 2048), c(1024, -1024, 2048)};
    ASSERT_EQ(m.room->vertexCount, expectedVertices.size());
    for (std::size_t i = 0; i < expectedVertices.size(); ++i) {
        const ShortVertex& v = m.room->vertices[i];
        EXPECT_EQ(c(v.x, v.y, v.z), expectedVertices[i]) << "vertex " << i;
        EXPECT_EQ(lightByte(v), 16) << "vertex " << i;
    }
    const std::array<std::array<std::uint16_t, 4>, 6> expectedRectangles = {
        {{0, 1, 2, 3}, {4, 0, 3, 5}, {2, 6, 5, 3}, {1, 7, 6, 2}, {7, 4, 5, 6}, {8, 9, 10, 11}}};
    ASSERT_EQ(m.room->rectangleCount, expectedRectangles.size());
    for (std::size_t i = 0; i < expectedRectangles.size(); ++i)
        EXPECT_EQ(m.room->rectangles[i].vertices, expectedRectangles[i]) << "rectangle " << i;
    EXPECT_EQ(m.room->triangleCount, 0);
}

TEST(RoomMesh, DoubleSidedCeilingIsPrecededByItsTwin) {
    auto project = makeTestProject();
    const EditorRoom& room = addTestRoom(*project, 3, 3, 127, 131);
    MeshFixture m;
    ASSERT_EQ(m.build(room, true), MeshResult::Ok);
    ASSERT_EQ(m.quads->count, 7);
    EXPECT_EQ(m.quads->quads[5].corners,
              corners(c(1024, -1024, 2048), c(2048, -1024, 2048), c(2048, -1024, 1024), c(1024, -1024, 1024)));
    EXPECT_EQ(m.quads->quads[6].corners,
              corners(c(1024, -1024, 1024), c(2048, -1024, 1024), c(2048, -1024, 2048), c(1024, -1024, 2048)));
    ASSERT_EQ(m.room->vertexCount, 12);
    const std::array<QuadCorner, 4> twin = {c(1024, -1024, 2048), c(2048, -1024, 2048), c(2048, -1024, 1024),
                                            c(1024, -1024, 1024)};
    for (std::size_t i = 0; i < 4; ++i) {
        const ShortVertex& v = m.room->vertices[8 + i];
        EXPECT_EQ(c(v.x, v.y, v.z), twin[i]);
    }
    ASSERT_EQ(m.room->rectangleCount, 7);
    EXPECT_EQ(m.room->rectangles[5].vertices, (std::array<std::uint16_t, 4>{8, 9, 10, 11}));
    EXPECT_EQ(m.room->rectangles[6].vertices, (std::array<std::uint16_t, 4>{11, 10, 9, 8}));
}

TEST(RoomMesh, NegativeTextureMakesNoQuadOnThatSide) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 3, 3, 127, 131);
    // Sector (1, 2) needs a right edge piece; with texture -1 it is not made.
    sectorAt(room, 1, 2).floorTexture(Face::Right) = -1;
    // And the floor surface of (2, 2) goes too.
    sectorAt(room, 2, 2).floorTexture(Face::Surface) = -1;
    MeshFixture m;
    ASSERT_EQ(m.build(room), MeshResult::Ok);
    ASSERT_EQ(m.quads->count, 4);
    // What is left: back of (2, 1), front of (2, 3), left of (3, 2), ceiling.
    EXPECT_EQ(m.quads->quads[0].corners[0], c(2048, -1025, 1024));
    EXPECT_EQ(m.quads->quads[3].corners[0], c(1024, -1024, 1024));
}

TEST(RoomMesh, TexturesAndLightsComeFromTheSideOfTheVisitedSector) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 3, 3, 127, 131);
    sectorAt(room, 1, 2).floorTexture(Face::Right) = 0x12345;  // only the low 16 bits are kept
    sectorAt(room, 1, 2).floorLight(Face::Right) = 7;
    sectorAt(room, 2, 2).ceilingTexture(Face::Surface) = 9;
    sectorAt(room, 2, 2).ceilingLight(Face::Surface) = 30;
    MeshFixture m;
    ASSERT_EQ(m.build(room), MeshResult::Ok);
    ASSERT_EQ(m.quads->count, 6);
    EXPECT_EQ(m.quads->quads[0].texture, 0x2345);
    EXPECT_EQ(m.quads->quads[0].light, 7);
    EXPECT_EQ(m.quads->quads[5].texture, 9);
    EXPECT_EQ(m.quads->quads[5].light, 30);
}

// An edge piece whose edge height is 0 at one end is a triangle.
TEST(RoomMesh, FrontEdgePieceOfRisingShapeIsATriangle) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 5, 5, 127, 140);
    // No faces but the front edge piece of (3, 3).
    for (int x = 1; x <= 5; ++x)
        for (int z = 1; z <= 5; ++z)
            for (Face f : kAllFaces) {
                sectorAt(room, x, z).floorTexture(f) = -1;
                sectorAt(room, x, z).ceilingTexture(f) = -1;
            }
    Sector& s = sectorAt(room, 3, 3);
    s.floorShape = 11;  // front edge: west end 0, east end 512
    s.floorTexture(Face::Front) = 5;
    test::setHeights(room, 3, 3, 0, -13);
    test::setHeights(room, 3, 2, 4, -13);  // one step lower
    MeshFixture m;
    ASSERT_EQ(m.build(room), MeshResult::Ok);
    ASSERT_EQ(m.quads->count, 1);
    // Base of a floor at level 127: Y = 32767 - 31 * 1024 = 1023.
    EXPECT_EQ(m.quads->quads[0].corners,
              corners(c(2048, 1023, 2048), c(3072, 511, 2048), c(3072, 1023, 2048), c(2048, 1023, 2048)));
    EXPECT_EQ(m.room->rectangleCount, 0);
    ASSERT_EQ(m.room->triangleCount, 1);
    EXPECT_EQ(m.room->triangles[0].vertices, (std::array<std::uint16_t, 3>{0, 1, 2}));
    EXPECT_EQ(m.room->triangles[0].texture, 5);
}

TEST(RoomMesh, AssembleFacesTurnsCoincidingCornersIntoTriangles) {
    auto quads = std::make_unique<QuadList>();
    auto room = std::make_unique<LevelRoom>();
    VertexIndex index;
    const QuadCorner a = c(0, 0, 0), b = c(1024, 0, 0), d = c(1024, -1024, 0), e = c(0, -1024, 0);
    addQuad(*quads, {a, b, d, e}, 1, 0);  // rectangle
    addQuad(*quads, {a, b, d, a}, 2, 0);  // corner 4 = corner 1: (i1, i2, i3)
    addQuad(*quads, {e, d, d, b}, 3, 0);  // corner 3 = corner 2: (i1, i2, i4)
    addQuad(*quads, {a, b, b, a}, 4, 0);  // both: (i1, i2, i4)
    ASSERT_EQ(assembleFaces(*quads, *room, index), MeshResult::Ok);
    ASSERT_EQ(room->rectangleCount, 1);
    EXPECT_EQ(room->rectangles[0].vertices, (std::array<std::uint16_t, 4>{0, 1, 2, 3}));
    ASSERT_EQ(room->triangleCount, 3);
    EXPECT_EQ(room->triangles[0].vertices, (std::array<std::uint16_t, 3>{0, 1, 2}));
    EXPECT_EQ(room->triangles[0].texture, 2);
    EXPECT_EQ(room->triangles[1].vertices, (std::array<std::uint16_t, 3>{3, 2, 1}));
    EXPECT_EQ(room->triangles[2].vertices, (std::array<std::uint16_t, 3>{0, 1, 0}));
}

TEST(RoomMesh, SharedVertexAveragesLightsAndKeepsTheLowByte) {
    for (VertexSearch search : {VertexSearch::Indexed, VertexSearch::LinearScan}) {
        auto quads = std::make_unique<QuadList>();
        auto room = std::make_unique<LevelRoom>();
        room->vertices[0].light = 0x0012;  // the slot's low byte is left as it was
        VertexIndex index;
        const QuadCorner shared = c(0, 0, 0);
        addQuad(*quads, {shared, c(1, 0, 0), c(1, 1, 0), c(0, 1, 0)}, 0, 0);
        addQuad(*quads, {shared, c(2, 0, 0), c(2, 2, 0), c(0, 2, 0)}, 0, 32);
        ASSERT_EQ(assembleFaces(*quads, *room, index, search), MeshResult::Ok);
        EXPECT_EQ(lightByte(room->vertices[0]), 16);
        EXPECT_EQ(room->vertices[0].light & 0xFF, 0x12);

        addQuad(*quads, {shared, c(3, 0, 0), c(3, 3, 0), c(0, 3, 0)}, 0, 32);
        room->vertexCount = room->rectangleCount = room->triangleCount = 0;
        room->vertices[0].light = 0x0012;
        ASSERT_EQ(assembleFaces(*quads, *room, index, search), MeshResult::Ok);
        EXPECT_EQ(lightByte(room->vertices[0]), 24);
        EXPECT_EQ(lightByte(room->vertices[1]), 0);
        EXPECT_EQ(lightByte(room->vertices[4]), 32);
    }
}

// Floor levels that are not multiples of 4 share the base of the level below them; the shape
// makes the difference.
TEST(RoomMesh, FloorSurfaceHeightFromLevelAndShape) {
    struct Case {
        int floorByte;
        int shape;
        int y;
    };
    const Case cases[] = {
        {0, 1, -1}, {1, 1, -1}, {3, 1, -1}, {4, 1, 1023}, {1, 2, 255}, {-4, 1, -1025}, {0, 4, 767},
    };
    for (const Case& k : cases) {
        auto project = makeTestProject();
        EditorRoom& room = addTestRoom(*project, 3, 3, 127, 150);
        test::setHeights(room, 2, 2, k.floorByte, -30);
        sectorAt(room, 2, 2).floorShape = static_cast<std::uint8_t>(k.shape);
        for (Face f : {Face::Front, Face::Back, Face::Left, Face::Right})
            for (int x = 1; x <= 3; ++x)
                for (int z = 1; z <= 3; ++z) sectorAt(room, x, z).floorTexture(f) = -1;
        sectorAt(room, 2, 2).ceilingTexture(Face::Surface) = -1;
        MeshFixture m;
        ASSERT_EQ(m.build(room), MeshResult::Ok);
        // With no walls only the floor surface and the ceiling's walls remain; find the surface.
        bool found = false;
        for (std::size_t i = 0; i < m.quads->count; ++i) {
            const Quad& q = m.quads->quads[i];
            if (q.corners[0].y == q.corners[2].y && q.corners[0].z == 2048 && q.corners[2].z == 1024) {
                EXPECT_EQ(q.corners[0].y, k.y) << "floor byte " << k.floorByte << ", shape " << k.shape;
                found = true;
            }
        }
        EXPECT_TRUE(found) << "floor byte " << k.floorByte;
    }
}

TEST(RoomMesh, QuadsBeyondSixThousandAreNotStoredButCounted) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 32, 32, 20, 220);
    // A checkerboard of very high and very low floors needs walls on every side of every step.
    for (int x = 2; x < 32; ++x)
        for (int z = 2; z < 32; ++z) test::setHeights(room, x, z, ((x + z) % 2) ? 127 - 20 : 127 - 200, 127 - 220);
    auto quads = std::make_unique<QuadList>();
    buildRoomMesh(*quads, room.grid, room.sectors, false, standardShapeTable());
    EXPECT_EQ(quads->count, kMaxQuads);
    EXPECT_GT(quads->dropped, 0u);
    addQuad(*quads, {}, 0, 0);
    EXPECT_EQ(quads->count, kMaxQuads);
}

TEST(RoomMesh, CapacitiesStopAssemblyWithoutDanglingFaces) {
    // Vertices: 501 quads of four new corners each.
    {
        auto quads = std::make_unique<QuadList>();
        for (int i = 0; i < 501; ++i) addQuad(*quads, {c(i, 0, 0), c(i, 1, 0), c(i, 2, 0), c(i, 3, 0)}, 0, 0);
        auto room = std::make_unique<LevelRoom>();
        VertexIndex index;
        EXPECT_EQ(assembleFaces(*quads, *room, index), MeshResult::TooManyVertices);
        EXPECT_EQ(room->vertexCount, kMaxRoomVertices);
        EXPECT_EQ(room->rectangleCount, 0);
    }
    // Rectangles and triangles: the same few corners over and over.
    {
        auto quads = std::make_unique<QuadList>();
        for (std::size_t i = 0; i <= kMaxRoomRectangles; ++i)
            addQuad(*quads, {c(0, 0, 0), c(1, 0, 0), c(1, 1, 0), c(0, 1, 0)}, 0, 0);
        auto room = std::make_unique<LevelRoom>();
        VertexIndex index;
        EXPECT_EQ(assembleFaces(*quads, *room, index), MeshResult::TooManyRectangles);
        EXPECT_EQ(room->rectangleCount, kMaxRoomRectangles);
    }
    {
        auto quads = std::make_unique<QuadList>();
        for (std::size_t i = 0; i <= kMaxRoomTriangles; ++i)
            addQuad(*quads, {c(0, 0, 0), c(1, 0, 0), c(1, 1, 0), c(0, 0, 0)}, 0, 0);
        auto room = std::make_unique<LevelRoom>();
        VertexIndex index;
        EXPECT_EQ(assembleFaces(*quads, *room, index), MeshResult::TooManyTriangles);
        EXPECT_EQ(room->triangleCount, kMaxRoomTriangles);
    }
    const std::string message = meshLimitMessage(7, "Hall", MeshResult::TooManyVertices);
    EXPECT_NE(message.find("Room 7 \"Hall\""), std::string::npos) << message;
    EXPECT_NE(message.find("2000 vertices"), std::string::npos) << message;
    EXPECT_NE(message.find("smaller"), std::string::npos) << message;
    EXPECT_NE(quadLimitMessage(3, "").find("6000"), std::string::npos);
}

// The indexed search gives exactly what the literal first-match scan gives.
TEST(RoomMesh, IndexedVertexSearchEqualsLinearScanOnRandomRooms) {
    std::mt19937 rng(20261209);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 25; ++round) {
        auto project = makeTestProject();
        const int rows = pick(3, 14), columns = pick(3, 14);
        EditorRoom& room = addTestRoom(*project, rows, columns, pick(100, 130), pick(131, 150), 0, pick(0, 32));
        for (int x = 1; x <= columns; ++x) {
            for (int z = 1; z <= rows; ++z) {
                Sector& s = sectorAt(room, x, z);
                s.floorShape = static_cast<std::uint8_t>(pick(1, 16));
                s.ceilingShape = static_cast<std::uint8_t>(pick(1, 16));
                for (Face f : kAllFaces) {
                    s.floorTexture(f) = pick(-1, 40);
                    s.ceilingTexture(f) = pick(-1, 40);
                    s.floorLight(f) = static_cast<std::uint8_t>(pick(0, 32));
                    s.ceilingLight(f) = static_cast<std::uint8_t>(pick(0, 32));
                }
                if (x > 1 && z > 1 && x < columns && z < rows && pick(0, 5) != 0)
                    test::setHeights(room, x, z, pick(-12, 12), pick(-40, -16));
            }
        }
        const bool doubleSided = pick(0, 1) == 1;
        MeshFixture indexed, linear;
        const MeshResult a = indexed.build(room, doubleSided, VertexSearch::Indexed);
        const MeshResult b = linear.build(room, doubleSided, VertexSearch::LinearScan);
        ASSERT_EQ(a, b) << "round " << round;
        ASSERT_EQ(indexed.room->vertexCount, linear.room->vertexCount) << "round " << round;
        ASSERT_GT(indexed.room->vertexCount, 0);
        for (std::size_t i = 0; i < indexed.room->vertexCount; ++i) {
            const ShortVertex &p = indexed.room->vertices[i], &q = linear.room->vertices[i];
            ASSERT_TRUE(p.x == q.x && p.y == q.y && p.z == q.z && p.light == q.light) << "round " << round << " vertex " << i;
        }
        ASSERT_EQ(indexed.room->rectangleCount, linear.room->rectangleCount);
        ASSERT_EQ(indexed.room->triangleCount, linear.room->triangleCount);
        for (std::size_t i = 0; i < indexed.room->rectangleCount; ++i) {
            ASSERT_EQ(indexed.room->rectangles[i].vertices, linear.room->rectangles[i].vertices);
            ASSERT_EQ(indexed.room->rectangles[i].texture, linear.room->rectangles[i].texture);
        }
        for (std::size_t i = 0; i < indexed.room->triangleCount; ++i)
            ASSERT_EQ(indexed.room->triangles[i].vertices, linear.room->triangles[i].vertices);
    }
}

}  // namespace
}  // namespace cw
