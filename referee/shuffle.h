// Seeded deals that come out the same on every machine and standard library:
// the shuffle uses only the raw output of a fixed 64-bit generator.
#pragma once

#include <cstdint>

#include "common/deck_file.h"

namespace referee {

game::Deck shuffled_deck(std::uint64_t seed);

// A seed for when the user gives none.
std::uint64_t fresh_seed();

}  // namespace referee
