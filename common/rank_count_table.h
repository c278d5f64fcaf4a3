// The points of a five-card hand depend only on how many of its cards have
// each rank and on whether all five share one suit. Players that score tens
// of thousands of hands a game look the points up in a table with one entry
// per such count, which their own evaluator fills at compile time on one
// hand of each count; start-up pays nothing for it.
#pragma once

#include <array>
#include <cstdint>

#include "common/cards.h"

namespace game {

// A hand's key: the count of each rank index (0 to 4) as a digit in base 5.
inline constexpr int RANK_COUNT_KEYS = 5 * 5 * 5 * 5 * 5 * 5;

// What one card of the rank index adds to its hand's key.
constexpr int rank_count_weight(int rank_index) {
    int weight = 1;
    for (int r = 0; r < rank_index; ++r) weight *= 5;
    return weight;
}

// table[all five of one suit][key]: the points of every hand of that key.
using RankCountTable = std::array<std::array<std::int8_t, RANK_COUNT_KEYS>, 2>;

namespace rank_count_detail {

using Ranks = std::array<int, HAND_SIZE>;  // rank indexes, never decreasing

// The next five ranks after `ranks`, counting like an odometer whose digits
// never decrease; false after the last, five aces.
constexpr bool next_ranks(Ranks& ranks) {
    int i = HAND_SIZE - 1;
    while (i >= 0 && ranks[i] == RANKS - 1) --i;
    if (i < 0) return false;
    ++ranks[i];
    for (int j = i + 1; j < HAND_SIZE; ++j) ranks[j] = ranks[i];
    return true;
}

// The suits of a hand of those ranks: all the first suit if `one_suit`, else
// the n-th card of a rank in the n-th suit, and five different ranks not
// all in the first.
constexpr std::array<int, HAND_SIZE> suits_of(const Ranks& ranks, bool one_suit) {
    std::array<int, HAND_SIZE> suits{};
    for (int i = 1; i < HAND_SIZE && !one_suit; ++i) suits[i] = ranks[i] == ranks[i - 1] ? suits[i - 1] + 1 : 0;
    bool all_first = true;
    for (int suit : suits) all_first = all_first && suit == 0;
    if (!one_suit && all_first) suits[HAND_SIZE - 1] = 1;
    return suits;
}

}  // namespace rank_count_detail

// The table of a program's evaluator: card_of(rank index, suit index) makes
// the program's own card, points(hand of five of them) scores it. Five cards
// of one rank, and a pair in one suit, cannot be dealt and get no entry.
template <typename CardOf, typename Points>
constexpr RankCountTable rank_count_table(CardOf card_of, Points points) {
    using namespace rank_count_detail;
    RankCountTable table{};
    Ranks ranks{};
    do {
        if (ranks[0] == ranks[HAND_SIZE - 1]) continue;
        bool different = true;
        for (int i = 1; i < HAND_SIZE; ++i) different = different && ranks[i] != ranks[i - 1];
        for (bool one_suit : {false, true}) {
            if (one_suit && !different) continue;
            const std::array<int, HAND_SIZE> suits = suits_of(ranks, one_suit);
            std::array<decltype(card_of(0, 0)), HAND_SIZE> hand{};
            int key = 0;
            for (int i = 0; i < HAND_SIZE; ++i) {
                hand[i] = card_of(ranks[i], suits[i]);
                key += rank_count_weight(ranks[i]);
            }
            table[one_suit][key] = static_cast<std::int8_t>(points(hand));
        }
    } while (next_ranks(ranks));
    return table;
}

}  // namespace game
