// hand-census: how often each hand category occurs among all five-card
// hands of the deck, and how many times rarer than one pair it is. Its
// output is English; its usage is Romanian like every program's.
#include <cstdio>

#include "common/guarded_main.h"
#include "common/cards.h"
#include "common/usage.h"
#include "tools/census/eval_hand.h"

namespace {

using census::card;

card d[game::DECK_SIZE];  // entry 4 * rank + suit holds that card
card h[game::HAND_SIZE];
int f[game::CATEGORIES];
constexpr const auto& s = game::CATEGORY_NAMES_EN;

const game::Tool TOOL = {
    .program = "hand-census",
    .synopsis = "Utilizare: hand-census\n",
    .description = "Numără categoriile de mână peste toate cele 42504 mâini de cinci cărți ale\n"
                   "pachetului și arată de câte ori e fiecare mai rară decât o pereche. Nu primește\n"
                   "argumente; ieșirea e în engleză.\n",
};

void fill_deck() {
    for (int i = 0; i < game::RANKS; ++i) {
        for (int j = 0; j < game::SUITS; ++j) d[4 * i + j] = card{i, j};
    }
}

// Every set of five positions a < b < c < e < g once, in lexicographic order.
int count_hands() {
    int hands = 0;
    for (int a = 0; a < 20; ++a) {
        for (int b = a + 1; b < 21; ++b) {
            for (int c = b + 1; c < 22; ++c) {
                for (int e = c + 1; e < 23; ++e) {
                    for (int g = e + 1; g < 24; ++g) {
                        h[0] = d[a];
                        h[1] = d[b];
                        h[2] = d[c];
                        h[3] = d[e];
                        h[4] = d[g];
                        ++f[census::evalHand(h)];
                        ++hands;
                    }
                }
            }
        }
    }
    return hands;
}

int run(int argc, char** argv) {
    const game::CommandLine line = game::parse_command_line(TOOL, argc, argv);
    if (const auto answered = game::answer(TOOL, line)) return *answered;
    if (!line.operands.empty()) return game::usage_error(TOOL, "argument în plus: " + line.operands[0]);
    fill_deck();
    std::printf("%d hands\n", count_hands());
    for (int i = 0; i < game::CATEGORIES; ++i) {
        std::printf("%d %s (multiplier %.2f)\n", f[i], s[i], static_cast<double>(f[1]) / static_cast<double>(f[i]));
    }
    if (std::fflush(stdout) != 0) return game::tool_failure(TOOL, "cannot write the output");
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(TOOL.program, run, argc, argv); }
