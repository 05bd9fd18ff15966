// Requests from a network client, any bytes at all, one line at a time through the protocol: every command of a line
// gets one whole answer in the form it asked for, and only well-formed sets reach the radio, with values it can take;
// a set is said to send only when it does.

#include "catframe.h"
#include "fuzzinput.h"
#include "rigctlprotocol.h"

using namespace Qt::StringLiterals;

namespace {

// The radio side: a state the answers report, and a count of the sets made, each checked as it arrives.
class Radio : public rigctl::Rig
{
public:
    bool on = true;
    int sets = 0;
    bool linkOn() const override { return on; }
    qint64 frequencyTenHz() const override { return 14550000; }
    QString modeName() const override { return u"FM(N)"_s; }
    bool transmitting() const override { return false; }
    bool splitOn = false;
    bool split() const override { return splitOn; }
    qint64 txFrequencyTenHz() const override { return 43530000; }
    QString txModeName() const override { return u"USB"_s; }
    bool squelchOpen() const override { return true; }
    int sMeter() const override { return 31; }
    void queueSet(std::function<void()> set) override { set(); }
    rigctl::Error setFrequency(qint64 tenHz) override { return set(tenHz >= 0 && tenHz <= 99999999); }
    rigctl::Error setMode(const QString &name, quint8 code) override
    {
        return set(cat::settableModeCode(name) == code);
    }
    rigctl::Error setPtt(bool) override { return set(true); }
    rigctl::Error setSplit(bool on) override
    {
        splitOn = on;
        return set(true);
    }
    rigctl::Error setTxFrequency(qint64 tenHz) override { return set(tenHz >= 0 && tenHz <= 99999999); }
    rigctl::Error setTxMode(const QString &name, quint8 code) override
    {
        return set(cat::settableModeCode(name) == code);
    }

private:
    rigctl::Error set(bool valid)
    {
        FUZZ_CHECK(valid);
        ++sets;
        return rigctl::Ok;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    Radio radio;
    radio.on = input.byte() % 4 != 0;
    for (const QByteArray &line : input.rest().split('\n')) {
        for (const rigctl::Request &request : rigctl::parseLine(QString::fromLatin1(line))) {
            const int before = radio.sets;
            const bool sends = rigctl::sends(request, radio);
            const rigctl::Reply reply = rigctl::answer(request, radio);
            FUZZ_CHECK(radio.sets == before || (radio.sets == before + 1 && sends));
            // One answer, ending the line; the extended form ends with the status, and the plain form of a get that
            // worked has none.
            FUZZ_CHECK(reply.close ? reply.text.isEmpty() : reply.text.endsWith('\n'));
            const qsizetype status = reply.text.lastIndexOf("RPRT ");
            if (!reply.close && request.separator)
                FUZZ_CHECK(status >= 0 && reply.text.indexOf('\n', status) == reply.text.size() - 1);
            FUZZ_CHECK(reply.close || request.separator || !request.get || status >= 0 || request.known);
            for (const char c : reply.text)
                FUZZ_CHECK(c == '\n' || (c >= 0x20 && c < 0x7F) || (request.separator && c == *request.separator));
        }
    }
    return 0;
}
