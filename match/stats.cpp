#include "match/stats.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace match {

double t95(int degrees_of_freedom) {
    static constexpr std::array<double, 30> TABLE = {
        12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306, 2.262, 2.228, 2.201, 2.179, 2.160, 2.145, 2.131,
        2.120,  2.110, 2.101, 2.093, 2.086, 2.080, 2.074, 2.069, 2.064, 2.060, 2.056, 2.052, 2.048, 2.045, 2.042};
    if (degrees_of_freedom <= 30) return TABLE[std::max(degrees_of_freedom, 1) - 1];
    return 1.960 + 2.4 / degrees_of_freedom;  // within 0.002 of the exact quantile beyond 30
}

double quantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty()) return 0;
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (position - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

Summary summarize(std::vector<double> values) {
    Summary s;
    s.n = static_cast<int>(values.size());
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values) sum += v;
    s.mean = sum / s.n;
    if (s.n >= 2) {
        double squares = 0;
        for (double v : values) squares += (v - s.mean) * (v - s.mean);
        const double deviation = std::sqrt(squares / (s.n - 1));
        s.half_width = t95(s.n - 1) * deviation / std::sqrt(static_cast<double>(s.n));
    }
    s.median = quantile(values, 0.5);
    s.min = values.front();
    s.max = values.back();
    return s;
}

}  // namespace match
