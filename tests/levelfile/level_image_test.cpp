#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "level_test_support.h"
#include "levelfile/level_image.h"

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
