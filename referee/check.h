// `referee --check`: protocol checks for people writing their own players.
#pragma once

#include <string>
#include <vector>

#include "common/deck_file.h"

namespace referee {

// Plays the deal twice, prints a numbered list of checks, each "Passed" or
// "Failed" with the reason, and returns the exit status: 0 when all pass,
// 1 otherwise, 2 when the player cannot be started or the games cannot be
// run, 128 + the signal when interrupted.
int check_player(const game::Deck& deck, const std::vector<std::string>& player, int timeout_ms);

}  // namespace referee
