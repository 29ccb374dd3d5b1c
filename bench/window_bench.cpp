// Benchmarks the game's handlers on the real window: start, check, reveal, show all, a pencil key,
// a cell click and a 10 MiB paste.
#include "floor_window.h"
#include "resources/resource_set.h"
#include "ui/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QPixmapCache>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// The one window every benchmark drives; it lives in main.
Form1* the_window = nullptr;

Form1& window() {
    return *the_window;
}

// With a frame (argument 1) each iteration also lets the event loop paint what
// the handler changed, as it would before the player sees it.
void settle(const benchmark::State& state) {
    if (state.range(0) == 1) {
        QCoreApplication::processEvents();
    }
}

// Clicks a cell below its sum label, where a player clicks.
void click_cell(Form1& w, int k) {
    QTest::mouseClick(w.textBox[k], Qt::LeftButton, {}, QPoint(26, 40));
}

void use_pen(Form1& w) {
    QTest::mouseClick(w.radioButton2, Qt::LeftButton);
    QCoreApplication::processEvents();
}

// "Start" on Normal: clears the board, reveals ten cells, paints the cages.
void start_game(benchmark::State& state) {
    Form1& w = window();
    use_pen(w);
    for (auto _ : state) {
        w.start_game();
        settle(state);
    }
}
BENCHMARK(start_game)->ArgName("frame")->Arg(0)->Arg(1);

// "Check" on a solved board: every row, column, block and cage is read, and
// the correct panel is shown (it stays up between iterations).
void verify_solution(benchmark::State& state) {
    Form1& w = window();
    use_pen(w);
    w.solve();
    for (auto _ : state) {
        w.verify_solution();
        settle(state);
    }
    w.pictureBox_correct->SendToBack();
    w.button_correct->SendToBack();
    w.pictureBox_correct->SetVisible(false);
    w.button_correct->SetVisible(false);
    QCoreApplication::processEvents();
}
BENCHMARK(verify_solution)->ArgName("frame")->Arg(0)->Arg(1);

// "Show a Cell" with one cell left empty, the longest search; each iteration
// also empties that cell first.
void show_one_cell(benchmark::State& state) {
    Form1& w = window();
    use_pen(w);
    w.solve();
    int k = 1;
    for (auto _ : state) {
        w.textBox[k]->SetText(QString());
        w.show_one_cell();
        settle(state);
        k = k % 81 + 1;
    }
}
BENCHMARK(show_one_cell)->ArgName("frame")->Arg(0)->Arg(1);

// "Show All": the whole solution written into the cells.
void solve(benchmark::State& state) {
    Form1& w = window();
    use_pen(w);
    for (auto _ : state) {
        w.solve();
        settle(state);
    }
}
BENCHMARK(solve)->ArgName("frame")->Arg(0)->Arg(1);

// Two keys in Pencil on a focused cell: a digit and Backspace, so the cell
// ends each iteration as it began. The runner halves the figure per key.
void pencil_key_pair(benchmark::State& state) {
    Form1& w = window();
    QTest::mouseClick(w.radioButton1, Qt::LeftButton);
    tk::TextBox* cell = w.textBox[40];
    click_cell(w, 40);
    QCoreApplication::processEvents();
    if (!cell->hasFocus() || cell->Text() != QStringLiteral("\r\n")) {
        state.SkipWithError("the pencil click did not give the cell the focus and its line break");
        return;
    }
    for (auto _ : state) {
        QTest::keyClick(cell, Qt::Key_5);
        QTest::keyClick(cell, Qt::Key_Backspace);
        settle(state);
    }
    if (cell->Text() != QStringLiteral("\r\n")) {
        state.SkipWithError("the digit and Backspace did not leave the pencil cell as it was");
    }
    use_pen(w);
}
BENCHMARK(pencil_key_pair)->ArgName("frame")->Arg(0)->Arg(1);

// A Pen click on a cell: the cell is emptied and restyled for one answer digit.
void cell_click(benchmark::State& state) {
    Form1& w = window();
    use_pen(w);
    w.solve();
    int k = 1;
    for (auto _ : state) {
        click_cell(w, k);
        settle(state);
        k = k % 81 + 1;
    }
}
BENCHMARK(cell_click)->ArgName("frame")->Arg(0)->Arg(1);

// Ctrl+V of a 10 MiB clipboard (10,485,760 characters) into a pencil cell
// holding the bare prefix; the cell is put back between iterations, untimed.
// Digits: the cell is full after nine of them. Letters with "57" at the very
// end: the worst case, every character looked at.
void paste_10_mib(benchmark::State& state, QChar filler) {
    Form1& w = window();
    QTest::mouseClick(w.radioButton1, Qt::LeftButton);
    tk::TextBox* cell = w.textBox[40];
    click_cell(w, 40);
    QCoreApplication::processEvents();
    constexpr qsizetype size = 10 * 1024 * 1024;
    QString clip(size - 2, filler);
    clip.append(QStringLiteral("57"));
    QApplication::clipboard()->setText(clip);
    const QString expected =
        filler == u'5' ? QStringLiteral("\r\n555555555") : QStringLiteral("\r\n57");
    for (auto _ : state) {
        QTest::keyClick(cell, Qt::Key_V, Qt::ControlModifier);
        settle(state);
        state.PauseTiming();
        if (cell->Text() != expected) {
            state.SkipWithError("the paste did not leave the cell as expected");
            break;
        }
        cell->SetText(QStringLiteral("\r\n"));
        cell->SetSelectionStart(2);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    QApplication::clipboard()->clear();
    use_pen(w);
}
void paste_10_mib_digits(benchmark::State& state) {
    paste_10_mib(state, u'5');
}
void paste_10_mib_letters(benchmark::State& state) {
    paste_10_mib(state, u'a');
}
BENCHMARK(paste_10_mib_digits)->ArgName("frame")->Arg(0)->Arg(1);
BENCHMARK(paste_10_mib_letters)->ArgName("frame")->Arg(0)->Arg(1);

// The window built and destroyed in a process that has built one before, so
// one-time costs (libraries, plug-ins, fonts) are out: the game's window
// beside the floor window of stock widgets.
void build_window(benchmark::State& state) {
    for (auto _ : state) {
        Form1 w;
        benchmark::DoNotOptimize(w.textBox[81]);
    }
}
BENCHMARK(build_window)->Unit(benchmark::kMillisecond);

void build_floor_window(benchmark::State& state) {
    for (auto _ : state) {
        QWidget w;
        bench::populate_floor_window(w);
        benchmark::DoNotOptimize(w.children().size());
    }
}
BENCHMARK(build_floor_window)->Unit(benchmark::kMillisecond);

// Every picture of the window decoded from the compiled-in files, as the
// window's construction does once.
void decode_pictures(benchmark::State& state) {
    const char16_t* keys[] = {u"$this.BackgroundImage",
                              u"menuStrip1.BackgroundImage",
                              u"pictureBox_black_background.Image",
                              u"pictureBox_help_background.Image",
                              u"pictureBox_completed.Image",
                              u"pictureBox_correct.Image",
                              u"pictureBox_incorrect_solution.Image",
                              u"pictureBox_invalid_number.Image",
                              u"pictureBox_select_level.Image"};
    for (auto _ : state) {
        // Each round decodes the files afresh, not Qt's cached pixmaps.
        QPixmapCache::clear();
        for (const char16_t* key : keys) {
            const QPixmap picture = resource_set::picture(key);
            if (picture.isNull()) {
                state.SkipWithError("a picture of the window did not decode");
                return;
            }
        }
        benchmark::DoNotOptimize(resource_set::icon(u"$this.Icon").isNull());
    }
}
BENCHMARK(decode_pictures)->Unit(benchmark::kMillisecond);

// "How to play" on a window that has not shown it yet: the panel with the largest picture (800 by
// 600) decodes it as it opens, and the frame is painted. Each round builds a fresh window, untimed.
void open_help_first_time(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = std::make_unique<Form1>();
        fresh->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        fresh->howToPlayToolStripMenuItem_Click();
        fresh->pictureBox_help_background->repaint();
        state.PauseTiming();
        if (!fresh->pictureBox_help_background->Visible() ||
            fresh->pictureBox_help_background->Image().size() != QSize(800, 600)) {
            state.SkipWithError("the help panel did not open with its picture");
            break;
        }
        fresh.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(open_help_first_time)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    Form1 w;
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) {
        std::fputs("window_bench: the window did not become active\n", stderr);
        return 1;
    }
    the_window = &w;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
