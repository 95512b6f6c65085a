#include "project/project_history.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace cw {

namespace {

// A room is recorded as its object image: every byte of it, whatever field it belongs to.
static_assert(std::is_trivially_copyable_v<EditorRoom>, "a room is recorded byte for byte");
constexpr std::size_t kRoomImageBytes = sizeof(EditorRoom);

// Rooms are compared in spans of 16 blocks of 32 bytes.
constexpr std::size_t kBlockBytes = 32;
constexpr std::size_t kSpanBytes = 16 * kBlockBytes;

const std::uint8_t* imageOf(const EditorRoom& room) { return reinterpret_cast<const std::uint8_t*>(&room); }
std::uint8_t* imageOf(EditorRoom& room) { return reinterpret_cast<std::uint8_t*>(&room); }

bool validSlot(int room) { return room >= 1 && room <= kMaxRooms; }

// True when the block of `length` bytes differs; a whole block is compared eight bytes at a time.
bool blockDiffers(const std::uint8_t* a, const std::uint8_t* b, std::size_t length) {
    if (length != kBlockBytes) return std::memcmp(a, b, length) != 0;
    std::uint64_t difference = 0;
    for (std::size_t i = 0; i < kBlockBytes; i += sizeof(std::uint64_t)) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        difference |= x ^ y;
    }
    return difference != 0;
}

}  // namespace

int roomChangedBy(StepKind kind, const Project& project) {
    switch (kind) {
        case StepKind::AddRoom:
        case StepKind::CloneRoom:
            return project.roomCount < kMaxRooms ? project.roomCount + 1 : 0;
        case StepKind::DeleteRoom:
        case StepKind::ChooseRoom:
        case StepKind::BuildSettings:
            return 0;
        case StepKind::RoomProperties:
        case StepKind::MoveRoom:
        case StepKind::FloorEdit:
        case StepKind::CeilingEdit:
        case StepKind::OpenSector:
        case StepKind::CloseSector:
        case StepKind::AddPortal:
        case StepKind::PlacePortal:
        case StepKind::ChangePortal:
        case StepKind::RemovePortal:
            return validSlot(project.currentRoom) ? project.currentRoom : 0;
    }
    return 0;
}

ProjectFields projectFields(const Project& project) { return static_cast<const ProjectFields&>(project); }

void setProjectFields(Project& project, const ProjectFields& fields) { static_cast<ProjectFields&>(project) = fields; }

// --- ProjectStep ------------------------------------------------------------------------------

void ProjectStep::restore(Project& project, const ProjectFields& fields, const std::uint8_t* bytes) const {
    if (validSlot(room_)) {
        std::uint8_t* image = imageOf(project.room(room_));
        for (const Run& run : runs_) std::memcpy(image + run.offset, bytes + run.data, run.length);
    }
    setProjectFields(project, fields);
}

void ProjectStep::undo(Project& project) const { restore(project, fieldsBefore_, before_.get()); }

void ProjectStep::redo(Project& project) const { restore(project, fieldsAfter_, after_.get()); }

std::size_t ProjectStep::byteSize() const { return sizeof(ProjectStep) + runs_.capacity() * sizeof(Run) + 2 * storedBytes_; }

// --- StepRecorder -----------------------------------------------------------------------------

void StepRecorder::begin(const Project& project, StepKind kind) {
    fields_ = projectFields(project);
    room_ = roomChangedBy(kind, project);
    if (validSlot(room_)) {
        if (!image_) image_ = std::make_unique_for_overwrite<std::uint8_t[]>(kRoomImageBytes);
        std::memcpy(image_.get(), imageOf(project.room(room_)), kRoomImageBytes);
    }
    recording_ = true;
}

ProjectStep StepRecorder::finish(const Project& project) {
    ProjectStep step;
    step.fieldsBefore_ = fields_;
    step.fieldsAfter_ = projectFields(project);
    step.room_ = room_;
    recording_ = false;
    if (!validSlot(room_)) return step;

    // Spans equal as a whole (most of the room after most edits) are passed over at memcmp
    // speed; of a span that differs, the bytes from its first changed block to its last are kept.
    // Neighbouring runs are joined.
    const std::uint8_t* before = image_.get();
    const std::uint8_t* after = imageOf(project.room(room_));
    const auto differs = [&](std::size_t offset) {
        return blockDiffers(before + offset, after + offset, std::min(kBlockBytes, kRoomImageBytes - offset));
    };
    std::size_t changedBytes = 0;
    for (std::size_t span = 0; span < kRoomImageBytes; span += kSpanBytes) {
        const std::size_t spanEnd = std::min(span + kSpanBytes, kRoomImageBytes);
        if (std::memcmp(before + span, after + span, spanEnd - span) == 0) continue;
        std::size_t first = span;
        while (!differs(first)) first += kBlockBytes;
        std::size_t last = span + (spanEnd - span - 1) / kBlockBytes * kBlockBytes;
        while (!differs(last)) last -= kBlockBytes;
        const std::size_t end = std::min(last + kBlockBytes, kRoomImageBytes);
        changedBytes += end - first;
        if (!step.runs_.empty() && step.runs_.back().offset + step.runs_.back().length == first) {
            step.runs_.back().length += static_cast<std::uint32_t>(end - first);
        } else {
            step.runs_.push_back({.offset = static_cast<std::uint32_t>(first),
                                  .length = static_cast<std::uint32_t>(end - first),
                                  .data = 0});
        }
    }

    if (changedBytes > kRoomImageBytes / 2) {
        // Most of the room changed (a size change resets every sector): the step keeps the
        // whole image taken before, without copying it, and a copy of the room as it is now.
        // The next step takes its image into a new buffer.
        step.runs_.assign(1, {.offset = 0, .length = static_cast<std::uint32_t>(kRoomImageBytes), .data = 0});
        step.storedBytes_ = kRoomImageBytes;
        step.before_ = std::move(image_);
        step.after_ = std::make_unique_for_overwrite<std::uint8_t[]>(kRoomImageBytes);
        std::memcpy(step.after_.get(), after, kRoomImageBytes);
        return step;
    }

    step.runs_.shrink_to_fit();
    step.storedBytes_ = changedBytes;
    step.before_ = std::make_unique_for_overwrite<std::uint8_t[]>(changedBytes);
    step.after_ = std::make_unique_for_overwrite<std::uint8_t[]>(changedBytes);
    std::size_t data = 0;
    for (ProjectStep::Run& run : step.runs_) {
        run.data = static_cast<std::uint32_t>(data);
        std::memcpy(step.before_.get() + data, before + run.offset, run.length);
        std::memcpy(step.after_.get() + data, after + run.offset, run.length);
        data += run.length;
    }
    return step;
}

}  // namespace cw
