#include "benchdesktop.h"

#include "atspisession.h"

#include <QDBusPendingCall>
#include <QEventLoop>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Stands in for a screen reader: each event that arrives has its source's name and role read, as a reader reads
// what it may announce. The reads go out without waiting, so a slow program shows as a backlog.
class ScreenReaderStandIn : public QObject
{
    Q_OBJECT

public:
    explicit ScreenReaderStandIn(const AtspiSession &session)
        : m_bus(session.bus())
    {
        // QtDBus connects signals by slot signature only.
        for (const QString &kind : {u"Object"_s, u"Window"_s, u"Focus"_s})
            m_bus.connect({}, {}, u"org.a11y.atspi.Event."_s + kind, {}, this, SLOT(onEvent(QDBusMessage)));
    }
    QMap<QString, int> counts;

public slots:
    void onEvent(const QDBusMessage &message)
    {
        ++counts[message.member() + u':' + message.arguments().value(0).toString()];
        m_bus.asyncCall(QDBusMessage::createMethodCall(
            message.service(), message.path(), u"org.a11y.atspi.Accessible"_s, u"GetRoleName"_s));
        m_bus.asyncCall(QDBusMessage::createMethodCall(
                            message.service(), message.path(), u"org.freedesktop.DBus.Properties"_s, u"Get"_s)
            << u"org.a11y.atspi.Accessible"_s << u"Name"_s);
    }

private:
    QDBusConnection m_bus;
};

} // namespace

int runOnDesktop(const QString &program, const QStringList &arguments, bool withScreenReader)
{
    AtspiSession session;
    if (!AtspiSession::missing().isEmpty() || !session.start(withScreenReader)) {
        std::fprintf(stderr, "no private desktop here (missing: %s)\n", qPrintable(AtspiSession::missing()));
        return 2;
    }
    ScreenReaderStandIn reader(session);
    if (withScreenReader && !session.listenTo({u"object:"_s, u"window:"_s, u"focus:"_s})) {
        std::fprintf(stderr, "the registry does not take listeners\n");
        return 2;
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
    QStringList events;
    for (auto it = reader.counts.cbegin(); it != reader.counts.cend(); ++it)
        events << u"%1 %2"_s.arg(it.value()).arg(it.key());
    if (withScreenReader)
        std::printf("events the screen reader's stand-in received and read: %s\n", qPrintable(events.join(u", "_s)));
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

#include "benchdesktop.moc"
