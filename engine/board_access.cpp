// The board: reading the player's answers, writing the solution and emptying every cell.
#include "ui/form1.h"

// Cell k is the k-th plain text box of the child list (the board walk).

void Form1::get_cells() {
    walk_board(tk::Kind::TextBox, [this](const tk::Control& cell, int k) {
        // Only a one-digit answer counts. An empty cell, pencil marks or any
        // other character reads as 0, so nothing read by an earlier check (even
        // in an earlier puzzle) can stand in for a cell that is not filled now.
        const QString text = cell.Text();
        const bool answer = text.size() == 1 && is_cell_digit(text[0]);
        completed_array[k] = answer ? text[0].unicode() - u'0' : 0;
    });
}

void Form1::put_cells(std::int32_t level) {
    // The loader reads the puzzle number from the label; the caller passes the
    // number it has just read there, so the two agree.
    if (level >= 0 && level < level_array_size) {
        update_level_array();
    }
    walk_board(tk::Kind::TextBox, [this](tk::Control& cell, int k) {
        cell.SetText(QString::number(current_level_array[k]));
    });
}

void Form1::clear_cells() {
    walk_board(tk::Kind::TextBox, [](tk::Control& cell, int) { cell.SetText(QString()); });
}

void Form1::button3_Click() {
    clear_cells();
}
