// The catalogue's shape, decided before any cage is cut: grids, cage sizes and codes per puzzle.
#pragma once

#include "layouts.h"
#include "prng.h"

#include "catalogue/catalogue_size.h"

#include <array>
#include <vector>

namespace tallywick {

inline constexpr int grid_count = 46;
inline constexpr int shared_layout_first = 5; // puzzles 5 and 12 share their colour codes
inline constexpr int shared_layout_second = 12;
inline constexpr int repeat_cage_total = 212; // cages holding a digit twice, whole catalogue

// Cages of each size over the whole catalogue.
inline constexpr SizeCounts catalogue_sizes = {0, 107, 1015, 986, 904, 122, 9, 3};

// Which of the 46 grids a puzzle is laid on: puzzle 1 on grid 0, then round the grids in turn.
int grid_of(int puzzle);

// The colour codes a puzzle uses, every one of them at least once.
std::vector<int> codes_of(int puzzle);

// Cage sizes for every puzzle from 2 to 116 (puzzle 12 repeats puzzle 5), so that together
// with puzzle 1's sizes the totals come out exactly. Index is the puzzle number.
std::array<SizeCounts, catalogue_puzzles + 1> plan_sizes(const SizeCounts& first_puzzle, Prng& rng);

} // namespace tallywick
