#pragma once
// The game's own 8-byte room sector and the block of a room's sectors in the game's layout.
// Both the editor room and the level file's room hold a SectorGrid, so a build copies a
// room's sectors into a level room in one piece.
#include <array>
#include <cstdint>

namespace cw {

inline constexpr int kMaxSectorsPerSide = 32;
inline constexpr int kMaxSectors = kMaxSectorsPerSide * kMaxSectorsPerSide;  // 1024

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

}  // namespace cw
