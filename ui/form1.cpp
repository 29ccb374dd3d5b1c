// The window's construction: the start-up state of the game.
#include "ui/form1.h"

#include "catalogue/catalogue_size.h"

namespace {

std::uint64_t entropy() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) | device();
}

std::mt19937 generator(std::uint64_t seed) {
    std::seed_seq sequence{static_cast<std::uint32_t>(seed),
                           static_cast<std::uint32_t>(seed >> 32)};
    return std::mt19937(sequence);
}

} // namespace

Form1::Form1() : Form1(entropy()) {}

Form1::Form1(std::uint64_t seed) : random_(generator(seed)) {
    InitializeComponent();

    // The sum labels are hidden until a game starts: with the puzzle number
    // at 0 and nothing loadable yet, every visibility flag reads 0.
    label_level_value->SetText(QStringLiteral("0"));
    toggle_label_visibility();
    label_level_value->SetText(QStringLiteral("1"));

    // The result pictures go below everything, the correct picture lowest.
    pictureBox_completed->SendToBack();
    pictureBox_incorrect_solution->SendToBack();
    pictureBox_help_background->SendToBack();
    pictureBox_correct->SendToBack();

    level_array_size = loadable_rows;

    describe_for_screen_readers();
}

Form1::~Form1() = default;

std::int32_t Form1::puzzle_number() const {
    bool ok = false;
    const int n = label_level_value->Text().toInt(&ok, 10);
    return ok ? n : 0;
}

bool Form1::is_level_label(const tk::Control* c) {
    const QString& name = c->Name();
    return name == QLatin1String("label_level_value") ||
           name == QLatin1String("label_level_title") ||
           name == QLatin1String("label_level_title_2");
}
