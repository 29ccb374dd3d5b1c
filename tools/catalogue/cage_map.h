// Cages of one puzzle as the game sees them: edge-joined groups of cells with one colour code.
#pragma once

#include "solver.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tallywick {

// Cell k's neighbours share an edge with it: k - 1 and k + 1 in the same board row, k - 9
// and k + 9 in the rows above and below.
std::vector<int> neighbours_of(int cell);

// The anchor of a cage: its cell in its top-most row with the largest cell number there,
// which is the left-most cell of that row on screen.
int anchor_of(const std::vector<int>& cells);

// Splits a row of colour codes (slots 1 to 81) into cages by flood fill, with each cage's sum
// taken from the solution digits. Cages come in the order of their first cell number and
// each lists its cells in increasing order.
std::vector<Cage> cages_from_colors(const std::array<std::int32_t, 82>& color,
                                    const std::array<std::int32_t, 82>& level);

} // namespace tallywick
