// Backtracking colouring of the cage adjacency graph, busiest cages first.
#include "colouring.h"

#include "cage_map.h"

#include <algorithm>
#include <numeric>

namespace tallywick {
namespace {

struct Colouring {
    const std::vector<std::vector<bool>>& touches;
    const std::vector<int>& order;
    const std::vector<int>& codes;
    std::vector<int> code_of; // index into codes, -1 while open
    std::vector<int> uses;
    long steps = 0;

    bool assign(std::size_t next) {
        if (++steps > 200000) {
            return false;
        }
        int unused = 0;
        for (int u : uses) {
            unused += u == 0 ? 1 : 0;
        }
        // Each code must still find a cage of its own.
        if (unused > static_cast<int>(order.size() - next)) {
            return false;
        }
        if (next == order.size()) {
            return true;
        }
        int cage = order[next];
        std::vector<int> tries(codes.size());
        std::iota(tries.begin(), tries.end(), 0);
        // Unused codes first, so the whole set gets used without much search.
        std::stable_sort(tries.begin(), tries.end(),
                         [this](int a, int b) { return (uses[a] == 0) > (uses[b] == 0); });
        for (int t : tries) {
            bool clash = false;
            for (std::size_t other = 0; other < touches.size() && !clash; ++other) {
                clash = touches[cage][other] && code_of[other] == t;
            }
            if (clash) {
                continue;
            }
            code_of[cage] = t;
            ++uses[t];
            if (assign(next + 1)) {
                return true;
            }
            --uses[t];
            code_of[cage] = -1;
        }
        return false;
    }
};

} // namespace

bool colour_layout(const Layout& layout, const std::vector<int>& codes, Prng& rng,
                   std::array<std::int32_t, 82>& color) {
    const std::size_t n = layout.cages.size();
    std::vector<std::vector<bool>> touches(n, std::vector<bool>(n, false));
    for (int cell = 1; cell <= 81; ++cell) {
        for (int other : neighbours_of(cell)) {
            int a = layout.cage_of[cell];
            int b = layout.cage_of[other];
            if (a != b) {
                touches[a][b] = true;
            }
        }
    }
    std::vector<int> shuffled = codes;
    rng.shuffle(shuffled);
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    rng.shuffle(order);
    std::vector<int> degree(n, 0);
    for (std::size_t a = 0; a < n; ++a) {
        degree[a] = static_cast<int>(std::count(touches[a].begin(), touches[a].end(), true));
    }
    std::stable_sort(order.begin(), order.end(),
                     [&degree](int a, int b) { return degree[a] > degree[b]; });
    Colouring search{touches, order, shuffled, std::vector<int>(n, -1),
                     std::vector<int>(shuffled.size(), 0)};
    if (!search.assign(0)) {
        return false;
    }
    color.fill(0);
    for (int cell = 1; cell <= 81; ++cell) {
        color[cell] = shuffled[search.code_of[layout.cage_of[cell]]];
    }
    return true;
}

} // namespace tallywick
