// suit-player: plays for flushes. The first card of each column gives the
// column its suit; a later card goes to a free unbroken column of its suit,
// else to a free broken column, else it breaks the free column whose suit
// has been read most often so far. Only the suit letter of a token is read.
#include "common/guarded_main.h"
#include "common/player_io.h"
#include "common/usage.h"
#include "players/suit/suit_player.h"

namespace {

constexpr const char* PROGRAM = "suit-player";
constexpr const char* WHAT_IT_DOES =
    "Jucător: ține fiecare coloană la culoarea primei ei cărți, jucând pe culoare. O\n"
    "carte care nu se potrivește nicăieri merge într-o coloană deja stricată, ori\n"
    "strică încă una.\n";

int run(int argc, char** argv) {
    if (const auto answered = game::answer_player_arguments(argc, argv, PROGRAM, WHAT_IT_DOES)) return *answered;
    return game::player_exit_status(PROGRAM, suit::play(stdin, stdout));
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
