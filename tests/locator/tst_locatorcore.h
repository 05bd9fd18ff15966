#pragma once

// Maidenhead conversion and great-circle arithmetic: the character check, the locator of typed coordinates
// (written here as the eight fields joined by "/"), distance and azimuth. The fuzzer takes any locator through the
// window's texts and back; the window's table checks the texts shown.

#include "greatcircle.h"
#include "maidenhead.h"

#include <QTest>

#include <cmath>

using namespace locator;
using namespace Qt::StringLiterals;

class TestLocatorCore : public QObject
{
    Q_OBJECT

    static CoordinateTexts texts(const QByteArray &joined)
    {
        const QStringList f = QString::fromUtf8(joined).split(u'/');
        return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
    }
    static QString joined(const CoordinateTexts &t)
    {
        return QStringList {t.latitudeDegrees, t.latitudeMinutes, t.latitudeSeconds, t.northSouth, t.longitudeDegrees,
            t.longitudeMinutes, t.longitudeSeconds, t.eastWest}
            .join(u'/');
    }
    static Position stored(const char *coordinates) { return locatorOfCoordinateTexts(texts(coordinates)).position; }

private slots:
    // One message per failing position, in order, each in its own words; a valid locator converts.
    void characterCheck()
    {
        const QString ranges[] = {u"premier caractère est invalide, (plage de A à R)"_s,
            u"deuxième caractère est invalide, (plage de A à R)"_s,
            u"Troisième caractère est invalide, (plage de 0 à 9)"_s,
            u"quatrième caractère est invalide, (plage de 0 à 9)"_s,
            u"cinquième caractère est invalide, (plage de A à X)"_s,
            u"sixième caractère est invalide, (plage de A à X)"_s};
        for (const auto &[locator, failing] : {std::pair {"AA00AA", ""}, {"RR99XX", ""}, {"", ""}, {"IO91", "56"},
                 {"J", "23456"}, {"SA00AA", "1"}, {"I@91WM", "2"}, {"IOA1WM", "3"}, {"IO9/WM", "4"}, {"IO91YM", "5"},
                 {"IO91W5", "6"}, {"IO91wM", "5"}, {"S@:/Y@", "123456"}, {"@S/:@Y", "123456"}, {"IO91WM12", ""}}) {
            QStringList expected;
            for (const char position : std::string_view(failing))
                expected << u"Erreur : Le "_s + ranges[position - '1'] + u'.';
            const QString text = QString::fromLatin1(locator);
            QCOMPARE(checkLocatorCharacters(text), expected);
            QCOMPARE(coordinateTextsOfLocator(text).has_value(), !text.isEmpty() && expected.isEmpty());
        }
    }

    // Typed coordinates to the locator and the signed position stored (longitude positive west); empty fields
    // count as the zeros the completion shows; a point on a grid line belongs to the square north or east of it.
    void typedCoordinates()
    {
        const double limitLat = 89 + 59 / 60.0 + 59 / 3600.0, limitLon = 179 + 59 / 60.0 + 59 / 3600.0;
        for (const auto &[typed, locator, latitude, longitude] :
            {std::tuple {"0/0/0/Nord/0/0/0/Est", "JJ00AA", 0.0, 0.0}, {"0/0/0/Sud/0/0/0/Ouest", "JJ00AA", 0.0, 0.0},
                {"89/59/59/Sud/179/59/59/Ouest", "AA00AA", -limitLat, limitLon},
                {"89/59/59/Nord/179/59/59/Est", "RR99XX", limitLat, -limitLon},
                {"33/51/0/Sud/151/13/0/Est", "QF56OD", -(33 + 51 / 60.0), -(151 + 13 / 60.0)},
                {"48///Nord/2///Est", "JN18AA", 48.0, -2.0}, {"1/0/0/Sud/1/0/0/Ouest", "II99MA", -1.0, 1.0},
                {"20/2/30/Nord/4/10/0/Est", "JL20CB", 20 + 2 / 60.0 + 30 / 3600.0, -(4 + 10 / 60.0)},
                {"05/07/09/Nord/007/00/0/Ouest", "IJ65MC", 5 + 7 / 60.0 + 9 / 3600.0, 7.0}}) {
            const LocatorFromTexts result = locatorOfCoordinateTexts(texts(typed));
            QCOMPARE((std::tuple {QString::fromLatin1(typed), result.locator, result.position.latitude,
                         result.position.longitude}),
                (std::tuple {QString::fromLatin1(typed), QString::fromLatin1(locator), latitude, longitude}));
        }
        CoordinateTexts typed = texts("48///Nord/2///Est");
        QVERIFY(completeCoordinateTexts(typed) && joined(typed) == u"48/0/0/Nord/2/0/0/Est");
        QVERIFY(!completeCoordinateTexts(typed));
        // Refused, naming the first field at fault: anything but ASCII digits, out of range, a hemisphere word not
        // exactly one of the two. Each row changes one field of 51/31/29/Nord/0/7/0/Ouest.
        using enum CoordinateError;
        for (const auto &[field, text, error] : {std::tuple {3, "nord", NorthSouth}, {3, "", NorthSouth},
                 {7, "Ouest ", EastWest}, {0, "5a", LatitudeDegrees}, {0, " 51", LatitudeDegrees},
                 {2, "29,5", LatitudeSeconds}, {5, "-7", LongitudeMinutes}, {4, "\u0664", LongitudeDegrees},
                 {4, "99999999999999999999", LongitudeDegrees}, {0, "90", LatitudeDegrees},
                 {4, "180", LongitudeDegrees}, {6, "60", LongitudeSeconds}}) {
            QStringList fields = u"51/31/29/Nord/0/7/0/Ouest"_s.split(u'/');
            fields[field] = QString::fromUtf8(text);
            const LocatorFromTexts result = locatorOfCoordinateTexts(texts(fields.join(u'/').toUtf8()));
            QCOMPARE((std::pair {fields.join(u'/'), int(result.error)}), (std::pair {fields.join(u'/'), int(error)}));
            QVERIFY(result.locator.isEmpty());
        }
        QCOMPARE(locatorOfCoordinateTexts(texts("95/31/29/Nord/x/7/0/Ouest")).error, LatitudeDegrees);
    }

    // Distance and azimuth between typed positions. Due north shows 360, never 0; the course is rounded down
    // before the west side takes it from 360; the side is that of the shorter way round, across the date line
    // when that is shorter.
    void distanceAndAzimuth()
    {
        const char *paris = "48/51/0/Nord/2/21/0/Est", *origin = "0/0/0/Nord/0/0/0/Est",
                   *lat45 = "45/0/0/Nord/0/0/0/Est";
        const char *newYork = "40/43/0/Nord/74/0/0/Ouest", *tokyo = "35/41/0/Nord/139/41/0/Est";
        for (const auto &[own, other, km, azimuth] : {std::tuple {paris, newYork, 5843, 292},
                 {paris, "33/51/0/Sud/151/13/0/Est", 16980, 68}, {origin, "0/0/0/Nord/1/0/0/Est", 111, 90},
                 {origin, "1/0/0/Nord/0/0/0/Est", 111, 360}, {lat45, "45/0/0/Nord/10/0/0/Est", 787, 86},
                 {lat45, "45/0/0/Nord/10/0/0/Ouest", 787, 274}, {newYork, tokyo, 10862, 333},
                 {tokyo, newYork, 10862, 25}, {"0/0/0/Nord/179/0/0/Est", "0/0/0/Nord/179/0/0/Ouest", 223, 90},
                 {origin, "0/0/1/Nord/0/0/0/Est", 0, 360}, {origin, "0/0/0/Nord/0/0/1/Est", 0, 90}}) {
            const GreatCirclePath path = greatCirclePath(stored(own), stored(other));
            QCOMPARE((std::tuple {QString::fromLatin1(other), path.distanceKm, path.azimuth, path.directionDefined}),
                (std::tuple {QString::fromLatin1(other), km, azimuth, true}));
        }
    }

    // Coincident and antipodal stations (and numbers that are not finite) have no direction: the azimuth is 0.
    void undefinedDirection()
    {
        const Position paris = stored("48/51/0/Nord/2/21/0/Est"), pole = stored("89/59/59/Nord/179/59/59/Ouest");
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        for (const auto &[own, other, km] : {std::tuple {Position {0, 0}, Position {-0.0, -0.0}, 0}, {pole, pole, 0},
                 {paris, Position {paris.latitude + 1e-9, paris.longitude - 1e-9}, 0},
                 {paris, Position {-paris.latitude, paris.longitude + 180}, 20038},
                 {Position {90, 0}, Position {-90, 0}, 20038}, {Position {nan, 0}, paris, 0},
                 {paris, Position {0, inf}, 0}}) {
            const GreatCirclePath path = greatCirclePath(own, other);
            QCOMPARE((QList<int> {path.distanceKm, path.directionDefined, path.azimuth}), (QList<int> {km, 0, 0}));
        }
        // A hair from the antipode, where the course formula divides by almost nothing: never a number that is not.
        for (const double hair : {1e-15, 1e-13, 1e-11, 1e-9, 1e-7, 1e-5}) {
            const GreatCirclePath path
                = greatCirclePath(paris, Position {-paris.latitude + hair, paris.longitude + 180 - hair});
            QVERIFY(std::isfinite(path.centralAngle) && std::isfinite(path.courseAngle) && path.azimuth <= 360);
        }
    }
};
