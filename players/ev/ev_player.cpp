// ev-player: puts each card where it raises a column's exact expected points
// most, measured against the same column's expectation without the card.
#include <iostream>

#include "players/ev/measures.h"

int main() {
    ev::play("ev-player", ev::FRESH, std::cin, std::cout);
    return 0;
}
