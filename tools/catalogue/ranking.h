// Rank correlation: how closely the difficulties of a run of puzzles rise with their places.
#pragma once

#include <cstdint>
#include <vector>

namespace tallywick {

// Spearman's rank correlation of the difficulties with their places 1, 2, 3 and so on, tied
// difficulties sharing the mean of their ranks: 1 when every puzzle is harder than the one
// before it.
double rank_correlation(const std::vector<std::int64_t>& difficulty);

} // namespace tallywick
