// referee: plays one game between a shuffled deck and one player process and
// writes its game record. Exit status 0: the game was played to the end;
// 1: the player faulted (the record holds the message); 2: usage error, bad
// deck file, a player that cannot be started, or a file that cannot be written.
#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "common/deck_file.h"
#include "common/files.h"
#include "common/guarded_main.h"
#include "common/process.h"
#include "common/record.h"
#include "common/sandbox.h"
#include "common/scratch.h"
#include "referee/check.h"
#include "referee/cli.h"
#include "referee/game_driver.h"
#include "referee/sandbox_options.h"
#include "referee/shuffle.h"

namespace {

constexpr const char* PROGRAM = "referee";
constexpr const char* SYNOPSIS =
    "Utilizare: referee [--deck FIȘIER | --seed N] [--save-deck FIȘIER]\n"
    "                   [--record FIȘIER] [--timeout-ms N] [IZOLARE] JUCĂTOR [ARG...]\n"
    "       referee --check [--deck FIȘIER | --seed N] [--timeout-ms N] [IZOLARE]\n"
    "                   JUCĂTOR [ARG...]\n";

struct Options {
    std::string deck_path, save_deck_path, record_path = "game.dat";
    bool has_seed = false;
    bool check = false;
    std::uint64_t seed = 0;
    int timeout_ms = 10000;
    proc::SandboxSettings sandbox;
    std::vector<std::string> player;
};

struct Declared {
    CLI::Option *check, *deck, *seed, *save_deck, *record;
};

Declared declare(cli::CommandLine& line, Options& o) {
    Declared d{};
    d.check = line.flag("--check", o.check, "verifică protocolul jucătorului pe o împărțire jucată\nde două ori");
    d.deck = line.text("--deck", o.deck_path, "FIȘIER", "împarte pachetul din fișier (24 de coduri 0..23)");
    d.seed = line.number("--seed", o.seed, 0, UINT64_MAX, "N",
                         "amestecă pachetul cu sămânța N, zecimal sau 0x hex\n(implicit: una nouă, afișată)", "sămânță invalidă");
    d.save_deck = line.text("--save-deck", o.save_deck_path, "FIȘIER", "scrie pachetul jocului ca fișier de pachet");
    d.record = line.text("--record", o.record_path, "FIȘIER", "unde se scrie înregistrarea jocului (implicit game.dat)");
    line.number("--timeout-ms", o.timeout_ms, 1, 3'600'000, "N", "cât se așteaptă fiecare răspuns (implicit 10000)",
                "durată invalidă (1..3600000 ms)");
    referee::declare_sandbox_options(line, o.sandbox);
    line.command(o.player);
    return d;
}

// The options that go together, once parsed. Empty, or the usage error.
std::string conflict(const cli::CommandLine& line, const Declared& d, const Options& o) {
    if (o.player.empty()) return "lipsește jucătorul";
    if (line.given(d.seed) && line.given(d.deck)) return "--deck și --seed nu merg împreună";
    // --check keeps nothing: asking it to is a mistake, not a wish to ignore.
    for (CLI::Option* kept : {d.save_deck, d.record}) {
        if (o.check && line.given(kept)) return cli::CommandLine::name_of(kept) + " nu merge cu --check, care nu păstrează nimic";
    }
    if (o.record_path.empty()) return "--record are nevoie de un nume de fișier";
    return "";
}

// The options, or the status to end with at once.
std::variant<Options, int> parse(int argc, char** argv) {
    Options options;
    cli::CommandLine line(PROGRAM, SYNOPSIS);
    const Declared declared = declare(line, options);
    if (const cli::Parsed parsed = line.parse(argc, argv); !parsed.run) return parsed.status;
    if (const std::string problem = conflict(line, declared, options); !problem.empty()) return line.usage_error(problem);
    options.has_seed = line.given(declared.seed);
    // The player runs in a folder of its own: what it names must not depend on ours.
    options.player = proc::absolute_command(options.player);
    return options;
}

struct Deal {
    game::Deck deck;
    std::string shown;  // how to play it again
};

// The deck of the file, or shuffled by the seed given or a fresh one, which
// a game tells on standard error. A bad deck file is a failure.
game::Result<Deal> deal(const Options& options) {
    if (!options.deck_path.empty()) {
        const game::Result<game::Deck> deck = game::read_deck(options.deck_path);
        if (!deck) return game::failure(deck.error());
        return Deal{*deck, "pachetul din " + options.deck_path + " (se reia cu --deck " + options.deck_path + ")"};
    }
    const std::uint64_t seed = options.has_seed ? options.seed : referee::fresh_seed();
    if (!options.has_seed && !options.check) {
        std::fprintf(stderr, "%s: sămânța %llu (jocul se reia cu --seed %llu)\n", PROGRAM,
                     static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    }
    return Deal{referee::shuffled_deck(seed),
                "sămânța " + std::to_string(seed) + " (se reia cu --seed " + std::to_string(seed) + ")"};
}

// Says what went wrong and gives back the status to end with.
int fail(const std::string& message, int status) {
    std::fprintf(stderr, "%s: %s\n", PROGRAM, message.c_str());
    return status;
}

// A game that was not played: the interrupt's status, or 2 for a player
// that cannot start and for our own failures.
int not_played(referee::Played played, const std::string& error) {
    return fail(error, played == referee::Played::interrupted ? 128 + proc::interrupt_signal() : 2);
}

// Every file asked for is checked before the first card: a game is never
// played to be lost for want of a place to keep it.
game::Status check_outputs(const Options& options) {
    for (const std::string& path : {options.record_path, options.save_deck_path}) {
        if (path.empty()) continue;
        if (const game::Status writable = game::check_writable(path); !writable) return writable;
    }
    return {};
}

int finish_output(int status) {
    const game::Status flushed = game::flush_standard_output();
    if (flushed) return status;
    std::fprintf(stderr, "%s: %s\n", PROGRAM, flushed.error().c_str());
    return 2;
}

// Where the player runs: with the sandbox, and always for --check (which runs
// it as a match does), a fresh scratch folder for each game under a root of
// ours; with --sandbox off, our own folder, as always.
struct Arena {
    game::ScratchRoot scratch;
    proc::Sandbox sandbox;
};

// Opens the arena, and says once what a partial sandbox lacks.
game::Status open_arena(const Options& options, Arena& arena) {
    if (options.check || options.sandbox.mode != proc::SandboxMode::off) {
        if (const game::Status made = arena.scratch.make(PROGRAM); !made) return made;
    }
    if (const game::Status opened = arena.sandbox.open(options.sandbox, 1, arena.scratch.path()); !opened) return opened;
    const std::vector<std::string> outputs = {options.record_path, options.save_deck_path};
    const std::string exposed =
        arena.sandbox.exposed_output({options.player}, options.check ? std::vector<std::string>{} : outputs);
    if (!exposed.empty()) return game::failure(exposed);
    if (!arena.sandbox.isolation().missing().empty()) {
        std::fprintf(stderr, "%s: izolarea jucătorului: %s\n", PROGRAM, arena.sandbox.isolation().summary().c_str());
    }
    return {};
}

referee::GameOptions game_options(const Options& options, Arena& arena) {
    referee::GameOptions game;
    game.timeout_ms = options.timeout_ms;
    game.sandbox = &arena.sandbox;
    game.scratch_root = arena.scratch.path();
    return game;
}

int play(const Options& options, const game::Deck& deck, Arena& arena) {
    std::string error;
    if (!options.save_deck_path.empty()) {
        const game::Status saved = game::write_deck(options.save_deck_path, deck);
        if (!saved) return fail(saved.error(), 2);
    }
    referee::GameResult result;
    const referee::Played played = referee::play_game(deck, options.player, game_options(options, arena), result, error);
    // What a sandboxed player wrote on its standard error, kept as the game went.
    std::fputs(result.player_errors.c_str(), stderr);
    if (played != referee::Played::yes) return not_played(played, error);
    // A record that cannot be written after all (a full disk) does not hide the game's outcome.
    const game::Status recorded = game::write_record(options.record_path, result.record);
    if (!recorded) fail(recorded.error(), 2);
    if (result.fault != referee::Fault::none) return fail(result.message, recorded ? 1 : 2);
    std::printf("Scor total: %d\n", result.record.total);
    return finish_output(recorded ? 0 : 2);
}

int run(int argc, char** argv) {
    const auto parsed = parse(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Options& options = std::get<Options>(parsed);
    if (const std::string problem = proc::start_problem(options.player[0]); !problem.empty()) return fail(problem, 2);
    if (!proc::refuse_tracing()) return fail("nu se poate opri urmărirea procesului", 2);
    if (!proc::catch_interrupts()) return fail("nu se pot prinde semnalele de întrerupere", 2);
    Arena arena;
    if (const game::Status opened = open_arena(options, arena); !opened) return fail(opened.error(), 2);
    if (!options.check) {
        if (const game::Status writable = check_outputs(options); !writable) return fail(writable.error(), 2);
    }
    // Dealt once the cell is made: the copy of us it is holds no deck.
    const game::Result<Deal> dealt = deal(options);
    if (!dealt) return fail(dealt.error(), 2);
    const int status = options.check ? finish_output(referee::check_player(dealt->deck, dealt->shown, options.player,
                                                                           game_options(options, arena)))
                                     : play(options, dealt->deck, arena);
    arena.sandbox.close();
    const game::Status removed = arena.scratch.remove();
    return removed ? status : fail(removed.error(), 2);
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
