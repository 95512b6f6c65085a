// The 3D view's scene: a small room gives the build's faces with the build's vertex light, the
// portals' outlines and the selection boxes where they belong, and the vertex arrays carry each
// object texture's corners to the face's vertices in order, or a flat colour by facing.
#include "scene/room_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "project/sample_projects.h"

namespace cw {
namespace {

using test::addTestRoom;
using test::makeTestProject;
using Point = std::array<float, 3>;

struct SceneFixture {
    std::unique_ptr<Project> project = makeTestProject();
    std::unique_ptr<SceneWork> work = std::make_unique<SceneWork>();
    std::unique_ptr<RoomScene> scene = std::make_unique<RoomScene>();
    SceneBuffers buffers;

    // The 3 x 3 room of the mesh tests: floor level 127, ceiling 131, texture shown as 1
    // (object texture 0) on every face, light 16: one open sector, four edge pieces round it.
    EditorRoom& smallRoom() { return addTestRoom(*project, 3, 3, 127, 131, 0, 16); }

    void build(const EditorRoom& room, const SceneSelection& selection = {}) {
        buildRoomScene(room, 1, false, selection, *work, *scene);
    }
};

Point pointOf(const FaceVertex& v) { return {v.x, v.y, v.z}; }

// Base textures of a Tomb Raider 2 level with ten blank pages (an atlas of 8 x 2 pages) and the
// given object textures.
BaseTextures fakeTextures(std::vector<ObjectTextureInfo> objects) {
    BaseTextures t;
    t.kind = kKindTR2;
    t.pages.resize(10);
    for (std::size_t p = 0; p < t.pages.size(); ++p) {
        t.pages[p].width = t.pages[p].height = kTexturePageSide;
        t.pages[p].argb.assign(std::size_t(kTexturePageSide) * kTexturePageSide, 0xFF000000u | std::uint32_t(p));
    }
    t.objects = std::move(objects);
    return t;
}

TEST(RoomScene, SmallRoomGivesTheBuildsSixFacesAsTwelveTriangles) {
    SceneFixture f;
    f.build(f.smallRoom());
    EXPECT_TRUE(f.scene->refusal.empty());
    EXPECT_EQ(f.scene->mesh.vertexCount, 12);
    EXPECT_EQ(f.scene->mesh.rectangleCount, 6);
    EXPECT_EQ(f.scene->mesh.triangleCount, 0);

    fillSceneBuffers(*f.scene, BaseTextures{}, f.buffers);
    ASSERT_EQ(f.buffers.faces.size(), 36u);
    // In mesh order: the four edge pieces round the open sector, its floor, its ceiling.
    const std::array<Facing, 6> facings = {Facing::East, Facing::North, Facing::Up,
                                           Facing::South, Facing::West, Facing::Down};
    for (std::size_t face = 0; face < 6; ++face) {
        const FaceVertex& a = f.buffers.faces[6 * face];
        const Facing got = facingOf(pointOf(a), pointOf(f.buffers.faces[6 * face + 1]),
                                    pointOf(f.buffers.faces[6 * face + 2]));
        EXPECT_EQ(got, facings[face]) << "face " << face;
        // No base level: a flat colour by facing, the texture colour never asked for.
        EXPECT_EQ(a.textured, FaceVertex::kFlat);
        const std::uint32_t rgb = facingColour(facings[face]);
        EXPECT_FLOAT_EQ(a.r, float(rgb >> 16) / 255.0F) << "face " << face;
        EXPECT_FLOAT_EQ(a.brightness, 1.0F) << "light 16 shows the colours as they are";
    }
    // The floor lies at the room-relative height 1 (view y up), the ceiling at 1024.
    EXPECT_EQ(pointOf(f.buffers.faces[12]), (Point{1024, 1, -2048}));
    EXPECT_EQ(pointOf(f.buffers.faces[30]), (Point{1024, 1024, -1024}));
    EXPECT_EQ(f.scene->low, (Point{1024, 1, -2048}));
    EXPECT_EQ(f.scene->high, (Point{2048, 1025, -1024}));
}

TEST(RoomScene, FacesWithoutTextureAreLeftOut) {
    SceneFixture f;
    EditorRoom& room = f.smallRoom();
    sectorAt(room, 2, 2).floorTexture(Face::Surface) = -1;  // shown as texture 0: no face
    f.build(room);
    EXPECT_EQ(f.scene->mesh.rectangleCount, 5);
    fillSceneBuffers(*f.scene, BaseTextures{}, f.buffers);
    ASSERT_EQ(f.buffers.faces.size(), 30u);
    for (std::size_t t = 0; t < f.buffers.faces.size(); t += 3)
        EXPECT_NE(facingOf(pointOf(f.buffers.faces[t]), pointOf(f.buffers.faces[t + 1]), pointOf(f.buffers.faces[t + 2])),
                  Facing::Up)
            << "triangle " << t / 3 << " is a floor";
}

TEST(RoomScene, VertexLightIsTheBuildsAverageOfTheFaceLights) {
    SceneFixture f;
    EditorRoom& room = f.smallRoom();
    sectorAt(room, 2, 2).floorLight(Face::Surface) = 0;
    f.build(room);
    fillSceneBuffers(*f.scene, BaseTextures{}, f.buffers);
    // Corner (1024, -1, 2048) is met by the east piece (16), the floor (0) and the south piece
    // (16) in this order: (16 + 0) / 2 = 8, then (8 + 16) / 2 = 12, brightness (32 - 12) / 16.
    const FaceVertex& floorCorner = f.buffers.faces[12];
    ASSERT_EQ(pointOf(floorCorner), (Point{1024, 1, -2048}));
    EXPECT_FLOAT_EQ(floorCorner.brightness, 1.25F);
    // Corner (1024, -1, 1024) is met by the east piece, the north piece and the floor: 8, then 12.
    const FaceVertex& otherCorner = f.buffers.faces[12 + 5];
    ASSERT_EQ(pointOf(otherCorner), (Point{1024, 1, -1024}));
    EXPECT_FLOAT_EQ(otherCorner.brightness, 1.5F);
}

TEST(RoomScene, ObjectTextureCornersGoToTheFaceVerticesInOrder) {
    SceneFixture f;
    EditorRoom& room = f.smallRoom();
    sectorAt(room, 2, 2).ceilingTexture(Face::Surface) = 5;  // past the object textures
    f.build(room);
    ObjectTextureInfo stone;
    stone.page = 9;  // atlas column 1, row 1
    stone.corners = {{{0, 0}, {63, 0}, {63, 63}, {0, 63}}};
    fillSceneBuffers(*f.scene, fakeTextures({stone}), f.buffers);
    ASSERT_EQ(f.buffers.faces.size(), 36u);

    // The floor: triangles (0, 1, 2) and (0, 2, 3) of the rectangle.
    const std::array<std::array<float, 2>, 4> uv = {{{256.0F / 2048, 256.0F / 512},
                                                     {320.0F / 2048, 256.0F / 512},
                                                     {320.0F / 2048, 320.0F / 512},
                                                     {256.0F / 2048, 320.0F / 512}}};
    const std::array<int, 6> corner = {0, 1, 2, 0, 2, 3};
    for (std::size_t i = 0; i < 6; ++i) {
        const FaceVertex& v = f.buffers.faces[12 + i];
        EXPECT_EQ(v.textured, FaceVertex::kOpaqueTexture);
        EXPECT_FLOAT_EQ(v.u, uv[std::size_t(corner[i])][0]) << "vertex " << i;
        EXPECT_FLOAT_EQ(v.v, uv[std::size_t(corner[i])][1]) << "vertex " << i;
        EXPECT_EQ(v.r, 1.0F);
    }
    // The ceiling's texture 6 is not in the level: drawn flat.
    const FaceVertex& ceiling = f.buffers.faces[30];
    EXPECT_EQ(ceiling.textured, FaceVertex::kFlat);
    EXPECT_FLOAT_EQ(ceiling.b, float(facingColour(Facing::Down) & 0xFF) / 255.0F);
}

TEST(RoomScene, TriangleTexturesMapTheirThreeCorners) {
    ObjectTextureInfo triangle;
    triangle.page = 0;
    triangle.attribute = kTextureTransparentTexels;
    triangle.triangle = true;
    triangle.corners = {{{128, 32}, {160, 32}, {128, 0}, {0, 0}}};
    BaseTextures textures = fakeTextures({triangle});
    SceneFixture f;
    // Two open sectors side by side, the west one sloping down to the east (shape 5) over the
    // east one, a step lower: the west one's east edge piece is a triangle.
    EditorRoom& room = addTestRoom(*f.project, 3, 4, 127, 139);
    test::shapeSector(room, 2, 2, 5, 1);
    test::setHeights(room, 3, 2, 4, gameSectorAt(room.grid, 3, 2).ceiling);
    f.build(room);
    ASSERT_GT(f.scene->mesh.triangleCount, 0);
    fillSceneBuffers(*f.scene, textures, f.buffers);
    // The far column and row of the texture are taken to their texels' far edges.
    const std::size_t first = 6u * f.scene->mesh.rectangleCount;
    ASSERT_EQ(f.buffers.faces.size(), first + 3u * f.scene->mesh.triangleCount);
    const std::array<std::array<float, 2>, 3> uv = {
        {{128.0F / 2048, 33.0F / 512}, {161.0F / 2048, 33.0F / 512}, {128.0F / 2048, 0.0F}}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(f.buffers.faces[first + i].u, uv[i][0]) << "corner " << i;
        EXPECT_FLOAT_EQ(f.buffers.faces[first + i].v, uv[i][1]) << "corner " << i;
        EXPECT_EQ(f.buffers.faces[first + i].textured, FaceVertex::kSeeThroughTexture);
    }
}

TEST(RoomScene, PortalsAreOutlinedWhereTheBuildPutsThem) {
    SceneFixture f;
    EditorRoom& room = f.smallRoom();
    test::addPortal(room, 6, 2, 1, 1, 2, 2);  // a floor portal over sector (2, 2)
    test::addPortal(room, 9, 2, 1, 1, 2, 2);  // no such face: not drawn
    f.build(room);
    ASSERT_EQ(f.scene->lineCount, 4u);
    const std::array<Point, 4> corners = {
        {{1024, 0, -1024}, {1024, 0, -2048}, {2048, 0, -2048}, {2048, 0, -1024}}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(f.scene->lines[i].kind, LineKind::Portal);
        EXPECT_EQ(f.scene->lines[i].from, corners[i]) << "edge " << i;
        EXPECT_EQ(f.scene->lines[i].to, corners[(i + 1) % 4]) << "edge " << i;
    }
    fillSceneBuffers(*f.scene, BaseTextures{}, f.buffers);
    EXPECT_EQ(f.buffers.lines.size(), 8u);
}

TEST(RoomScene, SelectedRowsAndColumnsGetABoxRoundTheirFaces) {
    struct Case {
        SceneSelection selection;
        LineKind kind;
        Point low, high;
    };
    const std::array<Case, 3> cases = {{
        {{.firstRow = 2, .lastRow = 2}, LineKind::SelectedRows, {0, 1, -2048}, {3072, 1025, -1024}},
        {{.firstColumn = 2, .lastColumn = 9}, LineKind::SelectedColumns, {1024, 1, -3072}, {3072, 1025, 0}},
        {{.firstRow = 1, .lastRow = 1}, LineKind::SelectedRows, {0, 1, -1024}, {3072, 1025, 0}},
    }};
    for (const Case& c : cases) {
        SceneFixture f;
        f.build(f.smallRoom(), c.selection);
        ASSERT_EQ(f.scene->lineCount, 12u);
        Point low = f.scene->lines[0].from, high = low;
        for (std::size_t i = 0; i < 12; ++i) {
            EXPECT_EQ(f.scene->lines[i].kind, c.kind);
            for (const Point& p : {f.scene->lines[i].from, f.scene->lines[i].to})
                for (std::size_t k = 0; k < 3; ++k) {
                    low[k] = std::min(low[k], p[k]);
                    high[k] = std::max(high[k], p[k]);
                }
        }
        EXPECT_EQ(low, c.low);
        EXPECT_EQ(high, c.high);
    }
    SceneFixture none;
    none.build(none.smallRoom(), SceneSelection{.firstRow = 4, .lastRow = 5});
    EXPECT_EQ(none.scene->lineCount, 0u) << "rows past the room mark nothing";
}

TEST(RoomScene, AMeshTheBuildRefusesIsNotDrawnAndSaysWhy) {
    SceneFixture f;
    // A 32 x 32 room at these heights needs about 2400 vertices.
    EditorRoom& room = addTestRoom(*f.project, 32, 32, 127, 143);
    f.build(room);
    EXPECT_NE(f.scene->refusal.find("more than 2000 vertices"), std::string::npos) << f.scene->refusal;
    fillSceneBuffers(*f.scene, BaseTextures{}, f.buffers);
    EXPECT_TRUE(f.buffers.faces.empty());
    // The next room that fits is drawn again.
    f.build(f.smallRoom());
    EXPECT_TRUE(f.scene->refusal.empty());
    EXPECT_EQ(f.scene->mesh.rectangleCount, 6);
}

// A shape byte outside the shape table (a project file may hold one) is refused in the build's
// words instead of being looked up.
TEST(RoomScene, AShapeTheTableLacksIsRefusedNotLookedUp) {
    SceneFixture f;
    EditorRoom& room = f.smallRoom();
    for (const std::uint8_t shape : {std::uint8_t(0), std::uint8_t(17), std::uint8_t(255)}) {
        sectorAt(room, 2, 2).floorShape = shape;
        ASSERT_NO_THROW(f.build(room));
        EXPECT_NE(f.scene->refusal.find("sector (2, 2): its floor shape " + std::to_string(shape)), std::string::npos)
            << f.scene->refusal;
        fillSceneBuffers(*f.scene, BaseTextures{}, f.buffers);
        EXPECT_TRUE(f.buffers.faces.empty());
    }
    sectorAt(room, 2, 2).floorShape = 1;
    f.build(room);
    EXPECT_TRUE(f.scene->refusal.empty());
}

TEST(RoomScene, FacingIsTheMainAxisOfTheClockwiseNormal) {
    struct Case {
        Point a, b, c;
        Facing facing;
    };
    const std::array<Case, 6> cases = {{
        {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, Facing::Up},
        {{0, 0, 0}, {1, 0, 1}, {1, 0, 0}, Facing::Down},
        {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, Facing::South},
        {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}, Facing::North},
        {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, Facing::East},
        {{0, 0, 0}, {0, 1, 1}, {0, 0, 1}, Facing::West},
    }};
    for (const Case& c : cases) EXPECT_EQ(facingOf(c.a, c.b, c.c), c.facing);
}

TEST(RoomScene, AtlasHoldsEightPagesARow) {
    EXPECT_EQ(atlasSize(0).width, 0);
    EXPECT_EQ(atlasSize(3).width, 768);
    EXPECT_EQ(atlasSize(3).height, 256);
    EXPECT_EQ(atlasSize(9).width, 2048);
    EXPECT_EQ(atlasSize(9).height, 512);
    const BaseTextures textures = fakeTextures({});
    ColourPicture atlas;
    buildTextureAtlas(textures, atlas);
    ASSERT_EQ(atlas.width, 2048);
    ASSERT_EQ(atlas.height, 512);
    for (std::uint32_t page = 0; page < 10; ++page) {
        const std::size_t x = (page % 8) * 256 + 17, y = (page / 8) * 256 + 255;
        EXPECT_EQ(atlas.argb[y * 2048 + x], 0xFF000000u | page) << "page " << page;
    }
    EXPECT_EQ(atlas.argb[300 * 2048 + 1000], 0u) << "no page there";
}

TEST(RoomScene, BrightnessRunsFromTwiceToNothing) {
    EXPECT_FLOAT_EQ(vertexBrightness(0), 2.0F);
    EXPECT_FLOAT_EQ(vertexBrightness(16 << 8), 1.0F);
    EXPECT_FLOAT_EQ(vertexBrightness(std::int16_t(32 << 8 | 0xFF)), 0.0F);
    EXPECT_FLOAT_EQ(vertexBrightness(std::int16_t(0xC800)), 0.0F) << "light bytes past 32 are dark";
}

}  // namespace
}  // namespace cw
