// play's command line.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "common/sandbox.h"
#include "tools/play/deal.h"

namespace play {

struct Options {
    std::optional<DealChoice> deal;  // --seed or --daily; otherwise each game a fresh one
    bool plain = false;
    std::string record_path;  // empty: no record is written
    int timeout_ms = 2000;    // for each of a shipped player's answers
    proc::SandboxSettings sandbox;
};

// The options, or the status to end with at once (help, version, a usage error told).
std::variant<Options, int> parse_options(int argc, char** argv);

}  // namespace play
