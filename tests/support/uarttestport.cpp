#include "uarttestport.h"

#include "linesettings.h"

#include <thread>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

using ft847sim::Fault;

UartTestPort::UartTestPort(int radioPort)
    : m_radioPort(radioPort)
{
#ifdef Q_OS_LINUX
    // Waits are paced to the byte; the default 50 us timer slack would blur them.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

void UartTestPort::note(Operation op, const QByteArray &output)
{
    if (m_hook)
        m_hook(op, output);
}

bool UartTestPort::setPortOpen(bool open)
{
    settle();
    if (!open) {
        m_open = false;
        m_in.clear();
        return true;
    }
    const auto line = LineSettings::parse(m_settings);
    if (m_open || m_number != m_radioPort || !line) {
        m_error = m_open ? QStringLiteral("port already open") : QStringLiteral("no radio on this port");
        return false;
    }
    m_byteTime = line->byteTime();
    m_in.clear();
    m_partial.clear();
    m_open = true;
    return true;
}

void UartTestPort::output(const QByteArray &bytes)
{
    note(Operation::Output, bytes);
    settle();
    if (!m_open)
        return;
    for (const char byte : bytes) {
        m_outFreeAt = std::max(Clock::now(), m_outFreeAt) + m_byteTime;
        m_out.push_back({m_outFreeAt, byte});
    }
}

QByteArray UartTestPort::input()
{
    note(Operation::Input);
    settle();
    const qsizetype count = m_inputLen > 0 ? std::min<qsizetype>(m_inputLen, m_in.size()) : m_in.size();
    const QByteArray bytes = m_in.left(count);
    m_in.remove(0, count);
    return bytes;
}

int UartTestPort::inBufferCount()
{
    note(Operation::InCount);
    settle();
    return int(m_in.size());
}

void UartTestPort::setInBufferCount(int count)
{
    note(Operation::Clear);
    settle();
    // Only what has arrived goes: bytes still on the line arrive afterwards, as on a real port.
    if (count == 0)
        m_in.clear();
}

int UartTestPort::outBufferCount()
{
    note(Operation::OutCount);
    settle();
    return int(m_out.size());
}

void UartTestPort::waitForInput(std::chrono::microseconds timeout)
{
    note(Operation::Wait);
    const auto deadline = Clock::now() + timeout;
    const qsizetype had = m_in.size();
    for (;;) {
        settle();
        const auto now = Clock::now();
        if (m_in.size() > had || now >= deadline)
            return;
        // Rest until the next byte crosses either way, or the time is up.
        auto next = deadline;
        if (!m_replies.empty())
            next = std::min(next, m_replies.front().at);
        if (!m_out.empty())
            next = std::min(next, m_out.front().at);
        std::this_thread::sleep_until(next);
    }
}

void UartTestPort::settle() const
{
    const auto now = Clock::now();
    while (!m_out.empty() && m_out.front().at <= now) {
        const LineByte b = m_out.front();
        m_out.pop_front();
        radioReceives(b);
    }
    while (!m_replies.empty() && m_replies.front().at <= now) {
        if (m_open)
            m_in.append(m_replies.front().byte);
        m_replies.pop_front();
    }
}

void UartTestPort::radioReceives(const LineByte &b) const
{
    m_partial.append(b.byte);
    if (m_partial.size() < 5)
        return;
    const QByteArray frame = m_partial;
    m_partial.clear();
    m_frames.push_back({b.at, frame});
    if (m_replyFreeAt > b.at)
        ++m_interrupted;
    scheduleReply(m_radio.handleFrame(frame), b.at);
}

void UartTestPort::scheduleReply(QByteArray reply, Clock::time_point frameAt) const
{
    if (reply.isEmpty() || m_fault == Fault::Silent)
        return;
    const auto start = std::max(frameAt + m_latency, m_replyFreeAt);
    const qsizetype size = reply.size();
    // When each byte arrives: one after another at line speed, or in bursts for the faults that write them so.
    std::vector<Clock::time_point> arrivals;
    if (m_fault == Fault::ExtraByte) {
        reply.append('\0');
        arrivals.assign(size_t(reply.size()), start + reply.size() * m_byteTime);
    } else if (m_fault == Fault::SplitReply && size >= 2) {
        const qsizetype first = size / 2;
        const auto firstAt = start + first * m_byteTime;
        arrivals.assign(size_t(first), firstAt);
        arrivals.resize(size_t(size), firstAt + ft847sim::kSplitPause + (size - first) * m_byteTime);
    } else {
        if (m_fault == Fault::Garbage) {
            const QByteArray genuine = reply;
            std::uniform_int_distribution<int> byte(0, 255);
            do {
                for (char &c : reply)
                    c = static_cast<char>(byte(m_random));
            } while (reply == genuine);
        }
        for (qsizetype i = 0; i < size; ++i)
            arrivals.push_back(start + (i + 1) * m_byteTime);
    }
    for (qsizetype i = 0; i < reply.size(); ++i)
        m_replies.push_back({arrivals[size_t(i)], reply.at(i)});
    m_replyFreeAt = arrivals.back();
}

void UartTestPort::setFrequency(quint32 tenHz)
{
    settle();
    m_radio.state().frequency = tenHz;
}

quint32 UartTestPort::frequency() const
{
    settle();
    return m_radio.state().frequency;
}

void UartTestPort::setMode(quint8 code)
{
    settle();
    m_radio.state().mode = code;
}

quint8 UartTestPort::mode() const
{
    settle();
    return m_radio.state().mode;
}

void UartTestPort::setRawFrequencyBytes(const QByteArray &bytes)
{
    settle();
    m_radio.state().rawFrequency = bytes;
}

void UartTestPort::setSMeter(int reading)
{
    settle();
    m_radio.state().sMeter = std::clamp(reading, 0, 31);
}

void UartTestPort::setSquelchOpen(bool open)
{
    settle();
    m_radio.state().squelchOpen = open;
}

void UartTestPort::setPtt(bool on)
{
    settle();
    m_radio.state().ptt = on;
}

bool UartTestPort::ptt() const
{
    settle();
    return m_radio.state().ptt;
}

bool UartTestPort::catOn() const
{
    settle();
    return m_radio.state().catOn;
}

quint8 UartTestPort::repeaterShift() const
{
    settle();
    return m_radio.state().repeaterShift;
}

std::vector<ft847sim::LoggedFrame> UartTestPort::frames() const
{
    settle();
    return m_frames;
}

int UartTestPort::interruptedReplies() const
{
    settle();
    return m_interrupted;
}
