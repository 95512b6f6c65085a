#include "levelfile/level_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_layout.h"
#include "levelfile/level_records.h"

namespace cw {

namespace {

[[noreturn]] void failCapacity(std::uint64_t count, std::uint64_t capacity, const std::string& list) {
    throw FormatError("Level has " + std::to_string(count) + " " + list + "; at most " + std::to_string(capacity) +
                      " are supported");
}

// Checks every count of the level layout against its capacity, and every block against its
// size, before anything is written (FormatError naming the first that does not fit).
class ChunkChecker {
public:
    template <class T>
    void operator()(const BlockChunk<T>& /*chunk*/) {}

    template <class Count, class Element>
    void operator()(const ListChunk<Count, Element>& c) {
        requireCapacity(*c.count, c.capacity, c.name, c.room);
    }

    template <class Count, class Short, class Long>
    void operator()(const TwoFormChunk<Count, Short, Long>& c) {
        requireCapacity(*c.count, c.capacity, c.name, c.room);
    }

    // The zones follow the box count, which has been checked against the same capacity.
    template <class Count, class Short, class Long>
    void operator()(const ZoneChunk<Count, Short, Long>& /*chunk*/) {}

    void operator()(const TexturePagesChunk<const LevelImage>& c) {
        const LevelImage& image = *c.image;
        const std::uint64_t bytes8 = std::uint64_t{image.textileCount} * 65536;
        const std::uint64_t bytes16 = std::uint64_t{image.textileCount} * 131072;
        if (image.textileBytes != bytes8 || image.textiles8.size() < bytes8 ||
            (c.withWidePages && image.textiles16.size() < bytes16)) {
            throw FormatError("Level has " + std::to_string(image.textileCount) + " texture pages but holds " +
                              std::to_string(image.textiles8.size()) + " bytes of 8-bit pages and " +
                              std::to_string(image.textiles16.size()) + " bytes of 16-bit pages");
        }
    }

    void operator()(const RoomsChunk<const LevelImage>& c) {
        requireCapacity(c.image->roomCount, kMaxLevelRooms, c.name, 0);
    }

    void operator()(const SectorsChunk<const SectorGrid>& c) {
        requireCapacity(std::uint32_t{c.grid->numZ} * c.grid->numX, kMaxSectors, c.name, c.room);
    }

    void operator()(const SamplesChunk<const LevelImage>& c) {
        const LevelImage& image = *c.image;
        if (image.samples.size() < image.sampleBytes) {
            throw FormatError("Level has " + std::to_string(image.sampleBytes) +
                              " bytes of sound samples but holds only " + std::to_string(image.samples.size()));
        }
    }

private:
    static void requireCapacity(std::uint64_t count, std::uint64_t capacity, std::string_view name, int room) {
        if (count > capacity) failCapacity(count, capacity, listName(name, room));
    }
};

void checkLevel(const LevelImage& image, int kind) {
    ChunkChecker checker;
    visitLevel(checker, image, kind);
}

// Writes each chunk of the level layout from its place in the image.
class ChunkWriter {
public:
    explicit ChunkWriter(ByteWriter& out) : out_(out) {}

    template <class T>
    void operator()(const BlockChunk<T>& c) {
        out_.write(c.field, c.bytes);
    }

    template <class Count, class Element>
    void operator()(const ListChunk<Count, Element>& c) {
        writeCount(c.countBytes, *c.count);
        writeRecords(out_, c.elements, *c.count, c.elementBytes);
    }

    template <class Count, class Short, class Long>
    void operator()(const TwoFormChunk<Count, Short, Long>& c) {
        writeCount(c.countBytes, *c.count);
        if (c.longInFile) {
            writeRecords(out_, c.inLong, *c.count, c.longBytes);
        } else {
            writeRecords(out_, c.inShort, *c.count, c.shortBytes);
        }
    }

    template <class Count, class Short, class Long>
    void operator()(const ZoneChunk<Count, Short, Long>& c) {
        if (c.longInFile) {
            writeRecords(out_, c.inLong, *c.count, sizeof(Long));
        } else {
            writeRecords(out_, c.inShort, *c.count, sizeof(Short));
        }
    }

    void operator()(const TexturePagesChunk<LevelImage>& c) {
        const LevelImage& image = *c.image;
        out_.u32(image.textileCount);
        out_.write(image.textiles8.data(), image.textileBytes);
        if (c.withWidePages) out_.write(image.textiles16.data(), std::size_t{image.textileCount} * 131072);
    }

    void operator()(const RoomsChunk<LevelImage>& c) { out_.u16(c.image->roomCount); }

    void operator()(const SectorsChunk<SectorGrid>& c) {
        out_.u16(c.grid->numZ);
        out_.u16(c.grid->numX);
        writeRecords(out_, c.grid->gameSectors.data(), std::size_t{c.grid->numZ} * c.grid->numX, sizeof(GameSector));
    }

    void operator()(const SamplesChunk<LevelImage>& c) {
        out_.u32(c.image->sampleBytes);
        out_.write(c.image->samples.data(), c.image->sampleBytes);
    }

private:
    void writeCount(unsigned countBytes, std::uint32_t count) {
        if (countBytes == 2) {
            out_.u16(static_cast<std::uint16_t>(count));
        } else {
            out_.u32(count);
        }
    }

    ByteWriter& out_;
};

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
    // The two values the writer computes; everything else is written as the image holds it.
    // The sink is made big enough for the blocks, the rooms' meshes and sectors, and the
    // level-wide lists; it grows if that is not enough.
    const bool isLong = isLongForm(outputKind);
    std::size_t rooms = 0;
    for (int r = 1; r <= image.roomCount; ++r) {
        LevelRoom& room = image.room(r);
        room.roomInfo.dataWords = roomDataWords(room, isLong);
        rooms += 2u * roomDataWords(room, true) + 8u * room.grid.numZ * room.grid.numX + 32u * room.portalCount + 1024u;
    }
    image.zoneCount = image.boxCount;  // one zone per box, with no count of their own in the file
    ByteWriter out(image.textiles8.size() + image.textiles16.size() + image.samples.size() + rooms + (std::size_t{2} << 20));
    out.u32(image.version);
    ChunkWriter writer(out);
    visitLevel(writer, image, outputKind);
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
