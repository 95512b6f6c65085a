// The room editor's 3D view after an edit of the largest room (32 x 32 sectors, 1998 vertices):
// the scene made anew (the build's mesh code, portals, selection boxes) and the vertex arrays
// filled with the base level's texture places, without OpenGL. Its reference is the mesh
// generation alone (BM_LargestRoomMesh_Indexed of builder_bench).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "largest_room.h"
#include "levelfile/level_reader.h"
#include "scene/room_scene.h"

namespace {

const std::filesystem::path kBaseLevel = std::filesystem::path(CW_BENCH_LEVELS_DIR) / "TR2-TEST1.TR2";

void BM_RoomView3DUpdate_LargestRoom(benchmark::State& state) {
    static const std::unique_ptr<cw::Project> project = [] {
        auto p = std::make_unique<cw::Project>();
        cw::bench::shapeLargestRoom(p->rooms[0]);
        return p;
    }();
    static const std::unique_ptr<cw::BaseTextures> textures = [] {
        auto t = std::make_unique<cw::BaseTextures>();
        auto image = std::make_unique<cw::LevelImage>();
        if (std::filesystem::exists(kBaseLevel) && cw::readBaseLevel(*image, kBaseLevel.string()) == cw::kReadOk)
            cw::decodeBaseTextures(*image, *t);
        return t;
    }();
    auto work = std::make_unique<cw::SceneWork>();
    auto scene = std::make_unique<cw::RoomScene>();
    cw::SceneBuffers buffers;
    const cw::EditorRoom& room = project->rooms[0];
    const cw::SceneSelection selection{.firstRow = 10, .lastRow = 11, .firstColumn = 5, .lastColumn = 5};
    for (auto _ : state) {
        cw::buildRoomScene(room, 1, false, selection, *work, *scene);
        cw::fillSceneBuffers(*scene, *textures, buffers);
        benchmark::DoNotOptimize(buffers.faces.data());
    }
    state.SetLabel(textures->objects.empty() ? "flat colours (no base level)" : "textured, TR2-TEST1.TR2");
    state.counters["vertices/room"] = scene->mesh.vertexCount;
    state.counters["triangle corners"] = static_cast<double>(buffers.faces.size());
}
BENCHMARK(BM_RoomView3DUpdate_LargestRoom)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
