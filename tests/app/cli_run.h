#pragma once
// cairnwork-cli driven in the test's own process through runCli, its two streams captured.
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace cw::cli {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace cw::cli
