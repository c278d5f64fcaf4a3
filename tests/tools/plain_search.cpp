#include "tests/tools/plain_search.h"

#include <algorithm>
#include <array>

#include "tools/ceilscore/search.h"

namespace tools_test {

namespace {

using ceilscore::card;
using game::COLUMNS;
using game::DECK_SIZE;
using game::ROUNDS;

struct Plain {
    card deck[DECK_SIZE];
    card board[COLUMNS][game::HAND_SIZE];
    std::array<int, COLUMNS> order[24];
    int move[DECK_SIZE] = {};
    int bestScore = 0;
    int bestMove[DECK_SIZE] = {};
    std::array<int, COLUMNS> bestCombo{};
};

void score_board(Plain& s) {
    std::array<int, COLUMNS> combo;
    int total = 0;
    for (int i = 0; i < COLUMNS; ++i) {
        combo[i] = ceilscore::evalHand(s.board[i]);
        total += game::CATEGORY_POINTS[combo[i]];
    }
    if (total > s.bestScore) {
        s.bestScore = total;
        std::copy(std::begin(s.move), std::end(s.move), s.bestMove);
        s.bestCombo = combo;
    }
}

void permute(Plain& s, int r) {
    if (r == ROUNDS) {
        score_board(s);
        return;
    }
    for (const auto& row : s.order) {
        for (int j = 0; j < COLUMNS; ++j) {
            s.board[row[j]][r] = s.deck[COLUMNS * r + j];
            s.move[COLUMNS * r + j] = row[j];
        }
        permute(s, r + 1);
    }
}

}  // namespace

game::GameRecord plain_best_record(const game::Deck& cards) {
    Plain s;
    std::array<int, COLUMNS> order{0, 1, 2, 3};
    for (auto& row : s.order) {
        row = order;
        std::next_permutation(order.begin(), order.end());
    }
    for (int i = 0; i < DECK_SIZE; ++i) s.deck[i] = card{cards[i].rank, cards[i].suit};
    for (int j = 0; j < COLUMNS; ++j) {
        s.board[j][0] = s.deck[j];
        s.move[j] = j;
    }
    permute(s, 1);
    game::Deal deal;
    for (int k = 0; k < game::DEALT; ++k) deal[k] = {cards[k], s.bestMove[k]};
    return game::record_from_categories(deal, s.bestCombo);
}

}  // namespace tools_test
