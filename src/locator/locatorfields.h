#pragma once

// The checks the locator window's fields apply while they are typed: the range of each coordinate, digits only,
// capitals in the locators, the keys of the correspondent's locator, the lock of the own station, and the rule that
// enables "Distance/Azimut". What a field asks of the assistant (a conversion, a measure) it says by a signal.

#include "locatorcontrols.h"

#include <QObject>

class LocatorFields : public QObject
{
    Q_OBJECT

public:
    explicit LocatorFields(LocatorControls &controls, QObject *parent = nullptr);

    void Check_Sauve_Click();
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

signals:
    // Enter in the correspondent's locator: its panel is cleared.
    void correspondentResetAsked();
    // Backspace in the correspondent's locator: the needle goes back to rest.
    void correspondentLocatorErased();
    // Six characters typed in the correspondent's locator, not the own one: convert it and measure.
    void correspondentLocatorTyped();

private:
    LocatorControls &m_c;
};
