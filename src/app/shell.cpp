#include "shell.h"

#include "clicklabel.h"
#include "clock.h"
#include "dialogs.h"
#include "frequencycontrol.h"
#include "ft847window.h"
#include "linkswitch.h"
#include "look.h"
#include "memorygrid.h"
#include "messagebox.h"
#include "propos.h"
#include "statuspoll.h"

#include <QApplication>
#include <QComboBox>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace {

// Adding the first item to an editable combo box would replace the text it shows; keep that text.
void fillKeepingText(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

} // namespace

AppShell::AppShell(FrequencyControl &frequency, StatusPoll &poll, LinkSwitch &linkSwitch,
                   Ft847Controls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_poll(poll)
    , m_linkSwitch(linkSwitch)
    , m_c(controls)
{
}

void AppShell::Form_Load()
{
    memoryPanelClicks = 0;
    m_c.ft_847->setHeightTwips(Ft847Window::kFoldedTwips);
    m_c.LabDate->setText(QLocale().toString(ui::now().date(), QLocale::ShortFormat));
    m_frequency.takeFromDisplay();
    m_linkSwitch.showOffAppearance();

    if (m_loadScanner)
        m_loadScanner();
    const QLocale locale;
    fillKeepingText(m_c.Combo_vitesse, {locale.toString(0.5), QStringLiteral("1"), locale.toString(1.5)});
    fillKeepingText(m_c.Combo_pas, {QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10"),
                                    QStringLiteral("15"), QStringLiteral("25"), QStringLiteral("50"),
                                    QStringLiteral("100"), QStringLiteral("150"), QStringLiteral("500")});
    fillKeepingText(m_c.Combo_Seuil, {QStringLiteral("Buzy"), QStringLiteral("1"), QStringLiteral("3"),
                                      QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("9")});
    m_poll.SquelchOpen = false;
    m_poll.TxActive = true;
    const int widths[4] = {500, 900, 500, 3000};
    for (int column = 0; column < 4; ++column)
        m_c.Grid->setColWidth(column, widths[column]);
    fillKeepingText(m_c.Combo1, {QStringLiteral("HF1"), QStringLiteral("HF2"), QStringLiteral("HF3"),
                                 QStringLiteral("HF4"), QStringLiteral("HF5"), QStringLiteral("VHF"),
                                 QStringLiteral("UHF"), QStringLiteral("Sp1"), QStringLiteral("Sp2")});
    fillKeepingText(m_c.Comb_mem_mode, {QStringLiteral("FM"), QStringLiteral("AM"), QStringLiteral("USB"),
                                        QStringLiteral("LSB"), QStringLiteral("CW"), QStringLiteral("CWR")});
    m_c.Grid->setRows(1);
    if (m_showMemoryList)
        m_showMemoryList();
    m_c.cmdAjouter->setEnabled(true);
    m_c.Com_valid_memo->setEnabled(false);
    m_c.Com_envoi_freq->setEnabled(false);

    // The off state: the link labels that need it stay disabled until "Marche".
    m_c.Lab_mem->setEnabled(false);
    m_c.LabLocat->setEnabled(false);
    m_c.Labquit->setEnabled(true);
    m_c.Timer2->start();
}

void AppShell::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_linkSwitch.Lab_c_off_Click();
    m_c.Timer2->stop();
    m_c.Scan_Timer->stop();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != m_c.ft_847 && w->isVisible())
            w->close();
    }
    m_c.ft_847->hide();
    QCoreApplication::quit();
}

void AppShell::Timer2_Timer()
{
    m_c.LabHeure->setText(ui::now().toString(QStringLiteral("hh:mm")));
}

void AppShell::Lab_mem_Click()
{
    ++memoryPanelClicks;
    if (memoryPanelClicks == 1) {
        look::setBackColor(m_c.Lab_mem, look::Teal);
        m_c.ft_847->setHeightTwips(Ft847Window::kUnfoldedTwips);
    } else if (memoryPanelClicks == 2) {
        look::setBackColor(m_c.Lab_mem, look::Navy);
        m_c.ft_847->setHeightTwips(Ft847Window::kFoldedTwips);
        memoryPanelClicks = 0;
    }
}

void AppShell::LabLocat_Click()
{
    // The locator window decides from its own locator field, which its loading fills from the settings: it shows
    // itself, or tells the operator to configure a locator.
    if (m_openLocator)
        m_openLocator();
}

void AppShell::LabConf_Click()
{
    if (m_openConfiguration)
        m_openConfiguration();
}

void AppShell::LabPropos_Click()
{
    Propos box(m_c.LabPropos, m_c.ft_847);
    ui::execModal(box);
}

void AppShell::Labquit_Click()
{
    Form_Unload();
}
