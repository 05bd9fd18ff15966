#include "propos.h"

#include "look.h"
#include "twips.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

// A small drawing of the radio's front: a dark case, a frequency window and a tuning knob.
QPixmap radioPicture(int side)
{
    QPixmap pm(QSize(side, side) * 2);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    p.setPen(QPen(Qt::black, s / 40));
    p.setBrush(look::PanelOff);
    p.drawRoundedRect(QRectF(s * 0.05, s * 0.25, s * 0.9, s * 0.5), s * 0.05, s * 0.05);
    p.setBrush(look::PanelOn);
    p.drawRect(QRectF(s * 0.12, s * 0.33, s * 0.45, s * 0.15));
    p.setBrush(look::Teal);
    p.drawEllipse(QPointF(s * 0.75, s * 0.5), s * 0.13, s * 0.13);
    p.setPen(QPen(Qt::white, s / 30));
    p.drawLine(QPointF(s * 0.75, s * 0.5), QPointF(s * 0.75, s * 0.39));
    return pm;
}

} // namespace

Propos::Propos(QWidget *launcher, QWidget *parent)
    : QDialog(parent)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("propos"));
    setWindowTitle(QStringLiteral("À propos"));
    setFixedSize(ui::px(5400), ui::px(3000));
    // Form_Load
    if (m_launcher)
        look::setBackColor(m_launcher, look::Teal);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picLogo"));
    picture->setPixmap(radioPicture(ui::px(1200)));
    picture->setGeometry(ui::rectTw(240, 240, 1200, 1200));
    picture->setAccessibleName(QStringLiteral("Image du transceiver"));

    auto *title = new QLabel(QStringLiteral("Orvane FT847V2.5"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPixelSize(20);
    big.setBold(true);
    title->setFont(big);
    title->setGeometry(ui::rectTw(1620, 240, 3600, 450));

    auto *description = new QLabel(QStringLiteral(" Programme de contrôle FT847 / PC sous Windows95 "), this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setGeometry(ui::rectTw(1620, 780, 3600, 660));

    auto *version = new QLabel(QStringLiteral("Version 2.5.0 (01/2001)"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setGeometry(ui::rectTw(1620, 1530, 3600, 300));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setGeometry(ui::rectTw(3840, 2400, 1320, 390));
    connect(ok, &QPushButton::clicked, this, &Propos::cmdOK_Click);
    setWindowIcon(programIcon());
}

Propos::~Propos()
{
    // Form_Unload, however the box was closed.
    if (m_launcher)
        look::setBackColor(m_launcher, look::Navy);
}

void Propos::cmdOK_Click()
{
    accept();
}

QIcon Propos::programIcon()
{
    QIcon icon;
    for (const int side : {16, 32, 48, 64})
        icon.addPixmap(radioPicture(side));
    return icon;
}
