#pragma once

// Where everything of the activity picture stands in a view of a given size, and the painting of it: the S-meter
// scale and the kHz axis, the spectrum's bars, the threshold and the marks, the waterfall scaled into place.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class ActivityModel;
class QPainter;

class ActivityPicture
{
public:
    ActivityPicture(const ActivityModel &model, QSize size);

    QRect spectrumRect() const;
    QRect waterfallRect() const;
    QPoint stepCentre(int index) const; // the centre of its bar
    int stepAt(QPoint position) const; // -1 off the steps

    // focused: the step the keyboard stands on, -1 for none.
    void paint(QPainter &p, const QImage &waterfall, int focused) const;

private:
    int yOfLevel(double level) const;
    void paintScale(QPainter &p) const;
    void paintSpectrum(QPainter &p) const;
    void paintMarks(QPainter &p, int focused) const;
    void paintWaterfall(QPainter &p, const QImage &image) const;

    const ActivityModel &m_model;
    QSize m_size;
};
