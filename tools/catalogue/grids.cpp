// Random complete grids by backtracking, with the digits of each cell tried in random order.
#include "grids.h"

#include <vector>

namespace tallywick {
namespace {

int row_of(int cell) {
    return (cell - 1) / 9;
}
int place_of(int cell) {
    return (cell - 1) % 9;
}
int block_of(int cell) {
    return (row_of(cell) / 3) * 3 + place_of(cell) / 3;
}

struct Units {
    std::array<unsigned, 9> rows{};
    std::array<unsigned, 9> places{};
    std::array<unsigned, 9> blocks{};

    unsigned used(int cell) const {
        return rows[row_of(cell)] | places[place_of(cell)] | blocks[block_of(cell)];
    }
    void toggle(int cell, int digit) {
        unsigned bit = 1u << digit;
        rows[row_of(cell)] ^= bit;
        places[place_of(cell)] ^= bit;
        blocks[block_of(cell)] ^= bit;
    }
};

bool fill_from(Grid& grid, Units& units, int cell, Prng& rng) {
    while (cell <= 81 && grid[cell] != 0) {
        ++cell;
    }
    if (cell > 81) {
        return true;
    }
    std::vector<int> digits{1, 2, 3, 4, 5, 6, 7, 8, 9};
    rng.shuffle(digits);
    for (int d : digits) {
        if ((units.used(cell) & (1u << d)) != 0) {
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
    Units units;
    for (int cell = 1; cell <= 81; ++cell) {
        int d = grid[cell];
        if (d < 1 || d > 9 || (units.used(cell) & (1u << d)) != 0) {
            return false;
        }
        units.toggle(cell, d);
    }
    return true;
}

bool fill_grid(Grid& givens, Prng& rng) {
    Units units;
    for (int cell = 1; cell <= 81; ++cell) {
        int d = givens[cell];
        if (d == 0) {
            continue;
        }
        if (d < 1 || d > 9 || (units.used(cell) & (1u << d)) != 0) {
            return false;
        }
        units.toggle(cell, d);
    }
    return fill_from(givens, units, 1, rng);
}

} // namespace tallywick
