// Shards of one match, or any CSVs of it, joined into one: refused when
// they come from different matches or hold a deal twice; the deals none of
// them holds are told, in ranges, so that the telling grows with the rows
// present, never with the number of deals a file claims.
#pragma once

#include <string>
#include <vector>

#include "common/result.h"
#include "match/csv.h"

namespace match {

// Deal indexes first..last, both included.
struct DealRange {
    int first = 0;
    int last = 0;
};

struct Merged {
    MatchConfig config;              // the match's seed, deals, ceiling and players (by name)
    std::vector<DealOutcome> deals;  // by index
    std::vector<DealRange> missing;  // the match's deals that no file holds, in order
    int missing_count = 0;
};

// `files`: at least one. A failure names the file and the row at fault.
game::Result<Merged> merge_csvs(const std::vector<MatchCsv>& files);

// "3–17, 40" of ranges, as people number deals: the first ten, then "…".
std::string deal_ranges(const std::vector<DealRange>& ranges);

}  // namespace match
