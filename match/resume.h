// A stopped match taken up again from its CSV: the match it names, and the
// deals it still lacks.
#pragma once

#include <vector>

#include "common/result.h"
#include "match/match.h"
#include "match/options.h"

namespace match {

// The deals of the file at options.resume_path. What the command line does
// not say of the match comes from the file, and what it says must agree
// with it. `note` is told of a last deal that was cut short.
[[nodiscard]] game::Result<std::vector<DealOutcome>> resume(Options& options,
                                                          void (*note)(const std::string& message));

// The deals of the shard that `done` does not hold yet.
std::vector<int> deals_left(const MatchConfig& config, const std::vector<DealOutcome>& done);

}  // namespace match
