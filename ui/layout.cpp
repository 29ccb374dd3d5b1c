// InitializeComponent: every control of the window with its bounds, fonts, colours, texts and
// wiring.
#include "ui/form1.h"

#include "resources/resource_set.h"

#include <QString>

#include <future>

namespace {

// Cells are numbered row by row from the top and right to left within a row,
// so cell 1 is the top-right cell and cell 9 the top-left one. These are the
// left edges of the columns counted from the left, and the top edges of the
// rows: 51 pixels apart inside a block, 53 across a block seam.
constexpr int column_x[9] = {56, 107, 158, 211, 262, 313, 366, 417, 468};
constexpr int row_y[9] = {50, 101, 152, 205, 256, 307, 360, 411, 462};

const QColor cell_ink(0, 0, 192);
const QColor lavender_blush(255, 240, 245);

QString numbered(const char* stem, int k) {
    return QString::fromLatin1(stem) + QString::number(k);
}

} // namespace

void Form1::InitializeComponent() {
    // The pictures the first frame needs are decoded on another core while the
    // controls are being built, already in the form the screen takes.
    struct FirstFramePictures {
        QImage background;
        QImage grid_frame;
        QList<QImage> icon;
    };
    auto first_frame = std::async(std::launch::async, [] {
        return FirstFramePictures{
            resource_set::image(u"$this.BackgroundImage").convertToFormat(QImage::Format_RGB32),
            resource_set::image(u"pictureBox_black_background.Image")
                .convertToFormat(QImage::Format_RGB32),
            resource_set::images(u"$this.Icon")};
    });

    const QFont bradley_12 = tk::make_font(QStringLiteral("Bradley Hand ITC"), 12);
    const QFont bradley_menu = tk::make_font(QStringLiteral("Bradley Hand ITC"), 14.25, true);

    // ---- the cells and their sum labels ----------------------------------
    for (int k = 1; k <= 81; ++k) {
        const int r = (k - 1) / 9;
        const int c = 8 - (k - 1) % 9;

        auto* cell = new tk::TextBox(numbered("textBox", k), this);
        cell->setGeometry(column_x[c], row_y[r], 52, 52);
        cell->setFixedSize(52, 52);
        cell->SetMultiline(true);
        cell->SetAcceptsTab(true);
        cell->SetMaxLength(9);
        cell->SetFont(tk::make_font(QStringLiteral("Kristen ITC"), 26.25, true));
        cell->SetForeColor(cell_ink);
        cell->SetTabIndex(89 + 9 * r + c);
        textBox[k] = cell;

        auto* sum = new tk::Label(numbered("label", k), this);
        sum->setGeometry(column_x[c] + 2, row_y[r] + 2, 19, 13);
        sum->setFixedSize(19, 13);
        sum->SetFont(tk::make_font(QStringLiteral("Microsoft Sans Serif"), 8));
        sum->SetText(QStringLiteral("45"));
        label[k] = sum;
    }

    // ---- the level display ----------------------------------------------
    const auto level_label = [this](const char* name, const char* text, int x, int y) {
        auto* l = new tk::Label(QString::fromLatin1(name), this);
        l->move(x, y);
        l->SetFont(tk::make_font(QStringLiteral("Bradley Hand ITC"), 21.75, true));
        l->SetForeColor(lavender_blush);
        l->SetAutoSize(true);
        l->SetText(QString::fromLatin1(text));
        return l;
    };
    label_level_title_2 = level_label("label_level_title_2", "Current", 581, 51);
    label_level_title = level_label("label_level_title", "Level", 634, 89);
    label_level_value = level_label("label_level_value", "1", 681, 118);

    // ---- command buttons ---------------------------------------------------
    const auto button = [this](const char* name, const char* text, QRect bounds, const QFont& font,
                               int tab_index) {
        auto* b = new tk::Button(QString::fromLatin1(name), this);
        b->setGeometry(bounds);
        b->SetFont(font);
        b->SetText(QString::fromLatin1(text));
        b->SetTabIndex(tab_index);
        return b;
    };
    button4 = button("button4", "Start", {610, 200, 98, 30}, bradley_12, 81);
    button4_show_cell =
        button("button4_show_cell", "Show a Cell", {610, 250, 98, 30}, bradley_12, 170);
    button_request_level =
        button("button_request_level", "Show All", {610, 301, 98, 30}, bradley_12, 87);
    button2 = button("button2", "Skip Puzzle", {610, 350, 98, 30}, bradley_12, 82);
    button3 = button("button3", "Clear Cells", {610, 400, 98, 30}, bradley_12, 171);
    button1 = button("button1", "Check", {610, 450, 98, 30}, bradley_12, 87);

    // ---- pen and pencil --------------------------------------------------
    const auto radio = [this](const char* name, const char* text, int x, int y, int tab_index) {
        auto* b = new tk::RadioButton(QString::fromLatin1(name), this);
        b->move(x, y);
        b->SetFont(tk::make_font(QStringLiteral("Arial"), 12));
        b->SetForeColor(Qt::white);
        b->SetAutoSize(true);
        b->SetText(QString::fromLatin1(text));
        b->SetTabIndex(tab_index);
        return b;
    };
    radioButton2 = radio("radioButton2", "Pen", 618, 6, 175);
    radioButton1 = radio("radioButton1", "Pencil", 691, 6, 174);
    radioButton2->SetChecked(true);

    // ---- menus -------------------------------------------------------------
    menuStrip1 = new tk::MenuStrip(QStringLiteral("menuStrip1"), this);
    menuStrip1->setGeometry(0, 0, 792, 32);
    menuStrip1->SetFont(bradley_menu);
    menuStrip1->SetForeColor(Qt::white);
    menuStrip1->SetTabIndex(173);

    toolStripMenuItem1 =
        menuStrip1->add_menu(QStringLiteral("toolStripMenuItem1"), QStringLiteral("Difficulty"));
    toolStripMenuItem1->SetFont(bradley_menu);
    // "Difficulty" is white on the control colour and checks on click (nothing
    // reads that state); "Options" has no background of its own.
    toolStripMenuItem1->SetBackColor(tk::system_control_colour());
    toolStripMenuItem1->SetCheckOnClick(true);
    easyToolStripMenuItem = toolStripMenuItem1->add_item(QStringLiteral("easyToolStripMenuItem"),
                                                         QStringLiteral("Easy"));
    normalToolStripMenuItem = toolStripMenuItem1->add_item(
        QStringLiteral("normalToolStripMenuItem"), QStringLiteral("Normal"));
    hardToolStripMenuItem = toolStripMenuItem1->add_item(QStringLiteral("hardToolStripMenuItem"),
                                                         QStringLiteral("Hard"));
    toolStripMenuItem1->SetSize({114, 28});
    for (tk::MenuItem* item :
         {easyToolStripMenuItem, normalToolStripMenuItem, hardToolStripMenuItem}) {
        item->SetCheckOnClick(true);
        item->SetSize({146, 28});
    }
    normalToolStripMenuItem->SetChecked(true);

    optionsToolStripMenuItem =
        menuStrip1->add_menu(QStringLiteral("optionsToolStripMenuItem"), QStringLiteral("Options"));
    optionsToolStripMenuItem->SetFont(bradley_menu);
    howToPlayToolStripMenuItem = optionsToolStripMenuItem->add_item(
        QStringLiteral("howToPlayToolStripMenuItem"), QStringLiteral("How to play"));
    restartToolStripMenuItem = optionsToolStripMenuItem->add_item(
        QStringLiteral("restartToolStripMenuItem"), QStringLiteral("Restart"));
    selectPuzzleToolStripMenuItem = optionsToolStripMenuItem->add_item(
        QStringLiteral("selectPuzzleToolStripMenuItem"), QStringLiteral("Select Puzzle"));
    optionsToolStripMenuItem->SetSize({92, 28});
    for (tk::MenuItem* item :
         {howToPlayToolStripMenuItem, restartToolStripMenuItem, selectPuzzleToolStripMenuItem}) {
        item->SetSize({201, 28});
    }

    // ---- grid frame and overlay panels -------------------------------------
    const auto picture = [this](const char* name, QRect bounds, bool auto_size) {
        auto* p = new tk::PictureBox(QString::fromLatin1(name), this);
        p->setGeometry(bounds);
        p->SetAutoSize(auto_size);
        return p;
    };
    pictureBox_black_background = picture("pictureBox_black_background", {54, 48, 468, 468}, false);
    pictureBox_black_background->SetTabIndex(265);

    // Every overlay control starts hidden; those of the puzzle-selection and
    // invalid-number panels are also disabled until their panel is shown.
    struct Overlay {
        tk::Control* control;
        int tab_index;
        bool disabled;
    };
    pictureBox_help_background = picture("pictureBox_help_background", {0, 34, 792, 532}, false);
    pictureBox_help_background->SetBackColor(Qt::white);
    button_help_exit = button("button_help_exit", "Continue", {353, 480, 95, 26}, bradley_12, 258);
    pictureBox_completed = picture("pictureBox_completed", {174, 207, 233, 150}, false);
    button_completed = button("button_completed", "Continue", {238, 307, 95, 28}, bradley_12, 260);
    pictureBox_incorrect_solution =
        picture("pictureBox_incorrect_solution", {174, 225, 233, 150}, false);
    button_incorrect_solution =
        button("button_incorrect_solution", "Continue", {244, 327, 95, 26}, bradley_12, 262);
    pictureBox_correct = picture("pictureBox_correct", {174, 191, 233, 150}, false);
    button_correct = button("button_correct", "Continue", {238, 282, 95, 26}, bradley_12, 264);
    pictureBox_select_level = picture("pictureBox_select_level", {166, 176, 233, 198}, true);
    maskedTextBox_select_level =
        new tk::MaskedTextBox(QStringLiteral("maskedTextBox_select_level"), this);
    maskedTextBox_select_level->setGeometry(252, 282, 57, 26);
    maskedTextBox_select_level->SetFont(tk::make_font(QStringLiteral("Microsoft Sans Serif"), 12));
    button_level_select_continue =
        button("button_level_select_continue", "OK", {228, 325, 100, 27}, bradley_12, 268);
    pictureBox_invalid_number = picture("pictureBox_invalid_number", {158, 205, 233, 153}, true);
    button_invalid_puzzle_ok =
        button("button_invalid_puzzle_ok", "OK", {228, 296, 87, 26},
               tk::make_font(QStringLiteral("Bradley Hand ITC"), 11.25), 270);

    // Each picture comes from the window's resource set by the key of the
    // control that shows it.
    const auto pictures = overlay_pictures();
    // The panels start hidden, so their pictures are decoded when first shown;
    // a box sized to its picture takes the size from the file's header now.
    for (const auto& p : pictures) {
        p.box->SetImage([key = p.key] { return resource_set::picture(key); },
                        resource_set::size(p.key));
    }

    const Overlay overlays[] = {
        {pictureBox_help_background, 257, false},
        {button_help_exit, 258, false},
        {pictureBox_completed, 259, false},
        {button_completed, 260, false},
        {pictureBox_incorrect_solution, 261, false},
        {button_incorrect_solution, 262, false},
        {pictureBox_correct, 263, false},
        {button_correct, 264, false},
        {pictureBox_select_level, 266, true},
        {maskedTextBox_select_level, 267, true},
        {button_level_select_continue, 268, true},
        {pictureBox_invalid_number, 269, true},
        {button_invalid_puzzle_ok, 270, true},
    };
    for (const Overlay& o : overlays) {
        o.control->SetTabIndex(o.tab_index);
        o.control->SetVisible(false);
        o.control->SetEnabled(!o.disabled);
    }

    // ---- the window --------------------------------------------------------
    // The client area is 792 by 566. The desktop's frame adds about 8 by 34
    // pixels round it, so the outer size stays between 100 by 100 and 800 by 600.
    FirstFramePictures pictures_now = first_frame.get();
    pictureBox_black_background->SetImage(QPixmap::fromImage(std::move(pictures_now.grid_frame)));
    // The menu bar's key names the very same picture as the window's.
    const QPixmap window_background = QPixmap::fromImage(std::move(pictures_now.background));
    set_background_image(window_background);
    menuStrip1->set_background_image(window_background);
    setWindowIcon(resource_set::icon(pictures_now.icon));
    resize(792, 566);
    setMaximumSize(792, 566);
    setMinimumSize(92, 66);

    // ---- the child list, top of the stacking order first -----------------------
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             button_invalid_puzzle_ok, pictureBox_invalid_number, button_level_select_continue,
             maskedTextBox_select_level, pictureBox_select_level, pictureBox_completed,
             pictureBox_incorrect_solution, button_correct, pictureBox_correct,
             button_incorrect_solution, button_completed, button_help_exit}) {
        attach(*c);
    }
    for (int k = 1; k <= 81; ++k) {
        attach(*label[k]);
    }
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             radioButton2, radioButton1, label_level_title_2, button4, button4_show_cell}) {
        attach(*c);
    }
    for (int k = 1; k <= 81; ++k) {
        attach(*textBox[k]);
    }
    for (tk::Control* c : std::initializer_list<tk::Control*>{
             button3, button_request_level, label_level_value, label_level_title, button2, button1,
             menuStrip1, pictureBox_black_background, pictureBox_help_background}) {
        attach(*c);
    }
    apply_tab_order();

    // ---- event wiring ----------------------------------------------------------
    // The game's commands: the six buttons, the menu items and the result panels.
    connect(button4, &tk::Button::Click, this, &Form1::button4_Click);
    connect(button4_show_cell, &tk::Button::Click, this, &Form1::button4_show_cell_Click);
    connect(button_request_level, &tk::Button::Click, this, &Form1::button_request_level_Click);
    connect(button2, &tk::Button::Click, this, &Form1::button2_Click);
    connect(button3, &tk::Button::Click, this, &Form1::button3_Click);
    connect(button1, &tk::Button::Click, this, &Form1::button1_Click);
    connect(easyToolStripMenuItem, &tk::MenuItem::Click, this, &Form1::easyToolStripMenuItem_Click);
    connect(normalToolStripMenuItem, &tk::MenuItem::Click, this,
            &Form1::normalToolStripMenuItem_Click);
    connect(hardToolStripMenuItem, &tk::MenuItem::Click, this, &Form1::hardToolStripMenuItem_Click);
    connect(restartToolStripMenuItem, &tk::MenuItem::Click, this,
            &Form1::restartToolStripMenuItem_Click);
    connect(button_completed, &tk::Button::Click, this, &Form1::button_completed_Click);
    connect(button_correct, &tk::Button::Click, this, &Form1::button_correct_Click);
    connect(button_incorrect_solution, &tk::Button::Click, this,
            &Form1::button_incorrect_solution_Click);

    // Pen and pencil input in the cells.
    for (int k = 1; k <= 81; ++k) {
        connect(textBox[k], &tk::TextBox::Click, this, &Form1::textBox_click);
        connect(textBox[k], &tk::TextBox::TextChanged, this, &Form1::textBox_text_changed);
        connect(textBox[k], &tk::TextBox::KeyDown, this, &Form1::textBox_KeyDown);
        connect(textBox[k], &tk::TextBox::KeyPress, this, &Form1::textBox_KeyPress);
        connect(textBox[k], &tk::TextBox::Paste, this, &Form1::textBox_paste);
    }

    // The help, puzzle-selection and invalid-number panels.
    connect(howToPlayToolStripMenuItem, &tk::MenuItem::Click, this,
            &Form1::howToPlayToolStripMenuItem_Click);
    connect(selectPuzzleToolStripMenuItem, &tk::MenuItem::Click, this,
            &Form1::selectPuzzleToolStripMenuItem_Click);
    connect(button_help_exit, &tk::Button::Click, this, &Form1::button_help_exit_Click);
    connect(button_level_select_continue, &tk::Button::Click, this,
            &Form1::button_level_select_continue_Click);
    connect(button_invalid_puzzle_ok, &tk::Button::Click, this,
            &Form1::button_invalid_puzzle_ok_Click);
    connect(maskedTextBox_select_level, &tk::TextBox::KeyPress, this,
            &Form1::maskedTextBox_select_level_KeyPress);

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tallywick"));
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
