// A match's results as a terminal page: the players by mean score, the
// pairwise differences with their significance, the faults. Every line of
// the tables fits 80 columns; a name that would not is shortened.
#pragma once

#include <string>

#include "match/summary.h"

namespace match {

inline constexpr std::size_t PAGE_WIDTH = 80;

std::string match_tables(const MatchSummary& summary);

// Width of UTF-8 text in terminal columns (one per code point).
std::size_t display_width(const std::string& text);

// "12.3" and the like.
std::string fixed(double value, int decimals);

}  // namespace match
