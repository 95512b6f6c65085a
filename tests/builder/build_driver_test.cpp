// The build driver: its messages, progress and refusals, the start item, the side files, and
// that a refused build writes nothing and leaves the project as it was.
#include "builder/build_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "builder_test_support.h"
#include "common/binio.h"
#include "common/cp1250.h"
#include "common/files.h"
#include "levelfile/level_reader.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"
#include "project/project_rules.h"

namespace cw {
namespace {

namespace fs = std::filesystem;
using test::addTestRoom;
using test::makeTestProject;

struct Recorder : BuildObserver {
    std::vector<int> progress;
    std::vector<std::string> messages;
    std::vector<std::string> warnings;
    int stored = 0;
    void setProgress(int value) override { progress.push_back(value); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showWarning(const std::string& text) override { warnings.push_back(text); }
    void settingsStored(Project&) override { ++stored; }
    std::string allMessages() const {
        std::string s;
        for (const auto& m : messages) s += m + "\n";
        return s;
    }
};

// A folder of its own per test, with floor.dat and a small Tomb Raider 1 base level made by the
// level writer from an empty level with one room slot.
class BuildDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("cw_build_driver_" + std::to_string(rd()));
        fs::create_directories(dir_ / "program");
        const fs::path floorDat = fs::path(CW_TEST_BIN_DIR) / "floor.dat";
        if (!fileExists(floorDat)) GTEST_SKIP() << "no " << floorDat;
        fs::copy_file(floorDat, dir_ / "program" / "floor.dat");
        auto base = std::make_unique<LevelImage>();
        base->version = kVersionTR1;
        base->gameKind = kKindTR1;
        base->roomCount = 1;
        base->room(1).ambient = 0x1234;
        base->itemCount = 1;
        base->itemsShort[0].angle = 0x4055;
        base->itemsShort[0].flags = 0x3E00;
        writeFileAtomically(dir_ / "base.phd", serializeLevel(*base, kKindTR1));
        environment_.programFolder = dir_ / "program";
        settings_.description = "Opis";
        settings_.comment = "Komentarz";
        settings_.baseLevel = (dir_ / "base.phd").string();
        settings_.outputFile = (dir_ / "out.phd").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    BuildOutcome build(Project& project) { return buildLevel(project, settings_, environment_, recorder_); }
    bool outputWritten() const { return fs::exists(dir_ / "out.phd"); }
    std::unique_ptr<LevelImage> readOutput() const {
        auto image = std::make_unique<LevelImage>();
        EXPECT_EQ(readBaseLevel(*image, (dir_ / "out.phd").string()), kReadOk);
        return image;
    }
    // Nothing written, nothing stored, progress back at 0; the message gives the reason after
    // "The level cannot be built:" (all but the two that ask for a base level).
    void expectRefused(const Project& project, bool withReason = true) {
        if (withReason) {
            ASSERT_FALSE(recorder_.messages.empty());
            EXPECT_EQ(recorder_.messages.back().rfind("The level cannot be built:", 0), 0u) << recorder_.messages.back();
        }
        EXPECT_FALSE(outputWritten());
        EXPECT_EQ(recorder_.stored, 0);
        EXPECT_TRUE(project.baseLevelPath.empty());
        EXPECT_TRUE(project.outputLevelPath.empty());
        ASSERT_FALSE(recorder_.progress.empty());
        EXPECT_EQ(recorder_.progress.back(), 0);
        for (const auto& entry : fs::directory_iterator(dir_))
            EXPECT_EQ(entry.path().string().find(".cwtmp"), std::string::npos) << entry.path();
    }

    fs::path dir_;
    BuildSettings settings_;
    BuildEnvironment environment_;
    Recorder recorder_;
};

TEST_F(BuildDriverTest, EmptyBaseLevelNameIsRefused) {
    auto project = test::makeSampleProject();
    settings_.baseLevel = "  \t ";
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    EXPECT_EQ(recorder_.messages, std::vector<std::string>{" Please type the Base Level name "});
    EXPECT_EQ(recorder_.progress, (std::vector<int>{10, 0}));
    expectRefused(*project, false);
}

TEST_F(BuildDriverTest, MissingBaseLevelIsNamedWithItsBlanks) {
    auto project = test::makeSampleProject();
    settings_.baseLevel = " " + (dir_ / "base.phd").string() + " ";
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    EXPECT_EQ(recorder_.messages, std::vector<std::string>{"Base Level file " + settings_.baseLevel + " not found"});
    EXPECT_EQ(recorder_.progress, (std::vector<int>{10, 0}));
    expectRefused(*project, false);
}

TEST_F(BuildDriverTest, UnknownVersionWordIsRefused) {
    auto project = test::makeSampleProject();
    ByteWriter w;
    w.u32(33);
    w.zeros(64);
    writeFileAtomically(dir_ / "odd.phd", w.bytes());
    settings_.baseLevel = (dir_ / "odd.phd").string();
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_NE(recorder_.messages[0].find("version word is not a known one"), std::string::npos);
    EXPECT_EQ(recorder_.progress, (std::vector<int>{10, 0}));
    expectRefused(*project);
}

TEST_F(BuildDriverTest, ProjectFaultsAreAllListed) {
    auto project = test::makeSampleProject();
    EditorRoom& hall = project->room(1);
    gameSectorAt(hall.grid, 2, 2).roomBelow = 6;   // room 7: deleted after the link was made
    gameSectorAt(hall.grid, 3, 7).roomAbove = 40;  // room 41
    hall.portals[0].targetRoom = 9;
    hall.portals[1].face = 7;
    hall.portals[2].row = 9;
    sectorAt(project->room(2), 1, 3).linkMode = 2;
    gameSectorAt(project->room(2).grid, 1, 3).roomAbove = 200;  // side room 201
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    const std::string& m = recorder_.messages[0];
    for (const char* part : {"Room 1 \"Room1\", sector (2, 2): the room below is room 7",
                             "Room 1 \"Room1\", sector (3, 7): the room above is room 41",
                             "Room 1 \"Room1\", portal 1: it opens into room 9", "portal 2: its face is 7",
                             "portal 3: its sector (column 8, row 9) lies outside",
                             "Room 2 \"Room2\", sector (1, 3): the side room is room 201"})
        EXPECT_NE(m.find(part), std::string::npos) << part << "\n" << m;
    expectRefused(*project);
    EXPECT_EQ(projectFaults(*project, RuleUser::Build).size(), 6u);
}

TEST_F(BuildDriverTest, RoomTooLargeForTheLevelSaysWhatToChange) {
    auto project = makeTestProject();
    addTestRoom(*project, 32, 32, 127, 139);  // default heights: about 2300 vertices
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    const std::string& m = recorder_.messages[0];
    EXPECT_NE(m.find("Room 1 \"Room1\" needs more than 2000 vertices"), std::string::npos) << m;
    EXPECT_NE(m.find("make the room smaller"), std::string::npos) << m;
    EXPECT_EQ(recorder_.progress, (std::vector<int>{10, 50, 0}));
    expectRefused(*project);
}

TEST_F(BuildDriverTest, RoomNeedingMoreThanSixThousandFacesIsRefused) {
    auto project = makeTestProject();
    EditorRoom& room = addTestRoom(*project, 32, 32, 20, 220);
    // A checkerboard of very high and very low floors: walls on every side of every step.
    for (int x = 2; x < 32; ++x)
        for (int z = 2; z < 32; ++z) test::setHeights(room, x, z, ((x + z) % 2) ? 127 - 20 : 127 - 200, 127 - 220);
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_NE(recorder_.messages[0].find("Room 1 \"Room1\" needs more than 6000 faces"), std::string::npos)
        << recorder_.messages[0];
    expectRefused(*project);
}

TEST_F(BuildDriverTest, BuildWritesTheLevelAndStoresTheSettings) {
    auto project = test::makeSampleProject();
    settings_.itemsFile = "";
    settings_.lightsFile = " ";
    EXPECT_EQ(build(*project), BuildOutcome::Written) << recorder_.allMessages();
    EXPECT_EQ(recorder_.progress, (std::vector<int>{10, 50, 90, 100, 0}));
    EXPECT_TRUE(recorder_.messages.empty()) << recorder_.allMessages();
    // The pool's side link lies on the hall's east wall, where the hall has a closed sector.
    EXPECT_EQ(recorder_.warnings,
              std::vector<std::string>{"The level was written, but:\nRoom 2 \"Room2\", sector (1, 3): its side link "
                                       "leads into Room 1 \"Room1\", onto its sector (8, 7), which is closed (its "
                                       "floor is at its ceiling): the player cannot go through."});
    EXPECT_EQ(recorder_.stored, 1);
    EXPECT_EQ(project->levelDescription.view(), "Opis");
    EXPECT_EQ(project->comment.view(), "Komentarz");
    EXPECT_EQ(project->baseLevelPath.view(), settings_.baseLevel);
    EXPECT_EQ(project->outputLevelPath.view(), settings_.outputFile);
    EXPECT_EQ(project->lightsFilePath.view(), " ");

    auto level = readOutput();
    ASSERT_EQ(level->roomCount, 5);
    const LevelRoom& hall = level->room(1);
    EXPECT_EQ(hall.roomInfo.x, 10240);
    EXPECT_EQ(hall.roomInfo.z, 38 * 1024);  // (970 - 500 - 82) div 10
    EXPECT_EQ(hall.roomInfo.yBottom, 0);
    EXPECT_EQ(hall.roomInfo.yTop, -4096);
    EXPECT_EQ(hall.ambient, 0x1434);  // the base slot's low byte, the item light in the high byte
    EXPECT_EQ(hall.roomFlags, kRoomFlagSky);
    EXPECT_EQ(level->room(2).roomFlags, kRoomFlagWater);
    EXPECT_EQ(hall.portalCount, 4);
    EXPECT_EQ(hall.alternateRoom, -1);
    EXPECT_GT(hall.vertexCount, 0);
    EXPECT_EQ(level->cameras.count, 0u);
    ASSERT_EQ(level->itemCount, 1u);
}

// Two 6 x 5 rooms, the second north of the first, joined by a doorway in each room's wall.
TEST_F(BuildDriverTest, RoomsJoinedByDoorwaysBuildOnlyWhenEachLeadsOntoTheOtherRoomsFloor) {
    struct Case {
        const char* name;
        int northSouthRow;  // world row of the north room's south wall; the south room spans rows 0..4
        bool closeTarget;   // the north room's sector in front of the south room's doorway is closed
        BuildOutcome outcome;
        std::vector<std::string> messageParts;  // of the refusal, or of the warning
    };
    const Case cases[] = {
        {"one-sector overlap", 4, false, BuildOutcome::Refused,
         {"The level cannot be built:\n", "Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2",
          "Room 2 \"Room2\", sector (3, 1): its side link leads into Room 1", "for ever"}},
        {"two-sector overlap", 3, false, BuildOutcome::Written, {}},
        {"two-sector overlap, closed in front of the doorway", 3, true, BuildOutcome::Written,
         {"The level was written, but:\n", "Room 1 \"Room1\", sector (3, 5): its side link leads into Room 2",
          "onto its sector (3, 2), which is closed"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        recorder_ = Recorder{};
        fs::remove(dir_ / "out.phd");
        auto project = makeTestProject();
        EditorRoom& south = test::addPlacedRoom(*project, 5, 6, 0, 0);
        EditorRoom& north = test::addPlacedRoom(*project, 5, 6, 0, k.northSouthRow);
        test::addSideLink(south, 3, 5, 2);
        test::addSideLink(north, 3, 1, 1);
        if (k.closeTarget) test::setHeights(north, 3, 2, -12, -12);
        ASSERT_EQ(build(*project), k.outcome) << recorder_.allMessages();
        const std::vector<std::string>& texts =
            k.outcome == BuildOutcome::Refused ? recorder_.messages : recorder_.warnings;
        if (k.messageParts.empty()) {
            EXPECT_TRUE(recorder_.messages.empty()) << recorder_.allMessages();
            EXPECT_TRUE(recorder_.warnings.empty());
        } else {
            ASSERT_EQ(texts.size(), 1u) << recorder_.allMessages();
            for (const std::string& part : k.messageParts)
                EXPECT_NE(texts[0].find(part), std::string::npos) << texts[0];
        }
        if (k.outcome == BuildOutcome::Refused) {
            expectRefused(*project);
        } else {
            ASSERT_TRUE(outputWritten());
            // The game finds the doorway's portal entry in the south room's floor data.
            auto level = readOutput();
            const GameSector& doorway = gameSectorAt(level->room(1).grid, 3, 5);
            ASSERT_GT(doorway.floorDataIndex, 0);
            EXPECT_EQ(level->floorData.items[doorway.floorDataIndex], 0x8001);
            EXPECT_EQ(level->floorData.items[doorway.floorDataIndex + 1u], 1);
        }
    }
}

TEST_F(BuildDriverTest, ExampleProjectBuildsWithoutAWord) {
    auto project = std::make_unique<Project>();
    ASSERT_EQ(loadProject(fs::path(CW_TEST_SOURCE_DIR) / "examples" / "example.cwp", *project), 3);
    EXPECT_TRUE(projectFaults(*project, RuleUser::Build).empty());
    EXPECT_EQ(build(*project), BuildOutcome::Written) << recorder_.allMessages();
    EXPECT_TRUE(recorder_.messages.empty()) << recorder_.allMessages();
    EXPECT_TRUE(recorder_.warnings.empty());
    ASSERT_EQ(readOutput()->roomCount, project->roomCount);
}

TEST_F(BuildDriverTest, StartItemStandsOnTheFloorOfTheCurrentRoom) {
    auto project = makeTestProject();
    addTestRoom(*project, 4, 4, 127, 139, 0, 16, 0, 400);
    addTestRoom(*project, 4, 4, 127, 139, 0, 16, 200, 400);
    EditorRoom& third = addTestRoom(*project, 10, 5, 127, 139, 0, 16, 100, 500);
    test::setHeights(third, 2, 2, -3, -12);
    project->currentRoom = 3;
    ASSERT_EQ(build(*project), BuildOutcome::Written) << recorder_.allMessages();
    auto level = readOutput();
    ASSERT_EQ(level->itemCount, 1u);
    const ItemShort& item = level->itemsShort[0];
    EXPECT_EQ(item.type, 0);
    EXPECT_EQ(item.room, 2);
    EXPECT_EQ(item.x, 11776);
    EXPECT_EQ(item.y, -768);
    EXPECT_EQ(item.z, 38400);
    EXPECT_EQ(item.angle, 0x0055);  // high byte 0, low byte from the base level's first item
    EXPECT_EQ(item.intensity, -1);
    EXPECT_EQ(item.flags, 0x3E00);
}

TEST_F(BuildDriverTest, SideFileMessagesAndTheBuildGoesOn) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> items, meshes;  // empty: no file
        std::string expected;
    };
    const std::vector<std::uint8_t> badItems = {6, 'V', 'E', 'L', 'L', 'O', 'R', 'N', 0, 0, 0, 0};
    const std::vector<std::uint8_t> tr2Meshes = {16,  'V', 'e', 'l', 'l', 'o', 'r', 'n', ' ', 'M', 'S',
                                                 'H', ' ', 'f', 'i', 'l', 'e', 3,   0,   0,   0,   0, 0};
    std::vector<std::uint8_t> badMeshes = tr2Meshes;
    badMeshes[1] = 'X';
    const Case cases[] = {
        {"missing items file", {}, {}, "Items file %items not found"},
        {"items file with another magic", badItems, {}, "Items file %items is not an items settings file"},
        {"meshes file of another game", {}, tr2Meshes, "Meshes file %meshes was made for another game"},
        {"meshes file with another magic", {}, badMeshes, "Meshes file %meshes is not a light/texture settings file"},
    };
    for (const Case& k : cases) {
        recorder_ = Recorder{};
        fs::remove(dir_ / "out.phd");
        auto project = test::makeSampleProject();
        const fs::path items = dir_ / "items.dat", meshes = dir_ / "meshes.msh";
        fs::remove(items);
        fs::remove(meshes);
        if (!k.items.empty()) writeFileAtomically(items, k.items);
        if (!k.meshes.empty()) writeFileAtomically(meshes, k.meshes);
        settings_.itemsFile = k.meshes.empty() ? items.string() : "";
        settings_.lightsFile = k.meshes.empty() ? "" : meshes.string();
        EXPECT_EQ(build(*project), BuildOutcome::Written) << k.name;
        std::string expected = k.expected;
        if (auto at = expected.find("%items"); at != std::string::npos) expected.replace(at, 6, items.string());
        if (auto at = expected.find("%meshes"); at != std::string::npos) expected.replace(at, 7, meshes.string());
        ASSERT_EQ(recorder_.messages.size(), 1u) << k.name;
        EXPECT_EQ(recorder_.messages[0].rfind(expected, 0), 0u) << k.name << ": " << recorder_.messages[0];
        EXPECT_TRUE(outputWritten()) << k.name;
        EXPECT_EQ(readOutput()->itemCount, 1u) << k.name;  // the start item only
        EXPECT_EQ(recorder_.progress.back(), 0);
    }
}

TEST_F(BuildDriverTest, RefusedSideFileEndsTheBuild) {
    auto project = test::makeSampleProject();
    ByteWriter w;
    w.write(std::vector<std::uint8_t>{7, 'V', 'E', 'L', 'L', 'O', 'R', 'N'});
    w.u32(0);   // items
    w.u16(0);   // floor data words
    w.u32(0);   // cameras
    w.u16(9);   // lights for 9 rooms: the level has 5
    writeFileAtomically(dir_ / "items.dat", w.bytes());
    settings_.itemsFile = (dir_ / "items.dat").string();
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_NE(recorder_.messages[0].find("9 rooms; the level has 5"), std::string::npos) << recorder_.messages[0];
    expectRefused(*project);
}

TEST_F(BuildDriverTest, MissingFloorDataFileEndsTheBuild) {
    auto project = test::makeSampleProject();
    fs::remove(dir_ / "program" / "floor.dat");
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_NE(recorder_.messages[0].find("floor.dat"), std::string::npos) << recorder_.messages[0];
    expectRefused(*project);
}

TEST_F(BuildDriverTest, OutputThatCannotBeCreatedEndsTheBuild) {
    auto project = test::makeSampleProject();
    settings_.outputFile = (dir_ / "no such folder" / "out.phd").string();
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.progress, (std::vector<int>{10, 50, 90, 100, 0}));
    expectRefused(*project);
}

TEST_F(BuildDriverTest, OutputThatIsOneOfTheBuildsInputsIsRefused) {
    // The inputs: the project's file, the base level and the two side files.
    const fs::path base = dir_ / "base.phd", projectFile = dir_ / "p.cwp", items = dir_ / "items.itm",
                   lights = dir_ / "lights.msh";
    const std::vector<std::uint8_t> baseBytes = readFile(base), other = {1, 2, 3};
    for (const fs::path& f : {projectFile, items, lights}) writeFileAtomically(f, other);
    fs::create_directories(dir_ / "sub");
    fs::create_symlink(base, dir_ / "link.phd");
    fs::create_hard_link(projectFile, dir_ / "also.cwp");
    environment_.projectFile = projectFile;
    settings_.itemsFile = items.string();
    settings_.lightsFile = lights.string();
    struct Case {
        std::string output;
        const char* input;
        fs::path inputPath;
    };
    const Case cases[] = {
        {base.string(), "base level", base},
        {(dir_ / "." / "base.phd").string(), "base level", base},
        {(dir_ / "sub" / ".." / "base.phd").string(), "base level", base},
        {(dir_ / "link.phd").string(), "base level", base},
        {fs::relative(base).string(), "base level", base},  // from the working folder
        {(dir_ / "sub" / ".." / "p.cwp").string(), "project file", projectFile},
        {(dir_ / "also.cwp").string(), "project file", projectFile},
        {items.string(), "items file", items},
        {(dir_ / "." / "lights.msh").string(), "light/texture file", lights},
    };
    for (const Case& k : cases) {
        recorder_ = Recorder{};
        auto project = test::makeSampleProject();
        settings_.outputFile = k.output;
        EXPECT_EQ(build(*project), BuildOutcome::Refused) << k.output;
        EXPECT_EQ(recorder_.messages, std::vector<std::string>{"The level cannot be built:\nThe output file \"" + k.output +
                                                                "\" is the " + k.input + " \"" + k.inputPath.string() +
                                                                "\"; the build would replace it. Choose another output file."});
        expectRefused(*project);
    }
    EXPECT_EQ(readFile(base), baseBytes);
    for (const fs::path& f : {projectFile, items, lights}) EXPECT_EQ(readFile(f), other) << f;
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.phd"));

    // An untitled project has no file to keep, and blank side file names name no input.
    environment_.projectFile.clear();
    settings_.itemsFile = settings_.lightsFile = " ";
    EXPECT_TRUE(settingsBuildFaults(settings_, environment_.projectFile).empty());
}

TEST_F(BuildDriverTest, TextLongerThanItsFieldIsRefusedNotCut) {
    // A base level whose path is one character longer than the project can keep.
    const std::size_t folder = (dir_ / "").string().size();
    const fs::path longBase = dir_ / (std::string(101 - folder - 4, 'b') + ".phd");
    fs::copy_file(dir_ / "base.phd", longBase);
    settings_.baseLevel = longBase.string();
    ASSERT_EQ(settings_.baseLevel.size(), 101u);
    auto project = test::makeSampleProject();
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    EXPECT_EQ(recorder_.messages,
              std::vector<std::string>{"The level cannot be built:\nThe base level path \"" + longBase.string() +
                                       "\" is 101 characters long; the project keeps at most 100. Use a shorter path."});
    expectRefused(*project);
}

TEST(SettingsBuildFaults, EachTextIsMeasuredAgainstItsField) {
    struct Case {
        std::string BuildSettings::*field;
        std::size_t capacity;
        const char* named;
    };
    const Case cases[] = {
        {&BuildSettings::description, 100, "The level description is"},
        {&BuildSettings::comment, 250, "The comment is"},
        {&BuildSettings::baseLevel, 100, "The base level path \"\xC5\x82x"},
        {&BuildSettings::outputFile, 100, "The output file name \"\xC5\x82x"},
        {&BuildSettings::itemsFile, 100, "The items file path \"\xC5\x82x"},
        {&BuildSettings::lightsFile, 100, "The light/texture file path \"\xC5\x82x"},
    };
    for (const Case& k : cases) {
        BuildSettings settings;
        settings.*k.field = std::string(k.capacity, 'x');
        EXPECT_TRUE(settingsBuildFaults(settings, {}).empty()) << k.named;  // a full field keeps it whole
        // "ł" is one byte in Windows-1250, two in UTF-8: the field holds bytes of the first kind.
        settings.*k.field = utf8ToCp1250("\xC5\x82") + std::string(k.capacity, 'x');
        const auto faults = settingsBuildFaults(settings, {});
        ASSERT_EQ(faults.size(), 1u) << k.named;
        EXPECT_EQ(faults[0].rfind(k.named, 0), 0u) << faults[0];
        EXPECT_NE(faults[0].find(" is " + std::to_string(k.capacity + 1) + " characters long; the project keeps at most " +
                                 std::to_string(k.capacity) + "."),
                  std::string::npos)
            << faults[0];
        settings.*k.field = utf8ToCp1250("\xC5\x82") + std::string(k.capacity - 1, 'x');
        EXPECT_TRUE(settingsBuildFaults(settings, {}).empty()) << k.named;
    }
}

TEST_F(BuildDriverTest, MessagesAreUtf8WithProjectTextsConverted) {
    // The settings and the room names are Windows-1250, as the project keeps them; a character
    // that Windows-1250 lacks (the snowman) became "?" when the text was typed.
    auto project = test::makeSampleProject();
    project->room(1).name = utf8ToCp1250("Łazienka");
    settings_.itemsFile = utf8ToCp1250((dir_ / "łazienka ☃.itm").string());
    EXPECT_EQ(build(*project), BuildOutcome::Written);
    EXPECT_EQ(recorder_.messages, std::vector<std::string>{"Items file " + (dir_ / "łazienka ?.itm").string() + " not found"});

    recorder_ = Recorder{};
    fs::remove(dir_ / "out.phd");
    project->room(1).portals[0].targetRoom = 1;
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    EXPECT_EQ(recorder_.messages,
              std::vector<std::string>{"The level cannot be built:\nRoom 1 \"Łazienka\", portal 1: it opens into its own room."});
    project->room(1).portals[0].targetRoom = 4;

    // A folder in the way of the output: the write error names its cause and the file.
    recorder_ = Recorder{};
    settings_.itemsFile.clear();
    fs::create_directories(dir_ / "ścieżka.phd" / "inside");
    settings_.outputFile = utf8ToCp1250((dir_ / "ścieżka.phd").string());
    EXPECT_EQ(build(*project), BuildOutcome::Refused);
    EXPECT_EQ(recorder_.messages, std::vector<std::string>{"The level cannot be built: Cannot write \"" +
                                                            (dir_ / "ścieżka.phd").string() + "\": " +
                                                            std::generic_category().message(EISDIR)});
    EXPECT_TRUE(fs::is_directory(dir_ / "ścieżka.phd" / "inside"));
}

TEST_F(BuildDriverTest, LinearVertexScanBuildsTheSameLevel) {
    auto project = test::makeSampleProject();
    ASSERT_EQ(build(*project), BuildOutcome::Written);
    const auto indexed = readFile(dir_ / "out.phd");
    environment_.vertexSearch = VertexSearch::LinearScan;
    ASSERT_EQ(build(*project), BuildOutcome::Written);
    EXPECT_EQ(readFile(dir_ / "out.phd"), indexed);
}

// The sample project and beside it rooms of many sizes with floors at random heights, so that
// rooms of unequal work are shared out among the threads.
std::unique_ptr<Project> makeManyRoomProject() {
    auto project = test::makeSampleProject();
    std::mt19937 random(7);
    for (int i = 0; i < 30; ++i) {
        const int rows = 3 + static_cast<int>(random() % 10);
        const int columns = 3 + static_cast<int>(random() % 10);
        EditorRoom& room = test::addPlacedRoom(*project, rows, columns, 40 + (i % 6) * 14, (i / 6) * 14, 120, 140);
        room.water = static_cast<std::uint8_t>(i % 4 == 1);
        for (int x = 2; x < columns; ++x)
            for (int z = 2; z < rows; ++z)
                test::setHeights(room, x, z, 127 - 120 - static_cast<int>(random() % 12), 127 - 140);
    }
    return project;
}

// However many threads the build uses, it writes the same bytes: on the small base level of
// every test and on each real level present, of every game.
TEST_F(BuildDriverTest, EveryThreadCountWritesTheSameLevel) {
    auto project = makeManyRoomProject();
    std::vector<std::string> bases = {settings_.baseLevel};
    for (const char* name : {"TR1-TEST1.PHD", "TR2-TEST1.TR2", "TR3-TEST1.TR2"}) {
        const fs::path level = fs::path(CW_TEST_LEVELS_DIR) / name;
        if (fileExists(level)) bases.push_back(level.string());
    }
    for (const std::string& base : bases) {
        settings_.baseLevel = base;
        environment_.threads = 1;
        ASSERT_EQ(build(*project), BuildOutcome::Written) << base << ": " << recorder_.allMessages();
        const auto alone = readFile(dir_ / "out.phd");
        for (const unsigned threads : {2u, 3u, 8u, 0u}) {
            fs::remove(dir_ / "out.phd");
            environment_.threads = threads;
            ASSERT_EQ(build(*project), BuildOutcome::Written) << base << ": " << recorder_.allMessages();
            EXPECT_EQ(readFile(dir_ / "out.phd"), alone) << base << " on " << threads << " threads";
        }
        fs::remove(dir_ / "out.phd");
    }
}

// However many threads the build uses, a refused build names what a build of one room after
// another meets first: the first room in order whose mesh does not fit, before later rooms that
// fail too (however soon they fail) and before a fault of the floor data.
TEST_F(BuildDriverTest, EveryThreadCountRefusesOnTheFirstRoomThatFails) {
    struct Case {
        const char* name;
        std::vector<int> tooManyVertices;  // rooms of 32 x 32 sectors at the default heights
        std::vector<int> tooManyFaces;     // rooms of 32 x 32 sectors in a checkerboard of heights
        bool floorDataMissing;
        const char* expected;
    };
    const Case cases[] = {
        {"two rooms too large", {3, 9}, {}, false, "Room 3 \"Room3\" needs more than 2000 vertices"},
        {"a later room fails sooner", {4}, {7}, false, "Room 4 \"Room4\" needs more than 2000 vertices"},
        {"an earlier room fails sooner", {7}, {4}, false, "Room 4 \"Room4\" needs more than 6000 faces"},
        {"a room and the floor data", {8}, {}, true, "Room 8 \"Room8\" needs more than 2000 vertices"},
        {"the floor data alone", {}, {}, true, "floor.dat"},
    };
    for (const Case& c : cases) {
        auto project = makeTestProject();
        for (int r = 1; r <= 10; ++r) {
            const bool vertices = std::ranges::count(c.tooManyVertices, r) > 0;
            const bool faces = std::ranges::count(c.tooManyFaces, r) > 0;
            if (!vertices && !faces) {
                test::addPlacedRoom(*project, 6, 6, 10 * r, 0);
                continue;
            }
            EditorRoom& room = test::addPlacedRoom(*project, 32, 32, 10 * r, 40, faces ? 20 : 127, faces ? 220 : 139);
            for (int x = 2; faces && x < 32; ++x)
                for (int z = 2; z < 32; ++z) test::setHeights(room, x, z, ((x + z) % 2) ? 127 - 20 : 127 - 200, 127 - 220);
        }
        project->currentRoom = 1;
        if (c.floorDataMissing) fs::remove(dir_ / "program" / "floor.dat");
        for (const unsigned threads : {1u, 2u, 3u, 8u}) {
            recorder_ = Recorder{};
            environment_.threads = threads;
            EXPECT_EQ(build(*project), BuildOutcome::Refused) << c.name;
            ASSERT_EQ(recorder_.messages.size(), 1u) << c.name << recorder_.allMessages();
            const std::string& m = recorder_.messages[0];
            EXPECT_NE(m.find(c.expected), std::string::npos) << c.name << " on " << threads << " threads:\n" << m;
            expectRefused(*project);
        }
        if (c.floorDataMissing) fs::copy_file(fs::path(CW_TEST_BIN_DIR) / "floor.dat", dir_ / "program" / "floor.dat");
    }
}

// Builds one after another in one workspace image write what builds in a fresh image write: on a
// base of more rooms than the project, after a build refused inside its rooms, and on a base of
// fewer rooms than the project (whose slots past the base's rooms a fresh image has all zero).
TEST_F(BuildDriverTest, BuildsInOneWorkspaceWriteWhatFreshBuildsWrite) {
    // A second base level of six rooms, with what a build keeps of a room slot: the ambient's low
    // byte and the low light bytes of the vertices.
    {
        auto many = std::make_unique<LevelImage>();
        many->version = kVersionTR1;
        many->gameKind = kKindTR1;
        many->roomCount = 6;
        for (int r = 1; r <= 6; ++r) {
            LevelRoom& room = many->room(r);
            room.ambient = static_cast<std::uint16_t>(0x1200 | (r * 17));
            room.vertexCount = 40;
            for (int v = 0; v < 40; ++v)
                room.vertices[static_cast<std::size_t>(v)].light = static_cast<std::int16_t>(r * 7 + v);
        }
        many->itemCount = 1;
        writeFileAtomically(dir_ / "many.phd", serializeLevel(*many, kKindTR1));
    }
    auto small = makeTestProject();
    test::addPlacedRoom(*small, 4, 4, 10, 10);
    test::addPlacedRoom(*small, 5, 3, 20, 10);
    small->currentRoom = 1;
    auto sample = test::makeSampleProject();
    auto tooLarge = makeTestProject();
    test::addPlacedRoom(*tooLarge, 4, 4, 10, 10);
    test::addPlacedRoom(*tooLarge, 32, 32, 20, 10);  // more than 2000 vertices: refused in room 2
    tooLarge->currentRoom = 1;

    const std::string manyBase = (dir_ / "many.phd").string();
    const std::string oneBase = settings_.baseLevel;
    struct Step {
        Project* project;
        std::string base;
        BuildOutcome outcome;
    };
    const Step steps[] = {
        {small.get(), manyBase, BuildOutcome::Written},    {sample.get(), manyBase, BuildOutcome::Written},
        {tooLarge.get(), manyBase, BuildOutcome::Refused}, {sample.get(), oneBase, BuildOutcome::Written},
        {small.get(), oneBase, BuildOutcome::Written},     {sample.get(), manyBase, BuildOutcome::Written},
    };
    auto workspace = std::make_unique<LevelImage>();
    int step = 0;
    for (const Step& s : steps) {
        ++step;
        settings_.baseLevel = s.base;
        environment_.workspace = nullptr;
        ASSERT_EQ(build(*s.project), s.outcome) << "step " << step << ": " << recorder_.allMessages();
        const auto fresh = outputWritten() ? readFile(dir_ / "out.phd") : std::vector<std::uint8_t>{};
        fs::remove(dir_ / "out.phd");
        environment_.workspace = workspace.get();
        ASSERT_EQ(build(*s.project), s.outcome) << "step " << step << ": " << recorder_.allMessages();
        if (s.outcome == BuildOutcome::Written) {
            EXPECT_FALSE(fresh.empty());
            EXPECT_EQ(readFile(dir_ / "out.phd"), fresh) << "step " << step;
        }
        fs::remove(dir_ / "out.phd");
    }
}

TEST(BuildRefusals, EachProjectFaultIsNamed) {
    struct Case {
        const char* name;
        void (*change)(Project&);
        const char* expected;
    };
    const Case cases[] = {
        {"no rooms", [](Project& p) { p.roomCount = 0; }, "The project has no rooms."},
        {"current room", [](Project& p) { p.currentRoom = 6; }, "The current room 6 (where the player starts)"},
        {"size", [](Project& p) { p.room(4).grid.numX = 33; }, "Room 4 \"Room4\" is 33 x 4 sectors"},
        {"portal count", [](Project& p) { p.room(3).portalCount = 21; }, "Room 3 \"Room3\" has 21 portals"},
        {"shape", [](Project& p) { sectorAt(p.room(5), 2, 3).ceilingShape = 17; },
         "Room 5 \"Room5\", sector (2, 3): its floor shape 1 or ceiling shape 17"},
        {"side link to a deleted room",
         [](Project& p) {
             sectorAt(p.room(2), 3, 3).linkMode = 2;
             gameSectorAt(p.room(2).grid, 3, 3).roomAbove = 7;
         },
         "Room 2 \"Room2\", sector (3, 3): the side room is room 8"},
        {"room below", [](Project& p) { gameSectorAt(p.room(3).grid, 2, 2).roomBelow = 5; },
         "Room 3 \"Room3\", sector (2, 2): the room below is room 6"},
        {"portal into its own room", [](Project& p) { p.room(1).portals[0].targetRoom = 1; },
         "Room 1 \"Room1\", portal 1: it opens into its own room."},
        // A north wall portal from column 3 (x 2048) 30 sectors wide ends at x 32768.
        {"wall portal past x 32767", [](Project& p) { p.room(1).portals[0].width = 30; },
         "Room 1 \"Room1\", portal 1: with width 30 and length 3 a corner lies at (32768, "},
        // A floor portal from row 5 (z 5120) 40 sectors long reaches z -35840.
        {"floor portal past z -32768", [](Project& p) { p.room(1).portals[3].length = 40; },
         "Room 1 \"Room1\", portal 4: with width 2 and length 40 a corner lies at (3072, "},
    };
    EXPECT_TRUE(projectFaults(*test::makeSampleProject(), RuleUser::Build).empty());
    {
        // Side-link mode without a side room (a link cleared in the top view) is no fault.
        auto project = test::makeSampleProject();
        sectorAt(project->room(2), 3, 3).linkMode = 2;
        gameSectorAt(project->room(2).grid, 3, 3).roomAbove = kNoRoom;
        EXPECT_TRUE(projectFaults(*project, RuleUser::Build).empty());
    }
    {
        // The widest north wall portal from column 3 ends at x 2048 + 29 * 1024 = 31744.
        auto project = test::makeSampleProject();
        project->room(1).portals[0].width = 29;
        EXPECT_TRUE(projectFaults(*project, RuleUser::Build).empty());
    }
    for (const Case& k : cases) {
        auto project = test::makeSampleProject();
        k.change(*project);
        const auto faults = refusalTexts(projectFaults(*project), RuleUser::Build);
        ASSERT_EQ(faults.size(), 1u) << k.name;
        EXPECT_EQ(faults[0].rfind(k.expected, 0), 0u) << k.name << ": " << faults[0];
    }
}

}  // namespace
}  // namespace cw
