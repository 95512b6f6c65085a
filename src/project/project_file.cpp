#include "project/project_file.h"

#include <algorithm>
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
    const std::uint8_t length = r.u8();
    const auto chars = r.take(N);
    std::string_view read(reinterpret_cast<const char*>(chars.data()), std::min<std::size_t>(length, N));
    // A length byte past the field's capacity is clamped to it; the text then ends where the
    // field's zero padding begins, so that no padding becomes part of a name or path.
    if (length > N) read = read.substr(0, read.find('\0'));
    text.assign(read);
}

void readSector(ByteReader& r, Sector& s) {
    s.floorShape = r.u8();
    s.ceilingShape = r.u8();
    s.floorSlopeKind = r.u8();
    s.ceilingSlopeKind = r.u8();
    for (std::int32_t& t : s.floorTextures) t = r.i32();
    r.read(s.floorLights.data(), s.floorLights.size());
    for (std::int32_t& t : s.ceilingTextures) t = r.i32();
    r.read(s.ceilingLights.data(), s.ceilingLights.size());
    r.read(s.spare1.data(), s.spare1.size());
    s.linkMode = r.i32();
    r.read(s.spare2.data(), s.spare2.size());
}

void readGameSector(ByteReader& r, GameSector& g) {
    g.floorDataIndex = r.u16();
    g.boxIndex = r.u16();
    g.roomBelow = r.u8();
    g.floor = r.i8();
    g.roomAbove = r.u8();
    g.ceiling = r.i8();
}

void readPortal(ByteReader& r, Portal& p) {
    p.face = r.u8();
    p.targetRoom = r.i16();
    p.width = r.i32();
    p.length = r.i32();
    p.row = r.i32();
    p.column = r.i32();
}

// The reader's refusal of a fault of the project it reads.
[[noreturn]] void refuseToLoad(const ByteReader& r, const ProjectFault& fault) {
    throw FormatError(r.what() + " " + kLoadRefused + " " + fault.text);
}

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
    if (version > 1) {
        room.windRain = r.u8();
        room.swamp = r.u8();
    }
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
    for (std::size_t k = 0; k < count; ++k) readGameSector(r, room.grid.gameSectors[k]);
    for (std::size_t k = 0; k < count; ++k) readSector(r, room.sectors[k]);
    const std::int32_t portals = r.i32();
    if (auto fault = portalCountFault(number, room.name.view(), portals)) refuseToLoad(r, *fault);
    room.portalCount = portals;
    r.need(std::size_t(portals) * kPortalFileBytes);
    for (std::int32_t p = 0; p < portals; ++p) readPortal(r, room.portals[static_cast<std::size_t>(p)]);
    r.skip(kRoomTrailerBytes);
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
    const auto magic = r.take(kProjectMagic.size());
    if (!std::equal(magic.begin(), magic.end(), kProjectMagic.begin())) {
        throw FormatError(what + " is not a Cairnwork project: it does not begin with \"Vellorn CWp file\"");
    }
    int version = r.u8();
    if (version > kProjectFileVersion) version = kProjectFileVersion;
    if (version == 0) version = 1;
    report(progress, 30);

    clearProject(out);
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

int loadProject(const std::filesystem::path& path, Project& out, const ProgressFn& progress) {
    report(progress, 10);
    const std::string what = "Project file \"" + pathText(path) + "\"";
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kLargestProjectFileBytes) {
        throw FormatError(what + " has " + std::to_string(size) + " bytes, more than the largest project (" +
                          std::to_string(kLargestProjectFileBytes) + " bytes)");
    }
    const std::vector<std::uint8_t> bytes = readFile(path);
    return parseProject(bytes, out, what, progress);
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
