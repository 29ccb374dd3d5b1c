// Exact killer-sudoku solver: depth-first search over bitmask candidates with sum bounds.
#include "solver.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string>

namespace tallywick {
namespace {

constexpr int cell_count = 81;
constexpr unsigned all_digits = 0x1FF; // bit d - 1 stands for digit d

int row_of(int i) {
    return i / 9;
}
int place_of(int i) {
    return i % 9;
}
int block_of(int i) {
    return (row_of(i) / 3) * 3 + place_of(i) / 3;
}

// Candidate digits from lo to hi, as a mask; empty when the range holds no digit 1 to 9.
unsigned range_mask(int lo, int hi) {
    lo = std::max(lo, 1);
    hi = std::min(hi, 9);
    if (lo > hi) {
        return 0;
    }
    return ((1u << hi) - 1) & ~((1u << (lo - 1)) - 1);
}

int lowest_digit(unsigned mask) {
    return std::countr_zero(mask) + 1;
}
int highest_digit(unsigned mask) {
    return 32 - std::countl_zero(mask);
}

// A set of cells whose digits add up to a known sum. Besides the cages themselves the
// solver adds the sums that follow from a row, column or block adding up to 45.
struct SumRule {
    std::vector<int> cells; // 0-based cell indices
    int sum = 0;
};

class Search {
public:
    Search(std::vector<SumRule> rules, int limit, std::int64_t budget)
        : rules_(std::move(rules)), limit_(limit), budget_(budget) {
        remaining_.resize(rules_.size());
        open_.resize(rules_.size());
        for (std::size_t k = 0; k < rules_.size(); ++k) {
            remaining_[k] = rules_[k].sum;
            open_[k] = static_cast<int>(rules_[k].cells.size());
            for (int i : rules_[k].cells) {
                rules_of_cell_[i].push_back(static_cast<int>(k));
            }
        }
        for (int u = 0; u < 27; ++u) {
            for (int n = 0; n < 9; ++n) {
                units_[u][n] = u < 9 ? u * 9 + n : u < 18 ? n * 9 + (u - 9) : 0;
            }
        }
        for (int i = 0; i < cell_count; ++i) {
            int b = block_of(i);
            units_[18 + b][block_fill_[b]++] = i;
        }
    }

    SolveResult run() {
        for (const SumRule& rule : rules_) {
            if (rule.sum < static_cast<int>(rule.cells.size()) ||
                rule.sum > 9 * static_cast<int>(rule.cells.size())) {
                return result_; // no digits 1 to 9 can make this sum
            }
        }
        search();
        return result_;
    }

private:
    bool place(int i, int d) {
        unsigned bit = 1u << (d - 1);
        value_[i] = d;
        rows_[row_of(i)] |= bit;
        places_[place_of(i)] |= bit;
        blocks_[block_of(i)] |= bit;
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
        unsigned bit = 1u << (d - 1);
        value_[i] = 0;
        rows_[row_of(i)] &= ~bit;
        places_[place_of(i)] &= ~bit;
        blocks_[block_of(i)] &= ~bit;
        for (int k : rules_of_cell_[i]) {
            remaining_[k] += d;
            ++open_[k];
        }
    }

    // Narrows every empty cell's candidates by its row, column and block and by the sum
    // bounds of its rules; false when some cell or rule can no longer be satisfied.
    bool narrow(std::array<unsigned, cell_count>& cand) {
        for (int i = 0; i < cell_count; ++i) {
            if (value_[i] == 0) {
                cand[i] =
                    all_digits & ~(rows_[row_of(i)] | places_[place_of(i)] | blocks_[block_of(i)]);
                if (cand[i] == 0) {
                    return false;
                }
            } else {
                cand[i] = 0;
            }
        }
        for (int pass = 0; pass < 4; ++pass) {
            bool changed = false;
            for (std::size_t k = 0; k < rules_.size(); ++k) {
                if (open_[k] == 0) {
                    continue;
                }
                int low = 0;
                int high = 0;
                for (int i : rules_[k].cells) {
                    if (value_[i] == 0) {
                        low += lowest_digit(cand[i]);
                        high += highest_digit(cand[i]);
                    }
                }
                int rest = remaining_[k];
                if (rest < low || rest > high) {
                    return false;
                }
                for (int i : rules_[k].cells) {
                    if (value_[i] != 0) {
                        continue;
                    }
                    int lo = rest - (high - highest_digit(cand[i]));
                    int hi = rest - (low - lowest_digit(cand[i]));
                    unsigned narrowed = cand[i] & range_mask(lo, hi);
                    if (narrowed != cand[i]) {
                        if (narrowed == 0) {
                            return false;
                        }
                        low += lowest_digit(narrowed) - lowest_digit(cand[i]);
                        high += highest_digit(narrowed) - highest_digit(cand[i]);
                        cand[i] = narrowed;
                        changed = true;
                    }
                }
            }
            if (!changed) {
                break;
            }
        }
        return true;
    }

    void search() {
        if (result_.count >= limit_ || result_.aborted) {
            return;
        }
        ++result_.nodes;
        if (budget_ > 0 && result_.nodes > budget_) {
            result_.aborted = true;
            return;
        }
        std::array<unsigned, cell_count> cand;
        if (!narrow(cand)) {
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
            if (result_.count == 0) {
                for (int i = 0; i < cell_count; ++i) {
                    result_.first[i + 1] = value_[i];
                }
            }
            ++result_.count;
            return;
        }
        // A digit with a single place left in a row, column or block is forced; a digit
        // with none means a dead end.
        if (best_count > 1) {
            for (const auto& unit : units_) {
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
            if (place(best, d)) {
                search();
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
    std::array<std::array<int, 9>, 27> units_{};
    std::array<int, 9> block_fill_{};
    std::array<int, cell_count> value_{};
    std::array<unsigned, 9> rows_{};
    std::array<unsigned, 9> places_{};
    std::array<unsigned, 9> blocks_{};
    SolveResult result_;
};

// The rules a row, column or block adds: its cells outside the cages that lie wholly
// inside it add up to 45 less those cages' sums, and the cells outside it of the cages
// that reach into it add up to those cages' sums less 45.
void add_unit_rules(const std::vector<Cage>& cages, const std::array<int, cell_count>& cage_of,
                    std::vector<SumRule>& rules) {
    for (int u = 0; u < 27; ++u) {
        std::array<bool, cell_count> in_unit{};
        for (int i = 0; i < cell_count; ++i) {
            int index = u < 9 ? row_of(i) : u < 18 ? place_of(i) + 9 : block_of(i) + 18;
            in_unit[i] = index == u;
        }
        bool covered = true;
        std::vector<bool> inside(cages.size(), true);
        std::vector<bool> touches(cages.size(), false);
        for (int i = 0; i < cell_count; ++i) {
            if (in_unit[i]) {
                if (cage_of[i] < 0) {
                    covered = false;
                } else {
                    touches[cage_of[i]] = true;
                }
            }
        }
        if (!covered) {
            continue;
        }
        SumRule innies{{}, 45};
        SumRule outies{{}, -45};
        for (std::size_t c = 0; c < cages.size(); ++c) {
            if (!touches[c]) {
                continue;
            }
            bool whole = true;
            for (int cell : cages[c].cells) {
                whole = whole && in_unit[cell - 1];
            }
            outies.sum += cages[c].sum;
            if (whole) {
                innies.sum -= cages[c].sum;
            } else {
                for (int cell : cages[c].cells) {
                    if (in_unit[cell - 1]) {
                        innies.cells.push_back(cell - 1);
                    } else {
                        outies.cells.push_back(cell - 1);
                    }
                }
            }
        }
        if (!innies.cells.empty() && innies.cells.size() < 9) {
            rules.push_back(std::move(innies));
        }
        if (!outies.cells.empty() && outies.cells.size() < 9) {
            rules.push_back(std::move(outies));
        }
    }
}

} // namespace

SolveResult count_solutions(const std::vector<Cage>& cages, int limit, std::int64_t node_budget) {
    std::array<int, cell_count> cage_of;
    cage_of.fill(-1);
    std::vector<SumRule> rules;
    for (std::size_t c = 0; c < cages.size(); ++c) {
        SumRule rule{{}, cages[c].sum};
        for (int cell : cages[c].cells) {
            if (cell < 1 || cell > cell_count) {
                throw std::invalid_argument("cell number out of range: " + std::to_string(cell));
            }
            if (cage_of[cell - 1] >= 0) {
                throw std::invalid_argument("cell " + std::to_string(cell) +
                                            " belongs to two cages");
            }
            cage_of[cell - 1] = static_cast<int>(c);
            rule.cells.push_back(cell - 1);
        }
        if (!rule.cells.empty()) {
            rules.push_back(std::move(rule));
        }
    }
    add_unit_rules(cages, cage_of, rules);
    Search search(std::move(rules), std::max(limit, 1), node_budget);
    return search.run();
}

} // namespace tallywick
