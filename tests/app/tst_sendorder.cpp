// Every sending action of the panel fired in the middle of a status poll tick, on a line that drains at its speed:
// at each turn of the event loop the tick makes, and while each of its requests is still on the line. Whenever the
// action runs, the radio receives its frames whole, in order and never inside an exchange, the tick's reads land
// on the radio's state, and no port error comes.

#include "catframe.h"
#include "memorygrid.h"
#include "panelfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

using Fire = std::function<void(PanelFixture &)>;

Fire clickButton(const char *name)
{
    return [name](PanelFixture &f) {
        auto *button = f.program().window.findChild<QAbstractButton *>(QLatin1String(name));
        QVERIFY2(button && button->isEnabled(), name);
        button->click();
    };
}

Fire clickFirstItem(QListWidget *Ft847Controls::*list)
{
    return [list](PanelFixture &f) {
        QListWidget *widget = f.c().*list;
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, widget->visualItemRect(widget->item(0)).center());
    };
}

bool isPollRequest(const QByteArray &frame)
{
    const auto op = static_cast<quint8>(frame.at(4));
    return op == cat::OpReadReceiverStatus || op == cat::OpReadFrequencyMode;
}

} // namespace

class TestSendOrder : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;

    // The same starting point for every firing: the radio and the panel on 145.500.00 FM, the lists and the
    // scanner ready, the shift counter at its start.
    void reset()
    {
        Ft847Controls &c = f->c();
        FrequencyControl &frequency = f->program().frequency;
        frequency.AmateurOnly = true;
        frequency.CurrentFreq = u"14550000"_s;
        frequency.Charge_Num();
        frequency.setMode(u"FM"_s, cat::ModeFM);
        f->program().vfoShift.shiftClicks = 1;
        c.LabVFO2->setText(u"433.425.00"_s);
        c.TextVfo1->setText(u"7050"_s);
        c.Scan_Timer->stop();
        f->program().scanner.ScanPos = scanner::FixedDecimal::fromInteger(14000);
        f->program().memory.Grid_Click(1);
        QVERIFY(f->sim().frequency() == 14550000 && f->sim().mode() == cat::ModeFM);
        QVERIFY(PanelFixture::waitFor([&] { return f->uart().outBufferCount() == 0; }, 1s));
    }

    QList<QByteArray> framesSince(std::size_t mark) { return f->frames().mid(qsizetype(mark)); }
    QList<QByteArray> commandsSince(std::size_t mark)
    {
        QList<QByteArray> commands = framesSince(mark);
        commands.removeIf(isPollRequest);
        return commands;
    }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<int>("baud");
        QTest::newRow("4800") << 4800;
        QTest::newRow("57600") << 57600;
    }

    void init()
    {
        QFETCH_GLOBAL(int, baud);
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(baud));
        QVERIFY(f->switchOn());
        f->c().Timer1->stop();
        Ft847Controls &c = f->c();
        f->sim().setSMeter(9);
        f->sim().setSquelchOpen(true);
        c.Scan_List->addItem(u"14340"_s);
        c.List_memo->addItem(u"007.050 LSB"_s);
        c.Grid->addItem(u"HF1\t7050\tLSB\tobs"_s);
        c.Textdep->setText(u"14000"_s);
        c.Textariv->setText(u"14350"_s);
        c.Combo_pas->setEditText(u"5"_s);
        c.Arret_Trace->setEnabled(true);
        f->program().scanner.Arret_Trace_Click();
    }
    void cleanup() { f.reset(); }

    void actionDuringATick_data()
    {
        QTest::addColumn<Fire>("fire");
        for (const char *band : {"Com_18", "Com_35", "Com_7", "Com_14", "Com_21", "Com_28", "Com_50", "Com_144",
                                 "Com_430", "Com_LSB", "Com_USB", "Com_CW", "Com_CWR", "Com_AM", "Com_FM"})
            QTest::newRow(band) << clickButton(band);
        QTest::newRow("step up") << clickButton("Com_pk");
        QTest::newRow("step down") << clickButton("Com_mk");
        QTest::newRow("direct entry") << clickButton("ComVfo1");
        QTest::newRow("A <> B") << clickButton("Com_AB");
        QTest::newRow("shift") << clickButton("Com_shift");
        QTest::newRow("scan list") << clickFirstItem(&Ft847Controls::Scan_List);
        QTest::newRow("memo list") << clickFirstItem(&Ft847Controls::List_memo);
        QTest::newRow("Envoyer au VFO") << clickButton("Com_envoi_freq");
        QTest::newRow("scanner step") << Fire([](PanelFixture &f) { f.program().scanner.Scan_Timer_Timer(); });
    }
    void actionDuringATick()
    {
        QFETCH(Fire, fire);
        StatusPoll &poll = f->program().poll;

        // What the action sends on its own, and how many turns of the event loop a quiet tick makes.
        reset();
        std::size_t mark = f->frames().size();
        fire(*f);
        f->c().Timer1->stop();
        const QList<QByteArray> alone = framesSince(mark);
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

        // Fired at each turn, and as each request starts to cross the line.
        struct Moment
        {
            int turn = -1;
            int output = -1;
        };
        QList<Moment> moments;
        for (int turn = 0; turn < turns; ++turn)
            moments.append({turn, -1});
        for (int output = 0; output < 4; ++output)
            moments.append({-1, output});
        for (const Moment &moment : moments) {
            const QString where = moment.turn >= 0 ? u"turn %1"_s.arg(moment.turn) : u"request %1"_s.arg(moment.output);
            reset();
            mark = f->frames().size();
            const int interrupted = f->uart().interruptedReplies();
            bool fired = false;
            const auto fireNow = [&] {
                fired = true;
                fire(*f);
            };
            int turn = 0;
            std::function<void()> step = [&] {
                if (turn++ == moment.turn)
                    fireNow();
                else if (!fired)
                    QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
            };
            int outputs = 0;
            if (moment.turn >= 0) {
                QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
            } else {
                f->uart().setOperationHook([&](UartTestPort::Operation op, const QByteArray &) {
                    if (op == UartTestPort::Operation::Output && outputs++ == moment.output)
                        QMetaObject::invokeMethod(this, fireNow, Qt::QueuedConnection);
                });
            }
            poll.Timer1_Timer();
            f->c().Timer1->stop();
            QVERIFY2(PanelFixture::waitFor([&] { return fired; }, 2s), qPrintable(where));
            f->c().Timer1->stop(); // the LSB and AM buttons start it again
            f->uart().setOperationHook({});
            QVERIFY(PanelFixture::waitFor([&] { return f->uart().outBufferCount() == 0; }, 1s));

            QVERIFY2(f->messages.isEmpty() && f->programEnds.isEmpty(), qPrintable(where));
            QVERIFY2(f->uart().interruptedReplies() == interrupted, qPrintable(where));
            QList<QByteArray> requests, sent;
            for (const QByteArray &frame : framesSince(mark))
                (isPollRequest(frame) ? requests : sent).append(frame);
            QCOMPARE(sent, alone);
            const auto status = PanelFixture::frame({0, 0, 0, 0, cat::OpReadReceiverStatus});
            QCOMPARE(requests, (QList<QByteArray>{status, PanelFixture::frame({0, 0, 0, 0, cat::OpReadFrequencyMode}),
                                                  status, status}));
            QCOMPARE(f->shownDigits(), u"%1"_s.arg(f->sim().frequency(), 8, 10, QLatin1Char('0')));
            QCOMPARE(f->program().frequency.CurrentFreq, f->shownDigits());
            QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
            QCOMPARE(poll.SignalLevel, 4.5);
            QVERIFY(poll.SquelchOpen && !poll.TxActive);
        }
    }

    // Clicks made one right after the other, as the operator's quick clicks come: the second waits until the
    // first's commands are all sent, so the radio hears them in the order of the clicks and ends where the panel
    // says it is.
    void quickClicksKeepTheirOrder_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("LSB, USB") << QStringList{u"Com_LSB"_s, u"Com_USB"_s};
        QTest::newRow("band, mode") << QStringList{u"Com_14"_s, u"Com_FM"_s};
        QTest::newRow("mode, band, shift") << QStringList{u"Com_CW"_s, u"Com_144"_s, u"Com_shift"_s};
        QTest::newRow("three steps") << QStringList{u"Com_pk"_s, u"Com_pk"_s, u"Com_mkk"_s};
    }
    void quickClicksKeepTheirOrder()
    {
        QFETCH(QStringList, buttons);
        const auto button = [&](const QString &name) { return f->program().window.findChild<QAbstractButton *>(name); };
        reset();
        std::size_t mark = f->frames().size();
        for (const QString &name : buttons)
            button(name)->click();
        f->c().Timer1->stop(); // the LSB button starts it again
        const QList<QByteArray> oneAfterTheOther = commandsSince(mark);

        reset();
        mark = f->frames().size();
        for (const QString &name : buttons)
            PanelFixture::queueClick(button(name));
        QVERIFY(PanelFixture::waitFor([&] { return commandsSince(mark).size() >= oneAfterTheOther.size(); }, 2s));
        QVERIFY(PanelFixture::waitFor([&] { return f->uart().outBufferCount() == 0; }, 1s));
        f->c().Timer1->stop();
        QCOMPARE(commandsSince(mark), oneAfterTheOther);
        QCOMPARE(f->c().L_mode->text(), cat::modeName(f->sim().mode()));
        QCOMPARE(f->shownDigits(), u"%1"_s.arg(f->sim().frequency(), 8, 10, QLatin1Char('0')));
    }
};

QTEST_MAIN(TestSendOrder)
#include "tst_sendorder.moc"
