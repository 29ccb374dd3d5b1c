// A top-level window whose children form one ordered list that drives stacking and focus order.
#pragma once

#include "toolkit/control.h"

#include <QImage>
#include <QWidget>

#include <vector>

namespace tk {

// The window's child list. Position 0 is the top of the stacking order; every
// later position lies below all earlier ones. Attaching appends at the bottom.
// The real widgets are restacked whenever the list changes, so what is drawn on
// top and what receives a click always follow the list.
class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(QWidget* parent = nullptr);
    // Its controls forget it first: Qt hides them as the widget part goes, and nothing they do
    // then may reach back into a window that is no longer one.
    ~Window() override;

    // The child list in stacking order, position 0 on top.
    const std::vector<Control*>& Controls() const { return controls_; }
    int position_of(const Control* control) const;

    // Appends a control at the bottom of the list and makes it a child widget.
    void attach(Control& control);

    void bring_to_front(Control& control);
    void send_to_back(Control& control);

    // The control that holds (or last held) the keyboard focus in this window,
    // or nullptr.
    Control* ActiveControl() const;

    // Chains the keyboard focus order by tab index; between equal indexes the
    // child list's order decides.
    void apply_tab_order();

    // The client area's size, and the least and the most the whole window, frame included, may
    // be resized to where the platform lets a program say so. On X11 the window manager's frame
    // is taken off the limits; on Wayland only the least size is told, so that a maximized or
    // full-screen window always takes the size the compositor gives it.
    void set_client_size(QSize size, QSize smallest_outer, QSize largest_outer);

    // A picture tiled from the client area's top-left corner behind every child, drawn from the
    // picture as draw_tiled draws it.
    void set_background_image(const QImage& picture);

    // While one lives, the window holds back the visibility changes of its controls; when the
    // last one ends, each control takes the flag it was last given, and a control whose flag
    // ends as it began is not touched at all: nothing is redrawn or told to screen readers for
    // it. Meanwhile each control's Visible() reads the flag as last set. ChangesApplied is raised
    // once the held changes are in.
    class HeldChanges {
    public:
        explicit HeldChanges(Window& window);
        ~HeldChanges();
        HeldChanges(const HeldChanges&) = delete;
        HeldChanges& operator=(const HeldChanges&) = delete;

    private:
        Window& window_;
    };
    bool holding_changes() const { return holds_ > 0; }

signals:
    void ChangesApplied();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend class Control;
    void apply_held_changes();
    void forget(const Control& control);

    std::vector<Control*> controls_;
    QImage background_;
    int holds_ = 0;
};

} // namespace tk
