// Reading the referee's cards into the expected-value players' card numbers,
// with the checks and messages that every player built on them shares.
#pragma once

#include <iosfwd>

#include "common/result.h"
#include "players/ev/unseen.h"

namespace ev {

// Reads the token of card `number` (1..20) and returns its card number,
// marked in `dealt`. Input that ends, a token longer than "10H", one that
// starts with no rank, and a card already in `dealt` are failures that say so.
[[nodiscard]] game::Result<int> readCard(std::istream& in, int number, bool (&dealt)[CARDS]);

}  // namespace ev
