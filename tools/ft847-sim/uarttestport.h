#pragma once

// A serial adapter and an FT-847 joined in-process, at the pace of a real line. What the program writes drains
// at the port's speed, 11 bits a byte, and the out-buffer count falls byte by byte as a UART's does; the radio takes
// each frame when its last byte has crossed, answers after its turnaround, and the reply's bytes arrive one at a
// time at line speed. A pseudo-terminal drains at once, so only this port shows what the program does while a
// request is still on the line: tests of anything that sends run on it.
//
// Nothing runs between calls: time is the steady clock, and whatever has fallen due is settled at the next call on
// either face (the port's or the radio's). Single-threaded, like the program.

#include "commport.h"
#include "ft847model.h"
#include "radiopeer.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <random>

class UartTestPort final : public CommPort, public ft847sim::RadioPeer
{
public:
    using Clock = std::chrono::steady_clock;

    // The port number under which the radio answers ("Com1"); opening any other number fails.
    explicit UartTestPort(int radioPort = 1);

    // The serial port, as the program drives it.
    void setCommPort(int number) override { m_number = number; }
    int commPort() const override { return m_number; }
    void setSettings(const QString &settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    bool setPortOpen(bool open) override;
    bool portOpen() const override { return m_open; }
    QString errorString() const override { return m_error; }
    void output(const QByteArray &bytes) override;
    void setInputLen(int count) override { m_inputLen = count; }
    QByteArray input() override;
    int inBufferCount() override { return int(settled().m_in.size()); }
    void setInBufferCount(int count) override;
    int outBufferCount() override { return int(settled().m_out.size()); }
    void waitForInput(std::chrono::microseconds timeout) override;
    std::chrono::nanoseconds byteTime() const override { return m_byteTime; }

    // The radio, as the operator and the test touch it.
    void setFrequency(quint32 tenHz) override { radio().frequency = tenHz; }
    quint32 frequency() const override { return radio().frequency; }
    void setMode(quint8 code) override { radio().mode = code; }
    quint8 mode() const override { return radio().mode; }
    void setRawFrequencyBytes(const QByteArray &bytes) override { radio().rawFrequency = bytes; }
    void setSMeter(int reading) override { radio().sMeter = std::clamp(reading, 0, 31); }
    void setSquelchOpen(bool open) override { radio().squelchOpen = open; }
    void setSignal(quint32 tenHz, int reading) override
    {
        if (reading <= 0)
            radio().bandSignals.erase(tenHz);
        else
            radio().bandSignals[tenHz] = std::min(reading, 31);
    }
    void clearSignals() override { radio().bandSignals.clear(); }
    void setPtt(bool on) override { radio().ptt = on; }
    bool ptt() const override { return radio().ptt; }
    bool catOn() const override { return radio().catOn; }
    quint8 repeaterShift() const override { return radio().repeaterShift; }
    bool satellite() const override { return radio().satellite; }
    void setFault(ft847sim::Fault fault) override { m_fault = fault; }
    void setLatencyMs(int ms) override { m_latency = std::chrono::milliseconds(std::max(ms, 0)); }
    std::vector<ft847sim::LoggedFrame> frames() const override { return settled().m_frames; }

    // Frames whose last byte reached the radio while it still owed a reply to an earlier request: an exchange
    // that something broke into. A sound program never does it.
    int interruptedReplies() const { return settled().m_interrupted; }

    // When the last byte written so far will have crossed: a byte written now starts then, or now if that is past.
    Clock::time_point lineFreeAt() const { return m_outFreeAt; }

    // An adapter whose transmitter hangs (a stuck USB serial driver): nothing written crosses while it is stalled.
    void setStalled(bool stalled) { m_stalled = stalled; }

    // What the program writes, reported as it is handed to the port: tests act at a chosen moment of an exchange.
    void setOutputHook(std::function<void(const QByteArray &output)> hook) { m_hook = std::move(hook); }

private:
    struct LineByte
    {
        Clock::time_point at; // when it has crossed (sent) or arrived (received)
        char byte;
    };

    // Moves everything that has fallen due by now: bytes that crossed reach the radio, reply bytes that arrived
    // reach the receive buffer. Returns this port, settled.
    const UartTestPort &settled() const;
    ft847sim::RadioState &radio() const { return settled().m_radio.state(); }
    void scheduleReply(QByteArray reply, Clock::time_point frameAt) const;

    int m_radioPort;
    int m_number = 0;
    QString m_settings;
    QString m_error;
    bool m_open = false;
    int m_inputLen = 0;
    std::chrono::nanoseconds m_byteTime {0};
    std::chrono::milliseconds m_latency {0};
    ft847sim::Fault m_fault = ft847sim::Fault::None;
    bool m_stalled = false;
    std::function<void(const QByteArray &)> m_hook;

    // Settled lazily, from const readers too.
    mutable ft847sim::Ft847Model m_radio;
    mutable std::deque<LineByte> m_out; // written, not yet across
    mutable Clock::time_point m_outFreeAt {}; // when the last byte written will have crossed
    mutable QByteArray m_partial; // bytes of a frame the radio is still receiving
    mutable std::deque<LineByte> m_replies; // scheduled, not yet arrived
    mutable Clock::time_point m_replyFreeAt {}; // when the radio's last scheduled reply byte arrives
    mutable QByteArray m_in; // arrived, not yet read
    mutable std::vector<ft847sim::LoggedFrame> m_frames;
    mutable int m_interrupted = 0;
    mutable std::mt19937 m_random {12345};
};
