// One row per game, for spreadsheets and scripts.
#pragma once

#include <string>
#include <vector>

#include "match/match.h"

namespace match {

// deal, deck seed, player, status, score, the four categories, ceiling, seconds.
std::string match_csv(const MatchConfig& config, const std::vector<DealOutcome>& deals);

}  // namespace match
