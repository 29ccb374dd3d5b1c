// Random play on the real window: clicks, keys, menus, pastes and panels, with the game's
// invariants checked after every event.
#include "tests/support/support.h"
#include "catalogue/catalogue_size.h"
#include "ui/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QMenu>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

// The number of events and the seed can be set from outside, so that a long
// soak runs the same code and a failure can be replayed exactly.
unsigned long long env_number(const char* name, unsigned long long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

// What must hold after every event, or a description of what broke.
QString broken_invariant(const Form1& w) {
    for (int k = 1; k <= 81; ++k) {
        if (!support::is_cell_form(w.textBox[k]->Text())) {
            return QStringLiteral("cell %1 holds %2")
                .arg(k)
                .arg(QString(w.textBox[k]->Text().toUtf8().toPercentEncoding()));
        }
    }
    if (w.Controls().size() != 188) {
        return QStringLiteral("the child list holds %1 controls").arg(w.Controls().size());
    }
    int cells = 0;
    int labels = 0;
    for (const tk::Control* c : w.Controls()) {
        if (c->kind() == tk::Kind::TextBox && c != w.textBox[++cells]) {
            return QStringLiteral("text box %1 is %2").arg(cells).arg(c->Name());
        }
        if (c->kind() == tk::Kind::Label && !Form1::is_level_label(c) && c != w.label[++labels]) {
            return QStringLiteral("label %1 is %2").arg(labels).arg(c->Name());
        }
    }
    bool ok = false;
    const int n = w.label_level_value->Text().toInt(&ok);
    if (!ok || n < 1 || n > last_playable_puzzle) {
        return QStringLiteral("the puzzle number reads %1").arg(w.label_level_value->Text());
    }
    if (w.label_level_title_2->Text() != QLatin1String("Current") ||
        w.label_level_title->Text() != QLatin1String("Level")) {
        return QStringLiteral("a level label lost its text");
    }
    return {};
}

class Monkey {
public:
    Monkey(Form1& window, unsigned long long seed) : w_(window), random_(seed) {}

    // One random event; returns a short description for the failure report.
    QString act() {
        switch (pick(9)) {
        case 0:
        case 1:
            return click_anywhere();
        case 2:
        case 3:
            return click_control();
        case 4:
        case 5:
        case 6:
            return press_key();
        case 7:
            return menu_action();
        default:
            return paste();
        }
    }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    QString click_anywhere() {
        const QPoint at(pick(792), pick(566));
        QTest::mouseClick(w_.windowHandle(), Qt::LeftButton, {}, at);
        close_popups();
        return QStringLiteral("click at %1,%2").arg(at.x()).arg(at.y());
    }

    QString click_control() {
        tk::Control* c = w_.Controls()[static_cast<std::size_t>(pick(188))];
        if (!c->widget()->isVisible()) {
            return QStringLiteral("skip hidden %1").arg(c->Name());
        }
        QTest::mouseClick(c->widget(), Qt::LeftButton);
        close_popups();
        return QStringLiteral("click on %1").arg(c->Name());
    }

    QString press_key() {
        static const Qt::Key keys[] = {
            Qt::Key_1,      Qt::Key_2,     Qt::Key_3,         Qt::Key_4,      Qt::Key_5,
            Qt::Key_6,      Qt::Key_7,     Qt::Key_8,         Qt::Key_9,      Qt::Key_0,
            Qt::Key_A,      Qt::Key_Z,     Qt::Key_Space,     Qt::Key_Tab,    Qt::Key_Backtab,
            Qt::Key_Return, Qt::Key_Enter, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,
            Qt::Key_Right,  Qt::Key_Up,    Qt::Key_Down,      Qt::Key_Home,   Qt::Key_End,
            Qt::Key_Escape, Qt::Key_Minus, Qt::Key_R,         Qt::Key_K};
        const Qt::Key key = keys[pick(std::size(keys))];
        Qt::KeyboardModifiers modifiers;
        switch (pick(8)) {
        case 0:
            modifiers = Qt::ShiftModifier;
            break;
        case 1:
            modifiers = Qt::ControlModifier;
            break;
        case 2:
            modifiers = Qt::AltModifier; // with an arrow, R or K: moves and read-outs
            break;
        default:
            break;
        }
        QWidget* target = QApplication::focusWidget();
        if (QApplication::activePopupWidget() != nullptr) {
            target = QApplication::activePopupWidget();
        }
        QTest::keyClick(target != nullptr ? target : &w_, key, modifiers);
        close_popups();
        return QStringLiteral("key %1 with %2 on %3")
            .arg(key, 0, 16)
            .arg(modifiers.toInt(), 0, 16)
            .arg(target != nullptr ? target->objectName() : QStringLiteral("window"));
    }

    QString menu_action() {
        tk::MenuItem* items[] = {w_.easyToolStripMenuItem,      w_.normalToolStripMenuItem,
                                 w_.hardToolStripMenuItem,      w_.restartToolStripMenuItem,
                                 w_.howToPlayToolStripMenuItem, w_.selectPuzzleToolStripMenuItem};
        tk::MenuItem* item = items[pick(std::size(items))];
        item->PerformClick();
        return QStringLiteral("menu %1").arg(item->Name());
    }

    QString paste() {
        static const QString alphabet = QStringLiteral("0123456789abc \r\n\t-+\u00e9\u4e2d");
        QString text;
        for (int i = pick(14); i > 0; --i) {
            text += alphabet[pick(static_cast<int>(alphabet.size()))];
        }
        QApplication::clipboard()->setText(text);
        tk::Control* target = pick(4) == 0
                                  ? static_cast<tk::Control*>(w_.maskedTextBox_select_level)
                                  : w_.textBox[1 + pick(81)];
        // The number field takes a paste only while its panel is open, so the
        // player opens it first.
        if (target == w_.maskedTextBox_select_level && !target->Enabled()) {
            w_.selectPuzzleToolStripMenuItem->PerformClick();
        }
        target->Focus();
        if (target == w_.maskedTextBox_select_level) {
            ++field_paste_tries_;
            field_pastes_ += target->Focused() ? 1 : 0;
        }
        QTest::keyClick(target->widget(), Qt::Key_V, Qt::ControlModifier);
        if (pick(2) == 0) {
            QTest::keyClick(target->widget(), Qt::Key_Insert, Qt::ShiftModifier);
        }
        return QStringLiteral("paste %1 into %2")
            .arg(QString(text.toUtf8().toPercentEncoding()), target->Name());
    }

    // A click on the menu bar opens a menu; the next event closes it, as a
    // player's next click elsewhere would.
    void close_popups() {
        if (pick(3) != 0) {
            while (QWidget* popup = QApplication::activePopupWidget()) {
                popup->close();
            }
        }
    }

    Form1& w_;
    std::mt19937_64 random_;
    long long field_paste_tries_ = 0;
    long long field_pastes_ = 0;

public:
    // Pastes meant for the number field, and those that reached it while it
    // could take them.
    long long field_paste_tries() const { return field_paste_tries_; }
    long long field_pastes() const { return field_pastes_; }
};

// Menus opened by random clicks make the offscreen platform warn that it cannot
// raise windows or grab the keyboard; those warnings say nothing about the game.
QtMessageHandler default_handler = nullptr;

void quiet_platform_warnings(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support"))) {
        default_handler(type, context, text);
    }
}

// The board a run ended on, as a short digest: the puzzle number and, cell by cell, its text and
// background and its sum label's text and visibility. Two runs of one seed end on one digest.
QString board_digest(const Form1& w) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(w.label_level_value->Text().toUtf8());
    for (int k = 1; k <= 81; ++k) {
        hash.addData(
            QStringLiteral("|%1|%2|%3|%4")
                .arg(w.textBox[k]->Text(), w.textBox[k]->BackColor().name(), w.label[k]->Text())
                .arg(w.label[k]->Visible() ? 1 : 0)
                .toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex().left(16));
}

// What random play reached, so a run that never left the start screen cannot pass.
struct Reached {
    bool pencil_text = false;
    bool answer_digit = false;
    bool coloured_board = false;
    bool help_panel = false;
    bool selection_panel = false;

    void note(const Form1& w) {
        for (int k = 1; k <= 81; ++k) {
            const QString& t = w.textBox[k]->Text();
            pencil_text |= t.size() > 2;
            answer_digit |= t.size() == 1;
            coloured_board |= w.textBox[k]->BackColor() != QColor(Qt::white);
        }
        help_panel |= w.pictureBox_help_background->Visible();
        selection_panel |= w.pictureBox_select_level->Visible();
    }
    bool all() const {
        return pencil_text && answer_digit && coloured_board && help_panel && selection_panel;
    }
};

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

public:
    // The digest of the board the last run ended on; empty before a run.
    QString digest_;

private slots:
    void randomEventsNeverBreakTheGamesInvariants() {
        const unsigned long long seed = support::test_seed("TALLYWICK_MONKEY_SEED");
        const unsigned long long events = env_number("TALLYWICK_MONKEY_EVENTS", 20000);
        std::printf("monkey: %llu events\n", events);

        default_handler = qInstallMessageHandler(quiet_platform_warnings);
        // The window reveals its cells from the test's seed too, so the seed replays the board.
        Form1 window(seed);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Monkey monkey(window, seed);
        Reached reached;
        for (unsigned long long i = 1; i <= events; ++i) {
            const QString what = monkey.act();
            const QString broken = broken_invariant(window);
            if (!broken.isEmpty()) {
                QFAIL(qPrintable(QStringLiteral("seed %1, event %2 (%3): %4")
                                     .arg(seed)
                                     .arg(i)
                                     .arg(what, broken)));
            }
            reached.note(window);
        }
        digest_ = board_digest(window);
        if (events >= 5000) {
            QVERIFY2(reached.all(), "random play never reached pencil marks, answers, a started "
                                    "game and both panels");
            // About a quarter of the pastes (one event in nine) are meant for
            // the field, and every one of them reaches it.
            QVERIFY(monkey.field_paste_tries() > static_cast<long long>(events / 100));
            QVERIFY2(monkey.field_pastes() == monkey.field_paste_tries(),
                     qPrintable(QString("%1 of %2 pastes reached the number field")
                                    .arg(monkey.field_pastes())
                                    .arg(monkey.field_paste_tries())));
        }
    }
};

// Qt Test's own main, but with the digest of the final board as the very last line printed.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    MonkeyTest test;
    const int failed = QTest::qExec(&test, argc, argv);
    std::printf("board digest %s\n", qPrintable(test.digest_));
    return failed;
}
#include "monkey_test.moc"
