// The suit player's game: it plays for flushes, looking at nothing but the
// suit letter (the last byte) of each token.
#pragma once

#include <cstdio>

#include "common/result.h"

namespace suit {

// Plays one whole game from a fresh start: 20 tokens from `in`, 20 answers
// on `out`, each flushed at once. Bad input stops the game before its answer:
// the failure says why.
[[nodiscard]] game::Status play(std::FILE* in, std::FILE* out);

}  // namespace suit
