// Splitting the catalogue's cage counts between the puzzles, and each puzzle's set of codes.
#include "plan.h"

#include <stdexcept>

namespace tallywick {
namespace {

// Two puzzles mark the ends of the range of cages per puzzle: one with 39, one with 23.
constexpr int most_cages_puzzle = 40;
constexpr SizeCounts most_cages = {0, 3, 30, 6, 0, 0, 0, 0};
constexpr int fewest_cages_puzzle = 90;
constexpr SizeCounts fewest_cages = {0, 0, 5, 6, 8, 3, 1, 0};
constexpr int four_code_puzzle = 20;

} // namespace

int grid_of(int puzzle) {
    return (puzzle - 1) % grid_count;
}

std::vector<int> codes_of(int puzzle) {
    if (puzzle == shared_layout_second) {
        puzzle = shared_layout_first;
    }
    // Of the four-code sets open to it, this one has the fewest confusable pairs: only
    // light blue and light magenta look alike (to protanopes).
    if (puzzle == four_code_puzzle) {
        return {1, 3, 5, 6};
    }
    if (puzzle == 8) {
        return {1, 2, 3, 5, 7};
    }
    if (puzzle <= 30) {
        return {1, 2, 3, 5, 6};
    }
    if (puzzle == 113) {
        return {1, 2, 3, 4, 5, 6, 8};
    }
    if (puzzle == 114 || puzzle == 115) {
        return {1, 2, 3, 4, 5, 6, 7, 8};
    }
    return {1, 2, 3, 4, 5, 6};
}

std::array<SizeCounts, catalogue_puzzles + 1> plan_sizes(const SizeCounts& first_puzzle,
                                                         Prng& rng) {
    std::array<SizeCounts, catalogue_puzzles + 1> plan{};
    SizeCounts pool{};
    for (int s = 1; s <= 7; ++s) {
        pool[s] = catalogue_sizes[s] - first_puzzle[s] - most_cages[s] - fewest_cages[s];
    }
    plan[most_cages_puzzle] = most_cages;
    plan[fewest_cages_puzzle] = fewest_cages;
    std::vector<int> order;
    int weight_left = 0;
    for (int p = 2; p <= catalogue_puzzles; ++p) {
        if (p != shared_layout_second && p != most_cages_puzzle && p != fewest_cages_puzzle) {
            order.push_back(p);
            weight_left += p == shared_layout_first ? 2 : 1;
        }
    }
    for (int p : order) {
        const int w = p == shared_layout_first ? 2 : 1;
        SizeCounts take{};
        // Each size gets its fair share of what is left, rounded up or down at random in
        // proportion to the fraction, so the last puzzle takes exactly the rest.
        for (int s = 1; s <= 7; ++s) {
            const int share = pool[s] * w;
            take[s] = share / weight_left;
            if (rng.below(weight_left) < share % weight_left) {
                ++take[s];
            }
            take[s] = std::min(take[s], pool[s] / w);
        }
        // Trade cells between neighbouring sizes (1 to 5 only) until the board is covered.
        for (int guard = 0; cell_total(take) != 81; ++guard) {
            if (guard > 10000) {
                throw std::runtime_error("cannot plan the cage sizes of puzzle " +
                                         std::to_string(p));
            }
            const bool shrink = cell_total(take) > 81;
            const int s = 1 + rng.below(5);
            const int to = shrink ? s - 1 : s + 1;
            if (to > 5 || take[s] == 0) {
                continue;
            }
            if (to >= 1 && w * (take[to] + 1) > pool[to]) {
                continue;
            }
            if (to == 0 && !shrink) {
                continue;
            }
            --take[s];
            if (to >= 1) {
                ++take[to];
            }
        }
        for (int s = 1; s <= 7; ++s) {
            pool[s] -= w * take[s];
        }
        weight_left -= w;
        plan[p] = take;
    }
    plan[shared_layout_second] = plan[shared_layout_first];
    for (int s = 1; s <= 7; ++s) {
        if (pool[s] != 0) {
            throw std::runtime_error("cage sizes left over after planning");
        }
    }
    return plan;
}

} // namespace tallywick
