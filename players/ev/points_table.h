// evalPack looked up instead of run: one game's expectations score tens of
// thousands of packs (see common/rank_count_table.h).
#pragma once

#include <array>

#include "common/rank_count_table.h"
#include "players/ev/pack_points.h"

namespace ev {

namespace points_table_detail {

constexpr int SUIT_STEP = 6;  // card number = suit offset + rank index

// RANK_KEY[card]: what the card adds to its pack's key.
constexpr auto RANK_KEY = [] {
    std::array<int, game::SUITS * SUIT_STEP> weights{};
    for (int card = 0; card < static_cast<int>(weights.size()); ++card) {
        weights[card] = game::rank_count_weight(card % SUIT_STEP);
    }
    return weights;
}();

constexpr int keyOf(const int* pack) {
    int key = 0;
    for (int i = 0; i < HAND; ++i) key += RANK_KEY[pack[i]];
    return key;
}

}  // namespace points_table_detail

inline constexpr game::RankCountTable PACK_POINTS = game::rank_count_table(
    [](int rank_index, int suit_index) { return suit_index * points_table_detail::SUIT_STEP + rank_index; },
    [](const std::array<int, HAND>& pack) { return evalPack(pack.data()); });

// evalPack of the pack, from the table.
constexpr int evalTable(const int* pack) { return PACK_POINTS[sameColor(pack)][points_table_detail::keyOf(pack)]; }

}  // namespace ev
