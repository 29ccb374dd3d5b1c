// The catalogue generator: builds puzzles 2 to 116 around puzzle 1 and writes catalogue/tables.cpp.
#include "cage_map.h"
#include "colouring.h"
#include "grids.h"
#include "layouts.h"
#include "output.h"
#include "plan.h"
#include "prng.h"
#include "puzzle_one.h"
#include "solver.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tallywick {
namespace {

constexpr std::uint64_t catalogue_seed = 0x7A11'1C4Bull;
constexpr std::int64_t solver_budget = 20000;

// Puzzle 5 is laid on a grid whose top row reads 5 2 1 3 8 6 9 7 4 from left to right; cells
// are numbered right to left within a row, so cell 9 holds the 5 and cell 1 the 4.
constexpr std::array<int, 9> puzzle_five_top_row = {4, 7, 9, 6, 8, 3, 1, 2, 5};

std::vector<Grid> make_grids(Prng& rng) {
    std::vector<Grid> grids;
    for (int g = 0; g < grid_count; ++g) {
        Grid grid{};
        if (g == grid_of(1)) {
            grid = puzzle_one::level;
        } else {
            do {
                grid.fill(0);
                if (g == grid_of(shared_layout_first)) {
                    for (int cell = 1; cell <= 9; ++cell) {
                        grid[cell] = puzzle_five_top_row[cell - 1];
                    }
                }
                if (!fill_grid(grid, rng)) {
                    throw std::runtime_error("a grid could not be completed");
                }
            } while (std::find(grids.begin(), grids.end(), grid) != grids.end());
        }
        grids.push_back(grid);
    }
    return grids;
}

SizeCounts sizes_of(const std::vector<Cage>& cages) {
    SizeCounts sizes{};
    for (const Cage& cage : cages) {
        ++sizes[cage.cells.size()];
    }
    return sizes;
}

std::vector<Cage> cages_on(const Layout& layout, const Grid& grid) {
    std::vector<Cage> cages;
    for (const auto& cells : layout.cages) {
        Cage cage{cells, 0};
        for (int c : cells) {
            cage.sum += grid[c];
        }
        cages.push_back(std::move(cage));
    }
    return cages;
}

void store_puzzle(Catalogue& catalogue, int puzzle, const Grid& grid,
                  const std::array<std::int32_t, 82>& color) {
    catalogue.level[puzzle] = grid;
    catalogue.color[puzzle] = color;
    for (const Cage& cage : cages_from_colors(color, grid)) {
        int anchor = anchor_of(cage.cells);
        catalogue.sum_label[puzzle][anchor] = cage.sum;
        catalogue.sum_label_visible[puzzle][anchor] = 1;
    }
}

struct Progress {
    int repeats = 0;
    std::array<bool, 40> sums{};
};

void count_puzzle(Progress& progress, const Catalogue& catalogue, int puzzle) {
    for (const Cage& cage : cages_from_colors(catalogue.color[puzzle], catalogue.level[puzzle])) {
        progress.repeats += repeats_digit(cage.cells, catalogue.level[puzzle]) ? 1 : 0;
        if (cage.sum >= 1 && cage.sum <= 39) {
            progress.sums[cage.sum] = true;
        }
    }
}

Catalogue build_catalogue(bool verbose) {
    Prng rng(catalogue_seed);
    Catalogue catalogue;
    const std::vector<Grid> grids = make_grids(rng);
    store_puzzle(catalogue, 1, puzzle_one::level, puzzle_one::color);
    const auto first_cages = cages_from_colors(puzzle_one::color, puzzle_one::level);
    if (count_solutions(first_cages).count != 1) {
        throw std::runtime_error("puzzle 1 does not have exactly one solution");
    }
    const auto plan = plan_sizes(sizes_of(first_cages), rng);

    Progress progress;
    count_puzzle(progress, catalogue, 1);
    // The big cages carry the highest sums, which smaller cages rarely reach.
    std::array<std::vector<int>, 8> wanted{};
    wanted[7] = {39, 37, 36};
    wanted[6] = {35, 34, 33};

    // Puzzles still to make, puzzle 12 included: it comes with puzzle 5.
    int weight_left = puzzle_count - 1;
    for (int p = 2; p <= puzzle_count; ++p) {
        if (p == shared_layout_second) {
            continue;
        }
        const bool shared = p == shared_layout_first;
        const int w = shared ? 2 : 1;
        std::vector<Grid> on{grids[grid_of(p)]};
        if (shared) {
            on.push_back(grids[grid_of(shared_layout_second)]);
        }
        LayoutGoal goal;
        goal.sizes = plan[p];
        const int repeats_left = repeat_cage_total - progress.repeats;
        goal.repeats = (repeats_left * w * 2 + weight_left) / (2 * weight_left);
        for (int s = 6; s <= 7; ++s) {
            const std::size_t n = std::min<std::size_t>(plan[p][s], wanted[s].size());
            goal.wanted_sums[s].assign(wanted[s].begin(), wanted[s].begin() + n);
        }
        int tries = 0;
        for (;; ++tries) {
            if (tries > 5000) {
                throw std::runtime_error("no unique layout found for puzzle " + std::to_string(p));
            }
            Layout layout;
            if (!grow_layout(goal, on, rng, 20000, layout)) {
                throw std::runtime_error("no layout meets the goal of puzzle " + std::to_string(p));
            }
            bool unique = true;
            for (const Grid& grid : on) {
                SolveResult result = count_solutions(cages_on(layout, grid), 2, solver_budget);
                unique = unique && result.count == 1 && !result.aborted;
            }
            if (!unique) {
                continue;
            }
            std::array<std::int32_t, 82> color{};
            if (!colour_layout(layout, codes_of(p), rng, color)) {
                continue;
            }
            store_puzzle(catalogue, p, on[0], color);
            if (shared) {
                store_puzzle(catalogue, shared_layout_second, on[1], color);
            }
            break;
        }
        for (int s = 6; s <= 7; ++s) {
            wanted[s].erase(wanted[s].begin(), wanted[s].begin() + goal.wanted_sums[s].size());
        }
        count_puzzle(progress, catalogue, p);
        if (shared) {
            count_puzzle(progress, catalogue, shared_layout_second);
        }
        weight_left -= w;
        if (verbose) {
            std::fprintf(stderr, "puzzle %d: %d cages, %d tries, repeats so far %d\n", p,
                         cage_total(plan[p]), tries + 1, progress.repeats);
        }
    }
    return catalogue;
}

} // namespace
} // namespace tallywick

int main(int argc, char** argv) {
    try {
        std::string path;
        bool verbose = false;
        for (int i = 1; i < argc; ++i) {
            std::string arg = argv[i];
            if (arg == "-v") {
                verbose = true;
            } else if (arg == "-h" || arg == "--help") {
                std::printf("usage: catalogue_generator [-v] [OUTPUT]\n"
                            "Writes the puzzle tables' source to OUTPUT, or to standard output.\n");
                return 0;
            } else {
                path = arg;
            }
        }
        const std::string text = tallywick::render_tables(tallywick::build_catalogue(verbose));
        if (path.empty()) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            return 0;
        }
        std::ofstream out(path, std::ios::binary);
        out << text;
        out.close();
        if (!out) {
            std::fprintf(stderr, "catalogue_generator: cannot write %s\n", path.c_str());
            return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "catalogue_generator: %s\n", error.what());
        return 1;
    }
}
