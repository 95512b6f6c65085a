#include "project/project_history.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace cw {

namespace {

// A room is recorded as its object image: every byte of it, whatever field it belongs to.
static_assert(std::is_trivially_copyable_v<EditorRoom>, "a room is recorded byte for byte");
constexpr std::size_t kRoomImageBytes = sizeof(EditorRoom);

// Rooms are compared in blocks of this many bytes; a changed block is kept whole.
constexpr std::size_t kBlockBytes = 32;

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

ProjectFields projectFields(const Project& project) {
    return {.levelDescription = project.levelDescription,
            .comment = project.comment,
            .baseLevelPath = project.baseLevelPath,
            .itemsFilePath = project.itemsFilePath,
            .lightsFilePath = project.lightsFilePath,
            .outputLevelPath = project.outputLevelPath,
            .currentRoom = project.currentRoom,
            .roomCount = project.roomCount,
            .planX = project.planX,
            .planY = project.planY};
}

void setProjectFields(Project& project, const ProjectFields& fields) {
    project.levelDescription = fields.levelDescription;
    project.comment = fields.comment;
    project.baseLevelPath = fields.baseLevelPath;
    project.itemsFilePath = fields.itemsFilePath;
    project.lightsFilePath = fields.lightsFilePath;
    project.outputLevelPath = fields.outputLevelPath;
    project.currentRoom = fields.currentRoom;
    project.roomCount = fields.roomCount;
    project.planX = fields.planX;
    project.planY = fields.planY;
}

// --- ProjectStep ------------------------------------------------------------------------------

void ProjectStep::restore(Project& project, const ProjectFields& fields, std::size_t side) const {
    if (validSlot(room_)) {
        std::uint8_t* image = imageOf(project.room(room_));
        for (const Run& run : runs_) std::memcpy(image + run.offset, bytes_.data() + run.data + side * run.length, run.length);
    }
    setProjectFields(project, fields);
}

void ProjectStep::undo(Project& project) const { restore(project, fieldsBefore_, 0); }

void ProjectStep::redo(Project& project) const { restore(project, fieldsAfter_, 1); }

std::size_t ProjectStep::byteSize() const {
    return sizeof(ProjectStep) + runs_.capacity() * sizeof(Run) + bytes_.capacity();
}

// --- StepRecorder -----------------------------------------------------------------------------

void StepRecorder::begin(const Project& project, StepKind kind) {
    fields_ = projectFields(project);
    room_ = roomChangedBy(kind, project);
    if (validSlot(room_)) {
        image_.resize(kRoomImageBytes);
        std::memcpy(image_.data(), imageOf(project.room(room_)), kRoomImageBytes);
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

    // The runs of changed blocks, neighbours joined.
    const std::uint8_t* before = image_.data();
    const std::uint8_t* after = imageOf(project.room(room_));
    std::size_t changedBytes = 0;
    for (std::size_t offset = 0; offset < kRoomImageBytes; offset += kBlockBytes) {
        const std::size_t length = std::min(kBlockBytes, kRoomImageBytes - offset);
        if (!blockDiffers(before + offset, after + offset, length)) continue;
        changedBytes += length;
        if (!step.runs_.empty() && step.runs_.back().offset + step.runs_.back().length == offset) {
            step.runs_.back().length += static_cast<std::uint32_t>(length);
        } else {
            step.runs_.push_back({.offset = static_cast<std::uint32_t>(offset),
                                  .length = static_cast<std::uint32_t>(length),
                                  .data = 0});
        }
    }
    step.runs_.shrink_to_fit();

    // Each run's bytes before the step, then after it.
    step.bytes_.resize(2 * changedBytes);
    std::size_t data = 0;
    for (ProjectStep::Run& run : step.runs_) {
        run.data = static_cast<std::uint32_t>(data);
        std::memcpy(step.bytes_.data() + data, before + run.offset, run.length);
        std::memcpy(step.bytes_.data() + data + run.length, after + run.offset, run.length);
        data += 2 * run.length;
    }
    return step;
}

}  // namespace cw
