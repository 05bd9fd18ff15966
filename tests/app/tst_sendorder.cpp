// Every sending action of the panel fired in the middle of a status poll tick, on a line that drains at its speed:
// at each turn of the event loop the tick makes, and while each of its requests is still on the line. Whenever the
// action runs, the radio receives its frames whole, in order and never inside an exchange, the tick's reads land
// on the radio's state, and no port error comes. And quick clicks keep their order.

#include "catframe.h"
#include "memorygrid.h"
#include "panelfixture.h"
#include "testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestSendOrder : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelFixture> f;

    // Clicks the button, or the first line of the list, of that name; "Scan_Timer" is a step of the scanner.
    void fire(const QString &name)
    {
        auto *list = f->program().window.findChild<QListWidget *>(name);
        if (name == u"Scan_Timer")
            f->program().scanner.Scan_Timer_Timer();
        else if (list)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        else
            f->program().window.findChild<QAbstractButton *>(name)->click();
    }

    // The same starting point for every firing: the radio and the panel on 145.500.00 FM, the lists and the
    // scanner ready, the shift counter at its start.
    void reset()
    {
        FrequencyControl &frequency = f->program().frequency;
        frequency.AmateurOnly = true;
        frequency.CurrentFreq = u"14550000"_s;
        frequency.Charge_Num();
        frequency.setMode(u"FM"_s, cat::ModeFM);
        f->program().vfoShift.shiftClicks = 1;
        f->c().LabVFO2->setText(u"433.425.00"_s);
        f->c().TextVfo1->setText(u"7050"_s);
        f->c().Scan_Timer->stop();
        f->program().scanner.ScanPos = scanner::FixedDecimal::fromInteger(14000);
        f->program().memory.Grid_Click(1);
        QVERIFY(f->sim().frequency() == 14550000 && f->sim().mode() == cat::ModeFM);
    }

    // Waits for the line to drain; stops the poll's timer, which the LSB and AM buttons start again.
    void drain()
    {
        QVERIFY(PanelFixture::waitFor([&] { return f->uart().outBufferCount() == 0; }, 1s));
        f->c().Timer1->stop();
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
        f->program().scanner.Arret_Trace_Click();
    }
    void cleanup() { f.reset(); }

    void actionDuringATick_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *name : {"Com_18", "Com_35", "Com_7", "Com_14", "Com_21", "Com_28", "Com_50", "Com_144",
                 "Com_430", "Com_LSB", "Com_USB", "Com_CW", "Com_CWR", "Com_AM", "Com_FM", "Com_pk", "Com_mk",
                 "ComVfo1", "Com_AB", "Com_shift", "Scan_List", "List_memo", "Com_envoi_freq", "Scan_Timer"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void actionDuringATick()
    {
        QFETCH(QString, action);
        StatusPoll &poll = f->program().poll;

        // What the action sends on its own, and how many turns of the event loop a quiet tick makes.
        reset();
        qsizetype mark = f->frames().size();
        fire(action);
        drain();
        const QList<QByteArray> alone = f->frames().mid(mark);
        QVERIFY(!alone.isEmpty());
        int turns = 0;
        std::function<void()> count = [&] {
            ++turns;
            QMetaObject::invokeMethod(this, count, Qt::QueuedConnection);
        };
        QMetaObject::invokeMethod(this, count, Qt::QueuedConnection);
        poll.Timer1_Timer();
        count = [] {};
        QVERIFY(turns >= 16); // four while each of the four requests clears its parameters

        // Fired at each turn (moment >= 0), and as request -1 - moment starts to cross the line.
        for (int moment = -4; moment < turns; ++moment) {
            const QByteArray where = (moment >= 0 ? "turn " : "request ") + QByteArray::number(std::abs(moment));
            reset();
            mark = f->frames().size();
            const int interrupted = f->uart().interruptedReplies();
            bool fired = false;
            int turn = 0, outputs = 0;
            const std::function<void()> fireNow = [&] {
                fired = true;
                fire(action);
            };
            std::function<void()> step = [&] {
                if (turn++ == moment)
                    fireNow();
                else if (!fired)
                    QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
            };
            if (moment >= 0)
                QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
            f->uart().setOutputHook([&](const QByteArray &) {
                if (outputs++ == -1 - moment)
                    QMetaObject::invokeMethod(this, fireNow, Qt::QueuedConnection);
            });
            poll.Timer1_Timer();
            f->c().Timer1->stop();
            QVERIFY2(PanelFixture::waitFor([&] { return fired; }, 2s), where);
            f->uart().setOutputHook({});
            drain();

            QVERIFY2(f->messages.isEmpty() && f->programEnds.isEmpty(), where);
            QVERIFY2(f->uart().interruptedReplies() == interrupted, where);
            QCOMPARE(f->commandsSince(mark), alone);
            QList<QByteArray> requests = f->frames().mid(mark);
            requests.removeIf([](const QByteArray &frame) { return !PanelFixture::isPollRequest(frame); });
            const QByteArray status = PanelFixture::frame({0, 0, 0, 0, cat::OpReadReceiverStatus});
            const QByteArray frequency = PanelFixture::frame({0, 0, 0, 0, cat::OpReadFrequencyMode});
            QCOMPARE(requests, (QList<QByteArray> {status, frequency, status, status}));
            QCOMPARE(f->shownDigits(), f->radioDigits());
            QCOMPARE(f->program().frequency.CurrentFreq, f->shownDigits());
            QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
            QVERIFY(poll.SignalLevel == 4.5 && poll.SquelchOpen && !poll.TxActive);
        }
    }

    // Clicks made one right after the other, as the operator's quick clicks come: the second waits until the
    // first's commands are all sent, so the radio hears them in the order of the clicks and ends where the panel
    // says it is.
    void quickClicksKeepTheirOrder_data()
    {
        QTest::addColumn<QString>("buttons");
        QTest::newRow("LSB, USB") << u"Com_LSB Com_USB"_s;
        QTest::newRow("band, mode") << u"Com_14 Com_FM"_s;
        QTest::newRow("mode, band, shift") << u"Com_CW Com_144 Com_shift"_s;
        QTest::newRow("three steps") << u"Com_pk Com_pk Com_mkk"_s;
    }
    void quickClicksKeepTheirOrder()
    {
        QFETCH(QString, buttons);
        reset();
        qsizetype mark = f->frames().size();
        for (const QString &name : buttons.split(u' '))
            fire(name);
        drain();
        const QList<QByteArray> oneAfterTheOther = f->commandsSince(mark);

        reset();
        mark = f->frames().size();
        for (const QString &name : buttons.split(u' '))
            PanelFixture::queueClick(f->program().window.findChild<QWidget *>(name));
        QVERIFY(PanelFixture::waitFor([&] { return f->commandsSince(mark).size() >= oneAfterTheOther.size(); }, 2s));
        drain();
        QCOMPARE(f->commandsSince(mark), oneAfterTheOther);
        QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
        QCOMPARE(f->shownDigits(), f->radioDigits());
    }
};

ORVANE_TEST_MAIN(TestSendOrder)
#include "tst_sendorder.moc"
