#pragma once

// The band's activity drawn: above, the spectrum of the sweep in progress on the S-meter's scale, with the
// detection threshold, the steps found and the step being visited; below, the waterfall of the last sweeps. A step
// is pointed at with the mouse or reached with the arrow keys; a click, Enter or Space chooses it.

#include "activitypicture.h"
#include "waterfallimage.h"

#include <QTimer>
#include <QWidget>

#include <optional>

class ActivityModel;

class ActivityView : public QWidget
{
    Q_OBJECT

public:
    explicit ActivityView(const ActivityModel &model, QWidget *parent = nullptr);

    // The step the keyboard stands on, -1 when none.
    int focusedStep() const { return m_focused; }
    void setFocusedStep(int index);
    // Where a step is drawn, in the view's coordinates (the centre of its bar).
    QPoint stepCentre(int index) const;
    int stepAt(QPoint position) const; // -1 off the steps
    // The newest level heard at a step: the sweep in progress, else the one before.
    std::optional<double> shownLevel(int index) const;
    // "144,025 kHz S5", or "144,025 kHz non entendu".
    QString stepWords(int index) const;

    QSize sizeHint() const override { return {760, 420}; }

signals:
    void stepChosen(int index);
    void stepPointed(int index); // -1 when the pointer leaves the steps

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    ActivityPicture picture() const { return {m_model, size()}; }

    const ActivityModel &m_model;
    WaterfallImage m_waterfall;
    int m_focused = -1;
    int m_pointed = -1;
    QTimer m_coalesce; // readings close together are drawn in one repaint
};
