// The status poll against a radio that answers anything: any bytes, any number of them, arriving in any pieces
// at any moment of the exchange. The input is a script of moments; at each moment the port is asked about
// (a poll of the reply wait, a look at the output still to send) a control byte says how many bytes arrive
// then and whether the last command is still leaving. The real CatLink, StatusPoll and FrequencyControl drive
// the real panel controls on the offscreen platform; the program end is observed instead of taken.

#include "catframe.h"
#include "catlink.h"
#include "commport.h"
#include "freqlimits.h"
#include "freqtext.h"
#include "frequencycontrol.h"
#include "ft847controls.h"
#include "ft847window.h"
#include "fuzzinput.h"
#include "lamp.h"
#include "messagebox.h"
#include "programend.h"
#include "statuspoll.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace {

// A port whose incoming bytes come from the fuzz script. Waiting does not sleep, so the 10000 polls of a reply
// that never completes cost microseconds.
class ScriptedPort final : public CommPort
{
public:
    explicit ScriptedPort(fuzz::Input &script)
        : m_script(script)
    { }

    QList<QByteArray> frames; // every frame the program sent
    QList<QByteArray> reads; // every reply the program took
    QList<QByteArray> arrivals; // every piece that arrived

    void setCommPort(int number) override { m_number = number; }
    int commPort() const override { return m_number; }
    void setSettings(const QString &settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    bool setPortOpen(bool open) override
    {
        m_open = open;
        return true;
    }
    bool portOpen() const override { return m_open; }
    QString errorString() const override { return {}; }
    void output(const QByteArray &bytes) override { frames.append(bytes); }
    void setInputLen(int count) override { m_inputLen = count; }
    QByteArray input() override
    {
        const qsizetype n = m_inputLen == 0 ? m_received.size() : std::min(qsizetype(m_inputLen), m_received.size());
        const QByteArray taken = m_received.left(n);
        m_received.remove(0, n);
        reads.append(taken);
        return taken;
    }
    int inBufferCount() override { return int(m_received.size()); }
    void setInBufferCount(int count) override
    {
        if (count == 0)
            m_received.clear();
    }
    int outBufferCount() override { return moment() ? 1 : 0; }
    void waitForInput(std::chrono::microseconds) override { moment(); }
    std::chrono::nanoseconds byteTime() const override { return {}; }

private:
    // One moment on the line: up to seven bytes arrive; bit 7 says output is still pending. Once the script is
    // used up, nothing arrives and nothing is pending.
    bool moment()
    {
        if (m_script.atEnd())
            return false;
        const quint8 control = m_script.byte();
        const QByteArray piece = m_script.bytes(control & 0x07);
        if (!piece.isEmpty()) {
            m_received.append(piece);
            arrivals.append(piece);
        }
        return control & 0x80;
    }

    fuzz::Input &m_script;
    QByteArray m_received;
    int m_inputLen = 0;
    int m_number = 1;
    QString m_settings;
    bool m_open = false;
};

const QStringList kModeNames = {
    QStringLiteral("LSB"),
    QStringLiteral("USB"),
    QStringLiteral("CW"),
    QStringLiteral("CWR"),
    QStringLiteral("AM"),
    QStringLiteral("FM"),
    QStringLiteral("CW(N)"),
    QStringLiteral("CW(N)-R"),
    QStringLiteral("AM(N)"),
    QStringLiteral("FM(N)"),
    QStringLiteral("???"),
};

bool isEightDigits(const QString &text)
{
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The decoding of any piece of bytes, on its own.
void checkDecoding(const QByteArray &reply)
{
    const QString text = cat::replyFrequencyText(reply);
    FUZZ_CHECK(text.size() == 2 * std::min(qsizetype(4), reply.size()), text);
    for (const QChar c : text)
        FUZZ_CHECK((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'), text);
    const bool bcd = cat::isBcdFrequency(reply);
    FUZZ_CHECK(bcd == (text.size() == 8 && isEightDigits(text)), text);
    if (bcd) {
        const auto packed = cat::packBcd(text.toInt());
        FUZZ_CHECK(QByteArray(reinterpret_cast<const char *>(packed.data()), 4) == reply.left(4), text);
    }
    for (const char b : reply)
        FUZZ_CHECK(kModeNames.contains(cat::modeName(quint8(b))), cat::modeName(quint8(b)));
}

struct Panel
{
    QApplication *app = nullptr;
    Ft847Window *window = nullptr;
    QList<ui::ShownMessage> messages;
    QList<int> ends;
};

Panel &panel()
{
    static Panel p;
    return p;
}

// Each input starts from the same panel: 145.500.00 MHz in FM, lights and meter at rest.
void resetPanel(Ft847Controls &c)
{
    const QString start = QStringLiteral("14550000");
    const auto digits = c.digits();
    for (int i = 0; i < 8; ++i)
        digits[i]->setText(start.mid(i, 1));
    c.Lab_control->setText(start);
    c.L_mode->setText(QStringLiteral("FM"));
    c.LabScanMode->setText(QStringLiteral("FM"));
    c.Label2->setText(QStringLiteral("0"));
    c.Lab_SM->resize(0, c.Lab_SM->height());
    c.Timer1->stop();
    panel().messages.clear();
    panel().ends.clear();
}

QString shown(const Ft847Controls &c)
{
    QString text;
    for (const QLabel *digit : c.digits())
        text += digit->text();
    return text;
}

// What a tick found before it ran.
struct Before
{
    bool ended;
    QString frequency;
    QString mode;
    bool txActive;
    bool squelchOpen;
};

// The program ends once, with its message, and sends nothing more after it.
void checkEnd(
    const Before &before, const CatLink &link, const QList<QByteArray> &frames, const QList<QByteArray> &reads)
{
    const Panel &p = panel();
    if (before.ended)
        FUZZ_CHECK(frames.isEmpty() && reads.isEmpty(), fuzz::printable(frames.value(0)));
    FUZZ_CHECK(p.ends.size() == (link.hasEnded() ? 1 : 0), QString::number(p.ends.size()));
    FUZZ_CHECK(p.messages.size() == p.ends.size(), QString::number(p.messages.size()));
    if (link.hasEnded()) {
        FUZZ_CHECK(p.ends.first() == EXIT_FAILURE, QString::number(p.ends.first()));
        FUZZ_CHECK(p.messages.first().text == QStringLiteral("Erreur: Le port est invalide ou occupé.")
                && p.messages.first().icon == ui::MsgIcon::Error,
            p.messages.first().text);
    } else {
        FUZZ_CHECK(link.WaitCount == 0, QString::number(link.WaitCount));
    }
    for (const QByteArray &reply : reads)
        FUZZ_CHECK(reply.size() == 1 || reply.size() == 5, fuzz::printable(reply));
}

// Requests go out cleared; a frequency goes out as BCD of what the display then shows, and only then. Returns
// the last frequency frame of the tick (empty when none went out).
QByteArray checkFrames(
    const Before &before, const QList<QByteArray> &frames, const FrequencyControl &frequency, const Ft847Controls &c)
{
    QByteArray lastSent;
    for (const QByteArray &frame : frames) {
        FUZZ_CHECK(frame.size() == cat::kFrameSize, fuzz::printable(frame));
        const auto op = quint8(frame[4]);
        if (op == cat::OpSetFrequency) {
            FUZZ_CHECK(cat::isBcdFrequency(frame), fuzz::printable(frame));
            lastSent = frame;
        } else {
            FUZZ_CHECK((op == cat::OpReadReceiverStatus || op == cat::OpReadFrequencyMode)
                    && frame.startsWith(QByteArray(4, '\0')),
                fuzz::printable(frame));
        }
    }
    FUZZ_CHECK(isEightDigits(frequency.CurrentFreq), frequency.CurrentFreq);
    FUZZ_CHECK(c.Lab_control->text() == frequency.CurrentFreq, c.Lab_control->text());
    FUZZ_CHECK(shown(c) == frequency.CurrentFreq, shown(c));
    if (!lastSent.isEmpty())
        FUZZ_CHECK(cat::replyFrequencyText(lastSent) == frequency.CurrentFreq, fuzz::printable(lastSent));
    else
        FUZZ_CHECK(frequency.CurrentFreq == before.frequency, frequency.CurrentFreq);
    return lastSent;
}

// A whole tick: the status, then (receiving) frequency and meter, then the meter again; with output still pending
// at its start, only the meter. What the replies said is what the panel shows.
void checkWholeTick(const Before &before, const QList<QByteArray> &reads, const QByteArray &lastSent,
    const FrequencyControl &frequency, const StatusPoll &poll, const Ft847Controls &c)
{
    const bool pending = reads.size() == 1;
    const bool receiving = reads.size() == 4;
    FUZZ_CHECK(pending || receiving || reads.size() == 2, QString::number(reads.size()));
    if (pending) {
        FUZZ_CHECK(
            poll.TxActive == before.txActive && poll.SquelchOpen == before.squelchOpen, fuzz::printable(reads[0]));
    } else {
        const auto status = quint8(reads[0][0]);
        FUZZ_CHECK(poll.TxActive == (status == 0xA0) && poll.TxActive == !receiving, fuzz::printable(reads[0]));
        FUZZ_CHECK(poll.SquelchOpen == (status < 0x80), fuzz::printable(reads[0]));
        FUZZ_CHECK(c.Shape_tx_rx->accessibleName()
                    == (poll.TxActive ? QStringLiteral("Émission") : QStringLiteral("Réception"))
                && c.ShapbuzyA->accessibleName()
                    == (poll.SquelchOpen ? QStringLiteral("Occupé") : QStringLiteral("Libre")),
            c.Shape_tx_rx->accessibleName());
    }
    if (receiving) {
        const QByteArray &reply = reads[1];
        FUZZ_CHECK(reply.size() == 5, fuzz::printable(reply));
        const bool takenOver = cat::isBcdFrequency(reply) && cat::replyFrequencyText(reply) != before.frequency;
        FUZZ_CHECK(takenOver == !lastSent.isEmpty(), fuzz::printable(reply));
        if (takenOver) {
            // The radio's frequency goes through the limits of the mode in force before it is shown and sent back.
            const qint64 read = cat::replyFrequencyText(reply).toLongLong();
            const frequency::LimitResult limited
                = frequency.AmateurOnly ? frequency::freq_limite_bande(read) : frequency::freq_limit(read);
            FUZZ_CHECK(frequency.CurrentFreq == frequency::eightDigitText(limited.value), frequency.CurrentFreq);
        }
        FUZZ_CHECK(c.L_mode->text() == (takenOver ? cat::modeName(quint8(reply[4])) : before.mode), c.L_mode->text());
        FUZZ_CHECK(c.LabScanMode->text() == c.L_mode->text(), c.LabScanMode->text());
    }
    const int reading = quint8(reads.last()[0]) % 32;
    FUZZ_CHECK(poll.SMeterWidth == reading * 130 && poll.SignalLevel * 2 == reading, QString::number(poll.SMeterWidth));
    FUZZ_CHECK(c.Label2->text() == QString::number(poll.SMeterWidth), c.Label2->text());
    FUZZ_CHECK(c.Lab_SM->width() == ui::px(poll.SMeterWidth), QString::number(c.Lab_SM->width()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_catreply";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Panel &p = panel();
    p.app = new QApplication(argc, argv);
    p.window = new Ft847Window;
    ui::setMessageHandler([](const ui::ShownMessage &m) { panel().messages.append(m); });
    ui::setProgramEndHandler([](int code) { panel().ends.append(code); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Ft847Controls &c = panel().window->controls();
    resetPanel(c);
    fuzz::Input script(data, size);
    const quint8 setup = script.byte();
    ScriptedPort port(script);
    port.setCommPort(1);
    port.setSettings(QStringLiteral("4800,n,8,2"));
    port.setPortOpen(true);
    CatLink link(port);
    FrequencyControl frequency(link, c);
    frequency.CurrentFreq = c.Lab_control->text();
    frequency.AmateurOnly = setup & 0x01;
    StatusPoll poll(link, frequency, c);
    poll.TxActive = true; // as the main window's load leaves it

    const int ticks = 1 + (setup >> 1) % 4;
    for (int tick = 0; tick < ticks; ++tick) {
        const Before before {link.hasEnded(), frequency.CurrentFreq, c.L_mode->text(), poll.TxActive, poll.SquelchOpen};
        const qsizetype firstFrame = port.frames.size();
        const qsizetype firstRead = port.reads.size();
        poll.Timer1_Timer();
        const QList<QByteArray> frames = port.frames.mid(firstFrame);
        const QList<QByteArray> reads = port.reads.mid(firstRead);
        checkEnd(before, link, frames, reads);
        const QByteArray lastSent = checkFrames(before, frames, frequency, c);
        if (!before.ended && !link.hasEnded())
            checkWholeTick(before, reads, lastSent, frequency, poll, c);
    }
    for (const QByteArray &piece : port.arrivals)
        checkDecoding(piece);
    for (const QByteArray &reply : port.reads)
        checkDecoding(reply);
    c.Timer1->stop();
    return 0;
}
