#pragma once
// The largest room a level room holds, for the benchmarks: 32 x 32 sectors shaped to just inside
// a room's capacities (1998 vertices, 1888 faces).
#include <memory>

#include "builder/room_mesh.h"
#include "project/project.h"

namespace cw::bench {

struct Fit {
    bool fits = false;
    std::size_t quads = 0;
};

// Whether the room's mesh fits a level room, and how many faces it has.
inline Fit meshFit(const cw::EditorRoom& room, cw::QuadList& quads, cw::LevelRoom& level, cw::VertexIndex& index) {
    quads.clear();
    cw::buildRoomMesh(quads, room.grid, room.sectors, false, cw::standardShapeTable());
    level.vertexCount = level.rectangleCount = level.triangleCount = 0;
    const bool fits = quads.dropped == 0 && cw::assembleFaces(quads, level, index) == cw::MeshResult::Ok;
    return {fits, quads.count};
}

// A 32 x 32 room at the default heights needs about 2400 vertices, more than a room holds.
// Close inner rows from the north until it fits, then raise single sectors one step (each adds
// four vertices and four faces) while the mesh still fits: the room ends just inside the
// capacities.
inline void shapeLargestRoom(cw::EditorRoom& room) {
    room.floorLevel = 127;
    room.ceilingLevel = 143;
    room.roomLight = 16;
    room.defaultFloorTextures.fill(1);
    room.defaultCeilingTextures.fill(2);
    cw::initSectorGrid(room, 32, 32);
    auto quads = std::make_unique<cw::QuadList>();
    auto level = std::make_unique<cw::LevelRoom>();
    auto index = std::make_unique<cw::VertexIndex>();
    const std::int8_t wall = cw::levelToByte(room.ceilingLevel);
    int openRows = 31;
    for (; openRows > 1 && !meshFit(room, *quads, *level, *index).fits; --openRows)
        for (int x = 2; x < 32; ++x) cw::gameSectorAt(room.grid, x, openRows).floor = wall;
    // Sectors apart from each other and from the walls.
    for (int x = 3; x < 31; x += 2)
        for (int z = 3; z < openRows - 1; z += 2) {
            cw::GameSector& g = cw::gameSectorAt(room.grid, x, z);
            const std::int8_t old = g.floor;
            g.floor = static_cast<std::int8_t>(old - 4);
            if (!meshFit(room, *quads, *level, *index).fits) {
                g.floor = old;
                return;
            }
        }
}

}  // namespace cw::bench
