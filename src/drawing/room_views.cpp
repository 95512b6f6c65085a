#include "drawing/room_views.h"

#include <algorithm>
#include <memory>

#include "common/files.h"
#include "raster/bmp.h"
#include "raster/draw.h"

namespace cw {

namespace {

constexpr int kGlyphSize = 16;
constexpr int kStripGlyphs = 10;

// The room's sizes as the views use them: never past the 32 x 32 grid.
int viewColumns(const EditorRoom& room) { return std::min<int>(room.numX(), kMaxSectorsPerSide); }
int viewRows(const EditorRoom& room) { return std::min<int>(room.numZ(), kMaxSectorsPerSide); }

bool sectorInGrid(const EditorRoom& room, int x, int z) {
    return x >= 1 && z >= 1 && x <= viewColumns(room) && z <= viewRows(room) &&
           sectorNumber(room.numZ(), x, z) <= kMaxSectors;
}

void cutSquare(const IndexedImage& strip, int square, IndexedImage& glyph) {
    CreateImage(glyph, kGlyphSize, kGlyphSize);
    const int top = kGlyphSize * (square - 1);
    // The rectangle is one row taller than a glyph; the 16-row destination cuts it off.
    CopyImageRect(strip, glyph, 0, top, kGlyphSize - 1, top + kGlyphSize, 0, 0);
}

// Shapes 11..16 slope along x and show the pictures of shapes 5..10.
void repeatSlopes(std::array<IndexedImage, kShapeCount + 1>& set) {
    for (int s = kStripGlyphs + 1; s <= kShapeCount; ++s) {
        CreateImage(set[s], kGlyphSize, kGlyphSize);
        CopyPixels(set[s - 6], set[s]);
    }
}

bool validShape(int shape) { return shape >= 1 && shape <= kShapeCount; }

}  // namespace

void cutFloorGlyphs(const IndexedImage& strip, ShapeGlyphs& glyphs) {
    for (int s = 1; s <= kStripGlyphs; ++s) cutSquare(strip, s, glyphs.floor[s]);
    repeatSlopes(glyphs.floor);
}

void cutCeilingGlyphs(const IndexedImage& strip, ShapeGlyphs& glyphs) {
    for (int s = 1; s <= kStripGlyphs; ++s) cutSquare(strip, kStripGlyphs + 1 - s, glyphs.ceiling[s]);
    repeatSlopes(glyphs.ceiling);
}

void loadShapeGlyphs(const std::filesystem::path& programFolder, ShapeGlyphs& glyphs) {
    IndexedImage strip;
    LoadBmp(findDataFile(programFolder, "shapes1.bmp"), strip);
    cutFloorGlyphs(strip, glyphs);
    LoadBmp(findDataFile(programFolder, "shapes2.bmp"), strip);
    cutCeilingGlyphs(strip, glyphs);
    FreeImage(strip);
}

void makeRoomViewImages(const EditorRoom& room, const PaletteBlock& palette, RoomViewImages& views) {
    const auto columns = static_cast<std::uint8_t>(viewColumns(room));
    const auto rows = static_cast<std::uint8_t>(viewRows(room));
    MakeGrid(kTopViewCell, kTopViewCell, rows, columns, kViewGrid, kViewBackground, views.topView);
    MakeGrid(kSideViewCell, kSideViewCell, kSideViewRows, rows, kViewGrid, kViewBackground, views.leftRight);
    MakeGrid(kSideViewCell, kSideViewCell, kSideViewRows, columns, kViewGrid, kViewBackground, views.frontBack);
    CreateImage(views.cell, kTopViewCell - 1, kTopViewCell - 1);
    views.topView.Palette = std::make_shared<PaletteBlock>(palette);
    views.leftRight.Palette = std::make_shared<PaletteBlock>(palette);
    views.frontBack.Palette = std::make_shared<PaletteBlock>(palette);
}

void drawTopView(const EditorRoom& room, RoomViewImages& views) {
    const int columns = viewColumns(room), rows = viewRows(room);
    DrawGrid(kTopViewCell, kTopViewCell, static_cast<std::uint8_t>(rows), static_cast<std::uint8_t>(columns),
             kViewGrid, kViewBackground, views.topView);
    for (int x = 1; x <= columns; ++x) {
        for (int z = 1; z <= rows; ++z) {
            if (!sectorInGrid(room, x, z)) continue;
            const GameSector& g = gameSectorAt(room.grid, x, z);
            FillImage(views.cell, g.floor == g.ceiling ? kViewGrid : kViewBackground);
            PutImage(views.cell, views.topView, 1 + kTopViewCell * (x - 1), 1 + kTopViewCell * (rows - z));
        }
    }
}

void drawSectorColumn(const EditorRoom& room, int x, int z, const ShapeGlyphs& glyphs, IndexedImage& view, int X) {
    if (!sectorInGrid(room, x, z)) return;
    const GameSector& g = gameSectorAt(room.grid, x, z);
    const Sector& s = sectorAt(room, x, z);
    const int bottom = static_cast<int>(view.Height) - 1;

    const int floorLevel = byteToLevel(g.floor);
    const int floorBlocks = floorLevel / 4;
    for (int k = 1; k <= floorBlocks; ++k) PutImageXor(glyphs.floor[1], view, X, bottom - kSideViewCell * k);
    if (validShape(s.floorShape)) {
        const double y = bottom - kSideViewCell * (floorBlocks + 1);
        if (g.roomBelow != kNoRoom || s.linkMode == 2) PutImageOr(glyphs.floor[s.floorShape], view, X, y);
        else PutImageXor(glyphs.floor[s.floorShape], view, X, y);
    }

    const int ceilingLevel = byteToLevel(g.ceiling);
    const int ceilingBlocks = kSideViewRows - 1 - ((ceilingLevel + 1) % 256) / 4;
    for (int k = 1; k <= ceilingBlocks; ++k) PutImageXor(glyphs.ceiling[1], view, X, 1 + kSideViewCell * (k - 1));
    if (validShape(s.ceilingShape)) {
        const double y = 1 + kSideViewCell * ceilingBlocks;
        if (g.roomAbove != kNoRoom && s.linkMode == 1) PutImageOr(glyphs.ceiling[s.ceilingShape], view, X, y);
        else PutImageXor(glyphs.ceiling[s.ceilingShape], view, X, y);
    }
}

int sideViewLine(int selectorValue, int limit) {
    if (limit < 1) return 1;
    return std::clamp(selectorValue, 1, limit);
}

void drawSideViews(const EditorRoom& room, const ShapeGlyphs& glyphs, int column, int row, RoomViewImages& views) {
    const int columns = viewColumns(room), rows = viewRows(room);

    const int x = sideViewLine(column, columns);
    DrawGrid(kSideViewCell, kSideViewCell, kSideViewRows, static_cast<std::uint8_t>(rows), kViewGrid, kViewBackground,
             views.leftRight);
    for (int z = 1; z <= rows; ++z) drawSectorColumn(room, x, z, glyphs, views.leftRight, kSideViewCell * (rows - z));

    const int z = sideViewLine(row, rows);
    DrawGrid(kSideViewCell, kSideViewCell, kSideViewRows, static_cast<std::uint8_t>(columns), kViewGrid,
             kViewBackground, views.frontBack);
    for (int xi = 1; xi <= columns; ++xi) {
        drawSectorColumn(room, xi, z, glyphs, views.frontBack, 1 + kSideViewCell * (xi - 1));
    }
}

void drawPortalMarks(const EditorRoom& room, RoomViewImages& views) {
    IndexedImage& top = views.topView;
    for (int p = 0; p < portalsInUse(room); ++p) {
        const Portal& portal = room.portals[static_cast<std::size_t>(p)];
        const std::int64_t across = std::int64_t(kTopViewCell) * portal.width - 1;
        std::int64_t w = 0, h = 0;
        switch (portal.face) {
            case 1:
            case 2:
                w = across;
                h = kTopViewCell;
                break;
            case 3:
            case 4:
                w = kTopViewCell;
                h = across;
                break;
            case 5:
            case 6:
                w = across;
                h = std::int64_t(kTopViewCell) * portal.length;
                break;
            default:
                continue;  // not a face a portal can lie in: no mark
        }
        // A mark never needs to be larger than the view it is drawn into.
        w = std::min<std::int64_t>(w, top.Width);
        h = std::min<std::int64_t>(h, top.Height);
        if (w <= 0 || h <= 0) continue;
        const double X = 1.0 + double(kTopViewCell) * (double(portal.column) - 1);
        const double Y = double(top.Height) - 21 - double(kTopViewCell) * (double(portal.row) - 1);
        CreateImage(views.portal, static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h));
        FillImage(views.portal, kPortalMark);
        PutImage(views.portal, top, X, Y);
    }
    FreeImage(views.portal);
}

}  // namespace cw
