// The pure CAT pieces: frequencies packed into and read from BCD, and the line settings text.

#include "catframe.h"
#include "linesettings.h"
#include "testmain.h"

#include <QTest>

class TestCatFrame : public QObject
{
    Q_OBJECT

private slots:
    // Frequencies go out two digits a byte, most significant first, and are read back as the panel's eight digits;
    // bytes that are not all decimal digits, or too few, are no frequency.
    void bcd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint32>("tenHz"); // -1: not a frequency
        QTest::newRow("145.500.00") << QByteArray("\x14\x55\x00\x00", 4) << 14550000;
        QTest::newRow("fewer than eight digits") << QByteArray("\x01\x42\x50\x00", 4) << 1425000;
        QTest::newRow("largest") << QByteArray("\x99\x99\x99\x99", 4) << 99999999;
        QTest::newRow("high nibble a letter") << QByteArray("\x14\x55\xA0\x00", 4) << -1;
        QTest::newRow("low nibble a letter") << QByteArray("\x14\x55\x00\x0B", 4) << -1;
        QTest::newRow("short reply") << QByteArray("\x14\x55", 2) << -1;
    }
    void bcd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint32, tenHz);
        QCOMPARE(cat::isBcdFrequency(bytes), tenHz >= 0);
        if (tenHz < 0)
            return;
        const auto packed = cat::packBcd(tenHz);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(packed.data()), 4), bytes);
        QCOMPARE(cat::replyFrequencyText(bytes), QStringLiteral("%1").arg(tenHz, 8, 10, QLatin1Char('0')));
    }

    // A mode the radio reports that the panel does not know is shown as such.
    void unknownMode() { QCOMPARE(cat::modeName(0x52), QStringLiteral("???")); }

    // The speed and framing of the port; a text that does not give them all is refused.
    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("baud"); // 0: refused
        QTest::addColumn<int>("stopBits");
        QTest::newRow("57600") << QStringLiteral("57600,n,8,2") << 57600 << 2;
        QTest::newRow("upper-case parity, one stop bit") << QStringLiteral("9600,N,8,1") << 9600 << 1;
        QTest::newRow("empty") << QString() << 0 << 0;
        QTest::newRow("speed not a number") << QStringLiteral("fast,n,8,2") << 0 << 0;
        QTest::newRow("unknown parity") << QStringLiteral("4800,x,8,2") << 0 << 0;
        QTest::newRow("nine data bits") << QStringLiteral("4800,n,9,2") << 0 << 0;
        QTest::newRow("three stop bits") << QStringLiteral("4800,n,8,3") << 0 << 0;
    }
    void lineSettings()
    {
        QFETCH(QString, text);
        const auto parsed = LineSettings::parse(text);
        QTEST(parsed ? parsed->baud : 0, "baud");
        QTEST(parsed ? parsed->stopBits : 0, "stopBits");
    }
};

ORVANE_TEST_MAIN(TestCatFrame)
#include "tst_catframe.moc"
