#include "project/portal_editing.h"

#include "project/room_view_layout.h"

namespace cw {

namespace {

bool inRoomGrid(const EditorRoom& room, int x, int z) {
    return inGrid(room.grid, x, z) && x <= kMaxSectorsPerSide && z <= kMaxSectorsPerSide;
}

bool isPortal(const EditorRoom& room, int k) { return k >= 1 && k <= portalsInUse(room); }

bool targetRefused(const Project& project, int target) {
    return target == project.currentRoom || target > project.roomCount;
}

Portal& portalAt(EditorRoom& room, int k) { return room.portals[static_cast<std::size_t>(k - 1)]; }

void writeFields(Portal& p, const PortalFields& f) {
    p.face = static_cast<std::uint8_t>(f.face);
    p.targetRoom = static_cast<std::int16_t>(f.targetRoom);
    p.width = f.width;
    p.length = f.length;
}

}  // namespace

// Cell (x, z) is painted from (1 + 20 (x - 1), 1 + 20 (numZ - z)), 19 x 19 pixels, with
// numZ = (H - 2) / 20; the grid lines west and south of it act on it too. The 2 pixels past the
// grid map to numX + 1 and 0.
int topViewColumn(int px) { return floorDiv(px, kTopViewCell) + 1; }

int topViewRow(int py, int viewHeight) {
    const int rows = (viewHeight - 2) / kTopViewCell;
    return rows - floorDiv(py - 1, kTopViewCell);
}

std::string topViewReadout(int x, int z) { return "X:" + std::to_string(x) + " Z:" + std::to_string(z); }

bool setSectorClosed(EditorRoom& room, int x, int z, bool closed) {
    if (!inRoomGrid(room, x, z)) return false;
    GameSector g;
    g.floorDataIndex = 0;
    g.boxIndex = 0xFFFF;
    g.roomBelow = kNoRoom;
    g.roomAbove = kNoRoom;
    g.ceiling = levelToByte(room.ceilingLevel);
    g.floor = closed ? g.ceiling : levelToByte(room.floorLevel);
    gameSectorAt(room.grid, x, z) = g;
    return true;
}

std::optional<std::string> addPortalRefusal(const Project& project, const EditorRoom& room, const PortalFields& f) {
    if (targetRefused(project, f.targetRoom)) return kInvalidPortalRoomMessage;
    if (portalsInUse(room) >= kMaxPortals) return kPortalTableFullMessage;
    return std::nullopt;
}

std::optional<std::string> replacePortalRefusal(const Project& project, const PortalFields& f) {
    if (targetRefused(project, f.targetRoom)) return kInvalidPortalRoomMessage;
    return std::nullopt;
}

int addPortal(EditorRoom& room, const PortalFields& f) {
    const int n = portalsInUse(room) + 1;
    if (n > kMaxPortals) return 0;
    room.portalCount = n;
    Portal& p = portalAt(room, n);
    writeFields(p, f);
    p.row = 1;
    p.column = 1;
    return n;
}

bool replacePortal(EditorRoom& room, int k, const PortalFields& f) {
    if (!isPortal(room, k)) return false;
    writeFields(portalAt(room, k), f);
    return true;
}

bool placePortal(EditorRoom& room, int k, int x, int z) {
    if (!isPortal(room, k) || !inRoomGrid(room, x, z)) return false;
    Portal& p = portalAt(room, k);
    p.row = z;
    p.column = x;
    return true;
}

int removeLastPortal(EditorRoom& room) {
    const int m = portalsInUse(room);
    room.portalCount = m > 0 ? m - 1 : 0;
    return room.portalCount;
}

std::optional<PortalFields> portalFields(const EditorRoom& room, int k) {
    if (!isPortal(room, k)) return std::nullopt;
    const Portal& p = room.portals[static_cast<std::size_t>(k - 1)];
    return PortalFields{.face = p.face, .targetRoom = p.targetRoom, .width = p.width, .length = p.length};
}

}  // namespace cw
