// zarvel-002: the look-ahead player. For each card the referee deals it tries
// every column still free in the round and adds up the points of every way
// that column could be completed from the cards not seen yet; the largest
// total wins, the lowest column on a tie. Exit status 1 after a failed check
// on its input (a diagnostic line on standard error).
#include "common/guarded_main.h"
#include "common/player_io.h"
#include "common/usage.h"
#include "players/zarvel/player.h"

namespace {

constexpr const char* PROGRAM = "zarvel-002";
constexpr const char* WHAT_IT_DOES =
    "Jucător cu anticipare: pentru fiecare coloană încă liberă în rundă adună\n"
    "punctele tuturor felurilor în care coloana s-ar mai putea completa din cărțile\n"
    "nevăzute și alege coloana cu totalul cel mai mare. La fiecare pornire scrie un\n"
    "pachet de antrenament în data.in, în directorul curent.\n";

int run(int argc, char** argv) {
    // Before the practice deck: asking for help writes no file.
    if (const auto answered = game::answer_player_arguments(argc, argv, PROGRAM, WHAT_IT_DOES)) return *answered;
    return game::player_exit_status(PROGRAM, zarvel::play());
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
