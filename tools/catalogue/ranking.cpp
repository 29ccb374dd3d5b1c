// Rank correlation: how closely the difficulties of a run of puzzles rise with their places.
#include "ranking.h"

#include <algorithm>
#include <cmath>

namespace tallywick {
namespace {

// Average ranks (1 for the least), ties sharing the mean of their places.
std::vector<double> ranks_of(const std::vector<std::int64_t>& values) {
    std::vector<std::size_t> order(values.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j < order.size() && values[order[j]] == values[order[i]]) {
            ++j;
        }
        for (std::size_t k = i; k < j; ++k) {
            ranks[order[k]] = (static_cast<double>(i + j) + 1.0) / 2.0;
        }
        i = j;
    }
    return ranks;
}

} // namespace

// Spearman's rank correlation of the difficulties with their places 1, 2, 3 and so on.
double rank_correlation(const std::vector<std::int64_t>& difficulty) {
    const std::vector<double> ranks = ranks_of(difficulty);
    const double n = static_cast<double>(ranks.size());
    const double mean = (n + 1.0) / 2.0;
    double both = 0;
    double spread_rank = 0;
    double spread_place = 0;
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        const double place = static_cast<double>(i + 1) - mean;
        both += (ranks[i] - mean) * place;
        spread_rank += (ranks[i] - mean) * (ranks[i] - mean);
        spread_place += place * place;
    }
    return both / std::sqrt(spread_rank * spread_place);
}

} // namespace tallywick
