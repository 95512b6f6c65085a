// The two programs as a user runs them: help and version on standard output with status 0, the
// version being the project's; the editor answers them without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `environment program arguments` through the shell (the arguments are plain words).
ProgramRun runProgram(const std::string& environment, const char* program, const std::string& arguments) {
    const fs::path errors = fs::temp_directory_path() / ("cw-programs-test-" + std::to_string(::getpid()) + ".err");
    const std::string command = environment + " '" + (fs::path(CW_TEST_BIN_DIR) / program).string() + "' " +
                                arguments + " 2>'" + errors.string() + "'";
    ProgramRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = fileText(errors);
    fs::remove(errors);
    return run;
}

// No display at all, and the one window system that would need one.
const std::string kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";

bool hasEditor() { return fs::exists(fs::path(CW_TEST_BIN_DIR) / "cairnwork"); }

TEST(Programs, EditorHelpAndVersionNeedNoDisplay) {
    if (!hasEditor()) GTEST_SKIP() << "the editor is not built";
    for (const char* flag : {"--help", "-h"}) {
        const ProgramRun help = runProgram(kNoDisplay, "cairnwork", flag);
        EXPECT_EQ(help.status, 0) << flag << ": " << help.err;
        EXPECT_EQ(help.out.rfind("Usage: cairnwork [options] [LIGHT]\n", 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
        EXPECT_NE(help.out.find("--lang <LANGUAGE>"), std::string::npos) << help.out;
    }
    for (const char* flag : {"--version", "-v"}) {
        const ProgramRun version = runProgram(kNoDisplay, "cairnwork", flag);
        EXPECT_EQ(version.status, 0) << flag << ": " << version.err;
        EXPECT_EQ(version.out, std::string("cairnwork ") + CW_TEST_PROJECT_VERSION + "\n");
    }
}

TEST(Programs, EditorRefusesAnUnknownOptionBeforeItsWindow) {
    if (!hasEditor()) GTEST_SKIP() << "the editor is not built";
    const ProgramRun run = runProgram("QT_QPA_PLATFORM=offscreen", "cairnwork", "--frobnicate");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cairnwork: Unknown option 'frobnicate'.\nTry 'cairnwork --help'.\n"), std::string::npos)
        << run.err;
}

// With CAIRNWORK_QUIT_AFTER_START the editor ends once it has started: 0 with its data files.
TEST(Programs, EditorStartsAndEndsWhenAskedTo) {
    if (!hasEditor()) GTEST_SKIP() << "the editor is not built";
    const ProgramRun run = runProgram("QT_QPA_PLATFORM=offscreen CAIRNWORK_QUIT_AFTER_START=1", "cairnwork", "24");
    EXPECT_EQ(run.status, 0) << run.err;
}

// --lang en: the translation is read from the program's folder; a language the editor lacks is
// refused before its window.
TEST(Programs, EditorStartsInEnglishAndRefusesOtherLanguages) {
    if (!hasEditor()) GTEST_SKIP() << "the editor is not built";
    const ProgramRun english =
        runProgram("QT_QPA_PLATFORM=offscreen CAIRNWORK_QUIT_AFTER_START=1", "cairnwork", "--lang en");
    EXPECT_EQ(english.status, 0) << english.err;
    EXPECT_EQ(english.err.find("cairnwork_en.qm"), std::string::npos) << english.err;
    const ProgramRun german = runProgram("QT_QPA_PLATFORM=offscreen", "cairnwork", "--lang de");
    EXPECT_EQ(german.status, 2);
    EXPECT_NE(german.err.find("cairnwork: Unknown language 'de'; the languages are pl, en.\n"), std::string::npos)
        << german.err;
}

TEST(Programs, CliHelpAndVersion) {
    const ProgramRun help = runProgram(kNoDisplay, "cairnwork-cli", "--help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: cairnwork-cli COMMAND", 0), 0u) << help.out;
    const ProgramRun version = runProgram(kNoDisplay, "cairnwork-cli", "--version");
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("cairnwork-cli ") + CW_TEST_PROJECT_VERSION + "\n");
    const ProgramRun nothing = runProgram(kNoDisplay, "cairnwork-cli", "");
    EXPECT_EQ(nothing.status, 2);
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(nothing.err, help.out);
}

}  // namespace
