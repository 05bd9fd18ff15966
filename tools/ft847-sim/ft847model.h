#pragma once

// The radio's side of the CAT protocol, without any I/O: what an FT-847 keeps and what it answers to one
// five-byte frame. The pty host feeds it frames and paces whatever it returns onto the line.

#include <QByteArray>

#include <cstdint>
#include <map>

namespace ft847sim {

struct RadioState
{
    bool catOn = false;
    quint32 frequency = 14550000; // main VFO, 10 Hz units (145.500.00 MHz)
    quint8 mode = 0x08; // mode code as the radio reports it (0x08 FM)
    int sMeter = 0; // 0..31, the low five bits of the receiver status
    bool squelchOpen = false; // channel busy: bit 7 of the receiver status clear
    bool ptt = false; // transmitting
    quint8 repeaterShift = 0x89; // last 0x09 parameter: 0x89 simplex, 0x09 minus, 0x49 plus
    QByteArray rawFrequency; // when four bytes, read back instead of the BCD frequency (a corrupted register)
    // Satellite mode (opcodes 4E on, 8E off): the radio receives on its SAT RX VFO and transmits on its SAT TX VFO.
    bool satellite = false;
    struct Vfo
    {
        quint32 frequency = 43500000;
        quint8 mode = 0x08;
    };
    Vfo satRx, satTx {14580000, 0x08};
    // Stations on the band: the S-meter reading (1..31) heard with the main VFO on exactly that frequency (10 Hz
    // units), squelch open. Elsewhere the plain S-meter and squelch above stand.
    std::map<quint32, int> bandSignals;
};

class Ft847Model
{
public:
    RadioState &state() { return m_state; }
    const RadioState &state() const { return m_state; }

    // Applies one frame (P1 P2 P3 P4 OP) and returns the reply bytes (empty for commands without reply).
    QByteArray handleFrame(const QByteArray &frame);

    // Receiver status byte (opcode E7): S-meter in bits 0-4, bit 7 set while the squelch is closed.
    // While transmitting the radio answers 0xA0.
    quint8 receiverStatus() const;
    // Transmitter status byte (opcode F7): bit 7 set while not transmitting.
    quint8 transmitterStatus() const;

    static QByteArray toBcd(quint32 tenHz);
    // Returns false when a nibble is not a decimal digit.
    static bool fromBcd(const QByteArray &bytes, quint32 *tenHz);

private:
    RadioState m_state;
};

} // namespace ft847sim
