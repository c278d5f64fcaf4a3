#include "tools/play/game.h"

#include <algorithm>
#include <string>

namespace play {

namespace {

// The placements of the current round, the first card of the game's round included.
std::span<const int> this_round(const Game& g) {
    const std::size_t begun = static_cast<std::size_t>(cards_placed(g) / game::COLUMNS * game::COLUMNS);
    return std::span<const int>(g.columns).subspan(begun);
}

}  // namespace

bool is_open(const Game& g, int column) {
    if (finished(g)) return false;
    const std::span<const int> round = this_round(g);
    return std::find(round.begin(), round.end(), column) == round.end();
}

std::vector<int> open_columns(const Game& g) {
    std::vector<int> open;
    for (int c = 0; c < game::COLUMNS; ++c) {
        if (is_open(g, c)) open.push_back(c);
    }
    return open;
}

game::Status place(Game& g, int column) {
    if (finished(g)) return game::failure("Jocul s-a încheiat");
    if (!is_open(g, column)) {
        return game::failure("Coloana " + std::to_string(column + 1) + " a primit deja o carte în runda " +
                             std::to_string(round_of(g) + 1));
    }
    g.columns.push_back(column);
    return {};
}

game::Status undo(Game& g) {
    if (finished(g)) return game::failure("Jocul s-a încheiat");
    if (this_round(g).empty()) {
        if (cards_placed(g) == 0) return game::failure("Nimic de anulat");
        return game::failure("Nimic de anulat: runda " + std::to_string(round_of(g) + 1) + " abia a început");
    }
    g.columns.pop_back();
    return {};
}

std::vector<game::Card> column_cards(const Game& g, int column) {
    std::vector<game::Card> cards;
    for (std::size_t i = 0; i < g.columns.size(); ++i) {
        if (g.columns[i] == column) cards.push_back(g.deck[i]);
    }
    return cards;
}

int category_so_far(std::span<const game::Card> hand) {
    if (hand.size() == game::HAND_SIZE) return game::category(hand.first<game::HAND_SIZE>());
    std::array<int, game::RANKS> per_rank{};
    for (const game::Card& card : hand) ++per_rank[card.rank];
    const int most = *std::max_element(per_rank.begin(), per_rank.end());
    if (most == 4) return 6;
    if (most == 3) return 3;
    return static_cast<int>(std::count(per_rank.begin(), per_rank.end(), 2));  // 2 two pairs, 1 one pair, 0 nothing
}

int total_so_far(const Game& g) {
    std::array<int, game::COLUMNS> categories{};
    for (int c = 0; c < game::COLUMNS; ++c) categories[c] = category_so_far(column_cards(g, c));
    return game::board_score(categories);
}

game::GameRecord record_of(const Game& g) {
    game::Deal deal{};
    for (int i = 0; i < game::DEALT; ++i) deal[i] = {g.deck[i], g.columns[i]};
    return game::scored_record(deal);
}

}  // namespace play
