// The games of one run of play, whatever shows them: which deal comes next,
// and what ends a game: the shipped players and the ceiling on its deal,
// and its record, written when asked for.
#pragma once

#include <string>

#include "common/result.h"
#include "tools/play/game.h"
#include "tools/play/options.h"
#include "tools/play/report.h"
#include "tools/play/rivals.h"

namespace play {

struct Session {
    Options options;
    Rivals rivals;
    int games_begun = 0;
    bool record_failed = false;  // a record asked for could not be written: the run ends with status 2
};

// The deal of the command line for the first game, a fresh one for every other.
DealChoice next_deal(Session& session);

// The end of a finished game; a failure only when an interrupt came.
game::Result<EndReport> end_of(const Game& g, const DealChoice& deal, Session& session);

// The status a run ends with when the person leaves: 0, or 2 after a record was lost.
int leaving_status(const Session& session);

}  // namespace play
