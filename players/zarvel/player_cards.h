// The look-ahead player's card record, its columns and board, the parsing of
// a card token, and the player's one way of failing: a named check that
// stops the game.
#pragma once

#include <array>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/result.h"

namespace zarvel {

constexpr int COLUMNS = 4;
constexpr int HAND_SIZE = 5;

// rank 9, 10, 11, 12, 13, 14 for 9, 10, J, Q, K, A; suit is the letter itself
struct Card {
    int rank = 0;
    char suit = 0;
    friend bool operator==(const Card&, const Card&) = default;
};

using Column = std::vector<Card>;             // in the order the cards were placed
using Board = std::array<Column, COLUMNS>;
using Legal = std::vector<int>;                // column indexes, ascending
using Hand = std::span<const Card, HAND_SIZE>;

// What a failed check says: "<operation>: check failed: <condition>".
std::string check_failed(const char* operation, const char* condition);

// A failed internal consistency check, which no input can cause. It is
// thrown rather than returned, so that the search's inner loop hands nothing
// up through every level; play() ends the game on it as on any other stop.
struct BrokenCheck : std::logic_error {
    using std::logic_error::logic_error;
};

inline void check(bool holds, const char* operation, const char* condition) {
    if (!holds) [[unlikely]]
        throw BrokenCheck(check_failed(operation, condition));
}

// "9C", "10H", "AS" -> Card; a malformed token fails the first check that it
// breaks.
[[nodiscard]] game::Result<Card> transforma(const std::string& str);

}  // namespace zarvel
