// Our toolkit on a bare window of its own, without the game: the text box (caret, rows, Home and
// End, the length limit, text-changed re-entry, key verdicts), the child list (bring to front,
// send to back, stacking and where a click goes) and the window's tiled background.
#include "tests/support/support.h"
#include "toolkit/controls.h"
#include "toolkit/text_box.h"
#include "toolkit/window.h"

#include <QApplication>
#include <QTest>

#include <memory>

namespace {

const QString prefix = QStringLiteral("\r\n");

// A bare window holding one text box of the size of a cell, shown and focused.
struct BoxWindow {
    tk::Window window;
    tk::TextBox* box = new tk::TextBox(QStringLiteral("box"), &window);

    explicit BoxWindow(bool multiline = true, QSize size = {52, 52}) {
        window.resize(200, 120);
        window.attach(*box);
        box->setGeometry(QRect(QPoint(10, 10), size));
        box->SetMultiline(multiline);
        box->SetFont(tk::make_font(QStringLiteral("Arial"), 10));
    }
    bool show() {
        if (!support::show_active(window)) {
            return false;
        }
        box->setFocus();
        return box->hasFocus();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(box, k, modifiers);
    }
    void type(const QString& text) { QTest::keyClicks(box, text); }
};

QStringList names_of(const tk::Window& window) {
    QStringList names;
    for (const tk::Control* c : window.Controls()) {
        names << c->Name();
    }
    return names;
}

// The widgets as Qt stacks them, top first: the order the list must have.
QStringList stacked_top_first(const tk::Window& window) {
    QStringList names;
    for (const QObject* o : window.children()) {
        if (o->isWidgetType()) {
            names.prepend(o->objectName());
        }
    }
    return names;
}

} // namespace

class ToolkitTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a caret left inside the line break, past the end, or before the start,
    // and against typing anywhere but at the caret.
    void theCaretIsClampedKeptOutOfTheLineBreakAndTypedAt() {
        BoxWindow w;
        QVERIFY(w.show());
        w.box->SetText(prefix + "13");
        const struct {
            int asked;
            int lands;
        } table[] = {{-5, 0}, {0, 0}, {1, 2}, {2, 2}, {3, 3}, {4, 4}, {5, 4}, {99, 4}};
        for (const auto& row : table) {
            w.box->SetSelectionStart(row.asked);
            QVERIFY2(w.box->SelectionStart() == row.lands, qPrintable(QString::number(row.asked)));
        }
        w.box->SetSelectionStart(3);
        w.type("2");
        QCOMPARE(w.box->Text(), prefix + "123");
        QCOMPARE(w.box->SelectionStart(), 4);
        // Left and Right step over the line break whole; Backspace and Delete remove it whole.
        w.box->SetSelectionStart(2);
        w.key(Qt::Key_Left);
        QCOMPARE(w.box->SelectionStart(), 0);
        w.key(Qt::Key_Right);
        QCOMPARE(w.box->SelectionStart(), 2);
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.box->Text(), QString("123"));
        QCOMPARE(w.box->SelectionStart(), 0);
        w.box->SetText(prefix + "4");
        w.box->SetSelectionStart(0);
        w.key(Qt::Key_Delete);
        QCOMPARE(w.box->Text(), QString("4"));
    }

    // Guards against the limit bounding what the program sets, or not bounding what is typed.
    void theLengthLimitBoundsTypingOnly() {
        BoxWindow w;
        QVERIFY(w.show());
        QCOMPARE(w.box->MaxLength(), 32767); // the toolkit's own default: no practical limit
        w.box->SetMaxLength(3);
        w.type("12345");
        QCOMPARE(w.box->Text(), QString("123"));
        w.box->SetText("123456789");
        QCOMPARE(w.box->Text(), QString("123456789"));
        w.box->SetSelectionStart(9);
        w.type("0");
        QCOMPARE(w.box->Text(), QString("123456789"));
        w.key(Qt::Key_Backspace); // removing is never refused by the limit
        QCOMPARE(w.box->Text(), QString("12345678"));
        w.box->SetMaxLength(0);
        w.box->SetText(QString());
        w.type("1");
        QCOMPARE(w.box->Text(), QString());
    }

    // Guards against Home and End reaching past the caret's row in a multi-line box, or
    // keeping to a row in a one-line one.
    void homeAndEndKeepToTheCaretsRowInAMultiLineBox() {
        BoxWindow w;
        QVERIFY(w.show());
        w.box->SetText("12\r\n345");
        w.box->SetSelectionStart(5);
        w.key(Qt::Key_Home);
        QCOMPARE(w.box->SelectionStart(), 4);
        w.key(Qt::Key_End);
        QCOMPARE(w.box->SelectionStart(), 7);
        w.key(Qt::Key_Up);
        QVERIFY(w.box->SelectionStart() <= 2);
        w.key(Qt::Key_End);
        QCOMPARE(w.box->SelectionStart(), 2);
        w.key(Qt::Key_Home);
        QCOMPARE(w.box->SelectionStart(), 0);
        w.key(Qt::Key_Down);
        QVERIFY(w.box->SelectionStart() >= 4);
        w.key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(w.box->SelectionStart(), 0);
        w.key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(w.box->SelectionStart(), 7);

        BoxWindow one_line(false, {120, 26});
        QVERIFY(one_line.show());
        one_line.box->SetText("12\r\n345");
        one_line.box->SetSelectionStart(5);
        one_line.key(Qt::Key_Home);
        QCOMPARE(one_line.box->SelectionStart(), 0);
        one_line.key(Qt::Key_End);
        QCOMPARE(one_line.box->SelectionStart(), 7);
    }

    // Guards against a line too wide for the box drawn past its edge: it wraps onto rows of
    // its own, which Home and End then keep to, and the text itself stays as it was.
    void aLineTooWideWrapsOntoRowsThatHomeAndEndKeepTo() {
        BoxWindow w;
        QVERIFY(w.show());
        w.box->SetText(prefix + "123456789");
        w.box->SetSelectionStart(11);
        w.key(Qt::Key_Home);
        const int last_row = w.box->SelectionStart();
        QVERIFY2(last_row > 2 && last_row < 11, qPrintable(QString::number(last_row)));
        w.key(Qt::Key_End);
        QCOMPARE(w.box->SelectionStart(), 11);
        QCOMPARE(w.box->Text(), prefix + "123456789");
    }

    // Guards against a text-changed handler that misses changes made by the program or by
    // itself: every change raises the event, also from inside its own handler, and a rewrite
    // that changes nothing raises nothing more.
    void textChangedIsRaisedForEveryChangeAndReEntrantly() {
        BoxWindow w;
        QVERIFY(w.show());
        int raised = 0;
        int depth = 0;
        int deepest = 0;
        QStringList seen;
        QObject::connect(w.box, &tk::TextBox::TextChanged, &w.window, [&] {
            ++raised;
            ++depth;
            deepest = std::max(deepest, depth);
            seen << w.box->Text();
            // The rule of the game's pencil cells: bring the line break in front.
            if (!w.box->Text().startsWith(prefix)) {
                w.box->SetText(prefix + w.box->Text());
            }
            --depth;
        });
        w.box->SetText("5");
        QCOMPARE(seen, QStringList({"5", prefix + "5"}));
        QCOMPARE(deepest, 2);
        seen.clear();
        w.box->SetSelectionStart(3);
        w.type("7");
        QCOMPARE(seen, QStringList({prefix + "57"}));
        seen.clear();
        w.box->SetText(prefix + "57"); // the same text: no change, no event
        QVERIFY(seen.isEmpty());
        w.box->SetSelectionStart(4);
        w.key(Qt::Key_Backspace);
        QCOMPARE(seen, QStringList({prefix + "5"}));
        QCOMPARE(raised, 4);
    }

    // Guards against key verdicts ignored: a handled key-down stops the key (no caret move, no
    // character); a handled key-press discards the character; backspace comes as character 8.
    void handledKeyDownAndKeyPressStopTheKey() {
        BoxWindow w;
        QVERIFY(w.show());
        QList<int> downs;
        QList<QChar> presses;
        QObject::connect(w.box, &tk::TextBox::KeyDown, &w.window, [&](tk::KeyEventArgs& e) {
            downs << e.KeyCode;
            e.Handled = e.KeyCode == Qt::Key_Left || e.KeyCode == Qt::Key_5;
        });
        QObject::connect(w.box, &tk::TextBox::KeyPress, &w.window, [&](tk::KeyPressEventArgs& e) {
            presses << e.KeyChar;
            e.Handled = e.KeyChar == u'x';
        });
        w.type("1x2");
        QCOMPARE(w.box->Text(), QString("12"));
        QCOMPARE(presses, QList<QChar>({u'1', u'x', u'2'}));
        presses.clear();
        w.key(Qt::Key_Left); // handled: the caret stays at the end
        QCOMPARE(w.box->SelectionStart(), 2);
        w.type("5"); // handled at key-down: no key-press at all
        QCOMPARE(w.box->Text(), QString("12"));
        QVERIFY(presses.isEmpty());
        QCOMPARE(downs.back(), int(Qt::Key_5));
        w.key(Qt::Key_Backspace);
        QCOMPARE(presses, QList<QChar>({QChar(8)}));
        QCOMPARE(w.box->Text(), QString("1"));
        // Tab moves the focus on unless the box takes it as a key.
        tk::Button other(QStringLiteral("other"), &w.window);
        w.window.attach(other);
        other.show();
        w.box->SetAcceptsTab(true);
        w.key(Qt::Key_Tab);
        QVERIFY(w.box->hasFocus());
        QCOMPARE(downs.back(), int(Qt::Key_Tab));
        w.box->SetAcceptsTab(false);
        w.key(Qt::Key_Tab);
        QTRY_VERIFY(!w.box->hasFocus());
    }
    // Guards against a caret that moves without a word to a screen reader: arrows, Home, End and
    // a click each raise CaretMoved once, a key that leaves the caret where it was does not.
    void everyMoveOfTheCaretRaisesCaretMovedAndNothingElseDoes() {
        BoxWindow w;
        QVERIFY(w.show());
        w.box->SetText(prefix + QStringLiteral("135"));
        w.box->SetSelectionStart(5);
        int moves = 0;
        QObject::connect(w.box, &tk::TextBox::CaretMoved, w.box, [&moves] { ++moves; });
        const auto moved = [&](auto act) {
            moves = 0;
            act();
            return moves;
        };
        QCOMPARE(moved([&] { w.key(Qt::Key_Left); }), 1);
        QCOMPARE(w.box->SelectionStart(), 4);
        QCOMPARE(moved([&] { w.key(Qt::Key_Home); }), 1);
        QCOMPARE(w.box->SelectionStart(), 2);
        QCOMPARE(moved([&] { w.key(Qt::Key_Home); }), 0);
        QCOMPARE(moved([&] { w.key(Qt::Key_End); }), 1);
        QCOMPARE(w.box->SelectionStart(), 5);
        QCOMPARE(moved([&] { w.key(Qt::Key_Right); }), 0);
        QCOMPARE(moved([&] { QTest::mouseClick(w.box, Qt::LeftButton, {}, QPoint(2, 30)); }), 1);
        QVERIFY(w.box->SelectionStart() < 5);
    }

    // Guards against a flood of show-and-hide for controls that end where they began: inside a
    // hold the flag is only noted, and at its end only a control whose flag changed is touched.
    void heldVisibilityChangesTouchOnlyTheControlsThatEndChanged() {
        tk::Window window;
        auto* kept = new tk::Label(QStringLiteral("kept"), &window);
        auto* shown = new tk::Label(QStringLiteral("shown"), &window);
        window.attach(*kept);
        window.attach(*shown);
        shown->SetVisible(false);
        QVERIFY(support::show_active(window));
        struct Counter : QObject {
            int shows = 0;
            int hides = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                shows += e->type() == QEvent::Show;
                hides += e->type() == QEvent::Hide;
                return false;
            }
        } kept_events, shown_events;
        kept->installEventFilter(&kept_events);
        shown->installEventFilter(&shown_events);
        int applied = 0;
        QObject::connect(&window, &tk::Window::ChangesApplied, &window, [&applied] { ++applied; });
        {
            const tk::Window::HeldChanges outer(window);
            {
                const tk::Window::HeldChanges inner(window);
                kept->SetVisible(false);
                shown->SetVisible(true);
                QVERIFY(!kept->Visible());
                QVERIFY(shown->Visible());
            }
            QCOMPARE(applied, 0); // the outer hold still holds
            QVERIFY(kept->isVisible());
            QVERIFY(!shown->isVisible());
            kept->SetVisible(true);
        }
        QCOMPARE(applied, 1);
        QVERIFY(kept->isVisible());
        QVERIFY(shown->isVisible());
        QCOMPARE(kept_events.shows + kept_events.hides, 0);
        QCOMPARE(shown_events.shows, 1);
        QCOMPARE(shown_events.hides, 0);
    }

    // Guards against the list and the real stacking parting ways: attaching appends at the
    // bottom, bring-to-front moves to position 0 and send-to-back to the last, and Qt's own
    // stacking follows every move.
    void bringToFrontAndSendToBackReorderTheListAndTheStacking() {
        tk::Window window;
        std::vector<std::unique_ptr<tk::Label>> labels;
        for (const char* name : {"a", "b", "c", "d"}) {
            labels.push_back(std::make_unique<tk::Label>(QString::fromLatin1(name), &window));
            window.attach(*labels.back());
        }
        QCOMPARE(names_of(window), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(stacked_top_first(window), names_of(window));
        const struct {
            int label;
            bool to_front;
            const char* after;
        } moves[] = {{2, true, "cabd"},  {0, false, "cbda"}, {0, true, "acbd"}, {3, true, "dacb"},
                     {3, false, "acbd"}, {1, false, "acdb"}, {1, false, "acdb"}};
        for (const auto& move : moves) {
            tk::Control& c = *labels[static_cast<std::size_t>(move.label)];
            move.to_front ? c.BringToFront() : c.SendToBack();
            const QStringList expected =
                QString::fromLatin1(move.after).split(QString(), Qt::SkipEmptyParts);
            QCOMPARE(names_of(window), expected);
            QCOMPARE(stacked_top_first(window), expected);
            QCOMPARE(window.position_of(&c), int(expected.indexOf(c.Name())));
        }
    }

    // Guards against a click delivered by attach order instead of the list: where two buttons
    // overlap, the one higher in the list gets the click, also after every restacking; a
    // label above a button keeps the click from it.
    void aClickGoesToTheTopmostControlAtThatPoint() {
        tk::Window window;
        window.resize(200, 100);
        tk::Button lower(QStringLiteral("lower"), &window);
        tk::Button upper(QStringLiteral("upper"), &window);
        tk::Label cover(QStringLiteral("cover"), &window);
        window.attach(upper);
        window.attach(lower);
        window.attach(cover);
        upper.setGeometry(10, 10, 80, 30);
        lower.setGeometry(50, 20, 80, 30);
        cover.setGeometry(100, 30, 60, 40);
        QVERIFY(support::show_active(window));
        QStringList clicks;
        for (tk::Button* b : {&upper, &lower}) {
            QObject::connect(b, &tk::Button::Click, &window, [&clicks, b] { clicks << b->Name(); });
        }
        // Clicks go in at the window, as the platform delivers them; Qt finds the control.
        const auto click_at = [&window](QPoint p) {
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, p);
        };
        const QPoint overlap(70, 30);
        click_at(overlap);
        lower.BringToFront();
        click_at(overlap);
        lower.SendToBack();
        click_at(overlap);
        QCOMPARE(clicks, QStringList({"upper", "lower", "upper"}));

        // The lower button went below the label: the label keeps the click to itself, until
        // it is sent below the button in turn.
        QCOMPARE(names_of(window), QStringList({"upper", "cover", "lower"}));
        const QPoint under_label(110, 40);
        clicks.clear();
        click_at(under_label);
        QVERIFY(clicks.isEmpty());
        cover.SendToBack();
        click_at(under_label);
        QCOMPARE(clicks, QStringList({"lower"}));
    }

    // Guards against a seam or a shift where the window's background picture repeats: a palette
    // picture smaller than the window is drawn from it as stored, tile after tile from the
    // top-left corner, with the part tiles at the right and bottom edges cut, not squeezed.
    void theBackgroundPictureTilesFromTheTopLeftCorner() {
        QImage picture(3, 2, QImage::Format_Indexed8);
        picture.setColorTable({qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(250, 250, 0),
                               qRgb(0, 250, 250), qRgb(30, 30, 30)});
        for (int i = 0; i < 6; ++i) {
            picture.setPixel(i % 3, i / 3, uint(i));
        }
        tk::Window window;
        window.resize(8, 5);
        window.set_background_image(picture);
        const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), QSize(8, 5));
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                QCOMPARE(shot.pixel(x, y), picture.pixel(x % 3, y % 2));
            }
        }
    }
};

QTEST_MAIN(ToolkitTest)
#include "toolkit_test.moc"
