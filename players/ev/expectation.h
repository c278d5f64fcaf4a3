// Points of a five-card pack and the exact expectation of a column over every
// way its empty slots can still be filled from the unseen cards.
//
// A pack is five card numbers; a column with k cards holds them in slots
// 0..k-1 and the expectation fills slots k..4 itself.
#pragma once

namespace ev {

constexpr int HAND = 5;

// Result of the last expectation (the running mean while one is computed)
// and the number of hands it averaged.
extern double vavg;
extern int vn;
// Hands scored by expectations since the program started.
extern long long scored;

bool sameColor(const int* pack);
// Five different ranks in one unbroken run: 9..K or 10..A.
bool chinta(const int* pack);
// Category points of the pack: 0, 1, 2, 5, 10, 20, 30, 50 or 100.
int evalPack(const int* pack);

// Expectation of a pack whose slots 0..k-1 are filled (k = 1..5), into vavg.
// With k = 5 it is the pack's points and vn is left alone; otherwise it is
// the mean over every set of 5 - k unseen cards, vn of them. Writes slots
// k..4 and leaves nothing meaningful there. Not re-entrant.
void EV(int* pack, int k);
// Fills slot d and on with the unseen cards after the one in slot d - 1.
void EVrec(int* pack, int d);

}  // namespace ev
