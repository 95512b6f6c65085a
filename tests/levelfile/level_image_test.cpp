#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "level_test_support.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"

namespace cw {
namespace {

using namespace cw::test;

TEST(LevelImageReset, LeavesEveryByteZeroAfterAFullLevelAndALoweredRoomCount) {
    auto image = std::make_unique<LevelImage>();
    const std::array<TestRoom, 3> rooms{};
    for (int kind : {kKindTR1, kKindTR1Gold, kKindTR2, kKindTR3}) {
        buildTestLevel(*image, kind, rooms);
        // Everything a level and a build can fill, at its capacity.
        image->floorData.count = kMaxFloorData;
        image->floorData.items.back() = 7;
        image->cinematicFrames.count = 65535;
        image->cinematicFrames.bytes.back() = 9;
        image->boxCount = 1;  // a build left boxes past a lowered count
        image->boxesLong.back().zMax = 5;
        image->room(3).tr3RoomExtra[2] = 1;
        lowerRoomCount(*image, 1);
        EXPECT_EQ(image->roomCount, 1);
        EXPECT_EQ(image->room(2).vertexCount, 0);  // the slots given up are clear at once
        resetLevelImage(*image);
        EXPECT_TRUE(isAllZero(*image)) << "kind " << kind;
    }
}

// An image read again and again (as a build's workspace is) must hold what a fresh image holds
// after the same read: a level of many rooms, then one of few; and a read that fails part way
// leaves it all zero.
TEST(LevelImageReset, ReadingFewRoomsAfterManyGivesWhatAFreshImageGets) {
    auto reused = std::make_unique<LevelImage>();
    auto fresh = std::make_unique<LevelImage>();
    const std::array<TestRoom, 7> manyRooms{};
    const std::array<TestRoom, 2> fewRooms{};
    for (const auto& [kind, path] : {std::pair{kKindTR1, "level.phd"}, std::pair{kKindTR1Gold, "level.tub"},
                                     std::pair{kKindTR2, "level.tr2"}, std::pair{kKindTR3, "level.tr2"}}) {
        buildTestLevel(*fresh, kind, manyRooms);
        const std::vector<std::uint8_t> many = serializeLevel(*fresh, kind);
        buildTestLevel(*fresh, kind, fewRooms);
        const std::vector<std::uint8_t> few = serializeLevel(*fresh, kind);
        // Cut short: the read fills the first rooms of the level and then fails.
        const std::vector<std::uint8_t> cut(many.begin(), many.begin() + static_cast<std::ptrdiff_t>(few.size()));

        ASSERT_EQ(parseLevel(many, *reused, path, "Many"), kReadOk);
        ASSERT_EQ(parseLevel(few, *reused, path, "Few"), kReadOk);
        fresh = std::make_unique<LevelImage>();
        ASSERT_EQ(parseLevel(few, *fresh, path, "Few"), kReadOk);
        EXPECT_EQ(std::memcmp(reused->rooms.data(), fresh->rooms.data(), sizeof(reused->rooms)), 0) << "kind " << kind;
        EXPECT_EQ(serializeLevel(*reused, kind), serializeLevel(*fresh, kind)) << "kind " << kind;

        ASSERT_EQ(parseLevel(many, *reused, path, "Many"), kReadOk);
        EXPECT_ANY_THROW(parseLevel(cut, *reused, path, "Cut"));
        EXPECT_TRUE(isAllZero(*reused)) << "kind " << kind;
    }
}

TEST(LevelImageReset, LowerRoomCountNeverRaisesIt) {
    auto image = std::make_unique<LevelImage>();
    const std::array<TestRoom, 2> rooms{};
    buildTestLevel(*image, kKindTR2, rooms);
    lowerRoomCount(*image, 5);
    lowerRoomCount(*image, -1);
    EXPECT_EQ(image->roomCount, 2);
    EXPECT_NE(image->room(2).vertexCount, 0);
}

}  // namespace
}  // namespace cw
