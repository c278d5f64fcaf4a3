#include "tools/play/screens.h"

#include <algorithm>

#include "tools/play/terminal.h"

namespace play {

namespace {

constexpr int BOARDS_TOP = 2;
constexpr int CELL_WIDTH = 6;  // of a card on the end screen's boards
constexpr int PLAYERS_TOP = 17;
constexpr int LAST_ROW = 23;

// The text padded with blanks to `width` characters (UTF-8, each one cell wide).
std::string padded(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return characters >= width ? text : text + std::string(width - characters, ' ');
}

// A board as the game shows it, each column down, then each column's hand and points.
void draw_board_at(int x, const std::string& title, const game::GameRecord& record, bool coloured) {
    draw_text(BOARDS_TOP, x, title, Look::title);
    const auto columns = game::columns_of(record.cards);
    for (int c = 0; c < game::COLUMNS; ++c) {
        draw_text(BOARDS_TOP + 1, x + c * CELL_WIDTH + 1, std::to_string(c + 1), Look::muted);
        for (int slot = 0; slot < game::HAND_SIZE; ++slot) {
            draw_card(BOARDS_TOP + 2 + slot, x + c * CELL_WIDTH, columns[c][slot], coloured);
        }
        const std::string points = std::to_string(record.points[c]);
        draw_text(BOARDS_TOP + 8 + c, x,
                  std::to_string(c + 1) + " " + padded(game::CATEGORY_NAMES_RO[record.categories[c]], 18) +
                      std::string(4 - points.size(), ' ') + points);
    }
}

// The players' rows lie between their title and the replay lines: two
// players a row while they fit, more a row when the list of players grows.
void draw_rivals(const EndReport& report) {
    constexpr std::size_t ROWS = LAST_ROW - 2 - (PLAYERS_TOP + 1);
    draw_text(PLAYERS_TOP, 2, "Jucătorii suitei pe aceeași împărțire:", Look::title);
    const std::size_t per_row = std::max<std::size_t>(2, (report.rivals.size() + ROWS - 1) / ROWS);
    const int width = 80 / static_cast<int>(per_row);
    const std::size_t name_width = std::min(20, width - 5);
    for (std::size_t p = 0; p < report.rivals.size(); ++p) {
        const Rival& rival = report.rivals[p];
        const int y = PLAYERS_TOP + 1 + static_cast<int>(p / per_row);
        const int x = 4 + static_cast<int>(p % per_row) * width;
        draw_text(y, x, padded(rival.name, name_width) + (rival.scored ? std::to_string(rival.score) : rival.problem),
                  rival.scored ? Look::plain : Look::warning);
    }
}

}  // namespace

void draw_end(const EndReport& report, bool coloured) {
    begin_screen();
    draw_text(0, 1, "Jocul s-a încheiat · " + deal_title(report.deal), Look::title);
    draw_board_at(2, "Tabla voastră: " + points_text(report.mine.total), report.mine, coloured);
    draw_board_at(44, "Plafonul: " + points_text(report.ceiling.total), report.ceiling, coloured);
    draw_text(BOARDS_TOP + 13, 2,
              "Ați atins " + std::to_string(share_of_ceiling(report.mine.total, report.ceiling.total)) +
                  "% din plafon · locul " + std::to_string(place_of(report)) + " din " +
                  std::to_string(scored_count(report)),
              Look::title);
    if (!report.record_problem.empty()) {
        draw_text(BOARDS_TOP + 14, 2, "Înregistrarea nu a fost scrisă: " + report.record_problem, Look::warning);
    }
    draw_rivals(report);
    const std::string seed = std::to_string(report.deal.seed);
    draw_text(LAST_ROW - 2, 2, "Se reia cu: " + replay_command(report.deal));
    draw_text(LAST_ROW - 1, 2, "Același pachet pentru un jucător: referee --seed " + seed + " JUCĂTOR");
    draw_text(LAST_ROW, 2, "n: joc nou · q: ieșire", Look::muted);
    show_screen();
}

}  // namespace play
