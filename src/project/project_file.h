#pragma once
// The project file (*.cwp): a little-endian, field-by-field dump of the Project and of every
// room in use. Version 3 is written; versions 1 to 3 are read (a version byte above 3 is read
// as 3, 0 as 1). Texts are length-prefixed Windows-1250 bytes in fixed-size fields; the
// writer pads them, the reserved room trailers and the file trailer with zeros, so the same
// project always gives the same bytes.
//
// Layout, version 3 (version 1 lacks the items, lights and output paths and the room bytes
// windRain..reserved; version 2 lacks the items and lights paths and sky, reserved):
//   header   776 bytes: magic (byte 16, "Vellorn CWp file"), version, levelDescription[101],
//            comment[251], baseLevelPath[101], itemsFilePath[101], lightsFilePath[101],
//            outputLevelPath[101], currentRoom, roomCount
//   rooms    per room 66 + 110 * numZ * numX + 4 + 19 * portalCount + 40 bytes
//   trailer  40 zero bytes
//
// Opening a project safely (the open project changes only when the whole file is good):
//
//     auto loaded = std::make_unique<Project>();
//     loadProject(path, *loaded);          // throws IoError / FormatError; project untouched
//     adoptProject(project, *loaded);      // cannot fail
//     project.projectFileName = ...;       // the caller names the open file
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "project/project.h"

namespace cw {

inline constexpr int kProjectFileVersion = 3;
inline constexpr std::array<std::uint8_t, 17> kProjectMagic = {16,  'V', 'e', 'l', 'l', 'o', 'r', 'n', ' ',
                                                               'C', 'W', 'p', ' ', 'f', 'i', 'l', 'e'};
inline constexpr std::size_t kProjectHeaderBytes = 776;   // version 3
inline constexpr std::size_t kProjectTrailerBytes = 40;
inline constexpr std::size_t kRoomFixedBytes = 66;        // version 3, posX .. numX
inline constexpr std::size_t kRoomTrailerBytes = 40;
inline constexpr std::size_t kGameSectorFileBytes = 8;
// 80 rooms of 32 x 32 sectors with 20 portals each: no project file is longer.
inline constexpr std::size_t kLargestProjectFileBytes =
    kProjectHeaderBytes + kProjectTrailerBytes +
    kMaxRooms * (kRoomFixedBytes + kMaxSectors * (kGameSectorFileBytes + kSectorFileBytes) + 4 +
                 kMaxPortals * kPortalFileBytes + kRoomTrailerBytes);

// The words with which the reader and the saver refuse a project on a fault of the project rules
// (project_rules.h): "<what> cannot be loaded: <fault>", "The project cannot be saved: <fault>".
inline constexpr const char* kLoadRefused = "cannot be loaded:";
inline constexpr const char* kSaveRefused = "The project cannot be saved:";

// Told the progress positions 10, 30, 90 (load only) and 100; the window sets 0 afterwards,
// whether the operation succeeded or not.
using ProgressFn = std::function<void(int)>;

// The number of bytes serializeProject gives for the project.
std::size_t projectFileSize(const Project& project);

// The version-3 file of the project. Throws FormatError, "The project cannot be saved: " and the
// first fault the saver refuses (project_rules.h: more than 80 rooms, a current room that is not
// a room, a room size outside 3..32, a portal count outside 0..20), since such a file would not
// load again.
std::vector<std::uint8_t> serializeProject(const Project& project);

// Reads a whole project file into `out` and returns the file's version (1..3, as read).
// `out` ends as if first emptied (clearProject): the file is read into its room slots in place,
// and whatever the file does not hold is set to zero. It gets the texts and rooms of the file,
// planX/planY = the current room's position (-1, -1 without rooms) and an empty
// projectFileName. `what` names the input in messages ("Project file \"x.cwp\"").
// Refused: a magic that differs in any of its 17 bytes (FormatError); a fault the reader refuses
// (project_rules.h: more than 80 rooms, a current room that is not a room in a file with rooms,
// a room size outside 3..32, a portal count outside 0..20), as FormatError "<what> cannot be
// loaded: <fault>"; a file shorter than what it declares (IoError). Bytes after the trailer
// are ignored. On a throw `out` holds a partly read project: parse into a separate Project,
// never into the open one.
int parseProject(std::span<const std::uint8_t> bytes, Project& out, const std::string& what,
                 const ProgressFn& progress = {});

// Reads the file and parses it into `out` (see parseProject), straight from the file through the
// reader's buffer. Throws IoError when the file cannot be read, FormatError (before reading it)
// when it is longer than any project file.
int loadProject(const std::filesystem::path& path, Project& out, const ProgressFn& progress = {});

// Writes the project's version-3 file through a temporary file beside path, renamed over path
// once all of it is written and flushed: a failed save leaves the old file as it was.
// Throws IoError (or FormatError, see serializeProject).
void saveProject(const Project& project, const std::filesystem::path& path, const ProgressFn& progress = {});

// Replaces the open project by a loaded one: target then holds exactly what loaded held
// (texts, rooms, currentRoom, planX/planY, projectFileName) and nothing of its own;
// loaded is left empty. Cannot fail.
void adoptProject(Project& target, Project& loaded) noexcept;

}  // namespace cw
