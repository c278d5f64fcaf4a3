// The player's turn loop and the round rule that it keeps.
#pragma once

#include "player_cards.h"

namespace zarvel {

// The columns holding the fewest cards, ascending: those that have not yet
// received a card in the current round.
Legal possible(const Board& board);

// Writes the practice deck, then plays the 20 turns on standard input and
// output. Returns the exit status of a finished game.
int play();

}  // namespace zarvel
