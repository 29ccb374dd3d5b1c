// Flood fill of the colour codes into cages, and the rules for neighbours and anchors.
#include "cage_map.h"

#include <algorithm>

namespace tallywick {

std::vector<int> neighbours_of(int cell) {
    std::vector<int> out;
    const int place = (cell - 1) % 9;
    if (place > 0) {
        out.push_back(cell - 1);
    }
    if (place < 8) {
        out.push_back(cell + 1);
    }
    if (cell > 9) {
        out.push_back(cell - 9);
    }
    if (cell <= 72) {
        out.push_back(cell + 9);
    }
    return out;
}

int anchor_of(const std::vector<int>& cells) {
    int top = *std::min_element(cells.begin(), cells.end());
    int row = (top - 1) / 9;
    int anchor = top;
    for (int c : cells) {
        if ((c - 1) / 9 == row) {
            anchor = std::max(anchor, c);
        }
    }
    return anchor;
}

std::vector<Cage> cages_from_colors(const std::array<std::int32_t, 82>& color,
                                    const std::array<std::int32_t, 82>& level) {
    std::vector<Cage> cages;
    std::array<bool, 82> seen{};
    for (int start = 1; start <= 81; ++start) {
        if (seen[start]) {
            continue;
        }
        Cage cage;
        std::vector<int> stack{start};
        seen[start] = true;
        while (!stack.empty()) {
            int c = stack.back();
            stack.pop_back();
            cage.cells.push_back(c);
            cage.sum += level[c];
            for (int n : neighbours_of(c)) {
                if (!seen[n] && color[n] == color[start]) {
                    seen[n] = true;
                    stack.push_back(n);
                }
            }
        }
        std::sort(cage.cells.begin(), cage.cells.end());
        cages.push_back(std::move(cage));
    }
    return cages;
}

} // namespace tallywick
