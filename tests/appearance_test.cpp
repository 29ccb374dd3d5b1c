// How the window looks as drawn: fonts, text colours, texts and bounds of every control, the cage
// colours painted, centred cell text, transparent captions and captions sized to their text.
// Expected values are written out here as the game's design tables give them, never taken from
// the window's own tables.
#include "catalogue/tables.h"
#include "resources/resource_set.h"
#include "tests/support/support.h"
#include "ui/form1.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTest>

#include <functional>
#include <set>

namespace {

const QColor lavender_blush(255, 240, 245);
const QColor white(255, 255, 255);
const QColor cell_ink(0, 0, 192);

struct FontSpec {
    const char* family;
    double points;
    bool bold;
};

// The font a menu item is drawn in: its own where it has one, its menu's otherwise.
QFont item_font(tk::MenuItem* item, tk::MenuItem* parent) {
    if (parent == nullptr) {
        return item->action()->font();
    }
    return item->action()->font().resolve(parent->menu()->font());
}

QString describe(const QFont& f) {
    return QStringLiteral("%1 %2 pt%3")
        .arg(f.family())
        .arg(f.pointSizeF())
        .arg(f.bold() ? QStringLiteral(" bold") : QString());
}

bool font_is(const QFont& f, FontSpec want) {
    return f.family() == QLatin1String(want.family) && qFuzzyCompare(f.pointSizeF(), want.points) &&
           f.bold() == want.bold;
}

// The columns and rows of a picture that hold pixels the test accepts.
struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1, count = 0;
    double centre_x() const { return (left + right) / 2.0; }
};
Ink ink_in(const QImage& image, QRect area, const std::function<bool(QRgb)>& is_ink) {
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!is_ink(image.pixel(x, y))) {
                continue;
            }
            ++ink.count;
            ink.left = ink.left < 0 ? x : std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = ink.top < 0 ? y : ink.top;
            ink.bottom = y;
        }
    }
    return ink;
}

bool bluish(QRgb p) {
    return qBlue(p) > 120 && qRed(p) < 120 && qGreen(p) < 120;
}

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a font, a text, a bound or a tab index drifting from the design in any of
    // the window's buttons, fields and captions (the sum labels and cells are checked below).
    void controlsHaveTheDesignedFontTextBoundsAndTabIndex() {
        Form1 w;
        const struct {
            tk::Control* control;
            const char* text;
            FontSpec font;
            QRect bounds; // empty: sized to the text, only the top-left is fixed
            int tab_index;
        } table[] = {
            {w.button4, "Start", {"Bradley Hand ITC", 12, false}, {610, 200, 98, 30}, 81},
            {w.button4_show_cell,
             "Show a Cell",
             {"Bradley Hand ITC", 12, false},
             {610, 250, 98, 30},
             170},
            {w.button_request_level,
             "Show All",
             {"Bradley Hand ITC", 12, false},
             {610, 301, 98, 30},
             87},
            {w.button2, "Skip Puzzle", {"Bradley Hand ITC", 12, false}, {610, 350, 98, 30}, 82},
            {w.button3, "Clear Cells", {"Bradley Hand ITC", 12, false}, {610, 400, 98, 30}, 171},
            {w.button1, "Check", {"Bradley Hand ITC", 12, false}, {610, 450, 98, 30}, 87},
            {w.radioButton2, "Pen", {"Arial", 12, false}, {618, 6, 0, 0}, 175},
            {w.radioButton1, "Pencil", {"Arial", 12, false}, {691, 6, 0, 0}, 174},
            {w.label_level_title_2,
             "Current",
             {"Bradley Hand ITC", 21.75, true},
             {581, 51, 0, 0},
             0},
            {w.label_level_title, "Level", {"Bradley Hand ITC", 21.75, true}, {634, 89, 0, 0}, 0},
            {w.label_level_value, "1", {"Bradley Hand ITC", 21.75, true}, {681, 118, 0, 0}, 0},
            {w.button_help_exit,
             "Continue",
             {"Bradley Hand ITC", 12, false},
             {353, 480, 95, 26},
             258},
            {w.button_completed,
             "Continue",
             {"Bradley Hand ITC", 12, false},
             {238, 307, 95, 28},
             260},
            {w.button_incorrect_solution,
             "Continue",
             {"Bradley Hand ITC", 12, false},
             {244, 327, 95, 26},
             262},
            {w.button_correct,
             "Continue",
             {"Bradley Hand ITC", 12, false},
             {238, 282, 95, 26},
             264},
            {w.maskedTextBox_select_level,
             "",
             {"Microsoft Sans Serif", 12, false},
             {252, 282, 57, 26},
             267},
            {w.button_level_select_continue,
             "OK",
             {"Bradley Hand ITC", 12, false},
             {228, 325, 100, 27},
             268},
            {w.button_invalid_puzzle_ok,
             "OK",
             {"Bradley Hand ITC", 11.25, false},
             {228, 296, 87, 26},
             270},
        };
        for (const auto& row : table) {
            const QString name = row.control->Name();
            QCOMPARE(row.control->Text(), QString::fromLatin1(row.text));
            QVERIFY2(font_is(row.control->Font(), row.font),
                     qPrintable(name + ": " + describe(row.control->Font())));
            const QRect actual = row.control->widget()->geometry();
            if (row.bounds.isEmpty()) {
                QCOMPARE(actual.topLeft(), row.bounds.topLeft());
            } else {
                QVERIFY2(actual == row.bounds, qPrintable(name));
            }
            if (row.tab_index != 0) {
                QVERIFY2(row.control->TabIndex() == row.tab_index, qPrintable(name));
            }
        }
    }

    // Guards against a renamed or restyled menu entry.
    void menuItemsHaveTheDesignedTextsAndFonts() {
        Form1 w;
        const FontSpec menu_font = {"Bradley Hand ITC", 14.25, true};
        const struct {
            tk::MenuItem* item;
            tk::MenuItem* parent;
            const char* text;
        } table[] = {
            {w.toolStripMenuItem1, nullptr, "Difficulty"},
            {w.easyToolStripMenuItem, w.toolStripMenuItem1, "Easy"},
            {w.normalToolStripMenuItem, w.toolStripMenuItem1, "Normal"},
            {w.hardToolStripMenuItem, w.toolStripMenuItem1, "Hard"},
            {w.optionsToolStripMenuItem, nullptr, "Options"},
            {w.howToPlayToolStripMenuItem, w.optionsToolStripMenuItem, "How to play"},
            {w.restartToolStripMenuItem, w.optionsToolStripMenuItem, "Restart"},
            {w.selectPuzzleToolStripMenuItem, w.optionsToolStripMenuItem, "Select Puzzle"},
        };
        for (const auto& row : table) {
            QCOMPARE(row.item->Text(), QString::fromLatin1(row.text));
            const QFont font = item_font(row.item, row.parent);
            QVERIFY2(font_is(font, menu_font),
                     qPrintable(row.item->Name() + ": " + describe(font)));
        }
    }

    // Guards against the cells' or sum labels' font or the cells' dark blue drifting: set on
    // every one of the 81, and drawn in that blue.
    void cellsAndSumLabelsHaveTheirDesignedFontsAndTheCellsTheirInk() {
        Form1 w;
        QVERIFY(support::show_active(w));
        for (int k = 1; k <= 81; ++k) {
            QVERIFY2(font_is(w.textBox[k]->Font(), {"Kristen ITC", 26.25, true}),
                     qPrintable(describe(w.textBox[k]->Font())));
            QCOMPARE(w.textBox[k]->ForeColor(), cell_ink);
            QVERIFY2(font_is(w.label[k]->Font(), {"Microsoft Sans Serif", 8, false}),
                     qPrintable(describe(w.label[k]->Font())));
        }
        // The ink as drawn: a bold digit has a core of exactly the cells' blue.
        w.textBox[41]->SetText("8");
        const QImage cell = w.textBox[41]->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const Ink exact = ink_in(cell, cell.rect().adjusted(2, 2, -2, -2),
                                 [](QRgb p) { return p == qRgb(0, 0, 192); });
        QVERIFY2(exact.count > 20, qPrintable(QString::number(exact.count)));
    }

    // Guards against the level captions and the pen and pencil buttons losing their colours: the
    // captions LavenderBlush, the radio buttons white, as set and as drawn.
    void captionsAreLavenderBlushAndTheRadioButtonsWhite() {
        Form1 w;
        QVERIFY(support::show_active(w));
        const QImage shot = support::rgb(w.grab());
        const struct {
            tk::Control* control;
            QColor colour;
        } table[] = {
            {w.label_level_title_2, lavender_blush},
            {w.label_level_title, lavender_blush},
            {w.label_level_value, lavender_blush},
            {w.radioButton2, white},
            {w.radioButton1, white},
        };
        for (const auto& row : table) {
            QCOMPARE(row.control->ForeColor(), row.colour);
            const QRgb want = row.colour.rgb();
            const Ink drawn = ink_in(shot, row.control->widget()->geometry(),
                                     [want](QRgb p) { return p == want; });
            QVERIFY2(drawn.count > 10, qPrintable(row.control->Name()));
        }
    }

    // Guards against the captions and the pen and pencil buttons drawn on a background of their
    // own: where they draw no text, the window's picture shows through, pixel for pixel.
    void captionsAndRadioButtonsShowTheWindowBackgroundBehindTheirText() {
        Form1 w;
        QVERIFY(support::show_active(w));
        w.button1->setFocus(); // no focus frame on a radio button
        const QImage shot = support::rgb(w.grab());
        const QImage picture = support::rgb(resource_set::picture(u"$this.BackgroundImage"));
        for (tk::Control* c : std::initializer_list<tk::Control*>{
                 w.label_level_title_2, w.label_level_title, w.label_level_value, w.radioButton2,
                 w.radioButton1}) {
            QVERIFY2(!c->BackColor().isValid(), qPrintable(c->Name()));
            const QRect area = c->widget()->geometry();
            int same = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    same += shot.pixel(x, y) == picture.pixel(x, y) ? 1 : 0;
                }
            }
            const int all = area.width() * area.height();
            QVERIFY2(same > all / 2,
                     qPrintable(QString("%1: %2 of %3").arg(c->Name()).arg(same).arg(all)));
        }
    }

    // Guards against captions that do not size themselves to their text ("Current" cut to one
    // letter): each is at least as wide and tall as its text, and grows with it.
    void captionsAndRadioButtonsAreSizedToTheirText() {
        Form1 w;
        QVERIFY(support::show_active(w));
        for (tk::Control* c : std::initializer_list<tk::Control*>{
                 w.label_level_title_2, w.label_level_title, w.label_level_value, w.radioButton2,
                 w.radioButton1}) {
            const QFontMetrics metrics(c->Font());
            const QSize size = c->widget()->size();
            QVERIFY2(size.width() >= metrics.horizontalAdvance(c->Text()),
                     qPrintable(QString("%1: %2 wide").arg(c->Name()).arg(size.width())));
            QVERIFY2(size.height() >= metrics.height(), qPrintable(c->Name()));
        }
        // Every letter of the caption is drawn: ink reaches past its first letter.
        const QImage shot = support::rgb(w.grab());
        const QRect current = w.label_level_title_2->geometry();
        const QRgb blush = lavender_blush.rgb();
        const Ink ink = ink_in(shot, current, [blush](QRgb p) { return p == blush; });
        const QFontMetrics metrics(w.label_level_title_2->Font());
        QVERIFY2(ink.right - current.left() > metrics.horizontalAdvance("Curren"),
                 qPrintable(QString::number(ink.right - current.left())));

        const int one = w.label_level_value->width();
        w.label_level_value->SetText(support::last_puzzle);
        QVERIFY(w.label_level_value->width() > one);
        QVERIFY(w.label_level_value->width() >=
                QFontMetrics(w.label_level_value->Font()).horizontalAdvance(support::last_puzzle));
    }

    // Guards against cell text drawn left- or right-aligned: an answer and a line of pencil
    // marks both sit in the middle of the cell, as does the number in the puzzle-number field.
    void cellTextAndTheNumberFieldAreCentred() {
        Form1 w;
        QVERIFY(support::show_active(w));
        w.button1->setFocus(); // no caret in the pictures
        const auto centre_of = [](QWidget* box, const std::function<bool(QRgb)>& is_ink) {
            const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const Ink ink = ink_in(image, image.rect().adjusted(2, 2, -2, -2), is_ink);
            return ink.count > 0 ? ink.centre_x() - box->width() / 2.0 : 1000.0;
        };
        for (const char* text : {"1", "5", "8"}) {
            w.textBox[20]->SetText(text);
            const double off = centre_of(w.textBox[20], bluish);
            QVERIFY2(std::abs(off) <= 3, qPrintable(QString("%1: %2").arg(text).arg(off)));
        }
        QTest::mouseClick(w.radioButton1, Qt::LeftButton);
        QTest::mouseClick(w.textBox[30], Qt::LeftButton, {}, support::cell_click_point());
        QTest::keyClicks(w.textBox[30], "12");
        QCOMPARE(w.textBox[30]->Text(), QString("\r\n12"));
        w.button1->setFocus();
        const double marks = centre_of(w.textBox[30], bluish);
        QVERIFY2(std::abs(marks) <= 3, qPrintable(QString::number(marks)));

        w.selectPuzzleToolStripMenuItem->PerformClick();
        w.maskedTextBox_select_level->SetText("42");
        w.button1->setFocus();
        const double field =
            centre_of(w.maskedTextBox_select_level, [](QRgb p) { return qGray(p) < 100; });
        QVERIFY2(std::abs(field) <= 3, qPrintable(QString::number(field)));
    }

    // Guards against any colour code painted wrong, 7 and 8 included: puzzles 8 and 113 to 115
    // use all eight codes; every cell is painted, and drawn, in its code's colour.
    void everyColourCodePaintsItsDesignedColour() {
        Form1 w;
        QVERIFY(support::show_active(w));
        w.hardToolStripMenuItem->PerformClick(); // no revealed digit in the way
        std::set<int> codes;
        for (const int p : {8, 113, 114, 115}) {
            w.label_level_value->SetText(QString::number(p));
            QTest::mouseClick(w.button4, Qt::LeftButton); // Start paints the cages
            w.button1->setFocus();
            const QImage shot = support::rgb(w.grab());
            for (int k = 1; k <= 81; ++k) {
                const int code = color_array[p][k];
                QVERIFY(code >= 1 && code <= 8);
                codes.insert(code);
                const QString where =
                    QStringLiteral("puzzle %1 cell %2 code %3").arg(p).arg(k).arg(code);
                QVERIFY2(w.textBox[k]->BackColor() == support::cage_colour(code),
                         qPrintable(where));
                QVERIFY2(w.label[k]->BackColor() == support::cage_colour(code), qPrintable(where));
                // The top-right corner of the cell, clear of its sum label and its text.
                const QPoint corner = w.textBox[k]->geometry().topLeft() + QPoint(44, 6);
                QVERIFY2(shot.pixel(corner) == support::cage_colour(code).rgb(), qPrintable(where));
            }
        }
        QCOMPARE(codes, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    }
};

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
