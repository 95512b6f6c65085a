#pragma once
// Helpers of the level file tests: the real levels, small synthetic levels, a scratch folder,
// and a fixture that holds one LevelImage (about 25 MB) for a whole test suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "levelfile/level_image.h"

namespace cw::test {

// The real level files of CW_TEST_LEVELS_DIR.
inline constexpr const char* kRealTR1 = "TR1-TEST1.PHD";
inline constexpr const char* kRealTR2 = "TR2-TEST1.TR2";
inline constexpr const char* kRealTR3 = "TR3-TEST1.TR2";

// The path of a real level, or "" when it is absent.
std::string realLevelPath(const std::string& name);
std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path);

// The version word of a game kind (Tomb Raider 3: 0xFF180038).
std::uint32_t versionOfKind(int kind);

// The shape of one room of a synthetic level.
struct TestRoom {
    int vertices = 4;
    int rectangles = 1;
    int triangles = 2;
    int sprites = 1;
    int portals = 1;
    int numZ = 3;
    int numX = 4;
    int lights = 2;
    int staticMeshes = 1;
};

// Fills image (zero-filled first) with a small level of the given kind and rooms: one texture
// page, a few elements in every list, every byte of them a different running pattern so that a
// misplaced chunk shows. Both record forms hold the same values, derived as the reader derives
// them, so a read of the written level gives this image again.
void buildTestLevel(LevelImage& image, int kind, std::span<const TestRoom> rooms);

// True when every byte of the image is zero and its three blocks are empty.
bool isAllZero(const LevelImage& image);

// A scratch folder, removed with everything in it at the end of its scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The names of the files in the folder, sorted.
    std::vector<std::string> fileNames() const;

private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Puts a little-endian u16 or u32 into bytes at offset.
void poke16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void poke32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t peek32(std::span<const std::uint8_t> bytes, std::size_t offset);

// One LevelImage per test suite.
class LevelImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { image_ = std::make_unique<LevelImage>(); }
    static void TearDownTestSuite() { image_.reset(); }
    static LevelImage& image() { return *image_; }

private:
    static std::unique_ptr<LevelImage> image_;
};

}  // namespace cw::test
