// How a match is played again: its seed and the command that replays it,
// shown above the tables so that a saved standard output keeps them.
#pragma once

#include <string>

#include "match/match.h"
#include "match/options.h"

namespace match {

// `match --seed S --deals N`, the settings that decide results where they
// are not the defaults, then the players, unless `with_players` is false
// (the defaults were played), each as one shell word: NAME=COMMAND, or the
// command alone where the name is its program's.
std::string match_command(const MatchConfig& config, bool with_players);

// "Sămânța meciului: S" and "Se reia cu: COMMAND", a line each.
std::string match_heading(const MatchConfig& config, bool with_players);

// The command that goes on with a match stopped before its end, from the
// CSV at `csv_path`, with the same outputs and sandbox.
std::string resume_command(const Options& options, const std::string& csv_path);

}  // namespace match
