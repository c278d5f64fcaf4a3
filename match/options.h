// match's command line.
#pragma once

#include <string>
#include <vector>

#include "common/sandbox.h"
#include "match/match.h"

namespace match {

struct Options {
    MatchConfig config;
    // Which settings the command line gave: a resumed match takes the others from its CSV.
    bool has_seed = false, has_deals = false, has_shard = false, has_no_ceiling = false;
    bool quiet = false;
    bool merge = false, allow_missing = false;
    std::string csv_path, json_path, svg_path, html_path, resume_path;
    std::vector<std::string> operands;  // the players; with --merge, the CSVs to join
    proc::SandboxSettings sandbox;
    bool has_sandbox_option = false;    // any of them given
};

// Exits with the usage on --help, and with status 2 on a usage error.
Options parse_options(int argc, char** argv);

[[noreturn]] void usage_error(const std::string& message);

}  // namespace match
