#pragma once
// The room as the 3D view draws it, in plain arrays (no window system, no OpenGL).
//
//  1. buildRoomScene makes the room's faces exactly as the build makes them: buildRoomMesh and
//     assembleFaces of builder/room_mesh.h, so that every vertex carries the light the build
//     gives it (the face lights of its corners averaged as they are merged). It adds the
//     outlines of the room's portals (portalGeometry of project/project_rules.h) and wire boxes
//     round the rows and columns selected in the room editor's side views.
//  2. fillSceneBuffers turns a scene into the vertex arrays the view hands to OpenGL: two
//     triangles a rectangle, each corner with its place, its place in the texture atlas (corner
//     i of the object texture with vertex i of the face) and its brightness; lines a pair of
//     points. Faces whose texture the base level does not have, and every face when there is no
//     base level, get a flat colour by the way they look (up, down, north, south, east, west).
//
// Coordinates of the view: x east, y up, z south (the game's room-relative x, -y, -z), in the
// game's units (1024 a sector). Vertex light 0 is the brightest and 32 the darkest; 16 shows a
// texture's own colours (the brightness factor is (32 - light) / 16).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "builder/room_mesh.h"
#include "drawing/level_textures.h"
#include "levelfile/level_image.h"
#include "project/project.h"

namespace cw {

// Which way a face looks: the main axis of its normal.
enum class Facing : std::uint8_t { Up, Down, North, South, East, West };
inline constexpr int kFacingCount = 6;

enum class LineKind : std::uint8_t { Portal, SelectedRows, SelectedColumns };

struct SceneLine {
    std::array<float, 3> from{};
    std::array<float, 3> to{};
    LineKind kind = LineKind::Portal;
};

// The side views' selections: rows first..last of the front/back view, columns of the left/right
// view (1-based; none when last < first). Lines past the room's edge are cut off.
struct SceneSelection {
    int firstRow = 1, lastRow = 0;
    int firstColumn = 1, lastColumn = 0;
};

// 20 portals of four edges and two wire boxes of twelve.
inline constexpr std::size_t kMaxSceneLines = 4 * kMaxPortals + 2 * 12;

struct RoomScene {
    // The room's vertices, rectangles and triangles as the build makes them (only those three
    // lists and their counts are used).
    LevelRoom mesh;
    // Why the build would refuse the room's mesh (it then holds no faces); empty when it fits.
    std::string refusal;
    int numX = 0, numZ = 0;
    std::size_t lineCount = 0;
    std::array<SceneLine, kMaxSceneLines> lines{};
    // The box round every vertex and line, in view coordinates (all 0 for an empty scene).
    std::array<float, 3> low{}, high{};
};

// The working storage of buildRoomScene, kept between calls.
struct SceneWork {
    QuadList quads;
    VertexIndex index;
};

// Fills the scene from the room (its number names it in a refusal). doubleSided: the build's
// doubleSidedCeiling (builder/room_mesh.h) for the base level's game kind.
void buildRoomScene(const EditorRoom& room, int roomNumber, bool doubleSided, const SceneSelection& selection,
                    SceneWork& work, RoomScene& scene);

// The way a face with these first three corners (view coordinates) looks. Corners in the
// game's order wind clockwise seen from the front.
Facing facingOf(const std::array<float, 3>& a, const std::array<float, 3>& b, const std::array<float, 3>& c);

// The flat colour of a face looking that way, 0xRRGGBB.
std::uint32_t facingColour(Facing facing);

// The brightness factor of a vertex light field (its high byte is the light, 0..32).
float vertexBrightness(std::int16_t lightField);

// --- The arrays handed to OpenGL ---------------------------------------------------------------

struct FaceVertex {
    float x = 0, y = 0, z = 0;
    float u = 0, v = 0;     // place in the atlas, 0..1; unused when not textured
    float r = 1, g = 1, b = 1;  // flat colour (1, 1, 1 on a textured face)
    float brightness = 1;
    // kFlat: the flat colour times the brightness; kOpaqueTexture: the atlas colour times the
    // brightness; kSeeThroughTexture: the same, transparent texels left out (attribute 1).
    float textured = kFlat;

    static constexpr float kFlat = 0, kOpaqueTexture = 1, kSeeThroughTexture = 2;
};

struct SceneBuffers {
    std::vector<FaceVertex> faces;  // three a triangle
    std::vector<FaceVertex> lines;  // two a line, flat colours at brightness 1
};

// The base level's texture pages side by side in one picture, kAtlasColumns pages a row.
inline constexpr int kAtlasColumns = 8;
struct AtlasSize {
    int width = 0, height = 0;
};
AtlasSize atlasSize(std::size_t pageCount);
// The atlas of the pages (an empty picture when there are none).
void buildTextureAtlas(const BaseTextures& textures, ColourPicture& atlas);

// Fills the buffers from the scene (their storage is reused). textures may have kind 0 (no
// base level): every face is then drawn in its flat colour.
void fillSceneBuffers(const RoomScene& scene, const BaseTextures& textures, SceneBuffers& out);

}  // namespace cw
