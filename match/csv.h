// One row per game, for spreadsheets and scripts, and the record from which
// shards are merged, a stopped match resumed and a report drawn: every row
// carries the match it belongs to (seed, number of deals, shard, the wait
// for an answer), its player's command and all a game's results (answers
// included), so that a CSV alone says everything.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/result.h"
#include "match/match.h"

namespace match {

// The first eleven columns as they always were; then the ceiling's time,
// the match, the answers of the game and of the ceiling, the fault message;
// then the player's command (shell-quoted) and the wait for each answer.
inline constexpr const char* CSV_HEADER =
    "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds,"
    "ceiling_seconds,match_seed,deals,shard,answers,ceiling_answers,message,command,timeout_ms";
// The header of the files written before the last two columns: still read.
inline constexpr const char* CSV_HEADER_WITHOUT_COMMANDS =
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
    int timeout_ms = 0;                 // 0: a file that does not say
    std::vector<Player> players;        // in the order of a deal's rows; empty with no row
    bool has_commands = false;          // the file names the players' commands
    std::vector<DealOutcome> outcomes;  // the deals whose every player has a row, by index
    std::vector<int> lines;             // the line of each outcome's first row
    int incomplete_deals = 0;           // deals with the rows of only some players, dropped
    bool torn = false;                  // its last line was cut short, and dropped
};

// Reads a CSV that match wrote. A failure, in one line that names the file
// and the row (and the column, where one is at fault), for a file that is
// not a match's CSV or has no row, a row that breaks a setting's range or
// lies about its game, rows of another match, or a deal's row twice.
game::Result<MatchCsv> read_match_csv(const std::string& path);
// The same from an open file, named `path` in the messages.
game::Result<MatchCsv> read_match_csv(std::FILE* file, const std::string& path);

// The names of the players, "a, b, c".
std::string names_of(const std::vector<Player>& players);

}  // namespace match
