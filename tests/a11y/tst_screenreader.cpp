// What a screen reader reads of the running program. The real orvane runs on a virtual display with its
// accessibility bridge on a private accessibility bus, beside the FT-847 emulator program on its com1 link; the tree
// is read over D-Bus the way a screen reader reads it (names, roles, values, actions), and so are the events a dial
// turned on the radio sends. Checks made inside the process cannot show this: a label with an accessible name loses
// its text only on the bus.

#include "../support/testfiles.h"
#include "atspisession.h"

#include <QDBusMessage>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a screen reader finds: a pattern for the whole name, the role, the text read as the value of a field or of a
// combo box's line, and for a label that shows the radio the name it says once the dial turns.
struct Row
{
    QString name, role, value, turned;
};
const Row kRows[] = {
    {u"Orvane FT847 V2.5"_s, u"frame"_s, {}, {}},
    {u"Arret"_s, u"push button"_s, {}, {}},
    {u"Fréquence 145\\.500\\.00"_s, u"label"_s, {}, u"Fréquence 144.200.00"_s},
    {u"Mode FM"_s, u"label"_s, {}, u"Mode USB"_s},
    {u"VFO B 145\\.500\\.00"_s, u"label"_s, {}, {}},
    {u"Fréquence envoyée 14550000"_s, u"label"_s, {}, u"Fréquence envoyée 14420000"_s},
    {u"S-mètre 0"_s, u"label"_s, {}, u"S-mètre 18"_s},
    {u"Largeur du S-mètre 0"_s, u"label"_s, {}, u"Largeur du S-mètre 2340"_s},
    {u"Heure \\d\\d:\\d\\d"_s, u"label"_s, {}, {}},
    {u"Mode du balayage FM"_s, u"label"_s, {}, u"Mode du balayage USB"_s},
    {u"Pas/Khz"_s, u"combo box"_s, u"25"_s, {}},
    {u"Vitesse/s"_s, u"combo box"_s, u"1"_s, {}},
    {u"Seuil/s-m"_s, u"combo box"_s, u"Buzy"_s, {}},
    {u"Mode"_s, u"combo box"_s, u"FM"_s, {}},
    {u"Groupe"_s, u"combo box"_s, u"VHF"_s, {}},
    {u"Locavia-V1.1"_s, u"frame"_s, {}, {}},
    {u"Mon Locator"_s, u"text"_s, u"JN18EU"_s, {}},
    {u"Latitude Direction (Nord|Sud)"_s, u"combo box"_s, {}, {}},
    {u"Date \\d\\d-\\d\\d-\\d{4}"_s, u"label"_s, {}, {}},
    {u"Boussole"_s, u"graphic"_s, {}, {}},
    {u"Activité de la bande"_s, u"frame"_s, {}, {}},
    {u"Spectre"_s, u"chart"_s, {}, {}},
    {u"Configuration du CAT"_s, u"dialog"_s, {}, {}},
    {u"Votre Indicatif:"_s, u"text"_s, u"F6ABC"_s, {}},
};

} // namespace

class TestScreenReader : public QObject
{
    Q_OBJECT

public slots:
    void onPropertyChange(const QDBusMessage &message)
    {
        m_changes.insert(message.path() + u' ' + message.arguments().value(0).toString());
    }

private:
    struct Node
    {
        AtspiRef ref;
        QString name, role;
    };
    AtspiSession m_session;
    QTemporaryDir m_dir;
    QProcess m_sim, m_program;
    QList<Node> m_nodes; // the tree with the locator window and the configuration dialog open
    QSet<QString> m_changes; // path and property of each change announced
    QByteArray m_status; // the emulator's answers in this test function

    // The whole tree below ref, depth first, but for the cells of tables and lists.
    QList<Node> tree(const AtspiRef &ref = AtspiSession::desktop()) const
    {
        QList<Node> nodes;
        for (const AtspiRef &child : m_session.children(ref)) {
            nodes.append({child, m_session.name(child), m_session.role(child)});
            if (nodes.constLast().role != u"table" && nodes.constLast().role != u"list")
                nodes.append(tree(child));
        }
        return nodes;
    }
    std::optional<Node> find(const QString &pattern, const QString &role, const QList<Node> &nodes) const
    {
        const QRegularExpression name(QRegularExpression::anchoredPattern(pattern));
        for (const Node &n : nodes) {
            if (n.role == role && name.match(n.name).hasMatch())
                return n;
        }
        return std::nullopt;
    }
    // A click as a screen reader makes it, through the first action ("Press"), not waited for: one that opens a
    // modal dialog is answered only when the dialog closes.
    bool press(const QString &name)
    {
        const std::optional<Node> b = find(name, u"push button"_s, tree());
        const QString action = u"org.a11y.atspi.Action"_s;
        return b
            && m_session.bus().send(
                QDBusMessage::createMethodCall(b->ref.service, b->ref.path.path(), action, u"DoAction"_s) << 0);
    }

    // Asks the emulator for its state: whether what it has answered so far holds the words.
    bool radioSays(const QByteArray &words)
    {
        m_sim.write("status\n");
        m_status += m_sim.readAllStandardOutput();
        return m_status.contains(words);
    }

private slots:
    void initTestCase()
    {
        if (const QString absent = AtspiSession::missing(); !absent.isEmpty())
            QSKIP(qPrintable(u"not installed: "_s + absent));
        // A copy of the program in a directory of its own keeps its files there.
        const QString program = m_dir.filePath(u"orvane"_s);
        QVERIFY(QFile::copy(QStringLiteral(ORVANE_PROGRAM), program));
        QVERIFY(testfiles::write(
            m_dir.filePath(u"setting.ini"_s), "\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"JN18EU\"\r\n"));
        QVERIFY(m_session.start());
        QVERIFY(m_session.listenTo({u"object:property-change:accessible-name"_s}));
        QVERIFY(m_session.bus().connect(QString(), QString(), u"org.a11y.atspi.Event.Object"_s, u"PropertyChange"_s,
            this, SLOT(onPropertyChange(QDBusMessage))));

        // The emulator takes its commands (the dial) on its standard input, and answers on its standard output.
        m_sim.start(QStringLiteral(ORVANE_SIM), {u"--link"_s, m_dir.filePath(u"com1"_s), u"--quiet"_s});
        QTRY_VERIFY(QFile::exists(m_dir.filePath(u"com1"_s)));
        m_program.setProcessEnvironment(m_session.environment());
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(program, {});

        // "Marche" is a label used as a button: a screen reader presses it, and the lights then say their state.
        QTRY_VERIFY_WITH_TIMEOUT(press(u"Marche"_s), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(
            find(u"Réception"_s, u"graphic"_s, tree()) && find(u"Libre"_s, u"graphic"_s, tree()), 10000);
        QVERIFY(press(u"Locator"_s) && press(u"Activité"_s) && press(u"Configuration"_s));
        QTRY_VERIFY_WITH_TIMEOUT(
            (m_nodes = tree(),
                find(u"Votre Indicatif:"_s, u"text"_s, m_nodes) && find(u"Locavia-V1.1"_s, u"frame"_s, m_nodes)
                    && find(u"Activité de la bande"_s, u"frame"_s, m_nodes)),
            10000);
        // The pieces of a display that speaks as a whole stay out of the tree.
        QVERIFY(!find(u"[0-9.]"_s, u"label"_s, m_nodes));
    }

    void init() { m_status.clear(); }
    void cleanupTestCase()
    {
        m_program.kill();
        m_sim.terminate();
        m_program.waitForFinished(5000);
        m_sim.waitForFinished(3000);
    }

    // The names, roles and values of the main window, the locator window and the configuration dialog.
    void namesRolesAndValues_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRows)); ++i)
            QTest::newRow(qPrintable(kRows[i].name)) << i;
    }
    void namesRolesAndValues()
    {
        QFETCH(int, row);
        const auto &[name, role, value, turned] = kRows[row];
        const std::optional<Node> node = find(name, role, m_nodes);
        QVERIFY2(node, qPrintable(u"no %1 named %2"_s.arg(role, name)));
        AtspiRef line = node->ref; // a field, or the line of a combo box
        for (const AtspiRef &child : m_session.children(node->ref))
            line = role == u"combo box" && m_session.role(child) == u"text" ? child : line;
        if (!value.isEmpty())
            QCOMPARE(m_session.call(line, u"Text"_s, u"GetText"_s, {0, -1}).toString(), value);
    }

    // A dial turned on the radio is announced: each label that shows the radio says its new name.
    void dialTurnIsAnnounced()
    {
        m_sim.write("mode USB\nfreq 14420000\nsmeter 18\n");
        for (const auto &[name, role, value, turned] : kRows) {
            if (turned.isEmpty())
                continue;
            const std::optional<Node> node = find(name, role, m_nodes);
            QVERIFY2(node, qPrintable(name));
            QTRY_VERIFY_WITH_TIMEOUT(m_changes.contains(node->ref.path.path() + u" accessible-name"_s), 10000);
            QCOMPARE(m_session.name(node->ref), turned);
        }
    }

    // A band then a mode pressed through the bus right one after the other, as a switch-access tool presses them:
    // the radio ends on the band in the mode pressed last, and the panel says so.
    void pressesThroughTheBusKeepTheirOrder()
    {
        QVERIFY(press(u"14"_s) && press(u"CW"_s));
        QTRY_VERIFY_WITH_TIMEOUT(find(u"Mode CW"_s, u"label"_s, tree()), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(radioSays("freq 01420000 mode CW "), 5000);
    }

    // Left as a screen reader's user leaves it: the dialog's "X", "Arret", "Quitter". The radio hears CAT off and
    // the program ends of itself, with success.
    void quitThroughTheBus()
    {
        QVERIFY(press(u"X"_s));
        QTRY_VERIFY_WITH_TIMEOUT(!find(u"Configuration du CAT"_s, u"dialog"_s, tree()), 10000);
        QVERIFY(press(u"Arret"_s));
        QTRY_VERIFY_WITH_TIMEOUT(find(u"Marche"_s, u"push button"_s, tree()), 10000);
        QVERIFY(press(u"Quitter"_s));
        QVERIFY(m_program.waitForFinished(10000));
        QVERIFY(m_program.exitStatus() == QProcess::NormalExit && m_program.exitCode() == 0);
        QTRY_VERIFY_WITH_TIMEOUT(radioSays(" cat off "), 5000);
    }
};

QTEST_GUILESS_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
