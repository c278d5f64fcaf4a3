// The match: every player plays the same deals, each game in a scratch
// directory of its own, games spread over worker threads; the ceiling of
// every deal comes from the best-arrangement search.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "referee/game_driver.h"
#include "common/record.h"

namespace proc {
class Sandbox;
}

namespace match {

// A game's outcome is told in the game driver's fault kinds.
using referee::Fault;
using referee::fault_name;

struct Player {
    std::string name;                  // unique in a match: what the tables, the CSV and record names show
    std::vector<std::string> command;  // the program (absolute, or a bare name looked up in PATH), its arguments
    friend bool operator==(const Player&, const Player&) = default;
};

// A part of a match that one machine plays: deal i (from 0) belongs to
// shard i mod count + 1. The whole match is shard 1/1.
struct Shard {
    int index = 1;
    int count = 1;
    bool holds(int deal) const { return deal % count + 1 == index; }
    std::string text() const { return std::to_string(index) + "/" + std::to_string(count); }
    friend bool operator==(const Shard&, const Shard&) = default;
};

struct MatchConfig {
    int deals = 200;              // of the whole match, whichever shard is played
    std::uint64_t seed = 0;
    int jobs = 1;
    int timeout_ms = 10000;
    std::vector<Player> players;
    Shard shard;
    bool ceiling = true;          // each deal's best arrangement, searched in process
    // With --decide: stop as soon as every pair of players is told apart (or
    // found equal within `margin` points a deal), at error rate `alpha`.
    struct Decide {
        double alpha = 0.05;
        double margin = 0;  // 0: equality is never decided
    };
    std::optional<Decide> decide;
    // A player whose games fault this many times in a row plays no more games
    // of the match; 0: never stopped.
    int max_faults = 20;
    std::string records_dir;      // empty: records are not kept
    std::string scratch_dir;      // where each game gets a directory of its own
    // The players' sandbox, one process cap per job; null where nothing is
    // played (a merge): its isolation is then not known.
    proc::Sandbox* sandbox = nullptr;
};

struct GameOutcome {
    Fault fault = Fault::none;
    int card = 0;
    std::string message;
    int score = 0;
    std::array<int, 4> categories{};
    double seconds = 0;
    std::string answers = {};  // the column ("1".."4") of each card answered, in deal order
    bool played = true;        // false: its player had been stopped for faulting again and again
};

// A game that counts in the scores: played to the end without a fault.
inline bool scored(const GameOutcome& game) { return game.played && game.fault == Fault::none; }
// A game played that ended in a fault of its player.
inline bool faulted(const GameOutcome& game) { return game.played && game.fault != Fault::none; }

// "ok", a fault's name, or "nejucat" for a game not played.
const char* status_name(const GameOutcome& game);
inline constexpr const char* NOT_PLAYED = "nejucat";

struct DealOutcome {
    int index = 0;                // in the whole match, from 0
    std::uint64_t seed = 0;       // replays the deal with `referee --seed`
    int ceiling = -1;             // -1: not asked for
    double ceiling_seconds = 0;   // processor time of the search
    std::string ceiling_answers;  // the columns of the ceiling's arrangement, as a game's answers
    std::vector<GameOutcome> games;  // one per player, in the players' order
};

// The deck seed of deal `index` in a match with `seed`.
std::uint64_t deal_seed(std::uint64_t seed, int index);

// The label of the ceiling's records; no player may have it.
inline constexpr const char* CEILING_LABEL = "ceilscore";

struct MatchRun {
    std::vector<DealOutcome> deals;  // the deals finished, by index
    int record_failures = 0;  // per-game records that could not be written
    std::string first_record_failure;
    // Set when the match stopped early for a reason that is not a player's:
    // our own failure (no process, no directory, no thread), or an interrupt.
    std::string harness_error;
    bool interrupted = false;
    bool enough = false;  // deal_done had enough: deals not begun then were not played
};

// Each player's faults in a row, across the runs of one match (and the deals
// of a resumed file, counted first): a player that reaches max_faults plays
// no more games. Counted in the order the games end.
class FaultStreaks {
public:
    FaultStreaks(std::size_t players, int max_faults) : streak_(players, 0), max_(max_faults) {}
    // A game not played counts as its player's stop.
    void count(std::size_t player, const GameOutcome& game);
    bool stopped(std::size_t player) const { return max_ > 0 && streak_[player] >= max_; }

private:
    std::vector<int> streak_;
    int max_;
};

// The deals of the match's shard, by index.
std::vector<int> deals_of_shard(const MatchConfig& config);

// What is told of each deal once all its games are done; false when the
// match has had enough: the deals begun are finished, no other is begun.
using DealDone = std::function<bool(const DealOutcome&)>;

// Plays the deals whose indexes are given, in that order as far as the jobs
// allow; `deal_done` gets each deal once
// all its games (and its ceiling) are done, from worker threads, one at a
// time. It stops early, with every game in flight killed, on an interrupt
// (proc::catch_interrupts) or on a failure of its own, which is never
// counted against a player. A player that `streaks` stops plays no more
// games: the rest of its games are marked as not played.
MatchRun run_match(const MatchConfig& config, const std::vector<int>& to_play, FaultStreaks& streaks,
                   const DealDone& deal_done);

}  // namespace match
