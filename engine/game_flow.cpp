// The game's commands: start, reveal a cell, show all, skip, restart and the difficulty.
#include "ui/form1.h"

#include <vector>

void Form1::start_game() {
    // The sum labels are all shown and hidden again on the way; only where a
    // label ends is drawn and told to screen readers.
    const HeldChanges held(*this);
    // The first checked item sets the count; with none checked the count of
    // the previous start stands (15 before the first one).
    if (easyToolStripMenuItem->Checked()) {
        number_of_start_cells = 20;
    } else if (normalToolStripMenuItem->Checked()) {
        number_of_start_cells = 10;
    } else if (hardToolStripMenuItem->Checked()) {
        number_of_start_cells = 0;
    }
    clear_cells();
    for (int i = 0; i < number_of_start_cells; ++i) {
        show_one_cell();
    }
    color_control(tk::Kind::TextBox);
    change_sum_labels();
    toggle_labels_on();
    color_control(tk::Kind::Label);
    toggle_labels_off();
    toggle_label_visibility();
    announce_start();
}

void Form1::show_one_cell() {
    update_level_array();
    // One cell drawn uniformly among the exactly empty ones: a cell holding a
    // digit or pencil marks (even the bare line break) is never revealed.
    std::vector<std::pair<tk::Control*, int>> empty;
    walk_board(tk::Kind::TextBox, [&empty](tk::Control& cell, int k) {
        if (cell.Text().isEmpty()) {
            empty.emplace_back(&cell, k);
        }
    });
    if (empty.empty()) {
        return;
    }
    std::uniform_int_distribution<std::size_t> draw(0, empty.size() - 1);
    const auto [cell, number] = empty[draw(random_)];
    // Only the text is written: the cell keeps the font it was last given.
    cell->SetText(QString::number(current_level_array[number]));
}

void Form1::skip_puzzle() {
    const std::int32_t n = puzzle_number();
    if (n >= 0 && n < level_array_size - 1) {
        current_level = n + 1;
        label_level_value->SetText(QString::number(n + 1));
        clear_cells();
        start_game();
    } else if (n >= level_array_size - 1) {
        // Past the last puzzle: the completed panel, its button above its picture.
        show_panel(*pictureBox_completed, *button_completed);
    }
}

void Form1::solve() {
    const std::int32_t n = puzzle_number();
    current_level = n;
    // A number chosen with leading zeros is shown without them from now on.
    label_level_value->SetText(QString::number(n));
    put_cells(n);
}

void Form1::button4_Click() {
    start_game();
}

void Form1::button4_show_cell_Click() {
    show_one_cell();
}

void Form1::button_request_level_Click() {
    solve();
}

void Form1::button2_Click() {
    skip_puzzle();
}

// The difficulty items check themselves before these run, so clicking the
// checked item leaves none checked.
void Form1::easyToolStripMenuItem_Click() {
    normalToolStripMenuItem->SetChecked(false);
    hardToolStripMenuItem->SetChecked(false);
}

void Form1::normalToolStripMenuItem_Click() {
    easyToolStripMenuItem->SetChecked(false);
    hardToolStripMenuItem->SetChecked(false);
}

void Form1::hardToolStripMenuItem_Click() {
    normalToolStripMenuItem->SetChecked(false);
    easyToolStripMenuItem->SetChecked(false);
}

void Form1::restartToolStripMenuItem_Click() {
    label_level_value->SetText(QStringLiteral("1"));
    clear_cells();
    start_game();
}
