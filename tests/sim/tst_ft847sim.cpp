// The emulator on a real pseudo-terminal, seen from a plain POSIX client on its slave side.

#include "ft847sim.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace ft847sim;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

Q_DECLARE_METATYPE(ft847sim::Fault)

namespace {

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

class Client
{
public:
    explicit Client(const QString &path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios tio {};
        if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
            cfmakeraw(&tio);
            cfsetspeed(&tio, B4800);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~Client()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    void send(const QByteArray &bytes) { QCOMPARE(::write(m_fd, bytes.constData(), bytes.size()), bytes.size()); }

    // Reads until count bytes are in or the timeout passes; notes the size of every read and when the last came.
    QByteArray read(int count, std::chrono::milliseconds timeout, QList<int> *chunks = nullptr)
    {
        QByteArray bytes;
        const auto end = Clock::now() + timeout;
        while (bytes.size() < count && Clock::now() < end) {
            pollfd pfd {m_fd, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (poll(&pfd, 1, int(left.count()) + 1) <= 0)
                continue;
            char buffer[64];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.append(buffer, n);
            lastByteAt = Clock::now();
            if (chunks)
                chunks->append(int(n));
        }
        return bytes;
    }

    Clock::time_point lastByteAt;

private:
    int m_fd = -1;
};

const QByteArray readFreqMode = QByteArray::fromHex("0000000003");
const QByteArray readRxStatus = QByteArray::fromHex("00000000E7");

} // namespace

class TstFt847Sim : public QObject
{
    Q_OBJECT

private slots:
    void replyTiming_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("latencyMs");
        QTest::newRow("4800 baud") << 4800 << 0;
        QTest::newRow("4800 baud, 25 ms turnaround") << 4800 << 25;
    }

    // Only lower bounds: a loaded machine can make everything later, never earlier.
    void replyTiming()
    {
        QFETCH(int, baud);
        QFETCH(int, latencyMs);
        Ft847Sim sim({baud, latencyMs, {}});
        QVERIFY(sim.start());
        Client client(sim.slavePath());
        const auto sentAt = Clock::now();
        client.send(readFreqMode);
        QCOMPARE(client.read(5, 2s).size(), 5);

        const double wire = Ft847Sim::wireSeconds(5, baud);
        const double turnaround = latencyMs / 1000.0;
        QCOMPARE(sim.frames().size(), std::size_t(1));
        const auto frameEnd = sim.frames().front().at;
        // Noted just after the write returns, which can be after the client has already read the byte.
        QTRY_VERIFY(sim.lastReplyEnd() > frameEnd);
        const auto replyEnd = sim.lastReplyEnd();
        QVERIFY(seconds(frameEnd - sentAt) >= 0.9 * wire);
        QVERIFY(seconds(replyEnd - frameEnd) >= 0.9 * (turnaround + wire));
        QVERIFY(seconds(client.lastByteAt - sentAt) >= 0.9 * (2 * wire + turnaround));
    }

    void frameLog()
    {
        Ft847Sim sim;
        QVERIFY(sim.start());
        Client client(sim.slavePath());
        const QByteArray frames = QByteArray::fromHex("0000000000"
                                                      "0142500001"
                                                      "0000000003");
        const QByteArray partial = QByteArray::fromHex("000000");
        // Writes that cut across frame boundaries, sent back to back.
        client.send(frames.left(7));
        client.send(frames.mid(7));
        client.send(partial);
        QVERIFY(sim.waitForFrames(3, 2s));
        QCOMPARE(client.read(5, 1s), QByteArray::fromHex("0142500008"));
        QTRY_COMPARE(sim.receivedBytes(), frames + partial);

        const auto logged = sim.frames();
        QCOMPARE(logged.size(), std::size_t(3));
        for (std::size_t i = 0; i < logged.size(); ++i) {
            QCOMPARE(logged[i].bytes, frames.mid(qsizetype(5 * i), 5));
            // Queued back to back, each frame still needs its own five byte times on the wire.
            if (i > 0)
                QVERIFY(seconds(logged[i].at - logged[i - 1].at) >= 0.9 * Ft847Sim::wireSeconds(5, 4800));
        }
        QVERIFY(sim.catOn());
        QCOMPARE(sim.frequency(), 1425000u);

        sim.clearLog();
        QVERIFY(sim.frames().empty());
        QVERIFY(sim.receivedBytes().isEmpty());
        client.send(QByteArray::fromHex("0000"));
        QVERIFY(sim.waitForFrames(1, 1s)); // the partial frame was kept across the clear
        QCOMPARE(sim.frames().front().bytes, QByteArray::fromHex("0000000000"));
    }

    void faults_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("genuine");
        QTest::newRow("none") << Fault::None << 5 << true;
        QTest::newRow("silent") << Fault::Silent << 0 << false;
        QTest::newRow("extra byte") << Fault::ExtraByte << 6 << true;
        QTest::newRow("garbage") << Fault::Garbage << 5 << false;
    }
    void faults()
    {
        QFETCH(Fault, fault);
        QFETCH(int, count);
        QFETCH(bool, genuine);
        const QByteArray reply = QByteArray::fromHex("1455000008");
        Ft847Sim sim;
        QVERIFY(sim.start());
        Client client(sim.slavePath());
        sim.setFault(fault);
        client.send(readFreqMode);
        QList<int> chunks;
        const QByteArray got = client.read(6, 200ms, &chunks);
        QVERIFY(sim.waitForFrames(1, 1s));
        QCOMPARE(got.size(), count);
        if (count > 0)
            QCOMPARE(got.startsWith(reply), genuine);
        if (fault == Fault::ExtraByte) {
            QCOMPARE(got.at(5), '\0');
            QVERIFY2(!chunks.contains(5), "a five-byte read would pass for a good reply");
        }

        // Back to normal, the next request gets the genuine answer.
        sim.setFault(Fault::None);
        client.send(readFreqMode);
        QCOMPARE(client.read(6, 200ms), reply);
    }

    void linkFollowsSlave_data()
    {
        QTest::addColumn<bool>("oldIsLink");
        QTest::newRow("replaces a file") << false;
        QTest::newRow("replaces a stale link") << true;
    }
    void linkFollowsSlave()
    {
        QFETCH(bool, oldIsLink);
        QTemporaryDir dir;
        const QString link = dir.filePath(u"com1"_s);
        if (oldIsLink) {
            QVERIFY(QFile::link(dir.filePath(u"gone"_s), link));
        } else {
            QFile old(link);
            QVERIFY(old.open(QIODevice::WriteOnly));
        }

        Ft847Sim sim({4800, 0, link});
        QVERIFY(sim.start());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.slavePath());
        {
            Client client(link);
            QVERIFY(client.isOpen());
            sim.setSMeter(9);
            sim.setSquelchOpen(true);
            client.send(readRxStatus);
            QCOMPARE(client.read(1, 1s), QByteArray::fromHex("09"));
        }
        sim.stop();
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(!QFileInfo::exists(link));
    }

    void hangUpEndsClientReads()
    {
        Ft847Sim sim;
        QVERIFY(sim.start());
        Client client(sim.slavePath());
        QVERIFY(client.isOpen());
        sim.hangUp();
        QVERIFY(!sim.isRunning());
        pollfd pfd {client.fd(), POLLIN, 0};
        QCOMPARE(poll(&pfd, 1, 1000), 1);
        char byte = 0;
        QVERIFY(::read(client.fd(), &byte, 1) <= 0);
    }
};

QTEST_GUILESS_MAIN(TstFt847Sim)
#include "tst_ft847sim.moc"
