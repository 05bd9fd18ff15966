#include "locatorassistant.h"

#include "clock.h"
#include "compasswidget.h"
#include "greatcircle.h"
#include "locatorfields.h"
#include "look.h"
#include "maidenhead.h"
#include "messagebox.h"
#include "settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString Nord = QStringLiteral("Nord");
const QString Sud = QStringLiteral("Sud");
const QString Est = QStringLiteral("Est");
const QString Ouest = QStringLiteral("Ouest");

locator::CoordinateTexts fieldTexts(const StationControls &s)
{
    return {s.coordinates[LatDeg]->text(), s.coordinates[LatMin]->text(), s.coordinates[LatSec]->text(),
        s.northSouth->currentText(), s.coordinates[LonDeg]->text(), s.coordinates[LonMin]->text(),
        s.coordinates[LonSec]->text(), s.eastWest->currentText()};
}

// The six number fields; with `changedOnly`, those whose text differs only (the others keep their cursor).
void showNumbers(const StationControls &s, const locator::CoordinateTexts &texts, bool changedOnly = false)
{
    const QString numbers[CoordinateFieldCount] = {texts.latitudeDegrees, texts.latitudeMinutes, texts.latitudeSeconds,
        texts.longitudeDegrees, texts.longitudeMinutes, texts.longitudeSeconds};
    for (int field = 0; field < CoordinateFieldCount; ++field) {
        if (!changedOnly || s.coordinates[field]->text() != numbers[field])
            s.coordinates[field]->setText(numbers[field]);
    }
}

} // namespace

LocatorAssistant::LocatorAssistant(
    LocatorControls &controls, LocatorFields &fields, const Settings &settings, QWidget *launcher, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_fields(fields)
    , m_settings(settings)
    , m_launcher(launcher)
{ }

void LocatorAssistant::Form_Load()
{
    for (QComboBox *box : {m_c.Comb_M_NS, m_c.Comb_S_NS})
        box->addItems({Nord, Sud});
    for (QComboBox *box : {m_c.Comb_M_EO, m_c.Comb_S_EO})
        box->addItems({Est, Ouest});
    m_c.LabDate->setText(ui::now().toString(QStringLiteral("dd-MM-yyyy")));
    m_c.Text_M_Loc->setText(m_settings.Locator);
    Com_M_Click();
    if (m_launcher)
        look::setBackColor(m_launcher, look::Teal);
}

void LocatorAssistant::Form_Unload()
{
    if (m_launcher)
        look::setBackColor(m_launcher, look::Navy);
}

void LocatorAssistant::Com_M_Click()
{
    calculClick(Station::Own);
}

void LocatorAssistant::Com_S_Click()
{
    calculClick(Station::Correspondent);
}

void LocatorAssistant::calculClick(Station station)
{
    const StationControls s = m_c.station(station);
    Loc_Valide = true;
    if (!s.loc->text().isEmpty()) {
        verifCoord(station);
        if (!Loc_Valide)
            return;
        calculCoord(station);
    }
    if (!s.coordinates[LatDeg]->text().isEmpty())
        calcLocator(station);
    m_fields.Gest_Erreur();
}

void LocatorAssistant::verifCoord(Station station)
{
    const QStringList messages = locator::checkLocatorCharacters(m_c.station(station).loc->text());
    for (const QString &message : messages) {
        ui::showMessage(message);
        Loc_Valide = false;
    }
    if (station == Station::Correspondent && !Loc_Valide)
        resetNeedle();
}

void LocatorAssistant::calculCoord(Station station)
{
    const StationControls s = m_c.station(station);
    const std::optional<locator::CoordinateTexts> texts = locator::coordinateTextsOfLocator(s.loc->text());
    if (!texts)
        return; // only reached after a passed character check
    s.eastWest->setCurrentText(texts->eastWest);
    s.northSouth->setCurrentText(texts->northSouth);
    showNumbers(s, *texts);
}

void LocatorAssistant::completeCoord(Station station)
{
    const StationControls s = m_c.station(station);
    locator::CoordinateTexts texts = fieldTexts(s);
    if (locator::completeCoordinateTexts(texts))
        showNumbers(s, texts, true);
}

void LocatorAssistant::calcLocator(Station station)
{
    completeCoord(station);
    const StationControls s = m_c.station(station);
    const locator::LocatorFromTexts result = locator::locatorOfCoordinateTexts(fieldTexts(s));
    // The fields take digits only, clamp their ranges and the hemisphere boxes offer their two words only, so a
    // refusal cannot come from the window; should one come, the station keeps its position and locator.
    if (!result.ok())
        return;
    // The position first: writing the correspondent's locator can start the automatic computation, which then
    // stores the position of the locator's own point.
    if (station == Station::Own) {
        Lat_M = result.position.latitude;
        Lon_M = result.position.longitude;
    } else {
        Lat_S = result.position.latitude;
        Lon_S = result.position.longitude;
    }
    s.loc->setText(result.locator);
}

void LocatorAssistant::Com_M_RAZ_Click()
{
    for (QLineEdit *field : m_c.station(Station::Own).coordinates)
        field->clear();
    if (!m_c.Check_Sauve->isChecked())
        m_c.Text_M_Loc->clear();
}

void LocatorAssistant::Com_S_Raz_Click()
{
    for (QLineEdit *field : m_c.station(Station::Correspondent).coordinates)
        field->clear();
    m_c.Text_S_Loc->clear();
    m_c.LabelAzimut->setText(QStringLiteral("Azimut :"));
    m_c.LabelDistance->setText(QStringLiteral("Distance :"));
    m_fields.Gest_Erreur();
    m_c.Text_S_Loc->setFocus();
    resetNeedle();
}

void LocatorAssistant::correspondentLocatorTyped()
{
    Com_S_Click();
    // A locator that failed its character check was not converted: measuring now would use whatever position
    // the correspondent had before and point the needle there.
    if (!Loc_Valide)
        return;
    ComDistance_Click();
}

void LocatorAssistant::ComDistance_Click()
{
    m_fields.Gest_Erreur();
    Calcul_Azi_Dist();
    Dessine_Angle();
    m_c.Text_S_Loc->setFocus();
}

void LocatorAssistant::Calcul_Azi_Dist()
{
    const locator::GreatCirclePath path = locator::greatCirclePath({Lat_M, Lon_M}, {Lat_S, Lon_S});
    m_c.LabelDistance->setText(locator::distanceText(path.distanceKm));
    azimuthDefined = path.directionDefined;
    Azimut_S = path.azimuth;
    // Coincident or antipodal stations have no initial course: the label stays without a value.
    m_c.LabelAzimut->setText(azimuthDefined ? locator::azimuthText(Azimut_S) : QStringLiteral("Azimut :"));
}

void LocatorAssistant::Dessine_Angle()
{
    if (!azimuthDefined) {
        resetNeedle();
        return;
    }
    m_c.compass->setNeedle(
        locator::needleLine(Azimut_S), QStringLiteral("Aiguille sur l'azimut ") + QString::number(Azimut_S) + u'°');
}

void LocatorAssistant::resetNeedle()
{
    m_c.compass->setNeedle(locator::needleRestLine(), QStringLiteral("Aiguille au repos"));
}

void LocatorAssistant::Comhelp_Click()
{
    const QStringList lines = {
        QStringLiteral("Valeur du locator doit être comprise : entre AA00AA et RR99XX"),
        QStringLiteral("Valeurs des coordonnées maximums : Longitude = 179°59'59'' , Latitude = 89°59'59''"),
        QStringLiteral("Note : Dans le champ 'Son Locator',vous pouvez en utilisant la touche ENTRÉE du clavier "
                       "effacer les précédents calculs."),
        QString(39, u' ') + QStringLiteral("Bonne utilisation Ardel"),
    };
    ui::showMessage(lines.join(u'\r'), ui::MsgIcon::Warning);
}

void LocatorAssistant::Label6_Click()
{
    ui::showMessage(QStringLiteral("Locavia V1.1\rAssistant Locator : conversion entre Locator et coordonnées, "
                                   "distance et azimut entre deux stations."),
        ui::MsgIcon::Information);
}
