#pragma once

// The serial port as the CAT routines drive it: the operations of a classic serial-port control, by their
// names. The program uses QtCommPort; unit tests of byte order may script one.

#include <QByteArray>
#include <QString>

#include <chrono>

class CommPort
{
public:
    virtual ~CommPort() = default;

    virtual void setCommPort(int number) = 0; // 1 to 4
    virtual int commPort() const = 0;
    virtual void setSettings(const QString &settings) = 0; // "4800,n,8,2"
    virtual QString settings() const = 0;

    // Opens or closes the port. Opening can fail (no such device, held by another program, bad settings):
    // the result says so and errorString() why; the port then stays closed.
    virtual bool setPortOpen(bool open) = 0;
    virtual bool portOpen() const = 0;
    virtual QString errorString() const = 0;

    virtual void output(const QByteArray &bytes) = 0;
    virtual void setInputLen(int count) = 0; // bytes the next input() returns; 0 means all waiting
    virtual QByteArray input() = 0;
    virtual int inBufferCount() = 0;
    virtual void setInBufferCount(int count) = 0; // only 0 is meaningful: discards what was received
    virtual int outBufferCount() = 0;

    // Lets the CPU rest until input arrives or the time passes: the pacing of one step of a reply wait.
    virtual void waitForInput(std::chrono::microseconds timeout) = 0;
    // How long one byte takes on the line at the open port's settings (zero when unknown).
    virtual std::chrono::nanoseconds byteTime() const = 0;
};
