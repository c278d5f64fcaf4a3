// record-view: shows a game record as a coloured table of the four columns,
// each column's category and points, and the total; or the record's error
// message. The record is game.dat of the current directory, or the file
// named, or standard input for "-". The whole record is checked before
// anything is shown; points and total are shown as written.
#include <cstdio>
#include <string>
#include <vector>

#include "common/guarded_main.h"
#include "common/record.h"
#include "common/usage.h"

namespace {

using game::COLUMNS;
using game::HAND_SIZE;

struct card {
    int rank;
    int suit;
};

card board[COLUMNS][HAND_SIZE];  // column c, slot n: the n-th card that names column c
int columnSize[COLUMNS];

constexpr const auto& RANK_NAMES = game::RANK_NAMES;
constexpr const auto& SUIT_ICONS = game::SUIT_ICONS;
constexpr const auto& SUIT_COLORS = game::SUIT_COLORS;
constexpr const auto& COMBO_NAMES = game::CATEGORY_NAMES_RO;

// The reader has checked that every column is named exactly five times.
void place_cards(const game::Deal& cards) {
    for (const game::Placement& placed : cards) {
        const int c = placed.column;
        board[c][columnSize[c]++] = card{placed.card.rank, placed.card.suit};
    }
}

// Row n shows each column's card of round n.
void print_table() {
    for (int n = 0; n < HAND_SIZE; ++n) {
        for (int c = 0; c < COLUMNS; ++c) {
            const card& shown = board[c][n];
            std::printf("\033[%dm%2s%s\033[0m ", SUIT_COLORS[shown.suit], RANK_NAMES[shown.rank],
                        SUIT_ICONS[shown.suit]);
        }
        std::printf("\n");
    }
}

void print_summary(const game::GameRecord& record) {
    for (int c = 0; c < COLUMNS; ++c) {
        std::printf("Coloana %d: %s (%d puncte)\n", c + 1, COMBO_NAMES[record.categories[c]], record.points[c]);
    }
    std::printf("Scor total: %d\n", record.total);
}

constexpr game::Usage USAGE = {
    "record-view",
    "Utilizare: record-view [FIȘIER | -]\n",
    "Arată o înregistrare de joc ca tabel colorat al celor patru coloane, cu categoria\n"
    "și punctele fiecărei coloane și scorul total; sau mesajul unui joc încheiat cu\n"
    "o greșeală.\n"
    "  FIȘIER  înregistrarea de arătat (implicit game.dat din directorul curent)\n"
    "  -       citește înregistrarea de pe intrarea standard\n"};

constexpr const char* DEFAULT_RECORD = "game.dat";

bool read_record_operand(const std::string& operand, game::GameRecord& record, std::string& error) {
    if (operand == game::STANDARD_INPUT) return game::read_record(stdin, game::STANDARD_INPUT_NAME, record, error);
    return game::read_record(operand, record, error);
}

int fail(const std::string& message) {
    std::fprintf(stderr, "record-view: %s\n", message.c_str());
    return 2;
}

int run(int argc, char** argv) {
    const std::vector<std::string> operands = game::tool_operands(argc, argv, USAGE);
    if (operands.size() > 1) game::usage_error(USAGE, "argument în plus: " + operands[1]);
    game::GameRecord record;
    std::string error;
    if (!read_record_operand(operands.empty() ? DEFAULT_RECORD : operands[0], record, error)) return fail(error);
    if (record.status != 0) {
        // A message that ends with its line feed is followed by an empty line.
        // Written as bytes: a NUL inside the message must not cut it short.
        std::fwrite(record.message.data(), 1, record.message.size(), stdout);
        std::putchar('\n');
    } else {
        place_cards(record.cards);
        print_table();
        print_summary(record);
    }
    if (std::fflush(stdout) != 0) return fail("nu se poate scrie afișarea");
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main("record-view", run, argc, argv); }
