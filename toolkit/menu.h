// The menu bar as a control of the window, and menu items that can check themselves on click.
#pragma once

#include "toolkit/control.h"

#include <QColor>
#include <QMenuBar>
#include <QObject>
#include <QImage>
#include <QSize>

class QAction;
class QMenu;

namespace tk {

// A menu item. An item that checks on click flips its Checked state first and
// only then raises Click, so a click on a checked item leaves it unchecked by
// the time its handler runs. An item with sub-items opens them as a menu; a
// click on such an item's title on the menu bar flips it too, as it opens or
// closes the menu.
class MenuItem : public QObject {
    Q_OBJECT
public:
    const QString& Name() const { return name_; }
    QString Text() const;
    bool Checked() const;
    void SetChecked(bool checked);
    bool CheckOnClick() const;
    void SetCheckOnClick(bool check);
    void SetFont(const QFont& font);

    // The title's own background on the menu bar; an invalid colour (the
    // default) draws the bar's background behind it.
    QColor BackColor() const { return back_color_; }
    void SetBackColor(const QColor& colour);

    // The item's size: on the menu bar for a title, in its drop-down menu for
    // an item (a menu's items all take the widest one's width). An invalid
    // size (the default) leaves the size to the style.
    QSize Size() const;
    void SetSize(const QSize& size);

    // Adds a sub-item at the end of this item's menu.
    MenuItem* add_item(const QString& name, const QString& text);

    // Clicks the item as the player would.
    void PerformClick();

    QAction* action() const { return action_; }
    QMenu* menu() const { return menu_; }

signals:
    void Click();

private:
    friend class MenuStrip;
    MenuItem(const QString& name, QAction* action, QMenu* menu, QObject* parent);

    QString name_;
    QAction* action_;
    QMenu* menu_;
    QColor back_color_;
};

// The menu bar, placed as an ordinary child of the window (so other controls
// can lie above it) and drawn over a background picture tiled from its corner.
// Its titles stand side by side from its left edge, with no margin or gap
// between them, and centred in its height; a title or drop-down item with a
// Size of its own takes exactly that size.
class MenuStrip : public QMenuBar, public Control {
    Q_OBJECT
public:
    explicit MenuStrip(const QString& name, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }

    // Adds a top-level menu at the end of the bar.
    MenuItem* add_menu(const QString& name, const QString& text);

    void set_background_image(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    MenuItem* item_of(const QAction* action) const;

    QImage background_;
};

} // namespace tk
