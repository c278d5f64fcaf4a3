// tally-player: plays for cards of equal rank. Every card goes to the free
// column that already holds the most cards of its rank, the lowest such
// column on a tie; in the third round a tie over a rank with three cards on
// the board goes to the highest free column instead.
#include "common/guarded_main.h"
#include "common/player_io.h"
#include "common/usage.h"
#include "players/tally/tally.h"

namespace {

constexpr const char* PROGRAM = "tally-player";
constexpr const char* WHAT_IT_DOES =
    "Jucător: joacă pe cărți de același rang. Fiecare carte merge în coloana liberă\n"
    "care are deja cele mai multe cărți de rangul ei.\n";

int run(int argc, char** argv) {
    if (const auto answered = game::answer_player_arguments(argc, argv, PROGRAM, WHAT_IT_DOES)) return *answered;
    return game::player_exit_status(PROGRAM, tally::play(stdin, stdout));
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
