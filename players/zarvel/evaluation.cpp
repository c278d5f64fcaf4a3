#include "players/zarvel/evaluation.h"

#include <algorithm>
#include <cstdint>

namespace zarvel {

namespace {

constexpr int LOWEST_RANK = 9;
constexpr int HIGHEST_RANK = 14;

// One 4-bit counter per rank value, packed in a word: counter r sits at bits
// 4r to 4r + 3 (at most 4 of a rank, and 4 x 14 + 4 <= 64). Kept in a
// register, it is much cheaper to fill and read than an array in memory,
// which matters in the search's inner step.
using RankCounts = std::uint64_t;

RankCounts count_ranks(Hand column) {
    RankCounts counts = 0;
    for (const Card& card : column) counts += RankCounts{1} << (4 * card.rank);
    return counts;
}

int count_of(RankCounts counts, int rank) { return static_cast<int>((counts >> (4 * rank)) & 0xF); }

int ranks_counted(RankCounts counts, int times) {
    int ranks = 0;
    for (int rank = LOWEST_RANK; rank <= HIGHEST_RANK; ++rank) ranks += count_of(counts, rank) == times;
    return ranks;
}

}  // namespace

bool culoare(Hand column) {
    return std::all_of(column.begin() + 1, column.end(), [&](const Card& card) { return card.suit == column[0].suit; });
}

// Five different ranks in a row: exactly one card of each rank from the
// lowest up to the lowest plus 4.
bool chinta(Hand column) {
    constexpr RankCounts ONE_OF_FIVE_RANKS = 0x11111;
    const int lowest =
        std::min_element(column.begin(), column.end(), [](const Card& a, const Card& b) { return a.rank < b.rank; })
            ->rank;
    return count_ranks(column) == ONE_OF_FIVE_RANKS << (4 * lowest);
}

bool careu(Hand column) { return ranks_counted(count_ranks(column), 4) > 0; }

bool ful(Hand column) {
    const RankCounts counts = count_ranks(column);
    return ranks_counted(counts, 3) > 0 && ranks_counted(counts, 2) > 0;
}

bool trei_bucati(Hand column) { return ranks_counted(count_ranks(column), 3) > 0; }

int numar_perechi(Hand column) { return ranks_counted(count_ranks(column), 2); }

int eval_local(Hand column) {
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
