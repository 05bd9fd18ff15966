#pragma once

// The FT-847's CAT frame and the bytes inside it, without any I/O: five bytes P1 P2 P3 P4 OP, frequencies as
// eight BCD digits of 10 Hz units, and the opcodes and mode codes this program uses.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace cat {

constexpr int kFrameSize = 5;
using Frame = std::array<quint8, kFrameSize>;

enum Opcode : quint8 {
    OpCatOn = 0x00,
    OpSetFrequency = 0x01,
    OpReadFrequencyMode = 0x03,
    OpSetMode = 0x07,
    OpPttOn = 0x08,
    OpRepeaterShift = 0x09,
    OpCatOff = 0x80,
    OpPttOff = 0x88,
    OpReadReceiverStatus = 0xE7,
    // Satellite mode, the FT-847's split: receiving on its SAT RX VFO, transmitting on its SAT TX VFO.
    OpSatelliteOn = 0x4E,
    OpSatelliteOff = 0x8E,
    OpSetSatTxFrequency = 0x21,
    OpSetSatTxMode = 0x27,
};

// In satellite mode the main VFO's frequency and mode commands go to the SAT RX VFO: the same frames with these
// opcodes (0x11 set frequency, 0x13 read frequency and mode, 0x17 set mode). Other opcodes are unchanged.
quint8 inSatelliteMode(quint8 opcode);

enum ModeCode : quint8 {
    ModeLSB = 0x00,
    ModeUSB = 0x01,
    ModeCW = 0x02,
    ModeCWR = 0x03,
    ModeAM = 0x04,
    ModeFM = 0x08,
};

// The receiver-status reply (opcode E7): the S-meter reading in the low five bits, bit 7 set while the squelch is
// closed, and the whole byte 0xA0 while transmitting.
constexpr quint8 StatusMeterMask = 0x1F;
constexpr quint8 StatusSquelchClosed = 0x80;
constexpr quint8 StatusTransmitting = 0xA0;

// The four parameter bytes for a frequency in 10 Hz units, most significant digit pair first:
// 14550000 gives 14 55 00 00 and 1425000 gives 01 42 50 00. Only the eight low decimal digits fit.
std::array<quint8, 4> packBcd(qint32 tenHz);

// The eight characters of a frequency reply's first four bytes, each byte in two upper-case hex digits:
// the decimal digits for BCD bytes, letters where a nibble is above 9.
QString replyFrequencyText(const QByteArray &reply);

// True when every nibble of the first four bytes is a decimal digit.
bool isBcdFrequency(const QByteArray &reply);

// A mode of the radio: its code (in a frequency-and-mode reply, and for the six the panel sets, in the set-mode
// command), the name the panel shows, and Hamlib's name and passband for it.
struct Mode
{
    quint8 code;
    const char16_t *name;
    const char *hamlibName;
    int passbandHz;
    bool settable; // one of the six mode buttons
};

// The mode the panel shows under this name; null for any other text ("???").
const Mode *modeNamed(QStringView name);

// The code of a mode the panel can set (the six mode buttons: "LSB" ... "FM"); nothing for any other name.
std::optional<quint8> settableModeCode(QStringView name);

// The name shown for a mode byte of a frequency-and-mode reply ("???" for an unknown code).
QString modeName(quint8 code);

QByteArray toBytes(const Frame &frame);

} // namespace cat
