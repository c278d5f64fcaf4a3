// The fake player's "chaos" mode: at every card, and once more after the
// 20th answer, it rolls what to do from a hash of the tokens it has read so
// far. The same deal therefore always brings the same misbehaviour, which
// lets a test predict the outcome of every game it plays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace chaos {

constexpr int AFTER_LAST = 21;  // the "card" of what happens after the 20th answer

enum class Act {
    answer,        // the usual column
    reuse,         // a column already used in this round
    out_of_range,  // "5"
    garbage,       // bytes that cannot start an answer, NUL and bytes above 127 among them
    two_lines,     // the answer twice
    hang,          // never answers
    exit_early,    // exits with status 0 instead of answering
    crash,         // SIGABRT instead of answering
    // after the 20th answer
    extra_output,  // a line more
    bad_status,    // exit status 3
    linger,        // never exits
};

constexpr std::uint64_t START = 14695981039346656037ULL;

// FNV-1a over the token and a separator.
inline std::uint64_t mix(std::uint64_t hash, std::string_view token) {
    for (const char c : token) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return (hash ^ '\n') * 1099511628211ULL;
}

// Spreads every bit of the hash over the low ones that the rolls use.
inline std::uint64_t scramble(std::uint64_t x) {
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// What to do at `card` (1..20, or AFTER_LAST) with the hash of the tokens read.
// About 3 cards in 100 go wrong, so a little over half the games reach the
// end; a fifth of those then fail to end cleanly. Hangs are rare, as each one
// costs the referee a whole timeout: about one game in 300 hangs, and as many
// never exit.
inline Act act(std::uint64_t hash, int card) {
    const std::uint64_t roll = scramble(hash) % 10000;
    if (card == AFTER_LAST) {
        if (roll < 8000) return Act::answer;
        if (roll < 9000) return Act::extra_output;
        if (roll < 9940) return Act::bad_status;
        return Act::linger;
    }
    if (roll >= 300) return Act::answer;
    // The first card of a round has no column used in its round yet.
    if (roll < 70) return (card - 1) % 4 == 0 ? Act::out_of_range : Act::reuse;
    if (roll < 100) return Act::out_of_range;
    if (roll < 170) return Act::garbage;
    if (roll < 210) return Act::two_lines;
    if (roll < 250) return Act::exit_early;
    if (roll < 298) return Act::crash;
    return Act::hang;
}

// Garbage for Act::garbage: mostly a few bytes, one time in eight 256 KiB.
inline std::string garbage(std::uint64_t hash) {
    std::uint64_t x = scramble(hash ^ 0x5bd1e995ULL);
    const std::size_t size = x % 8 == 0 ? 256 * 1024 : 1 + x % 40;
    std::string bytes;
    while (bytes.size() < size) {
        x = scramble(x + 0x9e3779b97f4a7c15ULL);
        bytes.append(reinterpret_cast<const char*>(&x), sizeof x);
    }
    bytes.resize(size);
    // An answer starts with 1..4: move that first byte out of the range.
    if (bytes[0] >= '1' && bytes[0] <= '4') bytes[0] = static_cast<char>(bytes[0] ^ 0x40);
    return bytes;
}

}  // namespace chaos
