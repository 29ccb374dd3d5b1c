// What Qt's accessibility framework (and so a screen reader) gets from the real window: cell names
// and readings, the change notices sent as the player types, and the pictures' messages.
#include "catalogue/tables.h"
#include "core/cages.h"
#include "core/cells.h"
#include "tests/support/support.h"
#include "toolkit/accessibility.h"
#include "ui/form1.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

using support::show_active;

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString name_of(QObject* object) {
    return accessible(object)->text(QAccessible::Name);
}

QString reading_of(QObject* object) {
    QAccessibleTextInterface* text = accessible(object)->textInterface();
    return text != nullptr ? text->text(0, text->characterCount()) : QStringLiteral("<no text>");
}

QString description_of(QObject* object) {
    return accessible(object)->text(QAccessible::Description);
}

// The notification the game's notices show as, beside the level display; none before the first.
QWidget* notice_of(Form1& window) {
    for (QWidget* child : window.label_level_value->findChildren<QWidget*>()) {
        if (accessible(child)->role() == QAccessible::Notification) {
            return child;
        }
    }
    return nullptr;
}

// A cage as a cell's description tells it: its size, its sum, and the rows and columns (from 1) of
// its other cells. Anything not said in the two forms a cell uses reads as size -1.
struct ToldCage {
    int size = 0;
    int sum = -1;
    QSet<QPair<int, int>> mates;
};

ToldCage told_cage(const QString& description) {
    ToldCage told;
    static const QRegularExpression alone(QStringLiteral("^one-cell cage, sum (\\d+)$"));
    static const QRegularExpression many(
        QStringLiteral("^cage of (\\d+) cells, sum (\\d+), with (.+)$"));
    static const QRegularExpression row(QStringLiteral("^row (\\d), columns? ([1-9, and]+)$"));
    static const QRegularExpression between(QStringLiteral(", | and "));
    if (const auto m = alone.match(description); m.hasMatch()) {
        return {1, m.captured(1).toInt(), {}};
    }
    const auto m = many.match(description);
    if (!m.hasMatch()) {
        told.size = description.isEmpty() ? 0 : -1;
        return told;
    }
    told.size = m.captured(1).toInt();
    told.sum = m.captured(2).toInt();
    for (const QString& part : m.captured(3).split(QStringLiteral("; "))) {
        const auto r = row.match(part);
        if (!r.hasMatch()) {
            told.size = -1;
            return told;
        }
        for (const QString& column : r.captured(2).split(between)) {
            told.mates.insert({r.captured(1).toInt(), column.toInt()});
        }
    }
    return told;
}

// Since the last clear: the objects readers were told to name again; the boxes they were told of
// a caret move in while the box had no focus; and, in order, those told to read their description
// again and those told to have taken the focus.
QList<QObject*> renamed;
QList<QObject*> unfocused_carets;
QList<QPair<QAccessible::Event, QObject*>> described_or_focused;

// Starts noting name changes, caret moves away from the focus, description changes and focus
// moves in the lists above. They reach readers only through a live bridge (on X, with the AT-SPI
// bus, once it has reached the bus); without one this says false and notes nothing.
bool listen_for_renames() {
    renamed.clear();
    unfocused_carets.clear();
    described_or_focused.clear();
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::NameChanged) {
            renamed << event->object();
        }
        const auto* box = qobject_cast<QWidget*>(event->object());
        if (event->type() == QAccessible::TextCaretMoved && box != nullptr && !box->hasFocus()) {
            unfocused_carets << event->object();
        }
        if (event->type() == QAccessible::DescriptionChanged ||
            event->type() == QAccessible::Focus) {
            described_or_focused << qMakePair(event->type(), event->object());
        }
    });
    const bool on_x = QGuiApplication::platformName() == QLatin1String("xcb");
    if (!(on_x ? QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000)
               : QAccessible::isActive())) {
        QAccessible::installUpdateHandler(nullptr);
        return false;
    }
    return true;
}

} // namespace

// A live bridge comes up only on X, and there it must: the accessibility_notices test counts on it.
#define LISTEN_FOR_RENAMES_OR_SKIP()                                                               \
    if (!listen_for_renames()) {                                                                   \
        QVERIFY2(QGuiApplication::platformName() != QLatin1String("xcb"),                          \
                 "the accessibility bridge never reached the AT-SPI bus");                         \
        QSKIP("needs a live accessibility bridge: the accessibility_notices test runs this");      \
    }

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against cells named in the game's internal right-to-left order instead of as the
    // player sees them, and against cells that a screen reader sees as nameless fillers.
    void everyCellIsAnEditableTextNamedByItsRowAndColumnOnTheScreen() {
        Form1 window;
        QVERIFY(show_active(window));
        // Rows and columns as they lie on the screen, counted from the top-left.
        std::vector<int> xs, ys;
        for (int k = 1; k <= 81; ++k) {
            xs.push_back(window.textBox[k]->x());
            ys.push_back(window.textBox[k]->y());
        }
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
        QCOMPARE(xs.size(), size_t(9));
        QSet<QString> names;
        for (int k = 1; k <= 81; ++k) {
            tk::TextBox* cell = window.textBox[k];
            const auto column = std::find(xs.begin(), xs.end(), cell->x()) - xs.begin() + 1;
            const auto row = std::find(ys.begin(), ys.end(), cell->y()) - ys.begin() + 1;
            QAccessibleInterface* face = accessible(cell);
            QVERIFY(face != nullptr);
            QCOMPARE(face->role(), QAccessible::EditableText);
            QVERIFY(face->state().editable);
            QCOMPARE(face->text(QAccessible::Name),
                     QStringLiteral("Row %1, column %2").arg(row).arg(column));
            QCOMPARE(reading_of(cell), QString());
            // No cage is told before the first Start: the board shows none.
            QCOMPARE(face->text(QAccessible::Description), QString());
            names.insert(face->text(QAccessible::Name));
        }
        QCOMPARE(names.size(), 81);
    }

    // Guards against names frozen at start-up or taken from a fixed puzzle: the sum is named
    // exactly where the game shows a sum label, and the cages' sums add up to the board's 405.
    void aCellNamesItsCageSumExactlyWhileItsSumLabelShows() {
        Form1 window;
        QVERIFY(show_active(window));
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start
        int total = 0;
        int named = 0;
        for (int k = 1; k <= 81; ++k) {
            const QString name = name_of(window.textBox[k]);
            const QString suffix = QStringLiteral(", cage sum ") + window.label[k]->Text();
            if (window.label[k]->Visible()) {
                QVERIFY2(name.endsWith(suffix), qPrintable(name));
                total += window.label[k]->Text().toInt();
                ++named;
            } else {
                QVERIFY2(!name.contains(QStringLiteral("sum")), qPrintable(name));
            }
        }
        QVERIFY(named > 0);
        QCOMPARE(total, 405);

        // Another puzzle: the names follow its labels.
        QTest::mouseClick(window.button2, Qt::LeftButton); // Skip Puzzle
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(name_of(window.textBox[k]).contains(QStringLiteral("sum")),
                     window.label[k]->Visible());
        }
    }

    // Guards against a reader that hears the raw line break or nothing at all, and against a
    // reader's caret that puts the box's caret inside the line break. (That a reader is told of
    // each change needs a live accessibility bridge: screen_reader_test.py checks it over AT-SPI.)
    void aCellReadsItsAnswerOrItsPencilMarksAndTheReadersCaretStaysOutOfTheLineBreak() {
        Form1 window;
        QVERIFY(show_active(window));
        tk::TextBox* pen = window.textBox[1];
        tk::TextBox* pencil = window.textBox[2];
        QTest::mouseClick(pen, Qt::LeftButton, {}, support::cell_click_point());
        QTest::keyClicks(pen, "5");
        QCOMPARE(reading_of(pen), QString("5"));

        QTest::mouseClick(window.radioButton1, Qt::LeftButton); // Pencil
        QTest::mouseClick(pencil, Qt::LeftButton, {}, support::cell_click_point());
        QTest::keyClicks(pencil, "133");
        QCOMPARE(pencil->Text(), QString("\r\n133"));
        QCOMPARE(reading_of(pencil), QString("pencil marks 1 3 3"));
        QAccessibleTextInterface* text = accessible(pencil)->textInterface();
        QCOMPARE(text->cursorPosition(), text->characterCount()); // the caret at the end
        QTest::keyClick(pencil, Qt::Key_Backspace);
        QCOMPARE(reading_of(pencil), QString("pencil marks 1 3"));
        // The reader's caret lands between marks; the box's caret follows, the text does not.
        text->setCursorPosition(14);
        QCOMPARE(pencil->SelectionStart(), 3);
        QCOMPARE(text->cursorPosition(), 14);
        QCOMPARE(pencil->Text(), QString("\r\n13"));
    }

    // Guards against a cell whose name still announces a cage sum after its sum label hides (or
    // misses it once shown): each change of the label's visibility tells screen readers, with a
    // name-change notice for that cell alone, to read the cell's name again.
    void aCellsNameChangeIsAnnouncedWhenItsSumLabelHidesOrShows() {
        Form1 window;
        QVERIFY(show_active(window));
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start: some sum labels show
        int k = 1;
        while (k <= 81 && !window.label[k]->Visible()) {
            ++k;
        }
        QVERIFY(k <= 81);
        LISTEN_FOR_RENAMES_OR_SKIP();
        const QString shown = name_of(window.textBox[k]);
        QVERIFY2(shown.contains(QStringLiteral(", cage sum ")), qPrintable(shown));

        window.label[k]->SetVisible(false);
        const QList<QObject*> on_hide = renamed;
        QCOMPARE(name_of(window.textBox[k]), shown.left(shown.indexOf(QStringLiteral(", cage"))));
        renamed.clear();
        window.label[k]->SetVisible(true);
        const QList<QObject*> on_show = renamed;
        QAccessible::installUpdateHandler(nullptr);
        QCOMPARE(on_hide, QList<QObject*>{window.textBox[k]});
        QCOMPARE(on_show, QList<QObject*>{window.textBox[k]});
        QCOMPARE(name_of(window.textBox[k]), shown);
    }

    // Guards against panels whose message exists only as pixels, and against panels that show
    // without a word to a reader: each is a notification, which readers speak as it shows.
    void everyPanelPictureIsANoticeNamedByItsMessageAndShowsWithItsPanel() {
        Form1 window;
        QVERIFY(show_active(window));
        // The messages drawn on the panels, their lines read one after the other.
        const struct {
            tk::PictureBox* box;
            QString message;
        } pictures[] = {
            {window.pictureBox_completed, "Congrats, you Have completed All of the Levels!"},
            {window.pictureBox_correct, "Correct, great work!"},
            {window.pictureBox_incorrect_solution, "Not yet complete. please check the solution"},
            {window.pictureBox_invalid_number, "Please enter a Valid number"},
            {window.pictureBox_select_level,
             "Please enter a Puzzle number (1 to " + support::last_puzzle + ")"},
        };
        for (const auto& p : pictures) {
            QAccessibleInterface* face = accessible(p.box);
            const QString& message = p.message;
            QCOMPARE(face->role(), QAccessible::Notification);
            QCOMPARE(face->text(QAccessible::Name), message);
            QCOMPARE(face->text(QAccessible::Description), message);
            QCOMPARE(reading_of(p.box), message);
            QVERIFY(face->state().invisible);
        }
        QCOMPARE(name_of(window.pictureBox_correct), QString("Correct, great work!"));
        QCOMPARE(name_of(window.pictureBox_incorrect_solution),
                 QString("Not yet complete. please check the solution"));
        // The help is announced by its title alone; its two paragraphs are its text.
        QAccessibleInterface* help = accessible(window.pictureBox_help_background);
        QCOMPARE(help->role(), QAccessible::Notification);
        QCOMPARE(help->text(QAccessible::Name), QString("Welcome to Tallywick!"));
        QCOMPARE(help->text(QAccessible::Description), QString("Welcome to Tallywick!"));
        const QString help_text = reading_of(window.pictureBox_help_background);
        QVERIFY(help_text.startsWith(QStringLiteral("Welcome to Tallywick! Fill every column")));
        QVERIFY(help_text.contains(QStringLiteral("cage")));
        QVERIFY(help_text.endsWith(QStringLiteral("2 + 1 + 7 = 10.")));
        // The black background behind the board is a picture, not a notice.
        QCOMPARE(accessible(window.pictureBox_black_background)->role(), QAccessible::Graphic);
        QCOMPARE(name_of(window.maskedTextBox_select_level),
                 "Puzzle number, 1 to " + support::last_puzzle);
        QCOMPARE(accessible(window.maskedTextBox_select_level)->role(), QAccessible::EditableText);

        QTest::mouseClick(window.button1, Qt::LeftButton); // Check on an empty board
        QVERIFY(!accessible(window.pictureBox_incorrect_solution)->state().invisible);
        QVERIFY(accessible(window.pictureBox_correct)->state().invisible);
        QCOMPARE(accessible(&window)->role(), QAccessible::Window);
        QCOMPARE(accessible(&window)->text(QAccessible::Name), QString("Tallywick"));
    }

    // Guards against a reader that presses a button no player can see: "Press" on the correct
    // panel's hidden Continue started the next puzzle without any check.
    void aHiddenOrDisabledButtonOffersNoPressAndDoesNothingWhenPressed() {
        Form1 window;
        QVERIFY(show_active(window));
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start
        const auto board = [&] {
            QStringList texts;
            for (int k = 1; k <= 81; ++k) {
                texts << window.textBox[k]->Text();
            }
            return texts + QStringList{window.label_level_value->Text()};
        };
        const QStringList before = board();
        const QString press = QAccessibleActionInterface::pressAction();
        tk::Button* const hidden[] = {window.button_correct,
                                      window.button_incorrect_solution,
                                      window.button_completed,
                                      window.button_help_exit,
                                      window.button_level_select_continue,
                                      window.button_invalid_puzzle_ok};
        for (tk::Button* button : hidden) {
            QAccessibleActionInterface* action = accessible(button)->actionInterface();
            QVERIFY(action != nullptr);
            QCOMPARE(action->actionNames(), QStringList());
            action->doAction(press);
        }
        // A check disabled for a moment: the button shows, but no player can press it.
        window.button1->setEnabled(false);
        QCOMPARE(accessible(window.button1)->actionInterface()->actionNames(), QStringList());
        accessible(window.button1)->actionInterface()->doAction(press);
        QTest::qWait(400); // a press is shown for a moment before it clicks
        QCOMPARE(board(), before);
        for (const auto& p : window.findChildren<tk::PictureBox*>()) {
            QVERIFY2(p == window.pictureBox_black_background || !p->isVisible(),
                     qPrintable(p->objectName()));
        }

        // Shown and enabled, a button is pressed by a reader as by a player.
        window.button1->setEnabled(true);
        QCOMPARE(accessible(window.button1)->actionInterface()->actionNames(), QStringList{press});
        QCOMPARE(name_of(window.button1), QString("Check"));
        accessible(window.button1)->actionInterface()->doAction(press);
        QTRY_VERIFY(window.button_incorrect_solution->isVisible());
        accessible(window.button_incorrect_solution)->actionInterface()->doAction(press);
        QTRY_VERIFY(!window.button_incorrect_solution->isVisible());
        QCOMPARE(board(), before);
    }

    // Guards against a cell that takes text from a reader past its key filter, or answers
    // "done" to a write it ignored: a cell offers no editable text.
    void aCellOffersAReaderNoWayToWriteButTyping() {
        Form1 window;
        QVERIFY(show_active(window));
        for (QObject* box : {static_cast<QObject*>(window.textBox[1]),
                             static_cast<QObject*>(window.maskedTextBox_select_level)}) {
            QVERIFY(accessible(box)->textInterface() != nullptr);
            QCOMPARE(accessible(box)->editableTextInterface(), nullptr);
        }
    }

    // Guards against a reader stepping through pencil marks that speaks the space between them:
    // a mark and its space read as one character, the heading's letters one by one.
    void aPencilMarkAndItsSpaceAreOneCharacterOfTheReading() {
        Form1 window;
        QVERIFY(show_active(window));
        tk::TextBox* pencil = window.textBox[2];
        QTest::mouseClick(window.radioButton1, Qt::LeftButton); // Pencil
        QTest::mouseClick(pencil, Qt::LeftButton, {}, support::cell_click_point());
        QTest::keyClicks(pencil, "135");
        QAccessibleTextInterface* text = accessible(pencil)->textInterface();
        QCOMPARE(reading_of(pencil), QString("pencil marks 1 3 5"));
        int start = -1;
        int end = -1;
        QCOMPARE(text->textAtOffset(14, QAccessible::CharBoundary, &start, &end), QString(" 3"));
        QCOMPARE(start, 14);
        QCOMPARE(end, 16);
        QCOMPARE(text->textAtOffset(17, QAccessible::CharBoundary, &start, &end), QString(" 5"));
        QCOMPARE(start, 16);
        QCOMPARE(text->textAtOffset(2, QAccessible::CharBoundary, &start, &end), QString("n"));
        QCOMPARE(end, 3);
        // The caret before a mark reads at the start of that mark's character.
        QTest::keyClick(pencil, Qt::Key_Left);
        QCOMPARE(text->cursorPosition(), 16);
    }

    // Guards against a new puzzle that a blind player never hears of, and against the number
    // spoken when it has not changed: each new number shows a notification "Level n" beside the
    // level display once the command is done; a Start on the same puzzle says what it revealed
    // but no number. Guards too against two notices for one command: a new puzzle's start is told
    // in the same notice as its number.
    void aNewPuzzleNumberIsAnnouncedOnceAndOnlyWhenItChanges() {
        Form1 window;
        QVERIFY(show_active(window));
        const auto announcement = [&] { return notice_of(window); };
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start
        QTRY_VERIFY(announcement() != nullptr && announcement()->isVisible());
        QWidget* notice = announcement();
        QCOMPARE(notice->size(), QSize(0, 0));
        QCOMPARE(name_of(notice), QString("Puzzle 1 started, 10 cells shown"));
        QCOMPARE(description_of(notice), QString());

        struct Shows : QObject {
            int count = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                count += e->type() == QEvent::Show;
                return false;
            }
        } shows;
        notice->installEventFilter(&shows);
        window.hardToolStripMenuItem->PerformClick();
        QTest::mouseClick(window.button2, Qt::LeftButton); // Skip Puzzle
        // Not before the command is done.
        QCOMPARE(shows.count, 0);
        QTRY_COMPARE(shows.count, 1);
        QTest::qWait(2 * tk::announcement_delay);
        QCOMPARE(shows.count, 1);
        QVERIFY(notice->isVisible());
        QCOMPARE(name_of(notice), QString("Level 2"));
        QCOMPARE(description_of(notice), QString("Puzzle 2 started, no cells shown"));

        QTest::mouseClick(window.button4, Qt::LeftButton); // Start: the same puzzle
        QTest::mouseClick(window.button1, Qt::LeftButton); // Check
        QTest::mouseClick(window.button_incorrect_solution, Qt::LeftButton);
        QTRY_COMPARE(shows.count, 2);
        QTest::qWait(2 * tk::announcement_delay);
        QCOMPARE(shows.count, 2);
        QCOMPARE(name_of(notice), QString("Puzzle 2 started, no cells shown"));
        window.restartToolStripMenuItem->PerformClick();
        QTRY_COMPARE(shows.count, 3);
        QCOMPARE(name_of(notice), QString("Level 1"));
        QTest::mouseClick(window.button2, Qt::LeftButton);
        QTest::mouseClick(window.button2, Qt::LeftButton);
        QTRY_COMPARE(shows.count, 4); // two numbers in a row: the last is announced
        QTest::qWait(2 * tk::announcement_delay);
        QCOMPARE(shows.count, 4);
        QCOMPARE(name_of(notice), QString("Level 3"));
        QCOMPARE(description_of(notice), QString("Puzzle 3 started, no cells shown"));
    }

    // Guards against cages told from a copy of the puzzle, from the colour codes alone (several
    // cages share one) or not at all: after a Start of puzzles 1, 57 and 115 every cell's
    // description names exactly the other cells of its cage in the catalogue and that cage's sum.
    void everyCellTellsExactlyItsCageMatesAndSumAfterEachStart() {
        Form1 window;
        QVERIFY(show_active(window));
        for (const int puzzle : {1, 57, 115}) {
            window.selectPuzzleToolStripMenuItem->PerformClick();
            QTest::keyClicks(window.maskedTextBox_select_level, QString::number(puzzle));
            QTest::mouseClick(window.button_level_select_continue, Qt::LeftButton);
            QCOMPARE(window.puzzle_number(), puzzle);
            const core::CageMap cages = core::map_cages(color_array[puzzle]);
            for (int k = 1; k <= 81; ++k) {
                QSet<QPair<int, int>> mates;
                int sum = -1;
                int sums = 0;
                for (int j = 1; j <= 81; ++j) {
                    if (cages.cage_of[j] != cages.cage_of[k]) {
                        continue;
                    }
                    if (j != k) {
                        mates.insert({core::row_of(j) + 1, core::column_of(j) + 1});
                    }
                    if (sum_label_visible_array[puzzle][j] == 1) {
                        sum = sum_label_array[puzzle][j];
                        ++sums;
                    }
                }
                QCOMPARE(sums, 1);
                const QString description = description_of(window.textBox[k]);
                const ToldCage told = told_cage(description);
                QVERIFY2(told.size == mates.size() + 1 && told.sum == sum && told.mates == mates,
                         qPrintable(QStringLiteral("puzzle %1, cell %2: %3")
                                        .arg(puzzle)
                                        .arg(k)
                                        .arg(description)));
            }
        }
    }

    // Guards against a read-out that skips blanks, reads pencil text raw, takes the cells in
    // their right-to-left numbering or moves the focus: Alt+R tells the cell's row from the left,
    // and Alt+K its cage with its sum and what its filled cells add up to, as notices.
    void aRowIsReadOutFromTheLeftWithBlanksAndMarksWithoutMovingTheFocus() {
        Form1 window;
        QVERIFY(show_active(window));
        window.hardToolStripMenuItem->PerformClick();
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start: nothing revealed
        tk::TextBox* pen = window.textBox[core::cell_at(0, 0)];
        tk::TextBox* pencil = window.textBox[core::cell_at(0, 2)];
        QTest::mouseClick(pen, Qt::LeftButton, {}, support::cell_click_point());
        QTest::keyClicks(pen, "5");
        QTest::mouseClick(window.radioButton1, Qt::LeftButton); // Pencil
        QTest::mouseClick(pencil, Qt::LeftButton, {}, support::cell_click_point());
        QTest::keyClicks(pencil, "13");
        QWidget* notice = notice_of(window); // the Start's, which the read-out takes over
        QVERIFY(notice != nullptr);
        QTest::keyClick(pencil, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(name_of(notice),
                     QString("row 1: 5, blank, marks 1 3, blank, blank, blank, blank, blank, "
                             "blank"));
        QCOMPARE(window.ActiveControl(), pencil);
        QCOMPARE(pencil->Text(), QString("\r\n13"));
        QCOMPARE(pen->Text(), QString("5"));

        const core::CageMap cages = core::map_cages(color_array[1]);
        const int cell = core::cell_at(0, 2);
        int size = 0;
        QString sum;
        for (int j = 1; j <= 81; ++j) {
            if (cages.cage_of[j] == cages.cage_of[cell]) {
                ++size;
                sum = sum_label_visible_array[1][j] == 1 ? QString::number(sum_label_array[1][j])
                                                         : sum;
            }
        }
        const int so_far = cages.cage_of[core::cell_at(0, 0)] == cages.cage_of[cell] ? 5 : 0;
        QTest::keyClick(pencil, Qt::Key_K, Qt::AltModifier);
        const QString heading = QStringLiteral("cage sum %1, %2 so far: ").arg(sum).arg(so_far);
        QTRY_VERIFY2(name_of(notice).startsWith(heading), qPrintable(name_of(notice)));
        QCOMPARE(name_of(notice).mid(heading.size()).split(QStringLiteral(", ")).size(), size);
        QVERIFY(name_of(notice).contains(QStringLiteral("marks 1 3")));
        QCOMPARE(window.ActiveControl(), pencil);
    }

    // Guards against a Start that floods readers with a name change for every cell and label,
    // though most end as they began: one notice for each cell whose name reads differently
    // afterwards and each sum label whose text changed, and none for the rest. And against caret
    // moves told for every cell it fills or empties: readers follow the focused cell's caret
    // only, and such a burst made Orca drop the new puzzle number.
    void aStartTellsReadersOfTheCellsWhoseNameEndsDifferentOnly() {
        Form1 window;
        QVERIFY(show_active(window));
        LISTEN_FOR_RENAMES_OR_SKIP();
        // Each cell's name and each sum label's text, cell k at 2k - 2 and label k at 2k - 1,
        // then the puzzle number.
        const auto board = [&] {
            QStringList all;
            for (int k = 1; k <= 81; ++k) {
                all << name_of(window.textBox[k]) << window.label[k]->Text();
            }
            return all << window.label_level_value->Text();
        };
        const struct {
            const char* name;
            tk::Button* button;
        } steps[] = {{"Start", window.button4},
                     {"Start on the same puzzle", window.button4},
                     {"Skip Puzzle", window.button2}};
        for (const auto& step : steps) {
            const QStringList before = board();
            renamed.clear();
            unfocused_carets.clear();
            QTest::mouseClick(step.button, Qt::LeftButton);
            const QStringList after = board();
            QList<QObject*> expected;
            for (int k = 1; k <= 81; ++k) {
                if (before[2 * k - 2] != after[2 * k - 2]) {
                    expected << window.textBox[k];
                }
                if (before[2 * k - 1] != after[2 * k - 1]) {
                    expected << window.label[k];
                }
            }
            if (before.back() != after.back()) {
                expected << window.label_level_value;
            }
            QList<QObject*> told = renamed;
            std::sort(told.begin(), told.end());
            std::sort(expected.begin(), expected.end());
            qInfo("%s: %lld name changes told, %lld names changed", step.name,
                  static_cast<long long>(told.size()), static_cast<long long>(expected.size()));
            QCOMPARE(told, expected);
            qInfo("%s: %lld caret moves told for cells without the focus", step.name,
                  static_cast<long long>(unfocused_carets.size()));
            QCOMPARE(unfocused_carets.size(), 0);
        }
        QAccessible::installUpdateHandler(nullptr);
    }

    // Guards against readers that keep speaking the cages of the last puzzle, since they keep the
    // descriptions they have read, and against a new puzzle's 81 description changes swamping
    // them: a cell's changed cage is told once, as the cell takes the focus and before the focus
    // is told, or at once to the cell that holds the focus; never while no one is there.
    void aCellsChangedCageIsToldAsItTakesTheFocusOrAtOnceWhereTheFocusIs() {
        Form1 window;
        QVERIFY(show_active(window));
        LISTEN_FOR_RENAMES_OR_SKIP();
        using Told = QList<QPair<QAccessible::Event, QObject*>>;
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start: every cell tells a cage now
        QVERIFY(!description_of(window.textBox[1]).isEmpty());
        for (const auto& [event, object] : std::as_const(described_or_focused)) {
            QVERIFY(event != QAccessible::DescriptionChanged);
        }
        // Walk the top row from the left, and back.
        window.button1->setFocus();
        described_or_focused.clear();
        QTest::keyClick(window.button1, Qt::Key_Tab); // into the top-left cell
        for (int column = 1; column < 9; ++column) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
        }
        Told walk;
        for (int column = 0; column < 9; ++column) {
            QObject* cell = window.textBox[9 - column];
            walk << qMakePair(QAccessible::DescriptionChanged, cell)
                 << qMakePair(QAccessible::Focus, cell);
        }
        QCOMPARE(described_or_focused, walk);
        described_or_focused.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(described_or_focused, (Told{{QAccessible::Focus, window.textBox[2]}}));

        // A new puzzle while a cell holds the focus: that cell alone is told, at once.
        QTest::mouseClick(window.button2, Qt::LeftButton); // Skip Puzzle: the focus on the button
        window.textBox[2]->setFocus();
        const QString before = description_of(window.textBox[2]);
        described_or_focused.clear();
        window.restartToolStripMenuItem->PerformClick(); // back to puzzle 1; the focus stays
        QVERIFY(description_of(window.textBox[2]) != before);
        QCOMPARE(described_or_focused,
                 (Told{{QAccessible::DescriptionChanged, window.textBox[2]}}));
        QAccessible::installUpdateHandler(nullptr);
    }

    // Guards against a Qt whose bridge connection has another name: readers then miss when a
    // panel becomes visible, and the player's log says so once, not for every show and hide.
    // Runs last: it takes the connection's name away for the rest of the process.
    void aMissingBridgeConnectionIsWarnedOnceWhileAReaderListens() {
        LISTEN_FOR_RENAMES_OR_SKIP();
        QAccessible::installUpdateHandler(nullptr);
        QVERIFY(QDBusConnection(QStringLiteral("a11y")).isConnected());
        QDBusConnection::disconnectFromBus(QStringLiteral("a11y"));
        const QRegularExpression missing(QStringLiteral("\"a11y\" is missing"));
        QTest::ignoreMessage(QtWarningMsg, missing); // once, and a second one fails
        QTest::failOnWarning(missing);
        QWidget panel;
        tk::tell_visibility(panel);
        for (int i = 0; i < 2; ++i) {
            panel.show();
            panel.hide();
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
