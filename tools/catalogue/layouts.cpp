// Random cage growth: each new cage starts at the first free cell and grows into free neighbours.
#include "layouts.h"

#include "board.h"

#include <algorithm>

namespace tallywick {

int cell_total(const SizeCounts& sizes) {
    int total = 0;
    for (int s = 1; s <= 7; ++s) {
        total += s * sizes[s];
    }
    return total;
}

int cage_total(const SizeCounts& sizes) {
    int total = 0;
    for (int s = 1; s <= 7; ++s) {
        total += sizes[s];
    }
    return total;
}

bool repeats_digit(const std::vector<int>& cells, const Grid& grid) {
    unsigned seen = 0;
    for (int c : cells) {
        const unsigned bit = bit_of(grid[c]);
        if ((seen & bit) != 0) {
            return true;
        }
        seen |= bit;
    }
    return false;
}

namespace {

// Grows a cage of `size` cells from `start` through free cells. Frontier cells that would be
// left with no free neighbour are taken first, so the cut leaves few one-cell holes.
std::vector<int> grow_cage(int start, int size, const std::array<int, 82>& cage_of, Prng& rng) {
    std::vector<int> cells{start};
    std::array<bool, 82> taken{};
    taken[start] = true;
    while (static_cast<int>(cells.size()) < size) {
        std::vector<int> frontier;
        std::vector<int> weights;
        int total = 0;
        for (int c : cells) {
            for (int n : neighbours_of(c)) {
                if (cage_of[n] >= 0 || taken[n] ||
                    std::find(frontier.begin(), frontier.end(), n) != frontier.end()) {
                    continue;
                }
                int free_neighbours = 0;
                for (int m : neighbours_of(n)) {
                    free_neighbours += (cage_of[m] < 0 && !taken[m]) ? 1 : 0;
                }
                int w = free_neighbours == 0 ? 8 : free_neighbours == 1 ? 2 : 1;
                frontier.push_back(n);
                weights.push_back(w);
                total += w;
            }
        }
        if (frontier.empty()) {
            break;
        }
        int draw = rng.below(total);
        std::size_t pick = 0;
        while (draw >= weights[pick]) {
            draw -= weights[pick];
            ++pick;
        }
        cells.push_back(frontier[pick]);
        taken[frontier[pick]] = true;
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

// Sizes still to place, in a random order where a size comes early in proportion to how many
// cages of it are left.
std::vector<int> size_order(const SizeCounts& left, Prng& rng) {
    std::vector<int> order;
    SizeCounts pool = left;
    for (;;) {
        int total = 0;
        for (int s = 1; s <= 7; ++s) {
            total += pool[s] > 0 ? pool[s] : 0;
        }
        if (total == 0) {
            return order;
        }
        int draw = rng.below(total);
        for (int s = 1; s <= 7; ++s) {
            if (pool[s] <= 0) {
                continue;
            }
            if (draw < pool[s]) {
                order.push_back(s);
                pool[s] = 0;
                break;
            }
            draw -= pool[s];
        }
    }
}

int sum_on(const std::vector<int>& cells, const Grid& grid) {
    int sum = 0;
    for (int c : cells) {
        sum += grid[c];
    }
    return sum;
}

} // namespace

bool grow_layout(const LayoutGoal& goal, const std::vector<Grid>& grids, Prng& rng, int attempts,
                 Layout& out) {
    if (cell_total(goal.sizes) != 81 || grids.empty()) {
        return false;
    }
    for (int attempt = 0; attempt < attempts; ++attempt) {
        Layout layout;
        layout.cage_of.fill(-1);
        layout.cage_of[0] = 0;
        SizeCounts left = goal.sizes;
        int repeats = 0;
        std::array<std::size_t, 8> placed_of_size{};
        bool ok = true;
        for (int cell = 1; cell <= 81 && ok; ++cell) {
            if (layout.cage_of[cell] >= 0) {
                continue;
            }
            bool placed = false;
            for (int size : size_order(left, rng)) {
                for (int tries = 0; tries < 6 && !placed; ++tries) {
                    std::vector<int> cells = grow_cage(cell, size, layout.cage_of, rng);
                    if (static_cast<int>(cells.size()) < size) {
                        continue;
                    }
                    int cage_repeats = 0;
                    bool allowed = true;
                    for (const Grid& grid : grids) {
                        const int sum = sum_on(cells, grid);
                        allowed = allowed && sum != goal.forbidden_sum && sum <= goal.largest_sum;
                        cage_repeats += repeats_digit(cells, grid) ? 1 : 0;
                    }
                    if (!allowed || repeats + cage_repeats > goal.repeats) {
                        continue;
                    }
                    const std::vector<int>& wanted = goal.wanted_sums[size];
                    if (placed_of_size[size] < wanted.size() &&
                        sum_on(cells, grids[0]) != wanted[placed_of_size[size]]) {
                        continue;
                    }
                    ++placed_of_size[size];
                    repeats += cage_repeats;
                    --left[size];
                    for (int c : cells) {
                        layout.cage_of[c] = static_cast<int>(layout.cages.size());
                    }
                    layout.cages.push_back(std::move(cells));
                    placed = true;
                }
                if (placed) {
                    break;
                }
            }
            ok = placed;
        }
        if (ok && repeats == goal.repeats) {
            out = std::move(layout);
            return true;
        }
    }
    return false;
}

} // namespace tallywick
