// The main window as built: child list, stacking, geometry, focus order, start-up state, loaders
// and sum labels.
#include "catalogue/tables.h"
#include "core/cells.h"
#include "resources/resource_set.h"
#include "tests/support/support.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTest>

#include <random>

namespace {

QStringList names_of(const Form1& window) {
    QStringList names;
    for (const tk::Control* c : window.Controls()) {
        names << c->Name();
    }
    return names;
}

QStringList numbered(const char* stem) {
    QStringList names;
    for (int k = 1; k <= 81; ++k) {
        names << QString::fromLatin1(stem) + QString::number(k);
    }
    return names;
}

// The controls of one kind in child-list order.
QStringList names_of_kind(const Form1& window, tk::Kind kind) {
    QStringList names;
    for (const tk::Control* c : window.Controls()) {
        if (c->kind() == kind) {
            names << c->Name();
        }
    }
    return names;
}

// The next control that Tab would move to, as Qt walks the focus chain.
QWidget* next_tab_stop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            return w;
        }
    }
    return from;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void childListAfterConstructionIsTheDesignedOrder() {
        Form1 window;
        QStringList expected = {"button_invalid_puzzle_ok",
                                "pictureBox_invalid_number",
                                "button_level_select_continue",
                                "maskedTextBox_select_level",
                                "pictureBox_select_level",
                                "button_correct",
                                "button_incorrect_solution",
                                "button_completed",
                                "button_help_exit"};
        expected << numbered("label");
        expected << QStringList{"radioButton2", "radioButton1", "label_level_title_2", "button4",
                                "button4_show_cell"};
        expected << numbered("textBox");
        expected << QStringList{"button3",
                                "button_request_level",
                                "label_level_value",
                                "label_level_title",
                                "button2",
                                "button1",
                                "menuStrip1",
                                "pictureBox_black_background",
                                "pictureBox_completed",
                                "pictureBox_incorrect_solution",
                                "pictureBox_help_background",
                                "pictureBox_correct"};
        QCOMPARE(names_of(window), expected);
        QCOMPARE(window.position_of(window.textBox[1]), 95);
        QCOMPARE(window.position_of(window.textBox[81]), 175);
    }

    // Guards against the list and the real widgets' stacking drifting apart,
    // and against an overlay move disturbing the cells' or labels' order.
    void overlayMovesKeepCellAndLabelOrderAndRestackWidgets() {
        Form1 window;
        const std::vector<tk::Control*> overlays = {window.pictureBox_help_background,
                                                    window.button_help_exit,
                                                    window.pictureBox_completed,
                                                    window.button_completed,
                                                    window.pictureBox_correct,
                                                    window.button_correct,
                                                    window.pictureBox_incorrect_solution,
                                                    window.button_incorrect_solution,
                                                    window.pictureBox_select_level,
                                                    window.maskedTextBox_select_level,
                                                    window.button_level_select_continue,
                                                    window.pictureBox_invalid_number,
                                                    window.button_invalid_puzzle_ok};
        const unsigned long long seed = support::test_seed();
        std::mt19937_64 random(seed);
        for (int step = 0; step < 300; ++step) {
            tk::Control* c = overlays[random() % overlays.size()];
            if (random() % 2 == 0) {
                c->BringToFront();
            } else {
                c->SendToBack();
            }
        }
        QStringList labels = numbered("label");
        labels << "label_level_title_2"
               << "label_level_value"
               << "label_level_title";
        QVERIFY2(names_of_kind(window, tk::Kind::TextBox) == numbered("textBox"),
                 qPrintable(QString("seed %1").arg(seed)));
        QVERIFY2(names_of_kind(window, tk::Kind::Label) == labels,
                 qPrintable(QString("seed %1").arg(seed)));
        QCOMPARE(window.Controls().size(), std::size_t{188});

        // Qt lists a parent's children bottom first: the reverse of our list.
        std::vector<const QWidget*> stacked;
        for (const QObject* o : window.children()) {
            if (const auto* w = qobject_cast<const QWidget*>(o);
                w && !w->isWindow() &&
                window.position_of(dynamic_cast<const tk::Control*>(w)) >= 0) {
                stacked.push_back(w);
            }
        }
        QCOMPARE(stacked.size(), std::size_t{188});
        for (std::size_t i = 0; i < stacked.size(); ++i) {
            QCOMPARE(window.Controls()[stacked.size() - 1 - i]->widget(), stacked[i]);
        }
    }

    void maskedFieldIsNeverACell() {
        Form1 window;
        QCOMPARE(window.maskedTextBox_select_level->kind(), tk::Kind::MaskedTextBox);
        window.maskedTextBox_select_level->BringToFront();
        QCOMPARE(names_of_kind(window, tk::Kind::TextBox), numbered("textBox"));
    }

    void cornerCellsSitWhereTheNumberingSays() {
        Form1 window;
        QCOMPARE(window.textBox[1]->geometry(), QRect(468, 50, 52, 52));
        QCOMPARE(window.textBox[9]->geometry(), QRect(56, 50, 52, 52));
        QCOMPARE(window.textBox[73]->geometry(), QRect(468, 462, 52, 52));
        QCOMPARE(window.textBox[81]->geometry(), QRect(56, 462, 52, 52));
        QCOMPARE(window.textBox[41]->geometry(), QRect(262, 256, 52, 52));
        QCOMPARE(window.label[1]->geometry(), QRect(470, 52, 19, 13));
        QCOMPARE(window.label[81]->geometry(), QRect(58, 464, 19, 13));
        // Guards against a cell or sum label whose size is not fixed, which a layout or a style
        // could then stretch: minimum and maximum are both its size.
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(window.textBox[k]->minimumSize(), QSize(52, 52));
            QCOMPARE(window.textBox[k]->maximumSize(), QSize(52, 52));
            QCOMPARE(window.label[k]->minimumSize(), QSize(19, 13));
            QCOMPARE(window.label[k]->maximumSize(), QSize(19, 13));
        }
        QCOMPARE(window.size(), QSize(792, 566));
        QCOMPARE(window.maximumSize(), QSize(792, 566));
    }

    void tabMovesLeftToRightWithinARowAndStartsAtStart() {
        Form1 window;
        QVERIFY(support::show_active(window));
        QCOMPARE(window.ActiveControl(), window.button4);
        QCOMPARE(next_tab_stop(window.textBox[9]), window.textBox[8]);
        QCOMPARE(next_tab_stop(window.textBox[1]), window.textBox[18]);
        QCOMPARE(next_tab_stop(window.textBox[73]), window.button4_show_cell);
        // "Show All" and "Check" share a tab index; the child list puts "Show All" first.
        QCOMPARE(next_tab_stop(window.button2), window.button_request_level);
        QCOMPARE(next_tab_stop(window.button_request_level), window.button1);
    }

    void clickOnAVisibleSumLabelStaysWithTheLabel() {
        Form1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.button4->setFocus();
        const QPoint on_label1 = window.label[1]->geometry().center();

        window.label[1]->SetVisible(true);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, on_label1);
        QVERIFY(!window.textBox[1]->hasFocus());

        window.label[1]->SetVisible(false);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, on_label1);
        QTRY_VERIFY(window.textBox[1]->hasFocus());
        QCOMPARE(window.ActiveControl(), window.textBox[1]);
    }

    void startUpStateIsPuzzleOneWithNothingShown() {
        Form1 window;
        QCOMPARE(window.label_level_value->Text(), QString("1"));
        QCOMPARE(window.level_array_size, loadable_rows);
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(window.textBox[k]->Text(), QString());
            QVERIFY(!window.label[k]->Visible());
            QCOMPARE(window.label[k]->Text(), QString("45"));
            QCOMPARE(window.textBox[k]->MaxLength(), 9);
            QCOMPARE(window.textBox[k]->Font().family(), QString("Kristen ITC"));
            QCOMPARE(window.textBox[k]->Font().pointSizeF(), 26.25);
            QVERIFY(window.textBox[k]->Font().bold());
        }
        for (const tk::Control* c : window.Controls()) {
            if (c->Name().startsWith("pictureBox_") && c->Name() != "pictureBox_black_background") {
                QVERIFY2(!c->Visible(), qPrintable(c->Name()));
            }
        }
        QVERIFY(!window.button_correct->Visible());
        QVERIFY(!window.maskedTextBox_select_level->Enabled());
        QVERIFY(!window.button_invalid_puzzle_ok->Enabled());
        QVERIFY(window.button_help_exit->Enabled());
        QVERIFY(window.normalToolStripMenuItem->Checked());
        QVERIFY(!window.easyToolStripMenuItem->Checked());
        QVERIFY(!window.hardToolStripMenuItem->Checked());
        QVERIFY(window.radioButton2->Checked());
        QVERIFY(!window.radioButton1->Checked());
        // Nothing of puzzle 1 (or any) was loaded into the working arrays.
        for (const auto* array :
             {&window.current_level_array, &window.current_color_array,
              &window.current_sum_label_array, &window.current_sum_label_visible_array,
              &window.completed_array}) {
            QCOMPARE(*array, (std::array<std::int32_t, 82>{}));
        }
        QCOMPARE(window.windowTitle(), QString("Tallywick"));
    }

    // Guards against the construction loading row 0 (all zeros, so the arrays
    // alone cannot tell): the step that hides the labels runs with nothing
    // loadable. Marks in the arrays show whether a load happened.
    void hidingTheLabelsAtConstructionLoadsNothing() {
        Form1 window;
        const auto hide_as_construction_does = [&window](std::int32_t loadable) {
            window.level_array_size = loadable;
            window.current_sum_label_visible_array.fill(7);
            window.current_sum_label_visible_array[3] = 0;
            window.label[3]->SetVisible(true);
            window.label_level_value->SetText("0");
            window.toggle_label_visibility();
            window.label_level_value->SetText("1");
        };
        hide_as_construction_does(0);
        QCOMPARE(window.current_sum_label_visible_array[1], 7);
        QVERIFY(!window.label[3]->Visible());
        // With the catalogue loadable the same step loads row 0 over the marks.
        hide_as_construction_does(loadable_rows);
        QCOMPARE(window.current_sum_label_visible_array[1], 0);
        // The constructor makes the catalogue loadable only as its last step.
        QCOMPARE(Form1().level_array_size, loadable_rows);
    }

    void pencilAndPenAreOneExclusiveGroup() {
        Form1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.radioButton1, Qt::LeftButton);
        QVERIFY(window.radioButton1->Checked());
        QVERIFY(!window.radioButton2->Checked());
    }

    void loadersTakeTheShownRowAndIgnoreUnloadableNumbers() {
        Form1 window;
        const auto load_all = [&window] {
            window.update_level_array();
            window.update_color_array();
            window.update_sum_label_array();
            window.update_sum_label_visible_array();
        };
        window.label_level_value->SetText("1");
        load_all();
        QCOMPARE(window.current_sum_label_array[2], 14);
        QCOMPARE(window.current_sum_label_visible_array[2], 1);
        QCOMPARE(window.current_sum_label_array[4], 0);
        QCOMPARE(window.current_sum_label_visible_array[4], 0);
        QCOMPARE(window.current_level_array[1], 6);
        QCOMPARE(window.current_color_array[1], 2);
        QCOMPARE(window.current_level_array[0], 0);

        window.label_level_value->SetText(support::last_puzzle);
        load_all();
        QCOMPARE(window.current_level_array[81], level_array[last_playable_puzzle][81]);
        const auto level_last = window.current_level_array;
        const auto colour_last = window.current_color_array;
        const auto sums_last = window.current_sum_label_array;
        const auto flags_last = window.current_sum_label_visible_array;
        QVERIFY(sums_last != (std::array<std::int32_t, 82>{}));

        // The catalogue's last row, the number after it, and numbers no row has.
        for (const QString& unloadable :
             {QString::number(catalogue_puzzles), QString::number(catalogue_rows), QString("-1"),
              QString("2147483647")}) {
            window.label_level_value->SetText(unloadable);
            load_all();
            QCOMPARE(window.current_level_array, level_last);
            QCOMPARE(window.current_color_array, colour_last);
            QCOMPARE(window.current_sum_label_array, sums_last);
            QCOMPARE(window.current_sum_label_visible_array, flags_last);
        }

        window.label_level_value->SetText("0");
        window.update_level_array();
        window.update_sum_label_array();
        QCOMPARE(window.current_level_array, (std::array<std::int32_t, 82>{}));
        QCOMPARE(window.current_sum_label_array, (std::array<std::int32_t, 82>{}));
    }

    // Guards against visibility read from the sums: a label with a sum and
    // flag 0 stays hidden, one with sum 0 and flag 1 shows.
    void aLabelsFlagNotItsSumDecidesWhetherItShows() {
        Form1 window;
        window.level_array_size = 0; // nothing loads: the arrays stay as set here
        window.current_sum_label_array.fill(0);
        window.current_sum_label_visible_array.fill(0);
        window.current_sum_label_array[10] = 17;        // a sum, but flag 0
        window.current_sum_label_visible_array[11] = 1; // flag 1, sum 0
        window.label[10]->SetVisible(true);
        window.change_sum_labels();
        window.toggle_label_visibility();
        QCOMPARE(window.label[10]->Text(), QString("17"));
        QVERIFY(!window.label[10]->Visible());
        QCOMPARE(window.label[11]->Text(), QString("0"));
        QVERIFY(window.label[11]->Visible());
    }

    void sumLabelsFollowTheirFlagsNotTheirSums() {
        Form1 window;
        window.label_level_value->SetText("1");
        window.change_sum_labels();
        QCOMPARE(window.label[2]->Text(), QString("14"));
        QCOMPARE(window.label[4]->Text(), QString("0"));
        // Hidden ones among them: on must show every sum label, whatever its flag.
        window.toggle_label_visibility();
        QVERIFY(!window.label[4]->Visible());
        window.toggle_labels_on();
        for (int k = 1; k <= 81; ++k) {
            QVERIFY2(window.label[k]->Visible(), qPrintable(QString("label%1").arg(k)));
        }
        QCOMPARE(window.label[2]->Text(), QString("14")); // texts untouched
        QCOMPARE(window.label[4]->Text(), QString("0"));
        window.toggle_labels_off();
        for (int k = 1; k <= 81; ++k) {
            QVERIFY(!window.label[k]->Visible());
        }
        window.toggle_label_visibility();
        for (int k = 1; k <= 81; ++k) {
            QCOMPARE(window.label[k]->Visible(), sum_label_visible_array[1][k] == 1);
        }
        // The level labels are labels too, but never sum labels.
        QCOMPARE(window.label_level_title_2->Text(), QString("Current"));
        QCOMPARE(window.label_level_title->Text(), QString("Level"));
        QCOMPARE(window.label_level_value->Text(), QString("1"));
        QVERIFY(window.label_level_value->Visible());
    }

    // Guards against a seam between the menu bar and the window: the bar must
    // show exactly the background's top rows, and the window the rest.
    void menuBarAndWindowShowOneUnbrokenBackground() {
        Form1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = support::rgb(window.grab());
        const QImage background = support::rgb(resource_set::picture(u"$this.BackgroundImage"));
        QCOMPARE(background.size(), QSize(800, 600));
        // Columns clear of the menu titles and the radio buttons, rows across
        // the bar's lower edge and below it.
        for (const int x : {300, 450, 560, 780}) {
            for (int y = 0; y < 48; ++y) {
                QCOMPARE(shot.pixel(x, y), background.pixel(x, y));
            }
        }
        // The grid frame shows as a dark band round the cells, every pixel of it
        // between and round the cells exactly as the picture decodes.
        QVERIFY(qGray(shot.pixel(55, 300)) < 60);
        const QImage frame = resource_set::image(u"pictureBox_black_background.Image")
                                 .convertToFormat(QImage::Format_RGB32);
        const QRect frame_box = window.pictureBox_black_background->geometry();
        QRegion uncovered(frame_box);
        for (int k = 1; k <= 81; ++k) {
            const core::Bounds c = core::cell_bounds(k);
            uncovered -= QRect(c.x, c.y, c.width, c.height);
        }
        int compared = 0;
        for (const QRect& part : uncovered) {
            for (int y = part.top(); y <= part.bottom(); ++y) {
                for (int x = part.left(); x <= part.right(); ++x) {
                    QCOMPARE(shot.pixel(x, y), frame.pixel(x - frame_box.x(), y - frame_box.y()));
                    ++compared;
                }
            }
        }
        QVERIFY(compared > 5000);
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(48, 48)));
        QCOMPARE(window.pictureBox_select_level->size(), QSize(233, 198));
        QCOMPARE(window.pictureBox_invalid_number->size(), QSize(233, 153));
    }

    // Guards against the two menu titles drawn alike: "Difficulty" sits on the
    // control colour, "Options" shows the background through; both in white.
    void difficultyTitleHasTheControlColourAndOptionsNone() {
        Form1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = support::rgb(window.grab());
        const QImage background = support::rgb(resource_set::picture(u"$this.BackgroundImage"));
        const auto title_area = [&window](tk::MenuItem* item) {
            return window.menuStrip1->actionGeometry(item->action());
        };
        const auto count = [&shot](QRect area, auto&& test) {
            int n = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    n += test(shot.pixel(x, y), x, y) ? 1 : 0;
                }
            }
            return n;
        };
        const QRect difficulty = title_area(window.toolStripMenuItem1);
        const QRect options = title_area(window.optionsToolStripMenuItem);
        QVERIFY(!difficulty.isEmpty() && !options.isEmpty());
        const QRgb control = tk::system_control_colour().rgb();
        const auto white = [](QRgb p, int, int) {
            return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240;
        };
        const auto on_control = [control](QRgb p, int, int) { return p == control; };
        const auto on_background = [&background](QRgb p, int x, int y) {
            return p == background.pixel(x, y);
        };
        const int difficulty_pixels = difficulty.width() * difficulty.height();
        // Mostly the control colour, never the picture, with white letters on it.
        QVERIFY(count(difficulty, on_control) > difficulty_pixels / 2);
        QCOMPARE(count(difficulty, on_background), 0);
        QVERIFY(count(difficulty, white) > 20);
        const int options_pixels = options.width() * options.height();
        QVERIFY(count(options, on_background) > options_pixels / 2);
        QCOMPARE(count(options, on_control), 0);
        QVERIFY(count(options, white) > 20);
    }

    // Guards against the "Difficulty" title not checking on click: each click
    // on it flips its state, which starts unchecked.
    void aClickOnTheDifficultyTitleFlipsItsCheck() {
        Form1 window;
        QVERIFY(support::show_active(window));
        QVERIFY(window.toolStripMenuItem1->CheckOnClick());
        QVERIFY(!window.toolStripMenuItem1->Checked());
        QVERIFY(!window.optionsToolStripMenuItem->CheckOnClick());
        int clicks = 0;
        connect(window.toolStripMenuItem1, &tk::MenuItem::Click, &window, [&] { ++clicks; });
        const QPoint title =
            window.menuStrip1->actionGeometry(window.toolStripMenuItem1->action()).center();
        QTest::mouseClick(window.menuStrip1, Qt::LeftButton, {}, title);
        QVERIFY(window.toolStripMenuItem1->Checked());
        QCOMPARE(clicks, 1);
        QTRY_VERIFY(window.toolStripMenuItem1->menu()->isVisible()); // and its menu opens
        QTest::keyClick(window.toolStripMenuItem1->menu(), Qt::Key_Escape);
        QTRY_VERIFY(!window.toolStripMenuItem1->menu()->isVisible());
        QTest::mouseClick(window.menuStrip1, Qt::LeftButton, {}, title);
        QVERIFY(!window.toolStripMenuItem1->Checked());
        QCOMPARE(clicks, 2);
        // The difficulty items are untouched by it.
        QVERIFY(window.normalToolStripMenuItem->Checked());
        QVERIFY(!window.easyToolStripMenuItem->Checked());
        QVERIFY(!window.hardToolStripMenuItem->Checked());
        // A click on "Options" checks nothing.
        const QPoint options =
            window.menuStrip1->actionGeometry(window.optionsToolStripMenuItem->action()).center();
        QTest::keyClick(window.toolStripMenuItem1->menu(), Qt::Key_Escape);
        QTest::mouseClick(window.menuStrip1, Qt::LeftButton, {}, options);
        QVERIFY(!window.optionsToolStripMenuItem->Checked());
    }

    // Guards against menu titles and items at the style's own sizes: the
    // titles stand side by side from the bar's left edge, 114 and 92 pixels
    // wide and 28 high, so a click anywhere inside those bounds opens the
    // right menu; the drop-down items are 146 (Difficulty) and 201 (Options)
    // pixels wide, and a click near an item's far end still chooses it.
    void menuTitlesAndItemsHaveTheirDesignedSizesAndTakeClicksThere() {
        Form1 window;
        QVERIFY(support::show_active(window));
        tk::MenuStrip* bar = window.menuStrip1;
        struct Menu {
            tk::MenuItem* title;
            QRect bounds;
            QList<tk::MenuItem*> items;
            QSize item_size;
        };
        const Menu menus[] = {
            {window.toolStripMenuItem1,
             {0, 2, 114, 28},
             {window.easyToolStripMenuItem, window.normalToolStripMenuItem,
              window.hardToolStripMenuItem},
             {146, 28}},
            {window.optionsToolStripMenuItem,
             {114, 2, 92, 28},
             {window.howToPlayToolStripMenuItem, window.restartToolStripMenuItem,
              window.selectPuzzleToolStripMenuItem},
             {201, 28}},
        };
        for (const Menu& m : menus) {
            QCOMPARE(bar->actionGeometry(m.title->action()), m.bounds);
            // Clicks just inside the designed left and right edges.
            for (const int x : {m.bounds.left() + 2, m.bounds.right() - 2}) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(x, m.bounds.center().y()));
                QTRY_VERIFY2(m.title->menu()->isVisible(), qPrintable(m.title->Text()));
                for (const Menu& other : menus) {
                    QCOMPARE(other.title->menu()->isVisible(), &other == &m);
                }
                // Each item at its size, one below the other.
                const QRect first = m.title->menu()->actionGeometry(m.items[0]->action());
                for (int i = 0; i < m.items.size(); ++i) {
                    QCOMPARE(m.title->menu()->actionGeometry(m.items[i]->action()),
                             QRect(first.topLeft() + QPoint(0, 28 * i), m.item_size));
                }
                QTest::keyClick(m.title->menu(), Qt::Key_Escape);
                QTRY_VERIFY(!m.title->menu()->isVisible());
            }
        }
        // A click two pixels inside an item's far end chooses it.
        const auto choose = [bar](const Menu& m, tk::MenuItem* item) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, m.bounds.center());
            QTRY_VERIFY(m.title->menu()->isVisible());
            const QRect area = m.title->menu()->actionGeometry(item->action());
            QTest::mouseClick(m.title->menu(), Qt::LeftButton, {},
                              QPoint(area.left() + m.item_size.width() - 3, area.center().y()));
            QTRY_VERIFY(!m.title->menu()->isVisible());
        };
        choose(menus[0], window.hardToolStripMenuItem);
        QVERIFY(window.hardToolStripMenuItem->Checked());
        QVERIFY(!window.normalToolStripMenuItem->Checked());
        choose(menus[1], window.howToPlayToolStripMenuItem);
        QVERIFY(window.button_help_exit->isVisible());
    }

    // Guards against a keyboard focus too faint to see on the buttons and the
    // radio buttons: the focused control gains a frame all round it.
    void theKeyboardFocusShowsAsAFrameOnButtonsAndRadioButtons() {
        Form1 window;
        QVERIFY(support::show_active(window));
        const auto shot = [&window](QWidget* w) {
            window.grab(); // lets the focus change paint
            return window.grab(w->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        };
        // Pixels that the focus changed to a colour near the one given, and on
        // how many of the four sides of the control they lie.
        const auto frame = [](const QImage& off, const QImage& on, QColor colour, int* sides) {
            int changed = 0;
            bool side[4] = {};
            for (int y = 0; y < on.height(); ++y) {
                for (int x = 0; x < on.width(); ++x) {
                    const QColor p = QColor::fromRgb(on.pixel(x, y));
                    if (on.pixel(x, y) == off.pixel(x, y) ||
                        std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                                std::abs(p.blue() - colour.blue()) >
                            60) {
                        continue;
                    }
                    ++changed;
                    side[0] |= y < 4;
                    side[1] |= y >= on.height() - 4;
                    side[2] |= x < 4;
                    side[3] |= x >= on.width() - 4;
                }
            }
            *sides = side[0] + side[1] + side[2] + side[3];
            return changed;
        };
        for (QWidget* control :
             std::initializer_list<QWidget*>{window.button2, window.radioButton1}) {
            window.button1->setFocus();
            const QImage off = shot(control);
            control->setFocus();
            QVERIFY(control->hasFocus());
            const QImage on = shot(control);
            const bool radio = control == window.radioButton1;
            // Buttons: the highlight colour; radio buttons: their white text colour.
            const QColor colour =
                radio ? QColor(Qt::white) : control->palette().color(QPalette::Highlight);
            int sides = 0;
            const int changed = frame(off, on, colour, &sides);
            const int perimeter = 2 * (control->width() + control->height());
            QVERIFY2(changed > perimeter / 3, qPrintable(QString("%1: %2 of %3")
                                                             .arg(control->objectName())
                                                             .arg(changed)
                                                             .arg(perimeter)));
            QCOMPARE(sides, 4);
        }
    }

    void anUnknownFlagLeavesALabelAsItIs() {
        Form1 window;
        window.level_array_size = 0; // nothing loadable: the arrays stay as set here
        window.current_sum_label_visible_array.fill(0);
        window.current_sum_label_visible_array[5] = 2;
        window.current_sum_label_visible_array[6] = 1;
        window.current_sum_label_visible_array[8] = -1;
        window.current_sum_label_array[6] = 0;
        window.label[5]->SetVisible(true);
        window.label[8]->SetVisible(false);
        window.change_sum_labels();
        window.toggle_label_visibility();
        QVERIFY(window.label[5]->Visible());
        // An unknown flag leaves a hidden label hidden too.
        window.label[5]->SetVisible(false);
        window.toggle_label_visibility();
        QVERIFY(!window.label[5]->Visible());
        QVERIFY(!window.label[8]->Visible());
        window.label[8]->SetVisible(true);
        window.toggle_label_visibility();
        QVERIFY(window.label[8]->Visible());
        QVERIFY(window.label[6]->Visible());
        QCOMPARE(window.label[6]->Text(), QString("0"));
        QVERIFY(!window.label[7]->Visible());
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
