// Round 0 is fixed, card j in column j: renumbering the columns turns any
// legal board into that form without changing its total. Rounds 1..4 each
// take every row of `perm`, so 24^4 boards are scored, round 1 varying
// slowest; the strict comparison keeps the first board with the best total.
//
// A column holds its own round-0 card and one of the four cards of each
// later round: it can be filled in only 4^4 = 256 ways, while the boards
// are 331,776. So each column is scored once per way before the walk, and
// the walk adds up four table entries per board instead of scoring four
// hands: the same boards in the same order, with the same totals.
#include "tools/ceilscore/search.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace ceilscore {

namespace {

using game::COLUMNS;
using game::DEALT;
using game::DECK_SIZE;
using game::HAND_SIZE;
using game::ROUNDS;

constexpr const auto& SCORES = game::CATEGORY_POINTS;

// The 24 orders of 0..3 in lexicographic order: row p, entry j is the column
// that receives the j-th card of a round.
constexpr auto perm = [] {
    std::array<std::array<int, COLUMNS>, 24> rows{};
    std::array<int, COLUMNS> order{0, 1, 2, 3};
    for (auto& row : rows) {
        row = order;
        std::next_permutation(order.begin(), order.end());
    }
    return rows;
}();

// A way of filling a column: the index j_r (0..3) of the card that it
// receives in each round r = 1..4, as the base-4 number j1 j2 j3 j4.
constexpr int WAYS = 256;
using Ways = std::array<int, COLUMNS>;  // each column's way, for the rounds placed so far

constexpr int way_digit(int way, int r) { return (way >> (2 * (ROUNDS - 1 - r))) & 3; }

// Everything one search works on. Each call of best_record has its own, so
// that searches may run at the same time on several threads.
struct Search {
    card deck[DECK_SIZE];
    card board[COLUMNS][HAND_SIZE];  // column c, slot k: the card it receives in round k
    int move[DECK_SIZE] = {};        // column of each deal position; 20..23 stay 0
    int combo[COLUMNS];
    // Every deal allows a pair, a straight or a flush, so the strict
    // comparison always takes some board.
    int bestScore = 0;
    int bestMove[DECK_SIZE];
    int bestCombo[COLUMNS];
    // Category and points of column c filled in each way.
    int category[COLUMNS][WAYS];
    int points[COLUMNS][WAYS];
};

void score_ways(Search& s, int c) {
    for (int way = 0; way < WAYS; ++way) {
        for (int r = 1; r < ROUNDS; ++r) s.board[c][r] = s.deck[COLUMNS * r + way_digit(way, r)];
        s.category[c][way] = evalHand(s.board[c]);
        s.points[c][way] = SCORES[s.category[c][way]];
    }
}

// The ways of the columns after one more round placed by a row of `perm`.
Ways deeper_ways(const Ways& ways, const std::array<int, COLUMNS>& row) {
    Ways deeper;
    for (int j = 0; j < COLUMNS; ++j) deeper[row[j]] = ways[row[j]] * COLUMNS + j;
    return deeper;
}

void keep_board(Search& s, int total, const Ways& ways) {
    s.bestScore = total;
    for (int i = 0; i < COLUMNS; ++i) s.combo[i] = s.category[i][ways[i]];
    std::copy(std::begin(s.move), std::end(s.move), s.bestMove);
    std::copy(std::begin(s.combo), std::end(s.combo), s.bestCombo);
}

// The 24 boards that differ only in the last round, each scored by adding
// four table entries. Out of line, the loop keeps its values in registers;
// inlined into the levels above, it shares them and spills.
[[gnu::noinline]] void score_last_round(Search& s, const Ways& ways) {
    constexpr int r = ROUNDS - 1;
    // pointsWith[j][c]: the points of column c when it receives the round's card j.
    int pointsWith[COLUMNS][COLUMNS];
    for (int j = 0; j < COLUMNS; ++j) {
        for (int c = 0; c < COLUMNS; ++c) pointsWith[j][c] = s.points[c][ways[c] * COLUMNS + j];
    }
    for (const auto& row : perm) {
        int total = 0;
        for (int j = 0; j < COLUMNS; ++j) total += pointsWith[j][row[j]];
        if (total > s.bestScore) {
            // Only a board that is kept needs its last round in `move`.
            std::copy(row.begin(), row.end(), s.move + COLUMNS * r);
            keep_board(s, total, deeper_ways(ways, row));
        }
    }
}

// Rounds r and later, each round as every row of `perm` in turn.
void permute(Search& s, int r, const Ways& ways) {
    if (r == ROUNDS - 1) {
        score_last_round(s, ways);
        return;
    }
    for (const auto& row : perm) {
        std::copy(row.begin(), row.end(), s.move + COLUMNS * r);
        permute(s, r + 1, deeper_ways(ways, row));
    }
}

void start(Search& s, const game::Deck& cards) {
    for (int i = 0; i < DECK_SIZE; ++i) s.deck[i] = card{cards[i].rank, cards[i].suit};
    for (int j = 0; j < COLUMNS; ++j) {
        s.board[j][0] = s.deck[j];
        s.move[j] = j;
        score_ways(s, j);
    }
}

// Six counters 0..15 packed in one word, so that counting stays in
// registers: with counters in a table every increment waits for the store
// of the one before, and that wait was most of an evaluation's time.
struct Counters {
    unsigned bits = 0;
    void add(int index) { bits += 1u << (4 * index); }
    int operator[](int index) const { return (bits >> (4 * index)) & 15; }
};

}  // namespace

int evalHand(const card* hand) {
    int lowest = hand[0].rank, highest = hand[0].rank;
    for (int i = 1; i < HAND_SIZE; ++i) {
        lowest = std::min(lowest, hand[i].rank);
        highest = std::max(highest, hand[i].rank);
    }
    if (hand[0].suit == hand[1].suit && hand[1].suit == hand[2].suit && hand[2].suit == hand[3].suit &&
        hand[3].suit == hand[4].suit) {
        return highest - lowest == 4 ? 8 : 7;
    }
    Counters perRank;  // cards of each rank index
    for (int i = 0; i < HAND_SIZE; ++i) perRank.add(hand[i].rank);
    Counters ranksWith;  // ranksWith[n]: how many rank indices occur n times
    for (int r = 0; r < game::RANKS; ++r) ranksWith.add(perRank[r]);

    if (ranksWith[4] > 0) return 6;
    if (ranksWith[3] > 0 && ranksWith[2] > 0) return 5;
    if (ranksWith[3] > 0) return 3;
    if (ranksWith[2] == 2) return 2;
    if (ranksWith[2] == 1) return 1;
    return highest - lowest == 4 ? 4 : 0;  // five different ranks here
}

game::GameRecord best_record(const game::Deck& cards) {
    Search s;
    start(s, cards);
    permute(s, 1, Ways{});
    game::Deal deal;
    for (int k = 0; k < DEALT; ++k) deal[k] = {game::Card{s.deck[k].rank, s.deck[k].suit}, s.bestMove[k]};
    return game::record_from_categories(deal, std::to_array(s.bestCombo));
}

}  // namespace ceilscore
