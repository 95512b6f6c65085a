// The room links the game follows, checked on the places of the world the sectors cover: which
// joins of rooms the build refuses, which it builds with a warning, and which it builds as they are.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "project/project_rules.h"
#include "project/sample_projects.h"

namespace cw {
namespace {

using test::addPlacedRoom;
using test::addSideLink;
using test::addVerticalLink;

// Two 5 x 5 rooms, the first with its grid origin at world column 0, row 0.
struct Case {
    const char* name;
    std::function<void(Project&)> make;
    // Per fault (in order) the fragments its line holds; likewise per warning.
    std::vector<std::vector<std::string>> faults;
    std::vector<std::vector<std::string>> warnings;
};

bool holds(const std::string& text, const std::vector<std::string>& fragments) {
    for (const std::string& f : fragments)
        if (text.find(f) == std::string::npos) return false;
    return true;
}

void expectLines(const char* what, const std::vector<std::string>& lines,
                 const std::vector<std::vector<std::string>>& expected) {
    std::string all;
    for (const std::string& l : lines) all += "\n  " + l;
    ASSERT_EQ(lines.size(), expected.size()) << what << ":" << all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(holds(lines[i], expected[i])) << what << " " << i << ":" << all;
}

TEST(RoomLinks, JoinsOfRoomsAreRefusedWarnedOrBuilt) {
    const std::vector<Case> cases = {
        {"doorways of rooms overlapping by one sector lead into each other",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 0, 4);  // b's south wall on a's north wall
             addSideLink(a, 3, 5, 2);
             addSideLink(b, 3, 1, 1);
         },
         {{"Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2 \"Room2\"", "onto its sector (3, 1)",
           "side link too, into Room 1", "go round for ever (rooms 1, 2, 1).", "overlap by two sectors"},
          {"Room 2 \"Room2\", sector (3, 1): its side link leads into Room 1 \"Room1\"", "onto its sector (3, 5)",
           "side link too, into Room 2", "for ever (rooms 2, 1, 2)."}},
         {}},
        {"the same, east and west",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 4, 0);
             addSideLink(a, 5, 2, 2);
             addSideLink(b, 1, 2, 1);
         },
         {{"Room 1 \"Room1\", sector (5, 2)", "into Room 2", "onto its sector (1, 2)", "for ever"},
          {"Room 2 \"Room2\", sector (1, 2)", "into Room 1", "onto its sector (5, 2)", "for ever"}},
         {}},
        {"doorways of rooms overlapping by two sectors lead onto the floor",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 0, 3);  // each wall on the other's open row
             addSideLink(a, 3, 5, 2);
             addSideLink(b, 3, 1, 1);
         },
         {},
         {}},
        {"a side link into a side link that leads on to a third room",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 0, 3);
             addPlacedRoom(p, 5, 5, 0, 2);
             addSideLink(a, 3, 5, 2);
             addSideLink(b, 3, 2, 3);  // world row 4, where room 3 has an open sector
         },
         {{"Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2", "onto its sector (3, 2)",
           "side link too, into Room 3", "does not pass from one side link into another"}},
         {}},
        {"a side link into its own room",
         [](Project& p) { addSideLink(addPlacedRoom(p, 5, 5, 0, 0), 3, 3, 1); },
         {{"Room 1 \"Room1\", sector (3, 3): its side link leads into Room 1", "onto its sector (3, 3)",
           "for ever (rooms 1, 1)."}},
         {}},
        {"a side link into a place the room beside does not cover",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             addPlacedRoom(p, 5, 5, 1, 5);  // columns 1..5, rows 5..9: not row 4
             addSideLink(a, 3, 5, 2);
         },
         {{"Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2 \"Room2\", which has no sector at "
           "this place (world column 2, row 4)."}},
         {}},
        {"a side link into a closed sector",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 0, 3);
             addSideLink(a, 3, 5, 2);
             test::setHeights(b, 3, 2, -12, -12);
         },
         {},
         {{"Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2 \"Room2\", onto its sector (3, 2),",
           "which is closed", "cannot go through"}}},
        {"a side link into a wall of the room beside",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             addPlacedRoom(p, 5, 5, 0, 4);
             addSideLink(a, 3, 5, 2);
         },
         {},
         {{"Room 1 \"Room1\", sector (3, 5)", "into Room 2", "onto its sector (3, 1), which is closed"}}},
        {"an opening into the room below and back up, at one place",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0, 127, 139);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 1, 1, 115, 127);
             addVerticalLink(a, 3, 3, 0, 2);
             addVerticalLink(b, 2, 2, 1, 0);
         },
         {},
         {}},
        {"a room below that does not cover the place",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0, 127, 139);
             addPlacedRoom(p, 5, 5, 3, 0, 115, 127);  // columns 3..7
             addVerticalLink(a, 3, 3, 0, 2);
         },
         {{"Room 1 \"Room1\", sector (3, 3): the room below is Room 2 \"Room2\", which has no sector at this "
           "place (world column 2, row 2)."}},
         {}},
        {"a room above that does not cover the place",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0, 127, 139);
             addPlacedRoom(p, 3, 3, 0, 3, 139, 151);  // rows 3..5
             addVerticalLink(a, 2, 2, 2, 0);
         },
         {{"Room 1 \"Room1\", sector (2, 2): the room above is Room 2 \"Room2\", which has no sector at this "
           "place (world column 1, row 1)."}},
         {}},
        {"two rooms each below the other",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 5, 5, 0, 0);
             addVerticalLink(a, 3, 3, 0, 2);
             addVerticalLink(b, 3, 3, 0, 1);
         },
         {{"Room 1 \"Room1\", sector (3, 3): the room below is Room 2", "chain of rooms below comes back to Room 1",
           "rooms 1, 2, 1", "world column 2, row 2"},
          {"Room 2 \"Room2\", sector (3, 3): the room below is Room 1", "comes back to Room 2", "rooms 2, 1, 2"}},
         {}},
        {"three rooms each above the next, round",
         [](Project& p) {
             EditorRoom& a = addPlacedRoom(p, 5, 5, 0, 0);
             EditorRoom& b = addPlacedRoom(p, 4, 4, 1, 1);
             EditorRoom& c = addPlacedRoom(p, 3, 3, 2, 2);
             addVerticalLink(a, 4, 4, 2, 0);  // world column 3, row 3
             addVerticalLink(b, 3, 3, 3, 0);
             addVerticalLink(c, 2, 2, 1, 0);
         },
         {{"Room 1 \"Room1\", sector (4, 4): the room above is Room 2", "rooms 1, 2, 3, 1"},
          {"Room 2 \"Room2\", sector (3, 3): the room above is Room 3", "rooms 2, 3, 1, 2"},
          {"Room 3 \"Room3\", sector (2, 2): the room above is Room 1", "rooms 3, 1, 2, 3"}},
         {}},
        {"a link below into the room itself",
         [](Project& p) { addVerticalLink(addPlacedRoom(p, 5, 5, 0, 0), 2, 3, 0, 1); },
         {{"Room 1 \"Room1\", sector (2, 3): the room below is Room 1", "rooms 1, 1"}},
         {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto project = test::makeTestProject();
        k.make(*project);
        const std::vector<ProjectFault> findings = roomLinkFaults(*project);
        const std::vector<std::string> faults = refusalTexts(findings, RuleUser::Build);
        expectLines("faults", faults, k.faults);
        expectLines("warnings", warningTexts(findings), k.warnings);
        // The build refuses exactly these (the projects have no other fault), and no one else does.
        EXPECT_EQ(refusalTexts(projectFaults(*project), RuleUser::Build), faults);
        EXPECT_EQ(projectFaults(*project), findings);
        EXPECT_TRUE(projectFaults(*project, RuleUser::Reader).empty());
        EXPECT_TRUE(projectFaults(*project, RuleUser::Saver).empty());
    }
}

TEST(RoomLinks, LinksOfRoomsThatAreNotThereAreLeftToTheOtherFaults) {
    auto project = test::makeTestProject();
    EditorRoom& a = addPlacedRoom(*project, 5, 5, 0, 0);
    EditorRoom& b = addPlacedRoom(*project, 5, 5, 0, 4);
    addSideLink(a, 3, 5, 2);
    addSideLink(b, 3, 1, 1);
    addVerticalLink(a, 2, 2, 9, 40);  // rooms 9 and 40 do not exist
    b.grid.numX = 40;                 // a size no room has
    EXPECT_TRUE(roomLinkFaults(*project).empty());
    const auto faults = refusalTexts(projectFaults(*project), RuleUser::Build);
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_NE(faults[0].find("the room below is room 40, which the project does not have"), std::string::npos);
    EXPECT_NE(faults[1].find("the room above is room 9, which the project does not have"), std::string::npos);
    EXPECT_NE(faults[2].find("Room 2 \"Room2\" is 40 x 5 sectors"), std::string::npos);
}

TEST(RoomLinks, PlacesFollowThePlanPositionAsTheBuildPlacesRooms) {
    struct PlaceCase {
        int posX, posY, rows, x, z, column, row;
    };
    // (posX div 10) columns; ((970 - posY - (10 * rows + 2)) div 10) rows, truncated towards zero.
    const PlaceCase cases[] = {
        {0, 860, 10, 1, 1, 0, 0},        {100, 500, 10, 1, 1, 10, 36},  {100, 500, 10, 4, 7, 13, 42},
        {105, 503, 5, 2, 2, 11, 42},     {-20, 900, 3, 1, 1, -2, 3},    {0, 900, 8, 1, 1, 0, -1},
    };
    for (const PlaceCase& c : cases) {
        auto project = test::makeTestProject();
        EditorRoom& room = test::addTestRoom(*project, c.rows, 5, 127, 139, 0, 16, c.posX, c.posY);
        const WorldOrigin origin = roomWorldOrigin(room);
        const WorldPlace place = sectorPlace(room, c.x, c.z);
        EXPECT_EQ(place, (WorldPlace{.column = c.column, .row = c.row})) << c.posX << "," << c.posY;
        EXPECT_EQ(origin.x + (c.x - 1) * 1024, place.column * 1024);
        EXPECT_EQ(origin.z + (c.z - 1) * 1024, place.row * 1024);
        int x = 0, z = 0;
        ASSERT_TRUE(sectorAtPlace(room, place, x, z));
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(z, c.z);
        EXPECT_FALSE(sectorAtPlace(room, sectorPlace(room, 0, 1), x, z));
        EXPECT_FALSE(sectorAtPlace(room, sectorPlace(room, 6, 1), x, z));
        EXPECT_FALSE(sectorAtPlace(room, sectorPlace(room, 1, c.rows + 1), x, z));
    }
}

}  // namespace
}  // namespace cw
