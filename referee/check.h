// `referee --check`: protocol checks for people writing their own players.
#pragma once

#include <string>
#include <vector>

#include "common/deck_file.h"
#include "referee/game_driver.h"

namespace referee {

// Plays the deal twice, prints how the player runs (as in a match) and
// which deal it is (`deal` says how to play it again), then a numbered list
// of checks, each "Reușit", "Eșuat" with the reason, or "Notă" for what is
// legal but worth knowing, and returns the exit status: 0 when none fails,
// 1 otherwise, 2 when the player cannot be started or the games cannot be
// run, 128 + the signal when interrupted.
// The games are played as `options` say, their standard error captured.
int check_player(const game::Deck& deck, const std::string& deal, const std::vector<std::string>& player,
                 GameOptions options);

}  // namespace referee
