// Deciding between two players as the deals come, with an error rate that
// holds however often the result is looked at and whenever the match stops.
//
// The per-deal difference of two players' scores, D = A − B, lies in
// [−400, 400]. Scaled to X = (D + 400) / 800 in [0, 1], its mean is followed
// by the predictable plug-in empirical-Bernstein confidence sequence of
// Waudby-Smith and Ramdas, "Estimating means of bounded random variables by
// betting" (J. R. Stat. Soc. B, 2024), Theorem 2: after t deals,
//
//   C_t = Σ λ_i X_i / Σ λ_i  ±  (log(2/α) + Σ v_i ψ(λ_i)) / Σ λ_i,
//   v_i = 4 (X_i − μ_{i−1})²,            ψ(λ) = (−log(1 − λ) − λ) / 4,
//   λ_i = min(√(2 log(2/α) / (σ²_{i−1} i log(1 + i))), 1/2),
//   μ_i = (1/2 + Σ_{j≤i} X_j) / (i + 1),  σ²_i = (1/4 + Σ_{j≤i} (X_j − μ_j)²) / (i + 1),
//
// which holds the true mean at every t at once with probability at least
// 1 − α, for any data-dependent stopping rule. Its running intersection does
// too, and is what is kept. Several pairs share α by Bonferroni.
#pragma once

#include <optional>

namespace match {

class ConfidenceSequence {
public:
    explicit ConfidenceSequence(double alpha);
    void add(double difference);  // A − B on one more deal, in [−400, 400]
    int count() const { return t_; }
    // The interval of the mean difference, in points; [−400, 400] before any deal.
    double lower() const { return lower_; }
    double upper() const { return upper_; }

private:
    double log_term_;  // log(2/α)
    int t_ = 0;
    double sum_x_ = 0, sum_squares_ = 0;  // for μ and σ²
    double mean_ = 0.5, variance_ = 0.25;  // μ_{t}, σ²_{t}
    double sum_lambda_ = 0, sum_lambda_x_ = 0, sum_penalty_ = 0;
    double lower_, upper_;
};

enum class Verdict { undecided, a_better, b_better, equal };

// What the sequence says: better when it excludes 0, equal when it lies
// inside (−margin, margin) (a margin of 0 never says equal).
Verdict verdict_of(const ConfidenceSequence& sequence, double margin);

// A pair's decision, once taken: the verdict and the deal count it came at.
struct Decision {
    Verdict verdict = Verdict::undecided;
    int deals = 0;       // deals of the match (a prefix, in deal order) when it was taken
    double lower = 0, upper = 0;  // the interval then
};

}  // namespace match
