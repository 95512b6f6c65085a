#pragma once
// The textures of a base level as the editor shows them: every texture page decoded to 32-bit
// colour, the object textures read from their 20-byte records, and one object texture drawn
// into a square as the game would draw it (for the thumbnails beside the texture number fields
// and for the texture picker).
//
// Page formats: Tomb Raider 1 and 1 Gold have 8-bit pages only, indices into the level's
// 256-colour palette of 6-bit components; Tomb Raider 2 and 3 draw rooms from their 16-bit
// pages (1-5-5-5: alpha, red, green, blue). A 5-bit component widens to 8 bits as
// (v << 3) | (v >> 2), a 6-bit one as (c << 2) | (c >> 4).
#include <array>
#include <cstdint>
#include <vector>

namespace cw {

struct LevelImage;

// A picture in 32-bit colour, row by row from the top, 0xAARRGGBB (alpha 0 = transparent).
struct ColourPicture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
};

// One object texture of the base level, as the game reads it.
struct ObjectTextureInfo {
    std::uint16_t attribute = 0;  // 0 opaque, 1 transparent texels, 2 additive
    std::uint16_t page = 0;       // low 14 bits of the stored word
    std::array<std::array<std::uint8_t, 2>, 4> corners{};  // {column, row} texel in the page
    bool triangle = false;        // the fourth corner is all zero bytes
};

// Every texture page of a base level decoded to colour (256 x 256 each: 16-bit pages for
// Tomb Raider 2 and 3, 8-bit pages through the palette for Tomb Raider 1 and 1 Gold) and its
// object textures. Index 0 of an 8-bit page / alpha 0 of a 16-bit page is transparent.
struct BaseTextures {
    int kind = 0;  // kKindNone when nothing is loaded
    std::vector<ColourPicture> pages;
    std::vector<ObjectTextureInfo> objects;
};

inline constexpr int kTexturePageSide = 256;

// Object texture attributes.
inline constexpr std::uint16_t kTextureOpaque = 0;
inline constexpr std::uint16_t kTextureTransparentTexels = 1;
inline constexpr std::uint16_t kTextureAdditive = 2;

// The two greys of the checker that stands for transparent texels.
inline constexpr std::uint32_t kCheckerLight = 0xFFC8C8C8;
inline constexpr std::uint32_t kCheckerDark = 0xFF909090;

// Decodes the image's texture pages and object textures into out (its pictures are reused when
// they have the size already). An image of no known game kind gives kind 0 and nothing else.
// Only the pages the image's texture blocks hold whole are decoded.
void decodeBaseTextures(const LevelImage& image, BaseTextures& out);

// Object texture `index` (0-based; the editor's number minus 1) drawn into a size x size
// square; transparent texels (attribute 1) show a grey checker. Empty picture when the
// index is past the object textures.
//
// Corner 0 goes to the square's top left, 1 to its top right, 2 to its bottom right and 3 to
// its bottom left, each on the centre of its texel, and the square samples the page between
// them; a triangle fills the square's top right half, corners 0, 1 and 2 where a rectangle's
// stand (the rest is checker). A texture on a page the level does not have is all checker.
ColourPicture objectTextureThumbnail(const BaseTextures& textures, int index, int size);

}  // namespace cw
