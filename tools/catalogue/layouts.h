// Cage layouts: cutting the board into edge-joined cages of planned sizes on given grids.
#pragma once

#include "grids.h"
#include "prng.h"

#include <array>
#include <vector>

namespace tallywick {

// Number of cages of each size; index 1 to 7 is the cage size, index 0 is unused.
using SizeCounts = std::array<int, 8>;

int cell_total(const SizeCounts& sizes);
int cage_total(const SizeCounts& sizes);

// What one layout must achieve on the grids it is laid over (one grid, or two when two puzzles
// share their cages).
struct LayoutGoal {
    SizeCounts sizes{};
    int repeats = 0; // cages holding some digit twice, counted over all grids
    // Sums wanted on the first grid, by cage size, for the first cages of that size placed.
    std::array<std::vector<int>, 8> wanted_sums{};
    int forbidden_sum = 38; // no cage may add up to this on any grid
    int largest_sum = 39;   // nor to more than this
};

struct Layout {
    std::array<int, 82> cage_of{};       // cage index of each cell
    std::vector<std::vector<int>> cages; // cells of each cage, increasing
};

// Tries random layouts until one meets the goal; false after `attempts` failures.
bool grow_layout(const LayoutGoal& goal, const std::vector<Grid>& grids, Prng& rng, int attempts,
                 Layout& out);

// True when the cage holds some digit of the grid more than once.
bool repeats_digit(const std::vector<int>& cells, const Grid& grid);

} // namespace tallywick
