// ev-player: puts each card where it raises a column's exact expected points
// most, measured against the same column's expectation without the card.
#include <iostream>

#include "common/guarded_main.h"
#include "common/usage.h"
#include "players/ev/measures.h"

namespace {

constexpr const char* WHAT_IT_DOES =
    "Jucător: pune fiecare carte în coloana liberă ale cărei puncte așteptate exacte\n"
    "le crește cel mai mult, față de așteptarea aceleiași coloane fără ea.\n";

int run(int argc, char** argv) {
    game::answer_player_help(argc, argv, "ev-player", WHAT_IT_DOES);
    ev::play("ev-player", ev::FRESH, std::cin, std::cout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main("ev-player", run, argc, argv); }
