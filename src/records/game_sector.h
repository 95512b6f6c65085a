#pragma once
// The game's own 8-byte room sector and the block of a room's sectors in the game's layout.
// Both the editor room and the level file's room hold a SectorGrid, so a build copies a
// room's sectors into a level room in one piece.
//
// Sector (x, z), x = 1..numX west to east, z = 1..numZ south to north, is number
// (x - 1) * numZ + z counted from 1, element number - 1 of the sector array. Heights: a
// GameSector byte holds 127 - level (signed, y down); level = (127 - byte) mod 256.
#include <array>
#include <cstddef>
#include <cstdint>

namespace cw {

inline constexpr int kMaxSectorsPerSide = 32;
inline constexpr int kMaxSectors = kMaxSectorsPerSide * kMaxSectorsPerSide;  // 1024
inline constexpr int kNoRoom = 255;  // "none" in a GameSector room byte

struct GameSector {
    std::uint16_t floorDataIndex = 0;  // word position in the floor data; 0 = plain sector
    std::uint16_t boxIndex = 0;        // 0xFFFF in the editor
    std::uint8_t roomBelow = 0;        // room number - 1, 255 = none
    std::int8_t floor = 0;             // 127 - floor level (clicks, y down)
    std::uint8_t roomAbove = 0;        // room number - 1 (side room in side-link mode), 255 = none
    std::int8_t ceiling = 0;           // 127 - ceiling level

    friend bool operator==(const GameSector&, const GameSector&) = default;
};
static_assert(sizeof(GameSector) == 8, "GameSector is the game's 8-byte record");

// numZ, numX and the sectors, laid out exactly as in a level file room (4 + 8192 bytes).
struct SectorGrid {
    std::uint16_t numZ = 0;  // rows, south to north
    std::uint16_t numX = 0;  // columns, west to east
    std::array<GameSector, kMaxSectors> gameSectors{};
};
static_assert(sizeof(SectorGrid) == 4 + 8 * kMaxSectors, "SectorGrid is one contiguous block");

// --- Sector access -------------------------------------------------------------------------

// Sector number (x - 1) * numZ + z, counted from 1, computed in 16 bits.
constexpr std::uint16_t sectorNumber(std::uint16_t numZ, int x, int z) {
    return static_cast<std::uint16_t>((x - 1) * numZ + z);
}
// True when (x, z) lies inside the room's grid.
constexpr bool inGrid(const SectorGrid& grid, int x, int z) {
    return x >= 1 && z >= 1 && x <= grid.numX && z <= grid.numZ;
}
// The sector at (x, z). Throws std::out_of_range for a number outside 1..1024.
inline GameSector& gameSectorAt(SectorGrid& grid, int x, int z) {
    return grid.gameSectors.at(std::size_t(sectorNumber(grid.numZ, x, z)) - 1);
}
inline const GameSector& gameSectorAt(const SectorGrid& grid, int x, int z) {
    return grid.gameSectors.at(std::size_t(sectorNumber(grid.numZ, x, z)) - 1);
}

// Writes value from (x1, z1) to (x2, z2): the start, then each coordinate still below its end
// steps by one, until the end is written (a row, a column, or a diagonal). A coordinate that
// starts past its end does not move; the run then stops when the other one reaches its end.
void fillSectorRun(SectorGrid& grid, int x1, int z1, int x2, int z2, const GameSector& value);

// Height conversions between levels (clicks upward) and GameSector bytes.
constexpr std::int8_t levelToByte(int level) { return static_cast<std::int8_t>(static_cast<std::uint8_t>(127 - level)); }
constexpr int byteToLevel(std::int8_t value) { return (127 - value) & 0xFF; }

}  // namespace cw
