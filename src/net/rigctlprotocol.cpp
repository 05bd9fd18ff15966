#include "rigctlprotocol.h"

#include "catframe.h"
#include "freqlimits.h"

#include <algorithm>

#include <cmath>

namespace rigctl {

namespace {

struct Command
{
    char letter; // the short form, 0 when there is none
    const char *name; // the long form, after a backslash
    int args; // how many the command takes
    int minArgs; // how many it needs (a mode's passband may be left out)
    bool get; // answers with values (a set answers with its status)
    bool isSet; // sends to the radio
};

constexpr Command kCommands[] = {
    {'f', "get_freq", 0, 0, true, false},
    {'F', "set_freq", 1, 1, false, true},
    {'m', "get_mode", 0, 0, true, false},
    {'M', "set_mode", 2, 1, false, true},
    {'v', "get_vfo", 0, 0, true, false},
    {'V', "set_vfo", 1, 1, false, false},
    {'t', "get_ptt", 0, 0, true, false},
    {'T', "set_ptt", 1, 1, false, true},
    {'s', "get_split_vfo", 0, 0, true, false},
    {'S', "set_split_vfo", 2, 2, false, true},
    {'i', "get_split_freq", 0, 0, true, false},
    {'I', "set_split_freq", 1, 1, false, true},
    {'x', "get_split_mode", 0, 0, true, false},
    {'X', "set_split_mode", 2, 1, false, true},
    {'l', "get_level", 1, 1, true, false},
    {'q', "quit", 0, 0, false, false},
    {'Q', "quit", 0, 0, false, false},
    {0, "get_dcd", 0, 0, true, false},
    {0, "get_powerstat", 0, 0, true, false},
    {0, "chk_vfo", 0, 0, true, false},
    {0, "dump_state", 0, 0, true, false},
    // Hamlib's network backend asks before each mode change whether the mode is locked, and reads a failure as
    // locked: the answer is always no.
    {0, "get_lock_mode", 0, 0, true, false},
};

// The VFO a client in VFO mode names before a command's arguments: this service has one receive VFO.
bool isVfoPrefix(QStringView token)
{
    return token == u"VFOA" || token == u"currVFO";
}

// The transmit VFO of a split, in Hamlib's names: the second VFO, or the one the main VFO cannot be.
std::optional<bool> isSecondVfo(QStringView vfo)
{
    if (vfo == u"VFOB" || vfo == u"Sub" || vfo == u"TX")
        return true;
    if (vfo == u"VFOA" || vfo == u"Main" || vfo == u"currVFO" || vfo == u"RX")
        return false;
    return std::nullopt;
}

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

// A mode name and a passband as a client sends them: a mode the panel sets, and a number or nothing (any passband:
// the panel sets each mode with its normal filter).
std::optional<quint8> settableMode(const Request &request)
{
    bool numeric = true;
    if (request.args.size() > 1)
        request.args.at(1).toInt(&numeric);
    const auto code = cat::settableModeCode(request.args.at(0));
    return numeric ? code : std::nullopt;
}

Reply answerMode(Writer &out, const QString &panelMode, const char *modeName, const char *passbandName)
{
    const auto mode = hamlibMode(panelMode);
    if (!mode)
        return {out.done(IoError)};
    return {out.value(modeName, mode->first).value(passbandName, QString::number(mode->second)).done()};
}

Reply answerLinked(const Request &request, Rig &rig)
{
    Writer out(request);
    const QString &command = request.command;
    if (command == u"get_freq")
        return {out.value("Frequency", QString::number(rig.frequencyTenHz() * 10)).done()};
    if (command == u"get_mode")
        return answerMode(out, rig.modeName(), "Mode", "Passband");
    if (command == u"get_split_vfo") {
        return {out.value("Split", QString::number(rig.split() ? 1 : 0))
                    .value("TX VFO", rig.split() ? QStringLiteral("VFOB") : QStringLiteral("VFOA"))
                    .done()};
    }
    if (command == u"get_split_freq")
        return {out.value("TX Frequency", QString::number(rig.txFrequencyTenHz() * 10)).done()};
    if (command == u"get_split_mode")
        return answerMode(out, rig.txModeName(), "TX Mode", "TX Passband");
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
    if (command == u"set_freq" || command == u"set_split_freq") {
        const auto tenHz = tenHzFromHz(request.args.at(0));
        if (!tenHz)
            return {out.done(InvalidArgument)};
        return {out.done(command == u"set_freq" ? rig.setFrequency(*tenHz) : rig.setTxFrequency(*tenHz))};
    }
    if (command == u"set_mode" || command == u"set_split_mode") {
        const auto code = settableMode(request);
        if (!code)
            return {out.done(InvalidArgument)};
        const QString &name = request.args.at(0);
        return {out.done(command == u"set_mode" ? rig.setMode(name, *code) : rig.setTxMode(name, *code))};
    }
    if (command == u"set_split_vfo") {
        // Split off is always taken; on, the radio transmits on its second VFO only, and says so as Hamlib's own
        // FT-847 backend does.
        const QString &split = request.args.at(0);
        const auto second = isSecondVfo(request.args.at(1));
        if ((split != u"0" && split != u"1") || (split == u"1" && !second))
            return {out.done(InvalidArgument)};
        if (split == u"0")
            return {out.done(rig.split() ? rig.setSplit(false) : Ok)};
        return {out.done(*second ? rig.setSplit(true) : NotAvailable)};
    }
    if (command == u"set_ptt") {
        bool numeric = false;
        const int ptt = request.args.at(0).toInt(&numeric);
        return {out.done(numeric && ptt >= 0 && ptt <= 3 ? rig.setPtt(ptt != 0) : InvalidArgument)};
    }
    return {out.done(NotAvailable)};
}

} // namespace

QList<Request> parseLine(QStringView line)
{
    line = line.trimmed(); // a line end of CR LF, trailing blanks
    // The protocol is printable ASCII: anything else is no command, and is not echoed back.
    const auto printable = [](QChar c) { return (c.unicode() >= 0x20 && c.unicode() < 0x7F) || c == u'\t'; };
    if (!std::all_of(line.begin(), line.end(), printable))
        return {Request {}};
    QList<Request> requests;
    qsizetype pos = 0;
    const auto skipBlanks = [&] {
        while (pos < line.size() && line.at(pos).isSpace())
            ++pos;
    };
    const auto word = [&] {
        const qsizetype start = pos;
        while (pos < line.size() && !line.at(pos).isSpace())
            ++pos;
        return line.sliced(start, pos - start);
    };
    for (skipBlanks(); pos < line.size() && line.at(pos) != u'#'; skipBlanks()) {
        Request &request = requests.emplace_back();
        // A punctuation character before a command asks for the extended form of its answer; '+' keeps one record a
        // line.
        const char16_t first = line.at(pos).unicode();
        if (first > 0x20 && first < 0x7F && !QChar::isLetterOrNumber(first) && first != u'\\' && first != u'?'
            && first != u'_') {
            request.separator = first == u'+' ? '\n' : char(first);
            ++pos;
            skipBlanks();
            if (pos == line.size())
                break;
        }
        // A command is a letter, or a backslash and its long name; short ones may follow each other unseparated.
        const QStringView token = line.at(pos) == u'\\' ? word() : line.sliced(pos++, 1);
        const Command *command = findCommand(token);
        request.command = command ? QString::fromLatin1(command->name) : token.toString();
        if (!command && token.size() > 1) {
            // An unknown long command: what follows can only be its arguments.
            for (skipBlanks(); pos < line.size(); skipBlanks())
                request.args << word().toString();
            break;
        }
        if (!command)
            continue;
        request.known = true;
        request.get = command->get;
        request.isSet = command->isSet;
        // Its arguments: the first may be glued to a short command ("F14250000"), the others follow blanks; one
        // left out may be the start of the next command, and a passband left out must be.
        if (command->letter && command->args > 0 && pos < line.size() && !line.at(pos).isSpace())
            request.args << word().toString();
        for (bool vfoNamed = false; request.args.size() < command->args;) {
            const qsizetype before = pos;
            skipBlanks();
            const QStringView next = word();
            bool number = false;
            (void)next.toInt(&number);
            if (next.isEmpty() || (request.args.size() >= command->minArgs && !number)) {
                pos = before;
                break;
            }
            // A client in VFO mode names the VFO first; this service receives on one.
            if (!vfoNamed && request.args.isEmpty() && isVfoPrefix(next) && command->letter != 'V') {
                vfoNamed = true;
                continue;
            }
            request.args << next.toString();
        }
        if (command->args == 0) {
            const qsizetype before = pos;
            skipBlanks();
            if (!isVfoPrefix(word()))
                pos = before;
        }
        request.missingArgs = request.args.size() < command->minArgs;
    }
    return requests;
}

bool sends(const Request &request, const Rig &rig)
{
    if (!request.known || !request.isSet || request.missingArgs || !rig.linkOn())
        return false;
    return request.command != u"set_split_vfo" || request.args.at(0) != u"0" || rig.split();
}

Reply answer(const Request &request, Rig &rig)
{
    if (!request.known)
        return {Writer(request).done(NotAvailable)};
    if (request.command == u"quit")
        return {{}, true};
    if (request.missingArgs)
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
    for (const frequency::Range range : frequency::kCoverage)
        text += QByteArray::number(range.low * 10) + ' ' + QByteArray::number(range.high * 10) + ' ' + allModes
            + " -1 -1 0x1 0x1\n";
    text += "0 0 0 0 0 0 0\n";
    // The amateur bands the panel tunes in, with the transmitter's power there (5 W up), in mW.
    for (const frequency::Band &band : frequency::kBands)
        text += QByteArray::number(band.low * 10) + ' ' + QByteArray::number(band.high * 10) + ' ' + allModes + " 5000 "
            + QByteArray::number(band.maxPowerW * 1000) + " 0x1 0x1\n";
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
