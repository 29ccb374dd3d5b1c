// Exact killer-sudoku solver: counts the solutions of a board given only by its cages and sums.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tallywick {

// One cage: the cell numbers (1 to 81) it covers and the sum of its digits. The digits of a
// cage need not be distinct; they only have to add up to the sum.
struct Cage {
    std::vector<int> cells;
    int sum = 0;
};

struct SolveResult {
    int count = 0;               // solutions found, at most the limit asked for
    bool aborted = false;        // the node budget ran out before the search finished
    std::array<int, 82> first{}; // the first solution found, indexed by cell number
    std::vector<std::array<int, 82>> solutions; // every solution found, in the order found
    std::int64_t nodes = 0;                     // search nodes visited
};

// Counts the solutions of the board up to `limit`: every row, column and block holds 1 to 9
// once and every cage's digits add up to its sum. Cells outside every cage are free. A
// node_budget of 0 means no budget. Throws std::invalid_argument when a cell number is out of
// range or two cages share a cell.
SolveResult count_solutions(const std::vector<Cage>& cages, int limit = 2,
                            std::int64_t node_budget = 0);

} // namespace tallywick
