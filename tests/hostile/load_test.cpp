// Thousands of games in a row against a player that misbehaves at random
// (the fake player's chaos mode), once through the game driver in this
// process and once more, on the same seeded deals, through the match program.
// Every game must end exactly as the player's own rule predicts, and nothing
// may be left behind: no file descriptor, no child process, no scratch file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <sys/wait.h>
#include <vector>

#include "tests/support/chaos.h"
#include "referee/game_driver.h"
#include "tests/hostile/hostile.h"
#include "match/match.h"
#include "referee/shuffle.h"
#include "tests/support/support.h"

namespace {

using referee::Fault;
using testing_support::bin;
using testing_support::TempDir;

// The timeout must hold for every answer of a well-behaved player on a busy
// machine (a new process not yet scheduled, other tests running): it is long,
// and the chaos player hangs rarely, since each hang costs a whole timeout.
#if defined(GAME_SANITIZED)
// Every start of an instrumented player costs tens of milliseconds more: 300
// games keep the run short.
constexpr int GAMES = 300;
constexpr int TIMEOUT_MS = 2000;
#else
constexpr int GAMES = 2000;
constexpr int TIMEOUT_MS = 1000;
#endif
// Chosen so that the first 300 deals already bring every kind of fault.
constexpr std::uint64_t SEED = 20240938;
constexpr int KINDS = static_cast<int>(Fault::no_exit) + 1;

struct Outcome {
    Fault fault = Fault::none;
    int card = 0;   // where the fault shows, as the driver counts it
    int total = 0;  // the score of a game played to the end
};

bool operator==(const Outcome& a, const Outcome& b) {
    return a.fault == b.fault && a.card == b.card && a.total == b.total;
}

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << referee::fault_name(o.fault) << " at card " << o.card << ", score " << o.total;
}

game::Deck deck_of(int deal) { return referee::shuffled_deck(match::deal_seed(SEED, deal)); }

// The fake player answers the columns 1, 2, 3, 4 in every round.
int clean_total(const game::Deck& deck) {
    game::Deal deal;
    for (int i = 0; i < game::DEALT; ++i) deal[i] = game::Placement{deck[i], i % game::COLUMNS};
    return game::scored_record(deal).total;
}

// What the chaos player does on this deck, as the referee must see it.
Outcome predicted(const game::Deck& deck) {
    std::uint64_t hash = chaos::START;
    for (int card = 1; card <= game::DEALT; ++card) {
        hash = chaos::mix(hash, game::token_of(deck[card - 1]));
        switch (chaos::act(hash, card)) {
            case chaos::Act::answer: continue;
            case chaos::Act::reuse: return {Fault::column_reused, card};
            case chaos::Act::out_of_range:
            case chaos::Act::garbage: return {Fault::bad_answer, card};
            // The second line waits for the next card, or for the end.
            case chaos::Act::two_lines:
                return card < game::DEALT ? Outcome{Fault::early_output, card + 1}
                                          : Outcome{Fault::output_after_end, chaos::AFTER_LAST};
            case chaos::Act::hang: return {Fault::timeout, card};
            case chaos::Act::exit_early:
            case chaos::Act::crash: return {Fault::stopped, card};
            default: break;
        }
        ADD_FAILURE() << "an act for after the game at card " << card;
    }
    switch (chaos::act(hash, chaos::AFTER_LAST)) {
        case chaos::Act::extra_output: return {Fault::output_after_end, chaos::AFTER_LAST};
        case chaos::Act::bad_status: return {Fault::exit_status, chaos::AFTER_LAST};
        case chaos::Act::linger: return {Fault::no_exit, chaos::AFTER_LAST};
        default: return {Fault::none, 0, clean_total(deck)};
    }
}

using Tally = std::array<int, KINDS>;

// Compares each game with its prediction, keeping the first differences to show.
class Ledger {
public:
    void add(int deal, const Outcome& got, const Outcome& want) {
        ++tally_[static_cast<int>(got.fault)];
        ++games_;
        if (got == want) return;
        if (++wrong_ <= 10) shown_ << "deal " << deal + 1 << ": got " << got << "; expected " << want << "\n";
    }
    const Tally& tally() const { return tally_; }
    int games() const { return games_; }
    int wrong() const { return wrong_; }
    std::string differences() const { return shown_.str(); }

    std::string figures() const {
        std::string text = std::to_string(games_) + " games:";
        for (int kind = 0; kind < KINDS; ++kind) {
            text += " " + std::string(referee::fault_name(static_cast<Fault>(kind)));
            text += " " + std::to_string(tally_[kind]);
        }
        return text;
    }

private:
    Tally tally_{};
    int games_ = 0;
    int wrong_ = 0;
    std::ostringstream shown_;
};

Tally predicted_tally() {
    Tally tally{};
    for (int deal = 0; deal < GAMES; ++deal) ++tally[static_cast<int>(predicted(deck_of(deal)).fault)];
    return tally;
}

int open_descriptors() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator()));
}

// True when this process has no child at all, running or zombie.
bool no_children() { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

Fault fault_named(const std::string& name) {
    for (int kind = 0; kind < KINDS; ++kind) {
        if (name == referee::fault_name(static_cast<Fault>(kind))) return static_cast<Fault>(kind);
    }
    ADD_FAILURE() << "not a fault kind: " << name;
    return Fault::none;
}

// The sanitizers' leak check at a player's exit slows every game down, and
// it runs in a process of its own: a player killed meanwhile leaves that one
// behind, where it would pass for a process that the match forgot. The
// players run without it; the referee's code keeps it.

// The chaos player as one command, since the match starts its players
// without arguments.
std::string chaos_player(const TempDir& dir) {
    const std::string path = dir.file("chaos.sh");
    const std::string options = "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\"";
    testing_support::write_file(
        path, "#!/bin/sh\n" + options + " exec " + testing_support::helper("fake-player") + " chaos\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

// The same for the players that this process starts while it lives.
class PlayersWithoutLeakCheck {
public:
    PlayersWithoutLeakCheck() {
        const char* old = std::getenv("ASAN_OPTIONS");
        if (old) old_ = old;
        ::setenv("ASAN_OPTIONS", (old_.empty() ? "" : old_ + ":").append("detect_leaks=0").c_str(), 1);
    }
    ~PlayersWithoutLeakCheck() {
        if (old_.empty()) ::unsetenv("ASAN_OPTIONS");
        else ::setenv("ASAN_OPTIONS", old_.c_str(), 1);
    }

private:
    std::string old_;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(LoadRun, TheChaosPlayerMisbehavesInEveryWayOnTheseDeals) {
    // Guards the other tests: a seed on which some kind of fault never
    // happens would let that kind go untested.
    const Tally tally = predicted_tally();
    for (int kind = 0; kind < KINDS; ++kind) {
        EXPECT_GT(tally[kind], 0) << referee::fault_name(static_cast<Fault>(kind));
    }
    EXPECT_GT(tally[static_cast<int>(Fault::none)], GAMES / 3);
}

TEST(LoadRun, GameDriverAccountsForEveryGameAndLeaksNothing) {
    TempDir cwd;  // the player's, should it write anything
    referee::GameOptions options;
    options.timeout_ms = TIMEOUT_MS;
    options.cwd = cwd.path();
    options.capture_stderr = true;
    const std::vector<std::string> player = {testing_support::helper("fake-player"), "chaos"};
    const PlayersWithoutLeakCheck faster;

    const int descriptors_before = open_descriptors();
    const auto start = std::chrono::steady_clock::now();
    Ledger ledger;
    int children_left = 0;
    for (int deal = 0; deal < GAMES; ++deal) {
        const game::Deck deck = deck_of(deal);
        referee::GameResult result;
        std::string error;
        ASSERT_EQ(referee::play_game(deck, player, options, result, error), referee::Played::yes) << error;
        ledger.add(deal, {result.fault, result.card, result.fault == Fault::none ? result.record.total : 0},
                   predicted(deck));
        if (!no_children()) ++children_left;
    }
    const double seconds = seconds_since(start);
    const int descriptors_after = open_descriptors();

    std::cout << "[ figures  ] game driver: " << ledger.figures() << "; " << seconds << " s; open descriptors "
              << descriptors_before << " before, " << descriptors_after << " after\n";
    EXPECT_EQ(ledger.wrong(), 0) << ledger.differences();
    EXPECT_EQ(ledger.tally(), predicted_tally());
    EXPECT_EQ(descriptors_after, descriptors_before);
    EXPECT_EQ(children_left, 0) << "games after which a child process was left";
    EXPECT_TRUE(std::filesystem::is_empty(cwd.path()));
}

TEST(LoadRun, MatchAccountsForEveryGameAndLeavesNoProcess) {
    TempDir dir, scratch;
    const std::string wrapper = chaos_player(dir);

    testing_support::adopt_orphans();
    const auto start = std::chrono::steady_clock::now();
    const testing_support::RunResult r = testing_support::run(
        hostile::with_tmpdir(scratch, {bin("match"), "--deals", std::to_string(GAMES), "--seed", std::to_string(SEED),
                                       "--jobs", "2", "--timeout-ms", std::to_string(TIMEOUT_MS), "--no-ceiling",
                                       "--keep-going", "--max-faults", "0", "--csv", "load.csv", "--player-read", testing_support::helper("fake-player"),
                                       wrapper}),
        "", dir.path(), 600000);
    const double seconds = seconds_since(start);
    const std::vector<std::string> leftovers = testing_support::leftovers_after(1000);

    EXPECT_EQ(r.exit_code, 1) << r.err;  // games faulted, and were counted
    EXPECT_EQ(leftovers, std::vector<std::string>{}) << "processes of the match still there after it exited";
    Ledger ledger;
    const auto rows = testing_support::csv_rows(testing_support::read_file(dir.file("load.csv")));
    ASSERT_EQ(rows.size(), 1u + GAMES);
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const auto& field = rows[row];  // deal, deck_seed, player, status, score, ...
        ASSERT_GE(field.size(), 5u);
        const int deal = std::stoi(field[0]) - 1;
        const Outcome want = predicted(deck_of(deal));
        // The table does not name the card of a fault.
        const Outcome got{fault_named(field[3]), want.card, field[4].empty() ? 0 : std::stoi(field[4])};
        ledger.add(deal, got, want);
    }
    std::cout << "[ figures  ] match: " << ledger.figures() << "; " << seconds << " s\n";
    EXPECT_EQ(ledger.wrong(), 0) << ledger.differences();
    EXPECT_EQ(ledger.tally(), predicted_tally());
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "the match left its scratch files";
    EXPECT_EQ(testing_support::entries_of(dir.path()), (std::vector<std::string>{"chaos.sh", "load.csv"}));
}

}  // namespace
