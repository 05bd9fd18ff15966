#pragma once

// Tuning on the panel: the frames the radio receives for steps, direct entry, the wheel, band and mode buttons,
// the second VFO and the repeater shift, and what the panel shows after them.

#include "../scanner/panelscenario.h"

class TestTuning : public PanelScenario
{
    Q_OBJECT

    void rows() override
    {
        const char *refused = "messages=Erreur : Entrer la fréquence sans point ni virgule.";
        row("plus 10 Hz", "CurrentFreq=14550000;Com_ph", "1455000101");
        row("plus 1 MHz wraps in 2 m", "CurrentFreq=14550000;Com_pm", "1440000001");
        row("minus 100 kHz at the bottom", "Com_libre;CurrentFreq=00010000;Com_mkkk", "0001000001");
        row("minus 1 MHz below zero", "Com_libre;CurrentFreq=00095000;Com_mm", "0001000001");
        row("plus 10 MHz over 76 MHz", "Com_libre;CurrentFreq=07000000;Com_pmm", "1080000001");
        row("wheel over digits", "Lab_kk^1;Lab_h^-2", "1455100001 1455099901 1455099801");
        row("wheel where no step is offered", "Com_430;Lab_mmm^1;Lab_mm^1", "4334250001 0800000007");
        row("longest entry", "TextVfo1=999999;ComVfo1", "9999990001");
        row("French fraction", "TextVfo1=7050,5;ComVfo1", "0070505001");
        row("English fraction", "locale=en_US;TextVfo1=7050.5;ComVfo1", "0070505001");
        row("empty entry", "TextVfo1=;ComVfo1", "");
        row("point in French", "TextVfo1=145.5;ComVfo1", "");
        // Refused with a message, yet typed.
        row("comma typed, Enter sends", "TextVfo1=;TextVfo1<7050,5\r", "0070505001", refused);
        row("point typed", "TextVfo1=;TextVfo1<145.5", "",
            "messages=Erreur : Entrer la fréquence sans point ni virgule.|TextVfo1=145.5");
        row("band 14", "LabScanvfo=144.025;Com_14", "0142000001 0100000007",
            "Textdep=14000|Textariv=14350|Combo_pas=5|L_mode=USB|LabScanMode=USB|LabScanvfo=|Com_pm.visible=false|"
            "Com_mmm.visible=false|Com_pkkk.visible=true");
        row("band 430", "Com_430", "4334250001 0800000007",
            "Textdep=430000|Textariv=440000|Combo_pas=50|L_mode=FM|Com_pmm.visible=false|Com_pm.visible=true");
        row("band 1.8", "Com_18", "0018250001 0000000007",
            "Textdep=1810|Combo_pas=1|L_mode=LSB|Com_mkkk.visible=false");
        row("LSB", "Com_LSB", "0000000007", "L_mode=LSB|LabScanMode=LSB");
        row("USB", "Com_USB", "0100000007", "L_mode=USB|LabScanMode=USB");
        row("CW", "Com_CW", "0200000007", "L_mode=CW");
        row("CWR", "Com_CWR", "0300000007", "L_mode=CWR");
        row("AM", "Com_AM", "0400000007", "L_mode=AM");
        row("FM", "Com_LSB;Com_FM", "0000000007 0800000007", "L_mode=FM|LabScanMode=FM");
        row("swap drops the tens of Hz", "LabVFO2=145.512.34;Com_AB", "1455120001", "LabVFO2=145.500.00");
        row("swap to 70 cm", "LabVFO2=433.425.00;Com_AB", "4334250001", "LabVFO2=145.500.00");
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
        row("whole range", "Com_libre", "", "Com_libre=Fréquence totale|Com_14.enabled=false");
        row("amateur bands again", "Com_libre*2;Com_pm", "1440000001",
            "Com_libre=Fréquence Amateur|Com_14.enabled=true");
    }

private slots:
    // LSB and AM stop the poll while their command goes out; the others leave it running.
    void modesPauseThePoll()
    {
        bool pollRan = false;
        for (QPushButton *mode : {f->c().Com_LSB, f->c().Com_USB, f->c().Com_AM, f->c().Com_FM}) {
            const bool pauses = mode == f->c().Com_LSB || mode == f->c().Com_AM;
            pollRan = pauses; // what the check made during the send must overturn
            f->c().Timer1->start();
            QTimer::singleShot(0, mode, [&] { pollRan = f->c().Timer1->isActive(); });
            mode->click();
            QCOMPARE(pollRan, !pauses);
            QVERIFY(f->c().Timer1->isActive());
        }
    }
};
