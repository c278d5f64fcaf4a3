#include "match/summary.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "common/shell_words.h"

namespace match {

namespace {

// One player's games, and the faults among them by kind.
Standing standing_of(const std::string& name, const std::vector<DealOutcome>& deals, std::size_t p,
                     std::map<std::string, int>& faults) {
    Standing s{name, p};
    std::vector<double> shares;
    int reached = 0;
    double seconds = 0;
    for (const DealOutcome& deal : deals) {
        const GameOutcome& game = deal.games[p];
        if (!game.played) {
            ++s.not_played;
            continue;
        }
        ++s.games;
        seconds += game.seconds;
        if (game.fault != Fault::none) {
            ++faults[fault_name(game.fault)];
            continue;
        }
        s.sorted_scores.push_back(game.score);
        if (deal.ceiling > 0) {
            shares.push_back(static_cast<double>(game.score) / deal.ceiling);
            reached += game.score == deal.ceiling;
        }
    }
    s.faults = static_cast<int>(std::accumulate(faults.begin(), faults.end(), 0,
                                                [](int sum, const auto& kind) { return sum + kind.second; }));
    s.scores = summarize(s.sorted_scores);
    std::sort(s.sorted_scores.begin(), s.sorted_scores.end());
    if (!shares.empty()) {
        s.ceiling_share = summarize(shares).mean;
        s.ceiling_reached = static_cast<double>(reached) / static_cast<double>(shares.size());
    }
    s.ms_per_game = s.games ? 1000 * seconds / s.games : 0;
    return s;
}

Standing ceiling_standing(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    Standing s{CEILING_ROW, config.players.size()};
    double seconds = 0;
    for (const DealOutcome& deal : deals) {
        ++s.games;
        s.sorted_scores.push_back(deal.ceiling);
        seconds += deal.ceiling_seconds;
    }
    s.scores = summarize(s.sorted_scores);
    std::sort(s.sorted_scores.begin(), s.sorted_scores.end());
    s.ceiling_share = s.ceiling_reached = s.games ? std::optional<double>(1.0) : std::nullopt;
    s.ms_per_game = s.games ? 1000 * seconds / s.games : 0;
    return s;
}

PairComparison compare(const std::vector<DealOutcome>& deals, std::size_t a, std::size_t b, std::size_t pa,
                       std::size_t pb) {
    PairComparison pair{a, b};
    std::vector<double> differences;
    for (const DealOutcome& deal : deals) {
        const GameOutcome& x = deal.games[pa];
        const GameOutcome& y = deal.games[pb];
        if (!scored(x) || !scored(y)) continue;
        differences.push_back(x.score - y.score);
        pair.a_wins += x.score > y.score;
        pair.ties += x.score == y.score;
        pair.b_wins += x.score < y.score;
    }
    pair.difference = summarize(differences);
    return pair;
}

PlayerFaults faults_of(const Player& player, const Standing& standing, const std::map<std::string, int>& kinds,
                       const std::vector<DealOutcome>& deals, std::size_t p) {
    PlayerFaults f{player.name};
    f.not_played = standing.not_played;
    for (const auto& [kind, count] : kinds) f.kinds.push_back({kind, count});
    for (const DealOutcome& deal : deals) {
        const GameOutcome& game = deal.games[p];
        if (!faulted(game)) continue;
        f.first_deal = deal.index + 1;
        f.first_kind = fault_name(game.fault);
        f.first_message = game.message;
        if (!player.command.empty()) f.replay = game::replay_command(deal.seed, player.command);
        break;
    }
    return f;
}

}  // namespace

bool PairComparison::significant() const {
    return difference.n >= 2 && std::abs(difference.mean) > difference.half_width;
}

MatchSummary summarize_match(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    MatchSummary summary;
    summary.deals = static_cast<int>(deals.size());
    summary.total_deals = config.deals;
    std::vector<std::map<std::string, int>> faults(config.players.size());
    std::vector<std::size_t> order(config.players.size());  // ranking place -> player index
    std::vector<Standing> standings;
    for (std::size_t p = 0; p < config.players.size(); ++p) {
        standings.push_back(standing_of(config.players[p].name, deals, p, faults[p]));
    }
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const Summary& a = standings[x].scores;
        const Summary& b = standings[y].scores;
        return (a.n > 0 && b.n == 0) || (a.n > 0 && b.n > 0 && a.mean > b.mean);
    });
    for (std::size_t place = 0; place < order.size(); ++place) {
        const std::size_t p = order[place];
        summary.players.push_back(standings[p]);
        if (standings[p].faults > 0) {
            summary.faults.push_back(faults_of(config.players[p], standings[p], faults[p], deals, p));
        }
        for (std::size_t below = place + 1; below < order.size(); ++below) {
            summary.pairs.push_back(compare(deals, place, below, p, order[below]));
        }
    }
    if (config.ceiling) summary.ceiling = ceiling_standing(config, deals);
    if (config.decide) {
        summary.decide = config.decide;
        summary.decisions = decisions_of(config, deals);
    }
    return summary;
}

}  // namespace match
