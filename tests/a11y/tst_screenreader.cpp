// What a screen reader reads of the running program. The real orvane runs on a virtual display with its
// accessibility bridge on a private accessibility bus, beside the FT-847 emulator program on its com1 link; the
// tree is read over D-Bus the way a screen reader reads it (names, roles, values, actions), and so are the
// events a dial turned on the radio sends. Checks made inside the process cannot show this: a label with an
// accessible name loses its text only on the bus.

#include "atspisession.h"

#include <QDBusMessage>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

class TestScreenReader : public QObject
{
    Q_OBJECT

public slots:
    void onPropertyChange(const QDBusMessage &message)
    {
        if (!message.arguments().isEmpty())
            m_changes.append({message.path(), message.arguments().constFirst().toString()});
    }

private:
    AtspiSession m_session;
    QTemporaryDir m_dir;
    QProcess m_sim;
    QProcess m_program;
    AtspiRef m_app;
    QList<AtspiNode> m_nodes; // the tree with the locator window and the configuration dialog open
    QList<std::pair<QString, QString>> m_changes; // path, property

    QList<AtspiNode> matching(const QString &name, const QString &role) const
    {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(name));
        QList<AtspiNode> found;
        for (const AtspiNode &n : m_nodes) {
            if (n.role == role && pattern.match(n.name).hasMatch())
                found.append(n);
        }
        return found;
    }
    std::optional<AtspiNode> findIn(const QList<AtspiNode> &nodes, const QString &name, const QString &role) const
    {
        for (const AtspiNode &n : nodes) {
            if (n.name == name && n.role == role)
                return n;
        }
        return std::nullopt;
    }
    bool press(const QString &name, bool waitForIt = true)
    {
        const auto button = findIn(m_session.tree(m_app), name, u"push button"_s);
        return button && m_session.act(button->ref, u"Press"_s, waitForIt);
    }

private slots:
    void initTestCase()
    {
        if (const QString absent = AtspiSession::missing(); !absent.isEmpty())
            QSKIP(qPrintable(u"not installed: "_s + absent));
        QVERIFY(m_dir.isValid());
        // A copy of the program in a directory of its own keeps its files there.
        const QString program = m_dir.filePath(u"orvane"_s);
        QVERIFY(QFile::copy(QStringLiteral(ORVANE_PROGRAM), program));
        QFile settings(m_dir.filePath(u"setting.ini"_s));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"JN18EU\"\r\n");
        settings.close();

        QString error;
        QVERIFY2(m_session.start(&error), qPrintable(error));
        QVERIFY(m_session.listenTo({u"object:property-change:accessible-name"_s}));
        QVERIFY(m_session.bus().connect(QString(), QString(), u"org.a11y.atspi.Event.Object"_s, u"PropertyChange"_s,
            this, SLOT(onPropertyChange(QDBusMessage))));

        // The emulator takes its commands (the dial) on its standard input.
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.setStandardOutputFile(QProcess::nullDevice());
        m_sim.start(QStringLiteral(ORVANE_SIM), {u"--link"_s, m_dir.filePath(u"com1"_s), u"--baud"_s, u"4800"_s});
        QVERIFY(m_sim.waitForStarted());
        QTRY_VERIFY(QFile::exists(m_dir.filePath(u"com1"_s)));

        QProcessEnvironment env = m_session.environment();
        env.insert(u"LANG"_s, u"C.UTF-8"_s);
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.setStandardOutputFile(QProcess::nullDevice());
        m_program.start(program, {});
        QVERIFY(m_program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const AtspiRef &a : m_session.children(AtspiSession::desktop())) {
                    if (m_session.name(a) == u"Orvane"_s) {
                        m_app = a;
                        return true;
                    }
                }
                return false;
            }(),
            20000);

        // "Marche" is a label used as a button: a screen reader presses it.
        QTRY_VERIFY_WITH_TIMEOUT(press(u"Marche"_s), 10000);
        QList<AtspiRef> lights;
        for (const AtspiNode &n : m_session.tree(m_app)) {
            if (n.role == u"graphic") // Qt's name for the image role
                lights.append(n.ref);
        }
        QCOMPARE(lights.size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!m_session.name(lights[0]).isEmpty() && !m_session.name(lights[1]).isEmpty(), 10000);

        QVERIFY(press(u"Locator"_s));
        // A modal dialog: the press returns only when it closes.
        QVERIFY(press(u"Configuration"_s, false));
        QTRY_VERIFY_WITH_TIMEOUT(findIn(m_session.tree(m_app), u"Votre Indicatif:"_s, u"text"_s), 10000);
        m_nodes = m_session.tree(m_app);
    }

    void cleanupTestCase()
    {
        if (m_program.state() != QProcess::NotRunning) {
            press(u"X"_s, false);
            m_program.terminate();
            if (!m_program.waitForFinished(5000))
                m_program.kill();
        }
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            m_sim.waitForFinished(3000);
        }
    }

    void namesRolesAndValues_data()
    {
        QTest::addColumn<QString>("name"); // a pattern for the whole name
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("value"); // what is read as its value, "*" for none
        const std::initializer_list<std::array<QString, 3>> rows = {
            {u"Orvane FT847 V2.5"_s, u"frame"_s, u"*"_s},
            {u"Arret"_s, u"push button"_s, u"*"_s},
            {u"Fréquence 145\\.500\\.00"_s, u"label"_s, u"*"_s},
            {u"Mode FM"_s, u"label"_s, u"*"_s},
            {u"VFO B 145\\.500\\.00"_s, u"label"_s, u"*"_s},
            {u"Fréquence envoyée 14550000"_s, u"label"_s, u"*"_s},
            {u"Largeur du S-mètre \\d+"_s, u"label"_s, u"*"_s},
            {u"Heure \\d\\d:\\d\\d"_s, u"label"_s, u"*"_s},
            {u"Mode du balayage FM"_s, u"label"_s, u"*"_s},
            {u"Réception"_s, u"graphic"_s, u"*"_s},
            {u"Libre"_s, u"graphic"_s, u"*"_s},
            {u"Pas/Khz"_s, u"combo box"_s, u"25"_s},
            {u"Vitesse/s"_s, u"combo box"_s, u"1"_s},
            {u"Seuil/s-m"_s, u"combo box"_s, u"Buzy"_s},
            {u"Mode"_s, u"combo box"_s, u"FM"_s},
            {u"Groupe"_s, u"combo box"_s, u"VHF"_s},
            {u"Locavia-V1.1"_s, u"frame"_s, u"*"_s},
            {u"Mon Locator"_s, u"text"_s, u"JN18EU"_s},
            {u"Latitude Direction (Nord|Sud)"_s, u"combo box"_s, u"*"_s},
            {u"Date \\d\\d-\\d\\d-\\d{4}"_s, u"label"_s, u"*"_s},
            {u"Boussole"_s, u"graphic"_s, u"*"_s},
            {u"Configuration du CAT"_s, u"dialog"_s, u"*"_s},
            {u"Votre Indicatif:"_s, u"text"_s, u"F6ABC"_s},
        };
        for (const auto &[name, role, value] : rows)
            QTest::newRow(qPrintable(name)) << name << role << value;
    }
    void namesRolesAndValues()
    {
        QFETCH(QString, name);
        QFETCH(QString, role);
        QFETCH(QString, value);
        const QList<AtspiNode> found = matching(name, role);
        QVERIFY2(!found.isEmpty(), qPrintable(u"no %1 named %2"_s.arg(role, name)));
        if (value != u"*")
            QCOMPARE(m_session.value(found.constFirst().ref), value);
    }

    void digitsAndPointsStayOutOfTheTree()
    {
        const QRegularExpression piece(u"^[0-9.]$"_s);
        for (const AtspiNode &n : std::as_const(m_nodes))
            QVERIFY2(n.role != u"label" || !piece.match(n.name).hasMatch(), qPrintable(u"a lone \"%1\""_s.arg(n.name)));
    }

    void dialTurnIsAnnounced_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("display") << u"Fréquence 145.500.00"_s << u"Fréquence 144.200.00"_s;
        QTest::newRow("mode") << u"Mode FM"_s << u"Mode USB"_s;
        QTest::newRow("sent") << u"Fréquence envoyée 14550000"_s << u"Fréquence envoyée 14420000"_s;
        QTest::newRow("scanner's mode") << u"Mode du balayage FM"_s << u"Mode du balayage USB"_s;
        QTest::newRow("S-meter") << u"S-mètre 0"_s << u"S-mètre 18"_s;
        QTest::newRow("S-meter width") << u"Largeur du S-mètre 0"_s << u"Largeur du S-mètre 2340"_s;
    }
    void dialTurnIsAnnounced()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const auto node = findIn(m_nodes, before, u"label"_s);
        QVERIFY(node);
        if (m_sim.property("turned").isNull()) {
            m_sim.write("mode USB\nfreq 14420000\nsmeter 18\n");
            m_sim.setProperty("turned", true);
        }
        const std::pair<QString, QString> change {node->ref.path.path(), u"accessible-name"_s};
        QTRY_VERIFY_WITH_TIMEOUT(m_changes.contains(change), 10000);
        QCOMPARE(m_session.name(node->ref), after);
    }
};

QTEST_GUILESS_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
