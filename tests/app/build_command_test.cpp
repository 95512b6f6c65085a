// cairnwork-cli build: options and stored settings, exit statuses, the output-name rule for
// stored paths, and that the project file is never written.
#include "cli/build_command.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <sstream>
#include <system_error>

#include "cli/cli.h"
#include "common/files.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"

namespace cw::cli {
namespace {

namespace fs = std::filesystem;

class BuildCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("cw_build_command_" + std::to_string(rd()));
        fs::create_directories(dir_);
        if (!fileExists(fs::path(CW_TEST_BIN_DIR) / "floor.dat")) GTEST_SKIP() << "no floor.dat in " << CW_TEST_BIN_DIR;
        auto base = std::make_unique<LevelImage>();
        base->version = kVersionTR1;
        base->gameKind = kKindTR1;
        writeFileAtomically(dir_ / "base.phd", serializeLevel(*base, kKindTR1));

        auto project = std::make_unique<Project>();
        clearProject(*project);
        EditorRoom& room = project->rooms[0];
        project->roomCount = 1;
        room.floorLevel = 127;
        room.ceilingLevel = 139;
        room.roomLight = 16;
        initSectorGrid(room, 5, 6);
        project->baseLevelPath = (dir_ / "base.phd").string();
        project->outputLevelPath = (dir_ / "stored.PHD").string();
        saveProject(*project, dir_ / "p.cwp");
        projectBytes_ = readFile(dir_ / "p.cwp");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return runBuildCommand(args, out_, err_, CW_TEST_BIN_DIR);
    }
    std::string project() const { return (dir_ / "p.cwp").string(); }
    void restoreStoredOutput(const std::string& name) {
        auto p = std::make_unique<Project>();
        loadProject(dir_ / "p.cwp", *p);
        p->outputLevelPath = name;
        saveProject(*p, dir_ / "p.cwp");
        projectBytes_ = readFile(dir_ / "p.cwp");
    }

    fs::path dir_;
    std::vector<std::uint8_t> projectBytes_;
    std::ostringstream out_, err_;
};

TEST_F(BuildCommandTest, BuildsWithTheStoredSettingsAndNeverWritesTheProject) {
    EXPECT_EQ(run({project()}), kExitOk) << err_.str();
    EXPECT_TRUE(fileExists(dir_ / "stored.PHD"));
    const std::string printed = out_.str();
    for (const char* p : {"progress 10%", "progress 50%", "progress 90%", "progress 100%", "progress 0%"})
        EXPECT_NE(printed.find(p), std::string::npos) << p << "\n" << printed;
    EXPECT_EQ(readFile(dir_ / "p.cwp"), projectBytes_);
}

TEST_F(BuildCommandTest, OptionsReplaceTheStoredSettings) {
    EXPECT_EQ(run({project(), "--out", (dir_ / "given.phd").string(), "--items", (dir_ / "none.dat").string()}),
              kExitOk)
        << err_.str();
    EXPECT_TRUE(fileExists(dir_ / "given.phd"));
    EXPECT_FALSE(fileExists(dir_ / "stored.PHD"));
    EXPECT_NE(err_.str().find("Items file " + (dir_ / "none.dat").string() + " not found"), std::string::npos)
        << err_.str();
    EXPECT_EQ(readFile(dir_ / "p.cwp"), projectBytes_);
}

TEST_F(BuildCommandTest, RefusedBuildExitsOneAndPrintsTheMessage) {
    EXPECT_EQ(run({project(), "--base", "   "}), kExitRefused);
    EXPECT_NE(err_.str().find(" Please type the Base Level name "), std::string::npos) << err_.str();
    EXPECT_FALSE(fileExists(dir_ / "stored.PHD"));
    EXPECT_EQ(run({(dir_ / "missing.cwp").string()}), kExitRefused);
}

TEST_F(BuildCommandTest, StoredOutputNameMustNameALevelFile) {
    for (const std::string& stored : {std::string("notes.txt"), std::string(""), std::string("x.phd.bak")}) {
        const fs::path target = dir_ / stored;
        restoreStoredOutput(stored.empty() ? stored : target.string());
        if (!stored.empty()) writeFileAtomically(target, std::vector<std::uint8_t>{1, 2, 3});
        EXPECT_EQ(run({project()}), kExitUsage) << stored;
        EXPECT_NE(err_.str().find("--out"), std::string::npos) << err_.str();
        if (!stored.empty()) {
            EXPECT_EQ(readFile(target), (std::vector<std::uint8_t>{1, 2, 3}));
        }
    }
    // With --out the stored name does not matter.
    EXPECT_EQ(run({project(), "--out", (dir_ / "ok.tr2").string()}), kExitOk) << err_.str();
}

TEST_F(BuildCommandTest, OutputThatIsAnInputIsRefusedAndNothingWritten) {
    const std::vector<std::uint8_t> baseBytes = readFile(dir_ / "base.phd");
    fs::create_directories(dir_ / "sub");
    fs::create_symlink(dir_ / "base.phd", dir_ / "link.phd");
    writeFileAtomically(dir_ / "items.itm", std::vector<std::uint8_t>{1, 2, 3});
    const struct {
        std::vector<std::string> args;
        std::string named;  // the input, as the message names it
    } cases[] = {
        {{project(), "--out", (dir_ / "base.phd").string()}, "the base level \"" + (dir_ / "base.phd").string()},
        {{project(), "--out", (dir_ / "link.phd").string()}, "the base level \"" + (dir_ / "base.phd").string()},
        {{project(), "--out", project()}, "the project file \"" + project()},
        {{project(), "--out", (dir_ / "sub" / ".." / "p.cwp").string()}, "the project file \"" + project()},
        {{project(), "--items", (dir_ / "items.itm").string(), "--out", (dir_ / "." / "items.itm").string()},
         "the items file \"" + (dir_ / "items.itm").string()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), kExitRefused) << c.args.back();
        EXPECT_EQ(err_.str().rfind("The level cannot be built:\nThe output file \"" + c.args.back() + "\" is " + c.named +
                                       "\"",
                                   0),
                  0u)
            << err_.str();
        EXPECT_EQ(out_.str().find("Level written"), std::string::npos);
    }
    EXPECT_EQ(readFile(dir_ / "base.phd"), baseBytes);
    EXPECT_EQ(readFile(dir_ / "p.cwp"), projectBytes_);
    EXPECT_EQ(readFile(dir_ / "items.itm"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(BuildCommandTest, MessagesArePrintedInUtf8) {
    // A folder in the way of the output: the write error names the file with its Polish letters
    // and the cause.
    const fs::path folder = dir_ / "ścieżka.phd";
    fs::create_directories(folder / "inside");
    EXPECT_EQ(run({project(), "--out", folder.string()}), kExitRefused);
    EXPECT_NE(err_.str().find("The level cannot be built: Cannot write \"" + folder.string() + "\": " +
                              std::generic_category().message(EISDIR) + "\n"),
              std::string::npos)
        << err_.str();
    // A character that Windows-1250 lacks becomes "?", as in the editor.
    EXPECT_EQ(run({project(), "--items", (dir_ / "łazienka ☃.itm").string()}), kExitOk) << err_.str();
    EXPECT_EQ(err_.str(), "Items file " + (dir_ / "łazienka ?.itm").string() + " not found\n");
}

TEST_F(BuildCommandTest, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"--out"}, {project(), "--out"}, {project(), "--colour", "x"}, {project(), "second.cwp"},
        {project(), "--out", "a.phd", "--out", "b.phd"},
    };
    for (const auto& args : cases) EXPECT_EQ(run(args), kExitUsage) << (args.empty() ? "" : args.back());
    // Through the command table.
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"build"}, out, err), kExitUsage);
    EXPECT_EQ(runCli({"build", "--help"}, out, err), kExitOk);
    EXPECT_NE(out.str().find("build PROJECT.cwp"), std::string::npos);
}

TEST(BuildCommand, LevelExtensionsInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"a.phd", true}, {"A.PHD", true}, {"b.Tub", true}, {"c.tr2", true}, {"d.TR2", true},
        {".tr2", true},  {"e.tr3", false}, {"f.txt", false}, {"phd", false}, {"", false}, {"g.phd ", false},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(hasLevelExtension(name), expected) << name;
}

}  // namespace
}  // namespace cw::cli
