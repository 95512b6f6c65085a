// The items settings file and the light/texture settings file.
#include "builder/side_files.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/binio.h"
#include "common/errors.h"

namespace cw {
namespace {

std::unique_ptr<LevelImage> makeLevel(int kind, int rooms = 3, std::uint32_t floorWords = 300) {
    auto image = std::make_unique<LevelImage>();
    image->gameKind = kind;
    image->roomCount = static_cast<std::uint16_t>(rooms);
    for (int r = 1; r <= rooms; ++r) {
        image->room(r).grid.numZ = 4;
        image->room(r).grid.numX = 5;
    }
    image->floorData.count = floorWords;
    image->itemCount = 1;
    image->itemsShort[0].type = 99;
    image->itemsLong[0].type = 99;
    return image;
}

// An items settings file, written field by field; the parts can be changed per test.
struct ItemsFile {
    std::vector<std::uint8_t> magic = {7, 'V', 'E', 'L', 'L', 'O', 'R', 'N'};
    bool longForm = false;
    std::uint32_t itemCount = 1;
    std::uint16_t words = 0;
    std::uint32_t cameras = 0;
    struct Room {
        std::uint16_t lights = 0, meshes = 0;
    };
    std::vector<Room> rooms;
    std::vector<std::array<std::uint16_t, 3>> assignments;
    std::size_t trailing = 0;  // extra bytes at the end
    std::size_t cut = 0;       // bytes cut off the end

    std::vector<std::uint8_t> bytes() const {
        ByteWriter w;
        w.write(magic.data(), magic.size());
        w.u32(itemCount);
        for (std::uint32_t i = 0; i < itemCount; ++i) {
            w.i16(static_cast<std::int16_t>(10 + i));  // type
            w.i16(1);                                  // room
            w.i32(1000);
            w.i32(-256);
            w.i32(2000);
            w.i16(0x4000);
            w.i16(-1);
            if (longForm) w.i16(-1);
            w.u16(0x3E00);
        }
        w.u16(words);
        for (std::uint16_t i = 0; i < words; ++i) w.u16(static_cast<std::uint16_t>(0xA000 + i));
        w.u32(cameras);
        w.zeros(cameras * 16);
        w.u16(static_cast<std::uint16_t>(rooms.size()));
        for (const Room& r : rooms) {
            w.u16(r.lights);
            for (std::uint16_t i = 0; i < r.lights * (longForm ? 24 : 18); ++i) w.u8(0x5A);
            w.u16(r.meshes);
            for (std::uint16_t i = 0; i < r.meshes * (longForm ? 20 : 18); ++i) w.u8(0x6B);
        }
        for (const auto& a : assignments)
            for (std::uint16_t v : a) w.u16(v);
        w.zeros(trailing);
        auto out = w.take();
        out.resize(out.size() - cut);
        return out;
    }
};

TEST(ItemsFile, ReadsItemsFloorDataCamerasRoomsAndAssignments) {
    for (int kind : {kKindTR1, kKindTR2, kKindTR3}) {
        auto image = makeLevel(kind);
        ItemsFile f;
        f.longForm = isLongForm(kind);
        f.itemCount = 2;
        f.words = 10;
        f.cameras = 2;
        f.rooms = {{1, 0}, {2, 3}};
        f.assignments = {{2, 5, 3}, {1, 1, 0}, {2, 5, 4}};  // a later assignment wins
        ASSERT_EQ(readItemsBytes(*image, f.bytes()), kItemsRead) << kind;
        ASSERT_EQ(image->itemCount, 2u);
        if (f.longForm) {
            EXPECT_EQ(image->itemsLong[1].type, 11);
            EXPECT_EQ(image->itemsLong[1].flags, 0x3E00);
            EXPECT_EQ(image->itemsLong[1].intensity2, -1);
        } else {
            EXPECT_EQ(image->itemsShort[1].type, 11);
            EXPECT_EQ(image->itemsShort[1].z, 2000);
            EXPECT_EQ(image->itemsShort[1].flags, 0x3E00);
        }
        EXPECT_EQ(image->floorData.count, 310u);
        EXPECT_EQ(image->floorData.items[300], 0xA000);
        EXPECT_EQ(image->floorData.items[309], 0xA009);
        EXPECT_EQ(image->room(2).grid.gameSectors[4].floorDataIndex, 304);
        EXPECT_EQ(image->room(1).grid.gameSectors[0].floorDataIndex, 300);
        EXPECT_EQ(image->cameras.count, 2u);
        EXPECT_EQ(image->room(1).lightCount, 1);
        EXPECT_EQ(image->room(2).lightCount, 2);
        EXPECT_EQ(image->room(2).lights[0], 0x5A);
        EXPECT_EQ(image->room(2).staticMeshCount, 3);
        EXPECT_EQ(f.longForm ? image->room(2).staticMeshesLong[0] : image->room(2).staticMeshesShort[0], 0x6B);
    }
}

TEST(ItemsFile, AssignmentOffsetsCountFromTheFilesFirstWord) {
    auto image = makeLevel(kKindTR1);
    ItemsFile f;
    f.words = 10;
    f.assignments = {{2, 5, 3}};
    ASSERT_EQ(readItemsBytes(*image, f.bytes()), kItemsRead);
    EXPECT_EQ(image->floorData.count, 310u);
    EXPECT_EQ(image->room(2).grid.gameSectors[4].floorDataIndex, 303);
}

TEST(ItemsFile, ZeroItemsLeaveTheLevelWithoutItems) {
    auto image = makeLevel(kKindTR2);
    ItemsFile f;
    f.longForm = true;
    f.itemCount = 0;
    ASSERT_EQ(readItemsBytes(*image, f.bytes()), kItemsRead);
    EXPECT_EQ(image->itemCount, 0u);
}

TEST(ItemsFile, MagicIsComparedWithItsLengthByte) {
    auto image = makeLevel(kKindTR1);
    ItemsFile f;
    f.magic[0] = 6;
    EXPECT_EQ(readItemsBytes(*image, f.bytes()), kItemsBadMagic);
    f.magic = {7, 'V', 'E', 'L', 'L', 'O', 'R', 'X'};
    EXPECT_EQ(readItemsBytes(*image, f.bytes()), kItemsBadMagic);
    EXPECT_EQ(image->itemCount, 1u);
    EXPECT_EQ(image->itemsShort[0].type, 99);
    EXPECT_EQ(readItemsFile(*image, "/nonexistent/items.dat"), kItemsNoFile);
}

TEST(ItemsFile, RefusesWhatLiesOutsideTheLevelOrTheCapacities) {
    struct Case {
        const char* name;
        int kind;
        std::function<void(ItemsFile&)> change;
        bool ioError;  // otherwise a format refusal
    };
    const Case cases[] = {
        {"301 items", kKindTR1, [](ItemsFile& f) { f.itemCount = 301; }, false},
        {"items past the end", kKindTR1, [](ItemsFile& f) { f.itemCount = 3; f.cut = 60; }, true},
        {"floor data past 18001 words", kKindTR1, [](ItemsFile& f) { f.words = 17702; }, false},
        {"16 cameras", kKindTR1, [](ItemsFile& f) { f.cameras = 16; }, false},
        {"more rooms than the level", kKindTR1, [](ItemsFile& f) { f.rooms.resize(4); }, false},
        {"36 short lights", kKindTR1, [](ItemsFile& f) { f.rooms = {{36, 0}}; }, false},
        {"16 long lights", kKindTR3, [](ItemsFile& f) { f.longForm = true; f.rooms = {{16, 0}}; }, false},
        {"51 static meshes", kKindTR2, [](ItemsFile& f) { f.longForm = true; f.rooms = {{0, 51}}; }, false},
        {"assignment to room 0", kKindTR1, [](ItemsFile& f) { f.words = 1; f.assignments = {{0, 1, 0}}; }, false},
        {"assignment to room 4", kKindTR1, [](ItemsFile& f) { f.words = 1; f.assignments = {{4, 1, 0}}; }, false},
        {"assignment to sector 0", kKindTR1, [](ItemsFile& f) { f.words = 1; f.assignments = {{1, 0, 0}}; }, false},
        {"assignment to sector 21", kKindTR1, [](ItemsFile& f) { f.words = 1; f.assignments = {{1, 21, 0}}; }, false},
        {"offset past the floor data", kKindTR1, [](ItemsFile& f) { f.words = 2; f.assignments = {{1, 1, 2}}; }, false},
        // 300 + 65300 is word 64 in 16 bits, but far past the floor data.
        {"offset that wraps at 16 bits", kKindTR1, [](ItemsFile& f) { f.words = 2; f.assignments = {{1, 1, 65300}}; }, false},
        {"a broken assignment", kKindTR1, [](ItemsFile& f) { f.words = 1; f.assignments = {{1, 1, 0}}; f.trailing = 4; }, true},
        {"cut inside the magic", kKindTR1, [](ItemsFile& f) { f.itemCount = 0; f.cut = 16; }, true},
    };
    for (const Case& k : cases) {
        auto image = makeLevel(k.kind);
        ItemsFile f;
        f.longForm = isLongForm(k.kind);
        k.change(f);
        const auto bytes = f.bytes();
        if (k.ioError) {
            EXPECT_THROW(readItemsBytes(*image, bytes), IoError) << k.name;
        } else {
            EXPECT_THROW(readItemsBytes(*image, bytes), FormatError) << k.name;
        }
        // Nothing of a refused file reaches the level.
        EXPECT_EQ(image->itemCount, 1u) << k.name;
        EXPECT_EQ(image->floorData.count, 300u) << k.name;
        EXPECT_EQ(image->room(1).lightCount, 0) << k.name;
        EXPECT_EQ(image->room(1).grid.gameSectors[0].floorDataIndex, 0) << k.name;
    }
}

// --- Light/texture settings file ------------------------------------------------------------

struct MeshFile {
    std::vector<std::uint8_t> magic = {16, 'V', 'e', 'l', 'l', 'o', 'r', 'n', ' ', 'M', 'S', 'H', ' ', 'f', 'i', 'l', 'e'};
    std::uint32_t kind = kKindTR1;
    struct Room {
        std::uint16_t vertices = 3, rectangles = 1, triangles = 1;
        std::uint16_t faceVertex = 2;  // the highest vertex number a face names
    };
    std::vector<Room> rooms;

    std::vector<std::uint8_t> bytes() const {
        const bool longForm = isLongForm(static_cast<int>(kind & 0xFF));
        ByteWriter w;
        w.write(magic.data(), magic.size());
        w.u32(kind);
        w.u16(static_cast<std::uint16_t>(rooms.size()));
        for (std::size_t r = 0; r < rooms.size(); ++r) {
            const Room& room = rooms[r];
            w.u16(room.vertices);
            for (std::uint16_t v = 0; v < room.vertices; ++v) {
                w.i16(static_cast<std::int16_t>(100 * (r + 1) + v));
                w.i16(-5);
                w.i16(7);
                w.i16(0x1000);
                if (longForm) {
                    w.u16(0x10);
                    w.u16(0x7FFF);
                }
            }
            w.u16(room.rectangles);
            for (std::uint16_t i = 0; i < room.rectangles; ++i) {
                w.u16(0), w.u16(1), w.u16(room.faceVertex), w.u16(0), w.u16(44);
            }
            w.u16(room.triangles);
            for (std::uint16_t i = 0; i < room.triangles; ++i) {
                w.u16(0), w.u16(1), w.u16(2), w.u16(55);
            }
        }
        return w.take();
    }
};

TEST(MeshFile, ReplacesTheFirstRoomsAndIgnoresTheRest) {
    for (int kind : {kKindTR1, kKindTR2, kKindTR3}) {
        auto image = makeLevel(kind);
        image->room(1).vertexCount = 9;
        MeshFile f;
        f.kind = static_cast<std::uint32_t>(kind);
        f.rooms.resize(5);
        auto bytes = f.bytes();
        bytes.resize(bytes.size() - 10);  // the fifth room is not read at all
        ASSERT_EQ(readRoomMeshBytes(*image, bytes), kMeshesRead);
        for (int r = 1; r <= 3; ++r) {
            const LevelRoom& room = image->room(r);
            EXPECT_EQ(room.vertexCount, 3);
            const std::int16_t x = isLongForm(kind) ? room.wideVertices[2].x : room.vertices[2].x;
            EXPECT_EQ(x, 100 * r + 2);
            EXPECT_EQ(room.rectangleCount, 1);
            EXPECT_EQ(room.rectangles[0].texture, 44);
            EXPECT_EQ(room.triangleCount, 1);
            EXPECT_EQ(room.triangles[0].texture, 55);
        }
        if (isLongForm(kind)) {
            EXPECT_EQ(image->room(1).wideVertices[0].light2, 0x7FFF);
        }
        EXPECT_EQ(image->room(4).vertexCount, 0);
    }
}

TEST(MeshFile, WrongGameOrMagicChangesNothing) {
    auto image = makeLevel(kKindTR3);
    MeshFile f;
    f.kind = kKindTR2 | 0x4400;  // only the low byte is compared
    f.rooms.resize(1);
    EXPECT_EQ(readRoomMeshBytes(*image, f.bytes()), kMeshesWrongGame);
    f.kind = kKindTR3 | 0x4400;
    f.magic[16] = 'E';
    EXPECT_EQ(readRoomMeshBytes(*image, f.bytes()), kMeshesBadMagic);
    EXPECT_EQ(image->room(1).vertexCount, 0);
    f.magic[16] = 'e';
    EXPECT_EQ(readRoomMeshBytes(*image, f.bytes()), kMeshesRead);
    EXPECT_EQ(image->room(1).vertexCount, 3);
    EXPECT_THROW(readRoomMeshFile(*image, "/nonexistent/meshes.msh"), IoError);
}

TEST(MeshFile, RefusesCountsPastCapacitiesFacesWithoutVerticesAndShortFiles) {
    struct Case {
        const char* name;
        MeshFile::Room room;
    };
    const Case cases[] = {
        {"2001 vertices", {2001, 0, 0, 0}},
        {"3001 rectangles", {3, 3001, 0, 2}},
        {"1251 triangles", {3, 0, 1251, 2}},
        {"a face naming vertex 3 of 3", {3, 1, 0, 3}},
    };
    for (const Case& k : cases) {
        auto image = makeLevel(kKindTR1);
        MeshFile f;
        f.rooms = {MeshFile::Room{}, k.room};
        EXPECT_THROW(readRoomMeshBytes(*image, f.bytes()), FormatError) << k.name;
        EXPECT_EQ(image->room(1).vertexCount, 0) << k.name;  // the first room is not taken either
    }
    auto image = makeLevel(kKindTR1);
    MeshFile f;
    f.rooms.resize(2);
    auto bytes = f.bytes();
    bytes.pop_back();
    EXPECT_THROW(readRoomMeshBytes(*image, bytes), IoError);
    EXPECT_EQ(image->room(1).vertexCount, 0);
}

}  // namespace
}  // namespace cw
