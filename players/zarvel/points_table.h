// eval_local looked up instead of run: the search scores tens of thousands
// of columns a turn. A column's points depend only on how many cards of
// each rank it holds and on whether it is of one suit, so the table has one
// entry per count of ranks, each filled at compile time by eval_local on a
// column of those ranks.
#pragma once

#include <array>
#include <cstdint>

#include "players/zarvel/evaluation.h"

namespace zarvel {

namespace points_table_detail {

constexpr int RANK_VALUES = 6;  // 9 .. 14
constexpr int FIRST_RANK = 9;
// A column's key: the count of each rank (0 to 4) as a digit in base 5.
constexpr int KEYS = 5 * 5 * 5 * 5 * 5 * 5;

// RANK_KEY[rank]: what one card of the rank adds to the key.
constexpr auto RANK_KEY = [] {
    std::array<int, FIRST_RANK + RANK_VALUES> weights{};
    for (int r = 0, weight = 1; r < RANK_VALUES; ++r, weight *= 5) weights[FIRST_RANK + r] = weight;
    return weights;
}();

constexpr int key_of(Hand column) {
    int key = 0;
    for (const Card& card : column) key += RANK_KEY[card.rank];
    return key;
}

using Ranks = std::array<int, HAND_SIZE>;  // rank indexes 0..5, never decreasing

// The next five ranks after `ranks`, counting like an odometer whose digits
// never decrease; false after the last, five aces.
constexpr bool next_ranks(Ranks& ranks) {
    int i = HAND_SIZE - 1;
    while (i >= 0 && ranks[i] == RANK_VALUES - 1) --i;
    if (i < 0) return false;
    ++ranks[i];
    for (int j = i + 1; j < HAND_SIZE; ++j) ranks[j] = ranks[i];
    return true;
}

// A column of the ranks: all in one suit if `one_suit`, else the n-th card
// of a rank in the n-th suit, and five different ranks not all in the first.
constexpr std::array<Card, HAND_SIZE> column_of(const Ranks& ranks, bool one_suit) {
    constexpr char SUITS[] = {'C', 'D', 'H', 'S'};
    std::array<Card, HAND_SIZE> column{};
    for (int i = 0, n = 0; i < HAND_SIZE; ++i) {
        n = i > 0 && ranks[i] == ranks[i - 1] ? n + 1 : 0;
        column[i] = Card{FIRST_RANK + ranks[i], SUITS[one_suit ? 0 : n]};
    }
    if (!one_suit && culoare(column)) column[HAND_SIZE - 1].suit = SUITS[1];
    return column;
}

}  // namespace points_table_detail

// COLUMN_POINTS[one suit][key]: eval_local of every column with that key.
// Five cards of one rank, or a pair in one suit, cannot be dealt.
inline constexpr auto COLUMN_POINTS = [] {
    using namespace points_table_detail;
    std::array<std::array<std::int8_t, KEYS>, 2> points{};
    Ranks ranks{};
    do {
        if (ranks[0] == ranks[HAND_SIZE - 1]) continue;
        bool different = true;
        for (int i = 1; i < HAND_SIZE; ++i) different = different && ranks[i] != ranks[i - 1];
        for (bool one_suit : {false, true}) {
            if (one_suit && !different) continue;
            const std::array<Card, HAND_SIZE> column = column_of(ranks, one_suit);
            points[one_suit][key_of(column)] = static_cast<std::int8_t>(eval_local(column));
        }
    } while (next_ranks(ranks));
    return points;
}();

// eval_local of the column, from the table.
constexpr int eval_table(Hand column) {
    return COLUMN_POINTS[culoare(column)][points_table_detail::key_of(column)];
}

}  // namespace zarvel
