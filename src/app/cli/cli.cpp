#include "cli/cli.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string_view>

#include "cairnwork_version.h"
#include "cli/commands.h"

namespace cw::cli {

namespace {

bool isHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// Writes each line of `text` with `indent` before it.
void printIndented(std::ostream& out, std::string_view text, std::string_view indent) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        out << indent << text.substr(0, end) << "\n";
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

void printHelp(std::ostream& out) {
    out << "Usage: cairnwork-cli COMMAND [ARGS...]\n"
           "       cairnwork-cli COMMAND --help\n"
           "       cairnwork-cli --help | --version\n"
           "Headless commands of Cairnwork, the Tomb Raider 1-3 level editor.\n\n"
           "Commands:\n";
    for (const Command& c : allCommands()) {
        out << "  " << c.usage << "\n";
        printIndented(out, c.summary, "      ");
        printIndented(out, c.options, "        ");
    }
    out << "\nOptions:\n"
           "  -h, --help   show this help; after a command, that command's help\n"
           "  --version    show the version\n\n"
           "Exit status: 0 success, 1 input refused or unreadable, 2 usage error.\n";
}

}  // namespace

std::filesystem::path argumentPath(const std::string& argument) {
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

void printVersion(std::ostream& out) { out << "cairnwork-cli " << kVersion << "\n"; }

void printCommandHelp(const Command& command, std::ostream& out) {
    out << "Usage: cairnwork-cli " << command.usage << "\n" << command.summary << "\n";
    if (*command.options != '\0') {
        out << "\nOptions:\n";
        printIndented(out, command.options, "  ");
    }
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        printHelp(err);
        return kExitUsage;
    }
    const std::string& first = args.front();
    if (isHelp(first) || first == "help") {
        printHelp(out);
        return kExitOk;
    }
    if (first == "--version") {
        printVersion(out);
        return kExitOk;
    }
    for (const Command& c : allCommands()) {
        if (first == c.name) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            // Help and version anywhere on a command's line answer before the command runs.
            if (std::any_of(rest.begin(), rest.end(), isHelp)) {
                printCommandHelp(c, out);
                return kExitOk;
            }
            if (std::find(rest.begin(), rest.end(), "--version") != rest.end()) {
                printVersion(out);
                return kExitOk;
            }
            return c.run(rest, out, err);
        }
    }
    err << "cairnwork-cli: unknown command '" << first << "' (try --help)\n";
    return kExitUsage;
}

}  // namespace cw::cli
