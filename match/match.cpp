#include "match/match.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/wait.h>
#include <thread>

#include "common/files.h"
#include "common/int_scanner.h"
#include "common/process.h"
#include "referee/shuffle.h"
#include "tools/ceilscore/search.h"

namespace match {

namespace {

std::uint64_t splitmix64(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// What ends a match early, seen by every worker: an interrupt, or the first
// failure of our own.
class Stop {
public:
    bool requested() const { return failed_ || proc::interrupt_signal() != 0; }
    void fail(const std::string& message) {
        const std::lock_guard lock(mutex_);
        if (!failed_) message_ = message;
        failed_ = true;
    }
    std::string message() const {
        const std::lock_guard lock(mutex_);
        return message_;
    }

private:
    std::atomic<bool> failed_{false};
    mutable std::mutex mutex_;
    std::string message_;
};

// Keeps the record of every game when asked to, and counts the ones that
// cannot be written: nothing is lost without a word. A deal's records are
// written together once all its games have ended, so that no record of a
// deal, the ceiling's least of all, can be read while it is played.
class RecordKeeper {
public:
    explicit RecordKeeper(const MatchConfig& config) : config_(config) {}

    void keep(int deal, const std::string& who, const game::GameRecord& record) {
        if (config_.records_dir.empty()) return;
        const std::lock_guard lock(mutex_);
        pending_[deal].push_back({who, record});
    }

    // Writes the records of a deal whose games have all ended.
    void write(int deal) {
        if (config_.records_dir.empty()) return;
        std::vector<Pending> records;
        {
            const std::lock_guard lock(mutex_);
            records = std::move(pending_[deal]);
            pending_.erase(deal);
        }
        char name[32];
        std::snprintf(name, sizeof name, "deal-%04d-", deal + 1);
        for (const Pending& record : records) {
            const game::Status written = game::write_record(config_.records_dir + "/" + name + record.who + ".dat",
                                                            record.record, game::Durability::rename);
            if (written) continue;
            const std::lock_guard lock(mutex_);
            if (failures_++ == 0) first_failure_ = written.error();
        }
    }
    int failures() const { return failures_; }
    const std::string& first_failure() const { return first_failure_; }

private:
    struct Pending {
        std::string who;
        game::GameRecord record;
    };
    const MatchConfig& config_;
    std::mutex mutex_;
    std::map<int, std::vector<Pending>> pending_;  // by deal, until its last game ends
    int failures_ = 0;
    std::string first_failure_;
};

// One game; false when it could not be played for a reason that is not the
// player's (error says which, or an interrupt came).
bool play(const MatchConfig& config, const Player& player, const game::Deck& deck, int slot, int deal,
          RecordKeeper& records, GameOutcome& outcome, std::string& error) {
    referee::GameOptions options;
    options.timeout_ms = config.timeout_ms;
    options.scratch_root = config.scratch_dir;
    options.capture_stderr = true;  // parallel games would interleave it; faults carry their own message
    options.sandbox = config.sandbox;
    options.slot = slot;
    referee::GameResult result;
    switch (referee::play_game(deck, player.command, options, result, error)) {
        case referee::Played::yes: break;
        case referee::Played::not_started:
            result.fault = Fault::stopped;
            result.message = error;
            result.record = game::error_record(static_cast<int>(Fault::stopped), error);
            break;
        case referee::Played::harness_error:
        case referee::Played::interrupted: return false;
    }
    outcome.fault = result.fault;
    outcome.card = result.card;
    outcome.message = result.message;
    outcome.score = result.record.total;
    outcome.categories = result.record.categories;
    outcome.seconds = result.seconds;
    for (int i = 0; i < result.answered; ++i) outcome.answers += static_cast<char>('1' + result.answers[i]);
    records.keep(deal, player.name, result.record);
    return true;
}

double thread_cpu_seconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The deal's ceiling, searched here in the worker: its cost is the
// processor time of the search, which no process or file adds to.
void find_ceiling(const game::Deck& deck, int deal, RecordKeeper& records, DealOutcome& outcome) {
    const double start = thread_cpu_seconds();
    const game::GameRecord record = ceilscore::best_record(deck);
    outcome.ceiling_seconds = thread_cpu_seconds() - start;
    outcome.ceiling = record.total;
    for (const game::Placement& placed : record.cards) {
        outcome.ceiling_answers += static_cast<char>('1' + placed.column);
    }
    records.keep(deal, CEILING_LABEL, record);
}

}  // namespace

const char* status_name(const GameOutcome& game) { return game.played ? fault_name(game.fault) : NOT_PLAYED; }

void FaultStreaks::count(std::size_t player, const GameOutcome& game) {
    if (!game.played) streak_[player] = std::max(streak_[player], max_);
    else streak_[player] = game.fault == Fault::none ? 0 : streak_[player] + 1;
}

std::uint64_t deal_seed(std::uint64_t seed, int index) {
    return splitmix64(seed ^ splitmix64(static_cast<std::uint64_t>(index))) & ((1ULL << 53) - 1);
}

std::vector<int> deals_of_shard(const MatchConfig& config) {
    std::vector<int> indexes;
    for (int d = 0; d < config.deals; ++d) {
        if (config.shard.holds(d)) indexes.push_back(d);
    }
    return indexes;
}

MatchRun run_match(const MatchConfig& config, const std::vector<int>& to_play, FaultStreaks& streaks,
                   const DealDone& deal_done) {
    std::vector<DealOutcome> deals(to_play.size());
    std::vector<game::Deck> decks(to_play.size());
    for (std::size_t d = 0; d < to_play.size(); ++d) {
        deals[d].index = to_play[d];
        deals[d].seed = deal_seed(config.seed, to_play[d]);
        deals[d].games.resize(config.players.size());
        decks[d] = referee::shuffled_deck(deals[d].seed);
    }
    // Task t is the t / per_deal-th deal to play, for a player, or the ceiling after the last player;
    // a worker's games count against the worker's process cap.
    const std::size_t per_deal = config.players.size() + (config.ceiling ? 1 : 0);
    const std::size_t tasks = per_deal * to_play.size();
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> end{tasks};  // tasks past it are not begun: the caller had enough
    bool enough = false;
    std::vector<std::size_t> unfinished(to_play.size(), per_deal);  // tasks of each deal not done yet
    std::vector<bool> finished(to_play.size(), false);
    std::mutex report;
    Stop stop;
    RecordKeeper records(config);

    auto task = [&](std::size_t t, int slot) {
        const std::size_t d = t / per_deal;
        const std::size_t player = t % per_deal;
        DealOutcome& deal = deals[d];
        bool skipped = false;
        if (player == config.players.size()) {
            find_ceiling(decks[d], deal.index, records, deal);
        } else {
            {
                const std::lock_guard lock(report);
                skipped = streaks.stopped(player);
            }
            std::string error;
            deal.games[player].played = !skipped;
            if (!skipped && !play(config, config.players[player], decks[d], slot, deal.index, records,
                                  deal.games[player], error)) {
                if (proc::interrupt_signal() == 0) stop.fail(error);
                return;
            }
        }
        {
            const std::lock_guard lock(report);
            if (player < config.players.size() && !skipped) streaks.count(player, deal.games[player]);
            if (--unfinished[d] > 0) return;
        }
        records.write(deal.index);
        const std::lock_guard lock(report);
        finished[d] = true;
        if (deal_done(deal)) return;
        // Enough: the deals begun are played to their end, no other is begun.
        enough = true;
        const std::size_t begun = (next.load() + per_deal - 1) / per_deal;
        end = std::min(end.load(), begun * per_deal);
    };
    auto worker = [&](int slot) {
        try {
            for (std::size_t t; !stop.requested() && (t = next++) < std::min(tasks, end.load());) task(t, slot);
        } catch (const std::exception& failure) {
            stop.fail(std::string("eroare internă: ") + failure.what());
        }
    };
    std::vector<std::thread> threads;
    try {
        for (int j = 0; j < config.jobs; ++j) threads.emplace_back(worker, j);
    } catch (const std::system_error& failure) {
        stop.fail(std::string("nu se poate porni un fir de lucru: ") + failure.what());
    }
    for (std::thread& thread : threads) thread.join();
    MatchRun run;
    for (std::size_t d = 0; d < deals.size(); ++d) {
        if (finished[d]) run.deals.push_back(std::move(deals[d]));
    }
    run.interrupted = proc::interrupt_signal() != 0;
    run.enough = enough;
    run.harness_error = stop.message();
    run.record_failures = records.failures();
    run.first_record_failure = records.first_failure();
    return run;
}

}  // namespace match
