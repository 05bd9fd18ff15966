#pragma once

// What the range scanner heard, sweep after sweep: for the range being swept, the S-meter level at each step of the
// last sweeps, newest first, and the step being visited. Fed by the scanner's own readings; a new range starts anew.

#include "fixeddecimal.h"
#include "scanreading.h"

#include <QDateTime>
#include <QList>
#include <QObject>

#include <deque>
#include <optional>
#include <vector>

class ActivityModel : public QObject
{
    Q_OBJECT

public:
    using Fixed = scanner::FixedDecimal;
    static constexpr int kSweepsKept = 100;
    // Longer ranges are not drawn: a hundred sweeps of them would not fit the window's memory.
    static constexpr int kMostSteps = 20000;

    explicit ActivityModel(QObject *parent = nullptr);

    void take(const scanner::ScanReading &reading);
    void setVisiting(Fixed at);

    // The range: steps start, start + step, ... below the arrival.
    Fixed start() const { return m_start; }
    Fixed end() const { return m_end; }
    Fixed step() const { return m_step; }
    Fixed threshold() const { return m_threshold; }
    int stepCount() const { return m_count; }
    Fixed frequencyAt(int index) const;
    int indexOf(Fixed kHz) const; // -1 off the steps
    int visiting() const { return m_visiting; } // -1 when none

    // Sweeps, row 0 the newest (the one in progress).
    int sweepCount() const { return int(m_sweeps.size()); }
    QDateTime sweepTime(int row) const { return m_sweeps.at(row).at; }
    std::optional<double> level(int row, int index) const;
    // What the scanner found there (and recorded in its list).
    bool found(int row, int index) const;
    // The last sweep done: the newest one heard to its last step, else the one before the sweep in progress.
    std::optional<int> lastCompleteRow() const;

    // "S5", "S9", "S9+20": a level as the panel's S-meter scale reads it.
    static QString levelWords(double level);
    // The strongest steps of a sweep in words, at most `count`: "144,800 kHz S9, 145,500 kHz S5".
    QString strongestWords(int row, int count = 5) const;
    // One line of dates and times, then one line per step: its kHz and its level in each sweep, oldest first.
    QByteArray toCsv() const;

signals:
    void rangeChanged();
    void readingAdded(int index);
    void sweepStarted();
    void sweepCompleted(int row);
    void visitingChanged(int index);

private:
    struct Sweep
    {
        QDateTime at;
        std::vector<quint8> cells; // reading (level x 2) | kFound; kUnread where the scan did not hear
        int lastIndex = -1;
    };
    static constexpr quint8 kUnread = 0xFF;
    static constexpr quint8 kFound = 0x80;
    static constexpr quint8 kReading = 0x3F;

    bool sameRange(const scanner::ScanReading &reading) const;
    void newRange(const scanner::ScanReading &reading);

    Fixed m_start, m_end, m_step, m_threshold;
    int m_count = 0;
    int m_visiting = -1;
    bool m_lastCompleted = false; // the newest sweep reached its last step
    std::deque<Sweep> m_sweeps;
};
