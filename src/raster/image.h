#pragma once
// 8-bit indexed images with 6-bit palettes.
//
// An IndexedImage is live ("valid") while its Marker reads "VALIDO"; a default-constructed
// record is a correct empty image. A valid image owns its pixels; its palette block is held by
// shared ownership, so two images may show the same palette (the plan and its working copy) and
// the block lives as long as any image refers to it. Freeing twice is harmless.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/pstring.h"

namespace cw {

// 256 entries of red, green, blue, each component 0..63.
using PaletteBlock = std::array<std::uint8_t, 768>;

struct IndexedImage {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint8_t> Pixels;       // Width * Height bytes, top row first
    std::shared_ptr<PaletteBlock> Palette;  // may be null
    PString<255> Marker;                    // "VALIDO" while live

    std::uint8_t at(std::uint32_t x, std::uint32_t y) const { return Pixels[std::size_t(y) * Width + x]; }
};

inline constexpr const char* kValidMarker = "VALIDO";

bool IsValidImage(const IndexedImage& image);

// Frees the image, then makes it valid with the new size, all pixels 0, no palette.
void CreateImage(IndexedImage& image, std::uint32_t width, std::uint32_t height);

// Releases the pixels and this image's reference to its palette and leaves it empty.
// Does nothing to an image that is not valid.
void FreeImage(IndexedImage& image);

// Copies min(source pixels, destination pixels) bytes as one flat block (rows are not
// realigned when the widths differ). Does nothing unless both images are valid.
void CopyPixels(const IndexedImage& source, IndexedImage& destination);

// The colours a screen shows for a palette: 0xFFRRGGBB with each 6-bit component times 4.
std::array<std::uint32_t, 256> ScreenColours(const PaletteBlock& palette);

}  // namespace cw
