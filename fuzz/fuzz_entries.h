#pragma once
// The fuzz tests' view of every reader of outside bytes. Each entry feeds the bytes to the
// reader the program uses; when the reader accepts them, it also writes the result back and
// reads it again (and, for a base level, builds a small project on it), so the writers and the
// builder see fuzzed data too. A refusal (IoError, FormatError) is a normal outcome; a broken
// promise (a written file that does not read back the same, a built level that does not read
// back) aborts, which the fuzzer reports as a crash. Each entry returns 1 when the reader
// accepted the bytes (for the side files: for at least one game kind), 0 when it refused them;
// the base level entry returns 2 when the build on the level also wrote its level.
#include <cstddef>
#include <cstdint>

namespace cw::fuzz {

int projectFile(const std::uint8_t* data, std::size_t size);
int baseLevel(const std::uint8_t* data, std::size_t size);
int itemsFile(const std::uint8_t* data, std::size_t size);
int meshFile(const std::uint8_t* data, std::size_t size);
int bmpFile(const std::uint8_t* data, std::size_t size);

// The entry of a fuzz target by its name ("project_file", "base_level", "items_file",
// "mesh_file", "bmp_file"); null for an unknown name.
using Entry = int (*)(const std::uint8_t*, std::size_t);
Entry entryNamed(const char* name);

}  // namespace cw::fuzz
