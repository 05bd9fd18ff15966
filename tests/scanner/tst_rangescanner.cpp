// The range scanner, scan list, fine tuning and memo list on the panel, against the radio on a line that drains at
// its speed. Ticks are driven one by one from the test (the scanner's own timer is set far out), so that every
// tuned frequency is checked.

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

class TestRangeScanner : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;
    std::size_t m_mark = 0;

    RangeScanner &scanner() { return f->program().scanner; }
    Ft847Controls &c() { return f->c(); }

    void settle() { m_mark = f->frames().size(); }
    // Every frequency sent since the mark, in kHz. A send returns once its frame has crossed the line.
    QList<double> tunedKHz()
    {
        QList<double> result;
        for (const QByteArray &frame : f->frames().mid(int(m_mark))) {
            if (static_cast<quint8>(frame[4]) == 0x01)
                result << frame.left(4).toHex().toLongLong() / 100.0;
        }
        return result;
    }
    void setRange(const QString &start, const QString &end, const QString &step, const QString &speed = u"9"_s)
    {
        c().Textdep->setText(start);
        c().Textariv->setText(end);
        c().Combo_pas->setEditText(step);
        c().Combo_vitesse->setEditText(speed);
        c().Arret_Trace->setEnabled(true);
        scanner().Arret_Trace_Click();
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
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        f = std::make_unique<PanelFixture>();
        QVERIFY(f->start(baud));
        QVERIFY(f->switchOn());
        c().Timer1->stop();
        f->program().frequency.AmateurOnly = false;
        settle();
    }
    void cleanup()
    {
        f.reset();
        QLocale::setDefault(QLocale::system());
    }

    void startUpState()
    {
        QVERIFY(c().Av_Pas->isEnabled());
        QVERIFY(!c().Pause_Trace->isEnabled());
        QVERIFY(!c().Arret_Trace->isEnabled());
        QCOMPARE(scanner().ScanPos, scanner::FixedDecimal::fromInteger(144000));
        QCOMPARE(scanner().ScanEnd, scanner::FixedDecimal::fromInteger(146000));
        QCOMPARE(c().Combo_vitesse->itemText(0), u"0,5"_s);
        QCOMPARE(c().Combo_vitesse->itemText(2), u"1,5"_s);
    }

    void scanStopsAtTheArrival_data()
    {
        QTest::addColumn<bool>("continuous");
        QTest::newRow("once") << false;
        QTest::newRow("continuous") << true;
    }
    void scanStopsAtTheArrival()
    {
        QFETCH(bool, continuous);
        setRange(u"14000"_s, u"14350"_s, u"5"_s);
        c().Check_continu->setChecked(continuous);
        settle();
        c().Av_Pas->click();
        QVERIFY(!c().Av_Pas->isEnabled() && c().Pause_Trace->isEnabled() && c().Arret_Trace->isEnabled());
        for (int tick = 0; tick < 70; ++tick)
            scanner().Scan_Timer_Timer();
        QList<double> expected;
        for (int kHz = 14005; kHz <= 14345; kHz += 5)
            expected << kHz;
        expected << 14000;
        if (continuous) {
            scanner().Scan_Timer_Timer();
            expected << 14005;
        }
        QCOMPARE(tunedKHz(), expected);
        QCOMPARE(c().Scan_Timer->isActive(), continuous);
        QCOMPARE(c().Av_Pas->isEnabled(), !continuous);
        QVERIFY(!c().Pause_Trace->isEnabled() || continuous);
        QVERIFY(c().Arret_Trace->isEnabled());
        QCOMPARE(c().LabScanvfo->text(), continuous ? u"14.005"_s : u"14.000"_s);
        QVERIFY(c().Scan_List->count() == 0);
    }

    void thresholdDetection_data()
    {
        QTest::addColumn<int>("reading"); // the radio's S-meter; SignalLevel is half of it
        QTest::addColumn<bool>("detected");
        QTest::newRow("S 5 against threshold 5") << 10 << true;
        QTest::newRow("S 4.5 against threshold 5") << 9 << false;
    }
    void thresholdDetection()
    {
        QFETCH(int, reading);
        QFETCH(bool, detected);
        setRange(u"14000"_s, u"14350"_s, u"5"_s);
        c().Combo_Seuil->setEditText(u"5"_s);
        f->sim().setSMeter(reading);
        c().Timer1->start();
        QVERIFY(PanelFixture::waitFor([&] { return f->program().poll.SignalLevel == reading / 2.0; }, 3s));
        c().Av_Pas->click();
        scanner().Scan_Timer_Timer(); // tunes 14005; the level read was taken on the start frequency
        scanner().Scan_Timer_Timer(); // tunes 14010
        QCOMPARE(c().Scan_List->count(), detected ? 2 : 0);
        if (detected)
            QCOMPARE(c().Scan_List->item(1)->text(), u"14005"_s);
        QVERIFY(!f->program().poll.SquelchOpen); // threshold detection clears it; the poll sets it again
    }

    void busyDetectionPausesAndResumes()
    {
        setRange(u"14000"_s, u"14350"_s, u"5"_s);
        c().Check_squelch->setChecked(true);
        scanner().Av_Pas_Click();
        scanner().Scan_Timer_Timer(); // 14005, channel quiet
        f->sim().setSquelchOpen(true);
        c().Timer1->start();
        QVERIFY(PanelFixture::waitFor([&] { return f->program().poll.SquelchOpen; }, 3s));
        c().Timer1->stop();
        scanner().Scan_Timer_Timer(); // tunes 14010, finds the busy channel it stood on
        QCOMPARE(c().Scan_List->count(), 1);
        QCOMPARE(c().Scan_List->item(0)->text(), u"14005"_s);
        QVERIFY(!c().Scan_Timer->isActive());
        QVERIFY(c().Av_Pas->isEnabled());
        QVERIFY(!c().Pause_Trace->isEnabled());
        f->sim().setSquelchOpen(false);
        f->program().poll.SquelchOpen = false;
        settle();
        c().Av_Pas->click();
        scanner().Scan_Timer_Timer();
        QCOMPARE(tunedKHz(), QList<double> {14015});
    }

    void wrapRecordsTheLastStepTuned()
    {
        setRange(u"14000"_s, u"14010"_s, u"5"_s);
        c().Check_continu->setChecked(true);
        scanner().Av_Pas_Click();
        scanner().Scan_Timer_Timer(); // 14005
        f->program().poll.SquelchOpen = true;
        scanner().Scan_Timer_Timer(); // reaches 14010: back to 14000, the detection belongs to 14005
        QCOMPARE(c().Scan_List->count(), 1);
        QCOMPARE(c().Scan_List->item(0)->text(), u"14005"_s);
    }

    void speedSetsTheInterval()
    {
        setRange(u"14000"_s, u"14350"_s, u"5"_s, u"0,5"_s);
        c().Av_Pas->click();
        QCOMPARE(c().Scan_Timer->interval(), 500);
        c().Combo_vitesse->setCurrentIndex(2);
        scanner().Combo_vitesse_Click(); // chosen from the list during the scan
        QCOMPARE(c().Scan_Timer->interval(), 500);
        scanner().Scan_Timer_Timer();
        QCOMPARE(c().Scan_Timer->interval(), 1500);
        // A speed of zero, or one that is not a number, keeps the last good one.
        for (const QString &bad : {u"0"_s, u"-1"_s, u"vite"_s, QString()}) {
            c().Combo_vitesse->setEditText(bad);
            scanner().Combo_vitesse_Click();
            scanner().Scan_Timer_Timer();
            QCOMPARE(c().Scan_Timer->interval(), 1500);
        }
    }

    void startChecksTheRange_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("message"); // empty: the scan starts
        QTest::newRow("9000 to 14000") << u"9000"_s << u"14000"_s << QString();
        QTest::newRow("equal") << u"14000"_s << u"14000"_s
                               << u"Erreur: La fréquence de départ et égale ou superieure à la fréquence d'arrivée."_s;
        QTest::newRow("no arrival") << u"14000"_s << QString() << u"Erreur: Entrer la fréquence d'arrivée."_s;
        QTest::newRow("no start") << QString() << u"14000"_s << u"Erreur: Entrer la fréquence de départ."_s;
        QTest::newRow("neither") << QString() << QString() << u"Erreur: Entrer la fréquence d'arrivée."_s;
    }
    void startChecksTheRange()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, message);
        c().Textdep->setText(start);
        c().Textariv->setText(end);
        c().Av_Pas->click();
        QCOMPARE(c().Scan_Timer->isActive(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(f->messages.size(), 1);
            QCOMPARE(f->messages[0].text, message);
            QCOMPARE(f->messages[0].icon, ui::MsgIcon::Error);
            QVERIFY(c().Av_Pas->isEnabled());
        }
    }

    void unreadableFieldsKeepTheirLastValue()
    {
        setRange(u"144000"_s, u"146000"_s, u"12,5"_s);
        c().Textdep->setText(u"14a"_s);
        c().Textariv->setText(QString());
        QCOMPARE(scanner().ScanStart, scanner::FixedDecimal::fromInteger(144000));
        QCOMPARE(scanner().ScanEnd, scanner::FixedDecimal::fromInteger(146000));
        c().Textariv->setText(u"146000"_s);
        c().Combo_pas->setEditText(u"pas"_s);
        // Start with a start field that does not read as a number works from what the scanner last understood.
        c().Av_Pas->click();
        QVERIFY(f->messages.isEmpty());
        QVERIFY(c().Scan_Timer->isActive());
        for (int tick = 0; tick < 40; ++tick)
            scanner().Scan_Timer_Timer();
        // Forty steps of 12.5 kHz add up without drift.
        const QList<double> tuned = tunedKHz();
        QCOMPARE(tuned.size(), 40);
        QCOMPARE(tuned.constFirst(), 144012.5);
        QCOMPARE(tuned.constLast(), 144500.0);
        QCOMPARE(scanner().ScanPos, scanner::FixedDecimal::fromInteger(144500));
        scanner().Arret_Trace_Click(); // back to the last start that read, not left where the scan stood
        QCOMPARE(scanner().ScanPos, scanner::FixedDecimal::fromInteger(144000));
    }

    void kHzFieldsTakeSixDigitsAndFourDecimals()
    {
        for (QLineEdit *field : {c().Combo_pas->lineEdit(), c().Text_Affine}) {
            field->clear();
            QTest::keyClicks(field, u"922337203685477,123456"_s);
            QCOMPARE(field->text(), u"922337,1234"_s);
        }
    }

    void fineTuningFromTheScanList()
    {
        setRange(u"14000"_s, u"14350"_s, u"5"_s);
        c().Scan_List->addItem(u"14340"_s);
        c().Scan_List->setCurrentRow(0);
        f->program().scanLists.Scan_List_Click();
        c().Command1->click();
        c().Command1->click();
        QCOMPARE(tunedKHz(), (QList<double> {14340, 14345, 14350}));
        QVERIFY(!c().Command1->isEnabled());
        QVERIFY(c().Command3->isEnabled());
        QCOMPARE(c().LabScanvfo->text(), u"14,350"_s);
        QCOMPARE(c().Text_Affine->text(), u"14350"_s);
        // Text that is not a number leaves the radio where it is.
        settle();
        c().Text_Affine->setText(u"abc"_s);
        c().Command3->click();
        c().Scan_List->addItem(u"xyz"_s);
        c().Scan_List->setCurrentRow(1);
        f->program().scanLists.Scan_List_Click();
        QCOMPARE(tunedKHz(), QList<double> {});
    }

    void scanListClickPausesTheScan()
    {
        setRange(u"14000"_s, u"14350"_s, u"5"_s);
        c().Av_Pas->click();
        scanner().Scan_Timer_Timer();
        scanner().Scan_Timer_Timer(); // at 14010
        c().Scan_List->addItem(u"14200"_s);
        c().Scan_List->setCurrentRow(0);
        f->program().scanLists.Scan_List_Click();
        QVERIFY(!c().Scan_Timer->isActive());
        QVERIFY(c().Av_Pas->isEnabled());
        QCOMPARE(c().LabScanvfo->text(), u"14.200"_s);
        settle();
        c().Av_Pas->click();
        scanner().Scan_Timer_Timer();
        QCOMPARE(tunedKHz(), QList<double> {14015}); // the scanner's own position, not the clicked one
    }

    // The operator takes the radio while a tick yields, on the tick that reaches the arrival with "Continu" ticked:
    // the tick neither steps, nor tunes, nor restarts the timer just stopped.
    void operatorTakesOverDuringATick_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QList<double>>("tuned");
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("position");
        QTest::newRow("pause") << u"Pause_Trace"_s << QList<double>{} << false << 14005;
        QTest::newRow("stop") << u"Arret_Trace"_s << QList<double>{} << false << 14000;
        QTest::newRow("scan list") << u"Scan_List"_s << QList<double>{14200} << false << 14005;
        QTest::newRow("memo list") << u"List_memo"_s << QList<double>{7050} << true << 14005;
    }
    void operatorTakesOverDuringATick()
    {
        QFETCH(QString, control);
        QFETCH(QList<double>, tuned);
        QFETCH(bool, running);
        QFETCH(int, position);
        setRange(u"14000"_s, u"14010"_s, u"5"_s);
        c().Check_continu->setChecked(true);
        c().Scan_List->addItem(u"14200"_s);
        c().List_memo->addItem(u"007.050 LSB"_s);
        c().Av_Pas->click();
        scanner().Scan_Timer_Timer(); // 14005
        settle();
        QTimer::singleShot(0, this, [&] {
            if (auto *list = f->program().window.findChild<QListWidget *>(control)) {
                const QRect item = list->visualItemRect(list->item(0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
            } else {
                f->program().window.findChild<QPushButton *>(control)->click();
            }
        });
        scanner().Scan_Timer_Timer();
        QCOMPARE(tunedKHz(), tuned);
        QCOMPARE(c().Scan_Timer->isActive(), running);
        QCOMPARE(c().Pause_Trace->isEnabled(), running);
        QCOMPARE(scanner().ScanPos, scanner::FixedDecimal::fromInteger(position));
    }

    void memoList_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("modeCode"); // -1: no mode sent
        QTest::newRow("7.050 LSB") << u"00705000"_s << u"LSB"_s << u"007.050 LSB"_s << QByteArray("00705000") << 0x00;
        QTest::newRow("145.512 FM") << u"14551250"_s << u"FM"_s << u"145.512 FM"_s << QByteArray("14551200") << 0x08;
        QTest::newRow("CWR") << u"01402500"_s << u"CWR"_s << u"014.025 CWR"_s << QByteArray("01402500") << 0x03;
        QTest::newRow("CW") << u"01402500"_s << u"CW"_s << u"014.025 CW"_s << QByteArray("01402500") << 0x02;
        QTest::newRow("CW(N) has no mode button")
            << u"01402500"_s << u"CW(N)"_s << u"014.025 CW(N)"_s << QByteArray("01402500") << -1;
    }
    void memoList()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, mode);
        QFETCH(QString, item);
        QFETCH(QByteArray, sent);
        QFETCH(int, modeCode);
        f->program().frequency.CurrentFreq = frequency;
        f->program().frequency.Charge_Num();
        f->program().frequency.setModeCaption(mode);
        c().Com_memo->click();
        QCOMPARE(c().List_memo->count(), 1);
        QCOMPARE(c().List_memo->item(0)->text(), item);
        f->program().frequency.CurrentFreq = u"14550000"_s;
        f->program().frequency.Charge_Num();
        f->program().frequency.setModeCaption(u"AM"_s);
        settle();
        c().List_memo->setCurrentRow(0);
        f->program().scanLists.List_memo_Click();
        QList<QByteArray> expected {QByteArray::fromHex(sent) + '\x01'};
        if (modeCode >= 0)
            expected << PanelFixture::frame({modeCode, 0, 0, 0, 0x07});
        QCOMPARE(f->frames().mid(int(m_mark)), expected);
        QCOMPARE(c().L_mode->text(), modeCode >= 0 ? mode : u"AM"_s);
        c().Com_clr->click();
        QCOMPARE(c().List_memo->count(), 0);
    }
};

QTEST_MAIN(TestRangeScanner)
#include "tst_rangescanner.moc"
