// Checks the compiled puzzle tables against the catalogue's rules and shape, cage by cage.
#include "catalogue/tables.h"
#include "core/cage_colours.h"
#include "core/cages.h"
#include "core/cells.h"
#include "colour_difference.h"
#include "colouring.h"
#include "logic_solver.h"
#include "puzzle_attempts.h"
#include "ranking.h"
#include "solver.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

using Row82 = std::array<std::int32_t, 82>;
using Row83 = std::array<std::int32_t, 83>;

// Puzzle 1 as designed, written out here rather than taken from the generator. Each line is
// one board row; cells are numbered right to left within a row.
// clang-format off
constexpr Row82 designed_level = {
    0,
    6, 2, 7, 1, 3, 9, 8, 4, 5,
    9, 3, 1, 4, 8, 5, 7, 6, 2,
    4, 8, 5, 6, 2, 7, 1, 9, 3,
    3, 4, 6, 5, 7, 8, 9, 2, 1,
    5, 9, 8, 2, 1, 4, 6, 3, 7,
    1, 7, 2, 3, 9, 6, 4, 5, 8,
    7, 5, 9, 8, 6, 2, 3, 1, 4,
    2, 6, 3, 7, 4, 1, 5, 8, 9,
    8, 1, 4, 9, 5, 3, 2, 7, 6,
};
constexpr Row82 designed_color = {
    0,
    2, 3, 2, 3, 3, 5, 5, 3, 2,
    3, 3, 5, 1, 1, 5, 6, 2, 5,
    6, 6, 5, 5, 1, 6, 2, 3, 5,
    6, 6, 6, 2, 5, 5, 3, 1, 1,
    3, 3, 3, 3, 3, 1, 3, 2, 2,
    3, 2, 5, 5, 2, 1, 2, 2, 3,
    2, 2, 5, 5, 6, 3, 2, 5, 6,
    6, 6, 5, 3, 6, 3, 1, 5, 6,
    6, 3, 3, 3, 3, 1, 1, 1, 1,
};
constexpr Row83 designed_sum_label = {
    0,
     6, 14,  7,  0,  4,  0, 22,  4,  5,
     0,  0, 12,  0, 14,  0,  7,  6,  5,
     0, 25,  0,  0,  0,  7,  1,  9,  0,
     0,  0,  0,  5,  0, 15, 15,  0,  3,
     0,  0,  0,  0, 26, 10,  0,  0, 22,
     0, 19,  0, 25,  9,  0,  0,  0,  8,
     0,  0,  0,  0, 10,  3,  0,  9, 13,
     0, 16,  0, 26,  0,  0, 23,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,
    0,
};
constexpr Row83 designed_sum_label_visible = {
    0,
    1, 1, 1, 0, 1, 0, 1, 1, 1,
    0, 0, 1, 0, 1, 0, 1, 1, 1,
    0, 1, 0, 0, 0, 1, 1, 1, 0,
    0, 0, 0, 1, 0, 1, 1, 0, 1,
    0, 0, 0, 0, 1, 1, 0, 0, 1,
    0, 1, 0, 1, 1, 0, 0, 0, 1,
    0, 0, 0, 0, 1, 1, 0, 1, 1,
    0, 1, 0, 1, 0, 0, 1, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0,
};
// clang-format on

using core::block_of;
using core::place_of;
using core::row_of;

bool share_edge(int a, int b) {
    const core::Neighbours next = core::neighbours_of(a);
    return std::find(next.begin(), next.end(), b) != next.end();
}

struct TestCage {
    std::vector<int> cells; // increasing
    int code = 0;
    int sum = 0; // of the solution digits
    int anchor = 0;
};

// A layout for the colouring search, from each cell's cage index.
tallywick::Layout layout_of(const std::array<int, 82>& cage_of) {
    tallywick::Layout layout;
    layout.cage_of = cage_of;
    for (int c = 1; c <= 81; ++c) {
        if (layout.cages.size() <= static_cast<std::size_t>(cage_of[c])) {
            layout.cages.resize(cage_of[c] + 1);
        }
        layout.cages[cage_of[c]].push_back(c);
    }
    return layout;
}

// Cages of one puzzle by the game's flood fill over the colour codes, each with its anchor: the
// cell of its top-most row with the largest cell number there.
std::vector<TestCage> cages_of(int puzzle) {
    tallywick::Layout layout = layout_of(core::map_cages(color_array[puzzle]).cage_of);
    std::vector<TestCage> cages;
    for (std::vector<int>& cells : layout.cages) {
        TestCage& cage = cages.emplace_back(TestCage{std::move(cells)});
        cage.code = color_array[puzzle][cage.cells.front()];
        for (int c : cage.cells) {
            cage.sum += level_array[puzzle][c];
        }
        const int top_row = row_of(cage.cells.front());
        for (int c : cage.cells) {
            if (row_of(c) == top_row) {
                cage.anchor = std::max(cage.anchor, c);
            }
        }
    }
    return cages;
}

bool holds_repeat(const TestCage& cage, int puzzle) {
    std::set<int> digits;
    for (int c : cage.cells) {
        digits.insert(level_array[puzzle][c]);
    }
    return digits.size() < cage.cells.size();
}

std::vector<tallywick::Cage> solver_cages(int puzzle) {
    std::vector<tallywick::Cage> out;
    for (const TestCage& cage : cages_of(puzzle)) {
        out.push_back({cage.cells, sum_label_array[puzzle][cage.anchor]});
    }
    return out;
}

std::set<int> codes_in(int puzzle) {
    return std::set<int>(&color_array[puzzle][1], &color_array[puzzle][82]);
}

// A variant of a puzzle with `merges` pairs of edge-joined cages joined into one cage with the
// sum of both, starting at cage `first`: fewer cages, so usually several solutions.
std::vector<tallywick::Cage> merged_variant(int puzzle, std::size_t first, int merges) {
    std::vector<tallywick::Cage> cages = solver_cages(puzzle);
    std::vector<tallywick::Cage> out;
    std::vector<bool> used(cages.size(), false);
    for (std::size_t k = 0; k < cages.size(); ++k) {
        const std::size_t i = (first + k) % cages.size();
        if (used[i] || merges == 0) {
            continue;
        }
        for (std::size_t j = 0; j < cages.size(); ++j) {
            const bool touches =
                std::any_of(cages[i].cells.begin(), cages[i].cells.end(), [&](int a) {
                    return std::any_of(cages[j].cells.begin(), cages[j].cells.end(),
                                       [&](int b) { return share_edge(a, b); });
                });
            if (j != i && !used[j] && touches) {
                used[i] = used[j] = true;
                tallywick::Cage joined = cages[i];
                joined.cells.insert(joined.cells.end(), cages[j].cells.begin(),
                                    cages[j].cells.end());
                joined.sum += cages[j].sum;
                out.push_back(std::move(joined));
                --merges;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < cages.size(); ++i) {
        if (!used[i]) {
            out.push_back(cages[i]);
        }
    }
    return out;
}

// The digits of `solution` that the logic solver struck out of their cells, as text.
QString struck_digits(const tallywick::LogicResult& result, const std::array<int, 82>& solution) {
    QString struck;
    for (int c = 1; c <= 81; ++c) {
        if ((result.candidates[c] & (1u << (solution[c] - 1))) == 0) {
            struck += QStringLiteral(" cell %1 digit %2").arg(c).arg(solution[c]);
        }
    }
    return struck;
}

// Pairs of cages of a puzzle that share an edge, as indexes into cages_of(puzzle).
std::vector<std::pair<std::size_t, std::size_t>>
neighbouring_cages(const std::vector<TestCage>& cages) {
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < cages.size(); ++i) {
        for (std::size_t j = i + 1; j < cages.size(); ++j) {
            const bool touch =
                std::any_of(cages[i].cells.begin(), cages[i].cells.end(), [&](int a) {
                    return std::any_of(cages[j].cells.begin(), cages[j].cells.end(),
                                       [&](int b) { return share_edge(a, b); });
                });
            if (touch) {
                pairs.emplace_back(i, j);
            }
        }
    }
    return pairs;
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a stray value in the row that clears the working arrays, or in the
    // slots that belong to no cell.
    void rowZeroAndTheSpareSlotsAreZero() {
        for (int k = 0; k <= 82; ++k) {
            if (k <= 81) {
                QCOMPARE(level_array[0][k], 0);
                QCOMPARE(color_array[0][k], 0);
            }
            QCOMPARE(sum_label_array[0][k], 0);
            QCOMPARE(sum_label_visible_array[0][k], 0);
        }
        for (int p = 1; p < catalogue_rows; ++p) {
            QCOMPARE(level_array[p][0], 0);
            QCOMPARE(color_array[p][0], 0);
            QCOMPARE(sum_label_array[p][0], 0);
            QCOMPARE(sum_label_visible_array[p][0], 0);
            QCOMPARE(sum_label_array[p][82], 0);
            QCOMPARE(sum_label_visible_array[p][82], 0);
        }
    }

    // Guards against a copying slip in the one hand-written puzzle.
    void puzzleOneIsExactlyAsDesigned() {
        for (int k = 0; k <= 81; ++k) {
            QCOMPARE(level_array[1][k], designed_level[k]);
            QCOMPARE(color_array[1][k], designed_color[k]);
        }
        for (int k = 0; k <= 82; ++k) {
            QCOMPARE(sum_label_array[1][k], designed_sum_label[k]);
            QCOMPARE(sum_label_visible_array[1][k], designed_sum_label_visible[k]);
        }
    }

    // Guards against a flood fill or anchor rule that splits the cage or moves its label.
    void puzzleOneCageAtCellTwentyHoldsFourTwiceAndSumsTwentyFive() {
        const auto cages = cages_of(1);
        auto it = std::find_if(cages.begin(), cages.end(), [](const TestCage& cage) {
            return std::find(cage.cells.begin(), cage.cells.end(), 20) != cage.cells.end();
        });
        QVERIFY(it != cages.end());
        QCOMPARE(it->cells, (std::vector<int>{19, 20, 28, 29, 30}));
        QCOMPARE(it->anchor, 20);
        QCOMPARE(sum_label_array[1][20], 25);
        QCOMPARE(sum_label_visible_array[1][20], 1);
        int fours = 0;
        for (int c : it->cells) {
            fours += level_array[1][c] == 4 ? 1 : 0;
        }
        QCOMPARE(fours, 2);
    }

    // Rule 1: a solution that breaks sudoku rules could never be checked as correct.
    void everySolutionIsACompleteSudokuGrid() {
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            std::array<std::set<int>, 27> units;
            for (int c = 1; c <= 81; ++c) {
                const int d = level_array[p][c];
                QVERIFY2(d >= 1 && d <= 9, qPrintable(QStringLiteral("puzzle %1").arg(p)));
                units[row_of(c)].insert(d);
                units[9 + place_of(c)].insert(d);
                units[18 + block_of(c)].insert(d);
            }
            for (const auto& unit : units) {
                QVERIFY2(unit.size() == 9, qPrintable(QStringLiteral("puzzle %1").arg(p)));
            }
        }
    }

    // Rules 2 to 4: codes 1 to 8, and exactly one shown sum per cage, at its anchor, equal to
    // the cage's digits.
    void everyCageShowsItsSumAtItsAnchorOnly() {
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const QString where = QStringLiteral("puzzle %1").arg(p);
            for (int c = 1; c <= 81; ++c) {
                QVERIFY2(color_array[p][c] >= 1 && color_array[p][c] <= 8, qPrintable(where));
            }
            std::set<int> anchors;
            for (const TestCage& cage : cages_of(p)) {
                anchors.insert(cage.anchor);
                QVERIFY2(sum_label_array[p][cage.anchor] == cage.sum, qPrintable(where));
                QVERIFY2(sum_label_visible_array[p][cage.anchor] == 1, qPrintable(where));
            }
            int flags = 0;
            for (int k = 1; k <= 81; ++k) {
                flags += sum_label_visible_array[p][k];
                if (anchors.count(k) == 0) {
                    QVERIFY2(sum_label_array[p][k] == 0, qPrintable(where));
                    QVERIFY2(sum_label_visible_array[p][k] == 0, qPrintable(where));
                }
            }
            QCOMPARE(flags, static_cast<int>(anchors.size()));
        }
    }

    // Rule 5: a repeated digit must sit in different rows, columns and blocks; the catalogue
    // has 212 such cages, five of them in puzzle 1.
    void repeatedDigitCagesNumberTwoHundredTwelve() {
        int total = 0;
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            int here = 0;
            for (const TestCage& cage : cages_of(p)) {
                if (!holds_repeat(cage, p)) {
                    continue;
                }
                ++here;
                for (int a : cage.cells) {
                    for (int b : cage.cells) {
                        if (a < b && level_array[p][a] == level_array[p][b]) {
                            QVERIFY(row_of(a) != row_of(b));
                            QVERIFY(place_of(a) != place_of(b));
                            QVERIFY(block_of(a) != block_of(b));
                        }
                    }
                }
            }
            if (p == 1) {
                QCOMPARE(here, 5);
            }
            total += here;
        }
        QCOMPARE(total, 212);
    }

    // The catalogue's shape: cages per puzzle, sizes and sums.
    void cagesMatchTheCatalogueShape() {
        int total = 0;
        int fewest = 81;
        int most = 0;
        std::map<int, int> sizes;
        std::set<int> sums;
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const auto cages = cages_of(p);
            const int n = static_cast<int>(cages.size());
            total += n;
            fewest = std::min(fewest, n);
            most = std::max(most, n);
            for (const TestCage& cage : cages) {
                ++sizes[static_cast<int>(cage.cells.size())];
                sums.insert(cage.sum);
            }
        }
        QString sizes_text;
        for (const auto& [size, count] : sizes) {
            sizes_text += QStringLiteral(" %1:%2").arg(size).arg(count);
        }
        qInfo("%d cages, %d to %d per puzzle; sizes%s; sums %d to %d, %d distinct", total, fewest,
              most, qPrintable(sizes_text), sums.empty() ? 0 : *sums.begin(),
              sums.empty() ? 0 : *sums.rbegin(), static_cast<int>(sums.size()));
        QCOMPARE(total, 3146);
        QCOMPARE(fewest, 23);
        QCOMPARE(most, 39);
        const std::map<int, int> expected_sizes = {{1, 107}, {2, 1015}, {3, 986}, {4, 904},
                                                   {5, 122}, {6, 9},    {7, 3}};
        QCOMPARE(sizes, expected_sizes);
        std::set<int> expected_sums;
        for (int s = 1; s <= 39; ++s) {
            if (s != 38) {
                expected_sums.insert(s);
            }
        }
        QCOMPARE(sums, expected_sums);
    }

    // The catalogue's shape: how many codes each puzzle uses and where the rare ones appear.
    void colourCodesMatchTheCatalogueShape() {
        std::map<int, int> puzzles_with;
        std::set<int> with_four;
        std::set<int> with_seven;
        std::set<int> with_eight;
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const auto codes = codes_in(p);
            ++puzzles_with[static_cast<int>(codes.size())];
            if (codes.count(4) != 0) {
                with_four.insert(p);
            }
            if (codes.count(7) != 0) {
                with_seven.insert(p);
            }
            if (codes.count(8) != 0) {
                with_eight.insert(p);
            }
        }
        QString counts_text;
        for (const auto& [codes, count] : puzzles_with) {
            counts_text += QStringLiteral(" %1 codes in %2;").arg(codes).arg(count);
        }
        qInfo("%s", qPrintable(counts_text));
        const std::map<int, int> expected = {{4, 1}, {5, 29}, {6, 83}, {7, 1}, {8, 2}};
        QCOMPARE(puzzles_with, expected);
        QVERIFY(!with_four.empty());
        QCOMPARE(*with_four.begin(), 31);
        QCOMPARE(with_seven, (std::set<int>{8, 114, 115}));
        QCOMPARE(with_eight, (std::set<int>{113, 114, 115}));
    }

    // Several puzzles share a grid with different cages: 46 grids in all, and puzzle 5's top
    // row reads 5 2 1 3 8 6 9 7 4 from left to right.
    void puzzlesShareFortySixSolutionGrids() {
        std::set<std::vector<int>> grids;
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            grids.insert(std::vector<int>(&level_array[p][1], &level_array[p][82]));
        }
        QCOMPARE(static_cast<int>(grids.size()), 46);
        const std::vector<int> left_to_right = {5, 2, 1, 3, 8, 6, 9, 7, 4};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(level_array[5][9 - i], left_to_right[i]);
        }
    }

    // Puzzles 5 and 12 repeat one layout on different grids; no other two puzzles share one.
    void onlyPuzzlesFiveAndTwelveShareTheirColourCodes() {
        for (int a = 1; a <= catalogue_puzzles; ++a) {
            for (int b = a + 1; b <= catalogue_puzzles; ++b) {
                const bool same =
                    std::equal(&color_array[a][0], &color_array[a][82], &color_array[b][0]);
                QCOMPARE(same, a == 5 && b == 12);
            }
        }
        QVERIFY(!std::equal(&level_array[5][0], &level_array[5][82], &level_array[12][0]));
        QVERIFY(
            !std::equal(&sum_label_array[5][0], &sum_label_array[5][83], &sum_label_array[12][0]));
    }

    // Every puzzle can be solved from its cages and sums alone, in exactly one way, and that
    // way is the stored solution.
    void everyPuzzleHasExactlyOneSolution() {
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const tallywick::SolveResult result = tallywick::count_solutions(solver_cages(p), 2);
            QVERIFY2(!result.aborted, qPrintable(QStringLiteral("puzzle %1").arg(p)));
            QVERIFY2(result.count == 1, qPrintable(QStringLiteral("puzzle %1").arg(p)));
            for (int c = 1; c <= 81; ++c) {
                QCOMPARE(result.first[c], level_array[p][c]);
            }
        }
    }

    // A board of one-cell cages is its own solution.
    void solverFindsTheOnlyGridOfOneCellCages() {
        std::vector<tallywick::Cage> cages;
        for (int c = 1; c <= 81; ++c) {
            cages.push_back({{c}, designed_level[c]});
        }
        const auto result = tallywick::count_solutions(cages, 2);
        QCOMPARE(result.count, 1);
        for (int c = 1; c <= 81; ++c) {
            QCOMPARE(result.first[c], designed_level[c]);
        }
        cages[40].sum = cages[40].sum % 9 + 1; // a wrong digit leaves no solution
        QCOMPARE(tallywick::count_solutions(cages, 2).count, 0);
    }

    // Two digits that can swap places in a rectangle of puzzle 1's grid, with each swapping pair
    // in one cage, give two solutions: the solver must not stop at the first.
    void solverCountsBothSolutionsOfASwappableRectangle() {
        int found = 0;
        for (int top = 1; top <= 72 && found == 0; ++top) {
            const int below = top + 9;
            if (row_of(top) / 3 != row_of(below) / 3) {
                continue;
            }
            for (int other = top + 1; other <= 9 * row_of(top) + 9 && found == 0; ++other) {
                if (designed_level[top] == designed_level[other + 9] &&
                    designed_level[other] == designed_level[below]) {
                    found = other;
                    std::vector<tallywick::Cage> cages;
                    cages.push_back({{top, below}, designed_level[top] + designed_level[below]});
                    cages.push_back(
                        {{other, other + 9}, designed_level[other] + designed_level[other + 9]});
                    for (int c = 1; c <= 81; ++c) {
                        if (c != top && c != below && c != other && c != other + 9) {
                            cages.push_back({{c}, designed_level[c]});
                        }
                    }
                    QCOMPARE(tallywick::count_solutions(cages, 2).count, 2);
                    QCOMPARE(tallywick::count_solutions(cages, 5).count, 2);
                }
            }
        }
        QVERIFY(found != 0);
    }

    // Digits may repeat inside a cage: three cells in different rows, columns and blocks with
    // sum 3 can only be 1, 1, 1.
    void solverAllowsARepeatedDigitInACage() {
        std::vector<tallywick::Cage> cages = {{{1, 13, 25}, 3}};
        const auto result = tallywick::count_solutions(cages, 1);
        QCOMPARE(result.count, 1);
        QCOMPARE(result.first[1], 1);
        QCOMPARE(result.first[13], 1);
        QCOMPARE(result.first[25], 1);
    }

    // Bad input gives a clear error, not a crash.
    void solverRefusesCellsOutOfRangeOrInTwoCages() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 tallywick::count_solutions({{{0, 1}, 3}}, 2));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, tallywick::count_solutions({{{82}, 3}}, 2));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 tallywick::count_solutions({{{1, 2}, 3}, {{2, 3}, 5}}, 2));
    }

    // The logic solver never strikes out a digit of the solution, on every puzzle as shipped
    // (whether or not it gets to the end) and on variants with cages joined, which have several
    // solutions: none of those may lose a digit either. Guards against unsound reasoning, such
    // as a combination routine that wrongly assumes a cage's digits all differ.
    void logicSolverNeverStrikesOutADigitOfAnySolution() {
        int variants = 0;
        int with_several = 0;
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const auto result = tallywick::solve_logically(solver_cages(p));
            QVERIFY2(!result.contradiction, qPrintable(QStringLiteral("puzzle %1").arg(p)));
            std::array<int, 82> stored{};
            std::copy(&level_array[p][0], &level_array[p][82], stored.begin());
            const QString struck = struck_digits(result, stored);
            QVERIFY2(struck.isEmpty(),
                     qPrintable(QStringLiteral("puzzle %1:%2").arg(p).arg(struck)));
            for (int merges : {3, 6}) {
                const auto cages = merged_variant(p, static_cast<std::size_t>(p * merges), merges);
                const auto exact = tallywick::count_solutions(cages, 20, 100000);
                if (exact.aborted) {
                    continue;
                }
                ++variants;
                with_several += exact.count > 1 ? 1 : 0;
                const auto logic = tallywick::solve_logically(cages);
                QVERIFY2(!logic.contradiction,
                         qPrintable(QStringLiteral("puzzle %1, %2 joined").arg(p).arg(merges)));
                QVERIFY(exact.count >= 1);
                QCOMPARE(exact.solutions.size(), static_cast<std::size_t>(exact.count));
                for (const auto& solution : exact.solutions) {
                    const QString lost = struck_digits(logic, solution);
                    QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("puzzle %1, %2 joined:%3")
                                                            .arg(p)
                                                            .arg(merges)
                                                            .arg(lost)));
                }
                // Solved means one answer: never on a board with several, and on a board
                // with one, exactly that answer.
                if (exact.count > 1) {
                    QVERIFY2(!logic.solved,
                             qPrintable(QStringLiteral("puzzle %1, %2 joined").arg(p).arg(merges)));
                } else if (logic.solved) {
                    for (int c = 1; c <= 81; ++c) {
                        QCOMPARE(logic.digits[c], exact.solutions.front()[c]);
                    }
                }
            }
        }
        // The sweep must really reach boards with several solutions.
        qInfo("%d variants with cages joined, %d of them with several solutions", variants,
              with_several);
        QVERIFY2(variants >= catalogue_puzzles, qPrintable(QString::number(variants)));
        QVERIFY2(with_several >= catalogue_puzzles / 2, qPrintable(QString::number(with_several)));
    }

    // Every puzzle yields to reasoning from its cages alone, as on "Hard" with no revealed
    // cell, within the six levels of technique, and ends on the stored solution. Guards
    // against a puzzle that can only be finished by guessing.
    void logicSolverSolvesEveryPuzzleFromItsCagesAlone() {
        std::array<int, tallywick::logic_level_count + 1> needing{};
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const auto result = tallywick::solve_logically(solver_cages(p));
            QVERIFY2(result.solved, qPrintable(QStringLiteral("puzzle %1").arg(p)));
            QVERIFY(result.hardest_level >= 1 && result.hardest_level <= 6);
            ++needing[result.hardest_level];
            for (int c = 1; c <= 81; ++c) {
                QCOMPARE(result.digits[c], level_array[p][c]);
            }
        }
        QString counts;
        for (int level = 1; level <= tallywick::logic_level_count; ++level) {
            counts += QStringLiteral(" level %1: %2;").arg(level).arg(needing[level]);
        }
        qInfo("puzzles by the hardest technique they need:%s", qPrintable(counts));
    }

    // Guards against a rank correlation that the difficulty ramp below could pass by mistake:
    // rising scores give 1, falling ones -1, and tied scores share their mean rank (1, 2.5, 2.5,
    // 4 against 1, 2, 3, 4 gives 0.9487).
    void rankCorrelationFollowsTheScoresOrderAndSharesTies() {
        QCOMPARE(tallywick::rank_correlation({3, 10, 11, 400}), 1.0);
        QCOMPARE(tallywick::rank_correlation({400, 11, 10, 3}), -1.0);
        QVERIFY(std::abs(tallywick::rank_correlation({1, 5, 5, 9}) - 0.9486833) < 1e-6);
    }

    // Difficulty rises through the catalogue: the logic solver's difficulty of puzzles 1 to 115
    // has a Spearman rank correlation of at least 0.9 with the puzzle number; the first ten
    // need no technique beyond the rule of 45, and the last ones need level 5 or 6. Guards
    // against a catalogue whose order says nothing about how hard the next puzzle is.
    void difficultyRisesWithThePuzzleNumber() {
        std::vector<std::int64_t> score;
        std::vector<int> level(catalogue_puzzles + 1, 0);
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            const auto result = tallywick::solve_logically(solver_cages(p));
            level[p] = result.hardest_level;
            if (p < catalogue_puzzles) {
                score.push_back(result.score());
            }
        }
        const double rho = tallywick::rank_correlation(score);
        qInfo("rank correlation of difficulty with puzzle number 1 to 115: %.4f", rho);
        QVERIFY2(rho >= 0.9, qPrintable(QString::number(rho)));
        for (int p = 1; p <= 10; ++p) {
            QVERIFY2(level[p] <= tallywick::rule_of_45,
                     qPrintable(QStringLiteral("puzzle %1: level %2").arg(p).arg(level[p])));
        }
        for (int p = catalogue_puzzles - 10; p <= catalogue_puzzles; ++p) {
            QVERIFY2(level[p] >= tallywick::cage_unit,
                     qPrintable(QStringLiteral("puzzle %1: level %2").arg(p).arg(level[p])));
        }
    }

    // Whatever the logic solver places, it places from the stored solution, also when it stops
    // part way because it may not use the techniques the puzzle needs: each digit it places is
    // the stored one. Guards against a solver that fills a cell
    // it could not reason out.
    void logicSolverEndsOnTheStoredSolution() {
        int stopped_part_way = 0;
        for (int p = 1; p <= catalogue_puzzles; ++p) {
            for (int level = 1; level <= tallywick::logic_level_count; ++level) {
                const auto result = tallywick::solve_logically(solver_cages(p), level);
                int placed = 0;
                for (int c = 1; c <= 81; ++c) {
                    const int d = result.digits[c];
                    if (d == 0) {
                        continue;
                    }
                    ++placed;
                    QVERIFY2(d == level_array[p][c],
                             qPrintable(QStringLiteral("puzzle %1 up to level %2, cell %3: %4")
                                            .arg(p)
                                            .arg(level)
                                            .arg(c)
                                            .arg(d)));
                }
                QCOMPARE(result.solved, placed == 81);
                stopped_part_way += !result.solved && placed > 0 ? 1 : 0;
            }
        }
        // The check must really meet boards the solver left half done.
        QVERIFY2(stopped_part_way >= catalogue_puzzles,
                 qPrintable(QString::number(stopped_part_way)));
    }

    // Puzzle 1 opens the catalogue and yields to the gentle techniques alone.
    void logicSolverSolvesPuzzleOneWithGentleTechniques() {
        const auto result = tallywick::solve_logically(solver_cages(1));
        QVERIFY(result.solved);
        QVERIFY2(result.hardest_level <= tallywick::rule_of_45,
                 qPrintable(QString::number(result.hardest_level)));
        // Without the rule of 45 it gets stuck: the level it reports is the one it needed.
        QVERIFY(!tallywick::solve_logically(solver_cages(1), result.hardest_level - 1).solved);
    }

    // A cage may hold a digit twice in cells that do not see each other: three cells in
    // different rows, columns and blocks adding up to 3 are all 1. Two cells of one row adding up
    // to 2 cannot be filled at all.
    void logicSolverAllowsARepeatOnlyInCellsThatDoNotSeeEachOther() {
        const auto apart = tallywick::solve_logically({{{1, 13, 25}, 3}});
        QVERIFY(!apart.contradiction);
        for (int c : {1, 13, 25}) {
            QCOMPARE(apart.digits[c], 1);
        }
        const auto together = tallywick::solve_logically({{{1, 2}, 2}});
        QVERIFY(together.contradiction);
        QVERIFY(!together.solved);
    }

    // A board of one-cell cages is solved from its givens, with no technique needed; a cage
    // whose sum no digits can reach is reported as a contradiction, not solved.
    void logicSolverTakesOneCellCagesAsGivens() {
        std::vector<tallywick::Cage> cages;
        for (int c = 1; c <= 81; ++c) {
            cages.push_back({{c}, designed_level[c]});
        }
        const auto given = tallywick::solve_logically(cages);
        QVERIFY(given.solved);
        QCOMPARE(given.hardest_level, 0);
        QCOMPARE(given.score(), 0);
        cages[40].sum = 12;
        QVERIFY(tallywick::solve_logically(cages).contradiction);
    }

    // Bad input gives a clear error, not a crash.
    void logicSolverRefusesCellsOutOfRangeOrInTwoCages() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, tallywick::solve_logically({{{0, 1}, 3}}));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, tallywick::solve_logically({{{82}, 3}}));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 tallywick::solve_logically({{{1, 2}, 3}, {{2, 3}, 5}}));
    }
    // CIEDE2000 against the test pairs Sharma, Wu and Dalal published with their formulation
    // (2005), which catch the usual slips: hue angles across 0 degrees, mean hues more than
    // 180 degrees apart, the G factor and the rotation term.
    void colourDifferenceMatchesThePublishedTestPairs() {
        struct Pair {
            tallywick::Lab first;
            tallywick::Lab second;
            double difference;
        };
        const Pair pairs[] = {
            {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
            {{50, 3.1571, -77.2803}, {50, 0, -82.7485}, 2.8615},
            {{50, 2.8361, -74.0200}, {50, 0, -82.7485}, 3.4412},
            {{50, -1.3802, -84.2814}, {50, 0, -82.7485}, 1.0000},
            {{50, -1.1848, -84.8006}, {50, 0, -82.7485}, 1.0000},
            {{50, -0.9009, -85.5211}, {50, 0, -82.7485}, 1.0000},
            {{50, 0, 0}, {50, -1, 2}, 2.3669},
            {{50, -1, 2}, {50, 0, 0}, 2.3669},
            {{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
            {{50, 2.49, -0.001}, {50, -2.49, 0.0010}, 7.1792},
            {{50, 2.49, -0.001}, {50, -2.49, 0.0011}, 7.2195},
            {{50, 2.49, -0.001}, {50, -2.49, 0.0012}, 7.2195},
            {{50, -0.001, 2.49}, {50, 0.0009, -2.49}, 4.8045},
            {{50, -0.001, 2.49}, {50, 0.0010, -2.49}, 4.8045},
            {{50, -0.001, 2.49}, {50, 0.0011, -2.49}, 4.7461},
            {{50, 2.5, 0}, {50, 0, -2.5}, 4.3065},
            {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
            {{50, 2.5, 0}, {61, -5, 29}, 22.8977},
            {{50, 2.5, 0}, {56, -27, -3}, 31.9030},
            {{50, 2.5, 0}, {58, 24, 15}, 19.4535},
            {{50, 2.5, 0}, {50, 3.1736, 0.5854}, 1.0000},
            {{50, 2.5, 0}, {50, 3.2972, 0}, 1.0000},
            {{50, 2.5, 0}, {50, 1.8634, 0.5757}, 1.0000},
            {{50, 2.5, 0}, {50, 3.2592, 0.3350}, 1.0000},
            {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
            {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
            {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
            {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
            {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
            {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
            {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
            {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
            {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
            {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
        };
        int n = 0;
        for (const Pair& pair : pairs) {
            ++n;
            const double got = tallywick::ciede2000(pair.first, pair.second);
            QVERIFY2(std::abs(got - pair.difference) < 0.0001,
                     qPrintable(QStringLiteral("pair %1: %2, published %3")
                                    .arg(n)
                                    .arg(got, 0, 'f', 6)
                                    .arg(pair.difference, 0, 'f', 4)));
        }
    }

    // Light blue, #7F7FFF, worked out by hand: 127/255 is 0.212231 in linear light; the
    // protanopia matrix (rows 0.152286 1.052583 -0.204868 / 0.114503 0.786281 0.099216 /
    // -0.003882 -0.048116 1.051998) gives 0.050842, 0.290390 and 1.040962, which is clamped to
    // 1. Greys and white stay as they are under every vision, as the matrices' rows each sum
    // to 1.
    void simulatedColoursMatchHandWork() {
        const tallywick::Linear blue = tallywick::to_linear({127, 127, 255});
        QVERIFY(std::abs(blue[0] - 0.212231) < 1e-6);
        QVERIFY(std::abs(blue[2] - 1.0) < 1e-12);
        const tallywick::Linear seen = tallywick::simulate(blue, tallywick::Vision::protanopia);
        QVERIFY2(std::abs(seen[0] - 0.050842) < 1e-5, qPrintable(QString::number(seen[0])));
        QVERIFY2(std::abs(seen[1] - 0.290390) < 1e-5, qPrintable(QString::number(seen[1])));
        QCOMPARE(seen[2], 1.0);
        // Greys, white among them, stay as they are.
        for (tallywick::Vision vision : tallywick::visions) {
            for (int level : {64, 128, 200, 255}) {
                const tallywick::Linear grey = tallywick::to_linear({level, level, level});
                const tallywick::Linear seen_grey = tallywick::simulate(grey, vision);
                for (std::size_t i = 0; i < 3; ++i) {
                    QVERIFY2(std::abs(seen_grey[i] - grey[i]) < 1e-5,
                             qPrintable(QStringLiteral("%1: grey %2 channel %3 is %4")
                                            .arg(tallywick::vision_name(vision))
                                            .arg(level)
                                            .arg(i)
                                            .arg(seen_grey[i])));
                }
            }
            const tallywick::Lab white = tallywick::to_lab(
                tallywick::simulate(tallywick::to_linear({255, 255, 255}), vision));
            QVERIFY2(std::abs(white.l - 100) < 0.01 && std::abs(white.a) < 0.01 &&
                         std::abs(white.b) < 0.01,
                     tallywick::vision_name(vision));
        }
    }

    // The cage colours as the game paints them, and the pairs that some player cannot tell
    // apart: light blue and light magenta (protanopia), light green with light cyan
    // (tritanopia) and with light yellow (protanopia and deuteranopia), light red and dull
    // olive (deuteranopia). Light blue, light cyan, light red and light yellow are all
    // distinct to everyone, so every puzzle with code 4 can be coloured without a confusable
    // pair. Prints the table of the worst-case differences.
    void cageColoursConfusableForSomeVisionAreTheKnownPairs() {
        const std::array<std::array<int, 3>, 9> painted = {{{255, 255, 255},
                                                            {0x7F, 0x7F, 0xFF},
                                                            {0x7F, 0xFF, 0x7F},
                                                            {0x7F, 0xFF, 0xFF},
                                                            {0xFF, 0x7F, 0x7F},
                                                            {0xFF, 0x7F, 0xFF},
                                                            {0xFF, 0xFF, 0x7F},
                                                            {0xBE, 0x7F, 0xBE},
                                                            {0xBE, 0xBE, 0x7F}}};
        for (int code = 1; code <= 8; ++code) {
            const tallywick::Rgb& rgb = core::cage_colours[code];
            QCOMPARE((std::array<int, 3>{rgb.red, rgb.green, rgb.blue}), painted[code]);
        }
        std::set<std::pair<int, int>> look_alike;
        QString table = QStringLiteral("worst-case CIEDE2000 over the four visions:\n    ");
        for (int b = 1; b <= 8; ++b) {
            table += QStringLiteral("%1").arg(b, 6);
        }
        for (int a = 1; a <= 8; ++a) {
            table += QStringLiteral("\n  %1 ").arg(a);
            for (int b = 1; b <= 8; ++b) {
                const double worst = a == b ? 0.0 : tallywick::worst_difference(a, b);
                table += QStringLiteral("%1").arg(worst, 6, 'f', 1);
                QCOMPARE(tallywick::worst_difference(a, b), tallywick::worst_difference(b, a));
                if (a < b && tallywick::confusable(a, b)) {
                    look_alike.insert({a, b});
                }
            }
        }
        qInfo("%s", qPrintable(table));
        QCOMPARE(look_alike, (std::set<std::pair<int, int>>{{1, 5}, {2, 3}, {2, 6}, {4, 8}}));
        // With full colour vision every pair is far apart.
        for (int a = 1; a <= 8; ++a) {
            for (int b = a + 1; b <= 8; ++b) {
                QVERIFY(tallywick::difference(core::cage_colours[a], core::cage_colours[b],
                                              tallywick::Vision::normal) >= 10);
            }
        }
    }

    // The colouring search finds the least number of confusable neighbours on layouts worked
    // out by hand, with neighbours never sharing a code and every code used: nine row cages
    // form a path, which light blue and light magenta can only colour with all 8 pairs alike;
    // with light green, light cyan and light yellow the green goes at one end (1 pair); light
    // blue, light cyan and light yellow need none. On 81 one-cell cages the five codes of the
    // early puzzles need none either.
    void colouringSearchFindsTheLeastConfusablePairs() {
        struct Case {
            bool rows;
            std::vector<int> codes;
            int least;
        };
        const Case cases[] = {
            {true, {1, 5}, 8},    {true, {2, 3, 6}, 1},           {true, {1, 3, 6}, 0},
            {true, {1, 2}, 0},    {false, {1, 2, 3, 5, 6}, 0},    {false, {1, 5}, 144},
            {false, {2, 3}, 144}, {false, {1, 3, 4, 6, 2, 5}, 0},
        };
        for (const Case& c : cases) {
            std::array<int, 82> cage_of{};
            for (int cell = 1; cell <= 81; ++cell) {
                cage_of[cell] = c.rows ? row_of(cell) : cell - 1;
            }
            tallywick::Prng rng(16);
            std::array<std::int32_t, 82> color{};
            const auto found = tallywick::colour_layout(layout_of(cage_of), c.codes, rng, color);
            const QByteArray what = QStringLiteral("%1 codes on %2")
                                        .arg(static_cast<int>(c.codes.size()))
                                        .arg(c.rows ? "rows" : "cells")
                                        .toLatin1();
            QVERIFY2(found.has_value(), what.constData());
            QCOMPARE(*found, c.least);
            std::set<int> used;
            int alike = 0;
            for (int a = 1; a <= 81; ++a) {
                used.insert(color[a]);
                for (int b = a + 1; b <= 81; ++b) {
                    if (share_edge(a, b) && cage_of[a] != cage_of[b]) {
                        QVERIFY2(color[a] != color[b], what.constData());
                        // Each row pair shares nine edges; count the pair once.
                        const bool first_edge = !c.rows || place_of(a) == 0;
                        alike += first_edge && tallywick::confusable(color[a], color[b]) ? 1 : 0;
                    }
                }
            }
            QCOMPARE(used, (std::set<int>(c.codes.begin(), c.codes.end())));
            QCOMPARE(alike, c.least);
        }
        // Two codes cannot colour three cages that all touch.
        std::array<int, 82> three{};
        for (int cell = 1; cell <= 81; ++cell) {
            three[cell] = cell == 1 ? 0 : (cell == 2 ? 1 : 2);
        }
        tallywick::Prng rng(16);
        std::array<std::int32_t, 82> color{};
        QVERIFY(!tallywick::colour_layout(layout_of(three), {1, 3}, rng, color).has_value());
    }

    // Colour is all that separates one cage from the next, so neighbouring cages should not
    // look alike to players with a colour-vision deficiency. Each puzzle has at most as many
    // confusable neighbouring cages as the record of the colouring search says is the least
    // possible, none at all from puzzle 31 on (where light red joins the codes), and the whole
    // catalogue fewer than 60 of its 6681 neighbouring pairs (the first colouring had 1438).
    void neighbouringCagesLookDifferentToEveryPlayer() {
        constexpr int bound = 60;
        std::array<int, 4> by_vision{};
        std::array<int, 2> by_range{};
        int pairs = 0;
        int puzzles_with_none = 0;
        QString per_puzzle;
        for (int p = 2; p <= catalogue_puzzles; ++p) {
            const auto cages = cages_of(p);
            int here = 0;
            for (const auto& [i, j] : neighbouring_cages(cages)) {
                ++pairs;
                const int a = cages[i].code;
                const int b = cages[j].code;
                for (std::size_t v = 0; v < tallywick::visions.size(); ++v) {
                    by_vision[v] +=
                        tallywick::difference(core::cage_colours[a], core::cage_colours[b],
                                              tallywick::visions[v]) < tallywick::confusable_below
                            ? 1
                            : 0;
                }
                here += tallywick::confusable(a, b) ? 1 : 0;
            }
            by_range[p <= 30 ? 0 : 1] += here;
            puzzles_with_none += here == 0 ? 1 : 0;
            if (here != 0) {
                per_puzzle += QStringLiteral(" %1:%2").arg(p).arg(here);
            }
            QVERIFY2(here <= tallywick::puzzle_confusable_pairs[p],
                     qPrintable(QStringLiteral("puzzle %1: %2 confusable pairs, recorded %3")
                                    .arg(p)
                                    .arg(here)
                                    .arg(tallywick::puzzle_confusable_pairs[p])));
            if (p >= 31) {
                QVERIFY2(here == 0, qPrintable(QStringLiteral("puzzle %1: %2").arg(p).arg(here)));
            }
        }
        qInfo("%d neighbouring cage pairs; confusable: %d in puzzles 2-30, %d in 31-116; "
              "normal %d, protanopia %d, deuteranopia %d, tritanopia %d; %d puzzles have none;"
              "%s",
              pairs, by_range[0], by_range[1], by_vision[0], by_vision[1], by_vision[2],
              by_vision[3], puzzles_with_none, qPrintable(per_puzzle));
        QCOMPARE(pairs, 6681);
        QVERIFY2(by_range[0] + by_range[1] < bound, qPrintable(QString::number(by_range[0])));
    }
};

QTEST_APPLESS_MAIN(CatalogueTest)
#include "catalogue_test.moc"
