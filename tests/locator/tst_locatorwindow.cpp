#include "clicklabel.h"
#include "clock.h"
#include "compasswidget.h"
#include "greatcircle.h"
#include "locatorwindow.h"
#include "look.h"
#include "messagebox.h"
#include "panelfixture.h"
#include "settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<ui::ShownMessage> shown;

QStringList shownTexts()
{
    QStringList texts;
    for (const ui::ShownMessage &m : shown)
        texts << m.text;
    return texts;
}

// A locator window opened on its own, with the main window's "Locator" label stood in by a plain label.
class Opened
{
public:
    explicit Opened(const QString &ownLocator)
    {
        settings.Locator = ownLocator;
        look::setBackColor(&launcher, look::Navy);
        window = new WinLocAssistance(settings, &launcher);
        window->show();
        window->activateWindow();
        ready = QTest::qWaitForWindowActive(window);
    }
    ~Opened() { delete window.data(); }

    LocatorControls &c() { return window->controls(); }
    LocatorAssistant &a() { return window->assistant(); }
    QStringList fields(Station station)
    {
        const StationControls s = c().station(station);
        QStringList texts;
        for (const QLineEdit *e : s.coordinates)
            texts << e->text();
        texts.insert(3, s.northSouth->currentText());
        texts << s.eastWest->currentText();
        return texts;
    }
    void type(QLineEdit *edit, const QString &keys)
    {
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, keys);
    }

    Settings settings;
    QLabel launcher;
    QPointer<WinLocAssistance> window;
    bool ready = false;
};

QStringList dms(const char *latDeg, const char *latMin, const char *latSec, const char *ns, const char *lonDeg,
    const char *lonMin, const char *lonSec, const char *eo)
{
    return {QString::fromUtf8(latDeg), QString::fromUtf8(latMin), QString::fromUtf8(latSec), QString::fromUtf8(ns),
        QString::fromUtf8(lonDeg), QString::fromUtf8(lonMin), QString::fromUtf8(lonSec), QString::fromUtf8(eo)};
}

const QStringList Empty = dms("", "", "", "Nord", "", "", "", "Est");
const QStringList London = dms("51", "31", "29", "Nord", "0", "7", "0", "Ouest");
const QString Fifth = u"Erreur : Le cinquième caractère est invalide, (plage de A à X)."_s;
const QString Sixth = u"Erreur : Le sixième caractère est invalide, (plage de A à X)."_s;

} // namespace

class TstLocatorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ui::setMessageHandler([](const ui::ShownMessage &m) { shown.append(m); });
        ui::setClockOverride([] { return QDateTime(QDate(2024, 3, 7), QTime(21, 5)); });
    }
    void init() { shown.clear(); }
    void cleanupTestCase()
    {
        ui::setMessageHandler({});
        ui::setClockOverride({});
    }

    void loading_data()
    {
        QTest::addColumn<QString>("ownLocator");
        QTest::addColumn<QStringList>("ownFields");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("valid") << u"JN18EU"_s << dms("48", "51", "30", "Nord", "2", "22", "59", "Est") << QStringList();
        QTest::newRow("none") << QString() << Empty << QStringList();
        QTest::newRow("four_characters") << u"IO91"_s << Empty << QStringList {Fifth, Sixth};
    }
    void loading()
    {
        QFETCH(QString, ownLocator);
        QFETCH(QStringList, ownFields);
        QFETCH(QStringList, messages);
        Opened o(ownLocator);
        QVERIFY(o.ready);
        QCOMPARE(o.window->windowTitle(), u"Locavia-V1.1"_s);
        QCOMPARE(o.c().Text_M_Loc->text(), ownLocator);
        QCOMPARE(o.fields(Station::Own), ownFields);
        QCOMPARE(shownTexts(), messages);
        QCOMPARE(o.c().LabDate->text(), u"07-03-2024"_s);
        QCOMPARE(o.c().LabelDistance->text(), u"Distance : "_s);
        QCOMPARE(o.c().LabelAzimut->text(), u"Azimut : "_s);
        QVERIFY(!o.c().ComDistance->isEnabled());
        QCOMPARE(o.c().compass->needle(), locator::needleRestLine());
        QCOMPARE(QApplication::focusWidget(), o.c().Text_S_Loc);
        QCOMPARE(look::backColor(&o.launcher), look::Teal);
    }

    void correspondentLocator_data()
    {
        QTest::addColumn<bool>("clearFirst"); // emptied by the program, so that the needle is not touched
        QTest::addColumn<QString>("keys"); // typed after "io91wm"
        QTest::addColumn<QString>("locator");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("labels");
        QTest::addColumn<QLineF>("needle");
        QTest::addColumn<QStringList>("messages");

        const QString measured = u"Distance: 346 Km / Azimut: 330°"_s;
        QTest::newRow("io91wm_typed") << false << QString() << u"IO91WM"_s << London << measured
                                      << locator::needleLine(330) << QStringList();
        QTest::newRow("enter_resets") << false << u"\r"_s << QString() << dms("", "", "", "Nord", "", "", "", "Ouest")
                                      << u"Distance : / Azimut :"_s << locator::needleRestLine() << QStringList();
        QTest::newRow("backspace_rests_needle")
            << false << u"\b"_s << u"IO91W"_s << London << measured << locator::needleRestLine() << QStringList();
        // Nothing is measured from the position a failed locator left behind.
        QTest::newRow("failed_check") << true << u"IO91W5"_s << u"IO91W5"_s << London << measured
                                      << locator::needleRestLine() << QStringList {Sixth};
        QTest::newRow("identical_locators")
            << true << u"jn18eu"_s << u"JN18EU"_s << London << measured << locator::needleLine(330)
            << QStringList {u"Erreur: les Locators sont identiques."_s};
    }
    void correspondentLocator()
    {
        QFETCH(bool, clearFirst);
        QFETCH(QString, keys);
        Opened o(u"JN18EU"_s);
        o.type(o.c().Text_S_Loc, u"io91wm"_s);
        if (clearFirst)
            o.c().Text_S_Loc->clear();
        QTest::keyClicks(o.c().Text_S_Loc, keys);
        QTEST(o.c().Text_S_Loc->text(), "locator");
        QTEST(o.fields(Station::Correspondent), "fields");
        QTEST(o.c().LabelDistance->text() + u" / "_s + o.c().LabelAzimut->text(), "labels");
        QTEST(o.c().compass->needle(), "needle");
        QTEST(shownTexts(), "messages");
        for (const ui::ShownMessage &m : shown)
            QCOMPARE(m.icon, ui::MsgIcon::None);
        QCOMPARE(o.c().ComDistance->isEnabled(), keys != u"\r");
        QCOMPARE(QApplication::focusWidget(), o.c().Text_S_Loc);
        QCOMPARE(o.c().Text_M_Loc->text(), u"JN18EU"_s);
    }

    void coordinateTyping_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");

        auto row = [](const char *name, const char *field, const char *keys, const char *text, const QString &message) {
            QTest::newRow(name) << QString::fromLatin1(field) << QString::fromLatin1(keys) << QString::fromLatin1(text)
                                << message;
        };
        const QString range = u"Erreur : %1 de 0 à %2"_s;
        row("latitude_95", "Text_M_Lat_Deg", "95", "89", range.arg(u"Degrés Latitude"_s).arg(89));
        row("longitude_180", "Text_S_Lon_Deg", "180", "179", range.arg(u"Degrés Longitude"_s).arg(179));
        row("minutes_60", "Text_S_Lat_Min", "60", "59", range.arg(u"Minutes Latitude"_s).arg(59));
        row("seconds_77", "Text_M_Lat_Sec", "77", "59", range.arg(u"Secondes Latitude"_s).arg(59));
        row("lon_minutes_99", "Text_M_Lon_Min", "99", "59", range.arg(u"Minutes Longitude"_s).arg(59));
        row("lon_seconds_60", "Text_S_Lon_Sec", "60", "59", range.arg(u"Secondes Longitude"_s).arg(59));
        row("latitude_89_kept", "Text_S_Lat_Deg", "89", "89", {});
        row("longitude_179_kept", "Text_M_Lon_Deg", "179", "179", {});
        row("leading_zero_kept", "Text_M_Lon_Deg", "059", "059", {});
        row("backspace", "Text_M_Lat_Min", "12\b", "1", {});
        row("own_letter", "Text_M_Lat_Deg", "4x", "", u"erreur : chiffre uniquement."_s);
        row("comma", "Text_S_Lat_Min", "3,", "", u"erreur : chiffre uniquement."_s);
    }
    void coordinateTyping()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, message);
        Opened o(u"JN18EU"_s);
        o.c().Text_S_Loc->setText(u"IO91"_s);
        auto *edit = o.window->findChild<QLineEdit *>(field);
        o.type(edit, keys);
        QTEST(edit->text(), "text");
        QCOMPARE(shownTexts(), message.isEmpty() ? QStringList() : QStringList {message});
        // Range messages carry the error icon, the digits-only one none.
        if (!message.isEmpty())
            QCOMPARE(shown.first().icon, message.startsWith(u"Erreur"_s) ? ui::MsgIcon::Error : ui::MsgIcon::None);
        // Any key in a coordinate field empties that panel's locator, and only that one.
        const bool own = field.startsWith(u"Text_M"_s);
        QCOMPARE(o.c().Text_M_Loc->text(), own ? QString() : u"JN18EU"_s);
        QCOMPARE(o.c().Text_S_Loc->text(), own ? u"IO91"_s : QString());
    }

    // AltGr arrives as Ctrl+Alt on Windows: what it types goes through the same checks as any other key.
    void altGrCharacters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("refused"); // "chiffre uniquement" messages
        QTest::newRow("@ in a coordinate") << u"Text_S_Lat_Min"_s << u"@"_s << QString() << 1;
        QTest::newRow("# in a longitude") << u"Text_M_Lon_Deg"_s << u"#"_s << QString() << 1;
        QTest::newRow("{ | ~ in a locator") << u"Text_S_Loc"_s << u"{|~"_s << u"[\\^"_s << 0;
    }
    void altGrCharacters()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, refused);
        Opened o(u"JN18EU"_s);
        auto *edit = o.window->findChild<QLineEdit *>(field);
        edit->setFocus(Qt::TabFocusReason);
        for (const QChar ch : typed)
            QTest::sendKeyEvent(
                QTest::Click, edit, Qt::Key(ch.unicode()), QString(ch), Qt::ControlModifier | Qt::AltModifier);
        QTEST(edit->text(), "text");
        QCOMPARE(shownTexts(), QStringList(refused, u"erreur : chiffre uniquement."_s));
    }

    void pasteTakesDigitsOnly_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("locator");

        QTest::newRow("digits") << u"45"_s << u"45"_s << u"JK00AS"_s;
        QTest::newRow("too_long_cut") << u"1234"_s << u"12"_s << u"JK00AE"_s;
        QTest::newRow("arabic_indic_digits") << u"\u0664\u0665"_s << QString() << u"JK00AA"_s;
    }
    void pasteTakesDigitsOnly()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        QFETCH(QString, locator);
        Opened o(u"JN18EU"_s);
        o.type(o.c().Text_S_Lat_Deg, u"10"_s);
        QApplication::clipboard()->setText(clipboard);
        o.c().Text_S_Lat_Min->setFocus();
        QTest::keyClick(o.c().Text_S_Lat_Min, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(o.c().Text_S_Lat_Min->text(), text);
        QVERIFY(shown.isEmpty());
        // "Calcul" turns only what the field shows into a locator.
        o.c().Com_S->click();
        QCOMPARE(o.c().Text_S_Loc->text(), locator);
    }

    void ownStationLock()
    {
        Opened o(u"JN18EU"_s);
        o.c().Check_Sauve->click();
        QVERIFY(!o.c().Com_M_RAZ->isEnabled());

        for (const char *keys : {"7", "x"})
            o.type(o.c().Text_M_Lat_Deg, QString::fromLatin1(keys));
        QTest::keyClick(o.c().Text_M_Lat_Deg, Qt::Key_Backspace);
        QTest::keyClick(o.c().Text_M_Lat_Deg, Qt::Key_Delete);
        QApplication::clipboard()->setText(u"1"_s);
        QTest::keyClick(o.c().Text_M_Lat_Deg, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(o.c().Text_M_Lat_Deg->text(), u"48"_s);
        QCOMPARE(o.c().Text_M_Loc->text(), u"JN18EU"_s);
        QVERIFY(shown.isEmpty());

        // The rest of the window stays usable; letters typed in a locator arrive as capitals.
        o.type(o.c().Text_S_Lat_Deg, u"5"_s);
        QCOMPARE(o.c().Text_S_Lat_Deg->text(), u"5"_s);
        o.c().Text_M_Loc->clear();
        o.type(o.c().Text_M_Loc, u"io91wm"_s);
        o.c().Com_M->click();
        QCOMPARE(o.fields(Station::Own), dms("51", "31", "29", "Nord", "0", "7", "0", "Ouest"));

        o.c().Check_Sauve->click();
        QVERIFY(o.c().Com_M_RAZ->isEnabled());
        o.c().Com_M_RAZ->click();
        QCOMPARE(o.fields(Station::Own), dms("", "", "", "Nord", "", "", "", "Ouest"));
        QCOMPARE(o.c().Text_M_Loc->text(), QString());
    }

    void hemisphereFocus_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<bool>("own");

        QTest::newRow("own_north_south") << u"Comb_M_NS"_s << true;
        QTest::newRow("correspondent_east_west") << u"Comb_S_EO"_s << false;
    }
    void hemisphereFocus()
    {
        QFETCH(QString, combo);
        QFETCH(bool, own);
        Opened o(u"JN18EU"_s);
        QVERIFY(o.ready);
        o.c().Text_S_Loc->setText(u"IO91"_s);
        auto *box = o.window->findChild<QComboBox *>(combo);
        QVERIFY(!box->isEditable()); // only its two words can be chosen
        // The window regaining the focus is no new visit to the box; a click or Tab is.
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(box, &back);
        QCOMPARE(o.c().Text_M_Loc->text() + o.c().Text_S_Loc->text(), u"JN18EUIO91"_s);
        box->setFocus(Qt::MouseFocusReason);
        QCOMPARE(o.c().Text_M_Loc->text(), own ? QString() : u"JN18EU"_s);
        QCOMPARE(o.c().Text_S_Loc->text(), own ? u"IO91"_s : QString());
    }

    void typedCoordinates_data()
    {
        QTest::addColumn<bool>("own");
        QTest::addColumn<QStringList>("typed"); // latitude degrees and minutes, longitude degrees, east or west
        QTest::addColumn<QString>("locator");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QPointF>("position"); // latitude, west-positive longitude
        QTest::addColumn<QString>("distance");

        // The own panel only gains its locator; its fields stay as typed, completed with zeros.
        QTest::newRow("own") << true << QStringList {u"48"_s, QString(), u"2"_s, u"Est"_s} << u"JN18AA"_s
                             << dms("48", "0", "0", "Nord", "2", "0", "0", "Est") << QPointF(48, -2)
                             << u"Distance : "_s;
        // 74° 0′ west lies on the line between FN20 and FN30. The new locator starts the automatic computation,
        // which shows and stores that locator's point and measures to it.
        QTest::newRow("correspondent") << false << QStringList {u"40"_s, u"43"_s, u"74"_s, u"Ouest"_s} << u"FN30AR"_s
                                       << dms("40", "44", "0", "Nord", "73", "57", "0", "Ouest")
                                       << QPointF(40 + 44 / 60.0, 73 + 57 / 60.0) << u"Distance: 5841 Km"_s;
    }
    void typedCoordinates()
    {
        QFETCH(bool, own);
        QFETCH(QStringList, typed);
        QFETCH(QString, locator);
        QFETCH(QStringList, fields);
        QFETCH(QPointF, position);
        QFETCH(QString, distance);
        Opened o(u"JN18EU"_s);
        const Station station = own ? Station::Own : Station::Correspondent;
        const StationControls s = o.c().station(station);
        s.raz->click();
        o.type(s.coordinates[LatDeg], typed.at(0));
        o.type(s.coordinates[LatMin], typed.at(1));
        o.type(s.coordinates[LonDeg], typed.at(2));
        s.eastWest->setCurrentText(typed.at(3));
        s.calcul->click();
        QCOMPARE(s.loc->text(), locator);
        QCOMPARE(o.fields(station), fields);
        QCOMPARE(own ? o.a().Lat_M : o.a().Lat_S, position.x());
        QCOMPARE(own ? o.a().Lon_M : o.a().Lon_S, position.y());
        QCOMPARE(o.c().LabelDistance->text(), distance);
        QVERIFY(shown.isEmpty());
    }

    void coincidentStations()
    {
        // The correspondent typed at the own station's coordinates: the automatic path refuses the identical
        // locator, "Distance/Azimut" measures 0 km and has no direction to show.
        Opened o(u"JN18EU"_s);
        const StationControls own = o.c().station(Station::Own);
        const StationControls correspondent = o.c().station(Station::Correspondent);
        for (int f = 0; f < CoordinateFieldCount; ++f)
            o.type(correspondent.coordinates[f], own.coordinates[f]->text());
        o.c().Com_S->click();
        QCOMPARE(shownTexts(), QStringList {u"Erreur: les Locators sont identiques."_s});
        QVERIFY(o.c().ComDistance->isEnabled());
        o.c().ComDistance->click();
        QCOMPARE(o.c().LabelDistance->text(), u"Distance: 0 Km"_s);
        QCOMPARE(o.c().LabelAzimut->text(), u"Azimut :"_s);
        QCOMPARE(o.c().compass->needle(), locator::needleRestLine());
        QVERIFY(!o.a().azimuthDefined);
    }

    void helpAndAbout()
    {
        Opened o(u"JN18EU"_s);
        o.c().Comhelp->click();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).icon, ui::MsgIcon::Warning);
        QCOMPARE(shown.at(0).title, ui::applicationTitle());
        const QStringList lines = shown.at(0).text.split(u'\r');
        QCOMPARE(lines,
            QStringList({
                u"Valeur du locator doit être comprise : entre AA00AA et RR99XX"_s,
                u"Valeurs des coordonnées maximums : Longitude = 179°59'59'' , Latitude = 89°59'59''"_s,
                u"Note : Dans le champ 'Son Locator',vous pouvez en utilisant la touche ENTRÉE du clavier "
                u"effacer les précédents calculs."_s,
                QString(39, u' ') + u"Bonne utilisation Ardel"_s,
            }));

        o.c().Label6->click();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(1).icon, ui::MsgIcon::Information);
        QVERIFY(shown.at(1).text.contains(u"Locavia"_s));
    }

    void openedFromMainWindow()
    {
        PanelFixture fixture;
        QVERIFY(fixture.start(4800, "\"1\",\"300\",\"4800,n,8,2\",\"F6ABC\",\"\""));
        QVERIFY(fixture.switchOn());
        ClickLabel *label = fixture.c().LabLocat;

        label->click();
        QCOMPARE(fixture.messages.size(), 1);
        QCOMPARE(fixture.messages.at(0).text,
            u"Erreur : Vous n'avez pas entré votre Locator dans la fenêtre configuration."_s);
        QCOMPARE(fixture.messages.at(0).icon, ui::MsgIcon::Error);
        QCOMPARE(look::backColor(label), look::Navy);
        QVERIFY(!fixture.program().locatorLauncher.window());

        // A locator configured afterwards is read at the next click.
        fixture.program().settings.Locator = u"JN18EU"_s;
        label->click();
        WinLocAssistance *window = fixture.program().locatorLauncher.window();
        QVERIFY(window && window->isVisible() && !window->isModal());
        QCOMPARE(window->controls().Text_M_Loc->text(), u"JN18EU"_s);
        QCOMPARE(window->controls().Text_M_Lat_Deg->text(), u"48"_s);
        QCOMPARE(look::backColor(label), look::Teal);
        QCOMPARE(fixture.messages.size(), 1);

        // Closing releases the window: the next opening starts afresh.
        window->controls().Check_Sauve->click();
        QPointer<WinLocAssistance> closed = window;
        QVERIFY(window->close());
        QCOMPARE(look::backColor(label), look::Navy);
        QTRY_VERIFY(closed.isNull());
        label->click();
        window = fixture.program().locatorLauncher.window();
        QVERIFY(window && window->isVisible());
        QVERIFY(!window->controls().Check_Sauve->isChecked());
        QCOMPARE(look::backColor(label), look::Teal);

        // A second click shows the same window; the program's end closes it.
        label->click();
        QCOMPARE(fixture.program().locatorLauncher.window(), window);
        // Its own locator emptied there, a click gives the message and leaves the window open as it is.
        window->controls().Text_S_Loc->setText(u"IO91WM"_s);
        window->controls().Com_M_RAZ->click();
        label->click();
        QCOMPARE(fixture.messages.size(), 2);
        QCOMPARE(fixture.program().locatorLauncher.window(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->controls().Text_S_Loc->text(), u"IO91WM"_s);
        QCOMPARE(look::backColor(label), look::Teal);
        QPointer<WinLocAssistance> watched = window;
        fixture.program().shell.Form_Unload();
        QVERIFY(watched.isNull() || !watched->isVisible());
        QCOMPARE(look::backColor(label), look::Navy);
    }

    void screenshot()
    {
        Opened o(u"JN18EU"_s);
        o.type(o.c().Text_S_Loc, u"fn20xr"_s);
        QCOMPARE(o.c().LabelAzimut->text(), u"Azimut: 292°"_s);
        const QString dir = qEnvironmentVariable("ORVANE_SCREENSHOTS", QDir::currentPath() + u"/screenshots"_s);
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(o.window->grab().save(dir + u"/locator-window.png"_s));
    }
};

QTEST_MAIN(TstLocatorWindow)
#include "tst_locatorwindow.moc"
