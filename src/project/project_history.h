#pragma once
// What one step of the undo history holds: the part of the project a change altered, taken
// before and after it, so that the step can be undone (the project exactly as it was before)
// and redone (exactly as it was after). The window keeps the steps in order; this records and
// restores them.
//
// A step may change the project-level fields (the build settings texts, the current room, the
// room count and the plan position) and the room its kind names (roomChangedBy). A StepRecorder
// takes the fields and that room's whole in-memory image before the change; when the change is
// done it keeps only the runs of bytes that differ, before and after. A click that rewrites a few
// sectors so costs a few kilobytes, a size change that resets a room of 32 x 32 sectors two room
// images, the most a step holds (ProjectStep::byteSize tells).
//
// Restoring writes the recorded bytes back, whatever happened to the rest of the project: steps
// are undone newest first and redone oldest first, so that each finds the project as it left it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/pstring.h"
#include "project/project.h"

namespace cw {

// The history keeps the last 200 steps; older ones are forgotten.
inline constexpr int kHistoryStepLimit = 200;

// The kinds of change the history records, one step each.
enum class StepKind {
    AddRoom,         // "Dodaj nowe pomieszczenie": the new room
    CloneRoom,       // "KLONUJ": the new room
    DeleteRoom,      // "USUŃ": the last room
    RoomProperties,  // the properties dialog, a size change resetting the sectors included
    MoveRoom,        // one drag of the current room on the plan
    ChooseRoom,      // a room chosen in the room list or on the plan
    FloorEdit,       // a floor click in a side view of the room editor
    CeilingEdit,     // a ceiling click in a side view
    OpenSector,      // a top view click opening a sector
    CloseSector,     // a top view click closing a sector
    AddPortal,
    PlacePortal,
    ChangePortal,
    RemovePortal,
    BuildSettings,   // the build settings "&Buduj Level" stores
};

// The room (1..80) a step of the kind may change, for the project as it stands before the step:
// the slot of the new room for an add or a clone (0 when the project is full), nothing for a
// delete (the room stays in its slot past the room count), a choice of room or the build
// settings, and the current room for every other kind (0 when it is not a room slot).
int roomChangedBy(StepKind kind, const Project& project);

// The fields of the project outside its rooms (ProjectFields): what a step may change beside a room.
ProjectFields projectFields(const Project& project);
void setProjectFields(Project& project, const ProjectFields& fields);

// One recorded step.
class ProjectStep {
public:
    // False when the change altered nothing: such a step is not kept.
    bool changed() const { return fieldsBefore_ != fieldsAfter_ || !runs_.empty(); }
    // The project as it was before the step (it must stand as the step left it).
    void undo(Project& project) const;
    // The project as the step left it (it must stand as it was before the step).
    void redo(Project& project) const;
    // The memory the step holds, its own size included.
    std::size_t byteSize() const;

private:
    friend class StepRecorder;
    // A run of changed bytes of the room image: `length` bytes at `offset`; the bytes before
    // the step are before_[data ..], those after after_[data ..]. The runs are kept in the
    // order of their offsets and do not overlap.
    struct Run {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::uint32_t data = 0;
    };
    void restore(Project& project, const ProjectFields& fields, const std::uint8_t* bytes) const;

    ProjectFields fieldsBefore_;
    ProjectFields fieldsAfter_;
    int room_ = 0;  // the recorded room, 0 for none
    std::vector<Run> runs_;
    std::unique_ptr<std::uint8_t[]> before_;
    std::unique_ptr<std::uint8_t[]> after_;
    std::size_t storedBytes_ = 0;  // the bytes of the runs, each held before and after
};

// Records steps: begin before a change, finish after it. Keeps one room image between the two,
// reused from step to step (a step that changed most of its room takes it along).
class StepRecorder {
public:
    // Takes the project's fields and the image of the room the kind may change. A step begun
    // before is dropped.
    void begin(const Project& project, StepKind kind);
    bool recording() const { return recording_; }
    // The step from begin to the project as it stands now; the recording ends.
    ProjectStep finish(const Project& project);
    // Ends the recording without a step (the project was replaced as a whole).
    void cancel() { recording_ = false; }

private:
    bool recording_ = false;
    ProjectFields fields_;
    int room_ = 0;
    std::unique_ptr<std::uint8_t[]> image_;  // the room before the change, sizeof(EditorRoom) bytes
};

}  // namespace cw
