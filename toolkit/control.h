// The common face of every control on a window: kind, name, text, visibility, colours, font and
// focus.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <optional>
#include <utility>

class QImage;
class QPainter;
class QRegion;
class QWidget;

namespace tk {

class Window;

// The exact kind of a control. Kinds are compared exactly: a masked text box is
// never a plain text box, whatever the two share underneath.
enum class Kind { TextBox, MaskedTextBox, Label, Button, RadioButton, PictureBox, MenuStrip };

// Builds a font by family name, size in points and style. Families the system
// lacks are mapped to free stand-ins once at start-up (see install_font_substitutes),
// so the family that reads back is always the one asked for.
QFont make_font(const QString& family, double points, bool bold = false);

// The platform's standard face colour of controls (the "system control colour").
QColor system_control_colour();

// Maps the window's font families that Linux does not ship to free fonts of the
// same character. Safe to call more than once.
void install_font_substitutes();

// Turns on the desktop's themed look for every control that follows.
void enable_visual_styles();

// Draws the picture from the painter's origin where it meets the exposed region. A palette
// picture stays one byte a pixel: the exposed part is put into the screen's pixel format a strip
// of rows at a time, just for the drawing, so no screen-format copy of the whole picture is kept
// and Qt copies each strip straight to the screen.
void draw_picture(QPainter& painter, const QImage& picture, const QRegion& exposed);

// Tiles the picture over the area from its top-left corner, each tile drawn as draw_picture
// draws the picture.
void draw_tiled(QPainter& painter, const QRect& area, const QImage& picture,
                const QRegion& exposed);

// A control attached to a Window. Its API uses classic desktop-toolkit property
// names (Text, Visible, BackColor, BringToFront), in PascalCase so that they
// never collide with QWidget's own.
//
// The window owns the widget through Qt's parent ownership; this interface only
// describes it. Position in the window's child list, and so stacking, changes
// only through BringToFront and SendToBack.
class Control {
public:
    Control(Kind kind, QString name) : kind_(kind), name_(std::move(name)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    // A control that goes before its window leaves the window's list.
    virtual ~Control();

    Kind kind() const { return kind_; }
    const QString& Name() const { return name_; }

    virtual QWidget* widget() = 0;
    const QWidget* widget() const { return const_cast<Control*>(this)->widget(); }

    // The text exactly as it was set or typed; controls without text read "".
    virtual QString Text() const { return {}; }
    virtual void SetText(const QString&) {}

    // The control's own visibility flag (it reads true while the window
    // itself is not yet shown). While the window holds changes back (see
    // Window::HeldChanges) it reads the flag as last set.
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The background colour; an invalid colour means transparent (the window
    // shows through).
    QColor BackColor() const { return back_color_; }
    virtual void SetBackColor(const QColor& colour);
    QColor ForeColor() const { return fore_color_; }
    virtual void SetForeColor(const QColor& colour);

    QFont Font() const;
    void SetFont(const QFont& font);

    // Where the control stands in its window's client area and how big it is,
    // in pixels. SetLocation moves it and keeps its size; SetFixedBounds also
    // fixes the size, so that nothing can shrink or grow the control.
    QRect Bounds() const;
    void SetBounds(const QRect& bounds);
    void SetLocation(const QPoint& location);
    void SetFixedBounds(const QRect& bounds);

    // Keyboard focus; true when the control could take it.
    bool Focus();
    bool Focused() const;
    // Gives the focus up, so that the window has no focused control, rather than passing it on
    // to the next control in the tab order as hiding or disabling a focused control does.
    void DropFocus();

    int TabIndex() const { return tab_index_; }
    void SetTabIndex(int index) { tab_index_ = index; }

    // Moves the control to the top (position 0) or the bottom of its window's
    // child list; drawing and click delivery follow.
    void BringToFront();
    void SendToBack();

    Window* owner() const { return owner_; }

protected:
    // Passes the colours on to the widget's palette; a control that draws
    // itself from BackColor and ForeColor only repaints.
    virtual void apply_palette();

private:
    friend class Window;
    Kind kind_;
    QString name_;
    QColor back_color_;
    QColor fore_color_;
    int tab_index_ = 0;
    Window* owner_ = nullptr;
    // The visibility flag set while the window holds changes back.
    std::optional<bool> held_visible_;
};

} // namespace tk
