// eval_local looked up instead of run: the search scores tens of thousands
// of columns a turn (see common/rank_count_table.h).
#pragma once

#include <array>

#include "common/rank_count_table.h"
#include "players/zarvel/evaluation.h"

namespace zarvel {

namespace points_table_detail {

constexpr int FIRST_RANK = 9;  // the rank value of rank index 0

// RANK_KEY[rank value]: what one card of the rank adds to its column's key.
constexpr auto RANK_KEY = [] {
    std::array<int, FIRST_RANK + game::RANKS> weights{};
    for (int r = 0; r < game::RANKS; ++r) weights[FIRST_RANK + r] = game::rank_count_weight(r);
    return weights;
}();

constexpr int key_of(Hand column) {
    int key = 0;
    for (const Card& card : column) key += RANK_KEY[card.rank];
    return key;
}

}  // namespace points_table_detail

inline constexpr game::RankCountTable COLUMN_POINTS = game::rank_count_table(
    [](int rank_index, int suit_index) {
        return Card{points_table_detail::FIRST_RANK + rank_index, "CDHS"[suit_index]};
    },
    [](const std::array<Card, HAND_SIZE>& column) { return eval_local(column); });

// eval_local of the column, from the table.
constexpr int eval_table(Hand column) {
    return COLUMN_POINTS[culoare(column)][points_table_detail::key_of(column)];
}

}  // namespace zarvel
