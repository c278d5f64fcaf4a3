// record-view: shows a game record as a coloured table of the four columns,
// each column's category and points, and the total; or the record's error
// message. The record is game.dat of the current directory, or the file
// named, or standard input for "-". The whole record is checked before
// anything is shown; points and total are shown as written.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

#include "common/guarded_main.h"
#include "common/int_scanner.h"
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

// Row n shows each column's card of round n. Without colour every cell
// keeps its width: the escapes take no room on the screen.
void print_table(bool coloured) {
    for (int n = 0; n < HAND_SIZE; ++n) {
        for (int c = 0; c < COLUMNS; ++c) {
            const card& shown = board[c][n];
            if (coloured) {
                std::printf("\033[%dm%2s%s\033[0m ", SUIT_COLORS[shown.suit], RANK_NAMES[shown.rank],
                            SUIT_ICONS[shown.suit]);
            } else {
                std::printf("%2s%s ", RANK_NAMES[shown.rank], SUIT_ICONS[shown.suit]);
            }
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
    .synopsis = "Utilizare: record-view [--color MOD] [FIȘIER | -]\n",
    .description = "Arată o înregistrare de joc ca tabel colorat al celor patru coloane, cu\n"
                   "categoria și punctele fiecărei coloane și scorul total; sau mesajul unui joc\n"
                   "încheiat cu o greșeală.\n",
    .options = {{"color", "MOD",
                 "când se colorează: always (implicit), never sau auto (doar pe un\n"
                 "terminal); cu NO_COLOR nevid în mediu, implicit never"}},
    .operands = {{"FIȘIER", "înregistrarea de arătat (implicit game.dat din directorul curent)"},
                 {"-", "citește înregistrarea de pe intrarea standard"}},
};

constexpr const char* DEFAULT_RECORD = "game.dat";

// Colour by default, which scripts rely on; NO_COLOR set and not empty makes
// the default none, and --color overrides both.
game::Result<bool> colour_wanted(const game::CommandLine& line) {
    const std::optional<std::string> mode = line.value("color");
    if (!mode) {
        const char* no_color = std::getenv("NO_COLOR");
        return no_color == nullptr || *no_color == '\0';
    }
    if (*mode == "always") return true;
    if (*mode == "never") return false;
    if (*mode == "auto") return isatty(STDOUT_FILENO) == 1;
    return game::failure("opțiunea --color primește always, never sau auto, nu „" + game::printable(*mode) + "”");
}

game::Result<game::GameRecord> read_record_operand(const std::string& operand) {
    if (operand == game::STANDARD_INPUT) return game::read_record(stdin, game::STANDARD_INPUT_NAME);
    return game::read_record(operand);
}

game::Status show(const game::GameRecord& record, bool coloured) {
    if (record.status != 0) {
        // A message that ends with its line feed is followed by an empty line.
        // Written as bytes: a NUL inside the message must not cut it short.
        std::fwrite(record.message.data(), 1, record.message.size(), stdout);
        std::putchar('\n');
    } else {
        place_cards(record.cards);
        print_table(coloured);
        print_summary(record);
    }
    if (std::fflush(stdout) != 0) return game::failure("nu se poate scrie afișarea");
    return {};
}

int run(int argc, char** argv) {
    const game::CommandLine line = game::parse_command_line(TOOL, argc, argv);
    if (const auto answered = game::answer(TOOL, line)) return *answered;
    if (line.operands.size() > 1) return game::usage_error(TOOL, "argument în plus: " + line.operands[1]);
    const game::Result<bool> coloured = colour_wanted(line);
    if (!coloured) return game::usage_error(TOOL, coloured.error());
    const game::Result<game::GameRecord> record =
        read_record_operand(line.operands.empty() ? DEFAULT_RECORD : line.operands[0]);
    if (!record) return game::tool_failure(TOOL, record.error());
    if (const game::Status shown = show(*record, *coloured); !shown) return game::tool_failure(TOOL, shown.error());
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(TOOL.program, run, argc, argv); }
