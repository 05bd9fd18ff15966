#pragma once

// An FT-847 on a pseudo-terminal. The host owns the pty master and a thread that reads frames, hands them to the
// radio model and writes the replies back at the pace of a real line: every byte takes 11 bits of wire time in
// each direction, and each reply starts after the configured turnaround. Tests use it in-process; the ft847-sim
// program wraps it for people and for other programs (rigctl).

#include "ft847model.h"
#include "radiopeer.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace ft847sim {

struct SimConfig
{
    int baud = 4800;
    int latencyMs = 0; // turnaround before each reply starts
    QString linkPath; // when set, a symlink to the pty slave is made here (replacing an old link)
};

class Ft847Sim : public RadioPeer
{
public:
    explicit Ft847Sim(SimConfig config = {});
    ~Ft847Sim(); // stops the thread, removes the link, closes the pty
    Ft847Sim(const Ft847Sim &) = delete;
    Ft847Sim &operator=(const Ft847Sim &) = delete;

    // Opens the pty (raw, keeps its own slave descriptor so that the master never sees a hang-up between
    // clients), makes the link and starts the serving thread. Returns false with a reason on failure.
    bool start(QString *error = nullptr);
    void stop();
    bool isRunning() const;

    QString slavePath() const; // /dev/pts/N
    QString linkPath() const;

    // The radio and its log (RadioPeer). All thread-safe.
    void setFrequency(quint32 tenHz) override;
    quint32 frequency() const override;
    void setMode(quint8 code) override;
    quint8 mode() const override;
    void setRawFrequencyBytes(const QByteArray &bytes) override;
    void setSMeter(int reading) override;
    void setSquelchOpen(bool open) override;
    void setSignal(quint32 tenHz, int reading) override;
    void clearSignals() override;
    void setPtt(bool on) override;
    bool ptt() const override;
    bool catOn() const override;
    quint8 repeaterShift() const override;
    bool satellite() const override;
    void setFault(Fault fault) override;
    void setLatencyMs(int ms) override;
    std::vector<LoggedFrame> frames() const override;

    void setBaud(int baud);
    int baud() const;

    // All received bytes, a partial frame included.
    QByteArray receivedBytes() const;
    void clearLog();
    // Blocks until at least n frames have been logged or the timeout passes; returns whether they were.
    bool waitForFrames(std::size_t n, std::chrono::milliseconds timeout) const;
    // When the last byte of the most recent reply was written to the pty (epoch if none yet).
    std::chrono::steady_clock::time_point lastReplyEnd() const;

    // Called on the serving thread for every complete frame (received, at its modelled arrival) and every reply
    // (sent, once its last byte is written, with the bytes that actually went out). The program logs through it.
    using TrafficObserver
        = std::function<void(std::chrono::steady_clock::time_point at, bool received, const QByteArray &bytes)>;
    void setTrafficObserver(TrafficObserver observer);

    // Closes the pty master as a pulled USB adapter would; the slave then reports an error to its reader.
    void hangUp();

    // Seconds of wire time for n bytes at the current speed (11 bits a byte: start, 8 data, 2 stop).
    static double wireSeconds(int bytes, int baud) { return bytes * 11.0 / baud; }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace ft847sim
