#pragma once
// The project in memory: the build settings texts, the current room, and 80 fixed room slots.
// Each room holds its place on the plan, its defaults, up to 32 x 32 sectors in two parallel
// forms (the editor's Sector records and the game's GameSector layout) and up to 20 portals.
// Nothing here draws: the plan's pictures of the rooms are made by whoever shows them.
//
// Conventions used throughout:
//  - Rooms are numbered from 1: room n is rooms[n - 1] (use Project::room(n)).
//  - Sector (x, z) is numbered as in the game's sector grid (records/game_sector.h), in both
//    sector arrays; heights are the GameSector bytes' (127 - level).
//  - Textures are stored as the number shown minus 1; below 0 means "no face".
//  - Texts are Windows-1250 bytes.
// A Project is about 9 MB: allocate it on the heap (std::make_unique<Project>()).
#include <array>
#include <cstdint>
#include <string>

#include "common/pstring.h"
#include "records/game_sector.h"

namespace cw {

inline constexpr int kMaxRooms = 80;
inline constexpr int kMaxPortals = 20;
inline constexpr int kMinRoomSide = 3;

// A room has 3 to 32 sector columns and as many rows at most.
constexpr bool roomSizeFits(int numX, int numZ) {
    return numX >= kMinRoomSide && numX <= kMaxSectorsPerSide && numZ >= kMinRoomSide && numZ <= kMaxSectorsPerSide;
}

// The faces of a sector's floor or ceiling group, in the order the user sees them.
enum class Face : int { Front = 0, Back = 1, Left = 2, Right = 3, Surface = 4 };
inline constexpr std::array<Face, 5> kAllFaces = {Face::Front, Face::Back, Face::Left, Face::Right, Face::Surface};

// Editor sector record, 102 bytes in the project file.
struct Sector {
    std::uint8_t floorShape = 0;        // ShapeTable entry 1..16
    std::uint8_t ceilingShape = 0;      // ShapeTable entry 1..16
    std::uint8_t floorSlopeKind = 0;    // 0..8
    std::uint8_t ceilingSlopeKind = 0;  // 0..8
    std::array<std::int32_t, 5> floorTextures{};    // front, back, SURFACE, left, right
    std::array<std::uint8_t, 5> floorLights{};      // front, back, left, right, surface
    std::array<std::int32_t, 5> ceilingTextures{};  // front, back, SURFACE, left, right
    std::array<std::uint8_t, 5> ceilingLights{};    // front, back, left, right, surface
    std::array<std::uint8_t, 4> spare1{};
    std::int32_t linkMode = 0;  // 0 new, 1 links above/below, 2 link to a side room
    std::array<std::uint8_t, 40> spare2{};

    // Position of a face in the texture arrays (the surface stands third there).
    static constexpr int textureSlot(Face f) {
        constexpr std::array<int, 5> order = {0, 1, 3, 4, 2};
        return order[static_cast<int>(f)];
    }
    std::int32_t& floorTexture(Face f) { return floorTextures[textureSlot(f)]; }
    std::int32_t floorTexture(Face f) const { return floorTextures[textureSlot(f)]; }
    std::int32_t& ceilingTexture(Face f) { return ceilingTextures[textureSlot(f)]; }
    std::int32_t ceilingTexture(Face f) const { return ceilingTextures[textureSlot(f)]; }
    std::uint8_t& floorLight(Face f) { return floorLights[static_cast<int>(f)]; }
    std::uint8_t floorLight(Face f) const { return floorLights[static_cast<int>(f)]; }
    std::uint8_t& ceilingLight(Face f) { return ceilingLights[static_cast<int>(f)]; }
    std::uint8_t ceilingLight(Face f) const { return ceilingLights[static_cast<int>(f)]; }
};
inline constexpr std::size_t kSectorFileBytes = 102;

// Portal record, 19 bytes packed in the project file.
struct Portal {
    std::uint8_t face = 0;        // 1 north wall, 2 south wall, 3 west wall, 4 east wall, 5 ceiling, 6 floor
    std::int16_t targetRoom = 0;  // room number (1-based) the portal opens into
    std::int32_t width = 0;       // sectors
    std::int32_t length = 0;      // sectors (height for a wall portal)
    std::int32_t row = 0;         // z of the anchor sector, 1-based
    std::int32_t column = 0;      // x of the anchor sector, 1-based
};
inline constexpr std::size_t kPortalFileBytes = 19;

struct EditorRoom {
    std::int32_t posX = 0;  // plan pixels of the picture's left edge
    std::int32_t posY = 0;  // plan pixels of the picture's top edge (y grows downwards)
    PString<20> name;
    std::uint8_t floorLevel = 0;    // default floor level, 1..220
    std::uint8_t ceilingLevel = 0;  // default ceiling level, 1..220
    std::array<std::int32_t, 5> defaultFloorTextures{};    // front, back, left, right, surface
    std::array<std::int32_t, 5> defaultCeilingTextures{};  // front, back, left, right, surface
    std::uint8_t roomLight = 0;  // 0..32
    std::int32_t itemLight = 0;  // 0..32
    std::uint8_t water = 0;
    std::uint8_t windRain = 0;
    std::uint8_t swamp = 0;
    std::uint8_t sky = 0;
    std::array<std::uint8_t, 2> reserved{};
    std::array<Sector, kMaxSectors> sectors{};
    SectorGrid grid;  // numZ, numX and gameSectors: one block in the game's layout
    std::int32_t portalCount = 0;
    std::array<Portal, kMaxPortals> portals{};

    std::uint16_t numZ() const { return grid.numZ; }
    std::uint16_t numX() const { return grid.numX; }
};

// The project's fields outside its rooms: what its file keeps beside them, and where the plan
// shows the current room. The file name is not one of them: it names where the project is kept,
// not what it holds.
struct ProjectFields {
    PString<100> levelDescription;
    PString<250> comment;
    PString<100> baseLevelPath;
    PString<100> itemsFilePath;
    PString<100> lightsFilePath;
    PString<100> outputLevelPath;
    std::uint8_t currentRoom = 1;  // 1-based
    std::uint8_t roomCount = 0;    // 0..80
    // Run-time state, not persisted: the plan position of the current room, -1 without rooms.
    std::int32_t planX = -1;
    std::int32_t planY = -1;
    friend bool operator==(const ProjectFields&, const ProjectFields&) = default;
};

struct Project : ProjectFields {
    std::array<EditorRoom, kMaxRooms> rooms{};
    std::string projectFileName;  // run-time state, not persisted; empty for an untitled project

    EditorRoom& room(int number) { return rooms.at(static_cast<std::size_t>(number - 1)); }
    const EditorRoom& room(int number) const { return rooms.at(static_cast<std::size_t>(number - 1)); }
    EditorRoom& current() { return room(currentRoom); }
    const EditorRoom& current() const { return room(currentRoom); }
};

// One shape of a floor or ceiling surface.
struct ShapeEntry {
    std::uint8_t thickness = 0;  // highest corner height in clicks, 1..4
    // Corner heights in world units: front-west, front-east, back-east, back-west,
    // left-north, left-south, right-south, right-north.
    std::array<std::int32_t, 8> edgeHeights{};
    std::uint16_t slopeKind = 0;  // 0 flat, 1..8 slopes
};

inline constexpr int kShapeCount = 16;

struct ShapeTable {
    std::uint8_t count = 0;  // 16 once built
    std::array<ShapeEntry, kShapeCount + 1> entries{};  // entries[1..16]; entries[0] unused
    const ShapeEntry& operator[](int shape) const { return entries.at(static_cast<std::size_t>(shape)); }
};

// [floor slope kind][ceiling slope kind] -> word position in the floor data.
using FloorDataIndexTable = std::array<std::array<std::uint16_t, 9>, 9>;

void buildShapeTable(ShapeTable& table);
void buildFloorDataIndexTable(FloorDataIndexTable& table);
// The two constant tables, built once on first use.
const ShapeTable& standardShapeTable();
const FloorDataIndexTable& standardFloorDataIndexTable();

// Empties one room slot: every field zero, as in a new project.
void clearRoom(EditorRoom& room);

// Empties the project: every room slot and text zeroed, currentRoom 1, roomCount 0,
// no file name, planX = planY = -1.
void clearProject(Project& project);
// The same but for the room slots, which are left as they are (for a reader that fills or
// empties each slot itself).
void clearProjectExceptRooms(Project& project);

// Gives the room rows x columns new default sectors and closes the ring of border sectors.
// Every sector in use becomes plain and flat (shapes 1, slope kinds 0, link mode 0) with the
// room's default textures and light; the spare bytes and the portals are not touched.
// Throws std::invalid_argument (changing nothing) unless both sizes lie in 3..32.
void initSectorGrid(EditorRoom& room, int rows, int columns);

// --- Sector access -------------------------------------------------------------------------

// The editor sector record at (x, z) (the game sectors: gameSectorAt of room.grid).
inline Sector& sectorAt(EditorRoom& room, int x, int z) {
    return room.sectors.at(std::size_t(sectorNumber(room.grid.numZ, x, z)) - 1);
}
inline const Sector& sectorAt(const EditorRoom& room, int x, int z) {
    return room.sectors.at(std::size_t(sectorNumber(room.grid.numZ, x, z)) - 1);
}

// The room's portal count held inside the portal table (0..20).
int portalsInUse(const EditorRoom& room);

// --- The plan ------------------------------------------------------------------------------

inline constexpr int kPlanCell = 10;     // plan pixels per sector
inline constexpr int kPlanSectors = 96;  // sectors per side of the plan
inline constexpr int kPlanSize = kPlanCell * kPlanSectors + 2;  // 962: plan width and height in pixels
// Plan-to-world: the world's sector rows count up from 970 pixels, one cell below the plan's grid.
inline constexpr int kPlanBottom = kPlanCell * kPlanSectors + kPlanCell;  // 970

// A room's picture on the plan covers 10 pixels a sector and 2 more: (10 numX + 2) x (10 numZ + 2).
struct PlanSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PlanSize&, const PlanSize&) = default;
};
constexpr PlanSize roomPlanSize(int rows, int columns) {
    return {.width = kPlanCell * columns + 2, .height = kPlanCell * rows + 2};
}
inline PlanSize roomPlanSize(const EditorRoom& room) { return roomPlanSize(room.numZ(), room.numX()); }

// Plan-to-world: the world position of a room's grid origin (its south-west corner).
struct WorldOrigin {
    std::int32_t x = 0;
    std::int32_t z = 0;
};
WorldOrigin roomWorldOrigin(std::int32_t posX, std::int32_t posY, std::int32_t pictureHeight);
// The room's world origin as the build places it: its plan picture is 10 * numZ + 2 pixels high.
WorldOrigin roomWorldOrigin(const EditorRoom& room);

}  // namespace cw
