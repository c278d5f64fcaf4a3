// tally-player: plays for cards of equal rank. Every card goes to the free
// column that already holds the most cards of its rank, the lowest such
// column on a tie; in the third round a tie over a rank with three cards on
// the board goes to the highest free column instead.
#include "players/tally/tally.h"

int main() {
    tally::play(stdin, stdout);
    return 0;
}
