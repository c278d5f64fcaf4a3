#include "match/json.h"

#include <nlohmann/json.hpp>

#include "common/sandbox.h"

namespace match {

namespace {

using json = nlohmann::ordered_json;

// A statistic that the games leave undefined is null, never a made-up 0.
json defined_if(bool defined, double value) { return defined ? json(value) : json(nullptr); }

json optional_value(const std::optional<double>& value) { return value ? json(*value) : json(nullptr); }

json standing_json(const MatchConfig& config, const Standing& s) {
    const Summary& scores = s.scores;
    json out = {{"name", s.name},
                {"games", s.games},
                {"faults", s.faults},
                {"not_played", s.not_played},
                {"scored_games", scores.n},
                {"mean", defined_if(scores.n > 0, scores.mean)},
                {"ci95", defined_if(scores.n > 1, scores.half_width)},
                {"median", defined_if(scores.n > 0, scores.median)},
                {"min", defined_if(scores.n > 0, scores.min)},
                {"max", defined_if(scores.n > 0, scores.max)},
                {"ceiling_share", optional_value(s.ceiling_share)},
                {"ceiling_reached", optional_value(s.ceiling_reached)},
                {"ms_per_game", s.ms_per_game}};
    if (s.player < config.players.size()) out["command"] = config.players[s.player].command;
    return out;
}

json pair_json(const MatchSummary& summary, const PairComparison& p) {
    const Summary& d = p.difference;
    return {{"a", summary.players[p.a].name},
            {"b", summary.players[p.b].name},
            {"deals", d.n},
            {"difference", defined_if(d.n > 0, d.mean)},
            {"ci95", defined_if(d.n > 1, d.half_width)},
            {"significant", p.significant()},
            {"a_wins", p.a_wins},
            {"ties", p.ties},
            {"b_wins", p.b_wins}};
}

json faults_json(const PlayerFaults& f) {
    json kinds = json::object();
    for (const FaultCount& kind : f.kinds) kinds[kind.kind] = kind.count;
    return {{"player", f.player},        {"kinds", kinds},
            {"first_deal", f.first_deal}, {"first_kind", f.first_kind},
            {"first_message", f.first_message}, {"replay", f.replay.empty() ? json(nullptr) : json(f.replay)},
            {"not_played", f.not_played}};
}

// The sandbox the games were played in; null after a merge, whose CSVs do not tell.
json sandbox_json(const MatchConfig& config) {
    if (!config.sandbox) return nullptr;
    const proc::Isolation& isolation = config.sandbox->isolation();
    return {{"mode", proc::mode_name(config.sandbox->settings().mode)},
            {"summary", isolation.summary()},
            {"enforced", isolation.enforced_names()},
            {"missing", isolation.missing_names()}};
}

json decisions_json(const MatchConfig& config, const MatchSummary& summary) {
    json decisions = json::array();
    const char* verdicts[] = {"undecided", "a", "b", "equal"};
    for (const PairDecision& pair : summary.decisions) {
        const Decision& d = pair.decision;
        decisions.push_back({{"a", config.players[pair.a].name},
                             {"b", config.players[pair.b].name},
                             {"verdict", verdicts[static_cast<int>(d.verdict)]},
                             {"deals", d.verdict == Verdict::undecided ? json(nullptr) : json(d.deals)},
                             {"anytime_interval", {pair.sequence.lower(), pair.sequence.upper()}}});
    }
    return decisions;
}

json decide_json(const MatchSummary& summary) {
    if (!summary.decide) return nullptr;
    return {{"alpha", summary.decide->alpha}, {"margin", summary.decide->margin}};
}

}  // namespace

std::string match_json(const MatchConfig& config, const MatchSummary& summary) {
    json players = json::array(), pairs = json::array(), faults = json::array();
    for (const Standing& s : summary.players) players.push_back(standing_json(config, s));
    for (const PairComparison& p : summary.pairs) pairs.push_back(pair_json(summary, p));
    for (const PlayerFaults& f : summary.faults) faults.push_back(faults_json(f));
    // Only what decides the results: a merged match tells the same as one played whole.
    const json out = {{"settings",
                       {{"deals", summary.total_deals},
                        {"played", summary.deals},
                        {"seed", config.seed},
                        {"timeout_ms", config.timeout_ms},
                        {"decide", decide_json(summary)},
                        {"ceiling", config.ceiling},
                        {"sandbox", sandbox_json(config)}}},
                      {"players", players},
                      {"ceiling", summary.ceiling ? standing_json(config, *summary.ceiling) : json(nullptr)},
                      {"pairs", pairs},
                      {"decisions", decisions_json(config, summary)},
                      {"faults", faults}};
    // Names and messages may hold any bytes: invalid UTF-8 is replaced, never a failure.
    return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace match
