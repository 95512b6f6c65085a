#pragma once
// Reading and writing the records whose file form differs from their form in memory, and the
// conversions between the short and long forms of an item.
#include "common/binio.h"
#include "levelfile/level_image.h"

namespace cw {

// 22 bytes in files: type, room, x, y, z, angle, intensity, flags.
ItemShort readItemShort(ByteReader& in);
void writeItemShort(ByteWriter& out, const ItemShort& item);
// 24 bytes in files: the short fields with intensity2 before the flags.
ItemLong readItemLong(ByteReader& in);

// The long form of a short item; intensity2, which the short form lacks, is given.
constexpr ItemLong toLongItem(const ItemShort& s, std::int16_t intensity2) {
    return ItemLong{s.type, s.room, s.x, s.y, s.z, s.angle, s.intensity, intensity2, s.flags};
}
// The short form of a long item (intensity2 dropped).
constexpr ItemShort toShortItem(const ItemLong& l) {
    return ItemShort{l.type, l.room, l.x, l.y, l.z, l.angle, l.intensity, l.flags};
}

}  // namespace cw
