#pragma once
// Reading a game level file (Tomb Raider 1 ".phd", 1 Gold ".tub", 2 and 3 ".tr2") into a
// LevelImage, chunk by chunk in file order as levelfile/level_layout.h lays them out.
//
// Every count is checked against the capacity of its list before anything is read for it; a
// level that exceeds one is refused with FormatError ("Base level has 3100 object textures; at
// most 2500 are supported"). A file that ends early is refused with IoError. The image is
// zero-filled before reading and zero-filled again when the level is refused, so a refusal
// never leaves half a level behind.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "levelfile/level_image.h"

namespace cw {

inline constexpr std::uint8_t kReadOk = 0;
inline constexpr std::uint8_t kReadNoFile = 1;
inline constexpr std::uint8_t kReadUnknownVersion = 2;

// Reads the level file at path (Windows-1250 bytes, used exactly as passed; its name also tells
// Tomb Raider 1 from Gold). Returns 0 when read, 1 when no file exists at path (the image is
// zero), 2 when the version word is not a known one (the image is zero, version 0).
// Throws IoError when the file cannot be read or ends early, FormatError when a count exceeds
// its capacity, both naming the file (Base level "/levels/x.phd" ends early: ...); the image
// is zero then.
std::uint8_t readBaseLevel(LevelImage& image, const std::string& path);

// The same on bytes already in memory. pathForKind is the file name that tells Tomb Raider 1
// from Gold; what names the input in messages ("Base level").
std::uint8_t parseLevel(std::span<const std::uint8_t> bytes, LevelImage& image,
                        std::string_view pathForKind, const std::string& what);

// Where a chunk starts in the file: name is the list ("object textures", "room 3 vertices"),
// offset the position of its count (or of the block when it has none).
struct LevelChunk {
    std::string name;
    std::size_t offset = 0;
};

// parseLevel that also records every chunk it passes, in file order (for inspection tools and
// for tests that damage a level at a chosen place). The last entry, "end of level", is where
// reading stopped.
std::uint8_t parseLevel(std::span<const std::uint8_t> bytes, LevelImage& image,
                        std::string_view pathForKind, const std::string& what,
                        std::vector<LevelChunk>& chunks);

}  // namespace cw
