#include "match/decider.h"

#include <algorithm>

#include "match/tables.h"

namespace match {

Decider::Decider(const MatchConfig& config) : margin_(config.decide ? config.decide->margin : 0) {
    const std::size_t n = config.players.size();
    const double pairs = static_cast<double>(n * (n - 1) / 2);
    const double alpha = config.decide ? config.decide->alpha : 0.05;
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a + 1; b < n; ++b) pairs_.push_back({a, b, ConfidenceSequence(alpha / pairs)});
    }
}

void Decider::add(const DealOutcome& deal) {
    waiting_.emplace(deal.index, deal);
    for (auto next = waiting_.find(next_); next != waiting_.end(); next = waiting_.find(next_)) {
        take(next->second);
        waiting_.erase(next);
    }
}

void Decider::take(const DealOutcome& deal) {
    ++next_;
    for (PairDecision& pair : pairs_) {
        const GameOutcome& a = deal.games[pair.a];
        const GameOutcome& b = deal.games[pair.b];
        if (!scored(a) || !scored(b)) continue;
        pair.sequence.add(a.score - b.score);
        if (pair.decision.verdict != Verdict::undecided) continue;
        const Verdict verdict = verdict_of(pair.sequence, margin_);
        if (verdict != Verdict::undecided) {
            pair.decision = {verdict, next_, pair.sequence.lower(), pair.sequence.upper()};
        }
    }
}

bool Decider::all_decided() const {
    return std::all_of(pairs_.begin(), pairs_.end(),
                       [](const PairDecision& pair) { return pair.decision.verdict != Verdict::undecided; });
}

std::string Decider::undecided_text(const MatchConfig& config) const {
    std::string text;
    int undecided = 0;
    for (const PairDecision& pair : pairs_) {
        if (pair.decision.verdict != Verdict::undecided || ++undecided > 2) continue;
        text += (text.empty() ? "" : ", ") + config.players[pair.a].name + "−" + config.players[pair.b].name + " [" +
                fixed(pair.sequence.lower(), 1) + ", " + fixed(pair.sequence.upper(), 1) + "]";
    }
    if (undecided > 2) text += ", …";
    return undecided == 0 ? "" : "nedecise " + std::to_string(undecided) + ": " + text;
}

std::vector<PairDecision> decisions_of(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    Decider decider(config);
    for (const DealOutcome& deal : deals) decider.add(deal);
    return decider.pairs();
}

const char* verdict_text(Verdict verdict) {
    switch (verdict) {
        case Verdict::a_better: return "A mai bun";
        case Verdict::b_better: return "B mai bun";
        case Verdict::equal: return "egali";
        case Verdict::undecided: return "nedecis";
    }
    return "?";
}

}  // namespace match
