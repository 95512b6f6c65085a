// cairnwork-cli --help and --version: every command and every option a command takes is in the
// help, and the version is the project's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/cli.h"
#include "cli_run.h"
#include "cli/commands.h"

namespace fs = std::filesystem;

namespace cw::cli {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What a command's usage line names: its operands (FILE.cwp, LEVEL, IN OUT) and its options,
// each with the name of its value when it takes one ("--base PATH").
struct Usage {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;
};

Usage readUsage(const std::string& usage) {
    Usage u;
    static const std::regex option(R"(\[(--[a-z-]+)(?: ([A-Z][A-Z.a-z]*))?\])");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator(); ++it)
        u.options.emplace_back((*it)[1], (*it)[2]);
    const std::string outside = std::regex_replace(usage, option, "");
    std::istringstream words(outside);
    std::string word;
    words >> word;  // the command's name
    while (words >> word) u.operands.push_back(word);
    return u;
}

// A command line of `command` whose operands are files that do not exist, with `extra` after them.
std::vector<std::string> lineWithMissingFiles(const Command& command, const Usage& usage,
                                              const std::vector<std::string>& extra) {
    const fs::path missing = fs::temp_directory_path() / "cw-help-test-missing";
    std::vector<std::string> args{command.name};
    for (const std::string& operand : usage.operands) args.push_back((missing / operand).string());
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(CliHelp, VersionIsTheProjectVersion) {
    const std::string expected = std::string("cairnwork-cli ") + CW_TEST_PROJECT_VERSION + "\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"},
                                                 {"info", "--version"},
                                                 {"build", "x.cwp", "--version"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, kExitOk) << args.back();
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliHelp, HelpNamesEveryCommandWithItsUsageAndOptions) {
    for (const char* flag : {"--help", "-h", "help"}) {
        const CliRun r = run({flag});
        EXPECT_EQ(r.status, kExitOk) << flag;
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(contains(r.out, "Usage: cairnwork-cli COMMAND")) << r.out;
        EXPECT_TRUE(contains(r.out, "--version")) << r.out;
        for (const Command& c : allCommands()) {
            EXPECT_TRUE(contains(r.out, std::string("\n  ") + c.usage + "\n")) << c.name;
            std::istringstream options(c.options);
            for (std::string line; std::getline(options, line);)
                EXPECT_TRUE(contains(r.out, "        " + line + "\n")) << c.name << ": " << line;
        }
    }
    // Without a command the help goes to the error stream, as a usage error.
    const CliRun none = run({});
    EXPECT_EQ(none.status, kExitUsage);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, run({"--help"}).out);
}

TEST(CliHelp, EachCommandsHelpComesFromAnywhereOnItsLine) {
    for (const Command& c : allCommands()) {
        const CliRun first = run({c.name, "--help"});
        EXPECT_EQ(first.status, kExitOk) << c.name;
        EXPECT_EQ(first.out.rfind(std::string("Usage: cairnwork-cli ") + c.usage + "\n", 0), 0u) << first.out;
        EXPECT_TRUE(contains(first.out, c.summary)) << c.name;
        const CliRun late = run({c.name, "some-file", "-h"});
        EXPECT_EQ(late.status, kExitOk) << c.name;
        EXPECT_EQ(late.out, first.out);
    }
}

// The options a usage line names are the ones described under it, and the command takes each of
// them: with files that do not exist the command fails on the files (1), not on its command line (2).
TEST(CliHelp, EveryOptionInTheHelpIsDescribedAndTaken) {
    for (const Command& c : allCommands()) {
        const Usage usage = readUsage(c.usage);
        std::vector<std::string> described;
        std::istringstream options(c.options);
        for (std::string line; std::getline(options, line);)
            if (line.rfind("--", 0) == 0) described.push_back(line.substr(0, line.find(' ')));
        std::vector<std::string> named;
        for (const auto& [option, value] : usage.options) named.push_back(option);
        EXPECT_EQ(described, named) << c.name;

        for (const auto& [option, value] : usage.options) {
            std::vector<std::string> extra{option};
            if (!value.empty()) extra.push_back((fs::temp_directory_path() / "cw-help-test-value.tr2").string());
            const CliRun r = run(lineWithMissingFiles(c, usage, extra));
            EXPECT_EQ(r.status, kExitRefused) << c.name << " " << option << ": " << r.err;
            EXPECT_FALSE(contains(r.err, "Usage:")) << c.name << " " << option << ": " << r.err;
        }
        // The same line with an option no command has is a usage error.
        const CliRun wrong = run(lineWithMissingFiles(c, usage, {"--frobnicate"}));
        EXPECT_EQ(wrong.status, kExitUsage) << c.name;
        EXPECT_TRUE(contains(wrong.err, std::string("Usage: cairnwork-cli ") + c.usage)) << wrong.err;
    }
}

}  // namespace
}  // namespace cw::cli
