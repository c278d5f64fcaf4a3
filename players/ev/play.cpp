#include "players/ev/play.h"

#include <algorithm>
#include <iomanip>
#include <istream>
#include <ostream>
#include <string>

#include "common/int_scanner.h"
#include "common/player_io.h"
#include "players/ev/unseen.h"

namespace ev {

int packs[COLUMNS][HAND];
bool free[COLUMNS];

namespace {

constexpr std::size_t TOKEN_MAX = 3;  // "10H"

bool dealt[CARDS];
std::istream* in;
std::ostream* out;

game::Failure stop(const std::string& message) {
    out->flush();  // answers already written reach the referee first
    return game::failure(message);
}

game::Failure badToken(int number, const std::string& shown, const std::string& fault) {
    return stop("cartea " + std::to_string(number) + ": jetonul „" + shown + "” " + fault);
}

// Reads card `number` (1..20), checks it and takes it out of the unseen list.
game::Result<int> readCard(int number) {
    std::string token;
    // One character more than a token may have tells a long one apart
    // without reading it whole.
    if (!(*in >> std::setw(TOKEN_MAX + 1) >> token)) return stop(game::input_ended_before(number));
    if (token.size() > TOKEN_MAX) return stop(game::token_too_long(number, token, TOKEN_MAX));
    const int c = parseCard(token.c_str());
    if (c < 0) return badToken(number, game::printable(token), "nu începe cu 9, 1, J, Q, K sau A");
    if (dealt[c]) return badToken(number, game::printable(token), std::string("dă din nou cartea ") + cardText(c));
    dealt[c] = true;
    del(c);
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
        const game::Result<int> c = readCard(n + 1);
        if (!c) return game::failure(c.error());
        place(measure, n, 0, *c);
        *out << n + 1 << '\n';
    }
    for (int k = 1; k < ROUNDS; ++k) {
        std::fill_n(free, COLUMNS, true);
        for (int t = 1; t <= COLUMNS; ++t) {
            const game::Result<int> c = readCard(COLUMNS * k + t);
            if (!c) return game::failure(c.error());
            const int n = choose(measure, *c, k);
            place(measure, n, k, *c);
            *out << n + 1 << '\n';
        }
    }
    return {};
}

}  // namespace ev
