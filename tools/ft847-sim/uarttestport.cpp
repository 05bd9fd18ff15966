#include "uarttestport.h"

#include "linesettings.h"

#include <thread>
#include <utility>

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

bool UartTestPort::setPortOpen(bool open)
{
    settled();
    const auto line = LineSettings::parse(m_settings);
    if (open && (m_open || m_number != m_radioPort || !line)) {
        m_error = m_open ? QStringLiteral("port already open") : QStringLiteral("no radio on this port");
        return false;
    }
    if (open) {
        m_byteTime = line->byteTime();
        m_partial.clear();
    }
    m_in.clear();
    m_open = open;
    return true;
}

void UartTestPort::output(const QByteArray &bytes)
{
    if (m_hook)
        m_hook(bytes);
    settled();
    if (!m_open)
        return;
    for (const char byte : bytes) {
        m_outFreeAt = std::max(Clock::now(), m_outFreeAt) + m_byteTime;
        m_out.push_back({m_outFreeAt, byte});
    }
}

QByteArray UartTestPort::input()
{
    settled();
    const qsizetype count = m_inputLen > 0 ? std::min<qsizetype>(m_inputLen, m_in.size()) : m_in.size();
    const QByteArray bytes = m_in.left(count);
    m_in.remove(0, count);
    return bytes;
}

void UartTestPort::setInBufferCount(int count)
{
    settled();
    // Only what has arrived goes: bytes still on the line arrive afterwards, as on a real port.
    if (count == 0)
        m_in.clear();
}

void UartTestPort::waitForInput(std::chrono::microseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    const qsizetype had = m_in.size();
    for (settled(); m_in.size() == had && Clock::now() < deadline; settled()) {
        // Rest until the next byte crosses either way, or the time is up.
        auto next = deadline;
        if (!m_replies.empty())
            next = std::min(next, m_replies.front().at);
        if (!m_out.empty() && !m_stalled)
            next = std::min(next, m_out.front().at);
        std::this_thread::sleep_until(next);
    }
}

const UartTestPort &UartTestPort::settled() const
{
    const auto now = Clock::now();
    for (; !m_stalled && !m_out.empty() && m_out.front().at <= now; m_out.pop_front()) {
        // The radio takes a frame when its last byte has crossed.
        m_partial.append(m_out.front().byte);
        if (m_partial.size() < 5)
            continue;
        const auto at = m_out.front().at;
        m_frames.push_back({at, m_partial});
        if (m_replyFreeAt > at)
            ++m_interrupted;
        scheduleReply(m_radio.handleFrame(std::exchange(m_partial, {})), at);
    }
    for (; !m_replies.empty() && m_replies.front().at <= now; m_replies.pop_front()) {
        if (m_open)
            m_in.append(m_replies.front().byte);
    }
    return *this;
}

void UartTestPort::scheduleReply(QByteArray reply, Clock::time_point frameAt) const
{
    if (reply.isEmpty() || m_fault == Fault::Silent)
        return;
    const auto start = std::max(frameAt + m_latency, m_replyFreeAt);
    const qsizetype size = reply.size(), half = size / 2;
    if (m_fault == Fault::ExtraByte)
        reply.append('\0');
    std::uniform_int_distribution<int> random(0, 255);
    for (const QByteArray genuine = reply; m_fault == Fault::Garbage && reply == genuine;) // never the true reply
        std::generate(reply.begin(), reply.end(), [&] { return static_cast<char>(random(m_random)); });
    // When each byte arrives: one after another at line speed, or in bursts for the faults that write them so.
    for (qsizetype i = 0; i < reply.size(); ++i) {
        auto at = start + (i + 1) * m_byteTime;
        if (m_fault == Fault::ExtraByte)
            at = start + reply.size() * m_byteTime;
        else if (m_fault == Fault::SplitReply && size >= 2)
            at = i < half ? start + half * m_byteTime : start + size * m_byteTime + ft847sim::kSplitPause;
        m_replies.push_back({at, reply.at(i)});
    }
    m_replyFreeAt = m_replies.back().at;
}
