#pragma once
// The in-memory image of one game level of any of the four versions: one flat record with a
// count and a fixed-capacity array per list. Only the texture pages and the sound samples are
// held outside it. Where versions store a record in two sizes, both forms stand side by side.
//
// A LevelImage is tens of megabytes: allocate it once on the heap (std::make_unique<LevelImage>())
// and reset it in place with resetLevelImage(), never by assigning a temporary.
//
// Rooms are numbered 1..255 here (rooms[n - 1]); inside level data a record that names a room
// stores its number - 1.
//
// Which fields a level file holds, in which order and form for each game kind, is written once,
// in levelfile/level_layout.h.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "project/game_sector.h"

namespace cw {

// Game kinds.
inline constexpr int kKindNone = 0;
inline constexpr int kKindTR1 = 1;
inline constexpr int kKindTR1Gold = 2;
inline constexpr int kKindTR2 = 3;
inline constexpr int kKindTR3 = 4;

// Level file version words.
inline constexpr std::uint32_t kVersionTR1 = 32;
inline constexpr std::uint32_t kVersionTR2 = 45;
inline constexpr std::uint32_t kVersionTR3a = 0xFF080038;
inline constexpr std::uint32_t kVersionTR3b = 0xFF180038;

// The kind told by a version word and a file name: 32 gives Gold when the path contains ".TUB"
// or ".tub" anywhere (".Tub" is not recognised), else Tomb Raider 1; 45 gives Tomb Raider 2;
// the two Tomb Raider 3 words give 4; anything else 0.
int gameKind(std::uint32_t version, std::string_view path);
// Kinds 3 and 4 use the long (wide) record forms, all others the short ones.
constexpr bool isLongForm(int kind) { return kind == kKindTR2 || kind == kKindTR3; }

struct ShortVertex {
    std::int16_t x = 0, y = 0, z = 0;
    std::int16_t light = 0;  // light byte in the high byte
};
static_assert(sizeof(ShortVertex) == 8);

struct WideVertex {
    std::int16_t x = 0, y = 0, z = 0;
    std::int16_t light = 0;
    std::uint16_t attributes = 0;
    std::uint16_t light2 = 0;  // Tomb Raider 3: 5:5:5 colour
};
static_assert(sizeof(WideVertex) == 12);

struct RoomRectangle {
    std::array<std::uint16_t, 4> vertices{};  // 0-based positions in the room's vertex list
    std::uint16_t texture = 0;
};
static_assert(sizeof(RoomRectangle) == 10);

struct RoomTriangle {
    std::array<std::uint16_t, 3> vertices{};
    std::uint16_t texture = 0;
};
static_assert(sizeof(RoomTriangle) == 8);

struct PortalCorner {
    std::int16_t x = 0, y = 0, z = 0;
};
struct RoomPortal {
    std::uint16_t adjoiningRoom = 0;  // room number - 1
    std::int16_t normalX = 0, normalY = 0, normalZ = 0;
    std::array<PortalCorner, 4> corners{};
};
static_assert(sizeof(RoomPortal) == 32);

// 22 bytes in files (the record has padding in memory: read and write it field by field).
struct ItemShort {
    std::int16_t type = 0;
    std::int16_t room = 0;  // room number - 1
    std::int32_t x = 0, y = 0, z = 0;
    std::int16_t angle = 0;
    std::int16_t intensity = 0;
    std::uint16_t flags = 0;
};
inline constexpr std::size_t kItemShortFileBytes = 22;

struct ItemLong {
    std::int16_t type = 0;
    std::int16_t room = 0;
    std::int32_t x = 0, y = 0, z = 0;
    std::int16_t angle = 0;
    std::int16_t intensity = 0;
    std::int16_t intensity2 = 0;
    std::uint16_t flags = 0;
};
static_assert(sizeof(ItemLong) == 24);

struct BoxLong {
    std::int32_t zMin = 0, zMax = 0, xMin = 0, xMax = 0;  // world units
    std::int16_t trueFloor = 0;
    std::uint16_t overlapIndex = 0;
};
static_assert(sizeof(BoxLong) == 20);

struct BoxShort {
    std::uint8_t zMin = 0, zMax = 0, xMin = 0, xMax = 0;  // sectors
    std::int16_t trueFloor = 0;
    std::uint16_t overlapIndex = 0;
};
static_assert(sizeof(BoxShort) == 8);

using ShortZone = std::array<std::int16_t, 6>;
using LongZone = std::array<std::int16_t, 10>;

// A list of records with its count.
template <class T, std::size_t Capacity>
struct RecordList {
    static constexpr std::size_t capacity = Capacity;
    std::uint32_t count = 0;
    std::array<T, Capacity> items{};
};

// A list the program never looks into: count elements of ElementBytes bytes each.
template <std::size_t ElementBytes, std::size_t Capacity>
struct OpaqueList {
    static constexpr std::size_t elementBytes = ElementBytes;
    static constexpr std::size_t capacity = Capacity;
    std::uint32_t count = 0;
    std::array<std::uint8_t, ElementBytes * Capacity> bytes{};
};

struct RoomInfo {
    std::int32_t x = 0;  // room origin, world units
    std::int32_t z = 0;
    std::int32_t yBottom = 0;
    std::int32_t yTop = 0;
    std::uint32_t dataWords = 0;  // size of the mesh block in 16-bit words (set by the writer)
};
static_assert(sizeof(RoomInfo) == 20);

inline constexpr std::size_t kMaxRoomVertices = 2000;
inline constexpr std::size_t kMaxRoomRectangles = 3000;
inline constexpr std::size_t kMaxRoomTriangles = 1250;
inline constexpr std::size_t kMaxRoomSprites = 50;
inline constexpr std::size_t kMaxRoomPortals = 20;
inline constexpr std::size_t kLightStorageBytes = 35 * 18;  // 35 short-form or 15 long-form lights
inline constexpr std::size_t kMaxRoomLightsShort = 35;
inline constexpr std::size_t kMaxRoomLightsLong = 15;
inline constexpr std::size_t kMaxRoomStaticMeshes = 50;

struct LevelRoom {
    RoomInfo roomInfo;
    std::uint16_t vertexCount = 0;
    std::array<ShortVertex, kMaxRoomVertices> vertices{};
    std::array<WideVertex, kMaxRoomVertices> wideVertices{};
    std::uint16_t rectangleCount = 0;
    std::array<RoomRectangle, kMaxRoomRectangles> rectangles{};
    std::uint16_t triangleCount = 0;
    std::array<RoomTriangle, kMaxRoomTriangles> triangles{};
    std::uint16_t spriteCount = 0;
    std::array<std::uint8_t, 4 * kMaxRoomSprites> sprites{};
    std::uint16_t portalCount = 0;
    std::array<RoomPortal, kMaxRoomPortals> portals{};
    SectorGrid grid;  // numZSectors, numXSectors and the sectors, one block as in the file
    std::uint16_t ambient = 0;  // low byte, then high byte
    std::int16_t ambient2 = 0;  // long forms
    std::int16_t lightMode = 0;  // Tomb Raider 2 files only
    std::uint16_t lightCount = 0;
    std::array<std::uint8_t, kLightStorageBytes> lights{};  // 18 bytes each (short) or 24 (long)
    std::uint16_t staticMeshCount = 0;
    std::array<std::uint8_t, 18 * kMaxRoomStaticMeshes> staticMeshesShort{};
    std::array<std::uint8_t, 20 * kMaxRoomStaticMeshes> staticMeshesLong{};
    std::int16_t alternateRoom = 0;  // -1 for none
    std::uint16_t roomFlags = 0;     // 0x0001 water, 0x0008 sky, 0x0020 wind/rain, 0x0080 swamp
    std::array<std::uint8_t, 3> tr3RoomExtra{};
};

inline constexpr std::uint16_t kRoomFlagWater = 0x0001;
inline constexpr std::uint16_t kRoomFlagSky = 0x0008;
inline constexpr std::uint16_t kRoomFlagWindRain = 0x0020;
inline constexpr std::uint16_t kRoomFlagSwamp = 0x0080;

inline constexpr std::size_t kMaxLevelRooms = 255;
inline constexpr std::size_t kMaxFloorData = 18001;
inline constexpr std::size_t kMaxBoxes = 2500;
inline constexpr std::size_t kMaxOverlaps = 7000;
inline constexpr std::size_t kMaxItems = 300;
inline constexpr std::size_t kMaxCameras = 15;

struct LevelImage {
    std::uint32_t version = 0;
    std::int32_t gameKind = 0;
    std::uint32_t textileBytes = 0;  // textileCount * 65536
    std::uint32_t textileCount = 0;
    std::vector<std::uint8_t> textiles8;   // textileCount * 65536 bytes
    std::vector<std::uint8_t> textiles16;  // textileCount * 131072 bytes, long forms only
    std::array<std::uint8_t, 4> reservedDword{};
    std::uint16_t roomCount = 0;
    std::array<LevelRoom, kMaxLevelRooms> rooms{};

    RecordList<std::uint16_t, kMaxFloorData> floorData;
    RecordList<std::uint16_t, 100000> meshData;
    OpaqueList<4, 750> meshPointers;
    OpaqueList<32, 750> animations;
    OpaqueList<6, 750> stateChanges;
    OpaqueList<8, 650> animDispatches;
    OpaqueList<2, 3000> animCommands;
    OpaqueList<4, 3000> meshTree;
    OpaqueList<2, 215000> frames;
    OpaqueList<18, 250> moveables;
    OpaqueList<32, 250> staticMeshes;
    OpaqueList<20, 2500> objectTextures;
    OpaqueList<16, 2000> spriteTextures;
    OpaqueList<8, 250> spriteSequences;
    OpaqueList<16, kMaxCameras> cameras;
    OpaqueList<16, 200> soundSources;

    std::uint32_t boxCount = 0;
    std::array<BoxLong, kMaxBoxes> boxesLong{};
    std::array<BoxShort, kMaxBoxes> boxesShort{};
    RecordList<std::uint16_t, kMaxOverlaps> overlaps;
    std::uint32_t zoneCount = 0;  // a copy of the box count
    std::array<ShortZone, kMaxBoxes> zonesShort{};
    std::array<LongZone, kMaxBoxes> zonesLong{};
    OpaqueList<2, 200> animatedTextures;

    std::uint32_t itemCount = 0;
    std::array<ItemShort, kMaxItems> itemsShort{};
    std::array<ItemLong, kMaxItems> itemsLong{};

    std::array<std::uint8_t, 8192> lightMap{};
    std::array<std::uint8_t, 768> palette{};
    std::array<std::uint8_t, 1024> palette16{};  // long forms only
    OpaqueList<16, 65535> cinematicFrames;        // u16 count in the file
    OpaqueList<1, 16000> demoData;                // u16 count in the file
    std::array<std::uint8_t, 740> soundMap{};     // short forms use the first 512 bytes
    OpaqueList<8, 200> soundDetails;
    std::uint32_t sampleBytes = 0;
    std::vector<std::uint8_t> samples;  // short forms only
    OpaqueList<4, 255> sampleIndices;

    LevelRoom& room(int number) { return rooms.at(static_cast<std::size_t>(number - 1)); }
    const LevelRoom& room(int number) const { return rooms.at(static_cast<std::size_t>(number - 1)); }
};

// Sets every field of the image to zero (and empties its texture and sample blocks) in place,
// chunk by chunk of the level layout. Room slots are cleared up to the room count: every writer
// of an image keeps the slots from roomCount on all zero (a writer that lowers roomCount does it
// through lowerRoomCount), so a reset costs the size of the level the image held, not the size
// of the whole image.
void resetLevelImage(LevelImage& image);

// Lowers roomCount to count, clearing the room slots given up. Does nothing when count is not
// below roomCount.
void lowerRoomCount(LevelImage& image, int count);

}  // namespace cw
