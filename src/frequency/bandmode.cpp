#include "bandmode.h"

#include "actionroad.h"
#include "catlink.h"
#include "frequencycontrol.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

struct BandMode::Band
{
    const char *start; // scanner fields, kHz
    const char *end;
    const char *step;
    qint64 frequency; // 10 Hz units
    quint8 mode;
};

namespace {
using B = BandMode;
} // namespace

BandMode::BandMode(FrequencyControl &frequency, CatLink &link, const BandModeControls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_link(link)
    , m_c(controls)
{ }

void BandMode::wire(ActionRoad &road)
{
    const std::pair<QPushButton *, void (BandMode::*)()> handlers[] = {
        {m_c.Com_18, &B::Com_18_Click},
        {m_c.Com_35, &B::Com_35_Click},
        {m_c.Com_7, &B::Com_7_Click},
        {m_c.Com_14, &B::Com_14_Click},
        {m_c.Com_21, &B::Com_21_Click},
        {m_c.Com_28, &B::Com_28_Click},
        {m_c.Com_50, &B::Com_50_Click},
        {m_c.Com_144, &B::Com_144_Click},
        {m_c.Com_430, &B::Com_430_Click},
        {m_c.Com_LSB, &B::Com_LSB_Click},
        {m_c.Com_USB, &B::Com_USB_Click},
        {m_c.Com_CW, &B::Com_CW_Click},
        {m_c.Com_CWR, &B::Com_CWR_Click},
        {m_c.Com_AM, &B::Com_AM_Click},
        {m_c.Com_FM, &B::Com_FM_Click},
    };
    for (const auto &[button, handler] : handlers)
        road.route(button, &QPushButton::clicked, this, handler);
}

void BandMode::Com_18_Click()
{
    selectBand({"1810", "1850", "1", 182500, cat::ModeLSB});
}
void BandMode::Com_35_Click()
{
    selectBand({"3500", "3800", "5", 360000, cat::ModeLSB});
}
void BandMode::Com_7_Click()
{
    selectBand({"7000", "7100", "5", 705000, cat::ModeLSB});
}
void BandMode::Com_14_Click()
{
    selectBand({"14000", "14350", "5", 1420000, cat::ModeUSB});
}
void BandMode::Com_21_Click()
{
    selectBand({"21000", "21450", "5", 2120000, cat::ModeUSB});
}
void BandMode::Com_28_Click()
{
    selectBand({"28000", "29700", "10", 2850000, cat::ModeUSB});
}
void BandMode::Com_50_Click()
{
    selectBand({"50000", "51200", "10", 5020000, cat::ModeUSB});
}
void BandMode::Com_144_Click()
{
    selectBand({"144000", "146000", "25", 14550000, cat::ModeFM});
}
void BandMode::Com_430_Click()
{
    selectBand({"430000", "440000", "50", 43342500, cat::ModeFM});
}

void BandMode::Com_LSB_Click()
{
    selectMode(cat::ModeLSB, true);
}
void BandMode::Com_USB_Click()
{
    selectMode(cat::ModeUSB, false);
}
void BandMode::Com_CW_Click()
{
    selectMode(cat::ModeCW, false);
}
void BandMode::Com_CWR_Click()
{
    selectMode(cat::ModeCWR, false);
}
void BandMode::Com_AM_Click()
{
    selectMode(cat::ModeAM, true);
}
void BandMode::Com_FM_Click()
{
    selectMode(cat::ModeFM, false);
}

void BandMode::selectBand(const Band &band)
{
    m_c.LabScanvfo->setText(QString());
    m_c.Textdep->setText(QLatin1String(band.start));
    m_c.Textariv->setText(QLatin1String(band.end));
    m_c.Combo_pas->setEditText(QLatin1String(band.step));
    m_frequency.setModeCaption(cat::modeName(band.mode));
    m_frequency.CurrentFreq = QString::number(band.frequency);
    m_frequency.Charge_Num();
    m_link.sendWithParameter(cat::OpSetMode, band.mode);
}

void BandMode::selectMode(quint8 code, bool pausePoll)
{
    if (pausePoll)
        m_c.Timer1->stop();
    m_frequency.setMode(cat::modeName(code), code);
    if (pausePoll)
        m_c.Timer1->start();
}
