#pragma once

// Tuning on the panel: steps, the wheel, direct entry, band and mode buttons, the second VFO, the repeater shift
// and the range button; what the radio receives and what the panel shows.

#include "panelscenario.h"

class TestTuning : public PanelScenario
{
    Q_OBJECT

    void rows() override
    {
        const char *refused = "messages=Erreur : Entrer la fréquence sans point ni virgule.";
        // Steps wrap round within an amateur band, jump the gaps of the whole coverage and stop at its ends; the
        // wheel steps a digit where its step buttons are offered. "Com_libre" chooses the whole coverage.
        row("plus 10 Hz", "CurrentFreq=14550000;Com_ph", "1455000101");
        row("plus 1 MHz wraps in 2 m", "CurrentFreq=14550000;Com_pm", "1440000001");
        row("minus 100 kHz at the bottom", "Com_libre;CurrentFreq=00010000;Com_mkkk", "0001000001",
            "Com_libre=Fréquence totale|Com_14.enabled=false");
        row("minus 1 MHz below zero", "Com_libre;CurrentFreq=00095000;Com_mm", "0001000001");
        row("plus 10 MHz over 76 MHz, then amateur bands again", "Com_libre;CurrentFreq=07000000;Com_pmm;Com_libre",
            "1080000001", "Com_libre=Fréquence Amateur|Com_14.enabled=true");
        row("wheel", "Lab_kk^1;Lab_h^-2;Com_430;Lab_mmm^1;Lab_mm^1",
            "1455100001 1455099901 1455099801 4334250001 0800000007");
        // Direct entry in kHz, in the locale; a point or a comma typed is refused with a message, yet typed.
        row("longest entry", "TextVfo1=999999;ComVfo1", "9999990001");
        row("English fraction", "locale=en_US;TextVfo1=7050.5;ComVfo1", "0070505001");
        row("empty entry", "TextVfo1=;ComVfo1", "");
        row("point in French", "TextVfo1=145.5;ComVfo1", "");
        row("comma typed, Enter sends", "TextVfo1=;TextVfo1<7050,5\r", "0070505001", refused);
        row("point typed", "TextVfo1=;TextVfo1<1.", "", refused + "|TextVfo1=1."_ba);
        row("comma pasted", "clipboard=7050,5;TextVfo1=;TextVfo1+Ctrl+V", "", refused + "|TextVfo1=7050,5"_ba);
        // A band button tunes its band's frequency and mode, and fills the scanner's fields.
        row("band 14", "LabScanvfo=144.025;Com_14", "0142000001 0100000007",
            "Textdep=14000|Textariv=14350|Combo_pas=5|L_mode=USB|LabScanMode=USB|LabScanvfo=|Com_pm.visible=false|"
            "Com_pkkk.visible=true");
        row("band 430", "Com_430", "4334250001 0800000007", "Textdep=430000|Combo_pas=50|Com_pmm.visible=false");
        row("band 1.8", "Com_18", "0018250001 0000000007", "Textariv=1850|L_mode=LSB|Com_mkkk.visible=false");
        row("modes", "Com_USB;Com_CW;Com_CWR;Com_AM;Com_LSB", "0100000007 0200000007 0300000007 0400000007 0000000007",
            "L_mode=LSB|LabScanMode=LSB");
        row("FM", "Com_FM", "0800000007", "L_mode=FM");
        // The swap takes the second VFO to the kHz.
        row("swap", "VFOB=14551234;Com_AB;VFOB=43342500;Com_AB", "1455120001 4334250001", "LabVFO2=145.512.00");
        // The radio applies its own offset; the second VFO shows where it will transmit, in the repeater bands.
        row("2 m shift -", "CurrentFreq=14560000;Com_shift", "0900000009",
            "Com_shift=Shift -|LabVFO2=145.000.00|LabTRX1=RX|LabTRX2=TX");
        row("2 m shift +", "CurrentFreq=14560000;Com_shift*2", "0900000009 4900000009",
            "Com_shift=Shift +|LabVFO2=146.200.00|LabTRX2.visible=true");
        row("2 m simplex", "CurrentFreq=14560000;Com_shift*3", "0900000009 4900000009 8900000009",
            "Com_shift=Simplex|LabVFO2=145.600.00|LabTRX1=RXTX|LabTRX2.visible=false");
        row("shift - again", "Com_shift*4", "0900000009 4900000009 8900000009 0900000009", "Com_shift=Shift -");
        row("70 cm shift -", "CurrentFreq=43342500;Com_shift", "0900000009", "LabVFO2=431.825.00");
        row("70 cm shift +", "CurrentFreq=43342500;Com_shift*2", "0900000009 4900000009", "LabVFO2=435.025.00");
        row("20 m: no offset shown", "CurrentFreq=01420000;Com_shift", "0900000009", "LabVFO2=145.500.00");
    }
};
