// What a screen reader reads for the board and the panels: cell names, cell texts, the notices
// the panels announce.
#include "ui/form1.h"

#include "resources/picture_texts.h"
#include "toolkit/accessibility.h"

#include <algorithm>

namespace {

// A cell's text as a player reads it: the answer digit, or its pencil marks one by one.
tk::Reading read_cell(const QString& text, int caret) {
    const QString prefix = QStringLiteral("\r\n");
    if (!text.startsWith(prefix)) {
        // An empty cell or an answer; line-break characters read as spaces, offsets unchanged.
        QString reading = text;
        reading.replace(u'\r', u' ').replace(u'\n', u' ');
        return {reading, caret};
    }
    // "pencil marks 1 3 3": the caret after the k-th mark reads after its digit.
    QString reading = QStringLiteral("pencil marks");
    for (const QChar mark : text.mid(prefix.size())) {
        reading += u' ';
        reading += mark;
    }
    return {reading, 12 + 2 * std::max(0, caret - 2)};
}

} // namespace

void Form1::describe_for_screen_readers() {
    for (int k = 1; k <= 81; ++k) {
        // Cells are numbered right to left within a row, so cell 1 is the top-right corner;
        // a player counts rows from the top and columns from the left.
        const int row = (k - 1) / 9 + 1;
        const int column = 9 - (k - 1) % 9;
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
