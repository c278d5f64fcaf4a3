// suit-player: plays for flushes. The first card of each column gives the
// column its suit; a later card goes to a free unbroken column of its suit,
// else to a free broken column, else it breaks the free column whose suit
// has been read most often so far. Only the suit letter of a token is read.
#include "players/suit/suit_player.h"

int main() {
    suit::play(stdin, stdout);
    return 0;
}
