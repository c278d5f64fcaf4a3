// The pool of unseen cards and the exhaustive look-ahead: for each legal
// column, the sum of the points of every way to fill it to five cards from
// the pool. Not reentrant: one enumeration at a time works through
// process-wide state.
#pragma once

#include <array>
#include <span>

#include "common/result.h"

#include "players/zarvel/player_cards.h"

namespace zarvel {

constexpr int DECK_SIZE = 24;

// Positions 1..numberOfCards hold the unseen cards, in no meaningful order;
// position 0 is never used.
extern std::array<Card, DECK_SIZE + 1> availableCards;
extern int numberOfCards;

// All 24 cards into the pool.
void generate_available_cards();

// Takes the card out of the pool; a card that is not there (dealt before)
// fails the check "i <= numberOfCards".
[[nodiscard]] game::Status erase_card(Card card);

// The sum of eval_local over every completion of the column (at most five
// cards) with cards of the pool; the column's own points when it is full.
int best_possible_score(std::span<const Card> column);

// Takes the card out of the pool and returns the legal column whose
// completion total with the card is the largest, the lowest on a tie; fails
// as erase_card does.
[[nodiscard]] game::Result<int> solve(Card card, const Legal& legal, const Board& board);

}  // namespace zarvel
