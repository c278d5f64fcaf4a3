// sim-player's view of the game: cards are the expected-value players'
// card numbers (suit offset + rank index, players/ev/unseen.h), a set of
// them is a bit mask, and a column is what its points depend on.
#pragma once

#include <cstdint>

#include "common/rank_count_table.h"
#include "players/ev/points_table.h"
#include "players/ev/unseen.h"

namespace sim {

constexpr int COLUMNS = 4;
constexpr int HAND = 5;  // cards of a full column
constexpr int RANKS = 6;

using Cards = std::uint32_t;  // bit c: card number c

constexpr Cards ALL_CARDS = (Cards{1} << ev::CARDS) - 1;

constexpr Cards bit(int card) { return Cards{1} << card; }
constexpr int rankOf(int card) { return card % RANKS; }
constexpr int suitOf(int card) { return card / RANKS; }
constexpr Cards rankCards(int rank) {
    return bit(rank) | bit(rank + RANKS) | bit(rank + 2 * RANKS) | bit(rank + 3 * RANKS);
}
constexpr Cards suitCards(int suit) { return Cards{0x3F} << (RANKS * suit); }

struct Column {
    int cards = 0;        // how many it holds
    int key = 0;          // its count of each rank, as common/rank_count_table.h keys them
    int suit = 0;         // the suit of its first card
    bool oneSuit = true;  // every card it holds is of that suit
};

// The column with one card more.
constexpr Column with(Column column, int card) {
    column.key += game::rank_count_weight(rankOf(card));
    if (column.cards == 0) column.suit = suitOf(card);
    column.oneSuit = column.oneSuit && suitOf(card) == column.suit;
    ++column.cards;
    return column;
}

// The points of a full column. A column of one suit holds five different
// ranks, the only keys that the table's one-suit half fills.
constexpr int points(const Column& column) { return ev::PACK_POINTS[column.oneSuit][column.key]; }

}  // namespace sim
