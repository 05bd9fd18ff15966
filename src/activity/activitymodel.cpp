#include "activitymodel.h"

#include "clock.h"

#include <QLocale>

#include <algorithm>

ActivityModel::ActivityModel(QObject *parent)
    : QObject(parent)
{ }

ActivityModel::Fixed ActivityModel::frequencyAt(int index) const
{
    return Fixed::fromUnits(m_start.units() + qint64(index) * m_step.units());
}

int ActivityModel::indexOf(Fixed kHz) const
{
    if (m_count == 0 || kHz < m_start)
        return -1;
    const qint64 offset = (kHz - m_start).units();
    if (offset % m_step.units() != 0 || offset / m_step.units() >= m_count)
        return -1;
    return int(offset / m_step.units());
}

bool ActivityModel::sameRange(const scanner::ScanReading &r) const
{
    return m_count > 0 && r.start == m_start && r.end == m_end && r.step == m_step;
}

void ActivityModel::newRange(const scanner::ScanReading &r)
{
    m_sweeps.clear();
    m_visiting = -1;
    m_lastCompleted = false;
    m_start = r.start;
    m_end = r.end;
    m_step = r.step;
    m_count = 0;
    if (r.step > Fixed() && r.end > r.start) {
        const qint64 span = (r.end - r.start).units();
        const qint64 steps = span / r.step.units() + (span % r.step.units() != 0 ? 1 : 0);
        m_count = steps <= kMostSteps ? int(steps) : 0;
    }
    emit rangeChanged();
}

void ActivityModel::take(const scanner::ScanReading &r)
{
    if (!sameRange(r))
        newRange(r);
    m_threshold = r.threshold;
    const int index = indexOf(r.at);
    if (index < 0)
        return;
    // The scan came round again (or went back to the start): a new row.
    if (m_sweeps.empty() || index <= m_sweeps.front().lastIndex) {
        const bool closeOld = !m_sweeps.empty() && !m_lastCompleted;
        m_sweeps.push_front({ui::now(), std::vector<quint8>(std::size_t(m_count), kUnread), -1});
        if (m_sweeps.size() > std::size_t(kSweepsKept))
            m_sweeps.pop_back();
        m_lastCompleted = false;
        emit sweepStarted();
        if (closeOld)
            emit sweepCompleted(1);
    }
    Sweep &sweep = m_sweeps.front();
    sweep.cells[std::size_t(index)] = quint8(std::clamp(qRound(r.level * 2), 0, 31) | (r.found ? kFound : 0));
    sweep.lastIndex = index;
    emit readingAdded(index);
    if (index == m_count - 1) {
        m_lastCompleted = true;
        emit sweepCompleted(0);
    }
}

void ActivityModel::setVisiting(Fixed at)
{
    const int index = indexOf(at);
    if (index == m_visiting)
        return;
    m_visiting = index;
    emit visitingChanged(index);
}

std::optional<double> ActivityModel::level(int row, int index) const
{
    const quint8 cell = m_sweeps.at(std::size_t(row)).cells.at(std::size_t(index));
    if (cell == kUnread)
        return std::nullopt;
    return (cell & kReading) / 2.0;
}

bool ActivityModel::found(int row, int index) const
{
    const quint8 cell = m_sweeps.at(std::size_t(row)).cells.at(std::size_t(index));
    return cell != kUnread && (cell & kFound);
}

std::optional<int> ActivityModel::lastCompleteRow() const
{
    if (m_lastCompleted)
        return 0;
    if (m_sweeps.size() > 1)
        return 1;
    return std::nullopt;
}

QString ActivityModel::levelWords(double level)
{
    // Each S unit above S9 is 10 dB on the scale: +20 stands at 11, +60 at 15.
    const int whole = int(level);
    if (whole <= 9)
        return QStringLiteral("S%1").arg(whole);
    return QStringLiteral("S9+%1").arg((whole - 9) * 10);
}

QString ActivityModel::strongestWords(int row, int count) const
{
    std::vector<int> heard;
    for (int i = 0; i < m_count; ++i) {
        if (level(row, i).value_or(0) > 0)
            heard.push_back(i);
    }
    // The strongest first; at equal levels, the lower frequency.
    std::stable_sort(heard.begin(), heard.end(), [&](int a, int b) { return *level(row, a) > *level(row, b); });
    if (heard.empty())
        return QStringLiteral("Aucun signal");
    QStringList words;
    for (std::size_t i = 0; i < heard.size() && i < std::size_t(count); ++i) {
        words << QStringLiteral("%1 kHz %2")
                     .arg(frequencyAt(heard[i]).toCommaGroupedText(), levelWords(*level(row, heard[i])));
    }
    return words.join(QStringLiteral(", "));
}

QByteArray ActivityModel::toCsv() const
{
    // A decimal point and commas whatever the operator's locale: what spreadsheets and plotting tools read.
    const QLocale c = QLocale::c();
    QByteArray csv = "kHz";
    for (auto sweep = m_sweeps.rbegin(); sweep != m_sweeps.rend(); ++sweep)
        csv += ',' + sweep->at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8();
    csv += "\r\n";
    for (int i = 0; i < m_count; ++i) {
        csv += frequencyAt(i).toText(c).toUtf8();
        for (int row = sweepCount() - 1; row >= 0; --row) {
            csv += ',';
            if (const auto value = level(row, i))
                csv += QByteArray::number(*value);
        }
        csv += "\r\n";
    }
    return csv;
}
