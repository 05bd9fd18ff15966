#include "rigctlprotocol.h"

#include "catframe.h"

#include <QRegularExpression>

#include <algorithm>

#include <cmath>

namespace rigctl {

namespace {

struct Command
{
    char letter; // the short form, 0 when there is none
    const char *name; // the long form, after a backslash
    int args; // how many the command takes
    bool get; // answers with values (a set answers with its status)
    bool isSet; // sends to the radio
};

constexpr Command kCommands[] = {
    {'f', "get_freq", 0, true, false},
    {'F', "set_freq", 1, false, true},
    {'m', "get_mode", 0, true, false},
    {'M', "set_mode", 2, false, true},
    {'v', "get_vfo", 0, true, false},
    {'V', "set_vfo", 1, false, false},
    {'t', "get_ptt", 0, true, false},
    {'T', "set_ptt", 1, false, true},
    {'l', "get_level", 1, true, false},
    {'q', "quit", 0, false, false},
    {'Q', "quit", 0, false, false},
    {0, "get_dcd", 0, true, false},
    {0, "get_powerstat", 0, true, false},
    {0, "chk_vfo", 0, true, false},
    {0, "dump_state", 0, true, false},
    // Hamlib's network backend asks before each mode change whether the mode is locked, and reads a failure as
    // locked: the answer is always no.
    {0, "get_lock_mode", 0, true, false},
};

const Command *findCommand(QStringView token)
{
    for (const Command &command : kCommands) {
        if (token.startsWith(u'\\') ? token.mid(1) == QLatin1String(command.name)
                                    : token.size() == 1 && command.letter && QLatin1Char(command.letter) == token.at(0))
            return &command;
    }
    return nullptr;
}

// Builds a reply in either form: the values alone one a line, or the extended records.
class Writer
{
public:
    explicit Writer(const Request &request)
        : m_request(request)
    {
        if (!request.separator)
            return;
        // The command echoed with what came with it.
        QString header = request.command + u':';
        if (!request.args.isEmpty())
            header += u' ' + request.args.join(u' ');
        record(header);
    }
    Writer &value(const char *name, const QString &value)
    {
        record(m_request.separator ? QLatin1String(name) + QStringLiteral(": ") + value : value);
        return *this;
    }
    Writer &block(const QByteArray &text)
    {
        m_text += text;
        return *this;
    }
    // Gets end on their values in the plain form; sets and errors always say how they went.
    QByteArray done(Error error = Ok)
    {
        if (m_request.separator || error != Ok || !m_request.get)
            m_text += "RPRT " + QByteArray::number(-int(error)) + '\n';
        return m_text;
    }

private:
    void record(const QString &text)
    {
        m_text += text.toLatin1();
        m_text += m_request.separator && *m_request.separator != '\n' ? *m_request.separator : '\n';
    }

    const Request &m_request;
    QByteArray m_text;
};

std::optional<qint64> tenHzFromHz(const QString &text)
{
    bool ok = false;
    const double hz = text.toDouble(&ok);
    if (!ok || !std::isfinite(hz) || hz < 0)
        return std::nullopt;
    const double tenHz = std::round(hz / 10);
    if (tenHz > 99999999)
        return std::nullopt;
    return qint64(tenHz);
}

Reply answerLinked(const Request &request, Rig &rig)
{
    Writer out(request);
    const QString &command = request.command;
    if (command == u"get_freq")
        return {out.value("Frequency", QString::number(rig.frequencyTenHz() * 10)).done()};
    if (command == u"get_mode") {
        const auto mode = hamlibMode(rig.modeName());
        if (!mode)
            return {out.done(IoError)};
        return {out.value("Mode", mode->first).value("Passband", QString::number(mode->second)).done()};
    }
    if (command == u"get_vfo")
        return {out.value("VFO", QStringLiteral("VFOA")).done()};
    if (command == u"get_ptt")
        return {out.value("PTT", QString::number(rig.transmitting() ? 1 : 0)).done()};
    if (command == u"get_dcd")
        return {out.value("DCD", QString::number(rig.squelchOpen() ? 1 : 0)).done()};
    if (command == u"get_powerstat")
        return {out.value("Power Status", QStringLiteral("1")).done()};
    if (command == u"get_level") {
        const QString &level = request.args.at(0);
        if (level == u"STRENGTH")
            return {out.value("Level Value", QString::number(strengthDb(rig.sMeter()))).done()};
        if (level == u"RAWSTR")
            return {out.value("Level Value", QString::number(rig.sMeter())).done()};
        return {out.done(NotAvailable)};
    }
    if (command == u"set_vfo") {
        const QString &vfo = request.args.at(0);
        return {out.done(vfo == u"VFOA" || vfo == u"currVFO" ? Ok : InvalidArgument)};
    }
    if (command == u"set_freq") {
        const auto tenHz = tenHzFromHz(request.args.at(0));
        return {out.done(tenHz ? rig.setFrequency(*tenHz) : InvalidArgument)};
    }
    if (command == u"set_mode") {
        // The passband is taken as any: the panel sets each mode with its normal filter.
        bool numeric = true;
        if (request.args.size() > 1)
            request.args.at(1).toInt(&numeric);
        const QString &name = request.args.at(0);
        const auto code = cat::settableModeCode(name);
        return {out.done(code && numeric ? rig.setMode(name, *code) : InvalidArgument)};
    }
    if (command == u"set_ptt") {
        bool numeric = false;
        const int ptt = request.args.at(0).toInt(&numeric);
        return {out.done(numeric && ptt >= 0 && ptt <= 3 ? rig.setPtt(ptt != 0) : InvalidArgument)};
    }
    return {out.done(NotAvailable)};
}

} // namespace

std::optional<Request> parse(QStringView line)
{
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u'#'))
        return std::nullopt;
    Request request;
    // The protocol is printable ASCII: anything else is no command, and is not echoed back.
    const auto printable = [](QChar c) { return (c.unicode() >= 0x20 && c.unicode() < 0x7F) || c == u'\t'; };
    if (!std::all_of(line.begin(), line.end(), printable))
        return request;
    // A leading punctuation character asks for the extended form; '+' keeps one record a line.
    const char16_t first = line.at(0).unicode();
    const bool punctuation = first > 0x20 && first < 0x7F && !QChar::isLetterOrNumber(first);
    if (punctuation && first != u'\\' && first != u'?' && first != u'_' && first != u'#') {
        request.separator = first == u'+' ? '\n' : char(first);
        line = line.mid(1).trimmed();
    }
    // The command is a letter, or a backslash and its long name; its arguments follow, blank-separated (a short
    // command may be glued to its first one, as in "F14250000").
    qsizetype end = 1;
    if (!line.isEmpty() && line.at(0) == u'\\') {
        while (end < line.size() && !line.at(end).isSpace())
            ++end;
    }
    const QStringView token = line.left(end);
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList args = line.mid(end).toString().split(blanks, Qt::SkipEmptyParts);
    const Command *command = token.isEmpty() ? nullptr : findCommand(token);
    if (!command) {
        request.command = token.toString();
        request.args = args;
        return request;
    }
    request.command = QLatin1String(command->name);
    request.known = true;
    request.get = command->get;
    request.neededArgs = command->args;
    request.isSet = command->isSet;
    // A client in VFO mode names the VFO first; this service has one, and keeps to the arguments it needs.
    if (!args.isEmpty() && command->args < args.size() && (args.first() == u"VFOA" || args.first() == u"currVFO"))
        args.removeFirst();
    request.args = args;
    return request;
}

Reply answer(const Request &request, Rig &rig)
{
    if (!request.known)
        return {Writer(request).done(NotAvailable)};
    if (request.command == u"quit")
        return {{}, true};
    // The passband of set_mode may be left out.
    if (request.args.size() < request.neededArgs - (request.command == u"set_mode" ? 1 : 0))
        return {Writer(request).done(InvalidArgument)};
    // What describes the service itself needs no radio: a client can connect before the link is switched on.
    if (request.command == u"chk_vfo")
        return {Writer(request).value("ChkVFO", QStringLiteral("0")).done()};
    if (request.command == u"dump_state")
        return {Writer(request).block(dumpState()).done()};
    if (request.command == u"get_lock_mode")
        return {Writer(request).value("Locked", QStringLiteral("0")).done()};
    if (!rig.linkOn())
        return {Writer(request).done(IoError)};
    return answerLinked(request, rig);
}

std::optional<std::pair<QString, int>> hamlibMode(const QString &panelMode)
{
    const cat::Mode *mode = cat::modeNamed(panelMode);
    if (!mode)
        return std::nullopt;
    return std::pair(QLatin1String(mode->hamlibName), mode->passbandHz);
}

int strengthDb(int raw)
{
    raw = qBound(0, raw, 31);
    return raw <= 16 ? -60 + (raw * 60 + 8) / 16 : (raw - 16) * 4;
}

QByteArray dumpState()
{
    // Hamlib's bits: modes AM 0x1, CW 0x2, USB 0x4, LSB 0x8, FM 0x20, CWR 0x80; VFO A 0x1; levels RAWSTR 1<<26 and
    // STRENGTH 1<<30.
    const QByteArray allModes = "0xaf";
    QByteArray text = "1\n" // protocol version: key=value settings follow the fixed part
                      "1001\n" // Hamlib's number for the FT-847
                      "0\n"; // ITU region, no longer used
    // The receiver's coverage.
    for (const char *range : {"100000 76000000", "108000000 174000000", "420000000 512000000"})
        text += QByteArray(range) + " " + allModes + " -1 -1 0x1 0x1\n";
    text += "0 0 0 0 0 0 0\n";
    // The amateur bands the panel tunes in, 100 W on HF and 6 m, 50 W on 2 m and 70 cm.
    for (const char *band :
        {"1810000 1850000", "3500000 3800000", "7000000 7100000", "10100000 10500000", "14000000 14350000",
            "18068000 18168000", "21000000 21450000", "24890000 24990000", "28000000 29700000", "50000000 51200000"})
        text += QByteArray(band) + " " + allModes + " 5000 100000 0x1 0x1\n";
    for (const char *band : {"144000000 146000000", "430000000 440000000"})
        text += QByteArray(band) + " " + allModes + " 5000 50000 0x1 0x1\n";
    text += "0 0 0 0 0 0 0\n";
    text += allModes + " 10\n0 0\n"; // the smallest step of the panel: 10 Hz
    text += "0x8e 2200\n0x82 500\n0x1 9000\n0x1 2200\n0x20 15000\n0x20 9000\n0 0\n"; // filters, normal first
    text += "0\n0\n0\n0\n"; // no RIT, XIT, IF shift, announcements
    text += "\n\n"; // no preamplifier or attenuator steps
    text += "0x0\n0x0\n0x44000000\n0x0\n0x0\n0x0\n"; // functions, levels (RAWSTR and STRENGTH read), parameters
    text += "vfo_ops=0x0\n"
            "ptt_type=0x1\n" // PTT through CAT
            "targetable_vfo=0x0\n"
            "has_set_vfo=0\n" // one VFO: clients need not switch

            "has_get_vfo=1\n"
            "has_set_freq=1\n"
            "has_get_freq=1\n"
            "has_set_conf=0\n"
            "has_get_conf=0\n"
            "has_power2mW=0\n"
            "has_mW2power=0\n"
            "timeout=1500\n"
            "rig_model=1001\n"
            "rigctld_version=Orvane\n"
            "done\n";
    return text;
}

} // namespace rigctl
