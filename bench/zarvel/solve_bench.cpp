// The look-ahead search at the first card of a game, its heaviest turn: four
// empty columns, 23 unseen cards, 4 x C(23, 4) = 35,420 columns scored.
#include <benchmark/benchmark.h>

#include "players/zarvel/player_cards.h"
#include "players/zarvel/search.h"

namespace {

constexpr int EVALUATIONS_AT_FIRST_CARD = 4 * 8855;

void solve_first_card(benchmark::State& state) {
    const zarvel::Board board;
    const zarvel::Legal legal = {0, 1, 2, 3};
    const zarvel::Card card = *zarvel::transforma("AS");
    for (auto _ : state) {
        zarvel::generate_available_cards();  // 24 stores, to put the card back
        benchmark::DoNotOptimize(zarvel::solve(card, legal, board));
    }
    state.SetItemsProcessed(state.iterations() * EVALUATIONS_AT_FIRST_CARD);
}

}  // namespace

BENCHMARK(solve_first_card)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
