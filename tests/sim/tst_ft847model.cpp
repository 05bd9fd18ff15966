// The emulator's radio: what each frame changes and what it answers, without a line in between.

#include "ft847model.h"

#include <QTest>

using ft847sim::Ft847Model;
using namespace Qt::StringLiterals;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TstFt847Model : public QObject
{
    Q_OBJECT

private slots:
    void bcdRoundTrip_data();
    void bcdRoundTrip();
    void invalidBcdIsIgnored_data();
    void invalidBcdIsIgnored();
    void setMode_data();
    void setMode();
    void receiverStatus_data();
    void receiverStatus();
    void frameSequences_data();
    void frameSequences();
};

void TstFt847Model::bcdRoundTrip_data()
{
    QTest::addColumn<quint32>("tenHz");
    QTest::addColumn<QByteArray>("bcd");
    QTest::newRow("145.500 MHz") << 14550000u << hex("14550000");
    QTest::newRow("14.250 MHz, seven digits") << 1425000u << hex("01425000");
    QTest::newRow("zero") << 0u << hex("00000000");
    QTest::newRow("all nines") << 99999999u << hex("99999999");
    QTest::newRow("every digit") << 12345678u << hex("12345678");
}

void TstFt847Model::bcdRoundTrip()
{
    QFETCH(quint32, tenHz);
    QFETCH(QByteArray, bcd);
    QCOMPARE(Ft847Model::toBcd(tenHz), bcd);

    // Over the frames: set it, then read it back with the mode byte.
    Ft847Model model;
    model.state().frequency = 7000000;
    QVERIFY(model.handleFrame(bcd + '\x01').isEmpty());
    QCOMPARE(model.state().frequency, tenHz);
    QCOMPARE(model.handleFrame(hex("0000000003")), bcd + char(model.state().mode));
}

void TstFt847Model::invalidBcdIsIgnored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("high nibble A") << hex("A4550000");
    QTest::newRow("low nibble F") << hex("1455000F");
    QTest::newRow("middle byte") << hex("14C50000");
}

void TstFt847Model::invalidBcdIsIgnored()
{
    QFETCH(QByteArray, bytes);
    quint32 value = 4242;
    QVERIFY(!Ft847Model::fromBcd(bytes, &value));

    Ft847Model model;
    model.state().frequency = 1425000;
    QVERIFY(model.handleFrame(bytes + '\x01').isEmpty());
    QCOMPARE(model.state().frequency, 1425000u);
}

void TstFt847Model::setMode_data()
{
    QTest::addColumn<quint8>("code");
    QTest::addColumn<bool>("accepted");
    for (const quint8 code : {0x00, 0x01, 0x02, 0x03, 0x04, 0x08, 0x82, 0x83, 0x84, 0x88})
        QTest::addRow("mode %02x", code) << code << true;
    for (const quint8 code : {0x05, 0x06, 0x52, 0x80, 0x81, 0xFF})
        QTest::addRow("not a mode %02x", code) << code << false;
}

void TstFt847Model::setMode()
{
    QFETCH(quint8, code);
    QFETCH(bool, accepted);
    Ft847Model model;
    model.state().mode = 0x01;
    QVERIFY(model.handleFrame(QByteArray(1, char(code)) + hex("00000007")).isEmpty());
    const quint8 expected = accepted ? code : 0x01;
    QCOMPARE(model.state().mode, expected);
    QCOMPARE(quint8(model.handleFrame(hex("0000000003")).at(4)), expected);
}

void TstFt847Model::receiverStatus_data()
{
    QTest::addColumn<int>("sMeter");
    QTest::addColumn<bool>("squelchOpen");
    QTest::addColumn<bool>("ptt");
    QTest::addColumn<quint8>("status");
    QTest::newRow("busy, S 17") << 17 << true << false << quint8(0x11);
    QTest::newRow("squelch closed, S 17") << 17 << false << false << quint8(0x91);
    QTest::newRow("busy, silent") << 0 << true << false << quint8(0x00);
    QTest::newRow("closed, full scale") << 31 << false << false << quint8(0x9F);
    QTest::newRow("reading clipped to five bits") << 40 << true << false << quint8(0x1F);
    QTest::newRow("transmitting, busy") << 31 << true << true << quint8(0xA0);
    QTest::newRow("transmitting, closed") << 5 << false << true << quint8(0xA0);
}

void TstFt847Model::receiverStatus()
{
    QFETCH(int, sMeter);
    QFETCH(bool, squelchOpen);
    QFETCH(bool, ptt);
    QFETCH(quint8, status);
    Ft847Model model;
    model.state().sMeter = sMeter;
    model.state().squelchOpen = squelchOpen;
    model.state().ptt = ptt;
    QCOMPARE(model.handleFrame(hex("00000000E7")), QByteArray(1, char(status)));
}

// Frames applied in order from a fresh radio; the reply of the last one and the state left behind.
void TstFt847Model::frameSequences_data()
{
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QByteArray>("lastReply");
    QTest::addColumn<bool>("catOn");
    QTest::addColumn<bool>("ptt");
    QTest::addColumn<quint8>("shift");

    QTest::newRow("CAT on") << u"0000000000"_s << QByteArray() << true << false << quint8(0x89);
    QTest::newRow("CAT off") << u"0000000000 0000000080"_s << QByteArray() << false << false << quint8(0x89);
    QTest::newRow("answers while CAT is off") << u"0000000003"_s << hex("1455000008") << false << false << quint8(0x89);
    QTest::newRow("transmitter idle") << u"00000000F7"_s << hex("80") << false << false << quint8(0x89);
    QTest::newRow("PTT on") << u"0000000008 00000000F7"_s << hex("00") << false << true << quint8(0x89);
    QTest::newRow("PTT off as Hamlib sends it")
        << u"0000000008 0000000188 00000000F7"_s << hex("80") << false << false << quint8(0x89);
    QTest::newRow("shift minus") << u"0900000009"_s << QByteArray() << false << false << quint8(0x09);
    QTest::newRow("shift plus") << u"4900000009"_s << QByteArray() << false << false << quint8(0x49);
    QTest::newRow("back to simplex") << u"4900000009 8900000009"_s << QByteArray() << false << false << quint8(0x89);
    QTest::newRow("unknown shift kept out")
        << u"0900000009 5500000009"_s << QByteArray() << false << false << quint8(0x09);
    QTest::newRow("unknown opcode") << u"00000000FF"_s << QByteArray() << false << false << quint8(0x89);
    QTest::newRow("CTCSS opcode not modelled") << u"2A0000000A"_s << QByteArray() << false << false << quint8(0x89);
    QTest::newRow("short frame") << u"000000E7"_s << QByteArray() << false << false << quint8(0x89);
}

void TstFt847Model::frameSequences()
{
    QFETCH(QString, frames);
    QFETCH(QByteArray, lastReply);
    QFETCH(bool, catOn);
    QFETCH(bool, ptt);
    QFETCH(quint8, shift);
    Ft847Model model;
    QByteArray reply;
    for (const QString &frame : frames.split(QLatin1Char(' ')))
        reply = model.handleFrame(QByteArray::fromHex(frame.toLatin1()));
    QCOMPARE(reply, lastReply);
    QCOMPARE(model.state().catOn, catOn);
    QCOMPARE(model.state().ptt, ptt);
    QCOMPARE(model.state().repeaterShift, shift);
}

QTEST_APPLESS_MAIN(TstFt847Model)
#include "tst_ft847model.moc"
