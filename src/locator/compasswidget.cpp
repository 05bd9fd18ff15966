#include "compasswidget.h"

#include "twips.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

// The dial's geometry in twips of the window's client area.
const QRectF Dial(1200, 840, 1815, 1815);
const QRectF Hub(2040, 1680, 135, 135);
const QPointF CrossCentre(2100, 1740);
constexpr double CrossLeft = 1080, CrossRight = 3120, CrossTop = 720, CrossBottom = 2760;
constexpr double StrokeInner = 760, StrokeOuter = 1000; // diagonal strokes, from the cross centre
constexpr double TwipsPerPixel = ui::twipsPerPixel;

const QColor LightCyan(192, 255, 255);
const QColor DarkGreen(0, 64, 0);
const QColor NeedleRed(255, 0, 0);
const QColor Backdrop(0x1C, 0x2A, 0x38);
const QColor CardinalColor(0xFF, 0xF0, 0x90);

// Text centred on a point, in the painter's twips.
void drawCentred(QPainter &p, const QPointF &centre, const QString &text)
{
    const QRectF box(centre.x() - 600, centre.y() - 150, 1200, 300);
    p.drawText(box, Qt::AlignCenter, text);
}

} // namespace

CompassWidget::CompassWidget(const QRect &areaTwips, QWidget *parent)
    : QWidget(parent)
    , m_area(areaTwips)
{
    setGeometry(ui::rectTw(areaTwips.x(), areaTwips.y(), areaTwips.width(), areaTwips.height()));
    setAccessibleName(QStringLiteral("Boussole"));
}

void CompassWidget::setNeedle(const QLineF &twips, const QString &description)
{
    m_needle = twips;
    setAccessibleDescription(description);
    update();
}

void CompassWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Logical pixels are scaled by Qt for the screen; within them, paint in the window's twips.
    p.scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
    p.translate(-m_area.x(), -m_area.y());

    p.setPen(Qt::NoPen);
    p.setBrush(Backdrop);
    p.drawRoundedRect(QRectF(m_area), 90, 90);

    // Pen widths are the dial's pixel widths, in twips.
    p.setPen(QPen(LightCyan, 3 * TwipsPerPixel));
    p.setBrush(DarkGreen);
    p.drawEllipse(Dial);

    const QPen thin(LightCyan, TwipsPerPixel, Qt::SolidLine, Qt::FlatCap);
    p.setPen(thin);
    p.drawLine(QPointF(CrossLeft, CrossCentre.y()), QPointF(CrossRight, CrossCentre.y()));
    p.drawLine(QPointF(CrossCentre.x(), CrossTop), QPointF(CrossCentre.x(), CrossBottom));
    const double diagonal = std::sqrt(0.5);
    for (const QPointF direction : {QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1), QPointF(-1, -1)}) {
        const QPointF unit = direction * diagonal;
        p.drawLine(CrossCentre + unit * StrokeInner, CrossCentre + unit * StrokeOuter);
    }

    QFont font = this->font();
    font.setPixelSize(int(10.5 * TwipsPerPixel));
    p.setFont(font);
    p.setPen(LightCyan);
    // Graduations clockwise from the top, just beyond the ends of the cross and of the strokes.
    for (int i = 0; i < 8; ++i) {
        const double angle = i * 45 * std::numbers::pi / 180;
        const double reach = i % 2 == 0 ? 1020 + 190 : StrokeOuter + 210;
        const QPointF at(CrossCentre.x() + reach * std::sin(angle), CrossCentre.y() - reach * std::cos(angle));
        drawCentred(p, at + QPointF(i == 2 ? 110 : i == 6 ? -110 : 0, 0), QString::number(i * 45) + u'°');
    }

    font.setBold(true);
    font.setPixelSize(int(12 * TwipsPerPixel));
    p.setFont(font);
    p.setPen(CardinalColor);
    drawCentred(p, QPointF(CrossCentre.x(), CrossTop - 420), QStringLiteral("Nord"));
    drawCentred(p, QPointF(CrossCentre.x(), CrossBottom + 420), QStringLiteral("Sud"));
    drawCentred(p, QPointF(CrossRight + 330, CrossCentre.y() - 240), QStringLiteral("Est"));
    drawCentred(p, QPointF(CrossLeft - 330, CrossCentre.y() - 240), QStringLiteral("Ouest"));

    p.setPen(QPen(NeedleRed, 2 * TwipsPerPixel, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(m_needle);

    p.setPen(QPen(NeedleRed, TwipsPerPixel));
    p.setBrush(NeedleRed);
    p.drawEllipse(Hub);
}
