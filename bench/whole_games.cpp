// Whole games through the referee's game driver on one fixed deal: process
// start, the pipes and the player's own thinking. The suit player, which
// thinks least, is the baseline the others are compared with.
#include <benchmark/benchmark.h>

#include <string>

#include "common/programs.h"
#include "referee/game_driver.h"
#include "referee/shuffle.h"

namespace {

void whole_game(benchmark::State& state, const std::string& program) {
    const game::Deck deck = referee::shuffled_deck(2026);
    const std::string path = std::string(GAME_BIN_DIR) + "/" + program;
    referee::GameResult result;
    std::string error;
    for (auto _ : state) {
        if (referee::play_game(deck, {path}, referee::GameOptions{}, result, error) != referee::Played::yes ||
            result.fault != referee::Fault::none) {
            state.SkipWithError((program + ": " + (error.empty() ? result.message : error)).c_str());
            return;
        }
    }
}

// Every player the build makes, the suit player among them.
const int registered = [] {
    for (const char* program : game::PLAYERS) {
        benchmark::RegisterBenchmark((std::string("whole_game/") + program).c_str(),
                                     [program](benchmark::State& state) { whole_game(state, program); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
    }
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
