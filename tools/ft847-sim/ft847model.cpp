#include "ft847model.h"

namespace ft847sim {

namespace {

constexpr quint8 OpCatOn = 0x00;
constexpr quint8 OpSetFrequency = 0x01;
constexpr quint8 OpReadFrequencyMode = 0x03;
constexpr quint8 OpSetMode = 0x07;
constexpr quint8 OpPttOn = 0x08;
constexpr quint8 OpRepeaterShift = 0x09;
constexpr quint8 OpCatOff = 0x80;
constexpr quint8 OpPttOff = 0x88;
constexpr quint8 OpReceiverStatus = 0xE7;
constexpr quint8 OpSatelliteOn = 0x4E;
constexpr quint8 OpSatelliteOff = 0x8E;
constexpr quint8 OpSatRx = 0x10; // added to the main VFO's set frequency (01), read (03) and set mode (07)
constexpr quint8 OpSatTx = 0x20;
constexpr quint8 OpTransmitterStatus = 0xF7;

bool isModeCode(quint8 code)
{
    switch (code) {
    case 0x00: // LSB
    case 0x01: // USB
    case 0x02: // CW
    case 0x03: // CWR
    case 0x04: // AM
    case 0x08: // FM
    case 0x82: // CW narrow
    case 0x83: // CWR narrow
    case 0x84: // AM narrow
    case 0x88: // FM narrow
        return true;
    default:
        return false;
    }
}

bool isShiftCode(quint8 code)
{
    return code == 0x89 || code == 0x09 || code == 0x49;
}

} // namespace

// The radio answers whether or not CAT is on: every client sends CAT on first anyway, and refusing would only hide
// a client that forgot it behind a timeout, which the frame log shows more plainly.
QByteArray Ft847Model::handleFrame(const QByteArray &frame)
{
    if (frame.size() != 5)
        return {};
    const auto p1 = static_cast<quint8>(frame.at(0));
    const auto op = static_cast<quint8>(frame.at(4));
    // The satellite VFOs take the main VFO's three commands, their opcodes raised by 0x10 (RX) or 0x20 (TX).
    if ((op & 0xF0) == OpSatRx || (op & 0xF0) == OpSatTx) {
        RadioState::Vfo &vfo = (op & 0xF0) == OpSatRx ? m_state.satRx : m_state.satTx;
        quint32 tenHz = 0;
        switch (op & 0x0F) {
        case OpSetFrequency:
            if (fromBcd(frame.left(4), &tenHz))
                vfo.frequency = tenHz;
            return {};
        case OpReadFrequencyMode:
            return toBcd(vfo.frequency).append(static_cast<char>(vfo.mode));
        case OpSetMode:
            if (isModeCode(p1))
                vfo.mode = p1;
            return {};
        default:
            return {};
        }
    }
    switch (op) {
    case OpSatelliteOn:
        m_state.satellite = true;
        return {};
    case OpSatelliteOff:
        m_state.satellite = false;
        return {};
    case OpCatOn:
        m_state.catOn = true;
        return {};
    case OpCatOff:
        m_state.catOn = false;
        return {};
    case OpSetFrequency: {
        quint32 tenHz = 0;
        if (fromBcd(frame.left(4), &tenHz))
            m_state.frequency = tenHz;
        return {};
    }
    case OpReadFrequencyMode: {
        QByteArray reply = m_state.rawFrequency.size() == 4 ? m_state.rawFrequency : toBcd(m_state.frequency);
        reply.append(static_cast<char>(m_state.mode));
        return reply;
    }
    case OpSetMode:
        if (isModeCode(p1))
            m_state.mode = p1;
        return {};
    case OpRepeaterShift:
        if (isShiftCode(p1))
            m_state.repeaterShift = p1;
        return {};
    case OpPttOn:
        m_state.ptt = true;
        return {};
    case OpPttOff:
        m_state.ptt = false;
        return {};
    case OpReceiverStatus:
        return QByteArray(1, static_cast<char>(receiverStatus()));
    case OpTransmitterStatus:
        return QByteArray(1, static_cast<char>(transmitterStatus()));
    default:
        return {};
    }
}

quint8 Ft847Model::receiverStatus() const
{
    if (m_state.ptt)
        return 0xA0;
    const auto station = m_state.bandSignals.find(m_state.frequency);
    if (station != m_state.bandSignals.end())
        return static_cast<quint8>(qBound(0, station->second, 31));
    const int reading = qBound(0, m_state.sMeter, 31);
    return static_cast<quint8>(reading | (m_state.squelchOpen ? 0x00 : 0x80));
}

quint8 Ft847Model::transmitterStatus() const
{
    return m_state.ptt ? 0x00 : 0x80;
}

QByteArray Ft847Model::toBcd(quint32 tenHz)
{
    // Eight digits fit the radio's frame; anything larger keeps its low eight digits, as the dial would wrap.
    quint32 rest = tenHz % 100000000u;
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        const quint32 low = rest % 10;
        rest /= 10;
        const quint32 high = rest % 10;
        rest /= 10;
        bytes[i] = static_cast<char>((high << 4) | low);
    }
    return bytes;
}

bool Ft847Model::fromBcd(const QByteArray &bytes, quint32 *tenHz)
{
    quint32 value = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<quint8>(c);
        const quint32 high = byte >> 4;
        const quint32 low = byte & 0x0F;
        if (high > 9 || low > 9)
            return false;
        value = value * 100 + high * 10 + low;
    }
    if (tenHz)
        *tenHz = value;
    return true;
}

} // namespace ft847sim
