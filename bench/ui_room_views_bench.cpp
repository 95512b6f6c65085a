// The room editor's whole redraw (RedrawRoomViews) on the largest room, 32 x 32 sectors:
// top view cells, both side views, portal marks, and the hand-over to the three screen bitmaps.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "drawing/room_views.h"
#include "raster/bmp.h"
#include "ui/screen_bitmap.h"

namespace {

struct LargestRoom {
    std::unique_ptr<cw::Project> project = std::make_unique<cw::Project>();
    cw::ShapeGlyphs glyphs;
    cw::PaletteBlock palette{};
    cw::RoomViewImages views;

    LargestRoom() {
        cw::loadShapeGlyphs(CW_BENCH_BIN_DIR, glyphs);
        cw::LoadPalette(std::filesystem::path(CW_BENCH_BIN_DIR) / "paleta.bmp", palette);
        project->roomCount = 1;
        cw::EditorRoom& room = project->room(1);
        room.floorLevel = 100;
        room.ceilingLevel = 160;
        cw::initSectorGrid(room, 32, 32);
        // Varied heights and shapes, some links, 20 portals.
        for (int x = 2; x < 32; ++x) {
            for (int z = 2; z < 32; ++z) {
                cw::GameSector& g = cw::gameSectorAt(room.grid, x, z);
                g.floor = cw::levelToByte(60 + (x * 7 + z * 3) % 80);
                g.ceiling = cw::levelToByte(150 + (x * 5 + z) % 90);
                if ((x + z) % 5 == 0) g.roomBelow = 0;
                cw::Sector& s = cw::sectorAt(room, x, z);
                s.floorShape = static_cast<std::uint8_t>(1 + (x + z) % 16);
                s.ceilingShape = static_cast<std::uint8_t>(1 + (x * z) % 16);
                s.linkMode = 1;
            }
        }
        room.portalCount = cw::kMaxPortals;
        for (int p = 0; p < cw::kMaxPortals; ++p) {
            room.portals[std::size_t(p)] = cw::Portal{.face = std::uint8_t(1 + p % 6),
                                                      .targetRoom = 1,
                                                      .width = 1 + p % 4,
                                                      .length = 1 + p % 3,
                                                      .row = 1 + p,
                                                      .column = 1 + p};
        }
        cw::makeRoomViewImages(room, palette, views);
    }

    void redrawInMemory(int line) {
        const cw::EditorRoom& room = project->room(1);
        cw::drawTopView(room, views);
        cw::drawSideViews(room, glyphs, line, line, views);
        cw::drawPortalMarks(room, views);
    }
};

void BM_RedrawRoomViews_InMemory_32x32(benchmark::State& state) {
    LargestRoom fixture;
    int line = 1;
    for (auto _ : state) {
        fixture.redrawInMemory(line);
        line = line % 32 + 1;
        benchmark::DoNotOptimize(fixture.views.topView.Pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawRoomViews_InMemory_32x32)->Unit(benchmark::kMicrosecond);

void BM_RedrawRoomViews_WithScreenBitmaps_32x32(benchmark::State& state) {
    LargestRoom fixture;
    cw::ui::ScreenBitmap top, frontBack, leftRight;
    cw::ui::ImageToBitmap(fixture.views.topView, top);
    cw::ui::ImageToBitmap(fixture.views.frontBack, frontBack);
    cw::ui::ImageToBitmap(fixture.views.leftRight, leftRight);
    int line = 1;
    for (auto _ : state) {
        fixture.redrawInMemory(line);
        cw::ui::UpdateBitmapBits(fixture.views.leftRight, leftRight);
        cw::ui::UpdateBitmapBits(fixture.views.frontBack, frontBack);
        cw::ui::UpdateBitmapBits(fixture.views.topView, top);
        line = line % 32 + 1;
        benchmark::DoNotOptimize(top.image.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawRoomViews_WithScreenBitmaps_32x32)->Unit(benchmark::kMicrosecond);

// The reference: one memcpy of as many bytes as the three views hold.
void BM_Memcpy_RoomViews_32x32(benchmark::State& state) {
    LargestRoom fixture;
    const std::size_t bytes = fixture.views.topView.Pixels.size() + fixture.views.frontBack.Pixels.size() +
                              fixture.views.leftRight.Pixels.size();
    std::vector<std::uint8_t> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Memcpy_RoomViews_32x32)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
