#pragma once
// The parts of a build that tie the rooms together: portals, floor data, boxes, and the long
// record forms of Tomb Raider 2/3.
//
// Every list is checked against its capacity before anything is stored past it; a level that
// would not fit is refused with FormatError, whose text names the room (and sector) and the limit.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "levelfile/level_image.h"
#include "project/project.h"

namespace cw {

// Where a portal lies in its room: the normal and the four corners (x, y, z) of the game's
// portal record, as wide numbers (the record stores their low 16 bits). Wall portals (faces 1 to
// 4) lie on one edge of the anchor sector and rise from its floor by the portal's length; floor
// and ceiling portals lie at the anchor's floor or ceiling and reach towards lower rows by the
// length and higher columns by the width. Nothing for a face outside 1..6 or an anchor outside
// the grid.
struct PortalGeometry {
    std::array<std::int16_t, 3> normal{};
    std::array<std::array<std::int64_t, 3>, 4> corners{};
};
std::optional<PortalGeometry> portalGeometry(const Portal& portal, const SectorGrid& grid);

// The first corner that a signed 16-bit number cannot hold, if any: the game would read such a
// portal somewhere else entirely, so the build refuses it.
std::optional<std::array<std::int64_t, 3>> cornerOutsideLevel(const PortalGeometry& geometry);

// The level room's portals from the editor room's: one RoomPortal per Portal, its corners on the
// anchor sector's wall, floor or ceiling. Throws FormatError for more than 20 portals or an
// anchor outside the grid; a face outside 1..6 leaves the normal zero and the corners as they were.
void convertPortals(const EditorRoom& editorRoom, LevelRoom& levelRoom);

// The floor data: the whole of "floor.dat" (given as its bytes: a list of little-endian words),
// then for every side-link sector (linkMode 2) of the project's rooms a copy of its slope entries
// followed by a portal entry into its side room, then one word 0; word 0 holds the final count.
// A side-link sector's roomAbove is cleared to 255 and its floorDataIndex points at its new list.
// Throws FormatError when the list would pass 18001 words or when a side-link sector's
// floorDataIndex does not point at a complete list of entries.
void buildFloorData(LevelImage& image, const Project& project, std::span<const std::uint8_t> floorDat);
// The same, reading the floor data file at path (IoError when it cannot be read).
void buildFloorData(LevelImage& image, const Project& project, const std::filesystem::path& floorDatPath);

// One box per distinct floor height of each room, spanning the whole room; every box overlaps
// every box. Sets each sector's boxIndex (shifted left by 4 for Tomb Raider 3; 0xFFFF for border
// walls and sectors with a room below). Throws FormatError past 2500 boxes or 7000 overlaps.
void buildBoxes(LevelImage& image);

// Wide vertices, long items, short boxes and long zones from the forms the build made.
void finishGameForms(LevelImage& image);

}  // namespace cw
