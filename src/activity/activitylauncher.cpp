#include "activitylauncher.h"

#include "activitywindow.h"
#include "clicklabel.h"

ActivityLauncher::ActivityLauncher(const ActivityModel &model, ClickLabel *label, QWidget *mainWindow, Tune tune)
    : m_model(model)
    , m_label(label)
    , m_mainWindow(mainWindow)
    , m_tune(std::move(tune))
{ }

ActivityLauncher::~ActivityLauncher()
{
    delete m_window.data();
}

ActivityWindow *ActivityLauncher::window() const
{
    return m_window;
}

void ActivityLauncher::open()
{
    if (!m_window) {
        m_window = new ActivityWindow(m_model, m_label, m_mainWindow);
        QObject::connect(m_window, &ActivityWindow::tuneRequested, m_window,
            [this](scanner::FixedDecimal kHz) { m_tune(kHz.toText(QLocale())); });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
