#include "players/zarvel/search.h"

#include <algorithm>

#include "players/zarvel/points_table.h"

namespace zarvel {

std::array<Card, DECK_SIZE + 1> availableCards;
int numberOfCards = 0;

namespace {

// The enumeration's state: the candidate column, the pool positions of the
// current completion (entry 0 is a sentinel, entries 1..p strictly
// increasing) and the running total. Fixed sizes: nothing is allocated
// while completions are scored.
std::array<Card, HAND_SIZE> carti_now;
int carti_now_size = 0;
std::array<int, 20> stiva;
int expectedScore = 0;

// Scores the completion in stiva[1..p] together with carti_now. The number
// of cards drawn is a template argument, so that each number gets code
// without loops over it: this runs for every one of tens of thousands of
// completions a turn.
template <int p>
void compute_answer() {
    // Increasing neighbours make every pair increasing.
    for (int i = 1; i < p; ++i) check(stiva[i] < stiva[i + 1], "compute_answer", "stiva[i] < stiva[j]");
    check(carti_now_size + p == HAND_SIZE, "compute_answer", "aux.size() == 5");
    std::array<Card, HAND_SIZE> aux = carti_now;  // whole, a fixed size; the drawn cards overwrite its tail
    for (int i = 1; i <= p; ++i) aux[carti_now_size + i - 1] = availableCards[stiva[i]];
    for (int i = 0; i < HAND_SIZE; ++i) {
        for (int j = i + 1; j < HAND_SIZE; ++j) check(aux[i] != aux[j], "compute_answer", "aux[i] != aux[j]");
    }
    expectedScore += eval_table(aux);
}

// Fills stiva[k..p] with every strictly increasing choice of pool positions
// 1..n, in lexicographic order, so each p-card subset is scored once.
template <int p>
void bkt(int k, int n) {
    if (k == p + 1) {
        compute_answer<p>();
        return;
    }
    const int limit = n - p + k;
    for (stiva[k] = stiva[k - 1] + 1; stiva[k] <= limit; ++stiva[k]) bkt<p>(k + 1, n);
}

}  // namespace

void generate_available_cards() {
    numberOfCards = 0;
    for (int rank = 9; rank <= 14; ++rank) {
        for (char suit : {'C', 'D', 'H', 'S'}) availableCards[++numberOfCards] = Card{rank, suit};
    }
}

game::Status erase_card(Card card) {
    int i = 1;
    while (i <= numberOfCards && availableCards[i] != card) ++i;
    // Also when the pool is empty: no card is left to take.
    if (i > numberOfCards) return game::failure(check_failed("solve", "i <= numberOfCards"));
    std::swap(availableCards[i], availableCards[numberOfCards]);
    --numberOfCards;
    return {};
}

int best_possible_score(std::span<const Card> column) {
    // Guards the fixed-size candidate; the player never builds a longer column.
    check(column.size() <= HAND_SIZE, "best_possible_score", "column.size() <= 5");
    const int m = HAND_SIZE - static_cast<int>(column.size());
    if (m == 0) return eval_table(Hand(column.data(), HAND_SIZE));
    expectedScore = 0;
    std::copy(column.begin(), column.end(), carti_now.begin());
    carti_now_size = static_cast<int>(column.size());
    stiva[0] = 0;
    // The candidate holds the card being placed: at most four are drawn.
    switch (m) {
        case 1: bkt<1>(1, numberOfCards); break;
        case 2: bkt<2>(1, numberOfCards); break;
        case 3: bkt<3>(1, numberOfCards); break;
        case 4: bkt<4>(1, numberOfCards); break;
    }
    return expectedScore;
}

game::Result<int> solve(Card card, const Legal& legal, const Board& board) {
    if (const game::Status erased = erase_card(card); !erased) return game::failure(erased.error());
    int best = -1;
    int ind = -1;
    for (int j : legal) {
        Column candidate = board[j];
        candidate.push_back(card);
        const int s = best_possible_score(candidate);
        if (s > best) {  // strictly: a tie keeps the lower column
            best = s;
            ind = j;
        }
    }
    check(ind != -1, "solve", "ind != -1");
    return ind;
}

}  // namespace zarvel
