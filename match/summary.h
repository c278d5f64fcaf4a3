// What a match's results say, worked out once for every way they are shown:
// the terminal tables, the JSON summary, the score pictures and the report.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "match/decider.h"
#include "match/match.h"
#include "match/stats.h"

namespace match {

struct Standing {
    std::string name;                      // the player's, or the ceiling's row label
    std::size_t player = 0;                // its place in MatchConfig::players (the ceiling: their count)
    int games = 0;                         // deals played
    int faults = 0;
    int not_played = 0;                    // games left after it was stopped for faulting again and again
    Summary scores = {};                        // of the games without a fault
    std::vector<double> sorted_scores = {};     // the same games' scores, ascending
    std::optional<double> ceiling_share = {};   // mean of score / ceiling over deals with a ceiling above 0
    std::optional<double> ceiling_reached = {}; // share of those games that scored the ceiling
    double ms_per_game = 0;                // the ceiling's: processor time of its search per deal
};

struct PairComparison {
    std::size_t a = 0, b = 0;  // places in MatchSummary::players; a ranks above b
    Summary difference = {};   // of a's score minus b's, on the deals both finished
    int a_wins = 0, ties = 0, b_wins = 0;
    // The 95% interval of the mean difference excludes zero.
    bool significant() const;
};

struct FaultCount {
    std::string kind;  // fault_name
    int count = 0;
};

struct PlayerFaults {
    std::string player;
    std::vector<FaultCount> kinds = {};  // by kind name
    int first_deal = 0;                  // 1-based
    std::string first_kind = {};         // fault_name
    std::string first_message = {};
    std::string replay = {};             // the command that plays the first fault again; empty: unknown
    int not_played = 0;                  // its games left after it was stopped
};

struct MatchSummary {
    int deals = 0;         // the deals played, summed up here
    int total_deals = 0;   // of the whole match: more when a shard, or missing deals, leave some out
    std::vector<Standing> players;   // by mean score, best first; players with no scored game last
    std::optional<Standing> ceiling;
    std::vector<PairComparison> pairs;  // every player against each one ranked below it
    std::vector<PlayerFaults> faults;   // players that faulted, in ranking order
    std::vector<PairDecision> decisions;  // with --decide: every pair, in the players' order
    std::optional<MatchConfig::Decide> decide;
};

// The label of the ceiling's row in tables and pictures.
inline constexpr const char* CEILING_ROW = "plafon (ceilscore)";

MatchSummary summarize_match(const MatchConfig& config, const std::vector<DealOutcome>& deals);

}  // namespace match
