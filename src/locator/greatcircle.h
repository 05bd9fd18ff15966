#pragma once

// Great-circle distance and azimuth between the two stations of the locator window, and the compass needle
// that shows the azimuth. Positions are the signed ones of maidenhead.h (longitude positive WEST).

#include "maidenhead.h"

#include <QLineF>
#include <QString>

namespace locator {

struct GreatCirclePath
{
    double centralAngle = 0.0; // radians, 0 to pi
    double courseAngle = 0.0; // degrees from north, 0 to 180, on either side; 0 when the direction is undefined
    int distanceKm = 0; // on a sphere of circumference 40076.59 km, rounded half up
    int azimuth = 0; // whole degrees clockwise from north, 0 to 360 (due north shows 360); 0 when undefined
    // False when the stations coincide or are antipodal (closer than about 6 m to either), where no initial
    // course exists: the azimuth is then 0 and the needle should stay at rest.
    bool directionDefined = false;
};

// Distance and initial course from the own station towards the correspondent. The azimuth rounds the course
// angle down before taking it from 360 on the west side, so a course of 45.7° west of north shows 315. The
// correspondent counts as east when the shorter way round runs east (its longitude minus the own one, brought
// into -180 to 180, is negative), as west otherwise.
// Never yields NaN: coincident positions give 0 km, antipodal ones 20038 km, both with the direction
// undefined; so do positions that are not finite numbers (which the conversions never produce), at 0 km.
GreatCirclePath greatCirclePath(const Position &own, const Position &correspondent);

// The label texts: "Distance: 5843 Km" and "Azimut: 292°".
QString distanceText(int distanceKm);
QString azimuthText(int azimuth);

// The needle in twips of the window's client area (y downwards), from its pivot to its tip. An azimuth of 0
// or 360 points up, 90 right. At rest it stands straight up from slightly above the pivot.
QLineF needleLine(int azimuth);
QLineF needleRestLine();

} // namespace locator
