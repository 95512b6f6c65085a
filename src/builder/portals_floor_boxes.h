#pragma once
// The parts of a build that tie the rooms together: portals, floor data, boxes, and the long
// record forms of Tomb Raider 2/3.
//
// Every list is checked against its capacity before anything is stored past it; a level that
// would not fit is refused with FormatError, whose text names the room (and sector) and the limit.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "levelfile/level_image.h"
#include "project/project.h"

namespace cw {

// The level room's portals from the editor room's (room number `roomNumber` of the project): one
// RoomPortal per Portal, where portalGeometry (project_rules.h) puts it, its corners stored in 16
// bits. Throws FormatError with the fault of the project rules for a portal count outside 0..20
// or an anchor outside the grid; a face outside 1..6 leaves the normal zero and the corners as
// they were.
void convertPortals(const EditorRoom& editorRoom, LevelRoom& levelRoom, int roomNumber);

// The floor data: the whole of "floor.dat" (given as its bytes: a list of little-endian words),
// then for every side-link sector (linkMode 2) of the project's rooms a copy of its slope entries
// followed by a portal entry into its side room, then one word 0; word 0 holds the final count.
// A side-link sector's roomAbove is cleared to 255 and its floorDataIndex points at its new list.
// Throws FormatError when the list would pass 18001 words or when a side-link sector's
// floorDataIndex does not point at a complete list of entries (floorDataIndexFault).
void buildFloorData(LevelImage& image, const Project& project, std::span<const std::uint8_t> floorDat);
// The same, reading the floor data file at path (IoError when it cannot be read).
void buildFloorData(LevelImage& image, const Project& project, const std::filesystem::path& floorDatPath);

// The fault of a sector whose floor data index does not point at a complete list of entries of
// the floor data, which held `words` words: said by buildFloorData of a side-link sector and by
// the build of every sector of the built level.
std::string floorDataIndexFault(const Project& project, int roomNumber, int x, int z, std::uint16_t index,
                                std::size_t words);

// One box per distinct floor height of each room, spanning the whole room; every box overlaps
// every box. Sets each sector's boxIndex (shifted left by 4 for Tomb Raider 3; 0xFFFF for border
// walls and sectors with a room below). Throws FormatError past 2500 boxes or 7000 overlaps.
void buildBoxes(LevelImage& image);

// Wide vertices, long items, short boxes and long zones from the forms the build made: the two
// below, for every room and for the level.
void finishGameForms(LevelImage& image);
// One room's part: its wide vertices from its short ones, its second ambient and light mode.
void finishRoomForms(LevelRoom& room, int gameKind);
// The level's part: long items, short boxes and long zones.
void finishLevelForms(LevelImage& image);

}  // namespace cw
