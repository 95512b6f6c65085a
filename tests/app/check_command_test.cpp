// cairnwork-cli check: every fault the build would refuse, listed without a base level, the
// warnings of a level built all the same, the JSON form and the exit statuses.
#include "cli/check_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <sstream>

#include "builder/builder_test_support.h"
#include "cli/cli.h"
#include "common/files.h"
#include "project/project_file.h"

namespace cw::cli {
namespace {

namespace fs = std::filesystem;
using test::addPlacedRoom;
using test::addSideLink;

class CheckCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("cw_check_command_" + std::to_string(rd()));
        fs::create_directories(dir_);
        if (!fileExists(fs::path(CW_TEST_BIN_DIR) / "floor.dat")) GTEST_SKIP() << "no floor.dat in " << CW_TEST_BIN_DIR;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    // Saves the project made by `make` (no base level named in it) and returns its path.
    std::string save(const std::function<void(Project&)>& make) {
        auto project = test::makeTestProject();
        make(*project);
        const fs::path path = dir_ / "p.cwp";
        saveProject(*project, path);
        return path.string();
    }
    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return runCheckCommand(args, out_, err_, CW_TEST_BIN_DIR);
    }

    fs::path dir_;
    std::ostringstream out_, err_;
};

// Two 5 x 5 rooms, north and south, joined by a doorway in each wall; `row` is the world row of
// the north room's south wall (4: one sector of overlap, 3: two).
void joinedRooms(Project& p, int row) {
    addSideLink(addPlacedRoom(p, 5, 5, 0, 0), 3, 5, 2);
    addSideLink(addPlacedRoom(p, 5, 5, 0, row), 3, 1, 1);
}

TEST_F(CheckCommandTest, ListsEveryFaultAndWarning) {
    struct Case {
        const char* name;
        std::function<void(Project&)> make;
        int exit;
        std::vector<std::string> lines;  // the start of each line printed, in order
    };
    const std::vector<Case> cases = {
        {"doorways overlapping by one sector", [](Project& p) { joinedRooms(p, 4); }, kExitRefused,
         {"fault: Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2 \"Room2\"",
          "fault: Room 2 \"Room2\", sector (3, 1): its side link leads into Room 1 \"Room1\"",
          "2 faults, 0 warnings: the build would refuse the project."}},
        {"doorways overlapping by two sectors", [](Project& p) { joinedRooms(p, 3); }, kExitOk,
         {"0 faults, 0 warnings: the level can be built."}},
        {"a doorway into a closed sector",
         [](Project& p) {
             joinedRooms(p, 3);
             test::setHeights(p.room(1), 3, 4, -12, -12);
         },
         kExitOk,
         {"warning: Room 2 \"Room2\", sector (3, 1): its side link leads into Room 1 \"Room1\", onto its sector (3, 4)",
          "0 faults, 1 warning: the level can be built."}},
        {"faults the build already refused, beside the links",
         [](Project& p) {
             joinedRooms(p, 4);
             test::addPortal(p.room(1), 9, 7, 1, 1, 5, 3);
         },
         kExitRefused,
         {"fault: Room 1 \"Room1\", portal 1: its face is 9",
          "fault: Room 1 \"Room1\", portal 1: it opens into room 7", "fault: Room 1 \"Room1\", sector (3, 5)",
          "fault: Room 2 \"Room2\", sector (3, 1)", "4 faults, 0 warnings"}},
        {"a room past the level's capacity, found only by building",
         [](Project& p) { test::addTestRoom(p, 32, 32, 127, 139); }, kExitRefused,
         {"fault: Room 1 \"Room1\" needs more than 2000 vertices", "1 fault, 0 warnings"}},
        {"no rooms", [](Project&) {}, kExitRefused, {"fault: The project has no rooms.", "1 fault, 0 warnings"}},
        {"a room named in Windows-1250, printed in UTF-8",
         [](Project& p) {
             joinedRooms(p, 4);
             p.room(1).name = "\xA3\xB9ka";  // "Łąka"
         },
         kExitRefused,
         {"fault: Room 1 \"\u0141\u0105ka\", sector (3, 5): its side link leads into Room 2",
          "fault: Room 2 \"Room2\", sector (3, 1): its side link leads into Room 1 \"\u0141\u0105ka\", onto its sector",
          "2 faults, 0 warnings"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string path = save(k.make);
        EXPECT_EQ(run({path}), k.exit) << out_.str() << err_.str();
        std::vector<std::string> printed;
        std::istringstream lines(out_.str());
        for (std::string line; std::getline(lines, line);) printed.push_back(line);
        ASSERT_EQ(printed.size(), k.lines.size()) << out_.str();
        for (std::size_t i = 0; i < printed.size(); ++i)
            EXPECT_EQ(printed[i].rfind(k.lines[i], 0), 0u) << k.lines[i] << "\n" << out_.str();
        EXPECT_TRUE(err_.str().empty()) << err_.str();
    }
}

TEST_F(CheckCommandTest, JsonListsFaultsAndWarnings) {
    const std::string path = save([](Project& p) {
        joinedRooms(p, 4);
        // A third room far east, with a doorway into the north room where that room is not.
        addSideLink(addPlacedRoom(p, 5, 5, 10, 0), 3, 5, 2);
    });
    EXPECT_EQ(run({path, "--json"}), kExitRefused);
    const std::string printed = out_.str();
    const std::string start = "{\n  \"buildable\": false,\n  \"faults\": [\n    \"Room 1 \\\"Room1\\\", sector (3, 5)";
    EXPECT_EQ(printed.rfind(start, 0), 0u) << printed;
    std::size_t entries = 0;
    for (std::size_t at = 0; (at = printed.find("\n    \"Room ", at)) != std::string::npos; ++at) ++entries;
    EXPECT_EQ(entries, 3u) << printed;
    const std::string end =
        "Room 3 \\\"Room3\\\", sector (3, 5): its side link leads into Room 2 \\\"Room2\\\", which has no sector "
        "at this place (world column 12, row 4).\"\n  ],\n  \"warnings\": []\n}\n";
    EXPECT_NE(printed.find(end), std::string::npos) << printed;

    const std::string fine = save([](Project& p) {
        joinedRooms(p, 3);
        test::setHeights(p.room(2), 3, 2, -12, -12);
    });
    EXPECT_EQ(run({fine, "--json"}), kExitOk);
    EXPECT_EQ(out_.str().rfind("{\n  \"buildable\": true,\n  \"faults\": [],\n  \"warnings\": [\n    \"Room 1 ", 0), 0u)
        << out_.str();
}

TEST_F(CheckCommandTest, TheExampleProjectHasNoFault) {
    EXPECT_EQ(run({(fs::path(CW_TEST_SOURCE_DIR) / "examples" / "example.cwp").string()}), kExitOk) << out_.str();
    EXPECT_EQ(out_.str(), "0 faults, 0 warnings: the level can be built.\n");
}

TEST_F(CheckCommandTest, UsageErrorsAndUnreadableProjects) {
    const std::string path = save([](Project& p) { joinedRooms(p, 3); });
    const std::vector<std::vector<std::string>> usage = {
        {}, {"--base", path}, {path, "--colour"}, {path, "second.cwp"}, {""},
    };
    for (const auto& args : usage) EXPECT_EQ(run(args), kExitUsage) << (args.empty() ? "" : args.front());
    EXPECT_EQ(run({(dir_ / "missing.cwp").string()}), kExitRefused);
    EXPECT_FALSE(err_.str().empty());
    writeFileAtomically(dir_ / "short.cwp", std::vector<std::uint8_t>{3, 0});
    EXPECT_EQ(run({(dir_ / "short.cwp").string()}), kExitRefused);
    // Through the command table.
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"check"}, out, err), kExitUsage);
    EXPECT_EQ(runCli({"check", "--help"}, out, err), kExitOk);
    EXPECT_NE(out.str().find("check PROJECT.cwp [--json]"), std::string::npos);
}

}  // namespace
}  // namespace cw::cli
