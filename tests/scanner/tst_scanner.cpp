// The scanner decimal; the range scanner with its scan and memo lists on the panel.

#include "fixeddecimal.h"
#include "panelscenario.h"
#include "testmain.h"

#include <QTest>

using scanner::FixedDecimal;

// The scanner's fixed-point numbers: typed and shown in the locale, turned into CurrentFreq and timer intervals,
// stepped without drift, and kept from wrapping round.
class TestFixedDecimal : public QObject
{
    Q_OBJECT

    static FixedDecimal fixed(const QByteArray &text)
    {
        return FixedDecimal::fromText(QString::fromLatin1(text), QLocale::c()).value();
    }

private slots:
    // Read in the locale (-1: unreadable) and written back as the scanner writes its fields (the fuzzer reads them
    // again).
    void text_data()
    {
        const QLocale fr(QLocale::French, QLocale::France), c = QLocale::c();
        orvanetest::table<QLocale, QByteArray, qint64, QByteArray>({"locale", "typed", "units", "shown"},
            {{c, "12.5", 125000, "12.5"}, {fr, "12,5", 125000, "12,5"}, {fr, "144025", 1440250000, "144025"},
                {c, "0.0001", 1, "0.0001"}, {c, "7.0500", 70500, "7.05"}, {c, "1.23455", 12346, "1.2346"},
                {c, "1.23454", 12345, "1.2345"}, {c, "-12.5", -125000, "-12.5"}, {c, "0", 0, "0"}, {fr, "", -1, ""},
                {fr, "Buzy", -1, ""}, {c, "922337203685477.5808", -1, ""}});
    }
    void text()
    {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, shown);
        const auto value = FixedDecimal::fromText(QString::fromLatin1(typed), locale);
        QTEST(value ? value->units() : -1, "units");
        QCOMPARE(value ? value->toText(locale) : QString(), QString::fromLatin1(shown));
    }

    // In 10 Hz units, milliseconds and the kHz caption, each rounded half up.
    void conversions_data()
    {
        orvanetest::table<QByteArray, qint64, qint64, QByteArray>({"value", "tenHz", "ms", "kHz"},
            {{"144025", 14402500, 144025000, "144.025"}, {"144012.5", 14401250, 144012500, "144.013"},
                {"144000.005", 14400001, 144000005, "144.000"}, {"0.5", 50, 500, ".1"}, {"0.0005", 0, 1, "."},
                {"-0.0005", 0, -1, "."}, {"1234567", 123456700, 1234567000, "1234.567"}});
    }
    void conversions()
    {
        QFETCH(QByteArray, value);
        QFETCH(qint64, tenHz);
        QFETCH(QByteArray, kHz);
        const FixedDecimal number = fixed(value);
        QCOMPARE(number.timesHundredToTenHz(), tenHz);
        QTEST(number.toMilliseconds(), "ms");
        QCOMPARE(number.timesHundredToTenHzText(), QString::number(tenHz));
        QCOMPARE(number.toPointGroupedText(), QString::fromLatin1(kHz));
        QCOMPARE(number.toCommaGroupedText(), QString::fromLatin1(kHz).replace(u'.', u','));
    }

    // Steps add up to the arrival exactly and come back to the start.
    void steps_data()
    {
        orvanetest::table<QByteArray, QByteArray, QByteArray, int, bool>({"start", "end", "step", "steps", "exact"},
            {{"144000", "144500", "12.5", 40, true}, {"144000", "146000", "0.1", 20000, true},
                {"0", "1", "0.0001", 10000, true}, {"144000", "144001", "0.3", 4, false}});
    }
    void steps()
    {
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, end);
        QFETCH(QByteArray, step);
        FixedDecimal position = fixed(start);
        int taken = 0;
        for (; position < fixed(end); ++taken)
            position += fixed(step);
        QTEST(taken, "steps");
        QTEST(position == fixed(end), "exact");
        for (int i = 0; i < taken; ++i)
            position -= fixed(step);
        QCOMPARE(position.units(), fixed(start).units());
    }

    // Sums and differences stop at the ends of the 64-bit range.
    void saturation_data()
    {
        constexpr qint64 highest = std::numeric_limits<qint64>::max(), lowest = std::numeric_limits<qint64>::min();
        orvanetest::table<qint64, qint64, qint64, qint64>({"a", "b", "sum", "difference"},
            {{1440000000, 9223372036854770000, highest, -9223372035414770000}, {lowest + 5, 10, lowest + 15, lowest},
                {0, lowest, lowest, highest}});
    }
    void saturation()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        const FixedDecimal x = FixedDecimal::fromUnits(a), y = FixedDecimal::fromUnits(b);
        QTEST((x + y).units(), "sum");
        QTEST((x - y).units(), "difference");
    }
};

// The range scanner, the scan list with fine tuning, and the memo list on the panel. Ticks are driven one by one
// ("tick"), the scanner's own timer being set far out, so that every tuned frequency is checked.
class TestRangeScanner : public PanelScenario
{
    Q_OBJECT

    void rows() override
    {
        const QByteArray slow = "Combo_vitesse=9;Combo_pas=5;";
        // Every step up to the arrival is tuned, the arrival is not: back to the start, where the scan stops unless
        // "Continu" is ticked. A busy channel seen on the tick that wraps belongs to the last step tuned.
        row("arrival", slow + "Textariv=144020;Av_Pas;tick*3;SquelchOpen=1;tick",
            "1440050001 1440100001 1440150001 1440000001",
            "Scan_List=144015|Scan_Timer.active=false|Av_Pas.enabled=true|LabScanvfo=144.000");
        row("arrival, continuous",
            slow + "Check_continu;Textariv=144020;Av_Pas;tick*3;SquelchOpen=1;tick;SquelchOpen=0;tick",
            "1440050001 1440100001 1440150001 1440000001 1440050001",
            "Scan_List=144015|Scan_Timer.active=true|Av_Pas.enabled=false|LabScanvfo=144.005");
        // A channel counts when its S-meter reaches the threshold, which then clears the busy flag, or with "Buzy"
        // when the squelch is open; "Squelch" then pauses the scan there. Only what the poll read at a step counts:
        // not a reading from before the scan tuned it (the start, at the first tick).
        row("threshold reached",
            slow + "Combo_Seuil=5;SignalLevel=5;Av_Pas;tick;SignalLevel=5;tick;SignalLevel=4.5;tick",
            "1440050001 1440100001 1440150001", "Scan_List=144005");
        row("a reading from before the step", slow + "Av_Pas;tick;SquelchOpen=1;tick;tick",
            "1440050001 1440100001 1440150001", "Scan_List=144005");
        row("a reading once the radio moved", slow + "Av_Pas;tick;Com_pk;SquelchOpen=1;tick",
            "1440050001 1440060001 1440100001", "Scan_List=");
        row("the radio moved after the reading", slow + "Av_Pas;tick;SquelchOpen=1;Com_pk;tick",
            "1440050001 1440060001 1440100001", "Scan_List=144005");
        row("threshold missed, busy flag cleared",
            slow + "Combo_Seuil=5;SignalLevel=4.5;SquelchOpen=1;Av_Pas;tick;Combo_Seuil>0;tick",
            "1440050001 1440100001", "Scan_List=");
        row("busy pauses", slow + "Check_squelch;Av_Pas;tick;SquelchOpen=1;tick", "1440050001 1440100001",
            "Scan_List=144005|Scan_Timer.active=false|Pause_Trace.enabled=false|Av_Pas.enabled=true");
        row("and goes on", slow + "Check_squelch;Av_Pas;tick;SquelchOpen=1;tick;SquelchOpen=0;Av_Pas;tick",
            "1440050001 1440100001 1440150001", "Scan_Timer.active=true");
        // The speed sets the interval from the next tick; zero or an unreadable speed keeps the last good one.
        row("speed from the list", "Combo_vitesse>0;Av_Pas;Combo_vitesse>2", "", "Scan_Timer.interval=500");
        row("speed at the next tick", "Combo_pas=5;Combo_vitesse>0;Av_Pas;Combo_vitesse>2;tick", "1440050001",
            "Scan_Timer.interval=1500");
        row("speed zero", "Combo_vitesse>2;Av_Pas;Pause_Trace;Combo_vitesse=0;Av_Pas", "", "Scan_Timer.interval=1500");
        row("speed unreadable", "Combo_vitesse>2;Av_Pas;Pause_Trace;Combo_vitesse=vite;Av_Pas", "",
            "Scan_Timer.interval=1500");
        row("start below the arrival", "Textdep=9000;Textariv=14000;Av_Pas", "", "Scan_Timer.active=true");
        row("start at the arrival", "Textdep=14000;Textariv=14000;Av_Pas", "",
            "messages=Erreur: La fréquence de départ et égale ou superieure à la fréquence d'arrivée.|"
            "Scan_Timer.active=false");
        row("no arrival", "Textariv=;Av_Pas", "", "messages=Erreur: Entrer la fréquence d'arrivée.");
        row("no start", "Textdep=;Av_Pas", "", "messages=Erreur: Entrer la fréquence de départ.");
        // Fields that do not read keep the value last understood; "Arrêt" goes back to the last start that read.
        row("unreadable fields",
            "Combo_vitesse=9;Combo_pas=12,5;Av_Pas;Pause_Trace;Textdep=14a;Combo_pas=pas;Av_Pas;tick*2;Arret_Trace",
            "1440125001 1440250001", "ScanPos=144000");
        row("kHz fields take six digits and four decimals",
            "Combo_pas=;Combo_pas<922337203685477,123456;Text_Affine<922337203685477,123456", "",
            "Combo_pas=922337,1234|Text_Affine=922337,1234");
        // A scan list entry clicked tunes it and pauses the scan; the fine steps go from it up to the arrival, where
        // "+" stops; the scan goes on from its own position.
        const QByteArray found = slow + "Textariv=144020;Av_Pas;tick;SquelchOpen=1;tick;SquelchOpen=0;Scan_List@0;";
        row("fine steps up to the arrival", found + "Command1*3",
            "1440050001 1440100001 1440050001 1440100001 1440150001 1440200001",
            "Scan_Timer.active=false|Command1.enabled=false|Command3.enabled=true|LabScanvfo=144,020|Text_Affine="
            "144020");
        row("and down", found + "Command1*3;Command3",
            "1440050001 1440100001 1440050001 1440100001 1440150001 1440200001 1440150001", "Command1.enabled=true");
        row("fine step from a text that is no number", found + "Text_Affine=abc;Command3",
            "1440050001 1440100001 1440050001");
        row("the scan goes on", found + "Av_Pas;tick", "1440050001 1440100001 1440050001 1440150001");
        // The operator takes the radio before the step its timer asked for is served, here the one that reaches the
        // arrival with "Continu": the step is not made, nor is the timer just stopped restarted.
        const QByteArray wrap
            = slow + "Check_continu;Textariv=144015;Com_memo;Av_Pas;tick;SquelchOpen=1;tick;SquelchOpen=0;";
        row("pause before a step", wrap + "~Pause_Trace;tick", "1440050001 1440100001",
            "Scan_Timer.active=false|Pause_Trace.enabled=false|ScanPos=144010");
        row("stop before a step", wrap + "~Arret_Trace;tick", "1440050001 1440100001",
            "Scan_Timer.active=false|ScanPos=144000");
        row("scan list before a step", wrap + "~Scan_List@0;tick", "1440050001 1440100001 1440050001",
            "Scan_Timer.active=false|ScanPos=144010");
        row("memo list before a step", wrap + "~List_memo@0;tick", "1440050001 1440100001 1455000001 0800000007",
            "Scan_Timer.active=true|Pause_Trace.enabled=true|ScanPos=144010");
        // The memo list keeps the frequency to the kHz and the mode; a click sends both back, but a mode the radio
        // reported that has no button sends nothing.
        for (const auto &[freq, mode, frames, shown] :
            {std::array {"00705000", "LSB", "0070500001 0000000007", "007.050 LSB|L_mode=LSB"},
                {"14551250", "FM", "1455120001 0800000007", "145.512 FM|L_mode=FM"},
                {"01402500", "CWR", "0140250001 0300000007", "014.025 CWR|L_mode=CWR"},
                {"01402500", "CW", "0140250001 0200000007", "014.025 CW|L_mode=CW"},
                {"01402500", "CW(N)", "0140250001", "014.025 CW(N)|L_mode=AM"}})
            row(("memo "_ba + mode).constData(),
                "CurrentFreq="_ba + freq + ";L_mode=" + mode + ";Com_memo;CurrentFreq=14550000;L_mode=AM;List_memo@0",
                frames, "List_memo="_ba + shown);
        row("memo list cleared", "Com_memo*2;Com_clr", "", "List_memo=");
    }
};

ORVANE_TEST_MAIN(TestFixedDecimal, TestRangeScanner)
#include "tst_scanner.moc"
