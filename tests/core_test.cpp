// The board facts every part shares: cell numbering, neighbours, cell bounds, cage colours and the
// cage flood fill, checked against the board as a player sees it.
#include "core/cage_colours.h"
#include "core/cages.h"
#include "core/cells.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

std::vector<int> neighbours(int cell) {
    const core::Neighbours n = core::neighbours_of(cell);
    return {n.begin(), n.end()};
}

} // namespace

class CoreTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against numbering the cells left to right, or rows and columns swapped: cell 1 is
    // the top-right corner, cell 9 the top-left, cell 81 the bottom-left.
    void cellsAreNumberedRightToLeftFromTheTopRightCorner() {
        QCOMPARE(core::row_of(1), 0);
        QCOMPARE(core::column_of(1), 8);
        QCOMPARE(core::column_of(9), 0);
        QCOMPARE(core::row_of(10), 1);
        QCOMPARE(core::column_of(10), 8);
        QCOMPARE(core::row_of(81), 8);
        QCOMPARE(core::column_of(81), 0);
        QCOMPARE(core::block_of(1), 0);
        QCOMPARE(core::block_of(7), 2);
        QCOMPARE(core::block_of(31), 4);
        QCOMPARE(core::block_of(81), 8);
        QCOMPARE(core::cell_at(0, 8), 1);
        QCOMPARE(core::cell_at(0, 0), 9);
        QCOMPARE(core::cell_at(8, 0), 81);
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(core::cell_at(core::row_of(k), core::column_of(k)), k);
        }
        // Written out: the top-right and bottom-left cells, and the centre, where they are drawn.
        const auto at = [](int cell) {
            const core::Bounds b = core::cell_bounds(cell);
            return QRect(b.x, b.y, b.width, b.height);
        };
        QCOMPARE(at(1), QRect(468, 50, 52, 52));
        QCOMPARE(at(81), QRect(56, 462, 52, 52));
        QCOMPARE(at(41), QRect(262, 256, 52, 52));
        const core::Bounds sum = core::sum_label_bounds(1);
        QCOMPARE(QRect(sum.x, sum.y, sum.width, sum.height), QRect(470, 52, 19, 13));
    }

    // Guards against neighbours that wrap from one row's end to the next row's start: cell 9
    // (top-left) and cell 10 (second row, right) are one apart in number but far apart on screen.
    void neighboursShareAnEdgeAndNeverWrapAroundARow() {
        QCOMPARE(neighbours(1), (std::vector<int>{2, 10}));
        QCOMPARE(neighbours(9), (std::vector<int>{8, 18}));
        QCOMPARE(neighbours(10), (std::vector<int>{11, 1, 19}));
        QCOMPARE(neighbours(41), (std::vector<int>{40, 42, 32, 50}));
        QCOMPARE(neighbours(81), (std::vector<int>{80, 72}));
        for (int a = 1; a <= core::cell_count; ++a) {
            for (const int b : core::neighbours_of(a)) {
                const int rows = std::abs(core::row_of(a) - core::row_of(b));
                const int columns = std::abs(core::column_of(a) - core::column_of(b));
                QCOMPARE(rows + columns, 1);
            }
        }
    }

    // Guards against a flood fill that joins cells of one code across a row's end, or through a
    // corner, or splits a cage that bends.
    void cagesAreEdgeJoinedGroupsOfOneCode() {
        std::array<std::int32_t, 82> codes{};
        codes.fill(1);
        // Code 2 at cells 9 and 10: same code, one apart in number, not joined on screen.
        codes[9] = 2;
        codes[10] = 2;
        // Code 3 on cells 21 and 31, touching at a corner only.
        codes[21] = 3;
        codes[31] = 3;
        // Code 4 on cells 50, 59 and 58, an L: one cage.
        codes[50] = 4;
        codes[59] = 4;
        codes[58] = 4;
        const core::CageMap map = core::map_cages(codes);
        QVERIFY(map.cage_of[9] != map.cage_of[10]);
        QVERIFY(map.cage_of[21] != map.cage_of[31]);
        QCOMPARE(map.cage_of[59], map.cage_of[50]);
        QCOMPARE(map.cage_of[58], map.cage_of[50]);
        // The code-1 background is one cage around them all.
        QCOMPARE(map.cage_of[1], 0);
        QCOMPARE(map.cage_of[81], 0);
        QCOMPARE(map.count, 6);
        // Cages are numbered in the order of their lowest cell.
        QCOMPARE(map.cage_of[9], 1);
        QCOMPARE(map.cage_of[10], 2);
        QCOMPARE(map.cage_of[21], 3);
        QCOMPARE(map.cage_of[31], 4);
        QCOMPARE(map.cage_of[50], 5);
    }

    // The eight colours by code, written out; every other code is white.
    void cageColoursByCodeAndWhiteForAnyOther() {
        const std::array<core::Rgb, 8> designed = {{{127, 127, 255},
                                                    {127, 255, 127},
                                                    {127, 255, 255},
                                                    {255, 127, 127},
                                                    {255, 127, 255},
                                                    {255, 255, 127},
                                                    {190, 127, 190},
                                                    {190, 190, 127}}};
        for (int code = 1; code <= 8; ++code) {
            QVERIFY(core::cage_colour(code) == designed[code - 1]);
        }
        for (const std::int32_t other : {0, -1, 9, 2147483647}) {
            QVERIFY(core::cage_colour(other) == (core::Rgb{255, 255, 255}));
        }
    }
};

QTEST_APPLESS_MAIN(CoreTest)
#include "core_test.moc"
