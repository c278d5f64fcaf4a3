// ceilscore: the best score that a deal allows, printed as the game record
// of the first board that reaches it. The deck comes from a file, or from
// standard input when the file is "-".
#include <cstdio>
#include <string>
#include <vector>

#include "common/guarded_main.h"
#include "common/deck_file.h"
#include "common/usage.h"
#include "tools/ceilscore/search.h"

namespace {

constexpr game::Usage USAGE = {
    "ceilscore",
    "Utilizare: ceilscore FIȘIER\n"
    "       ceilscore -\n",
    "Cel mai bun scor pe care îl permite o împărțire: scrie pe ieșirea standard\n"
    "înregistrarea jocului primei așezări care îl atinge.\n"
    "  FIȘIER  fișierul de pachet: 24 de coduri 0..23, în ordinea împărțirii\n"
    "  -       citește pachetul de pe intrarea standard\n"
    "Exemplu: ceilscore pachet.txt | record-view -\n"};

int fail(const std::string& message) {
    std::fprintf(stderr, "ceilscore: %s\n", message.c_str());
    return 2;
}

bool read_deck_operand(const std::string& operand, game::Deck& deck, std::string& error) {
    if (operand == game::STANDARD_INPUT) return game::read_deck(stdin, game::STANDARD_INPUT_NAME, deck, error);
    return game::read_deck(operand, deck, error);
}

int run(int argc, char** argv) {
    const std::vector<std::string> operands = game::tool_operands(argc, argv, USAGE);
    if (operands.size() != 1) {
        std::fputs("Sintaxă: ceilscore <fișier>\n", stderr);
        return 1;
    }
    game::Deck deck;
    std::string error;
    if (!read_deck_operand(operands[0], deck, error)) return fail(error);
    const std::string text = game::format_record(ceilscore::best_record(deck));
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        return fail("nu se poate scrie rezultatul");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main("ceilscore", run, argc, argv); }
