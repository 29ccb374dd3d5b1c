// The board as every tool sees it: cells, units, neighbours, candidate masks, and cages made
// from colour codes or checked when given as lists. Cells are 0-based indexes (cell number
// less 1) unless a name says cell number.
#pragma once

#include "solver.h"

#include "core/cages.h"
#include "core/cells.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstdint>
#include <vector>

namespace tallywick {

using core::cell_count;
inline constexpr int unit_count = 27;         // rows 0-8, columns 9-17, blocks 18-26
inline constexpr unsigned all_digits = 0x1FF; // bit d - 1 stands for digit d

// The row, place in the row and block of a 0-based cell index, from the board's own numbering.
constexpr int row_of_index(int i) {
    return core::row_of(i + 1);
}
constexpr int place_of_index(int i) {
    return core::place_of(i + 1);
}
constexpr int block_of_index(int i) {
    return core::block_of(i + 1);
}

// Candidate masks.
constexpr unsigned bit_of(int digit) {
    return 1u << (digit - 1);
}
constexpr int lowest_digit(unsigned mask) {
    return std::countr_zero(mask) + 1;
}
constexpr int highest_digit(unsigned mask) {
    return 32 - std::countl_zero(mask);
}
constexpr bool is_single(unsigned mask) {
    return std::has_single_bit(mask);
}
// The digit of a mask with one digit left.
constexpr int digit_of(unsigned single) {
    return lowest_digit(single);
}
// Digits from lo to hi, as a mask; empty when the range holds no digit 1 to 9.
constexpr unsigned range_mask(int lo, int hi) {
    lo = std::max(lo, 1);
    hi = std::min(hi, 9);
    if (lo > hi) {
        return 0;
    }
    return ((1u << hi) - 1) & ~((1u << (lo - 1)) - 1);
}

using Region = std::bitset<cell_count>;

// The 27 units with their cells in increasing order, the units of each cell, which cells see
// each other (share a row, column or block) and each unit as a region.
struct Units {
    std::array<std::array<int, 9>, unit_count> cells{};
    std::array<std::array<int, 3>, cell_count> of{};
    std::array<Region, cell_count> sees{};
    std::array<std::vector<int>, cell_count> peers; // the cells each cell sees, increasing
    std::array<Region, unit_count> region{};
};
Units make_units();
// Built once; inline, as the solvers ask for it in their innermost loops.
inline const Units& units() {
    static const Units table = make_units();
    return table;
}

// A set of cells whose digits add up to a known sum: a cage, or what the rule of 45 makes.
struct SumRule {
    std::vector<int> cells;
    int sum = 0;
};

// Cages given as cell-number lists, checked: each as a sum rule over cell indexes, and the
// cage of every cell (-1 for a cell in no cage). Throws std::invalid_argument when a cell
// number is out of range or two cages share a cell.
struct CageIndex {
    std::vector<SumRule> cages;
    std::array<int, cell_count> cage_of{};
};
CageIndex index_cages(const std::vector<Cage>& cages);

// The rule of 45 over a region of `span` whole units: the innies, its cells outside the cages
// lying wholly inside it, add up to 45 per unit less those cages' sums; the outies, the cells
// outside it of the cages reaching into it, add up to those cages' sums less what the innies
// need. A cell in no cage counts among the innies and leaves the region not covered, and the
// outies then mean nothing. Cells come in the order the region's cells first meet their cages.
struct RegionSums {
    SumRule innies;
    SumRule outies;
    bool covered = true;
};
RegionSums region_sums(const CageIndex& index, const Region& region, int span);

// From here on cells are numbered 1 to 81, as the catalogue counts them.

// Cell k's neighbours share an edge with it.
using core::neighbours_of;

// The anchor of a cage: its cell in its top-most row with the largest cell number there,
// which is the left-most cell of that row on screen.
int anchor_of(const std::vector<int>& cells);

// Splits a row of colour codes (slots 1 to 81) into cages by the board's flood fill, with each
// cage's sum taken from the solution digits. Cages come in the order of their first cell number and
// each lists its cells in increasing order.
std::vector<Cage> cages_from_colors(const std::array<std::int32_t, 82>& color,
                                    const std::array<std::int32_t, 82>& level);

} // namespace tallywick
