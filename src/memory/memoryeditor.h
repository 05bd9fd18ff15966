#pragma once

// The "Gestion des memoires" panel: the grid of stored frequencies filtered by group, the form that stores the
// radio's frequency and mode as a new entry, deleting an entry, and sending one back to the radio.

#include "memoryfile.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class ActionRoad;
class FrequencyControl;
class MemoryGrid;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The memory panel: the grid, the group check boxes (in the order of memoryfile::kGroups), its buttons and the
// form of a new entry.
struct MemoryEditorControls
{
    MemoryGrid *Grid = nullptr;
    std::array<QCheckBox *, 9> groupChecks {}; // CheckHF1 ... CheckHF5, CheckVHF, CheckUHF, CheckSpec1, CheckSpec2
    QPushButton *Com_envoi_freq = nullptr, *cmdAjouter = nullptr, *Com_valid_memo = nullptr;
    QLineEdit *Text_choix_qrg = nullptr, *Text_choix_observ = nullptr;
    QComboBox *Comb_mem_mode = nullptr, *Combo1 = nullptr;
};

class MemoryEditor : public QObject
{
    Q_OBJECT

public:
    MemoryEditor(
        FrequencyControl &frequency, ActionRoad &road, const MemoryEditorControls &controls, QObject *parent = nullptr);

    // Frequency (kHz) and mode cells of the grid's selected row: the key of a deletion and what "Envoyer au VFO"
    // sends. They follow the current row however it moves (mouse, keyboard, a row removed).
    QString SelectedFreq;
    QString SelectedMode;

    // Start-up: the grid's columns and the group and mode lists, the memory list shown once, the form's buttons.
    void load();

    // "Afficher": rebuilds the grid from the file with the ticked groups, letting the event loop run (and the
    // actions on the road) every few milliseconds.
    void ComEnvoiLIste_Click();
    void Grid_Click(int row);
    void Grid_DblClick(int row);
    void Grid_LostFocus();
    void followCurrentRow(int row);
    void cmdAjouter_Click();
    void Text_choix_qrg_Change();
    void Com_valid_memo_Click();
    void Com_Anul_Click();
    void Com_eff_Click();
    void Com_envoi_freq_Click();

    // True while "Afficher" is still going through the file.
    bool isReading() const { return m_reader.has_value(); }

private:
    void listIfTicked(const MemoryEntry &entry);
    // An append or a deletion asked for in the middle of "Afficher" first lists the rest of the entries at once,
    // so that it lands after the whole list, as if it had been asked for once the list was complete.
    void finishReading();
    void clearForm();

    FrequencyControl &m_frequency;
    ActionRoad &m_road;
    MemoryEditorControls m_c;
    std::optional<memoryfile::MemoryReader> m_reader; // the file "Afficher" is going through
};
