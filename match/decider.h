// The decisions of --decide: every pair of players followed deal by deal, in
// the match's deal order (deal 1, 2, ...) whatever the jobs, on the longest
// prefix of deals finished, so that the same seed gives the same decisions at
// the same counts. A pair's differences are those of the deals both played
// without a fault. Its level is the match's alpha shared by Bonferroni.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "match/decide.h"
#include "match/match.h"

namespace match {

struct PairDecision {
    std::size_t a = 0, b = 0;  // places in MatchConfig::players
    ConfidenceSequence sequence;
    Decision decision = {};
};

class Decider {
public:
    explicit Decider(const MatchConfig& config);
    // A finished deal, in any order; the prefix's deals are taken in order.
    void add(const DealOutcome& deal);
    bool all_decided() const;
    int prefix() const { return next_; }  // deals taken
    const std::vector<PairDecision>& pairs() const { return pairs_; }
    // The undecided pairs and their intervals, shortly, for the progress line.
    std::string undecided_text(const MatchConfig& config) const;

private:
    void take(const DealOutcome& deal);

    double margin_;
    std::vector<PairDecision> pairs_;
    std::map<int, DealOutcome> waiting_;  // finished past the prefix
    int next_ = 0;
};

// The decisions on deals already played (a resumed or finished match's).
std::vector<PairDecision> decisions_of(const MatchConfig& config, const std::vector<DealOutcome>& deals);

// "A mai bun", "B mai bun", "egali", "nedecis".
const char* verdict_text(Verdict verdict);

}  // namespace match
