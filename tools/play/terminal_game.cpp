#include "tools/play/terminal_game.h"

#include <cstdio>
#include <curses.h>

#include "common/process.h"
#include "tools/play/screens.h"
#include "tools/play/terminal.h"

namespace play {

namespace {

enum class Ending { finished, left, interrupted };

// Where the arrows stand: the column given while it is open, else the first open one.
int open_choice(const Game& g, int column) {
    if (finished(g) || is_open(g, column)) return column;
    return open_columns(g).front();
}

// The next open column in the arrow's direction, round the board.
int next_open(const Game& g, int column, int step) {
    for (int k = 1; k <= game::COLUMNS; ++k) {
        const int next = (column + step * k + game::COLUMNS * k) % game::COLUMNS;
        if (is_open(g, next)) return next;
    }
    return column;
}

bool is_enter(int key) { return key == '\n' || key == '\r' || key == KEY_ENTER; }

// A key's effect on the game: the message to show after it.
std::string apply(Game& g, int key, int& chosen) {
    if (is_enter(key)) key = '1' + chosen;
    if (key >= '1' && key <= '4') {
        const game::Status placed = place(g, key - '1');
        return placed ? "" : placed.error();
    }
    if (key == 'u') {
        const game::Status undone = undo(g);
        return undone ? "" : undone.error();
    }
    if (key == KEY_LEFT || key == KEY_RIGHT) chosen = next_open(g, chosen, key == KEY_LEFT ? -1 : 1);
    return "";
}

Ending play_game(const Terminal& terminal, Game& g, const DealChoice& deal) {
    int chosen = 0;
    std::string message;
    while (!finished(g)) {
        chosen = open_choice(g, chosen);
        if (terminal.fits()) draw_board(g, deal, chosen, message, terminal.coloured());
        else draw_too_small();
        const int key = terminal.next_key();
        if (key == INTERRUPTED) return Ending::interrupted;
        if (!terminal.fits() || key == KEY_RESIZE) continue;
        if (key != 'q') {
            message = apply(g, key, chosen);
            continue;
        }
        // q asks first; any key but d is a no.
        draw_board(g, deal, chosen, "Ieșiți din joc? d: da, altă tastă: nu", terminal.coloured());
        const int answer = terminal.next_key();
        if (answer == INTERRUPTED) return Ending::interrupted;
        if (answer == 'd' || answer == 'D') return Ending::left;
        message.clear();
    }
    return Ending::finished;
}

// The end report until a key decides: another game, or leaving.
Ending show_end(const Terminal& terminal, const EndReport& report) {
    for (;;) {
        if (terminal.fits()) draw_end(report, terminal.coloured());
        else draw_too_small();
        const int key = terminal.next_key();
        if (key == INTERRUPTED) return Ending::interrupted;
        if (key == 'n') return Ending::finished;
        if (key == 'q') return Ending::left;
    }
}

int status_of(Ending ending, const Session& session) {
    return ending == Ending::left ? leaving_status(session) : 128 + proc::interrupt_signal();
}

}  // namespace

int play_in_terminal(Session& session) {
    Terminal terminal;
    if (const game::Status opened = terminal.open(); !opened) {
        std::fprintf(stderr, "play: %s\n", opened.error().c_str());
        return 2;
    }
    for (;;) {
        const DealChoice deal = next_deal(session);
        Game g = new_game(deck_of(deal));
        const Ending ending = play_game(terminal, g, deal);
        if (ending != Ending::finished) return status_of(ending, session);
        if (terminal.fits()) draw_board(g, deal, 0, "Joacă jucătorii suitei aceeași împărțire...", terminal.coloured());
        const game::Result<EndReport> report = end_of(g, deal, session);
        if (!report) return status_of(Ending::interrupted, session);
        const Ending next = show_end(terminal, *report);
        if (next != Ending::finished) return status_of(next, session);
    }
}

}  // namespace play
