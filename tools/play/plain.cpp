#include "tools/play/plain.h"

#include <string>

#include "common/process.h"
#include "tools/play/lines.h"

namespace play {

namespace {

void say(std::FILE* out, const std::string& text) {
    std::fputs((text + "\n").c_str(), out);
    std::fflush(out);
}

void tell_columns(const Game& g, std::FILE* out) {
    for (int c = 0; c < game::COLUMNS; ++c) {
        const std::vector<game::Card> cards = column_cards(g, c);
        std::string line = "Coloana " + std::to_string(c + 1) + ":";
        for (const game::Card& card : cards) line += " " + card_text(card);
        const int category = category_so_far(cards);
        say(out, cards.empty() ? line + " nicio carte"
                               : line + " (" + game::CATEGORY_NAMES_RO[category] + ", " +
                                     points_text(game::CATEGORY_POINTS[category]) + ")");
    }
    say(out, "Dacă jocul s-ar încheia acum: " + points_text(total_so_far(g)));
}

void tell_card(const Game& g, std::FILE* out) {
    say(out, "Cartea " + std::to_string(cards_placed(g) + 1) + " din " + std::to_string(game::DEALT) + ", runda " +
                 std::to_string(round_of(g) + 1) + ": " + card_text(card_to_place(g)) +
                 "; coloane deschise: " + columns_text(open_columns(g)));
}

enum class Turn { played, left, input_ended, output_lost };

// One command of the game; `left` once the person has chosen to quit.
Turn command(Game& g, const std::string& line, LineReader& in, std::FILE* out) {
    if (line.size() == 1 && line[0] >= '1' && line[0] <= '4') {
        if (const game::Status placed = place(g, line[0] - '1'); !placed) say(out, placed.error());
    } else if (line == "u") {
        if (const game::Status undone = undo(g); !undone) say(out, undone.error());
    } else if (line == "t") {
        tell_columns(g, out);
    } else if (line == "q") {
        say(out, "Ieșiți din joc? (d/n)");
        std::string answer;
        if (!in.next(answer)) return Turn::input_ended;
        if (answer == "d") return Turn::left;
    } else {
        say(out, "Răspundeți cu o coloană 1-4, u (anulează), t (tabla) sau q (ieșire)");
    }
    return Turn::played;
}

// One game to its end; `played` when it was finished. The card is told
// again whenever it changes: after a placement, and after an undo.
Turn play_game(Game& g, LineReader& in, std::FILE* out) {
    std::string line;
    int told = -1;  // the cards placed when the card was last told
    while (!finished(g)) {
        if (cards_placed(g) != told) {
            if (cards_placed(g) > 0 && cards_placed(g) % game::COLUMNS == 0) tell_columns(g, out);
            tell_card(g, out);
            told = cards_placed(g);
        }
        if (std::ferror(out)) return Turn::output_lost;
        if (!in.next(line)) return Turn::input_ended;
        if (const Turn turn = command(g, line, in, out); turn != Turn::played) return turn;
    }
    return Turn::played;
}

// After a game: `played` for a new one; the end of the input leaves too.
Turn another(LineReader& in, std::FILE* out) {
    std::string line;
    do {
        say(out, "n: joc nou; q: ieșire");
        if (std::ferror(out)) return Turn::output_lost;
        if (!in.next(line)) return Turn::left;
    } while (line != "n" && line != "q");
    return line == "n" ? Turn::played : Turn::left;
}

// The exit status of a run that ends with `turn`.
int ending(Turn turn, const Session& session) {
    if (proc::interrupt_signal() != 0) return 128 + proc::interrupt_signal();
    if (turn == Turn::left) return leaving_status(session);
    if (turn == Turn::output_lost) {
        std::fputs("play: nu se poate scrie pe ieșirea standard\n", stderr);
        return 2;
    }
    std::fputs("play: intrarea s-a încheiat înainte de sfârșitul jocului\n", stderr);
    return session.record_failed ? 2 : 1;
}

}  // namespace

int play_plain(Session& session, int input, std::FILE* out) {
    LineReader in(input);
    for (;;) {
        const DealChoice deal = next_deal(session);
        Game g = new_game(deck_of(deal));
        say(out, "Joc nou, " + deal_title(deal) + ".");
        if (const Turn turn = play_game(g, in, out); turn != Turn::played) return ending(turn, session);
        const game::Result<EndReport> report = end_of(g, deal, session);
        if (!report) return ending(Turn::left, session);
        for (const std::string& line : report_lines(*report)) say(out, line);
        if (const Turn turn = another(in, out); turn != Turn::played) return ending(turn, session);
    }
}

}  // namespace play
