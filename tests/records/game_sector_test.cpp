// The game's sector grid: sector numbers, access, runs of sectors and height bytes.
#include "records/game_sector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace cw {
namespace {

TEST(SectorAccess, NumbersSectorsColumnByColumn) {
    EXPECT_EQ(sectorNumber(5, 2, 1), 6);
    EXPECT_EQ(sectorNumber(5, 1, 1), 1);
    EXPECT_EQ(sectorNumber(32, 32, 32), 1024);

    SectorGrid grid;
    grid.numZ = 5;
    grid.numX = 4;
    gameSectorAt(grid, 2, 1).floor = 7;
    EXPECT_EQ(grid.gameSectors[5].floor, 7);
    EXPECT_TRUE(inGrid(grid, 4, 5));
    EXPECT_FALSE(inGrid(grid, 5, 1));
    EXPECT_FALSE(inGrid(grid, 1, 0));
    grid.numZ = 32;
    EXPECT_THROW(gameSectorAt(grid, 33, 1), std::out_of_range);  // number 1025
    EXPECT_THROW(gameSectorAt(grid, 1, 0), std::out_of_range);   // number 0
}

TEST(SectorAccess, FillsRowsColumnsAndDiagonals) {
    struct Case {
        int x1, z1, x2, z2;
        std::vector<std::pair<int, int>> written;
    };
    const Case cases[] = {
        {2, 3, 5, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},  // a row
        {4, 1, 4, 3, {{4, 1}, {4, 2}, {4, 3}}},          // a column
        {1, 1, 3, 3, {{1, 1}, {2, 2}, {3, 3}}},          // a diagonal
        {1, 2, 4, 3, {{1, 2}, {2, 3}, {3, 3}, {4, 3}}},  // z reaches its end first
        {3, 3, 3, 3, {{3, 3}}},                          // one sector
        {4, 2, 2, 4, {{4, 2}, {4, 3}, {4, 4}}},          // x already past its end: only z steps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.z1 << " -> " << c.x2 << "," << c.z2);
        SectorGrid grid;
        grid.numZ = 5;
        grid.numX = 5;
        GameSector mark{.floorDataIndex = 1, .boxIndex = 2, .roomBelow = 3, .floor = 4, .roomAbove = 5, .ceiling = 6};
        fillSectorRun(grid, c.x1, c.z1, c.x2, c.z2, mark);
        for (int x = 1; x <= 5; ++x) {
            for (int z = 1; z <= 5; ++z) {
                bool expected = std::find(c.written.begin(), c.written.end(), std::pair{x, z}) != c.written.end();
                EXPECT_EQ(gameSectorAt(grid, x, z) == mark, expected) << x << "," << z;
            }
        }
    }
}

TEST(Heights, ConvertBetweenLevelsAndBytes) {
    EXPECT_EQ(levelToByte(127), 0);
    EXPECT_EQ(levelToByte(139), -12);
    EXPECT_EQ(levelToByte(255), -128);
    EXPECT_EQ(levelToByte(0), 127);
    for (int level = 0; level <= 255; ++level) EXPECT_EQ(byteToLevel(levelToByte(level)), level);
}

}  // namespace
}  // namespace cw
