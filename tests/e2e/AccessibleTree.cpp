// The accessibility tree of a running program as the desktop's assistive tools see it:
// the AT-SPI registry on the accessibility bus (found through the session bus) lists the
// applications; the one with the given name is walked object by object over D-Bus.
#include "AccessibleTree.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <cstdio>
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

} // namespace

int PrintAccessibleTree(const QString& application, double timeoutSeconds) {
    QDBusInterface launcher(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                            QStringLiteral("org.a11y.Bus"), QDBusConnection::sessionBus());
    const QDBusReply<QString> address = launcher.call(QStringLiteral("GetAddress"));
    if (!address.isValid()) {
        std::fprintf(stderr, "no accessibility bus: %s\n",
                     address.error().message().toUtf8().constData());
        return 1;
    }
    const QDBusConnection bus =
        QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
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
