#pragma once

// What the locator window does: the two stations' conversions, the distance and azimuth with the needle. One
// assistant lives as long as its window; its values start afresh with every opening.

#include "locatorcontrols.h"

#include <QObject>

class LocatorFields;
class Settings;

class LocatorAssistant : public QObject
{
    Q_OBJECT

public:
    // launcher: the main window's "Locator" label, teal while the window is loaded and navy after.
    LocatorAssistant(LocatorControls &controls, LocatorFields &fields, const Settings &settings, QWidget *launcher,
        QObject *parent = nullptr);

    // Station positions in signed decimal degrees: latitude positive north, longitude positive WEST.
    double Lat_M = 0, Lon_M = 0, Lat_S = 0, Lon_S = 0;
    bool Loc_Valide = false; // result of the last locator character check
    int Azimut_S = 0; // whole degrees, 0 to 360; 0 while no direction is defined
    // False when the last computation found the stations coincident or antipodal: no course exists, the needle
    // stays at rest and the azimuth label shows no value.
    bool azimuthDefined = false;

    void Form_Load();
    void Form_Unload();

    void Com_M_Click();
    void Com_S_Click();
    void Com_M_RAZ_Click();
    void Com_S_Raz_Click();
    void ComDistance_Click();
    void Comhelp_Click();
    void Label6_Click();

    // Six characters typed in the correspondent's locator: converted, then measured when it passed its check.
    void correspondentLocatorTyped();

    // The routines of each station: character check, locator to coordinates, completion, coordinates to locator.
    void verif_M_Coord() { verifCoord(Station::Own); }
    void verif_S_Coord() { verifCoord(Station::Correspondent); }
    void Calcul_Mon_Coord() { calculCoord(Station::Own); }
    void Calcul_Son_Coord() { calculCoord(Station::Correspondent); }
    void Comp_M_Loc() { completeCoord(Station::Own); }
    void Comp_S_Loc() { completeCoord(Station::Correspondent); }
    void Calc_Mon_Locator() { calcLocator(Station::Own); }
    void Calc_Son_Locator() { calcLocator(Station::Correspondent); }

    void Calcul_Azi_Dist();
    void Dessine_Angle();
    void resetNeedle();

private:
    void calculClick(Station station);
    void verifCoord(Station station);
    void calculCoord(Station station);
    void completeCoord(Station station);
    void calcLocator(Station station);

    LocatorControls &m_c;
    LocatorFields &m_fields;
    const Settings &m_settings;
    QWidget *m_launcher;
};
