#include "example_project.h"

#include <stdexcept>
#include <string>

#include "project/portal_editing.h"
#include "project/room_ops.h"

namespace cw::example {

namespace {

// Room operations report a refusal as a message; for the generator it is an error.
class QuietView : public NullRoomView {
public:
    void showMessage(const std::string& text) override { throw std::runtime_error(text); }
};

struct ExampleRoom {
    const char* name;
    int columns;  // numX
    int rows;     // numZ
    int floorLevel;
    int ceilingLevel;
    int roomLight;
    int westColumn;   // world position of the grid origin, in sectors
    int southRow;
};

// The plan position on the 10-pixel raster, as a drag leaves it, whose plan-to-world origin
// is (westColumn, southRow): the south-west corner of the plan is (0, 960 - 10 * rows).
void place(EditorRoom& room, const ExampleRoom& layout) {
    room.posX = layout.westColumn * 10;
    room.posY = 960 - 10 * (layout.southRow + layout.rows);
}

// The room editor's top-view right click: the sector becomes open between the defaults.
void open(EditorRoom& room, int x, int z) { setSectorClosed(room, x, z, false); }

// A doorway sector in the wall: open, and leading into the room beside (link mode 2).
void sideLink(EditorRoom& room, int x, int z, int besideRoom) {
    open(room, x, z);
    gameSectorAt(room.grid, x, z).roomAbove = static_cast<std::uint8_t>(besideRoom - 1);
    sectorAt(room, x, z).linkMode = 2;
}

// Sectors x1..x2, z1..z2 link to the room above or below (link mode 1).
void verticalLink(EditorRoom& room, int x1, int x2, int z1, int z2, int above, int below) {
    for (int x = x1; x <= x2; ++x) {
        for (int z = z1; z <= z2; ++z) {
            GameSector& g = gameSectorAt(room.grid, x, z);
            g.roomAbove = static_cast<std::uint8_t>(above == 0 ? kNoRoom : above - 1);
            g.roomBelow = static_cast<std::uint8_t>(below == 0 ? kNoRoom : below - 1);
            sectorAt(room, x, z).linkMode = 1;
        }
    }
}

// A floor of the given shape at the given level, as the room editor's floor click writes it.
void slopedFloor(EditorRoom& room, int x, int z, int shape, int level) {
    const ShapeTable& shapes = standardShapeTable();
    Sector& s = sectorAt(room, x, z);
    s.floorShape = static_cast<std::uint8_t>(shape);
    s.floorSlopeKind = static_cast<std::uint8_t>(shapes[shape].slopeKind);
    GameSector& g = gameSectorAt(room.grid, x, z);
    g.floor = levelToByte(level);
    g.floorDataIndex = standardFloorDataIndexTable()[s.floorSlopeKind][s.ceilingSlopeKind];
}

void addPortal(EditorRoom& room, const Portal& portal) {
    room.portals.at(static_cast<std::size_t>(room.portalCount)) = portal;
    ++room.portalCount;
}

}  // namespace

void buildExampleProject(Project& project) {
    if (project.roomCount != 0) throw std::logic_error("the example is built into an empty project");
    project.levelDescription = "Cairnwork example";
    project.comment = "A hall with a room above it, a corridor to the east and a ramp beyond it.";

    const ExampleRoom layouts[] = {
        {.name = "Hall",
         .columns = 8,
         .rows = 8,
         .floorLevel = 127,
         .ceilingLevel = 143,
         .roomLight = 16,
         .westColumn = 0,
         .southRow = 0},
        {.name = "Corridor",
         .columns = 6,
         .rows = 3,
         .floorLevel = 127,
         .ceilingLevel = 139,
         .roomLight = 12,
         .westColumn = 6,
         .southRow = 2},
        {.name = "Upper room",
         .columns = 5,
         .rows = 5,
         .floorLevel = 143,
         .ceilingLevel = 155,
         .roomLight = 20,
         .westColumn = 2,
         .southRow = 2},
        {.name = "Ramp",
         .columns = 5,
         .rows = 3,
         .floorLevel = 127,
         .ceilingLevel = 143,
         .roomLight = 16,
         .westColumn = 10,
         .southRow = 2},
    };
    QuietView view;
    for (const ExampleRoom& layout : layouts) {
        RoomProperties values;
        values.name = layout.name;
        values.rows = layout.rows;
        values.columns = layout.columns;
        values.floorLevel = layout.floorLevel;
        values.ceilingLevel = layout.ceilingLevel;
        values.roomLight = layout.roomLight;
        values.itemLight = layout.roomLight;
        values.sky = std::string(layout.name) == "Upper room";
        addRoom(project, values, view);
        place(project.current(), layout);  // dragged into place
        project.planX = project.current().posX;
        project.planY = project.current().posY;
    }

    EditorRoom& hall = project.room(1);
    EditorRoom& corridor = project.room(2);
    EditorRoom& upper = project.room(3);
    EditorRoom& ramp = project.room(4);

    // Rooms joined by a doorway overlap by two sectors: each room's wall lies on the other's first
    // open column, so each doorway sector leads onto the other room's floor.
    // Hall <-> corridor: a doorway in the hall's east wall (world column 7, row 3), which is the
    // corridor's first open column; the corridor's west wall lies on the hall's last (column 6).
    sideLink(hall, 8, 4, 2);
    addPortal(hall, Portal{.face = 4, .targetRoom = 2, .width = 1, .length = 3, .row = 4, .column = 8});
    sideLink(corridor, 1, 2, 1);
    addPortal(corridor, Portal{.face = 3, .targetRoom = 1, .width = 1, .length = 3, .row = 2, .column = 1});

    // Corridor <-> ramp: the corridor's east wall (world column 11) on the ramp's first open
    // column, the ramp's west wall (column 10) on the corridor's last; doorways in row 3.
    sideLink(corridor, 6, 2, 4);
    addPortal(corridor, Portal{.face = 4, .targetRoom = 4, .width = 1, .length = 3, .row = 2, .column = 6});
    sideLink(ramp, 1, 2, 2);
    addPortal(ramp, Portal{.face = 3, .targetRoom = 2, .width = 1, .length = 3, .row = 2, .column = 1});

    // The upper room stands on the hall's ceiling; a 2 x 2 opening (world columns 3..4, rows
    // 3..4) joins them.
    verticalLink(hall, 4, 5, 4, 5, 3, 0);
    addPortal(hall, Portal{.face = 5, .targetRoom = 3, .width = 2, .length = 2, .row = 5, .column = 4});
    verticalLink(upper, 2, 3, 2, 3, 0, 1);
    addPortal(upper, Portal{.face = 6, .targetRoom = 1, .width = 2, .length = 2, .row = 3, .column = 2});

    // The ramp climbs eastwards half a sector per sector: shapes 11 and 12 slope along x.
    slopedFloor(ramp, 2, 2, 11, 129);
    slopedFloor(ramp, 3, 2, 12, 131);
    slopedFloor(ramp, 4, 2, 11, 133);

    project.currentRoom = 1;
    project.planX = hall.posX;
    project.planY = hall.posY;
}

}  // namespace cw::example
