// The game's one window: its controls, its state, and every operation and handler of the game.
#pragma once

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/menu.h"
#include "toolkit/text_box.h"
#include "toolkit/window.h"

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <map>
#include <random>

// Debug builds and the sanitizer build (an optimised build with AddressSanitizer)
// check the window's invariants as they go; a broken one ends the run there.
#if !defined(NDEBUG) || defined(__SANITIZE_ADDRESS__)
#define TALLYWICK_CHECK_INVARIANTS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALLYWICK_CHECK_INVARIANTS 1
#endif
#endif

// Form1 holds the whole game. Its operations live in the folder of their
// concern, one file each:
//   catalogue/loading.cpp      the four loaders of the working arrays
//   engine/board_access.cpp    get_cells, put_cells, clear_cells
//   engine/game_flow.cpp       start, reveal, show all, skip, restart, difficulty
//   engine/verification.cpp    the check of a finished board and its panels
//   ui/layout.cpp              InitializeComponent: every control and its wiring
//   ui/form1.cpp               the constructor's start-up steps
//   ui/cage_colours.cpp        color_control
//   ui/sum_labels.cpp          the sum-label operations
//   ui/cell_input.cpp          pen and pencil input in the cells
//   ui/panels.cpp              help, puzzle-selection and invalid-number panels
//   ui/screen_reader.cpp       the names and readings a screen reader gives the controls
//
// The cell texts are the board and the text of label_level_value is the puzzle
// number: every operation reads them afresh, and nothing keeps a copy.
class Form1 : public tk::Window {
    Q_OBJECT
public:
    // The shipped game seeds the cells it reveals from the system's entropy; a test builds the
    // window with a seed of its own, so that a run with that seed reveals the same cells again.
    Form1();
    explicit Form1(std::uint64_t seed);
    ~Form1() override;

    // ---- state ----------------------------------------------------------
    // Working arrays, slot k for cell k (1 to 81); slot 0 belongs to no cell.
    std::array<std::int32_t, 82> current_level_array{};
    std::array<std::int32_t, 82> current_color_array{};
    std::array<std::int32_t, 82> current_sum_label_array{};
    std::array<std::int32_t, 82> current_sum_label_visible_array{};
    std::array<std::int32_t, 82> completed_array{};
    std::array<std::int32_t, 9> verify_array{};

    std::int32_t current_level = 0;
    std::int32_t number_of_start_cells = 15;
    // Rows of the catalogue that can be loaded; 0 until the window is built.
    std::int32_t level_array_size = 0;

    // ---- controls (owned by the window through Qt's parent ownership) ----
    // Cell k is textBox[k] and its sum label label[k], k = 1 to 81; slot 0 is unused.
    std::array<tk::TextBox*, 82> textBox{};
    std::array<tk::Label*, 82> label{};

    tk::Label* label_level_title_2 = nullptr;
    tk::Label* label_level_title = nullptr;
    tk::Label* label_level_value = nullptr;

    tk::Button* button4 = nullptr;
    tk::Button* button4_show_cell = nullptr;
    tk::Button* button_request_level = nullptr;
    tk::Button* button2 = nullptr;
    tk::Button* button3 = nullptr;
    tk::Button* button1 = nullptr;

    tk::RadioButton* radioButton2 = nullptr; // "Pen"
    tk::RadioButton* radioButton1 = nullptr; // "Pencil"

    tk::MenuStrip* menuStrip1 = nullptr;
    tk::MenuItem* toolStripMenuItem1 = nullptr;
    tk::MenuItem* easyToolStripMenuItem = nullptr;
    tk::MenuItem* normalToolStripMenuItem = nullptr;
    tk::MenuItem* hardToolStripMenuItem = nullptr;
    tk::MenuItem* optionsToolStripMenuItem = nullptr;
    tk::MenuItem* howToPlayToolStripMenuItem = nullptr;
    tk::MenuItem* restartToolStripMenuItem = nullptr;
    tk::MenuItem* selectPuzzleToolStripMenuItem = nullptr;

    tk::PictureBox* pictureBox_black_background = nullptr;
    tk::PictureBox* pictureBox_help_background = nullptr;
    tk::Button* button_help_exit = nullptr;
    tk::PictureBox* pictureBox_completed = nullptr;
    tk::Button* button_completed = nullptr;
    tk::PictureBox* pictureBox_incorrect_solution = nullptr;
    tk::Button* button_incorrect_solution = nullptr;
    tk::PictureBox* pictureBox_correct = nullptr;
    tk::Button* button_correct = nullptr;
    tk::PictureBox* pictureBox_select_level = nullptr;
    tk::MaskedTextBox* maskedTextBox_select_level = nullptr;
    tk::Button* button_level_select_continue = nullptr;
    tk::PictureBox* pictureBox_invalid_number = nullptr;
    tk::Button* button_invalid_puzzle_ok = nullptr;

    // ---- catalogue/loading.cpp ------------------------------------------
    void update_level_array();
    void update_color_array();
    void update_sum_label_array();
    void update_sum_label_visible_array();

    // ---- engine/board_access.cpp ----------------------------------------
    void get_cells();
    void put_cells(std::int32_t level);
    void clear_cells();

    // ---- engine/game_flow.cpp -------------------------------------------
    void start_game();
    void show_one_cell();
    void skip_puzzle();
    void solve();

    // ---- engine/verification.cpp ----------------------------------------
    void verify_solution();
    std::int32_t verify_rows();
    std::int32_t verify_columns();
    std::int32_t verify_blocks();
    std::int32_t verify_cages();
    void row_fill_verify_array(std::int32_t range_start);
    void column_fill_verify_array(std::int32_t range_start);
    void block_fill_verify_array(std::int32_t range_start);
    std::int32_t check_verify_array();
    void incorrect_solution();

    // ---- ui/cage_colours.cpp --------------------------------------------
    void color_control(tk::Kind control_type);

    // ---- ui/sum_labels.cpp ----------------------------------------------
    void change_sum_labels();
    void toggle_labels_on();
    void toggle_labels_off();
    void toggle_label_visibility();

    // ---- ui/panels.cpp --------------------------------------------------
    std::int32_t check_level_select_number();
    void level_select_number_is_bad();

    // ---- ui/screen_reader.cpp -------------------------------------------
    void describe_for_screen_readers();
    // Tells screen readers how many cells a Start revealed, after the new puzzle number if the
    // command that started it brought one.
    void announce_start();
    // What a player hears read out from a cell: its row, its column, its block or its cage, each
    // cell's digit, "blank" or marks in reading order.
    enum class ReadOut { Row, Column, Block, Cage };
    QString read_out(int cell, ReadOut what) const;

    // The puzzle number as label_level_value shows it, read as a decimal
    // integer (0 for a text that is no number).
    std::int32_t puzzle_number() const;

    // The three level labels are labels too, but never sum labels: the board
    // walk passes them by name.
    static bool is_level_label(const tk::Control* c);

    // The board has 81 cells, each with one sum label.
    static constexpr int board_cells = 81;

    // The three forms of a cell's text: "", one answer digit, or pencil text,
    // a line break followed by the marks (so that they show on the second line).
    static inline const QString& pencil_prefix = tk::line_break;
    // An answer digit, and the only characters a pencil mark may be.
    static bool is_cell_digit(QChar c) { return c >= u'1' && c <= u'9'; }
    // How a cell shows an answer typed in pen, and pencil marks.
    static QFont pen_font();
    static QFont pencil_font();

    // ---- event handlers -------------------------------------------------
    void button4_Click();
    void button4_show_cell_Click();
    void button_request_level_Click();
    void button2_Click();
    void button3_Click();
    void button1_Click();
    void easyToolStripMenuItem_Click();
    void normalToolStripMenuItem_Click();
    void hardToolStripMenuItem_Click();
    void restartToolStripMenuItem_Click();
    void howToPlayToolStripMenuItem_Click();
    void selectPuzzleToolStripMenuItem_Click();
    void button_help_exit_Click();
    void button_level_select_continue_Click();
    void button_invalid_puzzle_ok_Click();
    void maskedTextBox_select_level_KeyPress(tk::KeyPressEventArgs& e);
    void button_completed_Click();
    void button_correct_Click();
    void button_incorrect_solution_Click();

    void textBox_click();
    void textBox_text_changed();
    void textBox_KeyDown(tk::KeyEventArgs& e);
    void textBox_KeyPress(tk::KeyPressEventArgs& e);
    // The keys that play by ear, with Alt held in a cell: the arrows move the focus to the next
    // cell as the board lies on the screen, R, C, B and K read the cell's row, column, block and
    // cage out. True for a key that is one of them.
    bool textBox_by_ear(int cell, int key);
    // A paste into a cell, filtered as a whole by the rules of typing.
    void textBox_paste(tk::PasteEventArgs& e);

private:
    // The board walk: visits the child list in order and hands each control of
    // the kind to visit(control, n), numbering them 1, 2, 3 ... as it meets
    // them; the level labels are labels too but take no number. So the n-th
    // plain text box is cell n and the n-th other label is sum label n, as long
    // as nothing but overlays ever moves in the list. The window holds exactly
    // 81 of each, which debug and sanitizer builds check after every walk;
    // numbers past 81 are never handed out.
    template <typename Visit> void walk_board(tk::Kind kind, Visit&& visit) const {
        int n = 0;
        for (tk::Control* c : Controls()) {
            if (c->kind() != kind || (kind == tk::Kind::Label && is_level_label(c))) {
                continue;
            }
            if (++n <= board_cells) {
                visit(*c, n);
            }
        }
        check_board_count(n);
    }
    static void check_board_count(int numbered) {
#ifdef TALLYWICK_CHECK_INVARIANTS
        if (numbered != board_cells) {
            qFatal("the board walk numbered %d controls, not %d", numbered, board_cells);
        }
#else
        Q_UNUSED(numbered);
#endif
    }

    // ui/layout.cpp: InitializeComponent builds the window part by part, then
    // puts the controls in their child-list order and wires their events.
    void InitializeComponent();
    void build_cells();
    void build_sum_labels();
    void build_level_display();
    void build_command_buttons();
    void build_input_mode_buttons();
    void build_menus();
    void build_pictures();
    void build_overlays();
    void order_children();
    void wire_events();

    // ui/layout.cpp: the six overlay pictures, each with the resource key of the
    // picture it shows.
    struct OverlayPicture {
        tk::PictureBox* box;
        const char16_t* key;
    };
    std::array<OverlayPicture, 6> overlay_pictures() const;

    // ui/panels.cpp: a picture with its button shown above everything, the
    // button above the picture; and closed again, both sent to the back.
    void show_panel(tk::Control& picture, tk::Control& button);
    void close_panel(tk::Control& picture, tk::Control& button);

    // ui/panels.cpp: where the keyboard focus goes back to when a panel closes.
    // A panel, named by its picture, notes the focused control as it opens;
    // once the handler that closes it is done, return_focus gives the focus
    // back to that control if a player could still use it, else to the
    // nearest control that cannot lose the board.
    void note_focus(const tk::Control& picture);
    void return_focus(const tk::Control& picture);
    std::map<const tk::Control*, tk::Control*> focus_before_panel_;

    // engine/verification.cpp: 1 when each unit that starts at one of the
    // cells passes, filled by the given operation; stops at the first failure.
    std::int32_t verify_units(const std::int32_t (&starts)[9], void (Form1::*fill)(std::int32_t));

    // One generator for the whole run, seeded once when the window is built.
    std::mt19937 random_;
};
