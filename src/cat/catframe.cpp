#include "catframe.h"

namespace cat {

std::array<quint8, 4> packBcd(qint32 tenHz)
{
    // Format the value with at least eight digits, then pair them up; a longer text keeps its first eight.
    const QString text = QStringLiteral("%1").arg(tenHz, 8, 10, QLatin1Char('0'));
    std::array<int, 8> digits{};
    for (int i = 0; i < 8; ++i)
        digits[i] = text.at(i).unicode() - u'0';
    std::array<quint8, 4> bytes{};
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

std::optional<quint8> settableModeCode(QStringView name)
{
    static constexpr std::pair<const char16_t *, quint8> modes[] = {
        {u"LSB", ModeLSB}, {u"USB", ModeUSB}, {u"CW", ModeCW}, {u"CWR", ModeCWR}, {u"AM", ModeAM}, {u"FM", ModeFM},
    };
    for (const auto &[text, code] : modes) {
        if (name == QStringView(text))
            return code;
    }
    return std::nullopt;
}

QString modeName(quint8 code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("LSB");
    case 0x01:
        return QStringLiteral("USB");
    case 0x02:
        return QStringLiteral("CW");
    case 0x03:
        return QStringLiteral("CWR");
    case 0x04:
        return QStringLiteral("AM");
    case 0x08:
        return QStringLiteral("FM");
    case 0x82:
        return QStringLiteral("CW(N)");
    case 0x83:
        return QStringLiteral("CW(N)-R");
    case 0x84:
        return QStringLiteral("AM(N)");
    case 0x88:
        return QStringLiteral("FM(N)");
    default:
        return QStringLiteral("???");
    }
}

QByteArray toBytes(const Frame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()), static_cast<qsizetype>(frame.size()));
}

} // namespace cat
