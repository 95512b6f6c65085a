#include "builder/room_mesh.h"

#include <algorithm>

#include "project/project_rules.h"

namespace cw {

namespace {

// 16-bit wrapping arithmetic of the mesh coordinates.
constexpr std::int16_t w16(std::int32_t v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF)); }

constexpr QuadCorner corner(std::int32_t x, std::int32_t y, std::int32_t z) { return {w16(x), w16(y), w16(z)}; }

enum Side { kFront = 0, kBack = 1, kLeft = 2, kRight = 3 };
constexpr std::array<Face, 4> kSideFaces = {Face::Front, Face::Back, Face::Left, Face::Right};

// Edge heights E[1]..E[8] of a shape, 1-based as they are named in the tables below.
struct Heights {
    const std::array<std::int32_t, 8>& e;
    std::int32_t operator[](int i) const { return e[static_cast<std::size_t>(i - 1)]; }
};

// The two edge heights of a neighbour's shape along the edge it shares with the visited sector,
// in the order (first, second) used by the edge-piece conditions: front neighbour E[3], E[4];
// back E[1], E[2]; left E[7], E[8]; right E[5], E[6].
struct SharedEdge {
    std::int32_t a = 0, b = 0;
};
SharedEdge sharedEdge(Side side, const std::array<std::int32_t, 8>& n) {
    switch (side) {
        case kFront: return {n[2], n[3]};
        case kBack: return {n[0], n[1]};
        case kLeft: return {n[6], n[7]};
        case kRight: return {n[4], n[5]};
    }
    return {};
}

// The shared edge of a neighbour as the edge pieces compare against it: its shape's heights when
// its base is at the visited sector's, all 1024 when its base is beyond (above a floor, below a
// ceiling), all 0 when short of it.
SharedEdge edgeAgainst(Side side, const std::array<std::int32_t, 8>& n, bool beyond, bool shortOf) {
    if (beyond) return {1024, 1024};
    if (shortOf) return {0, 0};
    return sharedEdge(side, n);
}

// The full-height wall piece of a side between heights y - 1024 (top) and y (bottom).
std::array<QuadCorner, 4> wallPiece(Side side, std::int32_t X, std::int32_t Y, std::int32_t Z) {
    switch (side) {
        case kFront:
            return {corner(X, Y - 1024, Z), corner(X + 1024, Y - 1024, Z), corner(X + 1024, Y, Z), corner(X, Y, Z)};
        case kBack:
            return {corner(X + 1024, Y - 1024, Z + 1024), corner(X, Y - 1024, Z + 1024), corner(X, Y, Z + 1024),
                    corner(X + 1024, Y, Z + 1024)};
        case kLeft:
            return {corner(X, Y - 1024, Z + 1024), corner(X, Y - 1024, Z), corner(X, Y, Z), corner(X, Y, Z + 1024)};
        case kRight:
            return {corner(X + 1024, Y - 1024, Z), corner(X + 1024, Y - 1024, Z + 1024), corner(X + 1024, Y, Z + 1024),
                    corner(X + 1024, Y, Z)};
    }
    return {};
}

struct Neighbour {
    bool exists = false;
    int x = 0, z = 0;
};
Neighbour neighbourOf(Side side, int x, int z, int numX, int numZ) {
    switch (side) {
        case kFront: return {z > 1, x, z - 1};
        case kBack: return {z < numZ, x, z + 1};
        case kLeft: return {x > 1, x - 1, z};
        case kRight: return {x < numX, x + 1, z};
    }
    return {};
}

int floorHeightLevel(const GameSector& s) { return (127 - s.floor) & 0xFF; }
int ceilingHeightLevel(const GameSector& s) { return (127 - s.ceiling) & 0xFF; }

// A neighbour as the step walls see it: its floor or ceiling level and whether its shape's
// shared edge has different heights at its two ends.
struct StepSide {
    bool exists = false;
    int level = 0;
    bool sloped = false;
};

// The first floor step i (t = 3 + 4i) that needs a piece against a neighbour of level Ln:
// t > Ln, or t == Ln under a sloped edge.
int firstFloorStep(int Ln, bool sloped) {
    if (Ln < 3) return 0;
    if (sloped && (Ln - 3) % 4 == 0) return (Ln - 3) / 4;
    return (Ln - 3) / 4 + 1;
}

// The first ceiling step i (t = 255 - 4i) that needs a piece against a neighbour of level Un:
// t < Un, or t == Un under a sloped edge.
int firstCeilingStep(int Un, bool sloped) {
    if (sloped && (255 - Un) % 4 == 0) return (255 - Un) / 4;
    return (255 - Un) / 4 + 1;
}

class MeshWalker {
public:
    MeshWalker(QuadList& list, const SectorGrid& grid, const std::array<Sector, kMaxSectors>& sectors,
               const ShapeTable& shapes)
        : list_(list), grid_(grid), sectors_(sectors), shapes_(shapes), numX_(grid.numX), numZ_(grid.numZ) {
        // What the neighbours are asked for, once per sector: levels and shapes.
        for (int x = 1; x <= numX_; ++x) {
            for (int z = 1; z <= numZ_; ++z) {
                const GameSector& g = game(x, z);
                const Sector& s = sector(x, z);
                Cell& c = cells_.at(cellOf(x, z));
                c.floorLevel = floorHeightLevel(g);
                c.ceilingLevel = ceilingHeightLevel(g);
                c.floorShape = &shape(s.floorShape);
                c.ceilingShape = &shape(s.ceilingShape);
            }
        }
    }

    void floorPass() {
        for (int x = 1; x <= numX_; ++x)
            for (int z = 1; z <= numZ_; ++z) floorSector(x, z);
    }
    void ceilingPass(bool doubleSided) {
        for (int x = 1; x <= numX_; ++x)
            for (int z = 1; z <= numZ_; ++z) ceilingSector(x, z, doubleSided);
    }

private:
    // A sector's levels and shapes' edge heights, for the sectors beside it.
    struct Cell {
        int floorLevel;
        int ceilingLevel;
        const std::array<std::int32_t, 8>* floorShape;
        const std::array<std::int32_t, 8>* ceilingShape;
    };
    // The cell of a sector inside the grid.
    std::size_t cellOf(int x, int z) const { return std::size_t((x - 1) * numZ_ + (z - 1)); }
    const Cell& cell(const Neighbour& nb) const { return cells_[cellOf(nb.x, nb.z)]; }

    const GameSector& game(int x, int z) const { return gameSectorAt(grid_, x, z); }
    const Sector& sector(int x, int z) const {
        return sectors_.at(std::size_t(sectorNumber(grid_.numZ, x, z)) - 1);
    }
    const std::array<std::int32_t, 8>& shape(int number) const { return shapes_[number].edgeHeights; }

    std::array<StepSide, 4> stepSides(int x, int z, bool floor) const {
        std::array<StepSide, 4> sides{};
        for (Side side : {kFront, kBack, kLeft, kRight}) {
            const Neighbour nb = neighbourOf(side, x, z, numX_, numZ_);
            if (!nb.exists) continue;
            const Cell& n = cell(nb);
            const SharedEdge e = sharedEdge(side, floor ? *n.floorShape : *n.ceilingShape);
            sides[side] = {true, floor ? n.floorLevel : n.ceilingLevel, e.a != e.b};
        }
        return sides;
    }

    void add(const Sector& s, bool floorGroup, Face face, const std::array<QuadCorner, 4>& corners) {
        const std::int32_t texture = floorGroup ? s.floorTexture(face) : s.ceilingTexture(face);
        if (texture < 0) return;
        const std::uint8_t light = floorGroup ? s.floorLight(face) : s.ceilingLight(face);
        addQuad(list_, corners, static_cast<std::int16_t>(static_cast<std::uint16_t>(texture & 0xFFFF)), light);
    }

    void floorSector(int x, int z) {
        const GameSector& g = game(x, z);
        const Sector& s = sector(x, z);
        const std::int32_t X = (x - 1) * 1024;
        const std::int32_t Z = (z - 1) * 1024;
        const int L = floorHeightLevel(g);

        // 1. Step walls, from the bottom of the world up to the sector's base: step i (t = 3 + 4i,
        //    bottom y = 32767 - 1024 i) needs a piece on a side whose neighbour's floor level is
        //    below t, or equal to t under a sloped shared edge. Steps below the first such step of
        //    every side make nothing and are skipped.
        const int n = L / 4;
        const std::array<StepSide, 4> sides = stepSides(x, z, true);
        int first = n;
        for (const StepSide& side : sides)
            if (side.exists) first = std::min(first, firstFloorStep(side.level, side.sloped));
        for (int i = first; i < n; ++i) {
            const int t = 3 + 4 * i;
            const std::int32_t Y = 32767 - 1024 * i;
            for (Side side : {kFront, kBack, kLeft, kRight}) {
                const StepSide& nb = sides[side];
                if (nb.exists && (t > nb.level || (nb.level == t && nb.sloped)))
                    add(s, true, kSideFaces[side], wallPiece(side, X, Y, Z));
            }
        }
        // 2. The base of the floor.
        const std::int32_t Y = 32767 - 1024 * n;
        const Heights S{shape(s.floorShape)};
        const int m = L / 4 + 1;

        // 3. Edge pieces raised by the shape above the base.
        for (Side side : {kFront, kBack, kLeft, kRight}) {
            const Neighbour nb = neighbourOf(side, x, z, numX_, numZ_);
            if (!nb.exists) continue;
            const Cell& nc = cell(nb);
            const int mn = nc.floorLevel / 4 + 1;
            const SharedEdge N = edgeAgainst(side, *nc.floorShape, mn > m, mn < m);
            switch (side) {
                case kFront:
                    if (S[1] > N.b || S[2] > N.a)
                        add(s, true, Face::Front,
                            {corner(X, Y - S[1], Z), corner(X + 1024, Y - S[2], Z), corner(X + 1024, Y, Z), corner(X, Y, Z)});
                    break;
                case kBack:
                    if (S[3] > N.b || S[4] > N.a)
                        add(s, true, Face::Back,
                            {corner(X + 1024, Y - S[3], Z + 1024), corner(X, Y - S[4], Z + 1024), corner(X, Y, Z + 1024),
                             corner(X + 1024, Y, Z + 1024)});
                    break;
                case kLeft:
                    if (S[5] > N.b || S[6] > N.a)
                        add(s, true, Face::Left,
                            {corner(X, Y - S[5], Z + 1024), corner(X, Y - S[6], Z), corner(X, Y, Z), corner(X, Y, Z + 1024)});
                    break;
                case kRight:
                    if (S[7] > N.b || S[8] > N.a)
                        add(s, true, Face::Right,
                            {corner(X + 1024, Y - S[7], Z), corner(X + 1024, Y - S[8], Z + 1024),
                             corner(X + 1024, Y, Z + 1024), corner(X + 1024, Y, Z)});
                    break;
            }
        }
        // 4. The floor surface of an open sector.
        if (g.floor != g.ceiling) {
            add(s, true, Face::Surface,
                {corner(X, Y - S[4], Z + 1024), corner(X + 1024, Y - S[3], Z + 1024), corner(X + 1024, Y - S[2], Z),
                 corner(X, Y - S[1], Z)});
        }
    }

    void ceilingSector(int x, int z, bool doubleSided) {
        const GameSector& g = game(x, z);
        const Sector& s = sector(x, z);
        const std::int32_t X = (x - 1) * 1024;
        const std::int32_t Z = (z - 1) * 1024;
        const int U = ceilingHeightLevel(g);

        // 1. Step walls, from the top of the world down to the sector's base: step i (t = 255 - 4i,
        //    top y = -32768 + 1024 i) needs a piece on a side whose neighbour's ceiling level is
        //    above t, or equal to t under a sloped shared edge; earlier steps are skipped.
        const int P = (U + 1) / 4;
        const int count = 64 - P;
        const std::array<StepSide, 4> sides = stepSides(x, z, false);
        int first = count;
        for (const StepSide& side : sides)
            if (side.exists) first = std::min(first, firstCeilingStep(side.level, side.sloped));
        for (int i = first; i < count; ++i) {
            const int t = 255 - 4 * i;
            const std::int32_t Yi = -32768 + 1024 * i;
            for (Side side : {kFront, kBack, kLeft, kRight}) {
                const StepSide& nb = sides[side];
                if (nb.exists && (t < nb.level || (nb.level == t && nb.sloped)))
                    add(s, false, kSideFaces[side], wallPiece(side, X, Yi, Z));
            }
        }
        // 2. The base of the ceiling.
        const std::int32_t Y = -32768 + 1024 * count - 1024;
        const Heights K{shape(s.ceilingShape)};
        const int m = P + 1;

        // 3. Edge pieces lowered by the shape below the base.
        for (Side side : {kFront, kBack, kLeft, kRight}) {
            const Neighbour nb = neighbourOf(side, x, z, numX_, numZ_);
            if (!nb.exists) continue;
            const Cell& nc = cell(nb);
            const int mn = (nc.ceilingLevel + 1) / 4 + 1;
            const SharedEdge N = edgeAgainst(side, *nc.ceilingShape, mn < m, mn > m);
            switch (side) {
                case kFront:
                    if (K[2] > N.a || K[1] > N.b)
                        add(s, false, Face::Front,
                            {corner(X, Y, Z), corner(X + 1024, Y, Z), corner(X + 1024, Y + K[2], Z), corner(X, Y + K[1], Z)});
                    break;
                case kBack:
                    if (K[4] > N.a || K[3] > N.b)
                        add(s, false, Face::Back,
                            {corner(X + 1024, Y, Z + 1024), corner(X, Y, Z + 1024), corner(X, Y + K[4], Z + 1024),
                             corner(X + 1024, Y + K[3], Z + 1024)});
                    break;
                case kLeft:
                    if (K[6] > N.a || K[5] > N.b)
                        add(s, false, Face::Left,
                            {corner(X, Y, Z + 1024), corner(X, Y, Z), corner(X, Y + K[6], Z), corner(X, Y + K[5], Z + 1024)});
                    break;
                case kRight:
                    if (K[8] > N.a || K[7] > N.b)
                        add(s, false, Face::Right,
                            {corner(X + 1024, Y, Z), corner(X + 1024, Y, Z + 1024), corner(X + 1024, Y + K[8], Z + 1024),
                             corner(X + 1024, Y + K[7], Z)});
                    break;
            }
        }
        // 4. The ceiling surface of an open sector (and its other face when double-sided).
        if (g.floor != g.ceiling) {
            if (s.ceilingShape < 11) {
                if (doubleSided)
                    add(s, false, Face::Surface,
                        {corner(X, Y + K[3], Z + 1024), corner(X + 1024, Y + K[4], Z + 1024), corner(X + 1024, Y + K[1], Z),
                         corner(X, Y + K[2], Z)});
                add(s, false, Face::Surface,
                    {corner(X, Y + K[2], Z), corner(X + 1024, Y + K[1], Z), corner(X + 1024, Y + K[4], Z + 1024),
                     corner(X, Y + K[3], Z + 1024)});
            } else {
                if (doubleSided)
                    add(s, false, Face::Surface,
                        {corner(X, Y + K[1], Z + 1024), corner(X + 1024, Y + K[2], Z + 1024), corner(X + 1024, Y + K[3], Z),
                         corner(X, Y + K[4], Z)});
                add(s, false, Face::Surface,
                    {corner(X, Y + K[4], Z), corner(X + 1024, Y + K[3], Z), corner(X + 1024, Y + K[2], Z + 1024),
                     corner(X, Y + K[1], Z + 1024)});
            }
        }
    }

    QuadList& list_;
    const SectorGrid& grid_;
    const std::array<Sector, kMaxSectors>& sectors_;
    const ShapeTable& shapes_;
    int numX_;
    int numZ_;
    std::array<Cell, kMaxSectors> cells_;  // written for the sectors of the grid
};

}  // namespace

void addQuad(QuadList& list, const std::array<QuadCorner, 4>& corners, std::int16_t texture, std::uint8_t light) {
    if (list.count >= kMaxQuads) {
        ++list.dropped;
        return;
    }
    Quad& q = list.quads[list.count++];
    q.corners = corners;
    q.texture = texture;
    q.light = light;
}

void buildRoomMesh(QuadList& list, const SectorGrid& grid, const std::array<Sector, kMaxSectors>& sectors,
                   bool doubleSidedCeiling, const ShapeTable& shapes) {
    MeshWalker walker(list, grid, sectors, shapes);
    walker.floorPass();
    walker.ceilingPass(doubleSidedCeiling);
}

bool doubleSidedCeiling(const EditorRoom& room, int gameKind) {
    return gameKind >= 1 && (room.swamp != 0 || room.water != 0);
}

// --- Vertex list ------------------------------------------------------------------------------

std::uint16_t findVertex(const LevelRoom& room, std::int16_t x, std::int16_t y, std::int16_t z) {
    for (std::size_t i = 0; i < room.vertexCount && i < kMaxRoomVertices; ++i) {
        const ShortVertex& v = room.vertices[i];
        if (v.x == x && v.y == y && v.z == z) return static_cast<std::uint16_t>(i + 1);
    }
    return 0;
}

std::uint64_t VertexIndex::keyOf(std::int16_t x, std::int16_t y, std::int16_t z) {
    return (std::uint64_t{static_cast<std::uint16_t>(x)} << 32) | (std::uint64_t{static_cast<std::uint16_t>(y)} << 16) |
           std::uint64_t{static_cast<std::uint16_t>(z)};
}

std::size_t VertexIndex::slotOf(std::uint64_t key) {
    std::uint64_t h = key * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> 52) & (kSlots - 1);  // the top 12 bits
}

namespace {
constexpr std::uint64_t kKeyBits = (std::uint64_t{1} << 48) - 1;
}

std::uint16_t VertexIndex::find(std::int16_t x, std::int16_t y, std::int16_t z) const {
    const std::uint64_t key = keyOf(x, y, z);
    for (std::size_t i = slotOf(key);; i = (i + 1) & (kSlots - 1)) {
        const std::uint64_t s = slots_[i];
        if (s == 0) return 0;
        if ((s & kKeyBits) == key) return static_cast<std::uint16_t>(s >> 48);
    }
}

void VertexIndex::insert(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t position) {
    const std::uint64_t key = keyOf(x, y, z);
    std::size_t i = slotOf(key);
    while (slots_[i] != 0) i = (i + 1) & (kSlots - 1);
    slots_[i] = (std::uint64_t{position} << 48) | key;
}

std::uint16_t VertexIndex::findOrInsert(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t position) {
    const std::uint64_t key = keyOf(x, y, z);
    for (std::size_t i = slotOf(key);; i = (i + 1) & (kSlots - 1)) {
        const std::uint64_t s = slots_[i];
        if (s == 0) {
            slots_[i] = (std::uint64_t{position} << 48) | key;
            return 0;
        }
        if ((s & kKeyBits) == key) return static_cast<std::uint16_t>(s >> 48);
    }
}

namespace {

// mergeVertex, inlined where assembleFaces merges every corner.
inline std::uint16_t mergeCorner(LevelRoom& room, VertexIndex* index, std::int16_t x, std::int16_t y, std::int16_t z,
                                 std::uint8_t light) {
    const bool full = room.vertexCount >= kMaxRoomVertices;
    // The indexed search records a new vertex's coordinates as it misses them (when it fits).
    std::uint16_t found = 0;
    if (index == nullptr) found = findVertex(room, x, y, z);
    else if (full) found = index->find(x, y, z);
    else found = index->findOrInsert(x, y, z, static_cast<std::uint16_t>(room.vertexCount + 1));
    if (found != 0) {
        ShortVertex& v = room.vertices[found - 1u];
        const auto field = static_cast<std::uint16_t>(v.light);
        const unsigned merged = ((field >> 8) + unsigned{light}) / 2;
        v.light = static_cast<std::int16_t>(static_cast<std::uint16_t>((merged << 8) | (field & 0xFF)));
        return found;
    }
    if (full) return 0;
    ShortVertex& v = room.vertices[room.vertexCount];
    v.x = x;
    v.y = y;
    v.z = z;
    const auto low = static_cast<std::uint16_t>(static_cast<std::uint16_t>(v.light) & 0xFF);
    v.light = static_cast<std::int16_t>(static_cast<std::uint16_t>((unsigned{light} << 8) | low));
    ++room.vertexCount;
    return room.vertexCount;
}

}  // namespace

std::uint16_t mergeVertex(LevelRoom& room, VertexIndex* index, std::int16_t x, std::int16_t y, std::int16_t z,
                          std::uint8_t light) {
    return mergeCorner(room, index, x, y, z, light);
}

MeshResult assembleFaces(const QuadList& list, LevelRoom& room, VertexIndex& index, VertexSearch search) {
    VertexIndex* used = search == VertexSearch::Indexed ? &index : nullptr;
    if (used != nullptr) used->clear();
    const std::size_t quads = std::min<std::size_t>(list.count, kMaxQuads);

    // Every corner into the vertex list, in quad order. The position a corner is given is the
    // first vertex with its coordinates, the one the faces name: the indexed search keeps it.
    for (std::size_t q = 0; q < quads; ++q) {
        const Quad& quad = list.quads[q];
        for (std::size_t k = 0; k < 4; ++k) {
            const QuadCorner& c = quad.corners[k];
            const std::uint16_t p = mergeCorner(room, used, c.x, c.y, c.z, quad.light);
            if (p == 0) return MeshResult::TooManyVertices;
            if (used != nullptr) used->cornerPositions[q][k] = static_cast<std::uint16_t>(p - 1);
        }
    }
    // Every quad into a rectangle or a triangle, in quad order.
    const auto positions = [&](std::size_t q) -> std::array<std::uint16_t, 4> {
        if (used != nullptr) return used->cornerPositions[q];
        std::array<std::uint16_t, 4> p{};
        const auto& c = list.quads[q].corners;
        for (std::size_t k = 0; k < 4; ++k)  // every corner was merged above
            p[k] = static_cast<std::uint16_t>(findVertex(room, c[k].x, c[k].y, c[k].z) - 1);
        return p;
    };
    for (std::size_t q = 0; q < quads; ++q) {
        const Quad& quad = list.quads[q];
        const auto& c = quad.corners;
        const auto [i1, i2, i3, i4] = positions(q);
        const bool fourIsOne = c[3] == c[0];
        const bool threeIsTwo = c[2] == c[1];
        if (fourIsOne || threeIsTwo) {
            if (room.triangleCount >= kMaxRoomTriangles) return MeshResult::TooManyTriangles;
            RoomTriangle& t = room.triangles[room.triangleCount++];
            t.vertices = {i1, i2, threeIsTwo ? i4 : i3};
            t.texture = static_cast<std::uint16_t>(quad.texture);
        } else {
            if (room.rectangleCount >= kMaxRoomRectangles) return MeshResult::TooManyRectangles;
            RoomRectangle& r = room.rectangles[room.rectangleCount++];
            r.vertices = {i1, i2, i3, i4};
            r.texture = static_cast<std::uint16_t>(quad.texture);
        }
    }
    return MeshResult::Ok;
}

std::string meshLimitMessage(int roomNumber, std::string_view roomName, MeshResult result) {
    std::string what;
    switch (result) {
        case MeshResult::TooManyVertices:
            what = "more than " + std::to_string(kMaxRoomVertices) + " vertices";
            break;
        case MeshResult::TooManyRectangles:
            what = "more than " + std::to_string(kMaxRoomRectangles) + " rectangles";
            break;
        case MeshResult::TooManyTriangles:
            what = "more than " + std::to_string(kMaxRoomTriangles) + " triangles";
            break;
        case MeshResult::Ok:
            return {};
    }
    return roomMessageLabel(roomNumber, roomName) + " needs " + what +
           ", more than a room of the level can hold. Use fewer steps, slopes and walls in it, or make the "
           "room smaller (or split it into two rooms).";
}

std::string quadLimitMessage(int roomNumber, std::string_view roomName) {
    return roomMessageLabel(roomNumber, roomName) + " needs more than " + std::to_string(kMaxQuads) +
           " faces, more than a room can be built with. Use fewer steps, slopes and walls in it, or make the "
           "room smaller (or split it into two rooms).";
}

}  // namespace cw
