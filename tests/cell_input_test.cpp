// Pen and pencil input in the cells, typed and clicked on the real window, and whole games played.
#include "catalogue/tables.h"
#include "tests/support/support.h"
#include "ui/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <random>

namespace {

using support::show_active;

const QString prefix = QStringLiteral("\r\n");

// Keys go where the player's keys go: to the focused widget.
void type(const QString& text) {
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), k, modifiers);
}

void click_cell(Form1& window, int k) {
    QTest::mouseClick(window.textBox[k], Qt::LeftButton, {}, support::cell_click_point());
}

void choose(tk::RadioButton* mode) {
    QTest::mouseClick(mode, Qt::LeftButton);
}

// Moves the focus into cell 9 the way the keyboard does: Tab from "Check".
void tab_into_top_left_cell(Form1& window) {
    window.button1->setFocus();
    key(Qt::Key_Tab);
}

// The rows of a cell's picture that hold ink of the cells' dark blue.
struct Ink {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool any() const { return top >= 0; }
};
Ink ink_of(tk::TextBox* cell) {
    const QImage shot = cell->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Ink ink;
    // Inside the border, where only the text is drawn.
    for (int y = 2; y < shot.height() - 2; ++y) {
        for (int x = 2; x < shot.width() - 2; ++x) {
            const QRgb p = shot.pixel(x, y);
            if (qBlue(p) > 120 && qRed(p) < 120 && qGreen(p) < 120) {
                ink.top = ink.top < 0 ? y : ink.top;
                ink.bottom = y;
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    }
    return ink;
}

// How a paste reaches a cell: the two paste keys, the middle button (the
// selection, where the platform keeps one) and a drop.
enum class Route { CtrlV, ShiftInsert, Middle, Drop };

// How the cell to paste into is reached: clicked in the mode; clicked and
// given the marks 13; clicked in pencil mode (length limit 11) and then
// emptied by the game while Pen is chosen; a cell never clicked, reached with Shift+Tab from Start
// after Clear Cells; or a cell with no focus at all (the paste brings it).
enum class Reach { Clicked, ClickedWithMarks, ClickedEmptied, NeverClicked, Unfocused };

// Pastes the text as a player would by the given route, at the far right of
// the cell's second line (where the marks end) for the routes that point.
void paste_into(tk::TextBox* cell, Route route, const QString& text) {
    const QPoint at(49, 40);
    switch (route) {
    case Route::CtrlV:
        QApplication::clipboard()->setText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        break;
    case Route::ShiftInsert:
        QApplication::clipboard()->setText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case Route::Middle:
        QApplication::clipboard()->setText(QStringLiteral("9"));
        QApplication::clipboard()->setText(text, QClipboard::Selection);
        QTest::mouseClick(cell, Qt::MiddleButton, {}, at);
        break;
    case Route::Drop: {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(cell, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(cell, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(cell, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        break;
    }
    }
}

} // namespace

class CellInputTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a revealed digit surviving a pen click, and a second digit joining the first.
    void penClickEmptiesACellAndTakesExactlyOneDigit() {
        Form1 window;
        QVERIFY(show_active(window));
        window.textBox[5]->SetText("7");
        click_cell(window, 5);
        QCOMPARE(window.textBox[5]->Text(), QString());
        QCOMPARE(window.textBox[5]->MaxLength(), 1);
        type("56");
        QCOMPARE(window.textBox[5]->Text(), QString("5"));
        key(Qt::Key_Backspace); // a single digit goes only by clicking again
        QCOMPARE(window.textBox[5]->Text(), QString("5"));
    }

    // Guards against marks losing their line-break prefix and against a tenth mark.
    void pencilMarksFollowTheLineBreakAndBackspaceStopsAtIt() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        tk::TextBox* cell = window.textBox[40];
        cell->SetText("6"); // a single digit gives way to the bare prefix
        click_cell(window, 40);
        QCOMPARE(cell->Text(), prefix);
        QCOMPARE(cell->Font().family(), QString("Arial"));
        type("133");
        QCOMPARE(cell->Text(), prefix + "133");
        key(Qt::Key_Backspace);
        QCOMPARE(cell->Text(), prefix + "13");
        click_cell(window, 40); // pencil text survives a pencil click
        QCOMPARE(cell->Text(), prefix + "13");
        key(Qt::Key_End);
        for (int i = 0; i < 4; ++i) {
            key(Qt::Key_Backspace);
        }
        QCOMPARE(cell->Text(), prefix);
        type("1234567899");
        QCOMPARE(cell->Text(), prefix + "123456789");
        choose(window.radioButton2); // choosing Pen restyles nothing until the next click
        QCOMPARE(cell->Font().family(), QString("Arial"));
    }

    // Guards against stray characters in a cell and Tab moving the focus out of
    // it. The cell's own filter must refuse them: each is typed where the length
    // limit leaves room, and every character that reaches the filter, Enter,
    // Tab and Escape included, must come out handled.
    void refusedKeysLeaveTheCellAndTheFocusAlone() {
        Form1 window;
        QVERIFY(show_active(window));
        tk::TextBox* cell = window.textBox[23];
        QList<QPair<QChar, bool>> presses;
        QList<QPair<int, bool>> downs;
        // Connected after the window's own handlers, so these see their verdict.
        connect(cell, &tk::TextBox::KeyPress, &window, [&](tk::KeyPressEventArgs& e) {
            presses.append({e.KeyChar, e.Handled});
        });
        connect(cell, &tk::TextBox::KeyDown, &window, [&](tk::KeyEventArgs& e) {
            // The modifier keys held with Tab come as keys of their own.
            if (e.KeyCode != Qt::Key_Tab && e.KeyCode != Qt::Key_Backtab) {
                return;
            }
            downs.append({e.KeyCode, e.Handled});
        });
        for (tk::RadioButton* mode : {window.radioButton2, window.radioButton1}) {
            choose(mode);
            click_cell(window, 23); // empty in pen (limit 1), the prefix in pencil (limit 11)
            const QString before = cell->Text();
            presses.clear();
            downs.clear();
            type("0aZ -");
            for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                key(k);
            }
            QCOMPARE(presses.size(), 8);
            for (const auto& [c, handled] : presses) {
                QVERIFY2(handled, qPrintable(QString("character %1").arg(c.unicode())));
            }
            for (const auto tab : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
                downs.clear();
                presses.clear();
                key(Qt::Key_Tab, tab);
                QCOMPARE(downs.size(), 1);
                QVERIFY(downs[0].second);
                QVERIFY(presses.isEmpty());
            }
            QCOMPARE(cell->Text(), before);
            QCOMPARE(window.ActiveControl(), cell);
            // A digit still goes in, so the cell did have room.
            type("4");
            QCOMPARE(cell->Text(), before + "4");
        }
    }

    // Guards against the caret landing anywhere but where a player expects:
    // after a pencil click on an empty cell, after a click on marks, when set
    // past the end, or between the two characters of the line break.
    void theCaretStandsWhereClicksAndTheGamePutIt() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        tk::TextBox* cell = window.textBox[60];
        click_cell(window, 60);
        QCOMPARE(cell->Text(), prefix);
        QCOMPARE(cell->SelectionStart(), 2);
        type("1234");
        // A click on the marks keeps them and puts the caret where it lands.
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(3, 40));
        QCOMPARE(cell->Text(), prefix + "1234");
        QCOMPARE(cell->SelectionStart(), 2);
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(49, 40));
        QCOMPARE(cell->SelectionStart(), 6);
        QTest::mouseClick(cell, Qt::LeftButton, {}, support::cell_click_point());
        QVERIFY(cell->SelectionStart() > 2 && cell->SelectionStart() < 6);
        // The marks are centred, so the cell's middle lies between the second and third.
        QCOMPARE(cell->SelectionStart(), 4);
        type("9"); // typed where the caret stands
        QCOMPARE(cell->Text().size(), 7);
        QVERIFY(cell->Text() != prefix + "12349");
        QCOMPARE(cell->Text(), prefix + "12934");
        QCOMPARE(cell->SelectionStart(), 5);
        // A click on the empty first line puts the caret in front of the break.
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(26, 4));
        QCOMPARE(cell->SelectionStart(), 0);
        cell->SetSelectionStart(99);
        QCOMPARE(cell->SelectionStart(), 7);
        cell->SetSelectionStart(-3);
        QCOMPARE(cell->SelectionStart(), 0);
        cell->SetSelectionStart(1); // never between the carriage return and the line feed
        QCOMPARE(cell->SelectionStart(), 2);
        key(Qt::Key_Left);
        QCOMPARE(cell->SelectionStart(), 0);
        key(Qt::Key_Right);
        QCOMPARE(cell->SelectionStart(), 2);
    }

    // Guards against the pencil style drifting: limit 11 (prefix and nine
    // marks), "Arial" 10 regular; the pen style limit 1, "Kristen ITC" 26.25 bold.
    void pencilAndPenClicksSetTheLimitAndFontOfTheirMode() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        click_cell(window, 33);
        tk::TextBox* cell = window.textBox[33];
        QCOMPARE(cell->MaxLength(), 11);
        QCOMPARE(cell->Font().family(), QString("Arial"));
        QCOMPARE(cell->Font().pointSizeF(), 10.0);
        QVERIFY(!cell->Font().bold());
        QCOMPARE(cell->Font().weight(), QFont::Normal);
        type("9876543210123");
        QCOMPARE(cell->Text(), prefix + "987654321"); // eleven characters, the 0 refused
        choose(window.radioButton2);
        click_cell(window, 33);
        QCOMPARE(cell->MaxLength(), 1);
        QCOMPARE(cell->Font().family(), QString("Kristen ITC"));
        QCOMPARE(cell->Font().pointSizeF(), 26.25);
        QVERIFY(cell->Font().bold());
    }

    // Guards against a cell that keeps the focus in pencil mode being revealed
    // by Restart: emptying the board gives the focused cell the bare prefix,
    // so the reveal passes it by.
    void restartWhileAPencilCellKeepsTheFocusLeavesItThePrefix() {
        Form1 window;
        QVERIFY(show_active(window));
        window.easyToolStripMenuItem->PerformClick(); // twenty cells a start
        choose(window.radioButton1);
        click_cell(window, 41);
        type("5");
        for (int i = 0; i < 40; ++i) {
            window.restartToolStripMenuItem->PerformClick();
            QCOMPARE(window.ActiveControl(), window.textBox[41]);
            QCOMPARE(window.textBox[41]->Text(), prefix);
            int revealed = 0;
            for (int k = 1; k <= 81; ++k) {
                revealed += window.textBox[k]->Text().size() == 1 ? 1 : 0;
            }
            QCOMPARE(revealed, 20);
        }
    }

    // Guards against the focus order of the cells: left to right within a row
    // (the opposite of their numbering), row by row, walked with real Tab and
    // Shift+Tab presses. Cells take Tab as a key, so for the walk they are
    // made to pass it on as other controls do.
    void tabAndShiftTabWalkTheCellsLeftToRightRowByRow() {
        Form1 window;
        QVERIFY(show_active(window));
        window.button1->setFocus(); // "Check", the last button before the grid
        key(Qt::Key_Tab);
        QCOMPARE(window.ActiveControl(), window.textBox[9]);
        for (int k = 1; k <= 81; ++k) {
            window.textBox[k]->SetAcceptsTab(false);
        }
        QList<QWidget*> expected;
        for (int r = 0; r < 9; ++r) {
            for (int p = 8; p >= 0; --p) {
                expected << window.textBox[9 * r + p + 1];
            }
        }
        expected << window.button4_show_cell << window.button3;
        for (int i = 1; i < expected.size(); ++i) {
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected[i]);
        }
        for (int i = expected.size() - 2; i >= 0; --i) {
            key(Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), expected[i]);
        }
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), window.button1);
        // Taking Tab as a key again, a cell keeps the focus.
        window.textBox[41]->SetAcceptsTab(true);
        window.textBox[41]->setFocus();
        key(Qt::Key_Tab);
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), window.textBox[41]);
    }

    // Guards against moves that follow the right-to-left numbering instead of the screen, that
    // wrap or leave the board at an edge, or that touch a cell as a click would: Alt with the
    // arrows walks round the board's edge from the top-left corner, stands still against each of
    // the four edges, and leaves every cell's text, font and caret as they were, revealed digits
    // included.
    void altArrowsMoveTheFocusAsTheBoardLiesAndStopAtEveryEdge() {
        Form1 window;
        QVERIFY(show_active(window));
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start: revealed digits
        tab_into_top_left_cell(window);
        const auto board = [&] {
            QStringList all;
            for (int k = 1; k <= 81; ++k) {
                all << window.textBox[k]->Text() << window.textBox[k]->Font().toString()
                    << QString::number(window.textBox[k]->SelectionStart());
            }
            return all;
        };
        const QStringList before = board();
        // Each leg runs along an edge, and at every cell a key towards that edge goes nowhere.
        const struct {
            Qt::Key key;
            int rows;
            int columns;
            Qt::Key outwards;
        } legs[] = {{Qt::Key_Right, 0, 1, Qt::Key_Up},
                    {Qt::Key_Down, 1, 0, Qt::Key_Right},
                    {Qt::Key_Left, 0, -1, Qt::Key_Down},
                    {Qt::Key_Up, -1, 0, Qt::Key_Left}};
        int row = 0;
        int column = 0;
        for (const auto& leg : legs) {
            // Eight steps across the board, then one against its edge.
            for (int step = 0; step < 9; ++step) {
                for (const Qt::Key k : {leg.outwards, leg.key}) {
                    key(k, Qt::AltModifier);
                    if (k == leg.key && step < 8) {
                        row += leg.rows;
                        column += leg.columns;
                    }
                    // Written out: cells are numbered from the right within a row.
                    QCOMPARE(window.ActiveControl(), window.textBox[9 * row + (8 - column) + 1]);
                }
            }
        }
        QCOMPARE(board(), before);
    }

    // Guards against one corner cell (the top-left) missing the pencil rewrite.
    void everyCellRewritesToPencilTextIncludingTheTopLeftCorner() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        for (int k = 1; k <= 81; ++k) {
            window.textBox[k]->setFocus();
            window.textBox[k]->SetText("57");
            QCOMPARE(window.textBox[k]->Text(), prefix + "57");
        }
        // The rewrite acts on the focused cell, whichever cell changed.
        window.textBox[30]->setFocus();
        window.textBox[30]->SetText("\r5");
        QCOMPARE(window.textBox[30]->Text(), QString("\r5"));
        window.textBox[30]->SetText("7");
        QCOMPARE(window.textBox[30]->Text(), prefix);
        window.textBox[30]->SetText("");
        window.textBox[31]->SetText("3");
        QCOMPARE(window.textBox[30]->Text(), prefix);
    }

    // Guards against a cell reached with Tab keeping its first limit of nine.
    void aCellReachedWithTabTakesOneAnswerDigitInPen() {
        Form1 window;
        QVERIFY(show_active(window));
        tab_into_top_left_cell(window);
        QCOMPARE(window.ActiveControl(), window.textBox[9]);
        type("56");
        QCOMPARE(window.textBox[9]->Text(), QString("5"));
    }

    // Guards against pencil marks in a cell reached by Tab (which keeps the
    // large answer font) drawn as a big, cut-off number that reads like an answer.
    void pencilMarksInACellReachedByTabDrawSmallUnderTheEmptyFirstLine() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        tab_into_top_left_cell(window);
        tk::TextBox* cell = window.textBox[9];
        // The first digit gives way to the bare prefix; the limit of 9 holds seven marks.
        type("123456789");
        QCOMPARE(cell->Text(), prefix + "2345678");
        QCOMPARE(cell->Font().pointSizeF(), 26.25); // the cell keeps its font
        QCOMPARE(cell->MaxLength(), 9);
        window.button1->setFocus(); // no caret in the picture
        const Ink marks = ink_of(cell);
        QVERIFY(marks.any());
        // All of it below the empty first line, clear of the border, and no
        // taller than small print.
        QVERIFY2(marks.top > cell->height() / 2 - 4, qPrintable(QString::number(marks.top)));
        QVERIFY(marks.bottom < cell->height() - 2);
        QVERIFY2(marks.bottom - marks.top < 22, qPrintable(QString::number(marks.bottom)));
        // A big digit of an answer, for comparison, fills the middle of the cell.
        cell->SetText("5");
        const Ink answer = ink_of(cell);
        QVERIFY(answer.top < cell->height() / 2 - 4);
        QVERIFY(answer.bottom - answer.top > marks.bottom - marks.top);
    }

    // Guards against Home and End jumping to the ends of the whole text, and
    // Up and Down doing nothing, in a multi-line cell.
    void homeEndUpAndDownKeepToTheRowsOfACell() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        click_cell(window, 50);
        tk::TextBox* cell = window.textBox[50];
        type("123");
        QCOMPARE(cell->SelectionStart(), 5);
        key(Qt::Key_Home); // the start of the marks' line, after the prefix
        QCOMPARE(cell->SelectionStart(), 2);
        key(Qt::Key_Right);
        key(Qt::Key_End);
        QCOMPARE(cell->SelectionStart(), 5);
        key(Qt::Key_Up); // the empty first line has one place only
        QCOMPARE(cell->SelectionStart(), 0);
        key(Qt::Key_Up);
        QCOMPARE(cell->SelectionStart(), 0);
        key(Qt::Key_End);
        QCOMPARE(cell->SelectionStart(), 0);
        key(Qt::Key_Down); // back to the marks, near the middle where they are centred
        QVERIFY(cell->SelectionStart() >= 2 && cell->SelectionStart() <= 5);
        key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(cell->SelectionStart(), 5);
        key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(cell->SelectionStart(), 0);
        key(Qt::Key_Down);
        key(Qt::Key_Down); // no row below the last
        QVERIFY(cell->SelectionStart() >= 2);
        // Nine marks wrap onto a third row; Home and End keep to the caret's row.
        key(Qt::Key_End, Qt::ControlModifier);
        type("456789");
        QCOMPARE(cell->Text(), prefix + "123456789");
        key(Qt::Key_Home);
        const int last_row = cell->SelectionStart();
        QVERIFY2(last_row > 2 && last_row < 11, qPrintable(QString::number(last_row)));
        key(Qt::Key_Up);
        QVERIFY(cell->SelectionStart() >= 2 && cell->SelectionStart() < last_row);
        key(Qt::Key_Home);
        QCOMPARE(cell->SelectionStart(), 2);
        QCOMPARE(cell->Text(), prefix + "123456789");
    }

    // Guards against pen-mode keys stripping or pushing aside the prefix of marks.
    void penKeysNeverBreakPencilText() {
        Form1 window;
        QVERIFY(show_active(window));
        choose(window.radioButton1);
        click_cell(window, 9);
        type("12");
        key(Qt::Key_Home,
            Qt::ControlModifier); // pencil Delete in front of the prefix keeps the marks too
        key(Qt::Key_Delete);
        QCOMPARE(window.textBox[9]->Text(), prefix + "12");
        choose(window.radioButton2);
        tab_into_top_left_cell(window);
        key(Qt::Key_End, Qt::ControlModifier);
        type("3");
        QCOMPARE(window.textBox[9]->Text(), prefix + "123");
        key(Qt::Key_Home, Qt::ControlModifier);
        type("4");
        key(Qt::Key_Delete);
        key(Qt::Key_Right);
        key(Qt::Key_Backspace);
        QCOMPARE(window.textBox[9]->Text(), prefix + "123");
        key(Qt::Key_End, Qt::ControlModifier);
        key(Qt::Key_Backspace);
        QCOMPARE(window.textBox[9]->Text(), prefix + "12");
    }

    // Guards against pastes, middle clicks, drops, menus, undo and input methods
    // bringing in what typing could not.
    void pastesPassTheKeyFilterAndNothingElseGetsIn() {
        Form1 window;
        QVERIFY(show_active(window));
        QApplication::clipboard()->setText("a7\r\n05");
        click_cell(window, 12);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window.textBox[12]->Text(), QString("7"));
        // Undo has something to bring back here (the 7 a pen click emptied); it must not.
        click_cell(window, 12);
        QCOMPARE(window.textBox[12]->Text(), QString());
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(window.textBox[12]->Text(), QString());
        choose(window.radioButton1);
        click_cell(window, 13);
        key(Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(window.textBox[13]->Text(), prefix + "75");
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.textBox[13]->Text(), prefix + "75");
        // A middle click on a cell with room for marks pastes the selection
        // where the platform keeps one (X11), and elsewhere (offscreen)
        // nothing, not even the clipboard.
        QApplication::clipboard()->setText("3");
        QApplication::clipboard()->setText("a4", QClipboard::Selection);
        const QString middle = QApplication::clipboard()->supportsSelection() ? "4" : "";
        click_cell(window, 14);
        QCOMPARE(window.textBox[14]->Text(), prefix);
        QTest::mouseClick(window.textBox[14], Qt::MiddleButton, {}, support::cell_click_point());
        QCOMPARE(window.textBox[14]->Text(), prefix + middle);
        key(Qt::Key_V, Qt::ControlModifier); // while a paste does go in
        QCOMPARE(window.textBox[14]->Text(), prefix + middle + "3");
        for (int k = 1; k <= 81; ++k) {
            // Drops are pastes, filtered as such.
            QVERIFY(window.textBox[k]->acceptDrops());
            QCOMPARE(window.textBox[k]->contextMenuPolicy(), Qt::NoContextMenu);
            QVERIFY(!window.textBox[k]->testAttribute(Qt::WA_InputMethodEnabled));
        }
    }

    // Guards against a paste entering a cell character by character (a pencil
    // cell that becomes "57" must keep both marks, not lose the 5 to the
    // prefix rewrite), against a paste taking what typing could not (letters,
    // "0", line breaks, a second answer digit, more than the length limit),
    // and against a drop or a middle click pasting into a cell without giving
    // it the focus. Every row runs by each route a player pastes with.
    void pastesGoInWholeAndFilteredByTheTypingRules_data() {
        QTest::addColumn<Route>("route");
        QTest::addColumn<bool>("pencil");
        QTest::addColumn<Reach>("reach");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        struct Case {
            const char* name;
            bool pencil;
            Reach reach;
            const char* pasted;
            QString expected;
        };
        const Case cases[] = {
            {"pencil, never clicked: 57", true, Reach::NeverClicked, "57", prefix + "57"},
            {"pencil, never clicked: noise round 5 and 7", true, Reach::NeverClicked, "a5 \r\n0b7x",
             prefix + "57"},
            {"pencil, never clicked: limit 9", true, Reach::NeverClicked, "1234567891234",
             prefix + "123456789"},
            {"pencil, clicked: 57", true, Reach::Clicked, "57", prefix + "57"},
            {"pencil, clicked: ten marks", true, Reach::Clicked, "9876543210123",
             prefix + "987654321"},
            {"pencil, clicked, then emptied by the game: ten marks", true, Reach::ClickedEmptied,
             "5486498651", prefix + "548649865"},
            {"pencil, marks 13: 57", true, Reach::ClickedWithMarks, "57", prefix + "1357"},
            {"pencil, no focus: 57", true, Reach::Unfocused, "57", prefix + "57"},
            {"pen, clicked: 57", false, Reach::Clicked, "57", "5"},
            {"pen, clicked: letters then 7", false, Reach::Clicked, "ab\r\n7", "7"},
            {"pen, never clicked: 57", false, Reach::NeverClicked, "57", "5"},
            {"pen, answer 5: 7", false, Reach::ClickedWithMarks, "7", "5"},
            {"pen, no focus: 0 then 3", false, Reach::Unfocused, "03", "3"},
        };
        const std::pair<Route, const char*> routes[] = {{Route::CtrlV, "Ctrl+V"},
                                                        {Route::ShiftInsert, "Shift+Insert"},
                                                        {Route::Middle, "middle button"},
                                                        {Route::Drop, "drop"}};
        for (const auto& [route, route_name] : routes) {
            for (const Case& c : cases) {
                // The paste keys need a focused cell to go to.
                if (c.reach == Reach::Unfocused &&
                    (route == Route::CtrlV || route == Route::ShiftInsert)) {
                    continue;
                }
                QTest::addRow("%s, %s", route_name, c.name)
                    << route << c.pencil << c.reach << QString::fromLatin1(c.pasted) << c.expected;
            }
        }
    }

    void pastesGoInWholeAndFilteredByTheTypingRules() {
        QFETCH(Route, route);
        QFETCH(bool, pencil);
        QFETCH(Reach, reach);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        if (route == Route::Middle && !QApplication::clipboard()->supportsSelection()) {
            QSKIP("this platform keeps no selection for the middle button to paste");
        }
        Form1 window;
        QVERIFY(show_active(window));
        choose(pencil ? window.radioButton1 : window.radioButton2);
        tk::TextBox* cell = window.textBox[41];
        switch (reach) {
        case Reach::Clicked:
            click_cell(window, 41);
            break;
        case Reach::ClickedWithMarks:
            // Pencil marks 13, or in pen mode the answer 5.
            click_cell(window, 41);
            type(pencil ? "13" : "5");
            break;
        case Reach::ClickedEmptied:
            click_cell(window, 41);
            choose(window.radioButton2);
            cell->SetText(QString());
            choose(window.radioButton1);
            cell->setFocus(Qt::TabFocusReason);
            QCOMPARE(cell->Text(), QString());
            QCOMPARE(cell->MaxLength(), 11);
            break;
        case Reach::NeverClicked: {
            // Shift+Tab from Start passes the checked radio button, "Clear
            // Cells" and "Show a Cell" and stops in the last cell of the tab
            // order, the bottom-right one.
            QTest::mouseClick(window.button3, Qt::LeftButton); // Clear Cells
            window.button4->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 4; ++i) {
                key(Qt::Key_Backtab, Qt::ShiftModifier);
            }
            cell = window.textBox[73];
            QCOMPARE(window.ActiveControl(), cell);
            QCOMPARE(cell->MaxLength(), 9);
            break;
        }
        case Reach::Unfocused:
            window.button4->setFocus(Qt::TabFocusReason);
            break;
        }
        const QString before = cell->Text();
        QStringList seen;
        connect(cell, &tk::TextBox::TextChanged, &window, [&] { seen << cell->Text(); });
        paste_into(cell, route, pasted);
        QCOMPARE(window.ActiveControl(), cell);
        QCOMPARE(cell->Text(), expected);
        // The first change already holds the whole paste; in pencil mode the
        // rewrite under the prefix may follow it, and nothing else.
        const auto marks = [](QString text) { return text.remove(prefix); };
        if (expected == before) {
            QVERIFY2(seen.isEmpty(), qPrintable(seen.join(u'|')));
        } else {
            QVERIFY(!seen.isEmpty() && seen.size() <= 2);
            QCOMPARE(marks(seen.first()), marks(expected));
        }
    }

    // Guards against any path of clicks, keys, pastes, mode changes and game
    // writes leaving a cell outside its three forms.
    void randomPlayKeepsEveryCellInItsForm() {
        Form1 window;
        QVERIFY(show_active(window));
        const unsigned long long seed = support::test_seed();
        std::mt19937_64 random(seed);
        const auto pick = [&random](int n) { return static_cast<int>(random() % n); };
        const QStringList clips = {"5", "12", "\r\n3", "a7", "0", "98765432"};
        const Qt::Key keys[] = {Qt::Key_1,      Qt::Key_5,     Qt::Key_9,      Qt::Key_0,
                                Qt::Key_A,      Qt::Key_Space, Qt::Key_Return, Qt::Key_Backspace,
                                Qt::Key_Delete, Qt::Key_Home,  Qt::Key_End,    Qt::Key_Left,
                                Qt::Key_Right,  Qt::Key_Tab,   Qt::Key_V,      Qt::Key_Insert};
        for (int step = 0; step < 3000; ++step) {
            const int k = 1 + pick(81);
            switch (pick(8)) {
            case 0:
                QTest::mouseClick(window.textBox[k], Qt::LeftButton, {},
                                  QPoint(4 + pick(44), 4 + pick(44)));
                break;
            case 1:
                choose(pick(2) == 0 ? window.radioButton1 : window.radioButton2);
                break;
            case 2:
                window.textBox[k]->setFocus(Qt::TabFocusReason);
                break;
            case 3: // the game reveals or clears a cell
                if (window.textBox[k]->Text().size() < 2) {
                    window.textBox[k]->SetText(pick(2) ? QString::number(1 + pick(9)) : "");
                }
                break;
            default: { // keys for the focused cell; a focused radio button sits this out
                if (window.ActiveControl() == nullptr ||
                    window.ActiveControl()->kind() != tk::Kind::TextBox) {
                    break;
                }
                QApplication::clipboard()->setText(clips[pick(static_cast<int>(clips.size()))]);
                const Qt::Key press = keys[pick(static_cast<int>(std::size(keys)))];
                key(press, press == Qt::Key_V                        ? Qt::ControlModifier
                           : press == Qt::Key_Insert || pick(4) == 0 ? Qt::ShiftModifier
                                                                     : Qt::NoModifier);
            }
            }
            for (int c = 1; c <= 81; ++c) {
                QVERIFY2(support::is_cell_form(window.textBox[c]->Text()),
                         qPrintable(QString("seed %1 step %2 cell %3").arg(seed).arg(step).arg(c)));
            }
        }
    }

    // Guards against typed answers not reaching the check, and Continue not
    // moving on to the next puzzle.
    void twoGamesPlayedByTypingEndToEnd() {
        Form1 window;
        QVERIFY(show_active(window));
        for (int n : {1, 2}) {
            QCOMPARE(window.label_level_value->Text(), QString::number(n));
            QTest::mouseClick(window.button4, Qt::LeftButton);
            int wrong_cell = 0;
            for (int k = 1; k <= 81; ++k) {
                const QString answer = QString::number(level_array[n][k]);
                if (!window.textBox[k]->Text().isEmpty()) {
                    QCOMPARE(window.textBox[k]->Text(), answer);
                    continue;
                }
                click_cell(window, k);
                // The second game gets one wrong digit, put right after the check.
                wrong_cell = n == 2 && wrong_cell == 0 ? k : wrong_cell;
                type(k == wrong_cell ? QString::number(level_array[n][k] % 9 + 1) : answer);
            }
            if (wrong_cell != 0) {
                QTest::mouseClick(window.button1, Qt::LeftButton);
                QVERIFY(window.button_incorrect_solution->isVisible());
                QVERIFY(!window.button_correct->isVisible());
                QTest::mouseClick(window.button_incorrect_solution, Qt::LeftButton);
                click_cell(window, wrong_cell);
                type(QString::number(level_array[n][wrong_cell]));
            }
            QTest::mouseClick(window.button1, Qt::LeftButton);
            QVERIFY(window.button_correct->isVisible());
            QCOMPARE(window.Controls().front(), window.button_correct);
            QTest::mouseClick(window.button_correct, Qt::LeftButton);
            QVERIFY(!window.button_correct->isVisible());
            QCOMPARE(window.label_level_value->Text(), QString::number(n + 1));
            int revealed = 0;
            for (int k = 1; k <= 81; ++k) {
                const QString text = window.textBox[k]->Text();
                QVERIFY(text.isEmpty() || text == QString::number(level_array[n + 1][k]));
                revealed += text.isEmpty() ? 0 : 1;
            }
            QCOMPARE(revealed, 10); // "Normal" reveals ten cells
        }
    }
};

QTEST_MAIN(CellInputTest)
#include "cell_input_test.moc"
