// The category points of a five-card pack of card numbers. Constexpr, so
// that the points table is built from these functions at compile time.
#pragma once

namespace ev {

constexpr int HAND = 5;

namespace pack_detail {

constexpr int RANKS = 6;

constexpr int rankOf(int card) { return card % RANKS; }
constexpr int suitOf(int card) { return card / RANKS; }

}  // namespace pack_detail

constexpr bool sameColor(const int* pack) {
    using pack_detail::suitOf;
    for (int i = 1; i < HAND; ++i) {
        if (suitOf(pack[i]) != suitOf(pack[i - 1])) return false;
    }
    return true;
}

// Five different ranks in one unbroken run: 9..K or 10..A.
constexpr bool chinta(const int* pack) {
    int mask = 0;
    for (int i = 0; i < HAND; ++i) {
        const int bit = 1 << pack_detail::rankOf(pack[i]);
        if (mask & bit) return false;
        mask |= bit;
    }
    // One run of set bits starting at bit 0 or at bit 1.
    return (mask & (mask + 1)) == 0 || ((mask + 1) & (mask + 2)) == 0;
}

// Category points of the pack: 0, 1, 2, 5, 10, 20, 30, 50 or 100.
constexpr int evalPack(const int* pack) {
    using pack_detail::RANKS;
    int perRank[RANKS] = {};
    int ranksOccurring[RANKS] = {};  // by multiplicity 0..5
    for (int i = 0; i < HAND; ++i) ++perRank[pack_detail::rankOf(pack[i])];
    for (int r = 0; r < RANKS; ++r) ++ranksOccurring[perRank[r]];

    if (sameColor(pack)) return chinta(pack) ? 100 : 50;
    if (ranksOccurring[4] > 0 || ranksOccurring[5] > 0) return 30;
    if (ranksOccurring[3] > 0 && ranksOccurring[2] > 0) return 20;
    if (chinta(pack)) return 10;
    if (ranksOccurring[3] > 0) return 5;
    return ranksOccurring[2];
}

}  // namespace ev
