// Pen and pencil input in the cells: the click restyle, the pencil rewrite and the key filters.
#include "ui/form1.h"

#include "core/cells.h"
#include "toolkit/accessibility.h"

#include <algorithm>
#include <utility>

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

// Whether a digit typed at the caret of a cell holding the text goes in.
// Pencil mode rewrites whatever typing makes into pencil text; pen mode has no
// such rewrite, so there a digit must leave the cell in one of its forms: no
// second answer digit in a cell reached with Tab (whose length limit is still
// 9), no digit in front of the prefix.
bool takes_mark(const QString& text, int caret, QChar c, bool pencil) {
    if (!Form1::is_cell_digit(c)) {
        return false;
    }
    if (pencil) {
        return true;
    }
    QString after = text;
    after.insert(caret, c);
    return is_cell_text(after);
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
    // Alt alone (the arrows may come from the keypad) with a key of its own plays by ear; any
    // other Alt key goes on to the filters as before.
    if ((e.Modifiers & ~Qt::KeypadModifier) == Qt::AltModifier) {
        const tk::TextBox* cell = focused_cell(*this);
        const auto k = std::find(textBox.begin() + 1, textBox.end(), cell) - textBox.begin();
        if (cell != nullptr && k <= board_cells && textBox_by_ear(static_cast<int>(k), e.KeyCode)) {
            e.Handled = true;
            return;
        }
    }
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

bool Form1::textBox_by_ear(int cell, int key) {
    // Moves as the board lies on the screen: left is a column to the left, whatever the cell
    // numbers do. A move stops at the edge, and only the focus moves: no text, font or caret
    // changes, as a click in pen mode would empty the cell.
    struct Move {
        int key;
        int rows;
        int columns;
    };
    static constexpr Move moves[] = {
        {Qt::Key_Left, 0, -1}, {Qt::Key_Right, 0, 1}, {Qt::Key_Up, -1, 0}, {Qt::Key_Down, 1, 0}};
    for (const Move& m : moves) {
        if (m.key == key) {
            const int row = core::row_of(cell) + m.rows;
            const int column = core::column_of(cell) + m.columns;
            if (row >= 0 && row < 9 && column >= 0 && column < 9) {
                textBox[core::cell_at(row, column)]->Focus();
            }
            return true;
        }
    }
    struct Hearing {
        int key;
        ReadOut what;
    };
    static constexpr Hearing hearings[] = {{Qt::Key_R, ReadOut::Row},
                                           {Qt::Key_C, ReadOut::Column},
                                           {Qt::Key_B, ReadOut::Block},
                                           {Qt::Key_K, ReadOut::Cage}};
    for (const Hearing& h : hearings) {
        if (h.key == key) {
            tk::announce(*label_level_value, read_out(cell, h.what));
            return true;
        }
    }
    return false;
}

void Form1::textBox_KeyPress(tk::KeyPressEventArgs& e) {
    const tk::TextBox* cell = focused_cell(*this);
    const QChar c = e.KeyChar;
    if (Form1::is_cell_digit(c)) {
        e.Handled = cell != nullptr &&
                    !takes_mark(cell->Text(), cell->SelectionStart(), c, radioButton1->Checked());
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

void Form1::textBox_paste(tk::PasteEventArgs& e) {
    const tk::TextBox* cell = focused_cell(*this);
    if (cell == nullptr) {
        e.Handled = true;
        return;
    }
    // A paste is typed as a whole: each character is taken as its key would
    // be, against the text the characters before it leave, up to the length
    // limit; then all of it goes in as one change. So a pencil cell that
    // becomes "57" keeps both marks, where keys one by one would have turned
    // the lone 5 into the bare prefix.
    //
    // Reading stops at the first digit that cannot go in (the length limit or
    // the pen rule): a refused digit changes nothing, and every digit is
    // judged alike, so no later one could go in either. A huge clipboard is
    // thus read only up to the digits that fit; what it holds before them
    // that typing refuses (letters, line breaks) is passed over cheaply.
    const bool pencil = radioButton1->Checked();
    QString text = cell->Text();
    int caret = cell->SelectionStart();
    qsizetype room = cell->MaxLength() - text.size();
    if (pencil) {
        // The rewrite may still put the prefix in front, so the length limit
        // alone could let a tenth mark through into a cell the game emptied
        // (limit 11, no prefix): a cell holds at most nine marks.
        room = std::min<qsizetype>(
            room, most_marks - std::count_if(text.begin(), text.end(), Form1::is_cell_digit));
    }
    QString taken;
    for (const QChar c : std::as_const(e.Text)) {
        if (!Form1::is_cell_digit(c)) {
            continue;
        }
        if (taken.size() >= room || !takes_mark(text, caret, c, pencil)) {
            break;
        }
        text.insert(caret++, c);
        taken.append(c);
    }
    e.Text = taken;
}
