// The best-arrangement search: the highest total that any placement of a
// deal's 20 cards reaches under the round rule, and the board that reaches it.
#pragma once

#include "common/deck_file.h"
#include "common/record.h"

namespace ceilscore {

// This tool's card: rank index 0..5, then suit index 0..3.
struct card {
    int rank;
    int suit;
};

// Hand category 0..8 of five consecutive cards, which it leaves unchanged.
int evalHand(const card* hand);

// Scores every board of the deal in a fixed order and returns the first one
// that reaches the highest total, as a game record. Each call keeps its state
// to itself, so calls may run on several threads at once.
game::GameRecord best_record(const game::Deck& cards);

}  // namespace ceilscore
