#include "catframe.h"
#include "linesettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCatFrame : public QObject
{
    Q_OBJECT

private slots:
    void packBcd_data()
    {
        QTest::addColumn<qint32>("tenHz");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("145.500.00") << 14550000 << QByteArray("\x14\x55\x00\x00", 4);
        QTest::newRow("fewer than eight digits") << 1425000 << QByteArray("\x01\x42\x50\x00", 4);
        QTest::newRow("zero") << 0 << QByteArray("\x00\x00\x00\x00", 4);
        QTest::newRow("largest") << 99999999 << QByteArray("\x99\x99\x99\x99", 4);
    }
    void packBcd()
    {
        QFETCH(qint32, tenHz);
        QFETCH(QByteArray, bytes);
        const auto packed = cat::packBcd(tenHz);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(packed.data()), 4), bytes);
        QVERIFY(cat::isBcdFrequency(bytes));
        QCOMPARE(cat::replyFrequencyText(bytes), u"%1"_s.arg(tenHz, 8, 10, QLatin1Char('0')));
    }

    void replyText_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bcd");
        QTest::newRow("digits") << QByteArray("\x14\x55\x00\x00\x08", 5) << u"14550000"_s << true;
        QTest::newRow("upper-case hex letters") << QByteArray("\x1A\xFF\x00\x0b\x08", 5) << u"1AFF000B"_s << false;
        QTest::newRow("short reply") << QByteArray("\x14\x55", 2) << u"1455"_s << false;
    }
    void replyText()
    {
        QFETCH(QByteArray, reply);
        QTEST(cat::replyFrequencyText(reply), "text");
        QTEST(cat::isBcdFrequency(reply), "bcd");
    }

    void modeNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        const QList<std::pair<int, QString>> table = {{0x00, u"LSB"_s}, {0x01, u"USB"_s}, {0x02, u"CW"_s},
            {0x03, u"CWR"_s}, {0x04, u"AM"_s}, {0x08, u"FM"_s}, {0x82, u"CW(N)"_s}, {0x83, u"CW(N)-R"_s},
            {0x84, u"AM(N)"_s}, {0x88, u"FM(N)"_s}, {0x52, u"???"_s}, {0x05, u"???"_s}, {0xFF, u"???"_s}};
        for (const auto &[code, name] : table)
            QTest::addRow("0x%02x", code) << code << name;
    }
    void modeNames()
    {
        QFETCH(int, code);
        QTEST(cat::modeName(static_cast<quint8>(code)), "name");
    }

    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("baud"); // 0: refused
        QTest::addColumn<int>("stopBits");
        QTest::newRow("4800") << u"4800,n,8,2"_s << 4800 << 2;
        QTest::newRow("57600") << u"57600,n,8,2"_s << 57600 << 2;
        QTest::newRow("upper-case parity") << u"9600,N,8,1"_s << 9600 << 1;
        QTest::newRow("empty") << QString() << 0 << 0;
        QTest::newRow("speed not a number") << u"fast,n,8,2"_s << 0 << 0;
        QTest::newRow("unknown parity") << u"4800,x,8,2"_s << 0 << 0;
        QTest::newRow("nine data bits") << u"4800,n,9,2"_s << 0 << 0;
        QTest::newRow("three stop bits") << u"4800,n,8,3"_s << 0 << 0;
        QTest::newRow("missing field") << u"4800,n,8"_s << 0 << 0;
    }
    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(int, baud);
        const auto parsed = LineSettings::parse(text);
        QCOMPARE(parsed.has_value(), baud != 0);
        if (parsed) {
            QCOMPARE(parsed->baud, baud);
            QTEST(parsed->stopBits, "stopBits");
            QCOMPARE(parsed->dataBits, 8);
        }
    }
};

QTEST_GUILESS_MAIN(TestCatFrame)
#include "tst_catframe.moc"
