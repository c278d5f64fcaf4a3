#include "players/tally/tally.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/player_io.h"

namespace tally {

int carte;
int simbol;

namespace {

constexpr std::size_t TOKEN_MAX = 3;  // "10H", the longest card token
constexpr int LEVELS = 5;
constexpr int COLUMNS = 4;

int carti[100];                     // rank code by the character code of a token's first byte
int simboluri[100];                 // suit code by the character code of the suit letter
char c[TOKEN_MAX + 1];              // the token just read

int jocc[LEVELS + 1][COLUMNS + 1];  // rank codes, [level][column]
int jocs[LEVELS + 1][COLUMNS + 1];  // suit codes; the choice of a column never reads them
unsigned char tura[COLUMNS + 1];    // tura[1..4]: the column has its card of this round
int nivel;                          // level of the card being placed

std::FILE* in;
std::FILE* out;

// Bytes past the end of a table are unknown characters like any other.
template <std::size_t N>
int code_in(const int (&table)[N], char byte) {
    const unsigned char index = static_cast<unsigned char>(byte);
    return index < N ? table[index] : 0;
}

// Character codes as indexes: a char subscript could be negative.
template <std::size_t N>
void list_code(int (&table)[N], char byte, int code) {
    table[static_cast<unsigned char>(byte)] = code;
}

void afisare(int column) {
    std::fprintf(out, "%d\n", column);
    std::fflush(out);
}

// Reads card `number` (1..20) into c, carte and simbol.
game::Status read_card(int number) {
    const game::Result<std::size_t> length = game::read_card_token(in, c, TOKEN_MAX, number);
    if (!length) return game::failure(length.error());
    decode_card(std::string_view(c, *length));
    return {};
}

int tied_columns(const int (&tally)[COLUMNS + 1], int best) {
    int count = 0;
    for (int k = 1; k <= COLUMNS; ++k) {
        if (!tura[k] && tally[k] == best) ++count;
    }
    return count;
}

int highest_free_column() {
    int chosen = 0;
    for (int k = 1; k <= COLUMNS; ++k) {
        if (!tura[k]) chosen = k;
    }
    return chosen;
}

}  // namespace

void initi() {
    std::memset(carti, 0, sizeof carti);
    list_code(carti, '9', 9);
    list_code(carti, '1', 10);  // the first byte of "10"
    list_code(carti, 'J', 12);
    list_code(carti, 'Q', 13);
    list_code(carti, 'K', 14);
    list_code(carti, 'A', 15);
    std::memset(simboluri, 0, sizeof simboluri);
    list_code(simboluri, 'C', 1);
    list_code(simboluri, 'D', 2);
    list_code(simboluri, 'H', 3);
    list_code(simboluri, 'S', 4);
    std::memset(jocc, 0, sizeof jocc);
    std::memset(jocs, 0, sizeof jocs);
    verif_combinatii();
    nivel = 2;
}

void decode_card(std::string_view token) {
    carte = code_in(carti, token[0]);
    const std::size_t suit_at = token[0] == '1' ? 2 : 1;
    simbol = suit_at < token.size() ? code_in(simboluri, token[suit_at]) : 0;
}

int rank_tally(int column) {
    int count = 0;
    for (int l = 1; l <= nivel; ++l) {
        if (jocc[l][column] == carte) ++count;
    }
    return count;
}

int alege_coloana() {
    int tally[COLUMNS + 1] = {};
    int best = -1;
    int choice = 1;
    for (int k = 1; k <= COLUMNS; ++k) {
        if (tura[k]) continue;
        tally[k] = rank_tally(k);
        if (tally[k] > best) {
            best = tally[k];
            choice = k;
        }
    }
    // In the third round a tie over a rank already three times on the board
    // goes to the highest free column, tied or not.
    if (nivel == 3 && tied_columns(tally, best) >= 2 && dubla_posibila() >= 3) choice = highest_free_column();
    return choice;
}

void aseaza(int level, int column) {
    tura[column] = 1;
    jocc[level][column] = carte;
    jocs[level][column] = simbol;
}

int dubla_posibila() {
    int count = 0;
    for (int l = 1; l <= LEVELS; ++l) {
        for (int k = 1; k <= COLUMNS; ++k) {
            if (jocc[l][k] == carte) ++count;
        }
    }
    return count;
}

void verif_combinatii() { std::memset(tura, 0, sizeof tura); }

game::Status play(std::FILE* input, std::FILE* output) {
    in = input;
    out = output;
    initi();
    // The first round fills level 1 in fixed order, without a tally.
    for (int t = 1; t <= COLUMNS; ++t) {
        if (const game::Status read = read_card(t); !read) return read;
        aseaza(1, t);
        afisare(t);
    }
    verif_combinatii();
    for (int card = COLUMNS + 1; card <= LEVELS * COLUMNS; ++card) {
        if (const game::Status read = read_card(card); !read) return read;
        const int k = alege_coloana();
        aseaza(nivel, k);
        afisare(k);
        if (card % COLUMNS == 0) {
            ++nivel;
            verif_combinatii();
        }
    }
    return {};
}

}  // namespace tally
