// The game in the terminal: the board while it goes on, the end report
// after it, keys to play, resizes redrawn.
#pragma once

#include "tools/play/session.h"

namespace play {

// Plays games until the person leaves; the exit status.
int play_in_terminal(Session& session);

}  // namespace play
