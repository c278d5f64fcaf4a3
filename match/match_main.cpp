// match: every player on the same deals, measured against the ceiling.
// Exit status 0: every game was played to the end; 1: some games faulted
// (they are counted and named, never scored); 2: usage error, a player that
// cannot be started, a file that cannot be written, or the match's own
// failure; 128 + the signal when interrupted.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "common/files.h"
#include "common/guarded_main.h"
#include "common/process.h"
#include "match/csv.h"
#include "match/json.h"
#include "match/match.h"
#include "match/players.h"
#include "match/progress.h"
#include "match/scratch.h"
#include "match/summary.h"
#include "match/svg.h"
#include "match/tables.h"
#include "match/wording.h"
#include "referee/cli.h"
#include "referee/shuffle.h"

namespace {

constexpr const char* PROGRAM = "match";
constexpr const char* DEFAULT_PLAYERS[] = {"zarvel-002", "ev-player", "ev-player-anchored", "tally-player",
                                           "suit-player"};
constexpr const char* USAGE =
    "Utilizare: match [--deals N] [--seed S] [--jobs J] [--timeout-ms T] [--no-ceiling]\n"
    "                 [--csv FIȘIER] [--json FIȘIER] [--svg FIȘIER] [--records DIR]\n"
    "                 [--quiet] [JUCĂTOR ...]\n"
    "  --deals N       câte împărțiri (implicit 200); fiecare jucător le joacă pe toate\n"
    "  --seed S        sămânța meciului (implicit: una nouă, afișată)\n"
    "  --jobs J        jocuri în paralel (implicit: numărul de nuclee)\n"
    "  --timeout-ms T  cât se așteaptă fiecare răspuns (implicit 10000)\n"
    "  --no-ceiling    fără plafon (cel mai bun scor al fiecărei împărțiri)\n"
    "  --csv FIȘIER    un rând pe joc\n"
    "  --json FIȘIER   tot rezumatul: setări, statistici, diferențe, greșeli\n"
    "  --svg FIȘIER    distribuția scorurilor fiecărui jucător lângă plafon\n"
    "  --records DIR   păstrează înregistrarea fiecărui joc (pentru record-view)\n"
    "  --quiet         fără linia de progres\n"
    "Un JUCĂTOR este o COMANDĂ sau NUME=COMANDĂ; comanda poate avea argumente, ca\n"
    "un singur cuvânt al shell-ului despărțit la spații (fără shell):\n"
    "  match \"lacom=bin/ev-player\" \"prudent=./jucator --risc 2\"\n"
    "Fără jucători: cei cinci construiți lângă match.\n";

struct Options {
    match::MatchConfig config;
    bool has_seed = false;
    bool quiet = false;
    std::string csv_path, json_path, svg_path;
    std::vector<std::string> players;
};

[[noreturn]] void usage_error(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n%s", PROGRAM, message.c_str(), USAGE);
    std::exit(2);
}

std::uint64_t number(const std::string& option, const std::string& text, std::uint64_t min, std::uint64_t max) {
    std::uint64_t value = 0;
    if (!referee::parse_number(text, min, max, value)) {
        usage_error("valoare invalidă pentru " + option + " (" + std::to_string(min) + ".." + std::to_string(max) +
                    "): " + text);
    }
    return value;
}

Options parse(int argc, char** argv) {
    Options options;
    options.config.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage_error("lipsește valoarea pentru " + arg);
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            std::exit(std::fflush(stdout) == 0 ? 0 : 1);
        } else if (arg == "--deals") {
            options.config.deals = static_cast<int>(number(arg, value(), 1, 1'000'000));
        } else if (arg == "--seed") {
            options.config.seed = number(arg, value(), 0, UINT64_MAX);
            options.has_seed = true;
        } else if (arg == "--jobs") {
            options.config.jobs = static_cast<int>(number(arg, value(), 1, 256));
        } else if (arg == "--timeout-ms") {
            options.config.timeout_ms = static_cast<int>(number(arg, value(), 1, 3'600'000));
        } else if (arg == "--no-ceiling") {
            options.config.ceiling = false;
        } else if (arg == "--csv") {
            options.csv_path = value();
        } else if (arg == "--json") {
            options.json_path = value();
        } else if (arg == "--svg") {
            options.svg_path = value();
        } else if (arg == "--records") {
            options.config.records_dir = value();
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg.starts_with("-")) {
            usage_error("opțiune necunoscută: " + arg);
        } else {
            options.players.push_back(arg);
        }
    }
    return options;
}

// Starts the player once and stops it at once: a program that cannot be run
// is found before any game is played. Empty when it starts.
std::string start_problem(const match::Player& player, const std::string& scratch) {
    const std::string& path = player.command[0];
    struct stat info {};
    if (path.find('/') != std::string::npos && (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) {
        return path + ": nu este un program";
    }
    proc::Process child;
    std::string error;
    return child.start(player.command, proc::SpawnOptions{scratch, true}, error) == proc::Started::yes ? "" : error;
}

// Every output asked for is checked before the first game, not after the last.
void check_outputs(const Options& options) {
    std::string error;
    for (const std::string& path : {options.csv_path, options.json_path, options.svg_path}) {
        if (!path.empty() && !game::check_writable(path, error)) referee::die(PROGRAM, error, 2);
    }
    const std::string& records = options.config.records_dir;
    if (!records.empty() && !game::prepare_folder(records, error)) referee::die(PROGRAM, error, 2);
}

// Tells what went wrong and gives back the status (or the verdict) to return.
template <typename Status>
Status fail(const std::string& message, Status status) {
    std::fprintf(stderr, "%s: %s\n", PROGRAM, message.c_str());
    return status;
}

bool write_output(const std::string& path, const std::string& content) {
    std::string error;
    return path.empty() || game::replace_file(path, content, error) || fail(error, false);
}

// The results: the tables first, so that a file that cannot be written does
// not take them with it; then every file asked for. False when something is lost.
bool show_results(const Options& options, const match::MatchRun& run, double seconds) {
    const match::MatchConfig& config = options.config;
    const match::MatchSummary summary = match::summarize_match(config, run.deals);
    std::string text = match::match_tables(summary);
    text += "\nTimp: " + match::fixed(seconds, 1) + " s, " +
            match::fixed(seconds > 0 ? config.deals / seconds : 0, 1) + " împărțiri pe secundă\n";
    std::fputs(text.c_str(), stdout);
    std::string error;
    bool kept = game::flush_standard_output(error) || fail(error, false);
    kept = write_output(options.csv_path, match::match_csv(config, run.deals)) && kept;
    kept = write_output(options.json_path, match::match_json(config, summary)) && kept;
    kept = write_output(options.svg_path, match::match_svg(summary, config.seed)) && kept;
    if (run.record_failures > 0) {
        kept = fail(std::to_string(run.record_failures) + " înregistrări nu au putut fi scrise; prima: " +
                        run.first_record_failure,
                    false);
    }
    return kept;
}

bool any_fault(const std::vector<match::DealOutcome>& deals) {
    return std::any_of(deals.begin(), deals.end(), [](const match::DealOutcome& deal) {
        return std::any_of(deal.games.begin(), deal.games.end(),
                           [](const match::GameOutcome& game) { return game.fault != match::Fault::none; });
    });
}

int run(int argc, char** argv) {
    Options options = parse(argc, argv);
    if (!proc::catch_interrupts()) referee::die(PROGRAM, "nu se pot prinde semnalele de întrerupere", 2);
    match::MatchConfig& config = options.config;
    std::string error;
    std::vector<std::string> given = options.players;
    if (given.empty()) given.assign(std::begin(DEFAULT_PLAYERS), std::end(DEFAULT_PLAYERS));
    if (!match::players_from(given, config.players, error)) usage_error(error);
    if (!options.has_seed) config.seed = referee::fresh_seed();
    check_outputs(options);

    match::ScratchRoot scratch;
    if (!scratch.make(error)) return fail(error, 2);
    config.scratch_dir = scratch.path();
    for (const match::Player& player : config.players) {
        const std::string problem = start_problem(player, config.scratch_dir);
        if (!problem.empty()) return fail(problem, 2);
    }

    std::fprintf(stderr, "%s: %s, sămânța %llu, %s, %s%s\n", PROGRAM,
                 match::count_of(config.deals, match::DEALS_NOUN).c_str(),
                 static_cast<unsigned long long>(config.seed),
                 match::count_of(static_cast<long long>(config.players.size()), match::PLAYERS_NOUN).c_str(),
                 match::count_of(config.jobs, match::THREADS_NOUN).c_str(), config.ceiling ? "" : ", fără plafon");
    match::Progress progress(static_cast<std::size_t>(config.deals), !options.quiet);
    const match::MatchRun run = match::run_match(config, [&](int) { progress.step(); });
    progress.finish();
    if (!scratch.remove(error)) fail(error, 0);
    if (run.interrupted) return fail("întrerupt; nimic nu a fost scris", 128 + proc::interrupt_signal());
    if (!run.harness_error.empty()) return fail(run.harness_error, 2);
    if (!show_results(options, run, progress.elapsed_seconds())) return 2;
    return any_fault(run.deals) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
