#include "tools/play/screens.h"

#include "tools/play/terminal.h"

namespace play {

namespace {

constexpr int COLUMN_WIDTH = 19;
constexpr int BOARD_TOP = 4;  // the columns' names; their cards below
constexpr int KEYS_ROW = 22;

int column_x(int column) { return 2 + column * COLUMN_WIDTH; }

// The deal on the first row; the round, the card and where it may go on the third.
void draw_heading(const Game& g, const DealChoice& deal, bool coloured) {
    draw_text(0, 1, "play · " + deal_title(deal), Look::title);
    if (finished(g)) {
        draw_text(2, 2, "Toate cărțile sunt așezate.");
        return;
    }
    draw_text(2, 2,
              "Runda " + std::to_string(round_of(g) + 1) + " din " + std::to_string(game::ROUNDS) + ", cartea " +
                  std::to_string(cards_placed(g) + 1) + " din " + std::to_string(game::DEALT) + ":",
              Look::title);
    draw_card(2, 35, card_to_place(g), coloured);
    draw_text(2, 44, "Coloane deschise: " + columns_text(open_columns(g)));
}

// A column: its name (marked where the arrows stand, dim once closed), its
// cards, its hand and points so far.
void draw_column(const Game& g, int column, bool chosen, bool coloured) {
    const int x = column_x(column);
    const std::string name = "Coloana " + std::to_string(column + 1);
    const Look look = chosen ? Look::chosen : is_open(g, column) ? Look::title : Look::muted;
    draw_text(BOARD_TOP, x, chosen ? "[" + name + "]" : " " + name + " ", look);
    const std::vector<game::Card> cards = column_cards(g, column);
    for (int slot = 0; slot < game::HAND_SIZE; ++slot) {
        if (slot < static_cast<int>(cards.size())) draw_card(BOARD_TOP + 1 + slot, x + 3, cards[slot], coloured);
        else draw_text(BOARD_TOP + 1 + slot, x + 4, "·", Look::muted);
    }
    if (cards.empty()) return;
    const int category = category_so_far(cards);
    draw_text(BOARD_TOP + 7, x + 1, game::CATEGORY_NAMES_RO[category]);
    draw_text(BOARD_TOP + 8, x + 1, points_text(game::CATEGORY_POINTS[category]));
}

}  // namespace

void draw_board(const Game& g, const DealChoice& deal, int chosen, const std::string& message, bool coloured) {
    begin_screen();
    draw_heading(g, deal, coloured);
    for (int c = 0; c < game::COLUMNS; ++c) draw_column(g, c, !finished(g) && c == chosen, coloured);
    draw_text(BOARD_TOP + 10, 2, "Dacă jocul s-ar încheia acum: " + points_text(total_so_far(g)), Look::title);
    draw_text(BOARD_TOP + 12, 2, message, Look::warning);
    draw_text(KEYS_ROW, 2, "1-4 sau ←/→ și Enter: așază · u: anulează în rundă · q: ieșire", Look::muted);
    show_screen();
}

}  // namespace play
