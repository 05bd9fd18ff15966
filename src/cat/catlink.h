#pragma once

// Every exchange with the radio goes through here: the shared command buffers, the routines that clear, fill
// and send them, and the bounded wait for a reply. This is the one road to the radio for the poll, clicks, the
// scanner and network clients alike.
//
// Commands let the event loop run while their parameters are cleared and their bytes drain, so the screen, the
// network and the accessibility bus go on in the middle of a send; what those turns bring that would send waits on
// the road (actionroad.h) until the send is done. The operator's clicks and keys stay in the window system until
// then. A request and the read of its reply form one exchange that nothing may break into: once its parameters are
// cleared, the request leaves and the reply is read without the event loop running, so nothing can send into the
// middle of it or discard a reply that has begun to arrive.

#include "catframe.h"
#include "commport.h"

#include <QByteArray>

#include <chrono>

#include <functional>

class CatLink
{
public:
    // Polls of the receive count before a missing reply ends the program.
    static constexpr int kWaitLimit = 10000;
    // Each poll rests this long for input: 10000 of them bound a missing reply near one to two seconds.
    static constexpr std::chrono::microseconds kPollPacing {150};
    // A request that has not left the port this long after its bytes' wire time never will: the same bound.
    static constexpr std::chrono::microseconds kStuckLine = kWaitLimit * kPollPacing;

    explicit CatLink(CommPort &port);

    CommPort &port() { return m_port; }

    cat::Frame CatCommand {}; // P1..P4 and the opcode of every command but CAT on/off
    cat::Frame CatOnOff {}; // CAT on/off: only the opcode byte is ever written
    QByteArray CatReply; // the bytes of the last reply read
    int WaitCount = 0; // reply polls since the last complete reply

    void Efface_Param();
    void Envoi_Cmd(quint8 opcode);
    void Envoi_CatOnOff();
    // Waits until exactly `count` bytes are waiting, then reads them into CatReply. Returns false (CatReply
    // empty) when the wait reached its limit and the program was ended.
    bool Lit_Reponse(int count);
    // One step of the reply wait; at the limit it reports the port error and ends the program. Returns false
    // once that has happened.
    bool Attente_Port();
    void Charge_BCD(qint32 tenHz);
    // While the radio is in satellite mode (split on), the main VFO's commands go to its SAT RX VFO.
    void setSatelliteMode(bool on) { m_satellite = on; }
    bool satelliteMode() const { return m_satellite; }
    // A command without reply carrying one parameter: Efface_Param, P1, then Envoi_Cmd.
    void sendWithParameter(quint8 opcode, quint8 p1);
    // A request with a reply: Efface_Param, then the request and the read of exactly `count` reply bytes as one
    // exchange. True when CatReply holds them; false when the port closed meanwhile or the wait ended the program.
    bool exchange(quint8 opcode, int count);

    // A turn of the event loop for whatever is waiting: the operator's input as well, unless a command is being sent
    // further down the stack (then it waits, as in every send).
    void turn();
    bool isSending() const { return m_sending > 0; }
    // The port error is being reported, or was: nothing more is sent but the unload's CAT off.
    bool isEnding() const { return m_ending || m_ended; }

    // Run after the port error was acknowledged and before the program ends: the main window unloads there,
    // which switches the link off.
    void setUnloadHandler(std::function<void()> unload) { m_unload = std::move(unload); }
    bool hasEnded() const { return m_ended; }

private:
    // Marks a send routine on the stack for its duration.
    struct Sending;
    // A turn of the event loop inside a send: everything but the operator's input, which stays with the window system
    // (so that a context menu or a drag it starts does not open inside the send) until the send is done.
    void yieldWhileSending();
    bool canSend() const { return !m_ended && !m_ending && m_port.portOpen(); }
    void send(quint8 opcode);
    // Waits for the output to drain, letting the event loop run between looks.
    void waitUntilSent(bool untilZero);
    // The same inside an exchange: rests for the bytes' wire time, without the event loop; a line that does not
    // drain ends in the port error. False then.
    bool waitUntilSentInExchange();
    void reportPortError();
    // How long the next poll may rest: longer while the reply cannot have arrived yet.
    std::chrono::microseconds pollPacing() const;

    CommPort &m_port;
    std::function<void()> m_unload;
    std::chrono::steady_clock::time_point m_sentAt; // when the last command was handed to the port
    int m_expected = 0; // bytes of the reply being waited for
    int m_sending = 0; // send routines on the stack
    bool m_satellite = false;
    bool m_heldInput = false; // a turn of the send in progress held the operator's input back
    bool m_ending = false; // the port error is being reported
    bool m_ended = false; // the program was ended (tests observe it instead of losing their process)
};
