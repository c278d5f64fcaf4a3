// record-view: shows a game record as a coloured table of the four columns,
// each column's category and points, and the total; or the record's error
// message. The record is game.dat of the current directory, or the file
// named, or standard input for "-". The whole record is checked before
// anything is shown; points and total are shown as written.
#include <cstdio>
#include <string>

#include "common/guarded_main.h"
#include "common/record.h"
#include "common/result.h"
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

const game::Tool TOOL = {
    .program = "record-view",
    .synopsis = "Utilizare: record-view [FIȘIER | -]\n",
    .description = "Arată o înregistrare de joc ca tabel colorat al celor patru coloane, cu categoria\n"
                   "și punctele fiecărei coloane și scorul total; sau mesajul unui joc încheiat cu\n"
                   "o greșeală.\n",
    .operands = {{"FIȘIER", "înregistrarea de arătat (implicit game.dat din directorul curent)"},
                 {"-", "citește înregistrarea de pe intrarea standard"}},
};

constexpr const char* DEFAULT_RECORD = "game.dat";

game::Result<game::GameRecord> read_record_operand(const std::string& operand) {
    game::GameRecord record;
    std::string error;
    const bool read = operand == game::STANDARD_INPUT
                          ? game::read_record(stdin, game::STANDARD_INPUT_NAME, record, error)
                          : game::read_record(operand, record, error);
    if (!read) return game::failure(error);
    return record;
}

game::Status show(const game::GameRecord& record) {
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
    if (std::fflush(stdout) != 0) return game::failure("nu se poate scrie afișarea");
    return {};
}

int run(int argc, char** argv) {
    const game::CommandLine line = game::parse_command_line(TOOL, argc, argv);
    if (const auto answered = game::answer(TOOL, line)) return *answered;
    if (line.operands.size() > 1) return game::usage_error(TOOL, "argument în plus: " + line.operands[1]);
    const game::Result<game::GameRecord> record =
        read_record_operand(line.operands.empty() ? DEFAULT_RECORD : line.operands[0]);
    if (!record) return game::tool_failure(TOOL, record.error());
    if (const game::Status shown = show(*record); !shown) return game::tool_failure(TOOL, shown.error());
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(TOOL.program, run, argc, argv); }
