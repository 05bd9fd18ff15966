#include "locatorlauncher.h"

#include "clicklabel.h"
#include "locatorwindow.h"
#include "look.h"
#include "messagebox.h"

#include <QLineEdit>

LocatorLauncher::LocatorLauncher(const Settings &settings, ClickLabel *label, QWidget *mainWindow)
    : m_settings(settings)
    , m_label(label)
    , m_mainWindow(mainWindow)
{ }

LocatorLauncher::~LocatorLauncher()
{
    delete m_window.data();
}

WinLocAssistance *LocatorLauncher::window() const
{
    return m_window;
}

void LocatorLauncher::open()
{
    const bool loadedNow = !m_window;
    if (loadedNow)
        m_window = new WinLocAssistance(m_settings, m_label, m_mainWindow);
    if (!m_window->controls().Text_M_Loc->text().isEmpty()) {
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
        return;
    }
    ui::showMessage(QStringLiteral("Erreur : Vous n'avez pas entré votre Locator dans la fenêtre configuration."),
        ui::MsgIcon::Error);
    // A window already open (its own locator emptied there) stays as it is, with both panels and a teal label.
    if (!loadedNow || !m_window)
        return;
    look::setBackColor(m_label, look::Navy);
    // Released rather than kept loaded out of sight, so that a locator configured afterwards is read at the
    // next click.
    m_window->close();
    m_window = nullptr;
}
