#pragma once
// The two optional build side files, read after the rooms, floor data and boxes are made.
//
// Items settings file ("Ust. przedmiotów"):
//   magic (the byte 7, "VELLORN"), item count u32, the items (ItemLong or ItemShort by the image's
//   game kind), floor data word count u16 and the words, camera count u32 and the cameras
//   (16 bytes), room count u16 and per room its lights (count u16, 24 or 18 bytes each) and static
//   meshes (count u16, 20 or 18 bytes each), then sector assignments (room u16, sector u16,
//   floor data offset u16, all 1-based but the offset) up to the end of the file.
// Light/texture settings file ("Ust. świateł/textur"):
//   magic (the byte 16, "Vellorn MSH file"), game kind u32 (low byte compared), room count u16,
//   then per room its vertices (count u16, WideVertex or ShortVertex), rectangles and triangles.
//
// Both readers check the whole file before they change the image: a count past a capacity, a
// room or sector the level does not have, a face naming a vertex the file does not give, or a
// floor data offset past the floor data is refused with FormatError; a file that ends inside a
// record with IoError. Either leaves the image as it was.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "levelfile/level_image.h"

namespace cw {

// Statuses of readItemsFile.
inline constexpr std::uint8_t kItemsRead = 0;
inline constexpr std::uint8_t kItemsNoFile = 1;
inline constexpr std::uint8_t kItemsBadMagic = 2;
// Statuses of readRoomMeshFile.
inline constexpr std::uint8_t kMeshesRead = 0;
inline constexpr std::uint8_t kMeshesBadMagic = 1;
inline constexpr std::uint8_t kMeshesWrongGame = 2;

// The items replace all items of the image (the start item too); the floor data words are
// appended after the level's floor data and the assignments' offsets count from the first of
// them; the cameras replace the image's; rooms 1..r get the file's lights and static meshes.
std::uint8_t readItemsFile(LevelImage& image, const std::filesystem::path& path);
// The same from the file's bytes; `what` names the input in messages.
std::uint8_t readItemsBytes(LevelImage& image, std::span<const std::uint8_t> bytes,
                            const std::string& what = "Items file");

// The meshes of rooms 1..min(r, roomCount) replace the generated ones; data after them is not
// read. The file must exist (IoError otherwise).
std::uint8_t readRoomMeshFile(LevelImage& image, const std::filesystem::path& path);
std::uint8_t readRoomMeshBytes(LevelImage& image, std::span<const std::uint8_t> bytes,
                               const std::string& what = "Meshes file");

}  // namespace cw
