#include "records/game_sector.h"

namespace cw {

GameSector& gameSectorAt(SectorGrid& grid, int x, int z) {
    return grid.gameSectors.at(std::size_t(sectorNumber(grid.numZ, x, z)) - 1);
}
const GameSector& gameSectorAt(const SectorGrid& grid, int x, int z) {
    return grid.gameSectors.at(std::size_t(sectorNumber(grid.numZ, x, z)) - 1);
}

void fillSectorRun(SectorGrid& grid, int x1, int z1, int x2, int z2, const GameSector& value) {
    int x = x1, z = z1;
    gameSectorAt(grid, x, z) = value;
    while (x < x2 || z < z2) {
        if (x < x2) ++x;
        if (z < z2) ++z;
        gameSectorAt(grid, x, z) = value;
    }
}

}  // namespace cw
