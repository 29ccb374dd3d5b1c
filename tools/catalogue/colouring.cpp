// Colour codes for a cage layout by an exact branch-and-bound search over the cage adjacency
// graph: neighbouring cages never share a code, every code of the puzzle's set is used, and as
// few neighbouring cages as possible get colours that some player could mistake for each other.
#include "colouring.h"

#include "board.h"
#include "colour_difference.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

namespace tallywick {
namespace {

// Nodes one search may visit. The layouts are small (23 to 39 cages) and the searches end far
// below this; reaching it means the bound is no longer proved, so it is an error, not a result.
constexpr long node_limit = 50'000'000;

struct Search {
    std::vector<std::vector<int>> neighbours; // of each cage
    std::vector<int> codes;                   // in order of preference
    std::vector<std::vector<int>> cost;       // 1 when codes i and j are confusable
    std::vector<int> code_of;                 // index into codes, -1 while open
    std::vector<int> uses;
    int open = 0;
    int limit = 0;
    long nodes = 0;

    // What giving `cage` code `t` adds to the count, or -1 when a neighbour has that code.
    int added(int cage, int t) const {
        int extra = 0;
        for (int other : neighbours[cage]) {
            const int u = code_of[other];
            if (u == t) {
                return -1;
            }
            if (u >= 0) {
                extra += cost[t][u];
            }
        }
        return extra;
    }

    // True when the open cages can be coloured within `limit - spent` more confusable pairs.
    bool assign(int spent) {
        if (++nodes > node_limit) {
            throw std::runtime_error("the colouring search ran past its node limit");
        }
        const int unused = static_cast<int>(std::count(uses.begin(), uses.end(), 0));
        if (unused > open) {
            return false;
        }
        if (open == 0) {
            return true;
        }
        // Every open cage adds at least its cheapest code's cost (pairs of two open cages are
        // not counted yet, so the bound never overshoots). Branch on the cage with the fewest
        // codes left within the limit, the one with the most open neighbours on a tie.
        int bound = spent;
        int pick = -1;
        int pick_choices = std::numeric_limits<int>::max();
        int pick_open_neighbours = -1;
        for (std::size_t cage = 0; cage < code_of.size(); ++cage) {
            if (code_of[cage] >= 0) {
                continue;
            }
            const int c = static_cast<int>(cage);
            int cheapest = std::numeric_limits<int>::max();
            for (std::size_t t = 0; t < codes.size(); ++t) {
                const int extra = added(c, static_cast<int>(t));
                if (extra >= 0) {
                    cheapest = std::min(cheapest, extra);
                }
            }
            if (cheapest == std::numeric_limits<int>::max()) {
                return false;
            }
            bound += cheapest;
            if (bound > limit) {
                return false;
            }
            int choices = 0;
            for (std::size_t t = 0; t < codes.size(); ++t) {
                const int extra = added(c, static_cast<int>(t));
                choices += extra >= 0 && spent + extra <= limit ? 1 : 0;
            }
            int open_neighbours = 0;
            for (int other : neighbours[c]) {
                open_neighbours += code_of[other] < 0 ? 1 : 0;
            }
            if (choices < pick_choices ||
                (choices == pick_choices && open_neighbours > pick_open_neighbours)) {
                pick = c;
                pick_choices = choices;
                pick_open_neighbours = open_neighbours;
            }
        }
        // Cheapest codes first, then codes not used yet, so the whole set soon appears.
        std::vector<int> tries(codes.size());
        std::iota(tries.begin(), tries.end(), 0);
        std::vector<int> extra(codes.size());
        for (std::size_t t = 0; t < codes.size(); ++t) {
            extra[t] = added(pick, static_cast<int>(t));
        }
        std::stable_sort(tries.begin(), tries.end(), [&](int a, int b) {
            if (extra[a] != extra[b]) {
                return extra[a] < extra[b];
            }
            return (uses[a] == 0) > (uses[b] == 0);
        });
        for (int t : tries) {
            if (extra[t] < 0 || spent + extra[t] > limit) {
                continue;
            }
            code_of[pick] = t;
            ++uses[t];
            --open;
            if (assign(spent + extra[t])) {
                return true;
            }
            ++open;
            --uses[t];
            code_of[pick] = -1;
        }
        return false;
    }
};

std::vector<std::vector<int>> cage_neighbours(const Layout& layout) {
    std::vector<std::vector<int>> neighbours(layout.cages.size());
    for (int cell = 1; cell <= 81; ++cell) {
        for (int other : neighbours_of(cell)) {
            const int a = layout.cage_of[cell];
            const int b = layout.cage_of[other];
            if (a != b &&
                std::find(neighbours[a].begin(), neighbours[a].end(), b) == neighbours[a].end()) {
                neighbours[a].push_back(b);
            }
        }
    }
    return neighbours;
}

} // namespace

std::optional<int> colour_layout(const Layout& layout, const std::vector<int>& codes, Prng& rng,
                                 std::array<std::int32_t, 82>& color) {
    Search search;
    search.neighbours = cage_neighbours(layout);
    search.codes = codes;
    // The order of preference among equally good codes varies from puzzle to puzzle, so that
    // no one colour takes the most cages everywhere.
    rng.shuffle(search.codes);
    const std::size_t k = search.codes.size();
    search.cost.assign(k, std::vector<int>(k, 0));
    for (std::size_t i = 0; i < k; ++i) {
        for (std::size_t j = 0; j < k; ++j) {
            search.cost[i][j] = i != j && confusable(search.codes[i], search.codes[j]) ? 1 : 0;
        }
    }
    int edges = 0;
    for (const auto& list : search.neighbours) {
        edges += static_cast<int>(list.size());
    }
    edges /= 2;
    // The first limit that admits a colouring is the least number of confusable pairs.
    for (int limit = 0; limit <= edges; ++limit) {
        search.code_of.assign(layout.cages.size(), -1);
        search.uses.assign(k, 0);
        search.open = static_cast<int>(layout.cages.size());
        search.limit = limit;
        if (search.assign(0)) {
            color.fill(0);
            for (int cell = 1; cell <= 81; ++cell) {
                color[cell] = search.codes[search.code_of[layout.cage_of[cell]]];
            }
            return limit;
        }
    }
    return std::nullopt;
}

int confusable_pairs(const std::array<std::int32_t, 82>& color) {
    std::array<std::int32_t, 82> level{};
    const std::vector<Cage> cages = cages_from_colors(color, level);
    std::array<int, 82> cage_of{};
    for (std::size_t i = 0; i < cages.size(); ++i) {
        for (int cell : cages[i].cells) {
            cage_of[cell] = static_cast<int>(i);
        }
    }
    std::vector<std::vector<bool>> counted(cages.size(), std::vector<bool>(cages.size(), false));
    int pairs = 0;
    for (int cell = 1; cell <= 81; ++cell) {
        for (int other : neighbours_of(cell)) {
            const int a = cage_of[cell];
            const int b = cage_of[other];
            if (a != b && !counted[a][b] && confusable(color[cell], color[other])) {
                counted[a][b] = counted[b][a] = true;
                ++pairs;
            }
        }
    }
    return pairs;
}

} // namespace tallywick
