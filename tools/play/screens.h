// The two screens of the terminal game at 80x24: the board while the game
// goes on, and the end report. Each is drawn whole from what it shows, so
// that a resize only draws it again.
#pragma once

#include <string>

#include "tools/play/deal.h"
#include "tools/play/game.h"
#include "tools/play/report.h"

namespace play {

// The board: the card to place, its round, the open columns, each column's
// cards, hand and points so far; `chosen` is the column the arrows stand on,
// `message` a refusal or a question.
void draw_board(const Game& g, const DealChoice& deal, int chosen, const std::string& message, bool coloured);

// The person's board beside the ceiling's, the share reached, every shipped
// player's score and the command that replays the deal.
void draw_end(const EndReport& report, bool coloured);

}  // namespace play
