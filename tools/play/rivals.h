// The shipped players on the person's deal, started as a match starts them:
// each in a cell of the players' sandbox, in a fresh folder, all at once,
// each answer within a timeout.
#pragma once

#include <string>
#include <vector>

#include "common/deck_file.h"
#include "common/result.h"
#include "common/sandbox.h"
#include "common/scratch.h"
#include "match/match.h"
#include "tools/play/report.h"

namespace play {

class Rivals {
public:
    // Every player the build makes, a cell for each. The sandbox's cells are
    // forks of us: this must run while we have a single thread. `outputs`,
    // the files we write, must lie where no player can read them.
    game::Status open(const proc::SandboxSettings& settings, int timeout_ms, const std::vector<std::string>& outputs);
    // What a partial sandbox lacks, in a line; empty when it is whole or off.
    std::string isolation_note() const;

    // Every player's game on the deck; a failure only when an interrupt came.
    game::Result<std::vector<Rival>> play(const game::Deck& deck);

    // Ends the cells and removes the players' folders.
    game::Status close();

private:
    Rival play_one(std::size_t player, const game::Deck& deck);

    game::ScratchRoot scratch_;
    proc::Sandbox sandbox_;
    std::vector<match::Player> players_;
    int timeout_ms_ = 0;
};

}  // namespace play
