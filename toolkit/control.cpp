// Properties shared by every control, and the start-up settings of fonts and styles.
#include "toolkit/control.h"

#include "toolkit/window.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <array>

namespace tk {

QFont make_font(const QString& family, double points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    // The window writes only Latin letters, digits and punctuation, which each of its fonts
    // holds: no font is merged with fallbacks, which spares Qt listing every font that might
    // stand in for a missing letter, for each font the window uses.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QColor system_control_colour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

void install_font_substitutes() {
    // Free fonts of the same character, installed with the game's packages.
    struct Substitute {
        const char* family;
        const char* stand_in;
    };
    static constexpr Substitute substitutes[] = {
        {"Kristen ITC", "Comic Neue"},
        {"Bradley Hand ITC", "Dancing Script"},
        {"Arial", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
    };
    for (const auto& s : substitutes) {
        QFont::insertSubstitution(QString::fromLatin1(s.family), QString::fromLatin1(s.stand_in));
    }
}

void enable_visual_styles() {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(style);
    }
}

namespace {

// The rectangles of the picture in `parts` (in the picture's coordinates), each drawn shifted by
// `offset`.
void draw_parts(QPainter& painter, const QImage& picture, const QRegion& parts, QPoint offset) {
    if (picture.format() != QImage::Format_Indexed8) {
        for (const QRect& part : parts) {
            painter.drawImage(part.topLeft() + offset, picture, part);
        }
        return;
    }
    // Qt draws a palette image through its general path, looking each pixel up as it blends;
    // looked up here into a strip of the screen's format, a row is one pass and Qt copies the
    // strip. A strip of at most 32 rows stays small, and one buffer serves every strip.
    std::array<QRgb, 256> colours{};
    const QList<QRgb> table = picture.colorTable();
    std::copy_n(table.cbegin(), std::min<qsizetype>(table.size(), 256), colours.begin());
    constexpr int strip_rows = 32;
    QImage strip(parts.boundingRect().width(), strip_rows, QImage::Format_RGB32);
    for (const QRect& part : parts) {
        for (int top = 0; top < part.height(); top += strip_rows) {
            const int rows = std::min(strip_rows, part.height() - top);
            for (int row = 0; row < rows; ++row) {
                const uchar* in = picture.constScanLine(part.y() + top + row) + part.x();
                auto* out = reinterpret_cast<QRgb*>(strip.scanLine(row));
                for (int x = 0; x < part.width(); ++x) {
                    out[x] = colours[in[x]];
                }
            }
            painter.drawImage(part.topLeft() + offset + QPoint(0, top), strip,
                              QRect(0, 0, part.width(), rows));
        }
    }
}

} // namespace

void draw_picture(QPainter& painter, const QImage& picture, const QRegion& exposed) {
    draw_parts(painter, picture, exposed & picture.rect(), {});
}

void draw_tiled(QPainter& painter, const QRect& area, const QImage& picture,
                const QRegion& exposed) {
    const QRect wanted = exposed.boundingRect() & area;
    if (picture.isNull() || wanted.isEmpty()) {
        return;
    }
    for (int y = area.top(); y <= wanted.bottom(); y += picture.height()) {
        for (int x = area.left(); x <= wanted.right(); x += picture.width()) {
            const QRect tile = QRect(QPoint(x, y), picture.size()) & area;
            const QRegion parts = exposed & tile;
            if (!parts.isEmpty()) {
                draw_parts(painter, picture, parts.translated(-x, -y), QPoint(x, y));
            }
        }
    }
}

Control::~Control() {
    if (owner_ != nullptr) {
        owner_->forget(*this);
    }
}

bool Control::Visible() const {
    if (held_visible_) {
        return *held_visible_;
    }
    return owner_ != nullptr ? widget()->isVisibleTo(owner_) : !widget()->isHidden();
}

void Control::SetVisible(bool visible) {
    if (owner_ != nullptr && owner_->holding_changes()) {
        held_visible_ = visible;
        return;
    }
    widget()->setVisible(visible);
}

bool Control::Enabled() const {
    return widget()->isEnabled();
}

void Control::SetEnabled(bool enabled) {
    widget()->setEnabled(enabled);
}

void Control::SetBackColor(const QColor& colour) {
    back_color_ = colour;
    apply_palette();
}

void Control::SetForeColor(const QColor& colour) {
    fore_color_ = colour;
    apply_palette();
}

void Control::apply_palette() {
    QWidget* w = widget();
    QPalette palette = w->palette();
    if (back_color_.isValid()) {
        palette.setColor(QPalette::Window, back_color_);
        palette.setColor(QPalette::Base, back_color_);
    }
    if (fore_color_.isValid()) {
        palette.setColor(QPalette::WindowText, fore_color_);
        palette.setColor(QPalette::ButtonText, fore_color_);
        // A radio button draws its mark in the text colour on a white face:
        // only its caption takes the control's colour.
        if (kind_ != Kind::RadioButton) {
            palette.setColor(QPalette::Text, fore_color_);
        }
    }
    w->setPalette(palette);
    w->setAutoFillBackground(back_color_.isValid());
    w->update();
}

QFont Control::Font() const {
    return widget()->font();
}

void Control::SetFont(const QFont& font) {
    widget()->setFont(font);
}

bool Control::Focus() {
    QWidget* w = widget();
    if (!w->isEnabled() || w->isHidden() || w->focusPolicy() == Qt::NoFocus) {
        return false;
    }
    w->setFocus(Qt::OtherFocusReason);
    return true;
}

void Control::DropFocus() {
    if (Focused()) {
        widget()->clearFocus();
    }
}

bool Control::Focused() const {
    return owner_ != nullptr && owner_->ActiveControl() == this;
}

void Control::BringToFront() {
    if (owner_ != nullptr) {
        owner_->bring_to_front(*this);
    }
}

void Control::SendToBack() {
    if (owner_ != nullptr) {
        owner_->send_to_back(*this);
    }
}

QRect Control::Bounds() const {
    return widget()->geometry();
}

void Control::SetBounds(const QRect& bounds) {
    widget()->setGeometry(bounds);
}

void Control::SetLocation(const QPoint& location) {
    widget()->move(location);
}

void Control::SetFixedBounds(const QRect& bounds) {
    widget()->setGeometry(bounds);
    widget()->setFixedSize(bounds.size());
}

} // namespace tk
