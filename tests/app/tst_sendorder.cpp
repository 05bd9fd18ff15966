// Every sending action of the panel, from each source it comes from, fired in the middle of what is already on the
// road, on a line that drains at its speed: at a turn of the event loop a status tick makes, as one of the tick's
// requests starts to cross, and while a band button's two commands cross. The sources: a mouse click that reaches
// the control there and then, a press through the control's accessibility interface (a tool button clicks at once,
// a push button animates and clicks from Qt's timer a tenth of a second later), the click such a timer makes, and a
// network client's set. However and whenever it comes, the radio receives the action's frames whole, after what was
// on the road and never inside an exchange, the tick's reads land on the radio's state, and the panel ends where the
// radio is. Then what the road owes its users: quick clicks in order, the operator ahead of streaming clients, and
// the poll going on while a box is up.

#include "catframe.h"
#include "clicklabel.h"
#include "memorygrid.h"
#include "panelfixture.h"
#include "testmain.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTcpSocket>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestSendOrder : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelFixture> f;
    std::unique_ptr<QTcpSocket> m_client;
    QByteArray m_answers;
    qsizetype m_framesAtAnswer = 0; // frames the radio had received when the client's last answer arrived

    MainAssembly &p() { return f->program(); }
    QWidget *control(const QString &name) { return p().window.findChild<QWidget *>(name); }
    static bool isNetwork(const QString &action) { return action.contains(u' '); }
    // A push button pressed through the bus clicks from Qt's timer, whenever the press was made.
    bool animated(const QString &action, const QString &source)
    {
        return source == u"bus" && qobject_cast<QPushButton *>(control(action));
    }

    void fire(const QString &action, const QString &source)
    {
        auto *list = qobject_cast<QListWidget *>(control(action));
        if (isNetwork(action))
            m_client->write(action.toLatin1() + '\n');
        else if (action == u"Scan_Timer")
            f->c().Scan_Timer->start(0); // the scanner's timer comes due at the next turn
        else if (list)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        else if (source == u"mouse")
            QTest::mouseClick(control(action), Qt::LeftButton);
        else if (source == u"bus")
            QAccessible::queryAccessibleInterface(control(action))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        else
            qobject_cast<QAbstractButton *>(control(action))->click();
    }

    // Waits until the radio has received `count` commands since the mark (and a client its answer), making ticks
    // one after the other meanwhile, so that a click from Qt's timer lands in one.
    bool served(qsizetype mark, qsizetype count, const QString &action)
    {
        return PanelFixture::waitFor(
            [&] {
                if (f->commandsSince(mark).size() < count)
                    p().poll.requestTick();
                return f->commandsSince(mark).size() >= count && (!isNetwork(action) || m_answers.endsWith('\n'));
            },
            3s);
    }

    // The same starting point for every firing: the radio and the panel on 145.500.00 FM, the lists and the
    // scanner ready, the shift counter at its start, nothing waiting on the road.
    void reset()
    {
        drain();
        FrequencyControl &frequency = p().frequency;
        frequency.setAmateurOnly(true);
        frequency.tuneTo(14550000);
        frequency.setMode(u"FM"_s, cat::ModeFM);
        p().vfoShift.shiftClicks = 1;
        p().vfoShift.setVfoB(43342500);
        f->c().TextVfo1->setText(u"7050"_s);
        p().scanner.ScanPos = scanner::FixedDecimal::fromInteger(14000);
        p().memory.Grid_Click(1);
        m_answers.clear();
        QVERIFY(f->sim().frequency() == 14550000 && f->sim().mode() == cat::ModeFM);
    }

    // Waits for the line to drain and the road to empty; stops the timers the actions start again.
    void drain()
    {
        QVERIFY(PanelFixture::waitFor([&] { return f->uart().outBufferCount() == 0 && p().road.isFree(); }, 2s));
        f->c().Timer1->stop();
        f->c().Scan_Timer->stop();
    }

    // What holds once a firing has settled: nothing broke into an exchange, every tick read whole and in order, and
    // the panel shows the radio.
    void verifySettled(qsizetype mark, const QByteArray &where)
    {
        QVERIFY2(f->messages.isEmpty() && f->programEnds.isEmpty(), where);
        QVERIFY2(f->uart().interruptedReplies() == 0, where);
        QList<QByteArray> requests = f->frames().mid(mark);
        requests.removeIf([](const QByteArray &frame) { return !PanelFixture::isPollRequest(frame); });
        const QByteArray status = PanelFixture::frame({0, 0, 0, 0, cat::OpReadReceiverStatus});
        const QByteArray frequency = PanelFixture::frame({0, 0, 0, 0, cat::OpReadFrequencyMode});
        for (qsizetype i = 0; i < requests.size(); ++i)
            QVERIFY2(requests[i] == (i % 4 == 1 ? frequency : status), where);
        QVERIFY2(requests.size() % 4 == 0, where);
        QCOMPARE(f->shownDigits(), f->radioDigits());
        QCOMPARE(p().frequency.CurrentFreq(), f->shownDigits());
        QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
        QVERIFY2(p().poll.SignalLevel == 4.5 && p().poll.SquelchOpen && !p().poll.TxActive, where);
    }

    // The commands the action sends from the starting point, made at rest (after a band button when `band`).
    QList<QByteArray> alone(const QString &action, const QString &source, bool band)
    {
        reset();
        const qsizetype mark = f->frames().size();
        if (band)
            qobject_cast<QAbstractButton *>(control(u"Com_14"_s))->click();
        const qsizetype before = f->commandsSince(mark).size();
        fire(action, source);
        served(mark, before + 1, action);
        drain();
        return f->commandsSince(mark);
    }

private slots:
    void initTestCase_data() { PanelFixture::baudRows(); }
    void init()
    {
        QFETCH_GLOBAL(int, baud);
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(baud) && f->switchOn());
        f->c().Timer1->stop();
        f->sim().setSMeter(9);
        f->sim().setSquelchOpen(true);
        f->c().Scan_List->addItem(u"14340"_s);
        f->c().List_memo->addItem(u"007.050 LSB"_s);
        f->c().Grid->addItem(u"HF1\t7050\tLSB\tobs"_s);
        f->c().Textdep->setText(u"14000"_s);
        f->c().Textariv->setText(u"14350"_s);
        f->c().Combo_pas->setEditText(u"5"_s);
        f->c().Arret_Trace->setEnabled(true);
        p().scanner.Arret_Trace_Click();
        QString why;
        QVERIFY2(p().share(QHostAddress(QHostAddress::LocalHost), 0, &why), qPrintable(why));
        m_client = std::make_unique<QTcpSocket>();
        m_client->connectToHost(QHostAddress::LocalHost, p().sharing->port());
        QVERIFY(m_client->waitForConnected(3000));
        connect(m_client.get(), &QTcpSocket::readyRead, this, [this] {
            m_answers += m_client->readAll();
            m_framesAtAnswer = f->frames().size();
        });
        p().poll.requestTick(); // the first reads: the lights and the S-meter as the radio has them
        drain();
    }
    void cleanup()
    {
        m_client.reset();
        f.reset();
    }

    void actionInTheMiddle_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("source");
        for (const char *name : {"Com_18", "Com_35", "Com_7", "Com_14", "Com_21", "Com_28", "Com_50", "Com_144",
                 "Com_430", "Com_LSB", "Com_USB", "Com_CW", "Com_CWR", "Com_AM", "Com_FM", "Com_pk", "Com_mk",
                 "ComVfo1", "Com_AB", "Com_shift", "Com_envoi_freq"}) {
            for (const char *source : {"mouse", "bus", "timer"})
                QTest::addRow("%s %s", name, source) << QString::fromLatin1(name) << QString::fromLatin1(source);
        }
        for (const char *name : {"Scan_List", "List_memo"})
            QTest::addRow("%s mouse", name) << QString::fromLatin1(name) << u"mouse"_s;
        QTest::newRow("scanner step") << u"Scan_Timer"_s << u"timer"_s;
        for (const char *set : {"F 14250000", "M LSB 0"})
            QTest::newRow(set) << QString::fromLatin1(set) << u"network"_s;
    }
    void actionInTheMiddle()
    {
        QFETCH_GLOBAL(int, baud);
        QFETCH(QString, action);
        QFETCH(QString, source);
        const QList<QByteArray> byItself = alone(action, source, false);
        const QList<QByteArray> afterBand = alone(action, source, true);
        QVERIFY(!byItself.isEmpty());

        // How many turns of the event loop a quiet tick makes.
        reset();
        int turns = 0;
        std::function<void()> count = [&] {
            ++turns;
            QMetaObject::invokeMethod(this, count, Qt::QueuedConnection);
        };
        QMetaObject::invokeMethod(this, count, Qt::QueuedConnection);
        p().poll.requestTick();
        count = [] {};
        QVERIFY(turns >= 16); // four while each of the four requests clears its parameters

        // The moments each request of the tick and each frame of the band starts to cross, and turns of the tick:
        // every one at the fast speed for the mouse, the first of each read for the other sources, the very first
        // at the slow speed (where the line, not the turns, takes the time). A push button pressed through the bus
        // clicks once Qt's timer says, wherever that falls: it is pressed once, at rest.
        QStringList moments {u"request 0"_s, u"request 1"_s, u"request 2"_s, u"request 3"_s, u"band 0"_s, u"band 1"_s};
        for (int turn = 0; turn < turns; ++turn) {
            const int every = baud == 4800 ? turns
                : source == u"mouse"       ? 1
                                           : 5; // a read clears its four, then the road's
            if (turn % every == 0)
                moments << u"turn %1"_s.arg(turn);
        }
        if (animated(action, source))
            moments = QStringList {u"animated"_s};

        for (const QString &moment : moments) {
            const QByteArray where = moment.toLatin1();
            const int at = moment.section(u' ', 1).toInt();
            const bool band = moment.startsWith(u"band");
            reset();
            const qsizetype mark = f->frames().size();
            bool fired = false;
            int turn = 0, outputs = 0;
            const std::function<void()> fireNow = [&] {
                fired = true;
                fire(action, source);
            };
            std::function<void()> step = [&] {
                if (turn++ == at)
                    fireNow();
                else if (!fired)
                    QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
            };
            if (moment.startsWith(u"turn")) {
                QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
            } else if (moment == u"animated") {
                fireNow();
            } else {
                f->uart().setOutputHook([&](const QByteArray &bytes) {
                    if (PanelFixture::isPollRequest(bytes) != band && outputs++ == at)
                        QMetaObject::invokeMethod(this, fireNow, Qt::QueuedConnection);
                });
            }
            if (band)
                qobject_cast<QAbstractButton *>(control(u"Com_14"_s))->click();
            else
                p().poll.requestTick();
            QVERIFY2(PanelFixture::waitFor([&] { return fired; }, 2s), where);
            const QList<QByteArray> expected = band ? afterBand : byItself;
            QVERIFY2(served(mark, expected.size(), action), where);
            f->uart().setOutputHook({});
            drain();
            QVERIFY2(f->commandsSince(mark) == expected, where);
            if (isNetwork(action))
                QVERIFY2(m_answers == "RPRT 0\n" && m_framesAtAnswer >= mark + expected.size(), where);
            verifySettled(mark, where);
        }
    }

    // Clicks made one right after the other, as the operator's quick clicks come (through the window system, and
    // pressed through the bus): the second waits until the first's commands are all sent, so the radio hears them in
    // the order of the clicks and ends where the panel says it is.
    void quickActionsKeepTheirOrder_data()
    {
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("source");
        for (const char *source : {"window system", "bus"}) {
            QTest::addRow("LSB, USB, %s", source) << u"Com_LSB Com_USB"_s << QString::fromLatin1(source);
            QTest::addRow("band, mode, %s", source) << u"Com_14 Com_CW"_s << QString::fromLatin1(source);
            QTest::addRow("mode, band, shift, %s", source)
                << u"Com_CW Com_144 Com_shift"_s << QString::fromLatin1(source);
            QTest::addRow("three steps, %s", source) << u"Com_pk Com_pk Com_mkk"_s << QString::fromLatin1(source);
        }
        QTest::newRow("band, mode and a client's mode") << u"Com_21 Com_FM"_s << u"network"_s;
    }
    void quickActionsKeepTheirOrder()
    {
        QFETCH(QString, buttons);
        QFETCH(QString, source);
        const QStringList names = buttons.split(u' ');
        reset();
        qsizetype mark = f->frames().size();
        for (const QString &name : names)
            qobject_cast<QAbstractButton *>(control(name))->click();
        if (source == u"network") {
            fire(u"M LSB 0"_s, source);
            QVERIFY(PanelFixture::waitFor([&] { return m_answers.endsWith('\n'); }, 2s));
        }
        drain();
        const QList<QByteArray> oneAfterTheOther = f->commandsSince(mark);

        reset();
        mark = f->frames().size();
        for (const QString &name : names) {
            if (source == u"bus")
                fire(name, source);
            else
                PanelFixture::queueClick(control(name));
        }
        bool asked = false; // while the click waits for the band's send, the client asks for another mode
        if (source == u"network")
            f->uart().setOutputHook([&](const QByteArray &) { asked = asked || (fire(u"M LSB 0"_s, source), true); });
        QVERIFY(served(mark, oneAfterTheOther.size(), QString()));
        f->uart().setOutputHook({});
        drain();
        QCOMPARE(f->commandsSince(mark), oneAfterTheOther);
        verifySettled(mark, source.toLatin1());
    }

    // A window's own handler reached from a turn of a send (a press through the bus on another window) asks for a
    // box: the box opens once the send is done, not inside it.
    void boxAskedForInsideASend()
    {
        reset();
        bool sendingAtBox = true;
        ui::setMessageHandler([&](const ui::ShownMessage &m) {
            f->messages.append(m);
            sendingAtBox = p().link.isSending();
        });
        bool asked = false, askedInside = false; // while a band's frequency crosses
        f->uart().setOutputHook([&](const QByteArray &) {
            if (std::exchange(asked, true))
                return;
            QMetaObject::invokeMethod(
                this,
                [&] {
                    askedInside = p().link.isSending();
                    ui::showMessage(u"Erreur"_s);
                },
                Qt::QueuedConnection);
        });
        qobject_cast<QAbstractButton *>(control(u"Com_14"_s))->click();
        drain();
        f->uart().setOutputHook({});
        QVERIFY(askedInside && f->messages.size() == 1 && !sendingAtBox);
        f->messages.clear();
        verifySettled(0, "box");
    }

    // A click made while a command is crossing, with nothing else coming from the window system afterwards: it is
    // taken as soon as the command is out, before the poll's next tick (the window system hands over input held
    // back only when woken).
    void clickDuringASendWithNothingAfter()
    {
        reset();
        const qsizetype mark = f->frames().size();
        bool clicked = false;
        f->uart().setOutputHook([&](const QByteArray &) {
            if (!std::exchange(clicked, true))
                PanelFixture::queueClick(control(u"Com_CW"_s));
        });
        f->c().Timer1->start();
        qobject_cast<QAbstractButton *>(control(u"Com_14"_s))->click();
        QVERIFY(f->waitForFrames(mark + 8)); // the band, the click, and a tick
        f->uart().setOutputHook({});
        QCOMPARE(f->frames().at(mark + 2), PanelFixture::frame({cat::ModeCW, 0, 0, 0, cat::OpSetMode}));
        drain();
    }

    // Two clients stream frequency sets as fast as they can while the operator changes the mode and the poll runs:
    // each click is taken as soon as what is on the line has crossed (at most one other frame between the click and
    // its own), each client's sets reach the radio in its order, and each is answered once it went out.
    void operatorAheadOfStreamingClients()
    {
        reset();
        f->c().Timer1->start();
        std::vector<std::unique_ptr<QTcpSocket>> clients;
        std::vector<int> answered(2);
        const auto sentFor = [&](int client) { // the client's sets the radio has received, in order
            QList<quint32> sets;
            for (const QByteArray &frame : f->frames()) {
                const quint32 tenHz = frame.left(4).toHex().toUInt();
                if (frame.at(4) == cat::OpSetFrequency && tenHz / 10000 == quint32(142 + client))
                    sets << tenHz;
            }
            return sets;
        };
        for (int c = 0; c < 2; ++c) {
            auto &client = clients.emplace_back(std::make_unique<QTcpSocket>());
            client->connectToHost(QHostAddress::LocalHost, p().sharing->port());
            QVERIFY(client->waitForConnected(3000));
            connect(client.get(), &QTcpSocket::readyRead, this, [&, c] {
                answered[c] += int(clients[c]->readAll().count("RPRT 0\n"));
                QVERIFY(answered[c] <= sentFor(c).size());
            });
            QByteArray lines;
            for (int i = 0; i < 40; ++i) // 142.000.00 + 10 kHz a client, 100 Hz a set
                lines += "F " + QByteArray::number((1420000 + c * 10000 + i * 10) * 10) + '\n';
            client->write(lines);
        }
        // The operator's hand, from a timer: it comes due in the turns of the clients' sends.
        QList<qsizetype> madeAt, takenAt;
        QTimer hand;
        connect(&hand, &QTimer::timeout, this, [&] {
            madeAt << f->frames().size();
            PanelFixture::queueClick(control(madeAt.size() % 2 ? u"Com_USB"_s : u"Com_CW"_s));
            if (madeAt.size() == 8)
                hand.stop();
        });
        QFETCH_GLOBAL(int, baud);
        hand.start(std::max(1, 3 * 5 * 11 * 1000 / baud)); // a click every three frames' time
        const auto modes = [&] {
            takenAt.clear();
            const QList<QByteArray> frames = f->frames();
            for (qsizetype i = madeAt.value(0, frames.size()); i < frames.size(); ++i) {
                if (frames[i].at(4) == cat::OpSetMode)
                    takenAt << i;
            }
            return takenAt.size();
        };
        QVERIFY(PanelFixture::waitFor([&] { return answered[0] == 40 && answered[1] == 40 && modes() == 8; }, 20s));
        drain();
        QVERIFY(sentFor(0).size() == 40 && madeAt.last() < f->frames().size() - 10); // the clicks met the stream
        for (int i = 0; i < madeAt.size(); ++i)
            QVERIFY2(takenAt[i] - madeAt[i] <= 1,
                qPrintable(u"click %1: %2 frames before it"_s.arg(i).arg(takenAt[i] - madeAt[i])));
        for (int c = 0; c < 2; ++c) {
            const QList<quint32> sets = sentFor(c);
            QCOMPARE(sets.size(), 40);
            QVERIFY(std::is_sorted(sets.begin(), sets.end()));
        }
        verifySettled(0, "streaming");
    }

    // "Arret", the port error and closing the window stop a running scan as its own stop button does, and nothing
    // steps after.
    void linkOffStopsTheScan_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Arret") << u"Lab_c_off"_s;
        QTest::newRow("port error") << u"silent radio"_s;
        QTest::newRow("window closed") << u"ft_847"_s;
    }
    void linkOffStopsTheScan()
    {
        QFETCH(QString, how);
        f->c().Av_Pas->click();
        p().scanner.requestStep();
        QVERIFY(f->c().Scan_Timer->isActive());
        if (how == u"silent radio") {
            f->sim().setFault(ft847sim::Fault::Silent);
            p().poll.requestTick();
        } else if (how == u"ft_847") {
            f->c().ft_847->close();
        } else {
            qobject_cast<ClickLabel *>(control(how))->click();
        }
        QVERIFY(!f->sim().catOn() && !f->c().Scan_Timer->isActive());
        QVERIFY(f->c().Av_Pas->isEnabledTo(f->c().Frame1) && !f->c().Pause_Trace->isEnabledTo(f->c().Frame1));
        QCOMPARE(p().scanner.ScanPos, p().scanner.ScanStart);
        const qsizetype frames = f->frames().size();
        QTest::qWait(100);
        QCOMPARE(f->frames().size(), frames);
    }

    // A box opened by a key taken in the middle of a tick, while the scanner runs and stays up a second and a half:
    // the poll goes on meanwhile, and the scanner records nothing from a busy flag the radio no longer shows.
    void pollGoesOnUnderABox()
    {
        f->c().Combo_vitesse->setEditText(u"1"_s);
        f->c().Av_Pas->click();
        f->sim().setSquelchOpen(false);
        f->c().Timer1->start();
        qsizetype atOpen = 0, atClose = 0;
        ui::setMessageHandler([&](const ui::ShownMessage &m) {
            f->messages.append(m);
            atOpen = f->frames().size();
            QEventLoop box;
            QTimer::singleShot(1500, &box, &QEventLoop::quit);
            box.exec();
            atClose = f->frames().size();
        });
        bool pressed = false; // a key pressed while the tick's second read crosses
        f->uart().setOutputHook([&](const QByteArray &bytes) {
            if (bytes.at(4) == cat::OpReadFrequencyMode && !std::exchange(pressed, true))
                QTimer::singleShot(0, this, [this] { QTest::keyClick(f->c().TextVfo1, Qt::Key_Period); });
        });
        QVERIFY(PanelFixture::waitFor([&] { return atClose > 0; }, 5s));
        QList<QByteArray> duringTheBox = f->frames().mid(atOpen, atClose - atOpen);
        QVERIFY(duringTheBox.count(PanelFixture::frame({0, 0, 0, 0, cat::OpReadFrequencyMode})) >= 2);
        QCOMPARE(f->c().Scan_List->count(), 1); // the one the test began with
        f->uart().setOutputHook({});
        f->messages.clear();
        drain();
    }
};

ORVANE_TEST_MAIN(TestSendOrder)
#include "tst_sendorder.moc"
