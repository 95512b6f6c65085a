#pragma once
// Reading and writing the records of a level file in their file form, and the conversions
// between the short and long forms of a vertex and of an item.
#include <cstddef>
#include <type_traits>

#include "common/binio.h"
#include "levelfile/level_image.h"

namespace cw {

// Reads count records of fileBytes each into dst. A record whose memory form is its file form
// (every one but ItemShort, and the bytes of opaque lists) is read as one block.
template <class T>
void readRecords(ByteReader& in, T* dst, std::size_t count, std::size_t fileBytes) {
    static_assert(std::is_trivially_copyable_v<T>);
    in.read(dst, count * fileBytes);
}
void readRecords(ByteReader& in, ItemShort* dst, std::size_t count, std::size_t fileBytes);

// Writes count records of fileBytes each from src, as readRecords reads them.
template <class T>
void writeRecords(ByteWriter& out, const T* src, std::size_t count, std::size_t fileBytes) {
    static_assert(std::is_trivially_copyable_v<T>);
    out.write(src, count * fileBytes);
}
void writeRecords(ByteWriter& out, const ItemShort* src, std::size_t count, std::size_t fileBytes);

// 22 bytes in files: type, room, x, y, z, angle, intensity, flags.
ItemShort readItemShort(ByteReader& in);
void writeItemShort(ByteWriter& out, const ItemShort& item);
// 24 bytes in files: the short fields with intensity2 before the flags.
ItemLong readItemLong(ByteReader& in);

// The wide form of a short vertex, as a short-kind file implies it: attributes 16 and light2
// 0x3DEF.
constexpr WideVertex toWideVertex(const ShortVertex& v) { return WideVertex{v.x, v.y, v.z, v.light, 16, 0x3DEF}; }
// The short form of a wide vertex (attributes and light2 dropped).
constexpr ShortVertex toShortVertex(const WideVertex& w) { return ShortVertex{w.x, w.y, w.z, w.light}; }

// The long form of a short item; intensity2, which the short form lacks, is given.
constexpr ItemLong toLongItem(const ItemShort& s, std::int16_t intensity2) {
    return ItemLong{s.type, s.room, s.x, s.y, s.z, s.angle, s.intensity, intensity2, s.flags};
}
// The short form of a long item (intensity2 dropped).
constexpr ItemShort toShortItem(const ItemLong& l) {
    return ItemShort{l.type, l.room, l.x, l.y, l.z, l.angle, l.intensity, l.flags};
}

}  // namespace cw
