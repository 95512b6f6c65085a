// Saving and loading a full project (80 rooms of 32 x 32 sectors with 20 portals each, about
// 9 MB), beside a raw write and read of the same bytes. Files go to the system's temporary
// folder; the file benchmarks report wall-clock time, since flushing to disk is part of a save.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/files.h"
#include "project/project.h"
#include "project/project_file.h"
#include "project/room_ops.h"

namespace {

namespace fs = std::filesystem;

const cw::Project& fullProject() {
    static const std::unique_ptr<cw::Project> project = [] {
        auto p = std::make_unique<cw::Project>();
        cw::NullRoomView view;
        cw::IndexedImage plan;
        cw::RoomProperties values;
        values.rows = 32;
        values.columns = 32;
        for (int n = 1; n <= cw::kMaxRooms; ++n) {
            values.name = "Room #" + std::to_string(n);
            cw::addRoom(*p, plan, values, view);
            cw::EditorRoom& room = p->current();
            room.portalCount = cw::kMaxPortals;
            for (int i = 0; i < cw::kMaxPortals; ++i) room.portals[static_cast<std::size_t>(i)] = cw::Portal{1, 1, 1, 1, 1, 1};
        }
        return p;
    }();
    return *project;
}

fs::path benchFile(const char* name) { return fs::temp_directory_path() / name; }

void BM_SerializeProject(benchmark::State& state) {
    const cw::Project& p = fullProject();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto b = cw::serializeProject(p);
        bytes = b.size();
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ParseProject(benchmark::State& state) {
    const auto bytes = cw::serializeProject(fullProject());
    auto p = std::make_unique<cw::Project>();
    for (auto _ : state) benchmark::DoNotOptimize(cw::parseProject(bytes, *p, "bench"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// saveProject: serialise, write to a temporary file, flush to disk, rename.
void BM_SaveProject(benchmark::State& state) {
    const cw::Project& p = fullProject();
    const fs::path file = benchFile("cw_bench_save.cwp");
    for (auto _ : state) cw::saveProject(p, file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
    fs::remove(file);
}

// The same bytes written the same safe way, without the serialisation.
void BM_RawWriteAtomically(benchmark::State& state) {
    const auto bytes = cw::serializeProject(fullProject());
    const fs::path file = benchFile("cw_bench_raw_atomic.bin");
    for (auto _ : state) cw::writeFileAtomically(file, bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    fs::remove(file);
}

// The same bytes with one plain fwrite (no flush to disk, no rename).
void BM_RawWrite(benchmark::State& state) {
    const auto bytes = cw::serializeProject(fullProject());
    const fs::path file = benchFile("cw_bench_raw.bin");
    for (auto _ : state) {
        const cw::FileHandle f = cw::openFile(file, "wb");
        if (f == nullptr) {
            state.SkipWithError("cannot create the file");
            break;
        }
        std::fwrite(bytes.data(), 1, bytes.size(), f.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    fs::remove(file);
}

// loadProject into a separate project, as opening a file does.
void BM_LoadProject(benchmark::State& state) {
    const fs::path file = benchFile("cw_bench_load.cwp");
    cw::saveProject(fullProject(), file);
    auto p = std::make_unique<cw::Project>();
    for (auto _ : state) benchmark::DoNotOptimize(cw::loadProject(file, *p));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
    fs::remove(file);
}

// The same file read whole, without parsing.
void BM_RawRead(benchmark::State& state) {
    const fs::path file = benchFile("cw_bench_read.cwp");
    cw::saveProject(fullProject(), file);
    for (auto _ : state) {
        auto b = cw::readFile(file);
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
    fs::remove(file);
}

// Replacing the open project by a loaded one.
void BM_AdoptProject(benchmark::State& state) {
    const auto bytes = cw::serializeProject(fullProject());
    auto open = std::make_unique<cw::Project>();
    auto loaded = std::make_unique<cw::Project>();
    for (auto _ : state) {
        state.PauseTiming();
        cw::parseProject(bytes, *loaded, "bench");
        state.ResumeTiming();
        cw::adoptProject(*open, *loaded);
    }
}

BENCHMARK(BM_SerializeProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawWriteAtomically)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AdoptProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
