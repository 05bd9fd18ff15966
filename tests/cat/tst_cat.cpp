// The pure CAT pieces: frequencies packed into and read from BCD, mode names, and the line settings text.

#include "catframe.h"
#include "linesettings.h"
#include "testmain.h"
#include "tst_catlink.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCatFrame : public QObject
{
    Q_OBJECT

private slots:
    // Frequencies go out two digits a byte, most significant first, and are read back as the panel's eight digits;
    // bytes that are not all decimal digits, or too few, are no frequency (-1).
    void bcd()
    {
        for (const auto &[hex, tenHz] : {std::pair {"14550000", 14550000}, {"01425000", 1425000},
                 {"99999999", 99999999}, {"1455A000", -1}, {"1455000B", -1}, {"1455", -1}}) {
            const QByteArray bytes = QByteArray::fromHex(hex);
            QCOMPARE(
                (std::pair {QByteArray(hex), cat::isBcdFrequency(bytes)}), (std::pair {QByteArray(hex), tenHz >= 0}));
            if (tenHz < 0)
                continue;
            const auto packed = cat::packBcd(tenHz);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(packed.data()), 4), bytes);
            QCOMPARE(cat::replyFrequencyText(bytes), QString::fromLatin1(hex));
        }
    }

    // A mode the radio reports that the panel does not know is shown as such; every name shown names its code.
    void modeNames()
    {
        QCOMPARE(cat::modeName(0x52), u"???"_s);
        for (int code = 0; code < 256; ++code)
            QVERIFY(cat::modeName(code) == u"???" || cat::modeNamed(cat::modeName(code))->code == code);
    }

    // The speed and framing of the port, and a byte's time on the line; a text that does not give them all is
    // refused.
    void lineSettings_data()
    {
        using enum LineSettings::StopBits;
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<qint64>("byteNs"); // start, data, parity and stop bits; 1.5 stop bits count as 2
        QTest::newRow("two stop bits") << u"57600,n,8,2"_s << 57600 << int(Two) << 190972LL;
        QTest::newRow("capital parity") << u"9600,N,8,1"_s << 9600 << int(One) << 1041666LL;
        QTest::newRow("one and a half") << u"4800,e,7,1.5"_s << 4800 << int(OneAndHalf) << 2291666LL;
        for (const char *refused : {"", "fast,n,8,2", "4800,x,8,2", "4800,n,9,2", "4800,n,8,3"})
            QTest::newRow(refused) << QString::fromLatin1(refused) << 0 << 0 << 0LL;
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
