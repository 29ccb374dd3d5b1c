// The check of a finished board: blocks, rows, columns and cages, and the result panels.
#include "ui/form1.h"

#include "core/cages.h"

namespace {

// The first cell of each unit, in the order the units are tested. Cells run
// right to left within a row, so column 1 is the rightmost column on screen
// and the block starting at cell 1 is the top-right block.
constexpr std::int32_t row_starts[9] = {1, 10, 19, 28, 37, 46, 55, 64, 73};
constexpr std::int32_t column_starts[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr std::int32_t block_starts[9] = {1, 4, 7, 28, 31, 34, 55, 58, 61};

} // namespace

void Form1::row_fill_verify_array(std::int32_t range_start) {
    for (int i = 0; i < 9; ++i) {
        verify_array[i] = completed_array[range_start + i];
    }
}

void Form1::column_fill_verify_array(std::int32_t range_start) {
    for (int i = 0; i < 9; ++i) {
        verify_array[i] = completed_array[range_start + 9 * i];
    }
}

void Form1::block_fill_verify_array(std::int32_t range_start) {
    for (int i = 0; i < 9; ++i) {
        verify_array[i] = completed_array[range_start + 9 * (i / 3) + i % 3];
    }
}

// 1 when the unit holds each digit 1 to 9 once; a 0, a repeat or any other
// value fails it.
std::int32_t Form1::check_verify_array() {
    int count = 0;
    for (std::int32_t d = 1; d <= 9; ++d) {
        for (int i = 0; i < 9; ++i) {
            if (verify_array[i] == d) {
                ++count;
                break;
            }
        }
    }
    return count == 9 ? 1 : 0;
}

std::int32_t Form1::verify_units(const std::int32_t (&starts)[9],
                                 void (Form1::*fill)(std::int32_t)) {
    for (const std::int32_t s : starts) {
        (this->*fill)(s);
        if (check_verify_array() == 0) {
            return 0;
        }
    }
    return 1;
}

std::int32_t Form1::verify_rows() {
    return verify_units(row_starts, &Form1::row_fill_verify_array);
}

std::int32_t Form1::verify_columns() {
    return verify_units(column_starts, &Form1::column_fill_verify_array);
}

std::int32_t Form1::verify_blocks() {
    return verify_units(block_starts, &Form1::block_fill_verify_array);
}

// 1 when every cage's digits add up to its sum. The cages follow from the
// shown puzzle's colour codes (a cage is a largest edge-joined group of one
// code) and each cage's sum is the value at its anchor, the only slot of the
// cage that holds one.
std::int32_t Form1::verify_cages() {
    update_color_array();
    update_sum_label_array();
    const core::CageMap cages = core::map_cages(current_color_array);
    std::array<std::int32_t, board_cells> target{};
    std::array<std::int32_t, board_cells> total{};
    for (int k = 1; k <= board_cells; ++k) {
        target[cages.cage_of[k]] += current_sum_label_array[k];
        total[cages.cage_of[k]] += completed_array[k];
    }
    return target == total ? 1 : 0;
}

void Form1::verify_solution() {
    get_cells();
    const std::int32_t blocks = verify_blocks();
    const std::int32_t rows = verify_rows();
    const std::int32_t columns = verify_columns();
    // A board that keeps the sudoku rules but breaks a cage is no solution of
    // a killer sudoku, so the cages are checked too.
    const std::int32_t cages = verify_cages();
    if (blocks == 1 && rows == 1 && columns == 1 && cages == 1) {
        show_panel(*pictureBox_correct, *button_correct);
    } else {
        incorrect_solution();
    }
}

void Form1::incorrect_solution() {
    note_focus(*pictureBox_incorrect_solution);
    pictureBox_incorrect_solution->BringToFront();
    pictureBox_incorrect_solution->SetVisible(true);
    button_incorrect_solution->SetVisible(true);
    button_incorrect_solution->BringToFront();
}

void Form1::button1_Click() {
    verify_solution();
}

void Form1::button_correct_Click() {
    close_panel(*pictureBox_correct, *button_correct);
    skip_puzzle();
    return_focus(*pictureBox_correct);
}

void Form1::button_incorrect_solution_Click() {
    close_panel(*pictureBox_incorrect_solution, *button_incorrect_solution);
    return_focus(*pictureBox_incorrect_solution);
}

void Form1::button_completed_Click() {
    close_panel(*pictureBox_completed, *button_completed);
    return_focus(*pictureBox_completed);
}
