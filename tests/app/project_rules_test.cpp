// The project rules through every user: each fault has one text, and the reader, the saver, the
// build and `cairnwork-cli check` say it in those words when they refuse on it; the users that do
// not refuse on it take the project.
#include "project/project_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <system_error>

#include "builder/build_driver.h"
#include "builder/builder_test_support.h"
#include "cli/check_command.h"
#include "cli/cli.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_image.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"

namespace cw {

// How a failing comparison shows a fault.
[[maybe_unused]] static void PrintTo(const ProjectFault& fault, std::ostream* out) {
    *out << ruleInfo(fault.rule).name << ": " << fault.text;
}

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The sample project of the builder tests with no finding at all: its room 4 named in
// Windows-1250 ("Łąka"), and the hall's wall sector that the pool's doorway leads onto opened.
std::unique_ptr<Project> goodProject() {
    auto project = test::makeSampleProject();
    project->room(4).name = "\xA3\xB9ka";
    test::setHeights(project->room(1), 8, 7, 0, -16);
    return project;
}

// Where room n's block starts in the project's file.
std::size_t roomOffset(const Project& project, int n) {
    std::size_t at = kProjectHeaderBytes;
    for (int k = 1; k < n; ++k) {
        const EditorRoom& room = project.room(k);
        at += kRoomFixedBytes + std::size_t(room.numZ()) * room.numX() * (kGameSectorFileBytes + kSectorFileBytes) + 4 +
              std::size_t(room.portalCount) * kPortalFileBytes + kRoomTrailerBytes;
    }
    return at;
}
void putU16(Bytes& b, std::size_t at, std::uint16_t v) { std::memcpy(b.data() + at, &v, 2); }
void putI32(Bytes& b, std::size_t at, std::int32_t v) { std::memcpy(b.data() + at, &v, 4); }

struct RuleCase {
    Rule rule;
    std::function<void(Project&)> spoil;
    std::string text;  // the fault's one text, UTF-8
    // For the rules the reader refuses on: the good project's file with the same fault.
    std::function<void(Bytes&, const Project& good)> spoilFile = {};
};

std::vector<RuleCase> ruleCases() {
    using test::addSideLink;
    using test::addVerticalLink;
    return {
        {Rule::NoRooms, [](Project& p) { p.roomCount = 0; }, "The project has no rooms."},
        {Rule::RoomCount, [](Project& p) { p.roomCount = 81; }, "The project has 81 rooms; at most 80 are allowed.",
         [](Bytes& b, const Project&) { b[775] = 81; }},
        {Rule::CurrentRoom, [](Project& p) { p.currentRoom = 6; },
         "The current room 6 (where the player starts) is not a room of the project, which has 5 rooms.",
         [](Bytes& b, const Project&) { b[774] = 6; }},
        {Rule::RoomSize, [](Project& p) { p.room(4).grid.numX = 33; },
         "Room 4 \"\u0141\u0105ka\" is 33 x 4 sectors; a room has 3 to 32 sectors in each direction.",
         [](Bytes& b, const Project& good) { putU16(b, roomOffset(good, 4) + 64, 33); }},
        {Rule::PortalCount, [](Project& p) { p.room(3).portalCount = 21; },
         "Room 3 \"Room3\" has 21 portals; a room has 0 to 20.",
         [](Bytes& b, const Project& good) { putI32(b, roomOffset(good, 3) + kRoomFixedBytes + 16 * 110, 21); }},
        {Rule::PortalFace, [](Project& p) { p.room(1).portals[1].face = 7; },
         "Room 1 \"Room1\", portal 2: its face is 7; it must be 1 to 6 (north, south, west, east wall, ceiling, "
         "floor)."},
        {Rule::PortalAnchor, [](Project& p) { p.room(1).portals[2].row = 9; },
         "Room 1 \"Room1\", portal 3: its sector (column 8, row 9) lies outside the room's 8 x 8 sectors."},
        {Rule::PortalTarget, [](Project& p) { p.room(1).portals[0].targetRoom = 9; },
         "Room 1 \"Room1\", portal 1: it opens into room 9, which the project does not have (it has 5 rooms)."},
        {Rule::PortalIntoOwnRoom, [](Project& p) { p.room(1).portals[0].targetRoom = 1; },
         "Room 1 \"Room1\", portal 1: it opens into its own room."},
        // A north wall portal from column 3 (x 2048) 30 sectors wide ends at x 32768.
        {Rule::PortalCorner, [](Project& p) { p.room(1).portals[0].width = 30; },
         "Room 1 \"Room1\", portal 1: with width 30 and length 3 a corner lies at (32768, -7168, 7168), outside the "
         "level's coordinates (-32768 to 32767); make the portal smaller."},
        {Rule::SectorShape, [](Project& p) { sectorAt(p.room(5), 2, 3).ceilingShape = 17; },
         "Room 5 \"Room5\", sector (2, 3): its floor shape 1 or ceiling shape 17 is not a shape 1 to 16."},
        {Rule::RoomBelowMissing, [](Project& p) { gameSectorAt(p.room(3).grid, 2, 2).roomBelow = 5; },
         "Room 3 \"Room3\", sector (2, 2): the room below is room 6, which the project does not have."},
        {Rule::SideRoomMissing,
         [](Project& p) {
             sectorAt(p.room(2), 3, 3).linkMode = 2;
             gameSectorAt(p.room(2).grid, 3, 3).roomAbove = 7;
         },
         "Room 2 \"Room2\", sector (3, 3): the side room is room 8, which the project does not have."},
        {Rule::RoomAboveMissing, [](Project& p) { gameSectorAt(p.room(5).grid, 2, 2).roomAbove = 9; },
         "Room 5 \"Room5\", sector (2, 2): the room above is room 10, which the project does not have."},
        // Room 4 lies at world columns 11..14, rows 48..51; room 5 at rows 34..37.
        {Rule::SideLinkIntoNoSector, [](Project& p) { addSideLink(p.room(4), 2, 4, 5); },
         "Room 4 \"\u0141\u0105ka\", sector (2, 4): its side link leads into Room 5 \"Room5\", which has no sector at "
         "this place (world column 12, row 51)."},
        {Rule::SideLinkIntoSideLink, [](Project& p) { addSideLink(p.room(4), 2, 2, 4); },
         "Room 4 \"\u0141\u0105ka\", sector (2, 2): its side link leads into Room 4 \"\u0141\u0105ka\", onto its sector "
         "(2, 2), which is a side link too, into Room 4 \"\u0141\u0105ka\": the game would go round for ever (rooms 4, "
         "4)."},
        {Rule::VerticalLinkIntoNoSector, [](Project& p) { addVerticalLink(p.room(4), 2, 2, 0, 5); },
         "Room 4 \"\u0141\u0105ka\", sector (2, 2): the room below is Room 5 \"Room5\", which has no sector at this "
         "place (world column 12, row 49)."},
        {Rule::VerticalLinkLoop, [](Project& p) { addVerticalLink(p.room(4), 2, 2, 4, 0); },
         "Room 4 \"\u0141\u0105ka\", sector (2, 2): the room above is Room 4 \"\u0141\u0105ka\", and the chain of rooms "
         "above comes back to Room 4 \"\u0141\u0105ka\" (rooms 4, 4, at world column 12, row 49); the game would "
         "follow it for ever."},
        {Rule::SideLinkIntoClosedSector, [](Project& p) { test::setHeights(p.room(1), 8, 7, -16, -16); },
         "Room 2 \"Room2\", sector (1, 3): its side link leads into Room 1 \"Room1\", onto its sector (8, 7), which is "
         "closed (its floor is at its ceiling): the player cannot go through."},
    };
}

struct Recorder : BuildObserver {
    std::vector<std::string> messages;
    std::vector<std::string> warnings;
    void setProgress(int) override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showWarning(const std::string& text) override { warnings.push_back(text); }
};

class RulesThroughEveryUser : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("cw_project_rules_" + std::to_string(rd()));
        fs::create_directories(dir_);
        if (!fileExists(fs::path(CW_TEST_BIN_DIR) / "floor.dat")) GTEST_SKIP() << "no floor.dat in " << CW_TEST_BIN_DIR;
        auto base = std::make_unique<LevelImage>();
        base->version = kVersionTR1;
        base->gameKind = kKindTR1;
        base->roomCount = 1;
        writeFileAtomically(dir_ / "base.phd", serializeLevel(*base, kKindTR1));
        settings_.baseLevel = (dir_ / "base.phd").string();
        settings_.outputFile = (dir_ / "out.phd").string();
        environment_.programFolder = CW_TEST_BIN_DIR;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // What the reader says of the bytes, "" when it reads them.
    static std::string readerSays(const Bytes& bytes) {
        auto loaded = std::make_unique<Project>();
        try {
            parseProject(bytes, *loaded, "Project file \"rules.cwp\"");
        } catch (const FormatError& e) {
            return e.what();
        }
        return "";
    }
    // What the saver says of the project, "" when it writes it (then `bytes` holds the file).
    static std::string saverSays(const Project& project, Bytes& bytes) {
        try {
            bytes = serializeProject(project);
        } catch (const FormatError& e) {
            return e.what();
        }
        return "";
    }
    BuildOutcome build(Project& project, Recorder& recorder) {
        std::error_code ignored;
        fs::remove(dir_ / "out.phd", ignored);
        return buildLevel(project, settings_, environment_, recorder);
    }
    // `cairnwork-cli check` on the file: its exit status, standard output and error.
    int check(const fs::path& file, std::string& out, std::string& err) {
        std::ostringstream o, e;
        const int status = cli::runCheckCommand({file.string()}, o, e, CW_TEST_BIN_DIR);
        out = o.str();
        err = e.str();
        return status;
    }

    fs::path dir_;
    BuildSettings settings_;
    BuildEnvironment environment_;
};

TEST_F(RulesThroughEveryUser, EachFaultHasOneText) {
    const auto good = goodProject();
    ASSERT_TRUE(projectFaults(*good).empty());
    Bytes goodBytes;
    ASSERT_EQ(saverSays(*good, goodBytes), "");
    {
        auto project = goodProject();
        Recorder recorder;
        ASSERT_EQ(build(*project, recorder), BuildOutcome::Written);
        EXPECT_TRUE(recorder.messages.empty() && recorder.warnings.empty());
    }

    std::set<Rule> covered;
    for (const RuleCase& c : ruleCases()) {
        const RuleInfo& info = ruleInfo(c.rule);
        SCOPED_TRACE(info.name);
        covered.insert(c.rule);
        auto project = goodProject();
        c.spoil(*project);

        // The rules list the one finding; each user's subset holds it when the user refuses on it.
        EXPECT_EQ(projectFaults(*project), (std::vector<ProjectFault>{{c.rule, c.text}}));
        for (RuleUser user : {RuleUser::Reader, RuleUser::Saver, RuleUser::Build}) {
            EXPECT_EQ(projectFaults(*project, user).size(), refuses(user, c.rule) ? 1u : 0u) << int(user);
        }

        // The saver.
        Bytes saved;
        const std::string saver = saverSays(*project, saved);
        const fs::path file = dir_ / "rules.cwp";
        if (refuses(RuleUser::Saver, c.rule)) {
            EXPECT_EQ(saver, "The project cannot be saved: " + c.text);
        } else {
            ASSERT_EQ(saver, "");
            writeFileAtomically(file, saved);
        }

        // The reader: a file that has the fault, made from the good file.
        if (refuses(RuleUser::Reader, c.rule)) {
            ASSERT_TRUE(c.spoilFile) << "a file with the fault";
            Bytes bytes = goodBytes;
            c.spoilFile(bytes, *good);
            EXPECT_EQ(readerSays(bytes), "Project file \"rules.cwp\" cannot be loaded: " + c.text);
            writeFileAtomically(file, bytes);
        } else {
            EXPECT_EQ(readerSays(saved), "");
        }

        // The build.
        Recorder recorder;
        const BuildOutcome outcome = build(*project, recorder);
        if (refuses(RuleUser::Build, c.rule)) {
            EXPECT_EQ(outcome, BuildOutcome::Refused);
            EXPECT_EQ(recorder.messages, std::vector<std::string>{"The level cannot be built:\n" + c.text});
            EXPECT_FALSE(fs::exists(dir_ / "out.phd"));
        } else {
            EXPECT_EQ(outcome, BuildOutcome::Written);
            EXPECT_TRUE(recorder.messages.empty());
            EXPECT_EQ(recorder.warnings, std::vector<std::string>{"The level was written, but:\n" + c.text});
        }

        // cairnwork-cli check, on the file the saver wrote or the reader refused.
        std::string out, err;
        const int status = check(file, out, err);
        if (refuses(RuleUser::Reader, c.rule)) {
            EXPECT_EQ(status, cli::kExitRefused);
            EXPECT_EQ(out, "");
            EXPECT_EQ(err, "cairnwork-cli check: Project file \"" + file.string() + "\" cannot be loaded: " + c.text +
                               "\n");
        } else if (info.severity == Severity::Fault) {
            EXPECT_EQ(status, cli::kExitRefused);
            EXPECT_EQ(out, "fault: " + c.text + "\n1 fault, 0 warnings: the build would refuse the project.\n");
            EXPECT_EQ(err, "");
        } else {
            EXPECT_EQ(status, cli::kExitOk);
            EXPECT_EQ(out, "warning: " + c.text + "\n0 faults, 1 warning: the level can be built.\n");
            EXPECT_EQ(err, "");
        }
    }
    EXPECT_EQ(covered.size(), static_cast<std::size_t>(kRuleCount)) << "every rule has its case";
}

TEST(RuleSubsets, EachUserRefusesItsOwn) {
    // The reader refuses what a Project cannot hold, the saver the same (what would not load
    // again), the build every fault; a warning no one.
    const std::set<Rule> held = {Rule::RoomCount, Rule::CurrentRoom, Rule::RoomSize, Rule::PortalCount};
    for (const RuleInfo& info : kRules) {
        SCOPED_TRACE(info.name);
        EXPECT_EQ(refuses(RuleUser::Reader, info.rule), held.count(info.rule) == 1);
        EXPECT_EQ(refuses(RuleUser::Saver, info.rule), held.count(info.rule) == 1);
        EXPECT_EQ(refuses(RuleUser::Build, info.rule), info.rule != Rule::SideLinkIntoClosedSector);
        EXPECT_EQ(info.severity == Severity::Warning, info.rule == Rule::SideLinkIntoClosedSector);
    }
}

}  // namespace
}  // namespace cw
