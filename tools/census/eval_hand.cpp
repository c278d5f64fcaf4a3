#include "tools/census/eval_hand.h"

#include <utility>

#include "common/cards.h"

namespace census {

namespace {

using game::HAND_SIZE;

bool before(const card& a, const card& b) { return a.rank < b.rank || (a.rank == b.rank && a.suit < b.suit); }

// Selection sort; the first of equal smallest cards is the one taken.
void sort_hand(card* hand) {
    for (int i = 0; i < HAND_SIZE - 1; ++i) {
        int smallest = i;
        for (int k = i + 1; k < HAND_SIZE; ++k) {
            if (before(hand[k], hand[smallest])) smallest = k;
        }
        std::swap(hand[i], hand[smallest]);
    }
}

}  // namespace

int evalHand(card* hand) {
    sort_hand(hand);
    const int span = hand[4].rank - hand[0].rank;
    if (hand[0].suit == hand[1].suit && hand[1].suit == hand[2].suit && hand[2].suit == hand[3].suit &&
        hand[3].suit == hand[4].suit) {
        return span == 4 ? 8 : 7;
    }
    int perRank[game::RANKS] = {};
    for (int i = 0; i < HAND_SIZE; ++i) ++perRank[hand[i].rank];
    int ranksWith[HAND_SIZE + 1] = {};  // ranksWith[n]: how many ranks occur n times
    for (int n : perRank) ++ranksWith[n];

    if (ranksWith[4] > 0) return 6;
    if (ranksWith[3] > 0 && ranksWith[2] > 0) return 5;
    if (ranksWith[3] > 0) return 3;
    if (ranksWith[2] == 2) return 2;
    if (ranksWith[2] == 1) return 1;
    return span == 4 ? 4 : 0;  // five different ranks here
}

}  // namespace census
