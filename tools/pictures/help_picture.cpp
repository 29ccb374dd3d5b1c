// The help screen: how-to-play text, a solved board and an example cage on the background.
#include "lettering.h"
#include "pictures.h"

#include "catalogue/tables.h"
#include "core/cage_colours.h"
#include "resources/picture_texts.h"

#include <QPainter>

#include <stdexcept>

namespace pictures {
namespace {

const QString text_family = QStringLiteral("Liberation Sans");
const QString numeral_family = QStringLiteral("Comic Neue");
constexpr double text_size = 18.5;
constexpr double text_pitch = 24;
// The puzzle whose solution the board figure shows.
constexpr int shown_puzzle = 5;

const QColor digit_colour(0, 0, 192);
const QColor row_colour(0xFF, 0xFF, 0x00);
const QColor column_colour(0x00, 0xFF, 0xFF);
const QColor block_colour(0x00, 0xFF, 0x00);
// The cage is drawn in the colour the game paints code 3 with.
const QColor cage_colour(core::cage_colour(3).red, core::cage_colour(3).green,
                         core::cage_colour(3).blue);

// A paragraph wrapped to the width of its box, left-aligned, with the first line's ink top at the
// box's top; throws when it needs more lines than the box holds.
void draw_paragraph(QPainter& painter, const QString& paragraph, const QRectF& box,
                    int most_lines) {
    const QFont font = installed_font(text_family, QFont::Normal, text_size);
    auto width_of = [&](const QString& line) {
        return centred_line(font, line).boundingRect().width();
    };
    QStringList lines;
    for (const QString& word : paragraph.split(u' ')) {
        if (!lines.isEmpty() && width_of(lines.back() + u' ' + word) <= box.width()) {
            lines.back() += u' ' + word;
        } else {
            lines.append(word);
        }
    }
    QPainterPath text;
    for (int i = 0; i < lines.size(); ++i) {
        QPainterPath line = centred_line(font, lines[i]);
        line.translate(-line.boundingRect().left(), i * text_pitch);
        text.addPath(line);
    }
    text.translate(box.left(), box.top() - text.boundingRect().top());
    if (lines.size() > most_lines || text.boundingRect().bottom() > box.bottom()) {
        throw std::runtime_error("a help paragraph does not fit its box: " +
                                 paragraph.toStdString());
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(text);
}

void draw_digit(QPainter& painter, const QFont& font, const QString& digit, const QRectF& cell) {
    QPainterPath glyph = centred_line(font, digit);
    const QRectF ink = glyph.boundingRect();
    glyph.translate(cell.center() - ink.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(digit_colour);
    painter.drawPath(glyph);
}

// A 9 x 9 board: heavy lines round the blocks and the board, thin ones inside the blocks.
// Its second row, second column and centre block are coloured as the text explains.
void draw_board(QPainter& painter, QPoint origin) {
    constexpr int cell = 19;
    constexpr int thin = 1;
    constexpr int heavy = 2;
    // Left edge of column (or top edge of row) i, measured from the board's outer edge.
    auto edge = [](int i) { return heavy + i * cell + (i - i / 3) * thin + (i / 3) * heavy; };
    const int total = edge(8) + cell + heavy;

    painter.fillRect(QRect(origin, QSize(total, total)), Qt::black);
    painter.fillRect(
        QRect(origin + QPoint(heavy, heavy), QSize(total - 2 * heavy, total - 2 * heavy)),
        QColor(0x9A, 0x9A, 0x9A)); // shows through as the thin lines

    const QFont numerals = installed_font(numeral_family, QFont::Bold, 15);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QRect box(origin.x() + edge(column), origin.y() + edge(row), cell, cell);
            const bool in_row = row == 1;
            const bool in_column = column == 1;
            const bool in_block = row / 3 == 1 && column / 3 == 1;
            if (in_row && in_column) {
                // The crossing cell belongs to both: split along its diagonal.
                painter.setPen(Qt::NoPen);
                painter.setRenderHint(QPainter::Antialiasing, false);
                painter.fillRect(box, row_colour);
                const QPolygon lower{box.topRight() + QPoint(1, 0),
                                     box.bottomRight() + QPoint(1, 1),
                                     box.bottomLeft() + QPoint(0, 1)};
                painter.setBrush(column_colour);
                painter.drawPolygon(lower);
            } else {
                painter.fillRect(box, in_row      ? row_colour
                                      : in_column ? column_colour
                                      : in_block  ? block_colour
                                                  : QColor(Qt::white));
            }
            // Cells are numbered right to left within a row: the top-left cell is cell 9.
            const int cell_number = 9 * row + (8 - column) + 1;
            const int digit = static_cast<int>(level_array[shown_puzzle][cell_number]);
            painter.setRenderHint(QPainter::Antialiasing, true);
            draw_digit(painter, numerals, QString::number(digit), box);
        }
    }
    // Heavy lines between the blocks.
    for (int i = 3; i < 9; i += 3) {
        const int at = edge(i) - heavy;
        painter.fillRect(QRect(origin.x() + at, origin.y(), heavy, total), Qt::black);
        painter.fillRect(QRect(origin.x(), origin.y() + at, total, heavy), Qt::black);
    }
}

// Three cells of one cage stacked vertically, with the cage sum in the top cell's corner.
void draw_cage(QPainter& painter, QPoint origin) {
    constexpr int cell = 34;
    const int digits[] = {2, 1, 7};
    const QFont numerals = installed_font(numeral_family, QFont::Bold, 20);
    for (int i = 0; i < 3; ++i) {
        const QRect box(origin.x(), origin.y() + i * (cell - 1), cell, cell);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(box, cage_colour);
        painter.setPen(QColor(0x64, 0x64, 0x64));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setRenderHint(QPainter::Antialiasing, true);
        draw_digit(painter, numerals, QString::number(digits[i]), QRectF(box).adjusted(3, 5, 0, 0));
    }
    // The sum sits where the game's sum labels sit: two pixels in from the top-left corner.
    const QFont label = installed_font(text_family, QFont::Normal, 10.5);
    QPainterPath sum = centred_line(label, QStringLiteral("10"));
    const QRectF ink = sum.boundingRect();
    sum.translate(origin.x() + 3 - ink.left(), origin.y() + 3 - ink.top());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(sum);
}

} // namespace

QImage help_picture(const QImage& background) {
    QImage image = background.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // The paragraphs' boxes are inclusive pixel bounds: x 45-744, y 19-109 and x 43-738, y 363-429.
    draw_paragraph(painter, picture_texts::help_paragraphs[0], QRectF(45, 19, 700, 91), 4);
    draw_board(painter, QPoint(111, 142));
    draw_cage(painter, QPoint(635, 179));
    draw_paragraph(painter, picture_texts::help_paragraphs[1], QRectF(43, 363, 696, 67), 3);
    return image;
}

} // namespace pictures
