#include "fuzz_levels.h"

#include "builder/builder_test_support.h"
#include "common/binio.h"

namespace cw::fuzz {

std::unique_ptr<Project> sampleProject() { return test::makeSampleProject(); }

void makeSmallLevel(LevelImage& level, int kind) {
    resetLevelImage(level);
    level.gameKind = kind;
    level.version = kind == kKindTR2 ? kVersionTR2 : kind == kKindTR3 ? kVersionTR3b : kVersionTR1;
    level.roomCount = 3;
    for (int r = 1; r <= 3; ++r) {
        LevelRoom& room = level.room(r);
        room.roomInfo = {r * 4096, 0, 0, -1024, 0};
        room.vertexCount = 4;
        for (int v = 0; v < 4; ++v) {
            room.vertices[std::size_t(v)] = {std::int16_t(1024 * (v % 2)), 0, std::int16_t(1024 * (v / 2)), 0x1000};
            room.wideVertices[std::size_t(v)] = {std::int16_t(1024 * (v % 2)), 0, std::int16_t(1024 * (v / 2)), 0x1000, 16, 0x3DEF};
        }
        room.rectangleCount = 1;
        room.rectangles[0] = {{0, 1, 3, 2}, 1};
        room.grid.numZ = 4;
        room.grid.numX = 4;
        for (auto& g : room.grid.gameSectors)
            g = GameSector{.floorDataIndex = 0,
                           .boxIndex = 0xFFFF,
                           .roomBelow = kNoRoom,
                           .floor = 0,
                           .roomAbove = kNoRoom,
                           .ceiling = -4};
        room.alternateRoom = -1;
    }
    level.floorData.count = 300;
    level.itemCount = 1;
    level.itemsShort[0] =
        ItemShort{.type = 0, .room = 0, .x = 5120, .y = 0, .z = 1536, .angle = 0, .intensity = -1, .flags = 0};
    level.itemsLong[0] = ItemLong{
        .type = 0, .room = 0, .x = 5120, .y = 0, .z = 1536, .angle = 0, .intensity = -1, .intensity2 = 0, .flags = 0};
    level.boxCount = 1;
    level.zoneCount = 1;
    level.overlaps.count = 1;
    level.overlaps.items[0] = 0x8000;
}

std::vector<std::uint8_t> sampleItemsFile(bool longForm) {
    ByteWriter w;
    const std::uint8_t magic[8] = {7, 'V', 'E', 'L', 'L', 'O', 'R', 'N'};
    w.write(magic, sizeof magic);
    w.u32(2);  // items
    for (int i = 0; i < 2; ++i) {
        w.i16(std::int16_t(i));
        w.i16(std::int16_t(i));
        w.i32(1536);
        w.i32(0);
        w.i32(1536);
        w.i16(0);
        w.i16(-1);
        if (longForm) w.i16(-1);
        w.u16(0);
    }
    w.u16(4);  // floor data words
    for (std::uint16_t v : {0x0002, 0x0100, 0x8003, 0x0001}) w.u16(v);
    w.u32(1);  // cameras
    w.zeros(16);
    w.u16(2);  // rooms with lights and static meshes
    for (int r = 0; r < 2; ++r) {
        w.u16(1);
        w.zeros(longForm ? 24 : 18);
        w.u16(1);
        w.zeros(longForm ? 20 : 18);
    }
    for (std::uint16_t v : {1, 6, 0, 2, 7, 2}) w.u16(v);  // two sector assignments
    return w.take();
}

std::vector<std::uint8_t> sampleMeshFile(int kind) {
    ByteWriter w;
    const char* magic = "Vellorn MSH file";
    w.u8(16);
    w.write(magic, 16);
    w.u32(static_cast<std::uint32_t>(kind));
    w.u16(2);
    for (int r = 0; r < 2; ++r) {
        w.u16(4);
        for (int v = 0; v < 4; ++v) {
            w.i16(std::int16_t(1024 * (v % 2)));
            w.i16(-256);
            w.i16(std::int16_t(1024 * (v / 2)));
            w.i16(0x0800);
            if (isLongForm(kind)) {
                w.u16(16);
                w.u16(0x7FFF);
            }
        }
        w.u16(1);
        for (std::uint16_t v : {0, 1, 3, 2, 5}) w.u16(v);
        w.u16(1);
        for (std::uint16_t v : {0, 1, 2, 6}) w.u16(v);
    }
    return w.take();
}

}  // namespace cw::fuzz
