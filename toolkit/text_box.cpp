// The text box: exact text, caret, typed and pasted input through key events, centred drawing.
#include "toolkit/text_box.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

namespace tk {

namespace {

// Splits the text into its lines at each "\r\n".
QStringList lines_of(const QString& text) {
    return text.split(line_break);
}

// The smallest size a multi-line box shrinks its drawing to.
constexpr double smallest_points = 6;

} // namespace

QString line_breaks_as_spaces(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

TextBox::TextBox(const QString& name, QWidget* parent) : TextBox(Kind::TextBox, name, parent) {}

TextBox::TextBox(Kind kind, const QString& name, QWidget* parent)
    : QWidget(parent), Control(kind, name) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Text dropped on the box is a paste.
    setAcceptDrops(true);
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
    const bool moved = position != caret_;
    caret_ = position;
    keep_caret_in_view();
    update();
    if (moved) {
        emit CaretMoved();
    }
}

void TextBox::keep_caret_in_view() {
    if (multiline_) {
        scroll_ = 0;
        return;
    }
    // A one-line text wider than the box scrolls as little as it takes to keep
    // the caret in view, as a desktop's one-line field does.
    const QFontMetrics metrics(font());
    const QString shown = line_breaks_as_spaces(text_);
    const int room = width() - 4;
    const int total = metrics.horizontalAdvance(shown);
    if (total <= room) {
        scroll_ = 0;
        return;
    }
    const int caret_x = metrics.horizontalAdvance(shown.left(caret_));
    scroll_ = std::clamp(scroll_, caret_x - room, caret_x);
    scroll_ = std::clamp(scroll_, 0, total - room);
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

void TextBox::paste(const QString& pasted) {
    // The handlers see the whole paste at once; what they leave goes in as one
    // change, so the text is never seen half pasted. They are handed the text
    // as it came (no copy is made of a large clipboard) and read only as much
    // of it as they need.
    PasteEventArgs e{pasted};
    emit Paste(e);
    const int room = max_length_ - static_cast<int>(text_.size());
    if (e.Handled || room <= 0 || e.Text.isEmpty()) {
        return;
    }
    const QString piece = e.Text.left(room);
    QString text = text_;
    text.insert(caret_, piece);
    replace_text(text, caret_ + static_cast<int>(piece.size()));
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
        paste(QGuiApplication::clipboard()->text());
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
        // Home and End keep to the caret's row of a multi-line box, and with
        // Ctrl (or in a one-line box) go to the start or end of the text.
        if (multiline_ && !(event->modifiers() & Qt::ControlModifier)) {
            SetSelectionStart(caret_row().start);
        } else {
            SetSelectionStart(0);
        }
        return;
    case Qt::Key_End:
        if (multiline_ && !(event->modifiers() & Qt::ControlModifier)) {
            const Row row = caret_row();
            SetSelectionStart(row.start + row.length);
        } else {
            SetSelectionStart(static_cast<int>(text_.size()));
        }
        return;
    case Qt::Key_Up:
        move_caret_row(-1);
        return;
    case Qt::Key_Down:
        move_caret_row(1);
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
    // The middle button pastes the selection where it lands, as on X11; the
    // press has already given the box the focus. Where the platform keeps no
    // selection it does nothing.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        SetSelectionStart(caret_at(event->position().toPoint()));
        paste(QGuiApplication::clipboard()->text(QClipboard::Selection));
    }
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

void TextBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasText()) {
        // Dropped text is copied in; the source keeps its own.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void TextBox::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasText()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void TextBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) {
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // A drop acts like a click that pastes: the box takes the focus, and the
    // text goes in where it was dropped.
    setFocus(Qt::MouseFocusReason);
    SetSelectionStart(caret_at(event->position().toPoint()));
    paste(event->mimeData()->text());
}

int TextBox::line_top(const QFontMetrics& metrics, int line, int line_count) const {
    if (!multiline_) {
        return (height() - metrics.height()) / 2;
    }
    // The block of lines sits centred in the box, so one large digit is centred
    // and a line of marks under an empty first line sits just below the middle.
    const int block = metrics.lineSpacing() * line_count;
    return (height() - block) / 2 + line * metrics.lineSpacing();
}

std::vector<TextBox::Row> TextBox::rows(const QFontMetrics& metrics) const {
    // Two pixels of border and margin on each side.
    const int room = width() - 4;
    std::vector<Row> result;
    if (!multiline_) {
        return {{0, static_cast<int>(text_.size()), true}};
    }
    int start = 0;
    for (const QString& line : lines_of(text_)) {
        int row_start = 0;
        do {
            int length = static_cast<int>(line.size()) - row_start;
            // At least one character a row, so a too-narrow box still ends.
            while (length > 1 && metrics.horizontalAdvance(line.mid(row_start, length)) > room) {
                --length;
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
    const std::vector<Row> all = rows(metrics);
    const int count = static_cast<int>(all.size());
    std::vector<PlacedRow> placed;
    placed.reserve(all.size());
    for (int i = 0; i < count; ++i) {
        QString text = text_.mid(all[i].start, all[i].length);
        if (!multiline_) {
            text = line_breaks_as_spaces(std::move(text));
        }
        const int advance = metrics.horizontalAdvance(text);
        // Centred, but a one-line text too wide for the box starts where its
        // scrolling puts it.
        const int left =
            !multiline_ && advance > width() - 4 ? 2 - scroll_ : (width() - advance) / 2;
        placed.push_back({all[i], std::move(text), line_top(metrics, i, count), left});
    }
    return placed;
}

QFont TextBox::drawing_font() const {
    QFont drawn = font();
    if (!multiline_) {
        return drawn;
    }
    // Every row of a multi-line text is drawn: when the rows at the box's font
    // are taller than the box (pencil marks typed into a cell that still has
    // the large answer font), the drawing shrinks until they fit. The font the
    // box reports stays the one that was set.
    const auto fits = [this](const QFont& f) {
        const QFontMetrics metrics(f);
        return metrics.lineSpacing() * static_cast<int>(rows(metrics).size()) <= height() - 2;
    };
    while (!fits(drawn) && drawn.pointSizeF() > smallest_points) {
        drawn.setPointSizeF(std::max(smallest_points, drawn.pointSizeF() - 0.5));
    }
    return drawn;
}

TextBox::Row TextBox::caret_row(int* index) const {
    const std::vector<Row> all = rows(QFontMetrics(drawing_font()));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int end = all[i].start + all[i].length;
        // A caret where one row wraps into the next belongs to the next row.
        if (caret_ >= all[i].start && (caret_ < end || (caret_ == end && all[i].ends_line))) {
            if (index != nullptr) {
                *index = static_cast<int>(i);
            }
            return all[i];
        }
    }
    if (index != nullptr) {
        *index = static_cast<int>(all.size()) - 1;
    }
    return all.back();
}

void TextBox::move_caret_row(int delta) {
    if (!multiline_) {
        return;
    }
    const QFontMetrics metrics(drawing_font());
    const std::vector<PlacedRow> placed = placed_rows(metrics);
    int index = 0;
    const Row row = caret_row(&index);
    const int target = index + delta;
    if (target < 0 || target >= static_cast<int>(placed.size())) {
        return;
    }
    // The caret keeps its place across as nearly as the other row allows.
    const PlacedRow& from = placed[static_cast<std::size_t>(index)];
    const int x = from.left + metrics.horizontalAdvance(from.text.left(caret_ - row.start));
    SetSelectionStart(nearest_in_row(metrics, placed[static_cast<std::size_t>(target)], x));
}

int TextBox::nearest_in_row(const QFontMetrics& metrics, const PlacedRow& p, int x) const {
    int best = 0;
    int best_distance = std::abs(p.left - x);
    for (int j = 1; j <= p.text.size(); ++j) {
        const int distance = std::abs(p.left + metrics.horizontalAdvance(p.text.left(j)) - x);
        if (distance < best_distance) {
            best = j;
            best_distance = distance;
        }
    }
    return p.row.start + best;
}

int TextBox::caret_at(const QPoint& point) const {
    const QFontMetrics metrics(drawing_font());
    const std::vector<PlacedRow> placed = placed_rows(metrics);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const PlacedRow& p = placed[i];
        if (point.y() < p.top + metrics.lineSpacing() || i + 1 == placed.size()) {
            return nearest_in_row(metrics, p, point.x());
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

    const QFont drawn = drawing_font();
    painter.setFont(drawn);
    painter.setPen(ForeColor().isValid() ? ForeColor() : palette().color(QPalette::Text));
    // Text never spills over the border.
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    keep_caret_in_view();
    const QFontMetrics metrics(drawn);
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
    : TextBox(Kind::MaskedTextBox, name, parent) {}

} // namespace tk
