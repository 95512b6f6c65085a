#include "levelfile/level_image.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "levelfile/level_layout.h"

namespace cw {

int gameKind(std::uint32_t version, std::string_view path) {
    switch (version) {
        case kVersionTR1:
            return (path.find(".TUB") != std::string_view::npos || path.find(".tub") != std::string_view::npos)
                       ? kKindTR1Gold
                       : kKindTR1;
        case kVersionTR2:
            return kKindTR2;
        case kVersionTR3a:
        case kVersionTR3b:
            return kKindTR3;
        default:
            return kKindNone;
    }
}

namespace {

template <class T>
void zeroBytes(T& object) {
    static_assert(std::is_trivially_copyable_v<T>, "only plain records are cleared bytewise");
    std::memset(static_cast<void*>(&object), 0, sizeof(T));
}

template <class T>
void zeroElements(T* elements, std::size_t count) {
    static_assert(std::is_trivially_copyable_v<T>, "only plain records are cleared bytewise");
    std::memset(static_cast<void*>(elements), 0, count * sizeof(T));
}

// Clears each chunk of the level layout, visited for every kind. Room slots (about 23 MB) and
// the lists only the reader fills are cleared as far as they are in use (every writer of an
// image keeps the rest zero); the lists a build rewrites, which it may leave filled past their
// count, and the two forms of boxes and items are cleared whole.
class ChunkClearer {
public:
    template <class T>
    void operator()(const BlockChunk<T>& c) {
        zeroBytes(*c.field);
    }

    template <class Count, class Element>
    void operator()(const ListChunk<Count, Element>& c) {
        const std::size_t used = c.rebuilt ? c.capacity : std::min<std::size_t>(*c.count, c.capacity);
        std::memset(static_cast<void*>(c.elements), 0, used * c.elementBytes);
        *c.count = 0;
    }

    template <class Count, class Short, class Long>
    void operator()(const TwoFormChunk<Count, Short, Long>& c) {
        zeroElements(c.inShort, c.capacity);
        zeroElements(c.inLong, c.capacity);
        *c.count = 0;
    }

    template <class Count, class Short, class Long>
    void operator()(const ZoneChunk<Count, Short, Long>& c) {
        zeroElements(c.inShort, c.capacity);
        zeroElements(c.inLong, c.capacity);
        *c.count = 0;
    }

    void operator()(const TexturePagesChunk<LevelImage>& c) {
        c.image->textileBytes = 0;
        c.image->textileCount = 0;
        // The blocks are emptied; their memory is kept for the next level read into this image.
        c.image->textiles8.clear();
        c.image->textiles16.clear();
    }

    void operator()(const RoomsChunk<LevelImage>& c) {
        const std::size_t used = std::min<std::size_t>(c.image->roomCount, kMaxLevelRooms);
        for (std::size_t i = 0; i < used; ++i) zeroBytes(c.image->rooms[i]);
        c.image->roomCount = 0;
    }

    void operator()(const SectorsChunk<SectorGrid>& c) { zeroBytes(*c.grid); }

    void operator()(const SamplesChunk<LevelImage>& c) {
        c.image->sampleBytes = 0;
        c.image->samples.clear();
    }
};

}  // namespace

void lowerRoomCount(LevelImage& image, int count) {
    if (count < 0 || count >= image.roomCount) return;
    const std::size_t used = std::min<std::size_t>(image.roomCount, kMaxLevelRooms);
    for (std::size_t i = static_cast<std::size_t>(count); i < used; ++i) zeroBytes(image.rooms[i]);
    image.roomCount = static_cast<std::uint16_t>(count);
}

void resetLevelImage(LevelImage& image) {
    ChunkClearer clearer;
    visitLevel(clearer, image, kEveryKind);
    image.version = 0;
    image.gameKind = 0;
}

}  // namespace cw
