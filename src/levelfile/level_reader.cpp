#include "levelfile/level_reader.h"

#include <filesystem>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_records.h"

namespace cw {

namespace {

// The state of one read: the bytes, the image, the kind told by version and name, and the
// optional chunk map.
struct Reading {
    ByteReader& in;
    LevelImage& image;
    int kind;
    std::vector<LevelChunk>* chunks;

    bool isLong() const { return isLongForm(kind); }

    void mark(std::string_view name) const {
        if (chunks != nullptr) chunks->push_back({std::string(name), in.position()});
    }
    void markRoom(int room, std::string_view name) const {
        if (chunks != nullptr) {
            chunks->push_back({"room " + std::to_string(room) + " " + std::string(name), in.position()});
        }
    }
    // Refuses a count of a room's list above its capacity, then makes sure its bytes are there.
    void requireRoomCount(std::uint64_t count, std::size_t capacity, int room, std::string_view list,
                          std::size_t elementSize) const {
        if (count > capacity) {
            in.requireCount(count, capacity, std::string(list) + " in room " + std::to_string(room),
                            elementSize);
        }
        in.need(static_cast<std::size_t>(count * elementSize));
    }
};

// A list with a u32 count (or a u16 count) and count elements of ElementBytes bytes each.
template <std::size_t E, std::size_t C>
void readOpaqueList32(Reading& r, OpaqueList<E, C>& list, std::string_view name) {
    r.mark(name);
    const std::uint32_t count = r.in.u32();
    r.in.requireCount(count, C, name, E);
    list.count = count;
    r.in.read(list.bytes.data(), std::size_t{count} * E);
}

template <std::size_t E, std::size_t C>
void readOpaqueList16(Reading& r, OpaqueList<E, C>& list, std::string_view name) {
    r.mark(name);
    const std::uint16_t count = r.in.u16();
    r.in.requireCount(count, C, name, E);
    list.count = count;
    r.in.read(list.bytes.data(), std::size_t{count} * E);
}

template <std::size_t C>
void readWordList32(Reading& r, RecordList<std::uint16_t, C>& list, std::string_view name) {
    r.mark(name);
    const std::uint32_t count = r.in.u32();
    r.in.requireCount(count, C, name, 2);
    list.count = count;
    r.in.read(list.items.data(), std::size_t{count} * 2);
}

// ---- header and textures ----

void readLongPalettes(Reading& r) {
    if (!r.isLong()) return;
    r.mark("palette");
    r.in.read(r.image.palette.data(), r.image.palette.size());
    r.mark("16-bit palette");
    r.in.read(r.image.palette16.data(), r.image.palette16.size());
}

void readTexturePages(Reading& r) {
    r.mark("texture pages");
    const std::uint32_t count = r.in.u32();
    // textileBytes is a u32, so at most 65535 pages; the pages must all be there before any
    // block is allocated for them.
    r.in.requireCount(count, 65535, "texture pages", r.isLong() ? 65536 + 131072 : 65536);
    r.image.textileCount = count;
    r.image.textileBytes = count * 65536u;
    r.image.textiles8.resize(std::size_t{count} * 65536);
    r.in.read(r.image.textiles8.data(), r.image.textiles8.size());
    if (r.isLong()) {
        r.image.textiles16.resize(std::size_t{count} * 131072);
        r.in.read(r.image.textiles16.data(), r.image.textiles16.size());
    }
}

void readReservedDword(Reading& r) {
    r.mark("reserved dword");
    r.in.read(r.image.reservedDword.data(), r.image.reservedDword.size());
}

// ---- rooms ----

void readRoomInfo(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "info");
    RoomInfo& info = room.roomInfo;
    info.x = r.in.i32();
    info.z = r.in.i32();
    info.yBottom = r.in.i32();
    info.yTop = r.in.i32();
    info.dataWords = r.in.u32();
}

void readRoomVertices(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "vertices");
    const std::uint16_t count = r.in.u16();
    r.requireRoomCount(count, kMaxRoomVertices, number, "vertices", r.isLong() ? 12 : 8);
    room.vertexCount = count;
    if (r.isLong()) {
        r.in.read(room.wideVertices.data(), count * sizeof(WideVertex));
        for (std::size_t i = 0; i < count; ++i) {
            const WideVertex& w = room.wideVertices[i];
            room.vertices[i] = ShortVertex{w.x, w.y, w.z, w.light};
        }
    } else {
        r.in.read(room.vertices.data(), count * sizeof(ShortVertex));
        for (std::size_t i = 0; i < count; ++i) {
            const ShortVertex& v = room.vertices[i];
            room.wideVertices[i] = WideVertex{v.x, v.y, v.z, v.light, 16, 0x3DEF};
        }
    }
}

void readRoomRectangles(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "rectangles");
    const std::uint16_t count = r.in.u16();
    r.requireRoomCount(count, kMaxRoomRectangles, number, "rectangles", sizeof(RoomRectangle));
    room.rectangleCount = count;
    r.in.read(room.rectangles.data(), count * sizeof(RoomRectangle));
}

void readRoomTriangles(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "triangles");
    const std::uint16_t count = r.in.u16();
    r.requireRoomCount(count, kMaxRoomTriangles, number, "triangles", sizeof(RoomTriangle));
    room.triangleCount = count;
    r.in.read(room.triangles.data(), count * sizeof(RoomTriangle));
}

void readRoomSprites(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "sprites");
    const std::uint16_t count = r.in.u16();
    r.requireRoomCount(count, kMaxRoomSprites, number, "sprites", 4);
    room.spriteCount = count;
    r.in.read(room.sprites.data(), std::size_t{count} * 4);
}

void readRoomPortals(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "portals");
    const std::uint16_t count = r.in.u16();
    r.requireRoomCount(count, kMaxRoomPortals, number, "portals", sizeof(RoomPortal));
    room.portalCount = count;
    r.in.read(room.portals.data(), count * sizeof(RoomPortal));
}

void readRoomSectors(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "sectors");
    const std::uint16_t numZ = r.in.u16();
    const std::uint16_t numX = r.in.u16();
    const std::uint32_t count = std::uint32_t{numZ} * numX;
    r.requireRoomCount(count, kMaxSectors, number, "sectors", sizeof(GameSector));
    room.grid.numZ = numZ;
    room.grid.numX = numX;
    r.in.read(room.grid.gameSectors.data(), count * sizeof(GameSector));
}

void readRoomAmbient(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "ambient");
    room.ambient = r.in.u16();
    if (r.isLong()) room.ambient2 = r.in.i16();
    if (r.kind == kKindTR2) room.lightMode = r.in.i16();
}

void readRoomLights(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "lights");
    const std::uint16_t count = r.in.u16();
    const std::size_t size = r.isLong() ? 24 : 18;
    r.requireRoomCount(count, r.isLong() ? kMaxRoomLightsLong : kMaxRoomLightsShort, number, "lights", size);
    room.lightCount = count;
    r.in.read(room.lights.data(), count * size);
}

void readRoomStaticMeshes(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "static meshes");
    const std::uint16_t count = r.in.u16();
    const std::size_t size = r.isLong() ? 20 : 18;
    r.requireRoomCount(count, kMaxRoomStaticMeshes, number, "static meshes", size);
    room.staticMeshCount = count;
    r.in.read(r.isLong() ? room.staticMeshesLong.data() : room.staticMeshesShort.data(), count * size);
}

void readRoomTail(Reading& r, LevelRoom& room, int number) {
    r.markRoom(number, "flags");
    room.alternateRoom = r.in.i16();
    room.roomFlags = r.in.u16();
    if (r.kind == kKindTR3) r.in.read(room.tr3RoomExtra.data(), room.tr3RoomExtra.size());
}

void readRooms(Reading& r) {
    r.mark("rooms");
    const std::uint16_t count = r.in.u16();
    r.in.requireCount(count, kMaxLevelRooms, "rooms", 0);
    r.image.roomCount = count;
    for (int number = 1; number <= count; ++number) {
        LevelRoom& room = r.image.room(number);
        readRoomInfo(r, room, number);
        readRoomVertices(r, room, number);
        readRoomRectangles(r, room, number);
        readRoomTriangles(r, room, number);
        readRoomSprites(r, room, number);
        readRoomPortals(r, room, number);
        readRoomSectors(r, room, number);
        readRoomAmbient(r, room, number);
        readRoomLights(r, room, number);
        readRoomStaticMeshes(r, room, number);
        readRoomTail(r, room, number);
    }
}

// ---- level-wide chunks ----

void readFloorData(Reading& r) { readWordList32(r, r.image.floorData, "floor data words"); }
void readMeshData(Reading& r) { readWordList32(r, r.image.meshData, "mesh data words"); }
void readMeshPointers(Reading& r) { readOpaqueList32(r, r.image.meshPointers, "mesh pointers"); }
void readAnimations(Reading& r) { readOpaqueList32(r, r.image.animations, "animations"); }
void readStateChanges(Reading& r) { readOpaqueList32(r, r.image.stateChanges, "state changes"); }
void readAnimDispatches(Reading& r) { readOpaqueList32(r, r.image.animDispatches, "animation dispatches"); }
void readAnimCommands(Reading& r) { readOpaqueList32(r, r.image.animCommands, "animation command words"); }
void readMeshTree(Reading& r) { readOpaqueList32(r, r.image.meshTree, "mesh hierarchy entries"); }
void readFrames(Reading& r) { readOpaqueList32(r, r.image.frames, "frame words"); }
void readMoveables(Reading& r) { readOpaqueList32(r, r.image.moveables, "moveables"); }
void readStaticMeshes(Reading& r) { readOpaqueList32(r, r.image.staticMeshes, "static meshes"); }
void readObjectTextures(Reading& r) { readOpaqueList32(r, r.image.objectTextures, "object textures"); }
void readSpriteTextures(Reading& r) { readOpaqueList32(r, r.image.spriteTextures, "sprite textures"); }
void readSpriteSequences(Reading& r) { readOpaqueList32(r, r.image.spriteSequences, "sprite sequences"); }

void readPalette(Reading& r) {
    r.mark("palette");
    r.in.read(r.image.palette.data(), r.image.palette.size());
}

void readCameras(Reading& r) { readOpaqueList32(r, r.image.cameras, "cameras"); }
void readSoundSources(Reading& r) { readOpaqueList32(r, r.image.soundSources, "sound sources"); }

void readBoxes(Reading& r) {
    r.mark("boxes");
    const std::uint32_t count = r.in.u32();
    r.in.requireCount(count, kMaxBoxes, "boxes", r.isLong() ? sizeof(BoxShort) : sizeof(BoxLong));
    r.image.boxCount = count;
    if (r.isLong()) {
        r.in.read(r.image.boxesShort.data(), count * sizeof(BoxShort));
    } else {
        r.in.read(r.image.boxesLong.data(), count * sizeof(BoxLong));
    }
}

void readOverlaps(Reading& r) { readWordList32(r, r.image.overlaps, "overlaps"); }

void readZones(Reading& r) {
    // One zone per box, with no count of its own (the box count was checked above).
    r.mark("zones");
    r.image.zoneCount = r.image.boxCount;
    if (r.isLong()) {
        r.in.read(r.image.zonesLong.data(), r.image.zoneCount * sizeof(LongZone));
    } else {
        r.in.read(r.image.zonesShort.data(), r.image.zoneCount * sizeof(ShortZone));
    }
}

void readAnimatedTextures(Reading& r) {
    readOpaqueList32(r, r.image.animatedTextures, "animated texture words");
}

void readItems(Reading& r) {
    r.mark("items");
    const std::uint32_t count = r.in.u32();
    r.in.requireCount(count, kMaxItems, "items", r.isLong() ? sizeof(ItemLong) : kItemShortFileBytes);
    r.image.itemCount = count;
    if (r.isLong()) {
        r.in.read(r.image.itemsLong.data(), count * sizeof(ItemLong));
        for (std::size_t i = 0; i < count; ++i) {
            const ItemLong& l = r.image.itemsLong[i];
            r.image.itemsShort[i] = toShortItem(l);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            const ItemShort s = readItemShort(r.in);
            r.image.itemsShort[i] = s;
            r.image.itemsLong[i] = toLongItem(s, 0);
        }
    }
}

void readLightMap(Reading& r) {
    r.mark("light map");
    r.in.read(r.image.lightMap.data(), r.image.lightMap.size());
}

void readCinematicFrames(Reading& r) { readOpaqueList16(r, r.image.cinematicFrames, "cinematic frames"); }
void readDemoData(Reading& r) { readOpaqueList16(r, r.image.demoData, "demo data bytes"); }

void readSoundMap(Reading& r) {
    r.mark("sound map");
    r.in.read(r.image.soundMap.data(), r.isLong() ? 740 : 512);
}

void readSoundDetails(Reading& r) { readOpaqueList32(r, r.image.soundDetails, "sound details"); }

void readSamples(Reading& r) {
    r.mark("sound samples");
    const std::uint32_t size = r.in.u32();
    r.in.need(size);
    r.image.sampleBytes = size;
    r.image.samples.resize(size);
    r.in.read(r.image.samples.data(), size);
}

void readSampleIndices(Reading& r) { readOpaqueList32(r, r.image.sampleIndices, "sample indices"); }

// Everything after the version word, in file order.
void readChunks(Reading& r) {
    const int kind = r.kind;
    readLongPalettes(r);
    readTexturePages(r);
    readReservedDword(r);
    readRooms(r);
    readFloorData(r);
    readMeshData(r);
    readMeshPointers(r);
    readAnimations(r);
    readStateChanges(r);
    readAnimDispatches(r);
    readAnimCommands(r);
    readMeshTree(r);
    readFrames(r);
    readMoveables(r);
    readStaticMeshes(r);
    if (kind != kKindTR3) readObjectTextures(r);
    readSpriteTextures(r);
    readSpriteSequences(r);
    if (kind == kKindTR1Gold) readPalette(r);
    readCameras(r);
    readSoundSources(r);
    readBoxes(r);
    readOverlaps(r);
    readZones(r);
    readAnimatedTextures(r);
    if (kind == kKindTR3) readObjectTextures(r);
    readItems(r);
    readLightMap(r);
    if (kind == kKindTR1) readPalette(r);
    readCinematicFrames(r);
    readDemoData(r);
    readSoundMap(r);
    readSoundDetails(r);
    if (!r.isLong()) readSamples(r);
    readSampleIndices(r);
    r.mark("end of level");  // bytes after it, if any, are not read
}

std::uint8_t parse(ByteReader& in, LevelImage& image, std::string_view pathForKind, std::vector<LevelChunk>* chunks) {
    resetLevelImage(image);
    try {
        Reading r{in, image, kKindNone, chunks};
        r.mark("version");
        const std::uint32_t version = in.u32();
        const int kind = gameKind(version, pathForKind);
        if (kind == kKindNone) return kReadUnknownVersion;  // the image is still all zero
        image.version = version;
        image.gameKind = kind;
        r.kind = kind;
        readChunks(r);
        return kReadOk;
    } catch (...) {
        resetLevelImage(image);
        throw;
    }
}

}  // namespace

std::uint8_t parseLevel(std::span<const std::uint8_t> bytes, LevelImage& image, std::string_view pathForKind,
                        const std::string& what) {
    ByteReader in(bytes, what);
    return parse(in, image, pathForKind, nullptr);
}

std::uint8_t parseLevel(std::span<const std::uint8_t> bytes, LevelImage& image, std::string_view pathForKind,
                        const std::string& what, std::vector<LevelChunk>& chunks) {
    chunks.clear();
    ByteReader in(bytes, what);
    return parse(in, image, pathForKind, &chunks);
}

std::uint8_t readBaseLevel(LevelImage& image, const std::string& path) {
    // parse zero-fills the image first; the paths that never reach it do so here.
    const auto file = pathFromBytes(path);
    if (!fileExists(file)) {
        resetLevelImage(image);
        return kReadNoFile;
    }
    // The file is read as it is parsed, each block straight into its place in the image.
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    const FileHandle f = ec ? FileHandle() : openFile(file, "rb");
    if (!f) {
        resetLevelImage(image);
        throw IoError("Cannot open \"" + pathText(file) + "\"" + (ec ? ": " + ec.message() : std::string()));
    }
    ByteReader in(f.get(), static_cast<std::size_t>(size), "Base level \"" + pathText(file) + "\"");
    return parse(in, image, path, nullptr);
}

}  // namespace cw
