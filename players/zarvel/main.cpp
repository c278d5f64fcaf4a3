// zarvel-002: the look-ahead player. For each card the referee deals it tries
// every column still free in the round and adds up the points of every way
// that column could be completed from the cards not seen yet; the largest
// total wins, the lowest column on a tie. Exit status 1 after a failed check
// on its input (a diagnostic line on standard error).
#include "players/zarvel/player.h"

int main() { return zarvel::play(); }
