// Properties shared by every control, and the start-up settings of fonts and styles.
#include "toolkit/control.h"

#include "toolkit/window.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <QWidget>

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

void draw_tiled(QPainter& painter, const QRect& area, const QImage& picture) {
    if (picture.isNull()) {
        return;
    }
    // The painter draws only into the region being repainted, so a tile
    // outside it costs next to nothing.
    for (int y = area.top(); y <= area.bottom(); y += picture.height()) {
        for (int x = area.left(); x <= area.right(); x += picture.width()) {
            const QRect part = QRect(QPoint(x, y), picture.size()) & area;
            painter.drawImage(part.topLeft(), picture, part.translated(-x, -y));
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
