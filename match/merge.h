// Shards of one match, or any CSVs of it, joined into one: refused when
// they come from different matches or hold a deal twice; the deals none of
// them holds are told.
#pragma once

#include <string>
#include <vector>

#include "common/result.h"
#include "match/csv.h"

namespace match {

struct Merged {
    MatchConfig config;              // the match's seed, deals, ceiling and players (by name)
    std::vector<DealOutcome> deals;  // by index
    std::vector<int> missing;        // indexes of the match's deals that no file holds
};

game::Result<Merged> merge_csvs(const std::vector<MatchCsv>& files);

// "4, 8, 12" of deal indexes, as people number deals, the first ten and "…".
std::string deal_list(const std::vector<int>& indexes);

}  // namespace match
