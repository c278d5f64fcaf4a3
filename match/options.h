// match's command line.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "common/sandbox.h"
#include "match/match.h"

namespace match {

struct Options {
    MatchConfig config;
    // Which settings the command line gave: a resumed match takes the others from its CSV.
    bool has_seed = false, has_deals = false, has_shard = false, has_timeout = false;
    bool no_ceiling = false;
    bool keep_going = false;  // a player's fault on the first deal does not stop the match
    bool decide = false;      // config.decide is set
    bool quiet = false;
    bool merge = false, allow_missing = false;
    std::string csv_path, json_path, svg_path, html_path, resume_path;
    std::vector<std::string> operands;  // the players; with --merge, the CSVs to join
    proc::SandboxSettings sandbox;
};

// The options, or the status to end with at once: help or version shown,
// or a usage error told.
[[nodiscard]] std::variant<Options, int> parse_options(int argc, char** argv);

// A usage error found later, told as the parser tells them; the status, 2.
[[nodiscard]] int usage_error(const std::string& message);

}  // namespace match
