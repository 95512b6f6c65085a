// The main window's plan: one drag step (the current room laid over a copy of the ready plan
// image, then the hand-over of the working image to the screen bitmap), and a full redraw.
#include <benchmark/benchmark.h>

#include <memory>

#include "drawing/plan.h"
#include "ui/screen_bitmap.h"

namespace {

// A project of `rooms` rooms of 32 x 32 sectors placed diagonally, the last one current.
struct PlanScene {
    std::unique_ptr<cw::Project> project = std::make_unique<cw::Project>();
    cw::Plan plan;
    cw::ui::ScreenBitmap bitmap;

    explicit PlanScene(int rooms) {
        cw::createPlan(plan, std::make_shared<cw::PaletteBlock>());
        project->roomCount = static_cast<std::uint8_t>(rooms);
        for (int n = 1; n <= rooms; ++n) {
            cw::EditorRoom& room = project->room(n);
            cw::initSectorGrid(room, 32, 32);  // the plan draws the picture of its size
            room.posX = (n - 1) * 20;
            room.posY = 962 - 322 - (n - 1) * 20;
        }
        project->currentRoom = static_cast<std::uint8_t>(rooms);
        project->planX = project->current().posX;
        project->planY = project->current().posY;
        cw::redrawPlan(plan, *project);
        cw::ui::ImageToBitmap(plan.workingImage, bitmap);
    }
};

void BM_DragStep(benchmark::State& state) {
    PlanScene scene(static_cast<int>(state.range(0)));
    int step = 0;
    for (auto _ : state) {
        // What one mouse move while dragging does: a new position on the raster, redrawCurrent.
        step = (step + 1) % 32;
        scene.project->planX = scene.project->current().posX = step * 10;
        cw::redrawCurrentRoom(scene.plan, *scene.project);
        cw::ui::UpdateBitmapBits(scene.plan.workingImage, scene.bitmap);
        benchmark::DoNotOptimize(scene.bitmap.image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 962 * 962);
}
BENCHMARK(BM_DragStep)->Arg(1)->Arg(20);

void BM_RedrawAll(benchmark::State& state) {
    PlanScene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        cw::redrawPlan(scene.plan, *scene.project);
        cw::ui::UpdateBitmapBits(scene.plan.workingImage, scene.bitmap);
        benchmark::DoNotOptimize(scene.bitmap.image.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawAll)->Arg(1)->Arg(20)->Arg(80);

}  // namespace

BENCHMARK_MAIN();
