#pragma once
#include <span>

#include "cli/cli.h"

namespace cw::cli {

// The table of subcommands, in the order --help lists them (commands.cpp).
std::span<const Command> allCommands();

}  // namespace cw::cli
