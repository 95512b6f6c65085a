#include "levelfile/level_test_support.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <random>

#include "levelfile/level_writer.h"

namespace fs = std::filesystem;

namespace cw::test {

std::unique_ptr<LevelImage> LevelImageTest::image_;

std::string realLevelPath(const std::string& name) {
    const fs::path path = fs::path(CW_TEST_LEVELS_DIR) / name;
    std::error_code ec;
    return fs::is_regular_file(path, ec) ? path.string() : std::string();
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t versionOfKind(int kind) {
    switch (kind) {
        case kKindTR1:
        case kKindTR1Gold:
            return kVersionTR1;
        case kKindTR2:
            return kVersionTR2;
        default:
            return kVersionTR3b;
    }
}

namespace {

// A running byte pattern that never repeats within a short span and is never all zero.
struct Pattern {
    std::uint32_t state = 12345;
    std::uint8_t next() {
        state = state * 1103515245u + 12345u;
        return static_cast<std::uint8_t>((state >> 16) | 1u);
    }
    void fill(void* dst, std::size_t n) {
        auto* bytes = static_cast<std::uint8_t*>(dst);
        for (std::size_t i = 0; i < n; ++i) bytes[i] = next();
    }
    std::int16_t i16() { return static_cast<std::int16_t>(next() | (next() << 8)); }
    std::int32_t i32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(i16()) << 16 | static_cast<std::uint16_t>(i16())); }
};

template <std::size_t E, std::size_t C>
void fillList(Pattern& p, OpaqueList<E, C>& list, std::uint32_t count) {
    list.count = count;
    p.fill(list.bytes.data(), std::size_t{count} * E);
}

template <std::size_t C>
void fillWords(Pattern& p, RecordList<std::uint16_t, C>& list, std::uint32_t count) {
    list.count = count;
    p.fill(list.items.data(), std::size_t{count} * 2);
}

void buildRoom(Pattern& p, LevelRoom& room, int kind, const TestRoom& shape) {
    const bool isLong = isLongForm(kind);
    room.vertexCount = static_cast<std::uint16_t>(shape.vertices);
    for (int i = 0; i < shape.vertices; ++i) {
        const ShortVertex v{.x = p.i16(), .y = p.i16(), .z = p.i16(), .light = p.i16()};
        room.vertices[i] = v;
        room.wideVertices[i] = isLong ? WideVertex{.x = v.x,
                                                   .y = v.y,
                                                   .z = v.z,
                                                   .light = v.light,
                                                   .attributes = static_cast<std::uint16_t>(p.i16()),
                                                   .light2 = static_cast<std::uint16_t>(p.i16())}
                                      : WideVertex{.x = v.x, .y = v.y, .z = v.z, .light = v.light, .attributes = 16,
                                                   .light2 = 0x3DEF};
    }
    room.rectangleCount = static_cast<std::uint16_t>(shape.rectangles);
    p.fill(room.rectangles.data(), room.rectangleCount * sizeof(RoomRectangle));
    room.triangleCount = static_cast<std::uint16_t>(shape.triangles);
    p.fill(room.triangles.data(), room.triangleCount * sizeof(RoomTriangle));
    room.spriteCount = static_cast<std::uint16_t>(shape.sprites);
    p.fill(room.sprites.data(), room.spriteCount * std::size_t{4});
    room.portalCount = static_cast<std::uint16_t>(shape.portals);
    p.fill(room.portals.data(), room.portalCount * sizeof(RoomPortal));
    room.grid.numZ = static_cast<std::uint16_t>(shape.numZ);
    room.grid.numX = static_cast<std::uint16_t>(shape.numX);
    p.fill(room.grid.gameSectors.data(), std::size_t(shape.numZ * shape.numX) * sizeof(GameSector));
    room.ambient = static_cast<std::uint16_t>(p.i16());
    if (isLong) room.ambient2 = p.i16();
    if (kind == kKindTR2) room.lightMode = p.i16();
    room.lightCount = static_cast<std::uint16_t>(shape.lights);
    p.fill(room.lights.data(), room.lightCount * std::size_t{isLong ? 24u : 18u});
    room.staticMeshCount = static_cast<std::uint16_t>(shape.staticMeshes);
    if (isLong) {
        p.fill(room.staticMeshesLong.data(), room.staticMeshCount * std::size_t{20});
    } else {
        p.fill(room.staticMeshesShort.data(), room.staticMeshCount * std::size_t{18});
    }
    room.alternateRoom = p.i16();
    room.roomFlags = static_cast<std::uint16_t>(p.i16());
    if (kind == kKindTR3) p.fill(room.tr3RoomExtra.data(), room.tr3RoomExtra.size());
    room.roomInfo = RoomInfo{p.i32(), p.i32(), p.i32(), p.i32(), roomDataWords(room, isLong)};
}

void buildItems(Pattern& p, LevelImage& image, int kind, std::uint32_t count) {
    image.itemCount = count;
    for (std::uint32_t i = 0; i < count; ++i) {
        const ItemLong l{.type = p.i16(),
                         .room = p.i16(),
                         .x = p.i32(),
                         .y = p.i32(),
                         .z = p.i32(),
                         .angle = p.i16(),
                         .intensity = p.i16(),
                         .intensity2 = isLongForm(kind) ? p.i16() : std::int16_t{0},
                         .flags = static_cast<std::uint16_t>(p.i16())};
        image.itemsLong[i] = l;
        image.itemsShort[i] = ItemShort{.type = l.type,
                                        .room = l.room,
                                        .x = l.x,
                                        .y = l.y,
                                        .z = l.z,
                                        .angle = l.angle,
                                        .intensity = l.intensity,
                                        .flags = l.flags};
    }
}

}  // namespace

void buildTestLevel(LevelImage& image, int kind, std::span<const TestRoom> rooms) {
    resetLevelImage(image);
    Pattern p;
    const bool isLong = isLongForm(kind);
    image.version = versionOfKind(kind);
    image.gameKind = kind;
    p.fill(image.palette.data(), image.palette.size());
    if (isLong) p.fill(image.palette16.data(), image.palette16.size());
    image.textileCount = 1;
    image.textileBytes = 65536;
    image.textiles8.resize(65536);
    p.fill(image.textiles8.data(), image.textiles8.size());
    if (isLong) {
        image.textiles16.resize(131072);
        p.fill(image.textiles16.data(), image.textiles16.size());
    }
    p.fill(image.reservedDword.data(), 4);
    image.roomCount = static_cast<std::uint16_t>(rooms.size());
    for (std::size_t i = 0; i < rooms.size(); ++i) buildRoom(p, image.rooms[i], kind, rooms[i]);

    fillWords(p, image.floorData, 5);
    fillWords(p, image.meshData, 7);
    fillList(p, image.meshPointers, 2);
    fillList(p, image.animations, 2);
    fillList(p, image.stateChanges, 3);
    fillList(p, image.animDispatches, 2);
    fillList(p, image.animCommands, 3);
    fillList(p, image.meshTree, 2);
    fillList(p, image.frames, 9);
    fillList(p, image.moveables, 2);
    fillList(p, image.staticMeshes, 2);
    fillList(p, image.objectTextures, 3);
    fillList(p, image.spriteTextures, 2);
    fillList(p, image.spriteSequences, 2);
    fillList(p, image.cameras, 1);
    fillList(p, image.soundSources, 2);
    image.boxCount = 3;
    image.zoneCount = 3;
    if (isLong) {
        p.fill(image.boxesShort.data(), 3 * sizeof(BoxShort));
        p.fill(image.zonesLong.data(), 3 * sizeof(LongZone));
    } else {
        p.fill(image.boxesLong.data(), 3 * sizeof(BoxLong));
        p.fill(image.zonesShort.data(), 3 * sizeof(ShortZone));
    }
    fillWords(p, image.overlaps, 4);
    fillList(p, image.animatedTextures, 3);
    buildItems(p, image, kind, 2);
    p.fill(image.lightMap.data(), image.lightMap.size());
    fillList(p, image.cinematicFrames, 2);
    fillList(p, image.demoData, 5);
    p.fill(image.soundMap.data(), isLong ? 740 : 512);
    fillList(p, image.soundDetails, 2);
    if (!isLong) {
        image.sampleBytes = 11;
        image.samples.resize(11);
        p.fill(image.samples.data(), 11);
    }
    fillList(p, image.sampleIndices, 2);
}

bool isAllZero(const LevelImage& image) {
    if (!image.textiles8.empty() || !image.textiles16.empty() || !image.samples.empty()) return false;
    // The record's bytes around its three block references, padding included.
    const auto* base = reinterpret_cast<const std::uint8_t*>(&image);
    const auto offset = [base](const void* member) {
        return static_cast<std::size_t>(static_cast<const std::uint8_t*>(member) - base);
    };
    const std::pair<std::size_t, std::size_t> ranges[] = {
        {0, offset(&image.textiles8)},
        {offset(&image.reservedDword), offset(&image.samples)},
        {offset(&image.sampleIndices), sizeof(LevelImage)},
    };
    static const std::vector<std::uint8_t> zeros(1 << 20, 0);
    for (const auto& [begin, end] : ranges) {
        for (std::size_t pos = begin; pos < end; pos += zeros.size()) {
            const std::size_t n = std::min(zeros.size(), end - pos);
            if (std::memcmp(base + pos, zeros.data(), n) != 0) return false;
        }
    }
    return true;
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    path_ = fs::temp_directory_path() /
            ("cw-level-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> TempDir::fileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void poke16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    std::memcpy(bytes.data() + offset, &value, 2);
}

void poke32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

std::uint32_t peek32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

}  // namespace cw::test
