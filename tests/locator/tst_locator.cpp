// Maidenhead and the great circle; the locator window.

#include "clicklabel.h"
#include "clock.h"
#include "compasswidget.h"
#include "greatcircle.h"
#include "locatorwindow.h"
#include "look.h"
#include "maidenhead.h"
#include "panelfixture.h"
#include "scenario.h"
#include "settings.h"
#include "testmain.h"

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <cmath>

using namespace locator;
using namespace Qt::StringLiterals;

// Maidenhead conversion and great-circle arithmetic: the character check, the locator of typed coordinates
// (written here as the eight fields joined by "/"), distance and azimuth. The fuzzer takes any locator through the
// window's texts and back; the window's table checks the texts shown.
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
    static Position stored(const QByteArray &coordinates)
    {
        return locatorOfCoordinateTexts(texts(coordinates)).position;
    }

private slots:
    // One message per failing position, in order, each in its own words; a valid locator converts.
    void characterCheck_data()
    {
        orvanetest::table<QByteArray, QByteArray>({"locator", "failing"},
            {{"AA00AA", ""}, {"RR99XX", ""}, {"", ""}, {"IO91", "56"}, {"J", "23456"}, {"SA00AA", "1"}, {"I@91WM", "2"},
                {"IOA1WM", "3"}, {"IO9/WM", "4"}, {"IO91YM", "5"}, {"IO91W5", "6"}, {"IO91wM", "5"},
                {"S@:/Y@", "123456"}, {"@S/:@Y", "123456"}, {"IO91WM12", ""}});
    }
    void characterCheck()
    {
        QFETCH(QByteArray, locator);
        QFETCH(QByteArray, failing);
        const QString ranges[] = {u"premier caractère est invalide, (plage de A à R)"_s,
            u"deuxième caractère est invalide, (plage de A à R)"_s,
            u"Troisième caractère est invalide, (plage de 0 à 9)"_s,
            u"quatrième caractère est invalide, (plage de 0 à 9)"_s,
            u"cinquième caractère est invalide, (plage de A à X)"_s,
            u"sixième caractère est invalide, (plage de A à X)"_s};
        QStringList expected;
        for (const char position : failing)
            expected << u"Erreur : Le "_s + ranges[position - '1'] + u'.';
        const QString text = QString::fromLatin1(locator);
        QCOMPARE(checkLocatorCharacters(text), expected);
        QCOMPARE(coordinateTextsOfLocator(text).has_value(), !text.isEmpty() && expected.isEmpty());
    }

    // Typed coordinates to the locator and the signed position stored (longitude positive west); empty fields
    // count as the zeros the completion shows; a point on a grid line belongs to the square north or east of it.
    void typedCoordinates_data()
    {
        const double limitLat = 89 + 59 / 60.0 + 59 / 3600.0, limitLon = 179 + 59 / 60.0 + 59 / 3600.0;
        orvanetest::table<QByteArray, QByteArray, double, double>({"typed", "locator", "latitude", "longitude"},
            {{"0/0/0/Nord/0/0/0/Est", "JJ00AA", 0.0, 0.0}, {"0/0/0/Sud/0/0/0/Ouest", "JJ00AA", 0.0, 0.0},
                {"89/59/59/Sud/179/59/59/Ouest", "AA00AA", -limitLat, limitLon},
                {"89/59/59/Nord/179/59/59/Est", "RR99XX", limitLat, -limitLon},
                {"33/51/0/Sud/151/13/0/Est", "QF56OD", -(33 + 51 / 60.0), -(151 + 13 / 60.0)},
                {"48///Nord/2///Est", "JN18AA", 48.0, -2.0}, {"1/0/0/Sud/1/0/0/Ouest", "II99MA", -1.0, 1.0},
                {"20/2/30/Nord/4/10/0/Est", "JL20CB", 20 + 2 / 60.0 + 30 / 3600.0, -(4 + 10 / 60.0)},
                {"05/07/09/Nord/007/00/0/Ouest", "IJ65MC", 5 + 7 / 60.0 + 9 / 3600.0, 7.0}});
    }
    void typedCoordinates()
    {
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, locator);
        const LocatorFromTexts result = locatorOfCoordinateTexts(texts(typed));
        QCOMPARE(result.locator, QString::fromLatin1(locator));
        QTEST(result.position.latitude, "latitude");
        QTEST(result.position.longitude, "longitude");
    }
    void completion()
    {
        CoordinateTexts typed = texts("48///Nord/2///Est");
        QVERIFY(completeCoordinateTexts(typed) && joined(typed) == u"48/0/0/Nord/2/0/0/Est");
        QVERIFY(!completeCoordinateTexts(typed));
    }

    // Refused, naming the first field at fault: anything but ASCII digits, out of range, a hemisphere word not
    // exactly one of the two. Each row changes one field of 51/31/29/Nord/0/7/0/Ouest.
    void refusedCoordinates_data()
    {
        using enum CoordinateError;
        orvanetest::table<int, QByteArray, CoordinateError>({"field", "text", "error"},
            {{3, "nord", NorthSouth}, {3, "", NorthSouth}, {7, "Ouest ", EastWest}, {0, "5a", LatitudeDegrees},
                {0, " 51", LatitudeDegrees}, {2, "29,5", LatitudeSeconds}, {5, "-7", LongitudeMinutes},
                {4, "\u0664", LongitudeDegrees}, {4, "99999999999999999999", LongitudeDegrees},
                {0, "90", LatitudeDegrees}, {4, "180", LongitudeDegrees}, {6, "60", LongitudeSeconds}});
    }
    void refusedCoordinates()
    {
        QFETCH(int, field);
        QFETCH(QByteArray, text);
        QStringList fields = u"51/31/29/Nord/0/7/0/Ouest"_s.split(u'/');
        fields[field] = QString::fromUtf8(text);
        const LocatorFromTexts result = locatorOfCoordinateTexts(texts(fields.join(u'/').toUtf8()));
        QTEST(result.error, "error");
        QVERIFY(result.locator.isEmpty());
    }
    void firstFieldAtFault()
    {
        QCOMPARE(locatorOfCoordinateTexts(texts("95/31/29/Nord/x/7/0/Ouest")).error, CoordinateError::LatitudeDegrees);
    }

    // Distance and azimuth between typed positions. Due north shows 360, never 0; the course is rounded down
    // before the west side takes it from 360; the side is that of the shorter way round, across the date line
    // when that is shorter.
    void distanceAndAzimuth_data()
    {
        const QByteArray paris = "48/51/0/Nord/2/21/0/Est", origin = "0/0/0/Nord/0/0/0/Est",
                         lat45 = "45/0/0/Nord/0/0/0/Est";
        const QByteArray newYork = "40/43/0/Nord/74/0/0/Ouest", tokyo = "35/41/0/Nord/139/41/0/Est";
        orvanetest::table<QByteArray, QByteArray, int, int>({"own", "other", "km", "azimuth"},
            {{paris, newYork, 5843, 292}, {paris, "33/51/0/Sud/151/13/0/Est", 16980, 68},
                {origin, "0/0/0/Nord/1/0/0/Est", 111, 90}, {origin, "1/0/0/Nord/0/0/0/Est", 111, 360},
                {lat45, "45/0/0/Nord/10/0/0/Est", 787, 86}, {lat45, "45/0/0/Nord/10/0/0/Ouest", 787, 274},
                {newYork, tokyo, 10862, 333}, {tokyo, newYork, 10862, 25},
                {"0/0/0/Nord/179/0/0/Est", "0/0/0/Nord/179/0/0/Ouest", 223, 90},
                {origin, "0/0/1/Nord/0/0/0/Est", 0, 360}, {origin, "0/0/0/Nord/0/0/1/Est", 0, 90}});
    }
    void distanceAndAzimuth()
    {
        QFETCH(QByteArray, own);
        QFETCH(QByteArray, other);
        const GreatCirclePath path = greatCirclePath(stored(own), stored(other));
        QTEST(path.distanceKm, "km");
        QTEST(path.azimuth, "azimuth");
        QVERIFY(path.directionDefined);
    }

    // Coincident and antipodal stations (and numbers that are not finite) have no direction: the azimuth is 0.
    void undefinedDirection_data()
    {
        const Position paris = stored("48/51/0/Nord/2/21/0/Est"), pole = stored("89/59/59/Nord/179/59/59/Ouest");
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        orvanetest::table<double, double, double, double, int>({"lat1", "lon1", "lat2", "lon2", "km"},
            {{0, 0, -0.0, -0.0, 0}, {pole.latitude, pole.longitude, pole.latitude, pole.longitude, 0},
                {paris.latitude, paris.longitude, paris.latitude + 1e-9, paris.longitude - 1e-9, 0},
                {paris.latitude, paris.longitude, -paris.latitude, paris.longitude + 180, 20038},
                {90, 0, -90, 0, 20038}, {nan, 0, paris.latitude, paris.longitude, 0},
                {paris.latitude, paris.longitude, 0, inf, 0}});
    }
    void undefinedDirection()
    {
        QFETCH(double, lat1);
        QFETCH(double, lon1);
        QFETCH(double, lat2);
        QFETCH(double, lon2);
        const GreatCirclePath path = greatCirclePath({lat1, lon1}, {lat2, lon2});
        QTEST(path.distanceKm, "km");
        QVERIFY(!path.directionDefined && path.azimuth == 0);
    }

    // A hair from the antipode, where the course formula divides by almost nothing: never a number that is not.
    void nearTheAntipode_data()
    {
        orvanetest::table<double>({"hair"}, {{1e-15}, {1e-13}, {1e-11}, {1e-9}, {1e-7}, {1e-5}});
    }
    void nearTheAntipode()
    {
        QFETCH(double, hair);
        const Position paris = stored("48/51/0/Nord/2/21/0/Est");
        const GreatCirclePath path
            = greatCirclePath(paris, Position {-paris.latitude + hair, paris.longitude + 180 - hair});
        QVERIFY(std::isfinite(path.centralAngle) && std::isfinite(path.courseAngle) && path.azimuth <= 360);
    }
};

// The locator window on its own (the date fixed, the main window's "Locator" label stood in by a plain label), and
// once opened from the main window.
class TestLocatorWindow : public WindowScenario
{
    Q_OBJECT

    Settings m_settings;
    QPointer<WinLocAssistance> m_window;

    QWidget *root() override { return m_window; }
    // Table's own: "open=" opens the window afresh with that own locator, "back=Name" gives the control the focus
    // back as the window regains it, "screenshot=" saves a picture of the window.
    bool special(const QString &name, const QString &value) override
    {
        if (name == u"open=") {
            delete m_window;
            m_settings.Locator = value;
            m_window = new WinLocAssistance(m_settings, &m_launcher);
            m_window->show();
            m_window->activateWindow();
        } else if (name == u"back=") {
            QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(qobject_cast<QWidget *>(control(value)), &back);
        } else if (name == u"screenshot=") {
            PanelFixture::screenshot(*m_window, value);
        } else {
            return false;
        }
        return true;
    }
    // Table's own: "own=" and "other=" a station's fields joined by "/", "needle=" the azimuth the needle shows
    // ("rest" when at rest), "launcher=" the label's colour, and the assistant's stored values by their names.
    std::optional<QString> specialRead(const QString &target) override
    {
        const LocatorAssistant &a = m_window->assistant();
        if (target == u"own" || target == u"other") {
            const StationControls s
                = m_window->controls().station(target == u"own" ? Station::Own : Station::Correspondent);
            QStringList texts;
            for (const QLineEdit *field : s.coordinates)
                texts << field->text();
            texts.insert(3, s.northSouth->currentText());
            return (texts << s.eastWest->currentText()).join(u'/');
        }
        if (target == u"needle") {
            for (int azimuth = 0; azimuth <= 360; ++azimuth)
                if (m_window->controls().compass->needle() == locator::needleLine(azimuth))
                    return QString::number(azimuth);
            return m_window->controls().compass->needle() == locator::needleRestLine() ? u"rest"_s : u"?"_s;
        }
        const std::pair<const char16_t *, double> values[] = {{u"Lat_M", a.Lat_M}, {u"Lon_M", a.Lon_M},
            {u"Lat_S", a.Lat_S}, {u"Lon_S", a.Lon_S}, {u"azimuthDefined", a.azimuthDefined}};
        for (const auto &[name, value] : values)
            if (target == name)
                return QString::number(value);
        return WindowScenario::specialRead(target);
    }

    void rows() override
    {
        const QByteArray london = "other=51/31/29/Nord/0/7/0/Ouest|", measured = "|LabelDistance=Distance: 346 Km";
        const QByteArray digitsOnly = "|messages=erreur : chiffre uniquement.";
        // The own locator from the settings: its coordinates shown, or the character check's messages.
        row("opened", "",
            "Text_M_Loc=JN18EU|own=48/51/30/Nord/2/22/59/Est|LabDate=07-03-2024|needle=rest|"
            "ComDistance.enabled=false|focus=Text_S_Loc|launcher=teal");
        row("no own locator", "open=", "own=///Nord////Est");
        row("four characters", "open=IO91",
            "own=///Nord////Est|messages=Erreur : Le cinquième caractère est invalide, (plage de A à X).+"
            "Erreur : Le sixième caractère est invalide, (plage de A à X).");
        // The correspondent's sixth character measures: distance, azimuth, needle. Enter empties the panel,
        // Backspace rests the needle; a locator that fails its check or equals the own one measures nothing.
        row("correspondent typed", "Text_S_Loc<io91wm",
            "Text_S_Loc=IO91WM|" + london + "LabelAzimut=Azimut: 330°|needle=330|ComDistance.enabled=true" + measured);
        row("Enter", "Text_S_Loc<io91wm\r",
            "Text_S_Loc=|other=///Nord////Ouest|LabelDistance=Distance :|LabelAzimut=Azimut :|needle=rest|"
            "ComDistance.enabled=false|focus=Text_S_Loc");
        row("Backspace", "Text_S_Loc<io91wm\b", "Text_S_Loc=IO91W|needle=rest" + measured);
        row("failed check", "Text_S_Loc<io91wm;Text_S_Loc=;Text_S_Loc<IO91W5",
            london + "needle=rest|messages=Erreur : Le sixième caractère est invalide, (plage de A à X)." + measured);
        row("identical locators", "Text_S_Loc<io91wm;Text_S_Loc=;Text_S_Loc<jn18eu",
            "Text_S_Loc=JN18EU|needle=330|messages=Erreur: les Locators sont identiques." + measured);
        // A coordinate beyond its range is brought to the limit with a message; a key that is no digit empties the
        // field; any key in a coordinate field empties that panel's locator, only that one.
        const char *ranges[][4] = {{"Text_M_Lat_Deg", "95", "89", "Degrés Latitude de 0 à 89"},
            {"Text_S_Lon_Deg", "180", "179", "Degrés Longitude de 0 à 179"},
            {"Text_M_Lat_Sec", "77", "59", "Secondes Latitude de 0 à 59"},
            {"Text_M_Lon_Min", "99", "59", "Minutes Longitude de 0 à 59"},
            {"Text_M_Lon_Sec", "60", "59", "Secondes Longitude de 0 à 59"}, {"Text_S_Lat_Deg", "89", "89", ""},
            {"Text_M_Lon_Deg", "179", "179", ""}, {"Text_M_Lon_Deg", "059", "059", ""},
            {"Text_M_Lat_Min", "12\b", "1", ""}};
        for (const auto &[field, keys, text, message] : ranges) {
            const bool own = QByteArray(field).startsWith("Text_M");
            row((field + QByteArray(keys)).constData(), "Text_S_Loc=IO91;"_ba + field + '<' + keys,
                QByteArray(field) + '=' + text + "|Text_M_Loc=" + (own ? "" : "JN18EU")
                    + "|Text_S_Loc=" + (own ? "IO91" : "") + (*message ? "|messages=Erreur : "_ba + message : ""_ba));
        }
        row("letter", "Text_M_Lat_Deg<4x", "Text_M_Lat_Deg=" + digitsOnly);
        row("letter composed", "Text_M_Lat_Deg%4x", "Text_M_Lat_Deg=" + digitsOnly);
        row("letter pasted", "clipboard=4x;Text_M_Lat_Deg+Ctrl+V", "Text_M_Lat_Deg=" + digitsOnly);
        row("comma", "Text_S_Lat_Min<3,", "Text_S_Lat_Min=" + digitsOnly);
        // AltGr arrives as Ctrl+Alt on Windows: what it types goes through the same checks.
        row("AltGr @", "Text_S_Lat_Min+Ctrl+Alt+@", "Text_S_Lat_Min=" + digitsOnly);
        row("AltGr in a locator", "Text_S_Loc+Ctrl+Alt+{;Text_S_Loc+Ctrl+Alt+|;Text_S_Loc+Ctrl+Alt+~",
            "Text_S_Loc=[\\^");
        // Pasted text: digits only, to the field's length; "Calcul" turns what the fields show into a locator.
        row("pasted", "clipboard=45;Text_S_Lat_Min+Ctrl+V", "Text_S_Lat_Min=45");
        row("pasted, too long", "Text_S_Lat_Deg<10;clipboard=1234;Text_S_Lat_Min+Ctrl+V;Com_S", "Text_S_Loc=JK00AE");
        // Pasted characters meet the rule typed ones do: each other than a digit is refused, and said.
        row("pasted, not ASCII digits", "clipboard=\u0664\u0665;Text_S_Lat_Min+Ctrl+V",
            "Text_S_Lat_Min=|messages=erreur : chiffre uniquement.+erreur : chiffre uniquement.");
        // "Sauve" locks the own station: no key, Delete or paste reaches its coordinates, "Raz" is off; the rest of
        // the window stays usable.
        row("locked", "Check_Sauve;Text_M_Lat_Deg<7x\b;Text_M_Lat_Deg+Delete;clipboard=1;Text_M_Lat_Deg+Ctrl+V",
            "Com_M_RAZ.enabled=false|Text_M_Lat_Deg=48|Text_M_Loc=JN18EU");
        row("locked, the rest usable", "Check_Sauve;Text_S_Lat_Deg<5;Text_M_Loc=;Text_M_Loc<io91wm;Com_M",
            "Text_S_Lat_Deg=5|own=51/31/29/Nord/0/7/0/Ouest");
        row("unlocked, Raz", "Check_Sauve*2;Com_M_RAZ", "own=///Nord////Est|Text_M_Loc=");
        // A hemisphere box visited (not the window regaining the focus) empties its panel's locator.
        row("own box", "Text_S_Loc=IO91;back=Comb_M_NS;back=Comb_S_EO", "Text_M_Loc=JN18EU|Text_S_Loc=IO91");
        row("own box visited", "Text_S_Loc=IO91;Comb_M_NS!", "Text_M_Loc=|Text_S_Loc=IO91|Comb_M_NS.editable=false");
        row("other box visited", "Text_S_Loc=IO91;Comb_S_EO!", "Text_M_Loc=JN18EU|Text_S_Loc=");
        // Typed coordinates: the own panel gains its locator, fields completed with zeros; the correspondent's
        // locator starts the computation, which shows, stores and measures to that locator's own point.
        row("own coordinates", "Com_M_RAZ;Text_M_Lat_Deg<48;Text_M_Lon_Deg<2;Comb_M_EO=Est;Com_M",
            "Text_M_Loc=JN18AA|own=48/0/0/Nord/2/0/0/Est|Lat_M=48|Lon_M=-2");
        row("other coordinates", "Text_S_Lat_Deg<40;Text_S_Lat_Min<43;Text_S_Lon_Deg<74;Comb_S_EO=Ouest;Com_S",
            "Text_S_Loc=FN30AR|other=40/44/0/Nord/73/57/0/Ouest|Lat_S=40.7333|Lon_S=73.95|"
            "LabelDistance=Distance: 5841 Km");
        row("coincident",
            "Text_S_Lat_Deg<48;Text_S_Lat_Min<51;Text_S_Lat_Sec<30;Text_S_Lon_Deg<2;Text_S_Lon_Min<22;"
            "Text_S_Lon_Sec<59;Com_S;ComDistance",
            "messages=Erreur: les Locators sont identiques.|LabelDistance=Distance: 0 Km|LabelAzimut=Azimut :|"
            "needle=rest|azimuthDefined=0");
        row("screenshot", "Text_S_Loc<fn20xr;screenshot=locator-window", "LabelAzimut=Azimut: 292°");
    }

private slots:
    void initTestCase()
    {
        ui::setClockOverride([] { return QDateTime(QDate(2024, 3, 7), QTime(21, 5)); });
    }
    void init()
    {
        fresh();
        act(u"open=JN18EU"_s);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    void cleanup() { delete m_window; }
    void cleanupTestCase() { ui::setClockOverride({}); }

    // "Locator" on the main window: refused with a message until a locator is configured, then opens the window
    // (not modal), shows the same one again, and after a close a new one; emptied there, its own locator gives the
    // message again; the program's end closes it.
    void openedFromMainWindow()
    {
        PanelFixture fixture;
        QVERIFY(fixture.start(4800, "\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"\""));
        ClickLabel *label = fixture.c().LabLocat;
        LocatorLauncher &launcher = fixture.program().locatorLauncher;
        QVERIFY(fixture.switchOn() && (label->click(), !launcher.window()));
        fixture.program().settings.Locator = u"JN18EU"_s;
        label->click();
        QPointer<WinLocAssistance> window = launcher.window();
        QVERIFY(window && window->isVisible() && !window->isModal() && look::backColor(label) == look::Teal);
        QCOMPARE(window->controls().Text_M_Lat_Deg->text(), u"48"_s);
        window->controls().Check_Sauve->click();
        QVERIFY(window->close() && look::backColor(label) == look::Navy);
        QTRY_VERIFY(window.isNull());
        label->click();
        window = launcher.window();
        label->click();
        QVERIFY(window && window == launcher.window() && !window->controls().Check_Sauve->isChecked());
        window->controls().Com_M_RAZ->click();
        label->click();
        QCOMPARE(fixture.messages.size(), 2);
        QCOMPARE(fixture.messages.at(1).text,
            u"Erreur : Vous n'avez pas entré votre Locator dans la fenêtre configuration."_s);
        QVERIFY(window->isVisible() && look::backColor(label) == look::Teal);
        fixture.program().shell.Form_Unload();
        QVERIFY((window.isNull() || !window->isVisible()) && look::backColor(label) == look::Navy);
    }
};

ORVANE_TEST_MAIN(TestLocatorCore, TestLocatorWindow)
#include "tst_locator.moc"
