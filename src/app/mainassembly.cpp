#include "mainassembly.h"

#include "clicklabel.h"
#include "programend.h"

#include <QPushButton>
#include <QTimer>

MainAssembly::MainAssembly()
{
    poll.setLinkSwitch(&linkSwitch);
    link.setUnloadHandler([this] { shell.Form_Unload(); });
    wire();
}

MainAssembly::~MainAssembly()
{
    // The port closes with its owner; make sure the radio leaves CAT mode first.
    linkSwitch.Lab_c_off_Click();
}

void MainAssembly::start()
{
    shell.Form_Load();
    window.show();
}

void MainAssembly::wire()
{
    QObject::connect(&window, &Ft847Window::unloading, &shell, &AppShell::Form_Unload);
    QObject::connect(c.Lab_c_on, &ClickLabel::clicked, &linkSwitch, &LinkSwitch::Lab_c_on_Click);
    QObject::connect(c.Lab_c_off, &ClickLabel::clicked, &linkSwitch, &LinkSwitch::Lab_c_off_Click);
    QObject::connect(c.Lab_mem, &ClickLabel::clicked, &shell, &AppShell::Lab_mem_Click);
    QObject::connect(c.LabLocat, &ClickLabel::clicked, &shell, &AppShell::LabLocat_Click);
    QObject::connect(c.LabConf, &ClickLabel::clicked, &shell, &AppShell::LabConf_Click);
    QObject::connect(c.LabPropos, &ClickLabel::clicked, &shell, &AppShell::LabPropos_Click);
    QObject::connect(c.Labquit, &ClickLabel::clicked, &shell, &AppShell::Labquit_Click);
    QObject::connect(c.Timer1, &QTimer::timeout, &poll, &StatusPoll::Timer1_Timer);
    QObject::connect(c.Timer2, &QTimer::timeout, &shell, &AppShell::Timer2_Timer);
    QObject::connect(c.Com_libre, &QPushButton::clicked, &frequency, &FrequencyControl::Com_libre_Click);
    // Further wiring goes above this line.
}
