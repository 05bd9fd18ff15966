// Requests from a network client, any bytes at all, one line at a time through the protocol: every line gets one
// whole answer in the form it asked for, and only well-formed sets reach the radio, with values it can take.

#include "fuzzinput.h"
#include "rigctlprotocol.h"

#include "catframe.h"

namespace {

// The radio side: a state the answers must report, and a record of the sets made.
class Radio : public rigctl::Rig
{
public:
    bool on = true;
    int sets = 0;
    bool linkOn() const override { return on; }
    qint64 frequencyTenHz() const override { return 14550000; }
    QString modeName() const override { return QStringLiteral("FM(N)"); }
    bool transmitting() const override { return false; }
    bool squelchOpen() const override { return true; }
    int sMeter() const override { return 31; }
    bool readyForSet() const override { return true; }
    rigctl::Error setFrequency(qint64 tenHz) override
    {
        FUZZ_CHECK(tenHz >= 0 && tenHz <= 99999999, QString::number(tenHz));
        ++sets;
        return rigctl::Ok;
    }
    rigctl::Error setMode(const QString &name, quint8 code) override
    {
        FUZZ_CHECK(cat::settableModeCode(name) == code, name);
        ++sets;
        return rigctl::Ok;
    }
    rigctl::Error setPtt(bool) override
    {
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
    while (!input.atEnd()) {
        const QByteArray line = input.until('\n');
        const auto request = rigctl::parse(QString::fromLatin1(line));
        if (!request)
            continue;
        const int before = radio.sets;
        const rigctl::Reply reply = rigctl::answer(*request, radio);
        FUZZ_CHECK(radio.sets - before <= 1, fuzz::printable(line));
        FUZZ_CHECK(radio.sets == before || (request->isSet && radio.on), fuzz::printable(line));
        if (reply.close) {
            FUZZ_CHECK(reply.text.isEmpty(), fuzz::printable(line));
            continue;
        }
        // One answer: it ends the line, and in the extended form it ends with the status; the plain form of a get
        // that worked has no status at all.
        FUZZ_CHECK(reply.text.endsWith('\n'), fuzz::printable(line));
        const qsizetype status = reply.text.lastIndexOf("RPRT ");
        if (request->separator) {
            FUZZ_CHECK(status >= 0 && reply.text.indexOf('\n', status) == reply.text.size() - 1,
                       fuzz::printable(reply.text));
        } else if (request->get && status < 0) {
            FUZZ_CHECK(request->known, fuzz::printable(line));
        }
        for (const char c : reply.text)
            FUZZ_CHECK(c == '\n' || (c >= 0x20 && c < 0x7F) || (request->separator && c == *request->separator),
                       fuzz::printable(reply.text));
    }
    return 0;
}
