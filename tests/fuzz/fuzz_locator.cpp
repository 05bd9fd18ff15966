// The locator window's fields as an operator may type or paste them: a locator, and the eight coordinate fields
// of a station. The first byte chooses what the rest is: a locator text, coordinate texts separated by 0x1F
// (as UTF-8), or two raw positions. Checks: the character check and the conversion agree, a valid locator
// survives a round trip through its coordinate texts, converted coordinates land in a valid locator that holds
// them, and no distance or azimuth is ever NaN or out of its range.

#include "fuzzinput.h"
#include "greatcircle.h"
#include "maidenhead.h"

#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

using namespace locator;

QString describe(const Position &p)
{
    return QStringLiteral("%1 %2").arg(p.latitude, 0, 'g', 17).arg(p.longitude, 0, 'g', 17);
}

void checkPath(const Position &a, const Position &b)
{
    const GreatCirclePath path = greatCirclePath(a, b);
    const QString where = describe(a) + u" -> "_s + describe(b);
    FUZZ_CHECK(std::isfinite(path.centralAngle) && path.centralAngle >= 0 && path.centralAngle <= 3.1415927, where);
    FUZZ_CHECK(std::isfinite(path.courseAngle) && path.courseAngle >= 0 && path.courseAngle <= 180, where);
    FUZZ_CHECK(path.distanceKm >= 0 && path.distanceKm <= 20039, where);
    FUZZ_CHECK(path.azimuth >= 0 && path.azimuth <= 360, where);
    FUZZ_CHECK(path.directionDefined || path.azimuth == 0, where);
    // The same distance both ways, but for rounding in the last place.
    FUZZ_CHECK(std::abs(greatCirclePath(b, a).distanceKm - path.distanceKm) <= 1, where);
    const QLineF needle = needleLine(path.azimuth);
    FUZZ_CHECK(std::isfinite(needle.x2()) && std::isfinite(needle.y2()), where);
}

bool inRange(const Position &p)
{
    return std::abs(p.latitude) < 90 && std::abs(p.longitude) < 180;
}

bool operator==(const CoordinateTexts &a, const CoordinateTexts &b)
{
    return a.latitudeDegrees == b.latitudeDegrees && a.latitudeMinutes == b.latitudeMinutes
        && a.latitudeSeconds == b.latitudeSeconds && a.northSouth == b.northSouth
        && a.longitudeDegrees == b.longitudeDegrees && a.longitudeMinutes == b.longitudeMinutes
        && a.longitudeSeconds == b.longitudeSeconds && a.eastWest == b.eastWest;
}

// A locator typed into a field.
void checkLocator(const QString &text)
{
    const QStringList messages = checkLocatorCharacters(text);
    FUZZ_CHECK(messages.size() <= 6 && (!text.isEmpty() || messages.isEmpty()), text);
    FUZZ_CHECK(messages.size() == QSet<QString>(messages.begin(), messages.end()).size(), text);
    const std::optional<CoordinateTexts> texts = coordinateTextsOfLocator(text);
    FUZZ_CHECK(texts.has_value() == (!text.isEmpty() && messages.isEmpty()), text);
    FUZZ_CHECK(locatorCodes(text).has_value() == texts.has_value(), text);
    if (!texts)
        return;
    // What the window shows for a locator converts back to the same locator.
    CoordinateTexts shown = *texts;
    FUZZ_CHECK(!completeCoordinateTexts(shown), text);
    const LocatorFromTexts back = locatorOfCoordinateTexts(shown);
    FUZZ_CHECK(back.ok() && back.locator == text.left(6), text + u" -> "_s + back.locator);
    FUZZ_CHECK(inRange(back.position), describe(back.position));
    checkPath(back.position, locatorPosition(*locatorCodes(text)));
}

// Coordinates typed into the eight fields of a panel.
void checkCoordinates(const QList<QByteArray> &fields)
{
    CoordinateTexts texts;
    QString *const order[] = {&texts.latitudeDegrees, &texts.latitudeMinutes, &texts.latitudeSeconds, &texts.northSouth,
        &texts.longitudeDegrees, &texts.longitudeMinutes, &texts.longitudeSeconds, &texts.eastWest};
    for (qsizetype i = 0; i < 8 && i < fields.size(); ++i)
        *order[i] = QString::fromUtf8(fields[i]);

    const LocatorFromTexts raw = locatorOfCoordinateTexts(texts);
    CoordinateTexts completed = texts;
    const bool changed = completeCoordinateTexts(completed);
    FUZZ_CHECK(!completeCoordinateTexts(completed), completed.latitudeDegrees);
    FUZZ_CHECK(changed == !(completed == texts), completed.latitudeDegrees);
    // Empty number fields count as zero whether or not the window filled them in first.
    const LocatorFromTexts result = locatorOfCoordinateTexts(completed);
    FUZZ_CHECK(raw.error == result.error && raw.locator == result.locator, result.locator);
    if (!result.ok()) {
        FUZZ_CHECK(result.locator.isEmpty(), result.locator);
        return;
    }
    FUZZ_CHECK(checkLocatorCharacters(result.locator).isEmpty() && result.locator.size() == 6, result.locator);
    FUZZ_CHECK(std::abs(result.position.latitude) < 90 && std::abs(result.position.longitude) < 180,
        describe(result.position));
    // The locator holds the typed point: the corner of its subsquare is south-west of it by less than a subsquare.
    const LocatorCodes codes = *locatorCodes(result.locator);
    const Position shownPoint = locatorPosition(codes);
    const double south = shownPoint.latitude - 0.6 / 24;
    const double west = shownPoint.longitude + 0.6 / 12;
    const double eps = 1e-9;
    FUZZ_CHECK(result.position.latitude >= south - eps && result.position.latitude < south + 1.0 / 24 + eps,
        result.locator + u" "_s + describe(result.position));
    FUZZ_CHECK(result.position.longitude <= west + eps && result.position.longitude > west - 1.0 / 12 - eps,
        result.locator + u" "_s + describe(result.position));
    checkLocator(result.locator);
    checkPath(result.position, shownPoint);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    switch (in.byte() % 4) {
    case 0: { // as Latin-1 bytes, as a field pasted from anywhere might decode
        checkLocator(QString::fromLatin1(in.rest()));
        break;
    }
    case 1: {
        const QByteArray bytes = in.rest();
        checkLocator(QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2));
        break;
    }
    case 2: {
        QList<QByteArray> fields;
        while (!in.atEnd() && fields.size() < 8)
            fields.append(in.until('\x1f'));
        checkCoordinates(fields);
        break;
    }
    default: { // positions as raw numbers, whatever they hold
        double v[4] = {};
        const QByteArray bytes = in.bytes(sizeof v);
        std::memcpy(v, bytes.constData(), std::size_t(bytes.size()));
        const Position a {v[0], v[1]};
        const Position b {v[2], v[3]};
        const GreatCirclePath path = greatCirclePath(a, b);
        const QString where = describe(a) + u" -> "_s + describe(b);
        FUZZ_CHECK(std::isfinite(path.centralAngle) && std::isfinite(path.courseAngle), where);
        FUZZ_CHECK(path.distanceKm >= 0 && path.distanceKm <= 20039 && path.azimuth >= 0 && path.azimuth <= 360, where);
        if (inRange(a) && inRange(b))
            checkPath(a, b);
        break;
    }
    }
    return 0;
}
