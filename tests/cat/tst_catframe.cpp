// The pure CAT pieces: frequencies packed into and read from BCD, mode names, and the line settings text.

#include "../sim/tst_rigctl.h"
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

    // The speed and framing of the port; a text that does not give them all is refused (speed 0).
    void lineSettings()
    {
        for (const auto &[text, baud, stopBits] : {std::tuple {"57600,n,8,2", 57600, 2}, {"9600,N,8,1", 9600, 1},
                 {"", 0, 0}, {"fast,n,8,2", 0, 0}, {"4800,x,8,2", 0, 0}, {"4800,n,9,2", 0, 0}, {"4800,n,8,3", 0, 0}}) {
            const auto parsed = LineSettings::parse(QString::fromLatin1(text));
            QCOMPARE((std::tuple {QByteArray(text), parsed ? parsed->baud : 0, parsed ? parsed->stopBits : 0}),
                (std::tuple {QByteArray(text), baud, stopBits}));
        }
    }
};

ORVANE_TEST_MAIN(TestCatFrame, TestCatLink, TestRigctl)
#include "tst_catframe.moc"
