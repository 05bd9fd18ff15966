#include "localenumber.h"

#include <QTest>

#include <limits>

using namespace frequency;
using namespace Qt::StringLiterals;

namespace {
constexpr qint64 Unreadable = std::numeric_limits<qint64>::min();
} // namespace

class TestLocaleNumber : public QObject
{
    Q_OBJECT

private slots:
    void kHzEntry_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("tenHz"); // Unreadable: nothing is tuned

        const QLocale fr(QLocale::French, QLocale::France);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale c = QLocale::c();

        QTest::newRow("fr initial text") << fr << u"145000"_s << 14500000LL;
        QTest::newRow("fr longest field") << fr << u"999999"_s << 99999900LL;
        QTest::newRow("fr decimal comma") << fr << u"145500,5"_s << 14550050LL;
        QTest::newRow("fr half of 10 Hz rounds up") << fr << u"145500,005"_s << 14550001LL;
        QTest::newRow("fr below half rounds down") << fr << u"145500,0049"_s << 14550000LL;
        QTest::newRow("fr leading comma") << fr << u",5"_s << 50LL;
        QTest::newRow("fr trailing comma") << fr << u"5,"_s << 500LL;
        QTest::newRow("fr surrounding blanks") << fr << u" 1810 "_s << 181000LL;
        QTest::newRow("fr signs") << fr << u"+12"_s << 1200LL;
        QTest::newRow("fr negative") << fr << u"-1"_s << -100LL;
        QTest::newRow("c decimal point") << c << u"145500.5"_s << 14550050LL;
        QTest::newRow("de decimal comma") << de << u"12,5"_s << 1250LL;
        QTest::newRow("fr empty") << fr << QString() << Unreadable;
        QTest::newRow("fr blanks only") << fr << u"   "_s << Unreadable;
        QTest::newRow("fr digits then letters") << fr << u"145k"_s << Unreadable;
        QTest::newRow("fr point is not the separator") << fr << u"145.5"_s << Unreadable;
        QTest::newRow("fr comma alone") << fr << u","_s << Unreadable;
        QTest::newRow("fr two commas") << fr << u"1,2,3"_s << Unreadable;
        QTest::newRow("fr grouped with a blank") << fr << u"145 500"_s << Unreadable;
        QTest::newRow("fr grouped as the locale does") << fr << fr.toString(145500) << Unreadable;
        QTest::newRow("de point is a group mark") << de << u"12.5"_s << Unreadable;
        QTest::newRow("c comma") << c << u"145500,5"_s << Unreadable;
        QTest::newRow("exponent") << c << u"1e3"_s << Unreadable;
        QTest::newRow("too large for 64 bits") << c << u"99999999999999999999"_s << Unreadable;
    }
    void kHzEntry()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QTEST(kHzTextToTenHz(text, locale).value_or(Unreadable), "tenHz");
    }

    void scaling_data()
    {
        QTest::addColumn<bool>("val"); // read as a caption (valPrefix) rather than in the C locale
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<qint64>("expected");

        QTest::newRow("whole") << false << u"2.5"_s << 0 << 3LL;
        QTest::newRow("negative half away from zero") << false << u"-2.5"_s << 0 << -3LL;
        QTest::newRow("leading fraction zeros") << false << u"0.005"_s << 2 << 1LL;
        QTest::newRow("far below the unit") << false << u"0.0005"_s << 2 << 0LL;
        QTest::newRow("trailing zeros") << false << u"1.5000"_s << 4 << 15000LL;
        QTest::newRow("zeros before the point") << false << u"000144000"_s << 4 << 1440000000LL;
        QTest::newRow("largest") << false << u"9223372036854775807"_s << 0 << std::numeric_limits<qint64>::max();
        QTest::newRow("memo item") << true << u"145.500 FM"_s << 3 << 145500LL;
        QTest::newRow("caption with blanks and sign") << true << u" -7.05x"_s << 3 << -7050LL;
        QTest::newRow("caption leading point") << true << u"+.5"_s << 3 << 500LL;
        QTest::newRow("caption sign alone") << true << u"-"_s << 3 << 0LL;
    }
    void scaling()
    {
        QFETCH(bool, val);
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(qint64, expected);
        const ExactDecimal number
            = val ? ExactDecimal::valPrefix(text) : ExactDecimal::fromText(text, QLocale::c()).value();
        QCOMPARE(number.scaled(decimals), std::optional<qint64>(expected));
        QCOMPARE(number.isNegative(), expected < 0);
    }
};

QTEST_APPLESS_MAIN(TestLocaleNumber)
#include "tst_localenumber.moc"
