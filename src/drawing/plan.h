#pragma once
// The plan of rooms: a 96 x 96-sector grid, 10 pixels per sector. The plan image holds the grid
// and every room except the current one; the working image is the plan image with the current
// room laid over it, and it is what the screen shows. Both share the program palette block.
//
// Rooms are combined into the plan image by exclusive or, then by and; the current room is laid
// over the bare grid by exclusive or only and shown in front of every other room, so that it
// stays whole and in its own colours where rooms overlap. With the plan background 209, plan
// grid 253 and room background 90 that gives fixed indices: a room's background becomes 10 (2
// over a plan grid line), the current room's background 139 (167 over a grid line), and a room
// grid line over a plan grid line 0.
//
// A room's picture depends on its size alone; the plan makes the picture of each room size when
// it first shows a room of that size and keeps it.
//
// Nothing here touches the screen; the main window hands the working image over.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "project/project.h"
#include "raster/image.h"

namespace cw {

inline constexpr std::uint8_t kPlanBackground = 209;
inline constexpr std::uint8_t kPlanGridLine = 253;     // also the grid lines of a room picture
inline constexpr std::uint8_t kRoomPictureBackground = 90;

// Room sizes run from 3 to 32 sectors each way.
inline constexpr int kRoomSizes = kMaxSectorsPerSide - kMinRoomSide + 1;

struct Plan {
    IndexedImage planImage;
    IndexedImage workingImage;
    IndexedImage gridImage;    // the empty grid, never drawn on
    IndexedImage currentRoom;  // the current room over the grid beneath it
    // The room pictures made so far, by size: [(rows - 3) * kRoomSizes + columns - 3].
    std::array<IndexedImage, kRoomSizes * kRoomSizes> roomPictures;
};

// Creates the images (962 x 962, the empty grid) sharing the palette block.
void createPlan(Plan& plan, const std::shared_ptr<PaletteBlock>& palette);

// Makes the picture of a room of rows x columns sectors: (10 columns + 2) x (10 rows + 2)
// pixels (roomPlanSize), background 90, grid lines 253 every 10 pixels, no palette of its own.
// Throws std::invalid_argument for sizes outside 3..32.
void makeRoomPicture(IndexedImage& picture, int rows, int columns);

// The picture of the room's size, made the first time the plan needs it; an empty image (which
// draws nothing) for a size outside 3..32.
const IndexedImage& roomPicture(Plan& plan, const EditorRoom& room);

// Lays the room into the plan image at its position as every room but the current one lies
// there: by exclusive or, then by and. Adding a room does so with the room that was current.
void stampRoom(Plan& plan, const EditorRoom& room);

// redrawAll: the grid, every room but the current one in room order, then the current room.
void redrawPlan(Plan& plan, const Project& project);

// redrawCurrent: the plan image copied into the working image, the current room laid over it
// at (planX, planY), covering the rooms beneath. Nothing is laid over a project without rooms.
void redrawCurrentRoom(Plan& plan, const Project& project);

// The first room, in room order, whose picture rectangle (roomPlanSize) contains the plan point,
// both far edges included (posX <= x <= posX + width, posY <= y <= posY + height); 0 when none.
int roomAtPlanPoint(const Project& project, int x, int y);

// A plan point snapped to the 10-pixel raster, truncating towards zero.
constexpr int snapToRaster(int value) { return (value / kPlanCell) * kPlanCell; }

// The position read-out for a room picture whose top-left corner is at plan point (x, y):
// "X=" + column of its west edge + "  Z=" + row of its south edge counted from the plan's
// south edge (divisions truncate towards zero).
std::string positionText(int x, int y, int pictureHeight);

}  // namespace cw
