#include "mainassembly.h"

#include "clicklabel.h"
#include "configdialog.h"
#include "dialogs.h"
#include "memorygrid.h"
#include "messagebox.h"
#include "programend.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

MainAssembly::MainAssembly(CommPort *testPort)
    : m_ownPort(testPort ? nullptr : std::make_unique<QtCommPort>())
    , port(testPort ? *testPort : *m_ownPort)
{
    poll.setLinkSwitch(&linkSwitch);
    link.setUnloadHandler([this] { shell.Form_Unload(); });
    // A box asked for in the middle of a send (by a window's own handler, reached from a turn of that send) opens
    // once the send is done, as an action of its own: its modal loop never holds a send, nor the poll, up.
    ui::setMessageGate([this](const ui::ShownMessage &m) {
        if (!road.insideSend())
            return false;
        road.submit(ActionRoad::Source::Operator, [m] { ui::showMessage(m.text, m.icon, m.title); });
        return true;
    });
    wire();
    tuning.wire(road);
    bandMode.wire(road);
    vfoShift.wire(road);
    scanner.wire(road);
    scanLists.wire(road);
}

FrequencyControls MainAssembly::frequencyControls(const Ft847Controls &c)
{
    return {.digits = c.digits(),
        .FreqDisplay = c.FreqDisplay,
        .Lab_control = c.Lab_control,
        .L_mode = c.L_mode,
        .Com_libre = c.Com_libre,
        .bandButtons = c.bandButtons(),
        .stepUp = c.stepUp,
        .stepDown = c.stepDown};
}

StatusPollControls MainAssembly::statusPollControls(const Ft847Controls &c)
{
    return {.Timer1 = c.Timer1,
        .Shape_tx_rx = c.Shape_tx_rx,
        .ShapbuzyA = c.ShapbuzyA,
        .Lab_SM = c.Lab_SM,
        .Label2 = c.Label2};
}

TuningControls MainAssembly::tuningControls(const Ft847Controls &c)
{
    return {.stepUp = c.stepUp,
        .stepDown = c.stepDown,
        .digits = c.digits(),
        .TextVfo1 = c.TextVfo1,
        .ComVfo1 = c.ComVfo1,
        .Frame1 = c.Frame1};
}

BandModeControls MainAssembly::bandModeControls(const Ft847Controls &c)
{
    return {.Com_18 = c.Com_18,
        .Com_35 = c.Com_35,
        .Com_7 = c.Com_7,
        .Com_14 = c.Com_14,
        .Com_21 = c.Com_21,
        .Com_28 = c.Com_28,
        .Com_50 = c.Com_50,
        .Com_144 = c.Com_144,
        .Com_430 = c.Com_430,
        .Com_LSB = c.Com_LSB,
        .Com_USB = c.Com_USB,
        .Com_CW = c.Com_CW,
        .Com_CWR = c.Com_CWR,
        .Com_AM = c.Com_AM,
        .Com_FM = c.Com_FM};
}

RangeScannerControls MainAssembly::rangeScannerControls(const Ft847Controls &c)
{
    return {.Textdep = c.Textdep,
        .Textariv = c.Textariv,
        .Combo_pas = c.Combo_pas,
        .Combo_vitesse = c.Combo_vitesse,
        .Combo_Seuil = c.Combo_Seuil,
        .Check_squelch = c.Check_squelch,
        .Check_continu = c.Check_continu,
        .Av_Pas = c.Av_Pas,
        .Pause_Trace = c.Pause_Trace,
        .Arret_Trace = c.Arret_Trace,
        .Scan_Timer = c.Scan_Timer,
        .LabScanvfo = c.LabScanvfo,
        .LabScanMode = c.LabScanMode,
        .Scan_List = c.Scan_List};
}

ScanListsControls MainAssembly::scanListsControls(const Ft847Controls &c)
{
    return {.Scan_List = c.Scan_List,
        .List_memo = c.List_memo,
        .Text_Affine = c.Text_Affine,
        .Textdep = c.Textdep,
        .Textariv = c.Textariv,
        .Command1 = c.Command1,
        .Command3 = c.Command3,
        .Command2 = c.Command2,
        .Com_memo = c.Com_memo,
        .Com_clr = c.Com_clr,
        .LabScanvfo = c.LabScanvfo};
}

LinkSwitchControls MainAssembly::linkSwitchControls(const Ft847Controls &c)
{
    return {.Lab_c_on = c.Lab_c_on,
        .Lab_c_off = c.Lab_c_off,
        .Lab_mem = c.Lab_mem,
        .LabLocat = c.LabLocat,
        .Labquit = c.Labquit,
        .Frame1 = c.Frame1,
        .panelSet = c.panelSet()};
}

MemoryEditorControls MainAssembly::memoryEditorControls(const Ft847Controls &c)
{
    return {.Grid = c.Grid,
        .groupChecks = {c.CheckHF1, c.CheckHF2, c.CheckHF3, c.CheckHF4, c.CheckHF5, c.CheckVHF, c.CheckUHF,
            c.CheckSpec1, c.CheckSpec2},
        .Com_envoi_freq = c.Com_envoi_freq,
        .cmdAjouter = c.cmdAjouter,
        .Com_valid_memo = c.Com_valid_memo,
        .Text_choix_qrg = c.Text_choix_qrg,
        .Text_choix_observ = c.Text_choix_observ,
        .Comb_mem_mode = c.Comb_mem_mode,
        .Combo1 = c.Combo1};
}

MainAssembly::~MainAssembly()
{
    // The port closes with its owner; make sure the radio leaves CAT mode first.
    linkSwitch.Lab_c_off_Click();
    ui::setMessageGate({});
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
    // Every control's action takes the road; the clock alone does not, it neither sends nor opens a window.
    road.route(&window, &Ft847Window::unloading, &shell, &AppShell::Form_Unload);
    road.route(c.Lab_c_on, &ClickLabel::clicked, &linkSwitch, &LinkSwitch::Lab_c_on_Click);
    road.route(c.Lab_c_off, &ClickLabel::clicked, &linkSwitch, &LinkSwitch::Lab_c_off_Click);
    road.route(c.Lab_mem, &ClickLabel::clicked, &shell, &AppShell::Lab_mem_Click);
    road.route(c.LabLocat, &ClickLabel::clicked, &shell, &AppShell::LabLocat_Click);
    road.route(c.LabConf, &ClickLabel::clicked, &shell, &AppShell::LabConf_Click);
    road.route(c.LabPropos, &ClickLabel::clicked, &shell, &AppShell::LabPropos_Click);
    road.route(c.Labquit, &ClickLabel::clicked, &shell, &AppShell::Labquit_Click);
    road.routeTaking(
        c.LabActiv, &ClickLabel::clicked, &activity, [this] { return [this] { activityLauncher.open(); }; });
    QObject::connect(&scanner, &RangeScanner::stepHeard, &activity, &ActivityModel::take);
    QObject::connect(&scanner, &RangeScanner::stepTuned, &activity, &ActivityModel::setVisiting);
    QObject::connect(c.Timer1, &QTimer::timeout, &poll, &StatusPoll::requestTick);
    QObject::connect(c.Timer2, &QTimer::timeout, &shell, &AppShell::Timer2_Timer);
    road.route(c.Com_libre, &QPushButton::clicked, &frequency, &FrequencyControl::Com_libre_Click);
    QObject::connect(&linkSwitch, &LinkSwitch::switchingOff, &scanner, &RangeScanner::linkSwitchingOff);
    QObject::connect(&bandMode, &BandMode::bandChosen, &scanner, &RangeScanner::prepareBand);
    QObject::connect(&frequency, &FrequencyControl::modeChanged, &scanner, &RangeScanner::showMode);
    QObject::connect(&bandMode, &BandMode::pollHeld, &poll, &StatusPoll::hold);
    QObject::connect(&linkSwitch, &LinkSwitch::switchingOff, &shell, &AppShell::foldForLinkOff);
    QObject::connect(&linkSwitch, &LinkSwitch::switchingOff, &vfoShift, &VfoShift::linkSwitchingOff);
    QObject::connect(&poll, &StatusPoll::statusRead, &poll, [this](bool tx, bool busy) { rig.statusRead(tx, busy); });
    QObject::connect(&poll, &StatusPoll::meterRead, &poll, [this](int reading) { rig.meterRead(reading); });
    // "Configuration" and "Marche" without a port both open the configuration dialog, modally.
    const auto openConfiguration = [this] {
        ConfigDialog dialog(settings, c.LabConf, c.ft_847);
        ui::execModal(dialog);
    };
    QObject::connect(&shell, &AppShell::configurationRequested, &shell, openConfiguration);
    QObject::connect(&linkSwitch, &LinkSwitch::configurationRequired, &linkSwitch, openConfiguration);
    QObject::connect(&shell, &AppShell::locatorRequested, &shell, [this] { locatorLauncher.open(); });
    QObject::connect(&shell, &AppShell::loadingScanner, &scanner, [this] {
        scanner.loadFromFields();
        scanner.fillLists();
    });
    QObject::connect(&shell, &AppShell::loadingMemory, &memory, &MemoryEditor::load);
    road.route(c.ComEnvoiLIste, &QPushButton::clicked, &memory, &MemoryEditor::ComEnvoiLIste_Click);
    // The grid's row as it was when clicked or moved to: "Envoyer au VFO" waiting on the road sends that row.
    road.routeTaking(
        c.Grid, &MemoryGrid::cellClicked, &memory, [this](int row) { return [this, row] { memory.Grid_Click(row); }; });
    road.routeTaking(c.Grid, &MemoryGrid::cellDoubleClicked, &memory,
        [this](int row) { return [this, row] { memory.Grid_DblClick(row); }; });
    road.routeTaking(c.Grid, &MemoryGrid::currentRowChanged, &memory,
        [this](int row) { return [this, row] { memory.followCurrentRow(row); }; });
    road.route(c.Grid, &MemoryGrid::focusLost, &memory, &MemoryEditor::Grid_LostFocus);
    road.route(c.cmdAjouter, &QPushButton::clicked, &memory, &MemoryEditor::cmdAjouter_Click);
    QObject::connect(c.Text_choix_qrg, &QLineEdit::textChanged, &memory, &MemoryEditor::Text_choix_qrg_Change);
    road.route(c.Com_valid_memo, &QPushButton::clicked, &memory, &MemoryEditor::Com_valid_memo_Click);
    road.route(c.Com_Anul, &QPushButton::clicked, &memory, &MemoryEditor::Com_Anul_Click);
    road.route(c.Com_eff, &QPushButton::clicked, &memory, &MemoryEditor::Com_eff_Click);
    road.route(c.Com_envoi_freq, &QPushButton::clicked, &memory, &MemoryEditor::Com_envoi_freq_Click);
}

void MainAssembly::tuneFromActivity(const QString &kHz)
{
    // An operator's action like a click in the scan list, and dropped as that click would be while the list is
    // disabled (the link off).
    road.submit(ActionRoad::Source::Operator, [this, kHz] {
        if (c.Scan_List->isEnabled())
            scanLists.Scan_List_Click(kHz);
    });
}
