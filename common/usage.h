// The command line that every program shares: --help and -h.
#pragma once

namespace game {

// The referee passes a player no arguments, so a player ignores them all but
// an argv[1] of exactly --help or -h. Then it shows its usage (what it does,
// then how every player is run) without touching any file.
void answer_player_help(int argc, char** argv, const char* program, const char* what_it_does);

}  // namespace game
