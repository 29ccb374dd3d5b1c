// Pen and pencil input in the cells: the click restyle, the pencil rewrite and the key filters.
#include "ui/form1.h"

#include <algorithm>

namespace {

// The most pencil marks a cell holds: one of each digit's worth of room.
constexpr int most_marks = 9;

// Whether a text is one a cell may hold: empty, one answer digit, or the
// pencil prefix followed by at most nine marks.
bool is_cell_text(const QString& text) {
    if (text.isEmpty()) {
        return true;
    }
    if (text.size() == 1) {
        return Form1::is_cell_digit(text[0]);
    }
    const auto marks = text.size() - Form1::pencil_prefix.size();
    return text.startsWith(Form1::pencil_prefix) && marks <= most_marks &&
           std::all_of(text.end() - marks, text.end(), Form1::is_cell_digit);
}

// Whether erasing at the caret would take the pencil prefix away from marks
// that follow it: backspace right behind the prefix, Delete right before it.
bool erases_prefix_before_marks(const tk::TextBox& cell, bool before_caret) {
    const QString& text = cell.Text();
    const auto prefix = Form1::pencil_prefix.size();
    const auto prefix_end = before_caret ? prefix : 0;
    return text.size() > prefix && text.startsWith(Form1::pencil_prefix) &&
           cell.SelectionStart() == prefix_end;
}

// The handlers act on the window's focused control, which for a click or a key
// is the cell itself; anything that is not a plain text box is left alone.
tk::TextBox* focused_cell(const Form1& window) {
    tk::Control* c = window.ActiveControl();
    if (c == nullptr || c->kind() != tk::Kind::TextBox) {
        return nullptr;
    }
    return dynamic_cast<tk::TextBox*>(c);
}

} // namespace

QFont Form1::pen_font() {
    return tk::make_font(QStringLiteral("Kristen ITC"), 26.25, true);
}

QFont Form1::pencil_font() {
    return tk::make_font(QStringLiteral("Arial"), 10);
}

void Form1::textBox_click() {
    tk::TextBox* cell = focused_cell(*this);
    if (cell == nullptr) {
        return;
    }
    if (radioButton1->Checked()) {
        cell->SetMaxLength(static_cast<int>(pencil_prefix.size()) + most_marks);
        if (cell->Text().size() < 2) {
            cell->SetText(QString());
        }
        if (cell->Text().isEmpty()) {
            cell->SetText(pencil_prefix);
            cell->SetSelectionStart(4);
        }
        cell->SetFont(pencil_font());
    } else {
        // A click in pen mode always empties the cell, revealed digits included.
        cell->SetMaxLength(1);
        cell->SetText(QString());
        cell->SetFont(pen_font());
    }
}

void Form1::textBox_text_changed() {
    if (!radioButton1->Checked()) {
        return;
    }
    tk::TextBox* cell = focused_cell(*this);
    if (cell == nullptr) {
        return;
    }
    const QString s = cell->Text();
    if (s.size() >= 2) {
        // Text whose first character is a carriage return or whose second is a
        // line feed is left as it is: pencil text, but also text such as "7\n".
        // Anything else is rewritten under the prefix; setting the text raises
        // this handler again, and that run finds the carriage return and stops.
        if (s[0] != u'\r' && s[1] != u'\n') {
            QString marks = s;
            marks.remove(u'\r');
            marks.remove(u'\n');
            cell->SetText(pencil_prefix + marks);
            cell->SetSelectionStart(4);
        }
        return;
    }
    cell->SetText(pencil_prefix);
    cell->SetSelectionStart(4);
}

void Form1::textBox_KeyDown(tk::KeyEventArgs& e) {
    // Tab never moves the focus out of a cell nor reaches its text; Qt reports
    // Shift+Tab as a key of its own.
    if (e.KeyCode == Qt::Key_Tab || e.KeyCode == Qt::Key_Backtab) {
        e.Handled = true;
        return;
    }
    // Delete in front of the prefix would leave bare marks, which no form
    // allows and which pen mode never rewrites.
    if (e.KeyCode == Qt::Key_Delete) {
        const tk::TextBox* cell = focused_cell(*this);
        e.Handled = cell != nullptr && erases_prefix_before_marks(*cell, false);
    }
}

void Form1::textBox_KeyPress(tk::KeyPressEventArgs& e) {
    const tk::TextBox* cell = focused_cell(*this);
    const QChar c = e.KeyChar;
    if (is_cell_digit(c)) {
        // Pencil mode rewrites whatever typing makes into pencil text; pen mode
        // has no such rewrite, so there a digit must leave the cell in one of
        // its forms: no second answer digit in a cell reached with Tab (whose
        // length limit is still 9), no digit in front of the prefix.
        if (cell != nullptr && !radioButton1->Checked()) {
            QString after = cell->Text();
            after.insert(cell->SelectionStart(), c);
            e.Handled = !is_cell_text(after);
        }
        return;
    }
    if (c == QChar(8)) {
        // A single digit cannot be backspaced away, and the prefix stays in
        // front of its marks.
        e.Handled = cell == nullptr || cell->Text().size() <= pencil_prefix.size() ||
                    erases_prefix_before_marks(*cell, true);
        return;
    }
    e.Handled = true;
}
