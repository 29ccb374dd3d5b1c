// Menu items with check-on-click, and the menu bar drawn over a background picture.
#include "toolkit/menu.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace tk {

MenuItem::MenuItem(const QString& name, QAction* action, QMenu* menu, QObject* parent)
    : QObject(parent), name_(name), action_(action), menu_(menu) {
    setObjectName(name);
    action_->setObjectName(name);
    // QAction flips a checkable action's state before it reports the trigger.
    connect(action_, &QAction::triggered, this, [this] { emit Click(); });
}

QString MenuItem::Text() const {
    return action_->text();
}

bool MenuItem::Checked() const {
    return action_->isChecked();
}

void MenuItem::SetChecked(bool checked) {
    action_->setChecked(checked);
}

bool MenuItem::CheckOnClick() const {
    return action_->isCheckable();
}

void MenuItem::SetCheckOnClick(bool check) {
    action_->setCheckable(check);
}

void MenuItem::SetFont(const QFont& font) {
    action_->setFont(font);
    if (menu_ != nullptr) {
        menu_->setFont(font);
    }
}

void MenuItem::SetBackColor(const QColor& colour) {
    back_color_ = colour;
    if (auto* bar = qobject_cast<QWidget*>(parent())) {
        bar->update();
    }
}

MenuItem* MenuItem::add_item(const QString& name, const QString& text) {
    if (menu_ == nullptr) {
        menu_ = new QMenu(text, qobject_cast<QWidget*>(action_->parent()));
        action_->setMenu(menu_);
    }
    QAction* action = menu_->addAction(text);
    return new MenuItem(name, action, nullptr, this);
}

void MenuItem::PerformClick() {
    action_->trigger();
}

MenuStrip::MenuStrip(const QString& name, QWidget* parent)
    : QMenuBar(parent), Control(Kind::MenuStrip, name) {
    setObjectName(name);
    setNativeMenuBar(false);
}

MenuItem* MenuStrip::add_menu(const QString& name, const QString& text) {
    QMenu* menu = addMenu(text);
    menu->setObjectName(name + QStringLiteral("_menu"));
    return new MenuItem(name, menu->menuAction(), menu, this);
}

MenuItem* MenuStrip::item_of(const QAction* action) const {
    for (MenuItem* item : findChildren<MenuItem*>(Qt::FindDirectChildrenOnly)) {
        if (item->action() == action) {
            return item;
        }
    }
    return nullptr;
}

void MenuStrip::mousePressEvent(QMouseEvent* event) {
    // A title that checks on click flips and raises Click before the bar opens
    // (or closes) its menu; Qt's menu bar itself only opens menus.
    if (event->button() == Qt::LeftButton) {
        QAction* action = actionAt(event->position().toPoint());
        if (action != nullptr && action->isCheckable() && action->isEnabled()) {
            action->trigger();
        }
    }
    QMenuBar::mousePressEvent(event);
}

void MenuStrip::set_background_image(const QPixmap& picture) {
    background_ = picture;
    update();
}

void MenuStrip::paintEvent(QPaintEvent* event) {
    if (background_.isNull()) {
        QMenuBar::paintEvent(event);
        return;
    }
    // The picture takes the place of the bar's own panel; the items are drawn
    // over it as the style draws them.
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), background_);
    for (QAction* action : actions()) {
        const QRect area = actionGeometry(action);
        if (area.isEmpty() || !action->isVisible()) {
            continue;
        }
        QStyleOptionMenuItem option;
        initStyleOption(&option, action);
        option.rect = area;
        // A title with a colour of its own is drawn on it; the others show
        // the picture through.
        const MenuItem* item = item_of(action);
        const QColor own = item != nullptr ? item->BackColor() : QColor();
        if (own.isValid()) {
            painter.fillRect(area, own);
        }
        option.palette.setBrush(QPalette::Window, Qt::transparent);
        option.palette.setBrush(QPalette::Button, Qt::transparent);
        style()->drawControl(QStyle::CE_MenuBarItem, &option, &painter, this);
    }
}

} // namespace tk
