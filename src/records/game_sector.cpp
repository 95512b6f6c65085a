#include "records/game_sector.h"

namespace cw {

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
