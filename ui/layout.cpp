// InitializeComponent: every control of the window with its bounds, fonts, colours, texts and
// wiring, built part by part.
#include "ui/form1.h"

#include "core/cells.h"
#include "resources/resource_set.h"

#include <QString>

#include <future>
#include <span>

namespace {

constexpr QRect rect_of(const core::Bounds& b) {
    return {b.x, b.y, b.width, b.height};
}
// Keyboard focus goes through the cells row by row from the top and left to
// right within a row, after the tab index of the top-left cell.
constexpr int first_cell_tab_index = 89;

const QColor cell_ink(0, 0, 192);
const QColor lavender_blush(255, 240, 245);

QFont bradley(double points, bool bold = false) {
    return tk::make_font(QStringLiteral("Bradley Hand ITC"), points, bold);
}

QString numbered(const char* stem, int k) {
    return QString::fromLatin1(stem) + QString::number(k);
}

// A button of the window: its place, text and font, and the handler of its click.
struct ButtonRow {
    tk::Button* Form1::*control;
    const char* name;
    const char* text;
    QRect bounds;
    int tab_index;
    double points;
    void (Form1::*click)();
};

// The six commands, a column of buttons alike but for their height and text.
constexpr QRect command(int y) {
    return {610, y, 98, 30};
}
constexpr ButtonRow command_buttons[] = {
    {&Form1::button4, "button4", "Start", command(200), 81, 12, &Form1::button4_Click},
    {&Form1::button4_show_cell, "button4_show_cell", "Show a Cell", command(250), 170, 12,
     &Form1::button4_show_cell_Click},
    // "Show All" and "Check" share a tab index; the child list puts "Show All" first.
    {&Form1::button_request_level, "button_request_level", "Show All", command(301), 87, 12,
     &Form1::button_request_level_Click},
    {&Form1::button2, "button2", "Skip Puzzle", command(350), 82, 12, &Form1::button2_Click},
    {&Form1::button3, "button3", "Clear Cells", command(400), 171, 12, &Form1::button3_Click},
    {&Form1::button1, "button1", "Check", command(450), 87, 12, &Form1::button1_Click},
};

// The buttons on the overlay panels.
constexpr ButtonRow panel_buttons[] = {
    {&Form1::button_help_exit,
     "button_help_exit",
     "Continue",
     {353, 480, 95, 26},
     258,
     12,
     &Form1::button_help_exit_Click},
    {&Form1::button_completed,
     "button_completed",
     "Continue",
     {238, 307, 95, 28},
     260,
     12,
     &Form1::button_completed_Click},
    {&Form1::button_incorrect_solution,
     "button_incorrect_solution",
     "Continue",
     {244, 327, 95, 26},
     262,
     12,
     &Form1::button_incorrect_solution_Click},
    {&Form1::button_correct,
     "button_correct",
     "Continue",
     {238, 282, 95, 26},
     264,
     12,
     &Form1::button_correct_Click},
    {&Form1::button_level_select_continue,
     "button_level_select_continue",
     "OK",
     {228, 325, 100, 27},
     268,
     12,
     &Form1::button_level_select_continue_Click},
    {&Form1::button_invalid_puzzle_ok,
     "button_invalid_puzzle_ok",
     "OK",
     {228, 296, 87, 26},
     270,
     11.25,
     &Form1::button_invalid_puzzle_ok_Click},
};

// The grid frame and the overlay panels' pictures. A box sized to its picture
// takes the picture's size; the others draw it from their top-left corner.
struct PictureRow {
    tk::PictureBox* Form1::*control;
    const char* name;
    QRect bounds;
    int tab_index;
    bool sized_to_image;
};
constexpr PictureRow pictures[] = {
    {&Form1::pictureBox_black_background,
     "pictureBox_black_background",
     {54, 48, 468, 468},
     265,
     false},
    {&Form1::pictureBox_help_background,
     "pictureBox_help_background",
     {0, 34, 792, 532},
     257,
     false},
    {&Form1::pictureBox_completed, "pictureBox_completed", {174, 207, 233, 150}, 259, false},
    {&Form1::pictureBox_incorrect_solution,
     "pictureBox_incorrect_solution",
     {174, 225, 233, 150},
     261,
     false},
    {&Form1::pictureBox_correct, "pictureBox_correct", {174, 191, 233, 150}, 263, false},
    {&Form1::pictureBox_select_level, "pictureBox_select_level", {166, 176, 233, 198}, 266, true},
    {&Form1::pictureBox_invalid_number,
     "pictureBox_invalid_number",
     {158, 205, 233, 153},
     269,
     true},
};

// The level display right of the grid: labels that size themselves to their text.
struct LevelLabelRow {
    tk::Label* Form1::*control;
    const char* name;
    const char* text;
    QPoint location;
};
constexpr LevelLabelRow level_labels[] = {
    {&Form1::label_level_title_2, "label_level_title_2", "Current", {581, 51}},
    {&Form1::label_level_title, "label_level_title", "Level", {634, 89}},
    {&Form1::label_level_value, "label_level_value", "1", {681, 118}},
};

// The input modes, over the right end of the menu bar; they size themselves to their text.
struct RadioRow {
    tk::RadioButton* Form1::*control;
    const char* name;
    const char* text;
    QPoint location;
    int tab_index;
};
constexpr RadioRow input_modes[] = {
    {&Form1::radioButton2, "radioButton2", "Pen", {618, 6}, 175},
    {&Form1::radioButton1, "radioButton1", "Pencil", {691, 6}, 174},
};

// The menu items in their menus' order, each with the handler of its click.
struct MenuItemRow {
    tk::MenuItem* Form1::*item;
    const char* name;
    const char* text;
    void (Form1::*click)();
};
constexpr MenuItemRow difficulty_items[] = {
    {&Form1::easyToolStripMenuItem, "easyToolStripMenuItem", "Easy",
     &Form1::easyToolStripMenuItem_Click},
    {&Form1::normalToolStripMenuItem, "normalToolStripMenuItem", "Normal",
     &Form1::normalToolStripMenuItem_Click},
    {&Form1::hardToolStripMenuItem, "hardToolStripMenuItem", "Hard",
     &Form1::hardToolStripMenuItem_Click},
};
constexpr MenuItemRow options_items[] = {
    {&Form1::howToPlayToolStripMenuItem, "howToPlayToolStripMenuItem", "How to play",
     &Form1::howToPlayToolStripMenuItem_Click},
    {&Form1::restartToolStripMenuItem, "restartToolStripMenuItem", "Restart",
     &Form1::restartToolStripMenuItem_Click},
    {&Form1::selectPuzzleToolStripMenuItem, "selectPuzzleToolStripMenuItem", "Select Puzzle",
     &Form1::selectPuzzleToolStripMenuItem_Click},
};

// The pictures the first frame needs, each held in the least memory that
// still draws every pixel exactly: the background and the grid frame have few
// enough colours to be palette images, a byte a pixel, drawn straight from it.
struct FirstFramePictures {
    QImage background;
    QImage grid_frame;
    QList<QImage> icon;
};

FirstFramePictures decode_first_frame_pictures() {
    return FirstFramePictures{resource_set::compact_image(u"$this.BackgroundImage"),
                              resource_set::compact_image(u"pictureBox_black_background.Image"),
                              resource_set::images(u"$this.Icon")};
}

void build_buttons(Form1& window, std::span<const ButtonRow> rows) {
    for (const ButtonRow& row : rows) {
        auto* b = new tk::Button(QString::fromLatin1(row.name), &window);
        b->SetBounds(row.bounds);
        b->SetFont(bradley(row.points));
        b->SetText(QString::fromLatin1(row.text));
        b->SetTabIndex(row.tab_index);
        window.*row.control = b;
    }
}

} // namespace

void Form1::InitializeComponent() {
    // The pictures the first frame needs are decoded on another core while the
    // controls are being built.
    auto first_frame = std::async(std::launch::async, decode_first_frame_pictures);

    build_cells();
    build_sum_labels();
    build_level_display();
    build_command_buttons();
    build_input_mode_buttons();
    build_menus();
    build_pictures();
    build_overlays();

    FirstFramePictures pictures_now = first_frame.get();
    pictureBox_black_background->SetImage(pictures_now.grid_frame);
    // The menu bar's key names the very same picture as the window's: the two
    // share one decoded image.
    set_background_image(pictures_now.background);
    menuStrip1->set_background_image(pictures_now.background);
    setWindowIcon(resource_set::icon(pictures_now.icon));
    // The client area is 792 by 566; the whole window, frame included, stays
    // between 100 by 100 and 800 by 600.
    set_client_size({792, 566}, {100, 100}, {800, 600});

    order_children();
    wire_events();

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tallywick"));
}

void Form1::build_cells() {
    for (int k = 1; k <= board_cells; ++k) {
        auto* cell = new tk::TextBox(numbered("textBox", k), this);
        // Cells are numbered right to left within a row, so cell 1 is the top-right cell.
        cell->SetFixedBounds(rect_of(core::cell_bounds(k)));
        cell->SetMultiline(true);
        cell->SetAcceptsTab(true);
        cell->SetMaxLength(9);
        cell->SetFont(pen_font());
        cell->SetForeColor(cell_ink);
        cell->SetTabIndex(first_cell_tab_index + 9 * core::row_of(k) + core::column_of(k));
        textBox[k] = cell;
    }
}

void Form1::build_sum_labels() {
    const QFont font = tk::make_font(QStringLiteral("Microsoft Sans Serif"), 8);
    for (int k = 1; k <= board_cells; ++k) {
        auto* sum = new tk::Label(numbered("label", k), this);
        sum->SetFixedBounds(rect_of(core::sum_label_bounds(k)));
        sum->SetFont(font);
        sum->SetText(QStringLiteral("45"));
        label[k] = sum;
    }
}

void Form1::build_level_display() {
    const QFont font = bradley(21.75, true);
    for (const LevelLabelRow& row : level_labels) {
        auto* l = new tk::Label(QString::fromLatin1(row.name), this);
        l->SetLocation(row.location);
        l->SetFont(font);
        l->SetForeColor(lavender_blush);
        l->SetAutoSize(true);
        l->SetText(QString::fromLatin1(row.text));
        this->*row.control = l;
    }
}

void Form1::build_command_buttons() {
    build_buttons(*this, command_buttons);
}

void Form1::build_input_mode_buttons() {
    const QFont font = tk::make_font(QStringLiteral("Arial"), 12);
    for (const RadioRow& row : input_modes) {
        auto* b = new tk::RadioButton(QString::fromLatin1(row.name), this);
        b->SetLocation(row.location);
        b->SetFont(font);
        b->SetForeColor(Qt::white);
        b->SetAutoSize(true);
        b->SetText(QString::fromLatin1(row.text));
        b->SetTabIndex(row.tab_index);
        this->*row.control = b;
    }
    radioButton2->SetChecked(true);
}

void Form1::build_menus() {
    const QFont font = bradley(14.25, true);
    menuStrip1 = new tk::MenuStrip(QStringLiteral("menuStrip1"), this);
    menuStrip1->SetBounds({0, 0, 792, 32});
    menuStrip1->SetFont(font);
    menuStrip1->SetForeColor(Qt::white);
    menuStrip1->SetTabIndex(173);

    // Each menu's items share one size.
    const auto fill = [this](tk::MenuItem* menu, std::span<const MenuItemRow> rows, QSize size) {
        for (const MenuItemRow& row : rows) {
            this->*row.item =
                menu->add_item(QString::fromLatin1(row.name), QString::fromLatin1(row.text));
            (this->*row.item)->SetSize(size);
        }
    };

    toolStripMenuItem1 =
        menuStrip1->add_menu(QStringLiteral("toolStripMenuItem1"), QStringLiteral("Difficulty"));
    toolStripMenuItem1->SetFont(font);
    // "Difficulty" is white on the control colour and checks on click (nothing
    // reads that state); "Options" has no background of its own.
    toolStripMenuItem1->SetBackColor(tk::system_control_colour());
    toolStripMenuItem1->SetCheckOnClick(true);
    toolStripMenuItem1->SetSize({114, 28});
    fill(toolStripMenuItem1, difficulty_items, {146, 28});
    for (const MenuItemRow& row : difficulty_items) {
        (this->*row.item)->SetCheckOnClick(true);
    }
    normalToolStripMenuItem->SetChecked(true);

    optionsToolStripMenuItem =
        menuStrip1->add_menu(QStringLiteral("optionsToolStripMenuItem"), QStringLiteral("Options"));
    optionsToolStripMenuItem->SetFont(font);
    optionsToolStripMenuItem->SetSize({92, 28});
    fill(optionsToolStripMenuItem, options_items, {201, 28});
}

void Form1::build_pictures() {
    for (const PictureRow& row : pictures) {
        auto* p = new tk::PictureBox(QString::fromLatin1(row.name), this);
        p->SetBounds(row.bounds);
        p->SetAutoSize(row.sized_to_image);
        p->SetTabIndex(row.tab_index);
        this->*row.control = p;
    }
    pictureBox_help_background->SetBackColor(Qt::white);
}

void Form1::build_overlays() {
    build_buttons(*this, panel_buttons);
    maskedTextBox_select_level =
        new tk::MaskedTextBox(QStringLiteral("maskedTextBox_select_level"), this);
    maskedTextBox_select_level->SetBounds({252, 282, 57, 26});
    maskedTextBox_select_level->SetFont(tk::make_font(QStringLiteral("Microsoft Sans Serif"), 12));
    maskedTextBox_select_level->SetTabIndex(267);

    // Each picture comes from the window's resource set by the key of the
    // control that shows it. The panels start hidden, so their pictures are
    // decoded when first shown; a box sized to its picture takes the size from
    // the file's header now, and only such a box reads its file at all.
    for (const auto& p : overlay_pictures()) {
        p.box->SetImage([key = p.key] { return resource_set::image(key); },
                        p.box->AutoSize() ? resource_set::size(p.key) : QSize());
        p.box->SetVisible(false);
    }
    // Every overlay control starts hidden; those of the puzzle-selection and
    // invalid-number panels are also disabled until their panel is shown.
    for (const ButtonRow& row : panel_buttons) {
        (this->*row.control)->SetVisible(false);
    }
    maskedTextBox_select_level->SetVisible(false);
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             pictureBox_select_level, maskedTextBox_select_level, button_level_select_continue,
             pictureBox_invalid_number, button_invalid_puzzle_ok}) {
        c->SetEnabled(false);
    }
}

void Form1::order_children() {
    // The top of the stacking order first: the overlays, the sum labels above
    // the cells, and the grid frame below them.
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             button_invalid_puzzle_ok, pictureBox_invalid_number, button_level_select_continue,
             maskedTextBox_select_level, pictureBox_select_level, pictureBox_completed,
             pictureBox_incorrect_solution, button_correct, pictureBox_correct,
             button_incorrect_solution, button_completed, button_help_exit}) {
        attach(*c);
    }
    for (int k = 1; k <= board_cells; ++k) {
        attach(*label[k]);
    }
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             radioButton2, radioButton1, label_level_title_2, button4, button4_show_cell}) {
        attach(*c);
    }
    for (int k = 1; k <= board_cells; ++k) {
        attach(*textBox[k]);
    }
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             button3, button_request_level, label_level_value, label_level_title, button2, button1,
             menuStrip1, pictureBox_black_background, pictureBox_help_background}) {
        attach(*c);
    }
    apply_tab_order();
}

void Form1::wire_events() {
    // The game's commands, the menu items and the panels' buttons.
    for (const auto rows :
         {std::span<const ButtonRow>(command_buttons), std::span<const ButtonRow>(panel_buttons)}) {
        for (const ButtonRow& row : rows) {
            connect(this->*row.control, &tk::Button::Click, this, row.click);
        }
    }
    for (const auto rows : {std::span<const MenuItemRow>(difficulty_items),
                            std::span<const MenuItemRow>(options_items)}) {
        for (const MenuItemRow& row : rows) {
            connect(this->*row.item, &tk::MenuItem::Click, this, row.click);
        }
    }
    connect(maskedTextBox_select_level, &tk::TextBox::KeyPress, this,
            &Form1::maskedTextBox_select_level_KeyPress);

    // Pen and pencil input in the cells.
    for (int k = 1; k <= board_cells; ++k) {
        connect(textBox[k], &tk::TextBox::Click, this, &Form1::textBox_click);
        connect(textBox[k], &tk::TextBox::TextChanged, this, &Form1::textBox_text_changed);
        connect(textBox[k], &tk::TextBox::KeyDown, this, &Form1::textBox_KeyDown);
        connect(textBox[k], &tk::TextBox::KeyPress, this, &Form1::textBox_KeyPress);
        connect(textBox[k], &tk::TextBox::Paste, this, &Form1::textBox_paste);
    }
}

std::array<Form1::OverlayPicture, 6> Form1::overlay_pictures() const {
    return {{
        {pictureBox_help_background, u"pictureBox_help_background.Image"},
        {pictureBox_completed, u"pictureBox_completed.Image"},
        {pictureBox_incorrect_solution, u"pictureBox_incorrect_solution.Image"},
        {pictureBox_correct, u"pictureBox_correct.Image"},
        {pictureBox_select_level, u"pictureBox_select_level.Image"},
        {pictureBox_invalid_number, u"pictureBox_invalid_number.Image"},
    }};
}
