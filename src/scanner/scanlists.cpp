#include "scanlists.h"

#include "actionroad.h"
#include "catframe.h"
#include "frequencycontrol.h"
#include "localenumber.h"
#include "rangescanner.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using Fixed = scanner::FixedDecimal;

ScanLists::ScanLists(
    RangeScanner &scanner, FrequencyControl &frequency, const ScanListsControls &controls, QObject *parent)
    : QObject(parent)
    , m_scanner(scanner)
    , m_frequency(frequency)
    , m_c(controls)
{ }

void ScanLists::wire(ActionRoad &road)
{
    using Click = void (ScanLists::*)(const QString &);
    for (const auto &[list, handler] :
        {std::pair {m_c.Scan_List, Click(&ScanLists::Scan_List_Click)}, {m_c.List_memo, &ScanLists::List_memo_Click}}) {
        road.routeTaking(list, &QListWidget::itemClicked, this, [this, handler](QListWidgetItem *item) {
            return [this, handler, text = item->text()] { (this->*handler)(text); };
        });
    }
    road.route(m_c.Command1, &QToolButton::clicked, this, &ScanLists::Command1_Click);
    road.route(m_c.Command3, &QToolButton::clicked, this, &ScanLists::Command3_Click);
    road.route(m_c.Command2, &QPushButton::clicked, this, &ScanLists::Command2_Click);
    road.route(m_c.Com_memo, &QPushButton::clicked, this, &ScanLists::Com_memo_Click);
    road.route(m_c.Com_clr, &QPushButton::clicked, this, &ScanLists::Com_clr_Click);
    RangeScanner::boundKHzField(m_c.Text_Affine);
}

void ScanLists::tune(qint64 tenHz)
{
    m_frequency.tuneTo(tenHz);
}

void ScanLists::Scan_List_Click(const QString &item)
{
    // Text the operator cannot have put there through the scanner is left alone: the radio stays where it is.
    const auto kHz = Fixed::fromText(item, QLocale());
    if (!kHz)
        return;
    m_scanner.stopSteps(); // the scan stops at once, before the radio is tuned
    m_c.Text_Affine->setText(item);
    m_c.LabScanvfo->setText(kHz->toPointGroupedText());
    tune(kHz->timesHundredToTenHz());
    m_scanner.Pause_Trace_Click();
}

void ScanLists::Command1_Click()
{
    fineStep(true);
}

void ScanLists::Command3_Click()
{
    fineStep(false);
}

void ScanLists::fineStep(bool up)
{
    if (m_c.Text_Affine->text().isEmpty())
        return;
    const auto current = Fixed::fromText(m_c.Text_Affine->text(), QLocale());
    if (!current)
        return;
    const Fixed next = up ? *current + m_scanner.ScanStep : *current - m_scanner.ScanStep;
    m_c.Text_Affine->setText(next.toText(QLocale()));
    const Fixed start = RangeScanner::numberOr(m_c.Textdep->text(), m_scanner.ScanStart);
    const Fixed end = RangeScanner::numberOr(m_c.Textariv->text(), m_scanner.ScanEnd);
    if (up) {
        if (next >= end)
            m_c.Command1->setEnabled(false);
        if (next > start)
            m_c.Command3->setEnabled(true);
    } else {
        if (next <= start)
            m_c.Command3->setEnabled(false);
        if (next < end)
            m_c.Command1->setEnabled(true);
    }
    m_c.LabScanvfo->setText(next.toCommaGroupedText());
    tune(next.timesHundredToTenHz());
}

void ScanLists::Command2_Click()
{
    m_c.LabScanvfo->setText(QString());
    m_c.Scan_List->clear();
    m_c.Text_Affine->clear();
}

void ScanLists::Com_memo_Click()
{
    QString kHz = m_frequency.lastSent().left(6);
    kHz.insert(qMin<qsizetype>(3, kHz.size()), u'.');
    m_c.List_memo->addItem(kHz + u' ' + m_frequency.modeName());
}

void ScanLists::List_memo_Click(const QString &item)
{
    m_scanner.noteTakenOver();
    // The item's leading number is MHz with the point as decimal separator, whatever the locale.
    const auto tenHz = frequency::ExactDecimal::valPrefix(item).scaledClamped(5, 0, 99999999);
    tune(tenHz);
    // The last three characters name the mode: "USB", "LSB", "CWR", or a blank and "CW", "AM", "FM". A mode
    // the radio reported, such as "CW(N)", has no button and sends nothing.
    const QString mode = item.right(3).trimmed();
    if (const auto code = cat::settableModeCode(mode))
        m_frequency.setMode(mode, *code);
}

void ScanLists::Com_clr_Click()
{
    m_c.List_memo->clear();
}
