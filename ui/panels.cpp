// The help, puzzle-selection and invalid-number panels, and choosing a puzzle by its number.
#include "ui/form1.h"

#include <algorithm>
#include <iterator>

namespace {

// Shows one control of a panel on top of everything shown before it. The
// selection and invalid-number panels are disabled while hidden, so they are
// enabled first.
void raise_panel_control(tk::Control& control, bool enable) {
    if (enable) {
        control.SetEnabled(true);
    }
    control.SetVisible(true);
    control.BringToFront();
}

// Hides one control of a panel that is enabled only while shown. A focused
// control gives the focus up first rather than pass it down the tab order,
// where it could land on a cell or on Start while the game goes on.
void drop_panel_control(tk::Control& control) {
    control.DropFocus();
    control.SetEnabled(false);
    control.SetVisible(false);
    control.SendToBack();
}

bool is_decimal_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

void Form1::note_focus(const tk::Control& picture) {
    // A panel opened again while it shows keeps the control noted first.
    if (!picture.Visible()) {
        focus_before_panel_[&picture] = ActiveControl();
    }
}

void Form1::return_focus(const tk::Control& picture) {
    tk::Control* before = nullptr;
    if (const auto noted = focus_before_panel_.find(&picture); noted != focus_before_panel_.end()) {
        before = noted->second;
        focus_before_panel_.erase(noted);
    }
    if (before != nullptr && before->Visible() && before->Enabled() && before->Focus()) {
        return;
    }
    // The control the player had is gone: the topmost panel still shown takes
    // the focus (the selection panel in its number field), else Check, which
    // only tests the board. Never a control that would start afresh or clear it.
    tk::Control* const panel_controls[] = {button_help_exit,
                                           button_completed,
                                           button_incorrect_solution,
                                           button_correct,
                                           button_level_select_continue,
                                           button_invalid_puzzle_ok};
    for (tk::Control* c : Controls()) {
        if (std::find(std::begin(panel_controls), std::end(panel_controls), c) ==
                std::end(panel_controls) ||
            !c->Visible() || !c->Enabled()) {
            continue;
        }
        tk::Control* target = c == button_level_select_continue ? maskedTextBox_select_level : c;
        if (target->Focus()) {
            return;
        }
    }
    button1->Focus();
}

void Form1::show_panel(tk::Control& picture, tk::Control& button) {
    note_focus(picture);
    picture.SetVisible(true);
    button.SetVisible(true);
    picture.BringToFront();
    button.BringToFront();
}

void Form1::close_panel(tk::Control& picture, tk::Control& button) {
    // The button gives the focus up rather than pass it down the tab order;
    // the handler gives it back once it is done.
    button.DropFocus();
    picture.SendToBack();
    button.SendToBack();
    picture.SetVisible(false);
    button.SetVisible(false);
}

void Form1::howToPlayToolStripMenuItem_Click() {
    note_focus(*pictureBox_help_background);
    raise_panel_control(*pictureBox_help_background, false);
    raise_panel_control(*button_help_exit, false);
}

void Form1::button_help_exit_Click() {
    close_panel(*pictureBox_help_background, *button_help_exit);
    return_focus(*pictureBox_help_background);
}

void Form1::selectPuzzleToolStripMenuItem_Click() {
    // The field keeps what was typed so far; there is no cancel, so the panel
    // stays until a number is accepted.
    note_focus(*pictureBox_select_level);
    raise_panel_control(*pictureBox_select_level, true);
    raise_panel_control(*maskedTextBox_select_level, true);
    raise_panel_control(*button_level_select_continue, true);
    maskedTextBox_select_level->Focus();
}

void Form1::maskedTextBox_select_level_KeyPress(tk::KeyPressEventArgs& e) {
    // Digits and backspace only; Enter is refused too, so only "OK" confirms.
    e.Handled = !is_decimal_digit(e.KeyChar) && e.KeyChar != QChar(8);
}

void Form1::button_level_select_continue_Click() {
    if (check_level_select_number() == 0) {
        level_select_number_is_bad();
        return;
    }
    // The number is shown as typed, leading zeros and all.
    label_level_value->SetText(maskedTextBox_select_level->Text());
    drop_panel_control(*pictureBox_select_level);
    drop_panel_control(*maskedTextBox_select_level);
    drop_panel_control(*button_level_select_continue);
    maskedTextBox_select_level->SetText(QString());
    start_game();
    return_focus(*pictureBox_select_level);
}

std::int32_t Form1::check_level_select_number() {
    const QString text = maskedTextBox_select_level->Text();
    if (text.isEmpty()) {
        return 0;
    }
    // Typing lets only digits in, but a paste goes into the field unfiltered:
    // signs, spaces, letters and numbers past the 32-bit range are no puzzle
    // number either, and are refused like any other.
    if (!std::all_of(text.begin(), text.end(), is_decimal_digit)) {
        return 0;
    }
    bool fits = false;
    const std::int32_t value = text.toInt(&fits, 10);
    if (!fits) {
        return 0;
    }
    if (value >= level_array_size) {
        return 0;
    }
    if (value <= 0) {
        return 0;
    }
    return 1;
}

void Form1::level_select_number_is_bad() {
    // The selection panel stays open underneath; the game is not touched.
    note_focus(*pictureBox_invalid_number);
    raise_panel_control(*pictureBox_invalid_number, true);
    raise_panel_control(*button_invalid_puzzle_ok, true);
    maskedTextBox_select_level->SetText(QString());
}

void Form1::button_invalid_puzzle_ok_Click() {
    drop_panel_control(*pictureBox_invalid_number);
    drop_panel_control(*button_invalid_puzzle_ok);
    return_focus(*pictureBox_invalid_number);
}
