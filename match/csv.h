// One row per game, for spreadsheets and scripts, and the record from which
// shards are merged, a stopped match resumed and a report drawn: every row
// carries the match it belongs to (seed, number of deals, shard) and all a
// game's results (answers included), so that a CSV alone says everything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "match/match.h"

namespace match {

// The first eleven columns as they always were; then the ceiling's time,
// the match, the answers of the game and of the ceiling, the fault message.
inline constexpr const char* CSV_HEADER =
    "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds,"
    "ceiling_seconds,match_seed,deals,shard,answers,ceiling_answers,message";

// The rows of one deal, in the players' order: a deal's rows go out together.
std::string csv_rows(const MatchConfig& config, const DealOutcome& deal);

// The header, then the rows of every deal, by deal.
std::string match_csv(const MatchConfig& config, const std::vector<DealOutcome>& deals);

// A match CSV as read back.
struct MatchCsv {
    std::string path;
    std::uint64_t seed = 0;
    int deals = 0;  // of the whole match
    Shard shard;
    bool ceiling = false;
    std::vector<std::string> players;   // in the order of a deal's rows; empty with no row
    std::vector<DealOutcome> outcomes;  // the deals whose every player has a row, by index
    int incomplete_deals = 0;           // deals with the rows of only some players, dropped
    bool torn = false;                  // its last line was cut short, and dropped
};

// Reads a CSV that match wrote. A failure with a message naming the file
// (and the line) for one that is not a match's CSV, mixes matches, or holds
// a deal twice.
game::Result<MatchCsv> read_match_csv(const std::string& path);

}  // namespace match
