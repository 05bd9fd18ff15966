#include "mainassembly.h"

#include "clicklabel.h"
#include "configdialog.h"
#include "dialogs.h"
#include "memorygrid.h"
#include "programend.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

MainAssembly::MainAssembly(CommPort *testPort)
    : m_ownPort(testPort ? nullptr : std::make_unique<QtCommPort>())
    , port(testPort ? *testPort : *m_ownPort)
{
    poll.setLinkSwitch(&linkSwitch);
    link.setUnloadHandler([this] { shell.Form_Unload(); });
    // "Configuration" and "Marche" without a port both open the configuration dialog, modally.
    const auto openConfiguration = [this] {
        ConfigDialog dialog(settings, c.LabConf, c.ft_847);
        ui::execModal(dialog);
    };
    shell.setConfigurationOpener(openConfiguration);
    linkSwitch.setConfigurationOpener(openConfiguration);
    shell.setLocatorOpener([this] { locatorLauncher.open(); });
    wire();
    tuning.wire();
    bandMode.wire();
    vfoShift.wire();
    scanner.wire();
    scanLists.wire();
    shell.setScannerLoader([this] { scanner.loadFromFields(); });
}

MainAssembly::~MainAssembly()
{
    // The port closes with its owner; make sure the radio leaves CAT mode first.
    linkSwitch.Lab_c_off_Click();
}

bool MainAssembly::share(const QHostAddress &address, quint16 port, QString *why)
{
    sharing = std::make_unique<RigctlServer>(rig);
    if (sharing->listen(address, port))
        return true;
    if (why)
        *why = RigctlServer::causeInFrench(sharing->serverError());
    sharing.reset();
    return false;
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
    shell.setMemoryListShower([this] { memory.ComEnvoiLIste_Click(); });
    QObject::connect(c.ComEnvoiLIste, &QPushButton::clicked, &memory, &MemoryEditor::ComEnvoiLIste_Click);
    QObject::connect(c.Grid, &MemoryGrid::cellClicked, &memory, &MemoryEditor::Grid_Click);
    QObject::connect(c.Grid, &MemoryGrid::cellDoubleClicked, &memory, &MemoryEditor::Grid_DblClick);
    QObject::connect(c.Grid, &MemoryGrid::currentRowChanged, &memory, &MemoryEditor::followCurrentRow);
    QObject::connect(c.Grid, &MemoryGrid::focusLost, &memory, &MemoryEditor::Grid_LostFocus);
    QObject::connect(c.cmdAjouter, &QPushButton::clicked, &memory, &MemoryEditor::cmdAjouter_Click);
    QObject::connect(c.Text_choix_qrg, &QLineEdit::textChanged, &memory, &MemoryEditor::Text_choix_qrg_Change);
    QObject::connect(c.Com_valid_memo, &QPushButton::clicked, &memory, &MemoryEditor::Com_valid_memo_Click);
    QObject::connect(c.Com_Anul, &QPushButton::clicked, &memory, &MemoryEditor::Com_Anul_Click);
    QObject::connect(c.Com_eff, &QPushButton::clicked, &memory, &MemoryEditor::Com_eff_Click);
    QObject::connect(c.Com_envoi_freq, &QPushButton::clicked, &memory, &MemoryEditor::Com_envoi_freq_Click);
}
