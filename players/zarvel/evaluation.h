// Points of one finished five-card column, by a fixed chain of small tests.
// The order of the cards does not matter to any of them. They are constexpr
// so that the player's points table is built from them at compile time.
#pragma once

#include <algorithm>
#include <cstdint>

#include "players/zarvel/player_cards.h"

namespace zarvel {

namespace evaluation_detail {

constexpr int LOWEST_RANK = 9;
constexpr int HIGHEST_RANK = 14;

// One 4-bit counter per rank value, packed in a word: counter r sits at bits
// 4r to 4r + 3 (at most 4 of a rank, and 4 x 14 + 4 <= 64).
using RankCounts = std::uint64_t;

constexpr RankCounts count_ranks(Hand column) {
    RankCounts counts = 0;
    for (const Card& card : column) counts += RankCounts{1} << (4 * card.rank);
    return counts;
}

constexpr int count_of(RankCounts counts, int rank) { return static_cast<int>((counts >> (4 * rank)) & 0xF); }

constexpr int ranks_counted(RankCounts counts, int times) {
    int ranks = 0;
    for (int rank = LOWEST_RANK; rank <= HIGHEST_RANK; ++rank) ranks += count_of(counts, rank) == times;
    return ranks;
}

}  // namespace evaluation_detail

// One suit.
constexpr bool culoare(Hand column) {
    return std::all_of(column.begin() + 1, column.end(), [&](const Card& card) { return card.suit == column[0].suit; });
}

// Five different ranks in a row: exactly one card of each rank from the
// lowest up to the lowest plus 4.
constexpr bool chinta(Hand column) {
    using namespace evaluation_detail;
    constexpr RankCounts ONE_OF_FIVE_RANKS = 0x11111;
    const int lowest =
        std::min_element(column.begin(), column.end(), [](const Card& a, const Card& b) { return a.rank < b.rank; })
            ->rank;
    return count_ranks(column) == ONE_OF_FIVE_RANKS << (4 * lowest);
}

// Some rank exactly four times.
constexpr bool careu(Hand column) {
    using namespace evaluation_detail;
    return ranks_counted(count_ranks(column), 4) > 0;
}

// Some rank exactly three times and another exactly twice.
constexpr bool ful(Hand column) {
    using namespace evaluation_detail;
    const RankCounts counts = count_ranks(column);
    return ranks_counted(counts, 3) > 0 && ranks_counted(counts, 2) > 0;
}

// Some rank exactly three times.
constexpr bool trei_bucati(Hand column) {
    using namespace evaluation_detail;
    return ranks_counted(count_ranks(column), 3) > 0;
}

// Ranks present exactly twice.
constexpr int numar_perechi(Hand column) {
    using namespace evaluation_detail;
    return ranks_counted(count_ranks(column), 2);
}

// 100, 50, 30, 20, 10, 5, 2, 1 or 0.
constexpr int eval_local(Hand column) {
    const bool flush = culoare(column);
    const bool straight = chinta(column);
    if (straight && flush) return 100;
    if (flush) return 50;
    if (careu(column)) return 30;
    if (ful(column)) return 20;
    if (straight) return 10;
    if (trei_bucati(column)) return 5;
    return numar_perechi(column);  // two pairs score 2, one pair 1
}

}  // namespace zarvel
