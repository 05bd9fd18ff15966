#pragma once

// A private desktop on which a program is read the way a screen reader reads it: a virtual X display (Xvfb), a
// D-Bus session bus of its own, the accessibility bus that bus starts on demand (at-spi-bus-launcher, with
// at-spi2-registryd), and a connection to that bus. The buses' sockets and the launcher's files live in a
// temporary directory: nothing of the user's own desktop is seen or touched.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// One accessible object: the bus name of its application and its path there.
struct AtspiRef
{
    QString service;
    QDBusObjectPath path;
    bool operator==(const AtspiRef &o) const { return service == o.service && path == o.path; }
};
Q_DECLARE_METATYPE(AtspiRef)

// An object as a screen reader first meets it in the tree.
struct AtspiNode
{
    AtspiRef ref;
    QString name;
    QString role; // the role's name: "push button", "label", "combo box"...
};

class AtspiSession
{
public:
    AtspiSession();
    ~AtspiSession(); // stops the display and the buses
    AtspiSession(const AtspiSession &) = delete;
    AtspiSession &operator=(const AtspiSession &) = delete;

    // The first thing the session needs that is not installed (a program, or Qt's xcb platform plugin, which
    // hosts the accessibility bridge); empty when all are there.
    static QString missing();
    // Without accessibility, only the display and the session bus: no accessibility bus is started, so a
    // program's bridge stays off.
    bool start(QString *error, bool accessibility = true);

    // What a program needs to run on this desktop with its accessibility bridge on.
    QProcessEnvironment environment() const;
    QDBusConnection bus() const;
    QString home() const; // a home directory of the session's own

    // Applications send only the events someone listens to: asks for them as a screen reader does at its start.
    bool listenTo(const QStringList &events);

    // The desktop's root, whose children are the applications.
    static AtspiRef desktop();
    QList<AtspiRef> children(const AtspiRef &ref) const;
    QString name(const AtspiRef &ref) const;
    QString role(const AtspiRef &ref) const;
    QStringList interfaces(const AtspiRef &ref) const; // "Text", "Action", "Value"...
    // What is read as the object's value: its text, the text of an editable box's line, or its numeric value.
    QString value(const AtspiRef &ref) const;
    QStringList actions(const AtspiRef &ref) const;
    // Runs the named action. A click that opens a modal dialog returns only when it closes: then do not wait.
    bool act(const AtspiRef &ref, const QString &action, bool waitForIt = true) const;
    // The whole tree below ref, depth first; the children of tables and of lists are left out (their cells).
    QList<AtspiNode> tree(const AtspiRef &ref) const;

    // Runs a program (a benchmark runs itself again) on a fresh session, with the arguments given. With a screen
    // reader, the accessibility bus is on and a listener stands in for the reader: it asks for every event and
    // reads the name and role of each event's source. Returns the program's exit status; what it prints goes to
    // this program's output.
    static int runOnDesktop(const QString &program, const QStringList &arguments, bool withScreenReader);

private:
    bool waitForLine(QProcess &process, QString *line, int timeoutMs);

    QTemporaryDir m_dir;
    QProcess m_xvfb;
    QProcess m_dbus;
    QString m_display;
    QString m_sessionAddress;
    QString m_connectionName;
    bool m_accessibility = true;
};
