#include "players/ev/expectation.h"

#include "players/ev/unseen.h"

namespace ev {

double vavg;
int vn;
long long scored;

namespace {

constexpr int RANKS = 6;

int rankOf(int card) { return card % RANKS; }
int suitOf(int card) { return card / RANKS; }

}  // namespace

bool sameColor(const int* pack) {
    for (int i = 1; i < HAND; ++i) {
        if (suitOf(pack[i]) != suitOf(pack[i - 1])) return false;
    }
    return true;
}

bool chinta(const int* pack) {
    int mask = 0;
    for (int i = 0; i < HAND; ++i) {
        const int bit = 1 << rankOf(pack[i]);
        if (mask & bit) return false;
        mask |= bit;
    }
    // One run of set bits starting at bit 0 or at bit 1.
    return (mask & (mask + 1)) == 0 || ((mask + 1) & (mask + 2)) == 0;
}

int evalPack(const int* pack) {
    int perRank[RANKS] = {};
    int ranksOccurring[RANKS] = {};  // by multiplicity 0..5
    for (int i = 0; i < HAND; ++i) ++perRank[rankOf(pack[i])];
    for (int r = 0; r < RANKS; ++r) ++ranksOccurring[perRank[r]];

    if (sameColor(pack)) return chinta(pack) ? 100 : 50;
    if (ranksOccurring[4] > 0 || ranksOccurring[5] > 0) return 30;
    if (ranksOccurring[3] > 0 && ranksOccurring[2] > 0) return 20;
    if (chinta(pack)) return 10;
    if (ranksOccurring[3] > 0) return 5;
    return ranksOccurring[2];
}

void EV(int* pack, int k) {
    if (k == HAND) {
        vavg = evalPack(pack);
        ++scored;
        return;
    }
    vavg = 0;
    vn = 0;
    for (int c = first; c >= 0; c = next[c]) {
        pack[k] = c;
        EVrec(pack, k + 1);
    }
}

void EVrec(int* pack, int d) {
    if (d == HAND) {
        const int p = evalPack(pack);
        // Product first, then the sum, then the division: moves depend on
        // exact ties between these means.
        vavg = (p + static_cast<double>(vn) * vavg) / static_cast<double>(vn + 1);
        ++vn;
        ++scored;
        return;
    }
    for (int c = next[pack[d - 1]]; c >= 0; c = next[c]) {
        pack[d] = c;
        EVrec(pack, d + 1);
    }
}

}  // namespace ev
