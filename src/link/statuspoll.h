#pragma once

// The status poll: while the link is on, every 300 ms the panel reads the receiver status (transmit and busy
// lights, S-meter) and, when receiving, the frequency and mode, and follows the radio's own dial and mode. Each read
// of a tick takes its own turn on the road, so that the actions that come during a tick run between its reads.

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class ActionRoad;
class CatLink;
class FrequencyControl;
class Lamp;
class LinkSwitch;
class QLabel;
class QTimer;

// The controls the poll drives: its timer, the transmit and busy lights, and the S-meter bar with its number.
struct StatusPollControls
{
    QTimer *Timer1 = nullptr;
    Lamp *Shape_tx_rx = nullptr, *ShapbuzyA = nullptr;
    QLabel *Lab_SM = nullptr, *Label2 = nullptr;
};

class StatusPoll : public QObject
{
    Q_OBJECT

public:
    StatusPoll(CatLink &link, ActionRoad &road, FrequencyControl &frequency, const StatusPollControls &controls,
        QObject *parent = nullptr);
    void setLinkSwitch(const LinkSwitch *linkSwitch) { m_switch = linkSwitch; }

    // The poll's timer is its own: started with the link, stopped with it, held around a send that wants the line
    // to itself (LSB and AM).
    void start();
    void stop();
    void hold(bool held);
    // The link went off: the S-meter bar is emptied.
    void clearMeter();
    // The state before the first reading: receiving nothing, as if transmitting (no reads of the dial until told).
    void resetStatus();

    // When the busy flag and the S-meter were last read, counted in frequencies sent (FrequencyControl::sends()):
    // whoever tuned the radio can tell a value read there from one read before, or once the radio had moved on.
    struct ReadAt
    {
        std::optional<quint64> busy, level;
    };
    ReadAt readAt() const { return m_readAt; }

    bool TxActive = true; // the last status byte was 0xA0: transmitting
    bool SquelchOpen = false; // bit 7 of the last status byte was clear: the channel is busy
    double SignalLevel = 0; // S-meter reading / 2
    qint16 SMeterWidth = 0; // bar width in twips, reading * 130

    // Timer1's tick, as it comes: on the road, unless a tick is already waiting or under way.
    void requestTick();
    void Timer1_Timer();
    void Lit_Etat();
    void Lit_Freq_Mode();
    void Lit_SMetre();
    void Trace_SMetre();

signals:
    // What each read found, for whoever keeps the radio's state: the receiver status, the S-meter (0 to 31).
    void statusRead(bool transmitting, bool busy);
    void meterRead(int reading);

private:
    using Step = void (StatusPoll::*)();
    // The tick's next read, in its own turn on the road.
    void nextStep();
    void endOfTick();
    // Sends a read request and waits for its reply; true when the reply has the expected length.
    bool request(quint8 opcode, int count);
    // The link was switched off while this tick yielded: the rest of the tick must leave the port alone.
    bool switchedOff() const;

    CatLink &m_link;
    ActionRoad &m_road;
    FrequencyControl &m_frequency;
    StatusPollControls m_c;
    const LinkSwitch *m_switch = nullptr;
    ReadAt m_readAt;
    bool m_tickWaiting = false; // a tick is on the road, not yet begun
    bool m_ticking = false; // a tick has begun and its last read is still to come
    QList<Step> m_steps; // the tick's reads still to come
};
