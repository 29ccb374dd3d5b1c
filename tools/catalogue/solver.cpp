// Exact killer-sudoku solver: depth-first search over bitmask candidates narrowed by the sums.
#include "solver.h"

#include "board.h"

#include <algorithm>
#include <bit>

namespace tallywick {
namespace {

class Search {
public:
    Search(std::vector<SumRule> rules, int limit, std::int64_t budget)
        : rules_(std::move(rules)), limit_(limit), budget_(budget) {
        remaining_.resize(rules_.size());
        queue_.resize(rules_.size());
        queued_.resize(rules_.size());
        open_.resize(rules_.size());
        for (std::size_t k = 0; k < rules_.size(); ++k) {
            remaining_[k] = rules_[k].sum;
            open_[k] = static_cast<int>(rules_[k].cells.size());
            for (int i : rules_[k].cells) {
                rules_of_cell_[i].push_back(static_cast<int>(k));
            }
        }
    }

    SolveResult run() {
        for (const SumRule& rule : rules_) {
            if (rule.sum < static_cast<int>(rule.cells.size()) ||
                rule.sum > 9 * static_cast<int>(rule.cells.size())) {
                return result_; // no digits 1 to 9 can make this sum
            }
        }
        std::array<unsigned, cell_count> cand;
        if (narrow_all(cand)) {
            search(cand);
        }
        return result_;
    }

private:
    // Puts digit d in cell i; false when that completes a rule with the wrong sum.
    bool place(int i, int d) {
        value_[i] = d;
        bool ok = true;
        for (int k : rules_of_cell_[i]) {
            remaining_[k] -= d;
            --open_[k];
            if (open_[k] == 0 && remaining_[k] != 0) {
                ok = false;
            }
        }
        return ok;
    }

    void unplace(int i, int d) {
        value_[i] = 0;
        for (int k : rules_of_cell_[i]) {
            remaining_[k] += d;
            ++open_[k];
        }
    }

    void enqueue(int r) {
        if (queued_[r] != stamp_) {
            queued_[r] = stamp_;
            queue_[(head_ + count_) % queue_.size()] = r;
            ++count_;
        }
    }

    // Takes `bits` from an open cell's candidates and wakes its rules; false when none is left.
    bool take(int i, unsigned bits, std::array<unsigned, cell_count>& cand) {
        if (value_[i] != 0 || (cand[i] & bits) == 0) {
            return true;
        }
        cand[i] &= ~bits;
        if (cand[i] == 0) {
            return false;
        }
        if (std::popcount(cand[i]) == 1) {
            single_stack_[singles_++] = i;
        }
        for (int r : rules_of_cell_[i]) {
            enqueue(r);
        }
        return true;
    }

    // Runs the waiting rules until none of their cells changes any more. A cell down to one
    // digit takes that digit from its row, column and block. False on a dead end.
    bool settle(std::array<unsigned, cell_count>& cand) {
        for (;;) {
            while (singles_ > 0) {
                const int i = single_stack_[--singles_];
                if (value_[i] != 0) {
                    continue;
                }
                for (int peer : units().peers[i]) {
                    if (!take(peer, cand[i], cand)) {
                        return false;
                    }
                }
            }
            if (count_ == 0) {
                return true;
            }
            const int k = queue_[head_];
            head_ = (head_ + 1) % static_cast<int>(queue_.size());
            --count_;
            queued_[k] = 0;
            const std::vector<int>& cells = rules_[k].cells;
            for (std::size_t n = 0; n < cells.size(); ++n) {
                before_[n] = cand[cells[n]];
            }
            if (!narrow_rule(k, cand)) {
                return false;
            }
            for (std::size_t n = 0; n < cells.size(); ++n) {
                const int i = cells[n];
                if (before_[n] == cand[i]) {
                    continue;
                }
                for (int r : rules_of_cell_[i]) {
                    enqueue(r);
                }
                if (std::popcount(cand[i]) == 1) {
                    single_stack_[singles_++] = i;
                }
            }
        }
    }

    // Candidates of the empty board before the search starts: every rule runs once.
    bool narrow_all(std::array<unsigned, cell_count>& cand) {
        start_round();
        for (int i = 0; i < cell_count; ++i) {
            cand[i] = value_[i] == 0 ? all_digits : 0;
        }
        for (std::size_t k = 0; k < rules_.size(); ++k) {
            enqueue(static_cast<int>(k));
        }
        return settle(cand);
    }

    // Candidates after digit d went into cell i, from those of the position before.
    bool narrow_after(int i, int d, std::array<unsigned, cell_count>& cand) {
        start_round();
        cand[i] = 0;
        for (int peer : units().peers[i]) {
            if (!take(peer, 1u << (d - 1), cand)) {
                return false;
            }
        }
        for (int r : rules_of_cell_[i]) {
            enqueue(r);
        }
        return settle(cand);
    }

    void start_round() {
        ++stamp_;
        head_ = 0;
        count_ = 0;
        singles_ = 0;
    }

    // Narrows the open cells of one rule: first by the least and most its other cells can
    // add, then, when few fillings are possible, to the digits some filling uses.
    bool narrow_rule(int k, std::array<unsigned, cell_count>& cand) {
        int low = 0;
        int high = 0;
        for (int i : rules_[k].cells) {
            if (value_[i] == 0) {
                low += lowest_digit(cand[i]);
                high += highest_digit(cand[i]);
            }
        }
        const int rest = remaining_[k];
        if (rest < low || rest > high) {
            return false;
        }
        int ways = 1;
        int open = 0;
        for (int i : rules_[k].cells) {
            if (value_[i] != 0) {
                continue;
            }
            ++open;
            const int lo = rest - (high - highest_digit(cand[i]));
            const int hi = rest - (low - lowest_digit(cand[i]));
            const unsigned narrowed = cand[i] & range_mask(lo, hi);
            if (narrowed != cand[i]) {
                if (narrowed == 0) {
                    return false;
                }
                low += lowest_digit(narrowed) - lowest_digit(cand[i]);
                high += highest_digit(narrowed) - highest_digit(cand[i]);
                cand[i] = narrowed;
            }
            ways = std::min(ways * std::popcount(cand[i]), enumeration_limit + 1);
        }
        if (ways > 1 && ways <= enumeration_limit && open <= max_enumerated_cells) {
            return keep_supported(rules_[k], rest, cand) >= 0;
        }
        return true;
    }

    // Keeps only the digits that take part in some filling of the rule's open cells, where the
    // digits add up to what is left and cells sharing a row, column or block differ. Returns
    // -1 when there is no such filling, 1 when a candidate went, 0 otherwise.
    int keep_supported(const SumRule& rule, int rest, std::array<unsigned, cell_count>& cand) {
        open_count_ = 0;
        for (int i : rule.cells) {
            if (value_[i] == 0) {
                open_cells_[open_count_++] = i;
            }
        }
        low_from_[open_count_] = 0;
        high_from_[open_count_] = 0;
        for (int n = open_count_ - 1; n >= 0; --n) {
            low_from_[n] = low_from_[n + 1] + lowest_digit(cand[open_cells_[n]]);
            high_from_[n] = high_from_[n + 1] + highest_digit(cand[open_cells_[n]]);
            clashes_[n] = 0;
            for (int m = 0; m < n; ++m) {
                if (units().sees[open_cells_[n]][open_cells_[m]]) {
                    clashes_[n] |= 1u << m;
                }
            }
            supported_[n] = 0;
        }
        enumerate(0, rest, cand);
        int result = 0;
        for (int n = 0; n < open_count_; ++n) {
            unsigned& c = cand[open_cells_[n]];
            if (supported_[n] == 0) {
                return -1;
            }
            if (supported_[n] != c) {
                c = supported_[n];
                result = 1;
            }
        }
        return result;
    }

    void enumerate(int n, int rest, const std::array<unsigned, cell_count>& cand) {
        if (rest < low_from_[n] || rest > high_from_[n]) {
            return;
        }
        if (n == open_count_) {
            for (int m = 0; m < open_count_; ++m) {
                supported_[m] |= 1u << (chosen_[m] - 1);
            }
            return;
        }
        unsigned allowed = cand[open_cells_[n]];
        for (unsigned mask = clashes_[n]; mask != 0; mask &= mask - 1) {
            allowed &= ~(1u << (chosen_[std::countr_zero(mask)] - 1));
        }
        for (; allowed != 0; allowed &= allowed - 1) {
            chosen_[n] = lowest_digit(allowed);
            enumerate(n + 1, rest - chosen_[n], cand);
        }
    }

    // Searches on from a position whose candidates `cand` are already narrowed.
    void search(std::array<unsigned, cell_count>& cand) {
        if (result_.count >= limit_ || result_.aborted) {
            return;
        }
        ++result_.nodes;
        if (budget_ > 0 && result_.nodes > budget_) {
            result_.aborted = true;
            return;
        }
        // Most constrained cell first.
        int best = -1;
        int best_count = 10;
        for (int i = 0; i < cell_count; ++i) {
            if (value_[i] == 0) {
                int n = std::popcount(cand[i]);
                if (n < best_count) {
                    best_count = n;
                    best = i;
                    if (n == 1) {
                        break;
                    }
                }
            }
        }
        if (best < 0) {
            std::array<int, 82> found{};
            for (int i = 0; i < cell_count; ++i) {
                found[i + 1] = value_[i];
            }
            if (result_.count == 0) {
                result_.first = found;
            }
            result_.solutions.push_back(found);
            ++result_.count;
            return;
        }
        // A digit with a single place left in a row, column or block is forced; a digit
        // with none means a dead end.
        if (best_count > 1) {
            for (const auto& unit : units().cells) {
                unsigned once = 0;
                unsigned twice = 0;
                unsigned used = 0;
                for (int i : unit) {
                    if (value_[i] != 0) {
                        used |= 1u << (value_[i] - 1);
                    } else {
                        twice |= once & cand[i];
                        once |= cand[i];
                    }
                }
                unsigned needed = all_digits & ~used;
                if ((needed & ~once) != 0) {
                    return;
                }
                unsigned single = needed & ~twice;
                if (single != 0) {
                    unsigned bit = single & (~single + 1);
                    for (int i : unit) {
                        if (value_[i] == 0 && (cand[i] & bit) != 0) {
                            best = i;
                            cand[i] = bit;
                            best_count = 1;
                            break;
                        }
                    }
                    break;
                }
            }
        }
        for (unsigned mask = cand[best]; mask != 0; mask &= mask - 1) {
            int d = lowest_digit(mask);
            std::array<unsigned, cell_count> next = cand;
            if (place(best, d) && narrow_after(best, d, next)) {
                search(next);
            }
            unplace(best, d);
            if (result_.count >= limit_ || result_.aborted) {
                return;
            }
        }
    }

    std::vector<SumRule> rules_;
    int limit_;
    std::int64_t budget_;
    std::vector<int> remaining_;
    std::vector<int> open_;
    std::array<std::vector<int>, cell_count> rules_of_cell_;
    std::array<int, cell_count> value_{};
    SolveResult result_;
    // Scratch space of keep_supported.
    static constexpr int enumeration_limit = 729;
    static constexpr int max_enumerated_cells = 16;
    std::vector<int> queue_;
    std::vector<unsigned> queued_;
    unsigned stamp_ = 0;
    int head_ = 0;
    int count_ = 0;
    int singles_ = 0;
    std::array<unsigned, cell_count> before_{};
    // A cell goes onto this stack when its candidates narrow to one digit. Within a round
    // candidates only shrink, so each cell gets there at most once and cell_count places
    // would do; twenty times that is a margin no round comes near.
    static constexpr int single_stack_size = cell_count * 20;
    std::array<int, single_stack_size> single_stack_{};
    int open_count_ = 0;
    std::array<int, cell_count> open_cells_{};
    std::array<int, cell_count + 1> low_from_{};
    std::array<int, cell_count + 1> high_from_{};
    std::array<unsigned, cell_count> clashes_{};
    std::array<unsigned, cell_count> supported_{};
    std::array<int, cell_count> chosen_{};
};

} // namespace

SolveResult count_solutions(const std::vector<Cage>& cages, int limit, std::int64_t node_budget) {
    const CageIndex index = index_cages(cages);
    std::vector<SumRule> rules;
    for (const SumRule& cage : index.cages) {
        if (!cage.cells.empty()) {
            rules.push_back(cage);
        }
    }
    // Each row, column and block that the cages cover adds its innies and outies.
    for (int u = 0; u < unit_count; ++u) {
        RegionSums sums = region_sums(index, units().region[u], 1);
        if (!sums.covered) {
            continue;
        }
        for (SumRule* rule : {&sums.innies, &sums.outies}) {
            if (!rule->cells.empty() && rule->cells.size() < 9) {
                rules.push_back(std::move(*rule));
            }
        }
    }
    Search search(std::move(rules), std::max(limit, 1), node_budget);
    return search.run();
}

} // namespace tallywick
