#include "players/sim/play.h"

#include <istream>
#include <ostream>

#include "common/cards.h"
#include "players/ev/card_reading.h"
#include "players/sim/choose.h"

namespace sim {

game::Status play(std::istream& in, std::ostream& out) {
    in.tie(&out);
    Board board;
    bool dealt[ev::CARDS] = {};
    for (int number = 1; number <= game::DEALT; ++number) {
        const game::Result<int> card = ev::readCard(in, number, dealt);
        if (!card) {
            out.flush();
            return game::failure(card.error());
        }
        board.unseen &= ~bit(*card);
        // The first round's columns are all empty and alike: 1, 2, 3, 4.
        const int n = number <= COLUMNS ? number - 1 : choose(board, *card);
        place(board, n, *card);
        out << n + 1 << '\n';
    }
    return {};
}

}  // namespace sim
