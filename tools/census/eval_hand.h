// The hand census's evaluator, which sorts the hand before it looks at it.
#pragma once

namespace census {

// This tool's card: rank index 0..5, then suit index 0..3.
struct card {
    int rank;
    int suit;
};

// Sorts five consecutive cards in place, by rank index and then suit index,
// and returns their hand category 0..8.
int evalHand(card* hand);

}  // namespace census
