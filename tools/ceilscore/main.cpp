// ceilscore: the best score that a deal allows, printed as the game record
// of the first board that reaches it. The deck comes from a file, or from
// standard input when the file is "-".
#include <cstdio>
#include <string>

#include "common/guarded_main.h"
#include "common/deck_file.h"
#include "common/result.h"
#include "common/usage.h"
#include "tools/ceilscore/search.h"

namespace {

const game::Tool TOOL = {
    .program = "ceilscore",
    .synopsis = "Utilizare: ceilscore FIȘIER\n"
                "       ceilscore -\n",
    .description = "Cel mai bun scor pe care îl permite o împărțire: scrie pe ieșirea standard\n"
                   "înregistrarea jocului primei așezări care îl atinge.\n",
    .operands = {{"FIȘIER", "fișierul de pachet: 24 de coduri 0..23, în ordinea împărțirii"},
                 {"-", "citește pachetul de pe intrarea standard"}},
    .epilogue = "Exemplu: ceilscore pachet.txt | record-view -\n",
    // Its command line has always ended a usage error with status 1.
    .usage_status = 1,
};

// What a wrong number of operands gets, as it always has.
constexpr const char* SYNTAX = "Sintaxă: ceilscore <fișier>\n";

game::Result<game::Deck> read_deck_operand(const std::string& operand) {
    if (operand == game::STANDARD_INPUT) return game::read_deck(stdin, game::STANDARD_INPUT_NAME);
    return game::read_deck(operand);
}

game::Status print_best_record(const game::Deck& deck) {
    const std::string text = game::format_record(ceilscore::best_record(deck));
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        return game::failure("nu se poate scrie rezultatul");
    }
    return {};
}

int run(int argc, char** argv) {
    const game::CommandLine line = game::parse_command_line(TOOL, argc, argv);
    if (const auto answered = game::answer(TOOL, line)) return *answered;
    if (line.operands.size() != 1) {
        std::fputs(SYNTAX, stderr);
        return TOOL.usage_status;
    }
    const game::Result<game::Deck> deck = read_deck_operand(line.operands[0]);
    if (!deck) return game::tool_failure(TOOL, deck.error());
    const game::Status printed = print_best_record(*deck);
    if (!printed) return game::tool_failure(TOOL, printed.error());
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(TOOL.program, run, argc, argv); }
