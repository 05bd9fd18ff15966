#pragma once

// Hamlib's network protocol, the one rigctld serves and "NET rigctl" (Hamlib's radio model 2) speaks, for the
// commands a logger or a digital-mode program needs of an FT-847. A line holds one command or several ("fmv",
// "F 14200000 m"), each answered in turn in the plain form (values one a line, "RPRT n" for sets and errors) or the
// extended one (a punctuation character before the command: the command echoed, "Name: value" records, "RPRT n",
// separated by that character or by line ends for '+'). Without any I/O: a line in, the text to send back out.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace rigctl {

// Hamlib's error codes, as the protocol sends them (negated).
enum Error : int {
    Ok = 0,
    InvalidArgument = 1, // RIG_EINVAL, also a frequency the radio cannot tune
    IoError = 6, // RIG_EIO: the link to the radio is off
    NotAvailable = 11, // RIG_ENAVAIL: a command this radio does not have
};

// What the protocol needs of the radio: the panel's state as the poll last read it, and the sets it can make, which
// return once their commands are sent.
class Rig
{
public:
    virtual ~Rig() = default;

    virtual bool linkOn() const = 0;
    virtual qint64 frequencyTenHz() const = 0;
    virtual QString modeName() const = 0; // as the panel shows it: "USB", "FM(N)", "???"
    virtual bool transmitting() const = 0;
    // Split: receiving on the main frequency, transmitting on the second VFO (VFO B), in the radio's own terms.
    virtual bool split() const = 0;
    virtual qint64 txFrequencyTenHz() const = 0;
    virtual QString txModeName() const = 0;
    virtual bool squelchOpen() const = 0;
    virtual int sMeter() const = 0; // the raw reading, 0 to 31

    // Runs a set when the road to the radio is free: at once, or in its turn after what is being sent and what the
    // operator has asked for. Reads never wait.
    virtual void queueSet(std::function<void()> set) = 0;
    virtual Error setFrequency(qint64 tenHz) = 0;
    virtual Error setMode(const QString &name, quint8 code) = 0;
    virtual Error setPtt(bool on) = 0;
    virtual Error setSplit(bool on) = 0;
    virtual Error setTxFrequency(qint64 tenHz) = 0; // turns split on, as the radio's own backend does
    virtual Error setTxMode(const QString &name, quint8 code) = 0;
};

struct Request
{
    QString command; // the long name: "get_freq", "set_mode", ... or what was sent, when unknown
    QStringList args;
    bool known = false;
    bool missingArgs = false;
    bool get = false; // answers with values; anything else answers with its status
    bool isSet = false; // may send to the radio
    std::optional<char> separator; // the extended form's record separator
};

// The commands of one line, without its line end, in order. None for a blank line or a comment.
QList<Request> parseLine(QStringView line);

// Whether answering the request sends to the radio now (it then waits for its turn on the road): a set that is well
// formed and changes something; a split switched off when it is off already sends nothing.
bool sends(const Request &request, const Rig &rig);

struct Reply
{
    QByteArray text; // ends with a line end
    bool close = false; // "q": the client is done
};

Reply answer(const Request &request, Rig &rig);

// The FT-847 as dump_state describes it to NET rigctl: its ranges, steps, filters and levels.
QByteArray dumpState();

// Hamlib's name and passband (Hz) for a mode the panel shows; nothing for "???".
std::optional<std::pair<QString, int>> hamlibMode(const QString &panelMode);

// The calibrated strength, dB relative to S9, of a raw S-meter reading (0 to 31): S0 is -60 dB, S9 (16) 0 dB and
// the top of the scale (31) +60 dB, in straight lines between.
int strengthDb(int raw);

} // namespace rigctl
