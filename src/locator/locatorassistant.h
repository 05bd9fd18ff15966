#pragma once

// What the locator window does: the two stations' conversions, the distance and azimuth with the needle, and
// the checks every field applies while it is typed. One assistant lives as long as its window; its values start
// afresh with every opening.

#include "locatorcontrols.h"

#include <QObject>

class Settings;

class LocatorAssistant : public QObject
{
    Q_OBJECT

public:
    // launcher: the main window's "Locator" label, teal while the window is loaded and navy after.
    LocatorAssistant(LocatorControls &controls, const Settings &settings, QWidget *launcher, QObject *parent = nullptr);

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
    void Check_Sauve_Click();
    void Comhelp_Click();
    void Label6_Click();

    void Comb_M_EO_GotFocus();
    void Comb_M_NS_GotFocus();
    void Comb_S_EO_GotFocus();
    void Comb_S_NS_GotFocus();

    void Text_M_Loc_Change();
    void Text_S_Loc_Change();
    // Key handlers take the character code of a typed key and may change it: 0 discards the key, another code
    // replaces it (8 is Backspace, 13 Enter).
    void Text_M_Loc_KeyPress(int &KeyAscii);
    void Text_S_Loc_KeyPress(int &KeyAscii);

    // Range check of a coordinate field's text, and the digit filter of its keys.
    void coordinateChange(Station station, CoordinateField field);
    void coordinateKeyPress(Station station, CoordinateField field, int &KeyAscii);
    void Text_M_Lat_Deg_Change() { coordinateChange(Station::Own, LatDeg); }
    void Text_M_Lat_Min_Change() { coordinateChange(Station::Own, LatMin); }
    void Text_M_Lat_Sec_Change() { coordinateChange(Station::Own, LatSec); }
    void Text_M_Lon_Deg_Change() { coordinateChange(Station::Own, LonDeg); }
    void Text_M_Lon_Min_Change() { coordinateChange(Station::Own, LonMin); }
    void Text_M_Lon_Sec_Change() { coordinateChange(Station::Own, LonSec); }
    void Text_S_Lat_Deg_Change() { coordinateChange(Station::Correspondent, LatDeg); }
    void Text_S_Lat_Min_Change() { coordinateChange(Station::Correspondent, LatMin); }
    void Text_S_Lat_Sec_Change() { coordinateChange(Station::Correspondent, LatSec); }
    void Text_S_Lon_Deg_Change() { coordinateChange(Station::Correspondent, LonDeg); }
    void Text_S_Lon_Min_Change() { coordinateChange(Station::Correspondent, LonMin); }
    void Text_S_Lon_Sec_Change() { coordinateChange(Station::Correspondent, LonSec); }
    void Text_M_Lat_Deg_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Own, LatDeg, KeyAscii); }
    void Text_M_Lat_Min_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Own, LatMin, KeyAscii); }
    void Text_M_Lat_Sec_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Own, LatSec, KeyAscii); }
    void Text_M_Lon_Deg_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Own, LonDeg, KeyAscii); }
    void Text_M_Lon_Min_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Own, LonMin, KeyAscii); }
    void Text_M_Lon_Sec_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Own, LonSec, KeyAscii); }
    void Text_S_Lat_Deg_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Correspondent, LatDeg, KeyAscii); }
    void Text_S_Lat_Min_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Correspondent, LatMin, KeyAscii); }
    void Text_S_Lat_Sec_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Correspondent, LatSec, KeyAscii); }
    void Text_S_Lon_Deg_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Correspondent, LonDeg, KeyAscii); }
    void Text_S_Lon_Min_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Correspondent, LonMin, KeyAscii); }
    void Text_S_Lon_Sec_KeyPress(int &KeyAscii) { coordinateKeyPress(Station::Correspondent, LonSec, KeyAscii); }

    // The enabling rule of "Distance/Azimut": all twelve coordinate fields hold text.
    void Gest_Erreur();

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
    const Settings &m_settings;
    QWidget *m_launcher;
};
