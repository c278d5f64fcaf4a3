// The column for a card: the one that leaves the board worth most at the
// end of the round, the rest of the round played as well as it can be.
#pragma once

#include "players/sim/column.h"

namespace sim {

struct Board {
    Column columns[COLUMNS];
    Cards unseen = ALL_CARDS;       // not dealt yet
    int free = (1 << COLUMNS) - 1;  // bit n: column n has not had its card of this round
};

// Gives the card to free column n; once every column has its card, the next
// round begins.
void place(Board& board, int n, int card);

// The free column for the card, which is no longer among the unseen ones.
// Every order in which the rest of the round can come is weighed, each card
// going where it is worth most, and each column is worth its columnValue
// at the end of the round: in the last round, its points, so that the last
// round is played exactly. The lowest column wins among equal worths.
int choose(const Board& board, int card);

}  // namespace sim
