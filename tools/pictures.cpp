#include "pictures.h"

#include <array>
#include <memory>

#include "project/project.h"

namespace cw::pictures {

namespace {

struct Rgb {
    std::uint8_t r, g, b;  // 0..63
};

void set(PaletteBlock& p, int index, Rgb c) {
    p[std::size_t(3 * index)] = c.r;
    p[std::size_t(3 * index + 1)] = c.g;
    p[std::size_t(3 * index + 2)] = c.b;
}

// Height of a shape's surface at column c (0 = left, 15 = right) of a side view. Both side
// views show slopes whose left end is the north (left/right view) or west (front/back view)
// corner; shapes 1..10 are drawn as the left/right view sees them (north to south).
int heightAt(const ShapeEntry& shape, int column) {
    const int left = shape.edgeHeights[4];   // left edge, north end
    const int right = shape.edgeHeights[5];  // left edge, south end
    return left + (right - left) * column / 15;
}

IndexedImage strip(bool ceiling) {
    const ShapeTable& shapes = standardShapeTable();
    IndexedImage image;
    CreateImage(image, 16, 160);
    image.Palette = std::make_shared<PaletteBlock>(programPalette());
    for (int s = 1; s <= 10; ++s) {
        // Floor glyph s is square s - 1 from the top; ceiling glyph s is square 10 - s.
        const int top = ceiling ? 16 * (10 - s) : 16 * (s - 1);
        const std::uint8_t fill = ceiling ? kCeilingFill : kFloorFill;
        for (int c = 0; c < 16; ++c) {
            const int rows = glyphRows(heightAt(shapes[s], c));
            for (int k = 0; k < rows; ++k) {
                // A floor fills its square from the bottom, a ceiling hangs from the top.
                const int y = ceiling ? top + k : top + 15 - k;
                image.Pixels[std::size_t(y) * 16 + std::size_t(c)] = fill;
            }
        }
    }
    return image;
}

}  // namespace

PaletteBlock programPalette() {
    PaletteBlock p{};
    // A spread of muted colours for indices without a meaning of their own, so that any
    // unexpected combination still shows.
    for (int i = 0; i < 256; ++i) {
        set(p, i, Rgb{std::uint8_t(16 + (i * 7) % 32), std::uint8_t(16 + (i * 13) % 32), std::uint8_t(16 + (i * 3) % 32)});
    }
    // The plan: background, grid, and what the room pictures become over them. A room that is
    // not current is combined by xor, then and; the current room by xor only.
    set(p, kBackground, {10, 12, 18});       // plan and view background
    set(p, kGridLine, {38, 40, 44});         // grid lines; closed cell of the top view
    set(p, kRoomPicture, {50, 34, 6});       // (room picture background; current room over a room line)
    set(p, 10, {12, 34, 28});                // a room, not current
    set(p, 2, {9, 28, 23});                  // a room, not current, over a plan line off the raster
    set(p, 139, {62, 46, 10});               // the current room
    set(p, 167, {54, 38, 8});                // the current room over a plan line off the raster
    set(p, 0, {3, 4, 6});                    // a room's grid line on a plan grid line
    set(p, 44, {3, 4, 6});                   // a room's grid line over the plan background
    for (int i : {80, 82, 88, 118}) set(p, i, {56, 18, 12});  // rooms overlapping each other
    for (int i : {245, 255}) set(p, i, {30, 32, 36});         // room lines over other rooms
    // Portal marks in the top view (also the current room's lines over another room).
    set(p, kPortalMark, {63, 14, 54});
    // Side views: floor and ceiling glyphs over the background and the grid lines.
    set(p, kBackground ^ kFloorFill, {38, 26, 12});    // floor
    set(p, kGridLine ^ kFloorFill, {32, 21, 9});       // floor on a grid line
    set(p, kBackground | kFloorFill, {14, 34, 54});    // floor linked to a room below or beside
    set(p, kBackground ^ kCeilingFill, {30, 30, 36});  // ceiling
    set(p, kGridLine ^ kCeilingFill, {25, 25, 31});    // ceiling on a grid line
    set(p, kBackground | kCeilingFill, {16, 48, 36});  // ceiling linked to a room above
    const int both = kBackground ^ kFloorFill ^ kCeilingFill;  // floor and ceiling in one place
    set(p, both, {44, 8, 8});
    set(p, kGridLine ^ kFloorFill ^ kCeilingFill, {36, 6, 6});
    set(p, (kBackground | kFloorFill) ^ kCeilingFill, {44, 8, 8});
    return p;
}

IndexedImage paletteImage() {
    IndexedImage image;
    CreateImage(image, 128, 128);
    image.Palette = std::make_shared<PaletteBlock>(programPalette());
    for (std::uint32_t y = 0; y < 128; ++y)
        for (std::uint32_t x = 0; x < 128; ++x) image.Pixels[y * 128 + x] = std::uint8_t((y / 8) * 16 + x / 8);
    return image;
}

IndexedImage floorGlyphStrip() { return strip(false); }
IndexedImage ceilingGlyphStrip() { return strip(true); }

}  // namespace cw::pictures
