// The text box: exact text, caret, typed and pasted input through key events, centred drawing.
#include "toolkit/text_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

namespace tk {

namespace {

const QString line_break = QStringLiteral("\r\n");

// Splits the text into its lines at each "\r\n".
QStringList lines_of(const QString& text) {
    return text.split(line_break);
}

} // namespace

TextBox::TextBox(const QString& name, QWidget* parent) : TextBox(Kind::TextBox, name, parent) {}

TextBox::TextBox(Kind kind, const QString& name, QWidget* parent)
    : QWidget(parent), Control(kind, name) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setCursor(Qt::IBeamCursor);
    SetBackColor(Qt::white);
}

void TextBox::SetText(const QString& text) {
    replace_text(text, 0);
}

void TextBox::SetSelectionStart(int position) {
    position = std::clamp(position, 0, static_cast<int>(text_.size()));
    // The caret never stands between the two characters of a line break.
    if (position > 0 && position < text_.size() && text_[position - 1] == u'\r' &&
        text_[position] == u'\n') {
        ++position;
    }
    caret_ = position;
    update();
}

void TextBox::SetMultiline(bool multiline) {
    multiline_ = multiline;
    update();
}

void TextBox::replace_text(const QString& text, int caret) {
    const bool changed = text != text_;
    text_ = text;
    SetSelectionStart(caret);
    if (changed) {
        emit TextChanged();
    }
}

bool TextBox::type_character(QChar character) {
    KeyPressEventArgs press{character};
    emit KeyPress(press);
    if (press.Handled) {
        return false;
    }
    if (character == QChar(8)) {
        erase_before_caret();
        return true;
    }
    if (character.unicode() < 32 || character.unicode() == 127) {
        return false;
    }
    if (text_.size() >= max_length_) {
        return false;
    }
    QString text = text_;
    text.insert(caret_, character);
    replace_text(text, caret_ + 1);
    return true;
}

void TextBox::erase_before_caret() {
    if (caret_ == 0) {
        return;
    }
    const int width = caret_ >= 2 && text_.mid(caret_ - 2, 2) == line_break ? 2 : 1;
    QString text = text_;
    text.remove(caret_ - width, width);
    replace_text(text, caret_ - width);
}

void TextBox::erase_after_caret() {
    if (caret_ >= text_.size()) {
        return;
    }
    const int width = text_.mid(caret_, 2) == line_break ? 2 : 1;
    QString text = text_;
    text.remove(caret_, width);
    replace_text(text, caret_);
}

void TextBox::move_caret(int delta) {
    int position = caret_;
    if (delta < 0 && position >= 2 && text_.mid(position - 2, 2) == line_break) {
        position -= 2;
    } else if (delta > 0 && text_.mid(position, 2) == line_break) {
        position += 2;
    } else {
        position += delta;
    }
    SetSelectionStart(position);
}

void TextBox::paste() {
    const QString clip = QGuiApplication::clipboard()->text();
    if (raw_paste_) {
        QString text = text_;
        text.insert(caret_, clip.left(std::max(0, max_length_ - static_cast<int>(text_.size()))));
        replace_text(text, caret_ + static_cast<int>(text.size() - text_.size()));
        return;
    }
    for (const QChar c : clip) {
        type_character(c);
    }
}

bool TextBox::event(QEvent* event) {
    // A box that accepts Tab takes it as a key instead of letting it move the focus.
    if (event->type() == QEvent::KeyPress && accepts_tab_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    KeyEventArgs down{event->key(), event->modifiers()};
    emit KeyDown(down);
    if (down.Handled) {
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        move_caret(-1);
        return;
    case Qt::Key_Right:
        move_caret(1);
        return;
    case Qt::Key_Home:
        SetSelectionStart(0);
        return;
    case Qt::Key_End:
        SetSelectionStart(static_cast<int>(text_.size()));
        return;
    case Qt::Key_Delete:
        erase_after_caret();
        return;
    case Qt::Key_Backspace:
        type_character(QChar(8));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        type_character(QChar(13));
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        type_character(QChar(9));
        return;
    case Qt::Key_Escape:
        type_character(QChar(27));
        return;
    default:
        break;
    }
    for (const QChar c : event->text()) {
        type_character(c);
    }
}

void TextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    pressed_ = true;
    SetSelectionStart(caret_at(event->position().toPoint()));
    event->accept();
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        if (rect().contains(event->position().toPoint())) {
            emit Click();
        }
    }
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    pressed_ = false;
    update();
}

int TextBox::line_top(int line, int line_count) const {
    const QFontMetrics metrics(font());
    if (!multiline_) {
        return (height() - metrics.height()) / 2;
    }
    // The block of lines sits centred in the box, so one large digit is centred
    // and a line of marks under an empty first line sits just below the middle.
    const int block = metrics.lineSpacing() * line_count;
    return (height() - block) / 2 + line * metrics.lineSpacing();
}

std::vector<TextBox::Row> TextBox::rows() const {
    const QFontMetrics metrics(font());
    // Two pixels of border and margin on each side.
    const int room = width() - 4;
    std::vector<Row> result;
    int start = 0;
    for (const QString& line : lines_of(text_)) {
        int row_start = 0;
        do {
            int length = static_cast<int>(line.size()) - row_start;
            if (multiline_) {
                // At least one character a row, so a too-narrow box still ends.
                while (length > 1 &&
                       metrics.horizontalAdvance(line.mid(row_start, length)) > room) {
                    --length;
                }
            }
            const bool ends_line = row_start + length == line.size();
            result.push_back({start + row_start, length, ends_line});
            row_start += length;
        } while (row_start < line.size());
        start += static_cast<int>(line.size()) + 2;
    }
    return result;
}

std::vector<TextBox::PlacedRow> TextBox::placed_rows(const QFontMetrics& metrics) const {
    const std::vector<Row> all = rows();
    const int count = static_cast<int>(all.size());
    std::vector<PlacedRow> placed;
    placed.reserve(all.size());
    for (int i = 0; i < count; ++i) {
        QString text = text_.mid(all[i].start, all[i].length);
        const int left = (width() - metrics.horizontalAdvance(text)) / 2;
        placed.push_back({all[i], std::move(text), line_top(i, count), left});
    }
    return placed;
}

int TextBox::caret_at(const QPoint& point) const {
    const QFontMetrics metrics(font());
    const std::vector<PlacedRow> placed = placed_rows(metrics);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const PlacedRow& p = placed[i];
        if (point.y() < p.top + metrics.lineSpacing() || i + 1 == placed.size()) {
            int best = 0;
            for (int j = 1; j <= p.text.size(); ++j) {
                const int x = p.left + metrics.horizontalAdvance(p.text.left(j));
                const int best_x = p.left + metrics.horizontalAdvance(p.text.left(best));
                if (std::abs(x - point.x()) < std::abs(best_x - point.x())) {
                    best = j;
                }
            }
            return p.row.start + best;
        }
    }
    return static_cast<int>(text_.size());
}

void TextBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor back = BackColor().isValid() ? BackColor() : palette().color(QPalette::Base);
    painter.fillRect(rect(), isEnabled() ? back : palette().color(QPalette::Window));
    painter.setPen(QColor(100, 100, 100));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // An empty box without the caret draws no text, and so never needs its
    // font loaded: the board starts empty.
    if (text_.isEmpty() && !hasFocus()) {
        return;
    }

    painter.setFont(font());
    painter.setPen(ForeColor().isValid() ? ForeColor() : palette().color(QPalette::Text));
    const QFontMetrics metrics(font());
    for (const PlacedRow& p : placed_rows(metrics)) {
        painter.drawText(p.left, p.top + metrics.ascent(), p.text);
        // A caret where one row wraps into the next is drawn at the next row's start.
        const int end = p.row.start + p.row.length;
        if (hasFocus() && caret_ >= p.row.start &&
            (caret_ < end || (caret_ == end && p.row.ends_line))) {
            const int x = p.left + metrics.horizontalAdvance(p.text.left(caret_ - p.row.start));
            painter.drawLine(x, p.top + 1, x, p.top + metrics.height() - 1);
        }
    }
}

MaskedTextBox::MaskedTextBox(const QString& name, QWidget* parent)
    : TextBox(Kind::MaskedTextBox, name, parent) {
    set_raw_paste(true);
}

} // namespace tk
