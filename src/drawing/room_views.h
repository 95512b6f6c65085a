#pragma once
// The room editor's three views of a room, drawn in memory as indexed images:
//  - the top view, 20 pixels a sector, open cells 209 and closed cells (floor = ceiling) 253,
//    with a 247 mark over every portal;
//  - the front/back view of one row z and the left/right view of one column x, 16 pixels a
//    sector across and 16 pixels a cell of 4 clicks up, 64 cells high (levels 0..255), built
//    from the shape glyphs by exclusive or (and by or for linked surfaces).
// Everything here reads only sectors inside the room's grid and portals inside its table.
#include <array>
#include <cstdint>
#include <filesystem>

#include "project/project.h"
#include "project/room_view_layout.h"
#include "raster/image.h"

namespace cw {

inline constexpr std::uint8_t kViewBackground = 209;  // background, inside of an open cell
inline constexpr std::uint8_t kViewGrid = 253;        // grid lines, inside of a closed cell
inline constexpr std::uint8_t kPortalMark = 247;      // portal marks in the top view

// The pictures of the floor and ceiling shapes, 16 x 16 each, numbered 1..16 (element 0 unused).
// Glyph 1 of each set is also the solid block that fills floors and ceilings.
struct ShapeGlyphs {
    std::array<IndexedImage, kShapeCount + 1> floor;
    std::array<IndexedImage, kShapeCount + 1> ceiling;
};

// Floor glyphs 1..10 are the 16 x 16 squares of the strip from the top; 11..16 repeat 5..10.
void cutFloorGlyphs(const IndexedImage& strip, ShapeGlyphs& glyphs);
// Ceiling glyphs run the other way: the strip's top square is ceiling shape 10, its tenth
// square ceiling shape 1; 11..16 repeat 5..10.
void cutCeilingGlyphs(const IndexedImage& strip, ShapeGlyphs& glyphs);
// Reads "shapes1.bmp" (floors) and then "shapes2.bmp" (ceilings) from the program's folder.
// Throws IoError or FormatError; the glyphs made before the failure stay.
void loadShapeGlyphs(const std::filesystem::path& programFolder, ShapeGlyphs& glyphs);

// The images behind the three views, and the scratch images they are painted with.
struct RoomViewImages {
    IndexedImage topView;    // (20 numX + 2) x (20 numZ + 2)
    IndexedImage frontBack;  // (16 numX + 2) x 1026
    IndexedImage leftRight;  // (16 numZ + 2) x 1026
    IndexedImage cell;       // 19 x 19, one top view cell's inside
    IndexedImage portal;     // one portal mark, made afresh for each portal
};

// Makes the view images at the room's size, each with its own copy of the palette.
void makeRoomViewImages(const EditorRoom& room, const PaletteBlock& palette, RoomViewImages& views);

// Clears the top view, draws its grid and paints every cell open or closed.
void drawTopView(const EditorRoom& room, RoomViewImages& views);

// Draws sector (x, z) as one column of a side view at pixel column X: the floor's body and
// surface glyph from the bottom, the ceiling's body and surface glyph from the top. A sector
// outside the grid draws nothing.
void drawSectorColumn(const EditorRoom& room, int x, int z, const ShapeGlyphs& glyphs, IndexedImage& view, int X);

// The line a side view shows: a selector value outside 1..limit is read as the nearest line.
int sideViewLine(int selectorValue, int limit);

// Redraws the left/right view of column `column` and the front/back view of row `row`
// (selector values; see sideViewLine).
void drawSideViews(const EditorRoom& room, const ShapeGlyphs& glyphs, int column, int row, RoomViewImages& views);

// Marks every portal of the room in the top view with a filled 247 rectangle from the inside of
// its anchor cell eastwards and southwards. Marks are clipped to the view.
void drawPortalMarks(const EditorRoom& room, RoomViewImages& views);

}  // namespace cw
