// One row of a match's CSV, read and checked on its own: the match it names,
// by the settings' one definition (settings.h); its deal, with the deal's own
// seed; and its game, true to the deal's cards: the answers keep the round
// rule, and the score and the categories are those the answers make of the
// cards, the ceiling's too. A row that lies is refused, not believed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "match/match.h"

namespace match {

// The match a row belongs to.
struct CsvMatch {
    std::uint64_t seed = 0;
    int deals = 0;
    Shard shard;
    bool ceiling = false;
    int timeout_ms = 0;  // 0: a file of the kind that does not say
    friend bool operator==(const CsvMatch&, const CsvMatch&) = default;
};

struct CsvRow {
    CsvMatch match;
    int deal = 0;  // from 0
    Player player;  // without a command in a file of the kind that does not keep them
    GameOutcome game;
    int ceiling = -1;
    double ceiling_seconds = 0;
    std::string ceiling_answers;
};

// The columns' names, as the header has them.
const std::vector<std::string>& csv_column_names();

// The row of these fields, in a file whose header names the players'
// commands or not. A failure names the column.
[[nodiscard]] game::Result<CsvRow> read_csv_row(const std::vector<std::string>& fields, bool has_commands);

// "" when `other` is the match `first` is; else how it differs, by column.
std::string match_difference(const CsvMatch& first, const CsvMatch& other);

}  // namespace match
