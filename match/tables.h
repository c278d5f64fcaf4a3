// A match's results as a terminal page: the players by mean score, the
// pairwise differences with their significance, the faults. Every line of
// the tables fits 80 columns; a name that would not is shortened.
#pragma once

#include <string>
#include <vector>

#include "match/summary.h"

namespace match {

inline constexpr std::size_t PAGE_WIDTH = 80;

std::string match_tables(const MatchSummary& summary);

// The cells of the two tables before they are laid out, which the terminal
// page and the HTML report both show: the same numbers, order and marks.
struct TableColumn {
    std::string header;
    bool right;  // numbers are set to the right
};
struct TableCells {
    std::vector<TableColumn> columns;
    std::vector<std::vector<std::string>> rows = {};  // first cells: the whole names ("A − B" for a pair)
};
TableCells standings_cells(const MatchSummary& summary);
TableCells pairs_cells(const MatchSummary& summary);

// With --decide: each pair's decision, the deal it came at, and its
// anytime-valid interval at the end.
TableCells decisions_cells(const MatchSummary& summary);

// The heading of the decisions' table: the error rate and how it is shared.
std::string decisions_heading(const MatchSummary& summary);

// Width of UTF-8 text in terminal columns (one per code point).
std::size_t display_width(const std::string& text);

// "12.3" and the like.
std::string fixed(double value, int decimals);

}  // namespace match
