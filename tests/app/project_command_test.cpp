// cairnwork-cli project FILE.cwp [--json] [--save OUT.cwp]
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli_run.h"
#include "common/files.h"
#include "project/fixtures.h"
#include "project/project_file.h"

namespace cw::cli {
namespace {

namespace fs = std::filesystem;

class ProjectCommand : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cw_project_command_test_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);

        auto p = std::make_unique<Project>();
        p->levelDescription = "Zamek \"g\xF3rny\"";  // "górny" in Windows-1250
        p->baseLevelPath = "C:\\TR2\\WALL.TR2";
        EditorRoom& hall = test::addTestRoom(*p, 4, 6, "\xA3\xF3\x64\x9F");  // "Łódź"
        hall.sky = 1;
        hall.water = 1;
        hall.portalCount = 1;
        hall.portals[0] = Portal{.face = 4, .targetRoom = 2, .width = 1, .length = 3, .row = 2, .column = 6};
        test::addTestRoom(*p, 3, 3, "Side");
        p->currentRoom = 1;
        file = (dir / "small.cwp").string();
        saveProject(*p, file);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
    std::string file;
};

TEST_F(ProjectCommand, PrintsOneJsonObject) {
    CliRun r = run({"project", file, "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "{\n"
              "  \"fileVersion\": 3,\n"
              "  \"levelDescription\": \"Zamek \\\"g\xC3\xB3rny\\\"\",\n"
              "  \"comment\": \"\",\n"
              "  \"baseLevelPath\": \"C:\\\\TR2\\\\WALL.TR2\",\n"
              "  \"itemsFilePath\": \"\",\n"
              "  \"lightsFilePath\": \"\",\n"
              "  \"outputLevelPath\": \"\",\n"
              "  \"currentRoom\": 1,\n"
              "  \"roomCount\": 2,\n"
              "  \"rooms\": [\n"
              "    {\"name\": \"\xC5\x81\xC3\xB3\x64\xC5\xBA\", \"posX\": 0, \"posY\": 920, \"numX\": 6, \"numZ\": 4, "
              "\"floorLevel\": 127, \"ceilingLevel\": 139, \"roomLight\": 16, \"itemLight\": 16, \"water\": true, "
              "\"windRain\": false, \"swamp\": false, \"sky\": true, \"portalCount\": 1},\n"
              "    {\"name\": \"Side\", \"posX\": 10, \"posY\": 930, \"numX\": 3, \"numZ\": 3, "
              "\"floorLevel\": 127, \"ceilingLevel\": 139, \"roomLight\": 16, \"itemLight\": 16, \"water\": false, "
              "\"windRain\": false, \"swamp\": false, \"sky\": false, \"portalCount\": 0}\n"
              "  ]\n"
              "}\n");
}

TEST_F(ProjectCommand, PrintsAReadableSummary) {
    CliRun r = run({"project", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("(version 3)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Level description:    Zamek \"g\xC3\xB3rny\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Rooms:                2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\xC5\x81\xC3\xB3\x64\xC5\xBA"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("6 x 4"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("water,sky"), std::string::npos) << r.out;
}

TEST_F(ProjectCommand, EmptyProjectHasAnEmptyRoomArray) {
    const std::string empty = (dir / "empty.cwp").string();
    saveProject(*std::make_unique<Project>(), empty);
    CliRun r = run({"project", "--json", empty});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"roomCount\": 0,\n  \"rooms\": []\n}\n"), std::string::npos) << r.out;
}

TEST_F(ProjectCommand, SaveUpgradesAnOldFileToVersionThree) {
    // A version-1 file: no items, lights or output path, no wind/rain .. reserved bytes.
    auto p = std::make_unique<Project>();
    test::addTestRoom(*p, 3, 3, "Old");
    const auto v3 = serializeProject(*p);
    std::vector<std::uint8_t> v1(v3.begin(), v3.begin() + 471);
    v1[17] = 1;
    v1.insert(v1.end(), v3.begin() + 774, v3.begin() + 776 + 57);
    v1.insert(v1.end(), v3.begin() + 776 + 62, v3.end());
    const fs::path old = dir / "old.cwp";
    writeFileAtomically(old, v1);
    const fs::path upgraded = dir / "new.cwp";

    CliRun r = run({"project", old.string(), "--save", upgraded.string(), "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"fileVersion\": 1"), std::string::npos);
    EXPECT_EQ(readFile(upgraded), v3);

    CliRun again = run({"project", "--save=" + (dir / "third.cwp").string(), upgraded.string()});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("(version 3)"), std::string::npos);
    EXPECT_EQ(readFile(dir / "third.cwp"), v3);
}

TEST_F(ProjectCommand, RefusedFilesExitWithOne) {
    std::vector<std::uint8_t> bytes = readFile(file);
    bytes[1] = 'v';
    const fs::path badMagic = dir / "magic.cwp";
    writeFileAtomically(badMagic, bytes);
    const fs::path cut = dir / "cut.cwp";
    const std::vector<std::uint8_t> whole = readFile(file);
    writeFileAtomically(cut, std::span(whole).first(900));

    for (const fs::path& p : {badMagic, cut, dir / "missing.cwp"}) {
        SCOPED_TRACE(p.string());
        CliRun r = run({"project", p.string(), "--json", "--save", (dir / "out.cwp").string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(p.filename().string()), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.cwp"));
    }
    // A save that cannot be written is refused too.
    CliRun r = run({"project", file, "--save", (dir / "no folder" / "x.cwp").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("x.cwp"), std::string::npos) << r.err;
}

TEST_F(ProjectCommand, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"project"},
        {"project", "--json"},
        {"project", file, "--save"},
        {"project", file, "--save="},
        {"project", file, "--frobnicate"},
        {"project", file, file},
        {"project", file, "--save", "a.cwp", "--save", "b.cwp"},
    };
    for (const auto& args : cases) {
        CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: cairnwork-cli project FILE.cwp"), std::string::npos) << r.err;
    }
}

TEST_F(ProjectCommand, HelpAndVersion) {
    CliRun top = run({"--help"});
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("project FILE.cwp [--json] [--save OUT.cwp]"), std::string::npos) << top.out;
    CliRun help = run({"project", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: cairnwork-cli project"), std::string::npos);
    CliRun late = run({"project", file, "--help"});
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(late.out, help.out);
    CliRun version = run({"project", "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("cairnwork-cli ", 0), 0u);
}

}  // namespace
}  // namespace cw::cli
