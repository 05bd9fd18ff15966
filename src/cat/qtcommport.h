#pragma once

// The serial port on Qt SerialPort. "Com1" to "Com4" open, on Linux, the link com1 to com4 in the
// application directory when there is one (pointing at /dev/ttyUSB0, or at the emulator's pseudo-terminal),
// else /dev/ttyS0 to /dev/ttyS3; on Windows COM1 to COM4.
//
// A device that vanishes while open (a USB adapter pulled) is let go at once, but the port still counts as open
// until the program closes it: sends are dropped and drain at once, nothing arrives, and a reply wait rests
// through its polls, so the program meets the loss as a radio that stopped answering and ends through its own
// message instead of hanging on bytes that can never leave or spinning on a descriptor that is always ready.

#include "commport.h"

#include <QSerialPort>

class QtCommPort : public CommPort
{
public:
    QtCommPort();
    ~QtCommPort() override;

    // The device "Com<number>" stands for, given the application directory (ending in a separator).
    static QString deviceFor(int number, const QString &appDir);

    void setCommPort(int number) override { m_number = number; }
    int commPort() const override { return m_number; }
    void setSettings(const QString &settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }

    bool setPortOpen(bool open) override;
    bool portOpen() const override;
    QString errorString() const override { return m_error; }

    void output(const QByteArray &bytes) override;
    void setInputLen(int count) override { m_inputLen = count; }
    QByteArray input() override;
    int inBufferCount() override;
    void setInBufferCount(int count) override;
    int outBufferCount() override;
    void waitForInput(std::chrono::microseconds timeout) override;
    std::chrono::nanoseconds byteTime() const override { return m_byteTime; }

private:
    void pullPending();
    int kernelOutputQueue() const;
    void noteError(QSerialPort::SerialPortError error);
    // Closes the vanished device. Never called from inside Qt SerialPort's own reporting of the error.
    void releaseLostDevice();

    QSerialPort m_port;
    int m_number = 0;
    QString m_settings;
    QString m_error;
    int m_inputLen = 0;
    std::chrono::nanoseconds m_byteTime {0};
    bool m_lost = false; // the device went away while the port was open
};
