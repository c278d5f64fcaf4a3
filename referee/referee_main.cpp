// referee: plays one game between a shuffled deck and one player process and
// writes its game record. Exit status 0: the game was played to the end;
// 1: the player faulted (the record holds the message); 2: usage error, bad
// deck file, a player that cannot be started, or a file that cannot be written.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "referee/check.h"
#include "referee/cli.h"
#include "common/deck_file.h"
#include "common/files.h"
#include "referee/game_driver.h"
#include "common/record.h"
#include "referee/shuffle.h"
#include "common/process.h"
#include "common/guarded_main.h"

namespace {

constexpr const char* PROGRAM = "referee";
constexpr const char* USAGE =
    "Utilizare: referee [--deck FIȘIER | --seed N] [--save-deck FIȘIER] [--record FIȘIER]\n"
    "                   [--timeout-ms N] JUCĂTOR [ARG...]\n"
    "       referee --check [--deck FIȘIER | --seed N] [--timeout-ms N] JUCĂTOR [ARG...]\n"
    "  --check            verifică protocolul jucătorului pe o împărțire jucată de două ori\n"
    "  --deck FIȘIER      împarte pachetul din fișier (24 de coduri 0..23)\n"
    "  --seed N           amestecă pachetul cu sămânța N (implicit: una nouă, afișată)\n"
    "  --save-deck FIȘIER scrie pachetul jocului ca fișier de pachet\n"
    "  --record FIȘIER    unde se scrie înregistrarea jocului (implicit game.dat)\n"
    "  --timeout-ms N     cât se așteaptă fiecare răspuns (implicit 10000)\n";

struct Options {
    std::string deck_path, save_deck_path, record_path = "game.dat";
    bool has_seed = false;
    bool check = false;
    std::uint64_t seed = 0;
    int timeout_ms = 10000;
    std::vector<std::string> player;
};

[[noreturn]] void usage_error(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n%s", PROGRAM, message.c_str(), USAGE);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options options;
    int i = 1;
    auto value_of = [&](const std::string& option) -> std::string {
        if (i + 1 >= argc) usage_error("lipsește valoarea pentru " + option);
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            std::exit(0);
        } else if (arg == "--check") {
            options.check = true;
        } else if (arg == "--deck") {
            options.deck_path = value_of(arg);
        } else if (arg == "--seed") {
            const std::string text = value_of(arg);
            if (!referee::parse_number(text, 0, UINT64_MAX, options.seed)) usage_error("sămânță invalidă: " + text);
            options.has_seed = true;
        } else if (arg == "--save-deck") {
            options.save_deck_path = value_of(arg);
        } else if (arg == "--record") {
            options.record_path = value_of(arg);
        } else if (arg == "--timeout-ms") {
            const std::string text = value_of(arg);
            std::uint64_t ms = 0;
            if (!referee::parse_number(text, 1, 3'600'000, ms)) usage_error("durată invalidă (1..3600000 ms): " + text);
            options.timeout_ms = static_cast<int>(ms);
        } else if (arg == "--") {
            ++i;
            break;
        } else if (arg.starts_with("-")) {
            usage_error("opțiune necunoscută: " + arg);
        } else {
            break;
        }
    }
    options.player.assign(argv + i, argv + argc);
    if (options.player.empty()) usage_error("lipsește jucătorul");
    options.player[0] = proc::program_path(options.player[0]);
    if (options.has_seed && !options.deck_path.empty()) usage_error("--deck și --seed nu merg împreună");
    if (options.record_path.empty()) usage_error("--record are nevoie de un nume de fișier");
    return options;
}

struct Deal {
    game::Deck deck;
    std::string shown;  // how to play it again
};

// The deck of the file, or shuffled by the seed given or a fresh one, which
// a game tells on standard error.
Deal deal(const Options& options) {
    std::string error;
    Deal dealt;
    if (!options.deck_path.empty()) {
        if (!game::read_deck(options.deck_path, dealt.deck, error)) referee::die(PROGRAM, error, 2);
        dealt.shown = "pachetul din " + options.deck_path + " (se reia cu --deck " + options.deck_path + ")";
        return dealt;
    }
    const std::uint64_t seed = options.has_seed ? options.seed : referee::fresh_seed();
    dealt.deck = referee::shuffled_deck(seed);
    dealt.shown = "sămânța " + std::to_string(seed) + " (se reia cu --seed " + std::to_string(seed) + ")";
    if (!options.has_seed && !options.check) {
        std::fprintf(stderr, "%s: sămânța %llu (jocul se reia cu --seed %llu)\n", PROGRAM,
                     static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    }
    return dealt;
}

// Ends the referee after a game that was not played: the interrupt's status,
// or 2 for a player that cannot start and for our own failures.
[[noreturn]] void not_played(referee::Played played, const std::string& error) {
    if (played == referee::Played::interrupted) referee::die(PROGRAM, error, 128 + proc::interrupt_signal());
    referee::die(PROGRAM, error, 2);
}

// Every file asked for is checked before the first card: a game is never
// played to be lost for want of a place to keep it.
void check_outputs(const Options& options) {
    std::string error;
    for (const std::string& path : {options.record_path, options.save_deck_path}) {
        if (!path.empty() && !game::check_writable(path, error)) referee::die(PROGRAM, error, 2);
    }
}

int finish_output(int status) {
    std::string error;
    if (game::flush_standard_output(error)) return status;
    std::fprintf(stderr, "%s: %s\n", PROGRAM, error.c_str());
    return 2;
}

int run(int argc, char** argv) {
    const Options options = parse(argc, argv);
    if (!proc::catch_interrupts()) referee::die(PROGRAM, "nu se pot prinde semnalele de întrerupere", 2);
    if (!options.check) check_outputs(options);
    const Deal dealt = deal(options);
    const game::Deck& deck = dealt.deck;
    if (options.check) {
        return finish_output(referee::check_player(deck, dealt.shown, options.player, options.timeout_ms));
    }
    std::string error;
    if (!options.save_deck_path.empty() && !game::write_deck(options.save_deck_path, deck, error)) {
        referee::die(PROGRAM, error, 2);
    }

    referee::GameOptions game_options;
    game_options.timeout_ms = options.timeout_ms;
    referee::GameResult result;
    const referee::Played played = referee::play_game(deck, options.player, game_options, result, error);
    if (played != referee::Played::yes) not_played(played, error);
    // A record that cannot be written after all (a full disk) does not hide the game's outcome.
    const bool recorded = game::write_record(options.record_path, result.record, error);
    if (!recorded) std::fprintf(stderr, "%s: %s\n", PROGRAM, error.c_str());
    if (result.fault != referee::Fault::none) referee::die(PROGRAM, result.message, recorded ? 1 : 2);
    std::printf("Scor total: %d\n", result.record.total);
    return finish_output(recorded ? 0 : 2);
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
