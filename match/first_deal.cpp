#include "match/first_deal.h"

#include <algorithm>

#include "common/shell_words.h"
#include "match/resume.h"

namespace match {

namespace {

// The second part of a match added to the first.
void add_run(MatchRun& run, MatchRun&& more) {
    run.deals.insert(run.deals.end(), std::make_move_iterator(more.deals.begin()),
                     std::make_move_iterator(more.deals.end()));
    if (run.record_failures == 0) run.first_record_failure = more.first_record_failure;
    run.record_failures += more.record_failures;
    run.harness_error = more.harness_error;
    run.interrupted = more.interrupted;
    run.enough = more.enough;
}

bool any_faulted(const DealOutcome& deal) { return std::any_of(deal.games.begin(), deal.games.end(), faulted); }

}  // namespace

Played play_first_deal_first(const MatchConfig& config, const std::vector<DealOutcome>& done, bool keep_going,
                             const DealDone& deal_done) {
    std::vector<int> to_play = deals_left(config, done);
    FaultStreaks streaks(config.players.size(), config.max_faults);
    for (const DealOutcome& deal : done) {
        for (std::size_t p = 0; p < config.players.size(); ++p) streaks.count(p, deal.games[p]);
    }
    Played played;
    if (done.empty() && !to_play.empty()) {
        played.run = run_match(config, {to_play.front()}, streaks, deal_done);
        to_play.erase(to_play.begin());
        const MatchRun& run = played.run;
        played.broke = !keep_going && run.deals.size() == 1 && any_faulted(run.deals[0]);
        if (played.broke || run.interrupted || !run.harness_error.empty() || run.enough) return played;
    }
    add_run(played.run, run_match(config, to_play, streaks, deal_done));
    return played;
}

std::string faults_on(const MatchConfig& config, const DealOutcome& deal) {
    std::string text;
    for (std::size_t p = 0; p < config.players.size(); ++p) {
        const GameOutcome& game = deal.games[p];
        if (!faulted(game)) continue;
        text += "\n  " + config.players[p].name + " (" + fault_name(game.fault) + "): " + game.message +
                "\n    se reia cu: " + game::replay_command(deal.seed, config.players[p].command);
    }
    return text;
}

}  // namespace match
