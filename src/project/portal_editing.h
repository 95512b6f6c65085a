#pragma once
// Editing in the room editor's top view: opening and closing sectors, and the room's portals
// (openings through a wall, the floor or the ceiling into another room). Portals are numbered
// from 1; the editor's list always shows entries 1..portalCount.
//
// Nothing here writes a sector outside the room's grid or a portal outside its table of 20.
#include <optional>
#include <string>

#include "project/project.h"

namespace cw {

inline constexpr const char* kInvalidPortalRoomMessage = "Invalid Portal View Room number!";
inline constexpr const char* kPortalTableFullMessage = "No more portals: a room holds at most 20!";

// The cell drawn under a point of the top view picture (H pixels high): x from 1 at the west,
// z from 1 at the south. Pixels past the grid give 0 or numX + 1 / numZ + 1.
int topViewColumn(int px);
int topViewRow(int py, int viewHeight);
// The caption read-out of a point: "X:3 Z:2".
std::string topViewReadout(int x, int z);

// Overwrites the game sector at (x, z) with a closed sector (floor raised to the room's default
// ceiling) or an open one (floor at the room's default floor level), with no links and no floor
// data. The editor's own sector record is kept. False, and nothing changed, outside the grid.
bool setSectorClosed(EditorRoom& room, int x, int z, bool closed);

// The portal fields of the top view page.
struct PortalFields {
    int face = 1;        // 1 north wall .. 6 floor (the direction buttons)
    int targetRoom = 1;  // "Room#"
    int width = 1;       // "Szer."
    int length = 1;      // "Dł./Wys."
    friend bool operator==(const PortalFields&, const PortalFields&) = default;
};

// Why an add or a replace is refused: the target room is the current room or past roomCount
// (kInvalidPortalRoomMessage), or, for an add, the table is full (kPortalTableFullMessage).
std::optional<std::string> addPortalRefusal(const Project& project, const EditorRoom& room, const PortalFields& f);
std::optional<std::string> replacePortalRefusal(const Project& project, const PortalFields& f);

// Appends a portal at row 1, column 1 and returns its number; 0 when the table is full.
int addPortal(EditorRoom& room, const PortalFields& f);
// Gives portal k the fields' face, target, width and length; its position stays. False when k
// is not a portal of the room.
bool replacePortal(EditorRoom& room, int k, const PortalFields& f);
// Moves portal k's anchor to the sector (x, z). False when k is not a portal of the room or
// (x, z) lies outside the grid.
bool placePortal(EditorRoom& room, int k, int x, int z);
// Removes the last portal and returns the new count; nothing happens to an empty table.
int removeLastPortal(EditorRoom& room);
// Portal k's fields, for showing a selected portal.
std::optional<PortalFields> portalFields(const EditorRoom& room, int k);

}  // namespace cw
