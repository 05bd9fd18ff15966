// The locator window's fields as an operator may type or paste them: the first byte chooses what the rest is, a
// locator (as Latin-1 or UTF-16), the eight coordinate fields of a station separated by 0x1F (UTF-8), or two raw
// positions. Checks: the character check and the conversion agree, a valid locator survives a round trip through
// its coordinate texts, converted coordinates land in a valid locator that holds them, and no distance or azimuth
// is ever NaN or out of its range.

#include "fuzzinput.h"
#include "greatcircle.h"
#include "maidenhead.h"

#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;
using namespace locator;

namespace {

bool inRange(const Position &p)
{
    return std::abs(p.latitude) < 90 && std::abs(p.longitude) < 180;
}

void checkPath(const Position &a, const Position &b)
{
    const GreatCirclePath path = greatCirclePath(a, b);
    FUZZ_CHECK(std::isfinite(path.centralAngle) && std::isfinite(path.courseAngle));
    FUZZ_CHECK(path.distanceKm >= 0 && path.distanceKm <= 20039 && path.azimuth >= 0 && path.azimuth <= 360);
    if (!inRange(a) || !inRange(b))
        return;
    FUZZ_CHECK(
        path.centralAngle >= 0 && path.centralAngle <= 3.1415927 && path.courseAngle >= 0 && path.courseAngle <= 180);
    FUZZ_CHECK(path.directionDefined || path.azimuth == 0);
    // The same distance both ways, but for rounding in the last place.
    FUZZ_CHECK(std::abs(greatCirclePath(b, a).distanceKm - path.distanceKm) <= 1);
    const QLineF needle = needleLine(path.azimuth);
    FUZZ_CHECK(std::isfinite(needle.x2()) && std::isfinite(needle.y2()));
}

// A locator typed into a field: what the window shows for it converts back to the same locator.
void checkLocator(const QString &text)
{
    const QStringList messages = checkLocatorCharacters(text);
    FUZZ_CHECK(messages.size() <= 6 && (!text.isEmpty() || messages.isEmpty()));
    std::optional<CoordinateTexts> texts = coordinateTextsOfLocator(text);
    FUZZ_CHECK(texts.has_value() == (!text.isEmpty() && messages.isEmpty())
        && locatorCodes(text).has_value() == texts.has_value());
    if (!texts)
        return;
    FUZZ_CHECK(!completeCoordinateTexts(*texts));
    const LocatorFromTexts back = locatorOfCoordinateTexts(*texts);
    FUZZ_CHECK(back.ok() && back.locator == text.left(6) && inRange(back.position));
    checkPath(back.position, locatorPosition(*locatorCodes(text)));
}

// Coordinates typed into the eight fields of a panel.
void checkCoordinates(QStringList f)
{
    f.resize(8);
    const CoordinateTexts texts {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
    // Empty number fields count as zero whether or not the window filled them in first.
    CoordinateTexts completed = texts;
    completeCoordinateTexts(completed);
    FUZZ_CHECK(!completeCoordinateTexts(completed));
    const LocatorFromTexts raw = locatorOfCoordinateTexts(texts);
    const LocatorFromTexts result = locatorOfCoordinateTexts(completed);
    FUZZ_CHECK(raw.error == result.error && raw.locator == result.locator);
    FUZZ_CHECK(result.ok()
            ? checkLocatorCharacters(result.locator).isEmpty() && result.locator.size() == 6 && inRange(result.position)
            : result.locator.isEmpty());
    if (!result.ok())
        return;
    // The locator holds the typed point: its subsquare's corner lies south-west of it by less than a subsquare.
    const Position centre = locatorPosition(*locatorCodes(result.locator));
    const double south = centre.latitude - 0.6 / 24, west = centre.longitude + 0.6 / 12, eps = 1e-9;
    FUZZ_CHECK(result.position.latitude >= south - eps && result.position.latitude < south + 1.0 / 24 + eps);
    FUZZ_CHECK(result.position.longitude <= west + eps && result.position.longitude > west - 1.0 / 12 - eps);
    checkPath(result.position, centre);
    checkLocator(result.locator);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const int kind = in.byte() % 4;
    const QByteArray bytes = in.rest();
    double v[4] = {};
    std::memcpy(v, bytes.constData(), std::min(sizeof v, std::size_t(bytes.size())));
    if (kind == 0) // a locator, as a field pasted from anywhere might decode it
        checkLocator(QString::fromLatin1(bytes));
    else if (kind == 1)
        checkLocator(QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2));
    else if (kind == 2) // the eight fields of a station
        checkCoordinates(QString::fromUtf8(bytes).split(u'\x1f'));
    else // two positions as raw numbers, whatever they hold
        checkPath({v[0], v[1]}, {v[2], v[3]});
    return 0;
}
