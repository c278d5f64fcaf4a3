// The terminal as ncurses drives it: opened for the game, given back as it
// was however we leave (the object's end), and the few ways our screens
// draw on it. Only the screens include ncurses' header besides this file.
#pragma once

#include <string>

#include "common/cards.h"
#include "common/result.h"

namespace play {

// Whether the standard streams are a terminal the game can take over; a
// failure says what to do instead.
game::Status check_terminal();

// What next_key gives for an interrupt (SIGINT, SIGTERM, SIGHUP); no key has it.
inline constexpr int INTERRUPTED = -2;

class Terminal {
public:
    Terminal() = default;
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Takes over the terminal of the standard streams; a failure names why not.
    game::Status open();
    bool coloured() const { return coloured_; }
    // The next key (KEY_RESIZE when the window changed size), or INTERRUPTED.
    int next_key() const;
    // Whether the window holds our 80x24 screens; when it does not, the
    // screen asks for a larger one instead.
    bool fits() const;

private:
    void* screen_ = nullptr;  // ncurses' SCREEN
    bool coloured_ = false;
};

// The attributes our screens draw with.
enum class Look { plain, title, chosen, muted, warning };

// Text at row y, column x.
void draw_text(int y, int x, const std::string& text, Look look = Look::plain);
// " 9♣", "10♦" in three cells: the suit's symbol, in the suit's colour when there are colours.
void draw_card(int y, int x, game::Card card, bool coloured);
// Clears the screen to draw it anew; shows it once drawn.
void begin_screen();
void show_screen();
// What a window too small for the game shows.
void draw_too_small();

}  // namespace play
