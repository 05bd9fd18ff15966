// Frequency limits and texts, typed numbers; tuning on the panel against the radio.

#include "freqlimits.h"
#include "freqtext.h"
#include "localenumber.h"
#include "panelscenario.h"
#include "testmain.h"

#include <QTest>

using namespace frequency;
using namespace Qt::StringLiterals;

// The frequency's pure core: the two limit routines, the texts CurrentFreq and the second VFO take, the exact
// reading of typed numbers.
class TestFrequencyCore : public QObject
{
    Q_OBJECT

    static constexpr qint64 No = std::numeric_limits<qint64>::min(); // unreadable: nothing is tuned

private slots:
    // Both sides of every jump, stop and class boundary of the whole range. (The amateur bands' edges are the
    // tuning scenarios'.)
    void limits_data()
    {
        orvanetest::table<qint64, qint64>({"entry", "value"},
            {{7600001, 10800000}, {7600000, 7600000}, {8800000, 10800000}, {10799999, 7600000}, {10800000, 10800000},
                {9000000, 7600000}, {17400001, 42000000}, {17400000, 17400000}, {18600000, 42000000},
                {41999999, 17400000}, {42000000, 42000000}, {41000000, 17400000}, {51200001, 51200000},
                {52200000, 51200000}, {51200000, 51200000}, {9999, 10000}, {-5000, 10000}, {8800001, 8800001},
                {52200001, 52200001}});
    }
    void limits()
    {
        QFETCH(qint64, entry);
        QTEST(freq_limit(entry).value, "value");
    }

    // The step buttons and leading digits hidden below 10 MHz and 1 MHz; a frequency in no window is kept as it is,
    // with no leading zeros to hide.
    void hiddenDigits_data()
    {
        using enum StepButton;
        const qint64 ten = StepButtons {Com_pmm, Com_mmm}.toInt();
        orvanetest::table<qint64, qint64, int>({"entry", "hidden", "lead"},
            {{999998, ten, 2}, {999999, 0, 2}, {1000000, 0, 1}, {10800000, 0, 0}, {100990000, 0, 0}});
    }
    void hiddenDigits()
    {
        QFETCH(qint64, entry);
        const LimitResult r = freq_limit(entry);
        QTEST(qint64(r.hidden.toInt()), "hidden");
        QTEST(r.hideLabMmm + r.hideLabMm, "lead");
    }
    void inNoWindow()
    {
        QCOMPARE(freq_limite_bande(-90000).value, -90000);
        QVERIFY(!freq_limite_bande(-90000).hideLabMmm);
    }

    // CurrentFreq as the eight digits sent: blanks and sign read, half rounds up, below zero gives zero, beyond eight
    // digits (or 64 bits) the highest; what is no number sends nothing (empty).
    void currentFreq_data()
    {
        orvanetest::table<QString, QString>({"text", "digits"},
            {{u" +1420000 "_s, u"01420000"_s}, {u"-90000"_s, u"00000000"_s}, {u"100990000"_s, u"99999999"_s},
                {u"123456789012345678901234"_s, u"99999999"_s}, {u"-123456789012345678901234"_s, u"00000000"_s},
                {u"14550050.5"_s, u"14550051"_s}, {u"14550050.4999"_s, u"14550050"_s}, {u"99999999.5"_s, u"99999999"_s},
                {QString(), QString()}, {u"14550000,5"_s, QString()}});
    }
    void currentFreq()
    {
        QFETCH(QString, text);
        const std::optional<qint64> value = normaliseFreq(text);
        QTEST(value ? eightDigitText(*value) : QString(), "digits");
    }

    // The second VFO's caption in the BASIC "#" pattern: below 100 kHz the pattern loses the kHz zeros.
    void secondVfo_data()
    {
        orvanetest::table<qint64, QString>({"tenHz", "caption"},
            {{14551234, u"145.512.34"_s}, {705000, u"7.050.00"_s}, {1000, u".10.00"_s}, {5, u"..5"_s}, {0, u".."_s},
                {123456789, u"1234.567.89"_s}, {-5, u"-..5"_s}});
    }
    void secondVfo()
    {
        QFETCH(qint64, tenHz);
        QTEST(vfoDisplayText(tenHz), "caption");
    }

    // Typed numbers in the locale (its decimal separator only: no group marks, no exponent), scaled to whole units
    // rounding half away from zero.
    void numbers_data()
    {
        const QLocale fr(QLocale::French, QLocale::France), de(QLocale::German, QLocale::Germany), c = QLocale::c();
        orvanetest::table<QLocale, QByteArray, int, qint64>({"locale", "text", "decimals", "expected"},
            {{fr, "999999", 2, 99999900}, {fr, "145500,005", 2, 14550001}, {fr, "145500,0049", 2, 14550000},
                {fr, ",5", 2, 50}, {fr, "5,", 2, 500}, {fr, " +12 ", 2, 1200}, {fr, "-1", 2, -100},
                {c, "145500.5", 2, 14550050}, {de, "12,5", 2, 1250}, {fr, "   ", 2, No}, {fr, "145k", 2, No},
                {fr, "145.5", 2, No}, {fr, ",", 2, No}, {fr, "1,2,3", 2, No}, {fr, "145\u202f500", 2, No},
                {de, "12.5", 2, No}, {c, "1e3", 2, No}, {c, "99999999999999999999", 2, No}, {c, "-2.5", 0, -3},
                {c, "0.0005", 2, 0}, {c, "000144000", 4, 1440000000},
                {c, "9223372036854775807", 0, std::numeric_limits<qint64>::max()},
                {c, "9223372036854775807.5", 0, No}});
    }
    void numbers()
    {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, text);
        QFETCH(int, decimals);
        QFETCH(qint64, expected);
        const QString in = QString::fromUtf8(text);
        const auto number = ExactDecimal::fromText(in, locale);
        QCOMPARE(number ? number->scaled(decimals).value_or(No) : No, expected);
        QVERIFY(decimals != 2 || kHzTextToTenHz(in, locale).value_or(No) == expected);
        QVERIFY(!number || expected == No || number->isNegative() == (expected < 0));
    }

    // The program's own captions: the number they start with, whatever follows.
    void captionPrefix_data()
    {
        orvanetest::table<QByteArray, qint64>(
            {"text", "expected"}, {{"145.500 FM", 145500}, {" -7.05x", -7050}, {"+.5", 500}, {"-", 0}, {" ", 0}});
    }
    void captionPrefix()
    {
        QFETCH(QByteArray, text);
        QTEST(ExactDecimal::valPrefix(QString::fromLatin1(text)).scaled(3).value_or(No), "expected");
    }
};

// Tuning on the panel: steps, the wheel, direct entry, band and mode buttons, the second VFO, the repeater shift
// and the range button; what the radio receives and what the panel shows.
class TestTuning : public PanelScenario
{
    Q_OBJECT

    void rows() override
    {
        const char *refused = "messages=Erreur : Entrer la fréquence sans point ni virgule.";
        // Steps wrap round within an amateur band, jump the gaps of the whole coverage and stop at its ends; the
        // wheel steps a digit where its step buttons are offered. "Com_libre" chooses the whole coverage.
        row("plus 10 Hz", "CurrentFreq=14550000;Com_ph", "1455000101");
        row("plus 1 MHz wraps in 2 m", "CurrentFreq=14550000;Com_pm", "1440000001");
        row("minus 100 kHz at the bottom", "Com_libre;CurrentFreq=00010000;Com_mkkk", "0001000001",
            "Com_libre=Fréquence totale|Com_14.enabled=false");
        row("minus 1 MHz below zero", "Com_libre;CurrentFreq=00095000;Com_mm", "0001000001");
        row("plus 10 MHz over 76 MHz, then amateur bands again", "Com_libre;CurrentFreq=07000000;Com_pmm;Com_libre",
            "1080000001", "Com_libre=Fréquence Amateur|Com_14.enabled=true");
        row("wheel", "Lab_kk^1;Lab_h^-2;Com_430;Lab_mmm^1;Lab_mm^1",
            "1455100001 1455099901 1455099801 4334250001 0800000007");
        // Direct entry in kHz, in the locale; a point or a comma typed is refused with a message, yet typed.
        row("longest entry", "TextVfo1=999999;ComVfo1", "9999990001");
        row("English fraction", "locale=en_US;TextVfo1=7050.5;ComVfo1", "0070505001");
        row("empty entry", "TextVfo1=;ComVfo1", "");
        row("point in French", "TextVfo1=145.5;ComVfo1", "");
        row("comma typed, Enter sends", "TextVfo1=;TextVfo1<7050,5\r", "0070505001", refused);
        row("point typed", "TextVfo1=;TextVfo1<1.", "", refused + "|TextVfo1=1."_ba);
        row("comma pasted", "clipboard=7050,5;TextVfo1=;TextVfo1+Ctrl+V", "", refused + "|TextVfo1=7050,5"_ba);
        row("comma composed", "TextVfo1=;TextVfo1%7050,5", "", refused + "|TextVfo1=7050,5"_ba);
        // A band button tunes its band's frequency and mode, and fills the scanner's fields.
        row("band 14", "LabScanvfo=144.025;Com_14", "0142000001 0100000007",
            "Textdep=14000|Textariv=14350|Combo_pas=5|L_mode=USB|LabScanMode=USB|LabScanvfo=|Com_pm.visible=false|"
            "Com_pkkk.visible=true");
        row("band 430", "Com_430", "4334250001 0800000007", "Textdep=430000|Combo_pas=50|Com_pmm.visible=false");
        row("band 1.8", "Com_18", "0018250001 0000000007", "Textariv=1850|L_mode=LSB|Com_mkkk.visible=false");
        row("modes", "Com_USB;Com_CW;Com_CWR;Com_AM;Com_LSB", "0100000007 0200000007 0300000007 0400000007 0000000007",
            "L_mode=LSB|LabScanMode=LSB");
        row("FM", "Com_FM", "0800000007", "L_mode=FM");
        // The swap takes the second VFO to the kHz.
        row("swap", "VFOB=14551234;Com_AB;VFOB=43342500;Com_AB", "1455120001 4334250001", "LabVFO2=145.512.00");
        // The radio applies its own offset; the second VFO shows where it will transmit, in the repeater bands.
        row("2 m shift -", "CurrentFreq=14560000;Com_shift", "0900000009",
            "Com_shift=Shift -|LabVFO2=145.000.00|LabTRX1=RX|LabTRX2=TX");
        row("2 m shift +", "CurrentFreq=14560000;Com_shift*2", "0900000009 4900000009",
            "Com_shift=Shift +|LabVFO2=146.200.00|LabTRX2.visible=true");
        row("2 m simplex", "CurrentFreq=14560000;Com_shift*3", "0900000009 4900000009 8900000009",
            "Com_shift=Simplex|LabVFO2=145.600.00|LabTRX1=RXTX|LabTRX2.visible=false");
        row("shift - again", "Com_shift*4", "0900000009 4900000009 8900000009 0900000009", "Com_shift=Shift -");
        row("70 cm shift -", "CurrentFreq=43342500;Com_shift", "0900000009", "LabVFO2=431.825.00");
        row("70 cm shift +", "CurrentFreq=43342500;Com_shift*2", "0900000009 4900000009", "LabVFO2=435.025.00");
        row("20 m: no offset shown", "CurrentFreq=01420000;Com_shift", "0900000009", "LabVFO2=145.500.00");
    }
};

ORVANE_TEST_MAIN(TestFrequencyCore, TestTuning)
#include "tst_frequency.moc"
