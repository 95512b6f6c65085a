#include "cli/cli.h"

#include <ostream>
#include <span>

#include "cli/commands.h"

#ifndef CW_VERSION
#define CW_VERSION "0"
#endif

namespace cw::cli {

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: cairnwork-cli COMMAND [ARGS...]\n"
           "Headless commands of Cairnwork, the Tomb Raider 1-3 level editor.\n\n"
           "Commands:\n";
    for (const Command& c : allCommands()) out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\n  --help      show this help\n  --version   show the version\n\n"
           "Exit status: 0 success, 1 input refused or unreadable, 2 usage error.\n";
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        printHelp(err);
        return kExitUsage;
    }
    const std::string& first = args.front();
    if (first == "--help" || first == "-h" || first == "help") {
        printHelp(out);
        return kExitOk;
    }
    if (first == "--version") {
        out << "cairnwork-cli " << CW_VERSION << "\n";
        return kExitOk;
    }
    for (const Command& c : allCommands()) {
        if (first == c.name) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
                out << "Usage: cairnwork-cli " << c.usage << "\n" << c.summary << "\n";
                return kExitOk;
            }
            return c.run(rest, out, err);
        }
    }
    err << "cairnwork-cli: unknown command '" << first << "' (try --help)\n";
    return kExitUsage;
}

}  // namespace cw::cli
