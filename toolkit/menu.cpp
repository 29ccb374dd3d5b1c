// Menu items with check-on-click, and the menu bar drawn over a background picture.
#include "toolkit/menu.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace tk {

namespace {

// Where an item's own size is kept: on its action, which the style sees.
const char* const size_property = "tk_menu_item_size";

// The size of its own of the item an option stands for. The style is told an
// item's text, not its action; texts are unique within one bar or menu.
QSize own_size(const QStyleOption* option, const QWidget* widget) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (item == nullptr || widget == nullptr) {
        return {};
    }
    // A menu's item text carries its shortcut after a tab.
    const QString text = item->text.section(u'\t', 0, 0);
    for (const QAction* action : widget->actions()) {
        if (action->text() == text) {
            return action->property(size_property).toSize();
        }
    }
    return {};
}

// The application's style, but with the bar's titles laid side by side from
// its left edge and centred in its height, and the items that have a size of
// their own taking it.
class MenuStyle : public QProxyStyle {
public:
    explicit MenuStyle(QObject* owner)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_MenuBarHMargin:
        case PM_MenuBarItemSpacing:
        case PM_MenuBarPanelWidth:
            return 0;
        case PM_MenuBarVMargin:
            if (widget != nullptr) {
                int tallest = 0;
                for (const QAction* action : widget->actions()) {
                    tallest = std::max(tallest, action->property(size_property).toSize().height());
                }
                if (tallest > 0) {
                    return std::max(0, (widget->height() - tallest) / 2);
                }
            }
            break;
        default:
            break;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override {
        if (type == CT_MenuBarItem || type == CT_MenuItem) {
            const QSize own = own_size(option, widget);
            if (own.isValid()) {
                return own;
            }
        }
        return QProxyStyle::sizeFromContents(type, option, contents, widget);
    }
};

} // namespace

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

QSize MenuItem::Size() const {
    return action_->property(size_property).toSize();
}

void MenuItem::SetSize(const QSize& size) {
    action_->setProperty(size_property, size);
    // The bar and the menu lay their items out afresh when told of a change.
    for (QObject* holder : action_->associatedObjects()) {
        if (auto* widget = qobject_cast<QWidget*>(holder)) {
            QActionEvent change(QEvent::ActionChanged, action_);
            QCoreApplication::sendEvent(widget, &change);
        }
    }
}

MenuItem* MenuItem::add_item(const QString& name, const QString& text) {
    if (menu_ == nullptr) {
        auto* holder = qobject_cast<QWidget*>(action_->parent());
        menu_ = new QMenu(text, holder);
        if (holder != nullptr) {
            menu_->setStyle(holder->style());
        }
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
    setStyle(new MenuStyle(this));
}

MenuItem* MenuStrip::add_menu(const QString& name, const QString& text) {
    QMenu* menu = addMenu(text);
    menu->setObjectName(name + QStringLiteral("_menu"));
    menu->setStyle(style());
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

void MenuStrip::set_background_image(const QImage& picture) {
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
    draw_tiled(painter, rect(), background_, event->region());
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
