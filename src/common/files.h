#pragma once
// Opening files, whole-file reads and safe whole-file writes.
//
// Every file of the program is opened through openFile: it hands the path to the system in the
// system's own form (wide characters on Windows), so a name with any characters opens on every
// platform. Never pass path.c_str() to std::fopen: on Windows it is a wide string.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// Closes an open file; a null handle is left alone.
struct FileCloser {
    void operator()(std::FILE* file) const noexcept;
};
// An open file, closed when its handle goes. Call closeFile to see whether the close failed.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file at path with a C open mode ("rb", "wb"). Null, with errno set, when it cannot
// be opened.
FileHandle openFile(const std::filesystem::path& path, const char* mode);

// Closes the file now; false (with errno set) when the system reports a failure, which for a
// file being written means its last bytes may not have been stored.
bool closeFile(FileHandle& file);

// The path as UTF-8 text, for messages (the program's messages are UTF-8 on every platform).
std::string pathText(const std::filesystem::path& path);

// Reads the whole file. Throws IoError naming the file when it cannot be opened or read.
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);

// Opens the file for a reader that walks it in pieces. Throws the IoError readFile throws when
// the file cannot be opened.
FileHandle openFileForReading(const std::filesystem::path& path);
// Throws the IoError readFile throws when an open file cannot be read (errno tells why).
[[noreturn]] void failedToRead(const std::filesystem::path& path);

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
