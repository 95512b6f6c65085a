#include "builder/side_files.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_records.h"

namespace cw {

namespace {

constexpr std::array<std::uint8_t, 8> kItemsMagic = {7, 'V', 'E', 'L', 'L', 'O', 'R', 'N'};
constexpr std::array<std::uint8_t, 17> kMeshesMagic = {16,  'V', 'e', 'l', 'l', 'o', 'r', 'n', ' ',
                                                       'M', 'S', 'H', ' ', 'f', 'i', 'l', 'e'};
constexpr std::size_t kCameraBytes = 16;
constexpr std::size_t kAssignmentBytes = 6;

// Compares the first (byte 0 + 1) bytes read with the magic, the length byte included.
template <std::size_t N>
bool magicMatches(std::span<const std::uint8_t> read, const std::array<std::uint8_t, N>& magic) {
    const std::size_t compared = std::size_t{read[0]} + 1;
    if (compared > N) return false;  // longer than the magic: its length byte already differs
    return std::equal(magic.begin(), magic.begin() + static_cast<std::ptrdiff_t>(compared), read.begin());
}


struct RoomBlock {
    std::uint16_t lightCount = 0;
    std::span<const std::uint8_t> lights;
    std::uint16_t staticMeshCount = 0;
    std::span<const std::uint8_t> staticMeshes;
};

struct Assignment {
    std::uint16_t room = 0, sector = 0, offset = 0;
};

int sectorCount(const LevelRoom& room) { return std::min(room.grid.numZ * room.grid.numX, kMaxSectors); }

}  // namespace

std::uint8_t readItemsFile(LevelImage& image, const std::filesystem::path& path) {
    if (!fileExists(path)) return kItemsNoFile;
    const std::vector<std::uint8_t> bytes = readFile(path);
    return readItemsBytes(image, bytes, "Items file " + pathText(path));
}

std::uint8_t readItemsBytes(LevelImage& image, std::span<const std::uint8_t> bytes, const std::string& what) {
    ByteReader in(bytes, what);
    if (!magicMatches(in.take(kItemsMagic.size()), kItemsMagic)) return kItemsBadMagic;
    const bool longForm = isLongForm(image.gameKind);

    // Check the whole file first; the image changes only once all of it is accepted.
    const std::uint32_t itemCount = in.u32();
    const std::size_t itemBytes = longForm ? sizeof(ItemLong) : kItemShortFileBytes;
    in.requireCount(itemCount, kMaxItems, "items", itemBytes);
    std::vector<ItemShort> itemsShort;
    std::vector<ItemLong> itemsLong;
    for (std::uint32_t i = 0; i < itemCount; ++i) {
        if (longForm) itemsLong.push_back(readItemLong(in));
        else itemsShort.push_back(readItemShort(in));
    }

    const auto base = static_cast<std::uint16_t>(image.floorData.count & 0xFFFF);
    const std::uint16_t wordCount = in.u16();
    if (std::size_t{base} + wordCount > kMaxFloorData) {
        throw FormatError(what + " adds " + std::to_string(wordCount) + " floor data words to the level's " +
                          std::to_string(base) + "; the floor data hold at most " + std::to_string(kMaxFloorData) +
                          " words.");
    }
    const std::span<const std::uint8_t> words = in.take(std::size_t{wordCount} * 2);

    const std::uint32_t cameraCount = in.u32();
    in.requireCount(cameraCount, kMaxCameras, "cameras", kCameraBytes);
    const std::span<const std::uint8_t> cameras = in.take(cameraCount * kCameraBytes);

    const std::uint16_t roomCount = in.u16();
    if (roomCount > image.roomCount) {
        throw FormatError(what + " has lights and static meshes for " + std::to_string(roomCount) +
                          " rooms; the level has " + std::to_string(image.roomCount) + ".");
    }
    const std::size_t lightBytes = longForm ? 24 : 18;
    const std::size_t lightCapacity = longForm ? kMaxRoomLightsLong : kMaxRoomLightsShort;
    const std::size_t meshBytes = longForm ? 20 : 18;
    std::vector<RoomBlock> blocks(roomCount);
    for (std::uint16_t r = 0; r < roomCount; ++r) {
        RoomBlock& b = blocks[r];
        const std::string room = " of room " + std::to_string(r + 1);
        b.lightCount = in.u16();
        in.requireCount(b.lightCount, lightCapacity, "lights" + room, lightBytes);
        b.lights = in.take(b.lightCount * lightBytes);
        b.staticMeshCount = in.u16();
        in.requireCount(b.staticMeshCount, kMaxRoomStaticMeshes, "static meshes" + room, meshBytes);
        b.staticMeshes = in.take(b.staticMeshCount * meshBytes);
    }

    if (in.remaining() % kAssignmentBytes != 0) {
        throw IoError(what + " ends inside a sector assignment: " + std::to_string(in.remaining()) +
                      " bytes are left after the room blocks, not a multiple of " + std::to_string(kAssignmentBytes) +
                      ".");
    }
    const std::size_t finalCount = std::size_t{base} + wordCount;
    std::vector<Assignment> assignments;
    assignments.reserve(in.remaining() / kAssignmentBytes);
    while (!in.atEnd()) {
        const std::size_t at = in.position();
        Assignment a;
        a.room = in.u16();
        a.sector = in.u16();
        a.offset = in.u16();
        const std::string where = what + ", sector assignment at byte " + std::to_string(at) + ": ";
        if (a.room < 1 || a.room > image.roomCount) {
            throw FormatError(where + "room " + std::to_string(a.room) + " is not a room of the level (it has " +
                              std::to_string(image.roomCount) + " rooms).");
        }
        const int sectors = sectorCount(image.room(a.room));
        if (a.sector < 1 || a.sector > sectors) {
            throw FormatError(where + "room " + std::to_string(a.room) + " has no sector " + std::to_string(a.sector) +
                              " (it has " + std::to_string(sectors) + ").");
        }
        // Compared as a wide number: a 16-bit sum would wrap a large offset back into the list.
        if (std::size_t{base} + a.offset >= finalCount) {
            throw FormatError(where + "floor data offset " + std::to_string(a.offset) +
                              " points past the floor data (" + std::to_string(finalCount) + " words).");
        }
        assignments.push_back(a);
    }

    // Apply.
    image.itemCount = itemCount;
    for (std::uint32_t i = 0; i < itemCount; ++i) {
        if (longForm) image.itemsLong[i] = itemsLong[i];
        else image.itemsShort[i] = itemsShort[i];
    }
    for (std::size_t i = 0; i < wordCount; ++i)
        image.floorData.items[base + i] = static_cast<std::uint16_t>(words[2 * i] | (words[2 * i + 1] << 8));
    image.floorData.count = static_cast<std::uint32_t>(finalCount);
    image.cameras.count = cameraCount;
    if (!cameras.empty()) std::memcpy(image.cameras.bytes.data(), cameras.data(), cameras.size());
    for (std::uint16_t r = 0; r < roomCount; ++r) {
        LevelRoom& room = image.room(r + 1);
        const RoomBlock& b = blocks[r];
        room.lightCount = b.lightCount;
        if (!b.lights.empty()) std::memcpy(room.lights.data(), b.lights.data(), b.lights.size());
        room.staticMeshCount = b.staticMeshCount;
        std::uint8_t* meshes = longForm ? room.staticMeshesLong.data() : room.staticMeshesShort.data();
        if (!b.staticMeshes.empty()) std::memcpy(meshes, b.staticMeshes.data(), b.staticMeshes.size());
    }
    for (const Assignment& a : assignments) {
        image.room(a.room).grid.gameSectors[a.sector - 1u].floorDataIndex = static_cast<std::uint16_t>(base + a.offset);
    }
    return kItemsRead;
}

std::uint8_t readRoomMeshFile(LevelImage& image, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readFile(path);
    return readRoomMeshBytes(image, bytes, "Meshes file " + pathText(path));
}

std::uint8_t readRoomMeshBytes(LevelImage& image, std::span<const std::uint8_t> bytes, const std::string& what) {
    ByteReader in(bytes, what);
    if (!magicMatches(in.take(kMeshesMagic.size()), kMeshesMagic)) return kMeshesBadMagic;
    const std::uint32_t kind = in.u32();
    if ((kind & 0xFF) != static_cast<std::uint32_t>(image.gameKind & 0xFF)) return kMeshesWrongGame;
    const bool longForm = isLongForm(image.gameKind);
    const std::size_t vertexBytes = longForm ? sizeof(WideVertex) : sizeof(ShortVertex);

    const std::uint16_t fileRooms = in.u16();
    const std::uint16_t rooms = std::min<std::uint16_t>(fileRooms, image.roomCount);
    struct Mesh {
        std::uint16_t vertexCount = 0, rectangleCount = 0, triangleCount = 0;
        std::span<const std::uint8_t> vertices, rectangles, triangles;
    };
    std::vector<Mesh> meshes(rooms);
    for (std::uint16_t r = 0; r < rooms; ++r) {
        Mesh& m = meshes[r];
        const std::string room = " in room " + std::to_string(r + 1);
        m.vertexCount = in.u16();
        in.requireCount(m.vertexCount, kMaxRoomVertices, "vertices" + room, vertexBytes);
        m.vertices = in.take(m.vertexCount * vertexBytes);
        m.rectangleCount = in.u16();
        in.requireCount(m.rectangleCount, kMaxRoomRectangles, "rectangles" + room, sizeof(RoomRectangle));
        m.rectangles = in.take(m.rectangleCount * sizeof(RoomRectangle));
        m.triangleCount = in.u16();
        in.requireCount(m.triangleCount, kMaxRoomTriangles, "triangles" + room, sizeof(RoomTriangle));
        m.triangles = in.take(m.triangleCount * sizeof(RoomTriangle));

        // Every face must name a vertex of the room.
        auto checkFaces = [&](std::span<const std::uint8_t> faces, std::size_t faceBytes, std::size_t corners,
                              const char* faceName) {
            for (std::size_t f = 0; f < faces.size() / faceBytes; ++f) {
                for (std::size_t c = 0; c < corners; ++c) {
                    const std::size_t at = f * faceBytes + 2 * c;
                    const unsigned v = faces[at] | (faces[at + 1] << 8);
                    if (v >= m.vertexCount) {
                        throw FormatError(what + ": " + faceName + " " + std::to_string(f + 1) + room + " names vertex " +
                                          std::to_string(v) + "; the room has " + std::to_string(m.vertexCount) +
                                          " vertices.");
                    }
                }
            }
        };
        checkFaces(m.rectangles, sizeof(RoomRectangle), 4, "rectangle");
        checkFaces(m.triangles, sizeof(RoomTriangle), 3, "triangle");
    }

    for (std::uint16_t r = 0; r < rooms; ++r) {
        const Mesh& m = meshes[r];
        LevelRoom& room = image.room(r + 1);
        room.vertexCount = m.vertexCount;
        void* vertices = longForm ? static_cast<void*>(room.wideVertices.data()) : static_cast<void*>(room.vertices.data());
        if (!m.vertices.empty()) std::memcpy(vertices, m.vertices.data(), m.vertices.size());
        room.rectangleCount = m.rectangleCount;
        if (!m.rectangles.empty()) std::memcpy(room.rectangles.data(), m.rectangles.data(), m.rectangles.size());
        room.triangleCount = m.triangleCount;
        if (!m.triangles.empty()) std::memcpy(room.triangles.data(), m.triangles.data(), m.triangles.size());
    }
    return kMeshesRead;
}

}  // namespace cw
