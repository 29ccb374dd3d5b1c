// What a screen reader reads for the board and the panels: cell names, cell texts, the notices
// the panels announce.
#include "ui/form1.h"

#include "core/cells.h"
#include "resources/picture_texts.h"
#include "toolkit/accessibility.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

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
