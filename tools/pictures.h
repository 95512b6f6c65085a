#pragma once
// The pictures the program ships: the program palette ("paleta.bmp") and the glyph strips of
// the floor and ceiling shapes ("shapes1.bmp", "shapes2.bmp").
#include "raster/image.h"

namespace cw::pictures {

// Palette indices with a fixed meaning in the program's views.
inline constexpr std::uint8_t kBackground = 209;   // plan and view background, open top-view cell
inline constexpr std::uint8_t kGridLine = 253;     // grid lines, closed top-view cell
inline constexpr std::uint8_t kPortalMark = 247;   // portal marks in the top view
inline constexpr std::uint8_t kRoomPicture = 90;   // background of a room's plan picture

// Glyph pixel values: combined with the views by exclusive or (plain surfaces and bodies) or
// by or (surfaces linked to another room).
inline constexpr std::uint8_t kFloorFill = 130;
inline constexpr std::uint8_t kCeilingFill = 132;

PaletteBlock programPalette();

// A picture of the palette: 16 x 16 swatches of 8 x 8 pixels, swatch i in index i.
IndexedImage paletteImage();

// Floor glyphs for shapes 1..10 from the top (shapes1.bmp), ceiling glyphs for shapes 10..1
// from the top (shapes2.bmp): strips 16 pixels wide, 160 high.
IndexedImage floorGlyphStrip();
IndexedImage ceilingGlyphStrip();

// Filled rows of a 16-pixel glyph column for a corner height of 0..1024 world units.
constexpr int glyphRows(int height) { return (height * 16 + 512) / 1024; }

}  // namespace cw::pictures
