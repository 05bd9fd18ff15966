// The emulator's radio: what each frame changes and what it answers, without a line in between.

#include "ft847model.h"

#include <QTest>

using ft847sim::Ft847Model;
using namespace Qt::StringLiterals;

namespace {

constexpr quint32 NotBcd = 0xFFFFFFFF;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TstFt847Model : public QObject
{
    Q_OBJECT

private slots:
    void bcdFrequency_data()
    {
        QTest::addColumn<QByteArray>("bcd");
        QTest::addColumn<quint32>("tenHz"); // NotBcd: the frame is ignored
        QTest::newRow("145.500 MHz") << hex("14550000") << 14550000u;
        QTest::newRow("14.250 MHz, seven digits") << hex("01425000") << 1425000u;
        QTest::newRow("zero") << hex("00000000") << 0u;
        QTest::newRow("all nines") << hex("99999999") << 99999999u;
        QTest::newRow("every digit") << hex("12345678") << 12345678u;
        QTest::newRow("high nibble A") << hex("A4550000") << NotBcd;
        QTest::newRow("low nibble F") << hex("1455000F") << NotBcd;
        QTest::newRow("middle byte") << hex("14C50000") << NotBcd;
    }
    void bcdFrequency()
    {
        QFETCH(QByteArray, bcd);
        QFETCH(quint32, tenHz);
        quint32 value = 4242;
        QCOMPARE(Ft847Model::fromBcd(bcd, &value), tenHz != NotBcd);
        Ft847Model model;
        model.state().frequency = 7000000;
        QVERIFY(model.handleFrame(bcd + '\x01').isEmpty());
        QCOMPARE(model.state().frequency, tenHz == NotBcd ? 7000000u : tenHz);
        if (tenHz == NotBcd)
            return;
        QCOMPARE(Ft847Model::toBcd(tenHz), bcd);
        // Read back over the frames, with the mode byte.
        QCOMPARE(model.handleFrame(hex("0000000003")), bcd + char(model.state().mode));
    }

    void setMode_data()
    {
        QTest::addColumn<quint8>("code");
        QTest::addColumn<bool>("accepted");
        for (const quint8 code : {0x00, 0x01, 0x02, 0x03, 0x04, 0x08, 0x82, 0x83, 0x84, 0x88})
            QTest::addRow("mode %02x", code) << code << true;
        for (const quint8 code : {0x05, 0x06, 0x52, 0x80, 0x81, 0xFF})
            QTest::addRow("not a mode %02x", code) << code << false;
    }
    void setMode()
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

    void receiverStatus_data()
    {
        QTest::addColumn<int>("sMeter");
        QTest::addColumn<bool>("squelchOpen");
        QTest::addColumn<bool>("ptt");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("busy, S 17") << 17 << true << false << hex("11");
        QTest::newRow("squelch closed, S 17") << 17 << false << false << hex("91");
        QTest::newRow("closed, full scale") << 31 << false << false << hex("9F");
        QTest::newRow("reading clipped to five bits") << 40 << true << false << hex("1F");
        QTest::newRow("transmitting, busy") << 31 << true << true << hex("A0");
        QTest::newRow("transmitting, closed") << 5 << false << true << hex("A0");
    }
    void receiverStatus()
    {
        Ft847Model model;
        QFETCH(int, sMeter);
        QFETCH(bool, squelchOpen);
        QFETCH(bool, ptt);
        model.state().sMeter = sMeter;
        model.state().squelchOpen = squelchOpen;
        model.state().ptt = ptt;
        QTEST(model.handleFrame(hex("00000000E7")), "status");
    }

    // Frames applied in order from a fresh radio; the reply of the last one and the state left behind.
    void frameSequences_data()
    {
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QByteArray>("lastReply");
        QTest::addColumn<bool>("catOn");
        QTest::addColumn<bool>("ptt");
        QTest::addColumn<quint8>("shift");
        auto row = [](const char *name, const char *frames, const char *reply, bool catOn, bool ptt, quint8 shift) {
            QTest::newRow(name) << QString::fromLatin1(frames) << hex(reply) << catOn << ptt << shift;
        };
        row("CAT on", "0000000000", "", true, false, 0x89);
        row("CAT off", "0000000000 0000000080", "", false, false, 0x89);
        row("answers while CAT is off", "0000000003", "1455000008", false, false, 0x89);
        row("transmitter idle", "00000000F7", "80", false, false, 0x89);
        row("PTT on", "0000000008 00000000F7", "00", false, true, 0x89);
        row("PTT off as Hamlib sends it", "0000000008 0000000188 00000000F7", "80", false, false, 0x89);
        row("shift minus", "0900000009", "", false, false, 0x09);
        row("shift plus", "4900000009", "", false, false, 0x49);
        row("back to simplex", "4900000009 8900000009", "", false, false, 0x89);
        row("unknown shift kept out", "0900000009 5500000009", "", false, false, 0x09);
        row("unknown opcode", "00000000FF", "", false, false, 0x89);
        row("CTCSS opcode not modelled", "2A0000000A", "", false, false, 0x89);
        row("short frame", "000000E7", "", false, false, 0x89);
    }
    void frameSequences()
    {
        QFETCH(QString, frames);
        Ft847Model model;
        QByteArray reply;
        for (const QString &frame : frames.split(QLatin1Char(' ')))
            reply = model.handleFrame(QByteArray::fromHex(frame.toLatin1()));
        QTEST(reply, "lastReply");
        QTEST(model.state().catOn, "catOn");
        QTEST(model.state().ptt, "ptt");
        QTEST(model.state().repeaterShift, "shift");
    }
};

QTEST_APPLESS_MAIN(TstFt847Model)
#include "tst_ft847model.moc"
