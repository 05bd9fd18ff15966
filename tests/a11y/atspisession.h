#pragma once

// A private desktop on which a program is read the way a screen reader reads it: a virtual X display (Xvfb), a D-Bus
// session bus of its own, the accessibility bus that bus starts on demand (at-spi-bus-launcher, with
// at-spi2-registryd), and a connection to it. Sockets and files live in a temporary directory: nothing of the user's
// own desktop is seen or touched.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace atspi {

using namespace Qt::StringLiterals;

// One accessible object: the bus name of its application and its path there.
struct AtspiRef
{
    QString service;
    QDBusObjectPath path;
};

class AtspiSession
{
public:
    ~AtspiSession()
    {
        QDBusConnection::disconnectFromBus(m_name);
        // The launcher leaves with the session bus, and takes the accessibility bus and the registry with it.
        for (QProcess *p : {&m_dbus, &m_xvfb}) {
            p->terminate();
            p->waitForFinished(3000);
        }
    }

    // The first thing the session needs that is not installed (a program, or Qt's xcb platform plugin, which hosts
    // the accessibility bridge); empty when all are there.
    static QString missing()
    {
        for (const QString &needed :
            {u"Xvfb"_s, u"dbus-daemon"_s, u"/usr/libexec/at-spi-bus-launcher"_s, u"/usr/libexec/at-spi2-registryd"_s,
                QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/platforms/libqxcb.so"_s}) {
            if (QStandardPaths::findExecutable(needed).isEmpty() && !QFileInfo::exists(needed))
                return needed;
        }
        return {};
    }

    // Without accessibility, only the display and the session bus: a program's bridge then stays off.
    bool start(bool accessibility = true)
    {
        m_accessibility = accessibility;
        QDir(m_dir.path()).mkpath(u"home"_s);
        // A display of its own: Xvfb picks a free number and prints it once it takes clients.
        m_xvfb.setStandardErrorFile(QProcess::nullDevice());
        m_xvfb.start(
            u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s, u"-nolisten"_s, u"tcp"_s});
        m_display = u":"_s + firstLine(m_xvfb);
        // The session bus, with the environment the accessibility bus launcher inherits from it.
        m_dbus.setProcessEnvironment(environment());
        m_dbus.setStandardErrorFile(QProcess::nullDevice());
        m_dbus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        m_sessionAddress = firstLine(m_dbus);
        if (m_display == u":" || m_sessionAddress.isEmpty() || !accessibility)
            return m_display != u":" && !m_sessionAddress.isEmpty();
        // Asking the session bus for the accessibility bus starts it.
        static int sessions = 0;
        m_name = u"atspi-session-%1"_s.arg(++sessions);
        const QDBusMessage reply = QDBusConnection::connectToBus(m_sessionAddress, m_name + u"-launcher"_s)
                                       .call(QDBusMessage::createMethodCall(u"org.a11y.Bus"_s, u"/org/a11y/bus"_s,
                                                 u"org.a11y.Bus"_s, u"GetAddress"_s),
                                           QDBus::Block, 10000);
        QDBusConnection::disconnectFromBus(m_name + u"-launcher"_s);
        return QDBusConnection::connectToBus(reply.arguments().value(0).toString(), m_name).isConnected();
    }

    // What a program needs to run on this desktop, its accessibility bridge on when the bus is.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString home = m_dir.filePath(u"home"_s);
        for (const QString &name : {u"WAYLAND_DISPLAY"_s, u"AT_SPI_BUS_ADDRESS"_s, u"QT_ACCESSIBILITY"_s,
                 u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"DBUS_SESSION_BUS_ADDRESS"_s})
            env.remove(name);
        for (const auto &[name, value] : {std::pair {u"DISPLAY"_s, m_display}, {u"XDG_RUNTIME_DIR"_s, m_dir.path()},
                 {u"HOME"_s, home}, {u"XDG_DATA_HOME"_s, home + u"/.local/share"_s},
                 {u"XDG_CONFIG_HOME"_s, home + u"/.config"_s}, {u"QT_QPA_PLATFORM"_s, u"xcb"_s},
                 {u"LANG"_s, u"C.UTF-8"_s}, {u"DBUS_SESSION_BUS_ADDRESS"_s, m_sessionAddress},
                 {u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, m_accessibility ? u"1"_s : QString()}}) {
            if (!value.isEmpty())
                env.insert(name, value);
        }
        return env;
    }

    QDBusConnection bus() const { return QDBusConnection(m_name); }

    // Applications send only the events someone listens to: asks for them as a screen reader does at its start.
    bool listenTo(const QStringList &events) const
    {
        for (const QString &event : events) {
            QDBusMessage m = QDBusMessage::createMethodCall(u"org.a11y.atspi.Registry"_s, u"/org/a11y/atspi/registry"_s,
                u"org.a11y.atspi.Registry"_s, u"RegisterEvent"_s);
            m << event << QStringList() << QString();
            // The registry is started by the first call and may not answer that one.
            for (int attempt = 0; bus().call(m, QDBus::Block, 10000).type() != QDBusMessage::ReplyMessage; ++attempt) {
                if (attempt == 20)
                    return false;
                QThread::msleep(100);
            }
        }
        return true;
    }

    // A method of one of the object's AT-SPI interfaces ("Accessible", "Action", "Text"), its first result.
    QVariant call(
        const AtspiRef &ref, const QString &interface, const QString &method, const QVariantList &args = {}) const
    {
        QDBusMessage m = QDBusMessage::createMethodCall(ref.service, ref.path.path(),
            interface.contains(u'.') ? interface : u"org.a11y.atspi."_s + interface, method);
        m.setArguments(args);
        const QVariant result = bus().call(m, QDBus::Block, 10000).arguments().value(0);
        return result.canConvert<QDBusVariant>() ? result.value<QDBusVariant>().variant() : result;
    }
    QString name(const AtspiRef &ref) const
    {
        return call(ref, u"org.freedesktop.DBus.Properties"_s, u"Get"_s, {u"org.a11y.atspi.Accessible"_s, u"Name"_s})
            .toString();
    }
    QString role(const AtspiRef &ref) const { return call(ref, u"Accessible"_s, u"GetRoleName"_s).toString(); }
    QList<AtspiRef> children(const AtspiRef &ref) const
    {
        QList<AtspiRef> refs;
        const QDBusArgument list = call(ref, u"Accessible"_s, u"GetChildren"_s).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            list.beginStructure();
            list >> refs.emplace_back().service >> refs.last().path;
            list.endStructure();
        }
        list.endArray();
        return refs;
    }
    // The desktop's root, whose children are the applications.
    static AtspiRef desktop()
    {
        return {u"org.a11y.atspi.Registry"_s, QDBusObjectPath(u"/org/a11y/atspi/accessible/root"_s)};
    }

private:
    // The first line a process prints, once it prints it; empty when it does not within ten seconds.
    static QString firstLine(QProcess &process)
    {
        for (QDeadlineTimer deadline(10000); !process.canReadLine() && !deadline.hasExpired();)
            process.waitForReadyRead(100);
        return QString::fromLocal8Bit(process.readLine()).trimmed();
    }

    QTemporaryDir m_dir;
    QProcess m_xvfb, m_dbus;
    QString m_display, m_sessionAddress, m_name;
    bool m_accessibility = true;
};

} // namespace atspi

using atspi::AtspiRef;
using atspi::AtspiSession;
