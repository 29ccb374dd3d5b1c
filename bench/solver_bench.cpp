// Benchmarks the solvers: the exact one counting solutions (up to two) and the logic one
// reasoning each puzzle through, for every puzzle of the catalogue.
#include "board.h"
#include "catalogue/tables.h"
#include "logic_solver.h"
#include "solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Cages of one puzzle from its colour codes, with the sums from its solution.
std::vector<tallywick::Cage> cages_of(int puzzle) {
    std::array<std::int32_t, 82> color{};
    std::array<std::int32_t, 82> level{};
    std::copy(std::begin(color_array[puzzle]), std::end(color_array[puzzle]), color.begin());
    std::copy(std::begin(level_array[puzzle]), std::end(level_array[puzzle]), level.begin());
    return tallywick::cages_from_colors(color, level);
}

std::vector<std::vector<tallywick::Cage>> whole_catalogue() {
    std::vector<std::vector<tallywick::Cage>> puzzles;
    for (int p = 1; p < catalogue_rows; ++p) {
        puzzles.push_back(cages_of(p));
    }
    return puzzles;
}

// One iteration counts the solutions of all 116 puzzles.
void count_all_puzzles(benchmark::State& state) {
    const auto puzzles = whole_catalogue();
    std::int64_t nodes = 0;
    for (auto _ : state) {
        nodes = 0;
        for (const auto& cages : puzzles) {
            const auto result = tallywick::count_solutions(cages, 2);
            nodes += result.nodes;
            benchmark::DoNotOptimize(result.count);
        }
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["puzzles"] = static_cast<double>(puzzles.size());
}
BENCHMARK(count_all_puzzles)->Unit(benchmark::kMillisecond);

// The slowest single puzzle, by search nodes, to show the worst case.
void count_hardest_puzzle(benchmark::State& state) {
    const auto puzzles = whole_catalogue();
    std::size_t hardest = 0;
    std::int64_t most = -1;
    for (std::size_t i = 0; i < puzzles.size(); ++i) {
        const auto nodes = tallywick::count_solutions(puzzles[i], 2).nodes;
        if (nodes > most) {
            most = nodes;
            hardest = i;
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tallywick::count_solutions(puzzles[hardest], 2).count);
    }
    state.counters["puzzle"] = static_cast<double>(hardest + 1);
    state.counters["nodes"] = static_cast<double>(most);
}
BENCHMARK(count_hardest_puzzle)->Unit(benchmark::kMillisecond);

// One iteration reasons all 116 puzzles through from their cages alone.
void solve_all_puzzles_logically(benchmark::State& state) {
    const auto puzzles = whole_catalogue();
    int solved = 0;
    for (auto _ : state) {
        solved = 0;
        for (const auto& cages : puzzles) {
            const auto result = tallywick::solve_logically(cages);
            solved += result.solved ? 1 : 0;
            benchmark::DoNotOptimize(result.hardest_level);
        }
    }
    state.counters["solved"] = static_cast<double>(solved);
    state.counters["puzzles"] = static_cast<double>(puzzles.size());
}
BENCHMARK(solve_all_puzzles_logically)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
