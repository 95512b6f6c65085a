#include "project/room_ops.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace cw {

namespace {

void checkRange(const char* field, int value, int low, int high) {
    if (value < low || value > high) {
        throw std::invalid_argument(std::string("Room property \"") + field + "\" is " + std::to_string(value) +
                                    "; it must lie in " + std::to_string(low) + ".." + std::to_string(high));
    }
}

// Everything of a slot back to zero, as in a cleared project.
void resetSlot(EditorRoom& room) {
    std::destroy_at(&room);
    std::construct_at(&room);
}

// The dialog's fields that both adding and applying store into the room.
void storeProperties(EditorRoom& room, const RoomProperties& values) {
    room.name = values.name;  // cut to 20 characters
    room.floorLevel = static_cast<std::uint8_t>(values.floorLevel);
    room.ceilingLevel = static_cast<std::uint8_t>(values.ceilingLevel);
    room.itemLight = values.itemLight;
    room.roomLight = static_cast<std::uint8_t>(values.roomLight);
    room.water = values.water ? 1 : 0;
    room.windRain = values.windRain ? 1 : 0;
    room.swamp = values.swamp ? 1 : 0;
    room.sky = values.sky ? 1 : 0;
    for (std::size_t i = 0; i < 5; ++i) {
        room.defaultFloorTextures[i] = values.floorTextures[i] - 1;
        room.defaultCeilingTextures[i] = values.ceilingTextures[i] - 1;
    }
}

// The position nearest to (x, y) at which a picture of the size lies wholly on the plan.
PlanPosition keepSizeOnPlan(PlanSize size, int x, int y) {
    const int maxX = std::max(0, kPlanSize - size.width);
    const int maxY = std::max(0, kPlanSize - size.height);
    return {.x = std::clamp(x, 0, maxX), .y = std::clamp(y, 0, maxY)};
}

}  // namespace

PlanPosition keepOnPlan(const EditorRoom& room, int x, int y) { return keepSizeOnPlan(roomPlanSize(room), x, y); }

bool moveCurrentRoom(Project& project, int x, int y) {
    if (project.roomCount == 0 || project.currentRoom < 1 || project.currentRoom > project.roomCount) return false;
    EditorRoom& room = project.current();
    const PlanPosition p = keepOnPlan(room, x, y);
    const bool moved = p.x != room.posX || p.y != room.posY;
    room.posX = p.x;
    room.posY = p.y;
    project.planX = p.x;
    project.planY = p.y;
    return moved;
}

bool chooseRoom(Project& project, int n) {
    if (n < 1 || n > project.roomCount) return false;
    project.currentRoom = static_cast<std::uint8_t>(n);
    project.planX = project.current().posX;
    project.planY = project.current().posY;
    return true;
}

void checkRoomProperties(const RoomProperties& values) {
    checkRange("rows", values.rows, kMinRoomSide, kMaxSectorsPerSide);
    checkRange("columns", values.columns, kMinRoomSide, kMaxSectorsPerSide);
    checkRange("floor level", values.floorLevel, 1, 220);
    checkRange("ceiling level", values.ceilingLevel, 1, 220);
    checkRange("item light", values.itemLight, 0, 32);
    checkRange("room light", values.roomLight, 0, 32);
    for (int t : values.floorTextures) checkRange("floor texture", t, 0, 2500);
    for (int t : values.ceilingTextures) checkRange("ceiling texture", t, 0, 2500);
}

std::string suggestedRoomName(const Project& project) {
    return "Room #" + std::to_string(project.roomCount + 1);
}

RoomProperties currentRoomProperties(const Project& project, const std::string& roomListName) {
    RoomProperties values;
    values.name = roomListName;
    if (project.roomCount == 0) return values;
    const EditorRoom& room = project.current();
    values.rows = room.numZ();
    values.columns = room.numX();
    values.floorLevel = room.floorLevel;
    values.ceilingLevel = room.ceilingLevel;
    values.itemLight = room.itemLight;
    values.roomLight = room.roomLight;
    values.water = room.water != 0;
    values.windRain = room.windRain != 0;
    values.swamp = room.swamp != 0;
    values.sky = room.sky != 0;
    for (std::size_t i = 0; i < 5; ++i) {
        values.floorTextures[i] = room.defaultFloorTextures[i] + 1;
        values.ceilingTextures[i] = room.defaultCeilingTextures[i] + 1;
    }
    return values;
}

void newProject(Project& project, RoomView& view) {
    clearProject(project);
    view.clearRoomList();
    view.setCaption("Vellorn's Cairnwork ");
    view.redrawAll();
}

bool canAddRoom(const Project& project, RoomView& view) {
    if (project.roomCount >= kMaxRooms) {
        view.showMessage(kRoomLimitMessage);
        return false;
    }
    return true;
}

bool addRoom(Project& project, const RoomProperties& values, RoomView& view) {
    checkRoomProperties(values);
    if (!canAddRoom(project, view)) return false;

    // The room that was current joins the plan like every other non-current room.
    if (project.roomCount > 0) view.stampCurrentRoom();

    const int n = project.roomCount + 1;
    EditorRoom& room = project.room(n);
    resetSlot(room);  // nothing of a room deleted from this slot carries over
    project.roomCount = static_cast<std::uint8_t>(n);
    project.currentRoom = static_cast<std::uint8_t>(n);

    const PlanSize size = roomPlanSize(values.rows, values.columns);
    if (project.planX < 0 && project.planY < 0) {
        project.planX = 0;
        project.planY = kPlanSize - size.height;
    } else {
        const PlanPosition p = keepSizeOnPlan(size, project.planX + 10, project.planY + 10);
        project.planX = p.x;
        project.planY = p.y;
    }
    room.posX = project.planX;
    room.posY = project.planY;

    storeProperties(room, values);
    initSectorGrid(room, values.rows, values.columns);

    view.appendRoomName(values.name);
    view.selectRoom(n - 1);
    view.redrawCurrent();
    return true;
}

void applyRoomProperties(Project& project, int shownRows, int shownColumns, const RoomProperties& values,
                         RoomView& view) {
    checkRoomProperties(values);
    if (project.roomCount == 0) return;
    EditorRoom& room = project.current();

    view.replaceRoomName(project.currentRoom - 1, values.name);

    // At its new size, a larger room may reach past an edge.
    const PlanPosition p = keepSizeOnPlan(roomPlanSize(values.rows, values.columns), project.planX, project.planY);
    project.planX = room.posX = p.x;
    project.planY = room.posY = p.y;
    storeProperties(room, values);
    // Only a new size resets the sectors; new defaults alone apply to later resets.
    if (values.rows != shownRows || values.columns != shownColumns) {
        initSectorGrid(room, values.rows, values.columns);
    }
    view.redrawCurrent();
}

bool cloneRoom(Project& project, RoomView& view) {
    if (project.roomCount == 0) return false;
    if (!canAddRoom(project, view)) return false;

    const int n = project.roomCount + 1;
    const EditorRoom& source = project.current();
    EditorRoom& clone = project.room(n);
    clone = source;  // sectors, sizes, portals, defaults, flags, name
    const PlanPosition p = keepOnPlan(clone, source.posX + 10, source.posY + 10);
    clone.posX = p.x;
    clone.posY = p.y;
    project.roomCount = static_cast<std::uint8_t>(n);

    view.appendRoomName(clone.name.str());
    view.redrawAll();
    return true;
}

void deleteLastRoom(Project& project, RoomView& view) {
    if (project.roomCount < 2) return;
    view.removeLastRoomName();
    project.roomCount = static_cast<std::uint8_t>(project.roomCount - 1);
    project.currentRoom = project.roomCount;
    project.planX = project.current().posX;
    project.planY = project.current().posY;
    view.redrawAll();
    view.selectRoom(project.roomCount - 1);
}

}  // namespace cw
