// What an unfinished column is worth: the mean points it ends with when,
// for each card it still needs, it is shown a few unseen cards drawn at
// random and takes the best for it. Shown one card at a time, the column is
// filled at random and this is ev-player's exact expectation; shown more, it
// has the choice that a player has, but not the whole round, since the
// other columns need cards of the same rounds.
#pragma once

#include <array>

#include "players/sim/column.h"

namespace sim {

// choice[n]: how many cards a column that holds n cards is shown for its
// next one (fewer when fewer are unseen).
using Choice = std::array<int, HAND>;

// What sim-player plays by, as measured: a column chooses among four cards,
// and its last card, which every column needs in the last round, among three.
inline constexpr Choice CHOICE = {4, 4, 4, 4, 3};

// The column's worth over the unseen cards; a full column's is its points.
// The column holds at least one card, and it and `unseen` share none.
double columnValue(const Column& column, Cards unseen, const Choice& choice = CHOICE);

}  // namespace sim
