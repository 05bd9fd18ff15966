#include "greatcircle.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace locator;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(locator::Coordinates)
Q_DECLARE_METATYPE(locator::Position)

namespace {

constexpr NorthSouth N = NorthSouth::Nord;
constexpr NorthSouth S = NorthSouth::Sud;
constexpr EastWest E = EastWest::Est;
constexpr EastWest W = EastWest::Ouest;

Coordinates at(int latDeg, int latMin, int latSec, NorthSouth ns, int lonDeg, int lonMin, int lonSec, EastWest eo)
{
    return {{latDeg, latMin, latSec}, ns, {lonDeg, lonMin, lonSec}, eo};
}

// The position the window stores for coordinates typed into a panel.
Position stored(const Coordinates &coordinates)
{
    const LocatorFix fix = locatorOfCoordinates(coordinates);
    Q_ASSERT(fix.ok());
    return fix.position;
}

bool finite(const QLineF &line)
{
    return std::isfinite(line.x1()) && std::isfinite(line.y1()) && std::isfinite(line.x2()) && std::isfinite(line.y2());
}

} // namespace

class TstGreatCircle : public QObject
{
    Q_OBJECT

private slots:
    void distanceAndAzimuth_data()
    {
        QTest::addColumn<Coordinates>("own");
        QTest::addColumn<Coordinates>("correspondent");
        QTest::addColumn<int>("distanceKm");
        QTest::addColumn<int>("azimuth");

        const Coordinates paris = at(48, 51, 0, N, 2, 21, 0, E);
        const Coordinates origin = at(0, 0, 0, N, 0, 0, 0, E);
        const Coordinates lat45 = at(45, 0, 0, N, 0, 0, 0, E);
        const Coordinates newYork = at(40, 43, 0, N, 74, 0, 0, W);
        const Coordinates tokyo = at(35, 41, 0, N, 139, 41, 0, E);

        QTest::newRow("paris_new_york") << paris << newYork << 5843 << 292;
        QTest::newRow("paris_sydney") << paris << at(33, 51, 0, S, 151, 13, 0, E) << 16980 << 68;
        QTest::newRow("equator_1deg_east") << origin << at(0, 0, 0, N, 1, 0, 0, E) << 111 << 90;
        QTest::newRow("equator_1deg_west") << origin << at(0, 0, 0, N, 1, 0, 0, W) << 111 << 270;
        // Same longitude counts as the west side: due north shows 360, never 0.
        QTest::newRow("meridian_1deg_north") << origin << at(1, 0, 0, N, 0, 0, 0, E) << 111 << 360;
        QTest::newRow("meridian_1deg_south") << origin << at(1, 0, 0, S, 0, 0, 0, E) << 111 << 180;
        // A course of 86.46°: rounded down before the west side takes it from 360.
        QTest::newRow("lat45_10deg_east") << lat45 << at(45, 0, 0, N, 10, 0, 0, E) << 787 << 86;
        QTest::newRow("lat45_10deg_west") << lat45 << at(45, 0, 0, N, 10, 0, 0, W) << 787 << 274;
        // The side is that of the shorter way round, across the date line when that is shorter.
        QTest::newRow("new_york_tokyo") << newYork << tokyo << 10862 << 333;
        QTest::newRow("tokyo_new_york") << tokyo << newYork << 10862 << 25;
        QTest::newRow("equator_date_line") << at(0, 0, 0, N, 179, 0, 0, E) << at(0, 0, 0, N, 179, 0, 0, W) << 223 << 90;
    }
    void distanceAndAzimuth()
    {
        QFETCH(Coordinates, own);
        QFETCH(Coordinates, correspondent);
        const GreatCirclePath path = greatCirclePath(stored(own), stored(correspondent));
        QVERIFY(path.directionDefined);
        QTEST(path.distanceKm, "distanceKm");
        QTEST(path.azimuth, "azimuth");
    }

    void undefinedDirection_data()
    {
        QTest::addColumn<Position>("own");
        QTest::addColumn<Position>("correspondent");
        QTest::addColumn<int>("distanceKm");
        QTest::addColumn<bool>("defined");
        QTest::addColumn<int>("azimuth");

        const Position paris = stored(at(48, 51, 0, N, 2, 21, 0, E));
        const Position nearPole = stored(at(89, 59, 59, N, 179, 59, 59, W));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();

        QTest::newRow("coincident_origin") << Position {0, 0} << Position {0, 0} << 0 << false << 0;
        QTest::newRow("coincident_signed_zeros") << Position {0, 0} << Position {-0.0, -0.0} << 0 << false << 0;
        QTest::newRow("coincident_near_pole") << nearPole << nearPole << 0 << false << 0;
        QTest::newRow("apart_1e-9_degree")
            << paris << Position {paris.latitude + 1e-9, paris.longitude - 1e-9} << 0 << false << 0;
        QTest::newRow("antipodal_equator") << Position {0, 0} << Position {0, 180} << 20038 << false << 0;
        QTest::newRow("antipodal_paris") << paris << Position {-paris.latitude, paris.longitude + 180} << 20038 << false
                                         << 0;
        QTest::newRow("pole_to_pole") << Position {90, 0} << Position {-90, 0} << 20038 << false << 0;
        QTest::newRow("not_a_number") << Position {nan, 0} << paris << 0 << false << 0;
        QTest::newRow("infinite") << paris << Position {0, inf} << 0 << false << 0;
        // The smallest step the fields can express still has a direction.
        QTest::newRow("one_second_north") << Position {0, 0} << stored(at(0, 0, 1, N, 0, 0, 0, E)) << 0 << true << 360;
        QTest::newRow("one_second_east") << Position {0, 0} << stored(at(0, 0, 0, N, 0, 0, 1, E)) << 0 << true << 90;
    }
    void undefinedDirection()
    {
        QFETCH(Position, own);
        QFETCH(Position, correspondent);
        const GreatCirclePath path = greatCirclePath(own, correspondent);
        QTEST(path.distanceKm, "distanceKm");
        QTEST(path.directionDefined, "defined");
        QTEST(path.azimuth, "azimuth");
        QVERIFY(std::isfinite(path.centralAngle) && std::isfinite(path.courseAngle));
    }

    void neverNotANumber()
    {
        // Every own position on a grid against the same point, points a hair away and the antipode with the same
        // hairs: the places where the course formula divides by almost nothing.
        const double offsets[] = {0, 1e-15, 1e-13, 1e-11, 1e-9, 1e-7, 1e-5, 1e-3, 0.1};
        int faults = 0;
        QString firstFault;
        auto check = [&](const Position &own, const Position &other) {
            const GreatCirclePath path = greatCirclePath(own, other);
            const bool sound = std::isfinite(path.centralAngle) && std::isfinite(path.courseAngle)
                && path.distanceKm >= 0 && path.distanceKm <= 20038 && path.azimuth >= 0 && path.azimuth <= 360
                && (path.directionDefined || path.azimuth == 0) && finite(needleLine(path.azimuth));
            if (!sound && faults++ == 0)
                firstFault = u"(%1, %2) to (%3, %4)"_s.arg(own.latitude, 0, 'g', 17)
                                 .arg(own.longitude, 0, 'g', 17)
                                 .arg(other.latitude, 0, 'g', 17)
                                 .arg(other.longitude, 0, 'g', 17);
        };
        for (double lat = -90; lat <= 90; lat += 2.5) {
            for (double lon = -180; lon <= 180; lon += 7.5) {
                const Position own {lat, lon};
                const Position antipode {-lat, lon > 0 ? lon - 180 : lon + 180};
                for (const double offset : offsets) {
                    for (const Position &base : {own, antipode}) {
                        check(own, {base.latitude + offset, base.longitude});
                        check(own, {base.latitude - offset, base.longitude});
                        check(own, {base.latitude, base.longitude + offset});
                        check(own, {base.latitude + offset, base.longitude - offset});
                    }
                }
            }
        }
        QVERIFY2(faults == 0, qPrintable(QString::number(faults) + u" faults, first "_s + firstFault));
    }

    void needle_data()
    {
        QTest::addColumn<int>("azimuth");
        QTest::addColumn<double>("tipX");
        QTest::addColumn<double>("tipY");

        QTest::newRow("north_0") << 0 << 2100.0 << 895.0;
        QTest::newRow("north_east_45") << 45 << 2100 + 855 / std::sqrt(2.0) << 1750 - 855 / std::sqrt(2.0);
        QTest::newRow("east_90") << 90 << 2955.0 << 1750.0;
        QTest::newRow("south_180") << 180 << 2100.0 << 2605.0;
        QTest::newRow("west_270") << 270 << 1245.0 << 1750.0;
        QTest::newRow("north_360") << 360 << 2100.0 << 895.0;
    }
    void needle()
    {
        QFETCH(int, azimuth);
        QFETCH(double, tipX);
        QFETCH(double, tipY);
        const QLineF line = needleLine(azimuth);
        QCOMPARE(line.p1(), QPointF(2100, 1750));
        // Half a twip is far below what a screen shows and far above the rounding of cos and sin.
        QVERIFY2(std::fabs(line.x2() - tipX) < 0.5, qPrintable(QString::number(line.x2())));
        QVERIFY2(std::fabs(line.y2() - tipY) < 0.5, qPrintable(QString::number(line.y2())));
        QCOMPARE(needleRestLine(), QLineF(2100, 1695, 2100, 840));
    }
};

QTEST_GUILESS_MAIN(TstGreatCircle)
#include "tst_greatcircle.moc"
