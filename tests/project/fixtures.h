#pragma once
// Small projects for the project tests.
#include <memory>
#include <string>

#include "project/project.h"
#include "project/room_ops.h"

namespace cw::test {

// Adds a room through the room operations, as the window does.
inline EditorRoom& addTestRoom(Project& project, int rows, int columns, const std::string& name) {
    NullRoomView view;
    RoomProperties values;
    values.rows = rows;
    values.columns = columns;
    values.name = name;
    addRoom(project, values, view);
    return project.current();
}

// A project that sets every persisted field to something other than zero somewhere: texts,
// flags, reserved and spare bytes, a -1 default texture, sloped and linked sectors, portals.
inline std::unique_ptr<Project> richProject() {
    auto p = std::make_unique<Project>();
    p->levelDescription = "Opis \xB9\xE6";  // Windows-1250 letters
    p->comment = std::string(250, 'c');
    p->baseLevelPath = "C:\\levels\\base.tr2";
    p->itemsFilePath = "items.itm";
    p->lightsFilePath = "lights.msh";
    p->outputLevelPath = "out.tr2";

    EditorRoom& a = addTestRoom(*p, 4, 5, "Hall");
    a.water = 1;
    a.windRain = 1;
    a.swamp = 1;
    a.sky = 1;
    a.reserved = {0x12, 0x34};
    a.itemLight = 30;
    a.defaultFloorTextures = {-1, 0, 1, 2, 2499};
    a.defaultCeilingTextures = {5, -1, 7, 8, 9};
    Sector& s = sectorAt(a, 2, 3);
    s.floorShape = 6;
    s.floorSlopeKind = 1;
    s.ceilingShape = 16;
    s.ceilingSlopeKind = 8;
    s.floorTexture(Face::Left) = -1;
    s.ceilingLight(Face::Surface) = 31;
    s.spare1 = {1, 2, 3, 4};
    s.linkMode = 2;
    s.spare2[0] = 0xEE;
    s.spare2[39] = 0xFF;
    GameSector& g = gameSectorAt(a.grid, 2, 3);
    g.floorDataIndex = 285;
    g.roomAbove = 1;
    g.floor = -128;
    g.ceiling = 127;
    a.portalCount = 2;
    a.portals[0] = Portal{.face = 4, .targetRoom = 2, .width = 1, .length = 3, .row = 3, .column = 5};
    a.portals[1] = Portal{.face = 5, .targetRoom = 3, .width = 2, .length = 2, .row = 3, .column = 2};

    EditorRoom& b = addTestRoom(*p, 3, 3, "Side");
    b.posX = -20;  // dragged past the plan's edge
    b.portalCount = 1;
    b.portals[0] = Portal{.face = 3, .targetRoom = 1, .width = 1, .length = 3, .row = 2, .column = 1};

    addTestRoom(*p, 32, 3, std::string(20, 'X'));
    p->currentRoom = 2;
    p->planX = p->room(2).posX;
    p->planY = p->room(2).posY;
    return p;
}

}  // namespace cw::test
