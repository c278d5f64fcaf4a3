// The player's turn loop and the round rule that it keeps.
#pragma once

#include <cstdio>

#include "common/result.h"
#include "players/zarvel/player_cards.h"

namespace zarvel {

// The columns holding the fewest cards, ascending: those that have not yet
// received a card in the current round.
Legal possible(const Board& board);

// Writes the practice deck, then plays the 20 turns on standard input and
// output. A failed check, internal ones included, stops the game before its
// answer: the failure is what the check says.
[[nodiscard]] game::Status play();

// The game without the practice deck, from an empty board and a full pool:
// 20 tokens from `in`, 20 answers on `out`, each flushed at once. A check
// that the input fails stops the game; an internal one throws BrokenCheck.
[[nodiscard]] game::Status play_turns(std::FILE* in, std::FILE* out);

}  // namespace zarvel
