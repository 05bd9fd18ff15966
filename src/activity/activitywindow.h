#pragma once

// "Activité de la bande": the spectrum and waterfall of what the scanner hears, the step pointed at, and
// "Enregistrer", which saves the sweeps as CSV and the picture as PNG. Not modal: it may stay open beside the panel.
// Its accessible description reads the strongest channels of the last sweep.

#include "fixeddecimal.h"

#include <QWidget>

class ActivityModel;
class ActivityView;
class QLabel;
class QPushButton;

class ActivityWindow : public QWidget
{
    Q_OBJECT

public:
    // launcher: the main window's "Activité" label, teal while this window is open.
    ActivityWindow(const ActivityModel &model, QWidget *launcher, QWidget *parent = nullptr);

    ActivityView *view() const { return m_view; }
    QPushButton *saveButton() const { return m_save; }
    QLabel *pointedLabel() const { return m_pointed; }

    // "Enregistrer": asks where, then writes the CSV there and the PNG beside it.
    void save();

signals:
    void tuneRequested(scanner::FixedDecimal kHz);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void describeLastSweep();
    void showRange();
    bool writeSafely(const QString &path, const QByteArray &bytes);

    const ActivityModel &m_model;
    QWidget *m_launcher;
    ActivityView *m_view = nullptr;
    QLabel *m_range = nullptr, *m_pointed = nullptr;
    QPushButton *m_save = nullptr;
};
