// The catalogue generator: builds puzzles 2 to 116 around puzzle 1 and writes catalogue/tables.cpp.
#include "board.h"
#include "colouring.h"
#include "grids.h"
#include "layouts.h"
#include "output.h"
#include "plan.h"
#include "prng.h"
#include "logic_solver.h"
#include "puzzle_attempts.h"
#include "puzzle_one.h"
#include "ranking.h"
#include "solver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tallywick {
namespace {

static_assert(puzzle_attempts.size() == catalogue_rows,
              "puzzle_attempts.h holds one attempt per catalogue row");

constexpr std::uint64_t catalogue_seed = 0x7A11'1C4Bull;
// Search nodes the exact solver may spend proving that a candidate has one solution. The
// puzzles kept are proved in far fewer; a candidate that needs more is dropped rather than
// waited for, and another attempt is made.
constexpr std::int64_t solver_budget = 20000;
// Layouts grown per attempt before it gives up: cages are cut at random, and most tries end
// with a cell that no cage of the sizes still wanted can take.
constexpr int layout_tries = 20000;

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

// Repeated-digit cages of a puzzle.
int repeats_in(const std::array<std::int32_t, 82>& color, const Grid& grid) {
    int repeats = 0;
    for (const Cage& cage : cages_from_colors(color, grid)) {
        repeats += repeats_digit(cage.cells, grid) ? 1 : 0;
    }
    return repeats;
}

// What one slot of the catalogue must be: a puzzle number (puzzle 5 brings puzzle 12 along on
// its own grid, with the same colour codes), the grids its layout lies on and the layout goal.
struct Slot {
    int puzzle = 0;
    bool shared = false;
    std::vector<Grid> on;
    LayoutGoal goal;
};

// The slots in catalogue order. Every layout meets its goal exactly, so the share of repeated
// cages and of wanted high sums each slot gets does not depend on which layout fills the
// slots before it.
std::vector<Slot> make_slots(const std::vector<Grid>& grids,
                             const std::array<SizeCounts, catalogue_puzzles + 1>& plan,
                             int repeats_done) {
    std::array<std::vector<int>, 8> wanted{};
    // The big cages carry the highest sums, which smaller cages rarely reach.
    wanted[7] = {39, 37, 36};
    wanted[6] = {35, 34, 33};
    std::vector<Slot> slots;
    int weight_left = catalogue_puzzles - 1;
    for (int p = 2; p <= catalogue_puzzles; ++p) {
        if (p == shared_layout_second) {
            continue;
        }
        Slot slot;
        slot.puzzle = p;
        slot.shared = p == shared_layout_first;
        const int w = slot.shared ? 2 : 1;
        slot.on.push_back(grids[grid_of(p)]);
        if (slot.shared) {
            slot.on.push_back(grids[grid_of(shared_layout_second)]);
        }
        slot.goal.sizes = plan[p];
        const int repeats_left = repeat_cage_total - repeats_done;
        slot.goal.repeats = (repeats_left * w * 2 + weight_left) / (2 * weight_left);
        for (int s = 6; s <= 7; ++s) {
            const std::size_t n = std::min<std::size_t>(plan[p][s], wanted[s].size());
            slot.goal.wanted_sums[s].assign(wanted[s].begin(), wanted[s].begin() + n);
            wanted[s].erase(wanted[s].begin(), wanted[s].begin() + n);
        }
        repeats_done += slot.goal.repeats;
        weight_left -= w;
        slots.push_back(std::move(slot));
    }
    return slots;
}

// One layout for a slot that a player can solve: exactly one solution on each of its grids,
// and the logic solver finishes each from the cages alone.
struct Candidate {
    int attempt = 0;
    std::array<std::int32_t, 82> color{};
    int level = 0;          // the hardest technique any of its puzzles needs
    std::int64_t score = 0; // the difficulty of the harder of its puzzles
    int confusable = 0;     // neighbouring cage pairs whose colours some player may confuse
};

// Attempt number `attempt` at a slot draws from its own seed, so that any one attempt can be
// made again without the ones before it.
std::optional<Candidate> attempt_slot(const Slot& slot, int attempt) {
    Prng rng(catalogue_seed ^ (static_cast<std::uint64_t>(slot.puzzle) << 40) ^
             (static_cast<std::uint64_t>(attempt) << 8));
    Layout layout;
    if (!grow_layout(slot.goal, slot.on, rng, layout_tries, layout)) {
        return std::nullopt;
    }
    for (const Grid& grid : slot.on) {
        const SolveResult result = count_solutions(cages_on(layout, grid), 2, solver_budget);
        if (result.count != 1 || result.aborted) {
            return std::nullopt;
        }
    }
    Candidate candidate;
    candidate.attempt = attempt;
    const std::optional<int> confusable =
        colour_layout(layout, codes_of(slot.puzzle), rng, candidate.color);
    if (!confusable) {
        return std::nullopt;
    }
    candidate.confusable = *confusable;
    for (const Grid& grid : slot.on) {
        const LogicResult logic = solve_logically(cages_from_colors(candidate.color, grid));
        if (!logic.solved) {
            return std::nullopt;
        }
        candidate.level = std::max(candidate.level, logic.hardest_level);
        candidate.score = std::max(candidate.score, logic.score());
    }
    return candidate;
}

// Picks one candidate per slot so that difficulty rises with the puzzle number as closely as
// the slots allow; the last puzzle, outside the ramp, takes its slot's hardest candidate.
std::vector<std::size_t> choose(const std::vector<Slot>& slots,
                                const std::vector<std::vector<Candidate>>& found,
                                std::int64_t first_score) {
    std::vector<std::int64_t> pool;
    for (const auto& list : found) {
        for (const Candidate& c : list) {
            pool.push_back(c.score);
        }
    }
    std::sort(pool.begin(), pool.end());
    auto difficulty = [&](const std::vector<std::size_t>& pick) {
        std::vector<std::int64_t> by_puzzle(catalogue_puzzles - 1, 0);
        by_puzzle[0] = first_score;
        for (std::size_t s = 0; s < slots.size(); ++s) {
            const int p = slots[s].puzzle;
            if (p < catalogue_puzzles) {
                by_puzzle[p - 1] = found[s][pick[s]].score;
            }
            if (slots[s].shared) {
                by_puzzle[shared_layout_second - 1] = found[s][pick[s]].score;
            }
        }
        return by_puzzle;
    };
    std::vector<std::size_t> pick(slots.size(), 0);
    for (std::size_t s = 0; s < slots.size(); ++s) {
        const int p = slots[s].puzzle;
        const double place = p >= catalogue_puzzles ? 1.0 : (p - 1.0) / (catalogue_puzzles - 2.0);
        const std::int64_t target = pool[static_cast<std::size_t>(place * (pool.size() - 1))];
        for (std::size_t k = 0; k < found[s].size(); ++k) {
            const auto off = [&](std::size_t i) { return std::llabs(found[s][i].score - target); };
            if (off(k) < off(pick[s])) {
                pick[s] = k;
            }
        }
    }
    double best = rank_correlation(difficulty(pick));
    for (bool better = true; better;) {
        better = false;
        for (std::size_t s = 0; s < slots.size(); ++s) {
            if (slots[s].puzzle >= catalogue_puzzles) {
                continue;
            }
            for (std::size_t k = 0; k < found[s].size(); ++k) {
                std::vector<std::size_t> trial = pick;
                trial[s] = k;
                const double r = rank_correlation(difficulty(trial));
                if (r > best + 1e-12) {
                    best = r;
                    pick = trial;
                    better = true;
                }
            }
        }
    }
    return pick;
}

// One number per puzzle as a C++ table, ten to a line.
std::string puzzle_table(const char* name,
                         const std::array<int, catalogue_puzzles + 1>& by_puzzle) {
    std::string text = "inline constexpr std::array<int, " + std::to_string(catalogue_rows) + "> ";
    text += name;
    text += " = {\n    0, 0,";
    for (int p = 2; p <= catalogue_puzzles; ++p) {
        text += (p % 10 == 0) ? "\n    " : " ";
        text += std::to_string(by_puzzle[p]) + ",";
    }
    return text + "\n};\n";
}

// The chosen attempts and their confusable pairs written out as C++, for puzzle_attempts.h.
std::string attempts_source(const std::vector<Slot>& slots, const std::vector<Candidate>& chosen) {
    std::string text =
        "// Which attempt makes each puzzle, as catalogue_generator --from-scratch chose them.\n"
        "#pragma once\n\n#include <array>\n\nnamespace tallywick {\n\n"
        "// Index is the puzzle number; 0 for puzzle 1 (written by hand) and for\n"
        "// puzzle 12 (it comes with puzzle 5).\n"
        "// clang-format off\n";
    std::array<int, catalogue_puzzles + 1> attempts{};
    std::array<int, catalogue_puzzles + 1> confusable{};
    for (std::size_t s = 0; s < slots.size(); ++s) {
        attempts[slots[s].puzzle] = chosen[s].attempt;
        confusable[slots[s].puzzle] = chosen[s].confusable;
    }
    confusable[shared_layout_second] = confusable[shared_layout_first];
    text += puzzle_table("puzzle_attempts", attempts);
    text += "\n// The least number of neighbouring cage pairs with confusable colours that the\n"
            "// colouring search proved possible for each puzzle's layout.\n";
    text += puzzle_table("puzzle_confusable_pairs", confusable);
    text += "// clang-format on\n\n} // namespace tallywick\n";
    return text;
}

// Candidates each slot offers in a search from scratch, and the attempts it may spend on them.
constexpr std::size_t candidates_per_slot = 10;
constexpr int attempts_per_slot = 20000;
// From this puzzle on a slot also waits for this many candidates that need level 5 or 6.
constexpr int hard_slots_from = 100;
constexpr std::size_t hard_candidates = 3;

// What every puzzle rests on before any of puzzles 2 to 116 is cut: the catalogue with puzzle
// 1 in it, the slots to fill and puzzle 1's difficulty.
struct Groundwork {
    Catalogue catalogue;
    std::vector<Slot> slots;
    std::int64_t first_score = 0;
};

Groundwork lay_groundwork() {
    Prng rng(catalogue_seed);
    Groundwork work;
    const std::vector<Grid> grids = make_grids(rng);
    store_puzzle(work.catalogue, 1, puzzle_one::level, puzzle_one::color);
    const auto first_cages = cages_from_colors(puzzle_one::color, puzzle_one::level);
    if (count_solutions(first_cages).count != 1) {
        throw std::runtime_error("puzzle 1 does not have exactly one solution");
    }
    const LogicResult first_logic = solve_logically(first_cages);
    if (!first_logic.solved) {
        throw std::runtime_error("puzzle 1 does not yield to reasoning");
    }
    work.first_score = first_logic.score();
    const auto plan = plan_sizes(sizes_of(first_cages), rng);
    work.slots = make_slots(grids, plan, repeats_in(puzzle_one::color, puzzle_one::level));
    return work;
}

// Makes every slot again from its recorded attempt. Each colouring must keep to the recorded
// number of confusable cage pairs, unless the record is about to be written anew.
std::vector<Candidate> replay(const std::vector<Slot>& slots, bool rewriting_record) {
    std::vector<Candidate> chosen;
    for (const Slot& slot : slots) {
        const int p = slot.puzzle;
        auto candidate = attempt_slot(slot, puzzle_attempts[p]);
        if (!candidate) {
            throw std::runtime_error("the recorded attempt no longer makes puzzle " +
                                     std::to_string(p) + "; run with --from-scratch");
        }
        if (!rewriting_record && candidate->confusable != puzzle_confusable_pairs[p]) {
            throw std::runtime_error(
                "puzzle " + std::to_string(p) + " now has " +
                std::to_string(candidate->confusable) + " confusable cage pairs, the record says " +
                std::to_string(puzzle_confusable_pairs[p]) + "; run with --record");
        }
        chosen.push_back(*candidate);
    }
    return chosen;
}

// Searches every slot afresh for candidates and picks one per slot for a rising difficulty.
std::vector<Candidate> search(const std::vector<Slot>& slots, std::int64_t first_score,
                              bool verbose) {
    std::vector<std::vector<Candidate>> found(slots.size());
    for (std::size_t s = 0; s < slots.size(); ++s) {
        const int p = slots[s].puzzle;
        // The end of the catalogue wants the hardest techniques, which few layouts need.
        const std::size_t hard_wanted = p >= hard_slots_from ? hard_candidates : 0;
        std::size_t hard = 0;
        for (int attempt = 0; found[s].size() < candidates_per_slot || hard < hard_wanted;
             ++attempt) {
            if (attempt >= attempts_per_slot) {
                if (found[s].size() >= candidates_per_slot) {
                    break;
                }
                throw std::runtime_error("too few solvable layouts for puzzle " +
                                         std::to_string(p));
            }
            if (auto candidate = attempt_slot(slots[s], attempt)) {
                hard += candidate->level >= cage_unit ? 1 : 0;
                found[s].push_back(*candidate);
            }
        }
        if (verbose) {
            std::string levels;
            for (const Candidate& c : found[s]) {
                levels += ' ';
                levels += std::to_string(c.level);
            }
            std::fprintf(stderr, "puzzle %d: %d attempts for %zu candidates, levels%s\n", p,
                         found[s].back().attempt + 1, found[s].size(), levels.c_str());
        }
    }
    const std::vector<std::size_t> pick = choose(slots, found, first_score);
    std::vector<Candidate> chosen;
    for (std::size_t s = 0; s < slots.size(); ++s) {
        chosen.push_back(found[s][pick[s]]);
    }
    return chosen;
}

// Puts the chosen candidate of every slot into the catalogue.
Catalogue fill_catalogue(Groundwork work, const std::vector<Candidate>& chosen, bool verbose) {
    for (std::size_t s = 0; s < work.slots.size(); ++s) {
        const Slot& slot = work.slots[s];
        store_puzzle(work.catalogue, slot.puzzle, slot.on[0], chosen[s].color);
        if (slot.shared) {
            store_puzzle(work.catalogue, shared_layout_second, slot.on[1], chosen[s].color);
        }
        if (verbose) {
            std::fprintf(stderr,
                         "puzzle %d: attempt %d, level %d, difficulty %lld, confusable pairs %d\n",
                         slot.puzzle, chosen[s].attempt, chosen[s].level,
                         static_cast<long long>(chosen[s].score), chosen[s].confusable);
        }
    }
    return std::move(work.catalogue);
}

void write_record(const std::string& path, const std::vector<Slot>& slots,
                  const std::vector<Candidate>& chosen) {
    std::ofstream out(path, std::ios::binary);
    out << attempts_source(slots, chosen);
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace
} // namespace tallywick

int main(int argc, char** argv) {
    try {
        std::string path;
        bool verbose = false;
        bool from_scratch = false;
        std::string record_path; // where to write puzzle_attempts.h anew; empty for nowhere
        for (int i = 1; i < argc; ++i) {
            std::string arg = argv[i];
            if (arg == "-v") {
                verbose = true;
            } else if (arg == "--from-scratch" && i + 1 < argc) {
                from_scratch = true;
                record_path = argv[++i];
            } else if (arg == "--record" && i + 1 < argc) {
                record_path = argv[++i];
            } else if (arg == "-h" || arg == "--help") {
                std::printf(
                    "usage: catalogue_generator [-v] [--from-scratch ATTEMPTS | --record "
                    "ATTEMPTS]\n"
                    "                           [OUTPUT]\n"
                    "Writes the puzzle tables' source to OUTPUT, or to standard output.\n"
                    "Each puzzle is made from the attempt recorded in puzzle_attempts.h, and\n"
                    "its colours must confuse no more neighbouring cages than recorded there;\n"
                    "--record replays the recorded attempts and writes the record anew to\n"
                    "ATTEMPTS; --from-scratch searches every slot afresh, chooses the layouts so\n"
                    "that difficulty rises through the catalogue and writes the new record to\n"
                    "ATTEMPTS.\n");
                return 0;
            } else {
                path = arg;
            }
        }
        tallywick::Groundwork work = tallywick::lay_groundwork();
        const std::vector<tallywick::Candidate> chosen =
            from_scratch ? tallywick::search(work.slots, work.first_score, verbose)
                         : tallywick::replay(work.slots, !record_path.empty());
        if (!record_path.empty()) {
            tallywick::write_record(record_path, work.slots, chosen);
        }
        const std::string text =
            tallywick::render_tables(tallywick::fill_catalogue(std::move(work), chosen, verbose));
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
