#include "players/ev/play.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "players/ev/card_reading.h"
#include "players/ev/unseen.h"

namespace ev {

int packs[COLUMNS][HAND];
bool free[COLUMNS];

namespace {

bool dealt[CARDS];
std::istream* in;
std::ostream* out;

// Reads card `number` (1..20) and takes it out of the unseen list. On bad
// input the answers already written reach the referee first.
game::Result<int> takeCard(int number) {
    const game::Result<int> c = readCard(*in, number, dealt);
    if (!c) {
        out->flush();
        return c;
    }
    del(*c);
    return c;
}

double gain(const Measure& measure, int n, int k, int c) {
    int pack[HAND];
    std::copy_n(packs[n], k, pack);
    pack[k] = c;
    EV(pack, k + 1);
    const double withCard = vavg;
    return withCard - measure.against(n, k);
}

}  // namespace

int choose(const Measure& measure, int c, int k) {
    double bestGain = -1000000;
    int best = -1;
    for (int n = 0; n < COLUMNS; ++n) {
        if (!free[n]) continue;
        const double g = gain(measure, n, k, c);
        if (g > bestGain) {
            bestGain = g;
            best = n;
        }
    }
    return best;
}

void place(const Measure& measure, int n, int k, int c) {
    packs[n][k] = c;
    free[n] = false;
    measure.received(n, k);
}

game::Status play(const Measure& measure, std::istream& input, std::ostream& output) {
    // No explicit flush after an answer: the input is tied to the output, so
    // every read first delivers the answer before it (std::cin is tied to
    // std::cout from the start, and exit delivers the last answer).
    in = &input;
    out = &output;
    in->tie(out);
    initList();
    std::fill_n(dealt, CARDS, false);
    for (int n = 0; n < COLUMNS; ++n) {
        const game::Result<int> c = takeCard(n + 1);
        if (!c) return game::failure(c.error());
        place(measure, n, 0, *c);
        *out << n + 1 << '\n';
    }
    for (int k = 1; k < ROUNDS; ++k) {
        std::fill_n(free, COLUMNS, true);
        for (int t = 1; t <= COLUMNS; ++t) {
            const game::Result<int> c = takeCard(COLUMNS * k + t);
            if (!c) return game::failure(c.error());
            const int n = choose(measure, *c, k);
            place(measure, n, k, *c);
            *out << n + 1 << '\n';
        }
    }
    return {};
}

}  // namespace ev
