// The window's ordered child list, its restacking, focus order and tiled background.
#include "toolkit/window.h"

#include "toolkit/accessibility.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace tk {

Window::Window(QWidget* parent) : QWidget(parent) {
    install_font_substitutes();
    // Before any control exists, so that none gets Qt's generic accessible object first.
    install_accessibility();
    setFocusPolicy(Qt::NoFocus);
}

Window::~Window() {
    for (Control* c : controls_) {
        c->owner_ = nullptr;
    }
}

void Window::forget(const Control& control) {
    std::erase(controls_, &control);
}

int Window::position_of(const Control* control) const {
    const auto it = std::find(controls_.begin(), controls_.end(), control);
    return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

void Window::attach(Control& control) {
    control.owner_ = this;
    QWidget* w = control.widget();
    if (w->parentWidget() != this) {
        const bool shown = !w->isHidden();
        w->setParent(this);
        w->setVisible(shown);
    }
    w->lower();
    tell_visibility(*w);
    controls_.push_back(&control);
}

void Window::bring_to_front(Control& control) {
    const auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end()) {
        return;
    }
    std::rotate(controls_.begin(), it, it + 1);
    control.widget()->raise();
}

void Window::send_to_back(Control& control) {
    const auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end()) {
        return;
    }
    std::rotate(it, it + 1, controls_.end());
    control.widget()->lower();
}

Control* Window::ActiveControl() const {
    QWidget* focused = focusWidget();
    for (Control* c : controls_) {
        if (c->widget() == focused) {
            return c;
        }
    }
    return nullptr;
}

void Window::apply_tab_order() {
    std::vector<Control*> order;
    for (Control* c : controls_) {
        if (c->widget()->focusPolicy() & Qt::TabFocus) {
            order.push_back(c);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1]->widget(), order[i]->widget());
    }
}

void Window::set_client_size(QSize size, QSize smallest_outer, QSize largest_outer) {
    resize(size);
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Qt hands the compositor these limits as the limits of the whole window, its own title
        // bar included, which is how the protocol means them. A largest size is left out: when the
        // compositor maximizes the window it must take the compositor's size, yet Qt first cuts
        // every size it is given to the largest, and weston ends a client that answers a
        // maximized size with another one.
        setMinimumSize(smallest_outer);
        return;
    }
    // Elsewhere the limits are of the client area, and a window manager's frame (about 8 by 34
    // pixels) lies round it.
    const QSize frame(8, 34);
    setMaximumSize(largest_outer - frame);
    setMinimumSize(smallest_outer - frame);
}

void Window::set_background_image(const QImage& picture) {
    background_ = picture;
    update();
}

Window::HeldChanges::HeldChanges(Window& window) : window_(window) {
    ++window_.holds_;
}

Window::HeldChanges::~HeldChanges() {
    if (--window_.holds_ == 0) {
        window_.apply_held_changes();
    }
}

void Window::apply_held_changes() {
    for (Control* c : controls_) {
        if (!c->held_visible_) {
            continue;
        }
        const bool wanted = *c->held_visible_;
        c->held_visible_.reset();
        if (c->Visible() != wanted) {
            c->widget()->setVisible(wanted);
        }
    }
    emit ChangesApplied();
}

void Window::paintEvent(QPaintEvent* event) {
    if (background_.isNull()) {
        QWidget::paintEvent(event);
        return;
    }
    QPainter painter(this);
    draw_tiled(painter, rect(), background_, event->region());
}

} // namespace tk
