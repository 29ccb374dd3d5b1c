// Accessible objects for our text boxes and picture boxes, and the factory that hands them to Qt.
#include "toolkit/accessibility.h"

#include "toolkit/atspi_visible.h"
#include "toolkit/controls.h"
#include "toolkit/text_box.h"
#include "toolkit/window.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>
#include <QTimer>

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
    std::function<QString()> description;
    std::function<Reading(const QString&, int)> reading;
};

QString name_of(const TextBox& box) {
    const AccessibleHooks* hooks = AccessibleHooks::find(box);
    return hooks != nullptr && hooks->name ? hooks->name() : box.accessibleName();
}

// Tells screen readers to read a box's name again when the watched widget is shown, hidden or
// relabelled and the name has come to read differently from what they were last told.
class NameWatcher : public QObject {
    Q_OBJECT
public:
    NameWatcher(TextBox& box, QWidget& source) : QObject(&source), box_(&box), told_(name_of(box)) {
        source.installEventFilter(this);
        if (auto* label = qobject_cast<Label*>(&source)) {
            connect(label, &Label::TextChanged, this, &NameWatcher::follow);
        }
        // Changes held back by the window come in all at once; only the end counts.
        if (Window* window = box.owner()) {
            connect(window, &Window::ChangesApplied, this, &NameWatcher::follow);
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            follow();
        }
        return false;
    }

private:
    void follow() {
        if (!box_ || (box_->owner() != nullptr && box_->owner()->holding_changes())) {
            return;
        }
        QString now = name_of(*box_);
        if (now == told_) {
            return;
        }
        told_ = std::move(now);
        if (QAccessible::isActive()) {
            QAccessibleEvent changed(box_.data(), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }

    QPointer<TextBox> box_;
    QString told_;
};

QString description_of(const TextBox& box) {
    const AccessibleHooks* hooks = AccessibleHooks::find(box);
    return hooks != nullptr && hooks->description ? hooks->description()
                                                  : box.accessibleDescription();
}

// Tells screen readers to read a box's description again when it has come to read differently
// from what they were last told: at once for the focused box, once its window has applied the
// changes it held back; for any other box as it takes the focus (before readers hear of the focus)
// or the mouse comes over it. A reader holds the descriptions of the boxes it has spoken, and
// speaks them again only there; the board's 81 descriptions told at once would swamp it and make it
// drop the notice of the same command.
class DescriptionWatcher : public QObject {
    Q_OBJECT
public:
    // Readers have been told nothing yet, and an empty description needs no notice; so the box's
    // description is not asked for while the window is being built.
    explicit DescriptionWatcher(TextBox& box) : QObject(&box), box_(&box) {
        box.installEventFilter(this);
        if (Window* window = box.owner()) {
            connect(window, &Window::ChangesApplied, this, [this] {
                if (box_->hasFocus()) {
                    follow();
                }
            });
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::Enter) {
            follow();
        }
        return false;
    }

private:
    void follow() {
        QString now = description_of(*box_);
        if (now == told_) {
            return;
        }
        told_ = std::move(now);
        if (QAccessible::isActive()) {
            QAccessibleEvent changed(box_, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }

    TextBox* box_; // the watcher's parent
    QString told_;
};

// Sends the "visible" notice for each show and hide of the widget it watches; a child of it.
class VisibilityTeller : public QObject {
    Q_OBJECT
public:
    explicit VisibilityTeller(QWidget& widget) : QObject(&widget) {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Show comes before Qt's own "showing" notice, so a reader that speaks the widget as it
        // comes to show already holds it as visible.
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            send_visible(*static_cast<QWidget*>(watched), event->type() == QEvent::Show);
        }
        return false;
    }
};

// A notification with no size: each announcement shows it anew, named by the message, so readers
// speak it as it comes to show. It comes a moment after the last request: a command that brings a
// new puzzle changes the whole board at once, and a reader swamped with those changes drops the
// notices that are not about the focus; by then it has worked through them.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget& near) : QWidget(&near) {
        setFixedSize(0, 0);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
        new VisibilityTeller(*this); // owned by the announcer
        delay_.setSingleShot(true);
        delay_.setInterval(announcement_delay);
        connect(&delay_, &QTimer::timeout, this, &Announcer::deliver);
    }

    static Announcer& of(QWidget& near) {
        if (auto* found = near.findChild<Announcer*>(QString(), Qt::FindDirectChildrenOnly)) {
            return *found;
        }
        return *new Announcer(near); // owned by `near`
    }

    void say(const QString& message) {
        waiting_ = message;
        waiting_more_.clear();
        delay_.start();
    }

    // A message still waiting keeps its text and says `more` after it.
    void say_more(const QString& more) {
        if (!delay_.isActive()) {
            say(more);
            return;
        }
        waiting_more_ = more;
        delay_.start();
    }

    const QString& message() const { return message_; }
    const QString& more() const { return more_; }

private:
    void deliver() {
        message_ = waiting_;
        more_ = waiting_more_;
        hide();
        show();
    }

    QString message_;
    QString more_;
    QString waiting_;
    QString waiting_more_;
    QTimer delay_;
};

Reading read(const TextBox& box) {
    const AccessibleHooks* hooks = AccessibleHooks::find(box);
    if (hooks != nullptr && hooks->reading) {
        return hooks->reading(box.Text(), box.SelectionStart());
    }
    // Each line-break character reads as a space, so offsets stay those of the text.
    return {line_breaks_as_spaces(box.Text()), box.SelectionStart(), {}};
}

// Whether a player who sees the window could use the control: shown and enabled. A reader may
// act on nothing else.
bool operable(const QWidget* widget) {
    return widget->isVisible() && widget->isEnabled();
}

// What one change of a text did: `removed` taken out and `inserted` put in at `position`. The
// longest common start and end of the two texts are kept, so typing a mark or taking one away
// reads as just that mark.
struct Edit {
    int position = 0;
    QString removed;
    QString inserted;
};

Edit edit_between(const QString& before, const QString& after) {
    const auto shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == after[start]) {
        ++start;
    }
    qsizetype end = 0;
    while (end < shorter - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end]) {
        ++end;
    }
    return {static_cast<int>(start), before.mid(start, before.size() - start - end),
            after.mid(start, after.size() - start - end)};
}

// A text interface with nothing selected, whose characters all fill the widget's rectangle;
// the text and the caret are the subclass's.
class ReadOnlyText : public QAccessibleTextInterface {
public:
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}

    QString text(int start, int end) const override {
        const QString all = whole_text();
        if (end < 0 || end > all.size()) {
            end = static_cast<int>(all.size());
        }
        start = std::max(0, start);
        return start < end ? all.mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(whole_text().size()); }
    // The controls are small: every character is taken to fill them.
    QRect characterRect(int) const override { return area(); }
    int offsetAtPoint(const QPoint& point) const override {
        return area().contains(point) ? cursorPosition() : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

protected:
    virtual QString whole_text() const = 0;
    virtual QRect area() const = 0;
};

// A text box as a text: its name, its text as it reads aloud, the caret in that reading. The text
// is changed only by typing and pasting into the box, never through this object, so it offers no
// editable-text interface: a reader's request to write would otherwise be answered "done" while
// the box's key filter never saw it.
class TextBoxAccessible : public QAccessibleWidget, public ReadOnlyText {
public:
    explicit TextBoxAccessible(TextBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText), last_(read(*box)) {
        text_connection_ =
            QObject::connect(box, &TextBox::TextChanged, box, [this] { text_changed(); });
        caret_connection_ =
            QObject::connect(box, &TextBox::CaretMoved, box, [this] { caret_moved(); });
    }
    ~TextBoxAccessible() override {
        QObject::disconnect(text_connection_);
        QObject::disconnect(caret_connection_);
    }

    QStringList actionNames() const override {
        return operable(widget()) ? QAccessibleWidget::actionNames() : QStringList();
    }
    void doAction(const QString& action) override {
        if (operable(widget())) {
            QAccessibleWidget::doAction(action);
        }
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    // Both texts: the accessible name and value here, the reading by range from ReadOnlyText.
    using ReadOnlyText::text;
    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Name) {
            const AccessibleHooks* hooks = AccessibleHooks::find(*box());
            if (hooks != nullptr && hooks->name) {
                return hooks->name();
            }
            return box()->accessibleName();
        }
        if (which == QAccessible::Description) {
            return description_of(*box());
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
    int cursorPosition() const override { return read(*box()).caret; }
    // A character of the reading is what the reading says one is, so that a reader moving the
    // caret speaks a whole one.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        const Reading reading = read(*box());
        if (type != QAccessible::CharBoundary || reading.characters.empty() || offset < 0 ||
            offset >= reading.text.size()) {
            return ReadOnlyText::textAtOffset(offset, type, start, end);
        }
        const auto next =
            std::upper_bound(reading.characters.begin(), reading.characters.end(), offset);
        *start = next == reading.characters.begin() ? 0 : *(next - 1);
        *end = next == reading.characters.end() ? static_cast<int>(reading.text.size()) : *next;
        return reading.text.mid(*start, *end - *start);
    }
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

protected:
    QString whole_text() const override { return read(*box()).text; }
    QRect area() const override { return rect(); }

private:
    TextBox* box() const { return static_cast<TextBox*>(widget()); }

    void text_changed() {
        Reading now = read(*box());
        if (!QAccessible::isActive()) {
            last_ = std::move(now);
            return;
        }
        if (now.text != last_.text) {
            const Edit edit = edit_between(last_.text, now.text);
            if (edit.removed.isEmpty()) {
                QAccessibleTextInsertEvent inserted(box(), edit.position, edit.inserted);
                QAccessible::updateAccessibility(&inserted);
            } else if (edit.inserted.isEmpty()) {
                QAccessibleTextRemoveEvent removed(box(), edit.position, edit.removed);
                QAccessible::updateAccessibility(&removed);
            } else {
                QAccessibleTextUpdateEvent replaced(box(), edit.position, edit.removed,
                                                    edit.inserted);
                QAccessible::updateAccessibility(&replaced);
            }
        }
        // Readers follow the caret of the focused box only; the board's other cells, cleared or
        // filled all at once, would flood them.
        if ((now.caret != last_.caret || now.text != last_.text) && box()->hasFocus()) {
            QAccessibleTextCursorEvent caret(box(), now.caret);
            QAccessible::updateAccessibility(&caret);
        }
        last_ = std::move(now);
    }

    // A move of the caret alone. One that comes with a change of the text is told with the
    // change, once the text has changed.
    void caret_moved() {
        const Reading now = read(*box());
        if (now.text != last_.text || now.caret == last_.caret) {
            return;
        }
        last_.caret = now.caret;
        if (QAccessible::isActive() && box()->hasFocus()) {
            QAccessibleTextCursorEvent caret(box(), now.caret);
            QAccessible::updateAccessibility(&caret);
        }
    }

    Reading last_;
    QMetaObject::Connection text_connection_;
    QMetaObject::Connection caret_connection_;
};

// What makes a picture a notice. A child of the picture, so it lives exactly as long as it.
class Notice : public QObject {
    Q_OBJECT
public:
    Notice(PictureBox& box, QString text) : QObject(&box), text(std::move(text)) {}

    static Notice* find(const QWidget& box) {
        return box.findChild<Notice*>(QString(), Qt::FindDirectChildrenOnly);
    }

    QString text;
};

// A picture: a graphic named by its accessibleName; or a notice, a notification whose name and
// description are what is announced and whose text is all that is written on it. Qt tells
// screen readers of each show and hide of the widget (as the "showing" state changing); readers
// speak a notification as it comes to show.
class PictureBoxAccessible : public QAccessibleWidget, public ReadOnlyText {
public:
    explicit PictureBoxAccessible(PictureBox* box) : QAccessibleWidget(box, QAccessible::Graphic) {}

    QAccessible::Role role() const override {
        return Notice::find(*widget()) != nullptr ? QAccessible::Notification
                                                  : QAccessible::Graphic;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && Notice::find(*widget()) != nullptr) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}

protected:
    QString whole_text() const override {
        const Notice* notice = Notice::find(*widget());
        return notice != nullptr ? notice->text : QString();
    }
    QRect area() const override { return rect(); }
};

// A push button named by its text, pressed by a reader only while a player could press it.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return QString(button()->text()).remove(u'&');
        }
        return QAccessibleWidget::text(which);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        return operable(widget()) ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && operable(widget())) {
            button()->animateClick();
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// An announcement: a notification named by its message.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Name) {
            return static_cast<const Announcer*>(widget())->message();
        }
        if (which == QAccessible::Description) {
            return static_cast<const Announcer*>(widget())->more();
        }
        return QAccessibleWidget::text(which);
    }
};

// Qt keeps the interfaces a factory makes in its accessibility cache and deletes each one when
// its widget goes.
QAccessibleInterface* make_accessible(const QString&, QObject* object) {
    if (auto* box = qobject_cast<TextBox*>(object)) {
        return new TextBoxAccessible(box);
    }
    if (auto* picture = qobject_cast<PictureBox*>(object)) {
        return new PictureBoxAccessible(picture);
    }
    if (auto* button = qobject_cast<Button*>(object)) {
        return new ButtonAccessible(button);
    }
    if (auto* announcer = qobject_cast<Announcer*>(object)) {
        return new AnnouncerAccessible(announcer);
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

void set_accessible_description(TextBox& box, std::function<QString()> description) {
    AccessibleHooks::of(box).description = std::move(description);
    new DescriptionWatcher(box); // owned by the box
}

void set_reading(TextBox& box, std::function<Reading(const QString& text, int caret)> reading) {
    AccessibleHooks::of(box).reading = std::move(reading);
}

void name_follows(TextBox& box, QWidget& source) {
    new NameWatcher(box, source); // owned by the source widget
}

void tell_visibility(QWidget& widget) {
    new VisibilityTeller(widget); // owned by the widget
}

void announce(QWidget& near, const QString& message) {
    Announcer::of(near).say(message);
}

void announce_more(QWidget& near, const QString& more) {
    Announcer::of(near).say_more(more);
}

void set_notice(PictureBox& box, const QString& announcement, const QString& text) {
    if (Notice* notice = Notice::find(box)) {
        notice->text = text;
    } else {
        new Notice(box, text); // owned by the picture
    }
    box.setAccessibleName(announcement);
    box.setAccessibleDescription(announcement);
}

} // namespace tk

#include "accessibility.moc"
