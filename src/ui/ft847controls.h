#pragma once

// The controls of the main window, by the names the rest of the program knows them by. The window creates and
// places them; MainAssembly hands each controller the part of this set it drives.

#include <QList>

#include <array>

class ClickLabel;
class Ft847Window;
class Lamp;
class MemoryGrid;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;

struct Ft847Controls
{
    Ft847Window *ft_847 = nullptr; // the window itself

    // Navigation row.
    ClickLabel *Lab_c_on = nullptr, *Lab_c_off = nullptr, *Lab_mem = nullptr, *LabLocat = nullptr, *LabConf = nullptr,
               *LabPropos = nullptr, *Labquit = nullptr, *LabActiv = nullptr;
    QLabel *LabHeure = nullptr, *LabDate = nullptr;

    // The operating controls, enabled only while the link is on.
    QFrame *Frame1 = nullptr;

    // Frequency display: the eight digits, most significant first, and the widget that holds them.
    QWidget *FreqDisplay = nullptr;
    QLabel *Lab_mmm = nullptr, *Lab_mm = nullptr, *Lab_m = nullptr, *Lab_kkk = nullptr, *Lab_kk = nullptr,
           *Lab_k = nullptr, *Lab_hh = nullptr, *Lab_h = nullptr;
    std::array<QLabel *, 8> digits() const { return {Lab_mmm, Lab_mm, Lab_m, Lab_kkk, Lab_kk, Lab_k, Lab_hh, Lab_h}; }
    QLabel *Lab_control = nullptr;

    // Digit steps, in the order of frequency::kDigitSteps: the button above a digit adds one, the one below takes one
    // away.
    std::array<QToolButton *, 7> stepUp {}, stepDown {};

    QLabel *L_mode = nullptr, *LabTRX1 = nullptr, *LabVFO2 = nullptr, *L_mode2 = nullptr, *LabTRX2 = nullptr;
    QPushButton *Com_AB = nullptr, *Com_shift = nullptr, *Com_libre = nullptr;
    QPushButton *Com_18 = nullptr, *Com_35 = nullptr, *Com_7 = nullptr, *Com_14 = nullptr, *Com_21 = nullptr,
                *Com_28 = nullptr, *Com_50 = nullptr, *Com_144 = nullptr, *Com_430 = nullptr;
    QList<QPushButton *> bandButtons() const
    {
        return {Com_18, Com_35, Com_7, Com_14, Com_21, Com_28, Com_50, Com_144, Com_430};
    }
    QPushButton *Com_LSB = nullptr, *Com_USB = nullptr, *Com_CW = nullptr, *Com_CWR = nullptr, *Com_AM = nullptr,
                *Com_FM = nullptr;
    QLineEdit *TextVfo1 = nullptr;
    QPushButton *ComVfo1 = nullptr;

    // S-meter and lights.
    QFrame *Frame9 = nullptr;
    Lamp *Shape_tx_rx = nullptr, *ShapbuzyA = nullptr;
    QLabel *Lab_SM = nullptr, *LabScale = nullptr, *Label2 = nullptr;

    // Range scanner, scan list, fine tuning, memo button.
    QLineEdit *Textdep = nullptr, *Textariv = nullptr, *Text_Affine = nullptr;
    QComboBox *Combo_pas = nullptr, *Combo_vitesse = nullptr, *Combo_Seuil = nullptr;
    QCheckBox *Check_squelch = nullptr, *Check_continu = nullptr;
    QPushButton *Av_Pas = nullptr, *Pause_Trace = nullptr, *Arret_Trace = nullptr;
    QLabel *LabScanvfo = nullptr, *LabScanMode = nullptr;
    QListWidget *Scan_List = nullptr;
    QToolButton *Command1 = nullptr, *Command3 = nullptr;
    QPushButton *Command2 = nullptr, *Com_memo = nullptr;

    // Memory panel, below the operating controls.
    MemoryGrid *Grid = nullptr;
    QCheckBox *CheckHF1 = nullptr, *CheckHF2 = nullptr, *CheckHF3 = nullptr, *CheckHF4 = nullptr, *CheckHF5 = nullptr,
              *CheckVHF = nullptr, *CheckUHF = nullptr, *CheckSpec1 = nullptr, *CheckSpec2 = nullptr;
    QPushButton *ComEnvoiLIste = nullptr, *Com_eff = nullptr, *Com_envoi_freq = nullptr, *cmdAjouter = nullptr,
                *Com_valid_memo = nullptr, *Com_Anul = nullptr, *Com_clr = nullptr;
    QLineEdit *Text_choix_qrg = nullptr, *Text_choix_observ = nullptr;
    QComboBox *Comb_mem_mode = nullptr, *Combo1 = nullptr;
    QListWidget *List_memo = nullptr;

    QTimer *Timer1 = nullptr, *Timer2 = nullptr, *Scan_Timer = nullptr;

    // The controls whose background shows whether the link is on.
    QList<QWidget *> panelSet() const;
};
