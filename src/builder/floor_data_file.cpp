#include "builder/floor_data_file.h"

#include <stdexcept>
#include <string>

namespace cw {

namespace {

struct Tilt {
    int alongZ = 0;  // clicks, north minus south
    int alongX = 0;  // clicks, east minus west
};

// The tilt of a surface given by its corner heights: both axes must be planar and whole clicks.
Tilt tiltOf(const SurfaceCorners& c, int slopeKind) {
    const std::int32_t dz = c.northWest - c.southWest;
    const std::int32_t dx = c.southEast - c.southWest;
    if (c.northEast - c.southEast != dz || c.northEast - c.northWest != dx || dz % 256 != 0 || dx % 256 != 0 ||
        (dz != 0 && dx != 0)) {
        throw std::invalid_argument("the surface of slope kind " + std::to_string(slopeKind) +
                                    " is not tilted along one axis by whole clicks");
    }
    return {dz / 256, dx / 256};
}

const ShapeEntry& firstShapeOfKind(const ShapeTable& shapes, int slopeKind, int& number) {
    for (number = 1; number <= 16; ++number)
        if (shapes[number].slopeKind == slopeKind) return shapes[number];
    throw std::invalid_argument("no shape has slope kind " + std::to_string(slopeKind));
}

std::uint16_t slopeWord(int alongZ, int alongX) {
    return static_cast<std::uint16_t>(((alongZ & 0xFF) << 8) | (alongX & 0xFF));
}

}  // namespace

SurfaceCorners floorSurfaceCorners(const ShapeEntry& shape) {
    const auto& S = shape.edgeHeights;  // S[0] = E[1]
    // The floor quad: (X, -S4, Z+1024), (X+1024, -S3, Z+1024), (X+1024, -S2, Z), (X, -S1, Z).
    return {S[0], S[1], S[2], S[3]};
}

SurfaceCorners ceilingSurfaceCorners(const ShapeEntry& shape, int shapeNumber) {
    const auto& K = shape.edgeHeights;
    if (shapeNumber < 11) {
        // (X, K2, Z), (X+1024, K1, Z), (X+1024, K4, Z+1024), (X, K3, Z+1024)
        return {K[1], K[0], K[3], K[2]};
    }
    // (X, K4, Z), (X+1024, K3, Z), (X+1024, K2, Z+1024), (X, K1, Z+1024)
    return {K[3], K[2], K[1], K[0]};
}

std::uint16_t floorSlopeWord(const ShapeTable& shapes, int slopeKind) {
    int number = 0;
    const ShapeEntry& shape = firstShapeOfKind(shapes, slopeKind, number);
    // Heights upwards: the game lowers the floor towards the lower side, by the same signs.
    const Tilt t = tiltOf(floorSurfaceCorners(shape), slopeKind);
    return slopeWord(t.alongZ, t.alongX);
}

std::uint16_t ceilingSlopeWord(const ShapeTable& shapes, int slopeKind) {
    int number = 0;
    const ShapeEntry& shape = firstShapeOfKind(shapes, slopeKind, number);
    // Heights downwards: a positive z slope raises the ceiling towards the south, a positive
    // x slope towards the east.
    const Tilt t = tiltOf(ceilingSurfaceCorners(shape, number), slopeKind);
    return slopeWord(t.alongZ, -t.alongX);
}

std::vector<std::uint16_t> makeFloorDataWords(const ShapeTable& shapes, const FloorDataIndexTable& positions) {
    std::vector<std::uint16_t> words(kFloorDatWords, 0);
    auto put = [&](std::size_t at, std::initializer_list<std::uint16_t> entry) {
        if (at + entry.size() > words.size()) throw std::invalid_argument("floor data position out of range");
        for (std::uint16_t w : entry) words[at++] = w;
    };
    for (int m = 1; m <= 8; ++m) {
        put(positions[m][0], {static_cast<std::uint16_t>(kFloorSlopeFunction | kLastEntryBit), floorSlopeWord(shapes, m)});
    }
    for (int n = 1; n <= 8; ++n) {
        put(positions[0][n],
            {static_cast<std::uint16_t>(kCeilingSlopeFunction | kLastEntryBit), ceilingSlopeWord(shapes, n)});
    }
    for (int m = 1; m <= 8; ++m) {
        for (int n = 1; n <= 8; ++n) {
            put(positions[m][n], {kFloorSlopeFunction, floorSlopeWord(shapes, m),
                                  static_cast<std::uint16_t>(kCeilingSlopeFunction | kLastEntryBit),
                                  ceilingSlopeWord(shapes, n)});
        }
    }
    return words;
}

std::vector<std::uint8_t> makeFloorDataFile(const ShapeTable& shapes, const FloorDataIndexTable& positions) {
    const std::vector<std::uint16_t> words = makeFloorDataWords(shapes, positions);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(words.size() * 2);
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

}  // namespace cw
