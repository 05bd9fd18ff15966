#include "ft847window.h"

#include "clicklabel.h"
#include "look.h"
#include "panels.h"

#include <QCloseEvent>
#include <QFrame>
#include <QTimer>

using namespace panels;

Ft847Window::Ft847Window(QWidget *parent)
    : QWidget(parent)
{
    look::installAccessibility();
    Ft847Controls &c = m_controls;
    c.ft_847 = this;
    setObjectName(QStringLiteral("ft_847"));
    setWindowTitle(QStringLiteral("Orvane FT847 V2.5"));
    look::setAccessibleRole(this, QAccessible::Window);
    look::setBackColor(this, look::Face);
    setHeightTwips(kFoldedTwips);

    buildNavigation();

    c.Frame1 = place<QFrame>(this, "Frame1", 0, 390, kWidthTwips, kFoldedTwips - 390);
    c.Frame1->setFrameShape(QFrame::NoFrame);
    // While the link is off the operating controls are disabled; their captions must stay legible.
    QPalette framePalette = c.Frame1->palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        framePalette.setColor(QPalette::Disabled, role, look::DisabledText);
    c.Frame1->setPalette(framePalette);
    buildFrequencyPanel(c, c.Frame1);
    buildScannerPanel(c, c.Frame1);
    buildMemoryPanel(c, this);

    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));
    c.Timer1->setInterval(300);
    c.Timer2 = new QTimer(this);
    c.Timer2->setObjectName(QStringLiteral("Timer2"));
    c.Timer2->setInterval(1000);
    c.Scan_Timer = new QTimer(this);
    c.Scan_Timer->setObjectName(QStringLiteral("Scan_Timer"));
}

void Ft847Window::buildNavigation()
{
    Ft847Controls &c = m_controls;
    auto nav = [this](const char *name, const QString &text, int left, int width) {
        auto *l = place<ClickLabel>(this, name, left, 45, width, 300, text);
        look::setBackColor(l, look::Navy);
        look::setForeColor(l, Qt::white);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    c.Lab_c_on = nav("Lab_c_on", QStringLiteral("Marche"), 60, 1050);
    c.Lab_c_off = nav("Lab_c_off", QStringLiteral("Arret"), 60, 1050);
    look::setBackColor(c.Lab_c_off, look::Teal);
    c.Lab_c_off->hide();
    c.Lab_mem = nav("Lab_mem", QStringLiteral("Memoire"), 1170, 1050);
    c.LabLocat = nav("LabLocat", QStringLiteral("Locator"), 2280, 1050);
    c.LabConf = nav("LabConf", QStringLiteral("Configuration"), 3390, 1500);
    c.LabPropos = nav("LabPropos", QStringLiteral("A propos"), 4950, 1050);
    c.Labquit = nav("Labquit", QStringLiteral("Quitter"), 6060, 1050);
    c.LabActiv = nav("LabActiv", QStringLiteral("Activité"), 7170, 1050);
    c.LabHeure = label(this, "LabHeure", QStringLiteral("00:00"), 9150, 45, 750, 300, Qt::AlignCenter);
    c.LabDate = label(this, "LabDate", QStringLiteral("00/00/00"), 9960, 45, 1380, 300, Qt::AlignCenter);
    look::nameWithValue(c.LabHeure, QStringLiteral("Heure"));
    look::nameWithValue(c.LabDate, QStringLiteral("Date"));
}

void Ft847Window::setHeightTwips(int twips)
{
    setFixedSize(ui::px(kWidthTwips), ui::px(twips));
}

int Ft847Window::heightTwips() const
{
    return ui::twips(height());
}

void Ft847Window::closeEvent(QCloseEvent *event)
{
    // The unload may have to wait for a command being sent; it hides the window itself.
    event->ignore();
    emit unloading();
}
