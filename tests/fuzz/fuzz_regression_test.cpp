// Every input that ever made a fuzz target fail stays in fuzz/regressions/<target>/ and is fed to
// the target's entry here, under the sanitizers of the test build.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/files.h"
#include "fuzz_entries.h"
#include "fuzz_levels.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"

namespace cw {
namespace {

namespace fs = std::filesystem;

TEST(FuzzRegressions, SavedInputsPassTheirTargets) {
    const fs::path root = fs::path(CW_TEST_SOURCE_DIR) / "fuzz" / "regressions";
    int inputs = 0;
    if (fs::is_directory(root)) {
        for (const auto& folder : fs::directory_iterator(root)) {
            if (!folder.is_directory()) continue;
            const fuzz::Entry entry = fuzz::entryNamed(folder.path().filename().string().c_str());
            ASSERT_NE(entry, nullptr) << "no fuzz target named " << folder.path().filename();
            for (const auto& file : fs::directory_iterator(folder.path())) {
                const auto bytes = readFile(file.path());
                SCOPED_TRACE(file.path().string());
                entry(bytes.data(), bytes.size());  // a broken promise aborts the test
                ++inputs;
            }
        }
    }
    if (inputs == 0) GTEST_SKIP() << "no saved inputs";
}

// The seeds the fuzzers start from are accepted by their readers and pass every check of the
// entries (a seed that is refused would leave the fuzzer without a start).
TEST(FuzzSeeds, SampleFilesPassTheirTargets) {
    auto project = fuzz::sampleProject();
    const auto projectBytes = serializeProject(*project);
    EXPECT_EQ(fuzz::projectFile(projectBytes.data(), projectBytes.size()), 1);
    auto level = std::make_unique<LevelImage>();
    for (int kind = kKindTR1; kind <= kKindTR3; ++kind) {
        fuzz::makeSmallLevel(*level, kind);
        auto bytes = serializeLevel(*level, kind);
        if (kind == kKindTR1Gold) bytes.push_back(0);  // odd sizes are read as Gold
        EXPECT_EQ(fuzz::baseLevel(bytes.data(), bytes.size()), 2) << "kind " << kind;
        const auto meshes = fuzz::sampleMeshFile(kind);
        EXPECT_EQ(fuzz::meshFile(meshes.data(), meshes.size()), 1) << "kind " << kind;
    }
    for (bool longForm : {false, true}) {
        const auto items = fuzz::sampleItemsFile(longForm);
        EXPECT_EQ(fuzz::itemsFile(items.data(), items.size()), 1) << "long " << longForm;
    }
}

}  // namespace
}  // namespace cw
