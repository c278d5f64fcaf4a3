// match: every player on the same deals, measured against the ceiling.
// Exit status 0: every game was played to the end; 1: some games faulted
// (they are counted and named, never scored); 2: usage error, a player that
// cannot be started, or a file that cannot be written; 130: interrupted.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "referee/cli.h"
#include "common/files.h"
#include "common/guarded_main.h"
#include "match/match.h"
#include "match/match_report.h"
#include "common/process.h"
#include "match/progress.h"
#include "referee/shuffle.h"

namespace {

constexpr const char* PROGRAM = "match";
constexpr const char* DEFAULT_PLAYERS[] = {"zarvel-002", "ev-player", "ev-player-anchored", "tally-player",
                                           "suit-player"};
constexpr const char* USAGE =
    "Utilizare: match [--deals N] [--seed S] [--jobs J] [--timeout-ms T] [--csv FIȘIER]\n"
    "                 [--records DIR] [--svg FIȘIER] [--no-ceiling] [JUCĂTOR ...]\n"
    "  --deals N       câte împărțiri (implicit 200); fiecare jucător le joacă pe toate\n"
    "  --seed S        sămânța meciului (implicit: una nouă, afișată)\n"
    "  --jobs J        jocuri în paralel (implicit: numărul de nuclee)\n"
    "  --timeout-ms T  cât se așteaptă fiecare răspuns (implicit 10000)\n"
    "  --csv FIȘIER    un rând pe joc\n"
    "  --records DIR   păstrează înregistrarea fiecărui joc (pentru record-view)\n"
    "  --svg FIȘIER    distribuția scorurilor fiecărui jucător lângă plafon\n"
    "  --no-ceiling    fără plafon (ceilscore)\n"
    "Fără jucători: cei cinci construiți lângă match.\n";

struct Options {
    match::MatchConfig config;
    bool has_seed = false;
    bool ceiling = true;
    std::string csv_path, svg_path;
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
            std::exit(0);
        } else if (arg == "--deals") {
            options.config.deals = static_cast<int>(number(arg, value(), 1, 1'000'000));
        } else if (arg == "--seed") {
            options.config.seed = number(arg, value(), 0, UINT64_MAX);
            options.has_seed = true;
        } else if (arg == "--jobs") {
            options.config.jobs = static_cast<int>(number(arg, value(), 1, 256));
        } else if (arg == "--timeout-ms") {
            options.config.timeout_ms = static_cast<int>(number(arg, value(), 1, 3'600'000));
        } else if (arg == "--csv") {
            options.csv_path = value();
        } else if (arg == "--records") {
            options.config.records_dir = value();
        } else if (arg == "--svg") {
            options.svg_path = value();
        } else if (arg == "--no-ceiling") {
            options.ceiling = false;
        } else if (arg.starts_with("-")) {
            usage_error("opțiune necunoscută: " + arg);
        } else {
            options.players.push_back(arg);
        }
    }
    return options;
}

std::string own_directory() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

// A path the player can be started by from any working directory: a bare
// name is one of ours if we have it, else looked up in PATH.
std::string resolve(const std::string& given, const std::string& ours) {
    if (given.find('/') == std::string::npos) {
        const std::string beside = ours + "/" + given;
        return ::access(beside.c_str(), X_OK) == 0 ? beside : given;
    }
    std::error_code failed;
    const auto absolute = std::filesystem::absolute(given, failed);
    return failed ? given : absolute.lexically_normal().string();
}

// Starts the program once and stops it at once: a path that is not an
// executable is found before any game is played. Empty when it starts.
std::string start_problem(const std::string& path, const std::string& scratch) {
    struct stat info{};
    if (path.find('/') != std::string::npos && (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) {
        return path + ": nu este un program";
    }
    proc::Process child;
    std::string error;
    return child.start({path}, proc::SpawnOptions{scratch, true}, error) == proc::Started::yes ? "" : error;
}

// A label no other player and not the ceiling has: the file name, and a
// number after it for a second player of the same file name.
std::string unique_label(const std::string& wanted, const std::vector<match::Player>& taken) {
    auto used = [&](const std::string& label) {
        return label == match::CEILING_LABEL ||
               std::any_of(taken.begin(), taken.end(), [&](const match::Player& p) { return p.name == label; });
    };
    std::string label = wanted;
    for (int n = 2; used(label); ++n) label = wanted + "-" + std::to_string(n);
    return label;
}

std::vector<match::Player> players_of(const Options& options, const std::string& ours) {
    std::vector<std::string> given = options.players;
    if (given.empty()) given.assign(std::begin(DEFAULT_PLAYERS), std::end(DEFAULT_PLAYERS));
    std::vector<match::Player> players;
    for (const std::string& name : given) {
        const std::string label = unique_label(std::filesystem::path(name).filename().string(), players);
        players.push_back({label, resolve(name, ours)});
    }
    return players;
}

// Every output asked for is checked before the first game, not after the last.
void check_outputs(const Options& options) {
    std::string error;
    for (const std::string& path : {options.csv_path, options.svg_path}) {
        if (!path.empty() && !game::check_writable(path, error)) referee::die(PROGRAM, error, 2);
    }
    const std::string& records = options.config.records_dir;
    if (!records.empty() && !game::prepare_folder(records, error)) referee::die(PROGRAM, error, 2);
}

// Where every game gets a directory of its own: absolute, so that a game or
// a ceiling finds its files whatever its working directory, and removed with
// everything in it however the match ends.
class ScratchRoot {
public:
    ScratchRoot() = default;
    ~ScratchRoot() { remove(); }
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    bool make(std::string& error) {
        const char* tmpdir = std::getenv("TMPDIR");
        const std::string base = tmpdir && *tmpdir ? tmpdir : "/tmp";
        std::error_code failed;
        std::string pattern = (std::filesystem::absolute(base, failed) / "match-XXXXXX").string();
        if (failed || !::mkdtemp(pattern.data())) {
            error = base + ": nu se poate crea un director temporar: " +
                    (failed ? failed.message() : std::string(std::strerror(errno)));
            return false;
        }
        path_ = pattern;
        return true;
    }
    void remove() {
        std::string error;
        if (!path_.empty() && !game::remove_tree(path_, error)) std::fprintf(stderr, "%s: %s\n", PROGRAM, error.c_str());
        path_.clear();
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

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

int run(int argc, char** argv) {
    Options options = parse(argc, argv);
    if (!proc::catch_interrupts()) referee::die(PROGRAM, "nu se pot prinde semnalele de întrerupere", 2);
    match::MatchConfig& config = options.config;
    const std::string ours = own_directory();
    config.players = players_of(options, ours);
    config.ceiling = options.ceiling;
    if (!options.has_seed) config.seed = referee::fresh_seed();
    check_outputs(options);

    ScratchRoot scratch;
    std::string error;
    if (!scratch.make(error)) return fail(error, 2);
    config.scratch_dir = scratch.path();
    for (const match::Player& player : config.players) {
        const std::string problem = start_problem(player.path, config.scratch_dir);
        if (!problem.empty()) return fail(problem, 2);
    }

    std::fprintf(stderr, "%s: %d împărțiri, sămânța %llu, %zu jucători, %d fire%s\n", PROGRAM, config.deals,
                 static_cast<unsigned long long>(config.seed), config.players.size(), config.jobs,
                 config.ceiling ? "" : ", fără plafon");
    const std::size_t per_deal = config.players.size() + (config.ceiling ? 1 : 0);
    match::Progress progress(per_deal * static_cast<std::size_t>(config.deals));
    const match::MatchRun run = match::run_match(config, [&] { progress.step(); });
    progress.finish();
    scratch.remove();
    if (run.interrupted) return fail("întrerupt; nimic nu a fost scris", 128 + proc::interrupt_signal());
    if (!run.harness_error.empty()) return fail(run.harness_error, 2);

    // The tables first: a file that cannot be written does not take them with it.
    std::fputs(match::match_table(config, run.deals).c_str(), stdout);
    bool kept = game::flush_standard_output(error) || fail(error, false);
    kept = write_output(options.csv_path, match::match_csv(config, run.deals)) && kept;
    kept = write_output(options.svg_path, match::match_svg(config, run.deals)) && kept;
    if (run.record_failures > 0) {
        kept = fail(std::to_string(run.record_failures) + " înregistrări nu au putut fi scrise; prima: " +
                        run.first_record_failure,
                    false);
    }
    if (!kept) return 2;

    for (const match::DealOutcome& deal : run.deals) {
        for (const match::GameOutcome& game : deal.games) {
            if (game.fault != match::Fault::none) return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
