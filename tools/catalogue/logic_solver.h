// Human-style killer-sudoku solver: reasons from the cages and sums alone, never guessing, and
// reports which techniques it needed.
#pragma once

#include "solver.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tallywick {

// The techniques, easiest first. The solver always uses the easiest one that makes progress.
enum LogicLevel : int {
    singles = 1,           // naked and hidden singles; a one-cell cage is a given
    cage_combinations = 2, // each cage cell keeps only digits of some filling of its cage
    rule_of_45 = 3,        // innies and outies of one to three rows, columns or blocks
    subsets = 4,           // locked candidates, naked and hidden pairs, triples and quads
    cage_unit = 5,         // a digit a cage must put in a unit, or a unit must put in a cage
    advanced = 6,          // fish, larger virtual cages, simple chains
};
inline constexpr int logic_level_count = 6;

struct LogicResult {
    bool solved = false;        // every cell holds exactly one candidate
    bool contradiction = false; // some cell or some cage lost every possibility
    int hardest_level = 0;      // the hardest level that made progress, 0 when none did
    std::array<int, logic_level_count + 1> steps{}; // times each level made progress
    std::array<std::uint16_t, 82> candidates{};     // bit d - 1 for digit d, by cell number
    std::array<int, 82> digits{};                   // solved cells' digits, 0 elsewhere

    // Difficulty for ordering puzzles: the hardest level first, then the work done, where a
    // step of a harder level weighs more.
    std::int64_t score() const;
};

// Solves as far as reasoning up to `max_level` allows. Cells outside every cage are free.
// Throws std::invalid_argument when a cell number is out of range or two cages share a cell.
LogicResult solve_logically(const std::vector<Cage>& cages, int max_level = logic_level_count);

} // namespace tallywick
