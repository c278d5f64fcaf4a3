// The exact expectation of a column over every way its empty slots can
// still be filled from the unseen cards.
//
// A pack is five card numbers; a column with k cards holds them in slots
// 0..k-1 and the expectation fills slots k..4 itself.
#pragma once

#include "players/ev/pack_points.h"

namespace ev {

// Result of the last expectation (the running mean while one is computed)
// and the number of hands it averaged.
extern double vavg;
extern int vn;
// Hands scored by expectations since the program started.
extern long long scored;

// Expectation of a pack whose slots 0..k-1 are filled (k = 1..5), into vavg.
// With k = 5 it is the pack's points and vn is left alone; otherwise it is
// the mean over every set of 5 - k unseen cards, vn of them. Writes slots
// k..4 and leaves nothing meaningful there. Not re-entrant.
void EV(int* pack, int k);
// Fills slot d and on with the unseen cards after the one in slot d - 1.
void EVrec(int* pack, int d);

}  // namespace ev
