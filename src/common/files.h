#pragma once
// Whole-file reads and safe whole-file writes.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// Reads the whole file. Throws IoError naming the file when it cannot be opened or read.
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);

// True when a regular file (or a link to one) exists at path. Never throws.
bool fileExists(const std::filesystem::path& path);

// Writes bytes to a temporary file beside path, flushes it to the disk and renames it over
// path. On any failure the temporary file is removed, a file already at path is left as it
// was, and IoError is thrown naming path.
void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// A data file the program ships: first the program's own folder, then the installed data
// folder (<prefix>/share/cairnwork beside <prefix>/bin). Returns the path in the program's
// folder when neither exists, so that the error names the expected place.
std::filesystem::path findDataFile(const std::filesystem::path& programFolder,
                                   std::string_view name);

// The file system path named by a text as the program stores it (Windows-1250 bytes).
std::filesystem::path pathFromBytes(std::string_view bytes);

}  // namespace cw
