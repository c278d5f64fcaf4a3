// What each expected-value player measures a column's new expectation against.
#pragma once

#include "players/ev/play.h"

namespace ev {

// ev-player: the same column's expectation without the card, computed afresh.
extern const Measure FRESH;

// ev-player-anchored: the expectation stored when the column last received a
// card, over the unseen cards of that moment; never brought up to date.
extern const Measure ANCHORED;
extern double expectedValue[COLUMNS];

}  // namespace ev
