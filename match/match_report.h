// What a match shows: the table of players and of pairs, the list of
// faults, one CSV row per game, and a picture of the score distributions.
#pragma once

#include <string>
#include <vector>

#include "match/match.h"

namespace match {

// The tables, readable at 100 columns.
std::string match_table(const MatchConfig& config, const std::vector<DealOutcome>& deals);

// One row per game: deal, deck seed, player, status, score, the four categories, ceiling, seconds.
std::string match_csv(const MatchConfig& config, const std::vector<DealOutcome>& deals);

// A self-contained SVG of each player's score distribution beside the ceiling's.
std::string match_svg(const MatchConfig& config, const std::vector<DealOutcome>& deals);

// Width of UTF-8 text in terminal columns (one per code point).
std::size_t display_width(const std::string& text);

}  // namespace match
