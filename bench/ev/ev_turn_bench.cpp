// ev-player's heaviest turn: the first card of round 1, where each of the
// four columns needs its expectation with the card (969 hands) and without
// it (3876 hands), 19380 scored hands in all.
#include <benchmark/benchmark.h>

#include "players/ev/measures.h"
#include "players/ev/unseen.h"

namespace {

void heaviest_turn(benchmark::State& state) {
    ev::initList();
    const char* const opening[ev::COLUMNS] = {"QH", "9S", "AD", "10C"};
    for (int n = 0; n < ev::COLUMNS; ++n) {
        const int c = ev::parseCard(opening[n]);
        ev::del(c);
        ev::place(ev::FRESH, n, 0, c);
    }
    const int card = ev::parseCard("KH");
    ev::del(card);
    std::fill_n(ev::free, ev::COLUMNS, true);

    const long long before = ev::scored;
    for (auto _ : state) benchmark::DoNotOptimize(ev::choose(ev::FRESH, card, 1));
    const long long hands = ev::scored - before;
    state.SetItemsProcessed(hands);
    state.counters["hands_per_turn"] = static_cast<double>(hands) / static_cast<double>(state.iterations());
}

BENCHMARK(heaviest_turn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
