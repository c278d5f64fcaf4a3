// The look-ahead player's card record, its columns and board, the parsing of
// a card token, and the player's one way of failing: a named check that
// stops the program.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

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

// "zarvel-002: <operation>: check failed: <condition>" on standard error,
// then exit status 1. Answers already written were flushed.
[[noreturn]] void stop(const char* operation, const char* condition);

inline void check(bool holds, const char* operation, const char* condition) {
    if (!holds) [[unlikely]]
        stop(operation, condition);
}

// "9C", "10H", "AS" -> Card; a malformed token stops the program.
Card transforma(const std::string& str);

}  // namespace zarvel
