#include "project/project.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace cw {

void buildShapeTable(ShapeTable& table) {
    struct Row {
        std::uint8_t thickness;
        std::array<std::int32_t, 8> heights;
        std::uint16_t slopeKind;
    };
    static constexpr std::array<Row, 16> rows = {{
        {4, {1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024}, 0},
        {3, {768, 768, 768, 768, 768, 768, 768, 768}, 0},
        {2, {512, 512, 512, 512, 512, 512, 512, 512}, 0},
        {1, {256, 256, 256, 256, 256, 256, 256, 256}, 0},
        {2, {512, 512, 0, 0, 0, 512, 512, 0}, 1},
        {4, {1024, 1024, 512, 512, 512, 1024, 1024, 512}, 1},
        {4, {512, 512, 1024, 1024, 1024, 512, 512, 1024}, 2},
        {2, {0, 0, 512, 512, 512, 0, 0, 512}, 2},
        {4, {1024, 1024, 0, 0, 0, 1024, 1024, 0}, 3},
        {4, {0, 0, 1024, 1024, 1024, 0, 0, 1024}, 4},
        {2, {0, 512, 512, 0, 0, 0, 512, 512}, 5},
        {4, {512, 1024, 1024, 512, 512, 512, 1024, 1024}, 5},
        {4, {1024, 512, 512, 1024, 1024, 1024, 512, 512}, 6},
        {2, {512, 0, 0, 512, 512, 512, 0, 0}, 6},
        {4, {0, 1024, 1024, 0, 0, 0, 1024, 1024}, 7},
        {4, {1024, 0, 0, 1024, 1024, 1024, 0, 0}, 8},
    }};
    table = ShapeTable{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ShapeEntry& e = table.entries[i + 1];
        e.thickness = rows[i].thickness;
        e.edgeHeights = rows[i].heights;
        e.slopeKind = rows[i].slopeKind;
    }
    table.count = 16;
}

void buildFloorDataIndexTable(FloorDataIndexTable& table) {
    for (int m = 0; m <= 8; ++m) {
        for (int n = 0; n <= 8; ++n) {
            int v = 0;
            if (m == 0 && n == 0) v = 0;
            else if (n == 0) v = 2 * m - 1;
            else if (m == 0) v = 15 + 2 * n;
            else v = 33 + 4 * ((m - 1) * 8 + (n - 1));
            table[m][n] = static_cast<std::uint16_t>(v);
        }
    }
}

const ShapeTable& standardShapeTable() {
    static const ShapeTable table = [] {
        ShapeTable t;
        buildShapeTable(t);
        return t;
    }();
    return table;
}

const FloorDataIndexTable& standardFloorDataIndexTable() {
    static const FloorDataIndexTable table = [] {
        FloorDataIndexTable t{};
        buildFloorDataIndexTable(t);
        return t;
    }();
    return table;
}

void clearRoom(EditorRoom& room) {
    std::destroy_at(&room);
    std::construct_at(&room);
}

void clearProjectExceptRooms(Project& project) {
    static_cast<ProjectFields&>(project) = ProjectFields{};
    project.projectFileName.clear();
}

void clearProject(Project& project) {
    clearProjectExceptRooms(project);
    for (EditorRoom& room : project.rooms) clearRoom(room);
}

void initSectorGrid(EditorRoom& room, int rows, int columns) {
    if (!roomSizeFits(columns, rows)) {
        throw std::invalid_argument("A room has 3 to 32 rows and columns, not " + std::to_string(rows) + " x " +
                                    std::to_string(columns));
    }
    room.grid.numZ = static_cast<std::uint16_t>(rows);
    room.grid.numX = static_cast<std::uint16_t>(columns);
    const int count = rows * columns;
    const GameSector open{.floorDataIndex = 0,
                          .boxIndex = 0xFFFF,
                          .roomBelow = kNoRoom,
                          .floor = levelToByte(room.floorLevel),
                          .roomAbove = kNoRoom,
                          .ceiling = levelToByte(room.ceilingLevel)};
    for (int k = 0; k < count && k < kMaxSectors; ++k) {
        room.grid.gameSectors[static_cast<std::size_t>(k)] = open;
        Sector& s = room.sectors[static_cast<std::size_t>(k)];
        s.floorShape = 1;
        s.ceilingShape = 1;
        // A reset sector is plain: no slope and no link mode left over from the sector that
        // had this number before (a side-link mode without its room would build a portal
        // into a room that does not exist).
        s.floorSlopeKind = 0;
        s.ceilingSlopeKind = 0;
        s.linkMode = 0;
        for (Face f : kAllFaces) {
            s.floorTexture(f) = room.defaultFloorTextures[static_cast<int>(f)];
            s.ceilingTexture(f) = room.defaultCeilingTextures[static_cast<int>(f)];
            s.floorLight(f) = room.roomLight;
            s.ceilingLight(f) = room.roomLight;
        }
    }
    const std::int8_t wallHeight = levelToByte(room.ceilingLevel);
    const GameSector wall{.floorDataIndex = 0,
                          .boxIndex = 0xFFFF,
                          .roomBelow = kNoRoom,
                          .floor = wallHeight,
                          .roomAbove = kNoRoom,
                          .ceiling = wallHeight};
    fillSectorRun(room.grid, 1, 1, columns, 1, wall);           // south row
    fillSectorRun(room.grid, 1, 1, 1, rows, wall);              // west column
    fillSectorRun(room.grid, 1, rows, columns, rows, wall);     // north row
    fillSectorRun(room.grid, columns, 1, columns, rows, wall);  // east column
}

int portalsInUse(const EditorRoom& room) { return std::clamp<int>(room.portalCount, 0, kMaxPortals); }

WorldOrigin roomWorldOrigin(std::int32_t posX, std::int32_t posY, std::int32_t pictureHeight) {
    // Division truncates towards zero, as C++ integer division does. Worked in 64 bits so that a
    // position far off the plan (read from a file) wraps to 32 bits instead of overflowing.
    const std::int64_t x = (std::int64_t{posX} / kPlanCell) * 1024;
    const std::int64_t z = ((kPlanBottom - std::int64_t{posY} - pictureHeight) / kPlanCell) * 1024;
    return {.x = static_cast<std::int32_t>(x), .z = static_cast<std::int32_t>(z)};
}

WorldOrigin roomWorldOrigin(const EditorRoom& room) {
    return roomWorldOrigin(room.posX, room.posY, roomPlanSize(room).height);
}

}  // namespace cw
