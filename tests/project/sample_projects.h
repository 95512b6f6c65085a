#pragma once
// Small projects of rooms placed in the world, with links, portals and shapes: for the tests of
// the project rules and of the build.
#include <memory>
#include <string>

#include "project/portal_editing.h"
#include "project/project.h"

namespace cw::test {

// A new room in the next free slot, laid out as the room operations do: default textures
// `texture` on every face, every light `light`, sectors from initSectorGrid (border ring walls).
inline EditorRoom& addTestRoom(Project& project, int rows, int columns, int floorLevel, int ceilingLevel,
                               int texture = 0, int light = 16, int posX = 0, int posY = 0) {
    EditorRoom& room = project.rooms[project.roomCount];
    ++project.roomCount;
    room.posX = posX;
    room.posY = posY;
    room.name = "Room" + std::to_string(project.roomCount);
    room.floorLevel = static_cast<std::uint8_t>(floorLevel);
    room.ceilingLevel = static_cast<std::uint8_t>(ceilingLevel);
    room.defaultFloorTextures.fill(texture);
    room.defaultCeilingTextures.fill(texture);
    room.roomLight = static_cast<std::uint8_t>(light);
    initSectorGrid(room, rows, columns);
    return room;
}

inline std::unique_ptr<Project> makeTestProject() {
    auto project = std::make_unique<Project>();
    clearProject(*project);
    return project;
}

// A room placed by its world position in sectors: its grid origin (south-west corner) at world
// column westColumn, row southRow (southRow >= 0), on the plan's 10-pixel raster.
inline EditorRoom& addPlacedRoom(Project& project, int rows, int columns, int westColumn, int southRow,
                                 int floorLevel = 127, int ceilingLevel = 139) {
    return addTestRoom(project, rows, columns, floorLevel, ceilingLevel, 0, 16, westColumn * 10,
                       960 - 10 * (southRow + rows));
}

// A doorway: sector (x, z) opened between the room's default heights, leading into room `side`
// (link mode 2), as the room editor leaves it.
inline void addSideLink(EditorRoom& room, int x, int z, int side) {
    setSectorClosed(room, x, z, false);
    gameSectorAt(room.grid, x, z).roomAbove = static_cast<std::uint8_t>(side - 1);
    sectorAt(room, x, z).linkMode = 2;
}

// Sector (x, z) links to the rooms above and below (link mode 1; 0 for none).
inline void addVerticalLink(EditorRoom& room, int x, int z, int above, int below) {
    GameSector& g = gameSectorAt(room.grid, x, z);
    g.roomAbove = static_cast<std::uint8_t>(above == 0 ? kNoRoom : above - 1);
    g.roomBelow = static_cast<std::uint8_t>(below == 0 ? kNoRoom : below - 1);
    sectorAt(room, x, z).linkMode = 1;
}

// Opens sector (x, z): floor and ceiling bytes as given.
inline void setHeights(EditorRoom& room, int x, int z, int floorByte, int ceilingByte) {
    GameSector& g = gameSectorAt(room.grid, x, z);
    g.floor = static_cast<std::int8_t>(floorByte);
    g.ceiling = static_cast<std::int8_t>(ceilingByte);
}

}  // namespace cw::test

namespace cw::test {

// Gives sector (x, z) the shapes, slope kinds and floor data index the room editor would.
inline void shapeSector(EditorRoom& room, int x, int z, int floorShape, int ceilingShape) {
    const ShapeTable& shapes = standardShapeTable();
    Sector& s = sectorAt(room, x, z);
    s.floorShape = static_cast<std::uint8_t>(floorShape);
    s.ceilingShape = static_cast<std::uint8_t>(ceilingShape);
    s.floorSlopeKind = static_cast<std::uint8_t>(shapes[floorShape].slopeKind);
    s.ceilingSlopeKind = static_cast<std::uint8_t>(shapes[ceilingShape].slopeKind);
    gameSectorAt(room.grid, x, z).floorDataIndex = standardFloorDataIndexTable()[s.floorSlopeKind][s.ceilingSlopeKind];
}

inline void addPortal(EditorRoom& room, int face, int target, int width, int length, int row, int column) {
    room.portals[static_cast<std::size_t>(room.portalCount++)] = Portal{.face = static_cast<std::uint8_t>(face),
                                                                        .targetRoom = static_cast<std::int16_t>(target),
                                                                        .width = width,
                                                                        .length = length,
                                                                        .row = row,
                                                                        .column = column};
}

// A project of five rooms with what a level has: slopes of every kind on floors and ceilings,
// a closed inner sector, portals of all six faces, a room below with its links both ways, a side
// link, a water room and a sky room.
//   1 "Hall"   8 x 8, sky, slopes, closed sector; portals N->4, S->5, E->2, floor->3
//   2 "Pool"   6 x 6 east of the hall, water; portal W->1; a side-link sector into the hall
//   3 "Cellar" 4 x 4 under the hall; portal ceiling->1
//   4 "North"  4 x 4, 5 "South" 4 x 4
inline std::unique_ptr<Project> makeSampleProject() {
    auto project = makeTestProject();
    EditorRoom& hall = addTestRoom(*project, 8, 8, 127, 143, 0, 20, 100, 500);
    hall.sky = 1;
    hall.itemLight = 20;
    int shape = 5;
    for (int x = 2; x <= 7 && shape <= 16; ++x)
        for (int z = 2; z <= 3 && shape <= 16; ++z, ++shape) shapeSector(hall, x, z, shape, 21 - shape);
    shapeSector(hall, 2, 6, 1, 9);
    setHeights(hall, 6, 6, -16, -16);  // a closed inner sector
    addPortal(hall, 1, 4, 2, 3, 8, 3);
    addPortal(hall, 2, 5, 2, 3, 1, 3);
    addPortal(hall, 4, 2, 2, 3, 4, 8);
    addPortal(hall, 6, 3, 2, 2, 5, 4);
    for (int x = 4; x <= 5; ++x)
        for (int z = 4; z <= 5; ++z) {
            gameSectorAt(hall.grid, x, z).roomBelow = 2;
            sectorAt(hall, x, z).linkMode = 1;
        }

    EditorRoom& pool = addTestRoom(*project, 6, 6, 125, 139, 3, 12, 170, 480);
    pool.water = 1;
    addPortal(pool, 3, 1, 2, 3, 4, 1);
    sectorAt(pool, 1, 3).linkMode = 2;  // the wall sector that opens into the hall
    setHeights(pool, 1, 3, 2, -12);
    gameSectorAt(pool.grid, 1, 3).roomAbove = 0;

    EditorRoom& cellar = addTestRoom(*project, 4, 4, 111, 127, 1, 8, 120, 520);
    addPortal(cellar, 5, 1, 2, 2, 3, 2);
    for (int x = 2; x <= 3; ++x)
        for (int z = 2; z <= 3; ++z) {
            gameSectorAt(cellar.grid, x, z).roomAbove = 0;
            sectorAt(cellar, x, z).linkMode = 1;
        }
    cellar.swamp = 1;
    addTestRoom(*project, 4, 4, 127, 139, 2, 16, 110, 440);
    addTestRoom(*project, 4, 4, 127, 139, 2, 16, 110, 580).windRain = 1;
    project->currentRoom = 1;
    return project;
}

}  // namespace cw::test
