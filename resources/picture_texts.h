// The texts lettered into the pictures, written once for the picture generator that draws them and
// for the window, which gives them to screen readers as the pictures' names.
#pragma once

#include "catalogue/catalogue_size.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace picture_texts {

// A panel picture's message, line by line from the top, by the key of the picture.
struct PanelMessage {
    const char16_t* key;
    QStringList lines;
};

// The five panels that carry a message; the range on the selection panel is the puzzles the
// selection accepts, 1 to the last playable one.
inline const PanelMessage panel_messages[] = {
    {u"pictureBox_completed.Image", {"Congrats, you", "Have completed", "All of the Levels!"}},
    {u"pictureBox_correct.Image", {"Correct, great", "work!"}},
    {u"pictureBox_incorrect_solution.Image", {"Not yet complete.", "please check", "the solution"}},
    {u"pictureBox_invalid_number.Image", {"Please enter a", "Valid number"}},
    {u"pictureBox_select_level.Image",
     {"Please enter a", "Puzzle number", "(1 to " + QString::number(last_playable_puzzle) + ")"}},
};

// The help picture's two paragraphs, above and below its figures.
inline const QStringList help_paragraphs = {
    QStringLiteral("Welcome to Tallywick! Fill every column, row and 3 x 3 block of the "
                   "board with the numbers one through nine, without repeating any "
                   "numbers within a column, row or block. The board below is a solved "
                   "puzzle: an example row is shown in yellow, a column in blue and a "
                   "block in green."),
    QStringLiteral("The cells of each cage are painted in one colour, and the sum of "
                   "the numbers in the cage is shown in its top-left corner. The light "
                   "blue cage on the right, with the number 10 in its corner, is an "
                   "example: 2 + 1 + 7 = 10."),
};

// The help picture's title: the first sentence of its first paragraph.
inline QString help_title() {
    const QString& first = help_paragraphs.front();
    return first.left(first.indexOf(u'!') + 1);
}

// The lines of the panel picture under the key; empty for a key that names no panel.
inline QStringList panel_lines(QStringView key) {
    for (const PanelMessage& message : panel_messages) {
        if (key == QStringView(message.key)) {
            return message.lines;
        }
    }
    return {};
}

// What the picture under the key says, as one text read aloud: a panel's lines joined by
// spaces, the help picture's two paragraphs; empty for a picture without text.
inline QString message(QStringView key) {
    if (key == u"pictureBox_help_background.Image") {
        return help_paragraphs.join(u' ');
    }
    return panel_lines(key).join(u' ');
}

} // namespace picture_texts
