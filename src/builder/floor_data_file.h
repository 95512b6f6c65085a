#pragma once
// The contents of "floor.dat": the slope entries the room editor points sectors at.
//
// The file is 289 little-endian words. The room editor gives a sector the word position
// FloorDataIndexTable[floor slope kind][ceiling slope kind]; there the file holds
//   [2m - 1]                         floor slope of kind m           (m = 1..8)
//   [15 + 2n]                        ceiling slope of kind n         (n = 1..8)
//   [33 + 4((m - 1) * 8 + (n - 1))]  floor slope of kind m, then ceiling slope of kind n
// Every entry is two words, a header (function 2 = floor slope, 3 = ceiling slope; bit 15 on the
// last entry of the position) and a slope word. Word 0 is free: the build overwrites it with the
// final count of the level's floor data.
//
// A slope word holds in its high byte the slope along z (south-north) and in its low byte the
// slope along x (west-east), signed, in clicks over one sector. The game lowers a floor from the
// sector's floor byte and raises a ceiling from its ceiling byte by these slopes; the words here
// are derived from the generated floor and ceiling surfaces of the shapes of each kind, so that
// the game's floor and ceiling follow the room mesh.
#include <cstdint>
#include <vector>

#include "project/project.h"

namespace cw {

inline constexpr std::size_t kFloorDatWords = 289;
inline constexpr std::uint16_t kFloorSlopeFunction = 2;
inline constexpr std::uint16_t kCeilingSlopeFunction = 3;
inline constexpr std::uint16_t kLastEntryBit = 0x8000;

// Heights of the four corners of a generated surface, in world units measured upwards from its
// base (south-west, south-east, north-east, north-west) for a floor, and downwards from its base
// for a ceiling (a larger value is a lower ceiling), as the room mesh generation lays them out.
struct SurfaceCorners {
    std::int32_t southWest = 0, southEast = 0, northEast = 0, northWest = 0;
};
SurfaceCorners floorSurfaceCorners(const ShapeEntry& shape);
SurfaceCorners ceilingSurfaceCorners(const ShapeEntry& shape, int shapeNumber);

// The slope word of a floor (ceiling) of the given slope kind 1..8, from the first shape of that
// kind in the table. Throws std::invalid_argument for a kind no shape has or a surface that is
// not a plane tilted along one axis by whole clicks.
std::uint16_t floorSlopeWord(const ShapeTable& shapes, int slopeKind);
std::uint16_t ceilingSlopeWord(const ShapeTable& shapes, int slopeKind);

// The 289 words of "floor.dat" and their file bytes (little-endian).
std::vector<std::uint16_t> makeFloorDataWords(const ShapeTable& shapes, const FloorDataIndexTable& positions);
std::vector<std::uint8_t> makeFloorDataFile(const ShapeTable& shapes, const FloorDataIndexTable& positions);

}  // namespace cw
