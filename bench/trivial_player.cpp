// The cheapest legal player: answers 1, 2, 3, 4 in every round and thinks
// about nothing. A match of it measures what process start, pipes and the
// game driver cost, the floor under every real player's game.
#include <cstdio>

int main() {
    char token[8];
    for (int card = 0; card < 20 && std::scanf("%7s", token) == 1; ++card) {
        std::printf("%d\n", card % 4 + 1);
        std::fflush(stdout);
    }
    return 0;
}
