#include "levelfile/level_records.h"

namespace cw {

ItemShort readItemShort(ByteReader& in) {
    ItemShort item;
    item.type = in.i16();
    item.room = in.i16();
    item.x = in.i32();
    item.y = in.i32();
    item.z = in.i32();
    item.angle = in.i16();
    item.intensity = in.i16();
    item.flags = in.u16();
    return item;
}

void writeItemShort(ByteWriter& out, const ItemShort& item) {
    out.i16(item.type);
    out.i16(item.room);
    out.i32(item.x);
    out.i32(item.y);
    out.i32(item.z);
    out.i16(item.angle);
    out.i16(item.intensity);
    out.u16(item.flags);
}

void readRecords(ByteReader& in, ItemShort* dst, std::size_t count, std::size_t /*fileBytes*/) {
    for (std::size_t i = 0; i < count; ++i) dst[i] = readItemShort(in);
}

void writeRecords(ByteWriter& out, const ItemShort* src, std::size_t count, std::size_t /*fileBytes*/) {
    for (std::size_t i = 0; i < count; ++i) writeItemShort(out, src[i]);
}

ItemLong readItemLong(ByteReader& in) {
    const ItemShort head = [&] {
        ItemShort s;
        s.type = in.i16();
        s.room = in.i16();
        s.x = in.i32();
        s.y = in.i32();
        s.z = in.i32();
        s.angle = in.i16();
        s.intensity = in.i16();
        return s;
    }();
    const std::int16_t intensity2 = in.i16();
    ItemLong item = toLongItem(head, intensity2);
    item.flags = in.u16();
    return item;
}

}  // namespace cw
