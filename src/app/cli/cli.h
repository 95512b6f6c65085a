#pragma once
// cairnwork-cli: headless commands for builds, conversion and inspection.
// runCli is the whole program minus main(), so the tests drive it with captured streams.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // the input was refused or could not be read/written
inline constexpr int kExitUsage = 2;    // the command line was wrong

// args excludes the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One subcommand: its name, a one-line summary, its usage and its options for --help, and its
// runner (args excludes the command name). `options` holds one line per option, "--name ARG  what
// it does", or nothing.
struct Command {
    const char* name;
    const char* summary;
    const char* usage;
    const char* options;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// The file named by a command-line argument (UTF-8 on every system).
std::filesystem::path argumentPath(const std::string& argument);

// "cairnwork-cli <the project's version>", one line.
void printVersion(std::ostream& out);
// "Usage: cairnwork-cli <usage>", the summary and the options of one command.
void printCommandHelp(const Command& command, std::ostream& out);

}  // namespace cw::cli
