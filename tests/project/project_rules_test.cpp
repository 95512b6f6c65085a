// The list of a project's faults: its order, where it stops looking, and the subsets of the users.
#include "project/project_rules.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "project/project_file.h"
#include "project/sample_projects.h"

namespace cw {
namespace {

std::vector<Rule> rulesOf(const std::vector<ProjectFault>& faults) {
    std::vector<Rule> rules;
    for (const ProjectFault& f : faults) rules.push_back(f.rule);
    return rules;
}

// Three rooms with faults of several rules, the current room past them.
std::unique_ptr<Project> faultyProject() {
    auto project = test::makeTestProject();
    EditorRoom& first = test::addTestRoom(*project, 5, 5, 127, 139);
    test::addPortal(first, 9, 2, 1, 1, 2, 2);  // face 9
    sectorAt(first, 3, 3).floorShape = 0;
    test::addTestRoom(*project, 5, 5, 127, 139).grid.numX = 40;
    EditorRoom& third = test::addTestRoom(*project, 5, 5, 127, 139);
    third.portalCount = 25;
    gameSectorAt(third.grid, 2, 2).roomBelow = 6;  // room 7
    project->currentRoom = 9;
    return project;
}

TEST(ProjectRules, FaultsAreListedInOrderAndEachUserTakesItsOwn) {
    const auto project = faultyProject();
    EXPECT_EQ(rulesOf(projectFaults(*project)),
              (std::vector<Rule>{Rule::CurrentRoom, Rule::PortalFace, Rule::SectorShape, Rule::RoomSize,
                                 Rule::PortalCount, Rule::RoomBelowMissing}));
    const std::vector<Rule> held = {Rule::CurrentRoom, Rule::RoomSize, Rule::PortalCount};
    EXPECT_EQ(rulesOf(projectFaults(*project, RuleUser::Reader)), held);
    EXPECT_EQ(rulesOf(projectFaults(*project, RuleUser::Saver)), held);
    EXPECT_TRUE(projectFaults(*project, RuleUser::Build) == projectFaults(*project));

    // The saver refuses on the first fault of its own subset.
    try {
        serializeProject(*project);
        ADD_FAILURE() << "saved";
    } catch (const FormatError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The project cannot be saved: " + projectFaults(*project, RuleUser::Saver)[0].text);
    }
}

TEST(ProjectRules, TheListStopsWhereRoomsCannotBeLookedAt) {
    // Past 80 rooms, or without rooms, nothing else is looked at.
    auto project = faultyProject();
    project->roomCount = 81;
    EXPECT_EQ(rulesOf(projectFaults(*project)), std::vector<Rule>{Rule::RoomCount});
    project->roomCount = 0;
    EXPECT_EQ(rulesOf(projectFaults(*project)), std::vector<Rule>{Rule::NoRooms});
    EXPECT_TRUE(projectFaults(*project, RuleUser::Saver).empty());

    // A room of a wrong size hides its portals and sectors; a wrong portal count its portals.
    project = faultyProject();
    project->currentRoom = 1;
    EditorRoom& second = project->room(2);
    test::addPortal(second, 9, 2, 1, 1, 2, 2);
    sectorAt(second, 2, 2).ceilingShape = 40;
    project->room(3).portals[0].face = 9;  // past its count of 25
    EXPECT_EQ(rulesOf(projectFaults(*project)),
              (std::vector<Rule>{Rule::PortalFace, Rule::SectorShape, Rule::RoomSize, Rule::PortalCount,
                                 Rule::RoomBelowMissing}));
}

TEST(ProjectRules, SingleValueRulesGiveTheListedFault) {
    // The reader meets the values one by one; its faults are the list's, word for word.
    auto project = faultyProject();
    const auto listed = projectFaults(*project);
    ASSERT_EQ(listed.size(), 6u);
    const std::optional<ProjectFault> single[] = {
        currentRoomFault(9, 3),
        roomSizeFault(2, project->room(2).name.view(), 40, 5),
        portalCountFault(3, project->room(3).name.view(), 25),
    };
    const ProjectFault expected[] = {listed[0], listed[3], listed[4]};
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(single[i]) << expected[i].text;
        EXPECT_TRUE(*single[i] == expected[i]) << single[i]->text << "\n" << expected[i].text;
    }
    project->roomCount = 81;
    ASSERT_TRUE(roomCountFault(81));
    EXPECT_EQ(roomCountFault(81)->text, projectFaults(*project)[0].text);
    EXPECT_FALSE(roomCountFault(80));
    EXPECT_FALSE(currentRoomFault(200, 0));  // no rooms: no current room to be wrong about
    ASSERT_TRUE(currentRoomFault(0, 1));
    EXPECT_EQ(currentRoomFault(0, 1)->text,
              "The current room 0 (where the player starts) is not a room of the project, which has 1 room.");
    ASSERT_TRUE(portalCountFault(1, "", -1));
    EXPECT_EQ(portalCountFault(1, "", -1)->text, "Room 1 has -1 portals; a room has 0 to 20.");
    ASSERT_TRUE(roomSizeFault(1, "", 3, 2));
    EXPECT_EQ(roomSizeFault(1, "", 3, 2)->text,
              "Room 1 is 3 x 2 sectors; a room has 3 to 32 sectors in each direction.");
    EXPECT_FALSE(roomSizeFault(1, "", 32, 3));
}

}  // namespace
}  // namespace cw
