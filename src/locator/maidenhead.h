#pragma once

// Maidenhead locators and the degrees, minutes and seconds of the locator window, both ways.
//
// Two layers: a numeric core on character codes, whole numbers and doubles (cheap enough to run over every
// locator in a test), and thin text wrappers that take and give the texts of the window's fields. The
// wrappers only parse and format; every number they produce comes from the core.
//
// Longitudes are kept west-positive throughout (a station in Paris has a negative longitude), latitudes
// north-positive; the distance and azimuth arithmetic relies on that sign convention.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace locator {

// The six character codes of a locator, in text order (longitude field, latitude field, ...).
using LocatorCodes = std::array<char16_t, 6>;

// A station position in signed decimal degrees: latitude positive north, longitude positive WEST.
struct Position
{
    double latitude = 0.0;
    double longitude = 0.0;
};

enum class NorthSouth { Nord, Sud };
enum class EastWest { Est, Ouest };

// Whole degrees, minutes and seconds as the window's fields hold them.
struct Dms
{
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
};

// What one station panel shows apart from its locator.
struct Coordinates
{
    Dms latitude;
    NorthSouth northSouth = NorthSouth::Nord;
    Dms longitude;
    EastWest eastWest = EastWest::Est;
};

// Why coordinates were refused, naming the first offending field in the window's order. A number field is
// refused when it holds anything but the ASCII digits 0-9 or lies outside its range (latitude degrees 0-89,
// longitude degrees 0-179, minutes and seconds 0-59); a hemisphere when its text is not exactly one of its
// two words (case and blanks count).
enum class CoordinateError {
    None,
    LatitudeDegrees,
    LatitudeMinutes,
    LatitudeSeconds,
    NorthSouth,
    LongitudeDegrees,
    LongitudeMinutes,
    LongitudeSeconds,
    EastWest,
};

// The result of turning coordinates into a locator. On refusal nothing is meant to change in the window:
// neither the stored position nor the locator field.
struct LocatorFix
{
    CoordinateError error = CoordinateError::None;
    Position position; // the signed position to store as the station's position
    LocatorCodes codes {};
    bool ok() const { return error == CoordinateError::None; }
};

// --- numeric core ---

// The point of a locator that the window shows: not the centre of the subsquare but 0.6 of its width east of
// its west edge and 0.6 of its height north of its south edge, so that the coordinates shown, rounded down to
// whole seconds, still fall inside the same subsquare. The codes must have passed checkLocatorCharacters().
Position locatorPosition(const LocatorCodes &codes);

// A position split into rounded-down degrees, minutes and seconds with its hemisphere words. Positive values
// are "Nord" / "Ouest", negative ones "Sud" / "Est"; zero (which no locator gives) counts as "Nord" / "Est".
Coordinates coordinatesOfPosition(const Position &position);

// locatorPosition() and coordinatesOfPosition() in one: what the window shows for a locator.
Coordinates coordinatesOfLocator(const LocatorCodes &codes);

// Coordinates to the signed position and the locator containing it. Refuses values outside the fields'
// ranges. 0° 0′ 0″ gives JJ00AA whatever the hemisphere words.
LocatorFix locatorOfCoordinates(const Coordinates &coordinates);

// --- texts of the window ---

// The exact hemisphere words of the combo boxes, and their reading (std::nullopt for any other text).
QString northSouthText(NorthSouth hemisphere);
QString eastWestText(EastWest hemisphere);
std::optional<NorthSouth> northSouthFromText(const QString &text);
std::optional<EastWest> eastWestFromText(const QString &text);

// The character check of a typed locator: one message per failing position, in position order, each to be
// shown in its own box. Positions past the end of a short text fail; characters are compared by code, so a
// lower-case letter fails. Empty text gives no message (there is nothing to convert either); only the first
// six characters are looked at. The locator is valid when the text is not empty and no message came back.
QStringList checkLocatorCharacters(const QString &locator);

// The texts of the eight coordinate fields of a station panel.
struct CoordinateTexts
{
    QString latitudeDegrees;
    QString latitudeMinutes;
    QString latitudeSeconds;
    QString northSouth;
    QString longitudeDegrees;
    QString longitudeMinutes;
    QString longitudeSeconds;
    QString eastWest;
};

// The field texts for a locator (numbers without leading zeros, hemisphere words), or std::nullopt when the
// text does not pass the character check. Four-character locators are refused like any short text: the
// settings may hold one, and guessing its subsquare would silently place the station anywhere in a 2° by 1° square.
std::optional<CoordinateTexts> coordinateTextsOfLocator(const QString &locator);

// Puts "0" into every empty number field, in field order; returns whether anything changed. The window runs
// this before locatorOfCoordinateTexts() so that it shows the zeros it computes with.
bool completeCoordinateTexts(CoordinateTexts &texts);

// The result of coordinates typed into a panel.
struct LocatorFromTexts
{
    CoordinateError error = CoordinateError::None;
    Position position;
    QString locator; // six characters, empty on refusal
    bool ok() const { return error == CoordinateError::None; }
};

// Reads the field texts (empty number fields count as 0) and converts them with locatorOfCoordinates().
// Pasted text, out-of-range values and unknown hemisphere words are refused, never converted.
LocatorFromTexts locatorOfCoordinateTexts(const CoordinateTexts &texts);

// Texts for the numeric core and back.
std::optional<LocatorCodes> locatorCodes(const QString &locator); // std::nullopt unless the check passes
QString locatorText(const LocatorCodes &codes);
CoordinateTexts coordinateTexts(const Coordinates &coordinates);

} // namespace locator
