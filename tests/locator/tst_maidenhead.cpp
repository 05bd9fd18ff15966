#include "maidenhead.h"

#include <QTest>

using namespace locator;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(locator::CoordinateTexts)
Q_DECLARE_METATYPE(locator::CoordinateError)

namespace {

const QString First = QStringLiteral("Erreur : Le premier caractère est invalide, (plage de A à R).");
const QString Second = QStringLiteral("Erreur : Le deuxième caractère est invalide, (plage de A à R).");
const QString Third = QStringLiteral("Erreur : Le Troisième caractère est invalide, (plage de 0 à 9).");
const QString Fourth = QStringLiteral("Erreur : Le quatrième caractère est invalide, (plage de 0 à 9).");
const QString Fifth = QStringLiteral("Erreur : Le cinquième caractère est invalide, (plage de A à X).");
const QString Sixth = QStringLiteral("Erreur : Le sixième caractère est invalide, (plage de A à X).");

CoordinateTexts texts(const char *latDeg, const char *latMin, const char *latSec, const char *northSouth,
    const char *lonDeg, const char *lonMin, const char *lonSec, const char *eastWest)
{
    return {QString::fromUtf8(latDeg), QString::fromUtf8(latMin), QString::fromUtf8(latSec),
        QString::fromUtf8(northSouth), QString::fromUtf8(lonDeg), QString::fromUtf8(lonMin), QString::fromUtf8(lonSec),
        QString::fromUtf8(eastWest)};
}

QStringList fields(const CoordinateTexts &t)
{
    return {t.latitudeDegrees, t.latitudeMinutes, t.latitudeSeconds, t.northSouth, t.longitudeDegrees,
        t.longitudeMinutes, t.longitudeSeconds, t.eastWest};
}

// The n-th of all locators, in text order.
LocatorCodes nthLocator(int n)
{
    LocatorCodes codes;
    const int sizes[6] = {18, 18, 10, 10, 24, 24};
    const char16_t bases[6] = {u'A', u'A', u'0', u'0', u'A', u'A'};
    for (int i = 5; i >= 0; --i) {
        codes[i] = char16_t(bases[i] + n % sizes[i]);
        n /= sizes[i];
    }
    return codes;
}

} // namespace

class TstMaidenhead : public QObject
{
    Q_OBJECT

private slots:
    void checkCharacters_data()
    {
        QTest::addColumn<QString>("locator");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("lowest") << u"AA00AA"_s << QStringList();
        QTest::newRow("highest") << u"RR99XX"_s << QStringList();
        QTest::newRow("empty_says_nothing") << QString() << QStringList();
        QTest::newRow("four_characters") << u"IO91"_s << QStringList {Fifth, Sixth};
        QTest::newRow("one_character") << u"J"_s << QStringList {Second, Third, Fourth, Fifth, Sixth};
        QTest::newRow("field_above_R") << u"SA00AA"_s << QStringList {First};
        QTest::newRow("field_below_A") << u"I@91WM"_s << QStringList {Second};
        QTest::newRow("square_letter") << u"IOA1WM"_s << QStringList {Third};
        QTest::newRow("square_below_0") << u"IO9/WM"_s << QStringList {Fourth};
        QTest::newRow("subsquare_above_X") << u"IO91YM"_s << QStringList {Fifth};
        QTest::newRow("subsquare_digit") << u"IO91W5"_s << QStringList {Sixth};
        QTest::newRow("one_lower_case") << u"IO91wM"_s << QStringList {Fifth};
        const QStringList all {First, Second, Third, Fourth, Fifth, Sixth};
        // One past each end of each range, at every position.
        QTest::newRow("every_position_one_side") << u"S@:/Y@"_s << all;
        QTest::newRow("every_position_other_side") << u"@S/:@Y"_s << all;
        QTest::newRow("only_six_looked_at") << u"IO91WM12"_s << QStringList();
    }
    void checkCharacters()
    {
        QFETCH(QString, locator);
        QFETCH(QStringList, messages);
        QCOMPARE(checkLocatorCharacters(locator), messages);
        QCOMPARE(coordinateTextsOfLocator(locator).has_value(), !locator.isEmpty() && messages.isEmpty());
    }

    void locatorToCoordinates_data()
    {
        QTest::addColumn<QString>("locator");
        QTest::addColumn<CoordinateTexts>("expected");

        // Rounded down in double precision: exact arithmetic would give 1' 30" and 3' 0".
        QTest::newRow("JJ00AA") << u"JJ00AA"_s << texts("0", "1", "29", "Nord", "0", "2", "59", "Est");
        QTest::newRow("IO91WM") << u"IO91WM"_s << texts("51", "31", "29", "Nord", "0", "7", "0", "Ouest");
        QTest::newRow("QF56OD") << u"QF56OD"_s << texts("33", "51", "0", "Sud", "151", "13", "0", "Est");
        QTest::newRow("south_west_corner") << u"AA00AA"_s << texts("89", "58", "29", "Sud", "179", "56", "59", "Ouest");
        QTest::newRow("north_east_corner") << u"RR99XX"_s << texts("89", "59", "0", "Nord", "179", "58", "0", "Est");
    }
    void locatorToCoordinates()
    {
        QFETCH(QString, locator);
        QFETCH(CoordinateTexts, expected);
        const std::optional<CoordinateTexts> shown = coordinateTextsOfLocator(locator);
        QVERIFY(shown);
        QCOMPARE(fields(*shown), fields(expected));
        QCOMPARE(locatorOfCoordinateTexts(*shown).locator, locator);
    }

    void completion_data()
    {
        QTest::addColumn<CoordinateTexts>("typed");
        QTest::addColumn<CoordinateTexts>("completed");
        QTest::addColumn<bool>("changed");

        QTest::newRow("degrees_only") << texts("48", "", "", "Nord", "2", "", "", "Est")
                                      << texts("48", "0", "0", "Nord", "2", "0", "0", "Est") << true;
        QTest::newRow("all_empty") << texts("", "", "", "Sud", "", "", "", "Ouest")
                                   << texts("0", "0", "0", "Sud", "0", "0", "0", "Ouest") << true;
        QTest::newRow("hemispheres_untouched")
            << texts("1", "2", "3", "", "4", "5", "6", "") << texts("1", "2", "3", "", "4", "5", "6", "") << false;
    }
    void completion()
    {
        QFETCH(CoordinateTexts, typed);
        QFETCH(CoordinateTexts, completed);
        CoordinateTexts filled = typed;
        QTEST(completeCoordinateTexts(filled), "changed");
        QCOMPARE(fields(filled), fields(completed));
        // Empty fields count as the zeros the completion shows.
        const LocatorFromTexts fromTyped = locatorOfCoordinateTexts(typed);
        const LocatorFromTexts fromCompleted = locatorOfCoordinateTexts(completed);
        QCOMPARE(int(fromTyped.error), int(fromCompleted.error));
        QCOMPARE(fromTyped.locator, fromCompleted.locator);
    }

    void coordinatesToLocator_data()
    {
        QTest::addColumn<CoordinateTexts>("typed");
        QTest::addColumn<QString>("locator");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("westLongitude");

        const double limitLat = 89 + 59 / 60.0 + 59 / 3600.0;
        const double limitLon = 179 + 59 / 60.0 + 59 / 3600.0;
        QTest::newRow("origin_nord_est") << texts("0", "0", "0", "Nord", "0", "0", "0", "Est") << u"JJ00AA"_s << 0.0
                                         << 0.0;
        QTest::newRow("origin_sud_ouest")
            << texts("0", "0", "0", "Sud", "0", "0", "0", "Ouest") << u"JJ00AA"_s << 0.0 << 0.0;
        QTest::newRow("south_west_limit")
            << texts("89", "59", "59", "Sud", "179", "59", "59", "Ouest") << u"AA00AA"_s << -limitLat << limitLon;
        QTest::newRow("north_east_limit")
            << texts("89", "59", "59", "Nord", "179", "59", "59", "Est") << u"RR99XX"_s << limitLat << -limitLon;
        // Points on a grid line belong to the square north or east of it: 74° 0′ west lies between FN20 and FN30.
        QTest::newRow("new_york") << texts("40", "43", "0", "Nord", "74", "0", "0", "Ouest") << u"FN30AR"_s
                                  << 40 + 43 / 60.0 << 74.0;
        QTest::newRow("sydney") << texts("33", "51", "0", "Sud", "151", "13", "0", "Est") << u"QF56OD"_s
                                << -(33 + 51 / 60.0) << -(151 + 13 / 60.0);
        QTest::newRow("grid_line_paris_area")
            << texts("48", "0", "0", "Nord", "2", "0", "0", "Est") << u"JN18AA"_s << 48.0 << -2.0;
        QTest::newRow("grid_line_south_west")
            << texts("1", "0", "0", "Sud", "1", "0", "0", "Ouest") << u"II99MA"_s << -1.0 << 1.0;
        QTest::newRow("subsquare_lines") << texts("20", "2", "30", "Nord", "4", "10", "0", "Est") << u"JL20CB"_s
                                         << 20 + 2 / 60.0 + 30 / 3600.0 << -(4 + 10 / 60.0);
        QTest::newRow("leading_zeros") << texts("05", "07", "09", "Nord", "007", "00", "0", "Ouest") << u"IJ65MC"_s
                                       << 5 + 7 / 60.0 + 9 / 3600.0 << 7.0;
    }
    void coordinatesToLocator()
    {
        QFETCH(CoordinateTexts, typed);
        const LocatorFromTexts result = locatorOfCoordinateTexts(typed);
        QVERIFY(result.ok());
        QTEST(result.locator, "locator");
        QTEST(result.position.latitude, "latitude");
        QTEST(result.position.longitude, "westLongitude");
    }

    void refusedTexts_data()
    {
        QTest::addColumn<CoordinateTexts>("typed");
        QTest::addColumn<CoordinateError>("error");

        using enum CoordinateError;
        QTest::newRow("lower_case_word") << texts("51", "31", "29", "nord", "0", "7", "0", "Ouest") << NorthSouth;
        QTest::newRow("no_word") << texts("51", "31", "29", "", "0", "7", "0", "Ouest") << NorthSouth;
        QTest::newRow("trailing_blank") << texts("51", "31", "29", "Nord", "0", "7", "0", "Ouest ") << EastWest;
        QTest::newRow("pasted_letters") << texts("5a", "31", "29", "Nord", "0", "7", "0", "Ouest") << LatitudeDegrees;
        QTest::newRow("leading_blank") << texts(" 51", "31", "29", "Nord", "0", "7", "0", "Ouest") << LatitudeDegrees;
        QTest::newRow("decimal_comma") << texts("51", "31", "29,5", "Nord", "0", "7", "0", "Ouest") << LatitudeSeconds;
        QTest::newRow("negative") << texts("51", "31", "29", "Nord", "0", "-7", "0", "Ouest") << LongitudeMinutes;
        QTest::newRow("arabic_indic_digit")
            << texts("51", "31", "29", "Nord", "\u0664", "7", "0", "Ouest") << LongitudeDegrees;
        QTest::newRow("overflowing_digits")
            << texts("51", "31", "29", "Nord", "99999999999999999999", "7", "0", "Ouest") << LongitudeDegrees;
        QTest::newRow("latitude_90") << texts("90", "0", "0", "Nord", "0", "7", "0", "Ouest") << LatitudeDegrees;
        QTest::newRow("longitude_180") << texts("51", "31", "29", "Nord", "180", "0", "0", "Ouest") << LongitudeDegrees;
        QTest::newRow("seconds_60") << texts("51", "31", "29", "Nord", "0", "7", "60", "Ouest") << LongitudeSeconds;
        QTest::newRow("first_fault_named")
            << texts("95", "31", "29", "Nord", "x", "7", "0", "Ouest") << LatitudeDegrees;
    }
    void refusedTexts()
    {
        QFETCH(CoordinateTexts, typed);
        QFETCH(CoordinateError, error);
        const LocatorFromTexts result = locatorOfCoordinateTexts(typed);
        QCOMPARE(int(result.error), int(error));
        QVERIFY(result.locator.isEmpty());
    }

    void everyLocatorRoundTrips()
    {
        // Every locator through the numeric core; a spread of them also through the window's texts, which must
        // give the same position as the numeric conversions.
        int failures = 0;
        QString firstFailure;
        for (int n = 0; n < 18 * 18 * 10 * 10 * 24 * 24; ++n) {
            const LocatorCodes codes = nthLocator(n);
            const LocatorFix back = locatorOfCoordinates(coordinatesOfLocator(codes));
            if ((!back.ok() || back.codes != codes) && failures++ == 0)
                firstFailure = locatorText(codes) + u" -> "_s + locatorText(back.codes);
            if (n % 9973 != 0)
                continue;
            const QString text = locatorText(codes);
            const std::optional<CoordinateTexts> shown = coordinateTextsOfLocator(text);
            QVERIFY2(shown, qPrintable(text));
            const LocatorFromTexts fromTexts = locatorOfCoordinateTexts(*shown);
            QCOMPARE(fromTexts.locator, text);
            QCOMPARE(fromTexts.position.latitude, back.position.latitude);
            QCOMPARE(fromTexts.position.longitude, back.position.longitude);
        }
        QVERIFY2(failures == 0, qPrintable(QString::number(failures) + u" failures, first "_s + firstFailure));
    }
};

QTEST_GUILESS_MAIN(TstMaidenhead)
#include "tst_maidenhead.moc"
