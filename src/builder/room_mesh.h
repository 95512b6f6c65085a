#pragma once
// Room mesh generation: one editor room's sector grid becomes the vertices, rectangles and
// triangles of its level room.
//
//  1. buildRoomMesh walks the grid twice (floor pass, ceiling pass) and appends one Quad per face
//     to a QuadList: open sectors' floor and ceiling surfaces, and the vertical wall pieces where
//     a floor stands above (or a ceiling below) a neighbour's.
//  2. assembleFaces merges equal corners into the room's short-form vertex list in order of first
//     appearance (averaging their light bytes) and turns every quad into a rectangle, or into a
//     triangle when two of its corners coincide, in quad order.
//
// All coordinates are room-relative 16-bit values; sums and differences wrap modulo 65536.
// The vertex search gives the first vertex with equal coordinates. assembleFaces finds it through
// a hash index (time in proportion to the corners); the literal scan of the whole list is kept
// (VertexSearch::LinearScan) for comparison.
#include <array>
#include <cstdint>
#include <string>

#include "levelfile/level_image.h"
#include "project/project.h"

namespace cw {

inline constexpr std::size_t kMaxQuads = 6000;

struct QuadCorner {
    std::int16_t x = 0, y = 0, z = 0;
    friend bool operator==(const QuadCorner&, const QuadCorner&) = default;
};

struct Quad {
    std::array<QuadCorner, 4> corners{};
    std::int16_t texture = 0;  // low 16 bits of the sector's texture
    std::uint8_t light = 0;
    friend bool operator==(const Quad&, const Quad&) = default;
};

// Up to 6000 quads of one room. A quad added to a full list is not stored; `dropped` counts
// such quads so the build can refuse the room instead of writing a mesh with holes.
struct QuadList {
    std::uint16_t count = 0;
    std::uint32_t dropped = 0;
    std::array<Quad, kMaxQuads> quads{};

    void clear() {
        count = 0;
        dropped = 0;
    }
};

void addQuad(QuadList& list, const std::array<QuadCorner, 4>& corners, std::int16_t texture, std::uint8_t light);

// Appends the quads of the room whose grid (numZ, numX, game sectors) and editor sectors are
// given. doubleSidedCeiling adds the other face of every ceiling surface (water and swamp rooms).
// Shapes must be 1..16 (checked by the caller; a shape outside the table throws std::out_of_range).
void buildRoomMesh(QuadList& list, const SectorGrid& grid, const std::array<Sector, kMaxSectors>& sectors,
                   bool doubleSidedCeiling, const ShapeTable& shapes);

// Whether the build gives the room's ceiling surfaces both faces on a base level of this game
// kind (levelfile/level_image.h): water and swamp rooms on a level of a known kind.
bool doubleSidedCeiling(const EditorRoom& room, int gameKind);

// --- Vertex list ------------------------------------------------------------------------------

// Position 1..vertexCount of the first vertex of the room with these coordinates, 0 when there
// is none: the literal scan from the start of the list.
std::uint16_t findVertex(const LevelRoom& room, std::int16_t x, std::int16_t y, std::int16_t z);

enum class VertexSearch { Indexed, LinearScan };
enum class MeshResult { Ok, TooManyVertices, TooManyRectangles, TooManyTriangles };

// Index of a room's vertex list: coordinates -> position (1-based) of the first vertex with
// them. Fixed size (open addressing, no allocation); vertices are only ever appended, so the
// first position stored for a key stays the first match. It also holds, for assembleFaces, the
// position each corner of the quads was given.
class VertexIndex {
public:
    void clear() { slots_.fill(0); }
    std::uint16_t find(std::int16_t x, std::int16_t y, std::int16_t z) const;
    // Records position for the coordinates (the caller has made sure they are not there yet).
    void insert(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t position);
    // find, and when the coordinates are not there, records position for them (and gives 0):
    // one search where find and insert make two.
    std::uint16_t findOrInsert(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t position);

    // The 0-based vertex position of each quad's corners, as assembleFaces merged them.
    std::array<std::array<std::uint16_t, 4>, kMaxQuads> cornerPositions{};

    // A slot holds the coordinates in its top 48 bits and the position in its low 16 (0: empty).
    static std::uint64_t keyOf(std::int16_t x, std::int16_t y, std::int16_t z);

private:
    friend MeshResult assembleFaces(const QuadList&, LevelRoom&, VertexIndex&, VertexSearch);
    // assembleFaces' merging of the first quads' corners (mergeVertex of each, in order), with
    // cornerPositions filled; TooManyVertices when a new vertex does not fit.
    MeshResult mergeCorners(const QuadList& list, std::size_t quads, LevelRoom& room);

    static constexpr std::size_t kSlots = 4096;  // a power of two, more than twice kMaxRoomVertices
    static std::size_t slotOf(std::uint64_t key);
    std::array<std::uint64_t, kSlots> slots_{};
};

// Merges a corner into the room's vertex list: a vertex with the same coordinates gets the light
// byte (its light byte + light) div 2; otherwise the corner is appended with the light byte in
// the high byte of the light field (the low byte keeps what the slot held). Returns the vertex's
// position 1..vertexCount, or 0 when a new vertex does not fit (2000 already stored).
// index is used and kept up to date when not null (it must then index exactly this list).
std::uint16_t mergeVertex(LevelRoom& room, VertexIndex* index, std::int16_t x, std::int16_t y, std::int16_t z,
                          std::uint8_t light);

// Fills the room's vertices, rectangles and triangles from the quads (the caller has set the
// three counts to 0). Stops at the first list that would pass its capacity and says which; what
// was stored until then refers only to stored vertices. index is working storage for
// VertexSearch::Indexed (it is cleared here).
MeshResult assembleFaces(const QuadList& list, LevelRoom& room, VertexIndex& index,
                         VertexSearch search = VertexSearch::Indexed);

// The refusal of a room whose mesh does not fit: names the room, the limit and what to change.
// result TooMany... or, for quads, use quadLimitMessage.
std::string meshLimitMessage(int roomNumber, std::string_view roomName, MeshResult result);
std::string quadLimitMessage(int roomNumber, std::string_view roomName);

}  // namespace cw
