// ev-player: puts each card where it raises a column's exact expected points
// most, measured against the same column's expectation without the card.
#include "measures.h"

int main() {
    ev::play("ev-player", ev::FRESH);
    return 0;
}
