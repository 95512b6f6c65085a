#pragma once
// Reading 8-bit BMP files: uncompressed, bottom-up, a 40-byte information header and a full
// 256-entry colour table, pixels at byte 1078. Anything else is refused with FormatError;
// a file that cannot be read throws IoError. A refused file leaves the image untouched.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "raster/image.h"

namespace cw {

inline constexpr std::uint32_t kBmpPixelOffset = 1078;  // 14 + 40 + 1024

// Reads the file into the image: its size, its pixels (the file's first row becomes the
// image's last) and a new palette block read from its colour table. Rows in the file are
// (file size field - 1078) / height bytes long; their first Width bytes are used.
void LoadBmp(const std::filesystem::path& fileName, IndexedImage& image);

// Reads the colour table: entry i = (red >> 2, green >> 2, blue >> 2).
void LoadPalette(const std::filesystem::path& fileName, PaletteBlock& palette);

// Writes the image as an 8-bit BMP with its palette (a grey ramp when it has none), rows
// padded to 4 bytes, bottom row first. Throws IoError when the file cannot be written.
std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image);
void SaveBmp(const std::filesystem::path& fileName, const IndexedImage& image);

// The same, from bytes already in memory; `what` names the input in messages.
void LoadBmpBytes(std::span<const std::uint8_t> bytes, IndexedImage& image, const std::string& what);
void LoadPaletteBytes(std::span<const std::uint8_t> bytes, PaletteBlock& palette, const std::string& what);

}  // namespace cw
