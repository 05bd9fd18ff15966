#pragma once

// The FT-847 as the operator and a test touch it: its dial, S-meter, squelch and PTT, how it misbehaves, and the log
// of every frame it received. The pseudo-terminal emulator (Ft847Sim) and the in-process UART test port both offer
// it, so a test reads the same whichever line it runs on.

#include <QByteArray>

#include <chrono>
#include <vector>

namespace ft847sim {

// How the radio misbehaves, for fault tests.
enum class Fault {
    None,
    Silent, // reads frames, never answers
    ExtraByte, // each reply carries one byte too many, all of it in one burst after the reply's wire time
    Garbage, // each reply is replaced by the same number of random bytes
    SplitReply, // each reply of two bytes or more comes in two bursts, its first half then the rest, kSplitPause apart
};

// The gap between the two bursts of a split reply: long enough for a reader to see the first part on its own.
inline constexpr std::chrono::milliseconds kSplitPause {20};

struct LoggedFrame
{
    std::chrono::steady_clock::time_point at; // when its last byte had crossed the wire
    QByteArray bytes; // exactly five bytes
};

class RadioPeer
{
public:
    virtual ~RadioPeer() = default;

    virtual void setFrequency(quint32 tenHz) = 0; // turning the dial
    virtual quint32 frequency() const = 0;
    virtual void setMode(quint8 code) = 0;
    virtual quint8 mode() const = 0;
    // Four bytes the radio reports as its frequency instead of the BCD digits (empty to stop): replies that are
    // not BCD.
    virtual void setRawFrequencyBytes(const QByteArray &bytes) = 0;
    virtual void setSMeter(int reading) = 0; // 0..31
    virtual void setSquelchOpen(bool open) = 0;
    // A station heard at this frequency (10 Hz units) with this S-meter reading, 1..31; 0 takes it off the band.
    virtual void setSignal(quint32 tenHz, int reading) = 0;
    virtual void clearSignals() = 0;
    virtual void setPtt(bool on) = 0;
    virtual bool ptt() const = 0;
    virtual bool catOn() const = 0;
    virtual quint8 repeaterShift() const = 0;
    virtual bool satellite() const = 0; // in satellite mode, the FT-847's split

    virtual void setFault(Fault fault) = 0;
    virtual void setLatencyMs(int ms) = 0; // turnaround before each reply starts

    // Every complete frame received, in order.
    virtual std::vector<LoggedFrame> frames() const = 0;
};

} // namespace ft847sim
