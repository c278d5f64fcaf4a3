// ev-player-anchored: puts each card where it raises a column's exact
// expected points most, measured against the expectation stored for the
// column when it last received a card.
#include <iostream>

#include "common/guarded_main.h"
#include "common/usage.h"
#include "players/ev/measures.h"

namespace {

constexpr const char* WHAT_IT_DOES =
    "Jucător: pune fiecare carte în coloana liberă ale cărei puncte așteptate exacte\n"
    "le crește cel mai mult, față de așteptarea păstrată când coloana a primit ultima\n"
    "ei carte.\n";

int run(int argc, char** argv) {
    game::answer_player_help(argc, argv, "ev-player-anchored", WHAT_IT_DOES);
    ev::play("ev-player-anchored", ev::ANCHORED, std::cin, std::cout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main("ev-player-anchored", run, argc, argv); }
