#include "project/sector_editing.h"

#include <algorithm>
#include <cstdint>

#include "project/room_view_layout.h"

namespace cw {

namespace {

constexpr int kMaxLevel = 255;
constexpr int kMaxLight = 255;
constexpr int kGap = 4;  // clicks kept between a floor and a ceiling that an edit pushes

int lineLimit(const EditorRoom& room, SideView view) {
    const int limit = view == SideView::FrontBack ? room.numZ() : room.numX();
    return std::min(limit, kMaxSectorsPerSide);
}
int indexLimit(const EditorRoom& room, SideView view) {
    const int limit = view == SideView::FrontBack ? room.numX() : room.numZ();
    return std::min(limit, kMaxSectorsPerSide);
}

bool inRoom(const EditorRoom& room, SectorPos p) {
    return inGrid(room.grid, p.x, p.z) && p.x <= kMaxSectorsPerSide && p.z <= kMaxSectorsPerSide;
}

// A slope kind past the table (a damaged record) counts as flat.
int tableKind(int kind) { return kind >= 0 && kind <= 8 ? kind : 0; }

std::uint16_t floorDataIndexOf(const Sector& s) {
    return standardFloorDataIndexTable()[static_cast<std::size_t>(tableKind(s.floorSlopeKind))]
                                        [static_cast<std::size_t>(tableKind(s.ceilingSlopeKind))];
}

// A room number of a link field as a GameSector byte: number - 1 in 8 bits (0 gives 255).
std::uint8_t linkByte(int roomNumber) { return static_cast<std::uint8_t>(roomNumber - 1); }

void writeLinks(GameSector& g, Sector& s, const LinkFields& links) {
    g.roomBelow = kNoRoom;
    g.roomAbove = kNoRoom;
    if (links.mode == 1) {
        g.roomBelow = linkByte(links.below);
        g.roomAbove = linkByte(links.above);
    } else {
        g.roomAbove = linkByte(links.beside);
    }
    s.linkMode = links.mode;
}

std::uint8_t lightByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, kMaxLight)); }

// Texture numbers as shown are the stored values + 1; kept inside 32 bits both ways.
std::int32_t storedTexture(int shown) { return static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t(shown) - 1, INT32_MIN)); }
int shownTexture(std::int32_t stored) { return static_cast<int>(std::min<std::int64_t>(std::int64_t(stored) + 1, INT32_MAX)); }

void writeFloorFaces(Sector& s, const FaceFields& f) {
    for (Face face : kAllFaces) {
        const auto i = static_cast<std::size_t>(face);
        s.floorTexture(face) = storedTexture(f.textures[i]);
        s.floorLight(face) = lightByte(f.lights[i]);
    }
}

void writeCeilingFaces(Sector& s, const FaceFields& f) {
    for (Face face : kAllFaces) {
        const auto i = static_cast<std::size_t>(face);
        s.ceilingTexture(face) = storedTexture(f.textures[i]);
        s.ceilingLight(face) = lightByte(f.lights[i]);
    }
}

enum class Surface { Floor, Ceiling };

int editSurface(EditorRoom& room, const SideEdit& edit, Surface surface) {
    if (edit.shape < 1 || edit.shape > kShapeCount) return 0;
    if (edit.index < 1 || edit.index > indexLimit(room, edit.view)) return 0;
    if (edit.cell < 1 || edit.cell > kSideViewRows) return 0;
    const ShapeEntry& shape = standardShapeTable()[edit.shape];
    const int first = std::max(edit.line, 1);
    const int last = std::min(edit.line + std::max(edit.lineCount, 0) - 1, lineLimit(room, edit.view));
    int edited = 0;
    for (int line = first; line <= last; ++line) {
        const SectorPos p = sideViewSector(edit.view, line, edit.index);
        if (!inRoom(room, p)) continue;
        Sector& s = sectorAt(room, p.x, p.z);
        if (!edit.facesOnly) {
            GameSector g = gameSectorAt(room.grid, p.x, p.z);
            const int floorLevel = byteToLevel(g.floor);
            const int ceilingLevel = byteToLevel(g.ceiling);
            if (surface == Surface::Floor) {
                const int level = floorLevelForCell(edit.cell, shape.thickness);
                g.floor = levelToByte(level);
                g.boxIndex = 0xFFFF;
                if (level > ceilingLevel) g.ceiling = levelToByte(std::min(level + kGap, kMaxLevel));
                s.floorShape = static_cast<std::uint8_t>(edit.shape);
                s.floorSlopeKind = static_cast<std::uint8_t>(shape.slopeKind);
            } else {
                const int level = ceilingLevelForCell(edit.cell, shape.thickness);
                g.ceiling = levelToByte(level);
                if (level < floorLevel) g.floor = levelToByte(std::max(level - kGap, 0));
                s.ceilingShape = static_cast<std::uint8_t>(edit.shape);
                s.ceilingSlopeKind = static_cast<std::uint8_t>(shape.slopeKind);
            }
            g.floorDataIndex = floorDataIndexOf(s);
            writeLinks(g, s, edit.fields.links);
            gameSectorAt(room.grid, p.x, p.z) = g;
        }
        if (surface == Surface::Floor) writeFloorFaces(s, edit.fields.floor);
        else writeCeilingFaces(s, edit.fields.ceiling);
        ++edited;
    }
    return edited;
}

}  // namespace

int linkModeOf(const LinkFields& links) { return links.beside != 0 ? 2 : 1; }

void besideFieldChanged(LinkFields& links) {
    links.above = 0;
    links.below = 0;
    links.mode = linkModeOf(links);
}

void aboveOrBelowFieldChanged(LinkFields& links) {
    links.beside = 0;
    links.mode = 1;
}

std::optional<std::string> linkCheckMessage(const Project& project, const LinkFields& links) {
    const auto refused = [&](int room) { return room != 0 && (room == project.currentRoom || room > project.roomCount); };
    if (refused(links.above)) return "Invalid Room above number!";
    if (refused(links.beside)) return "Invalid Room side number!";
    if (refused(links.below)) return "Invalid Room below number!";
    return std::nullopt;
}

// The views are drawn 2 pixels wider and higher than their grid: a front/back column x covers
// the pixels 16 (x - 1) + 1 .. 16 x, a left/right column z the pixels 16 (numZ - z) .. + 15 with
// numZ = (W - 2) / 16, and view cell v the rows B - 16 v .. B - 16 v + 15 with B = H - 1. A click
// acts on the cell drawn under it, from its first pixel to its last; what lies past the grid
// maps to 0 or to the limit + 1.
int sideViewIndex(SideView view, int px, int viewWidth) {
    if (view == SideView::FrontBack) return floorDiv(px - 1, kSideViewCell) + 1;
    const int columns = (viewWidth - 2) / kSideViewCell;
    return columns - floorDiv(px, kSideViewCell);
}

int sideViewCell(int py, int viewHeight) {
    const int bottom = viewHeight - 1;
    return floorDiv(bottom - py + kSideViewCell - 1, kSideViewCell);
}

std::string sideViewReadout(SideView view, int index, int cell) {
    const char* axis = view == SideView::FrontBack ? "X:" : "Z:";
    return axis + std::to_string(index) + " Y:" + std::to_string(4 * cell - 1);
}

int floorLevelForCell(int cell, int thickness) {
    return std::clamp(4 * cell - 1 - (4 - thickness), 0, kMaxLevel);
}

int ceilingLevelForCell(int cell, int thickness) { return std::clamp(4 * cell - 1 - thickness, 0, kMaxLevel); }

SectorPos sideViewSector(SideView view, int line, int index) {
    if (view == SideView::FrontBack) return {.x = index, .z = line};
    return {.x = line, .z = index};
}

int editFloor(EditorRoom& room, const SideEdit& edit) { return editSurface(room, edit, Surface::Floor); }

int editCeiling(EditorRoom& room, const SideEdit& edit) { return editSurface(room, edit, Surface::Ceiling); }

std::optional<SideFields> pickUpSector(const EditorRoom& room, SideView view, int line, int index) {
    if (line < 1 || line > lineLimit(room, view) || index < 1 || index > indexLimit(room, view)) return std::nullopt;
    const SectorPos p = sideViewSector(view, line, index);
    if (!inRoom(room, p)) return std::nullopt;
    const Sector& s = sectorAt(room, p.x, p.z);
    const GameSector& g = gameSectorAt(room.grid, p.x, p.z);
    SideFields f;
    for (Face face : kAllFaces) {
        const auto i = static_cast<std::size_t>(face);
        f.floor.textures[i] = shownTexture(s.floorTexture(face));
        f.floor.lights[i] = s.floorLight(face);
        f.ceiling.textures[i] = shownTexture(s.ceilingTexture(face));
        f.ceiling.lights[i] = s.ceilingLight(face);
    }
    // Room bytes come back as room numbers in 8 bits: 255 (none) reads 0.
    const auto roomNumber = [](std::uint8_t b) { return static_cast<std::uint8_t>(b + 1); };
    if (s.linkMode == 1) {
        f.links = {.above = roomNumber(g.roomAbove), .beside = 0, .below = roomNumber(g.roomBelow), .mode = 1};
    } else {
        f.links = {.above = 0, .beside = roomNumber(g.roomAbove), .below = 0, .mode = 1};
        besideFieldChanged(f.links);
    }
    return f;
}

}  // namespace cw
