// sim-player: puts each card where the board is worth most at the end of the
// round, weighing every way the rest of the round can come. A column is
// worth the points it ends with if, for each card it still needs, it takes
// the best for it of a few unseen cards drawn at random; in the last round
// that is its points, and the round is played exactly.
#include <iostream>

#include "common/guarded_main.h"
#include "common/player_io.h"
#include "common/usage.h"
#include "players/sim/play.h"

namespace {

constexpr const char* PROGRAM = "sim-player";
constexpr const char* WHAT_IT_DOES =
    "Jucător: pune fiecare carte unde tabla valorează cel mai mult la sfârșitul\n"
    "rândului, cântărind fiecare fel în care poate veni restul rândului. O coloană\n"
    "valorează punctele cu care ar ieși dacă, pentru fiecare carte care îi\n"
    "lipsește, și-ar alege-o pe cea mai bună dintre câteva cărți nevăzute; ultimul\n"
    "rând e jucat exact.\n";

int run(int argc, char** argv) {
    if (const auto answered = game::answer_player_arguments(argc, argv, PROGRAM, WHAT_IT_DOES)) return *answered;
    return game::player_exit_status(PROGRAM, sim::play(std::cin, std::cout));
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
