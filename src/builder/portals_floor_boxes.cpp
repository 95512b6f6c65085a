#include "builder/portals_floor_boxes.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_records.h"
#include "project/project_rules.h"

namespace cw {

namespace {

constexpr std::int16_t w16(std::int64_t v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF)); }

std::string roomName(int number) { return "Room " + std::to_string(number); }

// room 0: the closing word after all rooms.
void appendFloorWord(LevelImage& image, std::uint16_t word, int room, int sector) {
    if (image.floorData.count >= kMaxFloorData) {
        const std::string where =
            room > 0 ? " (reached at " + roomName(room) + ", sector " + std::to_string(sector) + ")" : "";
        throw FormatError("The floor data of the level need more than " + std::to_string(kMaxFloorData) + " words" +
                          where + ". Use fewer side links.");
    }
    image.floorData.items[image.floorData.count++] = word;
}

}  // namespace

void convertPortals(const EditorRoom& editorRoom, LevelRoom& levelRoom, int roomNumber) {
    if (auto fault = portalCountFault(roomNumber, editorRoom.name.view(), editorRoom.portalCount)) {
        throw FormatError(fault->text);
    }
    static_assert(static_cast<std::size_t>(kMaxPortals) <= kMaxRoomPortals,
                  "a level room holds every portal of a project room");
    levelRoom.portalCount = static_cast<std::uint16_t>(editorRoom.portalCount);
    for (int p = 0; p < editorRoom.portalCount; ++p) {
        const Portal& src = editorRoom.portals[static_cast<std::size_t>(p)];
        RoomPortal& dst = levelRoom.portals[static_cast<std::size_t>(p)];
        if (auto fault = portalAnchorFault(roomNumber, editorRoom, p + 1)) throw FormatError(fault->text);
        dst.adjoiningRoom = static_cast<std::uint16_t>(src.targetRoom - 1);
        dst.normalX = dst.normalY = dst.normalZ = 0;
        // A face outside 1..6 leaves the normal zero and the corners as they were.
        if (const auto geometry = portalGeometry(src, editorRoom.grid)) {
            dst.normalX = geometry->normal[0];
            dst.normalY = geometry->normal[1];
            dst.normalZ = geometry->normal[2];
            for (std::size_t i = 0; i < 4; ++i) {
                const auto& c = geometry->corners[i];
                dst.corners[i] = {w16(c[0]), w16(c[1]), w16(c[2])};
            }
        }
    }
}

void buildFloorData(LevelImage& image, const Project& project, std::span<const std::uint8_t> floorDat) {
    const std::size_t words = floorDat.size() / 2;  // an odd last byte is not counted
    if (words > kMaxFloorData) {
        throw FormatError("The floor data file holds " + std::to_string(words) + " words; at most " +
                          std::to_string(kMaxFloorData) + " are supported.");
    }
    auto& fd = image.floorData;
    for (std::size_t i = 0; i < words; ++i)
        fd.items[i] = static_cast<std::uint16_t>(floorDat[2 * i] | (floorDat[2 * i + 1] << 8));
    fd.count = static_cast<std::uint32_t>(words);

    const int rooms = std::min<int>(image.roomCount, project.roomCount);
    for (int r = 1; r <= rooms; ++r) {
        LevelRoom& room = image.room(r);
        const EditorRoom& editorRoom = project.room(r);
        const int sectors = std::min(room.grid.numZ * room.grid.numX, kMaxSectors);
        for (int s = 1; s <= sectors; ++s) {
            if (editorRoom.sectors[static_cast<std::size_t>(s - 1)].linkMode != 2) continue;
            GameSector& g = room.grid.gameSectors[static_cast<std::size_t>(s - 1)];
            // A sector left in side-link mode whose link was cleared (the top view resets a
            // sector's room bytes but not its link mode) leads nowhere: a plain sector.
            if (g.roomAbove == kNoRoom) continue;
            const std::uint16_t sideRoom = g.roomAbove;
            g.roomAbove = kNoRoom;
            const std::uint16_t old = g.floorDataIndex;
            g.floorDataIndex = static_cast<std::uint16_t>(fd.count);
            if (old != 0) {
                // The sector's entries, two words each, up to the one marked last.
                const std::uint32_t end = fd.count;  // copy only from what was there before
                for (std::uint32_t at = old;; at += 2) {
                    if (at + 1 >= end) {
                        const int numZ = std::max<int>(room.grid.numZ, 1);
                        throw FormatError(
                            floorDataIndexFault(project, r, (s - 1) / numZ + 1, (s - 1) % numZ + 1, old, end));
                    }
                    const std::uint16_t first = fd.items[at];
                    const std::uint16_t second = fd.items[at + 1];
                    appendFloorWord(image, static_cast<std::uint16_t>(first & 0x7FFF), r, s);
                    appendFloorWord(image, second, r, s);
                    if ((first & 0x8000) != 0) break;
                }
            }
            appendFloorWord(image, 0x8001, r, s);
            appendFloorWord(image, sideRoom, r, s);
        }
    }
    appendFloorWord(image, 0, 0, 0);
    fd.items[0] = static_cast<std::uint16_t>(fd.count);
}

std::string floorDataIndexFault(const Project& project, int roomNumber, int x, int z, std::uint16_t index,
                                std::size_t words) {
    return roomMessageLabel(project, roomNumber) + ", " + sectorMessageLabel(x, z) + ": its floor data index " +
           std::to_string(index) + " does not point at a complete list of the floor data (" + std::to_string(words) +
           " words).";
}

void buildFloorData(LevelImage& image, const Project& project, const std::filesystem::path& floorDatPath) {
    const std::vector<std::uint8_t> bytes = readFile(floorDatPath);
    buildFloorData(image, project, bytes);
}

void buildBoxes(LevelImage& image) {
    image.boxCount = 0;
    image.overlaps.count = 0;
    image.zoneCount = 0;
    std::uint32_t base = 0;
    for (int r = 1; r <= image.roomCount; ++r) {
        LevelRoom& room = image.room(r);
        const int numZ = room.grid.numZ;
        const int numX = room.grid.numX;
        const int sectors = std::min(numZ * numX, kMaxSectors);
        std::array<std::int8_t, 256> seen{};
        std::size_t seenCount = 0;
        for (int i = 1; i <= sectors; ++i) {
            GameSector& g = room.grid.gameSectors[static_cast<std::size_t>(i - 1)];
            const int x = (i - 1) / std::max(numZ, 1) + 1;
            const int z = (i - 1) % std::max(numZ, 1) + 1;
            const bool border = x == 1 || x == numX || z == 1 || z == numZ;
            if (border && g.floor == g.ceiling) {
                g.boxIndex = 0xFFFF;
            } else {
                std::size_t p = static_cast<std::size_t>(
                    std::find(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(seenCount), g.floor) - seen.begin());
                if (p == seenCount) {
                    if (image.boxCount >= kMaxBoxes || image.overlaps.count >= kMaxOverlaps) {
                        throw FormatError("The level needs more than " + std::to_string(kMaxBoxes) +
                                          " boxes (one for each floor height of each room; reached at " + roomName(r) +
                                          "). Use fewer different floor heights or fewer rooms.");
                    }
                    seen[seenCount++] = g.floor;
                    BoxLong& box = image.boxesLong[image.boxCount];
                    box.zMin = room.roomInfo.z;
                    box.zMax = room.roomInfo.z + numZ * 1024;
                    box.xMin = room.roomInfo.x;
                    box.xMax = room.roomInfo.x + numX * 1024;
                    box.trueFloor = static_cast<std::int16_t>(g.floor * 255);
                    box.overlapIndex = 0;
                    ++image.boxCount;
                    image.overlaps.items[image.overlaps.count++] = static_cast<std::uint16_t>(image.boxCount - 1);
                    image.zonesShort[image.zoneCount++] = ShortZone{};
                }
                auto index = static_cast<std::uint16_t>(base + p);
                if (image.gameKind == kKindTR3) index = static_cast<std::uint16_t>(index << 4);
                g.boxIndex = index;
            }
            if (g.roomBelow != kNoRoom) g.boxIndex = 0xFFFF;
        }
        base += static_cast<std::uint32_t>(seenCount);
    }
    if (image.overlaps.count > 0) image.overlaps.items[image.overlaps.count - 1] |= 0x8000;
}

void finishGameForms(LevelImage& image) {
    for (int r = 1; r <= image.roomCount; ++r) finishRoomForms(image.room(r), image.gameKind);
    finishLevelForms(image);
}

void finishRoomForms(LevelRoom& room, int gameKind) {
    const bool tr3 = gameKind == kKindTR3;
    const std::size_t vertices = std::min<std::size_t>(room.vertexCount, kMaxRoomVertices);
    const bool wet = (room.roomFlags & (kRoomFlagWater | kRoomFlagSwamp)) != 0;
    for (std::size_t i = 0; i < vertices; ++i) {
        const ShortVertex& s = room.vertices[i];
        WideVertex& w = room.wideVertices[i];
        w.x = s.x;
        w.y = s.y;
        w.z = s.z;
        w.light = s.light;
        if (tr3) {
            const auto v = static_cast<std::uint16_t>(31 - (static_cast<std::uint16_t>(s.light) >> 8));
            w.light2 = static_cast<std::uint16_t>((v << 10) | (v << 5) | v);
            w.attributes = wet ? 0x2000 : 0x0010;
        } else {
            w.light2 = 0xFFFF;
            w.attributes = 0;
        }
    }
    room.ambient2 = tr3 ? 0 : -1;
    room.lightMode = 3;
}

void finishLevelForms(LevelImage& image) {
    const auto items = static_cast<std::int32_t>(image.itemCount);
    for (std::int32_t i = 0; i < items && i < static_cast<std::int32_t>(kMaxItems); ++i) {
        const ItemShort& s = image.itemsShort[static_cast<std::size_t>(i)];
        ItemLong& l = image.itemsLong[static_cast<std::size_t>(i)];
        l = toLongItem(s, l.intensity2);  // its second intensity is kept
    }
    for (std::size_t b = 0; b < image.boxCount && b < kMaxBoxes; ++b) {
        const BoxLong& l = image.boxesLong[b];
        BoxShort& s = image.boxesShort[b];
        s.zMin = static_cast<std::uint8_t>(l.zMin / 1024);
        s.zMax = static_cast<std::uint8_t>(l.zMax / 1024);
        s.xMin = static_cast<std::uint8_t>(l.xMin / 1024);
        s.xMax = static_cast<std::uint8_t>(l.xMax / 1024);
        s.trueFloor = l.trueFloor;
        s.overlapIndex = l.overlapIndex;
    }
    for (std::size_t z = 0; z < image.zoneCount && z < kMaxBoxes; ++z) image.zonesLong[z] = LongZone{};
}

}  // namespace cw
