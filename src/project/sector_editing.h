#pragma once
// Editing sectors through the room editor's two side views: the front/back view shows one row z
// (x runs west to east), the left/right view one column x (z runs north to south). A click picks
// a view cell of 4 clicks of height; floor and ceiling clicks write heights, shapes, links,
// textures and lights into the sectors of a range of rows or columns; a pick-up reads one
// sector's values back into the view's fields.
//
// Every function here writes only sectors inside the room's grid; levels are held in 0..255 and
// lights in 0..255.
#include <array>
#include <optional>
#include <string>

#include "project/project.h"

namespace cw {

enum class SideView { FrontBack, LeftRight };

// The three room-link fields of a side view (room numbers, 0 = none) and the view's link mode:
// 1 = links to the rooms above and below, 2 = a link to a room beside.
struct LinkFields {
    int above = 0;
    int beside = 0;
    int below = 0;
    int mode = 1;
    friend bool operator==(const LinkFields&, const LinkFields&) = default;
};

// The link mode the fields stand for: 2 (a room beside) when the beside field holds a room,
// else 1. The fields and the mode always agree this way, so what they show is what a click writes.
int linkModeOf(const LinkFields& links);

// A change of a link field: the beside field clears the other two (mode 2 when it holds a room,
// else 1); the above or below field clears the beside field (mode 1). The other fields are reset
// as a consequence of the change, not as changes of their own.
void besideFieldChanged(LinkFields& links);
void aboveOrBelowFieldChanged(LinkFields& links);

// The values of a view's face fields as the user sees them, face by face in the order front,
// back, left, right, surface: texture numbers (stored + 1) and lights.
struct FaceFields {
    std::array<int, 5> textures{};
    std::array<int, 5> lights{};
    friend bool operator==(const FaceFields&, const FaceFields&) = default;
};

// Everything a side view's fields hold.
struct SideFields {
    LinkFields links;
    FaceFields floor;
    FaceFields ceiling;
    friend bool operator==(const SideFields&, const SideFields&) = default;
};

// The link check made before any click is handled: the first of the above, beside and below
// fields that names the current room or a room past roomCount, or nullopt when all pass (0 always
// passes). The message is "Invalid Room above number!" (side, below).
std::optional<std::string> linkCheckMessage(const Project& project, const LinkFields& links);

// The horizontal index of the column drawn at pixel px of a view `viewWidth` pixels wide: x in
// the front/back view, z in the left/right view; 0 or the limit + 1 past the grid.
int sideViewIndex(SideView view, int px, int viewWidth);
// The view cell drawn at pixel row py, counted from the bottom: 1..64 inside the grid, 0 in the
// picture's bottom pixel row and 65 in its top one.
int sideViewCell(int py, int viewHeight);
// The caption read-out of a point: "X:3 Y:131" (front/back) or "Z:3 Y:131" (left/right).
std::string sideViewReadout(SideView view, int index, int cell);

// The floor and ceiling levels that a click in view cell `cell` gives with a shape of the given
// thickness, held in 0..255.
int floorLevelForCell(int cell, int thickness);
int ceilingLevelForCell(int cell, int thickness);

// One floor or ceiling click of a side view.
struct SideEdit {
    SideView view = SideView::FrontBack;
    int index = 1;          // horizontal index of the click (x front/back, z left/right)
    int cell = 1;           // view cell of the click, from the bottom
    int line = 1;           // the selected row (front/back) or column (left/right)
    int lineCount = 1;      // lines edited at once
    int shape = 1;          // ShapeTable entry of the view's selected shape
    bool facesOnly = false; // Ctrl held: only the textures and lights are written
    SideFields fields;
};

// Floor edit: for every line of the range (capped at the room's edge) the sector gets the new
// floor level (the ceiling lifted to 4 clicks above it when it would lie below), the shape and its
// slope kind, the floor-data index, the links of the view's link mode and the floor face fields.
// With facesOnly only the floor faces are written. Returns the number of sectors edited; a click
// outside the grid (index or cell) edits nothing.
int editFloor(EditorRoom& room, const SideEdit& edit);
// Ceiling edit: the same for the ceiling (the floor lowered to 4 clicks below a new ceiling that
// would lie under it; boxIndex kept).
int editCeiling(EditorRoom& room, const SideEdit& edit);

// The pick-up: the fields that the sector at the selected line and the clicked index puts into
// its view. Nothing when that sector lies outside the grid.
std::optional<SideFields> pickUpSector(const EditorRoom& room, SideView view, int line, int index);

// The sector (x, z) that a side view's index and line address.
struct SectorPos {
    int x = 0;
    int z = 0;
};
SectorPos sideViewSector(SideView view, int line, int index);

}  // namespace cw
