#include "levelfile/level_image.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

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

// Lists only the reader fills hold zeros past their count; the part in use is cleared.
template <std::size_t ElementBytes, std::size_t Capacity>
void zeroUsed(OpaqueList<ElementBytes, Capacity>& list) {
    std::memset(list.bytes.data(), 0, std::min<std::size_t>(list.count, Capacity) * ElementBytes);
    list.count = 0;
}
template <class T, std::size_t Capacity>
void zeroUsed(RecordList<T, Capacity>& list) {
    std::memset(static_cast<void*>(list.items.data()), 0, std::min<std::size_t>(list.count, Capacity) * sizeof(T));
    list.count = 0;
}

}  // namespace

void lowerRoomCount(LevelImage& image, int count) {
    if (count < 0 || count >= image.roomCount) return;
    const std::size_t used = std::min<std::size_t>(image.roomCount, kMaxLevelRooms);
    for (std::size_t i = static_cast<std::size_t>(count); i < used; ++i) zeroBytes(image.rooms[i]);
    image.roomCount = static_cast<std::uint16_t>(count);
}

void resetLevelImage(LevelImage& image) {
    // Room slots (about 23 MB) and the lists only the reader fills are cleared as far as they
    // are in use; the lists and tables a build rewrites are cleared whole.
    const std::size_t usedRooms = std::min<std::size_t>(image.roomCount, kMaxLevelRooms);
    for (std::size_t i = 0; i < usedRooms; ++i) zeroBytes(image.rooms[i]);

    image.version = 0;
    image.gameKind = 0;
    image.textileBytes = 0;
    image.textileCount = 0;
    // The blocks are emptied; their memory is kept for the next level read into this image.
    image.textiles8.clear();
    image.textiles16.clear();
    zeroBytes(image.reservedDword);
    image.roomCount = 0;

    zeroBytes(image.floorData);
    zeroUsed(image.meshData);
    zeroUsed(image.meshPointers);
    zeroUsed(image.animations);
    zeroUsed(image.stateChanges);
    zeroUsed(image.animDispatches);
    zeroUsed(image.animCommands);
    zeroUsed(image.meshTree);
    zeroUsed(image.frames);
    zeroUsed(image.moveables);
    zeroUsed(image.staticMeshes);
    zeroUsed(image.objectTextures);
    zeroUsed(image.spriteTextures);
    zeroUsed(image.spriteSequences);
    zeroBytes(image.cameras);
    zeroUsed(image.soundSources);
    image.boxCount = 0;
    zeroBytes(image.boxesLong);
    zeroBytes(image.boxesShort);
    zeroBytes(image.overlaps);
    image.zoneCount = 0;
    zeroBytes(image.zonesShort);
    zeroBytes(image.zonesLong);
    zeroUsed(image.animatedTextures);
    image.itemCount = 0;
    zeroBytes(image.itemsShort);
    zeroBytes(image.itemsLong);
    zeroBytes(image.lightMap);
    zeroBytes(image.palette);
    zeroBytes(image.palette16);
    zeroUsed(image.cinematicFrames);
    zeroUsed(image.demoData);
    zeroBytes(image.soundMap);
    zeroUsed(image.soundDetails);
    image.sampleBytes = 0;
    image.samples.clear();
    zeroUsed(image.sampleIndices);
}

}  // namespace cw
