#include "project/project_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"
#include "project/project_rules.h"

namespace cw {

namespace {

constexpr std::size_t kRoomsMinimumBytes = kRoomFixedBytes + 4 + kRoomTrailerBytes;

void report(const ProgressFn& progress, int position) {
    if (progress) progress(position);
}

std::size_t roomFileSize(const EditorRoom& room) {
    const std::size_t sectors = std::size_t(room.numZ()) * room.numX();
    return kRoomFixedBytes + sectors * (kGameSectorFileBytes + kSectorFileBytes) + 4 +
           std::size_t(std::max(room.portalCount, 0)) * kPortalFileBytes + kRoomTrailerBytes;
}

// --- Writing ----------------------------------------------------------------------------------

template <std::size_t N>
void writeText(ByteWriter& w, const PString<N>& text) {
    const std::string_view s = text.view();
    w.u8(static_cast<std::uint8_t>(s.size()));
    w.write(s.data(), s.size());
    w.zeros(N - s.size());
}

void writeSector(ByteWriter& w, const Sector& s) {
    w.u8(s.floorShape);
    w.u8(s.ceilingShape);
    w.u8(s.floorSlopeKind);
    w.u8(s.ceilingSlopeKind);
    for (std::int32_t t : s.floorTextures) w.i32(t);
    w.write(s.floorLights.data(), s.floorLights.size());
    for (std::int32_t t : s.ceilingTextures) w.i32(t);
    w.write(s.ceilingLights.data(), s.ceilingLights.size());
    w.write(s.spare1.data(), s.spare1.size());
    w.i32(s.linkMode);
    w.write(s.spare2.data(), s.spare2.size());
}

void writeGameSector(ByteWriter& w, const GameSector& g) {
    w.u16(g.floorDataIndex);
    w.u16(g.boxIndex);
    w.u8(g.roomBelow);
    w.i8(g.floor);
    w.u8(g.roomAbove);
    w.i8(g.ceiling);
}

void writePortal(ByteWriter& w, const Portal& p) {
    w.u8(p.face);
    w.i16(p.targetRoom);
    w.i32(p.width);
    w.i32(p.length);
    w.i32(p.row);
    w.i32(p.column);
}

void writeRoom(ByteWriter& w, const EditorRoom& room) {
    w.i32(room.posX);
    w.i32(room.posY);
    writeText(w, room.name);
    w.u8(room.floorLevel);
    w.u8(room.ceilingLevel);
    // Default textures are i16 in the file: the low 16 bits.
    for (std::int32_t t : room.defaultFloorTextures) w.i16(static_cast<std::int16_t>(t));
    for (std::int32_t t : room.defaultCeilingTextures) w.i16(static_cast<std::int16_t>(t));
    w.u8(room.roomLight);
    w.i32(room.itemLight);
    w.u8(room.water);
    w.u8(room.windRain);
    w.u8(room.swamp);
    w.u8(room.sky);
    w.write(room.reserved.data(), room.reserved.size());
    w.u16(room.numZ());
    w.u16(room.numX());
    const std::size_t count = std::size_t(room.numZ()) * room.numX();
    for (std::size_t k = 0; k < count; ++k) writeGameSector(w, room.grid.gameSectors[k]);
    for (std::size_t k = 0; k < count; ++k) writeSector(w, room.sectors[k]);
    w.i32(room.portalCount);
    for (int p = 0; p < room.portalCount; ++p) writePortal(w, room.portals[static_cast<std::size_t>(p)]);
    w.zeros(kRoomTrailerBytes);
}

// Refuses what a file could not hold or would not load again: the first fault the saver refuses.
void checkSavable(const Project& project) {
    const std::vector<ProjectFault> faults = projectFaults(project, RuleUser::Saver);
    if (!faults.empty()) throw FormatError(std::string(kSaveRefused) + " " + faults.front().text);
}

// --- Reading ----------------------------------------------------------------------------------

template <std::size_t N>
void readText(ByteReader& r, PString<N>& text) {
    auto field = r.record<PString<N>::storedBytes>();
    const std::uint8_t length = field.u8();
    const auto chars = field.take(N);
    std::string_view read(reinterpret_cast<const char*>(chars.data()), std::min<std::size_t>(length, N));
    // A length byte past the field's capacity is clamped to it; the text then ends where the
    // field's zero padding begins, so that no padding becomes part of a name or path.
    if (length > N) read = read.substr(0, read.find('\0'));
    text.assign(read);
}

// Each record is read whole (one check of the file's bytes) and then taken apart; every field of
// the record in memory is written, so nothing needs clearing first.
// The editor sector in memory holds the file's fields in the file's order, in three runs with no
// padding inside them (front: shapes, slope kinds, floor textures and lights; middle: ceiling
// textures and lights, spare1; back: linkMode, spare2): each run is copied in one piece.
struct SectorRun {
    std::size_t memoryOffset;
    std::size_t bytes;
};
constexpr std::array<SectorRun, 3> kSectorRuns = {{{offsetof(Sector, floorShape), 29},
                                                   {offsetof(Sector, ceilingTextures), 29},
                                                   {offsetof(Sector, linkMode), 44}}};
static_assert(std::is_standard_layout_v<Sector> && std::is_trivially_copyable_v<Sector>);
static_assert(offsetof(Sector, floorShape) == 0 && offsetof(Sector, ceilingShape) == 1 &&
                  offsetof(Sector, floorSlopeKind) == 2 && offsetof(Sector, ceilingSlopeKind) == 3 &&
                  offsetof(Sector, floorTextures) == 4 && offsetof(Sector, floorLights) == 24 &&
                  sizeof(Sector::floorLights) == 5,
              "front run: file bytes 0..28");
static_assert(offsetof(Sector, ceilingLights) - offsetof(Sector, ceilingTextures) == 20 &&
                  offsetof(Sector, spare1) - offsetof(Sector, ceilingTextures) == 25 && sizeof(Sector::spare1) == 4,
              "middle run: file bytes 29..57");
static_assert(offsetof(Sector, spare2) - offsetof(Sector, linkMode) == 4 && sizeof(Sector::spare2) == 40,
              "back run: file bytes 58..101");
static_assert(kSectorRuns[0].bytes + kSectorRuns[1].bytes + kSectorRuns[2].bytes == kSectorFileBytes);

void readSector(ByteReader& r, Sector& s) {
    auto f = r.record<kSectorFileBytes>();
    for (const SectorRun& run : kSectorRuns) f.read(reinterpret_cast<std::uint8_t*>(&s) + run.memoryOffset, run.bytes);
}

// The game's sectors lie in the file as in memory (the game's 8-byte record): one read.
static_assert(sizeof(GameSector) == kGameSectorFileBytes && std::is_trivially_copyable_v<GameSector>);
void readGameSectors(ByteReader& r, GameSector* sectors, std::size_t count) {
    r.read(sectors, count * kGameSectorFileBytes);
}

void readPortal(ByteReader& r, Portal& p) {
    auto f = r.record<kPortalFileBytes>();
    p.face = f.u8();
    p.targetRoom = f.i16();
    p.width = f.i32();
    p.length = f.i32();
    p.row = f.i32();
    p.column = f.i32();
}

// The reader's refusal of a fault of the project it reads.
[[noreturn]] void refuseToLoad(const ByteReader& r, const ProjectFault& fault) {
    throw FormatError(r.what() + " " + kLoadRefused + " " + fault.text);
}

// Reads room `number` into its slot in place: every field the file holds is written, and what
// it does not hold (the fields of later versions, the sectors and portals past the counts) is
// set to zero, as in an emptied room.
void readRoom(ByteReader& r, EditorRoom& room, int version, int number) {
    room.posX = r.i32();
    room.posY = r.i32();
    readText(r, room.name);
    room.floorLevel = r.u8();
    room.ceilingLevel = r.u8();
    for (std::int32_t& t : room.defaultFloorTextures) t = r.i16();  // widened with its sign
    for (std::int32_t& t : room.defaultCeilingTextures) t = r.i16();
    room.roomLight = r.u8();
    room.itemLight = r.i32();
    room.water = r.u8();
    room.windRain = version > 1 ? r.u8() : 0;
    room.swamp = version > 1 ? r.u8() : 0;
    room.sky = 0;
    room.reserved.fill(0);
    if (version > 2) {
        room.sky = r.u8();
        r.read(room.reserved.data(), room.reserved.size());
    }
    const std::uint16_t numZ = r.u16();
    const std::uint16_t numX = r.u16();
    if (auto fault = roomSizeFault(number, room.name.view(), numX, numZ)) refuseToLoad(r, *fault);
    room.grid.numZ = numZ;
    room.grid.numX = numX;
    const std::size_t count = std::size_t(numZ) * numX;
    r.need(count * (kGameSectorFileBytes + kSectorFileBytes));
    readGameSectors(r, room.grid.gameSectors.data(), count);
    std::fill(room.grid.gameSectors.begin() + static_cast<std::ptrdiff_t>(count), room.grid.gameSectors.end(),
              GameSector{});
    for (std::size_t k = 0; k < count; ++k) readSector(r, room.sectors[k]);
    std::fill(room.sectors.begin() + static_cast<std::ptrdiff_t>(count), room.sectors.end(), Sector{});
    const std::int32_t portals = r.i32();
    if (auto fault = portalCountFault(number, room.name.view(), portals)) refuseToLoad(r, *fault);
    room.portalCount = portals;
    r.need(std::size_t(portals) * kPortalFileBytes);
    for (std::int32_t p = 0; p < portals; ++p) readPortal(r, room.portals[static_cast<std::size_t>(p)]);
    std::fill(room.portals.begin() + portals, room.portals.end(), Portal{});
    r.skip(kRoomTrailerBytes);
}

int parse(ByteReader& r, Project& out, const ProgressFn& progress) {
    auto head = r.record<kProjectMagic.size()>();
    const auto magic = head.take(kProjectMagic.size());
    if (!std::equal(magic.begin(), magic.end(), kProjectMagic.begin())) {
        throw FormatError(r.what() + " is not a Cairnwork project: it does not begin with \"Vellorn CWp file\"");
    }
    int version = r.u8();
    if (version > kProjectFileVersion) version = kProjectFileVersion;
    if (version == 0) version = 1;
    report(progress, 30);

    clearProjectExceptRooms(out);
    readText(r, out.levelDescription);
    readText(r, out.comment);
    readText(r, out.baseLevelPath);
    if (version > 2) {
        readText(r, out.itemsFilePath);
        readText(r, out.lightsFilePath);
    }
    if (version > 1) readText(r, out.outputLevelPath);
    const std::uint8_t currentRoom = r.u8();
    const std::uint8_t roomCount = r.u8();
    if (auto fault = roomCountFault(roomCount)) refuseToLoad(r, *fault);
    r.need(std::size_t(roomCount) * kRoomsMinimumBytes);
    if (auto fault = currentRoomFault(currentRoom, roomCount)) refuseToLoad(r, *fault);
    for (int n = 1; n <= roomCount; ++n) {
        readRoom(r, out.room(n), version, n);
        out.roomCount = static_cast<std::uint8_t>(n);
    }
    for (int n = roomCount + 1; n <= kMaxRooms; ++n) clearRoom(out.room(n));
    // A project without rooms always has room 1 as its current room.
    out.currentRoom = roomCount > 0 ? currentRoom : 1;
    report(progress, 90);
    r.skip(kProjectTrailerBytes);

    if (out.roomCount > 0) {
        out.planX = out.current().posX;
        out.planY = out.current().posY;
    }
    report(progress, 100);
    return version;
}

}  // namespace

std::size_t projectFileSize(const Project& project) {
    std::size_t size = kProjectHeaderBytes + kProjectTrailerBytes;
    for (int n = 1; n <= std::min<int>(project.roomCount, kMaxRooms); ++n) size += roomFileSize(project.room(n));
    return size;
}

std::vector<std::uint8_t> serializeProject(const Project& project) {
    checkSavable(project);
    ByteWriter w(projectFileSize(project));
    w.write(kProjectMagic.data(), kProjectMagic.size());
    w.u8(static_cast<std::uint8_t>(kProjectFileVersion));
    writeText(w, project.levelDescription);
    writeText(w, project.comment);
    writeText(w, project.baseLevelPath);
    writeText(w, project.itemsFilePath);
    writeText(w, project.lightsFilePath);
    writeText(w, project.outputLevelPath);
    w.u8(project.currentRoom);
    w.u8(project.roomCount);
    for (int n = 1; n <= project.roomCount; ++n) writeRoom(w, project.room(n));
    w.zeros(kProjectTrailerBytes);
    return w.take();
}

int parseProject(std::span<const std::uint8_t> bytes, Project& out, const std::string& what,
                 const ProgressFn& progress) {
    ByteReader r(bytes, what);
    return parse(r, out, progress);
}

int loadProject(const std::filesystem::path& path, Project& out, const ProgressFn& progress) {
    report(progress, 10);
    const std::string what = "Project file \"" + pathText(path) + "\"";
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    // Without a size (not a regular file, or gone) the whole-file read says what is wrong.
    if (ec) return parseProject(readFile(path), out, what, progress);
    if (size > kLargestProjectFileBytes) {
        throw FormatError(what + " has " + std::to_string(size) + " bytes, more than the largest project (" +
                          std::to_string(kLargestProjectFileBytes) + " bytes)");
    }
    // Parsed straight from the file, through the reader's buffer.
    const FileHandle file = openFileForReading(path);
    ByteReader r(file.get(), static_cast<std::size_t>(size), what);
    try {
        return parse(r, out, progress);
    } catch (const std::runtime_error&) {  // IoError or FormatError: a failed read names itself
        if (std::ferror(file.get())) failedToRead(path);
        throw;
    }
}

void saveProject(const Project& project, const std::filesystem::path& path, const ProgressFn& progress) {
    report(progress, 10);
    const std::vector<std::uint8_t> bytes = serializeProject(project);
    report(progress, 30);
    writeFileAtomically(path, bytes);
    report(progress, 100);
}

static_assert(std::is_nothrow_move_assignable_v<Project>, "adopting a loaded project cannot fail");

void adoptProject(Project& target, Project& loaded) noexcept {
    if (&target == &loaded) return;
    target = std::move(loaded);
    clearProject(loaded);
}

}  // namespace cw
