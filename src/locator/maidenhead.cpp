#include "maidenhead.h"

#include <cmath>

namespace locator {

namespace {

struct CharacterRange
{
    char16_t lowest;
    char16_t highest;
};

constexpr std::array<CharacterRange, 6> LocatorRanges {{
    {u'A', u'R'},
    {u'A', u'R'},
    {u'0', u'9'},
    {u'0', u'9'},
    {u'A', u'X'},
    {u'A', u'X'},
}};

QString positionMessage(int position)
{
    switch (position) {
    case 0:
        return QStringLiteral("Erreur : Le premier caractère est invalide, (plage de A à R).");
    case 1:
        return QStringLiteral("Erreur : Le deuxième caractère est invalide, (plage de A à R).");
    case 2:
        return QStringLiteral("Erreur : Le Troisième caractère est invalide, (plage de 0 à 9).");
    case 3:
        return QStringLiteral("Erreur : Le quatrième caractère est invalide, (plage de 0 à 9).");
    case 4:
        return QStringLiteral("Erreur : Le cinquième caractère est invalide, (plage de A à X).");
    default:
        return QStringLiteral("Erreur : Le sixième caractère est invalide, (plage de A à X).");
    }
}

// Whole degrees, minutes and seconds, each rounded down, of a non-negative value.
Dms splitRoundedDown(double value)
{
    const double degrees = std::floor(value);
    const double minutes = (value - degrees) * 60;
    const double wholeMinutes = std::floor(minutes);
    const double seconds = std::floor((minutes - wholeMinutes) * 60);
    return {static_cast<int>(degrees), static_cast<int>(wholeMinutes), static_cast<int>(seconds)};
}

// The first field of a value outside the window's ranges, or None.
CoordinateError rangeError(
    const Dms &value, int highestDegrees, CoordinateError degrees, CoordinateError minutes, CoordinateError seconds)
{
    if (value.degrees < 0 || value.degrees > highestDegrees)
        return degrees;
    if (value.minutes < 0 || value.minutes > 59)
        return minutes;
    if (value.seconds < 0 || value.seconds > 59)
        return seconds;
    return CoordinateError::None;
}

double decimalDegrees(const Dms &value)
{
    return value.degrees + value.minutes / 60.0 + value.seconds / 3600.0;
}

struct GridIndices
{
    int field;
    int square;
    int subsquare;
};

// Field, square and subsquare of a grid coordinate given in whole seconds of arc from the south-west corner.
// The fields hold whole degrees, minutes and seconds, so this is exact: a point on a grid line belongs to the
// square north or east of it, where a division in doubles could leave it a hair short and one square too far west.
GridIndices gridIndices(int seconds, int fieldSeconds)
{
    const int squareSeconds = fieldSeconds / 10;
    const int subsquareSeconds = squareSeconds / 24;
    const int inField = seconds % fieldSeconds;
    return {seconds / fieldSeconds, inField / squareSeconds, inField % squareSeconds / subsquareSeconds};
}

int totalSeconds(const Dms &value)
{
    return value.degrees * 3600 + value.minutes * 60 + value.seconds;
}

// A field's text as a number: ASCII digits only (no sign, blank or separator), at most the value given.
std::optional<int> readNumberField(const QString &text, int highest)
{
    if (text.isEmpty())
        return 0;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > highest)
            return std::nullopt;
    }
    return value;
}

} // namespace

Position locatorPosition(const LocatorCodes &codes)
{
    // The whole terms first, the fraction last, in this order: the rounded-down seconds shown depend on it.
    const double c1 = codes[0], c2 = codes[1], c3 = codes[2], c4 = codes[3], c5 = codes[4], c6 = codes[5];
    const double westLongitude = 180 - 20 * (c1 - 65) - 2 * (c3 - 48) - (c5 - 64.4) / 12;
    const double latitude = -90 + 10 * (c2 - 65) + (c4 - 48) + (c6 - 64.4) / 24;
    return {latitude, westLongitude};
}

Coordinates coordinatesOfPosition(const Position &position)
{
    Coordinates result;
    result.northSouth = position.latitude < 0 ? NorthSouth::Sud : NorthSouth::Nord;
    result.eastWest = position.longitude > 0 ? EastWest::Ouest : EastWest::Est;
    result.latitude = splitRoundedDown(std::fabs(position.latitude));
    result.longitude = splitRoundedDown(std::fabs(position.longitude));
    return result;
}

Coordinates coordinatesOfLocator(const LocatorCodes &codes)
{
    return coordinatesOfPosition(locatorPosition(codes));
}

LocatorFix locatorOfCoordinates(const Coordinates &coordinates)
{
    LocatorFix fix;
    fix.error = rangeError(coordinates.latitude, 89, CoordinateError::LatitudeDegrees, CoordinateError::LatitudeMinutes,
        CoordinateError::LatitudeSeconds);
    if (fix.ok())
        fix.error = rangeError(coordinates.longitude, 179, CoordinateError::LongitudeDegrees,
            CoordinateError::LongitudeMinutes, CoordinateError::LongitudeSeconds);
    if (!fix.ok())
        return fix;

    const double longitude = decimalDegrees(coordinates.longitude);
    const double latitude = decimalDegrees(coordinates.latitude);
    const bool west = coordinates.eastWest == EastWest::Ouest;
    const bool north = coordinates.northSouth == NorthSouth::Nord;
    fix.position = {north ? latitude : -latitude, west ? longitude : -longitude};

    const int longitudeSeconds = totalSeconds(coordinates.longitude);
    const int latitudeSeconds = totalSeconds(coordinates.latitude);
    const GridIndices x = gridIndices(west ? 180 * 3600 - longitudeSeconds : 180 * 3600 + longitudeSeconds, 20 * 3600);
    const GridIndices y = gridIndices(north ? 90 * 3600 + latitudeSeconds : 90 * 3600 - latitudeSeconds, 10 * 3600);
    fix.codes = {char16_t(u'A' + x.field), char16_t(u'A' + y.field), char16_t(u'0' + x.square),
        char16_t(u'0' + y.square), char16_t(u'A' + x.subsquare), char16_t(u'A' + y.subsquare)};
    return fix;
}

QString northSouthText(NorthSouth hemisphere)
{
    return hemisphere == NorthSouth::Nord ? QStringLiteral("Nord") : QStringLiteral("Sud");
}

QString eastWestText(EastWest hemisphere)
{
    return hemisphere == EastWest::Est ? QStringLiteral("Est") : QStringLiteral("Ouest");
}

std::optional<NorthSouth> northSouthFromText(const QString &text)
{
    if (text == u"Nord")
        return NorthSouth::Nord;
    if (text == u"Sud")
        return NorthSouth::Sud;
    return std::nullopt;
}

std::optional<EastWest> eastWestFromText(const QString &text)
{
    if (text == u"Est")
        return EastWest::Est;
    if (text == u"Ouest")
        return EastWest::Ouest;
    return std::nullopt;
}

QStringList checkLocatorCharacters(const QString &locator)
{
    QStringList messages;
    if (locator.isEmpty())
        return messages;
    for (int position = 0; position < int(LocatorRanges.size()); ++position) {
        // A missing character compares as the empty text, which lies below every bound.
        if (position >= locator.size()) {
            messages << positionMessage(position);
            continue;
        }
        const char16_t code = locator.at(position).unicode();
        if (code > LocatorRanges[position].highest || code < LocatorRanges[position].lowest)
            messages << positionMessage(position);
    }
    return messages;
}

std::optional<LocatorCodes> locatorCodes(const QString &locator)
{
    if (locator.isEmpty() || !checkLocatorCharacters(locator).isEmpty())
        return std::nullopt;
    LocatorCodes codes;
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = locator.at(qsizetype(i)).unicode();
    return codes;
}

QString locatorText(const LocatorCodes &codes)
{
    return QString::fromUtf16(codes.data(), qsizetype(codes.size()));
}

CoordinateTexts coordinateTexts(const Coordinates &coordinates)
{
    return {QString::number(coordinates.latitude.degrees), QString::number(coordinates.latitude.minutes),
        QString::number(coordinates.latitude.seconds), northSouthText(coordinates.northSouth),
        QString::number(coordinates.longitude.degrees), QString::number(coordinates.longitude.minutes),
        QString::number(coordinates.longitude.seconds), eastWestText(coordinates.eastWest)};
}

std::optional<CoordinateTexts> coordinateTextsOfLocator(const QString &locator)
{
    const std::optional<LocatorCodes> codes = locatorCodes(locator);
    if (!codes)
        return std::nullopt;
    return coordinateTexts(coordinatesOfLocator(*codes));
}

bool completeCoordinateTexts(CoordinateTexts &texts)
{
    bool changed = false;
    for (QString *field : {&texts.latitudeDegrees, &texts.latitudeMinutes, &texts.latitudeSeconds,
             &texts.longitudeDegrees, &texts.longitudeMinutes, &texts.longitudeSeconds}) {
        if (field->isEmpty()) {
            *field = QStringLiteral("0");
            changed = true;
        }
    }
    return changed;
}

LocatorFromTexts locatorOfCoordinateTexts(const CoordinateTexts &texts)
{
    LocatorFromTexts result;
    // Ranges are checked while reading so that the first offending field in window order is named.
    const std::optional<int> latDeg = readNumberField(texts.latitudeDegrees, 89);
    const std::optional<int> latMin = readNumberField(texts.latitudeMinutes, 59);
    const std::optional<int> latSec = readNumberField(texts.latitudeSeconds, 59);
    const std::optional<NorthSouth> northSouth = northSouthFromText(texts.northSouth);
    const std::optional<int> lonDeg = readNumberField(texts.longitudeDegrees, 179);
    const std::optional<int> lonMin = readNumberField(texts.longitudeMinutes, 59);
    const std::optional<int> lonSec = readNumberField(texts.longitudeSeconds, 59);
    const std::optional<EastWest> eastWest = eastWestFromText(texts.eastWest);

    if (!latDeg)
        result.error = CoordinateError::LatitudeDegrees;
    else if (!latMin)
        result.error = CoordinateError::LatitudeMinutes;
    else if (!latSec)
        result.error = CoordinateError::LatitudeSeconds;
    else if (!northSouth)
        result.error = CoordinateError::NorthSouth;
    else if (!lonDeg)
        result.error = CoordinateError::LongitudeDegrees;
    else if (!lonMin)
        result.error = CoordinateError::LongitudeMinutes;
    else if (!lonSec)
        result.error = CoordinateError::LongitudeSeconds;
    else if (!eastWest)
        result.error = CoordinateError::EastWest;
    if (!result.ok())
        return result;

    const LocatorFix fix
        = locatorOfCoordinates({{*latDeg, *latMin, *latSec}, *northSouth, {*lonDeg, *lonMin, *lonSec}, *eastWest});
    result.error = fix.error;
    if (fix.ok()) {
        result.position = fix.position;
        result.locator = locatorText(fix.codes);
    }
    return result;
}

} // namespace locator
