// Pen and pencil input in the cells: the click restyle, the pencil rewrite and the key filters.
#include "ui/form1.h"

#include <algorithm>
#include <utility>

namespace {

// Pencil text starts with an empty first line, so the marks show on the second.
const QString pencil_prefix = QStringLiteral("\r\n");

// The most pencil marks a cell holds: one of each digit's worth of room.
constexpr int most_marks = 9;

bool is_mark(QChar c) {
    return c >= u'1' && c <= u'9';
}

// Whether a text is one a cell may hold: empty, one answer digit, or the
// pencil prefix followed by at most nine marks.
bool is_cell_text(const QString& text) {
    if (text.isEmpty()) {
        return true;
    }
    if (text.size() == 1) {
        return is_mark(text[0]);
    }
    return text.startsWith(pencil_prefix) && text.size() - 2 <= most_marks &&
           std::all_of(text.begin() + 2, text.end(), is_mark);
}

// Whether a digit typed at the caret of a cell holding the text goes in.
// Pencil mode rewrites whatever typing makes into pencil text; pen mode has no
// such rewrite, so there a digit must leave the cell in one of its forms: no
// second answer digit in a cell reached with Tab (whose length limit is still
// 9), no digit in front of the prefix.
bool takes_mark(const QString& text, int caret, QChar c, bool pencil) {
    if (!is_mark(c)) {
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
    const int prefix_end = before_caret ? 2 : 0;
    return text.size() > 2 && text.startsWith(pencil_prefix) && cell.SelectionStart() == prefix_end;
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

void Form1::textBox_click() {
    tk::TextBox* cell = focused_cell(*this);
    if (cell == nullptr) {
        return;
    }
    if (radioButton1->Checked()) {
        // Two prefix characters and up to nine marks.
        cell->SetMaxLength(11);
        if (cell->Text().size() < 2) {
            cell->SetText(QString());
        }
        if (cell->Text().isEmpty()) {
            cell->SetText(pencil_prefix);
            cell->SetSelectionStart(4);
        }
        cell->SetFont(tk::make_font(QStringLiteral("Arial"), 10));
    } else {
        // A click in pen mode always empties the cell, revealed digits included.
        cell->SetMaxLength(1);
        cell->SetText(QString());
        cell->SetFont(tk::make_font(QStringLiteral("Kristen ITC"), 26.25, true));
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
        // Text that already starts a line break is pencil text; anything else
        // is rewritten under the prefix. Setting the text raises this handler
        // again, and that run finds the carriage return and stops.
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
    if (is_mark(c)) {
        e.Handled = cell != nullptr &&
                    !takes_mark(cell->Text(), cell->SelectionStart(), c, radioButton1->Checked());
        return;
    }
    if (c == QChar(8)) {
        // A single digit cannot be backspaced away, and the prefix stays in
        // front of its marks.
        e.Handled =
            cell == nullptr || cell->Text().size() <= 2 || erases_prefix_before_marks(*cell, true);
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
        room = std::min<qsizetype>(room,
                                   most_marks - std::count_if(text.begin(), text.end(), is_mark));
    }
    QString taken;
    for (const QChar c : std::as_const(e.Text)) {
        if (!is_mark(c)) {
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
