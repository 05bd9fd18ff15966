#include "greatcircle.h"

#include <algorithm>
#include <cmath>

namespace locator {

namespace {

const double Pi = 4 * std::atan(1.0);

constexpr double EarthCircumferenceKm = 40076.59;

// Below this central angle, or this close to pi, the course is undefined (or only rounding noise): about 6 m
// on the ground, less than the 1″ steps the window's fields can express except right beside the poles.
constexpr double UndefinedCourseRadians = 1e-6;

} // namespace

GreatCirclePath greatCirclePath(const Position &own, const Position &correspondent)
{
    GreatCirclePath path;
    if (!std::isfinite(own.latitude) || !std::isfinite(own.longitude) || !std::isfinite(correspondent.latitude)
        || !std::isfinite(correspondent.longitude))
        return path;

    const double phi1 = own.latitude * Pi / 180;
    const double lambda1 = own.longitude * Pi / 180;
    const double phi2 = correspondent.latitude * Pi / 180;
    const double lambda2 = correspondent.longitude * Pi / 180;
    // Finite degrees can still overflow on the way to radians (beyond 1e306 or so); treat them as not finite.
    if (!std::isfinite(phi1) || !std::isfinite(lambda1) || !std::isfinite(phi2) || !std::isfinite(lambda2))
        return path;

    // Spherical law of cosines; rounding can push the cosine just past +-1.
    const double c = std::clamp(
        std::cos(lambda1 - lambda2) * std::cos(phi2) * std::cos(phi1) + std::sin(phi1) * std::sin(phi2), -1.0, 1.0);
    const double d = std::acos(c);
    path.centralAngle = d;
    path.distanceKm = static_cast<int>(std::floor(d * EarthCircumferenceKm / 2 / Pi + 0.5));

    if (d < UndefinedCourseRadians || Pi - d < UndefinedCourseRadians)
        return path;
    const double a = (std::sin(phi2) - std::sin(phi1) * std::cos(d)) / (std::cos(phi1) * std::sin(d));
    if (std::isnan(a))
        return path;
    path.courseAngle = std::acos(std::clamp(a, -1.0, 1.0)) * 180 / Pi;
    path.directionDefined = true;

    const int wholeCourse = static_cast<int>(std::floor(path.courseAngle));
    // The side is that of the shorter way round: a difference beyond 180° crosses the date line, so New York
    // to Tokyo lies west (333°), not east (27°). Exactly 180° apart counts as west, as the same longitude does.
    double difference = std::fmod(correspondent.longitude - own.longitude, 360.0);
    if (difference <= -180)
        difference += 360;
    else if (difference > 180)
        difference -= 360;
    const bool east = difference < 0;
    path.azimuth = east ? wholeCourse : 360 - wholeCourse;
    return path;
}

QString distanceText(int distanceKm)
{
    return QStringLiteral("Distance: ") + QString::number(distanceKm) + QStringLiteral(" Km");
}

QString azimuthText(int azimuth)
{
    return QStringLiteral("Azimut: ") + QString::number(azimuth) + QStringLiteral("°");
}

QLineF needleLine(int azimuth)
{
    const double theta = (azimuth - 90) * Pi / 180;
    return {2100, 1750, 855 * std::cos(theta) + 2100, 855 * std::sin(theta) + 1750};
}

QLineF needleRestLine()
{
    return {2100, 1695, 2100, 840};
}

} // namespace locator
