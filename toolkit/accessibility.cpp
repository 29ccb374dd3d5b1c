// Accessible objects for our text boxes and picture boxes, and the factory that hands them to Qt.
#include "toolkit/accessibility.h"

#include "toolkit/controls.h"
#include "toolkit/text_box.h"
#include "toolkit/window.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace tk {

namespace {

// What a text box tells screen readers beyond Qt's own properties. A child of the box, so it
// lives exactly as long as the box.
class AccessibleHooks : public QObject {
    Q_OBJECT
public:
    explicit AccessibleHooks(TextBox& box) : QObject(&box) {}

    static AccessibleHooks& of(TextBox& box) {
        if (auto* hooks = box.findChild<AccessibleHooks*>(QString(), Qt::FindDirectChildrenOnly)) {
            return *hooks;
        }
        return *new AccessibleHooks(box); // owned by the box
    }
    static const AccessibleHooks* find(const TextBox& box) {
        return box.findChild<AccessibleHooks*>(QString(), Qt::FindDirectChildrenOnly);
    }

    std::function<QString()> name;
    std::function<Reading(const QString&, int)> reading;
};

// Tells screen readers to read a box's name again when the watched widget is shown or hidden.
class NameWatcher : public QObject {
    Q_OBJECT
public:
    NameWatcher(TextBox& box, QWidget& source) : QObject(&source), box_(&box) {
        source.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && box_ &&
            QAccessible::isActive()) {
            QAccessibleEvent changed(box_.data(), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
        return false;
    }

private:
    QPointer<TextBox> box_;
};

Reading read(const TextBox& box) {
    const AccessibleHooks* hooks = AccessibleHooks::find(box);
    if (hooks != nullptr && hooks->reading) {
        return hooks->reading(box.Text(), box.SelectionStart());
    }
    // Each line-break character reads as a space, so offsets stay those of the text.
    return {line_breaks_as_spaces(box.Text()), box.SelectionStart()};
}

// A text box as an editable text: its name, its text as it reads aloud, the caret in that
// reading. The text is changed only by typing into the box, never through this object.
class TextBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextBoxAccessible(TextBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText), last_(read(*box)) {
        connection_ = QObject::connect(box, &TextBox::TextChanged, box, [this] { text_changed(); });
    }
    ~TextBoxAccessible() override { QObject::disconnect(connection_); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Name) {
            const AccessibleHooks* hooks = AccessibleHooks::find(*box());
            if (hooks != nullptr && hooks->name) {
                return hooks->name();
            }
            return box()->accessibleName();
        }
        if (which == QAccessible::Value) {
            return read(*box()).text;
        }
        return QAccessibleWidget::text(which);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        return state;
    }

    // ---- the text interface: the reading, with no selection ----
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}

    int cursorPosition() const override { return read(*box()).caret; }
    // Puts the box's caret where it reads nearest to the position asked for.
    void setCursorPosition(int position) override {
        TextBox* b = box();
        const auto length = static_cast<int>(b->Text().size());
        const AccessibleHooks* hooks = AccessibleHooks::find(*b);
        int best = 0;
        int best_distance = -1;
        for (int caret = 0; caret <= length; ++caret) {
            const int at =
                hooks != nullptr && hooks->reading ? hooks->reading(b->Text(), caret).caret : caret;
            const int distance = std::abs(at - position);
            if (best_distance < 0 || distance < best_distance) {
                best = caret;
                best_distance = distance;
            }
        }
        b->SetSelectionStart(best);
    }

    QString text(int start, int end) const override {
        const QString reading = read(*box()).text;
        if (end < 0 || end > reading.size()) {
            end = static_cast<int>(reading.size());
        }
        start = std::max(0, start);
        return start < end ? reading.mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(read(*box()).text.size()); }
    // The box is small: every character is taken to fill it.
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint& point) const override {
        return rect().contains(point) ? cursorPosition() : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    TextBox* box() const { return static_cast<TextBox*>(widget()); }

    void text_changed() {
        Reading now = read(*box());
        if (!QAccessible::isActive()) {
            last_ = std::move(now);
            return;
        }
        if (now.text != last_.text) {
            QAccessibleTextUpdateEvent update(box(), 0, last_.text, now.text);
            QAccessible::updateAccessibility(&update);
        }
        if (now.caret != last_.caret || now.text != last_.text) {
            QAccessibleTextCursorEvent caret(box(), now.caret);
            QAccessible::updateAccessibility(&caret);
        }
        last_ = std::move(now);
    }

    Reading last_;
    QMetaObject::Connection connection_;
};

// Qt keeps the interfaces a factory makes in its accessibility cache and deletes each one when
// its widget goes.
QAccessibleInterface* make_accessible(const QString&, QObject* object) {
    if (auto* box = qobject_cast<TextBox*>(object)) {
        return new TextBoxAccessible(box);
    }
    if (auto* picture = qobject_cast<PictureBox*>(object)) {
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    }
    // A top-level window is a window (a frame to AT-SPI), named by its title.
    if (auto* window = qobject_cast<Window*>(object); window != nullptr && window->isWindow()) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void install_accessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(make_accessible);
        return true;
    }();
    (void)installed;
}

void set_accessible_name(TextBox& box, std::function<QString()> name) {
    AccessibleHooks::of(box).name = std::move(name);
}

void set_reading(TextBox& box, std::function<Reading(const QString& text, int caret)> reading) {
    AccessibleHooks::of(box).reading = std::move(reading);
}

void name_follows(TextBox& box, QWidget& source) {
    new NameWatcher(box, source); // owned by the source widget
}

} // namespace tk

#include "accessibility.moc"
