// A match played first deal first: every player plays the match's first deal
// before any other, and the deal counts. A player that faults on it would
// most likely fault on every deal, so unless told to keep going the match
// stops there, in seconds, with the cause.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "match/match.h"

namespace match {

struct Played {
    MatchRun run;        // the deals played here, the first among them
    bool broke = false;  // a player faulted on the first deal, and the match stopped there
};

// Plays the deals of the shard that `done` (a resumed file's) lacks; the
// first deal first when `done` is empty. Faults in a row are counted from
// `done` on, in deal order.
Played play_first_deal_first(const MatchConfig& config, const std::vector<DealOutcome>& done, bool keep_going,
                             const DealDone& deal_done);

// Each player's fault on the deal, and the command that plays it again: two
// lines a player, each begun by a line end.
std::string faults_on(const MatchConfig& config, const DealOutcome& deal);

}  // namespace match
