// A stopped match taken up again from its CSV: the match it names, and the
// deals it still lacks.
#pragma once

#include <vector>

#include "common/result.h"
#include "match/match.h"
#include "match/options.h"

namespace match {

// The deals of the file at options.resume_path. The match comes from the
// file: its settings, and its players with their commands, in its order.
// What the command line says must agree with it; players it names must be
// the file's, in any order. `note` is told of a last deal that was cut short.
[[nodiscard]] game::Result<std::vector<DealOutcome>> resume(Options& options,
                                                          void (*note)(const std::string& message));

// The deals of the shard that `done` (deals of this match) does not hold yet.
std::vector<int> deals_left(const MatchConfig& config, const std::vector<DealOutcome>& done);

}  // namespace match
