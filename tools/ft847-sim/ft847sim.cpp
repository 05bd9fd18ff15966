#include "ft847sim.h"
#include "ptyline.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace ft847sim {

using Clock = std::chrono::steady_clock;

namespace {

Clock::duration byteDuration(int baud)
{
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(Ft847Sim::wireSeconds(1, std::max(baud, 1))));
}

// One byte at a time or a burst; a client that stopped reading loses what does not fit, as on a real line.
void writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace

struct Ft847Sim::Impl
{
    struct PendingFrame
    {
        Clock::time_point at;
        QByteArray bytes;
    };

    struct PendingReply
    {
        QByteArray bytes;
        Clock::time_point readyAt; // frame arrival plus turnaround
        bool burst = false; // all bytes in one write after their whole wire time
        int firstBurst = 0; // when set, this many bytes in one write, then the rest in another kSplitPause later
        bool started = false;
        int sent = 0;
        Clock::time_point nextDue;
    };

    explicit Impl(SimConfig c)
        : config(std::move(c))
        , baud(config.baud)
        , latencyMs(config.latencyMs)
    { }

    void serve();
    void readInput();
    void processFrame(const PendingFrame &frame);
    void pumpReplies();
    QByteArray garble(const QByteArray &reply);

    SimConfig config;
    std::atomic<int> baud;
    std::atomic<int> latencyMs;

    // Shared with the API side, under mutex.
    mutable std::mutex mutex;
    mutable std::condition_variable framesChanged;
    Ft847Model model;
    Fault fault = Fault::None;
    std::vector<LoggedFrame> frames;
    QByteArray received;
    Clock::time_point lastReplyEnd {};
    TrafficObserver observer;

    PtyLine line;
    int wakeFd = -1;
    std::thread thread;
    std::atomic<bool> running {false};
    std::atomic<bool> quit {false};

    // Serving thread only.
    QByteArray partial;
    Clock::time_point lastArrival {};
    std::deque<PendingFrame> pendingFrames;
    std::deque<PendingReply> replies;
    Clock::time_point txFreeAt {};
    std::mt19937 random {std::random_device {}()};
};

void Ft847Sim::Impl::serve()
{
    // Byte pacing wants wake-ups close to the deadline; the default 50 us slack would blur them.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    bool masterReadable = true;
    while (!quit) {
        const auto now = Clock::now();
        while (!pendingFrames.empty() && pendingFrames.front().at <= now) {
            processFrame(pendingFrames.front());
            pendingFrames.pop_front();
        }
        pumpReplies();

        std::optional<Clock::time_point> deadline;
        if (!pendingFrames.empty())
            deadline = pendingFrames.front().at;
        if (!replies.empty())
            deadline = deadline ? std::min(*deadline, replies.front().nextDue) : replies.front().nextDue;
        timespec timeout {};
        timespec *timeoutPtr = nullptr;
        if (deadline) {
            const auto left = std::max(Clock::duration::zero(), *deadline - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
            timeoutPtr = &timeout;
        }

        pollfd fds[2] = {{masterReadable ? line.master() : -1, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int n = ppoll(fds, 2, timeoutPtr, nullptr);
        if (n < 0 && errno != EINTR)
            break;
        if (n <= 0)
            continue;
        if (fds[1].revents & POLLIN) {
            eventfd_t value = 0;
            eventfd_read(wakeFd, &value);
        }
        if (fds[0].revents & POLLIN)
            readInput();
        else if (fds[0].revents & (POLLHUP | POLLERR))
            masterReadable = false; // cannot happen while our slave descriptor is open; never spin on it
    }
    running = false;
}

void Ft847Sim::Impl::readInput()
{
    char buffer[256];
    const ssize_t n = ::read(line.master(), buffer, sizeof buffer);
    if (n <= 0)
        return;
    const auto readAt = Clock::now();
    const auto perByte = byteDuration(baud.load());
    {
        std::lock_guard lock(mutex);
        received.append(buffer, n);
    }
    // Each byte needs its own wire time after the previous one has arrived; the read only tells when it was sent.
    for (ssize_t i = 0; i < n; ++i) {
        lastArrival = std::max(readAt, lastArrival) + perByte;
        partial.append(buffer[i]);
        if (partial.size() == 5) {
            pendingFrames.push_back({lastArrival, partial});
            partial.clear();
        }
    }
}

void Ft847Sim::Impl::processFrame(const PendingFrame &frame)
{
    QByteArray reply;
    Fault currentFault = Fault::None;
    TrafficObserver notify;
    {
        std::lock_guard lock(mutex);
        frames.push_back({frame.at, frame.bytes});
        reply = model.handleFrame(frame.bytes);
        currentFault = fault;
        notify = observer;
    }
    framesChanged.notify_all();
    if (notify)
        notify(frame.at, true, frame.bytes);
    if (reply.isEmpty() || currentFault == Fault::Silent)
        return;

    PendingReply pending;
    pending.readyAt = frame.at + std::chrono::milliseconds(latencyMs.load());
    if (currentFault == Fault::ExtraByte) {
        reply.append('\0');
        pending.burst = true;
    } else if (currentFault == Fault::Garbage) {
        reply = garble(reply);
    } else if (currentFault == Fault::SplitReply && reply.size() >= 2) {
        pending.firstBurst = int(reply.size() / 2);
    }
    pending.bytes = reply;
    replies.push_back(std::move(pending));
}

void Ft847Sim::Impl::pumpReplies()
{
    while (!replies.empty()) {
        PendingReply &reply = replies.front();
        const auto perByte = byteDuration(baud.load());
        const int size = int(reply.bytes.size());
        // Bytes in the next write: one at a time on a normal line, otherwise a whole burst.
        const int count = reply.burst ? size
            : reply.firstBurst > 0    ? (reply.sent == 0 ? reply.firstBurst : size - reply.sent)
                                      : 1;
        if (!reply.started) {
            reply.started = true;
            reply.nextDue = std::max(reply.readyAt, txFreeAt) + count * perByte;
        }
        if (reply.nextDue > Clock::now())
            return;
        writeAll(line.master(), reply.bytes.constData() + reply.sent, std::size_t(count));
        const auto written = Clock::now();
        reply.sent += count;
        if (reply.sent < size) {
            // A byte cannot start before the previous one has left, however late this wake-up was.
            reply.nextDue
                = reply.firstBurst > 0 ? written + kSplitPause + (size - reply.sent) * perByte : written + perByte;
            continue;
        }
        TrafficObserver notify;
        {
            std::lock_guard lock(mutex);
            lastReplyEnd = written;
            notify = observer;
        }
        txFreeAt = written;
        const QByteArray sentBytes = reply.bytes;
        replies.pop_front();
        if (notify)
            notify(written, false, sentBytes);
    }
}

QByteArray Ft847Sim::Impl::garble(const QByteArray &reply)
{
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray garbage(reply.size(), '\0');
    do {
        for (char &c : garbage)
            c = static_cast<char>(byte(random));
    } while (garbage == reply); // a test must be able to tell it from the genuine answer
    return garbage;
}

Ft847Sim::Ft847Sim(SimConfig config)
    : d(std::make_unique<Impl>(std::move(config)))
{ }

Ft847Sim::~Ft847Sim()
{
    stop();
}

bool Ft847Sim::start(QString *error)
{
    if (d->running) {
        if (error)
            *error = QStringLiteral("the emulator is already started");
        return false;
    }
    stop(); // what a hang-up left behind: the wake-up descriptor and the link
    if (!d->line.open(d->config.linkPath, error))
        return false;
    d->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (d->wakeFd < 0) {
        if (error)
            *error = QStringLiteral("eventfd: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        d->line.close();
        return false;
    }
    d->partial.clear();
    d->pendingFrames.clear();
    d->replies.clear();
    d->lastArrival = {};
    d->txFreeAt = {};
    d->quit = false;
    d->running = true;
    d->thread = std::thread([impl = d.get()] { impl->serve(); });
    return true;
}

void Ft847Sim::stop()
{
    hangUp();
    d->line.close();
    if (d->wakeFd >= 0)
        ::close(d->wakeFd);
    d->wakeFd = -1;
}

bool Ft847Sim::isRunning() const
{
    return d->running;
}

QString Ft847Sim::slavePath() const
{
    return d->line.slavePath();
}

QString Ft847Sim::linkPath() const
{
    return d->config.linkPath;
}

void Ft847Sim::hangUp()
{
    if (d->thread.joinable()) {
        d->quit = true;
        eventfd_write(d->wakeFd, 1);
        d->thread.join();
    }
    d->running = false;
    d->line.hangUp();
}

void Ft847Sim::setFrequency(quint32 tenHz)
{
    std::lock_guard lock(d->mutex);
    d->model.state().frequency = tenHz;
}

quint32 Ft847Sim::frequency() const
{
    std::lock_guard lock(d->mutex);
    return d->model.state().frequency;
}

void Ft847Sim::setMode(quint8 code)
{
    std::lock_guard lock(d->mutex);
    d->model.state().mode = code;
}

void Ft847Sim::setRawFrequencyBytes(const QByteArray &bytes)
{
    std::lock_guard lock(d->mutex);
    d->model.state().rawFrequency = bytes;
}

quint8 Ft847Sim::mode() const
{
    std::lock_guard lock(d->mutex);
    return d->model.state().mode;
}

void Ft847Sim::setSMeter(int reading)
{
    std::lock_guard lock(d->mutex);
    d->model.state().sMeter = std::clamp(reading, 0, 31);
}

void Ft847Sim::setSquelchOpen(bool open)
{
    std::lock_guard lock(d->mutex);
    d->model.state().squelchOpen = open;
}

void Ft847Sim::setSignal(quint32 tenHz, int reading)
{
    std::lock_guard lock(d->mutex);
    auto &stations = d->model.state().bandSignals;
    if (reading <= 0)
        stations.erase(tenHz);
    else
        stations[tenHz] = std::min(reading, 31);
}

void Ft847Sim::clearSignals()
{
    std::lock_guard lock(d->mutex);
    d->model.state().bandSignals.clear();
}

void Ft847Sim::setPtt(bool on)
{
    std::lock_guard lock(d->mutex);
    d->model.state().ptt = on;
}

bool Ft847Sim::ptt() const
{
    std::lock_guard lock(d->mutex);
    return d->model.state().ptt;
}

bool Ft847Sim::catOn() const
{
    std::lock_guard lock(d->mutex);
    return d->model.state().catOn;
}

quint8 Ft847Sim::repeaterShift() const
{
    std::lock_guard lock(d->mutex);
    return d->model.state().repeaterShift;
}

bool Ft847Sim::satellite() const
{
    std::lock_guard lock(d->mutex);
    return d->model.state().satellite;
}

void Ft847Sim::setFault(Fault fault)
{
    std::lock_guard lock(d->mutex);
    d->fault = fault;
}

void Ft847Sim::setLatencyMs(int ms)
{
    d->latencyMs = std::max(ms, 0);
}

void Ft847Sim::setBaud(int baud)
{
    if (baud > 0)
        d->baud = baud;
}

int Ft847Sim::baud() const
{
    return d->baud;
}

std::vector<LoggedFrame> Ft847Sim::frames() const
{
    std::lock_guard lock(d->mutex);
    return d->frames;
}

QByteArray Ft847Sim::receivedBytes() const
{
    std::lock_guard lock(d->mutex);
    return d->received;
}

void Ft847Sim::clearLog()
{
    std::lock_guard lock(d->mutex);
    d->frames.clear();
    d->received.clear();
}

bool Ft847Sim::waitForFrames(std::size_t n, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(d->mutex);
    return d->framesChanged.wait_for(lock, timeout, [&] { return d->frames.size() >= n; });
}

Clock::time_point Ft847Sim::lastReplyEnd() const
{
    std::lock_guard lock(d->mutex);
    return d->lastReplyEnd;
}

void Ft847Sim::setTrafficObserver(TrafficObserver observer)
{
    std::lock_guard lock(d->mutex);
    d->observer = std::move(observer);
}

} // namespace ft847sim
