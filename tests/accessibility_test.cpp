// What Qt's accessibility framework (and so a screen reader) gets from the real window: cell names
// and readings, the change notices sent as the player types, and the pictures' messages.
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

// The objects readers were told to name again, since the last clear.
QList<QObject*> renamed;
// The boxes readers were told of a caret move in while the box had no focus, since the last clear.
QList<QObject*> unfocused_carets;

// Starts noting name changes in `renamed`, and caret moves away from the focus in
// `unfocused_carets`. They reach readers only through a live bridge (on X, with the AT-SPI bus,
// once it has reached the bus); without one this says false and notes nothing.
bool listen_for_renames() {
    renamed.clear();
    unfocused_carets.clear();
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::NameChanged) {
            renamed << event->object();
        }
        const auto* box = qobject_cast<QWidget*>(event->object());
        if (event->type() == QAccessible::TextCaretMoved && box != nullptr && !box->hasFocus()) {
            unfocused_carets << event->object();
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
    // level display once the command is done; a Start on the same puzzle shows none.
    void aNewPuzzleNumberIsAnnouncedOnceAndOnlyWhenItChanges() {
        Form1 window;
        QVERIFY(show_active(window));
        const auto announcement = [&]() -> QWidget* {
            for (QWidget* child : window.label_level_value->findChildren<QWidget*>()) {
                if (accessible(child)->role() == QAccessible::Notification) {
                    return child;
                }
            }
            return nullptr;
        };
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start
        QTest::qWait(2 * tk::announcement_delay);
        QCOMPARE(announcement(), nullptr);
        QTest::mouseClick(window.button2, Qt::LeftButton); // Skip Puzzle
        // Not before the command is done.
        QVERIFY(announcement() == nullptr || !announcement()->isVisible());
        QTRY_VERIFY(announcement() != nullptr && announcement()->isVisible());
        QWidget* notice = announcement();
        QVERIFY(notice != nullptr);
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->size(), QSize(0, 0));
        QCOMPARE(name_of(notice), QString("Level 2"));

        struct Shows : QObject {
            int count = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                count += e->type() == QEvent::Show;
                return false;
            }
        } shows;
        notice->installEventFilter(&shows);
        QTest::mouseClick(window.button4, Qt::LeftButton); // Start: the same puzzle
        QTest::mouseClick(window.button1, Qt::LeftButton); // Check
        QTest::mouseClick(window.button_incorrect_solution, Qt::LeftButton);
        QTest::qWait(2 * tk::announcement_delay);
        QCOMPARE(shows.count, 0);
        window.restartToolStripMenuItem->PerformClick();
        QTRY_COMPARE(shows.count, 1);
        QCOMPARE(name_of(notice), QString("Level 1"));
        QTest::mouseClick(window.button2, Qt::LeftButton);
        QTest::mouseClick(window.button2, Qt::LeftButton);
        QTRY_COMPARE(shows.count, 2); // two numbers in a row: the last is announced
        QTest::qWait(2 * tk::announcement_delay);
        QCOMPARE(shows.count, 2);
        QCOMPARE(name_of(notice), QString("Level 3"));
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
