#include "tools/play/terminal.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <langinfo.h>
#include <unistd.h>

#include "common/process.h"
#include "tools/play/report.h"

namespace play {

namespace {

constexpr int WIDTH = 80, HEIGHT = 24;
constexpr short RED_PAIR = 1;
constexpr int DIAMONDS = 1, HEARTS = 2;  // the red suits
constexpr int TEN = 1;                   // the one rank written in two characters
constexpr int KEY_WAIT_MS = 250;         // how soon an interrupt is seen while no key comes
bool colours_on = false;                 // set once the terminal is open: a warning is red where it can be

// NO_COLOR set and not empty turns the colours off, as everywhere in the suite.
bool colours_wanted() {
    const char* no_color = std::getenv("NO_COLOR");
    return no_color == nullptr || *no_color == '\0';
}

// The suit symbols and the Romanian letters are UTF-8, as all the suite writes.
void use_utf8() {
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

attr_t attributes_of(Look look) {
    switch (look) {
        case Look::plain: return A_NORMAL;
        case Look::title: return A_BOLD;
        case Look::chosen: return A_REVERSE | A_BOLD;
        case Look::muted: return A_DIM;
        case Look::warning: return A_BOLD | (colours_on ? COLOR_PAIR(RED_PAIR) : A_NORMAL);
    }
    return A_NORMAL;
}

}  // namespace

Terminal::~Terminal() {
    if (screen_ == nullptr) return;
    endwin();
    delscreen(static_cast<SCREEN*>(screen_));
}

game::Status check_terminal() {
    if (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO)) return {};
    return game::failure("intrarea și ieșirea standard nu sunt un terminal; --plain joacă pe rânduri de text");
}

game::Status Terminal::open() {
    use_utf8();
    SCREEN* screen = newterm(nullptr, stdout, stdin);
    if (screen == nullptr) {
        const char* term = std::getenv("TERM");
        return game::failure(std::string("terminalul „") + (term ? term : "") + "” nu este cunoscut (TERM)");
    }
    screen_ = screen;
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    curs_set(0);
    timeout(KEY_WAIT_MS);
    coloured_ = colours_wanted() && has_colors() && start_color() == OK;
    if (coloured_) {
        use_default_colors();
        init_pair(RED_PAIR, COLOR_RED, -1);
    }
    colours_on = coloured_;
    return {};
}

int Terminal::next_key() const {
    for (;;) {
        const int key = getch();
        if (proc::interrupt_signal() != 0) return INTERRUPTED;
        if (key != ERR) return key;
    }
}

bool Terminal::fits() const { return COLS >= WIDTH && LINES >= HEIGHT; }

void draw_text(int y, int x, const std::string& text, Look look) {
    attrset(static_cast<int>(attributes_of(look)));
    mvaddstr(y, x, text.c_str());
    attrset(A_NORMAL);
}

void draw_card(int y, int x, game::Card card, bool coloured) {
    const bool red = coloured && (card.suit == DIAMONDS || card.suit == HEARTS);
    attrset(static_cast<int>(red ? COLOR_PAIR(RED_PAIR) | A_BOLD : A_BOLD));
    // The rank right-aligned in two cells, so that 9♣ stands under 10♦.
    mvaddstr(y, card.rank == TEN ? x : x + 1, card_text(card).c_str());
    attrset(A_NORMAL);
}

void begin_screen() { erase(); }

void show_screen() { refresh(); }

void draw_too_small() {
    erase();
    const std::string text = "Fereastra are " + std::to_string(COLS) + "x" + std::to_string(LINES) +
                             "; jocul are nevoie de cel puțin 80x24.";
    draw_text(0, 0, text, Look::warning);
    refresh();
}

}  // namespace play
