// The cage-sum labels: their texts from the puzzle's sums, and which of them show.
#include "ui/form1.h"

// The board walk numbers the labels by their order in the child list, skipping
// the three level labels, so the n-th label met is the sum label of cell n.
void Form1::change_sum_labels() {
    if (puzzle_number() < level_array_size) {
        update_sum_label_array();
    }
    walk_board(tk::Kind::Label, [this](tk::Control& sum, int n) {
        sum.SetText(QString::number(current_sum_label_array[n]));
    });
}

void Form1::toggle_labels_on() {
    for (int k = 1; k <= board_cells; ++k) {
        label[k]->SetVisible(true);
    }
}

void Form1::toggle_labels_off() {
    for (int k = 1; k <= board_cells; ++k) {
        label[k]->SetVisible(false);
    }
}

// A flag of 1 shows the label and 0 hides it; any other value leaves it as it is.
void Form1::toggle_label_visibility() {
    update_sum_label_visible_array();
    walk_board(tk::Kind::Label, [this](tk::Control& sum, int n) {
        const std::int32_t flag = current_sum_label_visible_array[n];
        if (flag == 1) {
            sum.SetVisible(true);
        } else if (flag == 0) {
            sum.SetVisible(false);
        }
    });
}
