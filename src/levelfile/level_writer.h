#pragma once
// Writing a LevelImage as a game level file: exactly the chunk sequence the reader reads (both
// follow levelfile/level_layout.h), in the layout of the output kind (told by the version word
// and the output file's name, so a Tomb Raider 1 level written under a name with ".tub" gets the
// Gold layout).
//
// The writer computes only each room's dataWords and the zone count (a copy of the box count);
// everything else is written from the image unchanged. Every count is checked against its
// capacity before its list is written (FormatError), and the file is written to a temporary
// name and renamed over the target, so a failed write leaves an existing file intact.
#include <cstdint>
#include <string>
#include <vector>

#include "levelfile/level_image.h"

namespace cw {

inline constexpr std::uint8_t kWriteOk = 0;
inline constexpr std::uint8_t kWriteUnknownVersion = 2;

// Writes the image to path (Windows-1250 bytes, used exactly as passed). Returns 0 when
// written, 2 when the version word is not a known one: version is then set to 0 and nothing is
// written (a file already at path stays as it was). Throws IoError when the file cannot be
// written, FormatError when a count of the image exceeds its capacity.
std::uint8_t writeLevel(LevelImage& image, const std::string& path);

// The bytes of the level file of outputKind (kKindTR1 .. kKindTR3). Stores each room's
// dataWords and the zone count in the image, as writeLevel does. Every count is checked first:
// FormatError when one exceeds its capacity or a referenced block is smaller than its size says
// (the image is then unchanged), std::invalid_argument for an outputKind that is not a game kind.
std::vector<std::uint8_t> serializeLevel(LevelImage& image, int outputKind);

// The dataWords of a room in the output form (long: 12-byte vertices, short: 8-byte vertices):
// the room's mesh block in 16-bit words, its four counts included.
std::uint32_t roomDataWords(const LevelRoom& room, bool longForm);

}  // namespace cw
