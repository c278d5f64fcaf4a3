#include "players/suit/suit_player.h"

#include <cstring>
#include <string>

#include "common/int_scanner.h"
#include "common/player_io.h"

namespace suit {

namespace {

constexpr std::size_t TOKEN_MAX = 6;

char act[TOKEN_MAX + 1];    // the token just read
int oficial[5];             // oficial[1..4]: the suit letter of the column's first card
int nrcarti[200];           // cards read so far, by suit letter code
unsigned char fol[5];       // fol[1..4]: the column has its card of this round
unsigned char stricat[5];   // stricat[1..4]: the column got a card of another suit

std::FILE* in;
std::FILE* out;

void answer(int column) {
    std::fprintf(out, "%d\n", column);
    std::fflush(out);
}

// Reads card `number` (1..20) and returns its suit letter, counted already.
game::Result<int> read_card(int number) {
    const game::Result<std::size_t> length = game::read_card_token(in, act, TOKEN_MAX, number);
    if (!length) return game::failure(length.error());
    const int s = static_cast<signed char>(act[*length - 1]);
    if (s < 0 || s >= static_cast<int>(std::size(nrcarti))) {
        return game::failure("cartea " + std::to_string(number) + ": litera de culoare din „" +
                             game::printable(std::string(act, *length)) + "” nu este un caracter ASCII");
    }
    ++nrcarti[s];
    return s;
}

int own_suit_column(int s) {
    for (int k = 1; k <= 4; ++k) {
        if (!stricat[k] && !fol[k] && oficial[k] == s) return k;
    }
    return 0;
}

int broken_column() {
    for (int k = 1; k <= 4; ++k) {
        if (stricat[k] && !fol[k]) return k;
    }
    return 0;
}

// The free column whose suit has been read most, the lowest on equal counts.
int column_to_break() {
    int best = 0, chosen = 0;
    for (int k = 1; k <= 4; ++k) {
        if (!fol[k] && nrcarti[oficial[k]] > best) {
            best = nrcarti[oficial[k]];
            chosen = k;
        }
    }
    stricat[chosen] = 1;
    return chosen;
}

// Everything as it is when the program starts.
void reset() {
    std::memset(act, 0, sizeof act);
    std::memset(oficial, 0, sizeof oficial);
    std::memset(nrcarti, 0, sizeof nrcarti);
    std::memset(fol, 0, sizeof fol);
    std::memset(stricat, 0, sizeof stricat);
}

}  // namespace

game::Status play(std::FILE* input, std::FILE* output) {
    in = input;
    out = output;
    reset();
    for (int t = 1; t <= 4; ++t) {
        const game::Result<int> s = read_card(t);
        if (!s) return game::failure(s.error());
        oficial[t] = *s;
        answer(t);
    }
    for (int card = 5; card <= 20; ++card) {
        if (card % 4 == 1) std::memset(fol, 0, sizeof fol);
        const game::Result<int> s = read_card(card);
        if (!s) return game::failure(s.error());
        int k = own_suit_column(*s);
        if (k == 0) k = broken_column();
        if (k == 0) k = column_to_break();
        fol[k] = 1;
        answer(k);
    }
    return {};
}

}  // namespace suit
