#include "catframe.h"

namespace cat {

std::array<quint8, 4> packBcd(qint32 tenHz)
{
    // Format the value with at least eight digits, then pair them up; a longer text keeps its first eight.
    const QString text = QStringLiteral("%1").arg(tenHz, 8, 10, QLatin1Char('0'));
    std::array<int, 8> digits {};
    for (int i = 0; i < 8; ++i)
        digits[i] = text.at(i).unicode() - u'0';
    std::array<quint8, 4> bytes {};
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<quint8>((digits[2 * i] * 16 + digits[2 * i + 1]) & 0xFF);
    return bytes;
}

QString replyFrequencyText(const QByteArray &reply)
{
    QString text;
    for (int i = 0; i < 4 && i < reply.size(); ++i)
        text += QStringLiteral("%1").arg(static_cast<quint8>(reply[i]), 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

bool isBcdFrequency(const QByteArray &reply)
{
    if (reply.size() < 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        const auto b = static_cast<quint8>(reply[i]);
        if ((b >> 4) > 9 || (b & 0x0F) > 9)
            return false;
    }
    return true;
}

namespace {

// Every mode the radio reports, with the name the panel shows and what Hamlib calls it; the first six are the modes
// the panel sets.
constexpr Mode kModes[] = {
    {ModeLSB, u"LSB", "LSB", 2200, true},
    {ModeUSB, u"USB", "USB", 2200, true},
    {ModeCW, u"CW", "CW", 2200, true},
    {ModeCWR, u"CWR", "CWR", 2200, true},
    {ModeAM, u"AM", "AM", 9000, true},
    {ModeFM, u"FM", "FM", 15000, true},
    {0x82, u"CW(N)", "CW", 500, false},
    {0x83, u"CW(N)-R", "CWR", 500, false},
    {0x84, u"AM(N)", "AM", 2200, false},
    {0x88, u"FM(N)", "FM", 9000, false},
};

} // namespace

const Mode *modeNamed(QStringView name)
{
    for (const Mode &mode : kModes) {
        if (name == QStringView(mode.name))
            return &mode;
    }
    return nullptr;
}

std::optional<quint8> settableModeCode(QStringView name)
{
    const Mode *mode = modeNamed(name);
    if (!mode || !mode->settable)
        return std::nullopt;
    return mode->code;
}

QString modeName(quint8 code)
{
    for (const Mode &mode : kModes) {
        if (mode.code == code)
            return QString::fromUtf16(mode.name);
    }
    return QStringLiteral("???");
}

quint8 inSatelliteMode(quint8 opcode)
{
    switch (opcode) {
    case OpSetFrequency:
    case OpReadFrequencyMode:
    case OpSetMode:
        return quint8(opcode | 0x10);
    default:
        return opcode;
    }
}

QByteArray toBytes(const Frame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()), static_cast<qsizetype>(frame.size()));
}

} // namespace cat
