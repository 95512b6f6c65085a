// cairnwork-cli info and convert, driven through runCli with captured streams.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "cli/cli.h"
#include "cli_run.h"

namespace fs = std::filesystem;

namespace cw::cli {
namespace {

std::string levelPath(const char* name) {
    const fs::path path = fs::path(CW_TEST_LEVELS_DIR) / name;
    std::error_code ec;
    return fs::is_regular_file(path, ec) ? path.string() : std::string();
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

class ScratchDir {
public:
    ScratchDir() : path_(fs::temp_directory_path() / ("cw-cli-test-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(LevelCommands, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"info"}, {"info", "a.phd", "b.phd"}, {"info", "--xml", "a.phd"}, {"info", "--json"},
        {"convert"}, {"convert", "a.phd"}, {"convert", "a.phd", "b.phd", "c.phd"}, {"convert", "-f", "a", "b"},
    };
    for (const auto& args : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << args.size();
        EXPECT_NE(r.err.find("Usage: cairnwork-cli"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(LevelCommands, RefusedFilesExitOneWithAMessage) {
    ScratchDir dir;
    {
        std::ofstream(dir / "v33.phd", std::ios::binary) << std::string("\x21\0\0\0rest", 8);
        std::ofstream(dir / "short.phd", std::ios::binary) << std::string("\x20\0\0\0\x01\0", 6);
    }
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {(dir / "missing.phd").string(), "not found"},
        {(dir / "v33.phd").string(), "unknown version word"},
        {(dir / "short.phd").string(), "cairnwork-cli: Base level \"" + (dir / "short.phd").string() + "\" ends early"},
        {(dir / "\xD0\x96.phd").string(), "outside Windows-1250"},  // a Cyrillic letter
    };
    for (const Case& c : cases) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"info", c.file}, std::vector<std::string>{"convert", c.file, (dir / "out.phd").string()}}) {
            const CliRun r = run(args);
            EXPECT_EQ(r.status, kExitRefused) << c.file;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_TRUE(r.out.empty()) << r.out;
        }
    }
    EXPECT_FALSE(fs::exists(dir / "out.phd"));
}

TEST(LevelCommands, InfoPrintsEveryCountAsTextAndJson) {
    const std::string path = levelPath("TR2-TEST1.TR2");
    if (path.empty()) GTEST_SKIP() << "no TR2-TEST1.TR2 in " << CW_TEST_LEVELS_DIR;

    const CliRun text = run({"info", path});
    ASSERT_EQ(text.status, kExitOk) << text.err;
    EXPECT_NE(text.out.find("version: 45 (0x0000002D)\ngameKind: 3 (Tomb Raider 2)\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("roomCount: 5\n"), std::string::npos);
    EXPECT_EQ(occurrences(text.out, "\nroom "), 5u);
    EXPECT_NE(text.out.find("soundSampleBytes: 0\n"), std::string::npos);

    const CliRun json = run({"info", "--json", path});
    ASSERT_EQ(json.status, kExitOk) << json.err;
    const std::string& j = json.out;
    ASSERT_FALSE(j.empty());
    EXPECT_EQ(j.front(), '{');
    EXPECT_EQ(j.substr(j.size() - 2), "}\n");
    EXPECT_EQ(j.find("{\"version\":45,\"gameKind\":3,\"textileCount\":"), 0u) << j;
    EXPECT_NE(j.find(",\"roomCount\":5,\"rooms\":[{\"x\":"), std::string::npos);
    for (const char* key : {"\"x\":", "\"z\":", "\"yBottom\":", "\"yTop\":", "\"vertexCount\":", "\"rectangleCount\":",
                            "\"triangleCount\":", "\"spriteCount\":", "\"portalCount\":", "\"numZSectors\":",
                            "\"numXSectors\":", "\"lightCount\":", "\"staticMeshCount\":", "\"roomFlags\":"}) {
        EXPECT_EQ(occurrences(j, key), 5u) << key;
    }
    for (const char* key : {"floorDataCount", "meshDataCount", "objectTextureCount", "boxCount", "overlapCount",
                            "itemCount", "cameraCount", "soundSampleBytes"}) {
        EXPECT_EQ(occurrences(j, std::string("\"") + key + "\":"), 1u) << key;
    }
    EXPECT_NE(j.find("}],\"floorDataCount\":"), std::string::npos);
    EXPECT_EQ(occurrences(j, "{"), 6u);
    EXPECT_EQ(occurrences(j, "}"), 6u);
}

TEST(LevelCommands, ConvertFollowsTheOutputName) {
    const std::string path = levelPath("TR1-TEST1.PHD");
    if (path.empty()) GTEST_SKIP() << "no TR1-TEST1.PHD in " << CW_TEST_LEVELS_DIR;
    ScratchDir dir;
    const std::string gold = (dir / "gold.tub").string();
    const std::string back = (dir / "back.phd").string();

    const CliRun toGold = run({"convert", path, gold});
    ASSERT_EQ(toGold.status, kExitOk) << toGold.err;
    EXPECT_NE(toGold.out.find("Tomb Raider 1 Gold"), std::string::npos) << toGold.out;
    EXPECT_NE(fileText(gold), fileText(path));
    const CliRun goldInfo = run({"info", "--json", gold});
    EXPECT_EQ(goldInfo.out.find("{\"version\":32,\"gameKind\":2,"), 0u) << goldInfo.out;

    const CliRun toPhd = run({"convert", gold, back});
    ASSERT_EQ(toPhd.status, kExitOk) << toPhd.err;
    EXPECT_TRUE(fileText(back) == fileText(path));
}

}  // namespace
}  // namespace cw::cli
