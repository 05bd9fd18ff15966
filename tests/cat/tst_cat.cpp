// The pure CAT pieces (frequencies packed into and read from BCD, mode names, the line settings text), and the CAT
// routines over the real serial stack.

#include "catframe.h"
#include "catlink.h"
#include "linesettings.h"
#include "panelfixture.h"
#include "testmain.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The CAT routines over the real serial stack: the program's Qt SerialPort on a pseudo-terminal, the FT-847
// emulator on the other end.
class TestCatLink : public QObject
{
    Q_OBJECT

private slots:
    // A reply read whole at the slowest speed a hand-edited setting.ini can hold, where it cannot come for more than
    // a second: the wait rests that long between looks without being cut short.
    void replyAt50Baud()
    {
        PanelFixture f;
        QVERIFY(f.start(50, {}, PanelFixture::Line::Pty) && f.switchOn());
        f.c().Timer1->stop(); // the routines are called by hand
        CatLink &link = f.program().link;
        link.WaitCount = CatLink::kWaitLimit - 1000; // what the last reply left does not count against this one
        link.Efface_Param();
        link.Envoi_Cmd(cat::OpReadReceiverStatus);
        QVERIFY(link.Lit_Reponse(1));
        QCOMPARE(link.CatReply, QByteArray::fromHex("80"));
        QVERIFY(link.WaitCount == 0 && f.messages.isEmpty() && f.programEnds.isEmpty());
    }
};

class TestCatFrame : public QObject
{
    Q_OBJECT

private slots:
    // Frequencies go out two digits a byte, most significant first, and are read back as the panel's eight digits;
    // bytes that are not all decimal digits, or too few, are no frequency (-1).
    void bcd_data()
    {
        orvanetest::table<QByteArray, int>({"hex", "tenHz"},
            {{"14550000", 14550000}, {"01425000", 1425000}, {"99999999", 99999999}, {"1455A000", -1}, {"1455000B", -1},
                {"1455", -1}});
    }
    void bcd()
    {
        QFETCH(QByteArray, hex);
        QFETCH(int, tenHz);
        const QByteArray bytes = QByteArray::fromHex(hex);
        QCOMPARE(cat::isBcdFrequency(bytes), tenHz >= 0);
        if (tenHz < 0)
            return;
        const auto packed = cat::packBcd(tenHz);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(packed.data()), 4), bytes);
        QCOMPARE(cat::replyFrequencyText(bytes), QString::fromLatin1(hex));
    }

    // A mode the radio reports that the panel does not know is shown as such; every name shown names its code.
    void modeNames()
    {
        QCOMPARE(cat::modeName(0x52), u"???"_s);
        for (int code = 0; code < 256; ++code)
            QVERIFY(cat::modeName(code) == u"???" || cat::modeNamed(cat::modeName(code))->code == code);
    }

    // The speed and framing of the port, and a byte's time on the line (start, data, parity and stop bits; 1.5 stop
    // bits count as 2); a text that does not give them all is refused.
    void lineSettings_data()
    {
        using enum LineSettings::StopBits;
        orvanetest::table<QString, int, int, qint64>({"text", "baud", "stopBits", "byteNs"},
            {{u"57600,n,8,2"_s, 57600, int(Two), 190972}, {u"9600,N,8,1"_s, 9600, int(One), 1041666},
                {u"4800,e,7,1.5"_s, 4800, int(OneAndHalf), 2291666}, {u""_s, 0, 0, 0}, {u"fast,n,8,2"_s, 0, 0, 0},
                {u"4800,x,8,2"_s, 0, 0, 0}, {u"4800,n,9,2"_s, 0, 0, 0}, {u"4800,n,8,3"_s, 0, 0, 0}});
    }
    void lineSettings()
    {
        QFETCH(QString, text);
        const auto parsed = LineSettings::parse(text);
        QTEST(parsed ? parsed->baud : 0, "baud");
        QTEST(parsed ? int(parsed->stopBits) : 0, "stopBits");
        QTEST(parsed ? qint64(parsed->byteTime().count()) : 0LL, "byteNs");
    }
};

ORVANE_TEST_MAIN(TestCatFrame, TestCatLink)
#include "tst_cat.moc"
