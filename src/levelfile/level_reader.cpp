#include "levelfile/level_reader.h"

#include <filesystem>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_layout.h"
#include "levelfile/level_records.h"

namespace cw {

namespace {

// The form of a record that a file does not hold, derived from the one it holds. Only vertices
// and items carry the same fields in both forms; the forms of other records are kept apart.
void deriveOtherForm(ShortVertex* shortForm, WideVertex* wideForm, std::size_t count, bool fromLong) {
    if (fromLong) {
        for (std::size_t i = 0; i < count; ++i) shortForm[i] = toShortVertex(wideForm[i]);
    } else {
        for (std::size_t i = 0; i < count; ++i) wideForm[i] = toWideVertex(shortForm[i]);
    }
}
void deriveOtherForm(ItemShort* shortForm, ItemLong* longForm, std::size_t count, bool fromLong) {
    if (fromLong) {
        for (std::size_t i = 0; i < count; ++i) shortForm[i] = toShortItem(longForm[i]);
    } else {
        for (std::size_t i = 0; i < count; ++i) longForm[i] = toLongItem(shortForm[i], 0);
    }
}
template <class Short, class Long>
void deriveOtherForm(Short* /*shortForm*/, Long* /*longForm*/, std::size_t /*count*/, bool /*fromLong*/) {}

// Reads each chunk of the level layout into its place in the image: its count is checked
// against its capacity, and its bytes against what is left, before anything is read for it.
// Records the chunk map when asked to.
class ChunkReader {
public:
    ChunkReader(ByteReader& in, std::vector<LevelChunk>* chunks) : in_(in), chunks_(chunks) {}

    void mark(std::string_view name, int room) const {
        if (chunks_ != nullptr && !name.empty()) chunks_->push_back({chunkName(name, room), in_.position()});
    }

    template <class T>
    void operator()(const BlockChunk<T>& c) {
        mark(c.name, c.room);
        in_.read(c.field, c.bytes);
    }

    template <class Count, class Element>
    void operator()(const ListChunk<Count, Element>& c) {
        mark(c.name, c.room);
        const std::uint32_t count = readCount(c.countBytes);
        requireCount(count, c.capacity, c.name, c.room, c.elementBytes);
        *c.count = static_cast<Count>(count);
        readRecords(in_, c.elements, count, c.elementBytes);
    }

    template <class Count, class Short, class Long>
    void operator()(const TwoFormChunk<Count, Short, Long>& c) {
        mark(c.name, c.room);
        const std::uint32_t count = readCount(c.countBytes);
        requireCount(count, c.capacity, c.name, c.room, c.longInFile ? c.longBytes : c.shortBytes);
        *c.count = static_cast<Count>(count);
        if (c.longInFile) {
            readRecords(in_, c.inLong, count, c.longBytes);
        } else {
            readRecords(in_, c.inShort, count, c.shortBytes);
        }
        deriveOtherForm(c.inShort, c.inLong, count, c.longInFile);
    }

    template <class Count, class Short, class Long>
    void operator()(const ZoneChunk<Count, Short, Long>& c) {
        // As many as there are boxes, whose count was checked against the same capacity.
        mark(c.name, 0);
        *c.count = *c.boxCount;
        if (c.longInFile) {
            readRecords(in_, c.inLong, *c.count, sizeof(Long));
        } else {
            readRecords(in_, c.inShort, *c.count, sizeof(Short));
        }
    }

    void operator()(const TexturePagesChunk<LevelImage>& c) {
        mark(c.name, 0);
        LevelImage& image = *c.image;
        const std::uint32_t count = in_.u32();
        // textileBytes is a u32, so at most 65535 pages; the pages must all be there before any
        // block is allocated for them.
        requireCount(count, 65535, c.name, 0, c.withWidePages ? 65536 + 131072 : 65536);
        image.textileCount = count;
        image.textileBytes = count * 65536u;
        image.textiles8.resize(std::size_t{count} * 65536);
        in_.read(image.textiles8.data(), image.textiles8.size());
        if (c.withWidePages) {
            image.textiles16.resize(std::size_t{count} * 131072);
            in_.read(image.textiles16.data(), image.textiles16.size());
        }
    }

    void operator()(const RoomsChunk<LevelImage>& c) {
        mark(c.name, 0);
        const std::uint16_t count = in_.u16();
        requireCount(count, kMaxLevelRooms, c.name, 0, 0);
        c.image->roomCount = count;
    }

    void operator()(const SectorsChunk<SectorGrid>& c) {
        mark(c.name, c.room);
        const std::uint16_t numZ = in_.u16();
        const std::uint16_t numX = in_.u16();
        const std::uint32_t count = std::uint32_t{numZ} * numX;
        requireCount(count, kMaxSectors, c.name, c.room, sizeof(GameSector));
        c.grid->numZ = numZ;
        c.grid->numX = numX;
        readRecords(in_, c.grid->gameSectors.data(), count, sizeof(GameSector));
    }

    void operator()(const SamplesChunk<LevelImage>& c) {
        mark(c.name, 0);
        LevelImage& image = *c.image;
        const std::uint32_t size = in_.u32();
        in_.need(size);
        image.sampleBytes = size;
        image.samples.resize(size);
        in_.read(image.samples.data(), size);
    }

private:
    std::uint32_t readCount(unsigned countBytes) { return countBytes == 2 ? in_.u16() : in_.u32(); }

    // Refuses a count above its capacity, naming the list; then makes sure its bytes are there.
    void requireCount(std::uint64_t count, std::size_t capacity, std::string_view name, int room,
                      std::size_t elementBytes) const {
        if (count > capacity) in_.requireCount(count, capacity, listName(name, room), elementBytes);
        in_.need(static_cast<std::size_t>(count * elementBytes));
    }

    ByteReader& in_;
    std::vector<LevelChunk>* chunks_;
};

std::uint8_t parse(ByteReader& in, LevelImage& image, std::string_view pathForKind, std::vector<LevelChunk>* chunks) {
    resetLevelImage(image);
    try {
        ChunkReader reader(in, chunks);
        reader.mark("version", 0);
        const std::uint32_t version = in.u32();
        const int kind = gameKind(version, pathForKind);
        if (kind == kKindNone) return kReadUnknownVersion;  // the image is still all zero
        image.version = version;
        image.gameKind = kind;
        visitLevel(reader, image, kind);
        reader.mark("end of level", 0);  // bytes after it, if any, are not read
        return kReadOk;
    } catch (...) {
        resetLevelImage(image);
        throw;
    }
}

}  // namespace

std::uint8_t parseLevel(std::span<const std::uint8_t> bytes, LevelImage& image, std::string_view pathForKind,
                        const std::string& what) {
    ByteReader in(bytes, what);
    return parse(in, image, pathForKind, nullptr);
}

std::uint8_t parseLevel(std::span<const std::uint8_t> bytes, LevelImage& image, std::string_view pathForKind,
                        const std::string& what, std::vector<LevelChunk>& chunks) {
    chunks.clear();
    ByteReader in(bytes, what);
    return parse(in, image, pathForKind, &chunks);
}

std::uint8_t readBaseLevel(LevelImage& image, const std::string& path) {
    // parse zero-fills the image first; the paths that never reach it do so here.
    const auto file = pathFromBytes(path);
    if (!fileExists(file)) {
        resetLevelImage(image);
        return kReadNoFile;
    }
    // The file is read as it is parsed, each block straight into its place in the image.
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    const FileHandle f = ec ? FileHandle() : openFile(file, "rb");
    if (!f) {
        resetLevelImage(image);
        throw IoError("Cannot open \"" + pathText(file) + "\"" + (ec ? ": " + ec.message() : std::string()));
    }
    ByteReader in(f.get(), static_cast<std::size_t>(size), "Base level \"" + pathText(file) + "\"");
    return parse(in, image, path, nullptr);
}

}  // namespace cw
