// play --plain: the game as lines of text, for screen readers, pipes and
// tests. Each card is told with the columns open for it, and one command a
// line answers: a column 1-4, u (undo), t (the columns so far), q (quit).
#pragma once

#include <cstdio>

#include "tools/play/session.h"

namespace play {

// Plays games until the person leaves or the input ends; the exit status.
int play_plain(Session& session, int input, std::FILE* out);

}  // namespace play
