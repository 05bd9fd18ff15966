// The memory panel below the operating controls, shown when the window is unfolded: the grid of stored
// frequencies, the group filter, the entry form, and the memo list.

#include "memorygrid.h"
#include "panels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

namespace panels {

void buildMemoryPanel(Ft847Controls &c, QWidget *window)
{
    constexpr int top = 4185;
    auto *title = label(window, "", QStringLiteral("Gestion des memoires"), 60, top, 3000, 270);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    const int columnWidths[4] = {500, 900, 500, 3000};
    const QString titles[4]
        = {QStringLiteral("Gpr"), QStringLiteral("Fréquence"), QStringLiteral("Mode"), QStringLiteral("Observation")};
    QFont small = title->font();
    small.setBold(false);
    small.setPixelSize(10);
    for (int i = 0, left = 60; i < 4; left += columnWidths[i], ++i)
        label(window, "", titles[i], left + 45, top + 300, columnWidths[i] - 30, 270)->setFont(small);
    c.Grid = place<MemoryGrid>(window, "Grid", 60, top + 570, 5250, 2385);
    c.Grid->setAccessibleName(QStringLiteral("Mémoires"));

    auto *groups = place<QGroupBox>(window, "", 5400, top, 1620, 2955, QStringLiteral("Groupes"));
    const char *names[9] = {
        "CheckHF1", "CheckHF2", "CheckHF3", "CheckHF4", "CheckHF5", "CheckVHF", "CheckUHF", "CheckSpec1", "CheckSpec2"};
    const QString captions[9] = {QStringLiteral("HF 1"), QStringLiteral("HF 2"), QStringLiteral("HF 3"),
        QStringLiteral("HF 4"), QStringLiteral("HF 5"), QStringLiteral("VHF"), QStringLiteral("UHF"),
        QStringLiteral("Spécial 1"), QStringLiteral("Spécial 2")};
    std::array<QCheckBox *, 9> checks {};
    for (int i = 0; i < 9; ++i)
        checks[i] = place<QCheckBox>(groups, names[i], 120, 285 + i * 285, 1440, 270, captions[i]);
    std::tie(
        c.CheckHF1, c.CheckHF2, c.CheckHF3, c.CheckHF4, c.CheckHF5, c.CheckVHF, c.CheckUHF, c.CheckSpec1, c.CheckSpec2)
        = std::tuple_cat(checks);
    c.CheckVHF->setChecked(true);

    constexpr int formLeft = 7110, fieldLeft = 8250;
    c.Text_choix_qrg = place<QLineEdit>(window, "Text_choix_qrg", fieldLeft, top, 1050, 300);
    caption(window, c.Text_choix_qrg, QStringLiteral("Fréquence"), formLeft, top, 1110, 300);
    c.Comb_mem_mode = place<QComboBox>(window, "Comb_mem_mode", fieldLeft, top + 345, 1050, 300);
    c.Comb_mem_mode->setEditable(true);
    c.Comb_mem_mode->setInsertPolicy(QComboBox::NoInsert);
    c.Comb_mem_mode->setCompleter(nullptr); // a typed value is taken as typed, not completed from the list
    c.Comb_mem_mode->setEditText(QStringLiteral("FM"));
    caption(window, c.Comb_mem_mode, QStringLiteral("Mode"), formLeft, top + 345, 1110, 300);
    c.Combo1 = place<QComboBox>(window, "Combo1", fieldLeft, top + 690, 1050, 300);
    c.Combo1->setEditable(true);
    c.Combo1->setInsertPolicy(QComboBox::NoInsert);
    c.Combo1->setCompleter(nullptr);
    c.Combo1->setEditText(QStringLiteral("VHF"));
    caption(window, c.Combo1, QStringLiteral("Groupe"), formLeft, top + 690, 1110, 300);
    c.Text_choix_observ = place<QLineEdit>(window, "Text_choix_observ", fieldLeft, top + 1035, 1050, 300);
    caption(window, c.Text_choix_observ, QStringLiteral("Observation"), formLeft, top + 1035, 1110, 300);

    c.cmdAjouter = button(window, "cmdAjouter", QStringLiteral("Enregistrer le VFO"), formLeft, top + 1410, 2190, 330);
    c.Com_valid_memo = button(window, "Com_valid_memo", QStringLiteral("Memoriser"), formLeft, top + 1770, 1080, 330);
    c.Com_Anul = button(window, "Com_Anul", QStringLiteral("Annuler"), formLeft + 1110, top + 1770, 1080, 330);
    c.ComEnvoiLIste = button(window, "ComEnvoiLIste", QStringLiteral("Afficher"), formLeft, top + 2130, 1080, 330);
    c.Com_eff = button(window, "Com_eff", QStringLiteral("Supprimer"), formLeft + 1110, top + 2130, 1080, 330);
    c.Com_envoi_freq
        = button(window, "Com_envoi_freq", QStringLiteral("Envoyer au VFO"), formLeft, top + 2490, 2190, 330);

    auto *memo = place<QGroupBox>(window, "", 9420, top, 1920, 2955, QStringLiteral("Memo"));
    c.List_memo = place<QListWidget>(memo, "List_memo", 90, 285, 1740, 2175);
    c.List_memo->setAccessibleName(QStringLiteral("Memo"));
    c.Com_clr = button(memo, "Com_clr", QStringLiteral("Effacer"), 90, 2520, 1740, 330);
    c.Com_clr->setAccessibleName(QStringLiteral("Effacer la liste memo"));
}

} // namespace panels
