#pragma once

// Medians and spreads of a figure over the benchmark's runs.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace beltrix::bench {

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
    double q1 = 0; // the quartiles, interpolated between the sorted samples
    double q3 = 0;
    std::size_t count = 0;
};

inline double quantile(const std::vector<double>& sorted, double q) {
    const double at = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

inline Summary summarise(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) {
        return s;
    }
    std::sort(samples.begin(), samples.end());
    s.median = quantile(samples, 0.5);
    s.q1 = quantile(samples, 0.25);
    s.q3 = quantile(samples, 0.75);
    s.min = samples.front();
    s.max = samples.back();
    return s;
}

} // namespace beltrix::bench
