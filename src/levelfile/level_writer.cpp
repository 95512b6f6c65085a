#include "levelfile/level_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_records.h"

namespace cw {

namespace {

// The state of one write: the sink, the image and the output kind.
struct Writing {
    ByteWriter& out;
    LevelImage& image;
    int kind;

    bool isLong() const { return isLongForm(kind); }
};

[[noreturn]] void failCapacity(std::uint64_t count, std::uint64_t capacity, std::string_view list) {
    throw FormatError("Level has " + std::to_string(count) + " " + std::string(list) + "; at most " +
                      std::to_string(capacity) + " are supported");
}

void requireCapacity(std::uint64_t count, std::uint64_t capacity, std::string_view list) {
    if (count > capacity) failCapacity(count, capacity, list);
}

void requireRoomCapacity(std::uint64_t count, std::uint64_t capacity, int room, std::string_view list) {
    if (count > capacity) failCapacity(count, capacity, std::string(list) + " in room " + std::to_string(room));
}

template <std::size_t E, std::size_t C>
void writeOpaqueList32(Writing& w, const OpaqueList<E, C>& list) {
    w.out.u32(list.count);
    w.out.write(list.bytes.data(), std::size_t{list.count} * E);
}

template <std::size_t E, std::size_t C>
void writeOpaqueList16(Writing& w, const OpaqueList<E, C>& list) {
    w.out.u16(static_cast<std::uint16_t>(list.count));
    w.out.write(list.bytes.data(), std::size_t{list.count} * E);
}

template <std::size_t C>
void writeWordList32(Writing& w, const RecordList<std::uint16_t, C>& list) {
    w.out.u32(list.count);
    w.out.write(list.items.data(), std::size_t{list.count} * 2);
}

// ---- checks: every count against its capacity, every block against its size, before anything
// is written ----

template <std::size_t E, std::size_t C>
void checkList(const OpaqueList<E, C>& list, std::string_view name) {
    requireCapacity(list.count, C, name);
}

// A list whose count is a u16 in the file.
template <std::size_t E, std::size_t C>
void checkList16(const OpaqueList<E, C>& list, std::string_view name) {
    requireCapacity(list.count, std::min<std::size_t>(C, 0xFFFF), name);
}

template <std::size_t C>
void checkList(const RecordList<std::uint16_t, C>& list, std::string_view name) {
    requireCapacity(list.count, C, name);
}

void checkBlocks(const LevelImage& image, bool isLong) {
    const std::uint64_t bytes8 = std::uint64_t{image.textileCount} * 65536;
    const std::uint64_t bytes16 = std::uint64_t{image.textileCount} * 131072;
    if (image.textileBytes != bytes8 || image.textiles8.size() < bytes8 || (isLong && image.textiles16.size() < bytes16)) {
        throw FormatError("Level has " + std::to_string(image.textileCount) + " texture pages but holds " +
                          std::to_string(image.textiles8.size()) + " bytes of 8-bit pages and " +
                          std::to_string(image.textiles16.size()) + " bytes of 16-bit pages");
    }
    if (!isLong && image.samples.size() < image.sampleBytes) {
        throw FormatError("Level has " + std::to_string(image.sampleBytes) + " bytes of sound samples but holds only " +
                          std::to_string(image.samples.size()));
    }
}

void checkRoom(const LevelRoom& room, int number, bool isLong) {
    requireRoomCapacity(room.vertexCount, kMaxRoomVertices, number, "vertices");
    requireRoomCapacity(room.rectangleCount, kMaxRoomRectangles, number, "rectangles");
    requireRoomCapacity(room.triangleCount, kMaxRoomTriangles, number, "triangles");
    requireRoomCapacity(room.spriteCount, kMaxRoomSprites, number, "sprites");
    requireRoomCapacity(room.portalCount, kMaxRoomPortals, number, "portals");
    requireRoomCapacity(std::uint32_t{room.grid.numZ} * room.grid.numX, kMaxSectors, number, "sectors");
    requireRoomCapacity(room.lightCount, isLong ? kMaxRoomLightsLong : kMaxRoomLightsShort, number, "lights");
    requireRoomCapacity(room.staticMeshCount, kMaxRoomStaticMeshes, number, "static meshes");
}

void checkLevel(const LevelImage& image, int kind) {
    const bool isLong = isLongForm(kind);
    checkBlocks(image, isLong);
    requireCapacity(image.roomCount, kMaxLevelRooms, "rooms");
    for (int number = 1; number <= image.roomCount; ++number) checkRoom(image.room(number), number, isLong);
    checkList(image.floorData, "floor data words");
    checkList(image.meshData, "mesh data words");
    checkList(image.meshPointers, "mesh pointers");
    checkList(image.animations, "animations");
    checkList(image.stateChanges, "state changes");
    checkList(image.animDispatches, "animation dispatches");
    checkList(image.animCommands, "animation command words");
    checkList(image.meshTree, "mesh hierarchy entries");
    checkList(image.frames, "frame words");
    checkList(image.moveables, "moveables");
    checkList(image.staticMeshes, "static meshes");
    checkList(image.objectTextures, "object textures");
    checkList(image.spriteTextures, "sprite textures");
    checkList(image.spriteSequences, "sprite sequences");
    checkList(image.cameras, "cameras");
    checkList(image.soundSources, "sound sources");
    requireCapacity(image.boxCount, kMaxBoxes, "boxes");
    checkList(image.overlaps, "overlaps");
    checkList(image.animatedTextures, "animated texture words");
    requireCapacity(image.itemCount, kMaxItems, "items");
    checkList16(image.cinematicFrames, "cinematic frames");
    checkList16(image.demoData, "demo data bytes");
    checkList(image.soundDetails, "sound details");
    checkList(image.sampleIndices, "sample indices");
}

// ---- header and textures ----

void writeLongPalettes(Writing& w) {
    if (!w.isLong()) return;
    w.out.write(w.image.palette.data(), w.image.palette.size());
    w.out.write(w.image.palette16.data(), w.image.palette16.size());
}

void writeTexturePages(Writing& w) {
    const LevelImage& image = w.image;
    w.out.u32(image.textileCount);
    w.out.write(image.textiles8.data(), image.textileBytes);
    if (w.isLong()) w.out.write(image.textiles16.data(), std::size_t{image.textileCount} * 131072);
}

void writeReservedDword(Writing& w) { w.out.write(w.image.reservedDword.data(), w.image.reservedDword.size()); }

// ---- rooms ----

void writeRoomInfo(Writing& w, LevelRoom& room) {
    room.roomInfo.dataWords = roomDataWords(room, w.isLong());
    const RoomInfo& info = room.roomInfo;
    w.out.i32(info.x);
    w.out.i32(info.z);
    w.out.i32(info.yBottom);
    w.out.i32(info.yTop);
    w.out.u32(info.dataWords);
}

void writeRoomVertices(Writing& w, const LevelRoom& room) {
    w.out.u16(room.vertexCount);
    if (w.isLong()) {
        w.out.write(room.wideVertices.data(), room.vertexCount * sizeof(WideVertex));
    } else {
        w.out.write(room.vertices.data(), room.vertexCount * sizeof(ShortVertex));
    }
}

void writeRoomFaces(Writing& w, const LevelRoom& room) {
    w.out.u16(room.rectangleCount);
    w.out.write(room.rectangles.data(), room.rectangleCount * sizeof(RoomRectangle));
    w.out.u16(room.triangleCount);
    w.out.write(room.triangles.data(), room.triangleCount * sizeof(RoomTriangle));
}

void writeRoomSprites(Writing& w, const LevelRoom& room) {
    w.out.u16(room.spriteCount);
    w.out.write(room.sprites.data(), std::size_t{room.spriteCount} * 4);
}

void writeRoomPortals(Writing& w, const LevelRoom& room) {
    w.out.u16(room.portalCount);
    w.out.write(room.portals.data(), room.portalCount * sizeof(RoomPortal));
}

void writeRoomSectors(Writing& w, const LevelRoom& room) {
    w.out.u16(room.grid.numZ);
    w.out.u16(room.grid.numX);
    w.out.write(room.grid.gameSectors.data(), std::size_t{room.grid.numZ} * room.grid.numX * sizeof(GameSector));
}

void writeRoomAmbient(Writing& w, const LevelRoom& room) {
    w.out.u16(room.ambient);
    if (w.isLong()) w.out.i16(room.ambient2);
    if (w.kind == kKindTR2) w.out.i16(room.lightMode);
}

void writeRoomLights(Writing& w, const LevelRoom& room) {
    w.out.u16(room.lightCount);
    w.out.write(room.lights.data(), room.lightCount * std::size_t{w.isLong() ? 24u : 18u});
}

void writeRoomStaticMeshes(Writing& w, const LevelRoom& room) {
    w.out.u16(room.staticMeshCount);
    if (w.isLong()) {
        w.out.write(room.staticMeshesLong.data(), room.staticMeshCount * std::size_t{20});
    } else {
        w.out.write(room.staticMeshesShort.data(), room.staticMeshCount * std::size_t{18});
    }
}

void writeRoomTail(Writing& w, const LevelRoom& room) {
    w.out.i16(room.alternateRoom);
    w.out.u16(room.roomFlags);
    if (w.kind == kKindTR3) w.out.write(room.tr3RoomExtra.data(), room.tr3RoomExtra.size());
}

void writeRooms(Writing& w) {
    w.out.u16(w.image.roomCount);
    for (int number = 1; number <= w.image.roomCount; ++number) {
        LevelRoom& room = w.image.room(number);
        writeRoomInfo(w, room);
        writeRoomVertices(w, room);
        writeRoomFaces(w, room);
        writeRoomSprites(w, room);
        writeRoomPortals(w, room);
        writeRoomSectors(w, room);
        writeRoomAmbient(w, room);
        writeRoomLights(w, room);
        writeRoomStaticMeshes(w, room);
        writeRoomTail(w, room);
    }
}

// ---- level-wide chunks ----

void writeFloorData(Writing& w) { writeWordList32(w, w.image.floorData); }
void writeMeshData(Writing& w) { writeWordList32(w, w.image.meshData); }
void writeMeshPointers(Writing& w) { writeOpaqueList32(w, w.image.meshPointers); }
void writeAnimations(Writing& w) { writeOpaqueList32(w, w.image.animations); }
void writeStateChanges(Writing& w) { writeOpaqueList32(w, w.image.stateChanges); }
void writeAnimDispatches(Writing& w) { writeOpaqueList32(w, w.image.animDispatches); }
void writeAnimCommands(Writing& w) { writeOpaqueList32(w, w.image.animCommands); }
void writeMeshTree(Writing& w) { writeOpaqueList32(w, w.image.meshTree); }
void writeFrames(Writing& w) { writeOpaqueList32(w, w.image.frames); }
void writeMoveables(Writing& w) { writeOpaqueList32(w, w.image.moveables); }
void writeStaticMeshes(Writing& w) { writeOpaqueList32(w, w.image.staticMeshes); }
void writeObjectTextures(Writing& w) { writeOpaqueList32(w, w.image.objectTextures); }
void writeSpriteTextures(Writing& w) { writeOpaqueList32(w, w.image.spriteTextures); }
void writeSpriteSequences(Writing& w) { writeOpaqueList32(w, w.image.spriteSequences); }
void writePalette(Writing& w) { w.out.write(w.image.palette.data(), w.image.palette.size()); }
void writeCameras(Writing& w) { writeOpaqueList32(w, w.image.cameras); }
void writeSoundSources(Writing& w) { writeOpaqueList32(w, w.image.soundSources); }

void writeBoxes(Writing& w) {
    w.out.u32(w.image.boxCount);
    if (w.isLong()) {
        w.out.write(w.image.boxesShort.data(), w.image.boxCount * sizeof(BoxShort));
    } else {
        w.out.write(w.image.boxesLong.data(), w.image.boxCount * sizeof(BoxLong));
    }
}

void writeOverlaps(Writing& w) { writeWordList32(w, w.image.overlaps); }

void writeZones(Writing& w) {
    // One zone per box, with no count of their own (the box count was checked before writing).
    w.image.zoneCount = w.image.boxCount;
    if (w.isLong()) {
        w.out.write(w.image.zonesLong.data(), w.image.zoneCount * sizeof(LongZone));
    } else {
        w.out.write(w.image.zonesShort.data(), w.image.zoneCount * sizeof(ShortZone));
    }
}

void writeAnimatedTextures(Writing& w) { writeOpaqueList32(w, w.image.animatedTextures); }

void writeItems(Writing& w) {
    w.out.u32(w.image.itemCount);
    if (w.isLong()) {
        w.out.write(w.image.itemsLong.data(), w.image.itemCount * sizeof(ItemLong));
    } else {
        for (std::size_t i = 0; i < w.image.itemCount; ++i) writeItemShort(w.out, w.image.itemsShort[i]);
    }
}

void writeLightMap(Writing& w) { w.out.write(w.image.lightMap.data(), w.image.lightMap.size()); }
void writeCinematicFrames(Writing& w) { writeOpaqueList16(w, w.image.cinematicFrames); }
void writeDemoData(Writing& w) { writeOpaqueList16(w, w.image.demoData); }
void writeSoundMap(Writing& w) { w.out.write(w.image.soundMap.data(), w.isLong() ? 740 : 512); }
void writeSoundDetails(Writing& w) { writeOpaqueList32(w, w.image.soundDetails); }

void writeSamples(Writing& w) {
    w.out.u32(w.image.sampleBytes);
    w.out.write(w.image.samples.data(), w.image.sampleBytes);
}

void writeSampleIndices(Writing& w) { writeOpaqueList32(w, w.image.sampleIndices); }

// Everything after the version word, in file order (the reader's order).
void writeChunks(Writing& w) {
    const int kind = w.kind;
    writeLongPalettes(w);
    writeTexturePages(w);
    writeReservedDword(w);
    writeRooms(w);
    writeFloorData(w);
    writeMeshData(w);
    writeMeshPointers(w);
    writeAnimations(w);
    writeStateChanges(w);
    writeAnimDispatches(w);
    writeAnimCommands(w);
    writeMeshTree(w);
    writeFrames(w);
    writeMoveables(w);
    writeStaticMeshes(w);
    if (kind != kKindTR3) writeObjectTextures(w);
    writeSpriteTextures(w);
    writeSpriteSequences(w);
    if (kind == kKindTR1Gold) writePalette(w);
    writeCameras(w);
    writeSoundSources(w);
    writeBoxes(w);
    writeOverlaps(w);
    writeZones(w);
    writeAnimatedTextures(w);
    if (kind == kKindTR3) writeObjectTextures(w);
    writeItems(w);
    writeLightMap(w);
    if (kind == kKindTR1) writePalette(w);
    writeCinematicFrames(w);
    writeDemoData(w);
    writeSoundMap(w);
    writeSoundDetails(w);
    if (!w.isLong()) writeSamples(w);
    writeSampleIndices(w);
}

}  // namespace

std::uint32_t roomDataWords(const LevelRoom& room, bool longForm) {
    const std::uint32_t vertexBytes = longForm ? 12 : 8;
    return (room.vertexCount * vertexBytes + room.rectangleCount * 10u + room.triangleCount * 8u +
            room.spriteCount * 4u + 8u) /
           2u;
}

std::vector<std::uint8_t> serializeLevel(LevelImage& image, int outputKind) {
    if (outputKind < kKindTR1 || outputKind > kKindTR3) {
        throw std::invalid_argument("serializeLevel: " + std::to_string(outputKind) + " is not a game kind");
    }
    checkLevel(image, outputKind);
    // The big blocks, the rooms' meshes and sectors, and room for the level-wide lists; the sink
    // grows if that is not enough.
    std::size_t rooms = 0;
    for (int r = 1; r <= image.roomCount; ++r) {
        const LevelRoom& room = image.room(r);
        rooms += 2u * roomDataWords(room, true) + 8u * room.grid.numZ * room.grid.numX + 32u * room.portalCount + 1024u;
    }
    ByteWriter out(image.textiles8.size() + image.textiles16.size() + image.samples.size() + rooms + (std::size_t{2} << 20));
    Writing w{out, image, outputKind};
    out.u32(image.version);
    writeChunks(w);
    return out.take();
}

std::uint8_t writeLevel(LevelImage& image, const std::string& path) {
    const int kind = gameKind(image.version, path);
    if (kind == kKindNone) {
        image.version = 0;
        return kWriteUnknownVersion;
    }
    const std::vector<std::uint8_t> bytes = serializeLevel(image, kind);
    writeFileAtomically(pathFromBytes(path), bytes);
    return kWriteOk;
}

}  // namespace cw
