// The options that set the players' sandbox, the same for the referee and
// for match: the mode, what a player may read besides its command, and its
// limits.
#pragma once

#include <string>
#include <vector>

#include "common/sandbox.h"
#include "referee/cli.h"

namespace referee {

// Declares them, under their heading, into `settings`; gives them back.
std::vector<CLI::Option*> declare_sandbox_options(cli::CommandLine& line, proc::SandboxSettings& settings);

// The options that give `settings` again, where they are not the defaults.
std::vector<std::string> sandbox_arguments(const proc::SandboxSettings& settings);

}  // namespace referee
