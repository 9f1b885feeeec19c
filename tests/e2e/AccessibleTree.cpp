// The accessibility of a running program as the desktop's assistive tools meet it: the
// AT-SPI registry on the accessibility bus (found through the session bus) lists the
// applications, whose trees are walked object by object over D-Bus, and passes on events.
#include "AccessibleTree.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
using Ref = std::pair<QString, QString>; // bus name, object path

QDBusMessage Call(const QDBusConnection& bus, const Ref& ref, const QString& interface,
                  const QString& method, const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(ref.first, ref.second, interface, method);
    m.setArguments(args);
    return bus.call(m, QDBus::Block, 5000);
}

std::vector<Ref> Children(const QDBusConnection& bus, const Ref& ref) {
    std::vector<Ref> out;
    const QDBusMessage reply = Call(bus, ref, kAccessible, QStringLiteral("GetChildren"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return out;
    const auto arg = reply.arguments().first().value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QString service;
        QDBusObjectPath path;
        arg.beginStructure();
        arg >> service >> path;
        arg.endStructure();
        out.emplace_back(service, path.path());
    }
    arg.endArray();
    return out;
}

QString Name(const QDBusConnection& bus, const Ref& ref) {
    const QDBusMessage reply = Call(bus, ref, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
    if (reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant().toString();
}

QString RoleName(const QDBusConnection& bus, const Ref& ref) {
    const QDBusMessage reply = Call(bus, ref, kAccessible, QStringLiteral("GetRoleName"));
    return reply.arguments().isEmpty() ? QString() : reply.arguments().first().toString();
}

// The AT-SPI states (bit numbers) an object has.
bool HasState(const QDBusConnection& bus, const Ref& ref, int state) {
    const QDBusMessage reply = Call(bus, ref, kAccessible, QStringLiteral("GetState"));
    if (reply.arguments().isEmpty())
        return false;
    QList<uint> words;
    reply.arguments().first().value<QDBusArgument>() >> words;
    return state / 32 < words.size() && (words[state / 32] >> (state % 32) & 1u);
}
constexpr int kFocused = 12, kSelected = 23, kVisible = 30;

// Prints "role|name|states" per visible object, indented by depth; a bound keeps a broken
// tree finite.
void Walk(const QDBusConnection& bus, const Ref& ref, int depth, int& budget) {
    if (--budget < 0 || depth > 16 || (depth > 0 && !HasState(bus, ref, kVisible)))
        return;
    QStringList states;
    if (HasState(bus, ref, kSelected))
        states << QStringLiteral("selected");
    if (HasState(bus, ref, kFocused))
        states << QStringLiteral("focused");
    std::printf("%s%s|%s|%s\n", QByteArray(depth, ' ').constData(),
                RoleName(bus, ref).toUtf8().constData(), Name(bus, ref).toUtf8().constData(),
                states.join(u',').toUtf8().constData());
    for (const Ref& child : Children(bus, ref))
        Walk(bus, child, depth + 1, budget);
}

// The accessibility bus, whose address the session bus hands out.
std::optional<QDBusConnection> AccessibilityBus() {
    QDBusInterface launcher(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                            QStringLiteral("org.a11y.Bus"), QDBusConnection::sessionBus());
    const QDBusReply<QString> address = launcher.call(QStringLiteral("GetAddress"));
    if (!address.isValid()) {
        std::fprintf(stderr, "no accessibility bus: %s\n",
                     address.error().message().toUtf8().constData());
        return std::nullopt;
    }
    return QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
}

// Waits for one AT-SPI event: an object named `text` getting the focus, or an object's name
// becoming `text`.
class EventWatch : public QObject {
    Q_OBJECT
public:
    EventWatch(QDBusConnection bus, bool focus, QString text)
        : bus_(std::move(bus)), focus_(focus), text_(std::move(text)) {}
    bool seen() const { return seen_; }

public Q_SLOTS:
    void onEvent(const QDBusMessage& message) {
        const QVariantList args = message.arguments();
        if (args.size() < 4)
            return;
        // The event names the object; what it is called now is asked of the object.
        const QString what = args[0].toString();
        const bool kind = focus_ ? what == QLatin1String("focused") && args[1].toInt() == 1
                                 : what == QLatin1String("accessible-name");
        if (!kind)
            return;
        const QString name = Name(bus_, {message.service(), message.path()});
        std::fprintf(stderr, "%s: %s\n", what.toUtf8().constData(), name.toUtf8().constData());
        if (name == text_) {
            seen_ = true;
            Q_EMIT matched();
        }
    }
Q_SIGNALS:
    void matched();

private:
    QDBusConnection bus_;
    bool focus_;
    QString text_;
    bool seen_ = false;
};

} // namespace

int WaitForAnnouncement(const QString& kind, const QString& text, double timeoutSeconds) {
    const bool focus = kind == QLatin1String("focus");
    if (!focus && kind != QLatin1String("name"))
        return 2;
    std::optional<QDBusConnection> bus = AccessibilityBus();
    if (!bus)
        return 1;
    // Programs send only the events some assistive tool has asked the registry for.
    const QString event = focus ? QStringLiteral("object:state-changed:focused")
                                : QStringLiteral("object:property-change:accessible-name");
    const QString member =
        focus ? QStringLiteral("StateChanged") : QStringLiteral("PropertyChange");
    EventWatch watch(*bus, focus, text);
    bus->connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"), member,
                 &watch, SLOT(onEvent(QDBusMessage)));
    const QDBusMessage reply = Call(
        *bus,
        {QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry")},
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"), {event});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "registry refused %s: %s\n", event.toUtf8().constData(),
                     reply.errorMessage().toUtf8().constData());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    QEventLoop loop;
    QObject::connect(&watch, &EventWatch::matched, &loop, &QEventLoop::quit);
    // A program that was still connecting to the accessibility bus may have missed the
    // registration: it is repeated, and each repetition tells the programs again.
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] {
        QDBusMessage m = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
            QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
        m.setArguments({event});
        bus->send(m);
    });
    again.start(500);
    QTimer::singleShot(static_cast<int>(timeoutSeconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    if (!watch.seen())
        std::fprintf(stderr, "no %s event for '%s'\n", kind.toUtf8().constData(),
                     text.toUtf8().constData());
    return watch.seen() ? 0 : 1;
}

int PrintAccessibleTree(const QString& application, double timeoutSeconds) {
    std::optional<QDBusConnection> found = AccessibilityBus();
    if (!found)
        return 1;
    const QDBusConnection& bus = *found;
    const Ref registry{QStringLiteral("org.a11y.atspi.Registry"),
                       QStringLiteral("/org/a11y/atspi/accessible/root")};
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        for (const Ref& app : Children(bus, registry)) {
            if (Name(bus, app) == application) {
                int budget = 5000;
                Walk(bus, app, 0, budget);
                return 0;
            }
        }
        if (clock.elapsed() > timeoutSeconds * 1000) {
            std::fprintf(stderr, "application '%s' not on the accessibility bus\n",
                         application.toUtf8().constData());
            return 1;
        }
        QThread::msleep(100);
    }
}

#include "AccessibleTree.moc"
