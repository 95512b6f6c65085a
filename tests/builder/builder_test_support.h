#pragma once
// Small projects and levels for the builder tests.
#include <memory>
#include <string>

#include "levelfile/level_image.h"
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

// Opens sector (x, z): floor and ceiling bytes as given.
inline void setHeights(EditorRoom& room, int x, int z, int floorByte, int ceilingByte) {
    GameSector& g = gameSectorAt(room.grid, x, z);
    g.floor = static_cast<std::int8_t>(floorByte);
    g.ceiling = static_cast<std::int8_t>(ceilingByte);
}

}  // namespace cw::test
