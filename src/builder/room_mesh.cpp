#include "builder/room_mesh.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <tuple>

#include "project/project_rules.h"

namespace cw {

namespace {

// 16-bit wrapping arithmetic of the mesh coordinates.
constexpr std::int16_t w16(std::int32_t v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF)); }

constexpr QuadCorner corner(std::int32_t x, std::int32_t y, std::int32_t z) { return {w16(x), w16(y), w16(z)}; }

enum Side { kFront = 0, kBack = 1, kLeft = 2, kRight = 3 };

// The two edge heights (0-based E indices) of a neighbour's shape along the edge it shares with
// the visited sector, in the order (first, second) used by the edge-piece conditions: front
// neighbour E[3], E[4]; back E[1], E[2]; left E[7], E[8]; right E[5], E[6].
constexpr std::array<std::array<std::size_t, 2>, 4> kSharedEdge = {{{2, 3}, {0, 1}, {6, 7}, {4, 5}}};

using EdgeHeights = std::array<std::int32_t, 8>;

int floorHeightLevel(const GameSector& s) { return (127 - s.floor) & 0xFF; }
int ceilingHeightLevel(const GameSector& s) { return (127 - s.ceiling) & 0xFF; }

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

// Appends a quad straight into the list's next slot (addQuad without the array).
inline void store(QuadList& list, std::int16_t texture, std::uint8_t light, QuadCorner a, QuadCorner b, QuadCorner c,
                  QuadCorner d) {
    if (list.count >= kMaxQuads) {
        ++list.dropped;
        return;
    }
    Quad& q = list.quads[list.count++];
    q.corners[0] = a;
    q.corners[1] = b;
    q.corners[2] = c;
    q.corners[3] = d;
    q.texture = texture;
    q.light = light;
}

// A face of the visited sector: a negative texture makes no quad; the quad keeps the low 16 bits.
inline void put(QuadList& list, std::int32_t texture, std::uint8_t light, QuadCorner a, QuadCorner b, QuadCorner c,
                QuadCorner d) {
    if (texture < 0) return;
    store(list, static_cast<std::int16_t>(static_cast<std::uint16_t>(texture & 0xFFFF)), light, a, b, c, d);
}

// The places of a grid with a ring around it, (numX + 2)(numZ + 2), at most: for numX numZ up
// to kMaxSectors it is largest for a single row or column.
constexpr std::size_t kPaddedCells = 3 * (kMaxSectors + 2);
// levelWithNeighbours' values for a shape that is not level and for the ring.
constexpr std::int16_t kUneven = -1;
constexpr std::int16_t kOutside = -2;

class MeshWalker {
public:
    MeshWalker(QuadList& list, const SectorGrid& grid, const std::array<Sector, kMaxSectors>& sectors,
               const ShapeTable& shapes)
        : list_(list), grid_(grid), sectors_(sectors), numX_(grid.numX), numZ_(grid.numZ) {
        // What the neighbours are asked for, once per sector: levels, base steps, shapes, step
        // keys and the values levelWithNeighbours compares.
        const std::size_t cells = std::size_t(numX_) * std::size_t(numZ_);
        if (cells > kMaxSectors) throw std::out_of_range("room grid larger than the sector array");
        if (cells == 0) return;  // nothing to walk (and no padded grid to lay out)
        // The part of the step keys a shape gives, side k in the 16 bits from 16 k: whether the
        // edge it shows as side k is flat (floor) or sloped (ceiling).
        constexpr std::uint64_t kLanes = 0x0001'0001'0001'0001ull;
        std::array<std::uint64_t, std::tuple_size_v<decltype(shapes.entries)>> floorKeys{}, ceilingKeys{};
        for (std::size_t e = 0; e < floorKeys.size(); ++e) {
            const EdgeHeights& h = shapes.entries[e].edgeHeights;
            for (std::size_t side = 0; side < 4; ++side) {
                const bool sloped = h[kSharedEdge[side][0]] != h[kSharedEdge[side][1]];
                (sloped ? ceilingKeys[e] : floorKeys[e]) |= std::uint64_t{1} << (16 * side);
            }
        }
        const auto fill = [&](PassCell& cell, int shape, int level, int base, const auto& keys) {
            cell.shape = &shapes[shape].edgeHeights;  // a shape outside the table throws here
            cell.level = static_cast<std::int16_t>(level);
            cell.base = static_cast<std::int16_t>(base);
            const std::uint64_t stepKeys = keys[std::size_t(shape)] + std::uint64_t(2 * level) * kLanes;
            for (std::size_t side = 0; side < 4; ++side)
                cell.stepKey[side] = static_cast<std::int16_t>(static_cast<std::uint16_t>(stepKeys >> (16 * side)));
        };
        // A shape whose eight heights are all one: beside another sector with that shape at the
        // same base, neither makes a step wall or an edge piece toward the other.
        std::array<bool, std::tuple_size_v<decltype(shapes.entries)>> levelShape{};
        for (std::size_t e = 0; e < levelShape.size(); ++e) {
            const EdgeHeights& h = shapes.entries[e].edgeHeights;
            levelShape[e] = std::all_of(h.begin(), h.end(), [&](std::int32_t v) { return v == h[0]; });
        }
        const auto match = [&](int shape, int base) {
            return static_cast<std::int16_t>(levelShape[std::size_t(shape)] ? base * 32 + shape : kUneven);
        };
        const std::size_t places = cells + 2 * std::size_t(numX_ + numZ_) + 4;  // padded grid
        std::fill_n(floorMatch_.begin(), places, kOutside);
        std::fill_n(ceilingMatch_.begin(), places, kOutside);
        std::size_t p = 0;
        for (int x = 1; x <= numX_; ++x) {
            for (int z = 1; z <= numZ_; ++z, ++p) {
                const GameSector& g = grid_.gameSectors[p];
                const Sector& s = sectors_[p];
                const int floorLevel = floorHeightLevel(g);
                const int ceilingLevel = ceilingHeightLevel(g);
                fill(floorCells_[p], s.floorShape, floorLevel, floorLevel / 4, floorKeys);
                fill(ceilingCells_[p], s.ceilingShape, ceilingLevel, (ceilingLevel + 1) / 4, ceilingKeys);
                const std::size_t pp = padded(x, z);
                floorMatch_[pp] = match(s.floorShape, floorCells_[p].base);
                ceilingMatch_[pp] = match(s.ceilingShape, ceilingCells_[p].base);
            }
        }
    }

    void floorPass() {
        std::size_t p = 0;
        for (int x = 1; x <= numX_; ++x)
            for (int z = 1; z <= numZ_; ++z, ++p) floorSector(x, z, p);
    }
    void ceilingPass(bool doubleSided) {
        std::size_t p = 0;
        for (int x = 1; x <= numX_; ++x)
            for (int z = 1; z <= numZ_; ++z, ++p) ceilingSector(x, z, p, doubleSided);
    }

private:
    // Sector (x, z) in a grid with a ring of places around it (0..numX + 1, 0..numZ + 1).
    std::size_t padded(int x, int z) const { return std::size_t(x) * std::size_t(numZ_ + 2) + std::size_t(z); }
    // Whether the four neighbours of sector (x, z) have its level shape at its base: then the
    // sector makes no step wall and no edge piece, only its surface.
    static bool levelWithNeighbours(const std::array<std::int16_t, kPaddedCells>& match, std::size_t pp,
                                    std::size_t column) {
        const int m = match[pp];
        return m >= 0 && ((match[pp - 1] ^ m) | (match[pp + 1] ^ m) | (match[pp - column] ^ m) |
                          (match[pp + column] ^ m)) == 0;
    }

    // A sector as its neighbours see it in one pass (floor or ceiling).
    struct PassCell {
        const EdgeHeights* shape;
        std::int16_t level;  // floor or ceiling level
        std::int16_t base;   // its base step: floor level / 4, (ceiling level + 1) / 4
        // What a sector with this one on side k compares to see whether it has step walls:
        // floor 2 level + 1, less 1 under a sloped shared edge; ceiling 2 level, plus 1 when sloped.
        std::array<std::int16_t, 4> stepKey;
    };
    // The neighbours of sector p on the four sides (null where the grid ends).
    std::array<const PassCell*, 4> around(const std::array<PassCell, kMaxSectors>& cells, int x, int z,
                                          std::size_t p) const {
        const auto col = std::size_t(numZ_);
        return {z > 1 ? &cells[p - 1] : nullptr, z < numZ_ ? &cells[p + 1] : nullptr,
                x > 1 ? &cells[p - col] : nullptr, x < numX_ ? &cells[p + col] : nullptr};
    }
    static bool sloped(const PassCell& n, Side side) {
        const auto [a, b] = kSharedEdge[side];
        return (*n.shape)[a] != (*n.shape)[b];
    }

    // 1. Step walls, from the bottom of the world up to the sector's base: step i (t = 3 + 4i,
    //    bottom y = 32767 - 1024 i) needs a piece on a side whose neighbour's floor level is below
    //    t, or equal to t under a sloped shared edge: on each side, every step from the first that
    //    does (firstFloorStep). Steps below the first such step of every side make nothing.
    void floorSteps(const Sector& s, const std::array<const PassCell*, 4>& nb, int n, std::int32_t X,
                    std::int32_t Z) {
        std::array<int, 4> from{};
        for (std::size_t side = 0; side < 4; ++side)
            from[side] = nb[side] == nullptr ? n : firstFloorStep(nb[side]->level, sloped(*nb[side], Side(side)));
        const int first = std::min({from[0], from[1], from[2], from[3]});
        for (int i = first; i < n; ++i) stepPieces(i, from, 32767 - 1024 * i, X, Z, s.floorTextures, s.floorLights);
    }
    // 1. Step walls, from the top of the world down to the sector's base: step i (t = 255 - 4i,
    //    top y = -32768 + 1024 i) needs a piece on a side whose neighbour's ceiling level is above
    //    t, or equal to t under a sloped shared edge: on each side, every step from the first that
    //    does (firstCeilingStep); earlier steps are skipped.
    void ceilingSteps(const Sector& s, const std::array<const PassCell*, 4>& nb, int count, std::int32_t X,
                      std::int32_t Z) {
        std::array<int, 4> from{};
        for (std::size_t side = 0; side < 4; ++side)
            from[side] =
                nb[side] == nullptr ? count : firstCeilingStep(nb[side]->level, sloped(*nb[side], Side(side)));
        const int first = std::min({from[0], from[1], from[2], from[3]});
        for (int i = first; i < count; ++i)
            stepPieces(i, from, -32768 + 1024 * i, X, Z, s.ceilingTextures, s.ceilingLights);
    }
    // The full-height wall pieces of step i between heights Y - 1024 (top) and Y (bottom) on the
    // sides whose pieces start at or before it, front, back, left, right.
    void stepPieces(int i, const std::array<int, 4>& from, std::int32_t Y, std::int32_t X, std::int32_t Z,
                    const std::array<std::int32_t, 5>& textures, const std::array<std::uint8_t, 5>& lights) {
        const auto texture = [&](Face f) { return textures[std::size_t(Sector::textureSlot(f))]; };
        const auto light = [&](Face f) { return lights[std::size_t(f)]; };
        const std::int32_t T = Y - 1024;
        if (i >= from[kFront])
            put(list_, texture(Face::Front), light(Face::Front), corner(X, T, Z), corner(X + 1024, T, Z),
                corner(X + 1024, Y, Z), corner(X, Y, Z));
        if (i >= from[kBack])
            put(list_, texture(Face::Back), light(Face::Back), corner(X + 1024, T, Z + 1024), corner(X, T, Z + 1024),
                corner(X, Y, Z + 1024), corner(X + 1024, Y, Z + 1024));
        if (i >= from[kLeft])
            put(list_, texture(Face::Left), light(Face::Left), corner(X, T, Z + 1024), corner(X, T, Z),
                corner(X, Y, Z), corner(X, Y, Z + 1024));
        if (i >= from[kRight])
            put(list_, texture(Face::Right), light(Face::Right), corner(X + 1024, T, Z), corner(X + 1024, T, Z + 1024),
                corner(X + 1024, Y, Z + 1024), corner(X + 1024, Y, Z));
    }

    // Whether a floor of base step n has step walls: the step just below the base, t = 4n - 1,
    // stands above a neighbour's level, or at it under a sloped shared edge.
    static bool hasFloorSteps(const std::array<const PassCell*, 4>& nb, int n) {
        bool any = false;
        for (std::size_t side = 0; side < 4; ++side)
            any |= nb[side] != nullptr && nb[side]->stepKey[side] < 8 * n - 1;
        return any;
    }
    // Whether a ceiling of base step P has step walls: the step just above the base, t = 4P + 3,
    // lies below a neighbour's level, or at it under a sloped shared edge.
    static bool hasCeilingSteps(const std::array<const PassCell*, 4>& nb, int P) {
        bool any = false;
        for (std::size_t side = 0; side < 4; ++side)
            any |= nb[side] != nullptr && nb[side]->stepKey[side] > 8 * P + 6;
        return any;
    }
    // The shared edge (first, second) of a neighbour as the edge pieces compare against it: its
    // shape's heights when its base is at the visited sector's, all 1024 when its base is beyond
    // (above a floor, below a ceiling), all 0 when short of it.
    struct SharedEdge {
        std::int32_t a, b;
    };
    static SharedEdge edgeAgainst(const PassCell& n, Side side, bool beyond, bool shortOf) {
        if (beyond) return {1024, 1024};
        if (shortOf) return {0, 0};
        const auto [a, b] = kSharedEdge[side];
        return {(*n.shape)[a], (*n.shape)[b]};
    }

    void floorSector(int x, int z, std::size_t p) {
        const Sector& s = sectors_[p];
        const PassCell& self = floorCells_[p];
        const std::int32_t X = (x - 1) * 1024;
        const std::int32_t Z = (z - 1) * 1024;
        const int n = self.base;
        // 2. The base of the floor.
        const std::int32_t Y = 32767 - 1024 * n;
        const EdgeHeights& S = *self.shape;

        if (!levelWithNeighbours(floorMatch_, padded(x, z), std::size_t(numZ_) + 2))
            floorSides(s, x, z, p, X, Y, Z);

        // 4. The floor surface of an open sector.
        const GameSector& g = grid_.gameSectors[p];
        if (g.floor != g.ceiling)
            put(list_, s.floorTexture(Face::Surface), s.floorLight(Face::Surface), corner(X, Y - S[3], Z + 1024),
                corner(X + 1024, Y - S[2], Z + 1024), corner(X + 1024, Y - S[1], Z), corner(X, Y - S[0], Z));
    }
    // 1. and 3. of a floor: its step walls and edge pieces.
    void floorSides(const Sector& s, int x, int z, std::size_t p, std::int32_t X, std::int32_t Y, std::int32_t Z) {
        const PassCell& self = floorCells_[p];
        const std::array<const PassCell*, 4> nb = around(floorCells_, x, z, p);
        const int n = self.base;
        if (hasFloorSteps(nb, n)) floorSteps(s, nb, n, X, Z);

        // 3. Edge pieces raised by the shape above the base.
        const EdgeHeights& S = *self.shape;
        const auto against = [&](Side side) {
            const PassCell& c = *nb[side];
            return edgeAgainst(c, side, c.base > n, c.base < n);
        };
        if (nb[kFront] != nullptr) {
            const SharedEdge N = against(kFront);
            if (S[0] > N.b || S[1] > N.a)
                put(list_, s.floorTexture(Face::Front), s.floorLight(Face::Front), corner(X, Y - S[0], Z),
                    corner(X + 1024, Y - S[1], Z), corner(X + 1024, Y, Z), corner(X, Y, Z));
        }
        if (nb[kBack] != nullptr) {
            const SharedEdge N = against(kBack);
            if (S[2] > N.b || S[3] > N.a)
                put(list_, s.floorTexture(Face::Back), s.floorLight(Face::Back), corner(X + 1024, Y - S[2], Z + 1024),
                    corner(X, Y - S[3], Z + 1024), corner(X, Y, Z + 1024), corner(X + 1024, Y, Z + 1024));
        }
        if (nb[kLeft] != nullptr) {
            const SharedEdge N = against(kLeft);
            if (S[4] > N.b || S[5] > N.a)
                put(list_, s.floorTexture(Face::Left), s.floorLight(Face::Left), corner(X, Y - S[4], Z + 1024),
                    corner(X, Y - S[5], Z), corner(X, Y, Z), corner(X, Y, Z + 1024));
        }
        if (nb[kRight] != nullptr) {
            const SharedEdge N = against(kRight);
            if (S[6] > N.b || S[7] > N.a)
                put(list_, s.floorTexture(Face::Right), s.floorLight(Face::Right), corner(X + 1024, Y - S[6], Z),
                    corner(X + 1024, Y - S[7], Z + 1024), corner(X + 1024, Y, Z + 1024), corner(X + 1024, Y, Z));
        }
    }

    void ceilingSector(int x, int z, std::size_t p, bool doubleSided) {
        const Sector& s = sectors_[p];
        const PassCell& self = ceilingCells_[p];
        const std::int32_t X = (x - 1) * 1024;
        const std::int32_t Z = (z - 1) * 1024;
        const int P = self.base;
        const int count = 64 - P;
        // 2. The base of the ceiling.
        const std::int32_t Y = -32768 + 1024 * count - 1024;
        const EdgeHeights& K = *self.shape;

        if (!levelWithNeighbours(ceilingMatch_, padded(x, z), std::size_t(numZ_) + 2))
            ceilingSides(s, x, z, p, X, Y, Z);

        // 4. The ceiling surface of an open sector (and its other face when double-sided).
        const GameSector& g = grid_.gameSectors[p];
        if (g.floor == g.ceiling) return;
        const std::int32_t texture = s.ceilingTexture(Face::Surface);
        const std::uint8_t light = s.ceilingLight(Face::Surface);
        if (s.ceilingShape < 11) {
            if (doubleSided)
                put(list_, texture, light, corner(X, Y + K[2], Z + 1024), corner(X + 1024, Y + K[3], Z + 1024),
                    corner(X + 1024, Y + K[0], Z), corner(X, Y + K[1], Z));
            put(list_, texture, light, corner(X, Y + K[1], Z), corner(X + 1024, Y + K[0], Z),
                corner(X + 1024, Y + K[3], Z + 1024), corner(X, Y + K[2], Z + 1024));
        } else {
            if (doubleSided)
                put(list_, texture, light, corner(X, Y + K[0], Z + 1024), corner(X + 1024, Y + K[1], Z + 1024),
                    corner(X + 1024, Y + K[2], Z), corner(X, Y + K[3], Z));
            put(list_, texture, light, corner(X, Y + K[3], Z), corner(X + 1024, Y + K[2], Z),
                corner(X + 1024, Y + K[1], Z + 1024), corner(X, Y + K[0], Z + 1024));
        }
    }
    // 1. and 3. of a ceiling: its step walls and edge pieces.
    void ceilingSides(const Sector& s, int x, int z, std::size_t p, std::int32_t X, std::int32_t Y, std::int32_t Z) {
        const PassCell& self = ceilingCells_[p];
        const std::array<const PassCell*, 4> nb = around(ceilingCells_, x, z, p);
        const int P = self.base;
        const int count = 64 - P;
        if (hasCeilingSteps(nb, P)) ceilingSteps(s, nb, count, X, Z);

        const EdgeHeights& K = *self.shape;
        // 3. Edge pieces lowered by the shape below the base.
        const auto against = [&](Side side) {
            const PassCell& c = *nb[side];
            return edgeAgainst(c, side, c.base < P, c.base > P);
        };
        if (nb[kFront] != nullptr) {
            const SharedEdge N = against(kFront);
            if (K[1] > N.a || K[0] > N.b)
                put(list_, s.ceilingTexture(Face::Front), s.ceilingLight(Face::Front), corner(X, Y, Z),
                    corner(X + 1024, Y, Z), corner(X + 1024, Y + K[1], Z), corner(X, Y + K[0], Z));
        }
        if (nb[kBack] != nullptr) {
            const SharedEdge N = against(kBack);
            if (K[3] > N.a || K[2] > N.b)
                put(list_, s.ceilingTexture(Face::Back), s.ceilingLight(Face::Back), corner(X + 1024, Y, Z + 1024),
                    corner(X, Y, Z + 1024), corner(X, Y + K[3], Z + 1024), corner(X + 1024, Y + K[2], Z + 1024));
        }
        if (nb[kLeft] != nullptr) {
            const SharedEdge N = against(kLeft);
            if (K[5] > N.a || K[4] > N.b)
                put(list_, s.ceilingTexture(Face::Left), s.ceilingLight(Face::Left), corner(X, Y, Z + 1024),
                    corner(X, Y, Z), corner(X, Y + K[5], Z), corner(X, Y + K[4], Z + 1024));
        }
        if (nb[kRight] != nullptr) {
            const SharedEdge N = against(kRight);
            if (K[7] > N.a || K[6] > N.b)
                put(list_, s.ceilingTexture(Face::Right), s.ceilingLight(Face::Right), corner(X + 1024, Y, Z),
                    corner(X + 1024, Y, Z + 1024), corner(X + 1024, Y + K[7], Z + 1024),
                    corner(X + 1024, Y + K[6], Z));
        }
    }

    QuadList& list_;
    const SectorGrid& grid_;
    const std::array<Sector, kMaxSectors>& sectors_;
    int numX_;
    int numZ_;
    // Written for the sectors of the grid, numbered as the sector arrays.
    std::array<PassCell, kMaxSectors> floorCells_;
    std::array<PassCell, kMaxSectors> ceilingCells_;
    // Per place of the padded grid (padded): the base step and shape of a sector's floor or
    // ceiling as levelWithNeighbours compares them (base * 32 + shape), kUneven for a shape that
    // is not level, kOutside for the ring.
    std::array<std::int16_t, kPaddedCells> floorMatch_;
    std::array<std::int16_t, kPaddedCells> ceilingMatch_;
};

}  // namespace

void addQuad(QuadList& list, const std::array<QuadCorner, 4>& corners, std::int16_t texture, std::uint8_t light) {
    store(list, texture, light, corners[0], corners[1], corners[2], corners[3]);
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

// The key is the corner's three little-endian 16-bit coordinates as they lie in memory, above
// 16 bits for the position, so that assembleFaces reads a quad corner's key in one load and a
// shift (cornerKey).
std::uint64_t VertexIndex::keyOf(std::int16_t x, std::int16_t y, std::int16_t z) {
    return (std::uint64_t{static_cast<std::uint16_t>(x)} << 16) | (std::uint64_t{static_cast<std::uint16_t>(y)} << 32) |
           (std::uint64_t{static_cast<std::uint16_t>(z)} << 48);
}

std::size_t VertexIndex::slotOf(std::uint64_t key) {
    std::uint64_t h = key * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> 52) & (kSlots - 1);  // the top 12 bits
}

namespace {
// Whether a slot holds the key (its bits above the position are the key's).
constexpr bool holds(std::uint64_t slot, std::uint64_t key) { return (slot ^ key) <= 0xFFFF; }
constexpr std::uint16_t positionIn(std::uint64_t slot) { return static_cast<std::uint16_t>(slot); }
}  // namespace

std::uint16_t VertexIndex::find(std::int16_t x, std::int16_t y, std::int16_t z) const {
    const std::uint64_t key = keyOf(x, y, z);
    for (std::size_t i = slotOf(key);; i = (i + 1) & (kSlots - 1)) {
        const std::uint64_t s = slots_[i];
        if (s == 0) return 0;
        if (holds(s, key)) return positionIn(s);
    }
}

void VertexIndex::insert(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t position) {
    const std::uint64_t key = keyOf(x, y, z);
    std::size_t i = slotOf(key);
    while (slots_[i] != 0) i = (i + 1) & (kSlots - 1);
    slots_[i] = key | position;
}

std::uint16_t VertexIndex::findOrInsert(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t position) {
    const std::uint64_t key = keyOf(x, y, z);
    for (std::size_t i = slotOf(key);; i = (i + 1) & (kSlots - 1)) {
        const std::uint64_t s = slots_[i];
        if (s == 0) {
            slots_[i] = key | position;
            return 0;
        }
        if (holds(s, key)) return positionIn(s);
    }
}

namespace {

// A vertex's light byte (the high byte of its light field) averaged with a corner's.
inline void mergeLight(ShortVertex& v, unsigned light) {
    if constexpr (std::endian::native == std::endian::little) {
        unsigned char& high = reinterpret_cast<unsigned char*>(&v.light)[1];
        high = static_cast<unsigned char>((high + light) / 2);
    } else {
        const auto field = static_cast<std::uint16_t>(v.light);
        const unsigned merged = ((field >> 8) + light) / 2;
        v.light = static_cast<std::int16_t>(static_cast<std::uint16_t>((merged << 8) | (field & 0xFF)));
    }
}

// A new vertex in a list slot: the corner's coordinates, its light byte in the high byte of the
// light field (the low byte keeps what the slot held).
inline void setVertex(ShortVertex& v, std::int16_t x, std::int16_t y, std::int16_t z, unsigned light) {
    v.x = x;
    v.y = y;
    v.z = z;
    const auto low = static_cast<std::uint16_t>(static_cast<std::uint16_t>(v.light) & 0xFF);
    v.light = static_cast<std::int16_t>(static_cast<std::uint16_t>((light << 8) | low));
}

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
        mergeLight(room.vertices[found - 1u], light);
        return found;
    }
    if (full) return 0;
    setVertex(room.vertices[room.vertexCount], x, y, z, light);
    ++room.vertexCount;
    return room.vertexCount;
}

}  // namespace

std::uint16_t mergeVertex(LevelRoom& room, VertexIndex* index, std::int16_t x, std::int16_t y, std::int16_t z,
                          std::uint8_t light) {
    return mergeCorner(room, index, x, y, z, light);
}

namespace {

static_assert(sizeof(QuadCorner) == 6 && offsetof(Quad, corners) == 0 && sizeof(Quad) >= 4 * 6 + 2,
              "a quad's corners lie packed at its start, with at least two bytes after them");

// VertexIndex::keyOf of corner k of a quad: its six bytes, read with the two after them.
inline std::uint64_t cornerKey(const Quad& quad, std::size_t k) {
    if constexpr (std::endian::native != std::endian::little) {
        const QuadCorner& c = quad.corners[k];
        return VertexIndex::keyOf(c.x, c.y, c.z);
    }
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(&quad) + 6 * k, sizeof bytes);
    return bytes << 16;
}


}  // namespace

MeshResult VertexIndex::mergeCorners(const QuadList& list, std::size_t quads, LevelRoom& room) {
    // mergeCorner with the index, its search and the list's bookkeeping written out for the loop.
    std::size_t count = room.vertexCount;
    // Merges corner k of a quad and gives its position; false when it is new and the list is full.
    const auto merge = [&](const Quad& quad, std::size_t k, std::uint16_t& position) {
        const std::uint64_t key = cornerKey(quad, k);
        std::size_t i = slotOf(key);
        for (;; i = (i + 1) & (kSlots - 1)) {
            const std::uint64_t s = slots_[i];
            if (holds(s, key) && s != 0) {
                mergeLight(room.vertices[positionIn(s) - 1u], quad.light);
                position = static_cast<std::uint16_t>(positionIn(s) - 1u);
                return true;
            }
            if (s == 0) break;
        }
        if (count >= kMaxRoomVertices) return false;
        slots_[i] = key | (count + 1);
        const QuadCorner& c = quad.corners[k];
        setVertex(room.vertices[count], c.x, c.y, c.z, quad.light);
        position = static_cast<std::uint16_t>(count);
        ++count;
        return true;
    };
    for (std::size_t q = 0; q < quads; ++q) {
        const Quad& quad = list.quads[q];
        std::array<std::uint16_t, 4>& positions = cornerPositions[q];
        if (!merge(quad, 0, positions[0]) || !merge(quad, 1, positions[1]) || !merge(quad, 2, positions[2]) ||
            !merge(quad, 3, positions[3])) {
            room.vertexCount = static_cast<std::uint16_t>(count);
            return MeshResult::TooManyVertices;
        }
    }
    room.vertexCount = static_cast<std::uint16_t>(count);
    return MeshResult::Ok;
}

MeshResult assembleFaces(const QuadList& list, LevelRoom& room, VertexIndex& index, VertexSearch search) {
    VertexIndex* used = search == VertexSearch::Indexed ? &index : nullptr;
    const std::size_t quads = std::min<std::size_t>(list.count, kMaxQuads);

    // Every corner into the vertex list, in quad order. The position a corner is given is the
    // first vertex with its coordinates, the one the faces name: the indexed search keeps it.
    if (used != nullptr) {
        used->clear();
        if (used->mergeCorners(list, quads, room) != MeshResult::Ok) return MeshResult::TooManyVertices;
    } else {
        for (std::size_t q = 0; q < quads; ++q) {
            const Quad& quad = list.quads[q];
            for (std::size_t k = 0; k < 4; ++k) {
                const QuadCorner& c = quad.corners[k];
                if (mergeCorner(room, nullptr, c.x, c.y, c.z, quad.light) == 0) return MeshResult::TooManyVertices;
            }
        }
    }
    // Every quad into a rectangle or a triangle, in quad order. Two corners coincide exactly when
    // they were given the same position. The counts are kept apart from the faces while the loop
    // writes them and stored on the way out.
    std::size_t rectangles = room.rectangleCount;
    std::size_t triangles = room.triangleCount;
    const auto finish = [&](MeshResult result) {
        room.rectangleCount = static_cast<std::uint16_t>(rectangles);
        room.triangleCount = static_cast<std::uint16_t>(triangles);
        return result;
    };
    for (std::size_t q = 0; q < quads; ++q) {
        const Quad& quad = list.quads[q];
        std::array<std::uint16_t, 4> p{};
        if (used != nullptr) {
            p = used->cornerPositions[q];
        } else {
            const auto& c = quad.corners;
            for (std::size_t k = 0; k < 4; ++k)  // every corner was merged above
                p[k] = static_cast<std::uint16_t>(findVertex(room, c[k].x, c[k].y, c[k].z) - 1);
        }
        const auto [i1, i2, i3, i4] = p;
        const bool fourIsOne = i4 == i1;
        const bool threeIsTwo = i3 == i2;
        if (fourIsOne || threeIsTwo) {
            if (triangles >= kMaxRoomTriangles) return finish(MeshResult::TooManyTriangles);
            RoomTriangle& t = room.triangles[triangles++];
            t.vertices = {i1, i2, threeIsTwo ? i4 : i3};
            t.texture = static_cast<std::uint16_t>(quad.texture);
        } else {
            if (rectangles >= kMaxRoomRectangles) return finish(MeshResult::TooManyRectangles);
            RoomRectangle& r = room.rectangles[rectangles++];
            r.vertices = {i1, i2, i3, i4};
            r.texture = static_cast<std::uint16_t>(quad.texture);
        }
    }
    return finish(MeshResult::Ok);
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
