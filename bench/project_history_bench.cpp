// The undo history's steps on the largest room (32 x 32 sectors, every sector different, 20
// portals), beside a memcpy of the room's records; and the memory of a full history of 200 of
// the costliest steps on the largest project (80 such rooms).
//
// Recording is the work the history adds to an edit: taking the room before it (begin) and
// keeping what changed (finish). The BM_RecordStep rows time just those two calls (manual
// time; the edit between them is not counted in the wall column). Undoing is one restore.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "project/project.h"
#include "project/project_history.h"
#include "project/room_ops.h"
#include "project/sector_editing.h"

namespace {

void fillRoom(cw::EditorRoom& room) {
    for (std::size_t k = 0; k < cw::kMaxSectors; ++k) {
        cw::Sector& s = room.sectors[k];
        s.floorShape = static_cast<std::uint8_t>(1 + k % 16);
        s.floorTextures.fill(static_cast<std::int32_t>(k));
        s.ceilingTextures.fill(static_cast<std::int32_t>(k + 1));
        s.floorLights.fill(static_cast<std::uint8_t>(k));
        s.ceilingLights.fill(static_cast<std::uint8_t>(k + 7));
        s.spare2.fill(static_cast<std::uint8_t>(k + 3));
        room.grid.gameSectors[k].floorDataIndex = static_cast<std::uint16_t>(k);
    }
    room.portalCount = cw::kMaxPortals;
    for (cw::Portal& portal : room.portals)
        portal = cw::Portal{.face = 1, .targetRoom = 1, .width = 2, .length = 2, .row = 2, .column = 2};
}

// A project of `rooms` rooms of 32 x 32 sectors, room 1 current.
std::unique_ptr<cw::Project> projectOf(int rooms) {
    auto p = std::make_unique<cw::Project>();
    cw::NullRoomView view;
    cw::RoomProperties values;
    values.rows = 32;
    values.columns = 32;
    for (int n = 1; n <= rooms; ++n) {
        values.name = "Room #" + std::to_string(n);
        cw::addRoom(*p, values, view);
        fillRoom(p->current());
    }
    cw::chooseRoom(*p, 1);
    return p;
}

// A floor click of the left/right view with "Zazn." 32: one sector in each of the 32 columns,
// spread over the whole room.
void floorClick(cw::Project& p, int i) {
    cw::SideEdit edit;
    edit.view = cw::SideView::LeftRight;
    edit.index = 1 + i % 32;
    edit.cell = 10 + i % 2;  // another height each time, so that every click changes the room
    edit.line = 1;
    edit.lineCount = 32;
    edit.shape = 1;
    cw::editFloor(p.current(), edit);
}

// A size change, 32 <-> 31 rows: every sector of the room is reset.
void sizeChange(cw::Project& p, int /*i*/) {
    cw::RoomProperties values = cw::currentRoomProperties(p, p.current().name.str());
    const int shownRows = values.rows;
    values.rows = shownRows == 32 ? 31 : 32;
    cw::NullRoomView view;
    cw::applyRoomProperties(p, shownRows, values.columns, values, view);
}

// After a size change the room's sectors are made different again (not recorded), so that the
// next size change resets every one of them once more.
void refill(cw::Project& p) { fillRoom(p.current()); }
void nothing(cw::Project& /*p*/) {}

template <void (*Edit)(cw::Project&, int), void (*After)(cw::Project&), cw::StepKind Kind>
void recordStep(benchmark::State& state) {
    auto p = projectOf(1);
    cw::StepRecorder recorder;
    int i = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        recorder.begin(*p, Kind);
        const auto begun = std::chrono::steady_clock::now();
        Edit(*p, i++);
        const auto edited = std::chrono::steady_clock::now();
        const cw::ProjectStep step = recorder.finish(*p);
        const auto finished = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(step.changed());
        bytes = step.byteSize();
        After(*p);
        state.SetIterationTime(std::chrono::duration<double>((begun - start) + (finished - edited)).count());
    }
    state.SetLabel("a step holds " + std::to_string(bytes) + " bytes");
}

template <void (*Edit)(cw::Project&, int), cw::StepKind Kind>
void undoStep(benchmark::State& state) {
    auto p = projectOf(1);
    cw::StepRecorder recorder;
    recorder.begin(*p, Kind);
    Edit(*p, 0);
    const cw::ProjectStep step = recorder.finish(*p);
    bool undone = false;
    for (auto _ : state) {
        // Undone and redone in turn, so that each restore finds the project as it expects.
        if (undone) step.redo(*p);
        else step.undo(*p);
        undone = !undone;
        benchmark::ClobberMemory();
    }
}

void BM_RecordStep_FloorEdit_32x32(benchmark::State& state) { recordStep<floorClick, nothing, cw::StepKind::FloorEdit>(state); }
void BM_RecordStep_SizeChange_32x32(benchmark::State& state) {
    recordStep<sizeChange, refill, cw::StepKind::RoomProperties>(state);
}
void BM_UndoStep_FloorEdit_32x32(benchmark::State& state) { undoStep<floorClick, cw::StepKind::FloorEdit>(state); }
void BM_UndoStep_SizeChange_32x32(benchmark::State& state) {
    undoStep<sizeChange, cw::StepKind::RoomProperties>(state);
}

// The reference: one memcpy of the room's records (its whole image).
void BM_Memcpy_Room_32x32(benchmark::State& state) {
    auto p = projectOf(1);
    std::vector<std::uint8_t> copy(sizeof(cw::EditorRoom));
    for (auto _ : state) {
        std::memcpy(copy.data(), &p->current(), copy.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * copy.size()));
}

// A full history: 200 size changes, each resetting a room of the largest project. The label
// tells the memory the 200 steps hold (ProjectStep::byteSize). (Labels, not counters: the CSV
// output that bench/run reads takes no counters that only some rows have.)
void BM_History200_LargestProject(benchmark::State& state) {
    auto p = projectOf(cw::kMaxRooms);
    cw::StepRecorder recorder;
    std::size_t total = 0;
    for (auto _ : state) {
        std::vector<cw::ProjectStep> history;
        history.reserve(cw::kHistoryStepLimit);
        for (int i = 0; i < cw::kHistoryStepLimit; ++i) {
            cw::chooseRoom(*p, 1 + i % cw::kMaxRooms);
            recorder.begin(*p, cw::StepKind::RoomProperties);
            sizeChange(*p, i);
            history.push_back(recorder.finish(*p));
            refill(*p);
        }
        total = 0;
        for (const cw::ProjectStep& step : history) total += step.byteSize();
    }
    char label[64];
    std::snprintf(label, sizeof label, "%d steps hold %.1f MB", cw::kHistoryStepLimit,
                  static_cast<double>(total) / (1024.0 * 1024.0));
    state.SetLabel(label);
}

BENCHMARK(BM_Memcpy_Room_32x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordStep_FloorEdit_32x32)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_RecordStep_SizeChange_32x32)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_UndoStep_FloorEdit_32x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoStep_SizeChange_32x32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_History200_LargestProject)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
