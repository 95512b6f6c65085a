// The room operations: new project, add, apply properties, clone, delete the last room.
#include "project/room_ops.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace cw {
namespace {

// Records what the operations ask of the main window, one line per call.
class RecordingView : public RoomView {
public:
    std::vector<std::string> calls;
    std::vector<std::string> list;  // the room list as the window would show it
    int selected = -1;
    const Project* project = nullptr;  // to tell which room is current when a room is stamped

    void clearRoomList() override {
        calls.push_back("clear");
        list.clear();
        selected = -1;
    }
    void appendRoomName(const std::string& name) override {
        calls.push_back("append " + name);
        list.push_back(name);
    }
    void replaceRoomName(int index, const std::string& name) override {
        calls.push_back("replace " + std::to_string(index) + " " + name);
        list.at(static_cast<std::size_t>(index)) = name;
    }
    void removeLastRoomName() override {
        calls.push_back("remove");
        list.pop_back();
    }
    void selectRoom(int index) override {
        calls.push_back("select " + std::to_string(index));
        selected = index;
    }
    void setCaption(const std::string& caption) override { calls.push_back("caption " + caption); }
    void stampCurrentRoom() override { calls.push_back("stamp " + std::to_string(project->currentRoom)); }
    void redrawAll() override { calls.push_back("redrawAll"); }
    void redrawCurrent() override { calls.push_back("redrawCurrent"); }
    void showMessage(const std::string& text) override { calls.push_back("message " + text); }
};

RoomProperties props(int rows, int columns, const std::string& name) {
    RoomProperties v;
    v.rows = rows;
    v.columns = columns;
    v.name = name;
    return v;
}

class RoomOps : public testing::Test {
protected:
    void SetUp() override { view.project = project.get(); }

    void add(int rows, int columns, const std::string& name) {
        ASSERT_TRUE(addRoom(*project, props(rows, columns, name), view));
    }

    std::unique_ptr<Project> project = std::make_unique<Project>();
    RecordingView view;
};

TEST_F(RoomOps, PlacesTheFirstRoomSouthWestAndTheNextOneSectorFurther) {
    add(10, 10, "Room #1");
    const EditorRoom& first = project->room(1);
    EXPECT_EQ(first.posX, 0);
    EXPECT_EQ(first.posY, 962 - 102);
    EXPECT_EQ(project->planX, 0);
    EXPECT_EQ(project->planY, 860);
    EXPECT_EQ(project->roomCount, 1);
    EXPECT_EQ(project->currentRoom, 1);

    add(5, 8, "Room #2");
    EXPECT_EQ(project->room(2).posX, 10);
    EXPECT_EQ(project->room(2).posY, 870);
    EXPECT_EQ(project->currentRoom, 2);

    add(3, 3, "Room #3");  // from where the current room stands, not from the picture size
    EXPECT_EQ(project->room(3).posX, 20);
    EXPECT_EQ(project->room(3).posY, 880);

    // A room dragged elsewhere: the next one follows the current position.
    project->planX = 300;
    project->planY = 400;
    add(4, 4, "Room #4");
    EXPECT_EQ(project->room(4).posX, 310);
    EXPECT_EQ(project->room(4).posY, 410);
}

TEST_F(RoomOps, CornerPlacementNeedsBothPlanCoordinatesNegative) {
    add(10, 10, "a");
    project->planX = -10;  // dragged past the west edge
    project->planY = 500;
    add(3, 3, "b");
    EXPECT_EQ(project->room(2).posX, 0);
    EXPECT_EQ(project->room(2).posY, 510);
}

TEST(KeepOnPlan, HoldsTheWholePictureOnThePlan) {
    EditorRoom room;
    room.grid.numZ = 10;  // 202 x 102 pixels on the plan
    room.grid.numX = 20;
    struct Case {
        int x, y;
        PlanPosition kept;
    } const cases[] = {
        {0, 0, {0, 0}},           {300, 400, {300, 400}}, {760, 860, {760, 860}},  // on the plan: kept
        {770, 860, {760, 860}},   {760, 870, {760, 860}}, {5000, 5000, {760, 860}},  // past east, south
        {-10, 400, {0, 400}},     {300, -1, {300, 0}},    {-5000, 5000, {0, 860}},   // past west, north
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(keepOnPlan(room, c.x, c.y), c.kept);
    }
}

// Every operation that places a room keeps all of it on the 962 x 962 plan.
TEST_F(RoomOps, RoomsStayOnThePlan) {
    add(10, 10, "one");
    add(10, 10, "two");  // one sector east and south of the first would be past the south edge
    EXPECT_EQ(project->room(2).posX, 10);
    EXPECT_EQ(project->room(2).posY, 860);
    EXPECT_EQ(project->planY, 860);

    // Dragged past the south-east corner: it stops there.
    EXPECT_TRUE(moveCurrentRoom(*project, 990, 990));
    EXPECT_EQ(project->room(2).posX, 860);
    EXPECT_EQ(project->room(2).posY, 860);
    EXPECT_EQ(project->planX, 860);
    EXPECT_EQ(project->planY, 860);
    EXPECT_FALSE(moveCurrentRoom(*project, 870, 880));  // still the corner: no move
    EXPECT_TRUE(moveCurrentRoom(*project, -30, -20));
    EXPECT_EQ(project->planX, 0);
    EXPECT_EQ(project->planY, 0);
    EXPECT_TRUE(moveCurrentRoom(*project, 860, 860));

    // Cloned and added beside a room at the corner: at the corner too.
    ASSERT_TRUE(cloneRoom(*project, view));
    EXPECT_EQ(project->room(3).posX, 860);
    EXPECT_EQ(project->room(3).posY, 860);
    add(20, 16, "four");  // 162 x 202
    EXPECT_EQ(project->room(4).posX, 962 - 162);
    EXPECT_EQ(project->room(4).posY, 962 - 202);

    // Made larger at the corner: it grows into the plan.
    RoomProperties v = currentRoomProperties(*project, "four");
    v.rows = 25;
    v.columns = 30;
    applyRoomProperties(*project, 20, 16, v, view);
    EXPECT_EQ(project->room(4).posX, 962 - 302);
    EXPECT_EQ(project->room(4).posY, 962 - 252);
    EXPECT_EQ(project->planX, project->room(4).posX);
    EXPECT_EQ(project->planY, project->room(4).posY);
}

// What the stamp draws: plan tests (Plan.StampsARoomAsEveryNonCurrentRoom).
TEST_F(RoomOps, StampsThePreviousCurrentRoomIntoThePlan) {
    add(10, 10, "first");  // nothing to stamp: the first room lives only on the working copy
    EXPECT_EQ(view.calls, (std::vector<std::string>{"append first", "select 0", "redrawCurrent"}));

    view.calls.clear();
    add(10, 10, "second");  // room 1 is stamped while it is still current
    EXPECT_EQ(view.calls, (std::vector<std::string>{"stamp 1", "append second", "select 1", "redrawCurrent"}));
}

TEST_F(RoomOps, StoresTheDialogValues) {
    RoomProperties v = props(6, 9, "A very long room name indeed");
    v.water = true;
    v.sky = true;
    v.floorLevel = 131;
    v.ceilingLevel = 151;
    v.itemLight = 24;
    v.roomLight = 12;
    v.floorTextures = {0, 1, 2, 3, 4};  // front, back, left, right, surface as shown
    v.ceilingTextures = {5, 6, 7, 8, 2500};
    ASSERT_TRUE(addRoom(*project, v, view));

    const EditorRoom& r = project->room(1);
    EXPECT_EQ(r.name.view(), "A very long room nam");  // 20 characters
    EXPECT_EQ(view.list.at(0), "A very long room name indeed");  // the list shows it as typed
    EXPECT_EQ(r.water, 1);
    EXPECT_EQ(r.windRain, 0);
    EXPECT_EQ(r.swamp, 0);
    EXPECT_EQ(r.sky, 1);
    EXPECT_EQ(r.floorLevel, 131);
    EXPECT_EQ(r.ceilingLevel, 151);
    EXPECT_EQ(r.itemLight, 24);
    EXPECT_EQ(r.roomLight, 12);
    EXPECT_EQ(r.defaultFloorTextures, (std::array<std::int32_t, 5>{-1, 0, 1, 2, 3}));
    EXPECT_EQ(r.defaultCeilingTextures, (std::array<std::int32_t, 5>{4, 5, 6, 7, 2499}));
    EXPECT_EQ(r.numZ(), 6);
    EXPECT_EQ(r.numX(), 9);
    EXPECT_EQ(roomPlanSize(r), (PlanSize{.width = 92, .height = 62}));  // the picture: Plan.MakesRoomPictures
    const Sector& s = sectorAt(r, 2, 2);
    EXPECT_EQ(s.floorTexture(Face::Front), -1);
    EXPECT_EQ(s.floorTexture(Face::Surface), 3);
    EXPECT_EQ(s.floorLight(Face::Back), 12);
    EXPECT_EQ(gameSectorAt(r.grid, 2, 2).floor, 127 - 131);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"append A very long room name indeed", "select 0", "redrawCurrent"}));
}

TEST_F(RoomOps, SuggestsTheNextRoomNumber) {
    EXPECT_EQ(suggestedRoomName(*project), "Room #1");
    for (int i = 0; i < 3; ++i) add(3, 3, "r");
    EXPECT_EQ(suggestedRoomName(*project), "Room #4");
}

TEST_F(RoomOps, ANewRoomInAFreedSlotStartsEmpty) {
    add(10, 10, "one");
    add(10, 10, "two");
    EditorRoom& two = project->room(2);
    two.portalCount = 2;
    two.portals[0] = Portal{.face = 6, .targetRoom = 1, .width = 2, .length = 2, .row = 3, .column = 3};
    two.reserved = {7, 7};
    sectorAt(two, 3, 3).linkMode = 2;
    sectorAt(two, 3, 3).spare2[0] = 5;
    deleteLastRoom(*project, view);

    add(10, 10, "new two");
    const EditorRoom& fresh = project->room(2);
    EXPECT_EQ(fresh.portalCount, 0);
    EXPECT_EQ(fresh.portals[0].face, 0);
    EXPECT_EQ(fresh.reserved, (std::array<std::uint8_t, 2>{0, 0}));
    EXPECT_EQ(sectorAt(fresh, 3, 3).linkMode, 0);
    EXPECT_EQ(sectorAt(fresh, 3, 3).spare2[0], 0);
}

TEST_F(RoomOps, ShowsTheRoomInTheDialog) {
    RoomProperties v = props(7, 12, "Hall");
    v.swamp = true;
    v.floorTextures = {0, 3, 0, 0, 9};
    v.itemLight = 30;
    ASSERT_TRUE(addRoom(*project, v, view));
    RoomProperties shown = currentRoomProperties(*project, "Hall (list)");
    EXPECT_EQ(shown.rows, 7);
    EXPECT_EQ(shown.columns, 12);
    EXPECT_EQ(shown.name, "Hall (list)");
    EXPECT_TRUE(shown.swamp);
    EXPECT_FALSE(shown.water);
    EXPECT_EQ(shown.floorTextures, v.floorTextures);
    EXPECT_EQ(shown.ceilingTextures, v.ceilingTextures);
    EXPECT_EQ(shown.itemLight, 30);
    EXPECT_EQ(shown.floorLevel, 127);
}

TEST_F(RoomOps, PropertiesWithTheSameSizeKeepTheSectors) {
    add(10, 10, "Room #1");
    EditorRoom& r = project->room(1);
    Sector& edited = sectorAt(r, 4, 5);
    edited.floorShape = 6;
    edited.floorTexture(Face::Surface) = 77;
    gameSectorAt(r.grid, 4, 5).floor = -20;
    r.portalCount = 1;
    r.portals[0] = Portal{.face = 1, .targetRoom = 2, .width = 1, .length = 1, .row = 10, .column = 4};
    const auto sectorsBefore = r.grid.gameSectors;
    project->planX = 100;  // dragged
    project->planY = 200;
    view.calls.clear();

    RoomProperties v = currentRoomProperties(*project, "Room #1");
    v.floorTextures = {9, 9, 9, 9, 9};
    v.floorLevel = 111;
    v.name = "Renamed";
    applyRoomProperties(*project, 10, 10, v, view);

    EXPECT_EQ(sectorAt(r, 4, 5).floorShape, 6);
    EXPECT_EQ(sectorAt(r, 4, 5).floorTexture(Face::Surface), 77);
    EXPECT_EQ(sectorAt(r, 2, 2).floorTexture(Face::Front), 0);  // old default, not the new 8
    EXPECT_EQ(r.grid.gameSectors, sectorsBefore);
    EXPECT_EQ(r.defaultFloorTextures, (std::array<std::int32_t, 5>{8, 8, 8, 8, 8}));
    EXPECT_EQ(r.floorLevel, 111);
    EXPECT_EQ(r.name.view(), "Renamed");
    EXPECT_EQ(r.posX, 100);
    EXPECT_EQ(r.posY, 200);
    EXPECT_EQ(r.portalCount, 1);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"replace 0 Renamed", "redrawCurrent"}));
}

TEST_F(RoomOps, PropertiesWithANewSizeResetEverySector) {
    add(10, 10, "Room #1");
    EditorRoom& r = project->room(1);
    sectorAt(r, 4, 5).floorShape = 6;
    sectorAt(r, 4, 5).floorTexture(Face::Surface) = 77;
    gameSectorAt(r.grid, 4, 5).floor = -20;
    r.portalCount = 1;
    r.portals[0].targetRoom = 2;

    RoomProperties v = currentRoomProperties(*project, "Room #1");
    v.rows = 11;
    applyRoomProperties(*project, 10, 10, v, view);

    EXPECT_EQ(r.numZ(), 11);
    EXPECT_EQ(r.numX(), 10);
    EXPECT_EQ(roomPlanSize(r).height, 112);
    for (int x = 2; x <= 9; ++x) {
        for (int z = 2; z <= 10; ++z) {
            EXPECT_EQ(sectorAt(r, x, z).floorShape, 1);
            EXPECT_EQ(sectorAt(r, x, z).floorTexture(Face::Surface), 0);
            EXPECT_EQ(gameSectorAt(r.grid, x, z).floor, 0);
        }
    }
    EXPECT_EQ(r.portalCount, 1);
    EXPECT_EQ(r.portals[0].targetRoom, 2);
}

TEST_F(RoomOps, ClonesEverythingButPictureAndPosition) {
    RoomProperties v = props(8, 5, "Source");
    v.sky = true;
    v.windRain = true;
    v.ceilingTextures = {3, 4, 5, 6, 0};
    ASSERT_TRUE(addRoom(*project, v, view));
    add(3, 3, "Other");
    project->currentRoom = 1;  // chosen in the room list
    project->planX = project->room(1).posX;
    project->planY = project->room(1).posY;
    EditorRoom& src = project->room(1);
    src.posX = project->planX = 300;  // dragged clear of the plan's edges
    src.posY = project->planY = 400;
    sectorAt(src, 2, 3).ceilingShape = 16;
    sectorAt(src, 2, 3).spare2[7] = 1;
    gameSectorAt(src.grid, 2, 3).roomAbove = 1;
    src.portalCount = 1;
    src.portals[0] = Portal{.face = 5, .targetRoom = 2, .width = 1, .length = 2, .row = 3, .column = 2};
    src.reserved = {4, 5};
    view.calls.clear();

    ASSERT_TRUE(cloneRoom(*project, view));
    EXPECT_EQ(project->roomCount, 3);
    EXPECT_EQ(project->currentRoom, 1);
    const EditorRoom& c = project->room(3);
    EXPECT_EQ(c.name.view(), "Source");
    EXPECT_EQ(c.sky, 1);
    EXPECT_EQ(c.windRain, 1);
    EXPECT_EQ(c.defaultCeilingTextures, src.defaultCeilingTextures);
    EXPECT_EQ(c.numZ(), 8);
    EXPECT_EQ(c.numX(), 5);
    EXPECT_EQ(c.grid.gameSectors, src.grid.gameSectors);
    EXPECT_EQ(sectorAt(c, 2, 3).ceilingShape, 16);
    EXPECT_EQ(sectorAt(c, 2, 3).spare2[7], 1);
    EXPECT_EQ(c.portalCount, 1);
    EXPECT_EQ(c.portals[0].targetRoom, 2);
    EXPECT_EQ(c.posX, src.posX + 10);
    EXPECT_EQ(c.posY, src.posY + 10);
    EXPECT_EQ(roomPlanSize(c), (PlanSize{.width = 52, .height = 82}));
    EXPECT_EQ(view.calls, (std::vector<std::string>{"append Source", "redrawAll"}));
}

TEST_F(RoomOps, DeletesOnlyTheLastRoomAndNeverTheOnlyOne) {
    add(10, 10, "one");
    view.calls.clear();
    deleteLastRoom(*project, view);
    EXPECT_EQ(project->roomCount, 1);
    EXPECT_TRUE(view.calls.empty());

    add(6, 6, "two");
    add(4, 4, "three");
    project->currentRoom = 1;
    project->planX = project->room(1).posX;
    project->planY = project->room(1).posY;
    view.calls.clear();
    deleteLastRoom(*project, view);
    EXPECT_EQ(project->roomCount, 2);
    EXPECT_EQ(project->currentRoom, 2);  // the new last room, whichever was current
    EXPECT_EQ(project->planX, project->room(2).posX);
    EXPECT_EQ(project->planY, project->room(2).posY);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"remove", "redrawAll", "select 1"}));
    EXPECT_EQ(view.list, (std::vector<std::string>{"one", "two"}));

    deleteLastRoom(*project, view);
    EXPECT_EQ(project->roomCount, 1);
    EXPECT_EQ(project->currentRoom, 1);
}

TEST_F(RoomOps, RefusesAnEightyFirstRoom) {
    for (int i = 1; i <= kMaxRooms; ++i) add(3, 3, "r" + std::to_string(i));
    project->currentRoom = 40;
    project->planX = project->room(40).posX;
    project->planY = project->room(40).posY;
    const std::int32_t planX = project->planX;
    view.calls.clear();

    EXPECT_FALSE(canAddRoom(*project, view));
    EXPECT_FALSE(addRoom(*project, props(3, 3, "r81"), view));
    EXPECT_FALSE(cloneRoom(*project, view));
    const std::string message = std::string("message ") + kRoomLimitMessage;
    EXPECT_EQ(view.calls, (std::vector<std::string>{message, message, message}));  // nothing stamped
    EXPECT_EQ(project->roomCount, kMaxRooms);
    EXPECT_EQ(project->currentRoom, 40);
    EXPECT_EQ(project->planX, planX);
    EXPECT_EQ(project->room(80).name.view(), "r80");
}

TEST_F(RoomOps, DoNothingWithoutRooms) {
    RoomProperties v = props(5, 5, "x");
    applyRoomProperties(*project, 10, 10, v, view);
    EXPECT_FALSE(cloneRoom(*project, view));
    deleteLastRoom(*project, view);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(project->roomCount, 0);
    EXPECT_EQ(project->room(1).numZ(), 0);  // nothing was made in the first slot
}

TEST_F(RoomOps, RefusesValuesOutsideTheDialogRanges) {
    add(10, 10, "one");
    view.calls.clear();
    struct Case {
        const char* what;
        void (*spoil)(RoomProperties&);
    };
    const Case cases[] = {
        {"rows", [](RoomProperties& v) { v.rows = 33; }},
        {"columns", [](RoomProperties& v) { v.columns = 2; }},
        {"floor level", [](RoomProperties& v) { v.floorLevel = 0; }},
        {"ceiling level", [](RoomProperties& v) { v.ceilingLevel = 221; }},
        {"room light", [](RoomProperties& v) { v.roomLight = 33; }},
        {"item light", [](RoomProperties& v) { v.itemLight = -1; }},
        {"texture", [](RoomProperties& v) { v.ceilingTextures[4] = 2501; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RoomProperties v = props(10, 10, "two");
        c.spoil(v);
        EXPECT_THROW(addRoom(*project, v, view), std::invalid_argument);
        EXPECT_THROW(applyRoomProperties(*project, 10, 10, v, view), std::invalid_argument);
        EXPECT_EQ(project->roomCount, 1);
        EXPECT_EQ(project->room(1).name.view(), "one");
        EXPECT_EQ(project->room(1).numZ(), 10);
    }
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(RoomOps, NewProjectEmptiesTheProjectAndTheWindow) {
    add(10, 10, "one");
    add(10, 10, "two");
    project->projectFileName = "a.cwp";
    project->levelDescription = "kept? no";
    view.calls.clear();
    newProject(*project, view);
    EXPECT_EQ(project->roomCount, 0);
    EXPECT_EQ(project->currentRoom, 1);
    EXPECT_EQ(project->planX, -1);
    EXPECT_TRUE(project->projectFileName.empty());
    EXPECT_TRUE(project->levelDescription.empty());
    EXPECT_EQ(project->room(2).numZ(), 0);  // the slot is cleared
    EXPECT_EQ(view.calls, (std::vector<std::string>{"clear", "caption Vellorn's Cairnwork ", "redrawAll"}));

    add(10, 10, "again");  // back in the south-west corner
    EXPECT_EQ(project->room(1).posY, 860);
}

}  // namespace
}  // namespace cw
