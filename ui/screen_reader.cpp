// What a screen reader reads for the board and the panels: cell names, cell texts, the notices
// the panels announce.
#include "ui/form1.h"

#include "core/cage_colours.h"
#include "core/cages.h"
#include "core/cells.h"
#include "resources/picture_texts.h"
#include "toolkit/accessibility.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// The colour code a cell shows: where its painted colour stands in the cage colour table (white,
// the colour of every unlisted code, counts as 0), or -1 for a cell that no cage colour was
// painted on.
std::int32_t shown_code(const tk::Control& cell) {
    const QColor painted = cell.BackColor();
    if (!painted.isValid()) {
        return -1;
    }
    for (std::size_t code = 0; code < core::cage_colours.size(); ++code) {
        const core::Rgb& rgb = core::cage_colours[code];
        if (painted == QColor(rgb.red, rgb.green, rgb.blue)) {
            return static_cast<std::int32_t>(code);
        }
    }
    return -1;
}

// A cage as the board shows it: its cells in reading order (row by row from the top, each from the
// left) and the sum its one shown label gives.
struct ShownCage {
    std::vector<int> cells;
    QString sum;
};

// The cage a cell lies in, read afresh from the painted colours and the shown sum labels; none
// (no cells) where they show no cage, as on the uncoloured board before the first Start.
ShownCage shown_cage(const Form1& window, int cell) {
    std::array<std::int32_t, core::cell_count + 1> codes{};
    for (int k = 1; k <= core::cell_count; ++k) {
        codes[k] = shown_code(*window.textBox[k]);
    }
    const core::CageMap map = core::map_cages(codes);
    ShownCage cage;
    QStringList sums;
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const int k = core::cell_at(row, column);
            if (map.cage_of[k] != map.cage_of[cell]) {
                continue;
            }
            cage.cells.push_back(k);
            if (window.label[k]->Visible()) {
                sums << window.label[k]->Text();
            }
        }
    }
    if (sums.size() != 1) {
        return {};
    }
    cage.sum = sums.front();
    return cage;
}

// "3", "3 and 4", "3, 4 and 5".
QString listed(const QStringList& items) {
    if (items.size() < 2) {
        return items.join(QString());
    }
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.back();
}

// What a cell's cage is, said with the cell: its size, its sum and its other cells row by row
// ("cage of 3 cells, sum 14, with row 1, column 3; row 2, columns 3 and 4").
QString describe_cage(const Form1& window, int cell) {
    const ShownCage cage = shown_cage(window, cell);
    if (cage.cells.empty()) {
        return {};
    }
    if (cage.cells.size() == 1) {
        return QStringLiteral("one-cell cage, sum ") + cage.sum;
    }
    QStringList rows;
    int row = -1;
    QStringList columns;
    const auto close_row = [&] {
        if (!columns.isEmpty()) {
            rows << QStringLiteral("row %1, column%2 %3")
                        .arg(row + 1)
                        .arg(columns.size() > 1 ? QStringLiteral("s") : QString())
                        .arg(listed(columns));
        }
        columns.clear();
    };
    for (const int k : cage.cells) {
        if (k == cell) {
            continue;
        }
        if (core::row_of(k) != row) {
            close_row();
            row = core::row_of(k);
        }
        columns << QString::number(core::column_of(k) + 1);
    }
    close_row();
    return QStringLiteral("cage of %1 cells, sum %2, with ").arg(cage.cells.size()).arg(cage.sum) +
           rows.join(QStringLiteral("; "));
}

// How a cell's text is read out among others: its digit, "blank", or "marks 1 3".
QString read_out_cell(const QString& text) {
    if (text.startsWith(Form1::pencil_prefix)) {
        const QString marks = text.mid(Form1::pencil_prefix.size());
        if (marks.isEmpty()) {
            return QStringLiteral("blank");
        }
        QStringList each;
        for (const QChar mark : marks) {
            each << QString(mark);
        }
        return QStringLiteral("marks ") + each.join(u' ');
    }
    if (text.size() == 1 && Form1::is_cell_digit(text[0])) {
        return text;
    }
    return QStringLiteral("blank");
}

// A cell's text as a player reads it: the answer digit, or its pencil marks one by one.
tk::Reading read_cell(const QString& text, int caret) {
    if (!text.startsWith(Form1::pencil_prefix)) {
        // An empty cell or an answer; line-break characters read as spaces, offsets unchanged.
        return {tk::line_breaks_as_spaces(text), caret, {}};
    }
    // "pencil marks 1 3 3": each mark reads as a space and its digit, so the
    // caret after the k-th mark reads right after the k-th digit.
    // A mark with the space before it is one character, so a reader stepping through the marks
    // speaks the digit, never the space.
    const QString heading = QStringLiteral("pencil marks");
    const auto prefix = static_cast<int>(Form1::pencil_prefix.size());
    QString reading = heading;
    std::vector<int> characters;
    for (int i = 0; i < heading.size(); ++i) {
        characters.push_back(i);
    }
    for (const QChar mark : text.mid(prefix)) {
        characters.push_back(static_cast<int>(reading.size()));
        reading += u' ';
        reading += mark;
    }
    const int marks_before_caret = std::max(0, caret - prefix);
    return {reading, static_cast<int>(heading.size()) + 2 * marks_before_caret,
            std::move(characters)};
}

} // namespace

void Form1::describe_for_screen_readers() {
    for (int k = 1; k <= board_cells; ++k) {
        // A player counts rows from the top and columns from the left, both from 1.
        const int row = core::row_of(k) + 1;
        const int column = core::column_of(k) + 1;
        tk::Label* sum = label[k];
        tk::set_accessible_name(*textBox[k], [row, column, sum] {
            QString name = QStringLiteral("Row %1, column %2").arg(row).arg(column);
            // The cage's sum, when this cell's sum label shows it.
            if (sum->Visible()) {
                name += QStringLiteral(", cage sum ") + sum->Text();
            }
            return name;
        });
        tk::set_accessible_description(*textBox[k], [this, k] { return describe_cage(*this, k); });
        tk::set_reading(*textBox[k], read_cell);
        tk::name_follows(*textBox[k], *sum);
    }

    // A new puzzle number is announced, as a player who sees the window notices it change.
    connect(label_level_value, &tk::Label::TextChanged, this, [this] {
        tk::announce(*label_level_value, QStringLiteral("Level %1").arg(puzzle_number()));
    });

    tk::set_accessible_name(*maskedTextBox_select_level, [this] {
        return QStringLiteral("Puzzle number, 1 to %1").arg(level_array_size - 1);
    });

    // Each overlay picture is a notice of the message drawn on it, announced as it is shown. The
    // help is announced by its title alone: its two paragraphs at once would drown the game; a
    // player reads them as the notice's text.
    for (const auto& p : overlay_pictures()) {
        const QString message = picture_texts::message(p.key);
        const bool help = p.box == pictureBox_help_background;
        tk::set_notice(*p.box, help ? picture_texts::help_title() : message, message);
    }
}

void Form1::announce_start() {
    int shown = 0;
    for (int k = 1; k <= board_cells; ++k) {
        shown += textBox[k]->Text().size() == 1;
    }
    const QString cells = shown == 0   ? QStringLiteral("no cells")
                          : shown == 1 ? QStringLiteral("1 cell")
                                       : QStringLiteral("%1 cells").arg(shown);
    // A command that brings a new puzzle has its number waiting to be announced; one notice says
    // both.
    tk::announce_more(
        *label_level_value,
        QStringLiteral("Puzzle %1 started, %2 shown").arg(puzzle_number()).arg(cells));
}

QString Form1::read_out(int cell, ReadOut what) const {
    const int row = core::row_of(cell);
    const int column = core::column_of(cell);
    QString heading;
    std::vector<int> cells;
    switch (what) {
    case ReadOut::Row:
        heading = QStringLiteral("row %1").arg(row + 1);
        for (int c = 0; c < 9; ++c) {
            cells.push_back(core::cell_at(row, c));
        }
        break;
    case ReadOut::Column:
        heading = QStringLiteral("column %1").arg(column + 1);
        for (int r = 0; r < 9; ++r) {
            cells.push_back(core::cell_at(r, column));
        }
        break;
    case ReadOut::Block: {
        const int top = row / 3 * 3;
        const int left = column / 3 * 3;
        heading = QStringLiteral("block of rows %1 to %2, columns %3 to %4")
                      .arg(top + 1)
                      .arg(top + 3)
                      .arg(left + 1)
                      .arg(left + 3);
        for (int r = top; r < top + 3; ++r) {
            for (int c = left; c < left + 3; ++c) {
                cells.push_back(core::cell_at(r, c));
            }
        }
        break;
    }
    case ReadOut::Cage: {
        const ShownCage cage = shown_cage(*this, cell);
        if (cage.cells.empty()) {
            return QStringLiteral("no cage shown");
        }
        int so_far = 0;
        for (const int k : cage.cells) {
            const QString text = textBox[k]->Text();
            if (text.size() == 1 && is_cell_digit(text[0])) {
                so_far += text.toInt();
            }
        }
        heading = QStringLiteral("cage sum %1, %2 so far").arg(cage.sum).arg(so_far);
        cells = cage.cells;
        break;
    }
    }
    QStringList said;
    for (const int k : cells) {
        said << read_out_cell(textBox[k]->Text());
    }
    return heading + QStringLiteral(": ") + said.join(QStringLiteral(", "));
}
