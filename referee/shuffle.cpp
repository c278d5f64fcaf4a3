#include "referee/shuffle.h"

#include <chrono>
#include <random>
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
    std::random_device device;
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    // Kept below 2^53 so that the seed survives a round trip through any spreadsheet.
    return ((static_cast<std::uint64_t>(device()) << 32) ^ device() ^ now) & ((1ULL << 53) - 1);
}

}  // namespace referee
