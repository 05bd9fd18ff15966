#include "ft847controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

QList<QWidget *> Ft847Controls::panelSet() const
{
    QList<QWidget *> set;
    for (QLabel *digit : digits())
        set.append(digit);
    set << L_mode << TextVfo1 << Frame9 << Textdep << Textariv << Scan_List << Combo_vitesse << Combo_pas << Combo_Seuil
        << LabScanvfo << LabScanMode << LabVFO2 << L_mode2;
    return set;
}
