// The best-arrangement search on one fixed deal: in-process, and as a whole
// process (start, read the deck file, search, print). The same program run
// with no argument, which only starts and prints its usage, is the baseline.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/process.h"
#include "tools/ceilscore/search.h"

namespace {

constexpr int BOARDS = 24 * 24 * 24 * 24;
constexpr int CODES[game::DECK_SIZE] = {5, 18, 22, 15, 7, 14, 23, 21, 6, 19, 13, 16,
                                        8, 0,  9,  11, 3, 17, 2,  1,  20, 12, 4,  10};

game::Deck fixed_deck() {
    game::Deck deck{};
    for (int i = 0; i < game::DECK_SIZE; ++i) deck[i] = game::card_of_code(CODES[i]);
    return deck;
}

void full_search(benchmark::State& state) {
    const game::Deck deck = fixed_deck();
    for (auto _ : state) benchmark::DoNotOptimize(ceilscore::best_record(deck));
    state.counters["per_board"] =
        benchmark::Counter(BOARDS, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(full_search)->Unit(benchmark::kMillisecond);

// Runs the program to its end; false with a message when it fails.
bool run_once(const std::vector<std::string>& argv, int expected_status, std::string& error) {
    const game::Result<proc::CommandResult> result = proc::run_command(argv, "", "", 10000);
    if (!result) {
        error = result.error();
        return false;
    }
    if (!result->exit.signalled && result->exit.code == expected_status) return true;
    error = argv[0] + ": " + proc::describe(result->exit) + " " + result->err;
    return false;
}

double children_cpu_seconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Besides the wall time, the processor time of the program itself, which a
// busy machine inflates far less.
void whole_process(benchmark::State& state, const std::vector<std::string>& argv, int expected_status) {
    std::string error;
    const double cpu_before = children_cpu_seconds();
    for (auto _ : state) {
        if (!run_once(argv, expected_status, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    state.counters["program_cpu"] =
        benchmark::Counter(children_cpu_seconds() - cpu_before, benchmark::Counter::kAvgIterations);
}

std::string write_deck_file() {
    char path[] = "/tmp/bench-ceilscore-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) std::abort();
    std::string text;
    for (int code : CODES) text += std::to_string(code) + " ";
    text += "\n";
    if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
    ::close(fd);
    return path;
}

const std::string PROGRAM = std::string(GAME_BIN_DIR) + "/ceilscore";

}  // namespace

int main(int argc, char** argv) {
    const std::string deck_path = write_deck_file();
    benchmark::RegisterBenchmark("whole_process/start_only", whole_process, std::vector<std::string>{PROGRAM}, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("whole_process/fixed_deck", whole_process,
                                 std::vector<std::string>{PROGRAM, deck_path}, 0)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(deck_path.c_str());
    return 0;
}
