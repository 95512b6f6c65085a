// The recent-files list "config.cnf".
#include "project/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/files.h"

namespace cw {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

class RecentFilesTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cw_recent_files_test_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        config = dir / "config.cnf";
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& text) {
        writeFileAtomically(config, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    std::string contents() const {
        auto b = readFile(config);
        return std::string(b.begin(), b.end());
    }
    fs::path dir;
    fs::path config;
};

TEST_F(RecentFilesTest, KeepsTheFiveMostRecentSaves) {
    RecentFiles list;
    for (const char* p : {"a.cwp", "b.cwp", "c.cwp", "d.cwp", "e.cwp", "f.cwp"}) list.touch(p);
    EXPECT_EQ(list.paths(), (Paths{"f.cwp", "e.cwp", "d.cwp", "c.cwp", "b.cwp"}));
    list.save(config);
    EXPECT_EQ(contents(), "f.cwp\r\ne.cwp\r\nd.cwp\r\nc.cwp\r\nb.cwp\r\n");

    // Saving one of them again moves it to the first line without adding a line.
    list.touch("c.cwp");
    EXPECT_EQ(list.paths(), (Paths{"c.cwp", "f.cwp", "e.cwp", "d.cwp", "b.cwp"}));
    list.touch("c.cwp");
    EXPECT_EQ(list.paths().size(), 5u);
}

TEST_F(RecentFilesTest, MatchesIgnoringCaseAndKeepsTheListedSpelling) {
    RecentFiles list;
    list.touch("C:\\Projekty\\Zamek.cwp");
    list.touch("other.cwp");
    list.touch("c:\\PROJEKTY\\zamek.CWP");
    EXPECT_EQ(list.paths(), (Paths{"C:\\Projekty\\Zamek.cwp", "other.cwp"}));

    // Polish capitals and small letters in Windows-1250: "Łódź" and "łÓdŹ".
    list.touch("\xA3\xF3\x64\x9F.cwp");
    list.touch("x.cwp");
    list.touch("\xB3\xD3\x64\x8F.cwp");
    EXPECT_EQ(list.paths().front(), "\xA3\xF3\x64\x9F.cwp");
    EXPECT_EQ(list.paths().size(), 4u);
}

TEST(RecentFiles, RecordsOnlyPathsThatWindows1250CanWrite) {
    RecentFiles list;
    EXPECT_TRUE(list.touchFile("/projekty/łazienka.cwp"));
    EXPECT_FALSE(list.touchFile("/projekty/ванна.cwp"));
    EXPECT_FALSE(list.touchFile("/projekty/łazienka ☃.cwp"));
    EXPECT_EQ(list.paths(), Paths{"/projekty/\xB3\x61zienka.cwp"});
    // A path already listed moves to the front, as a save through touch does.
    EXPECT_TRUE(list.touchFile("/x.cwp"));
    EXPECT_TRUE(list.touchFile("/PROJEKTY/ŁAZIENKA.CWP"));
    EXPECT_EQ(list.paths(), (Paths{"/projekty/\xB3\x61zienka.cwp", "/x.cwp"}));
}

TEST(EqualIgnoringCase1250, FoldsLettersOnly) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    for (Case c : {Case{"abc", "ABC", true}, Case{"abc", "abd", false}, Case{"ab", "abc", false},
                   Case{"\xA5\x8C\xAF", "\xB9\x9C\xBF", true},  // Ą Ś Ż / ą ś ż
                   Case{"\xC6\xCA\xD1", "\xE6\xEA\xF1", true},  // Ć Ę Ń / ć ę ń
                   Case{"\xD7", "\xF7", false},                 // multiplication and division signs
                   Case{"[", "{", false}, Case{"@", "`", false}}) {
        EXPECT_EQ(equalIgnoringCase1250(c.a, c.b), c.equal) << c.a << " / " << c.b;
    }
}

TEST_F(RecentFilesTest, LoadsWhatSaveWrote) {
    RecentFiles list;
    for (const char* p : {"one.cwp", "two.cwp", "three.cwp"}) list.touch(p);
    list.save(config);
    RecentFiles again;
    again.load(config);
    EXPECT_EQ(again.paths(), list.paths());
}

TEST_F(RecentFilesTest, ReadsTheFirstFivePathsOfAnyFile) {
    struct Case {
        const char* what;
        std::string text;
        Paths expected;
    };
    const Case cases[] = {
        {"seven lines", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", {"1", "2", "3", "4", "5"}},
        {"LF only, no final newline", "a\nb\nc", {"a", "b", "c"}},
        {"blank lines", "\r\na\r\n\r\nb\r\n", {"a", "b"}},
        {"empty file", "", {}},
        {"blanks kept inside a path", " My Projects\\x.cwp \r\n", {" My Projects\\x.cwp "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write(c.text);
        RecentFiles list;
        list.touch("stale.cwp");  // load replaces what the list held
        list.load(config);
        EXPECT_EQ(list.paths(), c.expected);
    }
}

TEST_F(RecentFilesTest, StartsEmptyWithoutAReadableFile) {
    RecentFiles list;
    list.touch("x.cwp");
    list.load(dir / "missing.cnf");
    EXPECT_TRUE(list.paths().empty());
    fs::create_directory(dir / "folder.cnf");
    list.load(dir / "folder.cnf");
    EXPECT_TRUE(list.paths().empty());
}

TEST_F(RecentFilesTest, AFailedSaveLeavesTheOldList) {
    write("old.cwp\r\n");
    RecentFiles list;
    list.touch("new.cwp");
    EXPECT_THROW(list.save(dir / "no such folder" / "config.cnf"), IoError);
    fs::create_directory(dir / "taken.cnf");
    EXPECT_THROW(list.save(dir / "taken.cnf"), IoError);
    EXPECT_TRUE(fs::is_directory(dir / "taken.cnf"));
    EXPECT_EQ(contents(), "old.cwp\r\n");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(RecentFilesTest, IgnoresAnEmptyPath) {
    RecentFiles list;
    list.touch("");
    EXPECT_TRUE(list.paths().empty());
}

}  // namespace
}  // namespace cw
