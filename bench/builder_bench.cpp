// A build of the largest legal project (80 rooms of 32 x 32 sectors, each shaped to hold as much
// geometry as a level room takes) on a real base level, beside the same build on one thread, the
// same build with the literal linear vertex scan, and beside a raw read of the base file plus a
// raw write of the output's bytes.
// Also one room's mesh alone, indexed and linear.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "builder/build_driver.h"
#include "builder/room_mesh.h"
#include "common/files.h"
#include "levelfile/level_image.h"
#include "project/project.h"
#include "largest_room.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBaseLevel = fs::path(CW_BENCH_LEVELS_DIR) / "TR2-TEST1.TR2";

std::unique_ptr<cw::Project> largestProject() {
    auto project = std::make_unique<cw::Project>();
    cw::clearProject(*project);
    cw::EditorRoom& first = project->rooms[0];
    cw::bench::shapeLargestRoom(first);
    for (int r = 0; r < cw::kMaxRooms; ++r) {
        cw::EditorRoom& room = project->rooms[static_cast<std::size_t>(r)];
        if (r > 0) {
            room.floorLevel = first.floorLevel;
            room.ceilingLevel = first.ceilingLevel;
            room.sectors = first.sectors;
            room.grid = first.grid;
        }
        room.name = "Room" + std::to_string(r + 1);
        room.posX = (r % 9) * 100;
        room.posY = (r / 9) * 100;
        if (r + 1 < cw::kMaxRooms) {  // a portal to the next room, for the portal conversion
            room.portalCount = 1;
            room.portals[0] = cw::Portal{.face = 4,
                                         .targetRoom = static_cast<std::int16_t>(r + 2),
                                         .width = 2,
                                         .length = 2,
                                         .row = 10,
                                         .column = 32};
        }
    }
    project->roomCount = cw::kMaxRooms;
    project->currentRoom = 1;
    return project;
}

struct NullObserver : cw::BuildObserver {
    std::string last;
    void setProgress(int) override {}
    void showMessage(const std::string& text) override { last = text; }
};

fs::path outputPath() { return fs::temp_directory_path() / "cw_builder_bench_out.tr2"; }

// threads 0: as many as the machine has cores.
void runBuild(benchmark::State& state, cw::VertexSearch search, unsigned threads = 0) {
    if (!cw::fileExists(kBaseLevel)) {
        state.SkipWithError(("no base level " + kBaseLevel.string()).c_str());
        return;
    }
    static const std::unique_ptr<cw::Project> project = largestProject();
    cw::BuildSettings settings;
    settings.baseLevel = kBaseLevel.string();
    settings.outputFile = outputPath().string();
    cw::BuildEnvironment environment;
    environment.programFolder = CW_BENCH_BIN_DIR;
    environment.vertexSearch = search;
    environment.threads = threads;
    // One level image for every build, as the editor keeps one.
    const auto workspace = std::make_unique<cw::LevelImage>();
    environment.workspace = workspace.get();
    NullObserver observer;
    for (auto _ : state) {
        if (cw::buildLevel(*project, settings, environment, observer) != cw::BuildOutcome::Written) {
            state.SkipWithError(("build refused: " + observer.last).c_str());
            return;
        }
    }
    std::size_t vertices = 0;
    // One room's mesh size, reported beside the time.
    auto quads = std::make_unique<cw::QuadList>();
    auto level = std::make_unique<cw::LevelRoom>();
    auto index = std::make_unique<cw::VertexIndex>();
    cw::bench::meshFit(project->rooms[0], *quads, *level, *index);
    vertices = level->vertexCount;
    state.counters["rooms"] = project->roomCount;
    state.counters["vertices/room"] = static_cast<double>(vertices);
    state.counters["faces/room"] = static_cast<double>(level->rectangleCount + level->triangleCount);
}

void BM_BuildLargestProject_Indexed(benchmark::State& state) { runBuild(state, cw::VertexSearch::Indexed); }
BENCHMARK(BM_BuildLargestProject_Indexed)->Unit(benchmark::kMillisecond);

// The same build on the calling thread alone (the cpu column of the other counts only that thread).
void BM_BuildLargestProject_OneThread(benchmark::State& state) { runBuild(state, cw::VertexSearch::Indexed, 1); }
BENCHMARK(BM_BuildLargestProject_OneThread)->Unit(benchmark::kMillisecond);

void BM_BuildLargestProject_LinearScan(benchmark::State& state) { runBuild(state, cw::VertexSearch::LinearScan); }
BENCHMARK(BM_BuildLargestProject_LinearScan)->Unit(benchmark::kMillisecond);

// The floor under any build: reading the base file and writing the output's bytes.
void BM_RawReadBasePlusWriteOutput(benchmark::State& state) {
    if (!cw::fileExists(kBaseLevel) || !cw::fileExists(outputPath())) {
        state.SkipWithError("run the build benchmarks first (no base level or no output)");
        return;
    }
    const std::vector<std::uint8_t> output = cw::readFile(outputPath());
    const fs::path target = fs::temp_directory_path() / "cw_builder_bench_raw.tr2";
    for (auto _ : state) {
        std::vector<std::uint8_t> base = cw::readFile(kBaseLevel);
        benchmark::DoNotOptimize(base.data());
        cw::writeFileAtomically(target, output);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(output.size() + fs::file_size(kBaseLevel)));
    std::error_code ignored;
    fs::remove(target, ignored);
}
BENCHMARK(BM_RawReadBasePlusWriteOutput)->Unit(benchmark::kMillisecond);

void runRoomMesh(benchmark::State& state, cw::VertexSearch search) {
    static const std::unique_ptr<cw::Project> project = [] {
        auto p = std::make_unique<cw::Project>();
        cw::bench::shapeLargestRoom(p->rooms[0]);
        return p;
    }();
    auto quads = std::make_unique<cw::QuadList>();
    auto level = std::make_unique<cw::LevelRoom>();
    auto index = std::make_unique<cw::VertexIndex>();
    const cw::EditorRoom& room = project->rooms[0];
    for (auto _ : state) {
        quads->clear();
        cw::buildRoomMesh(*quads, room.grid, room.sectors, false, cw::standardShapeTable());
        level->vertexCount = level->rectangleCount = level->triangleCount = 0;
        benchmark::DoNotOptimize(cw::assembleFaces(*quads, *level, *index, search));
    }
    state.counters["vertices/room"] = level->vertexCount;
}
void BM_LargestRoomMesh_Indexed(benchmark::State& state) { runRoomMesh(state, cw::VertexSearch::Indexed); }
BENCHMARK(BM_LargestRoomMesh_Indexed)->Unit(benchmark::kMicrosecond);
void BM_LargestRoomMesh_LinearScan(benchmark::State& state) { runRoomMesh(state, cw::VertexSearch::LinearScan); }
BENCHMARK(BM_LargestRoomMesh_LinearScan)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
