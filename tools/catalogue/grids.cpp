// Random complete grids by backtracking, with the digits of each cell tried in random order.
#include "grids.h"

#include "board.h"

#include <vector>

namespace tallywick {
namespace {

// The digits each row, column and block of a grid in the making holds, by cell number.
struct UsedDigits {
    std::array<unsigned, 9> rows{};
    std::array<unsigned, 9> places{};
    std::array<unsigned, 9> blocks{};

    unsigned used(int cell) const {
        const int i = cell - 1;
        return rows[row_of_index(i)] | places[place_of_index(i)] | blocks[block_of_index(i)];
    }
    void toggle(int cell, int digit) {
        const int i = cell - 1;
        rows[row_of_index(i)] ^= bit_of(digit);
        places[place_of_index(i)] ^= bit_of(digit);
        blocks[block_of_index(i)] ^= bit_of(digit);
    }
};

bool fill_from(Grid& grid, UsedDigits& units, int cell, Prng& rng) {
    while (cell <= 81 && grid[cell] != 0) {
        ++cell;
    }
    if (cell > 81) {
        return true;
    }
    std::vector<int> digits{1, 2, 3, 4, 5, 6, 7, 8, 9};
    rng.shuffle(digits);
    for (int d : digits) {
        if ((units.used(cell) & bit_of(d)) != 0) {
            continue;
        }
        grid[cell] = d;
        units.toggle(cell, d);
        if (fill_from(grid, units, cell + 1, rng)) {
            return true;
        }
        units.toggle(cell, d);
        grid[cell] = 0;
    }
    return false;
}

} // namespace

bool is_complete_grid(const Grid& grid) {
    UsedDigits units;
    for (int cell = 1; cell <= 81; ++cell) {
        int d = grid[cell];
        if (d < 1 || d > 9 || (units.used(cell) & bit_of(d)) != 0) {
            return false;
        }
        units.toggle(cell, d);
    }
    return true;
}

bool fill_grid(Grid& givens, Prng& rng) {
    UsedDigits units;
    for (int cell = 1; cell <= 81; ++cell) {
        int d = givens[cell];
        if (d == 0) {
            continue;
        }
        if (d < 1 || d > 9 || (units.used(cell) & bit_of(d)) != 0) {
            return false;
        }
        units.toggle(cell, d);
    }
    return fill_from(givens, units, 1, rng);
}

} // namespace tallywick
