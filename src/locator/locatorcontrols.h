#pragma once

// The controls of the locator window, by the names the rest of the program knows them by. The window creates
// and places them; the assistant's handlers drive them.

#include <array>

class ClickLabel;
class CompassWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The operator's own station ("Mon Locator", fields marked M) and the correspondent's ("Son Locator", S).
enum class Station { Own, Correspondent };

// The six coordinate fields of a panel, in the order the conversions write them.
enum CoordinateField { LatDeg, LatMin, LatSec, LonDeg, LonMin, LonSec, CoordinateFieldCount };

// One panel's controls, for the routines that work the same on both.
struct StationControls
{
    QLineEdit *loc = nullptr;
    std::array<QLineEdit *, CoordinateFieldCount> coordinates {};
    QComboBox *northSouth = nullptr;
    QComboBox *eastWest = nullptr;
    QPushButton *calcul = nullptr;
    QPushButton *raz = nullptr;
};

struct LocatorControls
{
    QWidget *window = nullptr; // WinLocAssistance

    QLineEdit *Text_M_Loc = nullptr, *Text_M_Lat_Deg = nullptr, *Text_M_Lat_Min = nullptr, *Text_M_Lat_Sec = nullptr,
              *Text_M_Lon_Deg = nullptr, *Text_M_Lon_Min = nullptr, *Text_M_Lon_Sec = nullptr;
    QComboBox *Comb_M_NS = nullptr, *Comb_M_EO = nullptr;
    QPushButton *Com_M = nullptr, *Com_M_RAZ = nullptr;
    QCheckBox *Check_Sauve = nullptr;

    QLineEdit *Text_S_Loc = nullptr, *Text_S_Lat_Deg = nullptr, *Text_S_Lat_Min = nullptr, *Text_S_Lat_Sec = nullptr,
              *Text_S_Lon_Deg = nullptr, *Text_S_Lon_Min = nullptr, *Text_S_Lon_Sec = nullptr;
    QComboBox *Comb_S_NS = nullptr, *Comb_S_EO = nullptr;
    QPushButton *Com_S = nullptr, *Com_S_Raz = nullptr;

    QPushButton *ComDistance = nullptr;
    QLabel *LabelDistance = nullptr, *LabelAzimut = nullptr;
    CompassWidget *compass = nullptr; // the dial and the needle Li1
    QLabel *LabDate = nullptr;
    QPushButton *Comhelp = nullptr;
    ClickLabel *Label6 = nullptr;

    StationControls station(Station station) const
    {
        if (station == Station::Own)
            return {Text_M_Loc,
                {Text_M_Lat_Deg, Text_M_Lat_Min, Text_M_Lat_Sec, Text_M_Lon_Deg, Text_M_Lon_Min, Text_M_Lon_Sec},
                Comb_M_NS, Comb_M_EO, Com_M, Com_M_RAZ};
        return {Text_S_Loc,
            {Text_S_Lat_Deg, Text_S_Lat_Min, Text_S_Lat_Sec, Text_S_Lon_Deg, Text_S_Lon_Min, Text_S_Lon_Sec}, Comb_S_NS,
            Comb_S_EO, Com_S, Com_S_Raz};
    }
};
