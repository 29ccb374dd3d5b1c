// Human-style killer-sudoku solver: candidate elimination by named techniques, easiest first.
#include "logic_solver.h"

#include "board.h"

#include <algorithm>
#include <bit>

namespace tallywick {
namespace {

// A virtual cage of the rule of 45 holds this many unknown cells at most at level 3, and at
// most the larger figure at level 6.
constexpr std::size_t few_cells = 4;
constexpr std::size_t many_cells = 8;
// Fillings of one cage are enumerated within this many search nodes, or not used at all.
constexpr std::int64_t filling_budget = 30000;

class Logic {
public:
    explicit Logic(const std::vector<Cage>& cages) : index_(index_cages(cages)) {
        cand_.fill(all_digits);
        for (const SumRule& rule : index_.cages) {
            if (rule.cells.size() == 1) {
                // A one-cell cage is a given.
                const bool digit = rule.sum >= 1 && rule.sum <= 9;
                cand_[rule.cells[0]] = digit ? bit_of(rule.sum) : 0;
            }
        }
        build_virtual_cages();
        cage_seen_.assign(index_.cages.size(), 0);
        cage_unit_seen_.assign(index_.cages.size(), 0);
        virtual_seen_.assign(virtual_.size(), 0);
    }

    LogicResult run(int max_level) {
        LogicResult result;
        while (!broken() && !solved()) {
            int level = 1;
            for (; level <= max_level; ++level) {
                if (apply(level)) {
                    break;
                }
            }
            if (level > max_level) {
                break;
            }
            ++result.steps[level];
            result.hardest_level = std::max(result.hardest_level, level);
        }
        result.contradiction = broken();
        result.solved = !result.contradiction && solved();
        for (int i = 0; i < cell_count; ++i) {
            result.candidates[i + 1] = static_cast<std::uint16_t>(cand_[i]);
            result.digits[i + 1] = is_single(cand_[i]) ? digit_of(cand_[i]) : 0;
        }
        return result;
    }

private:
    std::array<unsigned, cell_count> cand_{};
    CageIndex index_; // the real cages, and the cage of each cell
    std::vector<SumRule> virtual_;
    bool broken_ = false;
    // Every narrowing gets a new stamp; a cage is looked at again only when one of the cells
    // it depends on has changed since it was last looked at with the same technique.
    std::int64_t stamp_ = 1;
    std::array<std::int64_t, cell_count> changed_{};
    std::vector<std::int64_t> cage_seen_;
    std::vector<std::int64_t> cage_unit_seen_;
    std::vector<std::int64_t> virtual_seen_;

    bool unchanged_since(std::int64_t seen, const std::vector<int>& cells) const {
        return seen != 0 &&
               std::all_of(cells.begin(), cells.end(), [&](int c) { return changed_[c] < seen; });
    }

    bool broken() const {
        return broken_ ||
               std::any_of(cand_.begin(), cand_.end(), [](unsigned m) { return m == 0; });
    }
    bool solved() const {
        return std::all_of(cand_.begin(), cand_.end(), [](unsigned m) { return is_single(m); });
    }

    // Narrows a cell to `keep`; true when that removed a candidate.
    bool restrict(int cell, unsigned keep) {
        const unsigned next = cand_[cell] & keep;
        if (next == cand_[cell]) {
            return false;
        }
        cand_[cell] = next;
        changed_[cell] = ++stamp_;
        return true;
    }

    bool apply(int level) {
        switch (level) {
        case singles:
            return apply_singles();
        case cage_combinations:
            return apply_combinations(index_.cages, cage_seen_, 0, cell_count);
        case rule_of_45:
            return apply_combinations(virtual_, virtual_seen_, 1, few_cells);
        case subsets:
            return apply_locked_candidates() || apply_subsets();
        case cage_unit:
            return apply_cage_unit();
        case advanced:
            return apply_fish() ||
                   apply_combinations(virtual_, virtual_seen_, few_cells + 1, many_cells) ||
                   apply_simple_colouring();
        default:
            return false;
        }
    }

    // Level 1: a solved cell's digit leaves its row, column and block; a digit with one
    // place left in a unit goes there.
    bool apply_singles() {
        bool progress = false;
        for (int i = 0; i < cell_count; ++i) {
            if (!is_single(cand_[i])) {
                continue;
            }
            for (int j = 0; j < cell_count; ++j) {
                if (units().sees[i][j]) {
                    progress |= restrict(j, ~cand_[i]);
                }
            }
        }
        for (const auto& unit : units().cells) {
            for (int d = 1; d <= 9; ++d) {
                int places = 0;
                int last = -1;
                for (int c : unit) {
                    if ((cand_[c] & bit_of(d)) != 0) {
                        ++places;
                        last = c;
                    }
                }
                if (places == 0) {
                    broken_ = true;
                    return true;
                }
                if (places == 1) {
                    progress |= restrict(last, bit_of(d));
                }
            }
        }
        return progress;
    }

    // Calls visit(cells, digits) for every filling of the cells that adds up to the sum, with
    // every digit a candidate of its cell and cells that see each other holding different
    // digits. Cells that see no other cell of the cage may repeat a digit. False when the
    // search outgrew its budget, so that what it found must not be used.
    template <class Visit>
    bool for_each_filling(std::vector<int> cells, int sum, Visit&& visit) const {
        std::sort(cells.begin(), cells.end(), [this](int a, int b) {
            return std::popcount(cand_[a]) < std::popcount(cand_[b]);
        });
        const std::size_t n = cells.size();
        std::vector<int> low(n + 1, 0);
        std::vector<int> high(n + 1, 0);
        for (std::size_t k = n; k-- > 0;) {
            low[k] = low[k + 1] + lowest_digit(cand_[cells[k]]);
            high[k] = high[k + 1] + highest_digit(cand_[cells[k]]);
        }
        std::vector<int> digits(n, 0);
        std::int64_t nodes = 0;
        bool within = true;
        auto step = [&](auto&& self, std::size_t k, int left) -> void {
            if (!within) {
                return;
            }
            if (++nodes > filling_budget) {
                within = false;
                return;
            }
            if (k == n) {
                if (left == 0) {
                    visit(cells, digits);
                }
                return;
            }
            if (left < low[k] || left > high[k]) {
                return;
            }
            unsigned allowed = cand_[cells[k]];
            for (std::size_t j = 0; j < k; ++j) {
                if (units().sees[cells[k]][cells[j]]) {
                    allowed &= ~bit_of(digits[j]);
                }
            }
            for (unsigned m = allowed; m != 0; m &= m - 1) {
                const int d = lowest_digit(m);
                const int rest = left - d;
                if (rest < low[k + 1] || rest > high[k + 1]) {
                    continue;
                }
                digits[k] = d;
                self(self, k + 1, rest);
            }
        };
        step(step, 0, sum);
        return within;
    }

    // Drops the solved cells of a cage, taking their digits off its sum.
    SumRule unknown_part(const SumRule& rule) const {
        SumRule part{{}, rule.sum};
        for (int c : rule.cells) {
            if (is_single(cand_[c])) {
                part.sum -= digit_of(cand_[c]);
            } else {
                part.cells.push_back(c);
            }
        }
        return part;
    }

    // Levels 2, 3 and 6: each cell of a cage, real or virtual, keeps the digits that some
    // filling of the cage gives it. Only cages with `smallest` to `largest` unknown cells.
    bool apply_combinations(const std::vector<SumRule>& rules, std::vector<std::int64_t>& seen_at,
                            std::size_t smallest, std::size_t largest) {
        bool progress = false;
        for (std::size_t r = 0; r < rules.size(); ++r) {
            const SumRule& rule = rules[r];
            if (unchanged_since(seen_at[r], rule.cells)) {
                continue;
            }
            const SumRule part = unknown_part(rule);
            if (part.cells.size() < smallest || part.cells.size() > largest) {
                continue;
            }
            if (part.cells.empty()) {
                if (part.sum != 0) {
                    broken_ = true;
                    return true;
                }
                continue;
            }
            std::array<unsigned, cell_count> seen{};
            bool any = false;
            const bool complete = for_each_filling(
                part.cells, part.sum,
                [&](const std::vector<int>& cells, const std::vector<int>& digits) {
                    any = true;
                    for (std::size_t k = 0; k < cells.size(); ++k) {
                        seen[cells[k]] |= bit_of(digits[k]);
                    }
                });
            if (!complete) {
                continue;
            }
            if (!any) {
                broken_ = true;
                return true;
            }
            for (int c : part.cells) {
                progress |= restrict(c, seen[c]);
            }
            seen_at[r] = ++stamp_;
            if (progress && smallest > 0) {
                return true; // back to the easier techniques after one virtual cage
            }
        }
        return progress;
    }

    // The rule of 45: a row, column or block adds up to 45, so the cells of a region that the
    // cages inside it leave over (innies) add up to what those cages leave of 45 times the
    // number of units; and the cells that the cages reaching into the region put outside it
    // (outies) add up to those cages' sums less the region's.
    void build_virtual_cages() {
        std::vector<std::pair<Region, int>> regions;
        const auto unit_region = [](int unit) { return units().region[unit]; };
        for (int first = 0; first < 9; ++first) {
            for (int span = 1; span <= 3 && first + span <= 9; ++span) {
                Region rows;
                Region columns;
                for (int k = first; k < first + span; ++k) {
                    rows |= unit_region(k);
                    columns |= unit_region(9 + k);
                }
                regions.emplace_back(rows, span);
                regions.emplace_back(columns, span);
            }
        }
        for (int b = 0; b < 9; ++b) {
            regions.emplace_back(unit_region(18 + b), 1);
            if (b % 3 < 2) {
                regions.emplace_back(unit_region(18 + b) | unit_region(19 + b), 2);
            }
            if (b < 6) {
                regions.emplace_back(unit_region(18 + b) | unit_region(21 + b), 2);
            }
        }
        for (const auto& [region, span] : regions) {
            add_innies_and_outies(region, span);
        }
    }

    void add_innies_and_outies(const Region& region, int span) {
        RegionSums sums = region_sums(index_, region, span);
        if (sums.innies.cells.empty()) {
            return;
        }
        add_virtual(std::move(sums.innies));
        if (sums.covered) {
            add_virtual(std::move(sums.outies));
        }
    }

    void add_virtual(SumRule rule) {
        std::sort(rule.cells.begin(), rule.cells.end());
        const bool known = std::any_of(virtual_.begin(), virtual_.end(),
                                       [&](const SumRule& v) { return v.cells == rule.cells; });
        const bool real =
            rule.cells.size() > 0 && index_.cage_of[rule.cells[0]] >= 0 &&
            index_.cages[index_.cage_of[rule.cells[0]]].cells.size() == rule.cells.size() &&
            std::all_of(rule.cells.begin(), rule.cells.end(),
                        [&](int c) { return index_.cage_of[c] == index_.cage_of[rule.cells[0]]; });
        if (!known && !real) {
            virtual_.push_back(std::move(rule));
        }
    }

    // Level 4, locked candidates: a digit of a block that lies in one row or column of it
    // leaves the rest of that line (pointing); a digit of a line that lies in one block
    // leaves the rest of that block (claiming).
    bool apply_locked_candidates() {
        for (int unit = 0; unit < 27; ++unit) {
            for (int d = 1; d <= 9; ++d) {
                std::array<int, 27> hits{};
                int places = 0;
                for (int c : units().cells[unit]) {
                    if ((cand_[c] & bit_of(d)) != 0 && !is_single(cand_[c])) {
                        ++places;
                        for (int u : units().of[c]) {
                            ++hits[u];
                        }
                    }
                }
                if (places < 2) {
                    continue;
                }
                for (int other = 0; other < 27; ++other) {
                    if (other == unit || hits[other] != places) {
                        continue;
                    }
                    bool progress = false;
                    for (int c : units().cells[other]) {
                        const auto& mine = units().cells[unit];
                        if (std::find(mine.begin(), mine.end(), c) == mine.end()) {
                            progress |= restrict(c, ~bit_of(d));
                        }
                    }
                    if (progress) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Level 4, naked and hidden subsets of two to four cells in a unit.
    bool apply_subsets() {
        for (int size = 2; size <= 4; ++size) {
            for (const auto& unit : units().cells) {
                std::vector<int> open;
                for (int c : unit) {
                    if (!is_single(cand_[c])) {
                        open.push_back(c);
                    }
                }
                const int n = static_cast<int>(open.size());
                if (n <= size) {
                    continue;
                }
                for (unsigned pick = 0; pick < (1u << n); ++pick) {
                    if (std::popcount(pick) != size) {
                        continue;
                    }
                    unsigned digits = 0;
                    for (int k = 0; k < n; ++k) {
                        if ((pick >> k & 1u) != 0) {
                            digits |= cand_[open[k]];
                        }
                    }
                    if (std::popcount(digits) != size) {
                        continue;
                    }
                    // Naked: these cells hold these digits, so the other cells do not.
                    bool progress = false;
                    for (int k = 0; k < n; ++k) {
                        if ((pick >> k & 1u) == 0) {
                            progress |= restrict(open[k], ~digits);
                        }
                    }
                    if (progress) {
                        return true;
                    }
                }
                // Hidden: digits that only these cells can hold leave them nothing else.
                unsigned open_digits = 0;
                for (int c : open) {
                    open_digits |= cand_[c];
                }
                for (unsigned digits = 0; digits <= all_digits; ++digits) {
                    if (std::popcount(digits) != size || (digits & ~open_digits) != 0) {
                        continue;
                    }
                    std::vector<int> holders;
                    bool every_digit_placed = true;
                    for (unsigned m = digits; m != 0; m &= m - 1) {
                        bool placed = false;
                        for (int c : open) {
                            placed |= (cand_[c] & (m & -m)) != 0;
                        }
                        every_digit_placed &= placed;
                    }
                    for (int c : open) {
                        if ((cand_[c] & digits) != 0) {
                            holders.push_back(c);
                        }
                    }
                    if (!every_digit_placed || static_cast<int>(holders.size()) != size) {
                        continue;
                    }
                    bool progress = false;
                    for (int c : holders) {
                        progress |= restrict(c, digits);
                    }
                    if (progress) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Level 5, per cage and unit: a digit that every filling of the cage puts in the part of a
    // unit the cage covers leaves the rest of that unit; a digit that a unit can only place in
    // the cage must be in the filling, which narrows the cage's cells.
    bool apply_cage_unit() {
        for (std::size_t r = 0; r < index_.cages.size(); ++r) {
            const SumRule& rule = index_.cages[r];
            const SumRule part = unknown_part(rule);
            if (part.cells.size() < 2) {
                continue;
            }
            std::vector<int> touched;
            std::vector<int> depends = rule.cells;
            for (int c : part.cells) {
                for (int u : units().of[c]) {
                    if (std::find(touched.begin(), touched.end(), u) == touched.end()) {
                        touched.push_back(u);
                        depends.insert(depends.end(), units().cells[u].begin(),
                                       units().cells[u].end());
                    }
                }
            }
            if (unchanged_since(cage_unit_seen_[r], depends)) {
                continue;
            }
            cage_unit_seen_[r] = ++stamp_;
            // Digits each touched unit can only place in this cage's unknown cells.
            std::vector<unsigned> required(touched.size(), 0);
            for (std::size_t t = 0; t < touched.size(); ++t) {
                unsigned outside = 0;
                unsigned within = 0;
                for (int c : units().cells[touched[t]]) {
                    const bool mine =
                        std::find(part.cells.begin(), part.cells.end(), c) != part.cells.end();
                    (mine ? within : outside) |= cand_[c];
                }
                required[t] = within & ~outside;
            }
            std::array<unsigned, cell_count> seen{};
            std::vector<unsigned> always(touched.size(), all_digits);
            bool any = false;
            std::vector<unsigned> placed(touched.size());
            const bool complete = for_each_filling(
                part.cells, part.sum,
                [&](const std::vector<int>& cells, const std::vector<int>& digits) {
                    std::fill(placed.begin(), placed.end(), 0u);
                    for (std::size_t k = 0; k < cells.size(); ++k) {
                        for (int u : units().of[cells[k]]) {
                            const auto at = std::find(touched.begin(), touched.end(), u);
                            placed[static_cast<std::size_t>(at - touched.begin())] |=
                                bit_of(digits[k]);
                        }
                    }
                    for (std::size_t t = 0; t < touched.size(); ++t) {
                        if ((placed[t] & required[t]) != required[t]) {
                            return;
                        }
                    }
                    any = true;
                    for (std::size_t k = 0; k < cells.size(); ++k) {
                        seen[cells[k]] |= bit_of(digits[k]);
                    }
                    for (std::size_t t = 0; t < touched.size(); ++t) {
                        always[t] &= placed[t];
                    }
                });
            if (!complete) {
                continue;
            }
            if (!any) {
                broken_ = true;
                return true;
            }
            bool progress = false;
            for (int c : part.cells) {
                progress |= restrict(c, seen[c]);
            }
            for (std::size_t t = 0; t < touched.size(); ++t) {
                for (int c : units().cells[touched[t]]) {
                    if (std::find(part.cells.begin(), part.cells.end(), c) == part.cells.end()) {
                        progress |= restrict(c, ~always[t]);
                    }
                }
            }
            if (progress) {
                return true;
            }
        }
        return false;
    }

    // Level 6, X-wing and swordfish: when a digit's places in two or three rows fall in as
    // many columns, those columns hold it in those rows only; and the same with rows and
    // columns swapped.
    bool apply_fish() {
        for (int size = 2; size <= 3; ++size) {
            for (int base = 0; base <= 9; base += 9) {
                const int cover = 9 - base;
                for (int d = 1; d <= 9; ++d) {
                    std::array<unsigned, 9> lines{};
                    for (int line = 0; line < 9; ++line) {
                        for (int k = 0; k < 9; ++k) {
                            const int c = units().cells[base + line][k];
                            if ((cand_[c] & bit_of(d)) != 0 && !is_single(cand_[c])) {
                                lines[line] |= 1u << k;
                            }
                        }
                    }
                    for (unsigned pick = 0; pick < 512; ++pick) {
                        if (std::popcount(pick) != size) {
                            continue;
                        }
                        unsigned covered = 0;
                        bool usable = true;
                        for (int line = 0; line < 9; ++line) {
                            if ((pick >> line & 1u) != 0) {
                                usable &= std::popcount(lines[line]) >= 2;
                                covered |= lines[line];
                            }
                        }
                        if (!usable || std::popcount(covered) != size) {
                            continue;
                        }
                        bool progress = false;
                        for (int k = 0; k < 9; ++k) {
                            if ((covered >> k & 1u) == 0) {
                                continue;
                            }
                            for (int line = 0; line < 9; ++line) {
                                if ((pick >> line & 1u) == 0) {
                                    const int c = units().cells[cover + k][line];
                                    progress |= restrict(c, ~bit_of(d));
                                }
                            }
                        }
                        if (progress) {
                            return true;
                        }
                    }
                }
            }
        }
        return false;
    }

    // Level 6, simple colouring: the cells linked by units where a digit has just two places
    // take the digit in alternate colours. Two cells of one colour that see each other make
    // that colour false; a cell that sees both colours cannot hold the digit.
    bool apply_simple_colouring() {
        for (int d = 1; d <= 9; ++d) {
            std::array<std::vector<int>, cell_count> links{};
            for (const auto& unit : units().cells) {
                std::vector<int> places;
                for (int c : unit) {
                    if ((cand_[c] & bit_of(d)) != 0 && !is_single(cand_[c])) {
                        places.push_back(c);
                    }
                }
                if (places.size() == 2) {
                    links[places[0]].push_back(places[1]);
                    links[places[1]].push_back(places[0]);
                }
            }
            std::array<int, cell_count> colour{};
            colour.fill(-1);
            for (int start = 0; start < cell_count; ++start) {
                if (colour[start] >= 0 || links[start].empty()) {
                    continue;
                }
                std::vector<int> chain{start};
                colour[start] = 0;
                for (std::size_t k = 0; k < chain.size(); ++k) {
                    for (int next : links[chain[k]]) {
                        if (colour[next] < 0) {
                            colour[next] = 1 - colour[chain[k]];
                            chain.push_back(next);
                        }
                    }
                }
                if (chain.size() < 3) {
                    continue;
                }
                for (int side = 0; side < 2; ++side) {
                    bool clash = false;
                    for (int a : chain) {
                        for (int b : chain) {
                            clash |= colour[a] == side && colour[b] == side && units().sees[a][b];
                        }
                    }
                    if (clash) {
                        for (int a : chain) {
                            if (colour[a] == side) {
                                restrict(a, ~bit_of(d));
                            }
                        }
                        return true;
                    }
                }
                bool progress = false;
                for (int c = 0; c < cell_count; ++c) {
                    if (colour[c] >= 0 && std::find(chain.begin(), chain.end(), c) != chain.end()) {
                        continue;
                    }
                    if ((cand_[c] & bit_of(d)) == 0 || is_single(cand_[c])) {
                        continue;
                    }
                    bool sees_first = false;
                    bool sees_second = false;
                    for (int a : chain) {
                        if (units().sees[c][a]) {
                            (colour[a] == 0 ? sees_first : sees_second) = true;
                        }
                    }
                    if (sees_first && sees_second) {
                        progress |= restrict(c, ~bit_of(d));
                    }
                }
                if (progress) {
                    return true;
                }
            }
        }
        return false;
    }
};

} // namespace

std::int64_t LogicResult::score() const {
    std::int64_t work = 0;
    for (int level = 1; level <= logic_level_count; ++level) {
        work += static_cast<std::int64_t>(steps[level]) * level * level;
    }
    return static_cast<std::int64_t>(hardest_level) * 1'000'000 + work;
}

LogicResult solve_logically(const std::vector<Cage>& cages, int max_level) {
    Logic logic(cages);
    return logic.run(max_level);
}

} // namespace tallywick
