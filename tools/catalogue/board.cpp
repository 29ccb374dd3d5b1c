// The board's tables, cage checking, the rule of 45 and cages made from colour codes.
#include "board.h"

#include <stdexcept>
#include <string>

namespace tallywick {

Units make_units() {
    Units u;
    for (int i = 0; i < cell_count; ++i) {
        const int row = row_of_index(i);
        const int place = place_of_index(i);
        const int block = block_of_index(i);
        u.of[i] = {row, 9 + place, 18 + block};
        u.cells[row][place] = i;
        u.cells[9 + place][row] = i;
        u.cells[18 + block][(row % 3) * 3 + place % 3] = i;
        for (int unit : u.of[i]) {
            u.region[unit][i] = true;
        }
    }
    for (int i = 0; i < cell_count; ++i) {
        for (int j = 0; j < cell_count; ++j) {
            const bool shared =
                u.of[i][0] == u.of[j][0] || u.of[i][1] == u.of[j][1] || u.of[i][2] == u.of[j][2];
            if (i != j && shared) {
                u.sees[i][j] = true;
                u.peers[i].push_back(j);
            }
        }
    }
    return u;
}

CageIndex index_cages(const std::vector<Cage>& cages) {
    CageIndex index;
    index.cage_of.fill(-1);
    for (const Cage& cage : cages) {
        SumRule rule{{}, cage.sum};
        for (int cell : cage.cells) {
            if (cell < 1 || cell > cell_count) {
                throw std::invalid_argument("cell number out of range: " + std::to_string(cell));
            }
            if (index.cage_of[cell - 1] >= 0) {
                throw std::invalid_argument("cell " + std::to_string(cell) +
                                            " belongs to two cages");
            }
            index.cage_of[cell - 1] = static_cast<int>(index.cages.size());
            rule.cells.push_back(cell - 1);
        }
        index.cages.push_back(std::move(rule));
    }
    return index;
}

RegionSums region_sums(const CageIndex& index, const Region& region, int span) {
    RegionSums out;
    int inside_sum = 0;
    int partial_sum = 0;
    std::vector<bool> counted(index.cages.size(), false);
    for (int c = 0; c < cell_count; ++c) {
        if (!region[c]) {
            continue;
        }
        const int k = index.cage_of[c];
        if (k < 0) {
            out.covered = false;
            out.innies.cells.push_back(c);
            continue;
        }
        if (counted[k]) {
            continue;
        }
        counted[k] = true;
        const SumRule& cage = index.cages[k];
        const bool inside =
            std::all_of(cage.cells.begin(), cage.cells.end(), [&](int x) { return region[x]; });
        if (inside) {
            inside_sum += cage.sum;
            continue;
        }
        partial_sum += cage.sum;
        for (int x : cage.cells) {
            (region[x] ? out.innies : out.outies).cells.push_back(x);
        }
    }
    out.innies.sum = 45 * span - inside_sum;
    out.outies.sum = partial_sum - out.innies.sum;
    return out;
}

int anchor_of(const std::vector<int>& cells) {
    int top = *std::min_element(cells.begin(), cells.end());
    const int row = core::row_of(top);
    int anchor = top;
    for (int c : cells) {
        if (core::row_of(c) == row) {
            anchor = std::max(anchor, c);
        }
    }
    return anchor;
}

std::vector<Cage> cages_from_colors(const std::array<std::int32_t, 82>& color,
                                    const std::array<std::int32_t, 82>& level) {
    const core::CageMap map = core::map_cages(color);
    // Walking the cells in order lists each cage's cells in increasing order.
    std::vector<Cage> cages(map.count);
    for (int c = 1; c <= cell_count; ++c) {
        Cage& cage = cages[map.cage_of[c]];
        cage.cells.push_back(c);
        cage.sum += level[c];
    }
    return cages;
}

} // namespace tallywick
