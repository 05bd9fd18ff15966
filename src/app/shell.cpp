#include "shell.h"

#include "clicklabel.h"
#include "clock.h"
#include "dialogs.h"
#include "frequencycontrol.h"
#include "ft847window.h"
#include "linkswitch.h"
#include "look.h"
#include "messagebox.h"
#include "propos.h"
#include "statuspoll.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>

AppShell::AppShell(FrequencyControl &frequency, StatusPoll &poll, LinkSwitch &linkSwitch,
    const AppShellControls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_poll(poll)
    , m_linkSwitch(linkSwitch)
    , m_c(controls)
{ }

void AppShell::Form_Load()
{
    memoryPanelClicks = 0;
    m_c.ft_847->setHeightTwips(Ft847Window::kFoldedTwips);
    m_c.LabDate->setText(QLocale().toString(ui::now().date(), QLocale::ShortFormat));
    m_frequency.showStart();
    m_linkSwitch.showOffAppearance();

    emit loadingScanner();
    m_poll.resetStatus();
    emit loadingMemory();

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
    m_linkSwitch.Lab_c_off_Click(); // a running scan stops with the link
    m_c.Timer2->stop();
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

void AppShell::foldForLinkOff()
{
    look::setBackColor(m_c.Lab_mem, look::Navy);
    m_c.ft_847->setHeightTwips(Ft847Window::kFoldedTwips);
}

void AppShell::LabLocat_Click()
{
    // The locator window decides from its own locator field, which its loading fills from the settings: it shows
    // itself, or tells the operator to configure a locator.
    emit locatorRequested();
}

void AppShell::LabConf_Click()
{
    emit configurationRequested();
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
