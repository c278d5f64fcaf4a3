// Summary statistics for the match table: mean with a 95% confidence
// interval (Student's t), median, extremes.
#pragma once

#include <vector>

namespace match {

struct Summary {
    int n = 0;
    double mean = 0;
    double half_width = 0;  // of the 95% confidence interval of the mean; 0 when n < 2
    double median = 0;
    double min = 0, max = 0;
};

Summary summarize(std::vector<double> values);

// Two-sided 95% quantile of Student's t with the given degrees of freedom (>= 1).
double t95(int degrees_of_freedom);

// The q-th quantile (0..1) of sorted values, interpolated linearly.
double quantile(const std::vector<double>& sorted, double q);

}  // namespace match
