// ev-player-anchored: puts each card where it raises a column's exact
// expected points most, measured against the expectation stored for the
// column when it last received a card.
#include <iostream>

#include "players/ev/measures.h"

int main() {
    ev::play("ev-player-anchored", ev::ANCHORED, std::cin, std::cout);
    return 0;
}
