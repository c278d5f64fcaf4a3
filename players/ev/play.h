// The game loop shared by the two expected-value players: the columns, the
// round bookkeeping, reading the cards and choosing a column for each. The
// players differ only in what a column's expectation with the new card is
// measured against (their Measure).
#pragma once

#include <iosfwd>

#include "common/result.h"
#include "players/ev/expectation.h"

namespace ev {

constexpr int COLUMNS = 4;
constexpr int ROUNDS = 5;

// packs[n] is column n (answered n + 1); slot s holds its card of round s.
extern int packs[COLUMNS][HAND];
// free[n]: column n has not had its card of the current round yet.
extern bool free[COLUMNS];

struct Measure {
    // The value that column n's expectation with the new card (slot k) is
    // compared with; the column holds its received cards in slots 0..k-1.
    double (*against)(int n, int k);
    // Column n has just received its card of round k in slot k.
    void (*received)(int n, int k);
};

// The free column whose expectation with card c in slot k rises most against
// the measure; the lowest-numbered one among equal gains.
int choose(const Measure& measure, int c, int k);
// Gives card c to column n as its card of round k.
void place(const Measure& measure, int n, int k, int c);

// Plays one whole game from a fresh start, reading the cards from `in` and
// answering on `out` (the players pass std::cin and std::cout). `in` is tied
// to `out`, so that each read first delivers the answer before it. Bad input
// stops the game before its answer, with `out` flushed: the failure says why.
[[nodiscard]] game::Status play(const Measure& measure, std::istream& in, std::ostream& out);

}  // namespace ev
