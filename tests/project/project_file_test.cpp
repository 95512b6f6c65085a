// The project file: layout, versions 1..3, refusals, safe loading and saving.
#include "project/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/files.h"
#include "project/fixtures.h"

namespace cw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::int32_t i32At(const Bytes& b, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
std::int16_t i16At(const Bytes& b, std::size_t at) {
    std::int16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}
void putI32(Bytes& b, std::size_t at, std::int32_t v) { std::memcpy(b.data() + at, &v, 4); }
void putU16(Bytes& b, std::size_t at, std::uint16_t v) { std::memcpy(b.data() + at, &v, 2); }

std::unique_ptr<Project> parse(const Bytes& bytes, int* version = nullptr) {
    auto p = std::make_unique<Project>();
    int v = parseProject(bytes, *p, "Project file \"test.cwp\"");
    if (version != nullptr) *version = v;
    return p;
}

// A version-1 or version-2 file made from a version-3 one by removing what the older
// version lacks, room by room.
Bytes olderVersion(const Project& project, int version) {
    const Bytes v3 = serializeProject(project);
    Bytes out(v3.begin(), v3.begin() + 471);  // magic, version, three texts
    out[17] = static_cast<std::uint8_t>(version);
    if (version == 2) out.insert(out.end(), v3.begin() + 673, v3.begin() + 774);  // output path
    out.insert(out.end(), v3.begin() + 774, v3.begin() + 776);                     // current, count
    std::size_t at = 776;
    for (int n = 1; n <= project.roomCount; ++n) {
        const EditorRoom& room = project.room(n);
        const std::size_t block = 66 + 110 * std::size_t(room.numZ()) * room.numX() + 4 +
                                  19 * std::size_t(room.portalCount) + 40;
        const std::size_t keep = version == 1 ? 57 : 59;
        out.insert(out.end(), v3.begin() + static_cast<long>(at), v3.begin() + static_cast<long>(at + keep));
        out.insert(out.end(), v3.begin() + static_cast<long>(at + 62), v3.begin() + static_cast<long>(at + block));
        at += block;
    }
    out.insert(out.end(), v3.begin() + static_cast<long>(at), v3.end());
    return out;
}

// --- Layout ----------------------------------------------------------------------------------

TEST(ProjectFile, EmptyProjectIs816Bytes) {
    auto empty = std::make_unique<Project>();
    const Bytes b = serializeProject(*empty);
    ASSERT_EQ(b.size(), 816u);
    EXPECT_TRUE(std::equal(kProjectMagic.begin(), kProjectMagic.end(), b.begin()));
    EXPECT_EQ(b[0], 16);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 17), "Vellorn CWp file");
    EXPECT_EQ(b[17], 3);
    EXPECT_EQ(b[774], 1);  // current room
    EXPECT_EQ(b[775], 0);  // room count
    for (std::size_t i = 18; i < b.size(); ++i) {
        EXPECT_EQ(b[i], i == 774 ? 1 : 0) << "byte " << i;
    }

    auto loaded = parse(b);
    EXPECT_EQ(loaded->roomCount, 0);
    EXPECT_EQ(loaded->currentRoom, 1);
    EXPECT_EQ(loaded->planX, -1);
    EXPECT_EQ(loaded->planY, -1);
}

TEST(ProjectFile, HeaderTextsStandInTheirFixedFields) {
    auto p = std::make_unique<Project>();
    p->levelDescription = "D";
    p->comment = "Co";
    p->baseLevelPath = "Bas";
    p->itemsFilePath = "Item";
    p->lightsFilePath = "Light";
    p->outputLevelPath = "Output";
    const Bytes b = serializeProject(*p);
    struct Field {
        std::size_t offset;
        const char* text;
    };
    for (Field f : {Field{18, "D"}, Field{119, "Co"}, Field{370, "Bas"}, Field{471, "Item"}, Field{572, "Light"},
                    Field{673, "Output"}}) {
        const std::size_t n = std::strlen(f.text);
        EXPECT_EQ(b[f.offset], n) << f.text;
        EXPECT_EQ(std::string(b.begin() + static_cast<long>(f.offset) + 1,
                              b.begin() + static_cast<long>(f.offset + 1 + n)),
                  f.text);
        EXPECT_EQ(b[f.offset + 1 + n], 0) << "padding after " << f.text;
    }
}

TEST(ProjectFile, TenByTenRoomTakes11110Bytes) {
    auto p = std::make_unique<Project>();
    EditorRoom& r = test::addTestRoom(*p, 10, 10, "Ten");
    r.defaultCeilingTextures[4] = -1;
    Sector& s = r.sectors[0];
    s.floorShape = 0xA1;
    s.ceilingShape = 0xA2;
    s.floorSlopeKind = 0xA3;
    s.ceilingSlopeKind = 0xA4;
    s.floorTextures = {101, 102, 103, 104, 105};
    s.floorLights = {11, 12, 13, 14, 15};
    s.ceilingTextures = {201, 202, 203, 204, 205};
    s.ceilingLights = {21, 22, 23, 24, 25};
    s.spare1 = {31, 32, 33, 34};
    s.linkMode = 0x01020304;
    s.spare2.fill(0x55);
    r.grid.gameSectors[0] = GameSector{
        .floorDataIndex = 0x1234, .boxIndex = 0x5678, .roomBelow = 9, .floor = -3, .roomAbove = 7, .ceiling = -9};
    const Bytes b = serializeProject(*p);
    ASSERT_EQ(b.size(), 816u + 11110u);

    const std::size_t room = 776;
    EXPECT_EQ(i32At(b, room + 0), 0);    // posX
    EXPECT_EQ(i32At(b, room + 4), 860);  // posY
    EXPECT_EQ(b[room + 8], 3);
    EXPECT_EQ(std::string(b.begin() + room + 9, b.begin() + room + 12), "Ten");
    EXPECT_EQ(b[room + 29], 127);  // floor level
    EXPECT_EQ(b[room + 30], 139);  // ceiling level
    EXPECT_EQ(i16At(b, room + 31), 0);        // floor front
    EXPECT_EQ(i16At(b, room + 49), -1);       // ceiling surface
    EXPECT_EQ(b[room + 51], 16);              // room light
    EXPECT_EQ(i32At(b, room + 52), 16);       // item light
    EXPECT_EQ(i16At(b, room + 62), 10);       // numZ
    EXPECT_EQ(i16At(b, room + 64), 10);       // numX

    const std::size_t game = room + 66;
    const Bytes firstGameSector(b.begin() + game, b.begin() + game + 8);
    EXPECT_EQ(firstGameSector, (Bytes{0x34, 0x12, 0x78, 0x56, 9, 0xFD, 7, 0xF7}));

    const std::size_t sector = game + 800;
    EXPECT_EQ(b[sector + 0], 0xA1);
    EXPECT_EQ(b[sector + 3], 0xA4);
    EXPECT_EQ(i32At(b, sector + 4), 101);   // floor textures start at byte 4
    EXPECT_EQ(i32At(b, sector + 20), 105);
    EXPECT_EQ(b[sector + 24], 11);          // floor lights at 24
    EXPECT_EQ(i32At(b, sector + 29), 201);  // ceiling textures at 29
    EXPECT_EQ(b[sector + 49], 21);          // ceiling lights at 49
    EXPECT_EQ(b[sector + 54], 31);          // spare bytes
    EXPECT_EQ(i32At(b, sector + 58), 0x01020304);  // link mode at 58
    EXPECT_EQ(b[sector + 62], 0x55);
    EXPECT_EQ(b[sector + 101], 0x55);
    EXPECT_EQ(b[sector + 102], 1);          // the second sector's floor shape

    const std::size_t portals = sector + 10200;
    EXPECT_EQ(i32At(b, portals), 0);
    for (std::size_t i = portals + 4; i < b.size(); ++i) EXPECT_EQ(b[i], 0) << "trailer byte " << i;
}

TEST(ProjectFile, PortalsArePacked19ByteRecords) {
    auto p = std::make_unique<Project>();
    EditorRoom& r = test::addTestRoom(*p, 3, 3, "P");
    r.portalCount = 2;
    r.portals[1] = Portal{.face = 6,
                          .targetRoom = -2,
                          .width = 0x11111111,
                          .length = 0x22222222,
                          .row = 0x33333333,
                          .column = 0x44444444};
    const Bytes b = serializeProject(*p);
    const std::size_t count = 776 + 66 + 9 * 110;
    ASSERT_EQ(b.size(), count + 4 + 2 * 19 + 40 + 40);
    EXPECT_EQ(i32At(b, count), 2);
    const std::size_t second = count + 4 + 19;
    EXPECT_EQ(b[second], 6);
    EXPECT_EQ(i16At(b, second + 1), -2);
    EXPECT_EQ(i32At(b, second + 3), 0x11111111);
    EXPECT_EQ(i32At(b, second + 15), 0x44444444);
}

// --- Round trips -------------------------------------------------------------------------------

TEST(ProjectFile, LoadKeepsEveryPersistedField) {
    auto original = test::richProject();
    int version = 0;
    auto loaded = parse(serializeProject(*original), &version);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(loaded->levelDescription, original->levelDescription);
    EXPECT_EQ(loaded->comment, original->comment);
    EXPECT_EQ(loaded->itemsFilePath.view(), "items.itm");
    EXPECT_EQ(loaded->lightsFilePath.view(), "lights.msh");
    EXPECT_EQ(loaded->outputLevelPath.view(), "out.tr2");
    EXPECT_EQ(loaded->roomCount, 3);
    EXPECT_EQ(loaded->currentRoom, 2);
    EXPECT_EQ(loaded->planX, -20);
    EXPECT_EQ(loaded->planY, original->room(2).posY);
    EXPECT_TRUE(loaded->projectFileName.empty());

    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const EditorRoom& a = original->room(n);
        const EditorRoom& b = loaded->room(n);
        EXPECT_EQ(b.posX, a.posX);
        EXPECT_EQ(b.posY, a.posY);
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.defaultFloorTextures, a.defaultFloorTextures);
        EXPECT_EQ(b.defaultCeilingTextures, a.defaultCeilingTextures);
        EXPECT_EQ(b.water, a.water);
        EXPECT_EQ(b.sky, a.sky);
        EXPECT_EQ(b.reserved, a.reserved);
        EXPECT_EQ(b.numZ(), a.numZ());
        EXPECT_EQ(b.numX(), a.numX());
        EXPECT_EQ(b.portalCount, a.portalCount);
    }
    const EditorRoom& hall = loaded->room(1);
    EXPECT_EQ(hall.defaultFloorTextures[0], -1);  // shown as 0: no face
    EXPECT_EQ(hall.defaultCeilingTextures[1], -1);
    const Sector& s = sectorAt(hall, 2, 3);
    EXPECT_EQ(s.floorTexture(Face::Left), -1);
    EXPECT_EQ(s.linkMode, 2);
    EXPECT_EQ(s.spare1, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(s.spare2[39], 0xFF);
    EXPECT_EQ(gameSectorAt(hall.grid, 2, 3), (GameSector{.floorDataIndex = 285,
                                                         .boxIndex = 0xFFFF,
                                                         .roomBelow = 255,
                                                         .floor = -128,
                                                         .roomAbove = 1,
                                                         .ceiling = 127}));
    EXPECT_EQ(hall.portals[1].face, 5);
    EXPECT_EQ(hall.portals[1].targetRoom, 3);
}

TEST(ProjectFile, ResavingALoadedFileGivesTheSameBytes) {
    const Bytes first = serializeProject(*test::richProject());
    auto loaded = parse(first);
    EXPECT_EQ(serializeProject(*loaded), first);
}

TEST(ProjectFile, ReadersIgnoreTextPaddingAndCutOverlongLengths) {
    auto p = std::make_unique<Project>();
    test::addTestRoom(*p, 3, 3, "Room");
    Bytes b = serializeProject(*p);
    b[18] = 2;          // levelDescription "ab" followed by non-zero padding
    b[19] = 'a';
    b[20] = 'b';
    b[21] = 'z';
    b[118] = 'z';
    b[776 + 8] = 200;   // a room name length past its 20 characters: clamped, padding not read
    b[370] = 101;       // the base level path's length one past its 100 characters
    b[371] = '/';
    auto loaded = parse(b);
    EXPECT_EQ(loaded->levelDescription.view(), "ab");
    EXPECT_EQ(loaded->room(1).name.view(), "Room");
    EXPECT_EQ(loaded->baseLevelPath.view(), "/");
    // A field filled to its capacity is read whole.
    std::fill(b.begin() + 371, b.begin() + 471, 'x');
    EXPECT_EQ(parse(b)->baseLevelPath.view(), std::string(100, 'x'));
}

TEST(ProjectFile, OlderVersionsLoadWithTheAbsentFieldsZero) {
    auto original = test::richProject();
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        const Bytes b = olderVersion(*original, version);
        int read = 0;
        auto p = parse(b, &read);
        EXPECT_EQ(read, version);
        EXPECT_EQ(p->levelDescription, original->levelDescription);
        EXPECT_EQ(p->baseLevelPath, original->baseLevelPath);
        EXPECT_TRUE(p->itemsFilePath.empty());
        EXPECT_TRUE(p->lightsFilePath.empty());
        EXPECT_EQ(p->outputLevelPath.view(), version == 2 ? "out.tr2" : "");
        EXPECT_EQ(p->roomCount, 3);
        EXPECT_EQ(p->currentRoom, 2);
        const EditorRoom& hall = p->room(1);
        EXPECT_EQ(hall.water, 1);
        EXPECT_EQ(hall.windRain, version == 2 ? 1 : 0);
        EXPECT_EQ(hall.swamp, version == 2 ? 1 : 0);
        EXPECT_EQ(hall.sky, 0);
        EXPECT_EQ(hall.reserved, (std::array<std::uint8_t, 2>{0, 0}));
        EXPECT_EQ(hall.numZ(), 4);
        EXPECT_EQ(hall.numX(), 5);
        EXPECT_EQ(hall.grid.gameSectors, original->room(1).grid.gameSectors);
        EXPECT_EQ(hall.portals[1].targetRoom, 3);
        EXPECT_EQ(p->room(3).numZ(), 32);
    }
    // The current room of a version-1 file sits at 471, its rooms start at 473; version 2: 572, 574.
    EXPECT_EQ(olderVersion(*original, 1)[471], 2);
    EXPECT_EQ(olderVersion(*original, 2)[572], 2);
    EXPECT_EQ(i32At(olderVersion(*original, 1), 473), original->room(1).posX);
    EXPECT_EQ(i32At(olderVersion(*original, 2), 574 + 4), original->room(1).posY);
}

TEST(ProjectFile, VersionZeroReadsAsOneAndNewerAsThree) {
    auto original = test::richProject();
    Bytes v1 = olderVersion(*original, 1);
    v1[17] = 0;
    int read = 0;
    auto p = parse(v1, &read);
    EXPECT_EQ(read, 1);
    EXPECT_EQ(p->room(3).numZ(), 32);

    Bytes v3 = serializeProject(*original);
    v3[17] = 200;
    auto q = parse(v3, &read);
    EXPECT_EQ(read, 3);
    EXPECT_EQ(q->room(1).sky, 1);
}

TEST(ProjectFile, ARoomlessFileAlwaysHasRoomOneCurrent) {
    auto p = std::make_unique<Project>();
    Bytes b = serializeProject(*p);
    b[774] = 0;
    EXPECT_EQ(parse(b)->currentRoom, 1);
    b[774] = 77;
    EXPECT_EQ(parse(b)->currentRoom, 1);
}

// --- Refusals ----------------------------------------------------------------------------------

// A small two-room file with portals, for the refusal cases.
Bytes smallFile() {
    auto p = std::make_unique<Project>();
    EditorRoom& a = test::addTestRoom(*p, 3, 4, "A");
    a.portalCount = 1;
    a.portals[0] = Portal{.face = 4, .targetRoom = 2, .width = 1, .length = 3, .row = 2, .column = 4};
    test::addTestRoom(*p, 3, 3, "B");
    return serializeProject(*p);
}
constexpr std::size_t kSecondRoom = 776 + 66 + 12 * 110 + 4 + 19 + 40;

TEST(ProjectFile, RefusesFilesThatDoNotFit) {
    struct Case {
        const char* what;
        void (*spoil)(Bytes&);
    };
    const Case cases[] = {
        {"length byte 15", [](Bytes& b) { b[0] = 15; }},
        {"length byte 17", [](Bytes& b) { b[0] = 17; }},
        {"lower-case magic", [](Bytes& b) { b[1] = 'v'; }},
        {"upper-case magic", [](Bytes& b) { b[5] = 'O'; }},
        {"last magic character", [](Bytes& b) { b[16] = 'E'; }},
        {"81 rooms", [](Bytes& b) { b[775] = 81; }},
        {"255 rooms", [](Bytes& b) { b[775] = 255; }},
        {"current room 0", [](Bytes& b) { b[774] = 0; }},
        {"current room 3 of 2", [](Bytes& b) { b[774] = 3; }},
        {"33 columns", [](Bytes& b) { putU16(b, kSecondRoom + 64, 33); }},
        {"2 columns", [](Bytes& b) { putU16(b, 776 + 64, 2); }},
        {"33 rows", [](Bytes& b) { putU16(b, kSecondRoom + 62, 33); }},
        {"0 rows", [](Bytes& b) { putU16(b, 776 + 62, 0); }},
        {"21 portals", [](Bytes& b) { putI32(b, 776 + 66 + 12 * 110, 21); }},
        {"-1 portals", [](Bytes& b) { putI32(b, kSecondRoom + 66 + 9 * 110, -1); }},
    };
    const Bytes good = smallFile();
    ASSERT_NO_THROW(parse(good));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b = good;
        c.spoil(b);
        try {
            parse(b);
            ADD_FAILURE() << "accepted";
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find("test.cwp"), std::string::npos) << e.what();
        }
    }
}

TEST(ProjectFile, RefusesAFileCutShortAnywhere) {
    const Bytes good = smallFile();
    auto scratch = std::make_unique<Project>();
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        const std::span<const std::uint8_t> shortFile(good.data(), cut);
        EXPECT_THROW(parseProject(shortFile, *scratch, "cut"), IoError) << "cut at " << cut;
    }
}

TEST(ProjectFile, AcceptsEightyRooms) {
    auto p = std::make_unique<Project>();
    for (int i = 0; i < kMaxRooms; ++i) test::addTestRoom(*p, 3, 3, "r");
    auto loaded = parse(serializeProject(*p));
    EXPECT_EQ(loaded->roomCount, 80);
    EXPECT_EQ(loaded->currentRoom, 80);
}

TEST(ProjectFile, WillNotSaveWhatWouldNotLoad) {
    auto p = std::make_unique<Project>();
    test::addTestRoom(*p, 3, 3, "A");
    struct Case {
        const char* what;
        void (*spoil)(Project&);
    };
    const Case cases[] = {
        {"33 columns", [](Project& q) { q.room(1).grid.numX = 33; }},
        {"21 portals", [](Project& q) { q.room(1).portalCount = 21; }},
        {"negative portals", [](Project& q) { q.room(1).portalCount = -1; }},
        {"current room 2 of 1", [](Project& q) { q.currentRoom = 2; }},
        {"81 rooms", [](Project& q) { q.roomCount = 81; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto q = std::make_unique<Project>();
        test::addTestRoom(*q, 3, 3, "A");
        c.spoil(*q);
        EXPECT_THROW(serializeProject(*q), FormatError);
    }
}

// --- Files and adopting ------------------------------------------------------------------------

class ProjectFiles : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cw_project_file_test_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(ProjectFiles, SavesAndLoads) {
    auto original = test::richProject();
    const fs::path path = dir / "rich.cwp";
    std::vector<int> progress;
    saveProject(*original, path, [&](int v) { progress.push_back(v); });
    EXPECT_EQ(progress, (std::vector<int>{10, 30, 100}));
    EXPECT_EQ(readFile(path), serializeProject(*original));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left

    progress.clear();
    auto loaded = std::make_unique<Project>();
    EXPECT_EQ(loadProject(path, *loaded, [&](int v) { progress.push_back(v); }), 3);
    EXPECT_EQ(progress, (std::vector<int>{10, 30, 90, 100}));
    EXPECT_EQ(serializeProject(*loaded), serializeProject(*original));
}

TEST_F(ProjectFiles, AFailedSaveLeavesTheOldFile) {
    const fs::path path = dir / "keep.cwp";
    auto good = test::richProject();
    saveProject(*good, path);
    const Bytes before = readFile(path);

    auto bad = test::richProject();
    bad->room(3).portalCount = 99;
    EXPECT_THROW(saveProject(*bad, path), FormatError);
    EXPECT_EQ(readFile(path), before);

    EXPECT_THROW(saveProject(*good, dir / "missing folder" / "x.cwp"), IoError);
    fs::create_directory(dir / "a folder.cwp");
    EXPECT_THROW(saveProject(*good, dir / "a folder.cwp"), IoError);
    EXPECT_TRUE(fs::is_directory(dir / "a folder.cwp"));
}

TEST_F(ProjectFiles, MissingFileIsAnInputOutputError) {
    auto p = std::make_unique<Project>();
    EXPECT_THROW(loadProject(dir / "none.cwp", *p), IoError);
}

TEST_F(ProjectFiles, ReadsNoFileLongerThanTheLargestProject) {
    // The largest project is exactly kLargestProjectFileBytes long, and it loads.
    auto full = std::make_unique<Project>();
    for (int n = 0; n < kMaxRooms; ++n) {
        test::addTestRoom(*full, 32, 32, "r").portalCount = kMaxPortals;
    }
    const Bytes largest = serializeProject(*full);
    ASSERT_EQ(largest.size(), kLargestProjectFileBytes);
    writeFileAtomically(dir / "largest.cwp", largest);
    auto p = std::make_unique<Project>();
    EXPECT_EQ(loadProject(dir / "largest.cwp", *p), 3);
    EXPECT_EQ(p->roomCount, 80);

    // A few bytes after the trailer are ignored; a file past the largest size is not read.
    Bytes longer = smallFile();
    longer.resize(longer.size() + 3, 0xAA);
    writeFileAtomically(dir / "longer.cwp", longer);
    EXPECT_EQ(loadProject(dir / "longer.cwp", *p), 3);
    longer.resize(kLargestProjectFileBytes + 1, 0);
    writeFileAtomically(dir / "huge.cwp", longer);
    EXPECT_THROW(loadProject(dir / "huge.cwp", *p), FormatError);
}

// The largest project with every sector, game sector and portal different from its neighbours.
std::unique_ptr<Project> largestVariedProject() {
    auto p = std::make_unique<Project>();
    for (int n = 1; n <= kMaxRooms; ++n) {
        EditorRoom& room = test::addTestRoom(*p, 32, 32, "Room " + std::to_string(n));
        room.portalCount = kMaxPortals;
        for (int k = 0; k < kMaxSectors; ++k) {
            const int v = n * 7919 + k * 31;
            Sector& s = room.sectors[static_cast<std::size_t>(k)];
            s.floorShape = static_cast<std::uint8_t>(1 + v % 16);
            s.ceilingSlopeKind = static_cast<std::uint8_t>(v % 9);
            s.floorTextures[static_cast<std::size_t>(v % 5)] = v;
            s.floorLights[static_cast<std::size_t>(k % 5)] = static_cast<std::uint8_t>(v);
            s.ceilingTextures[static_cast<std::size_t>(k % 5)] = -v;
            s.ceilingLights[4] = static_cast<std::uint8_t>(v >> 3);
            s.spare1[3] = static_cast<std::uint8_t>(v >> 5);
            s.linkMode = v % 3;
            s.spare2[static_cast<std::size_t>(k % 40)] = static_cast<std::uint8_t>(v >> 1);
            GameSector& g = room.grid.gameSectors[static_cast<std::size_t>(k)];
            g.floorDataIndex = static_cast<std::uint16_t>(v);
            g.floor = static_cast<std::int8_t>(v >> 2);
            g.ceiling = static_cast<std::int8_t>(v >> 4);
        }
        for (int i = 0; i < kMaxPortals; ++i) {
            room.portals[static_cast<std::size_t>(i)] =
                Portal{.face = 1, .targetRoom = static_cast<std::int16_t>(n), .width = i, .length = n, .row = 1, .column = i};
        }
    }
    return p;
}

// A file read through the reader's buffer (records straddling its end) gives what parsing the
// same bytes in memory gives, and a file cut short anywhere the same refusal.
TEST_F(ProjectFiles, LoadingAFileGivesWhatParsingItsBytesGives) {
    const Bytes bytes = serializeProject(*largestVariedProject());
    const fs::path path = dir / "varied.cwp";
    writeFileAtomically(path, bytes);
    auto loaded = std::make_unique<Project>();
    EXPECT_EQ(loadProject(path, *loaded), 3);
    EXPECT_EQ(serializeProject(*loaded), bytes);

    // Cuts inside the first room's sectors (across the first buffer end), in a later room's
    // portals and in the trailer.
    const std::string what = "Project file \"" + path.string() + "\"";
    for (std::size_t cut : {std::size_t{65530}, std::size_t{65536 + 50}, std::size_t{3 * 65536 + 1},
                            bytes.size() - 40 - 40 - 19 * 5, bytes.size() - 1}) {
        SCOPED_TRACE(cut);
        writeFileAtomically(path, Bytes(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        std::string fromMemory, fromFile;
        try {
            parseProject(std::span<const std::uint8_t>(bytes.data(), cut), *loaded, what);
        } catch (const IoError& e) {
            fromMemory = e.what();
        }
        try {
            loadProject(path, *loaded);
        } catch (const IoError& e) {
            fromFile = e.what();
        }
        EXPECT_NE(fromMemory, "");
        EXPECT_EQ(fromFile, fromMemory);
    }
}

bool sameSector(const Sector& a, const Sector& b) {
    return a.floorShape == b.floorShape && a.ceilingShape == b.ceilingShape && a.floorSlopeKind == b.floorSlopeKind &&
           a.ceilingSlopeKind == b.ceilingSlopeKind && a.floorTextures == b.floorTextures &&
           a.floorLights == b.floorLights && a.ceilingTextures == b.ceilingTextures &&
           a.ceilingLights == b.ceilingLights && a.spare1 == b.spare1 && a.linkMode == b.linkMode &&
           a.spare2 == b.spare2;
}
bool samePortal(const Portal& a, const Portal& b) {
    return a.face == b.face && a.targetRoom == b.targetRoom && a.width == b.width && a.length == b.length &&
           a.row == b.row && a.column == b.column;
}

// Every field of the two projects, the room slots past the room count and the sectors and
// portals past a room's counts included.
void expectSameProject(const Project& a, const Project& b) {
    EXPECT_EQ(serializeProject(a), serializeProject(b));
    EXPECT_EQ(a.projectFileName, b.projectFileName);
    EXPECT_EQ(a.planX, b.planX);
    EXPECT_EQ(a.planY, b.planY);
    for (int n = 1; n <= kMaxRooms; ++n) {
        SCOPED_TRACE("room " + std::to_string(n));
        const EditorRoom& x = a.room(n);
        const EditorRoom& y = b.room(n);
        EXPECT_EQ(x.posX, y.posX);
        EXPECT_EQ(x.posY, y.posY);
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.name.chars, y.name.chars);
        EXPECT_EQ(x.floorLevel, y.floorLevel);
        EXPECT_EQ(x.ceilingLevel, y.ceilingLevel);
        EXPECT_EQ(x.defaultFloorTextures, y.defaultFloorTextures);
        EXPECT_EQ(x.defaultCeilingTextures, y.defaultCeilingTextures);
        EXPECT_EQ(x.roomLight, y.roomLight);
        EXPECT_EQ(x.itemLight, y.itemLight);
        EXPECT_EQ(x.water, y.water);
        EXPECT_EQ(x.windRain, y.windRain);
        EXPECT_EQ(x.swamp, y.swamp);
        EXPECT_EQ(x.sky, y.sky);
        EXPECT_EQ(x.reserved, y.reserved);
        EXPECT_EQ(x.numZ(), y.numZ());
        EXPECT_EQ(x.numX(), y.numX());
        EXPECT_EQ(x.grid.gameSectors, y.grid.gameSectors);
        EXPECT_TRUE(std::equal(x.sectors.begin(), x.sectors.end(), y.sectors.begin(), sameSector));
        EXPECT_EQ(x.portalCount, y.portalCount);
        EXPECT_TRUE(std::equal(x.portals.begin(), x.portals.end(), y.portals.begin(), samePortal));
    }
}

// The reader reads into the project's slots in place: nothing of what the project held before
// stays, in any version, whatever the earlier project filled.
TEST(ProjectFile, ReadingIntoAFilledProjectLeavesNothingOfIt) {
    const auto rich = test::richProject();
    for (int version : {1, 2, 3}) {
        SCOPED_TRACE(version);
        const Bytes b = version == 3 ? serializeProject(*rich) : olderVersion(*rich, version);
        auto used = largestVariedProject();
        used->projectFileName = "old.cwp";
        parseProject(b, *used, "used");
        auto fresh = std::make_unique<Project>();
        parseProject(b, *fresh, "fresh");
        expectSameProject(*used, *fresh);
    }
}

// The window's way of opening: load into a separate project, adopt it only when it is good.
void openProject(Project& open, const fs::path& path) {
    auto loaded = std::make_unique<Project>();
    loadProject(path, *loaded);
    adoptProject(open, *loaded);
    open.projectFileName = path.string();
}

TEST_F(ProjectFiles, ARefusedFileLeavesTheOpenProjectUnchanged) {
    auto open = test::richProject();
    open->projectFileName = "open.cwp";
    const Bytes openBytes = serializeProject(*open);

    const Bytes good = smallFile();
    std::vector<Bytes> refused;
    Bytes b = good;
    b[3] = 'X';
    refused.push_back(b);
    b = good;
    b[775] = 81;
    refused.push_back(b);
    b = good;
    putU16(b, kSecondRoom + 64, 33);
    refused.push_back(b);
    b = good;
    putI32(b, 776 + 66 + 12 * 110, 21);
    refused.push_back(b);
    for (std::size_t cut : {std::size_t(0), std::size_t(10), std::size_t(500), std::size_t(900), good.size() - 1}) {
        refused.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
    }

    for (std::size_t i = 0; i < refused.size(); ++i) {
        const fs::path path = dir / ("bad" + std::to_string(i) + ".cwp");
        writeFileAtomically(path, refused[i]);
        EXPECT_ANY_THROW(openProject(*open, path)) << i;
        EXPECT_EQ(serializeProject(*open), openBytes) << i;
        EXPECT_EQ(open->projectFileName, "open.cwp");
        EXPECT_EQ(open->planX, -20);
    }

    const fs::path goodPath = dir / "good.cwp";
    writeFileAtomically(goodPath, good);
    openProject(*open, goodPath);
    EXPECT_EQ(serializeProject(*open), good);
    EXPECT_EQ(open->roomCount, 2);
    EXPECT_EQ(open->projectFileName, goodPath.string());
}

TEST(AdoptProject, ReplacesEverythingAndEmptiesTheSource) {
    auto target = test::richProject();
    target->projectFileName = "old.cwp";
    auto loaded = std::make_unique<Project>();
    test::addTestRoom(*loaded, 5, 6, "Only");
    loaded->levelDescription = "new";
    const Bytes loadedBytes = serializeProject(*loaded);

    adoptProject(*target, *loaded);
    EXPECT_EQ(serializeProject(*target), loadedBytes);
    EXPECT_EQ(target->roomCount, 1);
    EXPECT_TRUE(target->projectFileName.empty());
    EXPECT_EQ(target->planX, 0);
    EXPECT_EQ(target->planY, 962 - 52);
    EXPECT_EQ(roomPlanSize(target->room(1)).width, 62);
    EXPECT_EQ(target->room(2).numZ(), 0);  // the old room 2 is gone
    EXPECT_TRUE(target->itemsFilePath.empty());

    EXPECT_EQ(loaded->roomCount, 0);
    EXPECT_EQ(loaded->room(1).numZ(), 0);
    EXPECT_EQ(loaded->planX, -1);

    adoptProject(*target, *target);  // harmless
    EXPECT_EQ(serializeProject(*target), loadedBytes);
}

}  // namespace
}  // namespace cw
