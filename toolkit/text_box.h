// A small text editor of our own for the cells and the number field: text kept exactly as set.
#pragma once

#include "toolkit/control.h"
#include "toolkit/events.h"

#include <QWidget>

#include <cstdint>
#include <limits>
#include <vector>

namespace tk {

// The line break of a multi-line text box: carriage return, then line feed.
inline const QString line_break = QStringLiteral("\r\n");

// The text with each line-break character read as a space, one space a
// character, so that positions in the text stay positions in the result.
QString line_breaks_as_spaces(QString text);

// A text box that keeps its text exactly as set: "\r\n5" reads back as those
// three characters. Multi-line boxes show each "\r\n"-separated line centred,
// and wrap a line too wide for the box onto further rows at a character (the
// text itself is not changed).
//
// A multi-line text whose rows are taller than the box is drawn in a smaller
// font until every row fits. A one-line box draws its text in one row (a line
// break shows as blank space) and scrolls a text wider than itself so that the
// caret stays in view.
//
// Guarantees:
// - TextChanged is raised after every change of the text, typed or set by the
//   program, and may be raised again from inside a handler (re-entrantly).
// - Every key raises KeyDown first; a handled KeyDown ends the key there.
//   Every character then raises KeyPress (backspace is 8); a handled KeyPress
//   discards it. MaxLength bounds typed characters only.
// - A paste (Ctrl+V or Shift+Insert from the clipboard, the middle button from
//   the selection where the platform has one, text dropped on the box) raises
//   Paste once with the whole text, then puts what the handlers leave of it in
//   at the caret (a drop's or a middle click's: where it lands) as one change,
//   bounded by MaxLength, so TextChanged sees the paste whole. It neither
//   raises KeyPress nor erases. A drop or a middle click gives the box the
//   focus first. There is no context menu, undo or input method.
// - The caret (SelectionStart) is clamped to the end of the text and never
//   stands inside a "\r\n" pair; backspace and Delete remove such a pair whole.
// - In a multi-line box Home and End go to the start and end of the caret's
//   row, Up and Down to the nearest place in the row above or below; Ctrl+Home
//   and Ctrl+End (and Home and End in a one-line box) to the ends of the text.
class TextBox : public QWidget, public Control {
    Q_OBJECT
public:
    explicit TextBox(const QString& name, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }

    QString Text() const override { return text_; }
    void SetText(const QString& text) override;

    int MaxLength() const { return max_length_; }
    void SetMaxLength(int length) { max_length_ = length; }

    int SelectionStart() const { return caret_; }
    void SetSelectionStart(int position);

    bool Multiline() const { return multiline_; }
    void SetMultiline(bool multiline);

    // Tab is offered to the box as a key instead of moving the focus.
    bool AcceptsTab() const { return accepts_tab_; }
    void SetAcceptsTab(bool accepts) { accepts_tab_ = accepts; }

    // Types one character as if it came from the keyboard: KeyPress first,
    // then the length limit. Returns whether the character went in.
    bool type_character(QChar character);

signals:
    void Click();
    void TextChanged();
    // Raised after each move of the caret, whether the text changed with it or not.
    void CaretMoved();
    void KeyDown(tk::KeyEventArgs& e);
    void KeyPress(tk::KeyPressEventArgs& e);
    void Paste(tk::PasteEventArgs& e);

protected:
    TextBox(Kind kind, const QString& name, QWidget* parent);

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void apply_palette() override { update(); }
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void replace_text(const QString& text, int caret);
    void paste(const QString& pasted);
    void erase_before_caret();
    void erase_after_caret();
    void move_caret(int delta);
    // One drawn row: a stretch of the text with no line break in it.
    struct Row {
        int start;
        int length;
        bool ends_line; // the last row of its line
    };
    std::vector<Row> rows(const QFontMetrics& metrics) const;
    // A row with its text and where it is drawn: centred, the block of rows
    // placed by line_top.
    struct PlacedRow {
        Row row;
        QString text;
        int top;
        int left;
    };
    std::vector<PlacedRow> placed_rows(const QFontMetrics& metrics) const;
    int caret_at(const QPoint& point) const;
    int line_top(const QFontMetrics& metrics, int line, int line_count) const;
    // The font the text is drawn in: the box's own, made smaller for a
    // multi-line text whose rows would not all fit the box's height.
    QFont drawing_font() const;
    // The drawn row the caret stands in, and its index among the rows.
    Row caret_row(int* index = nullptr) const;
    void move_caret_row(int delta);
    int nearest_in_row(const QFontMetrics& metrics, const PlacedRow& p, int x) const;
    void keep_caret_in_view();

    QString text_;
    int caret_ = 0;
    // How far a one-line text too wide for the box is scrolled to the left.
    int scroll_ = 0;
    // Until told otherwise a box takes as many typed characters as a classic
    // desktop text box does by default: the largest 16-bit signed count.
    int max_length_ = std::numeric_limits<std::int16_t>::max();
    bool multiline_ = false;
    bool accepts_tab_ = false;
    bool pressed_ = false;
};

// The puzzle-number field: a text box of its own kind, so that it is never
// counted among the plain text boxes.
class MaskedTextBox : public TextBox {
    Q_OBJECT
public:
    explicit MaskedTextBox(const QString& name, QWidget* parent = nullptr);
};

} // namespace tk
