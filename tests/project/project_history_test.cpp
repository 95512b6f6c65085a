// The undo history's steps: each kind of change recorded, undone (the saved bytes as before) and
// redone (the saved bytes as after), alone and in a chain; and the memory the steps hold.
#include "project/project_history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fixtures.h"
#include "project/portal_editing.h"
#include "project/project_file.h"
#include "project/room_ops.h"
#include "project/sector_editing.h"

namespace cw {
namespace {

using Change = std::function<void(Project&)>;

struct StepCase {
    const char* name;
    StepKind kind;
    Change change;
};
void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

RoomProperties propertiesOf(const Project& p) { return currentRoomProperties(p, p.current().name.str()); }

SideEdit sideClick(SideView view, int line, int lineCount, int cell) {
    SideEdit e;
    e.view = view;
    e.index = 2;
    e.cell = cell;
    e.line = line;
    e.lineCount = lineCount;
    e.shape = 12;
    e.fields.floor = {{11, 12, 13, 14, 15}, {1, 2, 3, 4, 5}};
    e.fields.ceiling = {{21, 22, 23, 24, 25}, {6, 7, 8, 9, 10}};
    e.fields.links = {.above = 3, .beside = 0, .below = 0, .mode = 1};
    return e;
}

// Every kind of step, made as the windows make it, on richProject() with room 1 (Hall, 4 x 5
// sectors, two portals) current.
const std::vector<StepCase>& stepCases() {
    static const std::vector<StepCase> cases = {
        {"AddRoom", StepKind::AddRoom,
         [](Project& p) {
             NullRoomView view;
             RoomProperties values;
             values.rows = 7;
             values.columns = 9;
             values.name = "Nowy";
             ASSERT_TRUE(addRoom(p, values, view));
         }},
        {"CloneRoom", StepKind::CloneRoom,
         [](Project& p) {
             NullRoomView view;
             ASSERT_TRUE(cloneRoom(p, view));
         }},
        {"DeleteRoom", StepKind::DeleteRoom,
         [](Project& p) {
             NullRoomView view;
             deleteLastRoom(p, view);
         }},
        {"RoomPropertiesSameSize", StepKind::RoomProperties,
         [](Project& p) {
             NullRoomView view;
             RoomProperties values = propertiesOf(p);
             values.name = "Sala";
             values.floorLevel = 100;
             values.water = false;
             values.ceilingTextures[2] = 77;
             applyRoomProperties(p, values.rows, values.columns, values, view);
         }},
        {"RoomPropertiesNewSize", StepKind::RoomProperties,
         [](Project& p) {
             NullRoomView view;
             RoomProperties values = propertiesOf(p);
             const int shownRows = values.rows;
             values.rows = 32;
             values.columns = 30;
             applyRoomProperties(p, shownRows, values.columns, values, view);
         }},
        {"MoveRoom", StepKind::MoveRoom, [](Project& p) { ASSERT_TRUE(moveCurrentRoom(p, 300, 200)); }},
        {"ChooseRoom", StepKind::ChooseRoom, [](Project& p) { ASSERT_TRUE(chooseRoom(p, 3)); }},
        {"FloorEditOfManyRows", StepKind::FloorEdit,
         [](Project& p) { ASSERT_GT(editFloor(p.current(), sideClick(SideView::FrontBack, 1, 32, 20)), 1); }},
        {"CeilingEditOfManyColumns", StepKind::CeilingEdit,
         [](Project& p) { ASSERT_GT(editCeiling(p.current(), sideClick(SideView::LeftRight, 2, 3, 50)), 1); }},
        {"CloseSector", StepKind::CloseSector,
         [](Project& p) { ASSERT_TRUE(setSectorClosed(p.current(), 3, 2, true)); }},
        {"OpenSector", StepKind::OpenSector,
         [](Project& p) { ASSERT_TRUE(setSectorClosed(p.current(), 1, 1, false)); }},
        {"AddPortal", StepKind::AddPortal,
         [](Project& p) {
             ASSERT_EQ(addPortal(p.current(), PortalFields{.face = 6, .targetRoom = 3, .width = 2, .length = 2}), 3);
         }},
        {"PlacePortal", StepKind::PlacePortal, [](Project& p) { ASSERT_TRUE(placePortal(p.current(), 1, 2, 2)); }},
        {"ChangePortal", StepKind::ChangePortal,
         [](Project& p) {
             ASSERT_TRUE(replacePortal(p.current(), 2, PortalFields{.face = 1, .targetRoom = 2, .width = 3, .length = 1}));
         }},
        {"RemovePortal", StepKind::RemovePortal, [](Project& p) { ASSERT_EQ(removeLastPortal(p.current()), 1); }},
        {"BuildSettings", StepKind::BuildSettings,
         [](Project& p) {
             p.levelDescription = "Inny opis";
             p.comment = "";
             p.baseLevelPath = "D:\\base.phd";
             p.outputLevelPath = "new.phd";
         }},
    };
    return cases;
}

std::unique_ptr<Project> startProject() {
    auto p = test::richProject();
    EXPECT_TRUE(chooseRoom(*p, 1));
    return p;
}

// Everything a step may restore: the saved bytes, and what is not saved (the plan position and
// the room slots past the room count) byte for byte.
void expectSameProject(const Project& actual, const Project& expected, const char* when) {
    EXPECT_EQ(serializeProject(actual), serializeProject(expected)) << when;
    EXPECT_EQ(actual.planX, expected.planX) << when;
    EXPECT_EQ(actual.planY, expected.planY) << when;
    for (int n = 1; n <= kMaxRooms; ++n)
        EXPECT_EQ(std::memcmp(&actual.room(n), &expected.room(n), sizeof(EditorRoom)), 0) << when << ", room " << n;
}

class EachStep : public testing::TestWithParam<StepCase> {};

TEST_P(EachStep, UndoGivesTheBytesBeforeAndRedoTheBytesAfter) {
    const StepCase& c = GetParam();
    auto p = startProject();
    const auto before = std::make_unique<Project>(*p);
    const std::vector<std::uint8_t> bytesBefore = serializeProject(*p);

    StepRecorder recorder;
    recorder.begin(*p, c.kind);
    ASSERT_NO_FATAL_FAILURE(c.change(*p));
    const ProjectStep step = recorder.finish(*p);
    EXPECT_FALSE(recorder.recording());
    const auto after = std::make_unique<Project>(*p);
    const std::vector<std::uint8_t> bytesAfter = serializeProject(*p);
    ASSERT_NE(bytesAfter, bytesBefore) << "the case changes the project";
    EXPECT_TRUE(step.changed());

    step.undo(*p);
    EXPECT_EQ(serializeProject(*p), bytesBefore);
    expectSameProject(*p, *before, "undone");
    step.redo(*p);
    EXPECT_EQ(serializeProject(*p), bytesAfter);
    expectSameProject(*p, *after, "redone");
    step.undo(*p);
    EXPECT_EQ(serializeProject(*p), bytesBefore);
}

INSTANTIATE_TEST_SUITE_P(ProjectHistory, EachStep, testing::ValuesIn(stepCases()),
                         [](const testing::TestParamInfo<StepCase>& param) { return std::string(param.param.name); });

// Steps that build on each other: a room deleted, a new one added into its slot and resized, a
// clone of it moved, the hall chosen again and its sectors and portals edited. Undone newest first, each undo gives the bytes
// before its step; redone oldest first, each redo the bytes after it.
TEST(ProjectHistory, AChainOfStepsUndoesAndRedoesInOrder) {
    auto p = startProject();
    const std::vector<StepCase> chain = {
        stepCases()[2],  // delete room 3
        stepCases()[0],  // add a room into slot 3
        stepCases()[4],  // resize it
        stepCases()[1],  // clone it
        {"MoveAgain", StepKind::MoveRoom, [](Project& q) { ASSERT_TRUE(moveCurrentRoom(q, 500, 400)); }},
        {"ChooseHall", StepKind::ChooseRoom, [](Project& q) { ASSERT_TRUE(chooseRoom(q, 1)); }},
        stepCases()[7],   // floor edit of the hall
        stepCases()[11],  // a portal in the hall
        stepCases()[15],  // build settings
    };
    StepRecorder recorder;
    std::vector<ProjectStep> steps;
    std::vector<std::vector<std::uint8_t>> bytes = {serializeProject(*p)};
    for (const StepCase& c : chain) {
        recorder.begin(*p, c.kind);
        ASSERT_NO_FATAL_FAILURE(c.change(*p)) << c.name;
        steps.push_back(recorder.finish(*p));
        bytes.push_back(serializeProject(*p));
        ASSERT_NE(bytes.back(), bytes[bytes.size() - 2]) << c.name;
    }
    for (std::size_t i = steps.size(); i-- > 0;) {
        steps[i].undo(*p);
        EXPECT_EQ(serializeProject(*p), bytes[i]) << "undo of " << chain[i].name;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].redo(*p);
        EXPECT_EQ(serializeProject(*p), bytes[i + 1]) << "redo of " << chain[i].name;
    }
}

TEST(ProjectHistory, AChangeThatAltersNothingIsNoStep) {
    auto p = startProject();
    StepRecorder recorder;
    for (StepKind kind : {StepKind::MoveRoom, StepKind::ChooseRoom, StepKind::CloseSector}) {
        recorder.begin(*p, kind);
        moveCurrentRoom(*p, p->current().posX, p->current().posY);  // where it is
        chooseRoom(*p, p->currentRoom);
        setSectorClosed(p->current(), 1, 1, true);  // a border sector, closed already
        EXPECT_FALSE(recorder.finish(*p).changed());
    }
}

TEST(ProjectHistory, TheRoomAStepMayChange) {
    auto p = startProject();  // three rooms, room 1 current
    EXPECT_EQ(roomChangedBy(StepKind::AddRoom, *p), 4);
    EXPECT_EQ(roomChangedBy(StepKind::CloneRoom, *p), 4);
    EXPECT_EQ(roomChangedBy(StepKind::DeleteRoom, *p), 0);
    EXPECT_EQ(roomChangedBy(StepKind::ChooseRoom, *p), 0);
    EXPECT_EQ(roomChangedBy(StepKind::BuildSettings, *p), 0);
    for (StepKind kind : {StepKind::RoomProperties, StepKind::MoveRoom, StepKind::FloorEdit, StepKind::CeilingEdit,
                          StepKind::OpenSector, StepKind::CloseSector, StepKind::AddPortal, StepKind::PlacePortal,
                          StepKind::ChangePortal, StepKind::RemovePortal})
        EXPECT_EQ(roomChangedBy(kind, *p), 1);
    p->roomCount = kMaxRooms;
    EXPECT_EQ(roomChangedBy(StepKind::AddRoom, *p), 0);  // full: no room is added
    p->currentRoom = 0;
    EXPECT_EQ(roomChangedBy(StepKind::MoveRoom, *p), 0);
}

// The largest project: 80 rooms of 32 x 32 sectors, each sector different, 20 portals a room.
std::unique_ptr<Project> largestProject() {
    auto p = std::make_unique<Project>();
    NullRoomView view;
    RoomProperties values;
    values.rows = 32;
    values.columns = 32;
    for (int n = 1; n <= kMaxRooms; ++n) {
        values.name = "Room #" + std::to_string(n);
        addRoom(*p, values, view);
        EditorRoom& room = p->current();
        for (std::size_t k = 0; k < kMaxSectors; ++k) {
            Sector& s = room.sectors[k];
            s.floorShape = static_cast<std::uint8_t>(1 + k % 16);
            s.floorTextures.fill(static_cast<std::int32_t>(k));
            s.ceilingTextures.fill(static_cast<std::int32_t>(k + 1));
            s.floorLights.fill(static_cast<std::uint8_t>(k));
            s.ceilingLights.fill(static_cast<std::uint8_t>(k + 7));
            s.spare1.fill(static_cast<std::uint8_t>(k));
            s.spare2.fill(static_cast<std::uint8_t>(k + 3));
            room.grid.gameSectors[k].floorDataIndex = static_cast<std::uint16_t>(k);
        }
        room.portalCount = kMaxPortals;
        for (Portal& portal : room.portals) portal = Portal{.face = 1, .targetRoom = 1, .width = 2, .length = 2, .row = 2, .column = 2};
    }
    return p;
}

// The costliest step there is, a size change resetting every sector of a 32 x 32 room, 200 times
// over on the largest project: the history stays under 64 MB.
TEST(ProjectHistory, TwoHundredOfTheLargestStepsStayUnder64MB) {
    auto p = largestProject();
    StepRecorder recorder;
    std::size_t total = 0;
    std::size_t largest = 0;
    for (int i = 0; i < kHistoryStepLimit; ++i) {
        ASSERT_TRUE(chooseRoom(*p, 1 + i % kMaxRooms));
        RoomProperties values = propertiesOf(*p);
        const int shownRows = values.rows;
        values.rows = shownRows == 32 ? 31 : 32;
        recorder.begin(*p, StepKind::RoomProperties);
        NullRoomView view;
        applyRoomProperties(*p, shownRows, values.columns, values, view);
        const ProjectStep step = recorder.finish(*p);
        ASSERT_TRUE(step.changed());
        total += step.byteSize();
        largest = std::max(largest, step.byteSize());
    }
    EXPECT_LT(total, std::size_t{64} << 20);
    EXPECT_LE(largest, 2 * sizeof(EditorRoom) + 4096);  // at most the room before and after
}

// A click on one sector of the largest room keeps a few blocks, not the room.
TEST(ProjectHistory, AOneSectorStepHoldsLittle) {
    auto p = largestProject();
    StepRecorder recorder;
    recorder.begin(*p, StepKind::CloseSector);
    ASSERT_TRUE(setSectorClosed(p->current(), 16, 16, true));
    const ProjectStep step = recorder.finish(*p);
    ASSERT_TRUE(step.changed());
    EXPECT_LT(step.byteSize(), 2048u);
}

}  // namespace
}  // namespace cw
