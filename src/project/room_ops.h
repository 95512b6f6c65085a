#pragma once
// The room operations: new project, add, apply properties, clone, delete the last room.
// They change the Project and tell the main window what to update through RoomView.
#include <array>
#include <string>

#include "project/project.h"

namespace cw {

// The values the room properties dialog holds, as the dialog shows them.
struct RoomProperties {
    int rows = 10;        // "Długość": numZ, 3..32
    int columns = 10;     // "Szeokość": numX, 3..32
    std::string name;     // Windows-1250 bytes as typed (the room keeps the first 20)
    bool water = false;
    bool windRain = false;
    bool swamp = false;
    bool sky = false;
    int floorLevel = 127;   // 1..220
    int ceilingLevel = 139; // 1..220
    int itemLight = 16;     // 0..32
    int roomLight = 16;     // 0..32
    // Texture numbers as shown (stored + 1), front, back, left, right, surface; 0..2500.
    std::array<int, 5> floorTextures{1, 1, 1, 1, 1};
    std::array<int, 5> ceilingTextures{1, 1, 1, 1, 1};
};

// What the main window updates for the room operations. Names are Windows-1250 bytes, messages
// UTF-8; list indices are 0-based (entry i is room i + 1).
class RoomView {
public:
    virtual ~RoomView() = default;
    virtual void clearRoomList() = 0;
    virtual void appendRoomName(const std::string& name) = 0;
    virtual void replaceRoomName(int index, const std::string& name) = 0;
    virtual void removeLastRoomName() = 0;
    virtual void selectRoom(int index) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // The current room joins the rooms the plan shows beneath it, as every non-current room;
    // told by addRoom just before the new room becomes current.
    virtual void stampCurrentRoom() = 0;
    virtual void redrawAll() = 0;
    virtual void redrawCurrent() = 0;
    virtual void showMessage(const std::string& text) = 0;
};

// A RoomView with nothing to update, for code without a window (tools, benchmarks, tests).
class NullRoomView : public RoomView {
public:
    void clearRoomList() override {}
    void appendRoomName(const std::string&) override {}
    void replaceRoomName(int, const std::string&) override {}
    void removeLastRoomName() override {}
    void selectRoom(int) override {}
    void setCaption(const std::string&) override {}
    void stampCurrentRoom() override {}
    void redrawAll() override {}
    void redrawCurrent() override {}
    void showMessage(const std::string&) override {}
};

// A room's place on the plan: the plan pixel of its picture's top-left corner.
struct PlanPosition {
    int x = 0;
    int y = 0;
    friend bool operator==(const PlanPosition&, const PlanPosition&) = default;
};

// The position nearest to (x, y) at which the whole of the room's picture (roomPlanSize) lies
// on the plan: 0 <= x <= kPlanSize - picture width, the same for y. A position on the plan stays
// as it is.
// Every operation that places a room keeps it on the plan this way (a room dragged, added,
// cloned or resized past an edge stops at the edge; nothing is refused).
PlanPosition keepOnPlan(const EditorRoom& room, int x, int y);

// Moves the current room to (x, y), kept on the plan; planX, planY follow. Returns true when the
// room's position changed. Does nothing without rooms.
bool moveCurrentRoom(Project& project, int x, int y);

// Makes room n current, as a click in the room list or on the plan chooses it; planX, planY
// follow its position. Returns false, changing nothing, unless 1 <= n <= roomCount.
bool chooseRoom(Project& project, int n);

// Told when adding or cloning would need an 81st room.
inline constexpr const char* kRoomLimitMessage =
    "The project already holds 80 rooms, the most a project can hold. No room was added.";

// Throws std::invalid_argument naming the first field outside the dialog's ranges (sizes
// 3..32, levels 1..220, lights 0..32, textures 0..2500). addRoom and applyRoomProperties
// check their values this way before they change anything.
void checkRoomProperties(const RoomProperties& values);

// "Room #" followed by roomCount + 1: the name the add dialog suggests.
std::string suggestedRoomName(const Project& project);

// The dialog's values for the current room (its sizes, defaults shown + 1).
// roomListName is the text of the selected room list entry. Without rooms: the dialog's
// initial values with that name.
RoomProperties currentRoomProperties(const Project& project, const std::string& roomListName);

// "&Nowy": clearProject, room list emptied, caption "Vellorn's Cairnwork ", redrawAll.
void newProject(Project& project, RoomView& view);

// True when another room may be added or cloned; otherwise shows kRoomLimitMessage.
// The window asks this before it shows the add dialog.
bool canAddRoom(const Project& project, RoomView& view);

// Adds a room from confirmed dialog values in slot roomCount + 1, which becomes current. The
// previous current room joins the plan beneath (stampCurrentRoom, while it is still current);
// the new room goes to the plan's south-west corner when planX and planY are both negative,
// else 10 pixels east and south of planX, planY, kept on the plan (keepOnPlan). The slot starts
// empty (no portals of a room deleted from it).
// View calls: stampCurrentRoom() when there was a room, appendRoomName(name as typed),
// selectRoom(n - 1), redrawCurrent().
// Returns false (and changes nothing but the message) when the project is full.
// Throws std::invalid_argument (changing nothing) for values outside the dialog's ranges.
bool addRoom(Project& project, const RoomProperties& values, RoomView& view);

// Applies confirmed dialog values to the current room. `shown` are the sizes the dialog showed
// when it opened; a change of either resets every sector of the room (portals stay). The room's
// position becomes planX, planY, kept on the plan at its new size (planX, planY follow). View calls: replaceRoomName(currentRoom - 1), redrawCurrent().
// Does nothing without rooms. Throws std::invalid_argument like addRoom.
void applyRoomProperties(Project& project, int shownRows, int shownColumns, const RoomProperties& values,
                         RoomView& view);

// Copies the current room into a new last room: everything but the position (10 pixels east and
// south, kept on the plan). currentRoom does not change. View calls:
// appendRoomName(the room's name), redrawAll(). Returns false when the project is full (with
// kRoomLimitMessage) or has no room (silently).
bool cloneRoom(Project& project, RoomView& view);

// Removes the last room when at least two exist; the new last room becomes current and planX,
// planY its position. View calls: removeLastRoomName(), redrawAll(), selectRoom(roomCount - 1).
void deleteLastRoom(Project& project, RoomView& view);

}  // namespace cw
