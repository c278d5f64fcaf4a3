// sim-player's game: the referee's cards in, a column for each out.
#pragma once

#include <iosfwd>

#include "common/result.h"

namespace sim {

// Plays one whole game from a fresh start, reading the cards from `in` and
// answering on `out`; `in` is tied to `out`, so that each read first
// delivers the answer before it. The same cards always get the same
// answers. Bad input stops the game before its answer, with `out` flushed:
// the failure says why.
[[nodiscard]] game::Status play(std::istream& in, std::ostream& out);

}  // namespace sim
