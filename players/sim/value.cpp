#include "players/sim/value.h"

#include <algorithm>
#include <bit>

namespace sim {

namespace {

constexpr int UNSEEN_MOST = ev::CARDS - 1;

constexpr auto BINOMIAL = [] {
    std::array<std::array<double, UNSEEN_MOST + 1>, UNSEEN_MOST + 1> c{};
    for (int n = 0; n <= UNSEEN_MOST; ++n) {
        c[n][0] = 1;
        for (int k = 1; k <= n; ++k) c[n][k] = c[n - 1][k - 1] + c[n - 1][k];
    }
    return c;
}();

// The chance that the best of `shown` cards drawn from `unseen` is one of
// the `top` best of them.
double bestAmongTop(int unseen, int shown, int top) {
    return 1 - BINOMIAL[unseen - top][shown] / BINOMIAL[unseen][shown];
}

// Unseen cards that the column cannot tell apart: one rank, and either the
// column's own suit or not.
struct Alike {
    double value;  // the column's worth with one of them
    int count;
};

// Inserts `next` into the first `kinds` entries, which are kept best first;
// an equal value goes after, so the order never depends on a sort's whims.
void insert(Alike* alike, int kinds, const Alike& next) {
    int at = kinds;
    for (; at > 0 && alike[at - 1].value < next.value; --at) alike[at] = alike[at - 1];
    alike[at] = next;
}

// How many cards the set holds: at most a rank's four here, where a loop is
// cheaper than std::popcount's library call on a plain x86-64 target.
int count(Cards cards) {
    int n = 0;
    for (; cards != 0; cards &= cards - 1) ++n;
    return n;
}

// columnValue, told how many cards are unseen.
double worth(const Column& column, Cards unseen, int unseenCount, const Choice& choice) {
    if (column.cards == HAND) return points(column);
    Alike alike[2 * RANKS];
    int kinds = 0;
    const Cards ownSuit = column.oneSuit ? suitCards(column.suit) : 0;
    for (int rank = 0; rank < RANKS; ++rank) {
        for (const Cards cards : {unseen & rankCards(rank) & ownSuit, unseen & rankCards(rank) & ~ownSuit}) {
            if (cards == 0) continue;
            const int card = std::countr_zero(cards);
            insert(alike, kinds++,
                   {worth(with(column, card), unseen & ~bit(card), unseenCount - 1, choice), count(cards)});
        }
    }
    const int shown = std::min(choice[column.cards], unseenCount);
    double mean = 0, below = 0;
    int top = 0;
    for (int k = 0; k < kinds; ++k) {
        top += alike[k].count;
        const double upTo = bestAmongTop(unseenCount, shown, top);
        mean += alike[k].value * (upTo - below);
        below = upTo;
    }
    return mean;
}

}  // namespace

double columnValue(const Column& column, Cards unseen, const Choice& choice) {
    return worth(column, unseen, std::popcount(unseen), choice);
}

}  // namespace sim
