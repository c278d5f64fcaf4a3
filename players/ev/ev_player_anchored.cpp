// ev-player-anchored: puts each card where it raises a column's exact
// expected points most, measured against the expectation stored for the
// column when it last received a card.
#include <iostream>

#include "common/guarded_main.h"
#include "common/player_io.h"
#include "common/usage.h"
#include "players/ev/measures.h"

namespace {

constexpr const char* PROGRAM = "ev-player-anchored";
constexpr const char* WHAT_IT_DOES =
    "Jucător: pune fiecare carte în coloana liberă ale cărei puncte așteptate exacte\n"
    "le crește cel mai mult, față de așteptarea păstrată când coloana a primit ultima\n"
    "ei carte.\n";

int run(int argc, char** argv) {
    if (const auto answered = game::answer_player_arguments(argc, argv, PROGRAM, WHAT_IT_DOES)) return *answered;
    return game::player_exit_status(PROGRAM, ev::play(ev::ANCHORED, std::cin, std::cout));
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
