// Solution grids for the catalogue: random complete sudoku grids drawn from the generator's seed.
#pragma once

#include "prng.h"

#include <array>
#include <cstdint>

namespace tallywick {

// Slot k holds the digit of cell k (1 to 81); slot 0 is unused and 0.
using Grid = std::array<std::int32_t, 82>;

// True when every board row, column and block holds the digits 1 to 9 once each.
bool is_complete_grid(const Grid& grid);

// Fills the empty slots (0) of `givens` into a complete grid, trying digits in random order.
// Returns false when the givens cannot be completed.
bool fill_grid(Grid& givens, Prng& rng);

} // namespace tallywick
