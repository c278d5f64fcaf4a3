// match: every player on the same deals, measured against the ceiling; or
// (--merge) the CSVs of one match, played in parts, joined and shown whole.
// Exit status 0: every game was played to the end; 1: some games faulted
// (they are counted and named, never scored); 2: usage error, a player that
// cannot be started, a file that cannot be written or read, or the match's
// own failure; 128 + the signal when interrupted.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "common/files.h"
#include "common/guarded_main.h"
#include "common/process.h"
#include "common/programs.h"
#include "common/sandbox.h"
#include "common/scratch.h"
#include "match/csv.h"
#include "match/csv_log.h"
#include "match/decider.h"
#include "match/first_deal.h"
#include "match/match.h"
#include "match/merge.h"
#include "match/options.h"
#include "match/outputs.h"
#include "match/players.h"
#include "match/progress.h"
#include "match/replay.h"
#include "match/resume.h"
#include "match/summary.h"
#include "match/tables.h"
#include "match/wording.h"
#include "referee/shuffle.h"

namespace {

using match::DealOutcome;
using match::Options;

constexpr const char* PROGRAM = "match";
// Every player the build makes (common/programs.h is made from its list).
constexpr auto& DEFAULT_PLAYERS = game::PLAYERS;

// Tells what went wrong and gives back the status to end with.
int fail(const std::string& message, int status) {
    std::fprintf(stderr, "%s: %s\n", PROGRAM, message.c_str());
    return status;
}

// What is worth knowing but no error: --quiet keeps it back.
bool quiet = false;
void note(const std::string& message) {
    if (!quiet) fail(message, 0);
}

// Starts the player once, as its games will be, and stops it at once: a
// program that cannot be run is found before any game is played.
game::Status starts(const match::Player& player, const match::MatchConfig& config) {
    if (const std::string problem = proc::start_problem(player.command[0]); !problem.empty()) {
        return game::failure(problem);
    }
    std::string error;
    const game::ScratchDir scratch(config.scratch_dir, error);
    if (scratch.path().empty()) return game::failure(error);
    proc::Process child;
    proc::SpawnOptions spawn{scratch.path(), true};
    spawn.sandbox = config.sandbox;
    if (child.start(player.command, spawn, error) != proc::Started::yes) return game::failure(error);
    return {};
}

// The sandbox of the match's players, a cell per job; a partial sandbox is told once.
game::Status open_sandbox(const Options& options, proc::Sandbox& sandbox) {
    const game::Status opened = sandbox.open(options.sandbox, options.config.jobs, options.config.scratch_dir);
    if (opened && !sandbox.isolation().missing().empty()) {
        note("izolarea jucătorilor: " + sandbox.isolation().summary());
    }
    return opened;
}

// Every player starts, and none of them could read what the match writes.
game::Status check_players(const Options& options, const proc::Sandbox& sandbox) {
    const match::MatchConfig& config = options.config;
    std::vector<std::vector<std::string>> commands;
    for (const match::Player& player : config.players) {
        if (const game::Status started = starts(player, config); !started) return started;
        commands.push_back(player.command);
    }
    std::vector<std::string> outputs = match::files_asked_for(options);
    outputs.push_back(config.records_dir);
    if (const std::string exposed = sandbox.exposed_output(commands, outputs); !exposed.empty()) {
        return game::failure(exposed);
    }
    return {};
}

bool any_fault(const std::vector<DealOutcome>& deals) {
    return std::any_of(deals.begin(), deals.end(), [](const DealOutcome& deal) {
        return std::any_of(deal.games.begin(), deal.games.end(), [](const match::GameOutcome& game) {
            return !match::scored(game);
        });
    });
}

// ---- a match played

// What is about to be played, on standard error.
void announce(const match::MatchConfig& config, std::size_t to_play) {
    const std::size_t in_shard = match::deals_of_shard(config).size();
    const std::string counted =
        match::part_of(static_cast<long long>(to_play), static_cast<long long>(in_shard), match::DEALS_NOUN);
    std::fprintf(stderr, "%s: %s, sămânța %llu%s, %s, %s%s\n", PROGRAM, counted.c_str(),
                 static_cast<unsigned long long>(config.seed),
                 config.shard.count > 1 ? (", partea " + config.shard.text()).c_str() : "",
                 match::count_of(static_cast<long long>(config.players.size()), match::PLAYERS_NOUN).c_str(),
                 match::count_of(config.jobs, match::THREADS_NOUN).c_str(), config.ceiling ? "" : ", fără plafon");
}

// What a played match needs around its games: a scratch root, the
// sandbox's cells, the players, a resumed file read, the CSV begun.
struct Stage {
    game::ScratchRoot scratch;
    proc::Sandbox sandbox;
    std::vector<DealOutcome> done;  // the deals of a resumed file
    match::CsvLog log;
    std::string csv_path;
};

// The match of a resumed file, or the players of the command line (all the
// built ones when it names none); 0, or the status to end with.
int choose_match(Options& options, Stage& stage) {
    match::MatchConfig& config = options.config;
    if (!options.resume_path.empty()) {
        if (match::is_standard_output(options.resume_path)) {
            return fail("--resume are nevoie de un fișier, nu de ieșirea standard", 2);
        }
        game::Result<std::vector<DealOutcome>> resumed = match::resume(options, note);
        if (!resumed) return fail(resumed.error(), 2);
        stage.done = std::move(*resumed);
        options.has_seed = true;  // the file's
        return 0;
    }
    std::vector<std::string> given = options.operands;
    if (given.empty()) given.assign(std::begin(DEFAULT_PLAYERS), std::end(DEFAULT_PLAYERS));
    game::Result<std::vector<match::Player>> players = match::players_from(given);
    if (!players) return match::usage_error(players.error());
    config.players = std::move(*players);
    return 0;
}

// 0 once the stage is set; else the status to end with, the reason told.
int set_stage(Options& options, Stage& stage) {
    if (!proc::refuse_tracing()) return fail("nu se poate opri urmărirea procesului", 2);
    if (!proc::catch_interrupts()) return fail("nu se pot prinde semnalele de întrerupere", 2);
    match::MatchConfig& config = options.config;
    if (const game::Status made = stage.scratch.make(PROGRAM); !made) return fail(made.error(), 2);
    config.scratch_dir = stage.scratch.path();
    if (const game::Status opened = open_sandbox(options, stage.sandbox); !opened) return fail(opened.error(), 2);
    config.sandbox = &stage.sandbox;
    // Read, and drawn, once the cells are made: the copies of us they are hold neither the file nor the seed.
    if (const int status = choose_match(options, stage); status != 0) return status;
    if (config.decide && config.players.size() < 2) {
        return match::usage_error("--decide compară jucători: dați cel puțin doi");
    }
    // Checked before they are touched: a player could read one, and none is made.
    if (const game::Status fair = check_players(options, stage.sandbox); !fair) return fail(fair.error(), 2);
    if (const game::Status writable = match::check_outputs(options); !writable) return fail(writable.error(), 2);
    if (!options.has_seed) config.seed = referee::fresh_seed();
    stage.csv_path = options.resume_path.empty() ? options.csv_path : options.resume_path;
    // Our standard output takes the CSV whole at the end, after the tables.
    const std::string logged = match::is_standard_output(stage.csv_path) ? "" : stage.csv_path;
    if (const game::Status begun = stage.log.start(logged, match::match_csv(config, stage.done)); !begun) {
        return fail(begun.error(), 2);
    }
    return 0;
}

// How to go on with a match stopped before its end, when a file keeps it.
std::string how_to_resume(const Options& options, const Stage& stage, bool none_finished) {
    if (stage.csv_path.empty() || match::is_standard_output(stage.csv_path)) {
        return " (fără un fișier --csv, meciul nu se poate continua)";
    }
    // A CSV without a row names no match: there is nothing to resume.
    if (none_finished) return "; nicio împărțire nu s-a încheiat: meciul se pornește din nou, cu aceeași comandă";
    return "; se continuă cu: " + match::resume_command(options, stage.csv_path);
}

// The match stopped before its end: what was played, and how to go on.
int stopped(const Options& options, const Stage& stage, const match::MatchRun& run,
            const std::vector<DealOutcome>& deals, double seconds) {
    if (!deals.empty() && !options.quiet) {
        match::print_tables(options, options.config, match::summarize_match(options.config, deals), seconds);
    }
    const std::string go_on = how_to_resume(options, stage, deals.empty());
    if (run.interrupted) return fail("întrerupt" + go_on, 128 + proc::interrupt_signal());
    return fail(run.harness_error + go_on, 2);
}

int play(Options& options) {
    Stage stage;
    if (const int status = set_stage(options, stage); status != 0) return status;
    const match::MatchConfig& config = options.config;
    const std::size_t left = match::deals_left(config, stage.done).size();
    if (!options.quiet) announce(config, left);
    match::Progress progress(left, !options.quiet);
    // With --decide, the match goes on while some pair is undecided.
    std::optional<match::Decider> decider;
    if (config.decide) {
        decider.emplace(config);
        for (const DealOutcome& deal : stage.done) decider->add(deal);
    }
    const auto deal_done = [&](const DealOutcome& deal) {
        stage.log.append(match::csv_rows(config, deal));
        if (!decider) {
            progress.step();
            return true;
        }
        decider->add(deal);
        progress.tell(decider->undecided_text(config));
        progress.step();
        return !decider->all_decided();
    };
    const bool settled = decider && decider->all_decided();
    const match::Played played =
        settled ? match::Played{} : match::play_first_deal_first(config, stage.done, options.keep_going, deal_done);
    const match::MatchRun& run = played.run;
    progress.finish();
    stage.sandbox.close();
    if (const game::Status removed = stage.scratch.remove(); !removed) fail(removed.error(), 0);

    std::vector<DealOutcome> deals = stage.done;
    deals.insert(deals.end(), run.deals.begin(), run.deals.end());
    std::sort(deals.begin(), deals.end(), [](const DealOutcome& a, const DealOutcome& b) { return a.index < b.index; });
    if (run.interrupted || !run.harness_error.empty()) {
        return stopped(options, stage, run, deals, progress.elapsed_seconds());
    }
    bool kept = match::show_results(options, config, deals, progress.elapsed_seconds(),
                                    [&](const std::string& content) { return stage.log.finish(content); });
    if (run.record_failures > 0) {
        fail(std::to_string(run.record_failures) + " înregistrări nu au putut fi scrise; prima: " +
                 run.first_record_failure,
             0);
        kept = false;
    }
    if (!kept) return 2;
    if (played.broke) {
        fail("meciul s-a oprit după prima împărțire, din cauza greșelilor de mai jos (--keep-going îl joacă întreg):" +
                 match::faults_on(config, run.deals[0]),
             0);
    }
    return any_fault(deals) ? 1 : 0;
}

// ---- CSVs joined

int merge(const Options& options) {
    if (const game::Status writable = match::check_outputs(options); !writable) return fail(writable.error(), 2);
    std::vector<match::MatchCsv> files(options.operands.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        game::Result<match::MatchCsv> read = match::read_match_csv(options.operands[f]);
        if (!read) return fail(read.error(), 2);
        files[f] = std::move(*read);
        if (files[f].torn || files[f].incomplete_deals > 0) {
            note(files[f].path + ": o împărțire neîncheiată a fost lăsată deoparte");
        }
    }
    game::Result<match::Merged> joined = match::merge_csvs(files);
    if (!joined) return fail(joined.error(), 2);
    const match::Merged& merged = *joined;
    if (merged.missing_count > 0) {
        const std::string missing = "lipsesc " + match::count_of(merged.missing_count, match::DEALS_NOUN) + ": " +
                                    match::deal_ranges(merged.missing);
        if (!options.allow_missing) return fail(missing + " (--allow-missing arată ce este)", 2);
        note(missing);
    }
    const bool kept = match::show_results(options, merged.config, merged.deals, std::nullopt,
                                          [&](const std::string& content) -> game::Status {
                                              if (options.csv_path.empty()) return {};
                                              return game::replace_file(options.csv_path, content);
                                          });
    if (!kept) return 2;
    return any_fault(merged.deals) ? 1 : 0;
}

int run(int argc, char** argv) {
    auto parsed = match::parse_options(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    Options& options = std::get<Options>(parsed);
    quiet = options.quiet;
    return options.merge ? merge(options) : play(options);
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
