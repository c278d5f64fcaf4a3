#include "referee/shuffle.h"

#include <chrono>
#include <random>
#include <sys/random.h>
#include <utility>

namespace referee {

game::Deck shuffled_deck(std::uint64_t seed) {
    game::Deck deck;
    for (int code = 0; code < game::DECK_SIZE; ++code) deck[code] = game::card_of_code(code);
    std::mt19937_64 generator(seed);
    // Fisher-Yates from the top; the modulo bias of a 64-bit draw over at most 24 is negligible.
    for (int i = game::DECK_SIZE - 1; i > 0; --i) {
        const auto j = static_cast<int>(generator() % static_cast<std::uint64_t>(i + 1));
        std::swap(deck[i], deck[j]);
    }
    return deck;
}

std::uint64_t fresh_seed() {
    // All 64 bits from the kernel: nobody, a player least of all, can
    // foresee it, nor try every seed. The clock only stands in should the
    // kernel refuse, which it does not once it has booted.
    std::uint64_t seed = 0;
    if (::getrandom(&seed, sizeof seed, 0) == static_cast<ssize_t>(sizeof seed)) return seed;
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace referee
