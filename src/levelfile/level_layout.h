#pragma once
// The layout of a game level file, written once: which chunks follow the version word, in which
// order and in which form, for each game kind (Tomb Raider 1, 1 Gold, 2 and 3), and where each
// chunk lives in the LevelImage. The reader, the writer, the writer's capacity check and the
// image reset are visitors of visitLevel; a new game kind or a moved chunk is an edit here and
// nowhere else.
//
// visitLevel(visitor, image, kind) calls visitor(chunk) for every chunk of a file of that kind,
// in file order, with one of the descriptors below. The rooms chunk is followed by the chunks of
// each room, 1..roomCount, as the image holds roomCount once the visitor has seen the rooms
// chunk (the reader has read it, the reset has cleared it). With kEveryKind it visits the chunks
// of all kinds, so that every field of the image is visited (for the reset); the forms chosen
// then are those of the short kinds.
//
// Every descriptor has a name, used in the chunk map ("object textures", "room 3 vertices") and
// in messages ("object textures", "vertices in room 3"), and the number of its room (0 for a
// level-wide chunk). A chunk with an empty name continues the one before it. Pointers are to
// const fields when the image is const.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "levelfile/level_image.h"

namespace cw {

// visitLevel's kind for visiting the chunks of every kind.
inline constexpr int kEveryKind = -1;

// The kinds whose files hold a chunk.
inline constexpr unsigned kInTR1 = 1u << kKindTR1;
inline constexpr unsigned kInGold = 1u << kKindTR1Gold;
inline constexpr unsigned kInTR2 = 1u << kKindTR2;
inline constexpr unsigned kInTR3 = 1u << kKindTR3;
inline constexpr unsigned kInShortKinds = kInTR1 | kInGold;
inline constexpr unsigned kInLongKinds = kInTR2 | kInTR3;
inline constexpr unsigned kInEveryKind = kInShortKinds | kInLongKinds;
inline constexpr unsigned kInAllButTR3 = kInEveryKind & ~kInTR3;

// The kinds visitLevel walks for a kind: one of them, all of them for kEveryKind, none for a
// kind that is not a game kind.
constexpr unsigned kindsWalked(int kind) {
    if (kind == kEveryKind) return kInEveryKind;
    return kind >= kKindTR1 && kind <= kKindTR3 ? 1u << kind : 0u;
}

// A block of fixed size with no count: a palette, the light map, a field of a room.
template <class T>
struct BlockChunk {
    std::string_view name;
    int room;
    T* field;
    std::size_t bytes;  // in the file, from the start of the field
};

// A count of countBytes (2 or 4) in the file, then count elements of elementBytes each.
// rebuilt: a build rewrites the list and may leave elements past its count.
template <class Count, class Element>
struct ListChunk {
    std::string_view name;
    int room;
    Count* count;
    unsigned countBytes;
    Element* elements;
    std::size_t elementBytes;  // in the file
    std::size_t capacity;
    bool rebuilt;
};

// One count and two arrays, of which the file holds one: the short-kind form or the long-kind
// form (longInFile). Where the forms carry the same records, the reader derives the other one.
template <class Count, class Short, class Long>
struct TwoFormChunk {
    std::string_view name;
    int room;
    Count* count;
    unsigned countBytes;
    Short* inShort;  // the array of the short-kind files
    std::size_t shortBytes;
    Long* inLong;  // the array of the long-kind files
    std::size_t longBytes;
    std::size_t capacity;
    bool longInFile;
};

// The zones: one per box, without a count of their own (zoneCount is a copy of boxCount).
template <class Count, class Short, class Long>
struct ZoneChunk {
    std::string_view name;
    Count* count;
    const std::uint32_t* boxCount;
    Short* inShort;
    Long* inLong;
    std::size_t capacity;
    bool longInFile;
};

// The texture pages: a u32 page count, the 8-bit pages and, in long-kind files, the 16-bit ones.
template <class Image>
struct TexturePagesChunk {
    std::string_view name;
    Image* image;
    bool withWidePages;
};

// The room count (u16); the rooms' own chunks follow.
template <class Image>
struct RoomsChunk {
    std::string_view name;
    Image* image;
};

// A room's sector grid: numZ (u16), numX (u16), then numZ * numX sectors.
template <class Grid>
struct SectorsChunk {
    std::string_view name;
    int room;
    Grid* grid;
};

// The sound samples: a u32 size in bytes, then the block.
template <class Image>
struct SamplesChunk {
    std::string_view name;
    Image* image;
};

// The name of a chunk in messages: "object textures", "vertices in room 3".
inline std::string listName(std::string_view name, int room) {
    return room == 0 ? std::string(name) : std::string(name) + " in room " + std::to_string(room);
}
// The name of a chunk in the chunk map: "object textures", "room 3 vertices".
inline std::string chunkName(std::string_view name, int room) {
    return room == 0 ? std::string(name) : "room " + std::to_string(room) + " " + std::string(name);
}

namespace layout {

template <class T>
BlockChunk<T> block(std::string_view name, T& field, std::size_t bytes = sizeof(T), int room = 0) {
    return {name, room, &field, bytes};
}

template <class Count, class Element>
ListChunk<Count, Element> list(std::string_view name, int room, Count& count, unsigned countBytes, Element* elements,
                               std::size_t elementBytes, std::size_t capacity, bool rebuilt = false) {
    return {name, room, &count, countBytes, elements, elementBytes, capacity, rebuilt};
}

// A level-wide OpaqueList or RecordList whose count has CountBytes bytes in the file.
template <unsigned CountBytes = 4, class L>
auto list(std::string_view name, L& l, bool rebuilt = false) {
    using Plain = std::remove_const_t<L>;
    static_assert(CountBytes == 4 || (CountBytes == 2 && Plain::capacity <= 0xFFFF), "the count cannot reach the capacity");
    if constexpr (requires { Plain::elementBytes; }) {
        return list(name, 0, l.count, CountBytes, l.bytes.data(), Plain::elementBytes, Plain::capacity, rebuilt);
    } else {
        return list(name, 0, l.count, CountBytes, l.items.data(), sizeof(l.items[0]), Plain::capacity, rebuilt);
    }
}

template <class Count, class Short, class Long>
TwoFormChunk<Count, Short, Long> twoForms(std::string_view name, int room, Count& count, unsigned countBytes,
                                          Short* inShort, std::size_t shortBytes, Long* inLong, std::size_t longBytes,
                                          std::size_t capacity, bool longInFile) {
    return {name, room, &count, countBytes, inShort, shortBytes, inLong, longBytes, capacity, longInFile};
}

template <class Count, class Short, class Long>
ZoneChunk<Count, Short, Long> zones(std::string_view name, Count& count, const std::uint32_t& boxCount, Short* inShort,
                                    Long* inLong, std::size_t capacity, bool longInFile) {
    return {name, &count, &boxCount, inShort, inLong, capacity, longInFile};
}

template <class Grid>
SectorsChunk<Grid> sectors(std::string_view name, int room, Grid& grid) {
    return {name, room, &grid};
}

}  // namespace layout

// The chunks of one room, in file order.
template <class Visitor, class Room>
void visitRoom(Visitor& v, Room& room, int number, int kind) {
    using layout::block;
    using layout::list;
    const unsigned in = kindsWalked(kind);
    const bool isLong = isLongForm(kind);
    v(block("info", room.roomInfo, sizeof(RoomInfo), number));
    v(layout::twoForms("vertices", number, room.vertexCount, 2, room.vertices.data(), sizeof(ShortVertex),
                       room.wideVertices.data(), sizeof(WideVertex), kMaxRoomVertices, isLong));
    v(list("rectangles", number, room.rectangleCount, 2, room.rectangles.data(), sizeof(RoomRectangle),
           kMaxRoomRectangles));
    v(list("triangles", number, room.triangleCount, 2, room.triangles.data(), sizeof(RoomTriangle), kMaxRoomTriangles));
    v(list("sprites", number, room.spriteCount, 2, room.sprites.data(), 4, kMaxRoomSprites));
    v(list("portals", number, room.portalCount, 2, room.portals.data(), sizeof(RoomPortal), kMaxRoomPortals));
    v(layout::sectors("sectors", number, room.grid));
    v(block("ambient", room.ambient, 2, number));
    if (in & kInLongKinds) v(block("", room.ambient2, 2, number));
    if (in & kInTR2) v(block("", room.lightMode, 2, number));
    // One storage for 35 short-kind lights of 18 bytes or 15 long-kind lights of 24 bytes.
    v(list("lights", number, room.lightCount, 2, room.lights.data(), isLong ? 24 : 18,
           isLong ? kMaxRoomLightsLong : kMaxRoomLightsShort));
    v(layout::twoForms("static meshes", number, room.staticMeshCount, 2, room.staticMeshesShort.data(), 18,
                       room.staticMeshesLong.data(), 20, kMaxRoomStaticMeshes, isLong));
    v(block("flags", room.alternateRoom, 2, number));
    v(block("", room.roomFlags, 2, number));
    if (in & kInTR3) v(block("", room.tr3RoomExtra, 3, number));
}

// Every chunk after the version word, in file order, for a file of the given kind.
template <class Visitor, class Image>
void visitLevel(Visitor& v, Image& image, int kind) {
    static_assert(std::is_same_v<std::remove_const_t<Image>, LevelImage>);
    using layout::block;
    using layout::list;
    const unsigned in = kindsWalked(kind);
    const bool isLong = isLongForm(kind);
    constexpr bool rebuilt = true;

    if (in & kInLongKinds) {
        v(block("palette", image.palette));
        v(block("16-bit palette", image.palette16));
    }
    v(TexturePagesChunk<Image>{"texture pages", &image, isLong});
    v(block("reserved dword", image.reservedDword));
    v(RoomsChunk<Image>{"rooms", &image});
    for (int number = 1; number <= image.roomCount; ++number) visitRoom(v, image.room(number), number, kind);

    v(list("floor data words", image.floorData, rebuilt));
    v(list("mesh data words", image.meshData));
    v(list("mesh pointers", image.meshPointers));
    v(list("animations", image.animations));
    v(list("state changes", image.stateChanges));
    v(list("animation dispatches", image.animDispatches));
    v(list("animation command words", image.animCommands));
    v(list("mesh hierarchy entries", image.meshTree));
    v(list("frame words", image.frames));
    v(list("moveables", image.moveables));
    v(list("static meshes", image.staticMeshes));
    if (in & kInAllButTR3) v(list("object textures", image.objectTextures));
    v(list("sprite textures", image.spriteTextures));
    v(list("sprite sequences", image.spriteSequences));
    if (in & kInGold) v(block("palette", image.palette));
    v(list("cameras", image.cameras, rebuilt));
    v(list("sound sources", image.soundSources));
    // Short-kind files hold the boxes in world units (BoxLong), long-kind files in sectors (BoxShort).
    v(layout::twoForms("boxes", 0, image.boxCount, 4, image.boxesLong.data(), sizeof(BoxLong), image.boxesShort.data(),
                       sizeof(BoxShort), kMaxBoxes, isLong));
    v(list("overlaps", image.overlaps, rebuilt));
    v(layout::zones("zones", image.zoneCount, image.boxCount, image.zonesShort.data(), image.zonesLong.data(), kMaxBoxes,
                    isLong));
    v(list("animated texture words", image.animatedTextures));
    if (in & kInTR3) v(list("object textures", image.objectTextures));
    v(layout::twoForms("items", 0, image.itemCount, 4, image.itemsShort.data(), kItemShortFileBytes,
                       image.itemsLong.data(), sizeof(ItemLong), kMaxItems, isLong));
    v(block("light map", image.lightMap));
    if (in & kInTR1) v(block("palette", image.palette));
    v(list<2>("cinematic frames", image.cinematicFrames));
    v(list<2>("demo data bytes", image.demoData));
    v(block("sound map", image.soundMap, isLong ? 740 : 512));  // 370 or 256 sound numbers
    v(list("sound details", image.soundDetails));
    if (in & kInShortKinds) v(SamplesChunk<Image>{"sound samples", &image});
    v(list("sample indices", image.sampleIndices));
}

}  // namespace cw
