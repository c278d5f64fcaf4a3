#include "match/decide.h"

#include <algorithm>
#include <cmath>

namespace match {

namespace {

constexpr double RANGE = 400;           // a difference lies in [−RANGE, RANGE]
constexpr double LARGEST_BET = 0.5;      // c of λ's truncation

double penalty(double lambda) { return (-std::log1p(-lambda) - lambda) / 4; }

}  // namespace

ConfidenceSequence::ConfidenceSequence(double alpha) : log_term_(std::log(2 / alpha)), lower_(-RANGE), upper_(RANGE) {}

void ConfidenceSequence::add(double difference) {
    const double x = (difference + RANGE) / (2 * RANGE);
    ++t_;
    const double t = t_;
    const double lambda = std::min(std::sqrt(2 * log_term_ / (variance_ * t * std::log1p(t))), LARGEST_BET);
    sum_lambda_ += lambda;
    sum_lambda_x_ += lambda * x;
    sum_penalty_ += 4 * (x - mean_) * (x - mean_) * penalty(lambda);
    const double centre = sum_lambda_x_ / sum_lambda_;
    const double radius = (log_term_ + sum_penalty_) / sum_lambda_;
    lower_ = std::max(lower_, (std::max(centre - radius, 0.0)) * 2 * RANGE - RANGE);
    upper_ = std::min(upper_, (std::min(centre + radius, 1.0)) * 2 * RANGE - RANGE);
    // μ_t and σ²_t, for the next deal's bet and penalty.
    sum_x_ += x;
    mean_ = (0.5 + sum_x_) / (t + 1);
    sum_squares_ += (x - mean_) * (x - mean_);
    variance_ = (0.25 + sum_squares_) / (t + 1);
}

Verdict verdict_of(const ConfidenceSequence& sequence, double margin) {
    if (sequence.lower() > 0) return Verdict::a_better;
    if (sequence.upper() < 0) return Verdict::b_better;
    if (margin > 0 && sequence.lower() > -margin && sequence.upper() < margin) return Verdict::equal;
    return Verdict::undecided;
}

}  // namespace match
