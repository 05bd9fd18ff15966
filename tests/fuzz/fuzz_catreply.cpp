// The status poll against a radio that answers anything: any bytes, any number of them, arriving in any pieces at
// any moment of the exchange. The input is a script of moments: each time the port is asked about (a poll of the
// reply wait, a look at the output still to send) a control byte says how many bytes arrive then (up to seven) and,
// in bit 7, whether the last command is still leaving. The real CatLink, StatusPoll and FrequencyControl drive the
// real panel on the offscreen platform; the program end is recorded instead of taken.

#include "actionroad.h"
#include "catlink.h"
#include "freqlimits.h"
#include "freqtext.h"
#include "frequencycontrol.h"
#include "ft847window.h"
#include "fuzzinput.h"
#include "messagebox.h"
#include "programend.h"
#include "statuspoll.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Waiting does not sleep, so the 10000 polls of a reply that never completes cost microseconds.
struct ScriptedPort final : CommPort
{
    explicit ScriptedPort(const fuzz::Input &input)
        : script(input)
    { }
    fuzz::Input script;
    QList<QByteArray> frames, reads; // sent, and taken by the program
    QByteArray received;
    int inputLen = 0;
    bool open = false;

    void setCommPort(int) override { }
    int commPort() const override { return 1; }
    void setSettings(const QString &) override { }
    QString settings() const override { return u"4800,n,8,2"_s; }
    bool setPortOpen(bool opened) override { return (open = opened) || true; }
    bool portOpen() const override { return open; }
    QString errorString() const override { return {}; }
    void output(const QByteArray &bytes) override { frames.append(bytes); }
    void setInputLen(int count) override { inputLen = count; }
    QByteArray input() override
    {
        reads.append(received.first(inputLen ? std::min<qsizetype>(inputLen, received.size()) : received.size()));
        received.remove(0, reads.constLast().size());
        return reads.constLast();
    }
    int inBufferCount() override { return int(received.size()); }
    void setInBufferCount(int) override { received.clear(); } // only ever 0
    int outBufferCount() override // one moment on the line
    {
        const quint8 control = script.byte();
        if (const QByteArray piece = script.bytes(control & 0x07); !piece.isEmpty())
            received.append(piece);
        return control >> 7;
    }
    void waitForInput(std::chrono::microseconds) override { outBufferCount(); }
    std::chrono::nanoseconds byteTime() const override { return {}; }
};

Ft847Window *g_window;
QList<ui::ShownMessage> g_messages;
QList<int> g_ends;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_catreply", *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    g_window = new Ft847Window;
    ui::setMessageHandler([](const ui::ShownMessage &m) { g_messages.append(m); });
    ui::setProgramEndHandler([](int code) { g_ends.append(code); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Ft847Controls &c = g_window->controls();
    g_messages.clear();
    g_ends.clear();
    ScriptedPort port {fuzz::Input(data, size)};
    port.setPortOpen(true);
    CatLink link(port);
    // The display and the poll's lights, as the program hands them over; the harness links nothing else of it.
    FrequencyControl frequency(link,
        {.digits = c.digits(),
            .FreqDisplay = c.FreqDisplay,
            .Lab_control = c.Lab_control,
            .L_mode = c.L_mode,
            .Com_libre = c.Com_libre,
            .bandButtons = c.bandButtons(),
            .stepUp = c.stepUp,
            .stepDown = c.stepDown});
    frequency.showStart(); // each input starts from 145.500.00 MHz
    const quint8 setup = port.script.byte();
    frequency.setAmateurOnly(setup & 0x01);
    ActionRoad road(link);
    StatusPoll poll(link, road, frequency,
        {.Timer1 = c.Timer1,
            .Shape_tx_rx = c.Shape_tx_rx,
            .ShapbuzyA = c.ShapbuzyA,
            .Lab_SM = c.Lab_SM,
            .Label2 = c.Label2});
    for (int tick = 0; tick < 1 + (setup >> 1) % 4; ++tick) {
        const bool ended = link.hasEnded();
        const QString before = frequency.CurrentFreq();
        const qsizetype firstFrame = port.frames.size(), firstRead = port.reads.size();
        poll.requestTick();
        const QList<QByteArray> frames = port.frames.mid(firstFrame), reads = port.reads.mid(firstRead);

        // The program ends once, with its message, and sends nothing after; until then every reply wait completes.
        FUZZ_CHECK(!ended || (frames.isEmpty() && reads.isEmpty()));
        FUZZ_CHECK(g_ends.size() == link.hasEnded() && g_ends.count(EXIT_FAILURE) == g_ends.size()
            && g_messages.size() == g_ends.size());
        FUZZ_CHECK(
            link.hasEnded() ? g_messages[0].text == u"Erreur: Le port est invalide ou occupé."_s : link.WaitCount == 0);
        // Replies are taken whole and requests go out cleared; a frequency goes out only when a reply moved it, as
        // BCD of what the display then shows, inside the limits of the mode in force.
        QByteArray sent;
        for (const QByteArray &frame : frames) {
            const auto op = quint8(frame.size() > 4 ? frame[4] : 0);
            FUZZ_CHECK(frame.size() == cat::kFrameSize);
            FUZZ_CHECK(op == cat::OpSetFrequency ? cat::isBcdFrequency(sent = frame)
                                                 : (op == cat::OpReadReceiverStatus || op == cat::OpReadFrequencyMode)
                        && frame.startsWith(QByteArray(4, '\0')));
        }
        for (const QByteArray &reply : reads)
            FUZZ_CHECK(reply.size() == 1 || reply.size() == 5);
        QString shown;
        for (const QLabel *digit : c.digits())
            shown += digit->text();
        FUZZ_CHECK(shown.size() == 8
            && std::all_of(shown.cbegin(), shown.cend(), [](QChar d) { return d >= u'0' && d <= u'9'; })
            && shown == frequency.CurrentFreq() && c.Lab_control->text() == shown);
        FUZZ_CHECK(sent.isEmpty() ? shown == before : cat::replyFrequencyText(sent) == shown);
        if (ended || link.hasEnded())
            continue;
        // A frequency read goes back to the radio only when it moved, within the limits in force.
        if (reads.size() == 4) {
            const qint64 read = cat::replyFrequencyText(reads[1]).toLongLong();
            const auto limited
                = frequency.amateurOnly() ? frequency::freq_limite_bande(read) : frequency::freq_limit(read);
            FUZZ_CHECK(
                sent.isEmpty() == (!cat::isBcdFrequency(reads[1]) || cat::replyFrequencyText(reads[1]) == before));
            FUZZ_CHECK(sent.isEmpty() || shown == frequency::eightDigitText(limited.value));
        }
    }
    c.Timer1->stop();
    return 0;
}
