// The right part of the operating controls: the range scanner, its scan list with fine tuning, and "Memo".

#include "look.h"
#include "panels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QToolButton>

namespace panels {

namespace {

// The stop symbol is a filled square; drawn here so that no symbol font needs to be installed.
QIcon squareIcon()
{
    QPixmap pm(QSize(24, 24) * 2);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRectF(6, 6, 12, 12), Qt::black);
    return QIcon(pm);
}

QComboBox *editableCombo(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *combo = place<QComboBox>(parent, name, left, top, 1050, 300);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // A typed value is taken as typed: "2" must not become "25" from the list.
    combo->setCompleter(nullptr);
    combo->setEditText(text);
    return combo;
}

} // namespace

void buildScannerPanel(Ft847Controls &c, QWidget *frame)
{
    constexpr int labelLeft = 5880, fieldLeft = 6960, listLeft = 8130;
    auto *title = label(frame, "", QStringLiteral("Scanner"), labelLeft, 15, 1500, 270);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    c.Textdep = place<QLineEdit>(frame, "Textdep", fieldLeft, 330, 1050, 300, QStringLiteral("144000"));
    c.Textdep->setMaxLength(6);
    caption(frame, c.Textdep, QStringLiteral("Départ"), labelLeft, 330, 1050, 300);
    c.Textariv = place<QLineEdit>(frame, "Textariv", fieldLeft, 690, 1050, 300, QStringLiteral("146000"));
    c.Textariv->setMaxLength(6);
    caption(frame, c.Textariv, QStringLiteral("Arriver"), labelLeft, 690, 1050, 300);
    c.Combo_pas = editableCombo(frame, "Combo_pas", QStringLiteral("25"), fieldLeft, 1050);
    caption(frame, c.Combo_pas, QStringLiteral("Pas/Khz"), labelLeft, 1050, 1050, 300);
    c.Combo_vitesse = editableCombo(frame, "Combo_vitesse", QStringLiteral("1"), fieldLeft, 1410);
    caption(frame, c.Combo_vitesse, QStringLiteral("Vitesse/s"), labelLeft, 1410, 1050, 300);
    c.Combo_Seuil = editableCombo(frame, "Combo_Seuil", QStringLiteral("Buzy"), fieldLeft, 1770);
    caption(frame, c.Combo_Seuil, QStringLiteral("Seuil/s-m"), labelLeft, 1770, 1050, 300);

    c.Check_squelch
        = place<QCheckBox>(frame, "Check_squelch", labelLeft, 2130, 2100, 270, QStringLiteral("Stop/Seuil"));
    c.Check_continu = place<QCheckBox>(frame, "Check_continu", labelLeft, 2430, 2100, 270, QStringLiteral("Continu"));

    c.Av_Pas = button(frame, "Av_Pas", QStringLiteral(">"), labelLeft, 2760, 660, 360);
    c.Av_Pas->setAccessibleName(QStringLiteral("Démarrer le balayage"));
    c.Pause_Trace = button(frame, "Pause_Trace", QStringLiteral("| |"), labelLeft + 720, 2760, 660, 360);
    c.Pause_Trace->setAccessibleName(QStringLiteral("Pause du balayage"));
    c.Pause_Trace->setEnabled(false);
    c.Arret_Trace = button(frame, "Arret_Trace", QString(), labelLeft + 1440, 2760, 660, 360);
    c.Arret_Trace->setIcon(squareIcon());
    c.Arret_Trace->setAccessibleName(QStringLiteral("Arrêt du balayage"));
    c.Arret_Trace->setEnabled(false);
    for (auto *b : {c.Av_Pas, c.Pause_Trace, c.Arret_Trace})
        b->setToolTip(b->accessibleName());

    c.LabScanvfo = label(frame, "LabScanvfo", QString(), labelLeft, 3210, 1350, 300);
    c.LabScanvfo->setFont(bold);
    look::nameWithValue(c.LabScanvfo, QStringLiteral("Fréquence du balayage"));
    c.LabScanMode = label(frame, "LabScanMode", QStringLiteral("FM"), labelLeft + 1380, 3210, 720, 300);
    look::nameWithValue(c.LabScanMode, QStringLiteral("Mode du balayage"));

    c.Scan_List = place<QListWidget>(frame, "Scan_List", listLeft, 330, 1620, 2340);
    c.Scan_List->setAccessibleName(QStringLiteral("Liste du balayage"));
    c.Text_Affine = place<QLineEdit>(frame, "Text_Affine", listLeft, 2790, 1140, 300);
    c.Text_Affine->setAccessibleName(QStringLiteral("Réglage fin"));
    c.Command1 = place<QToolButton>(frame, "Command1", listLeft + 1170, 2730, 450, 210);
    c.Command1->setArrowType(Qt::UpArrow);
    c.Command1->setAccessibleName(QStringLiteral("Pas suivant"));
    c.Command3 = place<QToolButton>(frame, "Command3", listLeft + 1170, 2955, 450, 210);
    c.Command3->setArrowType(Qt::DownArrow);
    c.Command3->setAccessibleName(QStringLiteral("Pas précédent"));
    c.Command2 = button(frame, "Command2", QStringLiteral("Effacer"), listLeft, 3180, 1620, 330);
    c.Command2->setAccessibleName(QStringLiteral("Effacer la liste du balayage"));
    c.Com_memo = button(frame, "Com_memo", QStringLiteral("Memo"), 9870, 330, 1410, 360);
}

} // namespace panels
