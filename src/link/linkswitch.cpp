#include "linkswitch.h"

#include "catlink.h"
#include "clicklabel.h"
#include "frequencycontrol.h"
#include "look.h"
#include "messagebox.h"
#include "settings.h"
#include "statuspoll.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QTimer>

LinkSwitch::LinkSwitch(Settings &settings, CatLink &link, FrequencyControl &frequency, StatusPoll &poll,
    const LinkSwitchControls &controls, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_link(link)
    , m_frequency(frequency)
    , m_poll(poll)
    , m_c(controls)
{ }

bool LinkSwitch::isOn() const
{
    return !LinkOff && m_link.port().portOpen() && !m_link.hasEnded();
}

void LinkSwitch::setPanelSet(bool on)
{
    for (QWidget *w : m_c.panelSet) {
        look::setBackColor(w, on ? look::PanelOn : look::PanelOff);
        look::setForeColor(w, on ? QColor(Qt::black) : look::PanelOffText);
    }
}

void LinkSwitch::showOffAppearance()
{
    setPanelSet(false);
    m_c.Frame1->setEnabled(false);
}

void LinkSwitch::Lab_c_on_Click()
{
    m_settings.read();
    if (m_settings.PortNumber.isEmpty()) {
        ui::showMessage(QStringLiteral("Configuration requise de votre FT847 est RIVO847Z2 !"));
        emit configurationRequired();
        return;
    }
    CommPort &port = m_link.port();
    const QString busy = QStringLiteral("Erreur: Le port et occupé.");
    bool numeric = false;
    const int number = m_settings.PortNumber.trimmed().toInt(&numeric);
    if (port.portOpen()) {
        ui::showMessage(busy);
        return;
    }
    // A port that is not 1 to 4, absent, or held by another program: the same message, and the link stays off
    // with nothing changed. The port is therefore opened before the panel changes its look.
    if (!numeric || number < 1 || number > 4) {
        ui::showMessage(busy);
        return;
    }
    port.setCommPort(number);
    port.setSettings(m_settings.PortSettings);
    if (!port.setPortOpen(true)) {
        ui::showMessage(busy);
        return;
    }

    m_frequency.setAmateurOnly(true);
    m_c.Lab_c_off->show();
    m_c.Lab_c_on->hide();
    setPanelSet(true);
    m_c.Frame1->setEnabled(true);
    m_c.Labquit->setEnabled(false);
    LinkOff = false;
    m_link.CatOnOff[4] = cat::OpCatOn;
    m_link.Envoi_CatOnOff();
    if (LinkOff)
        return; // switched off again while CAT on drained
    m_poll.start();
    m_c.LabLocat->setEnabled(true);
    m_c.Lab_mem->setEnabled(true);
}

void LinkSwitch::Lab_c_off_Click()
{
    if (!m_link.port().portOpen())
        return;
    emit switchingOff(); // "Memoire" back to navy, the window folded
    m_c.Lab_c_off->hide();
    m_c.Lab_c_on->show();
    setPanelSet(false);
    m_c.Frame1->setEnabled(false);
    m_c.Labquit->setEnabled(true);
    m_poll.clearMeter();
    m_c.LabLocat->setEnabled(false);
    m_c.Lab_mem->setEnabled(false);
    m_poll.stop();
    LinkOff = true;
    m_link.CatOnOff[4] = cat::OpCatOff;
    m_link.Envoi_CatOnOff();
    QCoreApplication::processEvents();
    m_link.port().setPortOpen(false);
}
