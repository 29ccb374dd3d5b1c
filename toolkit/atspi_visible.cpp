// The "visible" state notice for AT-SPI readers, sent on Qt's own bridge connection.
//
// Qt's bridge tells a show or a hide only as "showing"; a reader keeps the other states it read
// while the widget was hidden, and so would hold a shown panel as not visible and pass it over.
// The notice goes out as the bridge's own state notices do: on its connection, from the object
// path it gives the widget, so readers take it as one of them. Neither the connection's name
// ("a11y") nor the path scheme is public Qt API; both were read from and verified on Qt 6.4.2
// (Debian 12). On another Qt, check them against its bridge (src/gui/accessible/linux).
#include "toolkit/atspi_visible.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QWidget>

namespace tk {
namespace {

constexpr const char* verified_on_qt = "6.4.2";

// The reference to the application that every AT-SPI event carries, a D-Bus (so) structure.
struct ApplicationReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const ApplicationReference& reference) {
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ApplicationReference& reference) {
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

} // namespace
} // namespace tk

Q_DECLARE_METATYPE(tk::ApplicationReference)

namespace tk {

void send_visible(QWidget& widget, bool visible) {
    // Active means a reader listens (the AT-SPI bus says assistive technology is on).
    if (!QAccessible::isActive()) {
        return;
    }
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected()) {
        // A newer Qt may name its connection differently; readers then lose this notice only,
        // so say so once rather than for every panel.
        static bool warned = false;
        if (!warned) {
            warned = true;
            qWarning("tallywick: Qt's screen-reader connection \"a11y\" is missing (Qt %s; "
                     "verified on Qt %s): readers are not told when panels become visible",
                     qVersion(), verified_on_qt);
        }
        return;
    }
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&widget);
    if (face == nullptr) {
        return;
    }
    static const bool registered = [] {
        qDBusRegisterMetaType<ApplicationReference>();
        return true;
    }();
    (void)registered;
    QDBusMessage notice = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/") +
            QString::number(QAccessible::uniqueId(face)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    notice << QStringLiteral("visible") << int(visible) << 0
           << QVariant::fromValue(QDBusVariant(QVariant(0)))
           << QVariant::fromValue(ApplicationReference{
                  bus.baseService(),
                  QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))});
    bus.send(notice);
}

} // namespace tk
