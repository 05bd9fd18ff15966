// Tuning on the panel against the emulator: the bytes the radio receives for steps, direct entry, band and mode
// buttons, the second VFO and the repeater shift.

#include "panelfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
QByteArray setFrequency(const char *eightDigits)
{
    return QByteArray::fromHex(eightDigits) + '\x01';
}
} // namespace

class TestTuning : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PanelFixture> f;
    std::size_t m_mark = 0;

    // Link on with the poll paused, so that only the frames of the action under test reach the radio. A send
    // returns once its frame has crossed the line, so what an action sent is in the radio's log when it returns.
    void switchOnQuiet()
    {
        QVERIFY(f->switchOn());
        f->c().Timer1->stop();
        m_mark = f->frames().size();
    }
    QList<QByteArray> sentSinceMark() { return f->frames().mid(int(m_mark)); }
    void tuneTo(const QString &tenHz)
    {
        f->program().frequency.CurrentFreq = tenHz;
        f->program().frequency.Charge_Num();
        m_mark = f->frames().size();
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
        switchOnQuiet();
    }
    void cleanup() { f.reset(); }

    void stepButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("amateur");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("plus 10 Hz") << u"Com_ph"_s << true << u"14550000"_s << u"14550001"_s;
        QTest::newRow("minus 100 kHz at the bottom") << u"Com_mkkk"_s << false << u"00010000"_s << u"00010000"_s;
        QTest::newRow("plus 1 MHz wraps in 2 m") << u"Com_pm"_s << true << u"14550000"_s << u"14400000"_s;
        QTest::newRow("minus 1 MHz below zero") << u"Com_mm"_s << false << u"00095000"_s << u"00010000"_s;
        QTest::newRow("plus 10 MHz over 76 MHz") << u"Com_pmm"_s << false << u"07000000"_s << u"10800000"_s;
    }
    void stepButtons()
    {
        QFETCH(QString, button);
        QFETCH(bool, amateur);
        QFETCH(QString, from);
        QFETCH(QString, to);
        f->program().frequency.AmateurOnly = amateur;
        tuneTo(from);
        auto *b = f->program().window.findChild<QToolButton *>(button);
        QVERIFY(b && b->isVisible());
        b->click();
        QCOMPARE(sentSinceMark(), QList<QByteArray> {setFrequency(to.toLatin1())});
        QCOMPARE(f->shownDigits(), to);
    }

    void wheelOverADigitStepsIt()
    {
        QWheelEvent up(
            QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f->c().Lab_kk, &up);
        QWheelEvent down(
            QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f->c().Lab_h, &down);
        QCOMPARE(sentSinceMark(),
            (QList<QByteArray> {setFrequency("14551000"), setFrequency("14550999"), setFrequency("14550998")}));
        // The 100 MHz digit has no step buttons, and a step the limits hide is not reachable by the wheel.
        f->program().bandMode.Com_430_Click();
        m_mark = f->frames().size();
        QCoreApplication::sendEvent(f->c().Lab_mmm, &up);
        QCoreApplication::sendEvent(f->c().Lab_mm, &up);
        QCOMPARE(sentSinceMark(), QList<QByteArray>());
    }

    void directEntry_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sent"); // empty: nothing goes out
        QTest::newRow("longest entry") << u"fr_FR"_s << u"999999"_s << u"99999900"_s;
        QTest::newRow("French fraction") << u"fr_FR"_s << u"7050,5"_s << u"00705050"_s;
        QTest::newRow("English fraction") << u"en_US"_s << u"7050.5"_s << u"00705050"_s;
        QTest::newRow("empty") << u"fr_FR"_s << QString() << QString();
        QTest::newRow("point in French") << u"fr_FR"_s << u"145.5"_s << QString();
    }
    void directEntry()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, sent);
        QLocale::setDefault(QLocale(locale));
        f->program().frequency.AmateurOnly = false;
        f->c().TextVfo1->setText(text);
        f->c().ComVfo1->click();
        QLocale::setDefault(QLocale::system());
        if (sent.isEmpty()) {
            QCOMPARE(sentSinceMark(), QList<QByteArray>());
            QCOMPARE(f->program().frequency.CurrentFreq, u"14550000"_s);
        } else {
            QCOMPARE(sentSinceMark(), QList<QByteArray> {setFrequency(sent.toLatin1())});
        }
        QVERIFY(f->messages.isEmpty());
    }

    void entryKeys()
    {
        f->c().TextVfo1->clear();
        f->c().TextVfo1->setFocus();
        QTest::keyClicks(f->c().TextVfo1, u"14.5,"_s);
        QCOMPARE(f->messages.size(), 2);
        for (const auto &m : f->messages) {
            QCOMPARE(m.text, u"Erreur : Entrer la fréquence sans point ni virgule."_s);
            QCOMPARE(m.icon, ui::MsgIcon::Error);
        }
        QCOMPARE(f->c().TextVfo1->text(), u"14.5,"_s); // the keys still went in
        f->c().TextVfo1->setText(u"7050"_s);
        QTest::keyClick(f->c().TextVfo1, Qt::Key_Return);
        QCOMPARE(sentSinceMark(), QList<QByteArray> {setFrequency("00705000")});
    }

    void bandButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("frequency");
        QTest::addColumn<int>("modeCode");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("scanner");
        QTest::addColumn<QStringList>("visibleSteps");
        const QStringList small = {
            u"Com_ph"_s, u"Com_mh"_s, u"Com_phh"_s, u"Com_mhh"_s, u"Com_pk"_s, u"Com_mk"_s, u"Com_pkk"_s, u"Com_mkk"_s};
        QTest::newRow("14") << u"Com_14"_s << QByteArray("01420000") << 0x01 << u"USB"_s
                            << QStringList {u"14000"_s, u"14350"_s, u"5"_s}
                            << small + QStringList {u"Com_pkkk"_s, u"Com_mkkk"_s};
        QTest::newRow("430") << u"Com_430"_s << QByteArray("43342500") << 0x08 << u"FM"_s
                             << QStringList {u"430000"_s, u"440000"_s, u"50"_s}
                             << small + QStringList {u"Com_pkkk"_s, u"Com_mkkk"_s, u"Com_pm"_s, u"Com_mm"_s};
        QTest::newRow("1.8") << u"Com_18"_s << QByteArray("00182500") << 0x00 << u"LSB"_s
                             << QStringList {u"1810"_s, u"1850"_s, u"1"_s} << small;
    }
    void bandButtons()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, frequency);
        QFETCH(int, modeCode);
        QFETCH(QString, mode);
        QFETCH(QStringList, scanner);
        QFETCH(QStringList, visibleSteps);
        f->c().LabScanvfo->setText(u"144.025"_s);
        f->program().window.findChild<QPushButton *>(button)->click();
        QCOMPARE(sentSinceMark(),
            (QList<QByteArray> {setFrequency(frequency), PanelFixture::frame({modeCode, 0, 0, 0, 0x07})}));
        QCOMPARE(f->c().Textdep->text(), scanner[0]);
        QCOMPARE(f->c().Textariv->text(), scanner[1]);
        QCOMPARE(f->c().Combo_pas->currentText(), scanner[2]);
        QCOMPARE(f->c().L_mode->text(), mode);
        QCOMPARE(f->c().LabScanMode->text(), mode);
        QVERIFY(f->c().LabScanvfo->text().isEmpty());
        QStringList visible;
        for (QToolButton *b : f->c().Frame1->findChildren<QToolButton *>(QRegularExpression(u"^Com_"_s))) {
            if (b->isVisibleTo(f->c().Frame1))
                visible << b->objectName();
        }
        visible.sort();
        visibleSteps.sort();
        QCOMPARE(visible, visibleSteps);
    }

    void modeButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("code");
        QTest::newRow("LSB") << u"Com_LSB"_s << 0x00;
        QTest::newRow("USB") << u"Com_USB"_s << 0x01;
        QTest::newRow("CW") << u"Com_CW"_s << 0x02;
        QTest::newRow("CWR") << u"Com_CWR"_s << 0x03;
        QTest::newRow("AM") << u"Com_AM"_s << 0x04;
        QTest::newRow("FM") << u"Com_FM"_s << 0x08;
    }
    void modeButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, code);
        const bool pausesPoll = code == 0x00 || code == 0x04;
        f->c().Timer1->start();
        bool timerRanDuringSend = false;
        QTimer::singleShot(0, f->c().Com_FM, [&] { timerRanDuringSend = f->c().Timer1->isActive(); });
        f->program().window.findChild<QPushButton *>(button)->click();
        QCOMPARE(timerRanDuringSend, !pausesPoll);
        QVERIFY(f->c().Timer1->isActive());
        f->c().Timer1->stop();
        QVERIFY(sentSinceMark().contains(PanelFixture::frame({code, 0, 0, 0, 0x07})));
        QCOMPARE(f->c().L_mode->text(), button.mid(4));
        QCOMPARE(f->c().LabScanMode->text(), button.mid(4));
    }

    void repeaterShift_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QStringList>("vfo2");
        QTest::newRow("2 m") << u"14560000"_s
                             << QStringList {u"145.000.00"_s, u"146.200.00"_s, u"145.600.00"_s, u"145.000.00"_s};
        QTest::newRow("70 cm") << u"43342500"_s
                               << QStringList {u"431.825.00"_s, u"435.025.00"_s, u"433.425.00"_s, u"431.825.00"_s};
        QTest::newRow("20 m: no offset shown")
            << u"01420000"_s << QStringList {u"145.500.00"_s, u"145.500.00"_s, u"14.200.00"_s, u"14.200.00"_s};
    }
    void repeaterShift()
    {
        QFETCH(QString, frequency);
        QFETCH(QStringList, vfo2);
        tuneTo(frequency);
        const QStringList captions = {u"Shift -"_s, u"Shift +"_s, u"Simplex"_s, u"Shift -"_s};
        const QList<int> codes = {0x09, 0x49, 0x89, 0x09};
        for (int i = 0; i < 4; ++i) {
            f->c().Com_shift->click();
            QCOMPARE(f->c().Com_shift->text(), captions[i]);
            QCOMPARE(f->c().LabVFO2->text(), vfo2[i]);
            const bool simplex = codes[i] == 0x89;
            QCOMPARE(f->c().LabTRX1->text(), simplex ? u"RXTX"_s : u"RX"_s);
            QCOMPARE(f->c().LabTRX2->isVisibleTo(f->c().Frame1), !simplex);
            if (!simplex)
                QCOMPARE(f->c().LabTRX2->text(), u"TX"_s);
        }
        QList<QByteArray> expected;
        for (int code : codes)
            expected << PanelFixture::frame({code, 0, 0, 0, 0x09});
        QCOMPARE(sentSinceMark(), expected);
        QCOMPARE(f->program().frequency.CurrentFreq, frequency); // the radio applies its own offset
    }

    void swapWithTheSecondVfo_data()
    {
        QTest::addColumn<QString>("vfo2");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("vfo2After");
        QTest::newRow("tens of Hz dropped")
            << u"145.512.34"_s << u"14550000"_s << QByteArray("14551200") << u"145.500.00"_s;
        QTest::newRow("to 70 cm") << u"433.425.00"_s << u"14550000"_s << QByteArray("43342500") << u"145.500.00"_s;
    }
    void swapWithTheSecondVfo()
    {
        QFETCH(QString, vfo2);
        QFETCH(QString, main);
        QFETCH(QByteArray, sent);
        QFETCH(QString, vfo2After);
        tuneTo(main);
        f->c().LabVFO2->setText(vfo2);
        f->c().Com_AB->click();
        QCOMPARE(sentSinceMark(), QList<QByteArray> {setFrequency(sent)});
        QCOMPARE(f->c().LabVFO2->text(), vfo2After);
    }

    void rangeButtonTogglesBandsAndLimits()
    {
        QCOMPARE(f->c().Com_libre->text(), u"Fréquence Amateur"_s);
        f->c().Com_libre->click();
        QCOMPARE(f->c().Com_libre->text(), u"Fréquence totale"_s);
        QVERIFY(!f->program().frequency.AmateurOnly);
        QVERIFY(!f->c().Com_14->isEnabled());
        QCOMPARE(sentSinceMark(), QList<QByteArray>()); // the click itself sends nothing
        f->c().Com_libre->click();
        QVERIFY(f->program().frequency.AmateurOnly);
        QVERIFY(f->c().Com_14->isEnabled());
    }
};

QTEST_MAIN(TestTuning)
#include "tst_tuning.moc"
