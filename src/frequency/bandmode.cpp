#include "bandmode.h"

#include "actionroad.h"
#include "catlink.h"
#include "frequencycontrol.h"

#include "freqlimits.h"

#include <QPushButton>

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
    selectBand(u"1.8");
}
void BandMode::Com_35_Click()
{
    selectBand(u"3.5");
}
void BandMode::Com_7_Click()
{
    selectBand(u"7");
}
void BandMode::Com_14_Click()
{
    selectBand(u"14");
}
void BandMode::Com_21_Click()
{
    selectBand(u"21");
}
void BandMode::Com_28_Click()
{
    selectBand(u"28");
}
void BandMode::Com_50_Click()
{
    selectBand(u"50");
}
void BandMode::Com_144_Click()
{
    selectBand(u"144");
}
void BandMode::Com_430_Click()
{
    selectBand(u"430");
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

void BandMode::selectBand(QStringView caption)
{
    const frequency::Band &band = *frequency::bandOfButton(caption);
    emit bandChosen(band.low / 100, band.high / 100, band.scanStepKHz); // the scanner prepares for it first
    m_frequency.showMode(cat::modeName(band.mode));
    m_frequency.tuneTo(band.working);
    m_link.sendWithParameter(cat::OpSetMode, band.mode);
}

void BandMode::selectMode(quint8 code, bool pausePoll)
{
    if (pausePoll)
        emit pollHeld(true);
    m_frequency.setMode(cat::modeName(code), code);
    if (pausePoll)
        emit pollHeld(false);
}
