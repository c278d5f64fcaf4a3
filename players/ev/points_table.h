// evalPack looked up instead of run: one game's expectations score tens of
// thousands of packs. A pack's points depend only on how many of its cards
// have each rank and on whether they share one suit, so the table has one
// entry per count of ranks, each filled at compile time by evalPack on a
// pack of those ranks.
#pragma once

#include <array>
#include <cstdint>

#include "players/ev/pack_points.h"

namespace ev {

namespace points_table_detail {

constexpr int RANKS = 6;
constexpr int SUIT_STEP = 6;  // card number = suit offset + rank index
// A pack's key: the count of each rank (0 to 4) as a digit in base 5.
constexpr int KEYS = 5 * 5 * 5 * 5 * 5 * 5;

// RANK_KEY[card]: what the card adds to the key.
constexpr auto RANK_KEY = [] {
    std::array<int, 4 * SUIT_STEP> weights{};
    for (int card = 0; card < static_cast<int>(weights.size()); ++card) {
        weights[card] = 1;
        for (int r = 0; r < card % RANKS; ++r) weights[card] *= 5;
    }
    return weights;
}();

constexpr int keyOf(const int* pack) {
    int key = 0;
    for (int i = 0; i < HAND; ++i) key += RANK_KEY[pack[i]];
    return key;
}

using Ranks = std::array<int, HAND>;  // rank indexes 0..5, never decreasing

// The next five ranks after `ranks`, counting like an odometer whose digits
// never decrease; false after the last, five aces.
constexpr bool nextRanks(Ranks& ranks) {
    int i = HAND - 1;
    while (i >= 0 && ranks[i] == RANKS - 1) --i;
    if (i < 0) return false;
    ++ranks[i];
    for (int j = i + 1; j < HAND; ++j) ranks[j] = ranks[i];
    return true;
}

// A pack of the ranks: all in one suit if `oneSuit`, else the n-th card of
// a rank in the n-th suit, and five different ranks not all in the first.
constexpr std::array<int, HAND> packOf(const Ranks& ranks, bool oneSuit) {
    std::array<int, HAND> pack{};
    for (int i = 0, n = 0; i < HAND; ++i) {
        n = i > 0 && ranks[i] == ranks[i - 1] ? n + 1 : 0;
        pack[i] = (oneSuit ? 0 : n) * SUIT_STEP + ranks[i];
    }
    if (!oneSuit && sameColor(pack.data())) pack[HAND - 1] += SUIT_STEP;
    return pack;
}

}  // namespace points_table_detail

// PACK_POINTS[one suit][key]: evalPack of every pack with that key. Five
// cards of one rank, or a pair in one suit, cannot be dealt.
inline constexpr auto PACK_POINTS = [] {
    using namespace points_table_detail;
    std::array<std::array<std::int8_t, KEYS>, 2> points{};
    Ranks ranks{};
    do {
        if (ranks[0] == ranks[HAND - 1]) continue;
        bool different = true;
        for (int i = 1; i < HAND; ++i) different = different && ranks[i] != ranks[i - 1];
        for (bool oneSuit : {false, true}) {
            if (oneSuit && !different) continue;
            const std::array<int, HAND> pack = packOf(ranks, oneSuit);
            points[oneSuit][keyOf(pack.data())] = static_cast<std::int8_t>(evalPack(pack.data()));
        }
    } while (nextRanks(ranks));
    return points;
}();

// evalPack of the pack, from the table.
constexpr int evalTable(const int* pack) { return PACK_POINTS[sameColor(pack)][points_table_detail::keyOf(pack)]; }

}  // namespace ev
