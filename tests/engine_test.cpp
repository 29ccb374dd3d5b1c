// The game engine through the real window's buttons and menus: starting, revealing, skipping and
// checking.
#include "catalogue/tables.h"
#include "core/cells.h"
#include "tests/support/support.h"
#include "ui/form1.h"

#include <QTest>

#include <random>
#include <set>
#include <vector>

namespace {

void click(tk::Button* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

std::set<int> filled_cells(const Form1& w) {
    std::set<int> cells;
    for (int k = 1; k <= 81; ++k) {
        if (!w.textBox[k]->Text().isEmpty()) {
            cells.insert(k);
        }
    }
    return cells;
}

// Writes a board straight into the cells, digits[k] into cell k.
void write_board(Form1& w, const std::int32_t* digits) {
    for (int k = 1; k <= 81; ++k) {
        w.textBox[k]->SetText(QString::number(digits[k]));
    }
}

bool correct_shown(const Form1& w) {
    return w.pictureBox_correct->Visible() && w.button_correct->Visible();
}

bool incorrect_shown(const Form1& w) {
    return w.pictureBox_incorrect_solution->Visible() && w.button_incorrect_solution->Visible();
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void startOnNormalRevealsTenSolutionCellsAndPaintsTheCages() {
        Form1 w;
        w.label_level_value->SetText("7");
        click(w.button4);
        const std::set<int> shown = filled_cells(w);
        QCOMPARE(shown.size(), std::size_t{10});
        for (const int k : shown) {
            QCOMPARE(w.textBox[k]->Text(), QString::number(level_array[7][k]));
        }
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(w.textBox[k]->BackColor(), support::cage_colour(color_array[7][k]));
            QCOMPARE(w.label[k]->BackColor(), support::cage_colour(color_array[7][k]));
            QCOMPARE(w.label[k]->Text(), QString::number(sum_label_array[7][k]));
            QCOMPARE(w.label[k]->Visible(), sum_label_visible_array[7][k] == 1);
        }
        // The level labels are never painted or relabelled.
        QVERIFY(!w.label_level_value->BackColor().isValid());
        QCOMPARE(w.label_level_value->Text(), QString("7"));
        QCOMPARE(w.label_level_title_2->Text(), QString("Current"));
    }

    void difficultyItemsSetTheCountAndNoneCheckedKeepsTheLast() {
        Form1 w;
        // Clicking the checked item unchecks it before its handler runs.
        w.normalToolStripMenuItem->PerformClick();
        QVERIFY(!w.normalToolStripMenuItem->Checked());
        QVERIFY(!w.easyToolStripMenuItem->Checked() && !w.hardToolStripMenuItem->Checked());
        click(w.button4);
        QCOMPARE(filled_cells(w).size(), std::size_t{15});

        w.easyToolStripMenuItem->PerformClick();
        QVERIFY(w.easyToolStripMenuItem->Checked());
        click(w.button4);
        QCOMPARE(filled_cells(w).size(), std::size_t{20});
        w.easyToolStripMenuItem->PerformClick();
        click(w.button4);
        QCOMPARE(filled_cells(w).size(), std::size_t{20});

        w.hardToolStripMenuItem->PerformClick();
        w.easyToolStripMenuItem->PerformClick();
        w.hardToolStripMenuItem->PerformClick();
        QVERIFY(w.hardToolStripMenuItem->Checked() && !w.easyToolStripMenuItem->Checked());
        // Changing the difficulty leaves the board as it is until the next start.
        QCOMPARE(filled_cells(w).size(), std::size_t{20});
        // The Hard start must paint and label the board itself: undo what the
        // earlier starts did first.
        for (int k = 1; k <= 81; ++k) {
            w.textBox[k]->SetBackColor(Qt::black);
            w.label[k]->SetBackColor(Qt::black);
            w.label[k]->SetText("x");
            w.label[k]->SetVisible(sum_label_visible_array[1][k] != 1);
        }
        click(w.button4);
        QCOMPARE(filled_cells(w).size(), std::size_t{0});
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(w.textBox[k]->BackColor(), support::cage_colour(color_array[1][k]));
            QCOMPARE(w.label[k]->BackColor(), support::cage_colour(color_array[1][k]));
            QCOMPARE(w.label[k]->Text(), QString::number(sum_label_array[1][k]));
            QCOMPARE(w.label[k]->Visible(), sum_label_visible_array[1][k] == 1);
        }
    }

    // Guards against a difficulty item that leaves another checked ("Hard" not unchecking
    // "Normal"): from every one of the eight starting states, a click flips the clicked item
    // and leaves the other two unchecked, and Start reveals the count of the item left checked.
    void eachDifficultyItemFlipsItselfAndUnchecksTheOthersFromEveryState() {
        const char* names[3] = {"Easy", "Normal", "Hard"};
        const int reveals[3] = {20, 10, 0};
        for (int state = 0; state < 8; ++state) {
            for (int clicked = 0; clicked < 3; ++clicked) {
                Form1 w;
                tk::MenuItem* items[3] = {w.easyToolStripMenuItem, w.normalToolStripMenuItem,
                                          w.hardToolStripMenuItem};
                for (int i = 0; i < 3; ++i) {
                    items[i]->SetChecked((state >> i & 1) != 0);
                }
                const bool was_checked = items[clicked]->Checked();
                items[clicked]->PerformClick();
                const QString where = QStringLiteral("from %1%2%3, clicking %4")
                                          .arg(state & 1 ? "E" : "-")
                                          .arg(state & 2 ? "N" : "-")
                                          .arg(state & 4 ? "H" : "-")
                                          .arg(names[clicked]);
                for (int i = 0; i < 3; ++i) {
                    const bool expected = i == clicked && !was_checked;
                    QVERIFY2(items[i]->Checked() == expected,
                             qPrintable(where + QStringLiteral(": ") + names[i]));
                }
                click(w.button4);
                // With none left checked the count stays that of the window's start, 15.
                const std::size_t expected_reveals = was_checked ? 15 : reveals[clicked];
                QVERIFY2(filled_cells(w).size() == expected_reveals, qPrintable(where));
            }
        }
    }

    // Guards against a check that looks at the rows twice and never at the columns: two cells of
    // one row, one block and one cage swapped leave every row, block and cage right and two
    // columns each repeating a digit. Such a board is not correct.
    void aBoardWrongOnlyInItsColumnsIsIncorrect() {
        // The first puzzle with two side-by-side cells of one block and one colour code (so of
        // one cage, being joined).
        int puzzle = 0;
        int left = 0;
        for (int p = 1; p <= last_playable_puzzle && puzzle == 0; ++p) {
            for (int k = 1; k < 81 && puzzle == 0; ++k) {
                // Cells k and k + 1 of one block lie side by side in one row.
                if (core::block_of(k) == core::block_of(k + 1) &&
                    color_array[p][k] == color_array[p][k + 1]) {
                    puzzle = p;
                    left = k;
                }
            }
        }
        QVERIFY(puzzle != 0);
        std::int32_t board[82];
        std::copy(&level_array[puzzle][0], &level_array[puzzle][82], board);
        std::swap(board[left], board[left + 1]);
        Form1 w;
        w.label_level_value->SetText(QString::number(puzzle));
        click(w.button4);
        write_board(w, board);
        click(w.button1);
        QVERIFY(incorrect_shown(w));
        QVERIFY(!correct_shown(w));
        // Only the columns are wrong.
        QCOMPARE(w.verify_rows(), 1);
        QCOMPARE(w.verify_blocks(), 1);
        QCOMPARE(w.verify_cages(), 1);
        QCOMPARE(w.verify_columns(), 0);
    }

    // Guards against a slot read by an earlier check standing in for a cell
    // that is empty now.
    void aBoardLeftPartlyEmptyIsNeverCorrectAfterAnEarlierCompletedOne() {
        Form1 w;
        click(w.button_request_level);
        click(w.button1);
        QVERIFY(correct_shown(w));
        click(w.button_correct);
        QCOMPARE(w.label_level_value->Text(), QString("2"));
        QVERIFY(!correct_shown(w));

        w.restartToolStripMenuItem->PerformClick();
        QCOMPARE(w.label_level_value->Text(), QString("1"));
        click(w.button_request_level);
        w.textBox[40]->SetText("");
        w.textBox[41]->SetText("\r\n12");
        click(w.button1);
        QVERIFY(incorrect_shown(w));
        QVERIFY(!correct_shown(w));
        QCOMPARE(w.completed_array[40], 0);
        QCOMPARE(w.completed_array[41], 0);
    }

    // Guards against a window that ignores the seed it is built with, so that a randomised test
    // could replay its own choices but not the cells the game revealed.
    void windowsBuiltWithOneSeedRevealTheSameCells() {
        Form1 first(20261210);
        Form1 second(20261210);
        for (int start = 0; start < 3; ++start) {
            click(first.button4);
            click(second.button4);
            QCOMPARE(filled_cells(first), filled_cells(second));
            click(first.button4_show_cell);
            click(second.button4_show_cell);
            QCOMPARE(filled_cells(first), filled_cells(second));
        }
    }

    // Guards against a fixed seed left in the shipped game's constructor, which revealed the same
    // cells on every run. Easy reveals a uniformly drawn 20 of the 81 cells, so two windows seeded
    // afresh reveal the same ones with a chance of 1 in C(81, 20), about 4.7e18; the 15 pairs of
    // six windows all differ but once in more than 3e17 runs.
    void windowsBuiltAsTheGameBuildsThemRevealDifferentCells() {
        std::vector<std::set<int>> revealed;
        for (int i = 0; i < 6; ++i) {
            Form1 w;
            w.easyToolStripMenuItem->PerformClick();
            click(w.button4);
            const std::set<int> cells = filled_cells(w);
            QCOMPARE(cells.size(), std::size_t{20});
            for (const std::set<int>& earlier : revealed) {
                QVERIFY2(cells != earlier, "two windows revealed the same 20 cells");
            }
            revealed.push_back(cells);
        }
    }

    // Guards against "Show a Cell" giving up while an empty cell is left.
    void showACellRevealsTheLastEmptyCellEveryTime() {
        Form1 w;
        std::mt19937 random(7);
        for (int round = 0; round < 300; ++round) {
            write_board(w, level_array[1]);
            const int k = 1 + static_cast<int>(random() % 81);
            w.textBox[k]->SetText("");
            click(w.button4_show_cell);
            QCOMPARE(w.textBox[k]->Text(), QString::number(level_array[1][k]));
        }
    }

    void showACellFillsOnlyExactlyEmptyCellsAndKeepsTheirFont() {
        Form1 w;
        for (int k = 1; k <= 81; ++k) {
            w.textBox[k]->SetText(k == 5 ? "" : (k % 2 ? "\r\n" : "3"));
        }
        QFont small = tk::make_font("Arial", 10);
        w.textBox[5]->SetFont(small);
        click(w.button4_show_cell);
        QCOMPARE(w.textBox[5]->Text(), QString::number(level_array[1][5]));
        QCOMPARE(w.textBox[5]->Font().family(), QString("Arial"));
        click(w.button4_show_cell); // nothing empty is left: nothing changes
        for (int k = 1; k <= 81; ++k) {
            if (k != 5) {
                QCOMPARE(w.textBox[k]->Text(), QString(k % 2 ? "\r\n" : "3"));
            }
        }
    }

    // Guards against boards that keep the sudoku rules but break the cages
    // being reported as solved.
    void theSolutionWithOnesAndTwosExchangedIsIncorrect() {
        Form1 w;
        w.label_level_value->SetText("3");
        click(w.button4);
        std::int32_t swapped[82];
        for (int k = 0; k < 82; ++k) {
            const std::int32_t d = level_array[3][k];
            swapped[k] = d == 1 ? 2 : d == 2 ? 1 : d;
        }
        write_board(w, swapped);
        click(w.button1);
        QVERIFY(incorrect_shown(w));
        QVERIFY(!correct_shown(w));
        // The picture and button are on top, the button above its picture.
        QCOMPARE(w.Controls()[0], w.button_incorrect_solution);
        QCOMPARE(w.Controls()[1], w.pictureBox_incorrect_solution);
        click(w.button_incorrect_solution);
        QVERIFY(!incorrect_shown(w));
        QCOMPARE(w.Controls().back(), w.button_incorrect_solution);
        QCOMPARE(w.textBox[1]->Text(), QString::number(swapped[1]));
    }

    void sudokuUnitsAreCheckedRowsColumnsAndBlocks() {
        Form1 w;
        click(w.button1); // the empty board at start
        QVERIFY(incorrect_shown(w));
        click(w.button_incorrect_solution);

        // Every row holds 1 to 9, but every column repeats one digit.
        std::int32_t rows_only[82] = {};
        for (int k = 1; k <= 81; ++k) {
            rows_only[k] = core::place_of(k) + 1;
        }
        write_board(w, rows_only);
        click(w.button1);
        QVERIFY(incorrect_shown(w));
        QCOMPARE(w.verify_rows(), 1);
        QCOMPARE(w.verify_columns(), 0);
        QCOMPARE(w.verify_blocks(), 0);
    }

    void checkVerifyArrayNeedsEachDigitOnce() {
        Form1 w;
        w.verify_array = {9, 8, 7, 6, 5, 4, 3, 2, 1};
        QCOMPARE(w.check_verify_array(), 1);
        w.verify_array = {1, 2, 3, 4, 5, 6, 7, 8, 8};
        QCOMPARE(w.check_verify_array(), 0);
        w.verify_array = {0, 2, 3, 4, 5, 6, 7, 8, 9};
        QCOMPARE(w.check_verify_array(), 0);
        w.verify_array = {10, 2, 3, 4, 5, 6, 7, 8, 9};
        QCOMPARE(w.check_verify_array(), 0);
    }

    void showAllThenCheckIsCorrectAndContinueStartsTheNextPuzzle() {
        Form1 w;
        w.label_level_value->SetText("003");
        click(w.button_request_level);
        QCOMPARE(w.label_level_value->Text(), QString("3"));
        QCOMPARE(w.current_level, 3);
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(w.textBox[k]->Text(), QString::number(level_array[3][k]));
        }
        click(w.button1);
        QVERIFY(correct_shown(w));
        QCOMPARE(w.Controls()[0], w.button_correct);
        QCOMPARE(w.Controls()[1], w.pictureBox_correct);
        click(w.button_correct);
        QVERIFY(!correct_shown(w));
        QCOMPARE(w.label_level_value->Text(), QString("4"));
        QCOMPARE(filled_cells(w).size(), std::size_t{10});
        QCOMPARE(w.label[1]->Text(), QString::number(sum_label_array[4][1]));
    }

    // Also guards against a load bound that stops one short of the last playable puzzle: reached
    // from the started puzzle before it, the last must show its own cages, sums and solution
    // digits, not keep those loaded for the one before.
    void skipOnTheLastPuzzleShowsTheCompletedPanelEveryTime() {
        const int last = last_playable_puzzle;
        Form1 w;
        w.label_level_value->SetText(QString::number(last - 1));
        click(w.button4);
        click(w.button2);
        QCOMPARE(w.label_level_value->Text(), support::last_puzzle);
        QCOMPARE(filled_cells(w).size(), std::size_t{10});
        for (const int k : filled_cells(w)) {
            QCOMPARE(w.textBox[k]->Text(), QString::number(level_array[last][k]));
        }
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(w.textBox[k]->BackColor(), support::cage_colour(color_array[last][k]));
            QCOMPARE(w.label[k]->BackColor(), support::cage_colour(color_array[last][k]));
            QCOMPARE(w.label[k]->Text(), QString::number(sum_label_array[last][k]));
            QCOMPARE(w.label[k]->Visible(), sum_label_visible_array[last][k] == 1);
        }
        const auto board = [&w] {
            QStringList texts;
            for (int k = 1; k <= 81; ++k) {
                texts << w.textBox[k]->Text();
            }
            return texts;
        };
        const QStringList before = board();
        for (int i = 0; i < 3; ++i) {
            click(w.button2);
            QCOMPARE(w.label_level_value->Text(), support::last_puzzle);
            QVERIFY(w.pictureBox_completed->Visible() && w.button_completed->Visible());
            QCOMPARE(w.Controls()[0], w.button_completed);
            QCOMPARE(w.Controls()[1], w.pictureBox_completed);
        }
        QCOMPARE(board(), before);
        click(w.button_completed);
        QVERIFY(!w.pictureBox_completed->Visible() && !w.button_completed->Visible());

        // A correct check on the last puzzle leads to the completed panel too.
        click(w.button_request_level);
        click(w.button1);
        click(w.button_correct);
        QVERIFY(w.button_completed->Visible());
        QCOMPARE(w.label_level_value->Text(), support::last_puzzle);
    }

    void restartGoesBackToPuzzleOneAndClearCellsKeepsTheColours() {
        Form1 w;
        w.label_level_value->SetText("3");
        click(w.button4);
        w.restartToolStripMenuItem->PerformClick();
        QCOMPARE(w.label_level_value->Text(), QString("1"));
        QCOMPARE(filled_cells(w).size(), std::size_t{10});
        QCOMPARE(w.label[2]->Text(), QString("14"));
        click(w.button3);
        QCOMPARE(filled_cells(w).size(), std::size_t{0});
        QCOMPARE(w.textBox[1]->BackColor(), support::cage_colour(color_array[1][1]));
        QVERIFY(w.label[2]->Visible());
    }

    void unlistedColourCodesPaintWhiteAndOnlyTheChosenKind() {
        Form1 w;
        w.level_array_size = 0; // nothing loads: the codes below stay
        w.current_color_array.fill(3);
        w.current_color_array[1] = 0;
        w.current_color_array[2] = 9;
        w.current_color_array[3] = -4;
        // Every box starts white: paint them another colour, so that white
        // can only come from the codes.
        const QColor other(1, 2, 3);
        for (int k = 1; k <= 81; ++k) {
            w.textBox[k]->SetBackColor(other);
        }
        w.maskedTextBox_select_level->SetBackColor(other);
        w.color_control(tk::Kind::TextBox);
        QCOMPARE(w.textBox[1]->BackColor(), QColor(Qt::white));
        QCOMPARE(w.textBox[2]->BackColor(), QColor(Qt::white));
        QCOMPARE(w.textBox[3]->BackColor(), QColor(Qt::white));
        QCOMPARE(w.textBox[4]->BackColor(), support::cage_colour(3));
        QVERIFY(!w.label[4]->BackColor().isValid());
        QCOMPARE(w.maskedTextBox_select_level->BackColor(), other); // never painted
        w.color_control(tk::Kind::Label);
        QCOMPARE(w.maskedTextBox_select_level->BackColor(), other);
        QCOMPARE(w.label[4]->BackColor(), support::cage_colour(3));
        QVERIFY(!w.label_level_title->BackColor().isValid());
    }
};

QTEST_MAIN(EngineTest)
#include "engine_test.moc"
