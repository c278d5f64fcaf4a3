// A person's game on one deck, whatever shows it: the card to place, the
// columns still open in its round, placements and their undoing within the
// round, and what each column would score if the game ended now.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "common/deck_file.h"
#include "common/record.h"
#include "common/result.h"

namespace play {

struct Game {
    game::Deck deck;
    std::vector<int> columns;  // the column (0..3) of each card placed so far, in deal order
};

inline Game new_game(const game::Deck& deck) { return Game{deck, {}}; }

inline int cards_placed(const Game& g) { return static_cast<int>(g.columns.size()); }
inline bool finished(const Game& g) { return cards_placed(g) == game::DEALT; }
// The round (0..4) of the card to place; of the last card once the game is over.
inline int round_of(const Game& g) { return (cards_placed(g) - (finished(g) ? 1 : 0)) / game::COLUMNS; }
inline game::Card card_to_place(const Game& g) { return g.deck[cards_placed(g)]; }

// A column is open while it has no card of the current round.
bool is_open(const Game& g, int column);
std::vector<int> open_columns(const Game& g);

// Places the card to place in `column` (0..3); a closed column, or a game
// over, is refused with the message to show.
game::Status place(Game& g, int column);
// Takes back the last card placed in the current round; the cards of a
// round already complete stay where they are.
game::Status undo(Game& g);

// A column's cards in the order it received them.
std::vector<game::Card> column_cards(const Game& g, int column);

// The category a hand scores as it stands: five cards by the game's rule;
// fewer score what they already hold (a pair, two pairs, three or four of a
// kind), since a straight, a flush and a full house need all five.
int category_so_far(std::span<const game::Card> hand);
int total_so_far(const Game& g);

// The finished game as a game record.
game::GameRecord record_of(const Game& g);

}  // namespace play
