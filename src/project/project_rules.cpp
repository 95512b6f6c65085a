#include "project/project_rules.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/cp1250.h"

namespace cw {

namespace {

constexpr bool rulesInOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<std::size_t>(kRules[i].rule) != i) return false;
    }
    return true;
}
static_assert(rulesInOrder(), "kRules lists the rules in the order of the enumeration");

// The saver refuses what would not load again, and everything the reader loads saves again.
constexpr bool saverRefusesWhatReaderRefuses() {
    for (const RuleInfo& info : kRules) {
        if (refuses(RuleUser::Reader, info.rule) != refuses(RuleUser::Saver, info.rule)) return false;
        if ((info.severity == Severity::Fault) != refuses(RuleUser::Build, info.rule)) return false;
        if ((info.severity == Severity::Warning) != (info.refusedBy == 0)) return false;
    }
    return true;
}
static_assert(saverRefusesWhatReaderRefuses(),
              "reader and saver refuse alike, the build refuses every fault, and only warnings pass");

using std::to_string;

ProjectFault fault(Rule rule, std::string text) { return ProjectFault{rule, std::move(text)}; }

std::string portalLabel(int roomNumber, std::string_view name, int portalNumber) {
    return roomMessageLabel(roomNumber, name) + ", portal " + to_string(portalNumber);
}

// A sector's floor and ceiling shapes are entries 1 to 16 of the shape table.
bool sectorShapesFit(const Sector& s) {
    return s.floorShape >= 1 && s.floorShape <= 16 && s.ceilingShape >= 1 && s.ceilingShape <= 16;
}

// A room byte of a game sector names a room of the project (255 = none).
bool namesMissingRoom(std::uint8_t value, int roomCount) { return value != kNoRoom && value + 1 > roomCount; }

// --- Room links --------------------------------------------------------------------------------

// The links of a sector as the game follows them (room number - 1, kNoRoom for none).
std::uint8_t sideRoomOf(const EditorRoom& room, int x, int z) {
    return sectorAt(room, x, z).linkMode == 2 ? gameSectorAt(room.grid, x, z).roomAbove : std::uint8_t{kNoRoom};
}
std::uint8_t roomBelowOf(const EditorRoom& room, int x, int z) { return gameSectorAt(room.grid, x, z).roomBelow; }
std::uint8_t roomAboveOf(const EditorRoom& room, int x, int z) {
    return sectorAt(room, x, z).linkMode == 2 ? std::uint8_t{kNoRoom} : gameSectorAt(room.grid, x, z).roomAbove;
}
using LinkOf = std::uint8_t (*)(const EditorRoom&, int, int);

// The rooms whose links are checked and that links are checked into: rooms of the project with a
// size of 3 to 32 sectors each way (the others are faults of other rules).
class LinkedRooms {
public:
    explicit LinkedRooms(const Project& project)
        : project_(project), count_(std::min<int>(project.roomCount, kMaxRooms)) {}

    int count() const { return count_; }
    bool usable(int number) const {
        if (number < 1 || number > count_) return false;
        const EditorRoom& room = project_.room(number);
        return roomSizeFits(room.numX(), room.numZ());
    }
    // The room a link byte leads into, 0 for none or for a room that is not checked.
    int target(std::uint8_t link) const { return link != kNoRoom && usable(link + 1) ? link + 1 : 0; }
    const EditorRoom& room(int number) const { return project_.room(number); }

private:
    const Project& project_;
    int count_;
};

std::string placeLabel(WorldPlace place) {
    return "world column " + to_string(place.column) + ", row " + to_string(place.row);
}

// Follows the links `linkOf` from room `from` through the sectors at `place`; returns the room the
// chain comes back to (one it passed, `from` included), or 0 when it ends.
int chainReturn(const LinkedRooms& rooms, int from, WorldPlace place, LinkOf linkOf, std::string& path) {
    std::array<bool, kMaxRooms + 1> passed{};
    passed[static_cast<std::size_t>(from)] = true;
    path = to_string(from);
    int room = from, x = 0, z = 0;
    if (!sectorAtPlace(rooms.room(room), place, x, z)) return 0;
    for (;;) {
        const int next = rooms.target(linkOf(rooms.room(room), x, z));
        if (next == 0) return 0;
        path += ", " + to_string(next);
        if (passed[static_cast<std::size_t>(next)]) return next;
        passed[static_cast<std::size_t>(next)] = true;
        room = next;
        if (!sectorAtPlace(rooms.room(room), place, x, z)) return 0;
    }
}

// --- The whole list ----------------------------------------------------------------------------

// Which rules are listed: every one, or those a user refuses on.
class Selection {
public:
    Selection() = default;
    explicit Selection(RuleUser user) : user_(user), all_(false) {}
    bool wants(Rule rule) const { return all_ || refuses(user_, rule); }
    bool wantsAny(Rule first, Rule last) const {
        for (int r = static_cast<int>(first); r <= static_cast<int>(last); ++r) {
            if (wants(static_cast<Rule>(r))) return true;
        }
        return false;
    }

private:
    RuleUser user_ = RuleUser::Build;
    bool all_ = true;
};

void addPortalFaults(std::vector<ProjectFault>& faults, const Selection& selection, const Project& project, int r) {
    const EditorRoom& room = project.room(r);
    const int rooms = project.roomCount;
    const std::string_view name = room.name.view();
    for (int p = 1; p <= room.portalCount; ++p) {
        const Portal& portal = room.portals[static_cast<std::size_t>(p - 1)];
        const auto where = [&] { return portalLabel(r, name, p); };
        if (selection.wants(Rule::PortalFace) && (portal.face < 1 || portal.face > 6)) {
            faults.push_back(fault(Rule::PortalFace, where() + ": its face is " + to_string(portal.face) +
                                                         "; it must be 1 to 6 (north, south, west, east wall, "
                                                         "ceiling, floor)."));
        }
        if (selection.wants(Rule::PortalAnchor)) {
            if (auto f = portalAnchorFault(r, room, p)) faults.push_back(std::move(*f));
        }
        if (selection.wants(Rule::PortalTarget) && (portal.targetRoom < 1 || portal.targetRoom > rooms)) {
            faults.push_back(fault(Rule::PortalTarget, where() + ": it opens into room " + to_string(portal.targetRoom) +
                                                           ", which the project does not have (it has " +
                                                           to_string(rooms) + " rooms)."));
        }
        if (selection.wants(Rule::PortalIntoOwnRoom) && portal.targetRoom == r) {
            faults.push_back(fault(Rule::PortalIntoOwnRoom, where() + ": it opens into its own room."));
        }
        if (!selection.wants(Rule::PortalCorner)) continue;
        const auto geometry = portalGeometry(portal, room.grid);
        if (!geometry) continue;  // its face or anchor is a fault of its own
        if (const auto corner = cornerOutsideLevel(*geometry)) {
            faults.push_back(fault(Rule::PortalCorner,
                                   where() + ": with width " + to_string(portal.width) + " and length " +
                                       to_string(portal.length) + " a corner lies at (" + to_string((*corner)[0]) +
                                       ", " + to_string((*corner)[1]) + ", " + to_string((*corner)[2]) +
                                       "), outside the level's coordinates (-32768 to 32767); make the portal "
                                       "smaller."));
        }
    }
}

void addSectorFaults(std::vector<ProjectFault>& faults, const Selection& selection, const Project& project, int r) {
    const EditorRoom& room = project.room(r);
    const int rooms = project.roomCount;
    const bool shapes = selection.wants(Rule::SectorShape);
    const bool below = selection.wants(Rule::RoomBelowMissing);
    const bool side = selection.wants(Rule::SideRoomMissing);
    const bool above = selection.wants(Rule::RoomAboveMissing);
    std::string label;  // the room's label, made at its first fault
    std::size_t number = 0;  // sector (x, z) is number (x - 1) * numZ + z, counted from 1
    for (int x = 1; x <= room.numX(); ++x) {
        for (int z = 1; z <= room.numZ(); ++z, ++number) {
            const GameSector& g = room.grid.gameSectors[number];
            const Sector& s = room.sectors[number];
            const bool shapeFits = sectorShapesFit(s);
            // Nearly every sector: a fitting shape and no link.
            if (shapeFits && g.roomBelow == kNoRoom && g.roomAbove == kNoRoom) continue;
            const auto where = [&] {
                if (label.empty()) label = roomMessageLabel(project, r);
                return label + ", " + sectorMessageLabel(x, z);
            };
            if (shapes && !shapeFits) {
                if (auto f = sectorShapeFault(r, room, x, z)) faults.push_back(std::move(*f));
            }
            if (below && namesMissingRoom(g.roomBelow, rooms)) {
                faults.push_back(fault(Rule::RoomBelowMissing, where() + ": the room below is room " +
                                                                   to_string(g.roomBelow + 1) +
                                                                   ", which the project does not have."));
            }
            if (s.linkMode == 2) {
                if (side && namesMissingRoom(g.roomAbove, rooms)) {
                    faults.push_back(fault(Rule::SideRoomMissing, where() + ": the side room is room " +
                                                                      to_string(g.roomAbove + 1) +
                                                                      ", which the project does not have."));
                }
            } else if (above && namesMissingRoom(g.roomAbove, rooms)) {
                faults.push_back(fault(Rule::RoomAboveMissing, where() + ": the room above is room " +
                                                                   to_string(g.roomAbove + 1) +
                                                                   ", which the project does not have."));
            }
        }
    }
}

std::vector<ProjectFault> listFaults(const Project& project, const Selection& selection) {
    std::vector<ProjectFault> faults;
    const auto add = [&](std::optional<ProjectFault> f) {
        if (f && selection.wants(f->rule)) faults.push_back(std::move(*f));
    };
    const int rooms = project.roomCount;
    if (rooms == 0) {
        if (selection.wants(Rule::NoRooms)) faults.push_back(fault(Rule::NoRooms, "The project has no rooms."));
        return faults;
    }
    if (auto f = roomCountFault(rooms)) {
        add(std::move(f));
        return faults;  // the rooms past 80 are not there to check
    }
    add(currentRoomFault(project.currentRoom, rooms));
    const bool portals = selection.wantsAny(Rule::PortalFace, Rule::PortalCorner);
    const bool sectors = selection.wantsAny(Rule::SectorShape, Rule::RoomAboveMissing);
    for (int r = 1; r <= rooms; ++r) {
        const EditorRoom& room = project.room(r);
        if (auto f = roomSizeFault(r, room.name.view(), room.numX(), room.numZ())) {
            add(std::move(f));
            continue;  // its portals and sectors cannot be looked at
        }
        if (auto f = portalCountFault(r, room.name.view(), room.portalCount)) {
            add(std::move(f));
        } else if (portals) {
            addPortalFaults(faults, selection, project, r);
        }
        if (sectors) addSectorFaults(faults, selection, project, r);
    }
    if (selection.wantsAny(Rule::SideLinkIntoNoSector, Rule::SideLinkIntoClosedSector)) {
        for (ProjectFault& f : roomLinkFaults(project)) {
            if (selection.wants(f.rule)) faults.push_back(std::move(f));
        }
    }
    return faults;
}

}  // namespace

// --- Single values ---------------------------------------------------------------------------------

std::optional<ProjectFault> roomCountFault(int roomCount) {
    if (roomCount <= kMaxRooms) return std::nullopt;
    return fault(Rule::RoomCount, "The project has " + to_string(roomCount) + " rooms; at most " +
                                      to_string(kMaxRooms) + " are allowed.");
}

std::optional<ProjectFault> currentRoomFault(int currentRoom, int roomCount) {
    // A project without rooms has no current room to be wrong about.
    if (roomCount == 0 || (currentRoom >= 1 && currentRoom <= roomCount)) return std::nullopt;
    return fault(Rule::CurrentRoom, "The current room " + to_string(currentRoom) +
                                        " (where the player starts) is not a room of the project, which has " +
                                        to_string(roomCount) + (roomCount == 1 ? " room." : " rooms."));
}

std::optional<ProjectFault> roomSizeFault(int roomNumber, std::string_view name, int numX, int numZ) {
    if (roomSizeFits(numX, numZ)) return std::nullopt;
    return fault(Rule::RoomSize, roomMessageLabel(roomNumber, name) + " is " + to_string(numX) + " x " +
                                     to_string(numZ) + " sectors; a room has " + to_string(kMinRoomSide) + " to " +
                                     to_string(kMaxSectorsPerSide) + " sectors in each direction.");
}

std::optional<ProjectFault> portalCountFault(int roomNumber, std::string_view name, std::int32_t portalCount) {
    if (portalCount >= 0 && portalCount <= kMaxPortals) return std::nullopt;
    return fault(Rule::PortalCount, roomMessageLabel(roomNumber, name) + " has " + to_string(portalCount) +
                                        " portals; a room has 0 to " + to_string(kMaxPortals) + ".");
}

std::optional<ProjectFault> portalAnchorFault(int roomNumber, const EditorRoom& room, int portalNumber) {
    const Portal& portal = room.portals.at(static_cast<std::size_t>(portalNumber - 1));
    if (inGrid(room.grid, portal.column, portal.row)) return std::nullopt;
    return fault(Rule::PortalAnchor, portalLabel(roomNumber, room.name.view(), portalNumber) + ": its sector (column " +
                                         to_string(portal.column) + ", row " + to_string(portal.row) +
                                         ") lies outside the room's " + to_string(room.numX()) + " x " +
                                         to_string(room.numZ()) + " sectors.");
}

std::optional<ProjectFault> sectorShapeFault(int roomNumber, const EditorRoom& room, int x, int z) {
    const Sector& s = sectorAt(room, x, z);
    if (sectorShapesFit(s)) return std::nullopt;
    return fault(Rule::SectorShape, roomMessageLabel(roomNumber, room.name.view()) + ", " + sectorMessageLabel(x, z) +
                                        ": its floor shape " + to_string(s.floorShape) + " or ceiling shape " +
                                        to_string(s.ceilingShape) + " is not a shape 1 to 16.");
}

// --- The lists ---------------------------------------------------------------------------------

std::vector<ProjectFault> projectFaults(const Project& project) { return listFaults(project, Selection()); }

std::vector<ProjectFault> projectFaults(const Project& project, RuleUser user) {
    return listFaults(project, Selection(user));
}

std::vector<std::string> refusalTexts(const std::vector<ProjectFault>& faults, RuleUser user) {
    std::vector<std::string> texts;
    for (const ProjectFault& f : faults) {
        if (refuses(user, f.rule)) texts.push_back(f.text);
    }
    return texts;
}

std::vector<std::string> warningTexts(const std::vector<ProjectFault>& faults) {
    std::vector<std::string> texts;
    for (const ProjectFault& f : faults) {
        if (f.severity() == Severity::Warning) texts.push_back(f.text);
    }
    return texts;
}

// --- Labels ------------------------------------------------------------------------------------

std::string roomMessageLabel(int roomNumber, std::string_view roomName) {
    std::string s = "Room " + to_string(roomNumber);
    if (!roomName.empty()) s += " \"" + cp1250ToUtf8(roomName) + "\"";
    return s;
}

std::string roomMessageLabel(const Project& project, int roomNumber) {
    const std::string_view name =
        roomNumber >= 1 && roomNumber <= kMaxRooms ? project.room(roomNumber).name.view() : std::string_view();
    return roomMessageLabel(roomNumber, name);
}

std::string sectorMessageLabel(int x, int z) { return "sector (" + to_string(x) + ", " + to_string(z) + ")"; }

// --- Portal geometry ---------------------------------------------------------------------------

std::optional<PortalGeometry> portalGeometry(const Portal& portal, const SectorGrid& grid) {
    if (portal.face < 1 || portal.face > 6 || !inGrid(grid, portal.column, portal.row)) return std::nullopt;
    const std::int64_t W = std::int64_t{portal.width} * 1024;
    const std::int64_t H = std::int64_t{portal.length} * 1024;
    const std::int64_t X0 = (std::int64_t{portal.column} - 1) * 1024;
    const std::int64_t Z0 = std::int64_t{portal.row} * 1024;
    const GameSector& anchor = gameSectorAt(grid, portal.column, portal.row);
    const std::int64_t F = std::int64_t{anchor.floor} * 256;
    const std::int64_t K = std::int64_t{anchor.ceiling} * 256;
    switch (portal.face) {
        case 1:
            return PortalGeometry{{0, 0, -1},
                                  {{{X0, F, Z0 - 1024}, {X0, F - H, Z0 - 1024}, {X0 + W, F - H, Z0 - 1024}, {X0 + W, F, Z0 - 1024}}}};
        case 2:
            return PortalGeometry{{0, 0, 1}, {{{X0 + W, F, Z0}, {X0 + W, F - H, Z0}, {X0, F - H, Z0}, {X0, F, Z0}}}};
        case 3:
            return PortalGeometry{
                {1, 0, 0},
                {{{X0 + 1024, F, Z0 - W}, {X0 + 1024, F - H, Z0 - W}, {X0 + 1024, F - H, Z0}, {X0 + 1024, F, Z0}}}};
        case 4:
            return PortalGeometry{{-1, 0, 0}, {{{X0, F, Z0}, {X0, F - H, Z0}, {X0, F - H, Z0 - W}, {X0, F, Z0 - W}}}};
        case 5:
            return PortalGeometry{{0, 1, 0}, {{{X0, K, Z0}, {X0, K, Z0 - H}, {X0 + W, K, Z0 - H}, {X0 + W, K, Z0}}}};
        default:  // 6
            return PortalGeometry{{0, -1, 0}, {{{X0, F, Z0 - H}, {X0, F, Z0}, {X0 + W, F, Z0}, {X0 + W, F, Z0 - H}}}};
    }
}

std::optional<std::array<std::int64_t, 3>> cornerOutsideLevel(const PortalGeometry& geometry) {
    for (const auto& corner : geometry.corners) {
        for (std::int64_t v : corner) {
            if (v < INT16_MIN || v > INT16_MAX) return corner;
        }
    }
    return std::nullopt;
}

// --- Places and room links ---------------------------------------------------------------------

WorldPlace sectorPlace(const EditorRoom& room, int x, int z) {
    // The origin is a whole number of sectors (a multiple of 1024, also when wrapped).
    const WorldOrigin origin = roomWorldOrigin(room);
    return {.column = origin.x / 1024 + (x - 1), .row = origin.z / 1024 + (z - 1)};
}

bool sectorAtPlace(const EditorRoom& room, WorldPlace place, int& x, int& z) {
    const WorldPlace first = sectorPlace(room, 1, 1);
    const std::int64_t px = std::int64_t{place.column} - first.column + 1;
    const std::int64_t pz = std::int64_t{place.row} - first.row + 1;
    if (px < 1 || pz < 1 || px > room.numX() || pz > room.numZ()) return false;
    x = static_cast<int>(px);
    z = static_cast<int>(pz);
    return true;
}

std::vector<ProjectFault> roomLinkFaults(const Project& project) {
    std::vector<ProjectFault> faults;
    const LinkedRooms rooms(project);
    for (int r = 1; r <= rooms.count(); ++r) {
        if (!rooms.usable(r)) continue;
        const EditorRoom& room = rooms.room(r);
        std::size_t number = 0;  // sector (x, z) is number (x - 1) * numZ + z, counted from 1
        for (int x = 1; x <= room.numX(); ++x) {
            for (int z = 1; z <= room.numZ(); ++z) {
                const GameSector& own = room.grid.gameSectors[number++];
                if (own.roomBelow == kNoRoom && own.roomAbove == kNoRoom) continue;  // no link at all
                const WorldPlace place = sectorPlace(room, x, z);
                const auto where = [&] { return roomMessageLabel(project, r) + ", " + sectorMessageLabel(x, z) + ": "; };
                int tx = 0, tz = 0;

                if (const int side = rooms.target(sideRoomOf(room, x, z)); side != 0) {
                    const std::string into = where() + "its side link leads into " + roomMessageLabel(project, side);
                    if (!sectorAtPlace(rooms.room(side), place, tx, tz)) {
                        faults.push_back(fault(Rule::SideLinkIntoNoSector,
                                               into + ", which has no sector at this place (" + placeLabel(place) + ")."));
                    } else if (const int onward = rooms.target(sideRoomOf(rooms.room(side), tx, tz)); onward != 0) {
                        std::string path;
                        const int back = chainReturn(rooms, r, place, sideRoomOf, path);
                        std::string text = into + ", onto its " + sectorMessageLabel(tx, tz) +
                                           ", which is a side link too, into " + roomMessageLabel(project, onward);
                        if (back == 0) {
                            text += ": the game does not pass from one side link into another.";
                        } else {
                            text += ": the game would go round for ever (rooms " + path + ").";
                            // Two doorways into each other: the rooms overlap by one sector.
                            if (back == r && onward == r && side != r)
                                text += " Rooms joined by doorways overlap by two sectors.";
                        }
                        faults.push_back(fault(Rule::SideLinkIntoSideLink, std::move(text)));
                    } else {
                        const GameSector& g = gameSectorAt(rooms.room(side).grid, tx, tz);
                        if (g.floor == g.ceiling) {
                            faults.push_back(fault(Rule::SideLinkIntoClosedSector,
                                                   into + ", onto its " + sectorMessageLabel(tx, tz) +
                                                       ", which is closed (its floor is at its ceiling): the player "
                                                       "cannot go through."));
                        }
                    }
                }

                const struct {
                    LinkOf linkOf;
                    const char* name;
                } vertical[] = {{roomBelowOf, "below"}, {roomAboveOf, "above"}};
                for (const auto& v : vertical) {
                    const int target = rooms.target(v.linkOf(room, x, z));
                    if (target == 0) continue;
                    const std::string into = where() + "the room " + v.name + " is " + roomMessageLabel(project, target);
                    if (!sectorAtPlace(rooms.room(target), place, tx, tz)) {
                        faults.push_back(fault(Rule::VerticalLinkIntoNoSector,
                                               into + ", which has no sector at this place (" + placeLabel(place) + ")."));
                        continue;
                    }
                    std::string path;
                    if (const int back = chainReturn(rooms, r, place, v.linkOf, path); back != 0) {
                        faults.push_back(fault(Rule::VerticalLinkLoop,
                                               into + ", and the chain of rooms " + v.name + " comes back to " +
                                                   roomMessageLabel(project, back) + " (rooms " + path + ", at " +
                                                   placeLabel(place) + "); the game would follow it for ever."));
                    }
                }
            }
        }
    }
    return faults;
}

}  // namespace cw
