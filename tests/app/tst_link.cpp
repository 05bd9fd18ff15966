// The link to the radio end to end: switching on and off, the status poll, and Charge_Num, with the real main
// window and the radio on a line that drains at its speed (at 4800 and 57600 baud); ports that cannot open, over
// Qt SerialPort and a pseudo-terminal.

#include "catlink.h"
#include "clicklabel.h"
#include "lamp.h"
#include "look.h"
#include "panelfixture.h"
#include "qtcommport.h"
#include "twips.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
const QByteArray kCatOn = PanelFixture::frame({0, 0, 0, 0, 0x00});
const QByteArray kCatOff = PanelFixture::frame({0, 0, 0, 0, 0x80});

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;

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
    }
    void cleanup() { f.reset(); }

    void marcheSendsCatOnThenPollsInOrder()
    {
        QVERIFY(f->switchOn());
        QCOMPARE(f->frames().first(), kCatOn);
        QVERIFY(f->c().Lab_c_off->isVisible());
        QVERIFY(!f->c().Lab_c_on->isVisible());
        QVERIFY(f->c().Frame1->isEnabled());
        QVERIFY(!f->c().Labquit->isEnabled());
        QVERIFY(f->c().Lab_mem->isEnabled() && f->c().LabLocat->isEnabled());
        QCOMPARE(look::backColor(f->c().Lab_kk), look::PanelOn);
        QVERIFY(f->program().frequency.AmateurOnly);

        // Three ticks of a receiving radio whose dial agrees with the panel: status, frequency, status, status.
        QVERIFY(f->waitForFrames(1 + 12, 5s));
        const QList<quint8> ops = f->opcodes().mid(1, 12);
        QCOMPARE(ops, (QList<quint8> {0xE7, 0x03, 0xE7, 0xE7, 0xE7, 0x03, 0xE7, 0xE7, 0xE7, 0x03, 0xE7, 0xE7}));
        // Ticks are 300 ms apart (measured between the first status requests of consecutive ticks).
        const auto frames = f->sim().frames();
        QVERIFY(frames[5].at - frames[1].at >= 280ms);
    }

    void dialIsFollowedAndSentBackOnce()
    {
        QVERIFY(f->switchOn());
        // A frequency reply whose bytes are not BCD is ignored like a reply of the wrong length.
        f->sim().setRawFrequencyBytes(PanelFixture::frame({0x1A, 0x2B, 0x00, 0x00}));
        QVERIFY(f->waitForFrames(f->frames().size() + 12, 5s));
        QCOMPARE(f->opcodes().count(0x01), 0);
        QCOMPARE(f->program().frequency.CurrentFreq, u"14550000"_s);
        QCOMPARE(f->shownDigits(), u"14550000"_s);

        f->sim().setRawFrequencyBytes({});
        f->sim().setMode(0x88);
        f->sim().setFrequency(14420000);
        QVERIFY(PanelFixture::waitFor([&] { return f->shownDigits() == u"14420000"_s; }, 3s));
        QCOMPARE(f->c().L_mode->text(), u"FM(N)"_s);
        QCOMPARE(f->c().LabScanMode->text(), u"FM(N)"_s);
        QCOMPARE(f->program().frequency.CurrentFreq, u"14420000"_s);
        QCOMPARE(f->c().FreqDisplay->accessibleName(), u"Fréquence 144.200.00"_s);
        // Several more ticks pass: the frequency went back exactly once.
        QVERIFY(f->waitForFrames(f->frames().size() + 12, 5s));
        QCOMPARE(f->frames().count(PanelFixture::frame({0x14, 0x42, 0x00, 0x00, 0x01})), 1);
        QCOMPARE(f->opcodes().count(0x01), 1);
    }

    void transmittingSkipsTheFrequencyRead()
    {
        QVERIFY(f->switchOn());
        f->sim().setPtt(true);
        f->sim().setFrequency(700000); // must not be followed while transmitting
        QVERIFY(PanelFixture::waitFor([&] { return f->c().Shape_tx_rx->color() == QColor(0xFF, 0x00, 0x00); }, 3s));
        QVERIFY(f->program().poll.TxActive);
        QCOMPARE(f->c().Shape_tx_rx->accessibleName(), u"Émission"_s);
        QCOMPARE(f->c().ShapbuzyA->color(), QColor(0xC0, 0xC0, 0xFF));
        const std::size_t seen = f->frames().size();
        QVERIFY(f->waitForFrames(seen + 8, 5s));
        // Whole ticks of two status reads each; no frequency read, nothing sent back.
        QVERIFY(!f->opcodes().mid(int(seen)).contains(0x03));
        QCOMPARE(f->shownDigits(), u"14550000"_s);
        QCOMPARE(f->program().poll.SMeterWidth, qint16(0));
    }

    void smeterBarColours_data()
    {
        QTest::addColumn<int>("reading");
        QTest::addColumn<QColor>("color");
        QTest::newRow("10") << 10 << QColor(0x00, 0xC0, 0xC0);
        QTest::newRow("11") << 11 << QColor(0x00, 0x80, 0x80);
        QTest::newRow("13") << 13 << QColor(0x00, 0x80, 0x80);
        QTest::newRow("14") << 14 << QColor(0x00, 0x40, 0x40);
        QTest::newRow("18") << 18 << QColor(0x00, 0x40, 0x40);
        QTest::newRow("19") << 19 << QColor(0xFF, 0x00, 0x00);
        QTest::newRow("31") << 31 << QColor(0xFF, 0x00, 0x00);
    }
    void smeterBarColours()
    {
        QFETCH(int, reading);
        QFETCH(QColor, color);
        QVERIFY(f->switchOn());
        f->sim().setSquelchOpen(true);
        f->sim().setSMeter(reading);
        QVERIFY(PanelFixture::waitFor([&] { return f->c().Label2->text() == QString::number(reading * 130); }, 3s));
        QCOMPARE(f->program().poll.SignalLevel, reading / 2.0);
        QVERIFY(f->program().poll.SquelchOpen);
        QCOMPARE(f->c().ShapbuzyA->color(), QColor(0xC0, 0xFF, 0xFF));
        QCOMPARE(f->c().ShapbuzyA->accessibleName(), u"Occupé"_s);
        QCOMPARE(look::backColor(f->c().Lab_SM), color);
        QCOMPARE(f->c().Lab_SM->width(), ui::px(reading * 130));
        QCOMPARE(f->c().Lab_SM->accessibleName(), u"S-mètre %1"_s.arg(reading));
    }

    void arretSendsCatOffAndClosesThePort()
    {
        QVERIFY(f->switchOn());
        QVERIFY(f->waitForFrames(5));
        f->c().Lab_c_off->click();
        QVERIFY(f->waitForLastFrame(kCatOff));
        QVERIFY(!f->program().port.portOpen());
        QVERIFY(!f->c().Timer1->isActive());
        QVERIFY(f->program().linkSwitch.LinkOff);
        QVERIFY(f->c().Lab_c_on->isVisible());
        QVERIFY(!f->c().Frame1->isEnabled());
        QVERIFY(f->c().Labquit->isEnabled());
        QCOMPARE(f->c().Lab_SM->width(), 0);
        QCOMPARE(look::backColor(f->c().Lab_kk), look::PanelOff);
        // No tick runs on after the switch-off.
        const std::size_t seen = f->frames().size();
        QTest::qWait(700);
        QCOMPARE(f->frames().size(), seen);
        QVERIFY(!f->sim().catOn());
    }

    void switchingOffInsideATickLeavesThePortAlone()
    {
        QVERIFY(f->switchOn());
        // "Arret" arrives while the tick's first send yields to the event loop.
        bool clicked = false;
        QTimer::singleShot(0, f->c().Timer1, [&] {
            QTimer::singleShot(0, [&] {
                clicked = true;
                f->c().Lab_c_off->click();
            });
        });
        f->program().poll.Timer1_Timer();
        QVERIFY(clicked);
        QVERIFY(f->messages.isEmpty());
        QVERIFY(f->programEnds.isEmpty());
        QVERIFY(f->waitForLastFrame(kCatOff));
        QVERIFY(!f->c().Timer1->isActive());
    }

    void silentRadioEndsTheProgramAfterCatOff()
    {
        QVERIFY(f->switchOn());
        QVERIFY(f->waitForFrames(4));
        // The scanner steps every 50 ms meanwhile, and the message stays up for a second with the event loop
        // running, as a box does: once the error is decided, nothing goes out but the CAT off of the unload.
        f->c().Combo_vitesse->setEditText(QLocale().toString(0.05));
        f->c().Av_Pas->click();
        std::size_t atMessage = 0;
        ui::setMessageHandler([&](const ui::ShownMessage &m) {
            f->messages.append(m);
            atMessage = f->frames().size();
            QTest::qWait(1000);
        });
        f->sim().setFault(ft847sim::Fault::Silent);
        QVERIFY(PanelFixture::waitFor([&] { return !f->programEnds.isEmpty(); }, 10s));
        QCOMPARE(f->programEnds, QList<int> {EXIT_FAILURE});
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].text, u"Erreur: Le port est invalide ou occupé."_s);
        QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
        QCOMPARE(f->frames().mid(qsizetype(atMessage)), QList<QByteArray> {kCatOff});
        QVERIFY(!f->program().port.portOpen());
        QVERIFY(f->program().window.isHidden());
    }

    void portThatCannotOpenStaysOff_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("holdCom1");
        QTest::newRow("held by another program") << QByteArray("\"1\",\"300\",\"4800,n,8,2\",\"\",\"\"") << true;
        QTest::newRow("adapter unplugged") << QByteArray("\"2\",\"300\",\"4800,n,8,2\",\"\",\"\"") << false;
        QTest::newRow("port 7") << QByteArray("\"7\",\"300\",\"4800,n,8,2\",\"\",\"\"") << false;
        QTest::newRow("port not a number") << QByteArray("\"un\",\"300\",\"4800,n,8,2\",\"\",\"\"") << false;
        QTest::newRow("bad line settings") << QByteArray("\"1\",\"300\",\"vite\",\"\",\"\"") << false;
    }
    void portThatCannotOpenStaysOff()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, holdCom1);
        QFETCH_GLOBAL(int, baud);
        if (baud != 4800)
            QSKIP("the serial stack refuses a port whatever the speed");
        f.reset();
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(4800, settings, PanelFixture::Line::Pty));
        QVERIFY(QFile::link(u"/dev/no-such-adapter"_s, f->dirPath(u"com2"_s)));
        QtCommPort other;
        if (holdCom1) {
            other.setCommPort(1);
            other.setSettings(u"4800,n,8,2"_s);
            QVERIFY(other.setPortOpen(true));
        }
        f->c().Lab_c_on->click();
        QCOMPARE(f->messages.size(), 1);
        QCOMPARE(f->messages[0].text, u"Erreur: Le port et occupé."_s);
        QVERIFY(f->c().Lab_c_on->isVisible());
        QVERIFY(!f->c().Frame1->isEnabled());
        QVERIFY(f->c().Labquit->isEnabled());
        QVERIFY(!f->c().Timer1->isActive());
        QVERIFY(!f->program().port.portOpen());
        QCOMPARE(look::backColor(f->c().Lab_kk), look::PanelOff);
        QTest::qWait(100);
        QVERIFY(f->frames().isEmpty());
    }

    void chargeNumNormalisesLimitsSendsThenShows_data()
    {
        QTest::addColumn<bool>("amateur");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<bool>("mmmShown");
        QTest::addColumn<bool>("mmShown");
        QTest::newRow("band button value padded") << true << u"1420000"_s << u"01420000"_s << false << true;
        QTest::newRow("76.5 MHz jumps to 108") << false << u"07650000"_s << u"10800000"_s << true << true;
        QTest::newRow("below the 160 m band wraps") << true << u"00180500"_s << u"00185000"_s << false << false;
        QTest::newRow("fraction rounded to 10 Hz") << false << u"1455000.6"_s << u"01455001"_s << false << true;
        QTest::newRow("negative raised to 100 kHz") << false << u"-95000"_s << u"00010000"_s << false << false;
        QTest::newRow("nine digits held to eight") << true << u"123456789"_s << u"99999999"_s << true << true;
    }
    void chargeNumNormalisesLimitsSendsThenShows()
    {
        QFETCH(bool, amateur);
        QFETCH(QString, written);
        QFETCH(QString, sent);
        QVERIFY(f->switchOn());
        f->c().Timer1->stop();
        FrequencyControl &fc = f->program().frequency;
        fc.AmateurOnly = amateur;
        const std::size_t seen = f->frames().size();
        fc.CurrentFreq = written;
        fc.Charge_Num();
        QCOMPARE(fc.CurrentFreq, sent);
        QCOMPARE(f->c().Lab_control->text(), sent);
        QCOMPARE(f->shownDigits(), sent);
        QTEST(f->c().Lab_mmm->isVisibleTo(f->c().Frame1), "mmmShown");
        QTEST(f->c().Lab_mm->isVisibleTo(f->c().Frame1), "mmShown");
        QVERIFY(f->waitForFrames(seen + 1));
        const QByteArray bcd = QByteArray::fromHex(sent.toLatin1());
        QCOMPARE(f->frames().at(int(seen)), bcd + '\x01');
        QCOMPARE(f->sim().frequency(), sent.toUInt());
    }

    void chargeNumSendsEveryTimeButNeverText()
    {
        QVERIFY(f->switchOn());
        f->c().Timer1->stop();
        FrequencyControl &fc = f->program().frequency;
        const std::size_t seen = f->frames().size();
        fc.CurrentFreq = u"14550000"_s;
        fc.Charge_Num();
        fc.Charge_Num();
        fc.CurrentFreq = u"abc"_s;
        fc.Charge_Num();
        QCOMPARE(f->frames().mid(int(seen)), QList<QByteArray>(2, PanelFixture::frame({0x14, 0x55, 0, 0, 0x01})));
        QCOMPARE(f->shownDigits(), u"14550000"_s);
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
