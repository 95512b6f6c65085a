#pragma once
// What makes a project valid, said once: every rule, the one text of its fault, its severity and
// which users refuse a project on it.
//
//   reader  (the project file reader)   refuses what a Project cannot hold: more than 80 rooms, a
//                                        current room that is not a room, a room size outside
//                                        3..32, a portal count outside 0..20;
//   saver   (the project file writer)   refuses the same, since such a file would not load again;
//   build   (the level build, and with   refuses every fault: those above, a project without
//            it "cairnwork-cli check")   rooms, and every portal, sector and room-link fault.
// Warnings are refused by no one; the build shows them once the level is written.
//
// Each user frames the fault text in its own words ("<file> cannot be loaded: ", "The project
// cannot be saved: ", "The level cannot be built:" and a fault a line, "fault: ") but never words
// a fault itself. Texts are UTF-8; the room names, Windows-1250 in the project, are converted
// where they enter a text.
//
// Faults that only a level can decide (a floor-data index past the floor data the build made,
// the capacities of a room's mesh, of the floor data and of the boxes) are the builder's.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace cw {

// --- The rules --------------------------------------------------------------------------------

enum class Rule : std::uint8_t {
    NoRooms,                   // the project has no room
    RoomCount,                 // more than 80 rooms
    CurrentRoom,               // the current room is not one of the rooms
    RoomSize,                  // a room's columns or rows outside 3..32
    PortalCount,               // a room's portal count outside 0..20
    PortalFace,                // a portal's face outside 1..6
    PortalAnchor,              // a portal's sector outside its room
    PortalTarget,              // a portal into a room the project does not have
    PortalIntoOwnRoom,         // a portal into its own room
    PortalCorner,              // a portal corner outside the level's signed 16-bit coordinates
    SectorShape,               // a floor or ceiling shape outside 1..16
    RoomBelowMissing,          // a sector's room below is not a room of the project
    SideRoomMissing,           // a side link (link mode 2) into a room the project does not have
    RoomAboveMissing,          // a sector's room above is not a room of the project
    SideLinkIntoNoSector,      // a side link into a room that has no sector at its place
    SideLinkIntoSideLink,      // a side link onto a sector that is a side link itself
    VerticalLinkIntoNoSector,  // a link below or above into a room with no sector at its place
    VerticalLinkLoop,          // a chain of links below (or above) that comes back to a room
    SideLinkIntoClosedSector,  // warning: a side link onto a closed sector
};
inline constexpr int kRuleCount = static_cast<int>(Rule::SideLinkIntoClosedSector) + 1;

enum class Severity : std::uint8_t { Fault, Warning };

// The users of the rules; a rule names the set of users that refuse a project on it.
enum class RuleUser : std::uint8_t { Reader = 1, Saver = 2, Build = 4 };

struct RuleInfo {
    Rule rule;
    const char* name;  // for tests and logs: "room-size"
    Severity severity;
    std::uint8_t refusedBy;  // RuleUser bits
};

namespace rule_users {
inline constexpr std::uint8_t kReader = static_cast<std::uint8_t>(RuleUser::Reader);
inline constexpr std::uint8_t kSaver = static_cast<std::uint8_t>(RuleUser::Saver);
inline constexpr std::uint8_t kBuild = static_cast<std::uint8_t>(RuleUser::Build);
inline constexpr std::uint8_t kHeld = kReader | kSaver | kBuild;  // what a Project cannot hold
}  // namespace rule_users

// One entry per rule, in the order of the Rule enumeration: who refuses a project on it.
inline constexpr std::array<RuleInfo, kRuleCount> kRules = {{
    {Rule::NoRooms, "no-rooms", Severity::Fault, rule_users::kBuild},
    {Rule::RoomCount, "room-count", Severity::Fault, rule_users::kHeld},
    {Rule::CurrentRoom, "current-room", Severity::Fault, rule_users::kHeld},
    {Rule::RoomSize, "room-size", Severity::Fault, rule_users::kHeld},
    {Rule::PortalCount, "portal-count", Severity::Fault, rule_users::kHeld},
    {Rule::PortalFace, "portal-face", Severity::Fault, rule_users::kBuild},
    {Rule::PortalAnchor, "portal-anchor", Severity::Fault, rule_users::kBuild},
    {Rule::PortalTarget, "portal-target", Severity::Fault, rule_users::kBuild},
    {Rule::PortalIntoOwnRoom, "portal-into-own-room", Severity::Fault, rule_users::kBuild},
    {Rule::PortalCorner, "portal-corner", Severity::Fault, rule_users::kBuild},
    {Rule::SectorShape, "sector-shape", Severity::Fault, rule_users::kBuild},
    {Rule::RoomBelowMissing, "room-below-missing", Severity::Fault, rule_users::kBuild},
    {Rule::SideRoomMissing, "side-room-missing", Severity::Fault, rule_users::kBuild},
    {Rule::RoomAboveMissing, "room-above-missing", Severity::Fault, rule_users::kBuild},
    {Rule::SideLinkIntoNoSector, "side-link-into-no-sector", Severity::Fault, rule_users::kBuild},
    {Rule::SideLinkIntoSideLink, "side-link-into-side-link", Severity::Fault, rule_users::kBuild},
    {Rule::VerticalLinkIntoNoSector, "vertical-link-into-no-sector", Severity::Fault, rule_users::kBuild},
    {Rule::VerticalLinkLoop, "vertical-link-loop", Severity::Fault, rule_users::kBuild},
    {Rule::SideLinkIntoClosedSector, "side-link-into-closed-sector", Severity::Warning, 0},
}};

constexpr const RuleInfo& ruleInfo(Rule rule) { return kRules[static_cast<std::size_t>(rule)]; }
constexpr bool refuses(RuleUser user, Rule rule) {
    return (ruleInfo(rule).refusedBy & static_cast<std::uint8_t>(user)) != 0;
}

// One fault (or warning) of a project, with its one text.
struct ProjectFault {
    Rule rule;
    std::string text;
    Severity severity() const { return ruleInfo(rule).severity; }
    friend bool operator==(const ProjectFault&, const ProjectFault&) = default;
};

// Every fault and warning of the project, in this order: the project's (no rooms, room count,
// which end the list; current room), then room by room its size (which ends that room's list),
// portal count, portals one by one (face, anchor, target, own room, corner), sectors in sector
// order (shape, room below, side room or room above), and last the room links of all rooms.
std::vector<ProjectFault> projectFaults(const Project& project);
// Only the faults that the user refuses the project on, in the same order.
std::vector<ProjectFault> projectFaults(const Project& project, RuleUser user);

// The texts of the faults a user refuses on, and those of the warnings, in order.
std::vector<std::string> refusalTexts(const std::vector<ProjectFault>& faults, RuleUser user);
std::vector<std::string> warningTexts(const std::vector<ProjectFault>& faults);

// --- Rules on single values, for the reader, which meets them before the project is whole ------
// Each gives the fault (the same as projectFaults would list) or nothing.

std::optional<ProjectFault> roomCountFault(int roomCount);
std::optional<ProjectFault> currentRoomFault(int currentRoom, int roomCount);
// `name` is the room's name (Windows-1250).
std::optional<ProjectFault> roomSizeFault(int roomNumber, std::string_view name, int numX, int numZ);
std::optional<ProjectFault> portalCountFault(int roomNumber, std::string_view name, std::int32_t portalCount);
// Portal `portalNumber` (from 1) of the room: its sector must lie in the room's grid.
std::optional<ProjectFault> portalAnchorFault(int roomNumber, const EditorRoom& room, int portalNumber);
// Sector (x, z) of the room: its floor and ceiling shapes must be shapes 1 to 16 of the shape
// table (the project reader keeps whatever bytes a file holds).
std::optional<ProjectFault> sectorShapeFault(int roomNumber, const EditorRoom& room, int x, int z);

// --- How texts name rooms and sectors ----------------------------------------------------------

// "Room 3" or, when it has a name (Windows-1250), "Room 3 \"Hall\"", in UTF-8.
std::string roomMessageLabel(int roomNumber, std::string_view roomName);
// The same for room `roomNumber` of the project (no name when it is no room slot).
std::string roomMessageLabel(const Project& project, int roomNumber);
// "sector (4, 7)"
std::string sectorMessageLabel(int x, int z);

// --- Where a portal lies -----------------------------------------------------------------------

// The normal and the four corners (x, y, z) of the game's portal record, as wide numbers (the
// record stores their low 16 bits). Wall portals (faces 1 to 4) lie on one edge of the anchor
// sector and rise from its floor by the portal's length; floor and ceiling portals lie at the
// anchor's floor or ceiling and reach towards lower rows by the length and higher columns by the
// width. Nothing for a face outside 1..6 or an anchor outside the grid.
struct PortalGeometry {
    std::array<std::int16_t, 3> normal{};
    std::array<std::array<std::int64_t, 3>, 4> corners{};
};
std::optional<PortalGeometry> portalGeometry(const Portal& portal, const SectorGrid& grid);

// The first corner that a signed 16-bit number cannot hold, if any: the game would read such a
// portal somewhere else entirely.
std::optional<std::array<std::int64_t, 3>> cornerOutsideLevel(const PortalGeometry& geometry);

// --- Places of the world, on which room links are followed -------------------------------------

// A place of the world: a column (west to east) and a row (south to north) of sectors.
struct WorldPlace {
    std::int32_t column = 0;
    std::int32_t row = 0;
    friend bool operator==(const WorldPlace&, const WorldPlace&) = default;
};
// The place that sector (x, z) of the room covers: the room's world origin in sectors plus
// x - 1 columns and z - 1 rows. Two sectors of two rooms at one place lie on one spot of the
// game's world, whatever their heights.
WorldPlace sectorPlace(const EditorRoom& room, int x, int z);
// The sector of the room at the place: true, with x and z set, when the room's grid covers it.
bool sectorAtPlace(const EditorRoom& room, WorldPlace place, int& x, int& z);

// The room links of the sectors, checked on the places of the world they cover. The game follows
// a link from a sector into the sector of the other room at the same place, so:
// - a side link (link mode 2) must lead into a room that has a sector at that place, and that
//   sector must not be a side link itself (the game would pass on, and two doorways that lead
//   into each other, as rooms overlapping by one sector have, it would follow for ever); a side
//   link onto a closed sector (floor at the ceiling) is a warning;
// - a link to the room below or above must lead into a room that has a sector at that place, and
//   a chain of links below (or of links above) must not come back to a room it passed.
// The links the game follows are a sector's room below, its room above unless it is in side-link
// mode, and its side room in side-link mode. Links into rooms the project does not have and rooms
// of a wrong size are other rules' faults and are passed over here. Part of projectFaults.
std::vector<ProjectFault> roomLinkFaults(const Project& project);

}  // namespace cw
