#include "atspisession.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

QDBusArgument &operator<<(QDBusArgument &argument, const AtspiRef &ref)
{
    argument.beginStructure();
    argument << ref.service << ref.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, AtspiRef &ref)
{
    argument.beginStructure();
    argument >> ref.service >> ref.path;
    argument.endStructure();
    return argument;
}

namespace {

const QString kLauncher = u"/usr/libexec/at-spi-bus-launcher"_s;
const QString kRegistry = u"/usr/libexec/at-spi2-registryd"_s;
const char *const kAccessible = "org.a11y.atspi.Accessible";

QString xcbPlugin()
{
    return QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/platforms/libqxcb.so"_s;
}

} // namespace

AtspiSession::AtspiSession()
{
    qDBusRegisterMetaType<AtspiRef>();
    qDBusRegisterMetaType<QList<AtspiRef>>();
}

AtspiSession::~AtspiSession()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_connectionName);
    // The launcher leaves with the session bus, and takes the accessibility bus and the registry with it.
    for (QProcess *p : {&m_dbus, &m_xvfb}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
        }
    }
}

QString AtspiSession::missing()
{
    for (const QString &program : {u"Xvfb"_s, u"dbus-daemon"_s}) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return program;
    }
    for (const QString &path : {kLauncher, kRegistry, xcbPlugin()}) {
        if (!QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool AtspiSession::waitForLine(QProcess &process, QString *line, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine()) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    *line = QString::fromLocal8Bit(process.readLine()).trimmed();
    return true;
}

bool AtspiSession::start(QString *error, bool accessibility)
{
    m_accessibility = accessibility;
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_dir.isValid())
        return fail(u"no temporary directory"_s);
    QDir(m_dir.path()).mkpath(u"home"_s);

    // A display of its own: Xvfb picks a free number and writes it once it accepts clients.
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb.setStandardErrorFile(QProcess::nullDevice());
    m_xvfb.start(
        u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s, u"-nolisten"_s, u"tcp"_s});
    QString number;
    if (!waitForLine(m_xvfb, &number, 10000) || number.isEmpty())
        return fail(u"Xvfb did not start"_s);
    m_display = u":"_s + number;

    // The session bus, started with the environment the accessibility bus launcher will inherit from it.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, m_display);
    env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
    env.insert(u"HOME"_s, home());
    env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
    env.remove(u"AT_SPI_BUS_ADDRESS"_s);
    m_dbus.setProcessEnvironment(env);
    m_dbus.setStandardErrorFile(QProcess::nullDevice());
    m_dbus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
    if (!waitForLine(m_dbus, &m_sessionAddress, 10000) || m_sessionAddress.isEmpty())
        return fail(u"dbus-daemon did not start"_s);
    if (!accessibility)
        return true;

    // Asking the session bus for the accessibility bus starts it.
    static int sessions = 0;
    const QString sessionName = u"atspi-session-%1"_s.arg(++sessions);
    QString a11yAddress;
    {
        QDBusConnection session = QDBusConnection::connectToBus(m_sessionAddress, sessionName);
        const QDBusMessage reply = session.call(
            QDBusMessage::createMethodCall(u"org.a11y.Bus"_s, u"/org/a11y/bus"_s, u"org.a11y.Bus"_s, u"GetAddress"_s),
            QDBus::Block, 10000);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            a11yAddress = reply.arguments().constFirst().toString();
    }
    QDBusConnection::disconnectFromBus(sessionName);
    if (a11yAddress.isEmpty())
        return fail(u"the accessibility bus did not start"_s);
    m_connectionName = u"atspi-a11y-%1"_s.arg(sessions);
    if (!QDBusConnection::connectToBus(a11yAddress, m_connectionName).isConnected())
        return fail(u"no connection to the accessibility bus"_s);
    return true;
}

QProcessEnvironment AtspiSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, m_display);
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_sessionAddress);
    env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
    env.insert(u"HOME"_s, home());
    env.insert(u"XDG_DATA_HOME"_s, home() + u"/.local/share"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, home() + u"/.config"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    for (const QString &name :
        {u"WAYLAND_DISPLAY"_s, u"AT_SPI_BUS_ADDRESS"_s, u"QT_ACCESSIBILITY"_s, u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s})
        env.remove(name);
    if (m_accessibility)
        env.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    return env;
}

QDBusConnection AtspiSession::bus() const
{
    return QDBusConnection(m_connectionName);
}

QString AtspiSession::home() const
{
    return m_dir.filePath(u"home"_s);
}

bool AtspiSession::listenTo(const QStringList &events)
{
    for (const QString &event : events) {
        QDBusMessage m = QDBusMessage::createMethodCall(u"org.a11y.atspi.Registry"_s, u"/org/a11y/atspi/registry"_s,
            u"org.a11y.atspi.Registry"_s, u"RegisterEvent"_s);
        m << event << QStringList() << QString();
        // The registry is started on the first call and may not answer that one.
        QDBusMessage reply;
        for (int attempt = 0; attempt < 20; ++attempt) {
            reply = bus().call(m, QDBus::Block, 10000);
            if (reply.type() == QDBusMessage::ReplyMessage)
                break;
            QThread::msleep(100);
        }
        if (reply.type() != QDBusMessage::ReplyMessage) {
            qWarning("RegisterEvent %s: %s", qPrintable(event), qPrintable(reply.errorMessage()));
            return false;
        }
    }
    return true;
}

AtspiRef AtspiSession::desktop()
{
    return {u"org.a11y.atspi.Registry"_s, QDBusObjectPath(u"/org/a11y/atspi/accessible/root"_s)};
}

namespace {

QDBusMessage callOn(const QDBusConnection &bus, const AtspiRef &ref, const char *interface, const char *method,
    const QVariantList &arguments = {}, int timeoutMs = 10000)
{
    QDBusMessage m
        = QDBusMessage::createMethodCall(ref.service, ref.path.path(), QLatin1String(interface), QLatin1String(method));
    m.setArguments(arguments);
    return bus.call(m, QDBus::Block, timeoutMs);
}

QVariant firstResult(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    QVariant v = reply.arguments().constFirst();
    if (v.canConvert<QDBusVariant>())
        v = v.value<QDBusVariant>().variant();
    return v;
}

QVariant property(const QDBusConnection &bus, const AtspiRef &ref, const char *interface, const char *name)
{
    return firstResult(
        callOn(bus, ref, "org.freedesktop.DBus.Properties", "Get", {QLatin1String(interface), QLatin1String(name)}));
}

} // namespace

QList<AtspiRef> AtspiSession::children(const AtspiRef &ref) const
{
    const QDBusMessage reply = callOn(bus(), ref, kAccessible, "GetChildren");
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QList<AtspiRef>>(reply.arguments().constFirst());
}

QString AtspiSession::name(const AtspiRef &ref) const
{
    return property(bus(), ref, kAccessible, "Name").toString();
}

QString AtspiSession::role(const AtspiRef &ref) const
{
    return firstResult(callOn(bus(), ref, kAccessible, "GetRoleName")).toString();
}

QStringList AtspiSession::interfaces(const AtspiRef &ref) const
{
    QStringList names = firstResult(callOn(bus(), ref, kAccessible, "GetInterfaces")).toStringList();
    for (QString &n : names)
        n.remove(u"org.a11y.atspi."_s);
    return names;
}

QString AtspiSession::value(const AtspiRef &ref) const
{
    const QStringList ifaces = interfaces(ref);
    if (ifaces.contains(u"Text"_s))
        return firstResult(callOn(bus(), ref, "org.a11y.atspi.Text", "GetText", {0, -1})).toString();
    if (ifaces.contains(u"Value"_s))
        return QString::number(property(bus(), ref, "org.a11y.atspi.Value", "CurrentValue").toDouble());
    if (role(ref) == u"combo box") {
        for (const AtspiRef &child : children(ref)) {
            if (role(child) == u"text")
                return value(child);
        }
    }
    return {};
}

QStringList AtspiSession::actions(const AtspiRef &ref) const
{
    QStringList names;
    const int count = property(bus(), ref, "org.a11y.atspi.Action", "NActions").toInt();
    for (int i = 0; i < count; ++i)
        names << firstResult(callOn(bus(), ref, "org.a11y.atspi.Action", "GetName", {i})).toString();
    return names;
}

bool AtspiSession::act(const AtspiRef &ref, const QString &action, bool waitForIt) const
{
    const int index = actions(ref).indexOf(action);
    if (index < 0)
        return false;
    QDBusMessage m
        = QDBusMessage::createMethodCall(ref.service, ref.path.path(), u"org.a11y.atspi.Action"_s, u"DoAction"_s);
    m << index;
    if (!waitForIt)
        return bus().send(m);
    return firstResult(bus().call(m, QDBus::Block, 10000)).toBool();
}

QList<AtspiNode> AtspiSession::tree(const AtspiRef &ref) const
{
    QList<AtspiNode> nodes;
    for (const AtspiRef &child : children(ref)) {
        const AtspiNode node {child, name(child), role(child)};
        nodes.append(node);
        if (node.role != u"table" && node.role != u"list")
            nodes.append(tree(child));
    }
    return nodes;
}

namespace {

// Stands in for a screen reader: every event that arrives has its source's name and role read, as a screen
// reader reads what it may announce. The reads go out without waiting, so a slow program shows as a backlog.
class ScreenReaderStandIn : public QObject
{
    Q_OBJECT

public:
    explicit ScreenReaderStandIn(QDBusConnection bus)
        : m_bus(bus)
    {
        for (const char *kind : {"Object", "Window", "Focus"}) {
            // QtDBus connects signals by slot signature only.
            m_bus.connect(QString(), QString(), u"org.a11y.atspi.Event."_s + QLatin1String(kind), QString(), this,
                SLOT(onEvent(QDBusMessage)));
        }
    }
    QString summary() const
    {
        QStringList parts;
        for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
            parts << u"%1 %2"_s.arg(it.value()).arg(it.key());
        parts.sort();
        return parts.join(u", "_s);
    }

public slots:
    void onEvent(const QDBusMessage &message)
    {
        QString kind = message.member();
        if (!message.arguments().isEmpty() && !message.arguments().constFirst().toString().isEmpty())
            kind += u':' + message.arguments().constFirst().toString();
        ++m_counts[kind];
        const AtspiRef source {message.service(), QDBusObjectPath(message.path())};
        for (const char *method : {"GetRoleName", "GetChildCount"}) {
            m_bus.asyncCall(QDBusMessage::createMethodCall(
                source.service, source.path.path(), QLatin1String(kAccessible), QLatin1String(method)));
        }
        QDBusMessage get = QDBusMessage::createMethodCall(
            source.service, source.path.path(), u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
        get << QLatin1String(kAccessible) << u"Name"_s;
        m_bus.asyncCall(get);
    }

private:
    QDBusConnection m_bus;
    QHash<QString, int> m_counts;
};

} // namespace

int AtspiSession::runOnDesktop(const QString &program, const QStringList &arguments, bool withScreenReader)
{
    if (const QString absent = missing(); !absent.isEmpty()) {
        std::fprintf(stderr, "not installed: %s\n", qPrintable(absent));
        return 2;
    }
    AtspiSession session;
    QString error;
    if (!session.start(&error, withScreenReader)) {
        std::fprintf(stderr, "no session: %s\n", qPrintable(error));
        return 2;
    }
    std::unique_ptr<ScreenReaderStandIn> reader;
    if (withScreenReader) {
        reader = std::make_unique<ScreenReaderStandIn>(session.bus());
        if (!session.listenTo({u"object:"_s, u"window:"_s, u"focus:"_s})) {
            std::fprintf(stderr, "the registry does not take listeners\n");
            return 2;
        }
    }
    QProcess child;
    child.setProcessEnvironment(session.environment());
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    child.start(program, arguments);
    if (!child.waitForStarted(10000))
        return 2;
    loop.exec();
    if (reader) {
        std::fprintf(
            stdout, "events the screen reader's stand-in received and read: %s\n", qPrintable(reader->summary()));
    }
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

#include "atspisession.moc"
