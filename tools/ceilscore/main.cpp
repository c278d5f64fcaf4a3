// ceilscore: the best score that a deal allows, printed as the game record
// of the first board that reaches it.
#include <cstdio>
#include <string>

#include "tools/ceilscore/search.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "ceilscore: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Sintaxă: ceilscore <fișier>\n", stderr);
        return 1;
    }
    game::Deck deck;
    std::string error;
    if (!game::read_deck(argv[1], deck, error)) return fail(error);
    const std::string text = game::format_record(ceilscore::best_record(deck));
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        return fail("nu se poate scrie rezultatul");
    }
    return 0;
}
