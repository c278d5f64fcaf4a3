// The whole summary of a match as JSON, for dashboards and scripts: the
// settings, every player's statistics, the pairwise differences, the faults.
#pragma once

#include <string>

#include "match/summary.h"

namespace match {

std::string match_json(const MatchConfig& config, const MatchSummary& summary);

}  // namespace match
