// The help, puzzle-selection and invalid-number panels, driven with real clicks and keys.
#include "catalogue/tables.h"
#include "tests/support/support.h"
#include "ui/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QTest>

namespace {

using support::show_active;

// The names of count controls of the child list, from the top or the bottom.
QStringList names(const Form1& window, int count, bool from_top = true) {
    QStringList list;
    const int first = from_top ? 0 : static_cast<int>(window.Controls().size()) - count;
    for (int i = first; i < first + count; ++i) {
        list << window.Controls()[i]->Name();
    }
    return list;
}

// Moves the keyboard focus off a field so that its picture shows no caret.
void window_focus_off(QWidget* field) {
    field->clearFocus();
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Opens "Select Puzzle" and enters the text: digits are typed, anything else
// is pasted, since typing could not put it in.
void enter_number(Form1& window, const QString& text) {
    window.selectPuzzleToolStripMenuItem->PerformClick();
    const bool digits = !text.contains(QRegularExpression("[^0-9]"));
    if (digits) {
        QTest::keyClicks(QApplication::focusWidget(), text);
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(window.maskedTextBox_select_level->Text(), text);
}

const QStringList selection_panel = {"button_level_select_continue", "maskedTextBox_select_level",
                                     "pictureBox_select_level"};
const QStringList invalid_panel = {"button_invalid_puzzle_ok", "pictureBox_invalid_number"};

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a second "How to play" stacking a second panel, or one
    // Continue leaving part of it behind.
    void helpOpensOnTopOnceAndOneContinueClosesIt() {
        Form1 window;
        QVERIFY(show_active(window));
        window.howToPlayToolStripMenuItem->PerformClick();
        window.howToPlayToolStripMenuItem->PerformClick();
        QCOMPARE(names(window, 2), QStringList({"button_help_exit", "pictureBox_help_background"}));
        QVERIFY(window.button_help_exit->isVisible());
        click(window.button_help_exit);
        QCOMPARE(names(window, 2, false),
                 QStringList({"pictureBox_help_background", "button_help_exit"}));
        QVERIFY(!window.pictureBox_help_background->Visible());
        QVERIFY(!window.button_help_exit->Visible());
        QVERIFY(window.button_help_exit->Enabled());
    }

    // Guards against unacceptable numbers (unreadable ones included) ending the
    // program, changing the puzzle or closing the selection panel.
    void unacceptableNumbersAreRefusedThroughTheInvalidPanel() {
        Form1 window;
        QVERIFY(show_active(window));
        window.textBox[3]->SetText("8");
        const QString beyond = QString::number(last_playable_puzzle + 1);
        for (const QString& text :
             {QString("0"), beyond, "0" + beyond, QString(), QString("99999999999"),
              QString("4294967297"), QString("12a"), QString("+5"), QString(" 7"), QString("-1")}) {
            enter_number(window, text);
            click(window.button_level_select_continue);
            QCOMPARE(names(window, 5), invalid_panel + selection_panel);
            QVERIFY(window.button_invalid_puzzle_ok->isEnabled());
            QCOMPARE(window.maskedTextBox_select_level->Text(), QString());
            QCOMPARE(window.label_level_value->Text(), QString("1"));
            QCOMPARE(window.textBox[3]->Text(), QString("8"));
            click(window.button_invalid_puzzle_ok);
            QCOMPARE(names(window, 2, false),
                     QStringList({"pictureBox_invalid_number", "button_invalid_puzzle_ok"}));
            QVERIFY(!window.button_invalid_puzzle_ok->Visible());
            QVERIFY(!window.button_invalid_puzzle_ok->Enabled());
            QVERIFY(window.button_level_select_continue->isVisible());
        }
    }

    // Guards against Enter or letters slipping past the field's filter, and
    // against reopening losing what was typed.
    void theFieldTakesDigitsOnlyAndOnlyOkConfirms() {
        Form1 window;
        QVERIFY(show_active(window));
        window.selectPuzzleToolStripMenuItem->PerformClick();
        QCOMPARE(names(window, 3), selection_panel);
        QVERIFY(window.maskedTextBox_select_level->Enabled());
        QCOMPARE(window.ActiveControl(), window.maskedTextBox_select_level);
        QTest::keyClicks(window.maskedTextBox_select_level, "1x 4");
        QTest::keyClick(window.maskedTextBox_select_level, Qt::Key_Return);
        QTest::keyClick(window.maskedTextBox_select_level, Qt::Key_Enter);
        QCOMPARE(window.maskedTextBox_select_level->Text(), QString("14"));
        QVERIFY(window.maskedTextBox_select_level->isVisible());
        QCOMPARE(window.label_level_value->Text(), QString("1"));

        // Help covers the selection panel and Continue uncovers it unchanged.
        window.howToPlayToolStripMenuItem->PerformClick();
        click(window.button_help_exit);
        QCOMPARE(names(window, 3), selection_panel);
        window.selectPuzzleToolStripMenuItem->PerformClick();
        QCOMPARE(window.maskedTextBox_select_level->Text(), QString("14"));
    }

    // Guards against Backspace refused in the number field: a wrong digit can be taken back and
    // the corrected number is the one chosen.
    void backspaceTakesBackADigitInTheNumberField() {
        Form1 window;
        QVERIFY(show_active(window));
        window.selectPuzzleToolStripMenuItem->PerformClick();
        tk::MaskedTextBox* field = window.maskedTextBox_select_level;
        QTest::keyClicks(field, "19");
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->Text(), QString("1"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->Text(), QString());
        QTest::keyClick(field, Qt::Key_Backspace); // nothing left: nothing happens
        QCOMPARE(field->Text(), QString());
        QTest::keyClicks(field, "17");
        click(window.button_level_select_continue);
        QCOMPARE(window.label_level_value->Text(), QString("17"));
    }

    // Guards against a long entry drawn centred with both ends cut off, so that
    // the caret and the digits just typed are out of view.
    void aLongEntryKeepsTheCaretAndTheTypedEndInView() {
        Form1 window;
        QVERIFY(show_active(window));
        window.selectPuzzleToolStripMenuItem->PerformClick();
        tk::MaskedTextBox* field = window.maskedTextBox_select_level;
        QTest::keyClicks(field, "000000000115");
        QCOMPARE(field->SelectionStart(), 12);
        // What shows at the right edge is the end: a click there lands on it.
        const QPoint right_edge(field->width() - 3, field->height() / 2);
        const QPoint left_edge(3, field->height() / 2);
        QTest::mouseClick(field, Qt::LeftButton, {}, right_edge);
        QCOMPARE(field->SelectionStart(), 12);
        // Home scrolls the start into view, and a click at the left edge lands there.
        QTest::keyClick(field, Qt::Key_Home);
        QTest::mouseClick(field, Qt::LeftButton, {}, right_edge);
        QVERIFY2(field->SelectionStart() < 12,
                 qPrintable(QString::number(field->SelectionStart())));
        QTest::mouseClick(field, Qt::LeftButton, {}, left_edge);
        QCOMPARE(field->SelectionStart(), 0);
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, "7");
        QCOMPARE(field->Text(), QString("0000000001157"));
        QTest::mouseClick(field, Qt::LeftButton, {}, right_edge);
        QCOMPARE(field->SelectionStart(), 13);
    }

    // Guards against a pasted text with line breaks drawing its lines over one
    // another in the one-line field.
    void aPastedLineBreakDoesNotOverprintTheField() {
        Form1 window;
        QVERIFY(show_active(window));
        window.selectPuzzleToolStripMenuItem->PerformClick();
        tk::MaskedTextBox* field = window.maskedTextBox_select_level;
        const auto ink_width = [field] {
            window_focus_off(field);
            const QImage shot = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
            int left = shot.width(), right = -1;
            for (int y = 2; y < shot.height() - 2; ++y) {
                for (int x = 2; x < shot.width() - 2; ++x) {
                    if (qGray(shot.pixel(x, y)) < 128) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            }
            return right - left + 1;
        };
        QApplication::clipboard()->setText("1");
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        const int one_digit = ink_width();
        field->SetText(QString());
        field->Focus();
        QApplication::clipboard()->setText("1\r\n2");
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->Text(), QString("1\r\n2"));
        // Side by side, with the break between them, not one over the other.
        QVERIFY2(ink_width() > 2 * one_digit, qPrintable(QString::number(ink_width())));
        click(window.button_level_select_continue); // and it is refused
        QVERIFY(window.button_invalid_puzzle_ok->isVisible());
    }

    // Guards against an accepted number being normalised, the panel staying
    // open, or the chosen puzzle not starting; and against accepting closing
    // the invalid-number panel, which only its own OK does. A number is read as
    // plain decimal whatever its leading zeros: "08" is puzzle 8 (not refused as
    // a bad octal number) and "010" puzzle 10 (not 8), and "0" before the
    // number after the last is refused above (not taken as octal).
    void acceptedNumbersStartThatPuzzleShownAsTyped() {
        Form1 window;
        QVERIFY(show_active(window));
        enter_number(window, "0");
        click(window.button_level_select_continue);
        window.selectPuzzleToolStripMenuItem->PerformClick();
        QCOMPARE(names(window, 5), selection_panel + invalid_panel);
        for (const QString& text :
             {QString("1"), support::last_puzzle, QString("05"), QString("08"), QString("010")}) {
            enter_number(window, text);
            click(window.button_level_select_continue);
            QCOMPARE(window.label_level_value->Text(), QString(text));
            QCOMPARE(names(window, 3, false),
                     QStringList({"pictureBox_select_level", "maskedTextBox_select_level",
                                  "button_level_select_continue"}));
            QVERIFY(!window.maskedTextBox_select_level->Visible());
            QVERIFY(!window.maskedTextBox_select_level->Enabled());
            QCOMPARE(window.maskedTextBox_select_level->Text(), QString());
            const int n = QString(text).toInt();
            int revealed = 0;
            for (int k = 1; k <= 81; ++k) {
                const QString cell = window.textBox[k]->Text();
                QVERIFY(cell.isEmpty() || cell == QString::number(level_array[n][k]));
                revealed += cell.isEmpty() ? 0 : 1;
            }
            QCOMPARE(revealed, 10);
            for (int k = 1; k <= 81; ++k) {
                QCOMPARE(window.label[k]->Text(), QString::number(sum_label_array[n][k]));
                QCOMPARE(window.label[k]->Visible(), sum_label_visible_array[n][k] == 1);
            }
        }
        QVERIFY(window.button_invalid_puzzle_ok->isVisible());
        click(window.button_invalid_puzzle_ok);
        QVERIFY(!window.button_invalid_puzzle_ok->isVisible());
    }

    // Guards against the focus falling to "Start" when a panel closes, where Space or Enter would
    // start the puzzle afresh and lose the board: it goes back to the control that had it when
    // the panel opened, for each of the six panels.
    void theFocusGoesBackWhereItWasWhenEachPanelCloses() {
        Form1 window;
        QVERIFY(show_active(window));
        click(window.button4); // Start
        QCOMPARE(window.ActiveControl(), window.button4);

        click(window.button1); // Check on a board far from done: the incorrect-solution panel
        QVERIFY(window.button_incorrect_solution->isVisible());
        click(window.button_incorrect_solution);
        QCOMPARE(window.ActiveControl(), window.button1);

        tk::TextBox* cell = window.textBox[41];
        QTest::mouseClick(cell, Qt::LeftButton, {}, support::cell_click_point());
        window.howToPlayToolStripMenuItem->PerformClick();
        click(window.button_help_exit);
        QCOMPARE(window.ActiveControl(), cell);

        window.selectPuzzleToolStripMenuItem->PerformClick();
        QCOMPARE(window.ActiveControl(), window.maskedTextBox_select_level);
        click(window.button_level_select_continue); // nothing typed: the invalid-number panel
        QVERIFY(window.button_invalid_puzzle_ok->isVisible());
        click(window.button_invalid_puzzle_ok);
        QCOMPARE(window.ActiveControl(), window.button_level_select_continue);
        QTest::keyClicks(window.maskedTextBox_select_level, support::last_puzzle);
        click(window.button_level_select_continue);
        QCOMPARE(window.label_level_value->Text(), support::last_puzzle);
        QCOMPARE(window.ActiveControl(), cell);

        // The correct panel on the last puzzle: its Continue brings the completed panel.
        click(window.button_request_level); // Show All
        click(window.button1);
        QVERIFY(window.button_correct->isVisible());
        click(window.button_correct);
        QVERIFY(window.button_completed->isVisible());
        QCOMPARE(window.ActiveControl(), window.button1);
        click(window.button_completed);
        QCOMPARE(window.ActiveControl(), window.button1);

        click(window.button2); // Skip Puzzle on the last puzzle: the completed panel again
        QVERIFY(window.button_completed->isVisible());
        click(window.button_completed);
        QCOMPARE(window.ActiveControl(), window.button2);

        // Chosen twice, the selection panel keeps the control noted at its first opening: the
        // focus has moved into its own field by the second, yet OK gives it back to the cell,
        // not to Check.
        QTest::mouseClick(cell, Qt::LeftButton, {}, support::cell_click_point());
        window.selectPuzzleToolStripMenuItem->PerformClick();
        QCOMPARE(window.ActiveControl(), window.maskedTextBox_select_level);
        window.selectPuzzleToolStripMenuItem->PerformClick();
        QTest::keyClicks(window.maskedTextBox_select_level, "7");
        click(window.button_level_select_continue);
        QCOMPARE(window.label_level_value->Text(), QString("7"));
        const tk::Control* focused = window.ActiveControl();
        QCOMPARE(focused != nullptr ? focused->Name() : QString("nothing"), cell->Name());
    }

    // Guards against the focus sent to a control that has gone, or to one that loses the board:
    // the help opened from the number field closes after the selection panel has gone, so the
    // focus goes to Check, not to Start.
    void aFocusThatCannotGoBackGoesToTheOpenPanelOrToCheckNeverToStart() {
        Form1 window;
        QVERIFY(show_active(window));
        click(window.button2); // Skip Puzzle: the player has it
        window.selectPuzzleToolStripMenuItem->PerformClick();
        window.howToPlayToolStripMenuItem->PerformClick(); // notes the number field
        QTest::keyClicks(window.maskedTextBox_select_level, "3");
        click(window.button_level_select_continue);
        QCOMPARE(window.ActiveControl(), window.button2);
        click(window.button_help_exit);
        QCOMPARE(window.ActiveControl(), window.button1);

        // The help opened from the correct panel's Continue, which has gone when the help
        // closes: the selection panel, still open, takes the focus in its field.
        click(window.button_request_level); // Show All
        click(window.button1);
        QVERIFY(window.button_correct->isVisible());
        window.selectPuzzleToolStripMenuItem->PerformClick();
        window.button_correct->setFocus();
        window.howToPlayToolStripMenuItem->PerformClick();
        click(window.button_correct);
        QCOMPARE(window.ActiveControl(), window.button1);
        click(window.button_help_exit);
        QCOMPARE(window.ActiveControl(), window.maskedTextBox_select_level);
    }
};

QTEST_MAIN(PanelsTest)
#include "panels_test.moc"
