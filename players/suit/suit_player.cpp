// suit-player: plays for flushes. The first card of each column gives the
// column its suit; a later card goes to a free unbroken column of its suit,
// else to a free broken column, else it breaks the free column whose suit
// has been read most often so far. Only the suit letter of a token is read.
#include <cstdio>
#include <cstring>
#include <string>

#include "int_scanner.h"
#include "player_io.h"

namespace {

constexpr const char* PROGRAM = "suit-player";
constexpr std::size_t TOKEN_MAX = 6;

char act[TOKEN_MAX + 1];    // the token just read
int oficial[5];             // oficial[1..4]: the suit letter of the column's first card
int nrcarti[200];           // cards read so far, by suit letter code
unsigned char fol[5];       // fol[1..4]: the column has its card of this round
unsigned char stricat[5];   // stricat[1..4]: the column got a card of another suit

void answer(int column) {
    std::printf("%d\n", column);
    std::fflush(stdout);
}

// Reads card `number` (1..20) and returns its suit letter, counted already.
int read_card(int number) {
    std::size_t length = 0;
    switch (game::read_token(stdin, act, TOKEN_MAX, length)) {
        case game::TokenRead::end:
            game::stop_player(PROGRAM, "intrarea s-a terminat înainte de cartea " + std::to_string(number));
        case game::TokenRead::too_long:
            game::stop_player(PROGRAM, "cartea " + std::to_string(number) + ": jetonul „" + game::printable(act) +
                                           "...” are mai mult de 6 caractere");
        case game::TokenRead::ok:
            break;
    }
    const int s = static_cast<signed char>(act[length - 1]);
    if (s < 0 || s >= static_cast<int>(std::size(nrcarti))) {
        game::stop_player(PROGRAM, "cartea " + std::to_string(number) + ": litera de culoare din „" +
                                       game::printable(std::string(act, length)) + "” nu este un caracter ASCII");
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

}  // namespace

int main() {
    for (int t = 1; t <= 4; ++t) {
        oficial[t] = read_card(t);
        answer(t);
    }
    for (int card = 5; card <= 20; ++card) {
        if (card % 4 == 1) std::memset(fol, 0, sizeof fol);
        const int s = read_card(card);
        int k = own_suit_column(s);
        if (k == 0) k = broken_column();
        if (k == 0) k = column_to_break();
        fol[k] = 1;
        answer(k);
    }
    return 0;
}
