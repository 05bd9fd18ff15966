#include "rangescanner.h"

#include "actionroad.h"
#include "catlink.h"
#include "combos.h"
#include "frequencycontrol.h"
#include "messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

namespace {

// Typed text only: what the program writes into the field itself is not checked.
class KHzFieldValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return scanner::FixedDecimal::fitsKHzField(input, QLocale()) ? Acceptable : Invalid;
    }
};

} // namespace

RangeScanner::RangeScanner(
    FrequencyControl &frequency, StatusPoll &poll, CatLink &link, const RangeScannerControls &controls, QObject *parent)
    : QObject(parent)
    , m_frequency(frequency)
    , m_poll(poll)
    , m_link(link)
    , m_c(controls)
{ }

void RangeScanner::wire(ActionRoad &road)
{
    m_road = &road;
    road.route(m_c.Av_Pas, &QPushButton::clicked, this, &RangeScanner::Av_Pas_Click);
    road.route(m_c.Pause_Trace, &QPushButton::clicked, this, &RangeScanner::Pause_Trace_Click);
    road.route(m_c.Arret_Trace, &QPushButton::clicked, this, &RangeScanner::Arret_Trace_Click);
    connect(m_c.Scan_Timer, &QTimer::timeout, this, &RangeScanner::requestStep);
    // Only a choice from a list counts; typed text is taken at the next Start (and Stop, for the step).
    road.route(m_c.Combo_pas, &QComboBox::activated, this, &RangeScanner::Combo_pas_Click);
    road.route(m_c.Combo_vitesse, &QComboBox::activated, this, &RangeScanner::Combo_vitesse_Click);
    road.route(m_c.Combo_Seuil, &QComboBox::activated, this, &RangeScanner::Combo_Seuil_Click);
    connect(m_c.Textdep, &QLineEdit::textChanged, this, &RangeScanner::Textdep_Change);
    connect(m_c.Textariv, &QLineEdit::textChanged, this, &RangeScanner::Textariv_Change);
    boundKHzField(m_c.Combo_pas->lineEdit());
}

void RangeScanner::boundKHzField(QLineEdit *field)
{
    field->setValidator(new KHzFieldValidator(field));
}

RangeScanner::Fixed RangeScanner::numberOr(const QString &text, Fixed previous)
{
    return Fixed::fromText(text, QLocale()).value_or(previous);
}

void RangeScanner::loadFromFields()
{
    ScanStart = numberOr(m_c.Textdep->text(), ScanStart);
    ScanPos = ScanStart;
    ScanEnd = numberOr(m_c.Textariv->text(), ScanEnd);
}

void RangeScanner::fillLists()
{
    const QLocale locale;
    ui::fillKeepingText(m_c.Combo_vitesse, {locale.toString(0.5), QStringLiteral("1"), locale.toString(1.5)});
    ui::fillKeepingText(m_c.Combo_pas,
        {QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("25"),
            QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("150"), QStringLiteral("500")});
    ui::fillKeepingText(m_c.Combo_Seuil,
        {QStringLiteral("Buzy"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("7"),
            QStringLiteral("9")});
}

void RangeScanner::setThresholdFrom(const QString &text)
{
    ScanThreshold = text == QStringLiteral("Buzy") ? Fixed() : numberOr(text, ScanThreshold);
}

void RangeScanner::setSpeedFrom(const QString &text)
{
    // A speed of zero or less would give a timer that never ticks, or one that spins: keep the last good one.
    const Fixed speed = numberOr(text, ScanSpeed);
    if (speed > Fixed())
        ScanSpeed = speed;
}

int RangeScanner::intervalMs() const
{
    // Before the first good speed the list's own default, one second, stands.
    const qint64 ms = ScanSpeed > Fixed() ? ScanSpeed.toMilliseconds() : 1000;
    return int(qBound<qint64>(1, ms, 24LL * 3600 * 1000));
}

void RangeScanner::Av_Pas_Click()
{
    if (m_c.Textariv->text().isEmpty()) {
        ui::showMessage(QStringLiteral("Erreur: Entrer la fréquence d'arrivée."), ui::MsgIcon::Error);
        return;
    }
    if (m_c.Textdep->text().isEmpty()) {
        ui::showMessage(QStringLiteral("Erreur: Entrer la fréquence de départ."), ui::MsgIcon::Error);
        return;
    }
    if (numberOr(m_c.Textdep->text(), ScanStart) >= numberOr(m_c.Textariv->text(), ScanEnd)) {
        ui::showMessage(
            QStringLiteral("Erreur: La fréquence de départ et égale ou superieure à la fréquence d'arrivée."),
            ui::MsgIcon::Error);
        return;
    }
    ScanStep = numberOr(m_c.Combo_pas->currentText(), ScanStep);
    setSpeedFrom(m_c.Combo_vitesse->currentText());
    setThresholdFrom(m_c.Combo_Seuil->currentText());
    m_c.Arret_Trace->setEnabled(true);
    m_c.Pause_Trace->setEnabled(true);
    m_c.Av_Pas->setEnabled(false);
    m_c.Scan_Timer->setInterval(intervalMs());
    m_c.Scan_Timer->start();
}

void RangeScanner::Pause_Trace_Click()
{
    noteTakenOver();
    m_c.Scan_Timer->stop();
    m_c.Av_Pas->setEnabled(true);
    m_c.Pause_Trace->setEnabled(false);
}

void RangeScanner::Arret_Trace_Click()
{
    noteTakenOver();
    m_tunedSends.reset(); // the radio is not on the start, where the next step begins
    m_c.Scan_Timer->stop();
    m_c.Pause_Trace->setEnabled(false);
    m_c.Av_Pas->setEnabled(true);
    ScanStep = numberOr(m_c.Combo_pas->currentText(), ScanStep);
    ScanStart = numberOr(m_c.Textdep->text(), ScanStart);
    ScanEnd = numberOr(m_c.Textariv->text(), ScanEnd);
    // Back to the start: with an unreadable start field, the last start that read.
    ScanPos = ScanStart;
}

void RangeScanner::requestStep()
{
    if (m_stepWaiting)
        return;
    m_stepWaiting = true;
    m_road->submit(ActionRoad::Source::Internal, [this, takenOver = m_takenOver] {
        m_stepWaiting = false;
        if (takenOver == m_takenOver)
            Scan_Timer_Timer();
    });
}

void RangeScanner::stopSteps()
{
    m_c.Scan_Timer->stop();
}

void RangeScanner::showMode(const QString &mode)
{
    m_c.LabScanMode->setText(mode);
}

void RangeScanner::prepareBand(qint64 startKHz, qint64 endKHz, int stepKHz)
{
    m_c.LabScanvfo->setText(QString());
    m_c.Textdep->setText(QString::number(startKHz));
    m_c.Textariv->setText(QString::number(endKHz));
    m_c.Combo_pas->setEditText(QString::number(stepKHz));
}

void RangeScanner::linkSwitchingOff()
{
    if (m_c.Scan_Timer->isActive())
        Arret_Trace_Click();
}

bool RangeScanner::readsStep(std::optional<quint64> StatusPoll::ReadAt::*which) const
{
    return m_tunedSends && m_poll.readAt().*which == m_tunedSends;
}

void RangeScanner::Scan_Timer_Timer()
{
    const int takenOver = m_takenOver;
    m_link.turn();
    // A pause, a stop or a recall handled just now: the operator has the radio, the scan does not step over it
    // (nor restart a timer that was just stopped).
    if (m_takenOver != takenOver)
        return;
    if (m_c.Scan_Timer->isActive())
        m_c.Scan_Timer->setInterval(intervalMs());
    // Where the radio stood for the last interval: what the poll's busy flag and S-meter describe, if it read them
    // there. A reading from elsewhere, or from before (the link switched off, the poll held), records nothing.
    const Fixed stoodOn = ScanPos;
    const bool busyThere = readsStep(&StatusPoll::ReadAt::busy);
    const bool levelThere = readsStep(&StatusPoll::ReadAt::level);
    bool detected = false;
    if (!ScanThreshold.isZero()) {
        detected = levelThere && Fixed::fromUnits(qRound64(m_poll.SignalLevel * Fixed::UnitsPerOne)) >= ScanThreshold;
    } else {
        detected = busyThere && m_poll.SquelchOpen;
    }
    if (levelThere)
        emit stepHeard({.start = ScanStart,
            .end = ScanEnd,
            .step = ScanStep,
            .at = stoodOn,
            .threshold = ScanThreshold,
            .level = m_poll.SignalLevel,
            .found = detected});
    ScanPos += ScanStep;
    if (!m_c.Check_continu->isChecked() && ScanPos >= ScanEnd) {
        m_c.Scan_Timer->stop();
        ScanPos = ScanStart;
        Arret_Trace_Click();
    }
    if (m_c.Check_continu->isChecked() && ScanPos >= ScanEnd) {
        ScanPos = ScanStart;
        m_c.Scan_Timer->start();
    }
    m_c.LabScanvfo->setText(ScanPos.toPointGroupedText());
    m_frequency.tuneTo(ScanPos.timesHundredToTenHz());
    m_tunedSends = m_frequency.sends();
    emit stepTuned(ScanPos);

    if (!detected)
        return;
    record(stoodOn);
    if (m_c.Check_squelch->isChecked()) {
        m_c.Scan_Timer->stop();
        Pause_Trace_Click();
    }
}

void RangeScanner::record(Fixed frequency)
{
    m_c.Scan_List->addItem(frequency.toText(QLocale()));
}

void RangeScanner::Combo_pas_Click()
{
    ScanStep = numberOr(m_c.Combo_pas->currentText(), ScanStep);
}

void RangeScanner::Combo_vitesse_Click()
{
    setSpeedFrom(m_c.Combo_vitesse->currentText());
}

void RangeScanner::Combo_Seuil_Click()
{
    setThresholdFrom(m_c.Combo_Seuil->currentText());
}

void RangeScanner::Textdep_Change()
{
    ScanStart = numberOr(m_c.Textdep->text(), ScanStart);
}

void RangeScanner::Textariv_Change()
{
    ScanEnd = numberOr(m_c.Textariv->text(), ScanEnd);
}
